#include "platform/gui/DrawText.h"

#include <gtest/gtest.h>

#include <QFontMetrics>

#include "platform/gui/Bitmap.h"
#include "tests/platform/gui/CanvasTestApp.h"

namespace {

class DrawTextCanvas : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureGuiApp();
        bmp.SetSize(120, 60);
        c = bmp.Canvas();
        c->Font()->SetColor(clBlack);
        c->Brush()->SetStyle(bsClear);
    }
    // The bounding box of the black pixels.
    TRect Ink()
    {
        TRect r{1000, 1000, -1, -1};
        for (int y = 0; y < bmp.Height(); ++y)
            for (int x = 0; x < bmp.Width(); ++x)
                if (bmp.PixelColor(x, y) == clBlack) {
                    r.Left = std::min(r.Left, x);
                    r.Top = std::min(r.Top, y);
                    r.Right = std::max(r.Right, x + 1);
                    r.Bottom = std::max(r.Bottom, y + 1);
                }
        return r;
    }
    TBitmap bmp;
    TCanvas* c = nullptr;
};

}  // namespace

TEST_F(DrawTextCanvas, CalcRectMeasuresWithoutPainting)
{
    TRect r{10, 10, 100, 10};
    const int h = DrawText(c, "Hello\r\nWorld", r, DT_CALCRECT);
    EXPECT_EQ(h, 2 * c->TextHeight("W"));
    EXPECT_EQ(r.Left, 10);
    EXPECT_EQ(r.Right, 10 + std::max(c->TextWidth("Hello"), c->TextWidth("World")));
    EXPECT_EQ(r.Bottom, 10 + h);
    EXPECT_EQ(Ink().Right, -1);
}

TEST_F(DrawTextCanvas, TextIsClippedToTheRectangleUnlessNoClip)
{
    TRect r{10, 10, 30, 30};
    DrawText(c, "WWWWWWWWWW", r, DT_SINGLELINE);
    TRect ink = Ink();
    EXPECT_GE(ink.Left, 10);
    EXPECT_LE(ink.Right, 30);
    EXPECT_GT(ink.Right, 10);
    c->Brush()->SetColor(clWhite);
    c->FillRect(TRect{0, 0, 120, 60});
    c->Brush()->SetStyle(bsClear);
    DrawText(c, "WWWWWWWWWW", r, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(Ink().Right, 30);
    // DrawText leaves the current position alone.
    EXPECT_EQ(c->PenPos(), (TPoint{0, 0}));
}

TEST_F(DrawTextCanvas, PrefixDrawsAnUnderline)
{
    TRect r{0, 0, 120, 30};
    DrawText(c, "&_", r, DT_SINGLELINE | DT_NOPREFIX);
    const TRect plain = Ink();
    c->Brush()->SetColor(clWhite);
    c->FillRect(TRect{0, 0, 120, 60});
    c->Brush()->SetStyle(bsClear);
    DrawText(c, "&o", r, DT_SINGLELINE);
    const TRect underlined = Ink();
    // "o" alone has no ink at its bottom row; the underline gives it one below the baseline.
    EXPECT_GT(underlined.Bottom, c->QtFontMetrics().ascent());
    EXPECT_GT(plain.Right, underlined.Right);  // "&_" is wider than "o"
}
