#include "controls/core/StrUtils.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/core/Exceptions.h"
#include "tests/controls/core/HangulText.h"
#include "tests/platform/core/Cases.h"

using namespace hangul;

namespace {

const TSysCharSet kComma{','};
const TSysCharSet kBlank{' '};

}  // namespace

TEST(StrScramble, HexadecimalCodesXorStringAndBadInput)
{
    // An empty key writes plain codes; a key repeats over the source: 'a'^'K' = 2A, 'b'^'e' = 07.
    Each(TextChecks{CHECK_ROW(XorEncode("", "AB"), "4142"), CHECK_ROW(XorDecode("", "4142"), "AB"),
                    CHECK_ROW(XorEncode("", kHanGeul), "C7D1B1DB"), CHECK_ROW(XorDecode("", "c7d1b1db"), kHanGeul),
                    CHECK_ROW(XorEncode("", ""), ""), CHECK_ROW(XorEncode("Ke", "abc"), "2A0728"),
                    CHECK_ROW(XorDecode("Ke", "2A0728"), "abc"),
                    // Bad pairs read as blanks (scrambled like any byte: ' ' ^ 'A' = 'a'); an odd digit goes.
                    CHECK_ROW(XorDecode("", "41zz42"), "A B"), CHECK_ROW(XorDecode("", "414"), "A"),
                    CHECK_ROW(XorDecode("A", "??"), "a"), CHECK_ROW(XorString("", "same"), "same"),
                    CHECK_ROW(XorString("key", ""), ""),
                    CHECK_ROW(XorString("k", AnsiString(300, 'x')), AnsiString(255, 'x' ^ 'k'))});
    AnsiString line = "say " + kHanGeul + " \x01\xFF";
    EXPECT_EQ(XorDecode("secret", XorEncode("secret", line)), line);
    AnsiString scrambled = XorString("key", "hello " + kHanGeul);
    EXPECT_EQ(XorString("key", scrambled), "hello " + kHanGeul);
}

TEST(StrQuoting, QuotesAndUnquotes)
{
    Each(TextChecks{
        CHECK_ROW(QuotedString("abc", '\''), "'abc'"), CHECK_ROW(QuotedString("it's", '\''), "'it''s'"),
        CHECK_ROW(QuotedString("", '"'), "\"\""), CHECK_ROW(QuotedString(kHanGeul, '"'), "\"" + kHanGeul + "\""),
        // 'c' as the quote: the trail byte of 똠 is not doubled.
        CHECK_ROW(QuotedString(kDdom + "c", 'c'), "c" + kDdom + "ccc"),
        CHECK_ROW(ExtractQuotedString("'it''s'", '\''), "it's"),
        CHECK_ROW(ExtractQuotedString("'abc' tail", '\''), "abc"),
        CHECK_ROW(ExtractQuotedString("'open", '\''), "open"), CHECK_ROW(ExtractQuotedString("plain", '\''), "plain"),
        CHECK_ROW(ExtractQuotedString("", '\''), ""), CHECK_ROW(ExtractQuotedString("''", '\''), ""),
        CHECK_ROW(ExtractQuotedString(QuotedString(kDdom + "c", 'c'), 'c'), kDdom + "c")});
    for (const AnsiString& s : {AnsiString("a'b''c"), kHanGeul + "'", AnsiString("'"), kDdom + "c"})
        EXPECT_EQ(ExtractQuotedString(QuotedString(s, '\''), '\''), s);
}

TEST(StrCmdLine, FindsTheParameterAfterTheSwitch)
{
    std::vector<AnsiString> params = {"prog", "-host", "mud.example", "/Port", "4002", "-last"};
    TSysCharSet sw{'-', '/'};
    std::vector<AnsiString> korean = {"prog", "-" + kHanGeul, kGa};
    Each(TextChecks{CHECK_ROW(GetCmdLineArg("host", sw, params), "mud.example"),
                    CHECK_ROW(GetCmdLineArg("PORT", sw, params), "4002"),
                    CHECK_ROW(GetCmdLineArg("last", sw, params), ""),  // nothing follows it
                    CHECK_ROW(GetCmdLineArg("mud.example", sw, params), ""),
                    CHECK_ROW(GetCmdLineArg("host", TSysCharSet{'/'}, params), ""),
                    CHECK_ROW(GetCmdLineArg("prog", sw, {"-prog"}), ""),
                    CHECK_ROW(GetCmdLineArg(kHanGeul, sw, korean), kGa),
                    // This process: the test runner passes no switch of this name.
                    CHECK_ROW(GetCmdLineArg("no-such-switch", TSysCharSet{'-'}), "")});
}

