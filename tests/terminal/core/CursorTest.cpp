#include <gtest/gtest.h>

#include "TermTestSupport.h"

namespace {

TEST(CursorMoves, PositionIsOneBased)
{
    RecordingTerminal r;
    r.Feed("\x1b[5;10H");
    EXPECT_EQ(r.t.CurY(), 4);
    EXPECT_EQ(r.t.CurX(), 9);
    r.Feed("\x1b[7f");  // one parameter: the row only, column 0
    EXPECT_EQ(r.t.CurY(), 6);
    EXPECT_EQ(r.t.CurX(), 0);
    r.Feed("\x1b[;3H");
    EXPECT_EQ(r.t.CurY(), 0);
    EXPECT_EQ(r.t.CurX(), 2);
    r.Feed("\x1b[0;0H");
    EXPECT_EQ(r.t.CurY(), 0);
    EXPECT_EQ(r.t.CurX(), 0);
    r.Feed("\x1b[99;1H");  // past the last row: the last row
    EXPECT_EQ(r.t.CurY(), 24);
}

TEST(CursorMoves, PositionIsRelativeToTheLiveScreen)
{
    RecordingTerminal r;
    for (int i = 0; i < 30; ++i) r.Feed("line\r\n");
    EXPECT_EQ(r.t.MaxLinePos(), 6);
    r.Feed("\x1b[1;1Htop");
    EXPECT_EQ(r.Line(6), "tope");
}

TEST(CursorMoves, RelativeMovesUseTheLastParameterAndClamp)
{
    RecordingTerminal r;
    r.Feed("\x1b[10;10H\x1b[3A");
    EXPECT_EQ(r.t.CurY(), 6);
    r.Feed("\x1b[A");
    EXPECT_EQ(r.t.CurY(), 5);
    r.Feed("\x1b[0A");  // 0 counts as 1
    EXPECT_EQ(r.t.CurY(), 4);
    r.Feed("\x1b[99A");
    EXPECT_EQ(r.t.CurY(), 0);
    r.Feed("\x1b[99B");
    EXPECT_EQ(r.t.CurY(), 24);
    r.Feed("\x1b[1;2B");  // the last parameter counts
    EXPECT_EQ(r.t.CurY(), 24);
    r.Feed("\x1b[5C");
    EXPECT_EQ(r.t.CurX(), 14);
    r.Feed("\x1b[2;4D");
    EXPECT_EQ(r.t.CurX(), 10);
    r.Feed("\x1b[99D");
    EXPECT_EQ(r.t.CurX(), 0);
}

TEST(CursorMoves, HugeParametersSaturate)
{
    RecordingTerminal r;
    r.Feed("\x1b[99999999999999999999A\x1b[4294967297B\x1b[" + std::string(5000, '9') + "D");
    EXPECT_EQ(r.t.CurY(), 24);
    EXPECT_EQ(r.t.CurX(), 0);
    EXPECT_EQ(r.t.CurParam().Value, TTerminalCore::kMaxParamValue);
}

TEST(CursorMoves, ManyParametersAreBounded)
{
    RecordingTerminal r;
    std::string s = "\x1b[";
    for (int i = 0; i < 100000; ++i) s += "1;";
    r.Feed(s + "31mx");
    EXPECT_EQ(r.t.ParamCount(), TTerminalCore::kMaxParams);
    EXPECT_EQ(r.Line(0), "x");
}

TEST(CursorMoves, SaveAndRestoreCursor)
{
    RecordingTerminal r;
    r.Feed("\x1b[3;7H\x1b" "7\x1b[10;1Hab\x1b" "8X");
    EXPECT_EQ(r.Line(2), std::string(6, ' ') + "X");
    r.Feed("\x1b[31m\x1b[5;5H\x1b[s\x1b[0;32m\x1b[1;1H\x1b[uY");
    EXPECT_EQ(r.Line(4), "    Y");
    EXPECT_EQ(r.RowRuns(4).back().FontColor, clMaroon);
}

TEST(CursorMoves, ReverseIndexControlNeverLeavesTheScreen)
{
    RecordingTerminal r;
    for (int i = 0; i < 30; ++i) r.Feed("\r\n");
    r.Feed("\x8d\x8d");
    EXPECT_EQ(r.t.CurY(), r.t.MaxLinePos() + 22);
    r.Feed("\x1b[1;1H\x8d");
    EXPECT_EQ(r.t.CurY(), r.t.MaxLinePos());
}

}  // namespace
