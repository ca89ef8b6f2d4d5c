#include <gtest/gtest.h>

#include "controls/core/StrUtils.h"
#include "tests/controls/core/HangulText.h"

using namespace hangul;

static const TSysCharSet kComma{','};
static const TSysCharSet kBlankComma{' ', ','};

TEST(StrWords, WordsSkipRunsOfDelimiters)
{
    EXPECT_EQ(WordCount("a,,b", kComma), 2);
    EXPECT_EQ(WordCount(",,a,,b,,", kComma), 2);
    EXPECT_EQ(WordCount("", kComma), 0);
    EXPECT_EQ(WordCount(",,,", kComma), 0);
    EXPECT_EQ(ExtractWord(2, "a,,b", kComma), "b");
    EXPECT_EQ(ExtractWord(1, ",,first, second", kBlankComma), "first");
    EXPECT_EQ(ExtractWord(3, "a,,b", kComma), "");
    EXPECT_EQ(ExtractWord(0, "a,,b", kComma), "");
    EXPECT_EQ(WordPosition(2, "a,,b", kComma), 4);
    EXPECT_EQ(WordPosition(3, "a,,b", kComma), 0);
    EXPECT_EQ(WordPosition(-1, "a,,b", kComma), 0);
}

TEST(StrWords, ExtractWordPosReturnsThePositionToo)
{
    int pos = -5;
    EXPECT_EQ(ExtractWordPos(2, "  one two", TSysCharSet{' '}, pos), "two");
    EXPECT_EQ(pos, 7);
    EXPECT_EQ(ExtractWordPos(3, "  one two", TSysCharSet{' '}, pos), "");
    EXPECT_EQ(pos, 0);
}

TEST(StrWords, HangulWordsAreNeverCutAtATrailByte)
{
    AnsiString text = kGa + kNa + " " + kHanGeul;
    EXPECT_EQ(WordCount(text, TSysCharSet{' '}), 2);
    EXPECT_EQ(ExtractWord(2, text, TSysCharSet{' '}), kHanGeul);
    EXPECT_EQ(WordPosition(2, text, TSysCharSet{' '}), 6);
    // 'c' is a delimiter, but the 'c' inside 똠 is not a character of its own.
    AnsiString withC = kDdom + "xcy" + kDdom;
    EXPECT_EQ(WordCount(withC, TSysCharSet{'c'}), 2);
    EXPECT_EQ(ExtractWord(1, withC, TSysCharSet{'c'}), kDdom + "x");
    EXPECT_EQ(ExtractWord(2, withC, TSysCharSet{'c'}), "y" + kDdom);
    // A set of bytes never holds a two-byte character, even when it holds its bytes.
    EXPECT_EQ(WordCount(kGakk + "A" + kGakk, TSysCharSet{'A', '\x81'}), 2);
}

TEST(StrWords, ExtractDelimitedCountsEmptyFields)
{
    EXPECT_EQ(ExtractDelimited(2, "a,,b", kComma), "");
    EXPECT_EQ(ExtractDelimited(3, "a,,b", kComma), "b");
    EXPECT_EQ(ExtractDelimited(1, ",b", kComma), "");
    EXPECT_EQ(ExtractDelimited(3, "a,b,", kComma), "");
    EXPECT_EQ(ExtractDelimited(4, "a,b,", kComma), "");
    EXPECT_EQ(ExtractDelimited(1, "", kComma), "");
    EXPECT_EQ(ExtractDelimited(0, "a", kComma), "");
    EXPECT_EQ(ExtractDelimited(2, kGa + "," + kDdom + "c," + kNa, kComma), kDdom + "c");
    EXPECT_EQ(ExtractDelimited(2, kDdom + "c" + kNa, TSysCharSet{'c'}), kNa);
}

