// User timers ticking from the recording host's manual clock: periods, repeat counts, "for ever",
// the countdown that ttc( reports, switching, deleting, and commands of a running timer that reach
// back into the timers. The host logs each sent line with the second it went out at.

#include <climits>

#include "ScriptTest.h"
#include "controls/core/TimerList.h"
#include "script/TimerRecords.h"
#include "script/UserTimer.h"

using Log = std::vector<std::string>;

TEST_F(ScriptTest, NewTimerOwnsOneDisabledSecondEventAndSwitchesTheListOn)
{
    cTimer* t = AddTimer("t", 5, utsOff, "x", 3, false);
    TExTimerEvent* event = host.UserTimers.ItemByHandle(t->Handle);
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(t->Event, event);
    EXPECT_EQ(event->Interval(), 1000);
    EXPECT_FALSE(event->Enabled());
    EXPECT_EQ(event->RepeatCount(), 3);
    EXPECT_EQ(FindUserTimerByHandle(state.TimerRecList, t->Handle), t);
    // Switched on by its owner (even with nothing enabled yet it only waits for an event).
    cTimer* u = AddTimer("u", 1, utsOn, "y");
    EXPECT_NE(u->Handle, t->Handle);
    EXPECT_TRUE(host.UserTimers.Active());
}

TEST_F(ScriptTest, RepeatCounts)
{
    cTimer* t = AddTimer("t", 3, utsRestart, "go", 2, false);  // runs that often, then stops
    AdvanceSeconds(22);
    EXPECT_EQ(Take(), (Log{"3:go", "6:go"}));
    EXPECT_FALSE(host.UserTimers.Active());  // the last enabled event stopped: the list too
    // Restart reloads the repeats of a finished timer (RestartReloadsTheRepeatsOfAFinishedTimer) and
    // wakes the list that stopped itself (TimerSwitchedOnAgainWakesTheListThatStoppedItself).
    state.SetUserTimerStatus("t", utsRestart);
    AdvanceSeconds(6);
    EXPECT_EQ(Take(), (Log{"25:go", "28:go"}));
    state.DeleteUserTimer(t);
    // "For ever" ignores the repeat count until switched off.
    t = AddTimer("t", 2, utsRestart, "go", 1);
    AdvanceSeconds(10);
    EXPECT_EQ(Take(), (Log{"30:go", "32:go", "34:go", "36:go", "38:go"}));
    EXPECT_EQ(t->RepeatsLeft, 1);
    state.DeleteUserTimer(t);
    // Repeat 0 without "for ever" runs without end.
    t = AddTimer("t", 1, utsRestart, "go", 0, false);
    AdvanceSeconds(10);
    EXPECT_EQ(Take().size(), 10u);
    EXPECT_EQ(t->RepeatsLeft, -10);
}

TEST_F(ScriptTest, TickerZeroNeverRunsAgainAndTheCountdownWraps)
{
    cTimer* t = AddTimer("t", 0, utsRestart, "go");
    AdvanceSeconds(30);
    EXPECT_TRUE(Take().empty());
    EXPECT_EQ(t->Countdown, -30);
    // CountdownBelowTheIntegerRangeWraps
    t = AddTimer("u", 0, utsRestart, "go", 0, false);
    t->Countdown = INT32_MIN;
    t->RepeatsLeft = INT32_MIN;
    AdvanceSeconds(1);
    EXPECT_EQ(t->Countdown, INT32_MAX);
    // Falling to 0 it runs, and the repeats left wrap the same way.
    t->Countdown = 1;
    AdvanceSeconds(1);
    EXPECT_EQ(Take(), (Log{"32:go"}));
    EXPECT_EQ(t->RepeatsLeft, INT32_MAX);
}

