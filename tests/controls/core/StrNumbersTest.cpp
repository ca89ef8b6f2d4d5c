#include <gtest/gtest.h>

#include "controls/core/StrUtils.h"
#include "platform/core/Exceptions.h"
#include "tests/controls/core/HangulText.h"

using namespace hangul;

TEST(StrNumbers, Numb2USAGroupsDigitsInThrees)
{
    EXPECT_EQ(Numb2USA("1234567"), "1,234,567");
    EXPECT_EQ(Numb2USA("123"), "123");
    EXPECT_EQ(Numb2USA("1234"), "1,234");
    EXPECT_EQ(Numb2USA("123456"), "123,456");
    EXPECT_EQ(Numb2USA(""), "");
    EXPECT_EQ(Numb2USA("abc"), "abc");
}

TEST(StrNumbers, Numb2USALeavesSignAndFractionAlone)
{
    EXPECT_EQ(Numb2USA("-123456"), "-123,456");
    EXPECT_EQ(Numb2USA("1234.5678"), "1,234.5678");
    EXPECT_EQ(Numb2USA(kGa + "12345" + kNa), kGa + "12,345" + kNa);
}

TEST(StrNumbers, HexadecimalBothWays)
{
    EXPECT_EQ(Dec2Hex(255, 1), "FF");
    EXPECT_EQ(Dec2Hex(255, 4), "00FF");
    EXPECT_EQ(D2H(0, 0), "0");
    EXPECT_EQ(Dec2Hex(-1, 2), "FFFFFFFF");
    EXPECT_EQ(Hex2Dec("FF"), 255);
    EXPECT_EQ(Hex2Dec("$ff"), 255);
    EXPECT_EQ(H2D("7FFFFFFF"), 2147483647);
    EXPECT_EQ(H2D("FFFFFFFF"), -1);
    EXPECT_EQ(Hex2Dec("100000000"), 0);
    EXPECT_EQ(Hex2Dec(""), 0);
    EXPECT_EQ(Hex2Dec("$"), 0);
    EXPECT_EQ(Hex2Dec("12G"), 0);
    EXPECT_EQ(Hex2Dec(" 12"), 0);
    EXPECT_EQ(Hex2Dec(kGa), 0);
    EXPECT_EQ(Hex2Dec(Dec2Hex(123456789, 0)), 123456789);
}

TEST(StrNumbers, OtherBases)
{
    EXPECT_EQ(Dec2Numb(0, 0, 2), "0");
    EXPECT_EQ(Dec2Numb(5, 0, 2), "101");
    EXPECT_EQ(Dec2Numb(5, 6, 2), "000101");
    EXPECT_EQ(Dec2Numb(35, 0, 36), "Z");
    EXPECT_EQ(Dec2Numb(255, 0, 16), "FF");
    EXPECT_EQ(Dec2Numb(8, 3, 8), "010");
    EXPECT_EQ(Numb2Dec("101", 2), 5);
    EXPECT_EQ(Numb2Dec("ff", 16), 255);
    EXPECT_EQ(Numb2Dec("Z", 36), 35);
    EXPECT_EQ(Numb2Dec("", 10), 0);
    EXPECT_EQ(Numb2Dec("1234", 10), 1234);
}

TEST(StrNumbers, NegativeValuesShowTheirBitPattern)
{
    EXPECT_EQ(Dec2Numb(-1, 0, 16), "FFFFFFFF");
    EXPECT_EQ(Dec2Numb(-2, 0, 2), AnsiString(31, '1') + "0");
    EXPECT_EQ(Numb2Dec("FFFFFFFF", 16), -1);
}

TEST(StrNumbers, DigitsOutsideTheBaseGiveZero)
{
    EXPECT_EQ(Numb2Dec("102", 2), 0);
    EXPECT_EQ(Numb2Dec("1-2", 10), 0);
    EXPECT_EQ(Numb2Dec(kGa, 16), 0);
}

TEST(StrNumbers, NumberBaseZeroOrOneIsRefused)
{
    EXPECT_THROW(Dec2Numb(10, 0, 0), EConvertError);
    EXPECT_THROW(Dec2Numb(10, 0, 1), EConvertError);
    EXPECT_THROW(Dec2Numb(10, 0, 37), EConvertError);
    EXPECT_THROW(Numb2Dec("10", 0), EConvertError);
    EXPECT_THROW(Numb2Dec("10", 1), EConvertError);
    EXPECT_THROW(Numb2Dec("10", -3), EConvertError);
}

TEST(StrNumbers, IntToBinGroupsFromTheRight)
{
    EXPECT_EQ(IntToBin(5, 8, 4), " 0000 0101");
    EXPECT_EQ(IntToBin(5, 6, 4), "00 0101");
    EXPECT_EQ(IntToBin(5, 3, 0), "101");
    EXPECT_EQ(IntToBin(13, 4, 1), " 1 1 0 1");
    EXPECT_EQ(IntToBin(255, 4, 8), "1111");  // the low four bits
    EXPECT_EQ(IntToBin(-1, 40, 0), AnsiString(32, '1'));
    EXPECT_EQ(IntToBin(1, 0, 4), "");
}

TEST(StrNumbers, IntToBinWithGroupZeroDoesNotDivideByZero)
{
    EXPECT_EQ(IntToBin(6, 4, 0), "0110");
    EXPECT_EQ(IntToBin(6, 4, -2), "0110");
}

TEST(StrRoman, BothWays)
{
    EXPECT_EQ(IntToRoman(1994), "MCMXCIV");
    EXPECT_EQ(RomanToInt("MCMXCIV"), 1994);
    EXPECT_EQ(IntToRoman(4), "IV");
    EXPECT_EQ(IntToRoman(3999), "MMMCMXCIX");
    EXPECT_EQ(IntToRoman(1), "I");
    EXPECT_EQ(IntToRoman(0), "");
    EXPECT_EQ(IntToRoman(-5), "");
    EXPECT_EQ(RomanToInt("-XIV"), -14);
    EXPECT_EQ(RomanToInt("IIII"), 4);
    EXPECT_EQ(RomanToInt(""), 0);
    EXPECT_EQ(RomanToInt("XIZ"), 0);
    EXPECT_EQ(RomanToInt("xiv"), 0);
    EXPECT_EQ(RomanToInt("X-I"), 0);
    EXPECT_EQ(RomanToInt(kGa), 0);
    for (int n = 1; n < 4000; n += 37)
        EXPECT_EQ(RomanToInt(IntToRoman(n)), n) << n;
}

TEST(StrRoman, AHugeNumeralSaturates)
{
    EXPECT_EQ(RomanToInt(AnsiString(3000000, 'M')), 2147483647);
}
