#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "controls/core/MinMax.h"

namespace {

// A value that is a number or a text, compared the way loosely typed values are: a text that
// holds a number compares as that number.
using Loose = std::variant<int, std::string>;

double AsNumber(const Loose& v)
{
    return std::holds_alternative<int>(v) ? std::get<int>(v) : std::stod(std::get<std::string>(v));
}

int CompareLoose(const Loose& a, const Loose& b)
{
    const double x = AsNumber(a);
    const double y = AsNumber(b);
    return x < y ? -1 : (x > y ? 1 : 0);
}

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
    EXPECT_EQ(MaxOf(std::span<const Loose>(), CompareLoose), Loose{});
}

TEST(MinMaxOf, FirstOfEqualExtremesIsKept)
{
    // The number 1 and the text "1" compare equal: the first one stays.
    const std::vector<Loose> numberFirst{1, std::string("1")};
    EXPECT_EQ(MaxOf<Loose>(numberFirst, CompareLoose), Loose{1});
    EXPECT_EQ(MinOf<Loose>(numberFirst, CompareLoose), Loose{1});
    const std::vector<Loose> textFirst{std::string("1"), 1};
    EXPECT_EQ(MaxOf<Loose>(textFirst, CompareLoose), Loose{std::string("1")});

    // A later value strictly beyond replaces it, whatever its kind.
    const std::vector<Loose> mixed{3, std::string("10"), -4, std::string("-4"), 10};
    EXPECT_EQ(MaxOf<Loose>(mixed, CompareLoose), Loose{std::string("10")});
    EXPECT_EQ(MinOf<Loose>(mixed, CompareLoose), Loose{-4});
}