TEST(StrWords, ExtractSubstrMovesPastTheDelimiter)
{
    int pos = 1;
    AnsiString s = "ab;cd;;e";
    EXPECT_EQ(ExtractSubstr(s, pos, TSysCharSet{';'}), "ab");
    EXPECT_EQ(pos, 4);
    EXPECT_EQ(ExtractSubstr(s, pos, TSysCharSet{';'}), "cd");
    EXPECT_EQ(pos, 7);
    EXPECT_EQ(ExtractSubstr(s, pos, TSysCharSet{';'}), "");
    EXPECT_EQ(pos, 8);
    EXPECT_EQ(ExtractSubstr(s, pos, TSysCharSet{';'}), "e");
    EXPECT_EQ(pos, 9);
    EXPECT_EQ(ExtractSubstr(s, pos, TSysCharSet{';'}), "");
    EXPECT_EQ(pos, 9);

    pos = 1;
    AnsiString h = kDdom + "c" + kGa;
    EXPECT_EQ(ExtractSubstr(h, pos, TSysCharSet{'c'}), kDdom);
    EXPECT_EQ(pos, 4);
    EXPECT_EQ(ExtractSubstr(h, pos, TSysCharSet{'c'}), kGa);
}

TEST(StrWords, IsWordPresentComparesWholeWordsExactly)
{
    EXPECT_TRUE(IsWordPresent("two", "one two three", TSysCharSet{' '}));
    EXPECT_FALSE(IsWordPresent("tw", "one two three", TSysCharSet{' '}));
    EXPECT_FALSE(IsWordPresent("TWO", "one two three", TSysCharSet{' '}));
    EXPECT_FALSE(IsWordPresent("", "one", TSysCharSet{' '}));
    EXPECT_TRUE(IsWordPresent(kHanGeul, kGa + " " + kHanGeul, TSysCharSet{' '}));
    EXPECT_FALSE(IsWordPresent("x", kDdom + "x", TSysCharSet{'c'}));
}

TEST(StrWords, AnsiProperCaseRaisesTheFirstLetterOfEachWord)
{
    EXPECT_EQ(AnsiProperCase("hello big world", TSysCharSet{' '}), "Hello Big World");
    EXPECT_EQ(AnsiProperCase("a-b c", TSysCharSet{' ', '-'}), "A-B C");
    EXPECT_EQ(AnsiProperCase("", TSysCharSet{' '}), "");
    EXPECT_EQ(AnsiProperCase(kGa + "abc x", TSysCharSet{' '}), kGa + "abc X");
    // The trail byte 'c' of 똠 after a delimiter is not the start of a word.
    EXPECT_EQ(AnsiProperCase("x" + kDdom, TSysCharSet{'x', '\x8C'}), "x" + kDdom);
}

TEST(StrWords, Copy2SymbTakesTheTextBeforeTheSymbol)
{
    EXPECT_EQ(Copy2Symb("key=value", '='), "key");
    EXPECT_EQ(Copy2Symb("novalue", '='), "novalue");
    EXPECT_EQ(Copy2Symb("", '='), "");
    EXPECT_EQ(Copy2Symb(kDdom + "xcy", 'c'), kDdom + "x");
    EXPECT_EQ(Copy2Space(kHanGeul + " rest"), kHanGeul);
}

TEST(StrWords, Copy2SymbDelCutsTheTextAndLeadingBlanks)
{
    AnsiString s = "key  =  value";
    EXPECT_EQ(Copy2SymbDel(s, '='), "key  ");
    EXPECT_EQ(s, "=  value");  // the symbol stays
    s = "one   two three";
    EXPECT_EQ(Copy2SpaceDel(s), "one");
    EXPECT_EQ(s, "two three");  // a blank symbol goes with the blanks
    EXPECT_EQ(Copy2SpaceDel(s), "two");
    EXPECT_EQ(Copy2SpaceDel(s), "three");
    EXPECT_EQ(s, "");
    s = kGa + " " + kNa;
    EXPECT_EQ(Copy2SpaceDel(s), kGa);
    EXPECT_EQ(s, kNa);
}
