// The list boxes' display-free rules: the kept range, tab widths, the item-text limit and the
// check list box's cells, clicks and stored states.

#include "controls/core/ListBoxRules.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "HangulText.h"

namespace {

// Named steps on a list's widths: "+I:W" inserts width W at I, "-I" deletes item I, "c" clears.
struct TExtentCase {
    const char* name;
    std::vector<std::string> steps;
    int maxWidth;
    std::vector<bool> deletedWidest;  // what each "-I" step reported
};

class ListExtentCase : public ::testing::TestWithParam<TExtentCase> {};

TEST_P(ListExtentCase, KeepsTheWidest)
{
    const TExtentCase& c = GetParam();
    TListExtent extent;
    std::vector<bool> reported;
    for (const std::string& step : c.steps) {
        if (step[0] == '+') {
            const size_t colon = step.find(':');
            extent.Inserted(std::stoi(step.substr(1, colon - 1)), std::stoi(step.substr(colon + 1)));
        } else if (step[0] == '-') {
            reported.push_back(extent.Deleted(std::stoi(step.substr(1))));
        } else {
            extent.Clear();
        }
    }
    EXPECT_EQ(extent.MaxWidth(), c.maxWidth);
    EXPECT_EQ(reported, c.deletedWidest);
}

const TExtentCase kExtentCases[] = {
    {"AddGrowsTheRange", {"+0:10", "+1:40", "+2:20"}, 40, {}},
    {"InsertAtTheFrontGrowsIt", {"+0:10", "+0:50"}, 50, {}},
    {"DeletingTheWidestShrinksToTheNext", {"+0:10", "+1:40", "+2:20", "-1"}, 20, {true}},
    {"DeletingANarrowerLineChangesNothing", {"+0:10", "+1:40", "-0"}, 40, {false}},
    {"DeletingOneOfTwoWidestKeepsTheRange", {"+0:40", "+1:40", "-0"}, 40, {true}},
    {"DeletingTheLastLeavesZero", {"+0:30", "-0"}, 0, {true}},
    {"ClearResetsToZero", {"+0:30", "+1:60", "c"}, 0, {}},
    {"DeletingOutOfRangeDoesNothing", {"+0:30", "-5"}, 30, {false}},
    {"InsertPastTheEndAppends", {"+7:30", "+9:10", "-1"}, 30, {false}},
};

INSTANTIATE_TEST_SUITE_P(Steps, ListExtentCase, ::testing::ValuesIn(kExtentCases),
                         [](const auto& p) { return std::string(p.param.name); });

// Every character 6 pixels wide.
int SixEach(std::string_view s) { return static_cast<int>(s.size()) * 6; }

TEST(ListBoxRules, TabsMoveToTheNextStop)
{
    EXPECT_EQ(TabbedTextWidth("ab", 32, SixEach), 12);
    EXPECT_EQ(TabbedTextWidth("ab\tc", 32, SixEach), 38);
    EXPECT_EQ(TabbedTextWidth("\t\t", 32, SixEach), 64);
    // A stop below 1 counts as 1 instead of dividing by zero.
    EXPECT_EQ(TabbedTextWidth("a\tb", 0, SixEach), 13);
    EXPECT_EQ(ListTabStopPixels(8, 6), 12);
    EXPECT_EQ(ListTabStopPixels(5, 7), 9);
}

TEST(ListBoxRules, DrawnPiecesStandWhereTheWidthPutsThem)
{
    std::string drawn;
    const int width = TabbedTextPieces("ab\t\tc\td", 32, SixEach, [&](std::string_view piece, int x) {
        drawn += std::string(piece) + "@" + std::to_string(x) + " ";
    });
    EXPECT_EQ(drawn, "ab@0 c@64 d@96 ");
    EXPECT_EQ(width, 102);
}

TEST(ListBoxRules, ItemTextCutsBeforeAHalfCharacter)
{
    const AnsiString ascii(5000, 'a');
    EXPECT_EQ(CutListItemText(ascii).size(), kMaxListItemText);
    // 4094 letters and a Hangul pair: byte 4095 would split the pair, so both bytes go.
    const AnsiString split = AnsiString(4094, 'a') + hangul::kHanGeul;
    EXPECT_EQ(CutListItemText(split), AnsiString(4094, 'a'));
    const AnsiString whole = AnsiString(4093, 'a') + hangul::kGa + "z";
    EXPECT_EQ(CutListItemText(whole), AnsiString(4093, 'a') + hangul::kGa);
    EXPECT_EQ(CutListItemText("short"), "short");
}

TEST(ListBoxRules, CheckCellsFollowTheTable)
{
    const int expected[3][3][2] = {
        {{0, 3}, {1, 4}, {2, 5}}, {{6, 9}, {7, 10}, {8, 11}}, {{12, 15}, {13, 16}, {14, 17}}};
    for (int kind = 0; kind < 3; ++kind)
        for (int state = 0; state < 3; ++state)
            for (int disabled = 0; disabled < 2; ++disabled)
                EXPECT_EQ(CheckCellIndex(state, static_cast<TCheckKind>(kind), disabled == 0),
                          expected[kind][state][disabled])
                    << kind << " " << state << " " << disabled;
}

TEST(ListBoxRules, GrayCyclingAndRadioClicks)
{
    // Check boxes with grayed states: unchecked, grayed, checked, unchecked.
    int s = kCheckUnchecked;
    std::vector<int> cycle;
    for (int i = 0; i < 3; ++i)
        cycle.push_back(s = NextCheckState(s, true, ckCheckBoxes));
    EXPECT_EQ(cycle, (std::vector<int>{kCheckGrayed, kCheckChecked, kCheckUnchecked}));
    EXPECT_EQ(NextCheckState(kCheckUnchecked, false, ckCheckBoxes), kCheckChecked);
    // Radio buttons never go grayed.
    EXPECT_EQ(NextCheckState(kCheckUnchecked, true, ckRadioButtons), kCheckChecked);
    EXPECT_EQ(ReportedCheckState(kCheckGrayed, ckRadioButtons), kCheckUnchecked);
    EXPECT_EQ(ReportedCheckState(kCheckGrayed, ckCheckMarks), kCheckGrayed);
}

struct TMemoryCheckStates {
    std::map<std::string, int> values;
    std::vector<std::string> order;
    TCheckStatesStore Store()
    {
        return {[this] {
                    values.clear();
                    order.clear();
                },
                [this](const AnsiString& k, int v) {
                    values[k] = v;
                    order.push_back(k + "=" + std::to_string(v));
                },
                [this](const AnsiString& k, int d) { return values.count(k) ? values[k] : d; }};
    }
};

TEST(ListBoxRules, SavedStatesWriteCountThenItems)
{
    TMemoryCheckStates m;
    m.values["Stale"] = 9;
    SaveCheckStates(m.Store(), {kCheckChecked, kCheckUnchecked, kCheckGrayed});
    EXPECT_EQ(m.order, (std::vector<std::string>{"Count=3", "Item0=1", "Item1=0", "Item2=2"}));
    EXPECT_EQ(m.values.count("Stale"), 0u);
}

TEST(ListBoxRules, RestoredStatesStopAtTheListAndTheRadioCheck)
{
    TMemoryCheckStates m;
    m.values = {{"Count", 4}, {"Item0", 0}, {"Item1", 1}, {"Item2", 1}, {"Item3", 2}};
    std::vector<std::string> set;
    auto record = [&set](int i, int s) { set.push_back(std::to_string(i) + ":" + std::to_string(s)); };
    RestoreCheckStates(m.Store(), 3, ckCheckBoxes, record);
    EXPECT_EQ(set, (std::vector<std::string>{"0:0", "1:1", "2:1"}));
    set.clear();
    RestoreCheckStates(m.Store(), 9, ckRadioButtons, record);
    EXPECT_EQ(set, (std::vector<std::string>{"0:0", "1:1"}));
}

TEST(ListBoxRules, RegressionStoredStateOutOfRangeReadsUnchecked)
{
    TMemoryCheckStates m;
    m.values = {{"Count", 2}, {"Item0", 7}, {"Item1", -3}};
    std::vector<int> states;
    RestoreCheckStates(m.Store(), 2, ckCheckBoxes, [&](int, int s) { states.push_back(s); });
    EXPECT_EQ(states, (std::vector<int>{kCheckUnchecked, kCheckUnchecked}));
}

TEST(ListBoxRules, RegressionStoredStateCountPastTheKeysReadsTheMissingOnesUnchecked)
{
    TMemoryCheckStates m;
    m.values = {{"Count", 2000000000}, {"Item0", 1}, {"Item2", 1}};
    std::vector<int> states;
    RestoreCheckStates(m.Store(), 5, ckCheckBoxes, [&](int, int s) { states.push_back(s); });
    // The items bound the count; every missing key reads unchecked.
    EXPECT_EQ(states,
              (std::vector<int>{kCheckChecked, kCheckUnchecked, kCheckChecked, kCheckUnchecked, kCheckUnchecked}));
}

// A left press in a list whose drag is automatic, by selection kind, keys and item.
struct TPressDragCase {
    const char* name;
    bool multiSelect, shift, ctrl, onSelected;
    TListPressDrag result;
};

class ListPressDragCase : public ::testing::TestWithParam<TPressDragCase> {};

TEST_P(ListPressDragCase, DecidesTheDrag)
{
    const TPressDragCase& c = GetParam();
    EXPECT_EQ(ListPressDrag(c.multiSelect, c.shift, c.ctrl, c.onSelected), c.result);
}

const TPressDragCase kPressDragCases[] = {
    {"SingleSelectionWaitsForTheMove", false, false, false, true, lpdAfterPress},
    {"SingleSelectionIgnoresTheKeys", false, true, true, false, lpdAfterPress},
    {"MultiplePlainPressOnSelectedDragsAtOnce", true, false, false, true, lpdAtOnce},
    {"MultipleCtrlPressOnSelectedDragsAtOnce", true, false, true, true, lpdAtOnce},
    {"MultipleShiftCtrlPressOnSelectedDragsAtOnce", true, true, true, true, lpdAtOnce},
    {"MultipleShiftPressOnSelectedOnlySelects", true, true, false, true, lpdNone},
    {"MultipleCtrlPressElsewhereOnlySelects", true, false, true, false, lpdNone},
    {"MultipleShiftPressElsewhereOnlySelects", true, true, false, false, lpdNone},
    {"MultiplePlainPressElsewhereWaitsForTheMove", true, false, false, false, lpdAfterPress},
};

INSTANTIATE_TEST_SUITE_P(Presses, ListPressDragCase, ::testing::ValuesIn(kPressDragCases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(ListBoxRules, AWaitingDragBeginsFivePixelsAway)
{
    EXPECT_FALSE(ListDragBegins(10, 10, 14, 6));
    EXPECT_TRUE(ListDragBegins(10, 10, 15, 10));
    EXPECT_TRUE(ListDragBegins(10, 10, 10, 5));
    EXPECT_FALSE(ListDragBegins(10, 10, 10, 10));
}

}  // namespace
