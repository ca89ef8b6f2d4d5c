#include "platform/gui/Canvas.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/gui/Bitmap.h"
#include "tests/platform/gui/CanvasTestApp.h"

namespace {

class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureGuiApp();
        bmp.SetPixelFormat(pf24bit);
        bmp.SetSize(20, 16);
        c = bmp.Canvas();
    }
    TColor At(int x, int y) { return c->Pixels(x, y); }
    int Count(TColor color)
    {
        int n = 0;
        for (int y = 0; y < bmp.Height(); ++y)
            for (int x = 0; x < bmp.Width(); ++x)
                n += At(x, y) == color;
        return n;
    }
    std::set<TColor> Colors()
    {
        std::set<TColor> s;
        for (int y = 0; y < bmp.Height(); ++y)
            for (int x = 0; x < bmp.Width(); ++x)
                s.insert(At(x, y));
        return s;
    }
    TBitmap bmp;
    TCanvas* c = nullptr;
};

}  // namespace

TEST_F(CanvasTest, NewBitmapIsWhiteAndPixelsOutsideAreInvalid)
{
    EXPECT_EQ(Count(clWhite), 320);
    EXPECT_EQ(At(-1, 0), CLR_INVALID);
    EXPECT_EQ(At(20, 0), CLR_INVALID);
    c->SetPixels(3, 4, clRed);
    EXPECT_EQ(At(3, 4), clRed);
    c->SetPixels(-3, 40, clRed);  // ignored
    EXPECT_EQ(Count(clRed), 1);
}

TEST_F(CanvasTest, FillRectExcludesRightAndBottomAndHonoursClip)
{
    c->Brush()->SetColor(clBlue);
    c->FillRect(TRect{2, 3, 5, 7});
    EXPECT_EQ(Count(clBlue), 12);
    EXPECT_EQ(At(2, 3), clBlue);
    EXPECT_EQ(At(5, 6), clWhite);
    c->Brush()->SetStyle(bsClear);
    c->FillRect(TRect{0, 0, 20, 16});
    EXPECT_EQ(Count(clBlue), 12);
    c->Brush()->SetColor(clLime);  // a colour makes a clear brush solid again
    EXPECT_EQ(c->Brush()->Style(), bsSolid);
    c->IntersectClipRect(TRect{10, 10, 12, 11});
    c->FillRect(TRect{0, 0, 20, 16});
    EXPECT_EQ(Count(clLime), 2);
    c->ResetClip();
}

TEST_F(CanvasTest, SystemColoursComeFromTheFixedTable)
{
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(TRect{0, 0, 1, 1});
    EXPECT_EQ(At(0, 0), ColorToRGB(clBtnFace));
}

TEST_F(CanvasTest, FrameRectIsOnePixelOfTheBrush)
{
    c->Brush()->SetColor(clRed);
    c->FrameRect(TRect{1, 1, 6, 5});
    EXPECT_EQ(Count(clRed), 5 + 5 + 2 + 2);
    EXPECT_EQ(At(2, 2), clWhite);
    EXPECT_EQ(At(6, 1), clWhite);
}

TEST_F(CanvasTest, RectangleOutlineWithPenInsideWithBrush)
{
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetColor(clYellow);
    c->Rectangle(2, 2, 8, 6);  // 6 x 4
    EXPECT_EQ(Count(clBlack), 6 + 6 + 2 + 2);
    EXPECT_EQ(Count(clYellow), 4 * 2);
    EXPECT_EQ(At(7, 5), clBlack);
    EXPECT_EQ(At(8, 5), clWhite);
    // Reversed corners draw the same rectangle.
    TBitmap b2;
    b2.SetSize(20, 16);
    b2.Canvas()->Brush()->SetColor(clYellow);
    b2.Canvas()->Rectangle(8, 6, 2, 2);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 20; ++x)
            EXPECT_EQ(b2.Canvas()->Pixels(x, y), At(x, y));
}

TEST_F(CanvasTest, RectangleWithoutPenFillsOnePixelLess)
{
    c->Pen()->SetStyle(psClear);
    c->Brush()->SetColor(clGreen);
    c->Rectangle(0, 0, 5, 4);
    EXPECT_EQ(Count(clGreen), 4 * 3);
}

TEST_F(CanvasTest, LineToLeavesOutTheEndPoint)
{
    c->Pen()->SetColor(clRed);
    c->MoveTo(2, 3);
    c->LineTo(9, 3);
    EXPECT_EQ(Count(clRed), 7);
    EXPECT_EQ(At(2, 3), clRed);
    EXPECT_EQ(At(9, 3), clWhite);
    EXPECT_EQ(c->PenPos(), (TPoint{9, 3}));
    // Continuing from there draws the corner once.
    c->LineTo(9, 8);
    EXPECT_EQ(At(9, 3), clRed);
    EXPECT_EQ(At(9, 8), clWhite);
    EXPECT_EQ(Count(clRed), 12);
    // Huge coordinates draw the visible part only, without hanging.
    c->Pen()->SetColor(clBlue);
    c->MoveTo(-2000000000, 12);
    c->LineTo(2000000000, 12);
    EXPECT_EQ(Count(clBlue), 20);
}

