// Painting helpers: the parent's picture under a control, gradients, shading, cell texts and
// fonts.

#include <memory>

#include "controls/lib/CtrlUtils.h"
#include "platform/gui/DrawText.h"
#include "platform/gui/SystemMetrics.h"
#include "platform/gui/WinControl.h"

void CopyParentImage(TControl* Control, TCanvas* Dest)
{
    if (!Control || !Control->Parent() || !Dest)
        return;
    TWinControl* parent = Control->Parent();
    const TRect bounds = Control->BoundsRect();
    const TPoint origin = Point(-bounds.Left, -bounds.Top);
    // The control's own area, cut to the parent's client area.
    TRect clip = parent->ClientRect();
    OffsetRect(clip, origin.x, origin.y);
    IntersectRect(clip, clip, Rect(0, 0, bounds.Width(), bounds.Height()));
    if (clip.IsEmpty())
        return;
    parent->SetControlState(parent->ControlState() | csPaintCopy);
    parent->PaintCopyTo(Dest, origin, clip);
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* child = parent->Controls(i);
        if (child == Control)
            break;
        TRect common;
        if (!dynamic_cast<TGraphicControl*>(child) || !child->Visible() ||
            !IntersectRect(common, child->BoundsRect(), bounds))
            continue;
        child->SetControlState(child->ControlState() | csPaintCopy);
        child->PaintCopyTo(Dest, Point(child->Left() - bounds.Left, child->Top() - bounds.Top), clip);
        child->SetControlState(child->ControlState() & ~csPaintCopy);
    }
    parent->SetControlState(parent->ControlState() & ~csPaintCopy);
}

void GradientFillRect(TCanvas* Canvas, const TRect& Rect, TColor StartColor, TColor EndColor, TFillDirection Direction,
                      int Colors)
{
    const std::vector<TGradientBand> bands =
        GradientBands(Rect, ColorToRGB(StartColor), ColorToRGB(EndColor), Direction, Colors);
    if (bands.empty())
        return;
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetMode(pmCopy);
    Canvas->Brush()->SetStyle(bsSolid);
    for (const TGradientBand& band : bands) {
        Canvas->Brush()->SetColor(Colors < 2 ? StartColor : band.Color);
        Canvas->FillRect(band.Rect);
    }
}

void ShadeRect(TCanvas* DC, const TRect& Rect)
{
    // Diagonal lines, set bits black: AND leaves the destination under the clear bits.
    static const uint8_t kRows[8] = {0x11, 0x22, 0x44, 0x88, 0x11, 0x22, 0x44, 0x88};
    TBitmap pattern;
    pattern.SetSize(8, 8);
    pattern.SetMonochrome(true);
    for (int y = 0; y < 8; ++y)
        static_cast<uint8_t*>(pattern.ScanLine(y))[0] = kRows[y];
    TBitmap* oldPattern = DC->Brush()->Bitmap();
    const TColor brush = DC->Brush()->Color();
    const TCopyMode mode = DC->CopyMode();
    DC->Brush()->SetBitmap(&pattern);
    const TColor oldText = DC->SetTextColor(clWhite);
    const TColor oldBack = DC->SetBkColor(clBlack);
    DC->SetCopyMode(0x00A000C9);  // pattern AND destination
    DC->CopyRect(Rect, DC, Rect);
    DC->SetCopyMode(mode);
    DC->Brush()->SetBitmap(oldPattern);
    DC->Brush()->SetColor(brush);
    DC->SetTextColor(oldText);
    DC->SetBkColor(oldBack);
}

void WriteText(TCanvas* Canvas, const TRect& Rect, int DX, int DY, std::string_view Text, TAlignment Alignment,
               bool WordWrap, bool RightToLeft)
{
    // Every colour of a true-colour target is pure, so only wrapping and line breaks need the
    // layout.
    if (!WordWrap && Text.find('\r') == std::string_view::npos) {
        int x = Rect.Left + DX;
        if (Alignment == taRightJustify)
            x = Rect.Right - Canvas->TextWidth(Text) - 3;
        else if (Alignment == taCenter)
            x = Rect.Left + (Rect.Right - Rect.Left) / 2 - Canvas->TextWidth(Text) / 2;
        Canvas->TextRect(Rect, x, Rect.Top + DY, Text);
        return;
    }
    const int w = Rect.Width(), h = Rect.Height();
    if (w < 1 || h < 1)
        return;
    TBitmap work;
    work.SetSize(w, h);
    TCanvas* c = work.Canvas();
    c->SetFont(Canvas->Font());
    c->Brush()->SetColor(Canvas->Brush()->Color());
    c->Brush()->SetStyle(bsSolid);
    c->FillRect(::Rect(0, 0, w, h));
    c->Brush()->SetStyle(bsClear);
    unsigned flags = DT_EXPANDTABS | DT_NOPREFIX;
    flags |= Alignment == taRightJustify ? DT_RIGHT : Alignment == taCenter ? DT_CENTER : DT_LEFT;
    if (RightToLeft)
        flags |= DT_RTLREADING;
    if (WordWrap)
        flags |= DT_WORDBREAK;
    TRect textRect = ::Rect(DX, DY, w - 1, h - 1);
    DrawText(c, Text, textRect, flags);
    const TCopyMode mode = Canvas->CopyMode();
    Canvas->SetCopyMode(cmSrcCopy);
    Canvas->CopyRect(Rect, c, ::Rect(0, 0, w, h));
    Canvas->SetCopyMode(mode);
}

