#include "controls/core/StrUtils.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/core/Exceptions.h"
#include "tests/controls/core/HangulText.h"

using namespace hangul;

namespace {

// Each case pairs what a call gave with what it should give; the case number names a failure.
template <class T>
void Each(const std::vector<std::pair<T, T>>& cases)
{
    for (size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(cases[i].first, cases[i].second) << "case " << i;
}
using S = std::vector<std::pair<AnsiString, AnsiString>>;
using I = std::vector<std::pair<int, int>>;

const TSysCharSet kComma{','};
const TSysCharSet kBlank{' '};

}  // namespace

TEST(StrScramble, HexadecimalCodesXorStringAndBadInput)
{
    // An empty key writes plain codes; a key repeats over the source: 'a'^'K' = 2A, 'b'^'e' = 07.
    Each(S{{XorEncode("", "AB"), "4142"},
           {XorDecode("", "4142"), "AB"},
           {XorEncode("", kHanGeul), "C7D1B1DB"},
           {XorDecode("", "c7d1b1db"), kHanGeul},
           {XorEncode("", ""), ""},
           {XorEncode("Ke", "abc"), "2A0728"},
           {XorDecode("Ke", "2A0728"), "abc"},
           // Bad pairs read as blanks (scrambled like any byte: ' ' ^ 'A' = 'a'); an odd digit goes.
           {XorDecode("", "41zz42"), "A B"},
           {XorDecode("", "414"), "A"},
           {XorDecode("A", "??"), "a"},
           {XorString("", "same"), "same"},
           {XorString("key", ""), ""},
           {XorString("k", AnsiString(300, 'x')), AnsiString(255, 'x' ^ 'k')}});
    AnsiString line = "say " + kHanGeul + " \x01\xFF";
    EXPECT_EQ(XorDecode("secret", XorEncode("secret", line)), line);
    AnsiString scrambled = XorString("key", "hello " + kHanGeul);
    EXPECT_EQ(XorString("key", scrambled), "hello " + kHanGeul);
}

TEST(StrQuoting, QuotesAndUnquotes)
{
    Each(S{{QuotedString("abc", '\''), "'abc'"},
           {QuotedString("it's", '\''), "'it''s'"},
           {QuotedString("", '"'), "\"\""},
           {QuotedString(kHanGeul, '"'), "\"" + kHanGeul + "\""},
           // 'c' as the quote: the trail byte of 똠 is not doubled.
           {QuotedString(kDdom + "c", 'c'), "c" + kDdom + "ccc"},
           {ExtractQuotedString("'it''s'", '\''), "it's"},
           {ExtractQuotedString("'abc' tail", '\''), "abc"},
           {ExtractQuotedString("'open", '\''), "open"},
           {ExtractQuotedString("plain", '\''), "plain"},
           {ExtractQuotedString("", '\''), ""},
           {ExtractQuotedString("''", '\''), ""},
           {ExtractQuotedString(QuotedString(kDdom + "c", 'c'), 'c'), kDdom + "c"}});
    for (const AnsiString& s : {AnsiString("a'b''c"), kHanGeul + "'", AnsiString("'"), kDdom + "c"})
        EXPECT_EQ(ExtractQuotedString(QuotedString(s, '\''), '\''), s);
}

TEST(StrCmdLine, FindsTheParameterAfterTheSwitch)
{
    std::vector<AnsiString> params = {"prog", "-host", "mud.example", "/Port", "4002", "-last"};
    TSysCharSet sw{'-', '/'};
    std::vector<AnsiString> korean = {"prog", "-" + kHanGeul, kGa};
    Each(S{{GetCmdLineArg("host", sw, params), "mud.example"},
           {GetCmdLineArg("PORT", sw, params), "4002"},
           {GetCmdLineArg("last", sw, params), ""},  // nothing follows it
           {GetCmdLineArg("mud.example", sw, params), ""},
           {GetCmdLineArg("host", TSysCharSet{'/'}, params), ""},
           {GetCmdLineArg("prog", sw, {"-prog"}), ""},
           {GetCmdLineArg(kHanGeul, sw, korean), kGa},
           // This process: the test runner passes no switch of this name.
           {GetCmdLineArg("no-such-switch", TSysCharSet{'-'}), ""}});
}

TEST(StrPadding, BlanksPaddingAndCentring)
{
    EXPECT_TRUE(IsEmptyStr("", kBlank));
    EXPECT_TRUE(IsEmptyStr(" \t ", TSysCharSet{' ', '\t'}));
    EXPECT_FALSE(IsEmptyStr(" x ", kBlank));
    EXPECT_FALSE(IsEmptyStr(kDdom, TSysCharSet{'\x8C', 'c'}));
    Each(S{{DelSpace(" a b  c "), "abc"},
           {DelChars("a-b-c", '-'), "abc"},
           {DelChars(kDdom + "cc", 'c'), kDdom},
           {DelChars(kGakk + "A", 'A'), kGakk},
           {DelSpace(kGa + " " + kNa), kGa + kNa},
           {DelBSpace("  a b  "), "a b  "},
           {DelESpace("  a b  "), "  a b"},
           {DelRSpace("  a b  "), "a b"},
           {DelRSpace("    "), ""},
           {DelRSpace("\ta\t"), "\ta\t"},  // blanks only, not TABs
           {DelRSpace(" " + kHanGeul + " "), kHanGeul},
           {DelSpace1("a   b  c"), "a b c"},
           {DelSpace1("   "), " "},
           {AddChar('0', "42", 5), "00042"},
           {AddCharR('.', "42", 5), "42..."},
           {AddChar('0', "123456", 5), "123456"},
           {Tab2Space("a\tb", 4), "a    b"},
           {Tab2Space("\t\t", 1), "  "},
           {Tab2Space("a\tb", 0), "ab"},
           {Tab2Space(kGa + "\t", 2), kGa + "  "},
           {MakeStr('x', 3), "xxx"},
           {MakeStr('x', 0), ""},
           {MS('x', -2), ""},
           {LeftStr("ab", 4), "ab  "},
           {RightStr("ab", 4), "  ab"},
           {LeftStr("abcdef", 4), "abcdef"},
           // Lengths count bytes: 한글 is four.
           {LeftStr(kHanGeul, 6), kHanGeul + "  "},
           {RightStr(kHanGeul, 4), kHanGeul},
           {CenterStr("ab", 6), "  ab  "},
           {CenterStr("ab", 5), " ab  "},
           {CenterStr("abc", 2), "abc"},
           {StrToOem(kHanGeul + "abc"), kHanGeul + "abc"},
           {OemToAnsiStr(kHanGeul + "abc"), kHanGeul + "abc"}});
}

TEST(StrPadding, DelESpaceKeepsABlankThatEndsAMalformedPair)
{
    // A lone lead byte followed by a blank reads as one two-byte character.
    EXPECT_EQ(DelESpace("a\xC7 "), "a\xC7 ");
}

TEST(StrNumbers, GroupingAndBases)
{
    Each(S{{Numb2USA("1234567"), "1,234,567"},
           {Numb2USA("123"), "123"},
           {Numb2USA("1234"), "1,234"},
           {Numb2USA("123456"), "123,456"},
           {Numb2USA(""), ""},
           {Numb2USA("abc"), "abc"},
           // Sign and fraction are left alone.
           {Numb2USA("-123456"), "-123,456"},
           {Numb2USA("1234.5678"), "1,234.5678"},
           {Dec2Numb(35, 0, 36), "Z"},
           {Dec2Numb(255, 0, 16), "FF"},
           {Dec2Numb(8, 3, 8), "010"},
           {Dec2Hex(255, 1), "FF"},
           {Dec2Hex(255, 4), "00FF"},
           {D2H(0, 0), "0"},
           {Dec2Hex(-1, 2), "FFFFFFFF"},
           {Dec2Numb(0, 0, 2), "0"},
           {Dec2Numb(5, 0, 2), "101"},
           {Dec2Numb(5, 6, 2), "000101"},
           // Negative values show their bit pattern.
           {Dec2Numb(-1, 0, 16), "FFFFFFFF"},
           {Dec2Numb(-2, 0, 2), AnsiString(31, '1') + "0"}});
    Each(I{{Hex2Dec("FF"), 255},
           {Hex2Dec("$ff"), 255},
           {H2D("7FFFFFFF"), 2147483647},
           {H2D("FFFFFFFF"), -1},
           {Hex2Dec("100000000"), 0},
           {Hex2Dec(""), 0},
           {Hex2Dec("$"), 0},
           {Hex2Dec("12G"), 0},
           {Hex2Dec(" 12"), 0},
           {Hex2Dec(kGa), 0},
           {Hex2Dec(Dec2Hex(123456789, 0)), 123456789},
           {Numb2Dec("101", 2), 5},
           {Numb2Dec("ff", 16), 255},
           {Numb2Dec("Z", 36), 35},
           {Numb2Dec("", 10), 0},
           {Numb2Dec("1234", 10), 1234},
           {Numb2Dec("FFFFFFFF", 16), -1},
           // Digits outside the base give zero.
           {Numb2Dec("102", 2), 0},
           {Numb2Dec("1-2", 10), 0},
           {Numb2Dec(kGa, 16), 0}});
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
    Each(S{{IntToBin(5, 8, 4), " 0000 0101"},
           {IntToBin(5, 6, 4), "00 0101"},
           {IntToBin(5, 3, 0), "101"},
           {IntToBin(13, 4, 1), " 1 1 0 1"},
           {IntToBin(255, 4, 8), "1111"},  // the low four bits
           {IntToBin(-1, 40, 0), AnsiString(32, '1')},
           {IntToBin(1, 0, 4), ""}});
}

TEST(StrNumbers, IntToBinWithGroupZeroDoesNotDivideByZero)
{
    EXPECT_EQ(IntToBin(6, 4, 0), "0110");
    EXPECT_EQ(IntToBin(6, 4, -2), "0110");
}

TEST(StrRoman, BothWays)
{
    Each(S{{IntToRoman(1994), "MCMXCIV"},
           {IntToRoman(4), "IV"},
           {IntToRoman(3999), "MMMCMXCIX"},
           {IntToRoman(1), "I"},
           {IntToRoman(0), ""},
           {IntToRoman(-5), ""}});
    Each(I{{RomanToInt("MCMXCIV"), 1994},
           {RomanToInt("-XIV"), -14},
           {RomanToInt("IIII"), 4},
           {RomanToInt(""), 0},
           {RomanToInt("XIZ"), 0},
           {RomanToInt("xiv"), 0},
           {RomanToInt("X-I"), 0},
           {RomanToInt(kGa), 0}});
    for (int n = 1; n < 4000; n += 37)
        EXPECT_EQ(RomanToInt(IntToRoman(n)), n) << n;
}

TEST(StrRoman, AHugeNumeralSaturates) { EXPECT_EQ(RomanToInt(AnsiString(3000000, 'M')), 2147483647); }

TEST(StrSearch, ReplaceStrNPosAndFindPart)
{
    Each(S{{ReplaceStr("a-b-c", "-", "+"), "a+b+c"},
           {ReplaceStr("aaa", "a", "aa"), "aaaaaa"},  // no rescan
           {ReplaceStr("aaaa", "aa", "a"), "aa"},
           {ReplaceStr("abc", "x", "y"), "abc"},
           {ReplaceStr("", "x", "y"), ""},
           {ReplaceStr("abcabc", "abc", ""), ""},
           {ReplaceStr(kHanGeul + " " + kHanGeul, kHanGeul, kGa), kGa + " " + kGa}});
    // One '?' of FindPart takes a whole Hangul character.
    Each(I{{NPos("ab", "xabyabzab", 1), 2},
           {NPos("ab", "xabyabzab", 3), 8},
           {NPos("ab", "xabyabzab", 4), 0},
           {NPos("ab", "xabyab", 0), 0},
           {NPos("", "xab", 1), 0},
           {NPos("aa", "aaa", 2), 2},
           {NPos("c", kDdom + "c" + kDdom + "c", 2), 6},
           {NPos(kGa, kNa + kGa + kGa, 2), 5},
           {FindPart("b?d", "abcde"), 2},
           {FindPart("?", "abc"), 1},
           {FindPart("x?", "abc"), 0},
           {FindPart("cd?", "abcd"), 0},
           {FindPart("", "abc"), 0},
           {FindPart("a?b", "a" + kGa + "b"), 1},
           {FindPart("a??b", "a" + kGa + "b"), 0},
           {FindPart("?at", kDdom + "at"), 1},
           {FindPart("c?t", kDdom + "at"), 0},
           {FindPart(kNa + "?", kGa + kNa + kDa), 3}});
}

TEST(StrSearch, ReplaceStrWithAnEmptyFindChangesNothing) { EXPECT_EQ(ReplaceStr("abc", "", "x"), "abc"); }

TEST(StrSearch, ReplaceStrNeverMatchesHalfAHangulCharacter)
{
    // "c" is the second byte of 똠 and must stay; "cat" across the pair is not a match.
    EXPECT_EQ(ReplaceStr(kDdom + "cat", "c", "k"), kDdom + "kat");
    EXPECT_EQ(ReplaceStr(kDdom + "at", "cat", "dog"), kDdom + "at");
    // The first byte of 한 alone is not 한.
    EXPECT_EQ(ReplaceStr(kHanGeul, "\xC7", "x"), kHanGeul);
}

TEST(StrSearch, IsWildMatchesStarsAndQuestionMarksIgnoringAsciiCaseOnly)
{
    struct Case {
        AnsiString s, pattern;
        bool ignoreCase, want;
    };
    const Case cases[] = {{"hello", "h*o", false, true},
                          {"hello", "h?llo", false, true},
                          {"hello", "*", false, true},
                          {"", "*", false, true},
                          {"", "", false, true},
                          {"a", "", false, false},
                          {"", "?", false, false},
                          {"hello", "h**o", false, true},
                          {"abcbd", "a*b?", false, true},
                          {"hello", "h*x", false, false},
                          {"hello", "hell", false, false},
                          {"file.txt", "*.txt", false, true},
                          {"file.txt.bak", "*.txt", false, false},
                          {"HELLO", "h*o", false, false},
                          {"HELLO", "h*o", true, true},
                          // 똠 ends in 'c': "?C" must see one character and not the folded trail byte.
                          {kDdom, "?C", true, false},
                          {kDdom, "*C", true, false},
                          {kDdom, "?", true, true},
                          {kDdom, "\x8C\x43", true, false},
                          {kGa + kNa + kDa, kGa + "*" + kDa, false, true},
                          {kGa + kNa + kDa, "?" + kNa + "?", false, true},
                          {kGa + kNa, "???", false, false}};
    for (const Case& c : cases)
        EXPECT_EQ(IsWild(c.s, c.pattern, c.ignoreCase), c.want) << c.s << " ~ " << c.pattern;
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

TEST(StrSearch, CompStrOrdersLikeTheLocaleAndCompTextIgnoresCaseButNotTrailBytes)
{
    // Letters before case; lower case first when only case differs.
    Each(I{{CompStr("abc", "abc"), 0},
           {CompStr("a", "B"), -1},
           {CompStr("B", "a"), 1},
           {CompStr("a", "A"), -1},
           {CompStr("ab", "Aa"), 1},
           {CompStr("9", "a"), -1},
           {CompStr("-", "0"), -1},
           {CompStr(" z", "a"), -1},
           {CompStr("ab", "abc"), -1},
           {CompStr("z", kGa), -1},
           {CompStr(kGa, kNa), -1},
           {CompStr(kDa, kNa), 1},
           {CompStr(kGa, kHan), -1},
           {CompText("Hello", "hELLO"), 0},
           {CompText("a", "B"), -1},
           {CompText("b", "A"), 1},
           {CompText(kHanGeul + "X", kHanGeul + "x"), 0},
           {CompText(kWideA, "a"), 1}});  // a different character, though it sorts as the letter
    EXPECT_NE(CompText(kDdom, "\x8C\x43"), 0);
}

TEST(StrSearch, CompStrPutsExtensionHangulInSyllableOrder)
{
    EXPECT_EQ(CompStr(kGak, kGakk), -1);
    EXPECT_EQ(CompStr(kGakk, kGan), -1);
    EXPECT_EQ(CompStr(kGan, kGakk), 1);
}

TEST(StrWords, WordsSkipRunsOfDelimitersAndNeverCutAtATrailByte)
{
    const AnsiString text = kGa + kNa + " " + kHanGeul;
    // 'c' is a delimiter, but the 'c' inside 똠 is not a character of its own.
    const AnsiString withC = kDdom + "xcy" + kDdom;
    Each(I{{WordCount("a,,b", kComma), 2},
           {WordCount(",,a,,b,,", kComma), 2},
           {WordCount("", kComma), 0},
           {WordCount(",,,", kComma), 0},
           {WordPosition(2, "a,,b", kComma), 4},
           {WordPosition(3, "a,,b", kComma), 0},
           {WordPosition(-1, "a,,b", kComma), 0},
           {WordCount(text, kBlank), 2},
           {WordPosition(2, text, kBlank), 6},
           {WordCount(withC, TSysCharSet{'c'}), 2},
           // A set of bytes never holds a two-byte character, even when it holds its bytes.
           {WordCount(kGakk + "A" + kGakk, TSysCharSet{'A', '\x81'}), 2}});
    Each(S{{ExtractWord(2, "a,,b", kComma), "b"},
           {ExtractWord(1, ",,first, second", TSysCharSet{' ', ','}), "first"},
           {ExtractWord(3, "a,,b", kComma), ""},
           {ExtractWord(0, "a,,b", kComma), ""},
           {ExtractWord(2, text, kBlank), kHanGeul},
           {ExtractWord(1, withC, TSysCharSet{'c'}), kDdom + "x"},
           {ExtractWord(2, withC, TSysCharSet{'c'}), "y" + kDdom},
           // ExtractDelimited counts empty fields.
           {ExtractDelimited(2, "a,,b", kComma), ""},
           {ExtractDelimited(3, "a,,b", kComma), "b"},
           {ExtractDelimited(1, ",b", kComma), ""},
           {ExtractDelimited(3, "a,b,", kComma), ""},
           {ExtractDelimited(4, "a,b,", kComma), ""},
           {ExtractDelimited(1, "", kComma), ""},
           {ExtractDelimited(0, "a", kComma), ""},
           {ExtractDelimited(2, kGa + "," + kDdom + "c," + kNa, kComma), kDdom + "c"},
           {ExtractDelimited(2, kDdom + "c" + kNa, TSysCharSet{'c'}), kNa}});
    int pos = -5;
    EXPECT_EQ(ExtractWordPos(2, "  one two", kBlank, pos), "two");
    EXPECT_EQ(pos, 7);
    EXPECT_EQ(ExtractWordPos(3, "  one two", kBlank, pos), "");
    EXPECT_EQ(pos, 0);
}

TEST(StrWords, ExtractSubstrMovesPastTheDelimiter)
{
    int pos = 1;
    const std::pair<AnsiString, int> steps[] = {{"ab", 4}, {"cd", 7}, {"", 8}, {"e", 9}, {"", 9}};
    for (const auto& [word, next] : steps) {
        EXPECT_EQ(ExtractSubstr("ab;cd;;e", pos, TSysCharSet{';'}), word);
        EXPECT_EQ(pos, next);
    }
    pos = 1;
    AnsiString h = kDdom + "c" + kGa;
    EXPECT_EQ(ExtractSubstr(h, pos, TSysCharSet{'c'}), kDdom);
    EXPECT_EQ(pos, 4);
    EXPECT_EQ(ExtractSubstr(h, pos, TSysCharSet{'c'}), kGa);
}

TEST(StrWords, WholeWordsProperCaseAndCopyToASymbol)
{
    EXPECT_TRUE(IsWordPresent("two", "one two three", kBlank));
    EXPECT_FALSE(IsWordPresent("tw", "one two three", kBlank));
    EXPECT_FALSE(IsWordPresent("TWO", "one two three", kBlank));
    EXPECT_FALSE(IsWordPresent("", "one", kBlank));
    EXPECT_TRUE(IsWordPresent(kHanGeul, kGa + " " + kHanGeul, kBlank));
    EXPECT_FALSE(IsWordPresent("x", kDdom + "x", TSysCharSet{'c'}));
    Each(S{{AnsiProperCase("hello big world", kBlank), "Hello Big World"},
           {AnsiProperCase("a-b c", TSysCharSet{' ', '-'}), "A-B C"},
           {AnsiProperCase("", kBlank), ""},
           {AnsiProperCase(kGa + "abc x", kBlank), kGa + "abc X"},
           // The trail byte 'c' of 똠 after a delimiter is not the start of a word.
           {AnsiProperCase("x" + kDdom, TSysCharSet{'x', '\x8C'}), "x" + kDdom},
           {Copy2Symb("key=value", '='), "key"},
           {Copy2Symb("novalue", '='), "novalue"},
           {Copy2Symb("", '='), ""},
           {Copy2Symb(kDdom + "xcy", 'c'), kDdom + "x"},
           {Copy2Space(kHanGeul + " rest"), kHanGeul}});
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
