#include <gtest/gtest.h>

#include "TermTestSupport.h"

namespace {

TEST(InsertDelete, InsertCharactersShiftsTextAndRuns)
{
    RecordingTerminal r;
    r.Feed("\x1b[31m0123456789\x1b[1;6H\x1b[42m\x1b[3@");
    EXPECT_EQ(r.Line(0), "01234   56789");
    std::vector<TConfig> runs = r.Runs(0);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0], (TConfig{clMaroon, clNavy, 0, 5, 0}));
    EXPECT_EQ(runs[1], (TConfig{clMaroon, clGreen, 5, 3, 0}));
    EXPECT_EQ(runs[2], (TConfig{clMaroon, clNavy, 8, 5, 0}));
}

TEST(InsertDelete, InsertedBlanksPaintTheCurrentBackground)
{
    RecordingTerminal r;
    r.Feed("abcdef\x1b[42m\x1b[1;2H\x1b[2@");
    std::vector<CellLook> cells = PaintLine(r.t.Data(), 0, 80);
    EXPECT_EQ(cells[1].bg, clGreen);
    EXPECT_EQ(cells[2].bg, clGreen);
    EXPECT_EQ(cells[3].ch, 'b');
    EXPECT_EQ(cells[3].bg, clNavy);
}

TEST(InsertDelete, RepeatedInsertsDoNotGrowALineWithoutBound)
{
    RecordingTerminal r;
    r.Feed("abc\x1b[1;1H");
    for (int i = 0; i < 1000; ++i) r.Feed("\x1b[80@");
    EXPECT_LE(r.Line(0).size(), 80u);
    EXPECT_LE(r.Runs(0).back().End(), 80);
}

TEST(InsertDelete, DeleteCharactersShiftsTextAndRuns)
{
    RecordingTerminal r;
    r.Feed("\x1b[31mabc\x1b[32mdef\x1b[33mghi\x1b[1;3H\x1b[4P");
    EXPECT_EQ(r.Line(0), "abghi");
    std::vector<CellLook> cells = PaintLine(r.t.Data(), 0, 80);
    EXPECT_EQ(cells[1].fg, clMaroon);
    EXPECT_EQ(cells[2].fg, clOlive);
    EXPECT_EQ(cells[4].fg, clOlive);
    EXPECT_FALSE(cells[5].painted);
    EXPECT_EQ(r.Runs(0).size(), 2u);  // the green run became empty and is gone
}

TEST(InsertDelete, DeleteAtTheStartOfARunLosesOnlyTheDeletedCells)
{
    RecordingTerminal r;
    r.Feed("\x1b[31mab\x1b[32mcdefg\x1b[1;2H\x1b[2P");
    EXPECT_EQ(r.Line(0), "adefg");
    std::vector<CellLook> cells = PaintLine(r.t.Data(), 0, 80);
    EXPECT_EQ(cells[0].fg, clMaroon);
    for (int c = 1; c < 5; ++c) EXPECT_EQ(cells[static_cast<size_t>(c)].fg, clGreen) << c;
    EXPECT_FALSE(cells[5].painted);
}

TEST(InsertDelete, InsertAndDeleteLines)
{
    RecordingTerminal r;
    for (int i = 1; i <= 25; ++i) r.Feed("r" + std::to_string(i) + (i < 25 ? "\r\n" : ""));
    r.Feed("\x1b[3;1H\x1b[2L");
    EXPECT_EQ(r.Row(1), "r2");
    EXPECT_EQ(r.Row(2), "");
    EXPECT_EQ(r.Row(3), "");
    EXPECT_EQ(r.Row(4), "r3");
    EXPECT_EQ(r.Row(24), "r23");
    EXPECT_EQ(r.Line(25), "");  // nothing is pushed below the screen
    EXPECT_EQ(r.Line(26), "");
    r.Feed("\x1b[2;1H\x1b[3M");
    EXPECT_EQ(r.Row(0), "r1");
    EXPECT_EQ(r.Row(1), "r3");
    EXPECT_EQ(r.Row(21), "r23");
    EXPECT_EQ(r.Row(22), "");
    r.Feed("\x1b[999L");
    for (int row = 1; row < 25; ++row) EXPECT_EQ(r.Row(row), "");
    EXPECT_EQ(r.Row(0), "r1");
}

TEST(InsertDelete, ReverseIndexAtTheTopScrollsOnlyTheScreen)
{
    RecordingTerminal r;
    for (int i = 1; i <= 25; ++i) r.Feed("r" + std::to_string(i) + (i < 25 ? "\r\n" : ""));
    r.Feed("\x1b[1;1H\x1bM");
    EXPECT_EQ(r.Row(0), "");
    EXPECT_EQ(r.Row(1), "r1");
    EXPECT_EQ(r.Row(24), "r24");
    r.Feed("\x1b[25;1H\r\n");  // the line scrolled in at the bottom is blank, not r25
    EXPECT_EQ(r.Row(24), "");
}

}  // namespace
