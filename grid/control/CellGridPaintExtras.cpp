// Painting a cell's extra (EnableGraphics): where it sits by its alignments and the cell's text,
// and how each kind draws: bitmaps, icons, image-list images, check boxes, rotated text, nodes,
// radio groups, pictures, progress bars, comments and buttons.

#include <algorithm>

#include "grid/control/CellGrid.h"
#include "grid/control/CellImage.h"
#include "grid/control/CgutilDraw.h"
#include "grid/model/Cgutil.h"
#include "platform/gui/DrawText.h"
#include "platform/gui/FrameControls.h"

namespace {

constexpr int kCheckSide = 15;
constexpr int kNodeBox = 8;

// The cell's number for progress bars and data images: a text that is no integer counts 0.
int CellNumber(const AnsiString& Text)
{
    int value = 0;
    return TryStrToInt(Trim(Text), value) ? value : 0;
}

TIcon* IconOf(const TCellGraphic& Extra)
{
    if (TIcon* icon = CellImageOf<TIcon>(Extra.CellIcon))
        return icon;
    return CellImageOf<TIcon>(Extra.CellBitmap);
}


}  // namespace

TCellGrid::TExtraLayout TCellGrid::LayoutExtra(int Col, int ARow)
{
    TExtraLayout layout;
    if (!EnableGraphics)
        return layout;
    TCellGraphic* extra = GetCellGraphic(Col, ARow);
    if (!extra)
        return layout;
    layout.Extra = extra;
    const TSize images = GridImageSize();
    switch (extra->CellType) {
    case ctBitmap:
    case ctIcon:
        if (const ICellImage* image = extra->Image()) {
            layout.Width = image->ImageWidth();
            layout.Height = image->ImageHeight();
        }
        break;
    case ctImageList:
    case ctDataImage:
        layout.Width = images.cx;
        layout.Height = images.cy;
        layout.DrawsText = extra->CellType == ctImageList;
        break;
    case ctCheckBox:
    case ctDataCheckBox:
        layout.Width = 16;
        layout.DrawsText = extra->CellType == ctCheckBox;
        break;
    case ctRotated:
    case ctRadio:
    case ctProgress: layout.DrawsText = false; break;
    case ctImages: {
        const auto* list = dynamic_cast<const TIntList*>(extra->CellBitmap.get());
        const int count = list ? list->Count() : 0;
        layout.Width = extra->CellBoolean ? images.cx * count : images.cx;
        layout.Height = extra->CellBoolean ? images.cy : images.cy * count;
        break;
    }
    case ctPicture:
    case ctFilePicture: {
        TPoint size{};
        const int display = RemapColInv(Col);
        extra->GetPictureSize(ColWidths(display), RowHeights(ARow), size, !Cells(Col, ARow).empty());
        layout.Width = size.x;
        layout.Height = size.y;
        break;
    }
    case ctButton:
        layout.Width = static_cast<int>(static_cast<uint32_t>(extra->CellIndex) & 0xFFFF);
        layout.Height = static_cast<int>(static_cast<uint32_t>(extra->CellIndex) >> 16);
        break;
    default: break;
    }
    return layout;
}