TEST(StrPadding, BlanksPaddingAndCentring)
{
    EXPECT_TRUE(IsEmptyStr("", kBlank));
    EXPECT_TRUE(IsEmptyStr(" \t ", TSysCharSet{' ', '\t'}));
    EXPECT_FALSE(IsEmptyStr(" x ", kBlank));
    EXPECT_FALSE(IsEmptyStr(kDdom, TSysCharSet{'\x8C', 'c'}));
    Each(TextChecks{CHECK_ROW(DelSpace(" a b  c "), "abc"), CHECK_ROW(DelChars("a-b-c", '-'), "abc"),
                    CHECK_ROW(DelChars(kDdom + "cc", 'c'), kDdom), CHECK_ROW(DelChars(kGakk + "A", 'A'), kGakk),
                    CHECK_ROW(DelSpace(kGa + " " + kNa), kGa + kNa), CHECK_ROW(DelBSpace("  a b  "), "a b  "),
                    CHECK_ROW(DelESpace("  a b  "), "  a b"), CHECK_ROW(DelRSpace("  a b  "), "a b"),
                    CHECK_ROW(DelRSpace("    "), ""), CHECK_ROW(DelRSpace("\ta\t"), "\ta\t"),  // blanks only, not TABs
                    CHECK_ROW(DelRSpace(" " + kHanGeul + " "), kHanGeul), CHECK_ROW(DelSpace1("a   b  c"), "a b c"),
                    CHECK_ROW(DelSpace1("   "), " "), CHECK_ROW(AddChar('0', "42", 5), "00042"),
                    CHECK_ROW(AddCharR('.', "42", 5), "42..."), CHECK_ROW(AddChar('0', "123456", 5), "123456"),
                    CHECK_ROW(Tab2Space("a\tb", 4), "a    b"), CHECK_ROW(Tab2Space("\t\t", 1), "  "),
                    CHECK_ROW(Tab2Space("a\tb", 0), "ab"), CHECK_ROW(Tab2Space(kGa + "\t", 2), kGa + "  "),
                    CHECK_ROW(MakeStr('x', 3), "xxx"), CHECK_ROW(MakeStr('x', 0), ""), CHECK_ROW(MS('x', -2), ""),
                    CHECK_ROW(LeftStr("ab", 4), "ab  "), CHECK_ROW(RightStr("ab", 4), "  ab"),
                    CHECK_ROW(LeftStr("abcdef", 4), "abcdef"),
                    // Lengths count bytes: 한글 is four.
                    CHECK_ROW(LeftStr(kHanGeul, 6), kHanGeul + "  "), CHECK_ROW(RightStr(kHanGeul, 4), kHanGeul),
                    CHECK_ROW(CenterStr("ab", 6), "  ab  "), CHECK_ROW(CenterStr("ab", 5), " ab  "),
                    CHECK_ROW(CenterStr("abc", 2), "abc"), CHECK_ROW(StrToOem(kHanGeul + "abc"), kHanGeul + "abc"),
                    CHECK_ROW(OemToAnsiStr(kHanGeul + "abc"), kHanGeul + "abc")});
}

TEST(StrPadding, DelESpaceKeepsABlankThatEndsAMalformedPair)
{
    // A lone lead byte followed by a blank reads as one two-byte character.
    EXPECT_EQ(DelESpace("a\xC7 "), "a\xC7 ");
}

