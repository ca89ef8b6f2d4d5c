// Measuring and drawing the items of an owner-drawn menu, and the pop-up's left band. The
// platform asks through MeasureItem and DrawItem with a canvas; the item is measured and drawn
// on that canvas in the menus' font and colours.

#include <algorithm>

#include "controls/lib/CtrlUtils.h"
#include "controls/lib/ExMenus.h"
#include "platform/core/ShortCuts.h"
#include "platform/gui/DrawText.h"
#include "platform/gui/Icon.h"
#include "platform/gui/SystemMetrics.h"

namespace {

enum TButtonLook { blNone, blLowered, blRaised };

AnsiString WithoutAmpersands(const AnsiString& Caption)
{
    AnsiString out;
    out.reserve(Caption.size());
    for (char c : Caption)
        if (c != '&')
            out += c;
    return out;
}

// A text's width where each tab counts as a blank, as the system measures a tab it does not
// expand.
int MenuTextWidth(TCanvas* Canvas, AnsiString Text)
{
    std::replace(Text.begin(), Text.end(), '\t', ' ');
    return Canvas->TextWidth(Text);
}

int CheckMarkWidth() { return MenuCheckMarkWidth(GetSystemMetrics(SM_CXMENUCHECK)); }

// The size one glyph of the graphic takes: a bitmap strip of 2 to 5 glyphs shows one.
TSize GraphicSize(TGraphic* Graphic, int NumGlyphs)
{
    if (!Graphic || Graphic->Empty())
        return TSize{0, 0};
    int w = Graphic->Width();
    if (dynamic_cast<TBitmap*>(Graphic) && NumGlyphs >= 2 && NumGlyphs <= 5)
        w /= NumGlyphs;
    return TSize{w, Graphic->Height()};
}

void Line(TCanvas* Canvas, TColor Color, int X1, int Y1, int X2, int Y2)
{
    Canvas->Pen()->SetColor(Color);
    Canvas->MoveTo(X1, Y1);
    Canvas->LineTo(X2, Y2);
}

// A one-pixel frame: TopLeft on the top and left edges, BottomRight on the others.
void Frame3D(TCanvas* Canvas, const TRect& R, TColor TopLeft, TColor BottomRight)
{
    Line(Canvas, TopLeft, R.Left, R.Bottom - 1, R.Left, R.Top);
    Line(Canvas, TopLeft, R.Left, R.Top, R.Right, R.Top);
    Line(Canvas, BottomRight, R.Right - 1, R.Top + 1, R.Right - 1, R.Bottom);
    Line(Canvas, BottomRight, R.Left, R.Bottom - 1, R.Right - 1, R.Bottom - 1);
}

// The menu's check mark, or its bullet for a radio item, centred in R in Color.
void DrawCheckMark(TCanvas* Canvas, const TRect& R, bool Radio, TColor Color)
{
    const int cx = (R.Left + R.Right) / 2, cy = (R.Top + R.Bottom) / 2;
    if (Radio) {
        Canvas->Pen()->SetColor(Color);
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(Color);
        Canvas->Ellipse(cx - 3, cy - 3, cx + 3, cy + 3);
        return;
    }
    // A seven-pixel tick, three pixels thick.
    for (int i = 0; i < 3; ++i) {
        Line(Canvas, Color, cx - 3, cy - 1 + i, cx - 1, cy + 1 + i);
        Line(Canvas, Color, cx - 1, cy + 1 + i, cx + 4, cy - 4 + i);
    }
}

}  // namespace

template <class TBase>
int TExMenuBase<TBase>::GetItemTextWidth(TMenuItem* Item)
{
    TCanvas* canvas = FCanvas;
    if (!IsItemPopup(Item))
        return canvas->TextWidth(WithoutAmpersands(Item->Caption()));
    auto captionWidth = [canvas](TMenuItem* i) {
        return MenuTextWidth(canvas, WithoutAmpersands(i->Caption()) + "\t\t");
    };
    auto keysWidth = [canvas](TMenuItem* i) { return canvas->TextWidth(ShortCutToText(i->ShortCut()) + " "); };
    int caption = captionWidth(Item), keys = keysWidth(Item);
    if (TMenuItem* parent = Item->Parent(); parent && Item->ShortCut() != 0) {
        for (int i = 0; i < parent->Count(); ++i) {
            caption = std::max(caption, captionWidth(parent->Items(i)));
            keys = std::max(keys, keysWidth(parent->Items(i)));
        }
    }
    int width = caption + keys;
    if (Item->Count() > 0)
        width += MenuTextWidth(canvas, "\t\t");
    return width;
}

