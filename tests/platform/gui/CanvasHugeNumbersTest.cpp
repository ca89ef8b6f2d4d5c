// Fonts and canvas drawing given numbers as large as int holds, on a 20 x 16 bitmap in both
// mapping modes: sizes are cut to what a screen or page can hold and nothing overflows (the
// sanitizer build stops at any overflow); what shows is what the bitmap's part of it would be.

#include <QFont>

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

#include "platform/gui/Bitmap.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/MapMode.h"
#include "tests/platform/gui/CanvasTestApp.h"

namespace {

// Draws on the canvas and tells what came of it.
struct THugeCase {
    const char* name;
    std::function<std::string(TCanvas*)> draw;
    std::string want;
};
void PrintTo(const THugeCase& c, std::ostream* os) { *os << c.name; }

class CanvasHugeNumbers : public ::testing::TestWithParam<THugeCase> {};

// How many of the bitmap's 320 pixels are red.
std::string Red(TCanvas* c)
{
    SetMapMode(c, MM_TEXT);
    int n = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 20; ++x)
            n += c->Pixels(x, y) == clRed;
    return "red " + std::to_string(n);
}

std::string Filled(TCanvas* c, const std::function<void()>& draw)
{
    c->Brush()->SetColor(clRed);
    c->Pen()->SetColor(clRed);
    draw();
    return Red(c);
}

std::string Heights(const TFont& f)
{
    return std::to_string(f.Height()) + " " + std::to_string(f.Size()) + " " +
        std::to_string(f.ToQFont().pixelSize());
}

}  // namespace

// Fault: a font size of 2147483647 or a rectangle reaching INT_MIN and INT_MAX overflowed in the
// font's height arithmetic and in the canvas's widths and device conversions.
TEST_P(CanvasHugeNumbers, RegressionAreCutNotOverflowed)
{
    EnsureGuiApp();
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(20, 16);
    EXPECT_EQ(GetParam().draw(bitmap.Canvas()), GetParam().want);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CanvasHugeNumbers,
    ::testing::Values(
        THugeCase{"FillRectOfAllInt",
                  [](TCanvas* c) { return Filled(c, [c] { c->FillRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX}); }); },
                  "red 320"},
        THugeCase{"RectangleOfAllInt",
                  [](TCanvas* c) { return Filled(c, [c] { c->Rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX); }); },
                  "red 320"},
        THugeCase{"EllipseAroundTheBitmap",
                  [](TCanvas* c) { return Filled(c, [c] { c->Ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX); }); },
                  "red 320"},
        THugeCase{"FramesOutsideTheBitmap",
                  [](TCanvas* c) {
                      return Filled(c, [c] {
                          c->FrameRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX});
                          c->DrawFocusRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX});
                          c->Brush()->SetStyle(bsClear);
                          c->RoundRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MAX, INT_MAX);
                      });
                  },
                  "red 0"},
        THugeCase{"LineAcrossAllInt",
                  [](TCanvas* c) {
                      return Filled(c, [c] {
                          c->MoveTo(INT_MIN, INT_MIN);
                          c->LineTo(INT_MAX, INT_MAX);
                      });
                  },
                  "red 16"},
        THugeCase{"TextOutAtTheEndOfInt",
                  [](TCanvas* c) {
                      c->Font()->SetColor(clRed);
                      c->TextOut(INT_MAX, INT_MAX, "wide");
                      return Red(c) + " pen " + std::to_string(c->PenPos().x);
                  },
                  "red 0 pen 2147483647"},
        THugeCase{"LometricFillRectOfAllInt",
                  [](TCanvas* c) {
                      SetMapMode(c, MM_LOMETRIC);
                      return Filled(c, [c] { c->FillRect({INT_MIN, INT_MAX, INT_MAX, INT_MIN}); });
                  },
                  "red 320"},
        THugeCase{"LometricHugeFontMeasures",
                  [](TCanvas* c) {
                      SetMapMode(c, MM_LOMETRIC);
                      c->Font()->SetHeight(INT_MIN);
                      return std::string(c->TextHeight("gh") > 30000 && c->TextWidth("gh") > 0 ? "measured" : "not");
                  },
                  "measured"},
        THugeCase{"FontSizeIntMax",
                  [](TCanvas*) {
                      TFont f;
                      f.SetSize(INT_MAX);
                      return Heights(f);
                  },
                  "-32767 24575 32767"},
        THugeCase{"FontSizeIntMin",
                  [](TCanvas*) {
                      TFont f;
                      f.SetSize(INT_MIN);
                      return std::to_string(f.Height()) + " " + std::to_string(f.Size());
                  },
                  "32767 -24575"},
        THugeCase{"FontCellHeightIntMax",
                  [](TCanvas*) {
                      TFont f;
                      f.SetHeight(INT_MAX);
                      const int px = f.ToQFont().pixelSize();
                      return std::to_string(f.Height()) + (px > 0 && px <= kMaxFontHeight ? " in range" : " out");
                  },
                  "32767 in range"}),
    [](const auto& row) { return std::string(row.param.name); });