TEST(StrNumbers, GroupingAndBases)
{
    Each(TextChecks{
        CHECK_ROW(Numb2USA("1234567"), "1,234,567"), CHECK_ROW(Numb2USA("123"), "123"),
        CHECK_ROW(Numb2USA("1234"), "1,234"), CHECK_ROW(Numb2USA("123456"), "123,456"), CHECK_ROW(Numb2USA(""), ""),
        CHECK_ROW(Numb2USA("abc"), "abc"),
        // Sign and fraction are left alone.
        CHECK_ROW(Numb2USA("-123456"), "-123,456"), CHECK_ROW(Numb2USA("1234.5678"), "1,234.5678"),
        CHECK_ROW(Dec2Numb(35, 0, 36), "Z"), CHECK_ROW(Dec2Numb(255, 0, 16), "FF"), CHECK_ROW(Dec2Numb(8, 3, 8), "010"),
        CHECK_ROW(Dec2Hex(255, 1), "FF"), CHECK_ROW(Dec2Hex(255, 4), "00FF"), CHECK_ROW(D2H(0, 0), "0"),
        CHECK_ROW(Dec2Hex(-1, 2), "FFFFFFFF"), CHECK_ROW(Dec2Numb(0, 0, 2), "0"), CHECK_ROW(Dec2Numb(5, 0, 2), "101"),
        CHECK_ROW(Dec2Numb(5, 6, 2), "000101"),
        // Negative values show their bit pattern.
        CHECK_ROW(Dec2Numb(-1, 0, 16), "FFFFFFFF"), CHECK_ROW(Dec2Numb(-2, 0, 2), AnsiString(31, '1') + "0")});
    Each(NumberChecks{
        CHECK_ROW(Hex2Dec("FF"), 255), CHECK_ROW(Hex2Dec("$ff"), 255), CHECK_ROW(H2D("7FFFFFFF"), 2147483647),
        CHECK_ROW(H2D("FFFFFFFF"), -1), CHECK_ROW(Hex2Dec("100000000"), 0), CHECK_ROW(Hex2Dec(""), 0),
        CHECK_ROW(Hex2Dec("$"), 0), CHECK_ROW(Hex2Dec("12G"), 0), CHECK_ROW(Hex2Dec(" 12"), 0),
        CHECK_ROW(Hex2Dec(kGa), 0), CHECK_ROW(Hex2Dec(Dec2Hex(123456789, 0)), 123456789),
        CHECK_ROW(Numb2Dec("101", 2), 5), CHECK_ROW(Numb2Dec("ff", 16), 255), CHECK_ROW(Numb2Dec("Z", 36), 35),
        CHECK_ROW(Numb2Dec("", 10), 0), CHECK_ROW(Numb2Dec("1234", 10), 1234), CHECK_ROW(Numb2Dec("FFFFFFFF", 16), -1),
        // Digits outside the base give zero.
        CHECK_ROW(Numb2Dec("102", 2), 0), CHECK_ROW(Numb2Dec("1-2", 10), 0), CHECK_ROW(Numb2Dec(kGa, 16), 0)});
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
    Each(TextChecks{CHECK_ROW(IntToBin(5, 8, 4), " 0000 0101"), CHECK_ROW(IntToBin(5, 6, 4), "00 0101"),
                    CHECK_ROW(IntToBin(5, 3, 0), "101"), CHECK_ROW(IntToBin(13, 4, 1), " 1 1 0 1"),
                    CHECK_ROW(IntToBin(255, 4, 8), "1111"),  // the low four bits
                    CHECK_ROW(IntToBin(-1, 40, 0), AnsiString(32, '1')), CHECK_ROW(IntToBin(1, 0, 4), "")});
}

TEST(StrNumbers, IntToBinWithGroupZeroDoesNotDivideByZero)
{
    EXPECT_EQ(IntToBin(6, 4, 0), "0110");
    EXPECT_EQ(IntToBin(6, 4, -2), "0110");
}