void DrawCellTextEx(TCustomControl* Control, int, int, std::string_view S, const TRect& ARect, TAlignment Align,
                    TVertAlignment VertAlign, bool WordWrap, bool ARightToLeft)
{
    TCanvas* canvas = Control->Canvas();
    const int top = CellTextTop(VertAlign, ARect.Height(), canvas->TextHeight("W"));
    WriteText(canvas, ARect, 2, top, S, Align, WordWrap, ARightToLeft);
}

void DrawCellTextEx(TCustomControl* Control, int ACol, int ARow, std::string_view S, const TRect& ARect,
                    TAlignment Align, TVertAlignment VertAlign, bool WordWrap)
{
    DrawCellTextEx(Control, ACol, ARow, S, ARect, Align, VertAlign, WordWrap, false);
}

void DrawCellText(TCustomControl* Control, int ACol, int ARow, std::string_view S, const TRect& ARect, TAlignment Align,
                  TVertAlignment VertAlign, bool ARightToLeft)
{
    DrawCellTextEx(Control, ACol, ARow, S, ARect, Align, VertAlign, false, ARightToLeft);
}

void DrawCellText(TCustomControl* Control, int ACol, int ARow, std::string_view S, const TRect& ARect, TAlignment Align,
                  TVertAlignment VertAlign)
{
    DrawCellTextEx(Control, ACol, ARow, S, ARect, Align, VertAlign, Align == taCenter, false);
}

void DrawCellBitmap(TCustomControl* Control, int, int, TBitmap* Graphic, const TRect& Rect)
{
    if (!Control || !Graphic)
        return;
    Control->Canvas()->Draw((Rect.Left + Rect.Right - Graphic->Width()) / 2,
                            (Rect.Top + Rect.Bottom - Graphic->Height()) / 2, Graphic);
}

AnsiString MinimizeText(std::string_view Text, TCanvas* Canvas, int MaxWidth)
{
    return MinimizeText(
        Text, [Canvas](std::string_view s) { return Canvas->TextWidth(s); }, MaxWidth);
}

unsigned AlignmentTextFlags(TAlignment Alignment)
{
    switch (Alignment) {
    case taLeftJustify: return DT_LEFT;
    case taRightJustify: return DT_RIGHT;
    default: return DT_CENTER;
    }
}

TPoint GetAveCharSize(TCanvas* Canvas)
{
    std::string letters;
    for (char c = 'A'; c <= 'Z'; ++c)
        letters += c;
    for (char c = 'a'; c <= 'z'; ++c)
        letters += c;
    const TSize extent = Canvas->TextExtent(letters);
    return Point(extent.cx / 52, extent.cy);
}

TFont* CreateRotatedFont(TFont* Font, int Angle)
{
    auto font = std::make_unique<TFont>();
    font->Assign(Font);
    if (SameText(Font->Name(), "Default"))
        font->SetName("MS Sans Serif");
    font->SetOrientation(Angle * 10);
    return font.release();
}

int FontCharHeight(TFont* Font)
{
    TBitmap scratch;
    scratch.SetSize(1, 1);
    scratch.Canvas()->SetFont(Font);
    return scratch.Canvas()->TextHeight("0");
}

int DialogUnitsToPixelsX(int DlgUnits) { return DlgUnits * static_cast<int>(GetDialogBaseUnits() & 0xFFFF) / 4; }

int DialogUnitsToPixelsY(int DlgUnits) { return DlgUnits * static_cast<int>(GetDialogBaseUnits() >> 16) / 8; }

int PixelsToDialogUnitsX(int PixUnits) { return PixUnits * 4 / static_cast<int>(GetDialogBaseUnits() & 0xFFFF); }

int PixelsToDialogUnitsY(int PixUnits) { return PixUnits * 8 / static_cast<int>(GetDialogBaseUnits() >> 16); }
