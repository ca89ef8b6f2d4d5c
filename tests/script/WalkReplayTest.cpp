// Replaying a walk: one step at a time with confirmation, several steps, to a breakpoint or the
// end, moving the index by hand, and steps that drive the walk themselves.

#include "WalkTest.h"

TEST_F(WalkTest, SlowWalkWaitsForConfirmation)
{
    OpenLines({"n // gate", "Back", "e"});
    SlowWalk(state);
    SlowWalk(state);  // not confirmed: the same step again
    EXPECT_EQ(TakeLines(), (Strings{"n", "n"}));
    EXPECT_EQ(state.WalkRec.Current, 0);
    SlowWalkOk(state);
    EXPECT_EQ(state.WalkRec.Current, 1);
    EXPECT_EQ(state.WalkRec.Previous, 0);
    SlowWalkOk(state);  // nothing pending: no move
    EXPECT_EQ(state.WalkRec.Current, 1);
    SlowWalk(state);  // a capital B is a breakpoint mark and is not sent
    EXPECT_EQ(TakeLines(), (Strings{"ack"}));
    // Cancelled: the next "wg" sends the same step, as a fresh one.
    SlowWalkCancel(state);
    EXPECT_EQ(state.WalkRec.StepPending, 0);
    SlowWalk(state);
    SlowWalkOk(state);
    SlowWalk(state);
    SlowWalkOk(state);
    EXPECT_EQ(TakeLines(), (Strings{"ack", "e"}));
    EXPECT_EQ(state.WalkRec.Current, 3);
    // At the end: nothing is sent, the confirmation does not run past the end.
    SlowWalk(state);
    EXPECT_EQ(state.WalkRec.StepPending, 1);
    SlowWalkOk(state);
    EXPECT_EQ(state.WalkRec.Current, 3);
    EXPECT_EQ(TakeLines(), Strings{});
}

TEST_F(WalkTest, StepAgainResendsAfterAFailedMove)
{
    OpenLines({"n", "e", "s"});
    WalkStepAgain(state);  // at the start: the first step
    EXPECT_EQ(TakeLines(), (Strings{"n"}));
    SlowWalk(state);
    SlowWalkOk(state);
    WalkStepAgain(state);  // confirmed: the last confirmed step
    EXPECT_EQ(TakeLines(), (Strings{"n", "n"}));
    SlowWalk(state);
    WalkStepAgain(state);  // pending: the pending step
    EXPECT_EQ(TakeLines(), (Strings{"e", "e"}));
    EXPECT_EQ(state.WalkRec.Current, 1);
}

TEST_F(WalkTest, NextStepsStopAfterTheCountOrAtTheEnd)
{
    OpenLines({"n", "e", "s"});
    WalkGoToStep(state, "1");
    WalkNextStep(state, "3");  // two steps left
    EXPECT_EQ(TakeLines(), (Strings{"e", "s"}));
    EXPECT_EQ(state.WalkRec.Current, 3);
    EXPECT_EQ(state.WalkRec.Saved, 1);
    EXPECT_EQ(state.WalkRec.MultiStep, 1);
    EXPECT_EQ(state.WalkRec.StepPending, 0);
    // An empty, zero, negative or unreadable count is one step.
    for (const char* count : {"", "0", "-2", "abc"}) {
        RewindWalk(state);
        WalkNextStep(state, count);
        EXPECT_EQ(TakeLines(), (Strings{"n"})) << "count: " << count;
        EXPECT_EQ(state.WalkRec.Current, 1);
    }
    WalkNextStep(state, "2");
    EXPECT_EQ(TakeLines(), (Strings{"e", "s"}));
}

TEST_F(WalkTest, NextBreakPointStopsBeforeTheMarkedStep)
{
    OpenLines({"n", "s", "B e // door", "w", "Bu", "d"});
    WalkNextBreakPoint(state);
    EXPECT_EQ(TakeLines(), (Strings{"n", "s"}));
    EXPECT_EQ(state.WalkRec.Current, 2);
    WalkNextBreakPoint(state);  // sends the breakpoint step, on to the next one
    EXPECT_EQ(TakeLines(), (Strings{"e", "w"}));
    WalkNextBreakPoint(state);
    EXPECT_EQ(TakeLines(), (Strings{"u", "d"}));
    EXPECT_EQ(state.WalkRec.Current, 6);
    WalkNextBreakPoint(state);
    EXPECT_EQ(TakeLines(), Strings{});
}

TEST_F(WalkTest, SpeedWalkSendsEveryStepLeft)
{
    OpenLines({Kr("북"), "// note", "e", ""});
    SlowWalk(state);  // a pending step is sent again first, then confirmed
    SpeedWalk(state);
    EXPECT_EQ(TakeLines(), (Strings{Kr("북"), Kr("북"), "e"}));  // empty commands send nothing
    EXPECT_EQ(state.WalkRec.Current, 4);
    EXPECT_EQ(state.WalkRec.Saved, 0);
}

