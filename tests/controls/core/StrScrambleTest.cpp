#include <gtest/gtest.h>

#include "controls/core/StrUtils.h"
#include "tests/controls/core/HangulText.h"

using namespace hangul;

TEST(StrScramble, EmptyKeyWritesPlainHexadecimalCodes)
{
    EXPECT_EQ(XorEncode("", "AB"), "4142");
    EXPECT_EQ(XorDecode("", "4142"), "AB");
    EXPECT_EQ(XorEncode("", kHanGeul), "C7D1B1DB");
    EXPECT_EQ(XorDecode("", "c7d1b1db"), kHanGeul);
    EXPECT_EQ(XorEncode("", ""), "");
}

TEST(StrScramble, KeyRepeatsOverTheSource)
{
    // 'a' ^ 'K' = 0x2A, 'b' ^ 'e' = 0x07, 'c' ^ 'K' = 0x28
    EXPECT_EQ(XorEncode("Ke", "abc"), "2A0728");
    EXPECT_EQ(XorDecode("Ke", "2A0728"), "abc");
    AnsiString line = "say " + kHanGeul + " \x01\xFF";
    EXPECT_EQ(XorDecode("secret", XorEncode("secret", line)), line);
    EXPECT_EQ(XorEncode("k", line).size(), line.size() * 2);
}

TEST(StrScramble, DecodeReadsBadPairsAsBlanksAndIgnoresAnOddDigit)
{
    EXPECT_EQ(XorDecode("", "41zz42"), "A B");
    EXPECT_EQ(XorDecode("", "414"), "A");
    // The blank of a bad pair is scrambled like any byte: ' ' ^ 'A' = 'a'.
    EXPECT_EQ(XorDecode("A", "??"), "a");
}

TEST(StrScramble, XorStringIsItsOwnInverseAndShort)
{
    AnsiString scrambled = XorString("key", "hello " + kHanGeul);
    EXPECT_NE(scrambled, "hello " + kHanGeul);
    EXPECT_EQ(XorString("key", scrambled), "hello " + kHanGeul);
    EXPECT_EQ(XorString("", "same"), "same");
    EXPECT_EQ(XorString("key", ""), "");
    EXPECT_EQ(XorString("", AnsiString(300, 'x')).size(), 255u);
    EXPECT_EQ(XorString("k", AnsiString(300, 'x')), AnsiString(255, 'x' ^ 'k'));
}
