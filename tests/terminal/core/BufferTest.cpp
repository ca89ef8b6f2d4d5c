// The line buffer and the run lists, each against a straightforward model.
#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "platform/core/Exceptions.h"
#include "terminal/core/ConfigList.h"
#include "terminal/core/DataList.h"
#include "terminal/core/TerminalCore.h"

namespace {

// The buffer as a plain list of texts, scrolled the straightforward way.
struct NaiveBuffer {
    std::vector<std::string> lines = std::vector<std::string>(TDataList::kCount);
    void UpScroll(int y, int n)
    {
        for (int i = 0; i < n; ++i) {
            lines.erase(lines.begin() + y);
            lines.emplace_back();
        }
    }
    void DownScroll(int y, int n)
    {
        for (int i = 0; i < n; ++i) {
            lines.pop_back();
            lines.insert(lines.begin() + y, std::string());
        }
    }
};

// Lines 0..n-1 of d joined by '|'.
std::string Joined(const TDataList& d, int n)
{
    std::string s;
    for (int y = 0; y < n; ++y)
        s += (y ? "|" : "") + d.Strings(y);
    return s;
}

TDataList Letters(int n)
{
    TDataList d;
    for (int y = 0; y < n; ++y)
        d.InsertString(std::string(1, static_cast<char>('a' + y)), 0, y);
    return d;
}

std::vector<TConfig> All(const TConfigList& l) { return {l.begin(), l.end()}; }

// One cell's look in the reference picture.
struct Cell {
    TColor fg = -1, bg = -1;
    uint8_t flag = 0;
    bool operator==(const Cell&) const = default;
};

}  // namespace

TEST(DataList, HoldsExactlyTenThousandLinesAfterAnyScroll)
{
    TDataList d;
    for (int i = 0; i < 20000; ++i) {
        d.InsertString("line " + std::to_string(i), 0, 9999);
        d.UpScroll(0, 1);
    }
    EXPECT_EQ(std::tuple(d.Count(), d.Strings(9998), d.Strings(0), d.Strings(9999)),
              std::tuple(10000, "line 19999", "line 10001", ""));
    EXPECT_THROW(d.Strings(10000), EListError);
    EXPECT_THROW(d.Strings(-1), EListError);
}

TEST(DataList, InsertStringPadsAndOverwritesAndRunTextPads)
{
    TDataList d;
    const std::tuple<const char*, int, const char*> steps[] = {
        {"text", 10, "text"}, {"AB", 11, "tABt"}, {"longer", 12, "tAlonger"}};
    for (const auto& [text, x, line] : steps) {
        d.InsertString(text, x, 3);
        EXPECT_EQ(d.Strings(3), std::string(10, ' ') + line) << text;
    }
    d.InsertString("abc", 0, 0);
    EXPECT_EQ(d.RunText(0, TConfig{0, 0, 1, 5, 0}), "bc   ");
}

TEST(DataList, ScrollsGiveTheSameLinesAsTheStraightforwardList)
{
    std::mt19937 rng(7);
    TDataList d;
    NaiveBuffer n;
    for (int step = 0; step < 3000; ++step) {
        int y = static_cast<int>(rng() % 10000);
        if (rng() % 3 == 0)
            y = 9990 + static_cast<int>(rng() % 10);
        if (rng() % 4 == 0)
            y = static_cast<int>(rng() % 30);
        int k = static_cast<int>(rng() % 4);
        switch (rng() % 4) {
        case 0: {
            std::string s = "s" + std::to_string(step);
            d.InsertString(s, 0, y);
            n.lines[static_cast<size_t>(y)].replace(0, std::min(s.size(), n.lines[static_cast<size_t>(y)].size()), s);
            break;
        }
        case 1:
            d.UpScroll(y, k);
            n.UpScroll(y, k);
            break;
        case 2:
            d.DownScroll(y, k);
            n.DownScroll(y, k);
            break;
        case 3:
            d.UpScroll(0, k);
            n.UpScroll(0, k);
            break;
        }
    }
    for (int y = 0; y < 10000; ++y)
        ASSERT_EQ(d.Strings(y), n.lines[static_cast<size_t>(y)]) << y;
}

TEST(DataList, ScrollRangeAndMoveLineTouchOnlyTheirLines)
{
    TDataList d = Letters(6);
    d.ScrollRange(1, 4, 2);
    EXPECT_EQ(Joined(d, 6), "a|d|e|||f");
    d.ScrollRange(0, 2, -1);
    EXPECT_EQ(Joined(d, 4), "|a|d|");
    TDataList m = Letters(4);
    m.MoveLine(2, 0);
    EXPECT_EQ(Joined(m, 4), "c|a|b|d");
    m.MoveLine(0, 3);
    EXPECT_EQ(Joined(m, 4), "a|b|d|c");
}

TEST(ConfigList, AdjacentTextOfTheSameLookMergesAndRewritingStaysBounded)
{
    TConfigList l;
    l.Add(0, 3, clWhite, clBlack, 0);
    l.Add(3, 4, clWhite, clBlack, 0);
    EXPECT_EQ(All(l), (std::vector<TConfig>{{clWhite, clBlack, 0, 7, 0}}));
    l.Add(7, 2, clWhite, clNavy, 0);
    EXPECT_EQ(l.Count(), 2);
    l.Add(9, 2, clWhite, clNavy, 1);  // underline is part of the look
    EXPECT_EQ(l.Count(), 3);
    // Rewriting a line in place keeps its runs bounded.
    TConfigList r;
    for (int i = 0; i < 1000; ++i) {
        r.Add(0, 5, i % 2 ? clRed : clLime, clBlack, 0);
        r.Add(5, 10, clWhite, clBlack, 0);
    }
    EXPECT_EQ(r.Count(), 2);
}

