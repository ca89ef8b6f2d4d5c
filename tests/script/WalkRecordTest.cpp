// Recording a walk: movement words typed while recording, comments, breakpoints and taking back
// a wrong move.

#include "WalkTest.h"

TEST_F(WalkTest, OnlyMovementWordsAreRecorded)
{
    NewWalkRecord(state, "Route.Wlk");
    EXPECT_EQ(state.WalkRec.State, 1);
    Run(Kr("북"));
    Run(Kr("말 안녕하세요"));
    Run("n");
    Run("look|NE|up|5|9");
    EXPECT_EQ(state.WalkRec.Steps, (Strings{Kr("북"), "n", "NE", "9"}));
    // Everything typed still went to the game.
    EXPECT_EQ(Lines(), (Strings{Kr("북"), Kr("말 안녕하세요"), "n", "look", "NE", "up", "5", "9"}));
    EXPECT_EQ(Messages(), "");
}

TEST_F(WalkTest, RecordingByWordTrimsAndNeedsARecordingWalk)
{
    state.RecordWalkStep("n");
    EXPECT_EQ(Messages(), ScriptText::NoWalk);  // no walk at all
    host.Clear();
    NewWalkRecord(state, "Route.Wlk");
    state.RecordWalkStep(" s\t");
    state.RecordWalkStep("say");
    EXPECT_EQ(state.WalkRec.Steps, (Strings{"s"}));
    EXPECT_EQ(Lines(), Strings{});  // recording a word sends nothing
    // A loaded walk takes no steps, silently.
    OpenLines({"e"});
    state.RecordWalkStep("n");
    Run("n");
    EXPECT_EQ(state.WalkRec.Steps, (Strings{"e"}));
    EXPECT_EQ(Messages(), "");
}

TEST_F(WalkTest, TypedMovesWithoutAWalkAreOnlySent)
{
    Run("n");
    EXPECT_EQ(Lines(), (Strings{"n"}));
    EXPECT_EQ(Messages(), "");
}

TEST_F(WalkTest, PendingCommentGoesToTheNextMoveOnly)
{
    AddVariable("where", "bridge", 'S');
    NewWalkRecord(state, "Route.Wlk");
    Run("#wsc at @(where)");
    Run("say hi");  // not a move: the comment waits
    Run("n");
    Run("s");
    EXPECT_EQ(state.WalkRec.Steps, (Strings{"n // at bridge", "s"}));
    // Appending a comment to the last step; an empty text adds nothing.
    Run("#wac gate");
    Run("#wac ");
    EXPECT_EQ(state.WalkRec.Steps.back(), "s // gate");
}

TEST_F(WalkTest, CommentsNeedARecordingWalk)
{
    Run("#wsc lost");
    Run("#wac lost");
    OpenLines({"n"});
    Run("#wsc lost");
    Run("#wac lost");
    EXPECT_EQ(state.WalkRec.Steps, (Strings{"n"}));
    EXPECT_EQ(state.WalkRec.Comment, "");
    // Recording without a step yet: "#wac" has nothing to append to.
    NewWalkRecord(state, "Other.Wlk");
    Run("#wac lost");
    EXPECT_TRUE(state.WalkRec.Steps.empty());
}

TEST_F(WalkTest, WrongMoveIsTakenBack)
{
    NewWalkRecord(state, "Route.Wlk");
    Run("n|e");
    DeleteLastWalkStep(state);  // e was a mistake
    Run("w");
    EXPECT_EQ(state.WalkRec.Steps, (Strings{"n", "w"}));
    DeleteLastWalkStep(state);
    DeleteLastWalkStep(state);
    DeleteLastWalkStep(state);  // nothing left: nothing happens
    EXPECT_TRUE(state.WalkRec.Steps.empty());
    // A loaded walk is not edited.
    OpenLines({"n", "s"});
    DeleteLastWalkStep(state);
    EXPECT_EQ(state.WalkRec.Steps.size(), 2u);
}

TEST_F(WalkTest, BreakPointMarksTheLastStepOnce)
{
    NewWalkRecord(state, "Route.Wlk");
    SetWalkBreakPoint(state);  // no step yet
    EXPECT_TRUE(state.WalkRec.Steps.empty());
    Run("n|#wsc door|s");
    SetWalkBreakPoint(state);
    SetWalkBreakPoint(state);
    EXPECT_EQ(state.WalkRec.Steps, (Strings{"n", "B s // door"}));
    ASSERT_TRUE(EndWalkRecord(state));
    EXPECT_EQ(ReadWalk("Route.Wlk"), "n\r\nB s // door\r\n");
    // Loaded: "wsb" changes nothing.
    state.WalkRec.Current = 0;
    SetWalkBreakPoint(state);
    EXPECT_EQ(state.WalkRec.Steps[0], "n");
}

TEST_F(WalkTest, BreakPointIsClearedAtTheCurrentStepInAnyState)
{
    OpenLines({"B n", "Bs", "e"});
    ClearWalkBreakPoint(state);
    EXPECT_EQ(state.WalkRec.Steps[0], " n");
    state.WalkRec.Current = 1;
    ClearWalkBreakPoint(state);
    EXPECT_EQ(state.WalkRec.Steps[1], "s");
    ClearWalkBreakPoint(state);  // no B left: unchanged
    EXPECT_EQ(state.WalkRec.Steps[1], "s");
    // Indexes without a step are left alone.
    for (int32_t index : {-1, 3, 100}) {
        state.WalkRec.Current = index;
        ClearWalkBreakPoint(state);
    }
    EXPECT_EQ(state.WalkRec.Steps, (Strings{" n", "s", "e"}));
    // While recording too.
    NewWalkRecord(state, "Route.Wlk");
    Run("n");
    SetWalkBreakPoint(state);
    ClearWalkBreakPoint(state);
    EXPECT_EQ(state.WalkRec.Steps, (Strings{" n"}));
}

TEST_F(WalkTest, NewRecordingStartsEmpty)
{
    OpenLines({"n", "s"});
    state.WalkRec.Current = 2;
    NewWalkRecord(state, "Fresh.Wlk");
    const cWalk& walk = state.WalkRec;
    EXPECT_TRUE(walk.Steps.empty());
    EXPECT_EQ(walk.FileName, "Fresh.Wlk");
    EXPECT_EQ(walk.State, 1);
    EXPECT_EQ(walk.Current, 0);
    EXPECT_EQ(walk.Previous, 0);
}