template <class TBase>
void TExMenuBase<TBase>::MenuMeasureItem(TMenuItem* Item, TGraphic* Graphic, int NumGlyphs, int ImageIndex, int& Width,
                                         int& Height)
{
    TMenuMeasureInput in;
    in.IsPopup = IsItemPopup(Item);
    in.IsSeparator = Item->IsLine();
    in.ShowCheckMarks = FShowCheckMarks;
    in.MinTextOffset = static_cast<int>(FMinTextOffset);
    in.MenuBarHeight = GetSystemMetrics(SM_CYMENU);
    in.SysCheckWidth = GetSystemMetrics(SM_CXMENUCHECK);
    in.TextWidth = GetItemTextWidth(Item);
    in.TextHeight = FCanvas->TextHeight(Item->Caption());
    in.DashHeight = FCanvas->TextHeight("-");
    if (TImageList* images = this->Images()) {
        in.HasImages = true;
        in.ImageWidth = images->Width();
        in.ImageHeight = images->Height();
        in.ImageCount = images->Count();
    }
    in.ImageIndex = ImageIndex;
    const TSize glyph = GraphicSize(Graphic, NumGlyphs);
    in.GraphicWidth = glyph.cx;
    in.GraphicHeight = glyph.cy;
    const TMenuSize size = MeasureMenuItemSize(in);
    Width = size.Width;
    Height = size.Height;
}

template <class TBase>
void TExMenuBase<TBase>::MeasureItem(TMenuItem* Item, TCanvas* ACanvas, int& Width, int& Height)
{
    FCanvas = ACanvas;
    SetDefaultMenuFont(ACanvas->Font());
    if (Item->Default())
        ACanvas->Font()->SetStyle(TFontStyles() << fsBold);
    TGraphic* graphic = nullptr;
    TColor color = ACanvas->Brush()->Color();
    int numGlyphs = 1;
    GetItemParams(Item, 0, ACanvas->Font(), color, graphic, numGlyphs);
    int imageIndex = Item->ImageIndex();
    GetImageIndex(Item, 0, imageIndex);
    MenuMeasureItem(Item, graphic, numGlyphs, imageIndex, Width, Height);
    MeasureItem(Item, Width, Height);
    Width += ItemLeftMargin(Item);
    FCanvas = nullptr;
}

template <class TBase>
void TExMenuBase<TBase>::DrawItem(TMenuItem* Item, TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State)
{
    FCanvas = ACanvas;
    const TMenuOwnerDrawState state = State;
    DrawItemMargin(Item, ACanvas->ClipRect());
    SetDefaultMenuFont(ACanvas->Font());
    ACanvas->Brush()->SetStyle(bsSolid);
    ACanvas->Brush()->SetColor(clMenu);
    if (Item->Default())
        ACanvas->Font()->SetStyle(TFontStyles() << fsBold);
    if ((state & mdSelected) && FStyle != msBtnLowered && FStyle != msBtnRaised) {
        ACanvas->Brush()->SetColor(clHighlight);
        ACanvas->Font()->SetColor(clHighlightText);
    }
    TRect rect = ARect;
    rect.Left += ItemLeftMargin(Item);
    ACanvas->IntersectClipRect(rect);
    DrawItem(Item, rect, state);
    ACanvas->ResetClip();
    FCanvas = nullptr;
}

template <class TBase>
void TExMenuBase<TBase>::DrawItem(TMenuItem* Item, const TRect& Rect, TMenuOwnerDrawState State)
{
    TGraphic* graphic = nullptr;
    TColor color = FCanvas->Brush()->Color();
    int numGlyphs = 1;
    GetItemParams(Item, State, FCanvas->Font(), color, graphic, numGlyphs);
    if (color != clNone) {
        FCanvas->Brush()->SetColor(color);
        FCanvas->FillRect(Rect);
    }
    if (OnDrawItem) {
        OnDrawItem(this, Item, Rect, State);
        return;
    }
    int imageIndex = Item->ImageIndex();
    GetImageIndex(Item, State, imageIndex);
    const int look = FStyle == msBtnLowered ? blLowered : FStyle == msBtnRaised ? blRaised : blNone;
    DrawMenuItem(Item, Rect, State, graphic, numGlyphs, imageIndex, look);
}

