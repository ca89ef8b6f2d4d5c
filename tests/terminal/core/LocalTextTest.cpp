// The program's own messages on the terminal: they pass the same gate and queue as host text,
// but are neither reported nor answered.
#include "TermTestSupport.h"

namespace {

struct LocalText : ::testing::Test {
    RecordingTerminal r;
    std::vector<std::string> replies;
    void WatchReplies()
    {
        r.t.AutoReply = [this](const AnsiString& line) {
            replies.push_back("auto:" + line);
            return false;
        };
        r.t.JReply = [this](const AnsiString& line) { replies.push_back("j:" + line); };
    }
};

TEST_F(LocalText, IsShownButNotReported)
{
    r.t.DecodeLocalText("msg\n\r");
    r.Feed("host");
    Check(r, "row0=msg");
    Check(r, "row1=host");
    EXPECT_EQ(r.events, Pieces("host"));
    EXPECT_TRUE(r.lines.empty());
}

TEST_F(LocalText, KeepsItsPlaceBehindHeldText)
{
    r.Feed(Numbered("l", 0, 39));
    r.events.clear();
    ASSERT_TRUE(r.t.ScrollView(3));
    r.Feed("one ");
    r.t.DecodeLocalText("two ");
    r.Feed("three");
    EXPECT_TRUE(r.events.empty());
    r.t.ScrollView(r.t.MaxLinePos());
    Check(r, "row24=one two three");
    EXPECT_EQ(r.events, Pieces("one three"));
}

TEST_F(LocalText, IsNotAnsweredByTheAutoReply)
{
    WatchReplies();
    r.t.DecodeLocalText("Password: \n\r");
    r.t.DecodeLocalText("again");
    EXPECT_TRUE(replies.empty());
    r.Feed("\r\nhost");
    EXPECT_EQ(replies, (std::vector<std::string>{"auto:again", "j:again", "auto:host"}));
}

TEST_F(LocalText, FromAHandlerInsideHostTextLeavesTheRestReported)
{
    r.t.OnAfterPut = [this](const AnsiString& s) {
        r.events.push_back(s);
        if (s == "x")
            r.t.DecodeLocalText("[m]");
    };
    r.Feed("axb");
    EXPECT_EQ(r.events, Pieces("axb"));
    Check(r, "row0=a[m]xb");
}

}  // namespace
