// The received-text scan fed one byte at a time, as the terminal reports host text.

#include <gtest/gtest.h>

#include "TriggerTestSupport.h"
#include "script/TriggerText.h"

namespace {

constexpr uint32_t Complete = cTriggers::Enabled | cTriggers::StaysEnabled | cTriggers::CompleteOnly;
constexpr uint32_t Partial = cTriggers::Enabled | cTriggers::StaysEnabled;
constexpr uint32_t OneShot = cTriggers::Enabled | cTriggers::CompleteOnly;

class TriggerScanTest : public ::testing::Test {
protected:
    TriggerScanTest()
    {
        host.State = &state;
        host.Feed = [this](const AnsiString& piece) { state.ScanReceivedText(piece); };
    }

    void Receive(std::string_view text)
    {
        for (const AnsiString& piece : Pieces(text))
            state.ScanReceivedText(piece);
    }
    // What was sent, one entry per line (the CR LF sends left out).
    std::vector<AnsiString> Said() const
    {
        std::vector<AnsiString> out;
        for (const auto& e : host.Events)
            if (e.What == TScriptEvent::Send && e.Text != "\r\n")
                out.push_back(e.Text);
        return out;
    }

    TTriggerTestHost host;
    TScriptState state{host};
};

using Strings = std::vector<AnsiString>;

TEST_F(TriggerScanTest, LinesSplitAcrossReadsFireOnceAtTheLineEnd)
{
    AddTrigger(state, "goblin", "kill goblin");
    Receive("You see a");
    Receive(" gob");
    EXPECT_TRUE(Said().empty());
    EXPECT_EQ(state.CurrentLine, "You see a gob");
    Receive("lin.\r\n");
    EXPECT_EQ(Said(), Strings{"kill goblin"});
    EXPECT_EQ(state.CurrentLine, "");
    EXPECT_EQ(state.LastLine, "You see a goblin.");
}

TEST_F(TriggerScanTest, HangulPairsSplitAcrossReads)
{
    // 한국 C7 D1 B1 B9, arriving as four pieces over two reads.
    AddTrigger(state, "\xC7\xD1\xB1\xB9 %d", "say %0");
    Receive("\xC7");
    Receive("\xD1\xB1");
    Receive("\xB9 42\n");
    EXPECT_EQ(Said(), Strings{"say 42"});
}

TEST_F(TriggerScanTest, AMatchNeverStartsOnTheSecondByteOfAPair)
{
    AddTrigger(state, "cat", "say cat");
    Receive("\x8C" "cat\n");  // 똠 then "at"
    EXPECT_TRUE(Said().empty());
    Receive("a cat\n");
    EXPECT_EQ(Said(), Strings{"say cat"});
}

TEST_F(TriggerScanTest, CrLfAndLfCrEndOneLineAndCountTwice)
{
    AddTrigger(state, "line", "say %*");
    state.TrigSuspend = 10;
    Receive("line one\r\n");
    Receive("line two\n\r");
    EXPECT_EQ(state.TrigSuspend, 6);  // every CR and LF piece counts
    EXPECT_EQ(host.Count(TScriptEvent::StatusLine), 4);
    EXPECT_EQ(state.LastLine, "line two");
    state.TrigSuspend = 65535;
    Receive("\r\n");
    EXPECT_EQ(state.TrigSuspend, 65535);  // suspended until resumed
}

TEST_F(TriggerScanTest, PartialLineTriggersFireBeforeTheLineEndsAndOnlyOnce)
{
    AddTrigger(state, "Password:", "secret", Partial);
    Receive("Password:");
    EXPECT_EQ(Said(), Strings{"secret"});
    Receive(" \n");
    EXPECT_EQ(Said(), Strings{"secret"});
    Receive("Password:\n");
    EXPECT_EQ(Said(), (Strings{"secret", "secret"}));
}

TEST_F(TriggerScanTest, CompleteLineTriggersWaitForTheLineEnd)
{
    AddTrigger(state, "hp %d", "say %0", Complete);
    AddTrigger(state, "sp %d", "say sp %0", Partial);
    Receive("hp 12 sp 3");
    // The partial trigger fired as soon as a digit followed "sp ".
    EXPECT_EQ(Said(), Strings{"say sp 3"});
    Receive("4\n");
    EXPECT_EQ(Said(), (Strings{"say sp 3", "say 12"}));
}

TEST_F(TriggerScanTest, CapturesOfEachKindGoIntoTheAction)
{
    AddTrigger(state, "%s tells you %*", "say %0 said %1 %2");
    AddTrigger(state, "hp %d/%d", "say %1 of %0");
    Receive("Bob tells you hi there\n");
    Receive("hp 120/200x\n");
    Receive("Bob, tells you hi\n");
    EXPECT_EQ(Said(), (Strings{"say Bob said hi there %2", "say 200 of 120"}));
}

TEST_F(TriggerScanTest, HostBracesAndBarsArriveFullWidth)
{
    AddTrigger(state, "gets %*", "say %0");
    Receive("gets {a|b}");
    EXPECT_EQ(state.CurrentLine, "gets \xA3\xFB" "a\xA3\xFC" "b\xA3\xFD");
    Receive("\n");
    EXPECT_EQ(Said(), Strings{"say \xA3\xFB" "a\xA3\xFC" "b\xA3\xFD"});
}

TEST_F(TriggerScanTest, OneShotTriggersFireOnceAndAreThenDisabled)
{
    cTriggers* t = AddTrigger(state, "ready", "go", OneShot);
    Receive("ready\nready\n");
    EXPECT_EQ(Said(), Strings{"go"});
    EXPECT_EQ(t->Status & cTriggers::Enabled, 0u);
}

TEST_F(TriggerScanTest, SuspensionCountsLineEndsAndTroActionsStillFire)
{
    AddTrigger(state, "rest", "SUSPEND 2");
    AddTrigger(state, "x", "say x");
    AddTrigger(state, "wake", "#tro");
    Receive("rest\n");
    Receive("x\n");  // the first of the two line ends was the one after "rest"
    EXPECT_EQ(Said(), Strings{"SUSPEND 2"});
    Receive("x\n");
    EXPECT_EQ(Said(), (Strings{"SUSPEND 2", "say x"}));

    Receive("rest\n");
    state.TrigSuspend = 65535;
    Receive("x wake\n");  // only the "#tro" trigger is tried; building its action resumes
    EXPECT_EQ(state.TrigSuspend, 0);
    Receive("x\n");
    EXPECT_EQ(Said(), (Strings{"SUSPEND 2", "say x", "SUSPEND 2", "say x"}));
}

TEST_F(TriggerScanTest, TriggersOffLeavesOnlyTroTriggers)
{
    AddTrigger(state, "a", "say a");
    AddTrigger(state, "a", "#tro|say tro");
    state.CmdConfig.TrigMode = 0;
    Receive("a\n");
    EXPECT_EQ(Said(), Strings{"say tro"});
}

TEST_F(TriggerScanTest, JumpGoesOnAfterTheTargetTrigger)
{
    AddTrigger(state, "x", "JUMP 3");
    AddTrigger(state, "x", "say 2");
    AddTrigger(state, "x", "say 3");
    AddTrigger(state, "x", "say 4");
    Receive("x\n");
    // Trigger 2 matched with the jump pending: its action runs and scanning goes on at 4.
    EXPECT_EQ(Said(), (Strings{"JUMP 3", "say 2", "say 4"}));
}

TEST_F(TriggerScanTest, JumpLoopGuardWarnsAtTheHundredthJump)
{
    for (int i = 0; i < 101; ++i)
        AddTrigger(state, "x", "JUMP 1");
    Receive("x\n");
    EXPECT_EQ(Said().size(), 100u);  // the hundred-and-first action does not run
    EXPECT_EQ(host.Messages(), TriggerText::JumpLoop);
}

TEST_F(TriggerScanTest, StopEndsThePass)
{
    AddTrigger(state, "x", "STOP");
    AddTrigger(state, "x", "say 2");
    Receive("x\n");
    EXPECT_EQ(Said(), Strings{"STOP"});
    EXPECT_EQ(state.TrigContinue, 0);
}

TEST_F(TriggerScanTest, ActionThatDeletesItsOwnTrigger)
{
    AddTrigger(state, "x", "DEL 1");
    AddTrigger(state, "x", "say 2");
    AddTrigger(state, "x", "say 3");
    Receive("x\n");
    ASSERT_EQ(state.TriggerList.Count(), 2);
    // The pass goes on by position: "say 2" moved into the freed place and waits for the next
    // line; "say 3" is at the next position.
    EXPECT_EQ(Said(), (Strings{"DEL 1", "say 3"}));
    Receive("x\n");
    EXPECT_EQ(Said(), (Strings{"DEL 1", "say 3", "say 2", "say 3"}));
}

TEST_F(TriggerScanTest, ActionThatDeletesEveryTriggerMidPass)
{
    AddTrigger(state, "x", "DEL 3|DEL 2|DEL 1", Partial);
    AddTrigger(state, "x", "say 2", Partial);
    AddTrigger(state, "x", "say 3", Partial);
    Receive("x\n");
    EXPECT_EQ(state.TriggerList.Count(), 0);
    EXPECT_EQ(Said(), (Strings{"DEL 3", "DEL 2", "DEL 1"}));
}

TEST_F(TriggerScanTest, ActionThatFeedsALineBackIntoTheScan)
{
    AddTrigger(state, "ping", "FEED pong\\n", Partial);
    AddTrigger(state, "%*pong", "say got %0");
    Receive("ping\n");
    // The fed text joined the line being received and ended it.
    EXPECT_EQ(Said(), (Strings{"FEED pong\\n", "say got ping"}));
    EXPECT_EQ(state.LastLine, "pingpong");
    EXPECT_EQ(state.CurrentLine, "");
}

TEST_F(TriggerScanTest, FedBackTextDoesNotUndoTheOuterStop)
{
    AddTrigger(state, "x", "STOP|FEED y");
    AddTrigger(state, "x", "say 2");
    Receive("x\n");
    // The fed byte's partial pass returned at once; the stop still ends the outer pass.
    EXPECT_EQ(Said(), (Strings{"STOP", "FEED y"}));
    EXPECT_EQ(state.LastLine, "xy");
}

TEST_F(TriggerScanTest, AClosingWindowScansNothing)
{
    AddTrigger(state, "x", "say x");
    state.Closing = 1;
    Receive("x\n");
    EXPECT_TRUE(host.Events.empty());
    EXPECT_EQ(state.CurrentLine, "");
}

TEST_F(TriggerScanTest, TriggersWithoutPatternOrActionAreNeverTried)
{
    AddTrigger(state, "", "say empty");
    AddTrigger(state, "x", "");
    Receive("x\n");
    EXPECT_TRUE(Said().empty());
}

TEST_F(TriggerScanTest, CapturesStayForConditionsUntilTheNextTry)
{
    AddTrigger(state, "hp %d", "say %0");
    AddTrigger(state, "zzz", "say z");
    Receive("hp 5\n");
    // The second trigger was tried after the first fired, and emptied the slots.
    EXPECT_EQ(state.CaptureCount, 0);
    state.TriggerList.Delete(1);
    state.TriggersChanged();
    Receive("hp 7\n");
    ASSERT_EQ(state.CaptureCount, 1);
    ASSERT_NE(state.CaptureText(0), nullptr);
    EXPECT_EQ(*state.CaptureText(0), "7");
    EXPECT_EQ(state.CaptureText(1), nullptr);
    EXPECT_EQ(state.CaptureSlots[0].Kind, 2);
}

TEST_F(TriggerScanTest, ChangedPatternIsCompiledAgain)
{
    cTriggers* t = AddTrigger(state, "abc", "say hit", Partial);
    Receive("abc\n");
    t->From = "xyz";
    state.TriggersChanged();
    Receive("abc xyz\n");
    EXPECT_EQ(Said(), (Strings{"say hit", "say hit"}));
}

TEST_F(TriggerScanTest, PatternsWithVariablesAreExpandedAtEveryTry)
{
    auto v = std::make_unique<cVariables>();
    v->Name = "who";
    v->Value = "Kim";
    cVariables* who = state.VariableList.Add(std::move(v));
    AddTrigger(state, "@(who) arrives", "say hello", Partial);
    Receive("Kim arrives\n");
    who->Value = "Lee";
    Receive("Kim arrives\nLee arrives\n");
    EXPECT_EQ(Said(), (Strings{"say hello", "say hello"}));
}

} // namespace

namespace {

TEST_F(TriggerScanTest, ActionThatSwitchesATriggerOnByWritingItsStatus)
{
    AddTrigger(state, "x", "say x", cTriggers::StaysEnabled);
    AddTrigger(state, "y", "STATUS 1 5", Partial);
    Receive("xy");
    EXPECT_EQ(Said(), std::vector<AnsiString>{"STATUS 1 5"});
    Receive("z");
    EXPECT_EQ(Said(), (std::vector<AnsiString>{"STATUS 1 5", "say x"}));
}

} // namespace

namespace {

TEST_F(TriggerScanTest, NegativeSuspensionCountsDownWithoutOverflow)
{
    state.TrigSuspend = INT32_MIN;
    Receive("\n");
    EXPECT_EQ(state.TrigSuspend, INT32_MAX);
}

} // namespace
