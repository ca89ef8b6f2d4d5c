// Switching, resetting and setting user timers, the list's switch, deleting timers, and commands
// of a running timer that reach back into the timers.

#include "UserTimerTest.h"

TEST_F(UserTimerTest, OffKeepsTheCountdownOnGoesOnFromItRestartReloads)
{
    cTimer* t = AddTimer("t", 4, 0, utsRestart, true, "go");
    AdvanceSeconds(3);
    state.SetUserTimerStatus("t", utsOff);
    EXPECT_EQ(t->Status, utsOff);
    AdvanceSeconds(10);
    EXPECT_TRUE(Take().empty());
    EXPECT_EQ(t->Countdown, 1);

    state.SetUserTimerStatus(" t ", utsOn);
    EXPECT_EQ(t->Countdown, 1);
    AdvanceSeconds(1);
    EXPECT_EQ(Take(), (Log{"14:go"}));

    AdvanceSeconds(2);
    EXPECT_EQ(t->Countdown, 2);
    state.SetUserTimerStatus("t", utsRestart);
    EXPECT_EQ(t->Countdown, 4);
    AdvanceSeconds(4);
    EXPECT_EQ(Take(), (Log{"20:go"}));

    state.SetUserTimerStatus("t", utsStop);
    EXPECT_FALSE(state.UserTimerEvent(*t)->Enabled());
    AdvanceSeconds(8);
    EXPECT_TRUE(Take().empty());
    EXPECT_EQ(t->Status, utsStop);
}

TEST_F(UserTimerTest, RestartReloadsTheRepeatsOfAFinishedTimer)
{
    cTimer* t = AddTimer("t", 1, 2, utsRestart, false, "go");
    AdvanceSeconds(5);
    EXPECT_EQ(Take().size(), 2u);
    state.SetUserTimerStatus("t", utsRestart);
    EXPECT_EQ(t->RepeatsLeft, 2);
    AdvanceSeconds(5);
    EXPECT_EQ(Take(), (Log{"6:go", "7:go"}));
}

TEST_F(UserTimerTest, StatusOutsideTheKnownValuesIsStoredAndChangesNothing)
{
    cTimer* t = AddTimer("t", 1, 0, utsRestart, true, "go");
    state.SetUserTimerStatus("t", 7);
    EXPECT_EQ(t->Status, 7);
    EXPECT_TRUE(state.UserTimerEvent(*t)->Enabled());
    AdvanceSeconds(1);
    EXPECT_EQ(Take(), (Log{"1:go"}));
}

TEST_F(UserTimerTest, SetTickerRestartsWithTheNewPeriod)
{
    cTimer* t = AddTimer("t", 10, 0, utsOff, true, "go");
    AdvanceSeconds(3);
    state.SetUserTimerTicker("t", 2);
    EXPECT_EQ(t->Status, utsRestart);
    EXPECT_EQ(t->Ticker, 2);
    EXPECT_EQ(t->Countdown, 2);
    AdvanceSeconds(4);
    EXPECT_EQ(Take(), (Log{"5:go", "7:go"}));
}

TEST_F(UserTimerTest, UnknownNameChangesNothingAndTheFirstOfTwoNamesIsTheOne)
{
    cTimer* first = AddTimer("dup", 3, 0, utsOff, true, "first");
    cTimer* second = AddTimer("dup", 3, 0, utsOff, true, "second");
    state.SetUserTimerTicker("none", 1);
    state.SetUserTimerStatus("none", utsRestart);
    state.SetUserTimerCommand("none", "x");
    EXPECT_EQ(first->Ticker, 3);
    EXPECT_EQ(first->Status, utsOff);
    state.SetUserTimerTicker("dup", 1);
    AdvanceSeconds(2);
    EXPECT_EQ(Take(), (Log{"1:first", "2:first"}));
    EXPECT_EQ(second->Ticker, 3);
    EXPECT_FALSE(state.UserTimerEvent(*second)->Enabled());
}

