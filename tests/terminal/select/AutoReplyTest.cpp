#include <gtest/gtest.h>

#include <vector>

#include "platform/core/Cp949.h"
#include "terminal/select/AutoReply.h"

namespace {

class AutoReplyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        r.SendString = [this](const AnsiString& s) { sent.push_back(s); };
        r.OnSendReplyData = [this](const AnsiString& s) { replies.push_back(s); };
        r.PlaySound = [this](const AnsiString& s) { sounds.push_back(s); };
        r.ShowMessage = [this](const AnsiString& s, int ms) { messages.push_back(s + "/" + std::to_string(ms)); };
        r.OnJReply = [this](const AnsiString& context, const AnsiString& id) {
            jreplies.push_back(id + "|" + context);
        };
    }
    void Add(const AnsiString& pattern, const AnsiString& answer, const AnsiString& sound = "",
             const AnsiString& message = "")
    {
        r.AddReplyText(pattern);
        r.Answers.push_back(answer);
        r.Sounds.push_back(sound);
        r.Messages.push_back(message);
    }
    TAutoReply r;
    std::vector<AnsiString> sent, replies, sounds, messages, jreplies;
};

TEST(AutoReplyPieces, PatternIsCutAtEveryCode)
{
    using V = std::vector<AnsiString>;
    EXPECT_EQ(TAutoReply::CutPieces("%1 tells you: %2"), (V{"%1", " tells you: ", "%2"}));
    EXPECT_EQ(TAutoReply::CutPieces("a%1%2b"), (V{"a", "%1", "%2", "b"}));
    EXPECT_EQ(TAutoReply::CutPieces("end%"), (V{"end", "%"}));
    // A code's character is one whole character, even a two-byte one.
    EXPECT_EQ(TAutoReply::CutPieces("%\xC7\xD1x"), (V{"%\xC7\xD1", "x"}));
}

TEST_F(AutoReplyTest, LiteralPatternFiresOnFirstOccurrenceAndStopsThePass)
{
    Add("Password:", "secret<Enter>");
    Add("word", "never");
    EXPECT_TRUE(r.AutoReply("Your Password: "));
    EXPECT_EQ(sent, (std::vector<AnsiString>{"secret\r"}));
    EXPECT_EQ(replies, (std::vector<AnsiString>{"secret<Enter>"}));
    EXPECT_FALSE(r.AutoReply("nothing here"));
}

TEST_F(AutoReplyTest, AnswerIsSplitAtEveryEnterMarker)
{
    Add("menu", "1<Enter>look<Enter>");
    r.AutoReply("the menu");
    EXPECT_EQ(sent, (std::vector<AnsiString>{"1\r", "look\r"}));
}

TEST_F(AutoReplyTest, CodesCaptureWordsAndAreSubstituted)
{
    Add("%1 tells you: %2", "tell %0 got %1<Enter>");
    EXPECT_TRUE(r.AutoReply("Bob tells you: hello there"));
    EXPECT_EQ(sent, (std::vector<AnsiString>{"tell Bob got hello\r"}));
}

TEST_F(AutoReplyTest, PatternsWithCodesDoNotStopThePass)
{
    Add("%1 arrives", "greet %0");
    Add("%1 arrives", "bow %0");
    EXPECT_TRUE(r.AutoReply("Kim arrives"));
    EXPECT_EQ(sent, (std::vector<AnsiString>{"greet Kim", "bow Kim"}));
}

TEST_F(AutoReplyTest, MiddleCaptureWithABlankStopsEveryFurtherReply)
{
    Add("say %1 now", "x");
    Add("say", "y");
    EXPECT_FALSE(r.AutoReply("say two words now"));
    EXPECT_TRUE(sent.empty());
}

TEST_F(AutoReplyTest, SoundAndMessageGoThroughTheHooks)
{
    Add("danger", "flee", "alarm.wav", "run!");
    r.AutoReply("danger ahead");
    EXPECT_EQ(sounds, (std::vector<AnsiString>{"alarm.wav"}));
    EXPECT_EQ(messages, (std::vector<AnsiString>{"run!/1000"}));
    EXPECT_EQ(sent, (std::vector<AnsiString>{"flee"}));
}

TEST_F(AutoReplyTest, DisabledRepliesAndMissingAnswersAreHarmless)
{
    r.AddReplyText("hp");  // no answer, sound or message entries at all
    EXPECT_TRUE(r.AutoReply("hp 10"));
    EXPECT_TRUE(sent.empty());
    r.SetEnabled(0, false);
    EXPECT_FALSE(r.AutoReply("hp 10"));
    // An empty pattern never matches.
    r.AddReplyText("");
    EXPECT_FALSE(r.AutoReply("anything"));
}

TEST_F(AutoReplyTest, RegressionHandlerClearingTheRepliesMidPassIsSafe)
{
    Add("%1 x", "a");
    Add("%1 x", "b");
    r.OnSendReplyData = [this](const AnsiString&) { r.ClearReplyText(); };
    EXPECT_TRUE(r.AutoReply("k x"));
    EXPECT_EQ(sent, (std::vector<AnsiString>{"a"}));
}

TEST_F(AutoReplyTest, LiteralMatchesOnlyOnCharacterBoundaries)
{
    // 똠 is 8C 63: its second byte is 'c'.
    Add("cat", "meow");
    EXPECT_FALSE(r.AutoReply(Utf8ToCp949("똠at")));
    EXPECT_TRUE(r.AutoReply("a cat"));
}

TEST_F(AutoReplyTest, JReplyReportsTheIdentifierOfItsCode)
{
    r.JCode = 'i';
    r.AssignJText("[%i] ");
    r.AssignJText("%c");
    r.JReply("[kim] says hello");
    EXPECT_EQ(jreplies, (std::vector<AnsiString>{"kim| hello"}));
}

TEST_F(AutoReplyTest, JReplyLastCodeGivesIdentifierWhenNoneCaptured)
{
    r.JCode = 'z';
    r.AssignJText("From %a %b");
    r.JReply("From home user1 rest");
    EXPECT_EQ(jreplies, (std::vector<AnsiString>{"user1| rest"}));
}

TEST_F(AutoReplyTest, JReplyFailsWithoutEvent)
{
    r.JReply("anything");  // no pieces
    r.JCode = 'i';
    r.AssignJText("[%i]");
    r.JReply("x [kim]");      // first literal must stand at the start
    r.JReply("[two words]");  // a capture with a blank
    EXPECT_TRUE(jreplies.empty());
}

}  // namespace
