// The editing rules without a window: filters, case rules, look-up, paste, the length limit, the
// unit split, the pending key and the spin edit's values and steps, one named case a row.

#include "grid/model/CellEditRules.h"

#include "platform/core/DateFormat.h"
#include "tests/grid/model/GridModelSupport.h"

namespace {

// A typed byte as the editor takes it: the character typed, "-" refused, "!" refused with a
// beep, "LF" a line break.
std::string Typed(TEditorType type, char key, std::string text, int caret, int sel = 0, int limit = 0,
                  bool lineFeed = false, bool advance = false)
{
    const TEditState state{text, caret, sel, limit, lineFeed, advance};
    const TTypedChar t = FilterTypedChar(type, key, false, state);
    switch (t.Verdict) {
    case cvRefuse: return "-";
    case cvRefuseBeep: return "!";
    case cvLineBreak: return "LF";
    default: return std::string(1, t.Char);
    }
}

std::string Pasted(TEditorType type, std::string text, int start, int sel, std::string clip, int limit = 0)
{
    const std::optional<AnsiString> r = PastedText(type, TEditState{text, start, sel, limit, false, false}, clip);
    return r ? *r : "(nothing)";
}

std::string Lookup(std::string typed, bool caseSensitive)
{
    TStringList items;
    items.Add("Apple");
    items.Add("Apricot");
    items.Add("\xB0\xA1\xB3\xAA");  // 가나
    const int i = LookupIndex(items, typed, caseSensitive);
    return i < 0 ? "none" : LookupCompletion(typed, items.Strings(i));
}

std::string Split(std::string text)
{
    const TUnitSplit s = SplitUnitText(text);
    return s.Number + "|" + s.Unit;
}

std::string Pending(std::string bytes)
{
    TPendingKey key;
    std::string out;
    for (char b : bytes)
        out += key.Add(b) ? "[" + key.Key() + "]" : ".";
    return out;
}

std::string Spin(TCgSpinType type, char key, std::string text, int caret, int sel = 0, int precision = 0,
                 bool enabled = true)
{
    const TTypedChar t = SpinFilterChar(type, key, text, caret, sel, precision, enabled);
    return t.Verdict == cvAccept ? std::string(1, t.Char) : t.Verdict == cvRefuseBeep ? "!" : "-";
}

std::string StepDate(int y, int m, int d, int field, int delta)
{
    return DateToStr(SpinStepDate(EncodeDate(y, m, d), field, delta));
}

}  // namespace

class CellEditRules : public KoreanLocale, public ::testing::WithParamInterface<TTextCase> {};

TEST_P(CellEditRules, Gives) { EXPECT_EQ(GetParam().got(), GetParam().want); }

