#include <gtest/gtest.h>

#include "platform/core/Exceptions.h"
#include "platform/core/List.h"
#include "tests/platform/core/Cases.h"

TEST(TList, AddInsertDeleteKeepOrder)
{
    int a = 1, b = 2, c = 3;
    TList list;
    EXPECT_EQ(list.Add(&a), 0);
    EXPECT_EQ(list.Add(&c), 1);
    list.Insert(1, &b);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Items(0), &a);
    EXPECT_EQ(list.Last(), &c);
    EXPECT_EQ(list.Remove(&b), 1);
    EXPECT_EQ(list.IndexOf(&b), -1);
    EXPECT_EQ(list.Remove(&b), -1);
    list.Move(0, 1);
    EXPECT_EQ(list.First(), &c);
    list.Exchange(0, 1);
    EXPECT_EQ(list.First(), &a);
}

TEST(TList, BadIndexesRaiseTheFrameworkMessages)
{
    int a = 1;
    TList list;
    list.Add(&a);
    ExpectRaises<EListError>([&] { list.Items(1); }, "List index out of bounds (1)");
    EXPECT_THROW(list.Delete(-1), EListError);
    EXPECT_THROW(list.Insert(2, &a), EListError);
    EXPECT_THROW(list.Move(0, 1), EListError);
    TList empty;
    EXPECT_THROW(empty.First(), EListError);
    EXPECT_THROW(empty.Last(), EListError);
}

TEST(TList, PackSortAndCount)
{
    int v[3] = {30, 10, 20};
    TList list;
    list.Add(&v[0]);
    list.Add(nullptr);
    list.Add(&v[1]);
    list.Add(&v[2]);
    list.Pack();
    ASSERT_EQ(list.Count(), 3);
    list.Sort([](void* x, void* y) { return *static_cast<int*>(x) - *static_cast<int*>(y); });
    EXPECT_EQ(*static_cast<int*>(list.Items(0)), 10);
    EXPECT_EQ(*static_cast<int*>(list.Items(2)), 30);
    list.SetCount(5);
    EXPECT_EQ(list.Items(4), nullptr);
    ExpectRaises<EListError>([&] { list.SetCount(-1); }, "List count out of bounds (-1)");
}