void TCellGrid::DrawCellExtra(int Col, int ARow, const TRect& R, bool Selected, const TExtraLayout& Layout)
{
    TCanvas* c = Canvas();
    TCanvasToolsKept kept(c);
    TCellGraphic& extra = *Layout.Extra;
    const AnsiString& text = Cells(Col, ARow);
    AnsiString firstLine = text;
    firstLine = GetNextLine(firstLine, false);
    const int textWidth = firstLine.empty() ? 0 : c->TextWidth(firstLine);
    const int textHeight = text.empty() ? 0 : c->TextHeight("gh") * LinesInText(text, Multilinecells);
    const TAlignment align = GetCellAlignment(Col, ARow);

    int w = Layout.Width, h = Layout.Height;
    if (extra.CellType == ctCheckBox || extra.CellType == ctDataCheckBox)
        w = h = kCheckSide;
    else if (extra.CellType == ctRadio)
        w = h = 0;
    if (textWidth > 0)
        w += 2;

    int x = R.Left + 1;
    switch (extra.CellHAlign) {
    case haRight: x = R.Right - 1 - w; break;
    case haCenter: x = w < R.Width() ? R.Left + (R.Width() - w) / 2 : R.Left + 1; break;
    case haBeforeText: x = align == taLeftJustify ? R.Left + 1 : std::max(R.Left + 1, R.Right - textWidth - w); break;
    case haAfterText: x = align == taRightJustify ? R.Right - 1 - w : R.Left + textWidth; break;
    default: break;
    }
    int y = R.Top + 1;
    switch (extra.CellVAlign) {
    case vaBottom: y = R.Bottom - 1 - h; break;
    case vaCenter: y = h < R.Height() ? R.Top + (R.Height() - h) / 2 : R.Top + 1; break;
    case vaUnderText: y = R.Top + 1 + textHeight; break;
    default: break;
    }

    switch (extra.CellType) {
    case ctBitmap:
        if (TBitmap* bitmap = CellImageOf<TBitmap>(extra.CellBitmap)) {
            if (extra.CellTransparent)
                DrawBitmapTransp(c, bitmap,
                                 Selected && SelectionColor() != clNone ? SelectionColor() : c->Brush()->Color(),
                                 Bounds(x, y, bitmap->Width(), bitmap->Height()));
            else
                c->Draw(x, y, bitmap);
        }
        break;
    case ctIcon:
        if (TIcon* icon = IconOf(extra))
            c->Draw(x, y, icon);
        break;
    case ctImageList:
        if (GridImages() && extra.CellIndex >= 0 && extra.CellIndex < GridImages()->Count())
            GridImages()->Draw(c, x, y, extra.CellIndex);
        break;
    case ctDataImage:
        if (GridImages()) {
            const long long index = 0LL + CellNumber(text) + extra.CellIndex;
            if (index >= 0 && index < GridImages()->Count())
                GridImages()->Draw(c, x, y, static_cast<int>(index));
        }
        break;
    case ctCheckBox:
    case ctDataCheckBox: {
        int bx = R.Left + 1;
        if (align == taRightJustify)
            bx = R.Right - kCheckSide - (extra.CellType == ctCheckBox ? textWidth : 0) - 2;
        else if (align == taCenter)
            bx = R.Left + (R.Width() - kCheckSide) / 2;
        const bool checked = extra.CellType == ctCheckBox ? extra.CellBoolean : text == CheckTrue;
        TRect box = Bounds(bx, y, kCheckSide, kCheckSide);
        DrawFrameControl(c, box, DFC_BUTTON, DFCS_BUTTONCHECK | (checked ? DFCS_CHECKED : 0u));
        break;
    }
    case ctRotated: {
        TRect place = R;
        CalcTextPos(place, extra.CellAngle, text, align);
        c->Font()->SetOrientation(extra.CellAngle * 10);
        c->Brush()->SetStyle(bsClear);
        c->TextOut(place.Left, place.Top, text);
        break;
    }
    case ctNode: DrawNode(extra, R); break;
    case ctRadio: DrawRadioGroup(extra, Col, ARow, R); break;
    case ctImages:
        if (const auto* list = dynamic_cast<const TIntList*>(extra.CellBitmap.get()); list && GridImages()) {
            int ix = x, iy = y;
            for (int i = 0; i < list->Count(); ++i) {
                const int index = list->GetInteger(i);
                if (index >= 0 && index < GridImages()->Count())
                    GridImages()->Draw(c, ix, iy, index);
                (extra.CellBoolean ? ix : iy) += extra.CellBoolean ? GridImages()->Width() : GridImages()->Height();
            }
        }
        break;
    case ctPicture:
        if (TPicture* picture = CellImageOf<TPicture>(extra.CellBitmap); picture && picture->Graphic())
            c->StretchDraw(Bounds(x, y, Layout.Width, Layout.Height), picture->Graphic());
        break;
    case ctFilePicture:
        if (const auto* picture = dynamic_cast<const TFilePicture*>(extra.CellBitmap.get()))
            picture->DrawPicture(c, Bounds(x, y, Layout.Width, Layout.Height));
        break;
    case ctProgress: DrawProgress(extra, Col, ARow, R); break;
    case ctComment: {
        c->Pen()->SetColor(clRed);
        c->Brush()->SetColor(clRed);
        c->Brush()->SetStyle(bsSolid);
        c->Polygon({TPoint{R.Right - 6, R.Top}, TPoint{R.Right - 1, R.Top}, TPoint{R.Right - 1, R.Top + 5}});
        break;
    }
    case ctButton: DrawCellButton(extra, TPoint{x, y}); break;
    default: break;
    }
}