const TTextCase kRules[] = {
    // --- Which editor.
    {"TextEditorServesTheFilteredTypes",
     [] {
         std::string out;
         for (int t = edNormal; t <= edCustom; ++t)
             out += TextEditorServes(static_cast<TEditorType>(t)) ? "T" : ".";
         return out;
     },
     "T..........TTTTTT.TT......"},
    {"DataCheckBoxHasNoEditor", [] { return std::to_string(EditorKindOf(edDataCheckBox) == ekNone); }, "1"},
    // --- Filters.
    {"NumericTakesDigits", [] { return Typed(edNumeric, '7', "12", 2); }, "7"},
    {"NumericBeepsOnALetter", [] { return Typed(edNumeric, 'a', "12", 2); }, "!"},
    {"NumericTakesAMinusAtTheStart", [] { return Typed(edNumeric, '-', "12", 0); }, "-"},
    {"NumericRefusesAMinusElsewhere", [] { return Typed(edNumeric, '-', "12", 1); }, "!"},
    {"NumericRefusesASecondMinus", [] { return Typed(edNumeric, '-', "-12", 0); }, "!"},
    {"PositiveNumericRefusesEveryMinus", [] { return Typed(edPositiveNumeric, '-', "12", 0); }, "!"},
    {"FloatRefusesASecondSeparator", [] { return Typed(edFloat, ',', "1.5", 3); }, "-"},
    {"FloatTakesASeparatorOverTheSelectedOne", [] { return Typed(edFloat, '.', "1.5", 1, 1); }, "."},
    {"FloatRefusesALetterSilently", [] { return Typed(edFloat, 'x', "1", 1); }, "-"},
    {"FloatBeepsOnAMisplacedMinus", [] { return Typed(edFloat, '-', "1", 1); }, "!"},
    {"RegressionEscapePassesTheNumericFilter", [] { return Typed(edNumeric, 27, "12", 2); }, "\x1B"},
    {"CapitalUpperCasesALetter", [] { return Typed(edCapital, 'q', "", 0); }, "Q"},
    {"LowerCaseLowersALetter", [] { return Typed(edLowerCase, 'Q', "", 0); }, "q"},
    {"PasswordTakesAnything", [] { return Typed(edPassword, '%', "", 0); }, "%"},
    {"EnterWithLineFeedOnEnterBreaksTheLine", [] { return Typed(edNormal, '\r', "a", 1, 0, 0, true); }, "LF"},
    {"NumericHasNoLineBreaks", [] { return Typed(edNumeric, '\r', "1", 1, 0, 0, true); }, "\r"},
    // --- The length limit.
    {"AtTheLimitALetterIsDropped", [] { return Typed(edNormal, 'x', "abcde", 5, 0, 5); }, "-"},
    {"AtTheLimitBackspacePasses", [] { return Typed(edNormal, '\b', "abcde", 5, 0, 5); }, "\b"},
    {"AtTheLimitEnterNeedsAdvanceOnEnter", [] { return Typed(edNormal, '\r', "abcde", 5, 0, 5); }, "-"},
    {"AtTheLimitEnterPassesWithAdvanceOnEnter", [] { return Typed(edNormal, '\r', "abcde", 5, 0, 5, false, true); },
     "\r"},
    {"AHangulPairThatWouldPassTheLimitIsRefusedWhole", [] { return Typed(edNormal, '\xB0', "abcd", 4, 0, 5); }, "-"},
    {"ASelectionMakesRoomUnderTheLimit", [] { return Typed(edNormal, 'x', "abcde", 0, 2, 5); }, "x"},
    {"LimitAbove32767MeansNone", [] { return std::to_string(LengthLimitOf(40000)); }, "0"},
    {"LimitWithinRangeStays", [] { return std::to_string(LengthLimitOf(32767)); }, "32767"},
    // --- Case rules.
    {"MixedCaseMc", [] { return MixedCase("mcdonald"); }, "McDonald"},
    {"MixedCaseRomanTwo", [] { return MixedCase("henry ii"); }, "Henry II"},
    {"MixedCaseApostropheAndHyphen", [] { return MixedCase("o'neil-smith"); }, "O'Neil-Smith"},
    {"MixedCaseInnerMc", [] { return MixedCase("john mcdonald"); }, "John McDonald"},
    // "똠" is 8C 63: its trail byte is a "c" that no case rule may touch.
    {"MixedCaseLeavesATrailByte", [] { return MixedCase("a\x8C\x63 b"); }, "A\x8C\x63 B"},
    {"UpperTextLeavesATrailByte", [] { return UpperText("x\x8C\x63"); }, "X\x8C\x63"},
    // --- Look-up.
    {"LookupCompletesKeepingTheTypedCase", [] { return Lookup("ap", false); }, "apple"},
    {"LookupGoesOnToTheLongerPrefix", [] { return Lookup("apr", false); }, "apricot"},
    {"LookupCaseSensitiveFindsNone", [] { return Lookup("ap", true); }, "none"},
    {"LookupCompletesHangul", [] { return Lookup("\xB0\xA1", false); }, "\xB0\xA1\xB3\xAA"},
    {"LookupOfNothingFindsNothing", [] { return Lookup("", false); }, "none"},
    // --- Paste.
    {"PasteReplacesTheSelection", [] { return Pasted(edNormal, "abcd", 1, 2, "XY"); }, "aXYd"},
    {"NumericPasteNeedsAnInteger", [] { return Pasted(edNumeric, "12", 2, 0, "a"); }, "(nothing)"},
    {"NumericPasteTakesAnInteger", [] { return Pasted(edNumeric, "12", 0, 0, "-3"); }, "-312"},
    {"RegressionPositiveNumericPasteRefusesAMinus", [] { return Pasted(edPositiveNumeric, "12", 0, 0, "-3"); },
     "(nothing)"},
    {"FloatPasteTakesADecimal", [] { return Pasted(edFloat, "1", 1, 0, ".5"); }, "1.5"},
    {"MixedCasePasteIsRewritten", [] { return Pasted(edMixedCase, "", 0, 0, "henry ii"); }, "Henry II"},
    {"APasteLongerThanTheLimitPastesNothing", [] { return Pasted(edNormal, "ab", 2, 0, "cdef", 5); }, "(nothing)"},
    // --- The unit split.
    {"UnitSplitsNumberAndUnit", [] { return Split("12.5 kg"); }, "12.5| kg"},
    {"UnitWithACommaDecimal", [] { return Split("3,5 m"); }, "3,5| m"},
    {"UnitMixingLettersAndDigits", [] { return Split("A4 paper"); }, "4|A paper"},
    {"UnitHangulStaysWhole", [] { return Split("3\xB0\xB3"); }, "3|\xB0\xB3"},
    // --- The pending key.
    {"PendingKeyTakesASingleByte", [] { return Pending("a"); }, "[a]"},
    {"PendingKeyWaitsForTheTrailByte", [] { return Pending("\xB0\xA1"); }, ".[\xB0\xA1]"},
    // --- Spin values and characters.
    {"SpinIntOfANonNumberIsTheMinimum", [] { return std::to_string(SpinIntOf("abc", 3)); }, "3"},
    {"SpinFloatOfANonNumberIsTheMinimum", [] { return std::to_string(SpinFloatOf("x", -2)); }, "-2.000000"},
    {"SpinClampWithEqualBoundsDoesNotClamp", [] { return std::to_string(SpinClamp(7, 0, 0)); }, "7"},
    {"SpinClampClampsAbove", [] { return std::to_string(SpinClamp(170, 0, 100)); }, "100"},
    {"SpinFloatTextWithPrecision", [] { return SpinFloatText(2.5, 2); }, "2.50"},
    {"SpinFloatTextGeneral", [] { return SpinFloatText(2.5, 0); }, "2.5"},
    {"SpinRefusesALetter", [] { return Spin(sptNormal, 'a', "1", 1); }, "!"},
    {"SpinFloatTurnsTheThousandsSeparatorIntoADecimal", [] { return Spin(sptFloat, ',', "1", 1); }, "."},
    {"SpinFloatRefusesASecondDecimal", [] { return Spin(sptFloat, ',', "1.5", 3); }, "!"},
    {"SpinFloatRefusesADigitPastThePrecision", [] { return Spin(sptFloat, '3', "1.25", 4, 0, 2); }, "!"},
    {"SpinDateTakesTheDateSeparator", [] { return Spin(sptDate, '-', "2024", 4); }, "-"},
    {"SpinNormalRefusesTheDateSeparatorAfterADigit", [] { return Spin(sptNormal, ':', "1", 1); }, "!"},
    {"SpinDisabledEditorRefusesBackspace", [] { return Spin(sptNormal, '\b', "1", 1, 0, 0, false); }, "!"},
    {"SpinRefusesEnter", [] { return Spin(sptNormal, '\r', "1", 1); }, "!"},
    // --- Spin steps.
    {"MonthStepFromThe31stLandsOnTheLastDay", [] { return StepDate(2024, 1, 31, 1, 1); }, "2024-02-29"},
    {"MonthStepBackOverTheYear", [] { return StepDate(2024, 1, 15, 1, -1); }, "2023-12-15"},
    {"YearStepFromALeapDay", [] { return StepDate(2024, 2, 29, 2, 1); }, "2025-02-28"},
    {"DayStep", [] { return StepDate(2024, 2, 28, 0, 2); }, "2024-03-01"},
    {"DatePartsFollowTheFormatsOrder",
     [] {
         return std::to_string(SpinDateField("yyyy-mm-dd", 0)) + std::to_string(SpinDateField("dd/mm/yyyy", 0)) +
             std::to_string(SpinDateField("m/d/yyyy", 1));
     },
     "200"},
    {"CaretPartCountsSeparators",
     [] {
         return std::to_string(SpinPartAt("2024-03-05", 2, '-')) + std::to_string(SpinPartAt("2024-03-05", 6, '-')) +
             std::to_string(SpinPartAt("2024-03-05", 9, '-'));
     },
     "012"},
    {"TimeStepWrapsWithinTheDay", [] { return TimeToStr(SpinStepTime(EncodeTime(23, 30, 0, 0), 0, 1)); },
     "\xBF\xC0\xC0\xFC 12:30:00"},  // 오전 12:30:00
};

INSTANTIATE_TEST_SUITE_P(Rules, CellEditRules, ::testing::ValuesIn(kRules), CaseName);
