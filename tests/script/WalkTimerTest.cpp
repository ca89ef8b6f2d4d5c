// One walk step after a delay, on the recording host's manual clock, and finding the way back
// onto a walk.

#include <memory>

#include "WalkTest.h"

TEST_F(WalkTest, TimerSendsTheNextStepOnceAfterTenSeconds)
{
    OpenLines({"n", "e", "s"});
    SlowWalk(state);
    TakeLines();
    StartWalkTimer(state, "");
    EXPECT_TRUE(WalkTimerRunning(state));
    AdvanceMs(9000);
    EXPECT_EQ(TakeLines(), Strings{});
    AdvanceMs(1000);
    EXPECT_EQ(TakeLines(), (Strings{"e"}));  // "n" confirmed, "e" sent and pending
    EXPECT_EQ(state.WalkRec.Current, 1);
    EXPECT_EQ(state.WalkRec.StepPending, 1);
    EXPECT_FALSE(WalkTimerRunning(state));
    AdvanceMs(60000);
    EXPECT_EQ(TakeLines(), Strings{});
}

TEST_F(WalkTest, TimerTakesItsDelayInSeconds)
{
    OpenLines({"n", "e", "s"});
    StartWalkTimer(state, "3");
    AdvanceMs(2000);
    EXPECT_EQ(TakeLines(), Strings{});
    AdvanceMs(1000);
    EXPECT_EQ(TakeLines(), (Strings{"n"}));  // nothing was pending: the first step
    StartWalkTimer(state, "-2");  // the size of the number counts
    AdvanceMs(2000);
    EXPECT_EQ(TakeLines(), (Strings{"e"}));
    EXPECT_EQ(host.WalkTimerEvent->Interval(), 2000);
}

TEST_F(WalkTest, RunningTimerIsNotRestartedAndHoldsOffOkAndNext)
{
    OpenLines({"n", "e", "s"});
    SlowWalk(state);
    TakeLines();
    StartWalkTimer(state, "5");
    AdvanceMs(3000);
    StartWalkTimer(state, "5");  // already running: still due at 5 s
    WalkOkAndNext(state);        // held off while it runs
    EXPECT_EQ(TakeLines(), Strings{});
    EXPECT_EQ(state.WalkRec.Current, 0);
    AdvanceMs(2000);
    EXPECT_EQ(TakeLines(), (Strings{"e"}));
    // Idle: "wsn" confirms and sends the next step at once.
    WalkOkAndNext(state);
    EXPECT_EQ(TakeLines(), (Strings{"s"}));
    EXPECT_EQ(state.WalkRec.Current, 2);
}

TEST_F(WalkTest, TimerCanBeCutShort)
{
    OpenLines({"n", "e"});
    WalkTimerNow(state);  // not running: nothing
    EXPECT_EQ(TakeLines(), Strings{});
    SlowWalk(state);
    StartWalkTimer(state, "");
    WalkTimerNow(state);
    EXPECT_FALSE(WalkTimerRunning(state));
    EXPECT_EQ(TakeLines(), (Strings{"n", "e"}));
    AdvanceMs(20000);
    EXPECT_EQ(TakeLines(), Strings{});
}

TEST_F(WalkTest, TimerNeedsALoadedWalk)
{
    StartWalkTimer(state, "1");
    EXPECT_FALSE(WalkTimerRunning(state));
    NewWalkRecord(state, "Route.Wlk");
    StartWalkTimer(state, "1");
    EXPECT_FALSE(WalkTimerRunning(state));
    EXPECT_EQ(Messages(), "");
    // Closed while it counts down: it fires into no walk.
    OpenLines({"n", "e"});
    StartWalkTimer(state, "1");
    ASSERT_TRUE(CloseWalk(state));
    AdvanceMs(5000);
    EXPECT_EQ(TakeLines(), Strings{});
    EXPECT_EQ(Messages(), "");
}

