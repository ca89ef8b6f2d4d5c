#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "expr/Oobjects.h"

namespace {

// An item that records its own destruction.
struct Tracked : TObject {
    Tracked(int key, std::vector<int>* freed) : Key(key), Freed(freed) {}
    ~Tracked() override { Freed->push_back(Key); }
    int Key;
    std::vector<int>* Freed;
};

TObject* Obj(Tracked* t) { return t; }

// Sorted by the integer key of Tracked items; items made by New report to freed.
struct TrackedCollection : TSortedCollection {
    TrackedCollection(int capacity, std::vector<int>* log) : TSortedCollection(capacity), freed(log) {}
    std::vector<int>* freed;
    int Compare(const void* a, const void* b) const override
    {
        int x = *static_cast<const int*>(a), y = *static_cast<const int*>(b);
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    const void* KeyOf(void* item) const override { return &static_cast<Tracked*>(static_cast<TObject*>(item))->Key; }
    Tracked* New(int key) { return new Tracked(key, freed); }
};

std::vector<std::string> Strings(const TStrCollection& c)
{
    std::vector<std::string> out;
    for (int i = 0; i < c.Count(); ++i)
        out.emplace_back(static_cast<const char*>(c.Items(i)));
    return out;
}

}  // namespace

TEST(SortedCollection, KeepsByteOrderAndRefusesAnEqualKeyWithoutDuplicates)
{
    TStrCollection c(4);
    for (const char* s : {"pear", "apple", "fig", "apple"}) {
        char* item = TStrCollection::NewStr(s);
        if (c.Add(item) < 0)
            c.FreeItem(item);
    }
    EXPECT_EQ(Strings(c), (std::vector<std::string>{"apple", "fig", "pear"}));
    int index = -1;
    EXPECT_TRUE(c.Search("fig", index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(c.Search("grape", index));
    EXPECT_EQ(index, 2);  // where it would go
    // Upper case sorts before lower case, and a cp949 lead byte after every ASCII byte.
    TStrCollection bytes(4);
    for (const char* s : {"b", "B", "\xC7\xD1", "a"})
        bytes.Add(TStrCollection::NewStr(s));
    EXPECT_EQ(Strings(bytes), (std::vector<std::string>{"B", "a", "b", "\xC7\xD1"}));
}

TEST(SortedCollection, AddReplacePutsTheNewItemInTheOldOnesPlace)
{
    std::vector<int> freed;
    TrackedCollection c(4, &freed);
    Tracked *first = c.New(5), *second = c.New(5);
    c.Add(Obj(first));
    c.Add(Obj(c.New(9)));
    EXPECT_LT(c.Add(Obj(second)), 0);
    c.AddReplace(Obj(second));
    EXPECT_EQ(c.Items(0), static_cast<void*>(Obj(second)));
    EXPECT_TRUE(freed.empty());  // the replaced item is removed, not freed
    delete first;
    EXPECT_EQ(freed, std::vector<int>{5});
}

TEST(SortedCollection, WithDuplicatesSearchFindsTheFirstAndIndexOfTheVeryItem)
{
    std::vector<int> freed;
    TrackedCollection c(8, &freed);
    c.Duplicates = true;
    Tracked *a = c.New(3), *b = c.New(3), *d = c.New(3);
    for (Tracked* item : {c.New(1), a, b, c.New(7)})
        c.Add(Obj(item));
    int key = 3, index = -1;
    EXPECT_TRUE(c.Search(&key, index));
    EXPECT_EQ(index, 1);
    // An equal key goes in front of those already there.
    EXPECT_EQ(c.IndexOf(Obj(b)), 1);
    EXPECT_EQ(c.IndexOf(Obj(a)), 2);
    EXPECT_EQ(c.IndexOf(Obj(d)), -1);  // an equal key, but not in the list
    delete d;
}

TEST(OwningCollection, FreesItemsOnAtFreeDoFreeFreeAllAndDestruction)
{
    std::vector<int> freed;
    {
        TrackedCollection c(4, &freed);
        Tracked* two = c.New(2);
        for (Tracked* item : {c.New(1), two, c.New(3), c.New(4)})
            c.Add(Obj(item));
        c.AtFree(0);
        EXPECT_EQ(freed, std::vector<int>{1});
        c.DoFree(Obj(two));
        EXPECT_EQ(freed, (std::vector<int>{1, 2}));
    }
    EXPECT_EQ(freed, (std::vector<int>{1, 2, 3, 4}));
    TOCollection plain(2);
    plain.TList::Add(Obj(new Tracked(8, &freed)));
    plain.TList::Add(nullptr);  // a null item is skipped
    plain.FreeAll();
    EXPECT_EQ(freed.back(), 8);
    // A collection that does not own its items never frees them.
    Tracked item(6, &freed);
    {
        TNoOwnerCollection c(2);
        c.Add(Obj(&item));
        c.AtFree(0);
        c.Add(Obj(&item));
    }
    EXPECT_EQ(freed.back(), 8);
}