TEST_F(CanvasTest, XorAndNotPensUndoThemselves)
{
    c->Brush()->SetColor(clTeal);
    c->FillRect(TRect{0, 0, 10, 16});
    const auto before = Colors();
    c->Pen()->SetMode(pmXor);
    c->Pen()->SetColor(clWhite);
    c->MoveTo(0, 5);
    c->LineTo(20, 5);
    EXPECT_EQ(At(3, 5), RGB(0xFF, 0x7F, 0x7F));  // teal XOR white
    EXPECT_EQ(At(15, 5), clBlack);
    c->MoveTo(0, 5);
    c->LineTo(20, 5);
    EXPECT_EQ(Colors(), before);
    c->Pen()->SetMode(pmNot);
    c->Rectangle(12, 0, 20, 4);
    EXPECT_EQ(At(12, 0), clBlack);
}

TEST_F(CanvasTest, FocusRectangleIsDottedAndTwiceRemoved)
{
    c->DrawFocusRect(TRect{1, 1, 9, 7});
    EXPECT_EQ(At(1, 1), clBlack);
    EXPECT_EQ(At(2, 1), clWhite);
    EXPECT_EQ(At(3, 1), clBlack);
    EXPECT_EQ(At(4, 4), clWhite);  // inside untouched
    EXPECT_GT(Count(clBlack), 8);
    c->DrawFocusRect(TRect{1, 1, 9, 7});
    EXPECT_EQ(Count(clWhite), 320);
}

TEST_F(CanvasTest, EllipseStaysInItsBoxAndTouchesEachSide)
{
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetColor(clRed);
    c->Ellipse(2, 3, 14, 13);
    bool l = false, r = false, t = false, b = false;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 20; ++x) {
            if (At(x, y) == clWhite)
                continue;
            EXPECT_TRUE(x >= 2 && x < 14 && y >= 3 && y < 13) << x << "," << y;
            l |= x == 2;
            r |= x == 13;
            t |= y == 3;
            b |= y == 12;
        }
    EXPECT_TRUE(l && r && t && b);
    EXPECT_EQ(At(8, 8), clRed);
}

TEST_F(CanvasTest, PolygonFillsAndOutlines)
{
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetColor(clLime);
    c->Polygon({{1, 1}, {11, 1}, {11, 9}, {1, 9}});
    EXPECT_EQ(At(1, 1), clBlack);
    EXPECT_EQ(At(11, 9), clBlack);
    EXPECT_EQ(At(5, 5), clLime);
    c->Pen()->SetColor(clRed);
    c->Polyline({{0, 14}, {5, 14}, {5, 10}});
    EXPECT_EQ(At(0, 14), clRed);
    EXPECT_EQ(At(5, 11), clRed);
    EXPECT_EQ(At(5, 10), clWhite);  // the last point is not drawn
    EXPECT_EQ(c->PenPos(), (TPoint{5, 10}));
}

TEST_F(CanvasTest, TextOutPaintsCellAndMovesPenPosition)
{
    c->Font()->SetColor(clBlack);
    c->Brush()->SetColor(clAqua);
    const int w = c->TextWidth("Hi");
    const int h = c->TextHeight("Hi");
    ASSERT_GT(w, 0);
    ASSERT_GT(h, 0);
    c->TextOut(1, 1, "Hi");
    EXPECT_EQ(c->PenPos(), (TPoint{1 + w, 1}));
    // Aliased: the cell holds only the brush colour and the font colour.
    std::set<TColor> inCell;
    for (int y = 1; y < 1 + h && y < 16; ++y)
        for (int x = 1; x < 1 + w; ++x)
            inCell.insert(At(x, y));
    EXPECT_EQ(inCell, (std::set<TColor>{clAqua, clBlack}));
    EXPECT_EQ(At(0, 0), clWhite);
    // A clear brush leaves the background.
    TBitmap b2;
    b2.SetSize(40, 20);
    b2.Canvas()->Brush()->SetStyle(bsClear);
    b2.Canvas()->Font()->SetColor(clRed);
    b2.Canvas()->TextOut(0, 0, "Hi");
    std::set<TColor> all;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            all.insert(b2.Canvas()->Pixels(x, y));
    EXPECT_EQ(all, (std::set<TColor>{clWhite, clRed}));
}