template <class TBase>
void TExMenuBase<TBase>::DefaultDrawItem(TMenuItem* Item, const TRect& Rect, TMenuOwnerDrawState State)
{
    if (!FCanvas)
        return;
    TGraphic* graphic = nullptr;
    TColor color = FCanvas->Brush()->Color();
    int numGlyphs = 1;
    GetItemParams(Item, State, FCanvas->Font(), color, graphic, numGlyphs);
    int imageIndex = Item->ImageIndex();
    GetImageIndex(Item, State, imageIndex);
    const int look = FStyle == msBtnLowered ? blLowered : FStyle == msBtnRaised ? blRaised : blNone;
    DrawMenuItem(Item, Rect, State, graphic, numGlyphs, imageIndex, look);
}

template <class TBase>
void TExMenuBase<TBase>::DrawMenuItem(TMenuItem* Item, TRect Rect, TMenuOwnerDrawState State, TGraphic* Graphic,
                                      int NumGlyphs, int ImageIndex, int ButtonLook)
{
    TCanvas* canvas = FCanvas;
    const bool isPopup = IsItemPopup(Item);
    const bool selected = State & mdSelected;
    const bool disabled = State & (mdDisabled | mdGrayed);
    const bool drawLowered = Item->Checked() && isPopup && !FShowCheckMarks && ButtonLook == blNone;
    const TColor grayColor = selected && ButtonLook == blNone ? clGrayText : clBtnShadow;
    const bool drawHighlight = NewStyleControls && (!selected || ButtonLook != blNone);
    const int sysCheck = GetSystemMetrics(SM_CXMENUCHECK);
    const int checkWidth = CheckMarkWidth();
    int textOffset = MenuTextOffset(isPopup, FShowCheckMarks, sysCheck);
    int column = 0;

    if (selected && ButtonLook != blNone) {
        if (ButtonLook == blLowered)
            Frame3D(canvas, Rect, clBtnShadow, clBtnHighlight);
        else
            Frame3D(canvas, Rect, clBtnHighlight, clBtnShadow);
        InflateRect(Rect, -1, -1);
    }
    if (Item->IsLine()) {
        const int y = (Rect.Top + Rect.Bottom) / 2 - 1;
        Line(canvas, clBtnShadow, Rect.Left, y, Rect.Right, y);
        Line(canvas, clBtnHighlight, Rect.Left, y + 1, Rect.Right, y + 1);
        return;
    }
    const TColor markColor = disabled ? grayColor : canvas->Font()->Color();
    if (isPopup && Item->Checked() && FShowCheckMarks)
        DrawCheckMark(canvas, TRect{Rect.Left, Rect.Top, Rect.Left + textOffset, Rect.Bottom}, Item->RadioItem(),
                      markColor);
    TImageList* images = this->Images();
    if (images && isPopup)
        column = std::max(static_cast<int>(FMinTextOffset), images->Width() + 2);
    const TSize glyph = GraphicSize(Graphic, NumGlyphs);
    if (!FShowCheckMarks && (glyph.cx > 0 || column > 0))
        textOffset = checkWidth;

    // The picture's column: the lowered look of a checked item, then the picture centred in it.
    auto pictureFrame = [&](int w) {
        const TRect frame{Rect.Left + textOffset - 1, Rect.Top, Rect.Left + textOffset - 1 + w + 2, Rect.Bottom};
        if (drawLowered) {
            TRect inner{frame.Left, frame.Top + 1, frame.Right, frame.Bottom - 1};
            if (selected) {
                canvas->Brush()->SetColor(clMenu);
                canvas->FillRect(inner);
            } else {
                for (int y = inner.Top; y < inner.Bottom; ++y)
                    for (int x = inner.Left; x < inner.Right; ++x)
                        canvas->SetPixels(x, y, ((x ^ y) & 1) ? clMenu : clBtnHighlight);
            }
            Frame3D(canvas, inner, grayColor, clBtnHighlight);
        }
        return frame;
    };
    const bool validIndex = images && ImageIndex >= 0 && ImageIndex < images->Count();
    if (validIndex) {
        const int w = std::max(images->Width() + 2, column);
        const TRect frame = pictureFrame(w);
        const int x = frame.Left + 1 + (w - images->Width()) / 2;
        const int y = (Rect.Top + Rect.Bottom - images->Height()) / 2;
        if (disabled)
            ImageListDrawDisabled(images, canvas, x, y, ImageIndex, clBtnHighlight, grayColor, drawHighlight);
        else
            images->Draw(canvas, x, y, ImageIndex, true);
        textOffset += checkWidth + w;
    } else if (glyph.cx > 0) {
        column = std::max(glyph.cx + 2, column);
        const TRect frame = pictureFrame(column);
        const int x = frame.Left + 1 + (column - glyph.cx) / 2;
        const int y = (Rect.Top + Rect.Bottom - glyph.cy) / 2;
        if (auto* bitmap = dynamic_cast<TBitmap*>(Graphic)) {
            const TMenuGlyphCell cell = MenuGlyphCell(NumGlyphs, disabled, Item->Checked(), selected);
            TBitmap piece;
            AssignBitmapCell(bitmap, &piece, NumGlyphs >= 2 && NumGlyphs <= 5 ? NumGlyphs : 1, 1, cell.Cell);
            if (cell.DrawDisabled) {
                std::unique_ptr<TBitmap> gray(
                    CreateDisabledBitmapEx(&piece, clBlack, clMenu, clBtnHighlight, grayColor, drawHighlight));
                DrawBitmapTransparent(canvas, x, y, gray.get(), clMenu);
            } else if (piece.PixelFormat() == pf1bit && !drawLowered) {
                canvas->Draw(x, y, &piece);
            } else {
                DrawBitmapTransparent(canvas, x, y, &piece, clDefault);
            }
        } else {
            canvas->Draw(x, y, Graphic);
        }
        textOffset += checkWidth + column;
    } else if (column > 0) {
        const TRect frame = pictureFrame(column);
        if (drawLowered)
            DrawCheckMark(canvas, frame, Item->RadioItem(), markColor);
        textOffset += column + checkWidth;
    }

    // The caption, and the shortcut in a column after the widest caption of the menu.
    canvas->Brush()->SetStyle(bsClear);
    const int y = (Rect.Top + Rect.Bottom - canvas->TextHeight("Ay")) / 2;
    const TColor textColor = canvas->Font()->Color();
    auto text = [&](int x, const AnsiString& s) {
        if (disabled) {
            if (drawHighlight) {
                canvas->Font()->SetColor(clBtnHighlight);
                TRect r{x + 1, y + 1, Rect.Right + 1, Rect.Bottom + 1};
                DrawText(canvas, s, r, DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP);
            }
            canvas->Font()->SetColor(grayColor);
        } else {
            canvas->Font()->SetColor(textColor);
        }
        TRect r{x, y, Rect.Right, Rect.Bottom};
        DrawText(canvas, s, r, DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP);
    };
    text(Rect.Left + textOffset, Item->Caption());
    if (isPopup && Item->ShortCut() != 0 && Item->Count() == 0) {
        int captionWidth = MenuTextWidth(canvas, WithoutAmpersands(Item->Caption()) + "\t\t");
        if (TMenuItem* parent = Item->Parent())
            for (int i = 0; i < parent->Count(); ++i)
                captionWidth = std::max(captionWidth,
                                        MenuTextWidth(canvas, WithoutAmpersands(parent->Items(i)->Caption()) + "\t\t"));
        text(Rect.Left + textOffset + captionWidth, ShortCutToText(Item->ShortCut()));
    }
    canvas->Font()->SetColor(textColor);
    canvas->Brush()->SetStyle(bsSolid);
}

