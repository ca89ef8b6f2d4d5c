// The shared text routines, one named case a row.

#include "grid/model/Cgutil.h"

#include "platform/core/DateFormat.h"
#include "platform/core/DateTime.h"
#include "tests/grid/model/GridModelSupport.h"

namespace {

std::string Token(std::string s, std::string sep)
{
    AnsiString rest = s;
    const AnsiString token = GetToken(rest, sep);
    return token + "|" + rest;
}

std::string Bool(bool b) { return b ? "true" : "false"; }

std::string NextDate(int y, int m, int d, uint16_t years, uint16_t months, uint16_t days)
{
    try {
        return DateToStr(GetNextDate(EncodeDate(y, m, d), years, months, days, 7));
    } catch (const EConvertError& e) {
        return e.Message;
    }
}

std::string DateOf(std::string s)
{
    TDateTime d = 0;
    return StrToDateByFormat(s, d) ? DateToStr(d) : "no date";
}

std::string Cell(std::string name)
{
    TPoint p{-1, -1};
    const bool ok = NameToCell(name, p);
    return Bool(ok) + " " + std::to_string(p.x) + "," + std::to_string(p.y);
}

std::string Line(std::string s, bool multiline)
{
    const AnsiString line = GetNextLine(s, multiline);
    return line + "|" + s;
}

}  // namespace

class Cgutil : public KoreanLocale, public ::testing::WithParamInterface<TTextCase> {};

TEST_P(Cgutil, Gives) { EXPECT_EQ(GetParam().got(), GetParam().want); }

const TTextCase kRoutines[] = {
    {"GetTokenCutsThroughTheSeparator", [] { return Token("a,,b", ","); }, "a|,b"},
    {"GetTokenWithoutSeparatorKeepsTheText", [] { return Token("abc", ";"); }, "|abc"},
    // "똠" is 8C 63: its trail byte is a "c" that no search may find.
    {"GetTokenNeverSplitsAHangulPair", [] { return Token("\x8C\x63x", "c"); }, "|\x8C\x63x"},
    {"SinglePosSkipsADoubledQuote", [] { return std::to_string(SinglePos('"', "a\"\"b")); }, "0"},
    {"SinglePosFindsALoneQuote", [] { return std::to_string(SinglePos('"', "a\"b")); }, "2"},
    {"SinglePosCountsAQuoteAtTheEnd", [] { return std::to_string(SinglePos('"', "ab\"\"")); }, "4"},
    {"NumSingleCharCountsTheLoneOnes", [] { return std::to_string(NumSingleChar('"', "\"a\"\"b\"")); }, "2"},
    {"DoubleToSingleCharKeepsTheFirstCharacter", [] { return DoubleToSingleChar(',', ",,a,,,b"); }, ",,a,b"},
    {"FirstCharSkipsTrailBytes", [] { return std::string(1, FirstChar("cz", "\x8C\x63z")); }, "z"},
    {"UpStrLeavesTrailBytes", [] { return UpStr("a\x8C\x63"); }, "A\x8C\x63"},
    {"PasswordHasOneMaskPerCharacter",
     [] {
         AnsiString s = "a\xB0\xA1z";
         StringToPassword(s, '*');
         return s;
     },
     "***"},
    {"NameToCellReadsRowThenColumn", [] { return Cell("r12c3"); }, "true 3,12"},
    {"NameToCellRefusesTextAfterTheNumber", [] { return Cell("R1C2x"); }, "false -1,-1"},
    {"RectStringPrintsBothCorners", [] { return RectString(Rect(1, 2, 3, 4)); }, "[1:2][3:4]"},
    {"TextTypeFormula", [] { return std::to_string(TextType("=A1", true)); }, "3"},
    {"TextTypeRichText", [] { return std::to_string(TextType("{\\rtf1}", true)); }, "2"},
    {"TextTypeHtmlOnlyWhenEnabled",
     [] { return std::to_string(TextType("<B>x", true)) + std::to_string(TextType("<B>x", false)); }, "10"},
    {"TextTypeSingleCharacterIsPlain", [] { return std::to_string(TextType("=", true)); }, "0"},
    {"IsTypeThousandsAndDecimal", [] { return std::to_string(IsType("1,234.5")); }, "1"},
    {"IsTypeSeparatorsTooClose", [] { return std::to_string(IsType("1,2,3")); }, "2"},
    {"IsTypeNegativeInteger", [] { return std::to_string(IsType("-5")); }, "0"},
    {"IsTypeTwoMinusSigns", [] { return std::to_string(IsType("1-2-3")); }, "2"},
    {"RegressionIsTypeMinusInsideANumberIsText", [] { return std::to_string(IsType("1-2")); }, "2"},
    {"RemoveSepsLeavesAPointNumber", [] { return RemoveSeps("1,234.5"); }, "1234.5"},
    {"NextDateByDays", [] { return NextDate(2024, 2, 27, 0, 0, 3); }, "2024-03-01"},
    {"NextDateByMonthsWrapsIntoTheNextYear", [] { return NextDate(2024, 11, 15, 0, 3, 0); }, "2025-02-15"},
    {"NextDateToADayThatDoesNotExistRaises", [] { return NextDate(2024, 1, 31, 0, 1, 0); },
     "Invalid argument to date encode"},
    {"NextDateMixedAddsTheStep", [] { return NextDate(2024, 1, 1, 1, 1, 0); }, "2024-01-08"},
    {"HtmlColorIsRedGreenBlue", [] { return HTMLColor(clRed); }, "FF0000"},
    {"StripUrlProtocol",
     [] {
         AnsiString s = "mailto:a@b";
         StripURLProtocol(s);
         AnsiString t = "http://x/y";
         StripURLProtocol(t);
         return s + " " + t;
     },
     "a@b x/y"},
    {"HtmlLineBreaksKeepTheLineFeed", [] { return HTMLLineBreaks("a\r\nb"); }, "a<br>\nb"},
    {"EscapedLineBreaksBothWays", [] { return CLFToLF(LFToCLF("a\r\nb")); }, "a\rb"},
    {"CsvLineFeedsQuoteTheText",
     [] {
         AnsiString s = "a\r\nb";
         LineFeedsToCSV(s);
         return s;
     },
     "\"a\nb\""},
    {"JavaLineFeedsRoundTrip",
     [] {
         AnsiString s = "a\r\nb";
         LineFeedsToJava(s);
         const AnsiString java = s;
         JavaToLineFeeds(s);
         return java + " " + s;
     },
     "a~b a\r\nb"},
    {"FileLineBreaksRoundTrip", [] { return FileToLf(LfToFile("a\r\nb"), true); }, "a\r\nb"},
    {"FileLineBreaksOfALoneCarriageReturnComeBackAsTab", [] { return FileToLf(LfToFile("a\rb"), true); }, "a\tb"},
    {"RegressionFileLineBreaksEncodeALoneLineFeed", [] { return LfToFile("a\nb"); }, "a\bb"},
    {"FileToLfSingleLineTakesTheFirst", [] { return FileToLf("a\t\bb", false); }, "a"},
    {"NextLineTakesTheLineBreak", [] { return Line("a\r\nb\rc", true); }, "a|b\rc"},
    {"NextLineWithoutMultilineEmptiesTheRest", [] { return Line("a\r\nb", false); }, "a|"},
    {"LinesInTextCountsCarriageReturns", [] { return std::to_string(LinesInText("a\rb\rc", true)); }, "3"},
    {"DateByFormatReadsTheLocaleOrder", [] { return DateOf("2024-2-29"); }, "2024-02-29"},
    {"DateByFormatRefusesTheThirtyFirstOfApril", [] { return DateOf("2024-4-31"); }, "no date"},
    {"DateByFormatNeedsTwoSeparators", [] { return DateOf("2024-4"); }, "no date"},
};
INSTANTIATE_TEST_SUITE_P(Routines, Cgutil, ::testing::ValuesIn(kRoutines), CaseName);

