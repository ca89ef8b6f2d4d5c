#include <gtest/gtest.h>

#include "TerminalTestSupport.h"
#include "platform/gui/Sound.h"

namespace {

class TerminalAutoReply : public ::testing::Test, public TTerminalFixture {
protected:
    void SetUp() override
    {
        oldHook = SetSoundHook([this](const TSoundRequest& r) {
            sounds.push_back(r.FileName);
            return true;
        });
        term->AddReplyText("Password:");
        term->Replies().Answers = {"secret<Enter>"};
        term->Replies().Sounds = {"ding.wav"};
        term->OnSendReplyData = [this](TObject*, const AnsiString& d) { replyData.push_back(d); };
    }
    void TearDown() override { SetSoundHook(oldHook); }
    TSoundHook oldHook;
    std::vector<AnsiString> sounds, replyData;
};

TEST_F(TerminalAutoReply, PromptWithoutLineEndIsAnsweredOncePerMatch)
{
    term->DecodeText("Password:");
    EXPECT_EQ(putStrings, (std::vector<AnsiString>{"secret\r"}));
    // More of the same line: the answered prompt is not answered again.
    term->DecodeText(" ");
    term->DecodeText("*\r\n");
    EXPECT_EQ(putStrings.size(), 1u);
    // A new prompt on a new line is answered again.
    term->DecodeText("Password:");
    EXPECT_EQ(putStrings.size(), 2u);
    EXPECT_EQ(replyData, (std::vector<AnsiString>{"secret<Enter>", "secret<Enter>"}));
    EXPECT_EQ(sounds, (std::vector<AnsiString>{"ding.wav", "ding.wav"}));
}

TEST_F(TerminalAutoReply, CompleteLineIsAnsweredAtItsEnd)
{
    term->ClearReplyText();
    term->AddReplyText("%1 arrives");
    term->Replies().Answers = {"hi %0"};
    term->Replies().Sounds.clear();
    term->DecodeText("Kim arr");
    EXPECT_TRUE(putStrings.empty());
    term->DecodeText("ives\r\n");
    ASSERT_FALSE(putStrings.empty());
    EXPECT_EQ(putStrings[0], "hi Kim");
}

TEST_F(TerminalAutoReply, JReplyReportsThroughTheControl)
{
    std::vector<AnsiString> got;
    term->OnJReply = [&](TObject*, const AnsiString& context, const AnsiString& id) {
        got.push_back(id + "|" + context);
    };
    term->Replies().JCode = 'n';
    term->AssignJText("[%n]%x");
    term->DecodeText("[bob] waves\r\n");
    // The last code takes the word up to the first blank: none here, so the rest is the context.
    EXPECT_EQ(got, (std::vector<AnsiString>{"bob| waves"}));
}

}  // namespace
