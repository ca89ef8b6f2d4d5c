// The walk words: recording, saving, closing, replaying step by step, to breakpoints and at
// speed, moving the index, the walk timer and finding the way back onto the walk.

#include "HashCommandTest.h"
#include "script/Walk.h"

namespace {

// Six steps, breakpoints before the third and the fifth.
constexpr const char* SixSteps = "n\r\ne\r\nB s\r\nw\r\nB u\r\nd\r\n";

} // namespace

TEST_F(HashCommandTest, WalkWordsWithoutAWalk)
{
    Run("#wg|#wal|#wr|#wn 2|#ws|#wnb|#we|#wp n|#wsn");
    AnsiString expected;
    for (int i = 0; i < 9; ++i)
        expected += ScriptText::NoWalk;
    EXPECT_EQ(Messages(), expected);
    // These need no message: nothing to do without a walk.
    Clear();
    Run("#wc|#wok|#wsf|#wd|#wsb|#wrb|#wfn n|#wsp 1|#wspk|#wl");
    EXPECT_EQ(Messages(), "");
    EXPECT_TRUE(Lines().empty());
    EXPECT_EQ(state.WalkRec.State, 0);
}

TEST_F(HashCommandTest, RecordingWordsEditAndSaveTheWalk)
{
    NewWalkRecord(state, "r.Wlk");
    Run("n|say hi");  // typed movement words are recorded as they are sent
    Run("#wp e|#wp look|#wsb|#wp s|#wd");
    EXPECT_EQ(state.WalkRec.Steps, (Strings{"n", "B e"}));
    EXPECT_EQ(Lines(), (Strings{"n", "say hi"}));  // "wp" records without sending
    Run("#we");
    EXPECT_EQ(state.WalkRec.State, 2);
    EXPECT_EQ(ReadFile(Folder + "/Cmd/r.Wlk"), "n\r\nB e\r\n");
    Run("#wc");
    EXPECT_EQ(state.WalkRec.State, 0);
    EXPECT_TRUE(state.WalkRec.Steps.empty());
    EXPECT_EQ(Messages(), "");
}

TEST_F(HashCommandTest, StepWordsSendConfirmAndRepeat)
{
    WriteFile("Cmd/a.Wlk", SixSteps);
    Run("#wl a.Wlk");
    ASSERT_EQ(state.WalkRec.State, 2);
    ASSERT_EQ(state.WalkRec.Steps.size(), 6u);
    Run("#wg|#wg|#wal");  // sent, pending; sent again twice
    Run("#wok|#wal");     // confirmed; "wal" resends the last confirmed step
    EXPECT_EQ(Lines(), (Strings{"n", "n", "n", "n"}));
    EXPECT_EQ(state.WalkRec.Current, 1);
    Clear();
    Run("#wg|#wsf|#wg|#wok");  // cancelled: the same step goes again
    EXPECT_EQ(Lines(), (Strings{"e", "e"}));
    EXPECT_EQ(state.WalkRec.Current, 2);
}

TEST_F(HashCommandTest, RunWordsGoToBreakpointsCountsAndTheEnd)
{
    WriteFile("Cmd/a.Wlk", SixSteps);
    Run("#wl a.Wlk|#wnb");
    EXPECT_EQ(Lines(), (Strings{"n", "e"}));  // stops before the breakpoint
    Clear();
    Run("#wnb");
    EXPECT_EQ(Lines(), (Strings{"s", "w"}));
    Clear();
    Run("#wrb");  // the breakpoint at the current step goes
    EXPECT_EQ(state.WalkRec.Steps[4][0], ' ');
    Run("#wnb");
    EXPECT_EQ(Lines(), (Strings{"u", "d"}));
    Clear();
    Run("#wr|#wn 2");
    EXPECT_EQ(Lines(), (Strings{"n", "e"}));
    Clear();
    Run("#wn");  // one step without a count
    EXPECT_EQ(Lines(), Strings{"s"});
    Clear();
    Run("#ws");
    EXPECT_EQ(Lines(), (Strings{"w", "u", "d"}));
    Clear();
    Run("#wg");  // at the end without auto-rewind: nothing
    EXPECT_TRUE(Lines().empty());
}

