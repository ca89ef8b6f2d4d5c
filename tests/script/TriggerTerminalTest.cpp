// Host text through the terminal core: the terminal reports what it prints and the control
// characters it handles, one byte at a time, and the scan builds the lines from those reports.

#include <gtest/gtest.h>

#include "TriggerTestSupport.h"
#include "script/TriggerText.h"
#include "terminal/core/TerminalCore.h"

namespace {

constexpr uint32_t Complete = cTriggers::Enabled | cTriggers::StaysEnabled | cTriggers::CompleteOnly;
constexpr uint32_t Partial = cTriggers::Enabled | cTriggers::StaysEnabled;
constexpr uint32_t OneShot = cTriggers::Enabled | cTriggers::CompleteOnly;

using Strings = std::vector<AnsiString>;

class TriggerTerminalTest : public ::testing::Test {
protected:
    TriggerTerminalTest()
    {
        terminal.OnAfterPut = [this](const AnsiString& piece) { state.ScanReceivedText(piece); };
        host.State = &state;
        // An action's text goes into the window's terminal, as a local echo would.
        host.Feed = [this](const AnsiString& piece) { terminal.DecodeText(piece); };
    }

    // One read from the connection. The window drops CR and follows LF with CR.
    void Read(std::string_view bytes)
    {
        AnsiString text;
        for (const char c : bytes) {
            if (c == '\r')
                continue;
            text += c;
            if (c == '\n')
                text += '\r';
        }
        terminal.DecodeText(text);
    }
    Strings Said() const
    {
        Strings out;
        for (const auto& e : host.Events)
            if (e.What == TScriptEvent::Send && e.Text != "\r\n")
                out.push_back(e.Text);
        return out;
    }

    TTerminalCore terminal;
    TTriggerTestHost host;
    TScriptState state{host};
};

TEST_F(TriggerTerminalTest, LinesSplitAcrossReads)
{
    AddTrigger(state, "goblin arrives", "kill goblin", Complete);
    Read("\x1b[1;31mA gob");
    Read("lin\x1b[0m arr");
    EXPECT_TRUE(Said().empty());
    Read("ives.\r\nNext");
    EXPECT_EQ(Said(), Strings{"kill goblin"});
    EXPECT_EQ(state.LastLine, "A goblin arrives.");
    EXPECT_EQ(state.CurrentLine, "Next");
}

TEST_F(TriggerTerminalTest, HangulPairsSplitAcrossReads)
{
    // "한국 %d" against 한국 42, cut inside both characters.
    AddTrigger(state, "\xC7\xD1\xB1\xB9 %d", "say %0", Complete);
    AddTrigger(state, "cat", "say cat", Complete);
    Read("\xC7");
    Read("\xD1\xB1");
    Read("\xB9 42\r\n");
    Read("\x8C");
    Read("cat\r\n");  // 똠 then "at": "cat" would start on the pair's second byte
    EXPECT_EQ(Said(), Strings{"say 42"});
}

TEST_F(TriggerTerminalTest, CrLfAndLfCrFromTheTerminal)
{
    AddTrigger(state, "one", "say one", Complete);
    state.TrigSuspend = 4;
    terminal.DecodeText("x one\r\n");
    EXPECT_EQ(state.TrigSuspend, 2);
    terminal.DecodeText("x one\n\r");
    EXPECT_EQ(state.TrigSuspend, 0);
    EXPECT_TRUE(Said().empty());  // suspended
    terminal.DecodeText("one\n\r");
    EXPECT_EQ(Said(), Strings{"say one"});
    EXPECT_EQ(host.Count(TScriptEvent::StatusLine), 6);
}

TEST_F(TriggerTerminalTest, PartialLinePromptsFireAtOnce)
{
    AddTrigger(state, "Password:", "secret", Partial);
    AddTrigger(state, "Password:", "late", Complete);
    Read("Welcome\r\nPassword:");
    EXPECT_EQ(Said(), Strings{"secret"});
    Read(" \r\n");
    EXPECT_EQ(Said(), (Strings{"secret", "late"}));
}

TEST_F(TriggerTerminalTest, CapturesOfEachKindAndTheirLimits)
{
    AddTrigger(state, "%s tells you %*", "say %0:%1", Complete);
    AddTrigger(state, "hp %d/%d", "say hp %0 %1", Complete);
    AddTrigger(state, "shout %*", "say %0", Complete);
    Read("[Kim] Bob tells you {hi}|there\r\n");
    Read("hp 0012/99x\r\n");
    Read("Bob, tells you no\r\n");
    const Strings said = Said();
    ASSERT_EQ(said.size(), 2u);
    EXPECT_EQ(said[0], "say Bob:\xA3\xFBhi\xA3\xFD\xA3\xFCthere");
    EXPECT_EQ(said[1], "say hp 0012 99");

    host.Clear();
    Read("shout " + AnsiString(2000, 'a') + "\r\n");
    ASSERT_EQ(Said().size(), 1u);
    EXPECT_EQ(Said()[0], "say " + AnsiString(1024, 'a'));
}

TEST_F(TriggerTerminalTest, JumpGuardAndItsMessage)
{
    for (int i = 0; i < 120; ++i)
        AddTrigger(state, "loop", "JUMP 1", Complete);
    Read("loop\r\n");
    EXPECT_EQ(Said().size(), 100u);
    EXPECT_EQ(host.Messages(), TriggerText::JumpLoop);
}

TEST_F(TriggerTerminalTest, SuspensionCountsCrAndLf)
{
    AddTrigger(state, "tired", "SUSPEND 3", Complete);
    AddTrigger(state, "x", "say x", Complete);
    Read("tired\r\n");  // two line ends: one left
    Read("x\r\n");
    EXPECT_EQ(Said(), Strings{"SUSPEND 3"});
    Read("x\r\n");
    EXPECT_EQ(Said(), (Strings{"SUSPEND 3", "say x"}));
}

TEST_F(TriggerTerminalTest, OneShotTrigger)
{
    AddTrigger(state, "ready", "go", OneShot);
    Read("ready\r\nready\r\n");
    EXPECT_EQ(Said(), Strings{"go"});
}

TEST_F(TriggerTerminalTest, ActionThatDeletesItsOwnTrigger)
{
    AddTrigger(state, "boom", "DEL 1", Partial);
    AddTrigger(state, "boom", "say after", Complete);
    Read("boom\r\nboom\r\n");
    EXPECT_EQ(state.TriggerList.Count(), 1);
    EXPECT_EQ(Said(), (Strings{"DEL 1", "say after", "say after"}));
}

TEST_F(TriggerTerminalTest, ActionThatFeedsALineBackIntoTheTerminal)
{
    AddTrigger(state, "ping", "FEED \\npong\\n\\r", Complete);
    AddTrigger(state, "^pong", "say got pong", Complete);
    Read("ping\r\n");
    EXPECT_EQ(Said(), (Strings{"FEED \\npong\\n\\r", "say got pong"}));
    EXPECT_EQ(state.LastLine, "pong");
}

} // namespace