TEST_F(WalkTest, RecordedWalkPlaysFromItsStart)
{
    NewWalkRecord(state, "Route.Wlk");
    Run("n|e");
    TakeLines();
    SpeedWalk(state);
    EXPECT_EQ(state.WalkRec.State, 2);
    EXPECT_EQ(TakeLines(), (Strings{"n", "e"}));
    EXPECT_EQ(state.WalkRec.Steps, (Strings{"n", "e"}));  // replayed steps are not recorded again
    // "wg" on a recording walk sends without rewinding, and the move is recorded.
    NewWalkRecord(state, "Route.Wlk");
    Run("n");
    TakeLines();
    SlowWalk(state);
    EXPECT_EQ(TakeLines(), (Strings{"n"}));
    EXPECT_EQ(state.WalkRec.Steps, (Strings{"n", "n"}));
}

TEST_F(WalkTest, ReplayNeedsAWalk)
{
    SlowWalk(state);
    WalkStepAgain(state);
    WalkNextStep(state, "2");
    WalkNextBreakPoint(state);
    SpeedWalk(state);
    RewindWalk(state);
    AnsiString six;
    for (int i = 0; i < 6; ++i)
        six += ScriptText::NoWalk;
    EXPECT_EQ(Messages(), six);
    // Silent without a walk.
    host.Clear();
    SlowWalkOk(state);
    SlowWalkCancel(state);
    EXPECT_EQ(Messages(), "");
    EXPECT_EQ(state.WalkRec.StepPending, 0);
    EXPECT_EQ(state.WalkRec.State, 0);
}

TEST_F(WalkTest, AutoRewindStartsAFinishedWalkAgain)
{
    OpenLines({"n", "e"});
    SpeedWalk(state);
    TakeLines();
    SlowWalk(state);  // off: nothing left to send
    EXPECT_EQ(TakeLines(), Strings{});
    SlowWalkCancel(state);
    host.WalkAutoRewind = true;
    SlowWalk(state);
    EXPECT_EQ(TakeLines(), (Strings{"n"}));
    EXPECT_EQ(state.WalkRec.Current, 0);
    EXPECT_EQ(state.WalkRec.StepPending, 1);
    // Beyond the end after a jump counts as finished too.
    SlowWalkCancel(state);
    WalkGoToStep(state, "9");
    SlowWalk(state);
    EXPECT_EQ(TakeLines(), (Strings{"n"}));
}

TEST_F(WalkTest, RewindResetsEveryIndex)
{
    OpenLines({"n", "e", "s"});
    WalkNextStep(state, "2");
    SlowWalk(state);
    RewindWalk(state);
    const cWalk& walk = state.WalkRec;
    EXPECT_EQ(walk.State, 2);
    EXPECT_EQ(walk.Current, 0);
    EXPECT_EQ(walk.Previous, 0);
    EXPECT_EQ(walk.Saved, 0);
    EXPECT_EQ(walk.StepPending, 0);
    EXPECT_EQ(walk.MultiStep, 0);
    // A recording walk becomes a loaded one.
    NewWalkRecord(state, "Route.Wlk");
    RewindWalk(state);
    EXPECT_EQ(state.WalkRec.State, 2);
}

TEST_F(WalkTest, GoToStepSetsEveryIndex)
{
    OpenLines({"n", "e", "s"});
    WalkNextStep(state, "2");
    WalkGoToStep(state, "");  // nothing
    EXPECT_EQ(state.WalkRec.Current, 2);
    WalkGoToStep(state, "1");
    EXPECT_EQ(state.WalkRec.Current, 1);
    EXPECT_EQ(state.WalkRec.Previous, 1);
    EXPECT_EQ(state.WalkRec.Saved, 1);
    EXPECT_EQ(state.WalkRec.MultiStep, 0);
    WalkGoToStep(state, "x");
    EXPECT_EQ(state.WalkRec.Current, 0);
    // Beyond the last step the walk is at its end: "wg" sends nothing.
    TakeLines();
    WalkGoToStep(state, "7");
    SlowWalk(state);
    EXPECT_EQ(TakeLines(), Strings{});
    // Works without a walk as well (the index is only a number then).
    CloseWalk(state);
    WalkGoToStep(state, "4");
    EXPECT_EQ(state.WalkRec.Current, 4);
}

TEST_F(WalkTest, NegativeIndexReadsNoStep)
{
    OpenLines({"Bn", "e"});
    WalkGoToStep(state, "-1");
    SlowWalk(state);
    WalkStepAgain(state);
    ClearWalkBreakPoint(state);
    SlowWalkCancel(state);
    WalkStepAgain(state);
    EXPECT_EQ(TakeLines(), Strings{});
    EXPECT_EQ(state.WalkRec.Steps[0], "Bn");
    WalkGoToStep(state, "-2147483648");
    WalkStepAgain(state);
    WalkGoPrevious(state);  // a negative previous index is not gone to
    EXPECT_EQ(state.WalkRec.Current, INT32_MIN);
    // A confirmation from a negative index moves towards the walk.
    SlowWalk(state);
    SlowWalkOk(state);
    EXPECT_EQ(state.WalkRec.Current, INT32_MIN + 1);
}

