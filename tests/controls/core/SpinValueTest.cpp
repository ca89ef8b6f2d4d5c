// The spin edit's rules without a window: values written and read back by kind, the bounds, the
// typed characters a kind takes, and the halves of the diagonal button.

#include "controls/core/SpinValue.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

template <class T>
std::string RowName(const ::testing::TestParamInfo<T>& info)
{
    return info.param.name;
}

struct TWriteCase {
    const char* name;
    double value;
    TValueType type;
    int decimal;
    const char* text;
};

const TWriteCase kWrites[] = {
    {"IntTiesGoToEvenDown", 2.5, vtInt, 2, "2"},
    {"IntTiesGoToEvenUp", 3.5, vtInt, 2, "4"},
    {"IntNegativeTie", -2.5, vtInt, 2, "-2"},
    {"IntBeyond32BitsInFull", 5e9, vtInt, 2, "5000000000"},
    {"HexUpperCaseWithoutLeadingZeros", 255, vtHex, 2, "FF"},
    {"HexZeroIsOneDigit", 0, vtHex, 2, "0"},
    {"HexNegativeIsSixteenDigitsOfTwosComplement", -1, vtHex, 2, "FFFFFFFFFFFFFFFF"},
    {"FloatFixedWithTheDecimals", 2.5, vtFloat, 2, "2.50"},
    {"FloatNoDecimals", 2.25, vtFloat, 0, "2"},
};

class SpinWrite : public ::testing::TestWithParam<TWriteCase> {};

TEST_P(SpinWrite, WritesTheText)
{
    EXPECT_EQ(SpinValueText(GetParam().value, GetParam().type, GetParam().decimal), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Kinds, SpinWrite, ::testing::ValuesIn(kWrites), RowName<TWriteCase>);

struct TSpinReadCase {
    const char* name;
    const char* text;
    TValueType type;
    double minValue;
    double value;
};

const TSpinReadCase kSpinReads[] = {
    {"HexNegativeReadsBackWhatItWrote", "FFFFFFFFFFFFFFFF", vtHex, 0, -1},
    {"HexLowerCase", "ff", vtHex, 0, 255},
    {"HexSeventeenDigitsReadAsMin", "1FFFFFFFFFFFFFFFF", vtHex, 3, 3},
    {"HexLetterGReadsAsMin", "1G", vtHex, 0, 0},
    {"DecimalBeyond32BitsReadsBack", "5000000000", vtInt, 0, 5e9},
    {"EmptyReadsAsMin", "", vtInt, 1, 1},
    {"GarbageReadsAsMinTruncated", "x", vtInt, 1.7, 1},
    {"NegativeMinTruncatesTowardZero", "x", vtInt, -2.7, -2},
    {"FloatWithDecimals", "2.25", vtFloat, 0, 2.25},
    {"FloatGarbageReadsAsMinUntruncated", "1.2.3", vtFloat, 0.5, 0.5},
    {"RegressionFloatPlusMinusReadsAsMinLikeMinusMinus", "+-7", vtFloat, -3, -3},
    {"FloatTooSmallForADoubleIsZero", "1e-400", vtFloat, -3, 0},
};

class SpinRead : public ::testing::TestWithParam<TSpinReadCase> {};

TEST_P(SpinRead, ReadsTheValue)
{
    EXPECT_EQ(SpinTextValue(GetParam().text, GetParam().type, GetParam().minValue), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Kinds, SpinRead, ::testing::ValuesIn(kSpinReads), RowName<TSpinReadCase>);

// A float edit without bounds writes the largest doubles with 15 digits (1.79769313486232E308),
// past the largest: they read back as themselves, not as MinValue.
TEST(SpinValue, RegressionTheLargestFloatsReadBackAsThemselves)
{
    for (const double value : {std::numeric_limits<double>::max(), -std::numeric_limits<double>::max()})
        for (const int decimal : {0, 2})
            EXPECT_EQ(SpinTextValue(SpinValueText(value, vtFloat, decimal), vtFloat, -5), value) << decimal;
}

struct TCharCase {
    const char* name;
    char key;
    TValueType type;
    const char* text;
    bool editorEnabled;
    bool valid;
};

const TCharCase kChars[] = {
    {"DigitInt", '7', vtInt, "1", true, true},
    {"SignInt", '-', vtInt, "", true, true},
    {"LetterInt", 'a', vtInt, "1", true, false},
    {"HexLetter", 'c', vtHex, "1", true, true},
    {"HexLetterG", 'G', vtHex, "1", true, false},
    {"FirstDecimalSeparator", '.', vtFloat, "1", true, true},
    {"SecondDecimalSeparator", '.', vtFloat, "1.5", true, false},
    {"FirstExponent", 'e', vtFloat, "1.5", true, true},
    {"SecondExponent", 'E', vtFloat, "1.5e3", true, false},
    {"DecimalSeparatorInInt", '.', vtInt, "1", true, false},
    {"BackspaceTyping", '\b', vtInt, "1", true, true},
    {"EditorOffDigit", '5', vtInt, "1", false, false},
    {"EditorOffBackspace", '\b', vtInt, "1", false, false},
    {"EditorOffTab", '\t', vtInt, "1", false, true},
    {"EditorOffEnter", '\r', vtInt, "1", false, true},
};

class SpinChars : public ::testing::TestWithParam<TCharCase> {};

TEST_P(SpinChars, FiltersTheKey)
{
    const TCharCase& c = GetParam();
    EXPECT_EQ(SpinIsValidChar(c.key, c.type, c.text, c.editorEnabled), c.valid);
}

INSTANTIATE_TEST_SUITE_P(Kinds, SpinChars, ::testing::ValuesIn(kChars), RowName<TCharCase>);

TEST(SpinValue, EqualBoundsClampNothing)
{
    EXPECT_EQ(SpinCheckValue(-5, 0, 0), -5);
    EXPECT_EQ(SpinCheckValue(70000, 1, 65535), 65535);
    EXPECT_EQ(SpinCheckValue(0, 1, 65535), 1);
}

TEST(SpinValue, RoundingSaturatesOutsideTheSixtyFourBitRange)
{
    EXPECT_EQ(RoundToEven(1e300), INT64_MAX);
    EXPECT_EQ(RoundToEven(-1e300), INT64_MIN);
}

TEST(SpinValue, TheDiagonalItselfBelongsToTheTopHalf)
{
    EXPECT_EQ(SpinButtonHalf(10, 10, 20, 20), sbTopDown);
    EXPECT_EQ(SpinButtonHalf(10, 11, 20, 20), sbBottomDown);
    EXPECT_EQ(SpinButtonHalf(2, 2, 20, 20), sbTopDown);
    EXPECT_EQ(SpinButtonHalf(18, 18, 20, 20), sbBottomDown);
}

}  // namespace