// --- The pop-up's band

int TExPopupMenu::ItemLeftMargin(TMenuItem* Item) const
{
    return Item && Item->Parent() == Items() && FLeftMargin > 0 ? static_cast<int>(FLeftMargin) + 1 : 0;
}

void TExPopupMenu::DrawItemMargin(TMenuItem* Item, const TRect& ClipRect)
{
    if (FLeftMargin == 0 || !Item || Item->Parent() != Items())
        return;
    DrawMargin(TRect{0, ClipRect.Top, static_cast<int>(FLeftMargin), ClipRect.Bottom});
}

void TExPopupMenu::DrawMargin(const TRect& Rect)
{
    if (OnDrawMargin) {
        OnDrawMargin(this, Rect);
        return;
    }
    const TColor start = ColorToRGB(DefMarginColor);
    DefaultDrawMargin(Rect, DefMarginColor, static_cast<TColor>(MenuMarginEndColor(static_cast<uint32_t>(start))));
}

void TExPopupMenu::DefaultDrawMargin(const TRect& Rect, TColor StartColor, TColor EndColor)
{
    TCanvas* canvas = Canvas();
    if (!canvas)
        return;
    TRect band = Rect;
    if (NewStyleControls)
        band.Right -= 3;
    GradientFillRect(canvas, band, StartColor, EndColor, fdTopToBottom, 32);
    if (NewStyleControls) {
        Line(canvas, clBtnShadow, Rect.Right - 2, Rect.Top, Rect.Right - 2, Rect.Bottom);
        Line(canvas, clBtnHighlight, Rect.Right - 1, Rect.Top, Rect.Right - 1, Rect.Bottom);
    }
}

template class TExMenuBase<TMainMenu>;
template class TExMenuBase<TPopupMenu>;
