#pragma once
// Pointer collections of the expression library: a list that owns its items, one that only
// refers to them, and lists kept sorted by a key.

#include <cstddef>
#include <string_view>

#include "platform/core/List.h"

// A list that owns its items: they are objects (TObject) unless a descendant says otherwise.
class TOCollection : public TList {
public:
    explicit TOCollection(int capacity);
    ~TOCollection() override;
    TOCollection(const TOCollection&) = delete;
    TOCollection& operator=(const TOCollection&) = delete;

    // Removes the item at index and frees it.
    void AtFree(int index);
    // AtFree at the item's index; an item that is not in the list is left alone.
    void DoFree(void* item);
    // Frees every item in order, then empties the list.
    void FreeAll();
    // Frees the item when it is not null.
    virtual void FreeItem(void* item);
};

// Refers to its items without owning them.
class TNoOwnerCollection : public TOCollection {
public:
    using TOCollection::TOCollection;
    ~TNoOwnerCollection() override;
    void FreeItem(void* item) override;
};

// A list kept in key order. Without Duplicates a second item with an equal key is refused.
class TSortedCollection : public TOCollection {
public:
    explicit TSortedCollection(int capacity);

    // <0, 0 or >0.
    virtual int Compare(const void* key1, const void* key2) const = 0;
    // The index of this very item, or -1.
    virtual int IndexOf(void* item);
    // Inserts at the key's place; returns the index, or -1 when an equal key refused it.
    virtual int Add(void* item);
    // Takes the place of an item with an equal key (which is removed, not freed).
    virtual int AddReplace(void* item);
    virtual const void* KeyOf(void* item) const;
    // Binary search: true when the key is present. index is where it is (with Duplicates the
    // first of the equal keys) or where it would be inserted.
    virtual bool Search(const void* key, int& index) const;

    bool Duplicates = false;
};

// Sorted zero-terminated strings (made with NewStr), compared byte by byte, case-sensitively.
class TStrCollection : public TSortedCollection {
public:
    using TSortedCollection::TSortedCollection;
    ~TStrCollection() override;
    int Compare(const void* key1, const void* key2) const override;
    void FreeItem(void* item) override;
    // A heap copy of text, as this collection frees it.
    static char* NewStr(std::string_view text);
};
