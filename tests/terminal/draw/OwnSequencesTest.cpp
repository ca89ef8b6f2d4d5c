// The own sequences: in-band pictures, pixels, lines, rectangles, ellipses, cell lines and boxes,
// and the own colour selections.
#include <gtest/gtest.h>

#include <utility>

#include "DrawTestSupport.h"
#include "GoldenImage.h"

namespace {

// A screen of 80 x 30 cells (640 x 480 pixels), so the drawing home (320, 224) is inside.
struct Canvas : DrawnTerminal {
    Canvas() : DrawnTerminal(80, 30) {}
};

constexpr uint8_t kBlack = 0, kMaroon = 1, kGreen = 2, kOlive = 3, kNavy = 4, kRed = 9, kLime = 10, kWhite = 15;

}  // namespace

TEST(InBandPicture, RowsLandOnConsecutivePixelRowsInTheTextColours)
{
    Canvas t;
    t.Feed("\x1b[33;44m\x1b[0;100;2%\x1b[*,FF00");
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(t.Px(x, 100), kOlive) << x;
    for (int x = 8; x < 16; ++x)
        EXPECT_EQ(t.Px(x, 100), kNavy) << x;
    EXPECT_EQ(t.Px(16, 100), kBlack);
    t.Feed("\x1b[*,0ff0");
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(t.Px(x, 101), kNavy);
    for (int x = 4; x < 12; ++x)
        EXPECT_EQ(t.Px(x, 101), kOlive);
    // Nothing was printed, nothing moved the cursor.
    EXPECT_EQ(std::pair(t.core.Data().Strings(0), t.core.CurX()), std::pair(AnsiString(), 0));
}

TEST(InBandPicture, ColumnIsInCellsAndTextAfterTheRowIsText)
{
    Canvas t;
    t.Feed("\x1b[3;20;1%\x1b[*,80ok");
    EXPECT_EQ(t.Px(24, 20), kWhite);
    EXPECT_EQ(t.Px(25, 20), kBlack);
    EXPECT_EQ(t.core.Data().Strings(0), "ok");
}

TEST(InBandPicture, RepeatCountWritesTheNextByteThatManyTimes)
{
    Canvas t;
    t.Feed("\x1b[0;50;4%\x1b[*,R04FF");
    EXPECT_EQ(CountIndex(t.Screen(), kWhite, {0, 50, 32, 51}), 32);
    EXPECT_EQ(t.own.Picture().RowsDone(), 1);
    // A repeat running past the row's end fills the next rows too.
    t.Feed("\x1b[*,R10F0");
    EXPECT_EQ(t.own.Picture().RowsDone(), 3);
    for (int y : {51, 52}) {
        EXPECT_EQ(CountIndex(t.Screen(), kWhite, {0, y, 32, y + 1}), 16) << y;
        EXPECT_EQ(t.Px(4, y), kBlack);
    }
}

TEST(InBandPicture, ZeroRepeatLeavesTheLowNibblePending)
{
    Canvas t;
    // R00: the byte F? is not written; the next digit is its low nibble again.
    t.Feed("\x1b[0;10;1%\x1b[*,R00F0F");
    EXPECT_EQ(t.own.Picture().RowsDone(), 1);
    // 0xF0 complemented is 0x0F; adding the complement of F (0) keeps it: left half ink.
    EXPECT_EQ(CountIndex(t.Screen(), kWhite, {0, 10, 8, 11}), 4);
}

TEST(InBandPicture, MalformedPicturesAreIgnored)
{
    struct Case {
        const char* name;
        std::string stream;
    };
    const std::vector<Case> cases = {
        {"no header", "\x1b[*,FFFF"},
        {"zero bytes", "\x1b[0;10;0%\x1b[*,FFFF"},
        {"oversized", "\x1b[0;10;999999%\x1b[*,FFFF"},
        {"header then reset", "\x1b[0;10;2%\x1b[d\x1b[*,FFFF"},
        {"too few parameters", "\x1b[10;2%\x1b[*,FFFF"},
        {"empty byte count", "\x1b[0;10;%\x1b[*,FFFF"},
    };
    for (const Case& c : cases) {
        Canvas t;
        t.Feed(c.stream + " after");
        EXPECT_TRUE(SamePixels(t.Screen(), t.Repainted())) << c.name;
        // The row's digits are dropped; the text after them is printed.
        EXPECT_EQ(t.core.Data().Strings(0), " after") << c.name;
        EXPECT_FALSE(t.own.Picture().DataMode()) << c.name;
    }
}

