#include <gtest/gtest.h>

#include <cstring>
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

// Sorted by the integer key of Tracked items.
struct TrackedCollection : TSortedCollection {
    using TSortedCollection::TSortedCollection;
    int Compare(const void* a, const void* b) const override
    {
        int x = *static_cast<const int*>(a);
        int y = *static_cast<const int*>(b);
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    const void* KeyOf(void* item) const override { return &static_cast<Tracked*>(static_cast<TObject*>(item))->Key; }
    Tracked* At(int i) const { return static_cast<Tracked*>(static_cast<TObject*>(Items(i))); }
    int Put(Tracked* item) { return Add(static_cast<TObject*>(item)); }
    int PutReplace(Tracked* item) { return AddReplace(static_cast<TObject*>(item)); }
    int Find(Tracked* item) { return IndexOf(static_cast<TObject*>(item)); }
};

std::vector<std::string> Strings(const TStrCollection& c)
{
    std::vector<std::string> out;
    for (int i = 0; i < c.Count(); ++i)
        out.emplace_back(static_cast<const char*>(c.Items(i)));
    return out;
}

}  // namespace

TEST(SortedCollection, KeepsKeyOrderAndRefusesAnEqualKeyWithoutDuplicates)
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
    EXPECT_FALSE(c.Search("zebra", index));
    EXPECT_EQ(index, 3);
}

TEST(SortedCollection, ComparesStringsByteWiseAndCaseSensitively)
{
    TStrCollection c(4);
    for (const char* s : {"b", "B", "\xC7\xD1", "a"})
        c.Add(TStrCollection::NewStr(s));
    // Upper case sorts before lower case, and a cp949 lead byte after every ASCII byte.
    EXPECT_EQ(Strings(c), (std::vector<std::string>{"B", "a", "b", "\xC7\xD1"}));
}

TEST(SortedCollection, AddReplacePutsTheNewItemInTheOldOnesPlace)
{
    std::vector<int> freed;
    TrackedCollection c(4);
    auto* first = new Tracked(5, &freed);
    auto* second = new Tracked(5, &freed);
    c.Put(first);
    c.Put(new Tracked(9, &freed));
    EXPECT_LT(c.Put(second), 0);
    EXPECT_EQ(c.Count(), 2);

    c.PutReplace(second);
    ASSERT_EQ(c.Count(), 2);
    EXPECT_EQ(c.At(0), second);
    EXPECT_TRUE(freed.empty());  // the replaced item is removed, not freed
    delete first;
    EXPECT_EQ(freed, std::vector<int>{5});
}

TEST(SortedCollection, WithDuplicatesSearchFindsTheFirstAndIndexOfTheVeryItem)
{
    std::vector<int> freed;
    TrackedCollection c(8);
    c.Duplicates = true;
    auto* a = new Tracked(3, &freed);
    auto* b = new Tracked(3, &freed);
    auto* d = new Tracked(3, &freed);
    c.Put(new Tracked(1, &freed));
    c.Put(a);
    c.Put(b);
    c.Put(new Tracked(7, &freed));
    EXPECT_EQ(c.Count(), 4);

    int key = 3;
    int index = -1;
    EXPECT_TRUE(c.Search(&key, index));
    EXPECT_EQ(index, 1);
    // An equal key goes in front of those already there.
    EXPECT_EQ(c.Find(b), 1);
    EXPECT_EQ(c.Find(a), 2);
    EXPECT_EQ(c.Find(d), -1);  // an equal key, but not in the list
    delete d;
}

TEST(OwningCollection, FreesItemsOnAtFreeDoFreeFreeAllAndDestruction)
{
    std::vector<int> freed;
    {
        TrackedCollection c(4);
        auto* two = new Tracked(2, &freed);
        c.Put(new Tracked(1, &freed));
        c.Put(two);
        c.Put(new Tracked(3, &freed));
        c.Put(new Tracked(4, &freed));
        c.AtFree(0);
        EXPECT_EQ(freed, std::vector<int>{1});
        c.DoFree(static_cast<TObject*>(two));
        EXPECT_EQ(freed, (std::vector<int>{1, 2}));
        EXPECT_EQ(c.Count(), 2);
    }
    EXPECT_EQ(freed, (std::vector<int>{1, 2, 3, 4}));

    TOCollection plain(2);
    plain.TList::Add(static_cast<TObject*>(new Tracked(8, &freed)));
    plain.TList::Add(nullptr);  // a null item is skipped
    plain.FreeAll();
    EXPECT_EQ(plain.Count(), 0);
    EXPECT_EQ(freed.back(), 8);
}

TEST(OwningCollection, NoOwnerCollectionNeverFreesItsItems)
{
    std::vector<int> freed;
    Tracked item(6, &freed);
    {
        TNoOwnerCollection c(2);
        c.Add(static_cast<TObject*>(&item));
        c.AtFree(0);
        c.Add(static_cast<TObject*>(&item));
    }
    EXPECT_TRUE(freed.empty());
}
