// Bitmaps drawn with a transparent colour, embossed images and brush patterns.

#include <memory>

#include "controls/lib/CtrlUtils.h"
#include "platform/gui/ImageList.h"

namespace {

// D = pattern where the source is 1, destination where it is 0.
constexpr TCopyMode kPatternWhereSet = 0x00E20746;

// The core of the canvas routines: W, H, SW or SH below 1 take the bitmap's own sizes.
void DrawTransparent(TCanvas* Dest, int X, int Y, int W, int H, TRect Src, TBitmap* Bitmap, TColor TransparentColor)
{
    if (!Dest || !Bitmap || Bitmap->Empty())
        return;
    if (W < 1)
        W = Bitmap->Width();
    if (H < 1)
        H = Bitmap->Height();
    if (Src.Width() < 1 || Src.Height() < 1)
        Src = Rect(0, 0, Bitmap->Width(), Bitmap->Height());
    if (TransparentColor == clNone) {
        Dest->CopyRect(Bounds(X, Y, W, H), Bitmap->Canvas(), Src);
        return;
    }
    if (Bitmap->Monochrome())
        TransparentColor = clWhite;
    else if (TransparentColor == clDefault)
        TransparentColor = Bitmap->PixelColor(0, Bitmap->Height() - 1);
    StretchBltTransparent(Dest, X, Y, W, H, Bitmap->Canvas(), Src.Left, Src.Top, Src.Width(), Src.Height(),
                          ColorToRGB(TransparentColor));
}

// A one-bit copy of the mono source blitted with the pattern operation in Brush at (X, Y).
void EmbossBlit(TCanvas* Canvas, int X, int Y, TBitmap* Mono, TColor Brush, TColor Zero, TColor One)
{
    Canvas->Brush()->SetColor(Brush);
    Canvas->SetTextColor(Zero);
    Canvas->SetBkColor(One);
    const TCopyMode mode = Canvas->CopyMode();
    Canvas->SetCopyMode(kPatternWhereSet);
    Canvas->CopyRect(Bounds(X, Y, Mono->Width(), Mono->Height()), Mono->Canvas(),
                     Rect(0, 0, Mono->Width(), Mono->Height()));
    Canvas->SetCopyMode(mode);
}

}  // namespace

void StretchBltTransparent(TCanvas* DstDC, int DstX, int DstY, int DstW, int DstH, TCanvas* SrcDC, int SrcX, int SrcY,
                           int SrcW, int SrcH, TColor TransparentColor)
{
    if (!DstDC || !SrcDC || SrcW < 1 || SrcH < 1 || DstW < 1 || DstH < 1)
        return;
    // The source part on a bitmap of its own, drawn with the key colour see-through.
    TBitmap copy;
    copy.SetPixelFormat(pf24bit);
    copy.SetSize(SrcW, SrcH);
    copy.Canvas()->CopyRect(Rect(0, 0, SrcW, SrcH), SrcDC, Bounds(SrcX, SrcY, SrcW, SrcH));
    copy.SetTransparentMode(tmFixed);
    copy.SetTransparentColor(TransparentColor);
    copy.SetTransparent(true);
    DstDC->StretchDraw(Bounds(DstX, DstY, DstW, DstH), &copy);
}

void DrawBitmapTransparent(TCanvas* Dest, int X, int Y, TBitmap* Bitmap, TColor TransparentColor)
{
    DrawTransparent(Dest, X, Y, 0, 0, TRect{}, Bitmap, TransparentColor);
}

void DrawBitmapRectTransparent(TCanvas* Dest, int X, int Y, const TRect& SrcRect, TBitmap* Bitmap,
                               TColor TransparentColor)
{
    DrawTransparent(Dest, X, Y, SrcRect.Width(), SrcRect.Height(), SrcRect, Bitmap, TransparentColor);
}

void StretchBitmapRectTransparent(TCanvas* Dest, int X, int Y, int W, int H, const TRect& SrcRect, TBitmap* Bitmap,
                                  TColor TransparentColor)
{
    DrawTransparent(Dest, X, Y, W, H, SrcRect, Bitmap, TransparentColor);
}

void DrawTransparentBitmap(TCanvas* DC, TBitmap* Bitmap, int X, int Y, TColor TransparentColor)
{
    if (!DC || !Bitmap || Bitmap->Empty())
        return;
    StretchBltTransparent(DC, X, Y, Bitmap->Width(), Bitmap->Height(), Bitmap->Canvas(), 0, 0, Bitmap->Width(),
                          Bitmap->Height(), ColorToRGB(TransparentColor));
}

void AssignBitmapCell(TGraphic* Source, TBitmap* Dest, int Cols, int Rows, int Index)
{
    if (!Source || !Dest)
        return;
    Cols = std::max(Cols, 1);
    Rows = std::max(Rows, 1);
    Index = std::max(Index, 0);
    const int w = Source->Width() / Cols, h = Source->Height() / Rows;
    Dest->SetSize(w, h);
    const int left = Index % Cols * w, top = Index / Cols * h;
    if (auto* bitmap = dynamic_cast<TBitmap*>(Source)) {
        Dest->Canvas()->CopyRect(Rect(0, 0, w, h), bitmap->Canvas(), Bounds(left, top, w, h));
        Dest->SetTransparentColor(bitmap->TransparentColor());
        return;
    }
    Dest->Canvas()->Brush()->SetColor(clSilver);
    Dest->Canvas()->FillRect(Rect(0, 0, w, h));
    Source->DrawInto(Dest->Canvas(), Bounds(-left, -top, Source->Width(), Source->Height()));
}

