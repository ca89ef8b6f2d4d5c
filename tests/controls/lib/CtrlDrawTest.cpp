// The control library's bitmap and painting routines, on bitmaps and an offscreen form.

#include <gtest/gtest.h>

#include <memory>

#include "GoldenPicture.h"
#include "GuiTestSupport.h"
#include "controls/lib/CtrlUtils.h"
#include "platform/gui/ImageList.h"
#include "platform/gui/WinControl.h"

namespace {

// A 10 x 10 silver glyph with a black L: a column at x = 2 (rows 1-7) and a foot at y = 7.
std::unique_ptr<TBitmap> LGlyph()
{
    auto glyph = std::make_unique<TBitmap>();
    glyph->SetPixelFormat(pf24bit);
    glyph->SetSize(10, 10);
    glyph->Canvas()->Brush()->SetColor(clSilver);
    glyph->Canvas()->FillRect(Rect(0, 0, 10, 10));
    glyph->Canvas()->Brush()->SetColor(clBlack);
    glyph->Canvas()->FillRect(Rect(2, 1, 3, 8));
    glyph->Canvas()->FillRect(Rect(2, 7, 7, 8));
    return glyph;
}

TEST(CtrlBitmaps, DisabledGlyphIsShadowWithHighlightBelowRight)
{
    auto glyph = LGlyph();
    std::unique_ptr<TBitmap> disabled(CreateDisabledBitmap(glyph.get(), clBlack));
    TCanvas* c = disabled->Canvas();
    EXPECT_EQ(c->Pixels(2, 1), ColorToRGB(clBtnShadow));     // an outline pixel
    EXPECT_EQ(c->Pixels(3, 2), ColorToRGB(clBtnHighlight));  // right of and below the column
    EXPECT_EQ(c->Pixels(3, 7), ColorToRGB(clBtnShadow));     // the shadow covers the highlight
    EXPECT_EQ(c->Pixels(7, 8), ColorToRGB(clBtnHighlight));  // below the foot's end
    EXPECT_EQ(c->Pixels(0, 0), ColorToRGB(clBtnFace));
    golden::Expect(*disabled, "disabled-glyph");
}

TEST(CtrlBitmaps, ImageListDrawsTheOpaquePixelsEmbossed)
{
    auto glyph = LGlyph();
    TImageList list(nullptr, 10, 10);
    list.AddMasked(glyph.get(), clSilver);
    TBitmap target;
    target.SetSize(12, 12);
    target.Canvas()->Brush()->SetColor(clWhite);
    ImageListDrawDisabled(&list, target.Canvas(), 1, 1, 0, clYellow, clGray, true);
    TCanvas* c = target.Canvas();
    EXPECT_EQ(c->Pixels(3, 2), clGray);    // glyph (2, 1) drawn at (1, 1)
    EXPECT_EQ(c->Pixels(4, 3), clYellow);  // its highlight copy
    EXPECT_EQ(c->Pixels(0, 0), clWhite);   // see-through pixels leave the target
    EXPECT_EQ(c->Brush()->Color(), clWhite);
}

TEST(CtrlBitmaps, TransparentColourIsLeftOutAndCheckerHasTwoColours)
{
    auto glyph = LGlyph();
    TBitmap target;
    target.SetSize(10, 10);
    target.Canvas()->Brush()->SetColor(clRed);
    target.Canvas()->FillRect(Rect(0, 0, 10, 10));
    DrawBitmapTransparent(target.Canvas(), 0, 0, glyph.get(), clDefault);  // lower-left: silver
    EXPECT_EQ(target.Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(target.Canvas()->Pixels(2, 3), clBlack);
    std::unique_ptr<TBitmap> changed(ChangeBitmapColor(glyph.get(), clBlack, clBlue));
    EXPECT_EQ(changed->Canvas()->Pixels(2, 3), clBlue);
    EXPECT_EQ(changed->Canvas()->Pixels(0, 0), clSilver);
    std::unique_ptr<TBitmap> checker(CreateTwoColorsBrushPattern(clWhite, clBlack));
    EXPECT_EQ(checker->Canvas()->Pixels(0, 0), clBlack);
    EXPECT_EQ(checker->Canvas()->Pixels(1, 0), clWhite);
    EXPECT_EQ(checker->Canvas()->Pixels(1, 1), clBlack);
}

TEST(CtrlBitmaps, CellOfZeroColumnsIsTheWholeWidth)
{
    TBitmap strip;
    strip.SetSize(8, 6);
    strip.Canvas()->Brush()->SetColor(clLime);
    strip.Canvas()->FillRect(Rect(0, 3, 8, 6));  // second of two rows
    TBitmap cell;
    AssignBitmapCell(&strip, &cell, 0, 2, 1);
    EXPECT_EQ(cell.Width(), 8);
    EXPECT_EQ(cell.Height(), 3);
    EXPECT_EQ(cell.Canvas()->Pixels(7, 2), clLime);
}

TEST(CtrlPaint, GradientBandsAndCellTextsLookAsBefore)
{
    TBitmap gradient;
    gradient.SetSize(40, 10);
    GradientFillRect(gradient.Canvas(), Rect(0, 0, 40, 10), clBlack, clBlue, fdLeftToRight, 3);
    golden::Expect(gradient, "gradient");

    TBitmap cells;
    cells.SetSize(90, 72);
    TCanvas* c = cells.Canvas();
    c->Font()->SetColor(clBlack);
    const TAlignment alignments[] = {taLeftJustify, taCenter, taRightJustify};
    for (int i = 0; i < 3; ++i) {
        c->Brush()->SetColor(i == 1 ? clAqua : clWhite);
        WriteText(c, Rect(0, i * 18, 90, i * 18 + 18), 2, 2, "Cell", alignments[i], false);
    }
    c->Brush()->SetColor(clYellow);
    WriteText(c, Rect(0, 54, 90, 72), 2, 2, "wrapped words here", taCenter, true);
    golden::Expect(cells, "cell-texts");
}

// A graphic control painting one colour over its bounds.
class TPatch : public TGraphicControl {
public:
    TPatch(TWinControl* parent, TColor color, TRect bounds) : TGraphicControl(parent), FColor(color)
    {
        SetBoundsRect(bounds);
        SetParent(parent);
    }
    bool sawPaintCopy = false;

protected:
    void Paint() override
    {
        sawPaintCopy = ControlState() & csPaintCopy;
        Canvas()->Brush()->SetColor(FColor);
        Canvas()->FillRect(ClientRect());
    }

private:
    TColor FColor;
};

TEST(CtrlPaint, ParentImageHoldsTheBackgroundAndTheControlsBelowOnly)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 100, 100);
    form.SetColor(clTeal);
    form.HandleNeeded();
    auto* below = new TPatch(&form, clRed, Rect(10, 10, 30, 30));
    auto* control = new TPatch(&form, clLime, Rect(20, 20, 40, 40));
    auto* above = new TPatch(&form, clBlue, Rect(25, 25, 35, 35));
    TBitmap copy;
    copy.SetSize(20, 20);
    CopyParentImage(control, copy.Canvas());
    EXPECT_EQ(copy.Canvas()->Pixels(0, 0), clRed);     // (20, 20) lies in the control below
    EXPECT_EQ(copy.Canvas()->Pixels(15, 15), clTeal);  // (35, 35): the form, not the control above
    EXPECT_TRUE(below->sawPaintCopy);
    EXPECT_FALSE(above->sawPaintCopy);
    EXPECT_EQ(below->ControlState() & csPaintCopy, 0u);
    (void)above;
}

}  // namespace