std::vector<TRadioChoicePlace> TCellGrid::RadioPlaces(const TCellGraphic& Extra, const TRect& R)
{
    TCanvas* c = Canvas();
    const auto* choices = dynamic_cast<const TStrings*>(Extra.CellBitmap.get());
    std::vector<int> widths(static_cast<size_t>(choices ? choices->Count() : std::max<int>(Extra.CellAngle, 0)));
    if (choices)
        for (int i = 0; i < choices->Count(); ++i)
            widths[static_cast<size_t>(i)] = c->TextWidth(choices->Strings(i));
    return LayoutRadioGroup(R, Extra.CellBoolean, widths, c->TextHeight("gh"));
}

void TCellGrid::DrawRadioGroup(const TCellGraphic& Extra, int Col, int ARow, const TRect& R)
{
    TCanvas* c = Canvas();
    const auto* choices = dynamic_cast<const TStrings*>(Extra.CellBitmap.get());
    const AnsiString& text = Cells(Col, ARow);
    c->Brush()->SetStyle(bsClear);
    const std::vector<TRadioChoicePlace> places = RadioPlaces(Extra, R);
    for (size_t i = 0; i < places.size(); ++i) {
        const AnsiString caption = choices ? choices->Strings(static_cast<int>(i)) : AnsiString();
        const bool checked =
            Extra.CellIndex == -1 ? choices && caption == text : Extra.CellIndex == static_cast<int>(i);
        TRect box = places[i].Radio;
        DrawFrameControl(c, box, DFC_BUTTON, DFCS_BUTTONRADIO | (checked ? DFCS_CHECKED : 0u));
        c->TextOut(places[i].Caption.x, places[i].Caption.y, caption);
    }
}

void TCellGrid::DrawProgress(const TCellGraphic& Extra, int Col, int ARow, const TRect& R)
{
    TCanvas* c = Canvas();
    const int value = CellNumber(Cells(Col, ARow));
    const TRect bar{R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2};
    if (bar.IsEmpty())
        return;
    const int filled =
        bar.Left + static_cast<int>(static_cast<long long>(std::clamp(value, 0, 100)) * bar.Width() / 100);
    const TColor fore = Extra.ProgressColor, back = Extra.ProgressBackColor;
    const AnsiString label = IntToStr(value) + "%";
    const int tx = bar.Left + (bar.Width() - c->TextWidth(label)) / 2;
    const int ty = bar.Top + (bar.Height() - c->TextHeight(label)) / 2;
    const auto part = [&](const TRect& area, TColor fill, TColor ink) {
        if (area.IsEmpty())
            return;
        c->Brush()->SetColor(fill);
        c->Brush()->SetStyle(bsSolid);
        c->FillRect(area);
        c->Font()->SetColor(ink);
        c->TextRect(area, tx, ty, label);
    };
    part(TRect{bar.Left, bar.Top, filled, bar.Bottom}, fore, back);
    part(TRect{filled, bar.Top, bar.Right, bar.Bottom}, back, fore);
    c->Brush()->SetColor(fore);
    c->FrameRect(TRect{bar.Left - 1, bar.Top - 1, bar.Right + 1, bar.Bottom + 1});
    c->FrameRect(TRect{bar.Left - 2, bar.Top - 2, bar.Right + 2, bar.Bottom + 2});
}

