// Mapping modes on a canvas: points converted both ways, drawing and text in tenths of a
// millimetre, the resolution a canvas reports.

#include "platform/gui/MapMode.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <string>

#include "platform/gui/Bitmap.h"
#include "platform/gui/DrawText.h"
#include "tests/platform/gui/GuiTestSupport.h"

namespace {

struct TPointCase {
    const char* name;
    TPoint logical, device;  // at 96 pixels an inch: 254 tenths of a millimetre are 96 pixels
};

const TPointCase kPoints[] = {
    {"Origin", {0, 0}, {0, 0}},
    {"OneInchRightAndDown", {254, -254}, {96, 96}},
    {"RoundsToNearestPixel", {100, -50}, {38, 19}},
    {"AboveTheOriginIsNegative", {-254, 254}, {-96, -96}},
};

}  // namespace

class LometricPoint : public ::testing::TestWithParam<TPointCase> {};

TEST_P(LometricPoint, ConvertsBothWays)
{
    TestApplication();
    TBitmap b;
    b.SetSize(10, 10);
    TCanvas* c = b.Canvas();
    EXPECT_EQ(SetMapMode(c, MM_LOMETRIC), MM_TEXT);
    TPoint p = GetParam().logical;
    LPtoDP(c, &p, 1);
    EXPECT_EQ(p, GetParam().device);
    TRect r{GetParam().device.x, GetParam().device.y, 0, 0};
    DPtoLP(c, r);
    EXPECT_NEAR(r.Left, GetParam().logical.x, 2);
    EXPECT_NEAR(r.Top, GetParam().logical.y, 2);
}

INSTANTIATE_TEST_SUITE_P(Points, LometricPoint, ::testing::ValuesIn(kPoints),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(MapMode, CanvasReportsItsResolution)
{
    TestApplication();
    TBitmap b;
    b.SetSize(10, 10);
    EXPECT_EQ(GetDeviceCaps(b.Canvas(), LOGPIXELSX), 96);
    EXPECT_EQ(GetDeviceCaps(b.Canvas(), LOGPIXELSY), 96);
    EXPECT_EQ(GetDeviceCaps(b.Canvas(), 12345), 0);
    EXPECT_EQ(SetMapMode(b.Canvas(), 99), 0);
    EXPECT_EQ(GetMapMode(b.Canvas()), MM_TEXT);
}

TEST(MapMode, LometricDrawsDownThePageWithNegativeY)
{
    TestApplication();
    TBitmap b;
    b.SetSize(200, 200);
    TCanvas* c = b.Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(TRect{0, 0, 200, 200});
    SetMapMode(c, MM_LOMETRIC);
    c->Brush()->SetColor(clRed);
    c->FillRect(TRect{0, 0, 254, -254});
    EXPECT_EQ(b.PixelColor(95, 95), clRed);
    EXPECT_EQ(b.PixelColor(96, 96), clWhite);
    c->Pen()->SetColor(clBlue);
    c->MoveTo(0, -400);
    c->LineTo(500, -400);
    EXPECT_EQ(b.PixelColor(150, 151), clBlue);
    const TRect clip = c->ClipRect();
    EXPECT_EQ(clip.Top, 0);
    EXPECT_NEAR(clip.Bottom, -529, 1);
    EXPECT_NEAR(clip.Right, 529, 1);
}

TEST(MapMode, TextSizesAreLogicalAndDrawTextHeightIsNegated)
{
    TestApplication();
    TBitmap b;
    b.SetSize(200, 200);
    TCanvas* c = b.Canvas();
    c->Font()->SetName("DejaVu Sans Mono");
    c->Font()->SetHeight(-13);
    const int w = c->TextWidth("abc"), h = c->TextHeight("gh");
    SetMapMode(c, MM_LOMETRIC);
    c->Font()->SetHeight(-34);  // 13 pixels at 96 to the inch
    EXPECT_NEAR(c->TextWidth("abc"), w * 254 / 96, 3);
    EXPECT_NEAR(c->TextHeight("gh"), h * 254 / 96, 3);
    TRect r{0, 0, 2000, -2000};
    const int height = DrawText(c, "ab", r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_NEAR(height, -h * 254 / 96, 3);
    EXPECT_NEAR(r.Bottom, -h * 254 / 96, 3);
}

// A target with more pixels per inch down than across: heights and y follow the vertical figure,
// widths and x the horizontal one.
TEST(MapMode, VerticalResolutionIsItsOwn)
{
    TestApplication();
    QImage image(400, 400, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);  // 96 to the inch
    image.setDotsPerMeterY(7559);  // 192 to the inch
    QPainter painter(&image);
    TCanvas c;
    c.BeginPaint(&painter);
    EXPECT_EQ(GetDeviceCaps(&c, LOGPIXELSX), 96);
    EXPECT_EQ(GetDeviceCaps(&c, LOGPIXELSY), 192);
    SetMapMode(&c, MM_LOMETRIC);
    TPoint p{254, -254};
    LPtoDP(&c, &p, 1);
    EXPECT_EQ(p, (TPoint{96, 192}));
    TRect r{96, 192, 0, 0};
    DPtoLP(&c, r);
    EXPECT_EQ(r.Left, 254);
    EXPECT_EQ(r.Top, -254);
    c.Font()->SetHeight(-127);  // half an inch high: 96 pixels down, not the 48 across
    EXPECT_EQ(c.QtFont().pixelSize(), 96);
    c.EndPaint();
}
