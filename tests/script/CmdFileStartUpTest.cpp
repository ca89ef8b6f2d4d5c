// What a load does besides reading: clearing the lists, running the start-up commands, and the
// key-macro look-up over what was loaded.

#include "CmdFileTest.h"
#include "script/ScriptText.h"

TEST_F(CmdFileTest, StartUpCommandsRunAfterTheLoad)
{
    ASSERT_TRUE(state.LoadCmdFile(GoldenPath()));
    // "#rem", then an alias of the file just loaded, then plain text.
    EXPECT_EQ(Lines(), (Strings{Ks("say 안녕하세요"), "bow", Ks("봐")}));
    // The path is recorded and the book saved before the first command runs.
    ASSERT_FALSE(host.Events.empty());
    EXPECT_EQ(host.Events.front().What, TScriptEvent::SaveBook);
}

TEST_F(CmdFileTest, StartUpCommandsRunAfterALoadWithFaults)
{
    LoadText("#Config\r\nStartUpCmd 9 go\r\nnorth\r\nBad 1\r\nEnd\r\n#END\r\n");
    EXPECT_EQ(Boxes(), (std::vector<AnsiString>{CmdFileMessages::BadConfigKey, CmdFileMessages::BadFormat}));
    EXPECT_EQ(Lines(), (Strings{"go", "north"}));
}

TEST_F(CmdFileTest, EmptyStartUpRunsNothing)
{
    state.CmdConfig.StartUpCmd = "from before";  // cleared by the load
    ASSERT_TRUE(LoadText("#Config\r\nTrigMode 1\r\nEnd\r\n#END\r\n"));
    EXPECT_TRUE(Sends().empty());
    state.RunStartUpCmd();
    EXPECT_TRUE(Sends().empty());
}

TEST_F(CmdFileTest, StartUpLinesSplitAtEveryLineEnd)
{
    state.CmdConfig.StartUpCmd = "a\rb\nc\r\n\r\nd|e";
    state.RunStartUpCmd();
    EXPECT_EQ(Lines(), (Strings{"a", "b", "c", "d", "e"}));
}

namespace {

// A host that loads the file again whenever the script sends "reload", as a start-up command
// that loads its own file does.
class ReloadingHost : public TRecordingHost {
public:
    void SendText(const AnsiString& text) override
    {
        TRecordingHost::SendText(text);
        if (text == "reload") {
            ++Loads;
            State->LoadCmdFile(Path);
        }
    }
    TScriptState* State = nullptr;
    AnsiString Path;
    int Loads = 0;
};

} // namespace

TEST_F(CmdFileTest, FileThatLoadsItselfStopsAtTheNestingLimit)
{
    ReloadingHost reloading;
    TScriptState self(reloading);
    reloading.State = &self;
    reloading.Path = WriteFile("Self.Cmd", "#Config\r\nStartUpCmd 12 reload\r\nnext\r\nEnd\r\n"
                                           "#Alias\r\nName 1 a\r\nText 1 b\r\nEnd\r\n#END\r\n");
    EXPECT_TRUE(self.LoadCmdFile(reloading.Path));
    EXPECT_EQ(reloading.Loads, TScriptState::MaxNesting);
    // One warning; the outermost start-up text still runs its next line, the nested ones stop.
    EXPECT_EQ(reloading.Messages(), ScriptText::NestingTooDeep);
    int nexts = 0;
    for (const auto& e : reloading.Events)
        nexts += e.What == TScriptEvent::Send && e.Text == "next";
    EXPECT_EQ(nexts, 1);
    // Every load replaced the lists: one copy of the file's records.
    EXPECT_EQ(self.AliasList.Count(), 1);
    EXPECT_EQ(self.ExecuteCommand("a"), true);  // the engine is usable afterwards
}

TEST_F(CmdFileTest, ClearEmptiesTheListsAndTwoSettings)
{
    ASSERT_TRUE(state.LoadCmdFile(GoldenPath()));
    state.CmdConfig.TimerActivee = 1;
    state.ClearCmdData();
    EXPECT_EQ(state.ButtonList.Count() + state.TimerRecList.Count() + state.TriggerList.Count() +
                  state.VariableList.Count() + state.AliasList.Count() + state.KeyMacroList.Count(),
              0);
    EXPECT_EQ(state.CmdConfig.StatusLine, "");
    EXPECT_EQ(state.CmdConfig.StartUpCmd, "");
    // The other settings stay.
    EXPECT_EQ(state.CmdConfig.ActivePage, 3);
    EXPECT_EQ(state.CmdConfig.ToolView, 11);
    EXPECT_EQ(state.CmdConfig.TrigMode, 1);
    EXPECT_EQ(state.CmdConfig.TimerActivee, 1);
    EXPECT_EQ(state.CmdConfig.WFCSCmd, "ws");
    EXPECT_EQ(state.CmdConfig.WFCFCmd, Ks("wf 끝"));
}