TEST_F(WalkTest, PreviousAndSavedIndexes)
{
    OpenLines({"a1", "a2", "a3", "a4", "a5"});
    EXPECT_EQ(state.WalkRec.Previous, 0);
    SlowWalk(state);
    SlowWalkOk(state);
    SlowWalk(state);
    SlowWalkOk(state);
    WalkGoPrevious(state);  // back to the step confirmed last
    EXPECT_EQ(state.WalkRec.Current, 1);
    EXPECT_EQ(state.WalkRec.Saved, 1);
    // A run remembers where it started; "wms" moves that mark on up to the current step.
    WalkNextStep(state, "3");
    EXPECT_EQ(state.WalkRec.Saved, 1);
    EXPECT_EQ(state.WalkRec.Current, 4);
    WalkMarkStep(state);
    WalkMarkStep(state);
    EXPECT_EQ(state.WalkRec.Saved, 3);
    WalkMarkStep(state);
    WalkMarkStep(state);
    EXPECT_EQ(state.WalkRec.Saved, 4);  // not past the current step
    WalkGoToStep(state, "0");
    WalkNextStep(state, "2");
    WalkMarkStep(state);
    WalkMarkBack(state);  // back to the mark, marking off
    EXPECT_EQ(state.WalkRec.Current, 1);
    EXPECT_EQ(state.WalkRec.MultiStep, 0);
    WalkMarkStep(state);  // no run marked: nothing
    EXPECT_EQ(state.WalkRec.Saved, 1);
    WalkNextStep(state, "2");
    WalkMarkOff(state);
    WalkMarkStep(state);
    EXPECT_EQ(state.WalkRec.Saved, 1);
    WalkGoSaved(state);
    EXPECT_EQ(state.WalkRec.Current, 1);
    // A fresh walk record has no previous step to go back to.
    TWalkTestHost otherHost;
    TScriptState other(otherHost);
    other.WalkRec.Current = 3;
    WalkGoPrevious(other);
    EXPECT_EQ(other.WalkRec.Current, 3);
}

TEST_F(WalkTest, StepThatRewindsTheWalkEndsTheRun)
{
    OpenLines({"n", "trap", "e"});
    host.OnLine = [this](const AnsiString& line) {
        if (line == "trap")
            RewindWalk(state);
    };
    SpeedWalk(state);  // would start over for ever
    EXPECT_EQ(TakeLines(), (Strings{"n", "trap"}));
    EXPECT_EQ(state.WalkRec.Current, 0);
    WalkNextStep(state, "5");
    EXPECT_EQ(TakeLines(), (Strings{"n", "trap"}));
    host.OnLine = [this](const AnsiString& line) {
        if (line == "trap")
            WalkGoToStep(state, "0");
    };
    WalkNextBreakPoint(state);
    EXPECT_EQ(TakeLines(), (Strings{"n", "trap"}));
}

TEST_F(WalkTest, StepThatClosesTheWalk)
{
    OpenLines({"n", "bye", "e"});
    host.OnLine = [this](const AnsiString& line) {
        if (line == "bye")
            CloseWalk(state);
    };
    SpeedWalk(state);
    EXPECT_EQ(TakeLines(), (Strings{"n", "bye"}));
    EXPECT_EQ(state.WalkRec.State, 0);
    EXPECT_EQ(state.WalkRec.StepPending, 0);  // no pending step on a closed walk
    EXPECT_EQ(ReadWalk("Route.Wlk"), "n\r\nbye\r\ne\r\n");
    // Closed from a slow step and from "wal".
    OpenLines({"bye"});
    SlowWalk(state);
    EXPECT_EQ(state.WalkRec.StepPending, 0);
    OpenLines({"bye"});
    WalkStepAgain(state);
    EXPECT_EQ(state.WalkRec.State, 0);
}

TEST_F(WalkTest, StepThatEmptiesOrRunsTheWalk)
{
    OpenLines({"n", "wipe", "e", "s"});
    host.OnLine = [this](const AnsiString& line) {
        if (line == "wipe") {
            state.WalkRec.Steps.clear();
            state.WalkRec.Steps.shrink_to_fit();
        }
    };
    SpeedWalk(state);
    EXPECT_EQ(TakeLines(), (Strings{"n", "wipe"}));
    // A step that jumps ahead and runs the rest itself: every step goes out once, and the outer
    // run stops where the inner one left the walk.
    OpenLines({"n", "rest", "e", "s"});
    host.OnLine = [this](const AnsiString& line) {
        if (line == "rest") {
            WalkGoToStep(state, "2");
            SpeedWalk(state);
        }
    };
    WalkNextStep(state, "10");
    EXPECT_EQ(TakeLines(), (Strings{"n", "rest", "e", "s"}));
    EXPECT_EQ(state.WalkRec.Current, 4);
}

TEST_F(WalkTest, StepThatRunsItsOwnWalkEndsAtTheNestingLimit)
{
    // As a step "#ws" would: the step at the current index is the step being run.
    OpenLines({"n", "again", "e"});
    host.OnLine = [this](const AnsiString& line) {
        if (line == "again")
            SpeedWalk(state);
    };
    SpeedWalk(state);
    EXPECT_NE(Messages().find(ScriptText::NestingTooDeep), AnsiString::npos);
}
