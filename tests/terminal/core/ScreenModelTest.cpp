#include <gtest/gtest.h>

#include "TermTestSupport.h"

namespace {

void FillBuffer(RecordingTerminal& r, int lines)
{
    std::string s;
    for (int i = 0; i < lines; ++i) s += "n" + std::to_string(i) + "\r\n";
    r.Feed(s);
}

TEST(ScreenModel, TwentyThousandLinesKeepTheNewestTenThousand)
{
    RecordingTerminal r;
    FillBuffer(r, 20000);
    EXPECT_EQ(r.t.MaxLinePos(), 9999 - 24);
    EXPECT_EQ(r.t.CurY(), 9999);
    EXPECT_EQ(r.Line(9998), "n19999");
    EXPECT_EQ(r.Line(0), "n10001");  // 9999 lines of text and the empty cursor line
    EXPECT_EQ(r.Row(23), "n19999");
}

TEST(ScreenModel, ScreenMovesDownUntilTheBufferIsFull)
{
    RecordingTerminal r;
    FillBuffer(r, 30);
    EXPECT_EQ(r.t.MaxLinePos(), 6);
    EXPECT_EQ(r.t.LinePos(), 6);
    EXPECT_EQ(r.t.CurY(), 30);
}

TEST(ScreenModel, ScrollViewIsClampedToTheBuffer)
{
    RecordingTerminal r;
    FillBuffer(r, 100);
    EXPECT_TRUE(r.t.ScrollView(-5));
    EXPECT_EQ(r.t.LinePos(), 0);
    EXPECT_FALSE(r.t.Live());
    EXPECT_TRUE(r.t.ScrollView(100000));
    EXPECT_EQ(r.t.LinePos(), r.t.MaxLinePos());
    EXPECT_FALSE(r.t.ScrollView(100000));
}

TEST(ScreenModel, ShrinkingKeepsTheCursorLineOnTheLastRow)
{
    RecordingTerminal r;
    std::vector<int> counts;
    r.t.OnChangeRow = [&](int n) { counts.push_back(n); };
    FillBuffer(r, 24);
    r.t.SetRow(9);
    EXPECT_EQ(r.t.PageSize(), 9);
    EXPECT_EQ(r.t.CurY() - r.t.MaxLinePos(), 9);
    EXPECT_EQ(r.Row(8), "n23");
    r.t.SetRow(9);  // unchanged: no event
    r.t.SetRow(0);  // ignored
    EXPECT_EQ(counts, std::vector<int>{10});
}

TEST(ScreenModel, GrowingWithAFullBufferKeepsScrollingOnLineFeed)
{
    RecordingTerminal r;
    FillBuffer(r, 12000);
    r.t.SetRow(29);
    EXPECT_EQ(r.t.MaxLinePos() + r.t.PageSize(), 9999);
    FillBuffer(r, 3);
    EXPECT_EQ(r.t.CurY(), 9999);
    EXPECT_EQ(r.Row(28), "n2");
    EXPECT_EQ(r.t.MaxLinePos() + r.t.PageSize(), 9999);
}

TEST(ScreenModel, PaintStringSkipsTheInputGate)
{
    RecordingTerminal r;
    FillBuffer(r, 40);
    r.t.ScrollView(0);
    r.t.PaintString("local");
    EXPECT_EQ(r.Row(24), "local");
    EXPECT_TRUE(r.t.PendingText().empty());
}

TEST(ScreenModel, DefaultColoursFollowIntoTheRuns)
{
    RecordingTerminal r;
    r.Feed("a\x1b[31mb");
    r.t.SetDefaultBackColor(clBlack);
    std::vector<TConfig> runs = r.Runs(0);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].BackColor, clBlack);
    EXPECT_EQ(runs[1].BackColor, clBlack);
    r.t.RestoreColors(clSilver, clNavy);
    for (const TConfig& c : r.Runs(0)) {
        EXPECT_EQ(c.FontColor, clSilver);
        EXPECT_EQ(c.BackColor, clNavy);
    }
}

}  // namespace