TEST(ConfigList, InsertAndDeleteCells)
{
    // Three cells at five of one run split it; both parts keep the split run's underline.
    for (uint8_t flag : {0, 1}) {
        TConfigList l;
        l.Add(0, 10, clRed, clBlack, flag);
        l.InsertCells(5, 3, clWhite, clNavy, 0);
        EXPECT_EQ(All(l),
                  (std::vector<TConfig>{
                      {clRed, clBlack, 0, 5, flag}, {clWhite, clNavy, 5, 3, 0}, {clRed, clBlack, 8, 5, flag}}));
    }
    // Deleting removes emptied runs and shifts later ones.
    TConfigList d;
    d.Add(0, 4, clRed, clBlack, 0);
    d.Add(4, 2, clLime, clBlack, 0);
    d.Add(6, 4, clBlue, clBlack, 0);
    d.DeleteCells(4, 2);
    EXPECT_EQ(All(d), (std::vector<TConfig>{{clRed, clBlack, 0, 4, 0}, {clBlue, clBlack, 4, 4, 0}}));
    // Cells 2..5 go; the run at 4..9 keeps its cells 6..9, which move to 2..5.
    TConfigList s;
    s.Add(0, 4, clRed, clBlack, 0);
    s.Add(4, 6, clBlue, clBlack, 0);
    s.DeleteCells(2, 4);
    EXPECT_EQ(All(s), (std::vector<TConfig>{{clRed, clBlack, 0, 2, 0}, {clBlue, clBlack, 2, 4, 0}}));
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
            for (int c = x; c < x + len; ++c)
                ref[static_cast<size_t>(c)] = {fg, clBlack, flag};
            int prevEnd = 0;
            for (const TConfig& r : l) {
                ASSERT_GE(r.Start, prevEnd);
                ASSERT_GT(r.Length, 0);
                prevEnd = r.End();
            }
        }
        std::vector<Cell> painted(60);
        for (const TConfig& r : l)
            for (int c = r.Start; c < r.End() && c < 60; ++c)
                painted[static_cast<size_t>(c)] = {r.FontColor, r.BackColor, r.Flag};
        ASSERT_EQ(painted, ref);
    }
}

// A line written a piece at a time grows its text and runs in steps; once the cursor has left it
// the scroll-back holds it in no more than it needs, also in a slot that held a longer line.
TEST(DataList, ALineTheCursorLeftKeepsNoSpareMemory)
{
    TTerminalCore core;
    core.SetRow(3);
    std::string full;
    for (int line = 0; line < TDataList::kCount; ++line)
        full += "\x1b[1;3" + std::to_string(line % 7) + "m" + std::string(70, 'x') + "\x1b[0m long line\r\n";
    core.DecodeText(full);
    std::string text;
    for (int i = 0; i < 12; ++i)
        text += "\x1b[" + std::to_string(31 + i % 7) + "m" + "word" + std::to_string(i) + " ";
    const int written = 8;
    for (int line = 0; line < written; ++line)
        for (size_t at = 0; at < text.size(); at += 5)
            core.DecodeText(text.substr(at, 5) + (at + 5 >= text.size() ? "\r\n" : ""));
    for (int y = core.CurY() - written; y < core.CurY(); ++y) {
        const TDataLine& line = core.Data().Line(y);
        ASSERT_EQ(line.Text.substr(0, 6), "word0 ") << y;
        EXPECT_EQ(line.Text.capacity(), line.Text.size()) << y;
        EXPECT_EQ(line.Runs.HeapBytes(), line.Runs.Count() * sizeof(TConfig)) << y;
    }
}

// Runs end before the cell limit their fields can hold: a run reaching it is cut there, one
// starting at it is left out, and cells inserted before the limit push the runs' ends to it.
struct TCellLimitCase {
    const char* name;
    int first, length;     // a run added
    int insertAt, insert;  // then cells inserted (none when insert is 0)
    std::vector<std::pair<int, int>> runs;
};
class CellLimit : public ::testing::TestWithParam<TCellLimitCase> {};

TEST_P(CellLimit, RunsEndBeforeIt)
{
    const TCellLimitCase& c = GetParam();
    TConfigList l;
    l.Add(c.first, c.length, clRed, clBlack, 0);
    l.InsertCells(c.insertAt, c.insert, clWhite, clNavy, 1);
    std::vector<std::pair<int, int>> runs;
    for (const TConfig& r : l)
        runs.emplace_back(r.Start, r.Length);
    EXPECT_EQ(runs, c.runs);
}

constexpr int kLimit = TConfig::kCellLimit;
const TCellLimitCase kCellLimitCases[] = {
    {"RunEndingAtTheLimitStaysWhole", kLimit - 5, 5, 0, 0, {{kLimit - 5, 5}}},
    {"RunPassingTheLimitIsCutThere", kLimit - 5, 9, 0, 0, {{kLimit - 5, 5}}},
    {"RunStartingAtTheLimitIsLeftOut", kLimit, 3, 0, 0, {}},
    {"InsertedCellsPushARunToTheLimit", 100, 10, 50, kLimit - 110, {{50, kLimit - 110}, {kLimit - 10, 10}}},
    {"InsertedCellsPushARunPastTheLimit", 100, 10, 50, kLimit - 105, {{50, kLimit - 105}, {kLimit - 5, 5}}},
    {"InsertedCellsPushARunBeyondIt", 100, 10, 50, kLimit, {{50, kLimit - 50}}},
    {"CellsInsertedAtTheLimitAreLeftOut", 100, 10, kLimit, 4, {{100, 10}}},
};
INSTANTIATE_TEST_SUITE_P(Rows, CellLimit, ::testing::ValuesIn(kCellLimitCases),
                         [](const auto& param) { return std::string(param.param.name); });