TEST_F(CanvasTest, TextRectClipsToItsRectangle)
{
    c->Font()->SetColor(clBlack);
    c->Brush()->SetColor(clYellow);
    c->TextRect(TRect{2, 2, 6, 10}, 0, 0, "WWWW");
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 2 && x < 6 && y >= 2 && y < 10;
            if (!inside) {
                EXPECT_EQ(At(x, y), clWhite) << x << "," << y;
            }
        }
    EXPECT_GT(Count(clYellow), 0);
}

TEST_F(CanvasTest, CopyRectOntoItselfReadsBeforeWriting)
{
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 20; ++x)
            c->SetPixels(x, y, RGB(x * 10, y * 10, 0));
    c->CopyRect(TRect{3, 2, 13, 10}, c, TRect{1, 1, 11, 9});
    for (int y = 2; y < 10; ++y)
        for (int x = 3; x < 13; ++x)
            EXPECT_EQ(At(x, y), RGB((x - 2) * 10, (y - 1) * 10, 0));
    EXPECT_EQ(At(1, 1), RGB(10, 10, 0));
}

TEST_F(CanvasTest, CopyModesCombineSourceAndDestination)
{
    TBitmap src;
    src.SetSize(4, 1);
    TCanvas* s = src.Canvas();
    s->SetPixels(0, 0, RGB(0xF0, 0x0F, 0x00));
    s->SetPixels(1, 0, clBlack);
    s->SetPixels(2, 0, clWhite);
    s->SetPixels(3, 0, RGB(1, 2, 3));
    const TColor d = RGB(0x3C, 0xC3, 0x55);
    auto run = [&](TCopyMode mode) {
        c->Brush()->SetColor(d);
        c->FillRect(TRect{0, 0, 4, 1});
        c->SetCopyMode(mode);
        c->CopyRect(TRect{0, 0, 4, 1}, s, TRect{0, 0, 4, 1});
        c->SetCopyMode(cmSrcCopy);
    };
    run(cmSrcInvert);
    EXPECT_EQ(At(0, 0), RGB(0xF0 ^ 0x3C, 0x0F ^ 0xC3, 0x55));
    EXPECT_EQ(At(2, 0), RGB(0xC3, 0x3C, 0xAA));
    run(cmSrcAnd);
    EXPECT_EQ(At(0, 0), RGB(0x30, 0x03, 0x00));
    EXPECT_EQ(At(2, 0), d);
    run(cmSrcPaint);
    EXPECT_EQ(At(1, 0), d);
    EXPECT_EQ(At(0, 0), RGB(0xFC, 0xCF, 0x55));
    run(cmNotSrcCopy);
    EXPECT_EQ(At(1, 0), clWhite);
    EXPECT_EQ(At(3, 0), RGB(0xFE, 0xFD, 0xFC));
    run(cmDstInvert);
    EXPECT_EQ(At(0, 0), RGB(0xC3, 0x3C, 0xAA));
    run(cmBlackness);
    EXPECT_EQ(At(2, 0), clBlack);
    run(cmWhiteness);
    EXPECT_EQ(At(1, 0), clWhite);
}

TEST_F(CanvasTest, MonochromeSourceTakesTextAndBackgroundColours)
{
    TBitmap mono;
    mono.SetSize(2, 1);
    mono.SetMonochrome(true);                           // all white: set bits
    static_cast<uint8_t*>(mono.ScanLine(0))[0] = 0x40;  // pixel 0 clear, pixel 1 set
    c->Font()->SetColor(clRed);
    c->Brush()->SetColor(clBlue);
    c->Draw(0, 0, &mono);
    EXPECT_EQ(At(0, 0), clRed);
    EXPECT_EQ(At(1, 0), clBlue);
}

TEST_F(CanvasTest, TransparentBitmapLeavesItsKeyColour)
{
    TBitmap glyph;
    glyph.SetSize(3, 2);
    glyph.Canvas()->Brush()->SetColor(clFuchsia);
    glyph.Canvas()->FillRect(TRect{0, 0, 3, 2});
    glyph.Canvas()->SetPixels(1, 0, clGreen);
    glyph.SetTransparent(true);
    EXPECT_EQ(glyph.TransparentColor(), clFuchsia);  // the lower-left pixel
    c->Draw(5, 5, &glyph);
    EXPECT_EQ(Count(clGreen), 1);
    EXPECT_EQ(At(6, 5), clGreen);
    EXPECT_EQ(Count(clFuchsia), 0);
    glyph.SetTransparent(false);
    c->StretchDraw(TRect{0, 0, 6, 4}, &glyph);
    EXPECT_EQ(Count(clFuchsia), 20);
    EXPECT_EQ(At(2, 1), clGreen);
}

