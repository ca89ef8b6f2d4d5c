// Matching a line that is still arriving: a match that goes on from what the tries of the shorter
// line found gives what a fresh match of the whole line gives, at every length of the line; and
// the work of all the partial passes over a line stays within a few looks per byte.

#include <random>

#include "ScriptTest.h"
#include "script/Pattern.h"
#include "script/PatternMemo.h"
#include "script/TriggerScan.h"

namespace {

// The pieces a row's patterns are made of and the pieces its lines are made of.
struct TMemoRow {
    const char* Name;
    std::vector<const char*> PatternParts;
    std::vector<const char*> LineParts;
    size_t LineLength;
    uint32_t Seeds = 150;
};

const TMemoRow kMemoRows[] = {
    {"DigitsAfterALiteral", {"a", "%d", "b", "ab"}, {"a", "a", "1", "23", "b", " "}, 200},
    {"WordsBetweenEnders", {"%s", " ", "x", "%d", ",", "%*"}, {"x", " ", ",", "a", "1", "xa", "."}, 200},
    {"AnyText", {"%*", "x", "ab", "%d"}, {"a", "b", "x", "ab", "9"}, 200},
    {"Anchored", {"^", "%s", "%d", "%*", "a", "b "}, {"a", "b", " ", "1", "ab "}, 200},
    {"HangulPairs", {"\xC7\xD1", "%s", "c", "%d", "\x8C"}, {"\xC7\xD1", "\x8C", "c", "\xC7", "1", " "}, 200},
    // Captures longer than a slot are cut: runs of digits and letters past 1024 bytes.
    {"LongCaptures", {"x", "%d", "%s", "%*", "y"}, {"x", "1111111111", "aaaaaaaaaa", "y", " "}, 2600, 30},
};

class TPatternMemo : public ::testing::TestWithParam<TMemoRow> {};

AnsiString RandomText(std::mt19937& random, const std::vector<const char*>& parts, size_t pieces)
{
    AnsiString text;
    for (size_t i = 0; i < pieces; ++i)
        text += parts[random() % parts.size()];
    return text;
}

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
        const AnsiString pattern = RandomText(random, row.PatternParts, 1 + random() % 5);
        const TCompiledPattern compiled = CompilePattern(pattern);
        AnsiString line;
        while (line.size() < row.LineLength)
            line += row.LineParts[random() % row.LineParts.size()];
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

// A pattern that never matches but wakes at every byte of a long line, and the line: its head,
// then its unit again and again.
struct TGrowingLineRow {
    const char* Name;
    const char* Pattern;
    const char* Head;
    const char* Unit;
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
    auto v = std::make_unique<cVariables>();
    v->Name = "v";
    v->Value = "Bob";
    state.VariableList.Add(std::move(v));
    AnsiString line = row.Head;
    while (line.size() < 20000)
        line += row.Unit;
    const uint64_t before = state.TriggerScan().PatternSteps();
    for (const char c : line)
        state.ScanReceivedText(AnsiString(1, c));
    EXPECT_TRUE(host.Events.empty()) << row.Name;
    // Before, each byte looked at the whole line again: some 200 million looks for this line.
    EXPECT_LE(state.TriggerScan().PatternSteps() - before, 12 * line.size()) << row.Name;
}

INSTANTIATE_TEST_SUITE_P(Rows, TGrowingLine, ::testing::ValuesIn(kGrowingLineRows),
                         [](const auto& row) { return std::string(row.param.Name); });

}  // namespace
