#include "platform/gui/TextRaster.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "tests/platform/gui/CanvasTestApp.h"

namespace {

std::set<uint8_t> Indexes(const TFrameBuffer& fb)
{
    std::set<uint8_t> s;
    for (int y = 0; y < fb.Height(); ++y)
        for (int x = 0; x < fb.Width(); ++x)
            s.insert(fb.Pixel(x, y));
    return s;
}

int Count(const TFrameBuffer& fb, uint8_t v)
{
    int n = 0;
    for (int y = 0; y < fb.Height(); ++y)
        for (int x = 0; x < fb.Width(); ++x)
            n += fb.Pixel(x, y) == v;
    return n;
}

class TextRasterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureGuiApp();
        raster = std::make_unique<TTextRasterizer>();
        TFont f;
        f.SetName("\xB1\xBC\xB8\xB2\xC3\xBC");  // 굴림체
        f.SetHeight(-16);
        raster->SetFont(f);
    }
    std::unique_ptr<TTextRasterizer> raster;
};

}  // namespace

TEST_F(TextRasterTest, DrawsOnlyTheTwoIndexes)
{
    TFrameBuffer fb(200, 40, 1);
    const int w = raster->TextOut(fb, 3, 2, "Hello, World \xC7\xD1\xB1\xDB", 14, 4);
    EXPECT_EQ(w, raster->TextWidth("Hello, World \xC7\xD1\xB1\xDB"));
    EXPECT_EQ(Indexes(fb), (std::set<uint8_t>{1, 4, 14}));
    EXPECT_GT(Count(fb, 14), 40);
    // The background covers exactly the text cell.
    EXPECT_EQ(Count(fb, 4) + Count(fb, 14), w * raster->TextHeight());
    EXPECT_EQ(fb.Pixel(2, 2), 1);
}

TEST_F(TextRasterTest, TransparentBackgroundKeepsThePixelsUnderneath)
{
    TFrameBuffer fb(100, 30, 6);
    raster->TextOut(fb, 0, 0, "MW", 15, -1);
    EXPECT_EQ(Indexes(fb), (std::set<uint8_t>{6, 15}));
}

TEST_F(TextRasterTest, HangulHasInkAndTwiceTheWidthOfALetter)
{
    TFrameBuffer fb(60, 30, 0);
    raster->TextOut(fb, 0, 0, "\xC7\xD1", 7, -1);  // 한
    EXPECT_GT(Count(fb, 7), 10);
    // A fixed-pitch Korean face: one Hangul syllable is two letters wide.
    EXPECT_EQ(raster->TextWidth("\xC7\xD1"), 2 * raster->TextWidth("a"));
}

TEST_F(TextRasterTest, ClippedByTheBufferAndItsClip)
{
    TFrameBuffer fb(30, 20, 0);
    fb.SetClip(TRectI{5, 0, 12, 20});
    raster->TextOut(fb, -10, -5, "WWWWWWWW", 9, 3);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x)
            if (x < 5 || x >= 12) {
                EXPECT_EQ(fb.Pixel(x, y), 0) << x << "," << y;
            }
    EXPECT_GT(Count(fb, 9) + Count(fb, 3), 0);
    // Far outside: nothing drawn, no failure.
    raster->TextOut(fb, 1 << 30, 1 << 30, "x", 9, 3);
    raster->TextOut(fb, -(1 << 30), 0, "x", 9, 3);
}
