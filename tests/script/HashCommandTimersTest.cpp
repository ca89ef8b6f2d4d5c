// The user-timer words: switching one by name, a new period, the whole list, and "#" words run by
// a timer's command.

#include "HashCommandTest.h"
#include "script/UserTimer.h"

TEST_F(HashCommandTest, TimerStatusWords)
{
    cTimer* t = AddTimer("t", 2, utsOff, "tick");
    Run("#tir t");
    EXPECT_EQ(t->Status, utsRestart);
    AdvanceSeconds(4);
    EXPECT_EQ(Lines(), (Strings{"tick", "tick"}));
    Run("#tif t");
    EXPECT_EQ(t->Status, utsOff);
    AdvanceSeconds(4);
    EXPECT_EQ(Lines().size(), 2u);
    Run("#tio t");
    EXPECT_EQ(t->Status, utsOn);
    AdvanceSeconds(2);
    EXPECT_EQ(Lines().size(), 3u);
    Run("#tis t");
    EXPECT_EQ(t->Status, utsStop);
    AdvanceSeconds(4);
    EXPECT_EQ(Lines().size(), 3u);
    // Unknown or missing names change nothing.
    Run("#tio nobody|#tio|#tir");
    EXPECT_EQ(t->Status, utsStop);
    EXPECT_EQ(Messages(), "");
}

TEST_F(HashCommandTest, TimerWordsWithoutANameLeaveANamelessTimerAlone)
{
    cTimer* nameless = AddTimer("", 1, utsOff, "tick");
    Run("#tio|#tir|#tim");
    EXPECT_EQ(nameless->Status, utsOff);
    Run("#tio {}");
    EXPECT_EQ(nameless->Status, utsOn);
}

TEST_F(HashCommandTest, StartAndStopAllTimers)
{
    AddTimer("t", 1, utsOn, "tick");
    Run("#std");
    EXPECT_FALSE(host.UserTimers.Active());
    AdvanceSeconds(3);
    EXPECT_TRUE(Lines().empty());
    Run("#sta");
    EXPECT_TRUE(host.UserTimers.Active());
    AdvanceSeconds(2);
    EXPECT_EQ(Lines(), (Strings{"tick", "tick"}));
}

TEST_F(HashCommandTest, NewPeriodRestartsTheTimer)
{
    cTimer* t = AddTimer("t", 10, utsOff, "tick");
    Run("#tim t 3");
    EXPECT_EQ(t->Ticker, 3);
    EXPECT_EQ(t->Status, utsRestart);
    AdvanceSeconds(3);
    EXPECT_EQ(Lines(), Strings{"tick"});
    Run("#tim nobody 5");  // no such timer: nothing, and no usage
    EXPECT_EQ(Messages(), "");
}

TEST_F(HashCommandTest, NewPeriodWithoutSecondsShowsTheUsage)
{
    cTimer* t = AddTimer("t", 10, utsOff, "tick");
    const AnsiString usage = Ks("\r\n사용법 : 타이머이름 초수\n\r");
    Run("#tim t");
    EXPECT_EQ(Messages(), usage);
    Clear();
    Run("#tim");
    EXPECT_EQ(Messages(), usage);
    EXPECT_EQ(t->Ticker, 10);
    EXPECT_EQ(t->Status, utsOff);
    // The commands after it still run.
    Clear();
    Run("#tim t|after");
    EXPECT_EQ(Lines(), Strings{"after"});
}

TEST_F(HashCommandTest, TimerCommandKeywordStillSetsTheCommand)
{
    cTimer* t = AddTimer("t", 1, utsOn, "old");
    Run("#tic t,{new|#echo ran}");
    EXPECT_EQ(t->OnBuff, "new|#echo ran");
    AdvanceSeconds(1);
    EXPECT_EQ(Lines(), Strings{"new"});
    EXPECT_EQ(Messages(), "\n\rran");
}

TEST_F(HashCommandTest, HashWordsFromATimersCommand)
{
    // A timer that switches a trigger off, sets a variable, stops itself and reports.
    cTriggers* trigger = AddTrigger("a", "x", "one");
    cTimer* t = AddTimer("t", 2, utsOn, "#tnf a|#vs ticks 1|#tif t|#echo stopped|#xyz");
    AdvanceSeconds(2);
    EXPECT_FALSE(trigger->Status & cTriggers::Enabled);
    EXPECT_EQ(t->Status, utsOff);
    EXPECT_EQ(Messages(), "\n\rstopped" + Unknown("xyz"));
    AdvanceSeconds(10);
    EXPECT_EQ(Messages(), "\n\rstopped" + Unknown("xyz"));
    Receive("x\r\n");
    EXPECT_TRUE(Lines().empty());
}

TEST_F(HashCommandTest, TimerThatChangesItsOwnPeriodFromItsCommand)
{
    cTimer* t = AddTimer("t", 1, utsOn, "tick|#tim t 3");
    AdvanceSeconds(1);
    EXPECT_EQ(Lines(), Strings{"tick"});
    EXPECT_EQ(t->Ticker, 3);
    AdvanceSeconds(2);
    EXPECT_EQ(Lines().size(), 1u);
    AdvanceSeconds(1);
    EXPECT_EQ(Lines().size(), 2u);
}
