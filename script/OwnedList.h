#pragma once
// A list of script records that owns them: removing a record from the list frees it, clearing the
// list frees them all. Records keep their list order.

#include <algorithm>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/core/AnsiString.h"

template <class T>
class TOwnedList {
public:
    int Count() const { return static_cast<int>(Items.size()); }
    bool Empty() const { return Items.empty(); }
    // Index 0-based; an index out of range gives null.
    T* operator[](int index) const
    {
        return index >= 0 && index < Count() ? Items[static_cast<size_t>(index)].get() : nullptr;
    }
    T* Add(std::unique_ptr<T> record)
    {
        Items.push_back(std::move(record));
        return Items.back().get();
    }
    // Inserts before index; an index past the end appends, a negative one inserts first.
    T* Insert(int index, std::unique_ptr<T> record)
    {
        const auto at = Items.begin() + std::clamp(index, 0, Count());
        return Items.insert(at, std::move(record))->get();
    }
    // Moves the record at from to index to (the others close up); indexes out of range do nothing.
    void Move(int from, int to)
    {
        if (from < 0 || from >= Count() || to < 0 || to >= Count() || from == to)
            return;
        std::unique_ptr<T> record = std::move(Items[static_cast<size_t>(from)]);
        Items.erase(Items.begin() + from);
        Items.insert(Items.begin() + to, std::move(record));
    }
    int IndexOf(const T* record) const
    {
        for (size_t i = 0; i < Items.size(); ++i)
            if (Items[i].get() == record)
                return static_cast<int>(i);
        return -1;
    }
    // Removes and frees the record at index; an index out of range does nothing.
    void Delete(int index)
    {
        if (index >= 0 && index < Count())
            Items.erase(Items.begin() + index);
    }
    void Remove(const T* record) { Delete(IndexOf(record)); }
    // The first record whose name field equals name, both trimmed of blanks; compared exactly.
    T* FindByName(std::string_view name, AnsiString T::*field) const
    {
        const AnsiString wanted = Trim(name);
        for (const auto& record : Items)
            if (Trim((*record).*field) == wanted)
                return record.get();
        return nullptr;
    }
    void Clear()
    {
        // Free outside the vector so a record's destructor never sees a half-cleared list.
        std::vector<std::unique_ptr<T>> old;
        old.swap(Items);
    }

    auto begin() const { return Items.begin(); }
    auto end() const { return Items.end(); }

private:
    std::vector<std::unique_ptr<T>> Items;
};