TEST_F(UserTimerTest, ListSwitchedOffStaysOffUntilSwitchedOn)
{
    AddTimer("a", 1, 0, utsRestart, true, "a");
    AddTimer("b", 2, 0, utsOff, true, "b");
    AdvanceSeconds(1);
    state.SetUserTimersActive(false);
    EXPECT_FALSE(host.UserTimers.Active());
    // Switching a timer on does not switch on a list its owner switched off.
    state.SetUserTimerStatus("b", utsRestart);
    AdvanceSeconds(5);
    EXPECT_EQ(Take(), (Log{"1:a"}));
    state.SetUserTimersActive(true);
    AdvanceSeconds(2);
    EXPECT_EQ(Take(), (Log{"7:a", "8:b", "8:a"}));
}

TEST_F(UserTimerTest, TimerSwitchedOnAgainWakesTheListThatStoppedItself)
{
    AddTimer("t", 1, 1, utsRestart, false, "go");
    AdvanceSeconds(3);
    EXPECT_FALSE(host.UserTimers.Active());
    state.SetUserTimerStatus("t", utsRestart);
    EXPECT_TRUE(host.UserTimers.Active());
    AdvanceSeconds(3);
    EXPECT_EQ(Take(), (Log{"1:go", "4:go"}));
}

TEST_F(UserTimerTest, DeletingATimerRemovesItsEvent)
{
    cTimer* a = AddTimer("a", 1, 0, utsRestart, true, "a");
    cTimer* b = AddTimer("b", 1, 0, utsRestart, true, "b");
    const int32_t handleA = a->Handle;
    state.DeleteUserTimer(a);
    EXPECT_EQ(state.TimerRecList.Count(), 1);
    EXPECT_EQ(host.UserTimers.Count(), 1);
    EXPECT_EQ(host.UserTimers.ItemByHandle(handleA), nullptr);
    AdvanceSeconds(2);
    EXPECT_EQ(Take(), (Log{"1:b", "2:b"}));

    // A record that is not in the list is left alone.
    cTimer stranger;
    stranger.Handle = b->Handle;
    state.DeleteUserTimer(&stranger);
    state.DeleteUserTimer(nullptr);
    EXPECT_EQ(host.UserTimers.Count(), 1);

    AddTimer("c", 1, 0, utsOff, true, "c");
    state.ClearUserTimers();
    EXPECT_EQ(state.TimerRecList.Count(), 0);
    EXPECT_EQ(host.UserTimers.Count(), 0);
    AdvanceSeconds(2);
    EXPECT_TRUE(Take().empty());
}

TEST_F(UserTimerTest, EventOfARecordFreedWithoutItGoesAtItsNextTick)
{
    AddTimer("a", 5, 0, utsRestart, true, "a");
    state.TimerRecList.Clear();
    EXPECT_EQ(host.UserTimers.Count(), 1);
    AdvanceSeconds(1);
    EXPECT_EQ(host.UserTimers.Count(), 0);
    EXPECT_TRUE(Take().empty());
}

TEST_F(UserTimerTest, CommandDeletesItsOwnTimer)
{
    AddTimer("a", 1, 0, utsRestart, true, "a");
    AddTimer("self", 1, 0, utsRestart, true, "kill");
    host.OnSend = [this](const AnsiString& text) {
        if (text == "kill")
            state.DeleteUserTimer(FindUserTimer(state.TimerRecList, "self"));
    };
    AdvanceSeconds(3);
    // The later timer runs first in a second; the other still runs in that second.
    EXPECT_EQ(Take(), (Log{"1:kill", "1:a", "2:a", "3:a"}));
    EXPECT_EQ(state.TimerRecList.Count(), 1);
    EXPECT_EQ(host.UserTimers.Count(), 1);
}

TEST_F(UserTimerTest, CommandDeletesATimerDueInTheSameSecond)
{
    AddTimer("victim", 1, 0, utsRestart, true, "victim");
    AddTimer("killer", 1, 1, utsRestart, false, "kill|after");
    host.OnSend = [this](const AnsiString& text) {
        if (text == "kill")
            state.DeleteUserTimer(FindUserTimer(state.TimerRecList, "victim"));
    };
    AdvanceSeconds(3);
    EXPECT_EQ(Take(), (Log{"1:kill", "1:after"}));
    EXPECT_EQ(host.UserTimers.Count(), 1);
}