TEST_F(ScriptTest, TtcReportsTheCountdownAndTheCommandSeesItReloaded)
{
    const auto ttc = [this](const char* name) { return state.ExpandFunctionsCopy(AnsiString("%ttc(") + name + ")"); };
    AddTimer(" tick ", 5, utsRestart, "left %ttc(tick)");
    AdvanceSeconds(2);
    EXPECT_EQ(ttc("tick"), "3");
    AdvanceSeconds(3);
    EXPECT_EQ(Take(), (Log{"5:left 5"}));
    AdvanceSeconds(4);
    EXPECT_EQ(ttc("tick"), "1");
}

TEST_F(ScriptTest, TimersDueInOneSecondAllRunThatSecondLatestAddedFirst)
{
    AddTimer("a", 2, utsRestart, "a");
    AddTimer("b", 1, utsRestart, "b");
    AddTimer("c", 2, utsOff, "c");
    AdvanceSeconds(4);
    EXPECT_EQ(Take(), (Log{"1:b", "2:b", "2:a", "3:b", "4:b", "4:a"}));
    // A timer started later counts from its start.
    host.Clock.Advance(500);
    cTimer* d = AddTimer("d", 1, utsRestart, "d");
    AdvanceSeconds(2);
    host.Clock.Advance(600);
    EXPECT_EQ(Take(), (Log{"5:b", "5:d", "6:b", "6:a", "6:d", "7:b"}));  // d at 5.5 s and 6.5 s
    EXPECT_EQ(d->Countdown, 1);
}

TEST_F(ScriptTest, CommandTextRunsThroughTheExecutor)
{
    AddTimer("t", 1, utsRestart, "one|#rem x|two;three|\\raw", 1, false);
    AdvanceSeconds(1);
    EXPECT_EQ(Take(), (Log{"1:one", "1:two;three", "1:raw"}));
    // "#tic" replaces the command for the next run: the running command was copied first.
    AddTimer("u", 1, utsRestart, "old|#tic u,new");
    AdvanceSeconds(3);
    EXPECT_EQ(Take(), (Log{"2:old", "3:new", "4:new"}));
}

TEST(UserTimerHosts, TimersWithoutAListTakeEveryOperationAndNeverTick)
{
    class TNoListHost : public TTestHost {
    public:
        TExTimerList* UserTimerList() override { return nullptr; }
    } host;
    TScriptState state(host);
    auto record = std::make_unique<cTimer>();
    record->Name = "t";
    record->Ticker = 1;
    record->Status = utsRestart;
    cTimer* t = state.AddUserTimer(std::move(record));
    EXPECT_EQ(t->Event, nullptr);
    state.SetUserTimerTicker("t", 4);
    EXPECT_EQ(t->Countdown, 4);
    state.SetUserTimerStatus("t", utsOn);
    state.SetUserTimersActive(true);
    host.Clock.Advance(5000);
    EXPECT_TRUE(host.Log.empty());
    state.DeleteUserTimer(t);
    EXPECT_EQ(state.TimerRecList.Count(), 0);
}

