// Which entries of a stored list a section's keys hold, and how far such a list is read.

#include "controls/core/StoredList.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/core/Exceptions.h"
#include "platform/core/StringList.h"

namespace {

struct TIndexCase {
    const char* name;
    std::vector<const char*> keys;
    const char* prefix;
    const char* tail;
    std::vector<int> indices;
};
class StoredIndices : public ::testing::TestWithParam<TIndexCase> {};

TEST_P(StoredIndices, AreTheKeysAWriterMakes)
{
    TStringList keys;
    for (const char* k : GetParam().keys)
        keys.Add(k);
    EXPECT_EQ(StoredListIndices(keys, GetParam().prefix, GetParam().tail), GetParam().indices);
}

const TIndexCase kIndices[] = {
    {"AscendingWithGaps", {"Count", "Item3", "Item0", "ITEM7"}, "Item", "", {0, 3, 7}},
    {"OnlyTheWriterForm", {"Item", "Item07", "Item+1", "Item-1", "Item1x", "Item 2", "Item00"}, "Item", "", {}},
    {"LargestIntegerAndPastIt", {"Item2147483647", "Item2147483648"}, "Item", "", {2147483647}},
    {"LongKeyNames", {"LayoutButton1999999999", "LayoutButton1234567890123"}, "LayoutButton", "", {1999999999}},
    {"DuplicatesOnce", {"Button1", "button1", "Button2"}, "Button", "", {1, 2}},
    {"CollectionItemsByTheirTail", {"Item0_X", "Item0_Label", "Item4_X", "Item5", "Item6X"}, "Item", "_", {0, 4}},
};
INSTANTIATE_TEST_SUITE_P(Rows, StoredIndices, ::testing::ValuesIn(kIndices),
                         [](const auto& row) { return std::string(row.param.name); });

struct TLengthCase {
    const char* name;
    std::vector<int> indices;
    int count;
    int length;
};
class StoredLength : public ::testing::TestWithParam<TLengthCase> {};

TEST_P(StoredLength, EndsAtTheHighestIndexNeverPastTheCount)
{
    EXPECT_EQ(StoredListLength(GetParam().indices, GetParam().count), GetParam().length);
    EXPECT_EQ(DenseStoredListLength(GetParam().indices, GetParam().count), GetParam().length);
}

const TLengthCase kLengths[] = {
    {"GapsReadEmpty", {0, 2, 3}, 4, 4},
    {"CountFarPastTheKeys", {0, 2}, 2000000000, 3},
    {"CountBelowTheKeys", {0, 1, 9}, 2, 2},
    {"NoKeys", {}, 5, 0},
    {"NoCount", {0, 1}, 0, 0},
    {"NegativeCount", {0}, -4, 0},
};
INSTANTIATE_TEST_SUITE_P(Rows, StoredLength, ::testing::ValuesIn(kLengths),
                         [](const auto& row) { return std::string(row.param.name); });

// A list whose entries would mostly come from missing keys costs memory the file does not hold.
TEST(StoredList, RegressionMostlyMissingDenseListIsRefused)
{
    EXPECT_EQ(StoredListLength({2147483647}, 2147483647), 2147483647);
    EXPECT_EQ(DenseStoredListLength({kMaxMissingListEntries}, kMaxMissingListEntries + 1), kMaxMissingListEntries + 1);
    EXPECT_THROW(DenseStoredListLength({kMaxMissingListEntries + 1}, 2000000000), EReadError);
    EXPECT_THROW(DenseStoredListLength({0, 1999999999}, 2000000000), EReadError);
}

// A list making an entry per stored count is refused just past the bound of entries without
// keys, counted from the indices or entry by entry; read key by key, an entry just within the
// bound of missing ones before it is read.
TEST(StoredList, CountedListIsRefusedJustPastTheBound)
{
    const auto none = [](int) { return false; };
    const auto lastAt = [](int at) {
        return [at](int i) { return i == at ? std::optional<AnsiString>("x") : std::nullopt; };
    };
    EXPECT_EQ(CountedStoredListLength({}, kMaxMissingListEntries), kMaxMissingListEntries);
    EXPECT_EQ(CountedStoredListLength(kMaxMissingListEntries, none), kMaxMissingListEntries);
    EXPECT_EQ(CountedStoredListLength({7}, kMaxMissingListEntries + 1), kMaxMissingListEntries + 1);
    EXPECT_THROW(CountedStoredListLength({kMaxMissingListEntries + 1}, kMaxMissingListEntries + 1), EReadError);
    EXPECT_THROW(CountedStoredListLength(kMaxMissingListEntries + 1, none), EReadError);
    EXPECT_EQ(ReadStoredList(2000000000, lastAt(kMaxMissingListEntries)).size(), kMaxMissingListEntries + 1u);
    EXPECT_TRUE(ReadStoredList(2000000000, lastAt(kMaxMissingListEntries + 1)).empty());
}

}  // namespace
