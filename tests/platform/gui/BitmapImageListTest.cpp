#include "platform/gui/ImageList.h"

#include <gtest/gtest.h>

#include "tests/platform/gui/CanvasTestApp.h"

namespace {

// A strip of `n` 4 x 4 images: image k is filled with colour k of `colors` on a fuchsia frame.
void Strip(TBitmap& b, int n, const TColor* colors)
{
    b.SetSize(4 * n, 4);
    TCanvas* c = b.Canvas();
    c->Brush()->SetColor(clFuchsia);
    c->FillRect(TRect{0, 0, 4 * n, 4});
    for (int k = 0; k < n; ++k) {
        c->Brush()->SetColor(colors[k]);
        c->FillRect(TRect{4 * k + 1, 1, 4 * k + 3, 3});
    }
}

}  // namespace

TEST(BitmapImageList, AddMaskedSplitsAStripAndDrawsSeeThrough)
{
    EnsureGuiApp();
    TImageList list(nullptr, 4, 4);
    const TColor colors[] = {clRed, clGreen, clBlue};
    TBitmap strip;
    Strip(strip, 3, colors);
    EXPECT_EQ(list.AddMasked(&strip, clFuchsia), 0);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.AddMasked(&strip, clDefault), 3);  // key from the lower-left pixel

    TBitmap dest;
    dest.SetSize(4, 4);
    dest.Canvas()->Brush()->SetColor(clYellow);
    dest.Canvas()->FillRect(TRect{0, 0, 4, 4});
    list.Draw(dest.Canvas(), 0, 0, 1);
    EXPECT_EQ(dest.PixelColor(0, 0), clYellow);
    EXPECT_EQ(dest.PixelColor(1, 1), clGreen);
    list.Draw(dest.Canvas(), 0, 0, 99);  // out of range: nothing
    EXPECT_EQ(dest.PixelColor(2, 2), clGreen);

    list.DrawMask(dest.Canvas(), 0, 0, 2);
    EXPECT_EQ(dest.PixelColor(0, 0), clWhite);
    EXPECT_EQ(dest.PixelColor(1, 1), clBlack);
}

TEST(BitmapImageList, MaskBitmapAndEditing)
{
    EnsureGuiApp();
    TImageList list(nullptr, 2, 1);
    TBitmap img;
    img.SetSize(2, 1);
    img.Canvas()->SetPixels(0, 0, clRed);
    img.Canvas()->SetPixels(1, 0, clBlue);
    TBitmap mask;
    mask.SetSize(2, 1);
    mask.SetMonochrome(true);
    static_cast<uint8_t*>(mask.ScanLine(0))[0] = 0x40;  // pixel 1 see-through
    EXPECT_EQ(list.Add(&img, &mask), 0);
    TBitmap out;
    out.SetSize(2, 1);
    out.Canvas()->Brush()->SetColor(clBlack);
    out.Canvas()->FillRect(TRect{0, 0, 2, 1});
    list.Draw(out.Canvas(), 0, 0, 0);
    EXPECT_EQ(out.PixelColor(0, 0), clRed);
    EXPECT_EQ(out.PixelColor(1, 0), clBlack);

    EXPECT_EQ(list.Add(&img, nullptr), 1);
    EXPECT_THROW(list.Delete(2), EInvalidOperation);
    list.Delete(0);
    TBitmap got;
    list.GetBitmap(0, &got);
    EXPECT_EQ(got.PixelColor(1, 0), clBlue);
    list.SetSize(3, 3);  // a new size empties the list
    EXPECT_EQ(list.Count(), 0);
}
