#include <gtest/gtest.h>

#include "TermTestSupport.h"

namespace {

TEST(AfterPut, SequencesAreNotReportedButTheirTextIs)
{
    RecordingTerminal r;
    r.Feed("\x1b[1;31mHP\x1b[0m:\t9\a\b\r\n");
    EXPECT_EQ(r.events, Pieces("HP:\t9\a\b\r\n"));
}

TEST(AfterPut, HangulArrivesAsTwoPieces)
{
    RecordingTerminal r;
    r.Feed("\xC7\xD1\xB1\xDB");
    EXPECT_EQ(r.events, Pieces("\xC7\xD1\xB1\xDB"));
}

TEST(AfterPut, ReportComesBeforeTheByteTakesEffect)
{
    RecordingTerminal r;
    std::vector<int> columns;
    r.t.OnAfterPut = [&](const AnsiString& s) {
        if (s == "\b") columns.push_back(r.t.CurX());
    };
    r.Feed("abc\b");
    EXPECT_EQ(columns, std::vector<int>{3});
    EXPECT_EQ(r.t.CurX(), 2);
}

TEST(AfterPut, HeldTextIsShownInOrderWhenTheViewReturns)
{
    RecordingTerminal r;
    for (int i = 0; i < 40; ++i) r.Feed("l" + std::to_string(i) + "\r\n");
    r.events.clear();
    ASSERT_TRUE(r.t.ScrollView(3));
    r.Feed("one ");
    r.Feed("two");
    EXPECT_TRUE(r.events.empty());
    EXPECT_EQ(r.t.PendingText(), "one two");
    r.t.ScrollView(r.t.MaxLinePos());
    EXPECT_EQ(r.events, Pieces("one two"));
    EXPECT_EQ(r.Row(24), "one two");
}

TEST(AfterPut, HeldWhileSelecting)
{
    RecordingTerminal r;
    r.t.SetSelecting(true);
    r.Feed("abc");
    EXPECT_TRUE(r.events.empty());
    r.t.SetSelecting(false);
    r.t.ReleasePending();
    EXPECT_EQ(r.events, Pieces("abc"));
    EXPECT_TRUE(r.t.PendingText().empty());
}

TEST(AfterPut, HandlerFeedingTextBackIsDecodedAtOnceAndOnlyOnce)
{
    RecordingTerminal r;
    std::string seen;
    r.t.OnAfterPut = [&](const AnsiString& s) {
        seen += s;
        if (s == "!") r.t.DecodeText("<ok>");
    };
    r.Feed("a!b");
    // The echo is decoded while '!' is reported, before '!' itself is collected.
    EXPECT_EQ(seen, "a!<ok>b");
    EXPECT_EQ(r.Line(0), "a<ok>!b");
}

TEST(AfterPut, HandlerFeedingPendingTextBackDoesNotDecodeItTwice)
{
    RecordingTerminal r;
    for (int i = 0; i < 40; ++i) r.Feed("\r\n");
    r.t.ScrollView(0);
    r.Feed("xy");
    std::string seen;
    bool fed = false;
    r.t.OnAfterPut = [&](const AnsiString& s) {
        seen += s;
        if (!fed) {
            fed = true;
            r.t.DecodeText("z");
        }
    };
    r.t.ScrollView(r.t.MaxLinePos());
    EXPECT_EQ(seen, "xzy");
}

TEST(AfterPut, EndlessEchoDoesNotExhaustTheStack)
{
    RecordingTerminal r;
    int calls = 0;
    r.t.OnAfterPut = [&](const AnsiString&) {
        if (++calls < 20000) r.t.DecodeText("e");
    };
    r.Feed("s");
    EXPECT_EQ(calls, 20000);
    EXPECT_TRUE(r.t.PendingText().empty());
}

TEST(AfterPut, LineHandlerMayRewriteTheScreen)
{
    RecordingTerminal r;
    r.t.OnLine = [&](const AnsiString& line) {
        if (line == "prompt") r.t.DecodeText("\x1b[2J\x1b[1;1Hcleared\r\n");
    };
    r.Feed("prompt\r\nafter");
    EXPECT_EQ(r.Row(0), "cleared");
    EXPECT_EQ(r.Row(2), "after");
}

TEST(AfterPut, AutoReplyAnswersAPartialLineOnce)
{
    RecordingTerminal r;
    std::vector<std::string> asked;
    r.t.AutoReply = [&](const AnsiString& s) {
        asked.push_back(s);
        return s.find("[Enter]") != std::string::npos;
    };
    r.Feed("Press [Enter]");
    EXPECT_EQ(r.t.ReplyPrefix(), "Press [Enter]");
    r.Feed(" more");
    EXPECT_EQ(asked.back(), " more");
    r.Feed("\r\n");
    EXPECT_TRUE(r.t.ReplyPrefix().empty());
}

}  // namespace
