#include <gtest/gtest.h>

#include "TermTestSupport.h"

namespace {

TEST(Wrap, IsHanLeadByteCountsBackToTheLastSingleByte)
{
    const std::string s = "a\xC7\xD1\xB1";
    EXPECT_FALSE(TTerminalCore::IsHanLeadByte(s, 1));
    EXPECT_TRUE(TTerminalCore::IsHanLeadByte(s, 2));
    EXPECT_FALSE(TTerminalCore::IsHanLeadByte(s, 3));
    EXPECT_TRUE(TTerminalCore::IsHanLeadByte(s, 4));
    EXPECT_TRUE(TTerminalCore::IsHanLeadByte(s));
    EXPECT_FALSE(TTerminalCore::IsHanLeadByte(s, 0));
    EXPECT_FALSE(TTerminalCore::IsHanLeadByte(s, 5));
}

TEST(Wrap, SeventyNineCharactersWrapAndTheWrapIsNotReported)
{
    RecordingTerminal r;
    r.Feed(std::string(79, 'x'));
    EXPECT_EQ(r.t.CurY(), 1);
    EXPECT_EQ(r.t.CurX(), 0);
    EXPECT_EQ(r.Line(0), std::string(79, 'x'));
    EXPECT_EQ(r.events.size(), 79u);
    EXPECT_EQ(r.lines.size(), 1u);  // the wrap's CR still reports the line
    r.Feed("y");
    EXPECT_EQ(r.Line(1), "y");
}

TEST(Wrap, HangulPairIsNeverSplit)
{
    RecordingTerminal r;
    r.Feed(std::string(78, 'x') + "\xC7\xD1" "z");
    EXPECT_EQ(r.Line(0), std::string(78, 'x') + "\xC7\xD1");
    EXPECT_EQ(r.Line(1), "z");
    EXPECT_EQ(r.events.size(), 81u);
}

TEST(Wrap, PairSplitAcrossCallsCompletes)
{
    RecordingTerminal r;
    r.Feed("a\xC7");
    EXPECT_EQ(r.Line(0), "");  // nothing drawn until the trail byte arrives
    EXPECT_EQ(r.t.CollectedText(), "a\xC7");
    r.Feed("\xD1" "b");
    EXPECT_EQ(r.Line(0), "a\xC7\xD1" "b");
    EXPECT_EQ(r.events, Pieces("a\xC7\xD1" "b"));
}

TEST(Wrap, PairSplitAcrossCallsAtTheWrapColumn)
{
    RecordingTerminal r;
    r.Feed(std::string(78, 'x') + "\xC7");
    EXPECT_EQ(r.t.CurY(), 0);
    r.Feed("\xD1");
    EXPECT_EQ(r.Line(0), std::string(78, 'x') + "\xC7\xD1");
    EXPECT_EQ(r.t.CurY(), 1);
}

TEST(Wrap, NarrowScreenWrapsEveryByteWithoutLooping)
{
    RecordingTerminal r;
    r.t.SetColumns(1);
    r.Feed("ab\xC7\xD1");
    EXPECT_EQ(r.Line(0), "a");
    EXPECT_EQ(r.Line(1), "b");
    EXPECT_EQ(r.Line(2), "\xC7\xD1");
}

TEST(Wrap, CursorMovedPastTheEdgeWrapsAtOnce)
{
    RecordingTerminal r;
    r.Feed("\x1b[999999C");
    EXPECT_EQ(r.t.CurY(), 1);
    EXPECT_EQ(r.t.CurX(), 0);
}

TEST(Wrap, TextCollectedBeforeAHugeMoveStaysBounded)
{
    // ESC then a digit: the digit is printed while the escape stays open, then the move.
    RecordingTerminal r;
    r.Feed("\x1b" "5[999999C\x1b" "5[1;999999H");
    for (int y = 0; y < 4; ++y) EXPECT_LE(r.Line(y).size(), 81u);
}

}  // namespace
