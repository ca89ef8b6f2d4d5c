#include "ScriptTestFixture.h"

#include "script/Buttons.h"

TEST(RecordsTest, NewRecordsHaveTheirDefaults)
{
    cTriggers trigger;
    EXPECT_EQ(trigger.Status, 13u);  // enabled, stays enabled, complete lines only
    EXPECT_EQ(trigger.ParentRec, nullptr);
    EXPECT_EQ(trigger.Number, 0);
    EXPECT_EQ(cKeyMacro().Action, 1);
    EXPECT_EQ(cButton().Status, 0);
    EXPECT_EQ(cVariables().Type, 'S');
    EXPECT_EQ(cTimer().Action & cTimer::CycleForever, cTimer::CycleForever);
    EXPECT_EQ(cConfig().TrigMode, 0);
}

TEST_F(ScriptTest, FreshStateHasWindowDefaults)
{
    EXPECT_EQ(state.CmdConfig.ActivePage, 2);
    EXPECT_EQ(state.CmdConfig.ToolView, 15);
    EXPECT_EQ(state.CmdConfig.TimerActivee, 0);
    // A new window has its triggers on, unlike the bare settings record.
    EXPECT_EQ(state.CmdConfig.TrigMode, 1);
    EXPECT_EQ(state.WalkRec.State, 0);
    EXPECT_EQ(state.WalkRec.Current, 0);
    EXPECT_EQ(state.WalkRec.Previous, -1);
    EXPECT_EQ(state.TriggerList.Count(), 0);
}

TEST(RecordsTest, OwnedListFreesWhatItRemoves)
{
    TVariableList list;
    auto* a = list.Add(std::make_unique<cVariables>());
    auto* b = list.Add(std::make_unique<cVariables>());
    EXPECT_EQ(list.IndexOf(b), 1);
    list.Remove(a);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list[0], b);
    EXPECT_EQ(list[1], nullptr);
    list.Delete(5);  // out of range: nothing
    list.Clear();
    EXPECT_TRUE(list.Empty());
}

TEST_F(ScriptTest, ButtonOnAndOffClickOnlyAButtonWithAControl)
{
    auto button = std::make_unique<cButton>();
    button->Name = " fight ";
    button->Status = 1;
    cButton* b = state.ButtonList.Add(std::move(button));

    ButtonOn(state, "fight");
    EXPECT_EQ(b->Status & 1, 0);  // cleared so the click leaves it on
    EXPECT_EQ(host.Count(TScriptEvent::Click), 0);

    int control = 0;
    b->Control = reinterpret_cast<TMyButton*>(&control);
    ButtonOn(state, "fight ");
    EXPECT_EQ(host.Count(TScriptEvent::Click), 1);

    // Without an OffBuff a button is not switched off.
    ButtonOff(state, "fight");
    EXPECT_EQ(host.Count(TScriptEvent::Click), 1);
    b->OffBuff = "rest";
    ButtonOff(state, "fight");
    EXPECT_EQ(b->Status & 1, 1);
    EXPECT_EQ(host.Count(TScriptEvent::Click), 2);
    ButtonOn(state, "nobody");
    EXPECT_EQ(host.Count(TScriptEvent::Click), 2);
}