TEST_F(WalkTest, TimerOutlivingItsScriptFiresIntoNothing)
{
    WriteWalk("Route.Wlk", "n\r\n");
    {
        TScriptState other(host);
        OpenWalk(other, "Route.Wlk");
        StartWalkTimer(other, "1");
    }
    AdvanceMs(2000);
    EXPECT_EQ(TakeLines(), Strings{});
}

TEST_F(WalkTest, ZeroDelayTimerStillFires)
{
    OpenLines({"n", "e"});
    StartWalkTimer(state, "0");
    AdvanceMs(1000);
    EXPECT_EQ(TakeLines(), (Strings{"n"}));
    EXPECT_FALSE(WalkTimerRunning(state));
}

TEST_F(WalkTest, HostWithoutAWalkTimer)
{
    class TNoTimerHost : public TWalkTestHost {
    public:
        TExTimerEvent* WalkTimer() override { return nullptr; }
    } bare;
    bare.Folder = Folder;
    TScriptState other(bare);
    WriteWalk("Route.Wlk", "n\r\ne\r\n");
    OpenWalk(other, "Route.Wlk");
    StartWalkTimer(other, "1");
    WalkTimerNow(other);
    EXPECT_FALSE(WalkTimerRunning(other));
    EXPECT_EQ(bare.Sent(), "");
    WalkOkAndNext(other);  // never running: steps at once
    EXPECT_EQ(bare.Sent(), "n\r\n");
}

TEST_F(WalkTest, FindAtTheStartDoesNotUndoAMoveAlongTheWalk)
{
    OpenLines({"n", "e"});
    WalkFind(state, "n");
    EXPECT_EQ(TakeLines(), Strings{});  // sending "s" would put the character back at the start
    EXPECT_EQ(state.WalkRec.Current, 1);
}

TEST_F(WalkTest, FindFollowsMovesAlongTheWalk)
{
    OpenLines({"n", "B e // door", "n"});
    WalkFind(state, "n");
    EXPECT_EQ(state.WalkRec.Current, 1);
    WalkFind(state, "e");  // compared with the command, mark and comment aside
    EXPECT_EQ(state.WalkRec.Current, 2);
    EXPECT_EQ(state.WalkRec.Previous, 2);
    EXPECT_EQ(state.WalkRec.Saved, 2);
    WalkFind(state, "w");  // back along the walk
    EXPECT_EQ(state.WalkRec.Current, 1);
    EXPECT_EQ(TakeLines(), Strings{});
}

TEST_F(WalkTest, FindUndoesMovesOffTheWalk)
{
    OpenLines({"n", "e", "n"});
    WalkFind(state, "w");  // at the start, off the walk
    EXPECT_EQ(TakeLines(), (Strings{"e"}));
    EXPECT_EQ(state.WalkRec.Current, 0);
    WalkGoToStep(state, "1");
    WalkFind(state, "u");
    EXPECT_EQ(TakeLines(), (Strings{"d"}));
    EXPECT_EQ(state.WalkRec.Current, 1);
    WalkFind(state, "look");  // not a movement word: nothing to undo
    EXPECT_EQ(TakeLines(), Strings{});
    // At the end every move is undone.
    WalkGoToStep(state, "3");
    WalkFind(state, "s");
    EXPECT_EQ(TakeLines(), (Strings{"n"}));
    EXPECT_EQ(state.WalkRec.Current, 3);
    // Korean movement words, and an index below the walk.
    OpenLines({Kr("북"), Kr("동")});
    WalkGoToStep(state, "-4");
    WalkFind(state, Kr("북"));
    EXPECT_EQ(TakeLines(), (Strings{Kr("남")}));
    EXPECT_EQ(state.WalkRec.Current, -4);
}

TEST_F(WalkTest, FindNeedsALoadedWalk)
{
    WalkFind(state, "n");
    NewWalkRecord(state, "Route.Wlk");
    Run("n");
    TakeLines();
    WalkFind(state, "s");
    EXPECT_EQ(TakeLines(), Strings{});
    EXPECT_EQ(state.WalkRec.Current, 0);
    EXPECT_EQ(Messages(), "");
}