TEST_F(CmdFileTest, KeyMacroLookUpFindsTheFirstWithTheShortCut)
{
    ASSERT_TRUE(state.LoadCmdFile(GoldenPath()));
    auto* second = state.KeyMacroList.Add(std::make_unique<cKeyMacro>());
    second->ShortCut = 112;
    auto* ctrl = state.KeyMacroList.Add(std::make_unique<cKeyMacro>());
    ctrl->ShortCut = scCtrl | scShift | 'A';

    EXPECT_EQ(FindKeyMacroByShortCut(state.KeyMacroList, 112), state.KeyMacroList[0]);
    EXPECT_EQ(FindKeyMacro(state.KeyMacroList, 112, TShiftState()), state.KeyMacroList[0]);
    // Disabled macros are found too (Action 0 in the golden file).
    EXPECT_EQ(FindKeyMacro(state.KeyMacroList, '1', TShiftState{ssAlt}), state.KeyMacroList[1]);
    EXPECT_EQ(FindKeyMacro(state.KeyMacroList, 'A', TShiftState{ssShift, ssCtrl}), ctrl);
    EXPECT_EQ(FindKeyMacro(state.KeyMacroList, 'A', TShiftState{ssCtrl}), nullptr);
    EXPECT_EQ(FindKeyMacro(state.KeyMacroList, 'A', TShiftState{ssShift, ssCtrl, ssLeft}), ctrl);
}

// A macro whose key was never set has ShortCut 0; a key press that maps to no key code must not
// run it.
TEST_F(CmdFileTest, KeyWithoutACodeFindsNoMacro)
{
    state.KeyMacroList.Add(std::make_unique<cKeyMacro>());
    EXPECT_EQ(FindKeyMacroByShortCut(state.KeyMacroList, 0), nullptr);
    EXPECT_EQ(FindKeyMacro(state.KeyMacroList, 0x1FF, TShiftState()), nullptr);
}

TEST_F(CmdFileTest, LoadedTimersGetTheirSettingsAndTick)
{
    ASSERT_TRUE(LoadText("#Timer\r\nAction 0\r\nStatus 2\r\nTicker 3\r\nRepeat 2\r\nName 1 t\r\nOnBuff 4 tick\r\n"
                         "End\r\n#END\r\n"));
    ASSERT_EQ(state.TimerRecList.Count(), 1);
    EXPECT_EQ(state.TimerRecList[0]->Countdown, 3);
    EXPECT_EQ(state.TimerRecList[0]->RepeatsLeft, 2);
    EXPECT_EQ(host.UserTimers.Count(), 1);
    EXPECT_TRUE(host.UserTimers.Active());
    host.Clock.Advance(10000);
    EXPECT_EQ(Lines(), (Strings{"tick", "tick"}));  // at 3 s and 6 s, then off
}

TEST_F(CmdFileTest, ConfigSwitchesTheUserTimersOnOrOff)
{
    const std::string timer = "#Timer\r\nStatus 1\r\nTicker 1\r\nName 1 t\r\nOnBuff 4 tick\r\nEnd\r\n";
    LoadText(timer + "#Config\r\nTimerActivee 0\r\nEnd\r\n#END\r\n");
    EXPECT_FALSE(host.UserTimers.Active());
    host.Clock.Advance(3000);
    EXPECT_TRUE(Sends().empty());
    LoadText(timer + "#Config\r\nTimerActivee 1\r\nEnd\r\n#END\r\n");
    EXPECT_TRUE(host.UserTimers.Active());
    host.Clock.Advance(2000);
    EXPECT_EQ(Lines(), (Strings{"tick", "tick"}));
}

TEST_F(CmdFileTest, LoadAndClearTakeTheOldTimersEventsAway)
{
    LoadText("#Timer\r\nStatus 1\r\nTicker 1\r\nName 1 a\r\nOnBuff 3 old\r\nEnd\r\n#END\r\n");
    LoadText("#Timer\r\nStatus 1\r\nTicker 1\r\nName 1 b\r\nOnBuff 3 new\r\nEnd\r\n#END\r\n");
    EXPECT_EQ(host.UserTimers.Count(), 1);
    host.Clock.Advance(1000);
    EXPECT_EQ(Lines(), Strings{"new"});
    state.ClearCmdData();
    EXPECT_EQ(host.UserTimers.Count(), 0);
    host.Clock.Advance(3000);
    EXPECT_EQ(Lines(), Strings{"new"});
}