// Drawing a bitmap on its own canvas must not end the painter the canvas is drawing with.
TEST_F(CanvasTest, BitmapDrawnOntoItsOwnCanvas)
{
    for (TPixelFormat f : {pf24bit, pf8bit, pf1bit}) {
        TBitmap b;
        b.SetPixelFormat(f);
        b.SetSize(8, 4);
        TCanvas* own = b.Canvas();
        own->Font()->SetColor(clBlack);
        own->Brush()->SetColor(clWhite);
        own->SetPixels(0, 0, clBlack);
        own->Draw(4, 0, &b);  // the left half lands on the right half
        own->StretchDraw(TRect{0, 2, 8, 4}, &b);
        own->Brush()->SetBitmap(&b);  // itself as its brush pattern
        own->FillRect(TRect{0, 3, 1, 4});
        own->Brush()->SetBitmap(nullptr);
        EXPECT_EQ(b.PixelColor(4, 0), clBlack) << f;
        EXPECT_EQ(b.PixelColor(5, 0), clWhite) << f;
        EXPECT_EQ(b.PixelColor(0, 2), clBlack) << f;
    }
}

TEST_F(CanvasTest, SetTextAndBackgroundColoursHoldUntilTheBrushChanges)
{
    TBitmap mono;
    mono.SetSize(2, 1);
    mono.SetMonochrome(true);
    static_cast<uint8_t*>(mono.ScanLine(0))[0] = 0x40;  // pixel 0 clear, pixel 1 set
    c->Brush()->SetColor(clBlue);
    c->SetTextColor(clLime);
    EXPECT_EQ(c->SetBkColor(clYellow), clBlue);
    c->Draw(0, 0, &mono);
    EXPECT_EQ(At(0, 0), clLime);
    EXPECT_EQ(At(1, 0), clYellow);
    c->Brush()->SetColor(clNavy);
    EXPECT_EQ(c->BkColor(), clNavy);
}

TEST_F(CanvasTest, PatternWhereSourceIsSetDestinationWhereClear)
{
    // 0xE20746: result = pattern where the source bit is 1, destination where it is 0. The
    // pattern is a 2 x 1 brush bitmap (red, lime) tiled from the canvas origin.
    TBitmap pattern;
    pattern.SetSize(2, 1);
    pattern.Canvas()->SetPixels(0, 0, clRed);
    pattern.Canvas()->SetPixels(1, 0, clLime);
    TBitmap mono;
    mono.SetSize(4, 1);
    mono.SetMonochrome(true);
    static_cast<uint8_t*>(mono.ScanLine(0))[0] = 0x30;  // pixels 2 and 3 set
    c->Brush()->SetColor(clSilver);
    c->FillRect(Rect(0, 0, 20, 16));
    c->Brush()->SetBitmap(&pattern);
    c->SetTextColor(clBlack);
    c->SetBkColor(clWhite);
    c->SetCopyMode(0xE20746);
    c->CopyRect(Rect(1, 0, 5, 1), mono.Canvas(), Rect(0, 0, 4, 1));
    EXPECT_EQ(At(1, 0), clSilver);
    EXPECT_EQ(At(2, 0), clSilver);
    EXPECT_EQ(At(3, 0), clLime);  // x = 3 takes pattern column 1
    EXPECT_EQ(At(4, 0), clRed);
}

TEST_F(CanvasTest, TurnedFontDrawsUpwardFromItsStartPoint)
{
    TBitmap b;
    b.SetSize(40, 60);
    b.Canvas()->Brush()->SetStyle(bsClear);
    b.Canvas()->Font()->SetColor(clBlack);
    b.Canvas()->Font()->SetOrientation(900);
    b.Canvas()->TextOut(5, 55, "WWW");
    // Turned a quarter counter-clockwise: the text runs up from (5, 55) and lies right of x = 5.
    int top = 60, left = 40, right = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 40; ++x)
            if (b.Canvas()->Pixels(x, y) == clBlack) {
                top = std::min(top, y);
                left = std::min(left, x);
                right = std::max(right, x);
            }
    EXPECT_LE(top, 55 - b.Canvas()->TextWidth("WWW") + 3);
    EXPECT_GE(left, 5);
    EXPECT_LE(right, 5 + b.Canvas()->TextHeight("W"));
}

TEST_F(CanvasTest, RegressionCopyRectFromOneBitIgnoredTextAndBackgroundColours)
{
    TBitmap mono;
    mono.SetSize(2, 1);
    mono.SetMonochrome(true);
    static_cast<uint8_t*>(mono.ScanLine(0))[0] = 0x40;  // pixel 0 clear, pixel 1 set
    c->SetTextColor(clRed);
    c->SetBkColor(clBlue);
    c->CopyRect(Rect(0, 0, 2, 1), mono.Canvas(), Rect(0, 0, 2, 1));
    EXPECT_EQ(At(0, 0), clRed);
    EXPECT_EQ(At(1, 0), clBlue);
}