TEST(InBandPicture, AnOversizedHeaderDropsThePictureInProgress)
{
    Canvas t;
    t.Feed("\x1b[0;100;1%\x1b[*,F");
    t.Feed("\x1b[0;100;5000%");
    EXPECT_FALSE(t.own.Picture().HasHeader());
    t.Feed("F");  // text now
    EXPECT_EQ(CountIndex(t.Screen(), kWhite, {0, 16, 640, 480}), 0);
    EXPECT_EQ(t.core.Data().Strings(0), "F");
}

TEST(InBandPicture, RegressionARowStartWithoutHeaderMadeTheNextPictureEatText)
{
    Canvas t;
    t.Feed("\x1b[*,\x1b[0;100;2%\x1b[*,FF00x abc def");
    EXPECT_EQ(t.core.Data().Strings(0), "x abc def");
    EXPECT_EQ(t.Px(0, 100), kWhite);  // the valid picture's row is drawn
}

TEST(InBandPicture, PictureFarOffTheScreenIsClipped)
{
    Canvas t;
    t.Feed("\x1b[999999;999999;1024%\x1b[*,R99FF\x1b[70;0;100%\x1b[*,R99FFR01FF");
    EXPECT_EQ(t.own.Picture().RowsDone(), 1);
    EXPECT_EQ(CountIndex(t.Screen(), kWhite, {560, 0, 640, 1}), 80);
    EXPECT_EQ(CountIndex(t.Screen(), kWhite), 80);
}

TEST(OwnDrawing, ShapeStylesFollowTheSubMode)
{
    struct Case {
        const char* seq;
        uint8_t outline, inside;
    };
    // Foreground olive on navy.
    const std::vector<Case> cases = {
        {"\x1b[=4;3b", kOlive, kOlive}, {"\x1b[>4;3b", kNavy, kBlack},  {"\x1b[?4;3b", kNavy, kNavy},
        {"\x1b[4;3b", kOlive, kBlack},  {"\x1b[4;3;12b", kRed, kBlack}, {"\x1b[?4;3;2b", kGreen, kGreen},
    };
    for (const Case& c : cases) {
        Canvas t;
        t.Feed("\x1b[33;44m");
        t.Feed(c.seq);
        EXPECT_EQ(t.Px(316, 221), c.outline) << c.seq + 1;
        EXPECT_EQ(t.Px(320, 224), c.inside) << c.seq + 1;
        EXPECT_EQ(std::pair(t.core.FontColor(), t.core.BackColor()), std::pair(clOlive, clNavy)) << c.seq + 1;
    }
}

TEST(OwnDrawing, PixelsMoveTheDrawingPointAndLinesStartThere)
{
    Canvas t;
    t.Feed("\x1b[33;41m\x1b[5;6p");
    EXPECT_EQ(t.Px(5, 6), kOlive);
    t.Feed("\x1b[>7;8p");
    EXPECT_EQ(t.Px(7, 8), kMaroon);
    t.Feed("\x1b[=9;9p");  // another sub-mode: no pixel, the point still moves
    EXPECT_EQ(t.Px(9, 9), kBlack);
    EXPECT_EQ(t.own.DrawX(), 9);
    t.Feed("\x1b[20;20;10p\x1b[1;2;10;99p");
    EXPECT_EQ(t.Px(1, 2), kLime);
    // A line from the point, both ends drawn.
    t.Feed("\x1b[40;60;12i");
    EXPECT_EQ(t.Px(1, 2), kRed);
    EXPECT_EQ(t.Px(40, 60), kRed);
    EXPECT_EQ(t.own.DrawX(), 40);
    // Sub-mode '=' keeps the pen's colour.
    t.Feed("\x1b[=40;70i");
    EXPECT_EQ(t.Px(40, 65), kRed);
    t.Feed("\x1b[>50;70i");
    EXPECT_EQ(t.Px(45, 70), kMaroon);
    t.Feed("\x1b[100;200g\x1b[d");
    EXPECT_EQ(std::pair(t.own.DrawX(), t.own.DrawY()), std::pair(320, 224));
    // Without a finished parameter they only end the sequence.
    const TFrameBuffer before = t.Screen();
    t.Feed("\x1b[5p\x1b[i\x1b[7b\x1b[c\x1b[g");
    EXPECT_TRUE(SamePixels(before, t.Screen()));
    EXPECT_EQ(t.core.Data().Strings(0), "");
}

