// Fonts and canvas drawing given numbers as large as int holds, on a 20 x 16 bitmap in both
// mapping modes: they are cut to what a screen or page holds and nothing overflows (the sanitizer
// build stops at any overflow); the bitmap shows its part of what was drawn.

#include <QFont>

#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "platform/gui/Bitmap.h"
#include "platform/gui/MapMode.h"
#include "tests/platform/gui/CanvasTestApp.h"

namespace {

struct THugeCase {
    const char* name;
    int mode;
    std::function<void(TCanvas*)> draw;
    int red;  // red pixels afterwards
};
void PrintTo(const THugeCase& c, std::ostream* os) { *os << c.name; }

class CanvasHugeNumbers : public ::testing::TestWithParam<THugeCase> {};

constexpr TRect kAllOfInt{INT_MIN, INT_MIN, INT_MAX, INT_MAX};

}  // namespace

// Fault: rectangles reaching INT_MIN and INT_MAX overflowed in the canvas's widths and device
// conversions, and a font size of 2147483647 in the font's height arithmetic.
TEST_P(CanvasHugeNumbers, RegressionAreCutNotOverflowed)
{
    EnsureGuiApp();
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(20, 16);
    TCanvas* c = bitmap.Canvas();
    SetMapMode(c, GetParam().mode);
    c->Brush()->SetColor(clRed);
    c->Pen()->SetColor(clRed);
    c->Font()->SetColor(clRed);
    GetParam().draw(c);
    SetMapMode(c, MM_TEXT);
    int red = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 20; ++x)
            red += c->Pixels(x, y) == clRed;
    EXPECT_EQ(red, GetParam().red);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CanvasHugeNumbers,
    ::testing::Values(THugeCase{"FillRect", MM_TEXT, [](TCanvas* c) { c->FillRect(kAllOfInt); }, 320},
                      THugeCase{"LometricFillRect", MM_LOMETRIC, [](TCanvas* c) { c->FillRect(kAllOfInt); }, 320},
                      THugeCase{"Rectangle", MM_TEXT, [](TCanvas* c) { c->Rectangle(kAllOfInt); }, 320},
                      THugeCase{"LometricEllipse", MM_LOMETRIC, [](TCanvas* c) { c->Ellipse(kAllOfInt); }, 320},
                      THugeCase{"OutlinesOutsideTheBitmap", MM_TEXT,
                                [](TCanvas* c) {
                                    c->FrameRect(kAllOfInt);
                                    c->DrawFocusRect(kAllOfInt);
                                    c->Brush()->SetStyle(bsClear);
                                    c->RoundRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MAX, INT_MAX);
                                },
                                0},
                      THugeCase{"LineAcross", MM_TEXT,
                                [](TCanvas* c) {
                                    c->MoveTo(INT_MIN, INT_MIN);
                                    c->LineTo(INT_MAX, INT_MAX);
                                },
                                16},
                      THugeCase{"TextAtTheEndOfInt", MM_TEXT, [](TCanvas* c) { c->TextOut(INT_MAX, INT_MAX, "w"); },
                                0}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(CanvasHugeFont, RegressionSizesAreCutToAFontHeight)
{
    EnsureGuiApp();
    TFont font;
    font.SetSize(INT_MAX);
    EXPECT_EQ(font.Height(), -kMaxFontHeight);
    EXPECT_EQ(font.Size(), 24575);
    font.SetSize(INT_MIN);
    EXPECT_EQ(font.Height(), kMaxFontHeight);
    EXPECT_LE(font.ToQFont().pixelSize(), kMaxFontHeight);
    TBitmap bitmap;
    SetMapMode(bitmap.Canvas(), MM_LOMETRIC);
    bitmap.Canvas()->Font()->SetHeight(INT_MIN);
    EXPECT_GT(bitmap.Canvas()->TextHeight("gh"), 30000);
}
