#include <gtest/gtest.h>

#include "TermTestSupport.h"

namespace {

// A screen of rows r1..r25 with a region set on rows top..bottom.
struct Region : ::testing::Test {
    RecordingTerminal r;
    void Fill()
    {
        for (int i = 1; i <= 25; ++i) r.Feed("r" + std::to_string(i) + (i < 25 ? "\r\n" : ""));
    }
};

TEST_F(Region, WholeScreenRegionIsOff)
{
    r.Feed("\x1b[1;25r");
    EXPECT_FALSE(r.t.RegionOn());
    r.Feed("\x1b[r");
    EXPECT_FALSE(r.t.RegionOn());
    r.Feed("\x1b[5;5r");  // a region needs two rows
    EXPECT_FALSE(r.t.RegionOn());
    r.Feed("\x1b[1;24r");
    EXPECT_TRUE(r.t.RegionOn());
    r.Feed("\x1b[3;99r");
    EXPECT_TRUE(r.t.RegionOn());
    EXPECT_EQ(r.t.RegionBottom(), 25);
}

TEST_F(Region, SettingARegionHomesTheCursor)
{
    r.Feed("\x1b[10;10H\x1b[5;20r");
    EXPECT_EQ(r.t.CurX(), 0);
    EXPECT_EQ(r.t.CurY(), 0);
}

TEST_F(Region, LineFeedOnTheBottomRowScrollsOnlyTheRegion)
{
    Fill();
    r.Feed("\x1b[5;10r\x1b[10;1H\nnew");
    EXPECT_EQ(r.Row(3), "r4");
    EXPECT_EQ(r.Row(4), "r6");
    EXPECT_EQ(r.Row(8), "r10");
    EXPECT_EQ(r.Row(9), "new");
    EXPECT_EQ(r.Row(10), "r11");
    EXPECT_EQ(r.Row(24), "r25");
    // The line that left the region went into the scroll-back.
    EXPECT_EQ(r.t.MaxLinePos(), 1);
    EXPECT_EQ(r.Line(0), "r5");
}

TEST_F(Region, LineFeedElsewhereOnlyMovesTheCursor)
{
    Fill();
    r.Feed("\x1b[5;10r\x1b[3;1H\n");
    EXPECT_EQ(r.t.CurY(), 3);
    EXPECT_EQ(r.t.MaxLinePos(), 0);
}

TEST_F(Region, CursorMovesStopAtTheRegion)
{
    r.Feed("\x1b[5;10r\x1b[7;1H\x1b[9A");
    EXPECT_EQ(r.t.CurY(), 4);
    r.Feed("\x1b[9B");
    EXPECT_EQ(r.t.CurY(), 9);
    r.Feed("\x1b[15;1H\x1b[2A");  // below the region: only the screen limits it
    EXPECT_EQ(r.t.CurY(), 12);
    r.Feed("\x1b[99B");
    EXPECT_EQ(r.t.CurY(), 24);
}

TEST_F(Region, ReverseIndexOnTheTopRowScrollsTheRegionDown)
{
    Fill();
    r.Feed("\x1b[5;10r\x1b[5;1H\x1bMtop");
    EXPECT_EQ(r.Row(3), "r4");
    EXPECT_EQ(r.Row(4), "top");
    EXPECT_EQ(r.Row(5), "r5");
    EXPECT_EQ(r.Row(9), "r9");
    EXPECT_EQ(r.Row(10), "r11");  // rows below the region stay
}

TEST_F(Region, RegionScrollWithAFullBuffer)
{
    for (int i = 0; i < 10100; ++i) r.Feed("x" + std::to_string(i) + "\r\n");
    ASSERT_EQ(r.t.MaxLinePos(), 9999 - 24);
    Fill();
    r.Feed("\x1b[2;5r\x1b[5;1H\n");
    EXPECT_EQ(r.Row(0), "r1");
    EXPECT_EQ(r.Row(1), "r3");
    EXPECT_EQ(r.Row(3), "r5");
    EXPECT_EQ(r.Row(4), "");
    EXPECT_EQ(r.Row(5), "r6");
    EXPECT_EQ(r.Line(r.t.MaxLinePos() - 1), "r2");
    EXPECT_EQ(r.t.MaxLinePos(), 9999 - 24);
}

}  // namespace
