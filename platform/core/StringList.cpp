#include "platform/core/StringList.h"

#include <algorithm>
#include <numeric>

#include "platform/core/Exceptions.h"

static const char kIndexError[] = "List index out of bounds (%d)";
static const char kSortedError[] = "Operation not allowed on sorted list";
static const char kDuplicateError[] = "String list does not allow duplicates";

TStringList::~TStringList()
{
    // No change events while the list goes away.
    OnChange = nullptr;
    OnChanging = nullptr;
}

void TStringList::CheckIndex(int index) const
{
    if (index < 0 || index >= GetCount())
        Error(kIndexError, index);
}

void TStringList::Changed()
{
    if (UpdateCount() == 0 && OnChange) {
        TNotifyEvent handler = OnChange;  // the handler may reassign the event
        handler(this);
    }
}

void TStringList::Changing()
{
    if (UpdateCount() == 0 && OnChanging) {
        TNotifyEvent handler = OnChanging;
        handler(this);
    }
}

void TStringList::SetUpdateState(bool updating)
{
    if (updating)
        Changing();
    else
        Changed();
}

int TStringList::CompareStrings(std::string_view a, std::string_view b) const
{
    if (caseSensitive_) {
        int c = a.compare(b);
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    return CompareText(a, b);
}

AnsiString TStringList::Get(int index) const
{
    CheckIndex(index);
    return items_[static_cast<size_t>(index)].first;
}

TObject* TStringList::GetObject(int index) const
{
    CheckIndex(index);
    return items_[static_cast<size_t>(index)].second;
}

void TStringList::Put(int index, const AnsiString& s)
{
    if (sorted_)
        Error(kSortedError, 0);
    CheckIndex(index);
    Changing();
    items_[static_cast<size_t>(index)].first = s;
    Changed();
}

void TStringList::PutObject(int index, TObject* object)
{
    CheckIndex(index);
    Changing();
    items_[static_cast<size_t>(index)].second = object;
    Changed();
}

void TStringList::InsertItem(int index, const AnsiString& s, TObject* object)
{
    Changing();
    items_.insert(items_.begin() + index, {s, object});
    Changed();
}

int TStringList::Add(const AnsiString& s) { return AddObject(s, nullptr); }

int TStringList::AddObject(const AnsiString& s, TObject* object)
{
    int index = GetCount();
    if (sorted_ && Find(s, index)) {
        if (duplicates_ == dupIgnore)
            return index;
        if (duplicates_ == dupError)
            Error(kDuplicateError, 0);
    }
    InsertItem(index, s, object);
    return index;
}

void TStringList::Insert(int index, const AnsiString& s) { InsertObject(index, s, nullptr); }

void TStringList::InsertObject(int index, const AnsiString& s, TObject* object)
{
    if (sorted_)
        Error(kSortedError, 0);
    if (index < 0 || index > GetCount())
        Error(kIndexError, index);
    InsertItem(index, s, object);
}

void TStringList::Delete(int index)
{
    CheckIndex(index);
    Changing();
    items_.erase(items_.begin() + index);
    Changed();
}

void TStringList::Clear()
{
    if (items_.empty())
        return;
    Changing();
    items_.clear();
    items_.shrink_to_fit();
    Changed();
}

void TStringList::Exchange(int index1, int index2)
{
    CheckIndex(index1);
    CheckIndex(index2);
    Changing();
    std::swap(items_[static_cast<size_t>(index1)], items_[static_cast<size_t>(index2)]);
    Changed();
}

void TStringList::Move(int curIndex, int newIndex)
{
    if (curIndex == newIndex)
        return;
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    // Checked before anything moves: a sorted list refuses without losing the line.
    if (sorted_)
        Error(kSortedError, 0);
    BeginUpdate();
    auto item = items_[static_cast<size_t>(curIndex)];
    items_.erase(items_.begin() + curIndex);
    items_.insert(items_.begin() + newIndex, item);
    EndUpdate();
}

bool TStringList::Find(std::string_view s, int& index) const
{
    bool found = false;
    int low = 0, high = GetCount() - 1;
    while (low <= high) {
        int mid = low + (high - low) / 2;
        int c = CompareStrings(items_[static_cast<size_t>(mid)].first, s);
        if (c < 0) {
            low = mid + 1;
        } else {
            high = mid - 1;
            if (c == 0) {
                found = true;
                if (duplicates_ != dupAccept)
                    low = mid;
            }
        }
    }
    index = low;
    return found;
}

int TStringList::IndexOf(std::string_view s) const
{
    if (!sorted_)
        return TStrings::IndexOf(s);
    int index;
    return Find(s, index) ? index : -1;
}

void TStringList::CustomSort(const TStringListSortCompare& compare)
{
    if (items_.size() < 2)
        return;
    Changing();
    // Sort a permutation against the unchanged list, so the comparer sees stable indexes; equal
    // lines keep their order.
    std::vector<int> order(items_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(this, a, b) < 0; });
    std::vector<std::pair<AnsiString, TObject*>> sorted;
    sorted.reserve(items_.size());
    for (int i : order)
        sorted.push_back(std::move(items_[static_cast<size_t>(i)]));
    items_ = std::move(sorted);
    Changed();
}

void TStringList::Sort()
{
    CustomSort([](TStringList* list, int a, int b) {
        return list->CompareStrings(list->items_[static_cast<size_t>(a)].first,
                                    list->items_[static_cast<size_t>(b)].first);
    });
}

void TStringList::SetSorted(bool value)
{
    if (sorted_ == value)
        return;
    if (value)
        Sort();
    sorted_ = value;
}

void TStringList::SetCaseSensitive(bool value)
{
    if (caseSensitive_ == value)
        return;
    caseSensitive_ = value;
    if (sorted_)
        Sort();
}

void TStringList::SetCapacity(int value)
{
    if (value < GetCount())
        Error("List capacity out of bounds (%d)", value);
    items_.reserve(static_cast<size_t>(value));
}
