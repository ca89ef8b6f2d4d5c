// The item dialogs' checks and what their Save writes, and the button bar's layout and clicks.

#include "app/core/ItemEdits.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/core/ButtonBar.h"
#include "script/UserTimer.h"

// The file's own namespace keeps the using-directive out of the test files compiled with it.
namespace item_edits_test {
namespace {

using namespace ItemEdit;

TEST(TriggerDialog, EmptyNicknameBecomesTheNumber)
{
    cTriggers t;
    t.Number = 3;
    EXPECT_TRUE(SaveTrigger(t, {true, false, true, "", "g", "(hp)", "say"}));
    EXPECT_EQ(t.NickName, "3");
    EXPECT_EQ(t.Status, cTriggers::Enabled | cTriggers::CompleteOnly);
    EXPECT_EQ(TriggerCaption(t), "\xC6\xAE\xB8\xAE\xB0\xC5 \xBF\xA1\xB5\xF0\xC5\xCD(3)");  // 트리거 에디터(3)
}

TEST(TriggerDialog, RefusedSaveHasWrittenThePattern)
{
    cTriggers t;
    EXPECT_FALSE(SaveTrigger(t, {true, true, true, "n", "", "(hp)", ""}));
    EXPECT_EQ(t.From, "(hp)");
}

TEST(TriggerDialog, FiredBitSurvivesSave)
{
    cTriggers t;
    t.Status = cTriggers::FiredOnLine;
    SaveTrigger(t, {false, false, false, "n", "", "a", "b"});
    EXPECT_EQ(t.Status, cTriggers::FiredOnLine);
}

TEST(MacroDialog, AnotherMacrosKeyIsTakenButItsOwnIsNot)
{
    TKeyMacroList list;
    cKeyMacro* f1 = list.Add(std::make_unique<cKeyMacro>());
    f1->ShortCut = 0x4070;
    EXPECT_EQ(KeyTakenBy(list, nullptr, 0x4070), f1);
    EXPECT_EQ(KeyTakenBy(list, f1, 0x4070), nullptr);
    EXPECT_EQ(KeyTakenBy(list, nullptr, 0x4071), nullptr);
}

TEST(MacroDialog, CtrlF1IsNamedAsTheMenusShowIt)
{
    cKeyMacro m;
    SaveMacro(m, ShortCut(0x70, TShiftState{ssCtrl}), "kill");
    EXPECT_EQ(m.ShortCut, 0x4070);
    EXPECT_EQ(m.Name, "Ctrl+F1");
    EXPECT_EQ(m.ToBuff, "kill");
}

TEST(ButtonDialog, EmptyNameWritesNothing)
{
    cButton b;
    b.Name = "old";
    EXPECT_FALSE(SaveButton(b, {"", true, "on", "off"}));
    EXPECT_EQ(b.Name, "old");
}

TEST(ButtonDialog, OnlyAToggleIsSavedOn)
{
    cButton push, toggle;
    SaveButton(push, {"p", true, "on", ""});
    SaveButton(toggle, {"t", true, "on", "off"});
    EXPECT_EQ(push.Status, 0);
    EXPECT_EQ(toggle.Status, 1);
    EXPECT_FALSE(ButtonMayBeOn(""));
}

struct TChoiceCase {
    const char* name;
    int32_t status;
    int choice;
};

class TimerChoices : public ::testing::TestWithParam<TChoiceCase> {};

TEST_P(TimerChoices, RoundTrip)
{
    EXPECT_EQ(TimerChoiceOf(GetParam().status), GetParam().choice);
    EXPECT_EQ(TimerStatusOf(GetParam().choice), GetParam().status);
}

const TChoiceCase kChoices[] = {{"Off", utsOff, tcOff},
                                {"On", utsOn, tcOn},
                                {"StopIsThird", utsStop, tcStop},
                                {"ResetIsLast", utsRestart, tcReset}};

INSTANTIATE_TEST_SUITE_P(Status, TimerChoices, ::testing::ValuesIn(kChoices),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(TimerDialog, CyclingKeepsTheRepeatButDisablesItsBox)
{
    cTimer t;
    EXPECT_TRUE(SaveTimer(t, {"t", true, 10, 4, tcOn, "look"}));
    EXPECT_EQ(t.Action, cTimer::CycleForever);
    EXPECT_EQ(t.Repeat, 4);
    EXPECT_FALSE(TimerRepeatEnabled(true));
    EXPECT_TRUE(TimerRepeatEnabled(false));
    EXPECT_FALSE(SaveTimer(t, {"", false, 1, 1, tcOff, ""}));
}

TEST(AliasDialog, NamesCompareExactly)
{
    TAliasList list;
    cAlias* gg = list.Add(std::make_unique<cAlias>());
    gg->Name = "gg";
    EXPECT_EQ(CheckAliasName(list, nullptr, "GG"), TNameCheck::Ok);
    EXPECT_EQ(CheckAliasName(list, nullptr, "gg"), TNameCheck::Taken);
    EXPECT_EQ(CheckAliasName(list, gg, "gg"), TNameCheck::Ok);
    EXPECT_EQ(CheckAliasName(list, nullptr, ""), TNameCheck::Empty);
}

TEST(VariableDialog, TakenNameIsReportedWithTheOthersName)
{
    TVariableList list;
    list.Add(std::make_unique<cVariables>())->Name = "hp";
    AnsiString taken;
    EXPECT_EQ(CheckVariableName(list, nullptr, "hp", taken), TNameCheck::Taken);
    // 변수 이름(hp)를 가진 다른 변수가 있습니다.
    EXPECT_EQ(VariableTakenText(taken),
              "\xBA\xAF\xBC\xF6 \xC0\xCC\xB8\xA7(hp)\xB8\xA6 \xB0\xA1\xC1\xF8 "
              "\xB4\xD9\xB8\xA5 \xBA\xAF\xBC\xF6\xB0\xA1 \xC0\xD6\xBD\xC0\xB4\xCF\xB4\xD9.");
    cVariables v;
    v.Dvalue = "0";
    SaveVariable(v, "sp", true, "5");
    EXPECT_EQ(v.Type, 'D');
    EXPECT_EQ(v.Dvalue, "0");
    EXPECT_FALSE(VariableNameTakes(' '));
}

// --- The button bar -------------------------------------------------------------------------------

struct TPlaceCase {
    const char* name;
    int panelWidth;
    int index;
    int left, top;
};

class BarPlaces : public ::testing::TestWithParam<TPlaceCase> {};

TEST_P(BarPlaces, RowsOfSixtyTwoPixels)
{
    const TPlaceCase& c = GetParam();
    const TBarButtonPlace place = BarButtonPlace(c.index, c.panelWidth, cButton());
    EXPECT_EQ(place.Left, c.left);
    EXPECT_EQ(place.Top, c.top);
}

const TPlaceCase kPlaces[] = {
    {"FourthFitsIn258", 258, 3, 196, 10},
    {"FifthStartsTheSecondRow", 258, 4, 10, 32},
    {"NarrowPanelHasOnePerRow", 60, 1, 10, 32},
    {"PanelNarrowerThan72StillOne", 0, 2, 10, 54},
};

INSTANTIATE_TEST_SUITE_P(Layout, BarPlaces, ::testing::ValuesIn(kPlaces),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(BarClicks, PushButtonRunsOnEveryTimeAndNeverStaysDown)
{
    cButton b;
    b.OnBuff = "on";
    for (int i = 0; i < 2; ++i) {
        const TBarClick click = BarButtonClick(b);
        EXPECT_EQ(click.Command, "on");
        ApplyBarClick(b, click);
        EXPECT_EQ(b.Status, 0);
    }
    EXPECT_EQ(BarButtonPlace(0, 258, b).GroupIndex, 0);
}

TEST(BarClicks, ToggleAlternatesAndKeepsItsState)
{
    cButton b;
    b.OnBuff = "on", b.OffBuff = "off";
    std::string commands;
    for (int i = 0; i < 3; ++i) {
        const TBarClick click = BarButtonClick(b);
        commands += click.Command + ",";
        ApplyBarClick(b, click);
    }
    EXPECT_EQ(commands, "on,off,on,");
    EXPECT_EQ(b.Status, 1);
    EXPECT_EQ(BarButtonPlace(2, 258, b).GroupIndex, 3);
    EXPECT_TRUE(BarButtonPlace(2, 258, b).Down);
}

}  // namespace
}  // namespace item_edits_test