TEST_F(UserTimerTest, CommandClearsAllTimers)
{
    AddTimer("a", 1, 0, utsRestart, true, "a");
    AddTimer("b", 1, 0, utsRestart, true, "clear|b");
    AddTimer("c", 1, 0, utsRestart, true, "c");
    host.OnSend = [this](const AnsiString& text) {
        if (text == "clear")
            state.ClearUserTimers();
    };
    AdvanceSeconds(3);
    // c runs first; b clears everything, finishes its own command, and a never runs.
    EXPECT_EQ(Take(), (Log{"1:c", "1:clear", "1:b"}));
    EXPECT_EQ(state.TimerRecList.Count(), 0);
    EXPECT_EQ(host.UserTimers.Count(), 0);
}

TEST_F(UserTimerTest, CommandThatClearsAndAddsTimersLeavesOnlyTheNewOnesTicking)
{
    // As a command file loaded from a timer's command would.
    AddTimer("old", 1, 0, utsRestart, true, "reload");
    host.OnSend = [this](const AnsiString& text) {
        if (text != "reload")
            return;
        state.ClearUserTimers();
        AddTimer("new", 2, 0, utsRestart, true, "new");
    };
    AdvanceSeconds(5);
    EXPECT_EQ(Take(), (Log{"1:reload", "3:new", "5:new"}));
    EXPECT_EQ(host.UserTimers.Count(), 1);
}

TEST_F(UserTimerTest, CommandSwitchesOffATimerDueInTheSameSecond)
{
    cTimer* victim = AddTimer("victim", 1, 0, utsRestart, true, "victim");
    AddTimer("switch", 1, 1, utsRestart, false, "off");
    host.OnSend = [this](const AnsiString& text) {
        if (text == "off")
            state.SetUserTimerStatus("victim", utsOff);
    };
    AdvanceSeconds(1);
    EXPECT_EQ(Take(), (Log{"1:off"}));
    EXPECT_EQ(victim->Countdown, 1);
    // Nothing enabled is left: the list stopped itself; switching the victim on wakes it.
    EXPECT_FALSE(host.UserTimers.Active());
    state.SetUserTimerStatus("victim", utsOn);
    AdvanceSeconds(2);
    EXPECT_EQ(Take(), (Log{"2:victim", "3:victim"}));
}

TEST_F(UserTimerTest, CommandSwitchesOnATimerThatCountsFromThen)
{
    AddTimer("sleeper", 2, 0, utsOff, true, "sleeper");
    AddTimer("waker", 3, 1, utsRestart, false, "wake");
    host.OnSend = [this](const AnsiString& text) {
        if (text == "wake")
            state.SetUserTimerStatus("sleeper", utsRestart);
    };
    AdvanceSeconds(8);
    EXPECT_EQ(Take(), (Log{"3:wake", "5:sleeper", "7:sleeper"}));
}

TEST_F(UserTimerTest, CommandRestartsItsOwnTimer)
{
    // A timer that restarts itself at its last run goes on for ever.
    cTimer* t = AddTimer("t", 2, 1, utsRestart, false, "again");
    host.OnSend = [this](const AnsiString&) { state.SetUserTimerStatus("t", utsRestart); };
    AdvanceSeconds(6);
    EXPECT_EQ(Take(), (Log{"2:again", "4:again", "6:again"}));
    EXPECT_EQ(t->RepeatsLeft, 1);
}

TEST_F(UserTimerTest, CommandSwitchesTheListOff)
{
    AddTimer("a", 1, 0, utsRestart, true, "a");
    AddTimer("b", 1, 0, utsRestart, true, "stop");
    host.OnSend = [this](const AnsiString& text) {
        if (text == "stop")
            state.SetUserTimersActive(false);
    };
    AdvanceSeconds(3);
    // Nothing more runs in the second the list went off.
    EXPECT_EQ(Take(), (Log{"1:stop"}));
}
