#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "controls/core/MinMax.h"

namespace {

// A variant's type and text, so a result shows which of two equal values was kept.
std::string Shown(const Variant& v) { return VarTypeName(v.VarType()) + ":" + VarToStr(v); }

}  // namespace

TEST(MinMaxPairs, SwapsAndExtremesOfTwo)
{
    int32_t a = 1, b = -2;
    SwapInt(a, b);
    EXPECT_EQ(std::make_pair(a, b), std::make_pair(-2, 1));
    int64_t c = INT64_MAX, d = INT64_MIN;
    SwapInt64(c, d);
    EXPECT_EQ(std::make_pair(c, d), std::make_pair(INT64_MIN, INT64_MAX));
    const int32_t cases[][4] = {{3, 3, 3, 3}, {-5, 2, 2, -5}, {INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN}};
    for (const auto& t : cases) {
        EXPECT_EQ(Max(t[0], t[1]), t[2]);
        EXPECT_EQ(Min(t[0], t[1]), t[3]);
    }
}

TEST(MinMaxArrays, ExtremesOfEveryKind)
{
    const std::vector<int32_t> ints{4, -9, 17, 0, 17};
    EXPECT_EQ(MaxInteger(ints), 17);
    EXPECT_EQ(MinInteger(ints), -9);

    const std::vector<int64_t> wide{int64_t{1} << 40, -(int64_t{1} << 50), 3};
    EXPECT_EQ(MaxInt64(wide), int64_t{1} << 40);
    EXPECT_EQ(MinInt64(wide), -(int64_t{1} << 50));

    const std::vector<long double> floats{1.5L, -0.25L, 1e300L * 10, 2.0L};
    EXPECT_EQ(MaxFloat(floats), 1e300L * 10);  // beyond a double: kept as extended
    EXPECT_EQ(MinFloat(floats), -0.25L);

    // 2024-01-02 12:00 is later than 2024-01-02 00:00, earlier than 2024-01-03.
    const TDateTime noon = EncodeDate(2024, 1, 2) + 0.5;
    const std::vector<TDateTime> dates{EncodeDate(2024, 1, 2), EncodeDate(2024, 1, 3), noon};
    EXPECT_EQ(MaxDateTime(dates), EncodeDate(2024, 1, 3));
    EXPECT_EQ(MinDateTime(dates), EncodeDate(2024, 1, 2));
}

TEST(MinMaxArrays, EmptyArraysYieldZeroInsteadOfReadingPastTheEnd)
{
    EXPECT_EQ(MaxInteger({}), 0);
    EXPECT_EQ(MinInt64({}), 0);
    EXPECT_EQ(MaxFloat({}), 0.0L);
    EXPECT_EQ(MinDateTime({}), 0.0);
    EXPECT_TRUE(MaxOf(std::span<const Variant>()).IsEmpty());
    EXPECT_TRUE(MinOf(std::span<const Variant>()).IsEmpty());
}

// Variants by the variant comparison; the first of equal extremes is kept, whatever its type.
struct TVariantCase {
    const char* name;
    std::vector<Variant> values;
    const char* largest;  // type and text
    const char* smallest;
};
class MinMaxOf : public ::testing::TestWithParam<TVariantCase> {};

TEST_P(MinMaxOf, KeepsTheFirstOfEqualExtremes)
{
    EXPECT_EQ(Shown(MaxOf(GetParam().values)), GetParam().largest);
    EXPECT_EQ(Shown(MinOf(GetParam().values)), GetParam().smallest);
}

const TVariantCase kVariants[] = {
    {"NumberOneThenTextOne", {Variant(1), Variant("1")}, "Integer:1", "Integer:1"},
    {"TextOneThenNumberOne", {Variant("1"), Variant(1)}, "String:1", "String:1"},
    {"TextThatReadsAsANumberComparesAsOne",
     {Variant(3), Variant("10"), Variant(-4), Variant("-4"), Variant(10)},
     "String:10",
     "Integer:-4"},
    {"WholeAndFractionalNumbers", {Variant(2), Variant(2.5), Variant(int64_t{-3})}, "Double:2.5", "Int64:-3"},
    {"TextsByTheirBytes", {Variant("abc"), Variant("abd"), Variant("ab")}, "String:abd", "String:ab"},
    {"NumberBesideAWordComparesAsText", {Variant(2), Variant("x")}, "String:x", "Integer:2"},
    {"NullFirstIsKept", {Variant::Null(), Variant(5)}, "Null:", "Null:"},
    {"NullInsideIsPassedOver", {Variant(5), Variant::Null(), Variant(7), Variant()}, "Integer:7", "Integer:5"},
    {"OneValue", {Variant("only")}, "String:only", "String:only"},
};
INSTANTIATE_TEST_SUITE_P(Rows, MinMaxOf, ::testing::ValuesIn(kVariants),
                         [](const auto& row) { return std::string(row.param.name); });
