// What the terminal's window shows: the screen image (or, while a selection or marked rows are
// shown, the overlay image), the block-line band, the look of the smart item under the pointer,
// the character being composed, and the scroll bar.

#include <QImage>
#include <algorithm>

#include "platform/gui/Bitmap.h"
#include "platform/gui/FrameBufferImage.h"
#include "terminal/control/Terminal.h"
#include "terminal/fonts/HanBitFont.h"

namespace {
void Edge(TFrameBuffer& fb, const THoverRect& r, bool raised)
{
    const uint8_t white = ColorToNibble(clWhite), gray = ColorToNibble(clGray);
    const uint8_t light = raised ? white : gray;
    const uint8_t dark = raised ? gray : white;
    fb.Line(r.Left, r.Top, r.Right - 1, r.Top, light);
    fb.Line(r.Left, r.Top, r.Left, r.Bottom - 1, light);
    fb.Line(r.Left, r.Bottom - 1, r.Right - 1, r.Bottom - 1, dark);
    fb.Line(r.Right - 1, r.Top, r.Right - 1, r.Bottom - 1, dark);
}

TRectI Cells(int left, int top, int right, int bottom) { return TRectI{left, top, right, bottom}; }
}  // namespace

void TCustomTerminal::BlockBmpRepaint()
{
    FOverlay = FDraw.Screen();
    for (const TCellSpan& s : BlockSpans(FCore.Data(), FSel, FCore.LinePos(), FCore.PageSize(), FCore.Columns()))
        FOverlay.InvertRect(
            Cells(s.From * FCellWidth, s.Row * FCellHeight, s.To * FCellWidth, (s.Row + 1) * FCellHeight));
}

void TCustomTerminal::MultiSelectRepaint()
{
    FOverlay = FDraw.Screen();
    for (int row = 0; row <= FCore.PageSize() && row < TMultiSelect::kRows; ++row) {
        if (FMulti.Marked(row).empty())
            continue;
        FOverlay.InvertRect(Cells(FMulti.BandLeft(), row * FCellHeight, FMulti.BandRight(), (row + 1) * FCellHeight));
    }
}

void TCustomTerminal::ComposeWindow(TFrameBuffer& out)
{
    out = (FSel.InProgress || FMulti.Active()) ? FOverlay : FDraw.Screen();
    if (FBlockLineY > -1 && !FSel.InProgress && !FMulti.Active())
        out.InvertRect(Cells(0, FBlockLineY * FCellHeight, FDrawnWidth, (FBlockLineY + 1) * FCellHeight));
    if (!FComposition.empty()) {
        const int row = FCore.CurY() - FCore.MaxLinePos();
        TextOn(out, FCompositionCol * FCellWidth, row * FCellHeight, FComposition, FCore.FontColor(),
               FCore.BackColor());
    }
    if (FHover.IsNone() || !FHover.Contains(FLastMouse.x, FLastMouse.y))
        return;
    if (FSmart.IsLink) {
        THoverRect r = FHover;
        r.Inflate(-3);
        TextOn(out, r.Left, r.Top, FSmart.Text, clYellow, FCore.DefaultBackColor());
        out.Line(r.Left, r.Bottom - 2, r.Right - 1, r.Bottom - 2, ColorToNibble(clYellow));
    } else if (FHoverPressed) {
        const TFrameBuffer before = out;
        const TRectI src = Cells(FHover.Left, FHover.Top, FHover.Right - 3, FHover.Bottom - 3);
        for (int y = std::max(src.Top, 0); y < std::min(src.Bottom, out.Height()); ++y)
            for (int x = std::max(src.Left, 0); x < std::min(src.Right, out.Width()); ++x)
                out.SetPixel(x + 1, y + 1, before.Pixel(x, y));
        Edge(out, FHover, false);
    } else {
        Edge(out, FHover, true);
    }
}

// Text drawn as the screen image draws it, on another picture.
void TCustomTerminal::TextOn(TFrameBuffer& target, int x, int y, const AnsiString& text, TColor fg, TColor bg)
{
    if (FHanMode) {
        THanBitFont font(&target);
        font.SetFontColor(fg);
        font.SetBackColor(bg);
        font.NewHTextOut(x, y, text);
    } else {
        FRaster.TextOut(target, x, y, text, ColorToNibble(fg), ColorToNibble(bg), false);
    }
}

const TFrameBuffer& TCustomTerminal::ShownImage()
{
    ComposeWindow(FShown);
    return FShown;
}

void TCustomTerminal::Paint()
{
    TCanvas* canvas = Canvas();
    const int height = ClientHeight();
    const int drawn = std::min(FDrawnWidth, ClientWidth());
    ComposeWindow(FShown);
    if (drawn > 0 && height > 0) {
        TBitmap bitmap;
        bitmap.SetImage(FrameBufferToImage(FShown, TScreenPainter::Palette()).copy(0, 0, drawn, height));
        canvas->Draw(0, 0, &bitmap);
    }
    canvas->Brush()->SetColor(Color());
    if (drawn < ClientWidth())
        canvas->FillRect(Rect(drawn, 0, ClientWidth(), height));
    if (FShown.Height() < height)
        canvas->FillRect(Rect(0, FShown.Height(), drawn, height));
    PaintScrollBar();
}

void TCustomTerminal::PaintScrollBar()
{
    TCanvas* canvas = Canvas();
    const int left = ClientWidth();
    const int w = TScrollBarModel::kWidth;
    const int height = Height();
    canvas->Brush()->SetColor(clSilver);
    canvas->FillRect(Rect(left, 0, left + w, height));
    const bool on = FScrollBar.ArrowsEnabled();
    canvas->Brush()->SetColor(clBtnFace);
    canvas->Pen()->SetColor(clGray);
    canvas->Rectangle(left, 0, left + w, w);
    canvas->Rectangle(left, height - w, left + w, height);
    // The arrows: small triangles, dimmed while the bar is off.
    canvas->Brush()->SetColor(on ? clBlack : clGray);
    canvas->Pen()->SetColor(on ? clBlack : clGray);
    const int cx = left + w / 2;
    canvas->Polygon({TPoint{cx, 5}, TPoint{cx - 4, 10}, TPoint{cx + 4, 10}});
    canvas->Polygon({TPoint{cx, height - 6}, TPoint{cx - 4, height - 11}, TPoint{cx + 4, height - 11}});
    if (!on)
        return;
    const TScrollBarModel::TThumb thumb = FScrollBar.Thumb(height);
    canvas->Brush()->SetColor(clBtnFace);
    canvas->Pen()->SetColor(clGray);
    canvas->Rectangle(left, thumb.Top, left + w, thumb.Bottom);
}