// Matching: the pattern, the text, whether they match.
struct TMatchCase {
    const char* name;
    const char* pattern;
    const char* text;
    bool matches;
};
class CgutilMatch : public KoreanLocale, public ::testing::WithParamInterface<TMatchCase> {};

TEST_P(CgutilMatch, Decides) { EXPECT_EQ(MatchStrEx(GetParam().pattern, GetParam().text), GetParam().matches); }

const TMatchCase kMatches[] = {
    {"RangeInside", ">10 & <20", "15", true},
    {"RangeOutside", ">10 & <20", "25", false},
    {"EitherWildcard", "a* ; b*", "bc", true},
    {"NegatedWildcard", "!a*", "abc", false},
    {"StarMatchesAnyRun", "a*c", "abc", true},
    {"StarMatchesNothing", "a*c", "ac", true},
    {"StarNeedsTheEnd", "a*c", "abd", false},
    {"QuestionIsExactlyOneCharacter", "a?c", "ac", false},
    {"QuestionTakesAWholeHangulCharacter", "a?c", "a\xB0\xA1\x63", true},
    {"NoMatchStartsOnATrailByte", "*c*", "\x8C\x63", false},
    {"GreaterOrEqualNumbers", ">=10", "10", true},
    {"DatesCompareAsDates", "<2024-10-01", "2024-9-30", true},
    {"TextsCompareByBytes", ">b", "c", true},
    {"OperatorsApplyLeftToRight", "a* ; b* & c*", "bc", false},
    {"RegressionStarsNeverBacktrackExponentially", "*a*a*a*a*a*a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
     false},
};
INSTANTIATE_TEST_SUITE_P(Patterns, CgutilMatch, ::testing::ValuesIn(kMatches),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(KoreanLocale, RegressionComparisonsReadPastTheFirst255Bytes)
{
    const std::string common(300, 'a');
    EXPECT_TRUE(Matches(">" + common + "b", common + "c"));
    EXPECT_FALSE(Matches(">" + common + "c", common + "b"));
}
