// User timers ticking from the manual clock: periods, repeat counts, "for ever", and the
// countdown that the script function ttc( reports.

#include "UserTimerTest.h"

#include <climits>

TEST_F(UserTimerTest, NewTimerOwnsOneDisabledSecondEventAndSwitchesTheListOn)
{
    cTimer* t = AddTimer("t", 5, 3, utsOff, false, "x");
    ASSERT_GT(t->Handle, 0);
    TExTimerEvent* event = host.UserTimers.ItemByHandle(t->Handle);
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(t->Event, event);
    EXPECT_EQ(event->Interval(), 1000);
    EXPECT_FALSE(event->Enabled());
    EXPECT_EQ(event->RepeatCount(), 3);
    EXPECT_EQ(t->Countdown, 5);
    EXPECT_EQ(t->RepeatsLeft, 3);
    EXPECT_EQ(FindUserTimerByHandle(state.TimerRecList, t->Handle), t);
    EXPECT_EQ(FindUserTimerByHandle(state.TimerRecList, 0), nullptr);

    // Switched on by its owner (even with nothing enabled yet it only waits for an event).
    cTimer* u = AddTimer("u", 1, 0, utsOn, true, "y");
    EXPECT_NE(u->Handle, t->Handle);
    EXPECT_EQ(host.UserTimers.Count(), 2);
    EXPECT_TRUE(host.UserTimers.Active());
    EXPECT_TRUE(host.UserTimers.ItemByHandle(u->Handle)->Enabled());
}

TEST_F(UserTimerTest, RepeatCountRunsThatOftenThenStops)
{
    cTimer* t = AddTimer("t", 3, 2, utsRestart, false, "go");
    AdvanceSeconds(2);
    EXPECT_TRUE(Take().empty());
    AdvanceSeconds(20);
    EXPECT_EQ(Take(), (Log{"3:go", "6:go"}));
    EXPECT_EQ(t->RepeatsLeft, 0);
    EXPECT_FALSE(state.UserTimerEvent(*t)->Enabled());
    // The last enabled event stopped, so the list switched itself off.
    EXPECT_FALSE(host.UserTimers.Active());
}

TEST_F(UserTimerTest, ForeverIgnoresTheRepeatCountUntilSwitchedOff)
{
    cTimer* t = AddTimer("t", 2, 1, utsRestart, true, "go");
    AdvanceSeconds(10);
    EXPECT_EQ(Take(), (Log{"2:go", "4:go", "6:go", "8:go", "10:go"}));
    EXPECT_EQ(t->RepeatsLeft, 1);
    state.SetUserTimerStatus("t", utsOff);
    AdvanceSeconds(10);
    EXPECT_TRUE(Take().empty());
}

TEST_F(UserTimerTest, RepeatZeroWithoutForeverRunsWithoutEnd)
{
    cTimer* t = AddTimer("t", 1, 0, utsRestart, false, "go");
    AdvanceSeconds(10);
    EXPECT_EQ(Take().size(), 10u);
    EXPECT_EQ(t->RepeatsLeft, -10);
    EXPECT_TRUE(state.UserTimerEvent(*t)->Enabled());
}

TEST_F(UserTimerTest, TickerZeroNeverRunsAgain)
{
    cTimer* t = AddTimer("t", 0, 0, utsRestart, true, "go");
    AdvanceSeconds(30);
    EXPECT_TRUE(Take().empty());
    EXPECT_EQ(t->Countdown, -30);
}

TEST_F(UserTimerTest, CountdownBelowTheIntegerRangeWraps)
{
    cTimer* t = AddTimer("t", 0, 0, utsRestart, false, "go");
    t->Countdown = INT32_MIN;
    t->RepeatsLeft = INT32_MIN;
    AdvanceSeconds(1);
    EXPECT_EQ(t->Countdown, INT32_MAX);
    // Falling to 0 it runs, and the repeats left wrap the same way.
    t->Countdown = 1;
    AdvanceSeconds(1);
    EXPECT_EQ(Take(), (Log{"2:go"}));
    EXPECT_EQ(t->RepeatsLeft, INT32_MAX);
}

