#include <gtest/gtest.h>

#include "controls/core/StrUtils.h"
#include "tests/controls/core/HangulText.h"

using namespace hangul;

TEST(StrPadding, IsEmptyStrChecksEveryCharacter)
{
    EXPECT_TRUE(IsEmptyStr("", TSysCharSet{' '}));
    EXPECT_TRUE(IsEmptyStr(" \t ", TSysCharSet{' ', '\t'}));
    EXPECT_FALSE(IsEmptyStr(" x ", TSysCharSet{' '}));
    EXPECT_FALSE(IsEmptyStr(kDdom, TSysCharSet{'\x8C', 'c'}));
}

TEST(StrPadding, DeletesBlanksAndCharacters)
{
    EXPECT_EQ(DelSpace(" a b  c "), "abc");
    EXPECT_EQ(DelChars("a-b-c", '-'), "abc");
    EXPECT_EQ(DelChars(kDdom + "cc", 'c'), kDdom);
    EXPECT_EQ(DelChars(kGakk + "A", 'A'), kGakk);
    EXPECT_EQ(DelSpace(kGa + " " + kNa), kGa + kNa);
    EXPECT_EQ(DelBSpace("  a b  "), "a b  ");
    EXPECT_EQ(DelESpace("  a b  "), "  a b");
    EXPECT_EQ(DelRSpace("  a b  "), "a b");
    EXPECT_EQ(DelRSpace("    "), "");
    EXPECT_EQ(DelRSpace("\ta\t"), "\ta\t");  // blanks only, not TABs
    EXPECT_EQ(DelRSpace(" " + kHanGeul + " "), kHanGeul);
    EXPECT_EQ(DelSpace1("a   b  c"), "a b c");
    EXPECT_EQ(DelSpace1("   "), " ");
    EXPECT_EQ(DelSpace1(kGa + "   " + kNa), kGa + " " + kNa);
}

TEST(StrPadding, DelESpaceKeepsABlankThatEndsAMalformedPair)
{
    // A lone lead byte followed by a blank reads as one two-byte character.
    AnsiString s = "a\xC7 ";
    EXPECT_EQ(DelESpace(s), s);
}

TEST(StrPadding, TabsBecomeBlanks)
{
    EXPECT_EQ(Tab2Space("a\tb", 4), "a    b");
    EXPECT_EQ(Tab2Space("\t\t", 1), "  ");
    EXPECT_EQ(Tab2Space("a\tb", 0), "ab");
    EXPECT_EQ(Tab2Space(kGa + "\t", 2), kGa + "  ");
}

TEST(StrPadding, MakesAndPadsStrings)
{
    EXPECT_EQ(MakeStr('x', 3), "xxx");
    EXPECT_EQ(MakeStr('x', 0), "");
    EXPECT_EQ(MS('x', -2), "");
    EXPECT_EQ(AddChar('0', "42", 5), "00042");
    EXPECT_EQ(AddCharR('.', "42", 5), "42...");
    EXPECT_EQ(AddChar('0', "123456", 5), "123456");
    EXPECT_EQ(LeftStr("ab", 4), "ab  ");
    EXPECT_EQ(RightStr("ab", 4), "  ab");
    EXPECT_EQ(LeftStr("abcdef", 4), "abcdef");
    // Lengths count bytes: 한글 is four.
    EXPECT_EQ(LeftStr(kHanGeul, 6), kHanGeul + "  ");
    EXPECT_EQ(RightStr(kHanGeul, 4), kHanGeul);
}

TEST(StrPadding, CenterStrSplitsThePadding)
{
    EXPECT_EQ(CenterStr("ab", 6), "  ab  ");
    EXPECT_EQ(CenterStr("ab", 5), " ab  ");
    EXPECT_EQ(CenterStr("abc", 2), "abc");
    EXPECT_EQ(CenterStr("", 3), "   ");
    EXPECT_EQ(CenterStr(kGa, 4), " " + kGa + " ");
}

TEST(StrPadding, OemConversionKeepsKoreanText)
{
    EXPECT_EQ(StrToOem(kHanGeul + "abc"), kHanGeul + "abc");
    EXPECT_EQ(OemToAnsiStr(kHanGeul + "abc"), kHanGeul + "abc");
}