TEST(StrRoman, BothWays)
{
    Each(TextChecks{CHECK_ROW(IntToRoman(1994), "MCMXCIV"), CHECK_ROW(IntToRoman(4), "IV"),
                    CHECK_ROW(IntToRoman(3999), "MMMCMXCIX"), CHECK_ROW(IntToRoman(1), "I"),
                    CHECK_ROW(IntToRoman(0), ""), CHECK_ROW(IntToRoman(-5), "")});
    Each(NumberChecks{CHECK_ROW(RomanToInt("MCMXCIV"), 1994), CHECK_ROW(RomanToInt("-XIV"), -14),
                      CHECK_ROW(RomanToInt("IIII"), 4), CHECK_ROW(RomanToInt(""), 0), CHECK_ROW(RomanToInt("XIZ"), 0),
                      CHECK_ROW(RomanToInt("xiv"), 0), CHECK_ROW(RomanToInt("X-I"), 0), CHECK_ROW(RomanToInt(kGa), 0)});
    for (int n = 1; n < 4000; n += 37)
        EXPECT_EQ(RomanToInt(IntToRoman(n)), n) << n;
}

TEST(StrRoman, AHugeNumeralSaturates) { EXPECT_EQ(RomanToInt(AnsiString(3000000, 'M')), 2147483647); }

