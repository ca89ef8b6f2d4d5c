#include <gtest/gtest.h>

#include "controls/core/StrUtils.h"
#include "tests/controls/core/HangulText.h"

using namespace hangul;

TEST(StrSearch, ReplaceStrReplacesLeftToRightWithoutRescanning)
{
    EXPECT_EQ(ReplaceStr("a-b-c", "-", "+"), "a+b+c");
    EXPECT_EQ(ReplaceStr("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(ReplaceStr("aaaa", "aa", "a"), "aa");
    EXPECT_EQ(ReplaceStr("abc", "x", "y"), "abc");
    EXPECT_EQ(ReplaceStr("", "x", "y"), "");
    EXPECT_EQ(ReplaceStr("abcabc", "abc", ""), "");
    EXPECT_EQ(ReplaceStr(kHanGeul + " " + kHanGeul, kHanGeul, kGa), kGa + " " + kGa);
}

TEST(StrSearch, ReplaceStrWithAnEmptyFindChangesNothing)
{
    EXPECT_EQ(ReplaceStr("abc", "", "x"), "abc");
}

TEST(StrSearch, ReplaceStrNeverMatchesHalfAHangulCharacter)
{
    // "c" is the second byte of 똠 and must stay; "cat" across the pair is not a match.
    EXPECT_EQ(ReplaceStr(kDdom + "cat", "c", "k"), kDdom + "kat");
    EXPECT_EQ(ReplaceStr(kDdom + "at", "cat", "dog"), kDdom + "at");
    // The first byte of 한 alone is not 한.
    EXPECT_EQ(ReplaceStr(kHanGeul, "\xC7", "x"), kHanGeul);
}

TEST(StrSearch, NPosFindsTheNthOccurrence)
{
    EXPECT_EQ(NPos("ab", "xabyabzab", 1), 2);
    EXPECT_EQ(NPos("ab", "xabyabzab", 3), 8);
    EXPECT_EQ(NPos("ab", "xabyabzab", 4), 0);
    EXPECT_EQ(NPos("ab", "xabyab", 0), 0);
    EXPECT_EQ(NPos("", "xab", 1), 0);
    EXPECT_EQ(NPos("aa", "aaa", 2), 2);
    EXPECT_EQ(NPos("c", kDdom + "c" + kDdom + "c", 2), 6);
    EXPECT_EQ(NPos(kGa, kNa + kGa + kGa, 2), 5);
}

TEST(StrSearch, FindPartTakesQuestionMarkForAnyCharacter)
{
    EXPECT_EQ(FindPart("b?d", "abcde"), 2);
    EXPECT_EQ(FindPart("?", "abc"), 1);
    EXPECT_EQ(FindPart("x?", "abc"), 0);
    EXPECT_EQ(FindPart("cd?", "abcd"), 0);
    EXPECT_EQ(FindPart("", "abc"), 0);
    // One '?' takes a whole Hangul character.
    EXPECT_EQ(FindPart("a?b", "a" + kGa + "b"), 1);
    EXPECT_EQ(FindPart("a??b", "a" + kGa + "b"), 0);
    EXPECT_EQ(FindPart("?at", kDdom + "at"), 1);
    EXPECT_EQ(FindPart("c?t", kDdom + "at"), 0);
    EXPECT_EQ(FindPart(kNa + "?", kGa + kNa + kDa), 3);
}

TEST(StrSearch, IsWildMatchesStarsAndQuestionMarks)
{
    EXPECT_TRUE(IsWild("hello", "h*o", false));
    EXPECT_TRUE(IsWild("hello", "h?llo", false));
    EXPECT_TRUE(IsWild("hello", "*", false));
    EXPECT_TRUE(IsWild("", "*", false));
    EXPECT_TRUE(IsWild("", "", false));
    EXPECT_FALSE(IsWild("a", "", false));
    EXPECT_FALSE(IsWild("", "?", false));
    EXPECT_TRUE(IsWild("hello", "h**o", false));
    EXPECT_TRUE(IsWild("abcbd", "a*b?", false));
    EXPECT_FALSE(IsWild("hello", "h*x", false));
    EXPECT_FALSE(IsWild("hello", "hell", false));
    EXPECT_TRUE(IsWild("file.txt", "*.txt", false));
    EXPECT_FALSE(IsWild("file.txt.bak", "*.txt", false));
}

TEST(StrSearch, IsWildIgnoresCaseOfAsciiOnly)
{
    EXPECT_FALSE(IsWild("HELLO", "h*o", false));
    EXPECT_TRUE(IsWild("HELLO", "h*o", true));
    // 똠 ends in 'c': "?C" must see one character and not the folded trail byte.
    EXPECT_FALSE(IsWild(kDdom, "?C", true));
    EXPECT_FALSE(IsWild(kDdom, "*C", true));
    EXPECT_TRUE(IsWild(kDdom, "?", true));
    EXPECT_FALSE(IsWild(kDdom, "\x8C\x43", true));
    EXPECT_TRUE(IsWild(kGa + kNa + kDa, kGa + "*" + kDa, false));
    EXPECT_TRUE(IsWild(kGa + kNa + kDa, "?" + kNa + "?", false));
    EXPECT_FALSE(IsWild(kGa + kNa, "???", false));
}

TEST(StrSearch, IsWildStaysFastOnManyStars)
{
    AnsiString text(2000, 'a');
    AnsiString pattern;
    for (int i = 0; i < 50; ++i)
        pattern += "*a";
    EXPECT_FALSE(IsWild(text, pattern + "b", false));
    EXPECT_TRUE(IsWild(text, pattern, false));
}

TEST(StrSearch, CompStrOrdersLikeTheLocale)
{
    EXPECT_EQ(CompStr("abc", "abc"), 0);
    EXPECT_EQ(CompStr("a", "B"), -1);  // letters before case
    EXPECT_EQ(CompStr("B", "a"), 1);
    EXPECT_EQ(CompStr("a", "A"), -1);  // lower case first when only case differs
    EXPECT_EQ(CompStr("ab", "Aa"), 1);
    EXPECT_EQ(CompStr("9", "a"), -1);
    EXPECT_EQ(CompStr("-", "0"), -1);
    EXPECT_EQ(CompStr(" z", "a"), -1);
    EXPECT_EQ(CompStr("ab", "abc"), -1);
    EXPECT_EQ(CompStr("z", kGa), -1);
    EXPECT_EQ(CompStr(kGa, kNa), -1);
    EXPECT_EQ(CompStr(kDa, kNa), 1);
    EXPECT_EQ(CompStr(kGa, kHan), -1);
}

TEST(StrSearch, CompStrPutsExtensionHangulInSyllableOrder)
{
    EXPECT_EQ(CompStr(kGak, kGakk), -1);
    EXPECT_EQ(CompStr(kGakk, kGan), -1);
    EXPECT_EQ(CompStr(kGan, kGakk), 1);
}

TEST(StrSearch, CompTextIgnoresCaseButNotTrailBytes)
{
    EXPECT_EQ(CompText("Hello", "hELLO"), 0);
    EXPECT_EQ(CompText("a", "B"), -1);
    EXPECT_EQ(CompText("b", "A"), 1);
    EXPECT_EQ(CompText(kHanGeul + "X", kHanGeul + "x"), 0);
    EXPECT_NE(CompText(kDdom, "\x8C\x43"), 0);
    EXPECT_EQ(CompText(kWideA, "a"), 1);  // a different character, though it sorts as the letter
}
