// What the trigger scan costs per received byte, counted in bytes asked of new
// (CountedAllocation.h): a pattern that names a variable is expanded at every try, and that must
// cost no more than the longest pattern, however long the line or the variable it names.

#include <gtest/gtest.h>

#include <functional>

#include "CountedAllocation.h"
#include "script/Pattern.h"
#include "script/RecordingHost.h"
#include "script/ScriptState.h"
#include "script/TriggerRecords.h"

namespace {

constexpr size_t kLongText = size_t{1} << 20;

struct TTriggerCostRow {
    const char* Name;
    const char* From;  // a partial-line trigger, tried at every byte (__현재줄, __마지막줄 in cp949)
    std::function<void(TScriptState&)> Prepare;
    size_t LineBytes;  // one line of 'a's, received a byte a piece
};

const TTriggerCostRow kTriggerCostRows[] = {
    {"RegressionAPatternNamingTheLineWasExpandedWholeAtEveryByte", "zz@(__\xC7\xF6\xC0\xE7\xC1\xD9)",
     [](TScriptState&) {}, size_t{64} << 10},
    {"RegressionAPatternNamingTheLastLineCostItsLengthAtEveryByte", "@(__\xB8\xB6\xC1\xF6\xB8\xB7\xC1\xD9)zz",
     [](TScriptState& s) { s.LastLine.assign(kLongText, 'b'); }, size_t{4} << 10},
    {"RegressionAPatternNamingALongVariableCostItsLengthAtEveryByte", "@(big)zz",
     [](TScriptState& s) {
         auto v = std::make_unique<cVariables>();
         v->Name = "big";
         v->Value.assign(kLongText, 'b');
         s.VariableList.Add(std::move(v));
     },
     size_t{4} << 10},
};

void PrintTo(const TTriggerCostRow& row, std::ostream* out) { *out << row.Name; }

class TTriggerCost : public ::testing::TestWithParam<TTriggerCostRow> {};

TEST_P(TTriggerCost, CostsPerByteInProportionToThePatternLimit)
{
    const TTriggerCostRow& row = GetParam();
    TRecordingHost host;
    TScriptState state(host);
    row.Prepare(state);
    SetTrigger(state.TriggerList, "", "", row.From, "say matched", cTriggers::Enabled | cTriggers::StaysEnabled);
    state.TriggersChanged();
    state.ScanReceivedText("a");  // the scan's own tables are made

    const int64_t before = AllocatedBytes();
    const AnsiString a = "a";
    for (size_t i = 1; i < row.LineBytes; ++i)
        state.ScanReceivedText(a);
    const int64_t perByte = (AllocatedBytes() - before) / static_cast<int64_t>(row.LineBytes);
    // The pattern is longer than the limit after expansion, so it never matches.
    EXPECT_TRUE(host.Events.empty());
    EXPECT_LE(perByte, static_cast<int64_t>(4 * TCompiledPattern::MaxLength));
}

INSTANTIATE_TEST_SUITE_P(Rows, TTriggerCost, ::testing::ValuesIn(kTriggerCostRows),
                         [](const auto& row) { return std::string(row.param.Name); });

}  // namespace