TEST(UserTimerHosts, EventsThatOutliveTheStateTickIntoNothing)
{
    TTestHost host;
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

TEST(UserTimerHosts, RecordingHostDrivesItsListWithItsOwnClockAndPutsTheServiceBack)
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

TEST_F(ScriptTest, OffKeepsTheCountdownOnGoesOnFromItRestartReloads)
{
    cTimer* t = AddTimer("t", 4, utsRestart, "go");
    AdvanceSeconds(3);
    state.SetUserTimerStatus("t", utsOff);
    AdvanceSeconds(10);
    EXPECT_TRUE(Take().empty());
    state.SetUserTimerStatus(" t ", utsOn);
    AdvanceSeconds(1);
    EXPECT_EQ(Take(), (Log{"14:go"}));
    AdvanceSeconds(2);
    EXPECT_EQ(t->Countdown, 2);
    state.SetUserTimerStatus("t", utsRestart);
    EXPECT_EQ(t->Countdown, 4);
    AdvanceSeconds(4);
    EXPECT_EQ(Take(), (Log{"20:go"}));
    state.SetUserTimerStatus("t", utsStop);
    AdvanceSeconds(8);
    EXPECT_TRUE(Take().empty());
    // StatusOutsideTheKnownValuesIsStoredAndChangesNothing
    state.SetUserTimerStatus("t", utsRestart);
    state.SetUserTimerStatus("t", 7);
    EXPECT_EQ(t->Status, 7);
    EXPECT_TRUE(state.UserTimerEvent(*t)->Enabled());
    AdvanceSeconds(4);
    EXPECT_EQ(Take(), (Log{"32:go"}));
}

TEST_F(ScriptTest, SetTickerRestartsWithTheNewPeriodOfTheFirstTimerOfThatName)
{
    cTimer* first = AddTimer("dup", 10, utsOff, "first");
    cTimer* second = AddTimer("dup", 3, utsOff, "second");
    AdvanceSeconds(3);
    state.SetUserTimerTicker("dup", 2);
    EXPECT_EQ(first->Status, utsRestart);
    AdvanceSeconds(4);
    EXPECT_EQ(Take(), (Log{"5:first", "7:first"}));
    EXPECT_EQ(second->Ticker, 3);
    EXPECT_FALSE(state.UserTimerEvent(*second)->Enabled());
}

TEST_F(ScriptTest, ListSwitchedOffStaysOffUntilSwitchedOn)
{
    AddTimer("a", 1, utsRestart, "a");
    AddTimer("b", 2, utsOff, "b");
    AdvanceSeconds(1);
    state.SetUserTimersActive(false);
    // Switching a timer on does not switch on a list its owner switched off.
    state.SetUserTimerStatus("b", utsRestart);
    AdvanceSeconds(5);
    EXPECT_EQ(Take(), (Log{"1:a"}));
    state.SetUserTimersActive(true);
    AdvanceSeconds(2);
    EXPECT_EQ(Take(), (Log{"7:a", "8:b", "8:a"}));
}

TEST_F(ScriptTest, DeletingTimersRemovesTheirEvents)
{
    cTimer* a = AddTimer("a", 1, utsRestart, "a");
    cTimer* b = AddTimer("b", 1, utsRestart, "b");
    const int32_t handleA = a->Handle;
    state.DeleteUserTimer(a);
    EXPECT_EQ(state.TimerRecList.Count(), 1);
    EXPECT_EQ(host.UserTimers.ItemByHandle(handleA), nullptr);
    AdvanceSeconds(2);
    EXPECT_EQ(Take(), (Log{"1:b", "2:b"}));
    // A record that is not in the list is left alone.
    cTimer stranger;
    stranger.Handle = b->Handle;
    state.DeleteUserTimer(&stranger);
    state.DeleteUserTimer(nullptr);
    EXPECT_EQ(host.UserTimers.Count(), 1);
    state.ClearUserTimers();
    EXPECT_EQ(host.UserTimers.Count(), 0);
    // EventOfARecordFreedWithoutItGoesAtItsNextTick
    AddTimer("d", 5, utsRestart, "d");
    state.TimerRecList.Clear();
    EXPECT_EQ(host.UserTimers.Count(), 1);
    AdvanceSeconds(1);
    EXPECT_EQ(host.UserTimers.Count(), 0);
    EXPECT_TRUE(Take().empty());
}

// A running timer's command that reaches back into the timers, through the host.
TEST(UserTimerCommands, CommandsThatChangeTheTimers)
{
    struct Timer {
        const char* Name;
        int32_t Ticker, Status;
        const char* Command;
        int32_t Repeat;
        bool Forever;
    };
    const struct {
        const char* Label;
        std::vector<Timer> Timers;
        const char* Word;
        std::function<void(TScriptState&)> Act;
        int Seconds;
        Log Expected;
        int Records, Events;
    } cases[] = {
        // The later timer runs first in a second; the other still runs in that second.
        {"CommandDeletesItsOwnTimer",
         {{"a", 1, utsRestart, "a", 0, true}, {"self", 1, utsRestart, "kill", 0, true}},
         "kill",
         [](TScriptState& s) { s.DeleteUserTimer(FindUserTimer(s.TimerRecList, "self")); },
         3,
         {"1:kill", "1:a", "2:a", "3:a"},
         1,
         1},
        {"CommandDeletesATimerDueInTheSameSecond",
         {{"victim", 1, utsRestart, "victim", 0, true}, {"killer", 1, utsRestart, "kill|after", 1, false}},
         "kill",
         [](TScriptState& s) { s.DeleteUserTimer(FindUserTimer(s.TimerRecList, "victim")); },
         3,
         {"1:kill", "1:after"},
         1,
         1},
        // c runs first; b clears everything, finishes its own command, and a never runs.
        {"CommandClearsAllTimers",
         {{"a", 1, utsRestart, "a", 0, true},
          {"b", 1, utsRestart, "clear|b", 0, true},
          {"c", 1, utsRestart, "c", 0, true}},
         "clear",
         [](TScriptState& s) { s.ClearUserTimers(); },
         3,
         {"1:c", "1:clear", "1:b"},
         0,
         0},
        {"CommandSwitchesOnATimerThatCountsFromThen",
         {{"sleeper", 2, utsOff, "sleeper", 0, true}, {"waker", 3, utsRestart, "wake", 1, false}},
         "wake",
         [](TScriptState& s) { s.SetUserTimerStatus("sleeper", utsRestart); },
         8,
         {"3:wake", "5:sleeper", "7:sleeper"},
         2,
         2},
        // Nothing more runs in the second the list went off.
        {"CommandSwitchesTheListOff",
         {{"a", 1, utsRestart, "a", 0, true}, {"b", 1, utsRestart, "stop", 0, true}},
         "stop",
         [](TScriptState& s) { s.SetUserTimersActive(false); },
         3,
         {"1:stop"},
         2,
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Label);
        TTestHost host;
        TScriptState state(host);
        for (const Timer& t : c.Timers) {
            auto timer = std::make_unique<cTimer>();
            timer->Name = t.Name;
            timer->Ticker = t.Ticker;
            timer->Status = t.Status;
            timer->OnBuff = t.Command;
            timer->Repeat = t.Repeat;
            timer->Action = t.Forever ? cTimer::CycleForever : 0;
            state.AddUserTimer(std::move(timer));
        }
        host.OnSend = [&](const AnsiString& text) {
            if (text == c.Word)
                c.Act(state);
        };
        host.Clock.Advance(static_cast<uint64_t>(c.Seconds) * 1000u);
        EXPECT_EQ(host.Log, c.Expected);
        EXPECT_EQ(state.TimerRecList.Count(), c.Records);
        EXPECT_EQ(host.UserTimers.Count(), c.Events);
    }
}

TEST_F(ScriptTest, CommandSwitchesOffATimerDueInTheSameSecond)
{
    cTimer* victim = AddTimer("victim", 1, utsRestart, "victim");
    AddTimer("switch", 1, utsRestart, "off", 1, false);
    host.OnSend = [this](const AnsiString& text) {
        if (text == "off")
            state.SetUserTimerStatus("victim", utsOff);
    };
    AdvanceSeconds(1);
    EXPECT_EQ(Take(), (Log{"1:off"}));
    EXPECT_EQ(victim->Countdown, 1);
    // Nothing enabled is left: the list stopped itself; switching the victim on wakes it.
    state.SetUserTimerStatus("victim", utsOn);
    AdvanceSeconds(2);
    EXPECT_EQ(Take(), (Log{"2:victim", "3:victim"}));
}

TEST_F(ScriptTest, CommandRestartsItsOwnTimer)
{
    // A timer that restarts itself at its last run goes on for ever.
    cTimer* t = AddTimer("t", 2, utsRestart, "again", 1, false);
    host.OnSend = [this](const AnsiString&) { state.SetUserTimerStatus("t", utsRestart); };
    AdvanceSeconds(6);
    EXPECT_EQ(Take(), (Log{"2:again", "4:again", "6:again"}));
    EXPECT_EQ(t->RepeatsLeft, 1);
}
