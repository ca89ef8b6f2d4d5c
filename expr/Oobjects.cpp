#include "expr/Oobjects.h"

#include <cstring>
#include <vector>

TOCollection::TOCollection(int capacity)
{
    if (capacity > 0)
        SetCapacity(capacity);
}

TOCollection::~TOCollection() { FreeAll(); }

void TOCollection::AtFree(int index)
{
    void* item = Items(index);
    Delete(index);
    FreeItem(item);
}

void TOCollection::DoFree(void* item)
{
    int index = TList::IndexOf(item);
    if (index >= 0)
        AtFree(index);
}

void TOCollection::FreeAll()
{
    // The items are taken out of the list before any is freed, so a destructor that looks at the
    // list never finds a freed item in it; then they are freed in order.
    std::vector<void*> items;
    items.reserve(static_cast<size_t>(Count()));
    for (int i = 0; i < Count(); ++i)
        items.push_back(Items(i));
    Clear();
    for (void* item : items)
        FreeItem(item);
}

void TOCollection::FreeItem(void* item) { delete static_cast<TObject*>(item); }

// A destructor calls the FreeItem of its own class: each owner-changing descendant empties the
// list in its own destructor, before the base one runs.
TNoOwnerCollection::~TNoOwnerCollection() { Clear(); }

void TNoOwnerCollection::FreeItem(void*) {}

TSortedCollection::TSortedCollection(int capacity) : TOCollection(capacity) {}

const void* TSortedCollection::KeyOf(void* item) const { return item; }

bool TSortedCollection::Search(const void* key, int& index) const
{
    bool found = false;
    int lo = 0;
    int hi = Count() - 1;
    while (lo <= hi) {
        int mid = lo + (hi - lo) / 2;
        int c = Compare(KeyOf(Items(mid)), key);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (!Duplicates)
                    lo = mid;
            }
        }
    }
    index = lo;
    return found;
}

int TSortedCollection::IndexOf(void* item)
{
    int index;
    if (!Search(KeyOf(item), index))
        return -1;
    if (Duplicates) {
        while (index < Count() && Items(index) != item)
            ++index;
        if (index >= Count())
            return -1;
    }
    return index;
}

int TSortedCollection::Add(void* item)
{
    int index;
    if (Search(KeyOf(item), index) && !Duplicates)
        return -1;
    Insert(index, item);
    return index;
}

int TSortedCollection::AddReplace(void* item)
{
    int index;
    if (Search(KeyOf(item), index))
        Delete(index);
    return Add(item);
}

TStrCollection::~TStrCollection() { FreeAll(); }

int TStrCollection::Compare(const void* key1, const void* key2) const
{
    return std::strcmp(static_cast<const char*>(key1), static_cast<const char*>(key2));
}

void TStrCollection::FreeItem(void* item) { delete[] static_cast<char*>(item); }

char* TStrCollection::NewStr(std::string_view text)
{
    char* s = new char[text.size() + 1];
    std::memcpy(s, text.data(), text.size());
    s[text.size()] = '\0';
    return s;
}
