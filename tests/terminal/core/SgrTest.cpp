#include <gtest/gtest.h>

#include "TermTestSupport.h"

namespace {

struct Sgr : ::testing::Test {
    RecordingTerminal r;
    TColor Fg() const { return r.t.FontColor(); }
    TColor Bg() const { return r.t.BackColor(); }
};

TEST_F(Sgr, BoldThenColourGivesTheBrightColourAndResetOnlyUndoesBold)
{
    r.Feed("\x1b[1m\x1b[31m");
    EXPECT_EQ(Fg(), clRed);
    r.Feed("\x1b[0m");
    EXPECT_EQ(Fg(), clMaroon);  // not back to the default white
    r.Feed("\x1b[1;34m");
    EXPECT_EQ(Fg(), clBlue);
    r.Feed("\x1b[22m");
    EXPECT_EQ(Fg(), clNavy);
    r.Feed("\x1b[5m");
    EXPECT_EQ(Fg(), clBlue);
    r.Feed("\x1b[2m\x1b[2m");  // a second dim changes nothing
    EXPECT_EQ(Fg(), clNavy);
}

TEST_F(Sgr, ColoursUseAnsiOrder)
{
    const TColor expected[] = {clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal, clSilver};
    for (int i = 0; i < 8; ++i) {
        r.Feed("\x1b[3" + std::to_string(i) + ";4" + std::to_string(7 - i) + "m");
        EXPECT_EQ(Fg(), expected[i]);
        EXPECT_EQ(Bg(), expected[7 - i]);
    }
}

TEST_F(Sgr, ReverseSwapsAndSwapsBack)
{
    r.Feed("\x1b[32;41m\x1b[7m");
    EXPECT_EQ(Fg(), clMaroon);
    EXPECT_EQ(Bg(), clGreen);
    r.Feed("\x1b[7m");  // already reversed
    EXPECT_EQ(Fg(), clMaroon);
    r.Feed("\x1b[27m");
    EXPECT_EQ(Fg(), clGreen);
    EXPECT_EQ(Bg(), clMaroon);
    r.Feed("\x1b[7;0m");
    EXPECT_EQ(Fg(), clGreen);
    EXPECT_FALSE(r.t.Reverse());
}

TEST_F(Sgr, ReverseWhileBoldKeepsTheNewForegroundBright)
{
    r.Feed("\x1b[1;31;44m\x1b[7m");  // red on navy, bold
    EXPECT_EQ(Fg(), clBlue);           // navy brightened
    EXPECT_EQ(Bg(), clMaroon);         // the dark member of red's pair
    r.Feed("\x1b[0m");
    EXPECT_EQ(Fg(), clMaroon);
    EXPECT_EQ(Bg(), clNavy);
}

TEST_F(Sgr, UnderlineIsTheRunFlag)
{
    r.Feed("a\x1b[4mb\x1b[24mc");
    std::vector<CellLook> cells = PaintLine(r.t.Data(), 0, 80);
    EXPECT_EQ(cells[0].flag, 0);
    EXPECT_EQ(cells[1].flag, 1);
    EXPECT_EQ(cells[2].flag, 0);
}

TEST_F(Sgr, EmptyParameterIsReset)
{
    r.Feed("\x1b[1;33m\x1b[m");
    EXPECT_EQ(Fg(), clOlive);
    EXPECT_FALSE(r.t.Bright());
    r.Feed("\x1b[4;99;1000000m");  // unknown values are ignored
    EXPECT_TRUE(r.t.Underline());
}

TEST_F(Sgr, ColourChangeBetweenTextMakesTwoRuns)
{
    r.Feed("ab\x1b[31mcd\x1b[37mef");
    std::vector<TConfig> runs = r.Runs(0);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[1], (TConfig{clMaroon, clNavy, 2, 2, 0}));
    EXPECT_EQ(runs[2].FontColor, clSilver);
}

TEST(Colors, AnsiColorAndChangeImportant)
{
    EXPECT_EQ(AnsiColor(""), clBlack);
    EXPECT_EQ(AnsiColor("1"), clNavy);
    EXPECT_EQ(AnsiColor("12"), clRed);
    EXPECT_EQ(AnsiColor("15"), clWhite);
    EXPECT_EQ(AnsiColor("16"), clBlack);
    EXPECT_EQ(AnsiColor("x"), clBlack);
    EXPECT_EQ(AnsiColor("99999999999999"), clBlack);
    const TColor dark[] = {clBlack, clNavy, clGreen, clTeal, clMaroon, clPurple, clOlive, clSilver};
    const TColor bright[] = {clGray, clBlue, clLime, clAqua, clRed, clFuchsia, clYellow, clWhite};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(ChangeImportant(dark[i]), bright[i]);
        EXPECT_EQ(ChangeImportant(bright[i]), dark[i]);
    }
    EXPECT_EQ(ChangeImportant(0x123456), 0x123456);
}

}  // namespace
