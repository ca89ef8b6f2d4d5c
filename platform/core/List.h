#pragma once
// The framework's list of untyped pointers. The list never owns what it points to.

#include <functional>
#include <vector>

#include "platform/core/Object.h"

// <0, 0 or >0, as the framework's sort callback.
using TListSortCompare = std::function<int(void* Item1, void* Item2)>;

class TList : public TObject {
public:
    TList() = default;
    ~TList() override = default;

    int Count() const { return static_cast<int>(items_.size()); }
    // Growing the count adds null pointers; shrinking it drops the tail.
    void SetCount(int newCount);
    int Capacity() const { return static_cast<int>(items_.capacity()); }
    void SetCapacity(int newCapacity);

    void* Items(int index) const;
    void SetItems(int index, void* item);
    void* operator[](int index) const { return Items(index); }
    void* First() const { return Items(0); }
    void* Last() const { return Items(Count() - 1); }

    int Add(void* item);
    void Insert(int index, void* item);
    void Delete(int index);
    // Removes the first occurrence; returns its former index, or -1.
    int Remove(void* item);
    // Removes the first occurrence and returns it, or null when absent.
    void* Extract(void* item);
    int IndexOf(void* item) const;
    void Exchange(int index1, int index2);
    void Move(int curIndex, int newIndex);
    void Clear();
    // Removes every null pointer.
    void Pack();
    void Sort(const TListSortCompare& compare);
    void Assign(const TList& source);

    // The framework's messages for a bad index, capacity or count (EListError).
    [[noreturn]] static void Error(const char* format, int value);

private:
    void CheckIndex(int index) const;
    std::vector<void*> items_;
};