TEST(OwnDrawing, CellLinesAndBoxesGoThroughCellCentres)
{
    Canvas t;
    t.Feed("\x1b[3;5H");  // row 2, column 4: centre (36, 40)
    t.Feed("\x1b[3O");
    EXPECT_EQ(CountIndex(t.Screen(), kWhite, {0, 40, 640, 41}), 25);  // 36 .. 60
    EXPECT_EQ(t.Px(60, 40), kWhite);
    t.Feed("\x1b[1;4O");                                              // down to row 5
    EXPECT_EQ(CountIndex(t.Screen(), kWhite, {36, 0, 37, 480}), 49);  // 40 .. 88
    t.Feed("\x1b[2J\x1b[3;5H\x1b[0;3O");                              // to column 6
    EXPECT_EQ(CountIndex(t.Screen(), kWhite, {0, 40, 640, 41}), 17);
    t.Feed("\x1b[2J\x1b[2;2H\x1b[4;3G");  // box: columns 1..4, rows 1..3
    EXPECT_EQ(t.Px(12, 24), kWhite);
    EXPECT_EQ(t.Px(36, 56), kWhite);
    EXPECT_EQ(CountIndex(t.Screen(), kWhite), 2 * 25 + 2 * 31);
    EXPECT_EQ(t.core.CurX(), 1);  // the cursor does not move
    // No height, or no width: nothing.
    t.Feed("\x1b[2J\x1b[4G\x1b[0;3G");
    EXPECT_EQ(CountIndex(t.Screen(), kWhite), 0);
}

TEST(OwnColours, ForegroundAndBackgroundFromThePalette)
{
    Canvas t;
    t.Feed("\x1b[=12F\x1b[=1G");
    EXPECT_EQ(std::pair(t.core.FontColor(), t.core.BackColor()), std::pair(clRed, clNavy));
    t.Feed("\x1b[=99F");
    EXPECT_EQ(t.core.FontColor(), clBlack);
    // With bold on, the toggle turns red into maroon, and SGR 0 toggles it back.
    t.Feed("\x1b[1m\x1b[=12F");
    EXPECT_EQ(t.core.FontColor(), clMaroon);
    t.Feed("\x1b[0m");
    EXPECT_EQ(t.core.FontColor(), clRed);
    t.Feed("\x1b[=14F\x1b[=4Gx");
    const TConfig& run = t.core.Data().Objects(0)[t.core.Data().Objects(0).Count() - 1];
    EXPECT_EQ(std::pair(run.FontColor, run.BackColor), std::pair(clYellow, clMaroon));
}

TEST(OwnDrawing, ARepaintFromTheBufferRemovesTheDrawings)
{
    Canvas t;
    t.Feed("text\x1b[=30;30c\x1b[0;0;2%\x1b[*,FFFF");
    t.painter.Redraw();
    EXPECT_EQ(t.Px(320, 224), kBlack);
    EXPECT_EQ(CountIndex(t.Screen(), kWhite, {0, 16, 640, 480}), 0);
}

TEST(OwnDrawing, HugeShapesAreClippedToTheImage)
{
    Canvas t;
    t.Feed("\x1b[999999;999999g\x1b[=999999;999999b\x1b[=999999;999999c\x1b[0;0i\x1b[999999;0;12i");
    EXPECT_EQ(t.Screen().Width(), 640);
    EXPECT_GT(CountIndex(t.Screen(), kRed), 0);
}

TEST(OwnDrawingGolden, EverySequence)
{
    Canvas t;
    t.Feed("\x1b[33;44m");
    t.Feed("\x1b[2;2;3%\x1b[*,FF00FF\x1b[*,R03A5\x1b[*,0F0F0F");  // picture at (16, 2)
    t.Feed("\x1b[5;5p\x1b[>6;5p\x1b[7;5;10p");                    // pixels
    t.Feed("\x1b[10;40g\x1b[60;10i\x1b[60;40;13i\x1b[>10;40i");   // lines
    t.Feed("\x1b[100;30g\x1b[20;12b\x1b[150;30g\x1b[=20;12b\x1b[200;30g\x1b[?20;12b\x1b[250;30g\x1b[20;12;14b");
    t.Feed("\x1b[100;70g\x1b[20;12c\x1b[150;70g\x1b[=20;12c\x1b[200;70g\x1b[>20;12c\x1b[250;70g\x1b[=20;12;10c");
    t.Feed("\x1b[7;3H\x1b[5O\x1b[1;3O\x1b[0;4O\x1b[8;10H\x1b[6;3G");
    t.Feed("\x1b[=13F\x1b[=2Gown colours");
    // The top-left quarter of the screen holds it all.
    TFrameBuffer part(320, 240);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            part.SetPixel(x, y, t.Px(x, y));
    golden::Expect(part, "own-sequences");
}
