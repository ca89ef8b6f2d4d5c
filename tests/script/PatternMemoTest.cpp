// Matching a line that is still arriving: going on from what the tries of the shorter line found
// gives what a fresh match gives at every length of the line, and all the partial passes over a
// line look at each byte only a few times.

#include <random>

#include "ScriptTest.h"
#include "script/Pattern.h"
#include "script/PatternMemo.h"
#include "script/TriggerScan.h"

namespace {

// Random patterns and lines made of a row's parts.
struct TMemoRow {
    const char* Name;
    std::vector<const char*> PatternParts, LineParts;
    size_t LineLength;
    uint32_t Seeds = 150;
};

const TMemoRow kMemoRows[] = {
    {"DigitsAfterALiteral", {"a", "%d", "b", "ab"}, {"a", "a", "1", "23", "b", " "}, 200},
    {"WordsBetweenEnders", {"%s", " ", "x", "%d", ",", "%*"}, {"x", " ", ",", "a", "1", "xa", "."}, 200},
    {"AnyText", {"%*", "x", "ab", "%d"}, {"a", "b", "x", "ab", "9"}, 200},
    {"Anchored", {"^", "%s", "%d", "%*", "a", "b "}, {"a", "b", " ", "1", "ab "}, 200},
    {"HangulPairs", {"\xC7\xD1", "%s", "c", "%d", "\x8C"}, {"\xC7\xD1", "\x8C", "c", "\xC7", "1", " "}, 200},
    // Captures cut at the slot size: runs of digits and letters past 1024 bytes.
    {"LongCaptures", {"x", "%d", "%s", "%*", "y"}, {"x", "1111111111", "aaaaaaaaaa", "y", " "}, 2600, 30},
};

class TPatternMemo : public ::testing::TestWithParam<TMemoRow> {};

std::string Describe(bool matched, const TMatchResult& r)
{
    std::string out = matched ? "match" : "none";
    for (int k = 0; matched && k < r.Count; ++k) {
        const TCaptureSpan& c = r.Captures[static_cast<size_t>(k)];
        out += " " + std::to_string(c.Kind) + "@" + std::to_string(c.Begin) + "+" + std::to_string(c.Length);
    }
    return out;
}

TEST_P(TPatternMemo, GrowingLineMatchesAsAFreshMatch)
{
    const TMemoRow& row = GetParam();
    for (uint32_t seed = 1; seed <= row.Seeds; ++seed) {
        std::mt19937 random(seed);
        AnsiString pattern, line;
        for (uint32_t k = 1 + random() % 5; k > 0; --k)
            pattern += row.PatternParts[random() % row.PatternParts.size()];
        while (line.size() < row.LineLength)
            line += row.LineParts[random() % row.LineParts.size()];
        const TCompiledPattern compiled = CompilePattern(pattern);
        std::vector<uint8_t> starts;
        ComputeCharStarts(line, starts);
        TMatchMemo memo;
        for (size_t length = 1; length <= line.size(); ++length) {
            const std::string_view prefix = std::string_view(line).substr(0, length);
            TMatchResult fresh, resumed;
            const bool want = MatchPattern(compiled, prefix, starts.data(), fresh);
            const bool got = MatchPattern(compiled, prefix, starts.data(), resumed, &memo);
            ASSERT_EQ(Describe(got, resumed), Describe(want, fresh))
                << row.Name << " seed " << seed << " pattern '" << pattern << "' length " << length;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, TPatternMemo, ::testing::ValuesIn(kMemoRows),
                         [](const auto& row) { return std::string(row.param.Name); });

// A pattern that never matches but wakes at every byte, and a long line: its head, then its unit
// again and again.
struct TGrowingLineRow {
    const char *Name, *Pattern, *Head, *Unit;
};

const TGrowingLineRow kGrowingLineRows[] = {
    {"DigitAfterEveryLetter", "a%da", "", "a"},  {"AnyTextAfterAMissingLiteral", "x%*%*", "", "a"},
    {"PatternFromAVariable", "@(v)zz", "", "a"}, {"WordBeforeMissingDigits", "x%s%d%s", "x", "a"},
    {"DigitsThatNeverEnd", "x%d%s%*", "x", "1"}, {"WordStartAfterManyEnders", "x%s%d%s", "x", "a,"},
};

class TGrowingLine : public ::testing::TestWithParam<TGrowingLineRow> {};

TEST_P(TGrowingLine, RegressionEachByteOfALongLineSearchedTheWholeLineAgain)
{
    const TGrowingLineRow& row = GetParam();
    TTestHost host;
    TScriptState state(host);
    AddTrigger(state, row.Pattern, "say seen", Partial);
    state.VariableList.Add(std::make_unique<cVariables>())->Name = "v";
    state.VariableList[0]->Value = "Bob";
    AnsiString line = row.Head;
    while (line.size() < 20000)
        line += row.Unit;
    for (const char c : line)
        state.ScanReceivedText(AnsiString(1, c));
    EXPECT_TRUE(host.Events.empty());
    // Before, each byte looked at the whole line again: some 200 million looks for this line.
    EXPECT_LE(state.TriggerScan().PatternSteps(), 12 * line.size());
}

INSTANTIATE_TEST_SUITE_P(Rows, TGrowingLine, ::testing::ValuesIn(kGrowingLineRows),
                         [](const auto& row) { return std::string(row.param.Name); });

}  // namespace