TBitmap* CreateBitmapFromIcon(TIcon* Icon, TColor BackColor)
{
    auto result = std::make_unique<TBitmap>();
    result->SetSize(Icon->Width(), Icon->Height());
    result->Canvas()->Brush()->SetColor(BackColor);
    result->Canvas()->FillRect(Rect(0, 0, Icon->Width(), Icon->Height()));
    Icon->DrawInto(result->Canvas(), Rect(0, 0, Icon->Width(), Icon->Height()));
    result->SetTransparentMode(tmFixed);
    result->SetTransparentColor(BackColor);
    result->SetTransparent(true);
    return result.release();
}

TIcon* CreateIconFromBitmap(TBitmap* Bitmap, TColor TransparentColor)
{
    TImageList list(nullptr, Bitmap->Width(), Bitmap->Height());
    list.AddMasked(Bitmap, TransparentColor == clDefault ? Bitmap->TransparentColor() : TransparentColor);
    auto icon = std::make_unique<TIcon>();
    list.GetIcon(0, icon.get());
    return icon.release();
}

TBitmap* ChangeBitmapColor(TBitmap* Bitmap, TColor Color, TColor NewColor)
{
    auto result = std::make_unique<TBitmap>();
    const TRect r = Rect(0, 0, Bitmap->Width(), Bitmap->Height());
    result->SetSize(r.Right, r.Bottom);
    result->Canvas()->Brush()->SetColor(NewColor);
    result->Canvas()->FillRect(r);
    result->Canvas()->BrushCopy(r, Bitmap, r, Color);
    return result.release();
}

TBitmap* CreateDisabledBitmapEx(TBitmap* Bitmap, TColor OutlineColor, TColor BackColor, TColor HighlightColor,
                                TColor ShadowColor, bool DrawHighlight)
{
    const TRect r = Rect(0, 0, Bitmap->Width(), Bitmap->Height());
    auto result = std::make_unique<TBitmap>();
    TBitmap mono;
    mono.Assign(Bitmap);
    mono.Canvas()->Brush()->SetColor(OutlineColor);
    if (mono.Monochrome()) {
        mono.Canvas()->Font()->SetColor(clWhite);
        mono.SetMonochrome(false);
        mono.Canvas()->Brush()->SetColor(clWhite);
    }
    mono.SetMonochrome(true);  // the outline colour becomes 1, the rest 0
    result->SetSize(r.Right, r.Bottom);
    TCanvas* canvas = result->Canvas();
    canvas->Brush()->SetColor(BackColor);
    canvas->FillRect(r);
    if (DrawHighlight)
        EmbossBlit(canvas, 1, 1, &mono, HighlightColor, clBlack, clWhite);
    EmbossBlit(canvas, 0, 0, &mono, ShadowColor, clBlack, clWhite);
    return result.release();
}

TBitmap* CreateDisabledBitmap(TBitmap* Bitmap, TColor OutlineColor)
{
    return CreateDisabledBitmapEx(Bitmap, OutlineColor, clBtnFace, clBtnHighlight, clBtnShadow, true);
}

void ImageListDrawDisabled(TImageList* Images, TCanvas* Canvas, int X, int Y, int Index, TColor HighlightColor,
                           TColor GrayColor, bool DrawHighlight)
{
    if (!Images || !Canvas)
        return;
    TBitmap mono;
    mono.SetSize(Images->Width(), Images->Height());
    mono.Canvas()->Brush()->SetColor(clWhite);
    mono.Canvas()->FillRect(Rect(0, 0, mono.Width(), mono.Height()));
    Images->DrawMask(mono.Canvas(), 0, 0, Index);
    mono.SetMonochrome(true);  // see-through pixels 1, the image's own 0
    const TColor brush = Canvas->Brush()->Color();
    if (DrawHighlight)
        EmbossBlit(Canvas, X + 1, Y + 1, &mono, HighlightColor, clWhite, clBlack);
    EmbossBlit(Canvas, X, Y, &mono, GrayColor, clWhite, clBlack);
    Canvas->Brush()->SetColor(brush);
}

TBitmap* CreateTwoColorsBrushPattern(TColor Color1, TColor Color2)
{
    auto result = std::make_unique<TBitmap>();
    result->SetSize(8, 8);
    TCanvas* canvas = result->Canvas();
    canvas->Brush()->SetColor(Color1);
    canvas->FillRect(Rect(0, 0, 8, 8));
    for (int y = 0; y < 8; ++y)
        for (int x = y % 2; x < 8; x += 2)
            canvas->SetPixels(x, y, Color2);
    return result.release();
}