TEST(StrSearch, ReplaceStrNPosAndFindPart)
{
    Each(TextChecks{CHECK_ROW(ReplaceStr("a-b-c", "-", "+"), "a+b+c"),
                    CHECK_ROW(ReplaceStr("aaa", "a", "aa"), "aaaaaa"),  // no rescan
                    CHECK_ROW(ReplaceStr("aaaa", "aa", "a"), "aa"), CHECK_ROW(ReplaceStr("abc", "x", "y"), "abc"),
                    CHECK_ROW(ReplaceStr("", "x", "y"), ""), CHECK_ROW(ReplaceStr("abcabc", "abc", ""), ""),
                    CHECK_ROW(ReplaceStr(kHanGeul + " " + kHanGeul, kHanGeul, kGa), kGa + " " + kGa)});
    // One '?' of FindPart takes a whole Hangul character.
    Each(NumberChecks{CHECK_ROW(NPos("ab", "xabyabzab", 1), 2), CHECK_ROW(NPos("ab", "xabyabzab", 3), 8),
                      CHECK_ROW(NPos("ab", "xabyabzab", 4), 0), CHECK_ROW(NPos("ab", "xabyab", 0), 0),
                      CHECK_ROW(NPos("", "xab", 1), 0), CHECK_ROW(NPos("aa", "aaa", 2), 2),
                      CHECK_ROW(NPos("c", kDdom + "c" + kDdom + "c", 2), 6),
                      CHECK_ROW(NPos(kGa, kNa + kGa + kGa, 2), 5), CHECK_ROW(FindPart("b?d", "abcde"), 2),
                      CHECK_ROW(FindPart("?", "abc"), 1), CHECK_ROW(FindPart("x?", "abc"), 0),
                      CHECK_ROW(FindPart("cd?", "abcd"), 0), CHECK_ROW(FindPart("", "abc"), 0),
                      CHECK_ROW(FindPart("a?b", "a" + kGa + "b"), 1), CHECK_ROW(FindPart("a??b", "a" + kGa + "b"), 0),
                      CHECK_ROW(FindPart("?at", kDdom + "at"), 1), CHECK_ROW(FindPart("c?t", kDdom + "at"), 0),
                      CHECK_ROW(FindPart(kNa + "?", kGa + kNa + kDa), 3)});
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
    Each(NumberChecks{
        CHECK_ROW(CompStr("abc", "abc"), 0), CHECK_ROW(CompStr("a", "B"), -1), CHECK_ROW(CompStr("B", "a"), 1),
        CHECK_ROW(CompStr("a", "A"), -1), CHECK_ROW(CompStr("ab", "Aa"), 1), CHECK_ROW(CompStr("9", "a"), -1),
        CHECK_ROW(CompStr("-", "0"), -1), CHECK_ROW(CompStr(" z", "a"), -1), CHECK_ROW(CompStr("ab", "abc"), -1),
        CHECK_ROW(CompStr("z", kGa), -1), CHECK_ROW(CompStr(kGa, kNa), -1), CHECK_ROW(CompStr(kDa, kNa), 1),
        CHECK_ROW(CompStr(kGa, kHan), -1), CHECK_ROW(CompText("Hello", "hELLO"), 0), CHECK_ROW(CompText("a", "B"), -1),
        CHECK_ROW(CompText("b", "A"), 1), CHECK_ROW(CompText(kHanGeul + "X", kHanGeul + "x"), 0),
        CHECK_ROW(CompText(kWideA, "a"), 1)});  // a different character, though it sorts as the letter
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
    Each(NumberChecks{CHECK_ROW(WordCount("a,,b", kComma), 2), CHECK_ROW(WordCount(",,a,,b,,", kComma), 2),
                      CHECK_ROW(WordCount("", kComma), 0), CHECK_ROW(WordCount(",,,", kComma), 0),
                      CHECK_ROW(WordPosition(2, "a,,b", kComma), 4), CHECK_ROW(WordPosition(3, "a,,b", kComma), 0),
                      CHECK_ROW(WordPosition(-1, "a,,b", kComma), 0), CHECK_ROW(WordCount(text, kBlank), 2),
                      CHECK_ROW(WordPosition(2, text, kBlank), 6), CHECK_ROW(WordCount(withC, TSysCharSet{'c'}), 2),
                      // A set of bytes never holds a two-byte character, even when it holds its bytes.
                      CHECK_ROW(WordCount(kGakk + "A" + kGakk, TSysCharSet{'A', '\x81'}), 2)});
    Each(TextChecks{
        CHECK_ROW(ExtractWord(2, "a,,b", kComma), "b"),
        CHECK_ROW(ExtractWord(1, ",,first, second", TSysCharSet{' ', ','}), "first"),
        CHECK_ROW(ExtractWord(3, "a,,b", kComma), ""), CHECK_ROW(ExtractWord(0, "a,,b", kComma), ""),
        CHECK_ROW(ExtractWord(2, text, kBlank), kHanGeul),
        CHECK_ROW(ExtractWord(1, withC, TSysCharSet{'c'}), kDdom + "x"),
        CHECK_ROW(ExtractWord(2, withC, TSysCharSet{'c'}), "y" + kDdom),
        // ExtractDelimited counts empty fields.
        CHECK_ROW(ExtractDelimited(2, "a,,b", kComma), ""), CHECK_ROW(ExtractDelimited(3, "a,,b", kComma), "b"),
        CHECK_ROW(ExtractDelimited(1, ",b", kComma), ""), CHECK_ROW(ExtractDelimited(3, "a,b,", kComma), ""),
        CHECK_ROW(ExtractDelimited(4, "a,b,", kComma), ""), CHECK_ROW(ExtractDelimited(1, "", kComma), ""),
        CHECK_ROW(ExtractDelimited(0, "a", kComma), ""),
        CHECK_ROW(ExtractDelimited(2, kGa + "," + kDdom + "c," + kNa, kComma), kDdom + "c"),
        CHECK_ROW(ExtractDelimited(2, kDdom + "c" + kNa, TSysCharSet{'c'}), kNa)});
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
    Each(TextChecks{CHECK_ROW(AnsiProperCase("hello big world", kBlank), "Hello Big World"),
                    CHECK_ROW(AnsiProperCase("a-b c", TSysCharSet{' ', '-'}), "A-B C"),
                    CHECK_ROW(AnsiProperCase("", kBlank), ""),
                    CHECK_ROW(AnsiProperCase(kGa + "abc x", kBlank), kGa + "abc X"),
                    // The trail byte 'c' of 똠 after a delimiter is not the start of a word.
                    CHECK_ROW(AnsiProperCase("x" + kDdom, TSysCharSet{'x', '\x8C'}), "x" + kDdom),
                    CHECK_ROW(Copy2Symb("key=value", '='), "key"), CHECK_ROW(Copy2Symb("novalue", '='), "novalue"),
                    CHECK_ROW(Copy2Symb("", '='), ""), CHECK_ROW(Copy2Symb(kDdom + "xcy", 'c'), kDdom + "x"),
                    CHECK_ROW(Copy2Space(kHanGeul + " rest"), kHanGeul)});
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
