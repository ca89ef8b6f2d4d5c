#include "platform/gui/Bitmap.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include <QDir>

#include "tests/platform/gui/CanvasTestApp.h"

namespace {

class BitmapTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureGuiApp(); }
    std::string TempPath(const char* name)
    {
        return (QDir::tempPath() + "/hm_bitmap_" + QString::number(::getpid()) + "_" + name).toStdString();
    }
    void TearDown() override
    {
        for (const std::string& f : files)
            std::remove(f.c_str());
    }
    std::string File(const char* name)
    {
        files.push_back(TempPath(name));
        return files.back();
    }
    std::vector<std::string> files;
};

// Pixels as colours, for comparing bitmaps.
std::vector<TColor> Colors(TBitmap& b)
{
    std::vector<TColor> v;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            v.push_back(b.PixelColor(x, y));
    return v;
}

void Paint(TBitmap& b)
{
    TCanvas* c = b.Canvas();
    c->Brush()->SetColor(clNavy);
    c->FillRect(TRect{0, 0, b.Width() / 2, b.Height()});
    c->SetPixels(b.Width() - 1, 0, clRed);
    c->SetPixels(0, b.Height() - 1, clYellow);
}

}  // namespace

TEST_F(BitmapTest, ResizingKeepsThePixelsThatFit)
{
    TBitmap b;
    EXPECT_TRUE(b.Empty());
    b.SetSize(6, 4);
    Paint(b);
    b.SetSize(8, 3);
    EXPECT_EQ(b.PixelColor(0, 0), clNavy);
    EXPECT_EQ(b.PixelColor(5, 0), clRed);
    EXPECT_EQ(b.PixelColor(7, 2), clWhite);
    b.SetWidth(-5);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Canvas()->Painter(), nullptr);  // nothing to draw on, nothing crashes
    b.Canvas()->FillRect(TRect{0, 0, 5, 5});
}

TEST_F(BitmapTest, ScanLineFollowsTheWindowsRowLayouts)
{
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    b.SetSize(3, 2);
    b.Canvas()->SetPixels(1, 1, RGB(0x11, 0x22, 0x33));
    const auto* row = static_cast<const uint8_t*>(b.ScanLine(1));
    EXPECT_EQ(row[3], 0x33);  // blue first
    EXPECT_EQ(row[5], 0x11);
    EXPECT_EQ(b.BytesPerScanLine() % 4, 0);

    b.SetPixelFormat(pf32bit);
    row = static_cast<const uint8_t*>(b.ScanLine(1));
    EXPECT_EQ(row[4], 0x33);

    // Writing a row shows in the canvas.
    static_cast<uint8_t*>(b.ScanLine(0))[0] = 0x00;  // blue of pixel 0 gone
    EXPECT_EQ(b.Canvas()->Pixels(0, 0), RGB(0xFF, 0xFF, 0x00));

    TBitmap m;
    m.SetSize(10, 1);
    m.SetMonochrome(true);
    auto* bits = static_cast<uint8_t*>(m.ScanLine(0));
    EXPECT_EQ(bits[0], 0xFF);  // new pixels are white: set bits
    bits[0] = 0x7F;            // leftmost pixel black
    EXPECT_EQ(m.PixelColor(0, 0), clBlack);
    EXPECT_EQ(m.PixelColor(1, 0), clWhite);
}

TEST_F(BitmapTest, ScanLineOutsideRaises)
{
    TBitmap b;
    b.SetSize(2, 2);
    EXPECT_THROW(b.ScanLine(2), EInvalidGraphicOperation);
    EXPECT_THROW(b.ScanLine(-1), EInvalidGraphicOperation);
}

TEST_F(BitmapTest, DrawingOnAnIndexedBitmapReachesItsRows)
{
    TBitmap b;
    b.SetPixelFormat(pf4bit);
    b.SetSize(4, 2);
    EXPECT_EQ(static_cast<uint8_t*>(b.ScanLine(0))[0], 15);  // white in the 16-colour order
    b.Canvas()->Brush()->SetColor(clRed);
    b.Canvas()->FillRect(TRect{0, 0, 2, 1});
    const auto* row = static_cast<const uint8_t*>(b.ScanLine(0));
    EXPECT_EQ(row[0], 9);  // red
    EXPECT_EQ(row[1], 9);
    EXPECT_EQ(row[2], 15);
    EXPECT_EQ(b.PixelColor(0, 0), clRed);
    // Drawing again after a row was read still works.
    b.Canvas()->SetPixels(3, 1, clBlue);
    EXPECT_EQ(static_cast<uint8_t*>(b.ScanLine(1))[3], 12);
}

TEST_F(BitmapTest, MonochromeMakesTheBrushColourWhite)
{
    TBitmap b;
    b.SetSize(3, 1);
    b.Canvas()->SetPixels(0, 0, clRed);
    b.Canvas()->SetPixels(1, 0, clGray);
    b.Canvas()->Brush()->SetColor(clGray);
    b.SetMonochrome(true);
    EXPECT_EQ(b.PixelColor(0, 0), clBlack);
    EXPECT_EQ(b.PixelColor(1, 0), clWhite);
    EXPECT_EQ(b.PixelColor(2, 0), clBlack);
}

TEST_F(BitmapTest, BmpFilesRoundTripInEachFormat)
{
    for (TPixelFormat f : {pf1bit, pf4bit, pf8bit, pf24bit, pf32bit}) {
        TBitmap b;
        b.SetPixelFormat(f);
        b.SetSize(13, 5);  // odd width: padded rows
        Paint(b);
        const std::string path = File("round.bmp");
        b.SaveToFile(path);
        TBitmap back;
        back.LoadFromFile(path);
        EXPECT_EQ(back.Width(), 13);
        EXPECT_EQ(back.Height(), 5);
        EXPECT_EQ(back.PixelFormat(), f) << f;
        EXPECT_EQ(Colors(back), Colors(b)) << f;
    }
}

TEST_F(BitmapTest, LoadFailuresRaiseTheFrameworkErrors)
{
    TBitmap b;
    EXPECT_THROW(b.LoadFromFile(TempPath("missing.bmp")), EFOpenError);
    const std::string junk = File("junk.bmp");
    std::ofstream(junk) << "BMthis is not a bitmap at all, only text";
    EXPECT_THROW(b.LoadFromFile(junk), EInvalidGraphic);
    EXPECT_TRUE(b.Empty());
    b.SetSize(2, 2);
    EXPECT_THROW(b.SaveToFile("/nonexistent-dir/x.bmp"), EFCreateError);
}

TEST_F(BitmapTest, AssignCopiesPixelsAndTransparency)
{
    TBitmap a;
    a.SetPixelFormat(pf24bit);
    a.SetSize(4, 3);
    Paint(a);
    a.SetTransparent(true);
    a.SetTransparentColor(clRed);
    int changes = 0;
    TBitmap b;
    b.OnChange = [&](TObject*) { ++changes; };
    b.Assign(&a);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(Colors(b), Colors(a));
    EXPECT_TRUE(b.Transparent());
    EXPECT_EQ(b.TransparentColor(), clRed);
    // The copy is independent.
    b.Canvas()->SetPixels(1, 1, clLime);
    EXPECT_EQ(a.PixelColor(1, 1), clNavy);
    b.Assign(nullptr);
    EXPECT_TRUE(b.Empty());
}
