#include <gtest/gtest.h>

#include "TermTestSupport.h"

namespace {

TEST(Erase, EraseLineModes)
{
    RecordingTerminal r;
    r.Feed("abcdefgh\x1b[1;4H\x1b[K");
    EXPECT_EQ(r.Line(0), "abc" + std::string(78, ' '));  // one past the right edge
    r.Feed("\r\nabcdefgh\x1b[2;4H\x1b[1K");
    EXPECT_EQ(r.Line(1), "    efgh");
    r.Feed("\x1b[2K");
    EXPECT_EQ(r.Line(1), std::string(80, ' '));
    EXPECT_EQ(r.Runs(1).size(), 1u);
    r.Feed("\x1b[3K");  // no effect
    EXPECT_EQ(r.Line(1), std::string(80, ' '));
}

TEST(Erase, ErasedCellsTakeTheCurrentColours)
{
    RecordingTerminal r;
    r.Feed("abcdef\x1b[46m\x1b[1;3H\x1b[K");
    std::vector<CellLook> cells = PaintLine(r.t.Data(), 0, 80);
    EXPECT_EQ(cells[1].bg, clNavy);
    EXPECT_EQ(cells[2].bg, clTeal);
    r.Feed("\x1b[41m\x1b[1;3H\x1b[2X");
    cells = PaintLine(r.t.Data(), 0, 80);
    EXPECT_EQ(cells[2].bg, clMaroon);
    EXPECT_EQ(cells[3].bg, clMaroon);
    EXPECT_EQ(cells[4].bg, clTeal);
}

TEST(Erase, EraseCharactersIsClampedToTheScreen)
{
    RecordingTerminal r;
    r.Feed("\x1b[1;70H\x1b[999999X");
    EXPECT_EQ(r.Line(0).size(), 80u);
}

TEST(Erase, ClearScreenKeepsThePreviousScreenInTheScrollBack)
{
    RecordingTerminal r;
    for (int i = 1; i <= 25; ++i) r.Feed("row" + std::to_string(i) + (i < 25 ? "\r\n" : ""));
    EXPECT_EQ(r.t.MaxLinePos(), 0);
    r.Feed("\x1b[2J");
    EXPECT_EQ(r.t.MaxLinePos(), 25);
    EXPECT_EQ(r.t.CurY(), 25);
    EXPECT_EQ(r.t.CurX(), 0);
    EXPECT_EQ(r.Line(0), "row1");
    EXPECT_EQ(r.Line(24), "row25");
    for (int row = 0; row < 25; ++row) EXPECT_EQ(r.Row(row), "");
}

TEST(Erase, ClearScreenDoesNotLeaveOldTextUnderNewText)
{
    // The line the cursor lands on is blank, so a shorter new line shows nothing of the old one.
    RecordingTerminal r;
    for (int i = 0; i < 24; ++i) r.Feed("\r\n");
    r.Feed("Welcome to the game\x1b[2JHi\r\n");
    EXPECT_EQ(r.lines.back(), "Hi");
}

TEST(Erase, ClearScreenInAColourPaintsTheNewScreen)
{
    RecordingTerminal r;
    r.Feed("\x1b[41m\x1b[2J");
    for (int row = 0; row < 25; ++row) {
        std::vector<TConfig> runs = r.RowRuns(row);
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(runs[0].BackColor, clMaroon);
        EXPECT_EQ(runs[0].Length, 80);
    }
}

TEST(Erase, EraseBelowAndAbove)
{
    RecordingTerminal r;
    r.Feed("aaaa\r\nbbbb\r\ncccc\x1b[2;3H\x1b[J");
    EXPECT_EQ(r.Row(0), "aaaa");
    EXPECT_EQ(r.Row(1), "bb");
    EXPECT_EQ(r.Row(2), "");
    r.Feed("\x1b[2;1Hxyzw\x1b[2;3H\x1b[1J");  // the rows above, and the cells left of the cursor
    EXPECT_EQ(r.Row(0), "");
    EXPECT_EQ(r.Row(1), "  zw");
    r.Feed("\x1b[1;1H\x1b[J");  // at the top left: the whole screen
    EXPECT_EQ(r.t.MaxLinePos(), 25);
}

}  // namespace