TEST_F(UserTimerTest, TtcReportsTheCountdownAndTheCommandSeesItReloaded)
{
    AddTimer(" tick ", 5, 0, utsRestart, true, "left %ttc(tick)");
    EXPECT_EQ(Ttc("tick"), "5");
    AdvanceSeconds(2);
    EXPECT_EQ(Ttc("tick"), "3");
    EXPECT_EQ(Ttc(" tick\t"), "3");
    EXPECT_EQ(Ttc("tock"), "");
    AdvanceSeconds(3);
    EXPECT_EQ(Take(), (Log{"5:left 5"}));
    AdvanceSeconds(4);
    EXPECT_EQ(Ttc("tick"), "1");
}

TEST_F(UserTimerTest, TimersDueInOneSecondAllRunThatSecondLatestAddedFirst)
{
    AddTimer("a", 2, 0, utsRestart, true, "a");
    AddTimer("b", 1, 0, utsRestart, true, "b");
    AddTimer("c", 2, 0, utsOff, true, "c");
    AdvanceSeconds(4);
    EXPECT_EQ(Take(), (Log{"1:b", "2:b", "2:a", "3:b", "4:b", "4:a"}));
}

TEST_F(UserTimerTest, CommandTextRunsThroughTheExecutor)
{
    AddTimer("t", 1, 1, utsRestart, false, "one|#rem x|two;three|\\raw");
    AdvanceSeconds(1);
    EXPECT_EQ(Take(), (Log{"1:one", "1:two;three", "1:raw"}));
}

TEST_F(UserTimerTest, TicReplacesTheCommandForTheNextRun)
{
    AddTimer("t", 1, 0, utsRestart, true, "old|#tic t,new");
    AdvanceSeconds(3);
    // The running command was copied before it changed itself.
    EXPECT_EQ(Take(), (Log{"1:old", "2:new", "3:new"}));
}

TEST_F(UserTimerTest, TimerStartedLaterCountsFromItsStart)
{
    AddTimer("a", 2, 0, utsRestart, true, "a");
    host.Clock.Advance(500);
    cTimer* b = AddTimer("b", 1, 0, utsRestart, true, "b");
    AdvanceSeconds(2);
    host.Clock.Advance(600);
    EXPECT_EQ(Take(), (Log{"1:b", "2:a", "2:b"}));  // b at 1.5 s and 2.5 s, a at 2 s
    EXPECT_EQ(b->Countdown, 1);
}

// A host without a user-timer list: records exist and take every operation, nothing ticks.
class TNoListHost : public TTimerTestHost {
public:
    TExTimerList* UserTimerList() override { return nullptr; }
};

TEST(UserTimerNoList, TimersWithoutAListTakeEveryOperationAndNeverTick)
{
    TNoListHost host;
    TScriptState state(host);
    auto record = std::make_unique<cTimer>();
    record->Name = "t";
    record->Ticker = 1;
    record->Status = utsRestart;
    cTimer* t = state.AddUserTimer(std::move(record));
    EXPECT_EQ(t->Handle, 0);
    EXPECT_EQ(t->Event, nullptr);
    EXPECT_EQ(t->Countdown, 1);
    state.SetUserTimerTicker("t", 4);
    EXPECT_EQ(t->Countdown, 4);
    state.SetUserTimerStatus("t", utsOn);
    state.SetUserTimersActive(true);
    host.Clock.Advance(5000);
    EXPECT_TRUE(host.Log.empty());
    state.DeleteUserTimer(t);
    EXPECT_EQ(state.TimerRecList.Count(), 0);
}

TEST(UserTimerLifetime, EventsThatOutliveTheStateTickIntoNothing)
{
    TTimerTestHost host;
    {
        TScriptState state(host);
        auto record = std::make_unique<cTimer>();
        record->Ticker = 1;
        record->Status = utsRestart;
        record->OnBuff = "go";
        state.AddUserTimer(std::move(record));
        host.Clock.Advance(1000);
    }
    ASSERT_EQ(host.Log, (Log{"1:go"}));
    EXPECT_EQ(host.UserTimers.Count(), 1);
    host.Clock.Advance(3000);
    EXPECT_EQ(host.Log.size(), 1u);
}

TEST(UserTimerLifetime, RecordingHostDrivesItsListWithItsOwnClockAndPutsTheServiceBack)
{
    TManualTimerService outer;
    SetTimerService(&outer);
    {
        TRecordingHost host;
        EXPECT_EQ(&TimerService(), &host.Clock);
    }
    EXPECT_EQ(&TimerService(), &outer);
    SetTimerService(nullptr);
    {
        TRecordingHost host;
        EXPECT_EQ(&TimerService(), &host.Clock);
    }
    EXPECT_FALSE(TimerServiceInstalled());
}
