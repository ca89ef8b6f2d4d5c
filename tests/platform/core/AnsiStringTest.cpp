#include <gtest/gtest.h>

#include "platform/core/AnsiString.h"
#include "platform/core/Exceptions.h"

// "한글" in cp949: C7 D1 B1 DB. "똠" is 8C 63, whose trail byte is the letter 'c'.
static const AnsiString kHangul = "\xC7\xD1\xB1\xDB";
static const AnsiString kDdom = "\x8C\x63";

TEST(AnsiStringPositions, CopyDeleteInsertAreOneBasedAndClamped)
{
    EXPECT_EQ(Copy("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Copy("abcdef", 5, 100), "ef");
    EXPECT_EQ(Copy("abcdef", 0, 2), "ab");
    EXPECT_EQ(Copy("abcdef", 9, 2), "");
    EXPECT_EQ(Copy("abcdef", 2, -1), "");

    AnsiString s = "abcdef";
    Delete(s, 2, 2);
    EXPECT_EQ(s, "adef");
    Delete(s, 0, 2);
    EXPECT_EQ(s, "adef");
    Delete(s, 3, 100);
    EXPECT_EQ(s, "ad");
    Insert("XY", s, 2);
    EXPECT_EQ(s, "aXYd");
    Insert("!", s, 100);
    EXPECT_EQ(s, "aXYd!");
}

TEST(AnsiStringPositions, AnsiPosNeverMatchesOnATrailByte)
{
    AnsiString text = kDdom + "at";
    EXPECT_EQ(Pos("cat", text), 2);  // the byte search sees "cat" across the pair
    EXPECT_EQ(AnsiPos("cat", text), 0);
    EXPECT_EQ(AnsiPos("at", text), 3);
    EXPECT_EQ(AnsiPos(kHangul.substr(2), kHangul), 3);
    EXPECT_TRUE(IsTrailByteAt(text, 1));
    EXPECT_FALSE(IsTrailByteAt(text, 2));
}

TEST(AnsiStringCase, FoldsAsciiOnlyAndNeverATrailByte)
{
    AnsiString text = "ab" + kDdom + "cd";
    EXPECT_EQ(UpperCase(text), "AB" + kDdom + "CD");
    EXPECT_EQ(LowerCase("AB" + kDdom + "CD"), "ab" + kDdom + "cd");
    EXPECT_TRUE(SameText("Look " + kHangul, "LOOK " + kHangul));
    // 8C 43 is a different character from 8C 63: the trail bytes must not compare equal.
    EXPECT_FALSE(SameText(kDdom, "\x8C\x43"));
    EXPECT_LT(CompareText("abc", "ABD"), 0);
    EXPECT_GT(CompareText("abcd", "ABC"), 0);
}

TEST(AnsiStringTrim, RemovesBlanksAndControlsButNotHangul)
{
    EXPECT_EQ(Trim(" \t" + kHangul + " \r\n"), kHangul);
    EXPECT_EQ(TrimLeft("  x "), "x ");
    EXPECT_EQ(TrimRight("  x "), "  x");
    EXPECT_EQ(Trim("   "), "");
}

TEST(AnsiStringNumbers, ConvertsDecimalAndHexAndReportsBadText)
{
    EXPECT_EQ(StrToInt("123"), 123);
    EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
    EXPECT_EQ(StrToInt("$FF"), 255);
    EXPECT_EQ(StrToInt("0x10"), 16);
    EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
    EXPECT_EQ(StrToIntDef("2147483648", 7), 7);
    EXPECT_EQ(StrToIntDef("", 7), 7);
    EXPECT_EQ(StrToIntDef("12a", 7), 7);
    int v = 0;
    EXPECT_FALSE(TryStrToInt(" 1", v));
    try {
        StrToInt("abc");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid integer value");
    }
    EXPECT_EQ(IntToStr(-42), "-42");
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(Format("%s:%d %05.1f%%", "a", 7, 2.25), "a:7 002.2%");
}