TEST_F(HashCommandTest, IndexWordsMoveTheWalk)
{
    WriteFile("Cmd/a.Wlk", SixSteps);
    Run("#wl a.Wlk|#wn 2");
    EXPECT_EQ(state.WalkRec.Saved, 0);
    Run("#wms");  // a multi-step run is marked: the saved index moves on
    EXPECT_EQ(state.WalkRec.Saved, 1);
    Run("#wmfi");  // unmarked, back to the saved step
    EXPECT_EQ(state.WalkRec.Current, 1);
    EXPECT_EQ(state.WalkRec.MultiStep, 0);
    Run("#wn|#wmf|#wms");  // unmarked: the saved index stays
    EXPECT_EQ(state.WalkRec.Current, 2);
    EXPECT_EQ(state.WalkRec.Saved, 1);
    Run("#wsm");
    EXPECT_EQ(state.WalkRec.Current, 1);
    Run("#wgt 4");
    EXPECT_EQ(state.WalkRec.Current, 4);
    Run("#wgt");  // no step given: nothing
    EXPECT_EQ(state.WalkRec.Current, 4);
    Run("#wgt 1|#wg|#wok|#wgf");  // back to the step before the last confirmed move
    EXPECT_EQ(state.WalkRec.Current, 1);
    Clear();
    Run("#wg");
    EXPECT_EQ(Lines(), Strings{"e"});
}

TEST_F(HashCommandTest, TimerWordsSendTheNextStepLater)
{
    WriteFile("Cmd/a.Wlk", SixSteps);
    Run("#wl a.Wlk|#wg");
    Clear();
    Run("#wsp 3");
    AdvanceSeconds(2);
    EXPECT_TRUE(Lines().empty());
    AdvanceSeconds(1);
    EXPECT_EQ(Lines(), Strings{"e"});
    AdvanceSeconds(20);  // once per start
    EXPECT_EQ(Lines(), Strings{"e"});
    Clear();
    Run("#wsp");  // ten seconds without an argument
    AdvanceSeconds(9);
    EXPECT_TRUE(Lines().empty());
    AdvanceSeconds(1);
    EXPECT_EQ(Lines(), Strings{"s"});
    Clear();
    Run("#wsp 5|#wspk");  // at once, and the timer stops
    EXPECT_EQ(Lines(), Strings{"w"});
    AdvanceSeconds(10);
    EXPECT_EQ(Lines(), Strings{"w"});
    Clear();
    Run("#wsn");
    EXPECT_EQ(Lines(), Strings{"u"});
}

TEST_F(HashCommandTest, FindWordPutsTheCharacterBackOnTheWalk)
{
    WriteFile("Cmd/a.Wlk", SixSteps);
    Run("#wl a.Wlk|#wg|#wok");
    Clear();
    Run("#wfn e");  // moved along the walk
    EXPECT_EQ(state.WalkRec.Current, 2);
    Run("#wfn n");  // moved off it: the move is undone
    EXPECT_EQ(Lines(), Strings{"s"});
    EXPECT_EQ(state.WalkRec.Current, 2);
    Run("#wfn w");  // moved back along it
    EXPECT_EQ(state.WalkRec.Current, 1);
}

TEST_F(HashCommandTest, WalkWordsFromATriggerAction)
{
    WriteFile("Cmd/a.Wlk", SixSteps);
    AddTrigger("moved", "You arrive", "#wok|#wg");
    AddTrigger("blocked", "You cannot go", "#wal");
    Run("#wl a.Wlk|#wg");
    Receive("You cannot go\r\nYou arrive\r\nYou arrive\r\n");
    EXPECT_EQ(Lines(), (Strings{"n", "n", "e", "s"}));
}