void TCellGrid::DrawNode(const TCellGraphic& Extra, const TRect& R)
{
    TCanvas* c = Canvas();
    const bool contracted = Extra.CellBoolean;
    const TNodeType type = CellNode()->NodeType();
    if (type == cn3D) {
        c->Brush()->SetColor(CellNode()->Color);
        c->Brush()->SetStyle(bsSolid);
        c->FillRect(R);
        c->Pen()->SetColor(clWhite);
        c->MoveTo(R.Left, R.Bottom - 1);
        c->LineTo(R.Left, R.Top);
        c->LineTo(R.Right - 1, R.Top);
        c->Pen()->SetColor(clGray);
        c->LineTo(R.Right - 1, R.Bottom - 1);
        c->LineTo(R.Left, R.Bottom - 1);
    }
    TBitmap* glyph = contracted ? CellNode()->ExpandGlyph() : CellNode()->ContractGlyph();
    if (type == cnGlyph && !CellNode()->ExpandGlyph()->Empty() && !CellNode()->ContractGlyph()->Empty()) {
        const int top = R.Top + (R.Height() - glyph->Height()) / 2;
        DrawBitmapTransp(c, glyph, c->Brush()->Color(), Bounds(R.Left + 2, top, glyph->Width(), glyph->Height()));
        return;
    }
    TRect box = Bounds(R.Left + 2, R.Top + (R.Height() - kNodeBox) / 2, kNodeBox + 1, kNodeBox + 1);
    if (type == cnFlat) {
        c->Pen()->SetColor(CellNode()->NodeColor);
        c->Brush()->SetStyle(bsClear);
        c->Rectangle(box);
    } else {
        DrawEdge(c, box, contracted ? EDGE_RAISED : EDGE_SUNKEN, BF_RECT);
    }
    // The minus, and with it a plus while the node is contracted.
    const int mx = box.Left + kNodeBox / 2, my = box.Top + kNodeBox / 2;
    c->Pen()->SetColor(CellNode()->NodeColor);
    c->MoveTo(box.Left + 2, my);
    c->LineTo(box.Right - 2, my);
    if (contracted) {
        c->MoveTo(mx, box.Top + 2);
        c->LineTo(mx, box.Bottom - 2);
    }
}

void TCellGrid::DrawCellButton(TCellGraphic& Extra, TPoint At)
{
    TCanvas* c = Canvas();
    const int w = static_cast<int>(static_cast<uint32_t>(Extra.CellIndex) & 0xFFFF);
    const int h = static_cast<int>(static_cast<uint32_t>(Extra.CellIndex) >> 16);
    TRect button = Bounds(At.x, At.y, w, h);
    const bool pushed = Extra.CellBoolean;
    DrawFrameControl(c, button, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0u));
    const TStringList* lines = Extra.Lines();
    if (lines && lines->Count() > 0) {
        const int inset = pushed ? 3 : 2;
        TRect caption{button.Left + inset, button.Top + inset, button.Right - 2, button.Bottom - 2};
        c->Brush()->SetStyle(bsClear);
        c->Font()->SetColor(clBtnText);
        DrawText(c, lines->Strings(0), caption, 0);
    }
    // Where the mouse handling finds the button: left in the low, top in the high 16 bits.
    const uint32_t packed = (static_cast<uint32_t>(At.y) & 0xFFFF) << 16 | (static_cast<uint32_t>(At.x) & 0xFFFF);
    Extra.CellFloat = static_cast<double>(static_cast<int32_t>(packed));
}
