#include <gtest/gtest.h>

#include <random>

#include "terminal/core/ConfigList.h"

namespace {

std::vector<TConfig> All(const TConfigList& l) { return {l.begin(), l.end()}; }

// Runs kept in the order they were added, painted later over earlier: the reference look.
struct Cell {
    TColor fg = -1, bg = -1;
    uint8_t flag = 0;
    bool operator==(const Cell&) const = default;
};
std::vector<Cell> Paint(const TConfigList& l, int width)
{
    std::vector<Cell> cells(static_cast<size_t>(width));
    for (const TConfig& r : l)
        for (int c = r.Start; c < r.End() && c < width; ++c) cells[static_cast<size_t>(c)] = {r.FontColor, r.BackColor, r.Flag};
    return cells;
}

TEST(ConfigList, AdjacentTextOfTheSameColoursMergesIntoOneRun)
{
    TConfigList l;
    l.Add(0, 3, clWhite, clBlack, 0);
    l.Add(3, 4, clWhite, clBlack, 0);
    EXPECT_EQ(All(l), (std::vector<TConfig>{{clWhite, clBlack, 0, 7, 0}}));
    l.Add(7, 2, clWhite, clNavy, 0);
    EXPECT_EQ(l.Count(), 2);
    l.Add(9, 2, clWhite, clNavy, 1);  // underline is part of the look
    EXPECT_EQ(l.Count(), 3);
}

TEST(ConfigList, RewritingALineInPlaceKeepsItsRunsBounded)
{
    TConfigList l;
    for (int i = 0; i < 1000; ++i) {
        l.Add(0, 5, i % 2 ? clRed : clLime, clBlack, 0);
        l.Add(5, 10, clWhite, clBlack, 0);
    }
    EXPECT_EQ(l.Count(), 2);
}

TEST(ConfigList, InsertThreeCellsAtFiveOfOneRunSplitsIt)
{
    TConfigList l;
    l.Add(0, 10, clRed, clBlack, 0);
    l.InsertCells(5, 3, clWhite, clNavy, 0);
    EXPECT_EQ(All(l), (std::vector<TConfig>{{clRed, clBlack, 0, 5, 0}, {clWhite, clNavy, 5, 3, 0}, {clRed, clBlack, 8, 5, 0}}));
}

TEST(ConfigList, InsertedCellsKeepTheUnderlineOfTheSplitRun)
{
    TConfigList l;
    l.Add(0, 10, clRed, clBlack, 1);
    l.InsertCells(5, 3, clWhite, clNavy, 0);
    EXPECT_EQ(l[2].Flag, 1);
}

TEST(ConfigList, DeletingCellsRemovesEmptyRunsAndShiftsLaterOnes)
{
    TConfigList l;
    l.Add(0, 4, clRed, clBlack, 0);
    l.Add(4, 2, clLime, clBlack, 0);
    l.Add(6, 4, clBlue, clBlack, 0);
    l.DeleteCells(4, 2);
    EXPECT_EQ(All(l), (std::vector<TConfig>{{clRed, clBlack, 0, 4, 0}, {clBlue, clBlack, 4, 4, 0}}));
}

TEST(ConfigList, RunStartingInsideTheDeletedCellsLosesOnlyThoseCells)
{
    // Cells 2..5 go; the run at 4..9 keeps its cells 6..9, which move to 2..5.
    TConfigList l;
    l.Add(0, 4, clRed, clBlack, 0);
    l.Add(4, 6, clBlue, clBlack, 0);
    l.DeleteCells(2, 4);
    EXPECT_EQ(All(l), (std::vector<TConfig>{{clRed, clBlack, 0, 2, 0}, {clBlue, clBlack, 2, 4, 0}}));
}

TEST(ConfigList, KeepsTheLookOfRunsPaintedInOrder)
{
    std::mt19937 rng(11);
    const TColor colours[] = {clRed, clLime, clBlue, clWhite};
    for (int round = 0; round < 200; ++round) {
        TConfigList l;
        std::vector<Cell> ref(60);
        for (int i = 0; i < 20; ++i) {
            int x = static_cast<int>(rng() % 40), len = 1 + static_cast<int>(rng() % 15);
            TColor fg = colours[rng() % 4];
            uint8_t flag = rng() % 5 == 0;
            l.Add(x, len, fg, clBlack, flag);
            for (int c = x; c < x + len; ++c) ref[static_cast<size_t>(c)] = {fg, clBlack, flag};
            int prevEnd = 0;
            for (const TConfig& r : l) {
                ASSERT_GE(r.Start, prevEnd);
                ASSERT_GT(r.Length, 0);
                prevEnd = r.End();
            }
        }
        ASSERT_EQ(Paint(l, 60), ref);
    }
}

}  // namespace
