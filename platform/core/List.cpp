#include "platform/core/List.h"

#include <algorithm>

#include "platform/core/Exceptions.h"

void TList::Error(const char* format, int value) { throw EListError(Format(format, value)); }

void TList::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        Error("List index out of bounds (%d)", index);
}

void TList::SetCount(int newCount)
{
    if (newCount < 0)
        Error("List count out of bounds (%d)", newCount);
    items_.resize(static_cast<size_t>(newCount), nullptr);
}

void TList::SetCapacity(int newCapacity)
{
    if (newCapacity < Count())
        Error("List capacity out of bounds (%d)", newCapacity);
    items_.reserve(static_cast<size_t>(newCapacity));
}

void* TList::Items(int index) const
{
    CheckIndex(index);
    return items_[static_cast<size_t>(index)];
}

void TList::SetItems(int index, void* item)
{
    CheckIndex(index);
    items_[static_cast<size_t>(index)] = item;
}

int TList::Add(void* item)
{
    items_.push_back(item);
    return Count() - 1;
}

void TList::Insert(int index, void* item)
{
    if (index < 0 || index > Count())
        Error("List index out of bounds (%d)", index);
    items_.insert(items_.begin() + index, item);
}

void TList::Delete(int index)
{
    CheckIndex(index);
    items_.erase(items_.begin() + index);
}

int TList::Remove(void* item)
{
    int index = IndexOf(item);
    if (index >= 0)
        Delete(index);
    return index;
}

void* TList::Extract(void* item) { return Remove(item) >= 0 ? item : nullptr; }

int TList::IndexOf(void* item) const
{
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TList::Exchange(int index1, int index2)
{
    CheckIndex(index1);
    CheckIndex(index2);
    std::swap(items_[static_cast<size_t>(index1)], items_[static_cast<size_t>(index2)]);
}

void TList::Move(int curIndex, int newIndex)
{
    if (curIndex == newIndex)
        return;
    CheckIndex(newIndex);
    void* item = Items(curIndex);
    items_.erase(items_.begin() + curIndex);
    items_.insert(items_.begin() + newIndex, item);
}

void TList::Clear()
{
    items_.clear();
    items_.shrink_to_fit();
}

void TList::Pack() { items_.erase(std::remove(items_.begin(), items_.end(), nullptr), items_.end()); }

void TList::Sort(const TListSortCompare& compare)
{
    // A stable sort: items that compare equal keep their order, whatever the comparer.
    std::stable_sort(items_.begin(), items_.end(), [&](void* a, void* b) { return compare(a, b) < 0; });
}

void TList::Assign(const TList& source)
{
    if (&source != this)
        items_ = source.items_;
}
