#include <gtest/gtest.h>

#include "platform/core/AnsiString.h"
#include "platform/core/Exceptions.h"
#include "tests/platform/core/Cases.h"

// "한글" in cp949: C7 D1 B1 DB. "똠" is 8C 63, whose trail byte is the letter 'c'.
static const AnsiString kHangul = "\xC7\xD1\xB1\xDB";
static const AnsiString kDdom = "\x8C\x63";

TEST(AnsiStringPositions, CopyDeleteInsertAreOneBasedAndClamped)
{
    Each(TextChecks{CHECK_ROW(Copy("abcdef", 2, 3), "bcd"), CHECK_ROW(Copy("abcdef", 5, 100), "ef"),
                    CHECK_ROW(Copy("abcdef", 0, 2), "ab"), CHECK_ROW(Copy("abcdef", 9, 2), ""),
                    CHECK_ROW(Copy("abcdef", 2, -1), "")});

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
    Each(NumberChecks{CHECK_ROW(Pos("cat", text), 2),  // the byte search sees "cat" across the pair
                      CHECK_ROW(AnsiPos("cat", text), 0), CHECK_ROW(AnsiPos("at", text), 3),
                      CHECK_ROW(AnsiPos(kHangul.substr(2), kHangul), 3)});
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
    Each(TextChecks{CHECK_ROW(Trim(" \t" + kHangul + " \r\n"), kHangul), CHECK_ROW(TrimLeft("  x "), "x "),
                    CHECK_ROW(TrimRight("  x "), "  x"), CHECK_ROW(Trim("   "), "")});
}

TEST(AnsiStringNumbers, ConvertsDecimalAndHexAndReportsBadText)
{
    Each(NumberChecks{CHECK_ROW(StrToInt("123"), 123), CHECK_ROW(StrToInt("-2147483648"), INT32_MIN),
                      CHECK_ROW(StrToInt("$FF"), 255), CHECK_ROW(StrToInt("0x10"), 16),
                      CHECK_ROW(StrToInt("$FFFFFFFF"), -1), CHECK_ROW(StrToIntDef("2147483648", 7), 7),
                      CHECK_ROW(StrToIntDef("", 7), 7), CHECK_ROW(StrToIntDef("12a", 7), 7)});
    int v = 0;
    EXPECT_FALSE(TryStrToInt(" 1", v));
    ExpectRaises<EConvertError>([&] { StrToInt("abc"); }, "'abc' is not a valid integer value");
    Each(TextChecks{CHECK_ROW(IntToStr(-42), "-42"), CHECK_ROW(IntToHex(255, 4), "00FF"),
                    CHECK_ROW(Format("%s:%d %05.1f%%", "a", 7, 2.25), "a:7 002.2%")});
}
