#include <gtest/gtest.h>

#include "platform/core/AnsiString.h"
#include "platform/core/Exceptions.h"
#include "tests/platform/core/Cases.h"

// "한글" in cp949: C7 D1 B1 DB. "똠" is 8C 63, whose trail byte is the letter 'c'.
static const AnsiString kHangul = "\xC7\xD1\xB1\xDB";
static const AnsiString kDdom = "\x8C\x63";

TEST(AnsiStringPositions, CopyDeleteInsertAreOneBasedAndClamped)
{
    Each(S{{Copy("abcdef", 2, 3), "bcd"},
           {Copy("abcdef", 5, 100), "ef"},
           {Copy("abcdef", 0, 2), "ab"},
           {Copy("abcdef", 9, 2), ""},
           {Copy("abcdef", 2, -1), ""}});

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
    Each(I{{Pos("cat", text), 2},  // the byte search sees "cat" across the pair
           {AnsiPos("cat", text), 0},
           {AnsiPos("at", text), 3},
           {AnsiPos(kHangul.substr(2), kHangul), 3}});
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
    Each(S{{Trim(" \t" + kHangul + " \r\n"), kHangul},
           {TrimLeft("  x "), "x "},
           {TrimRight("  x "), "  x"},
           {Trim("   "), ""}});
}

TEST(AnsiStringNumbers, ConvertsDecimalAndHexAndReportsBadText)
{
    Each(I{{StrToInt("123"), 123},
           {StrToInt("-2147483648"), INT32_MIN},
           {StrToInt("$FF"), 255},
           {StrToInt("0x10"), 16},
           {StrToInt("$FFFFFFFF"), -1},
           {StrToIntDef("2147483648", 7), 7},
           {StrToIntDef("", 7), 7},
           {StrToIntDef("12a", 7), 7}});
    int v = 0;
    EXPECT_FALSE(TryStrToInt(" 1", v));
    ExpectRaises<EConvertError>([&] { StrToInt("abc"); }, "'abc' is not a valid integer value");
    Each(S{{IntToStr(-42), "-42"}, {IntToHex(255, 4), "00FF"}, {Format("%s:%d %05.1f%%", "a", 7, 2.25), "a:7 002.2%"}});
}
