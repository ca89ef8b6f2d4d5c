// Painting the cell grid: one cell at a time (DrawCell: font, colours by state and bands, the
// row indicator, the body with its text kind, borders, the fixed look, the extra, OnDrawCell),
// the lines of the grid's own fixed cells after the base grid's paint, the sort mark, the
// pressed look of a fixed cell held down, and the mark of a pan's starting point.

#include <algorithm>

#include "grid/control/CellGrid.h"
#include "grid/control/CgRichEdit.h"
#include "grid/control/CgutilDraw.h"
#include "grid/control/HtmlRender.h"
#include "grid/control/RichCellCache.h"
#include "grid/model/Cgutil.h"
#include "grid/model/HtmlTags.h"
#include "platform/gui/BitmapTile.h"
#include "platform/gui/DrawText.h"
#include "platform/gui/FrameControls.h"
#include "platform/gui/Messages.h"
#include "platform/gui/Resources.h"

namespace {

// The room kept free at the right of an HTML header for the sort mark.
constexpr int kSortMarkRoom = 10;
// The square a pan's starting mark may cover, from the anchor.
constexpr int kFocusPointSize = 32;

// A position along one axis of the whole grid (not scrolled), counted from item From.
template <class SizeOf>
long long Offset(int From, int To, int Line, bool Uniform, SizeOf Size)
{
    if (To <= From)
        return 0;
    if (Uniform)
        return (static_cast<long long>(Size(From)) + Line) * (To - From);
    long long sum = 0;
    for (int i = From; i < To; ++i)
        sum += Size(i) + Line;
    return sum;
}

// The longest start of Text that, followed by "...", fits Width; a Hangul pair is never split.
AnsiString Shorten(TCanvas* Canvas, const AnsiString& Text, int Width)
{
    std::vector<size_t> ends;  // byte counts that end on a whole character
    for (size_t i = 0; i < Text.size(); i += static_cast<size_t>(CharLengthAt(Text, i)))
        ends.push_back(i);
    size_t lo = 0, hi = ends.size();  // ends[lo] fits; the answer lies in [lo, hi)
    if (ends.empty() || Canvas->TextWidth("...") > Width)
        return "...";
    while (hi - lo > 1) {
        const size_t mid = (lo + hi) / 2;
        if (Canvas->TextWidth(Text.substr(0, ends[mid]) + "...") <= Width)
            lo = mid;
        else
            hi = mid;
    }
    return Text.substr(0, ends[lo]) + "...";
}

}  // namespace

bool TCellGrid::IsFixed(int ACol, int ARow)
{
    if (ARow >= RowCount() - FixedFooters() || ACol >= AllCols() - FixedRightCols())
        return true;
    bool fixed = false;
    GetCellFixed(ACol, ARow, fixed);
    return fixed;
}

bool TCellGrid::IsPassword(int ACol, int ARow)
{
    bool password = false;
    GetCellPassword(ACol, ARow, password);
    return password;
}

bool TCellGrid::SortIndicatorShown(int ACol, int ARow)
{
    if (ARow != 0 || !SortShow() || RowCount() <= 2 || FixedRows() <= 0)
        return false;
    if (RemapColInv(ACol) < FixedCols() && !SortFixedCols)
        return false;
    // A column later in the sort index list shows its mark only with SortIndexShow.
    const int place = SortIndexes()->FindIndex(ACol);
    return (ACol == SortColumn() || place >= 0) && (place < 1 || SortIndexShow());
}

void TCellGrid::DrawSortIndicator(TCanvas* Canvas, int ACol, int X, int Y)
{
    const int place = SortIndexShow() ? SortIndexes()->FindIndex(ACol) : -1;
    const bool glyphs = !SortUpGlyph()->Empty() && !SortDownGlyph()->Empty();
    if (place < 0 && glyphs) {
        TBitmap* glyph = SortDirection == sdAscending ? SortUpGlyph() : SortDownGlyph();
        DrawBitmapTransp(Canvas, glyph, Canvas->Brush()->Color(), Rect(X - 4, Y - 4, X + 4, Y + 4));
        return;
    }
    {
        TCanvasToolsKept kept(Canvas);
        Canvas->Pen()->SetWidth(1);
        if (place >= 0) {
            // The column's place in the sort order, in a yellow triangle pointing its direction.
            const bool descending =
                (static_cast<uint32_t>(SortIndexes()->GetInteger(place)) & TSortIndexList::kDescending) != 0;
            Canvas->Brush()->SetColor(clYellow);
            Canvas->Brush()->SetStyle(bsSolid);
            Canvas->Pen()->SetColor(clBlack);
            if (descending)
                Canvas->Polygon({TPoint{X - 7, Y - 5}, TPoint{X + 7, Y - 5}, TPoint{X, Y + 8}});
            else
                Canvas->Polygon({TPoint{X - 6, Y + 8}, TPoint{X + 6, Y + 8}, TPoint{X, Y - 4}});
            Canvas->Font()->SetSize(5);
            Canvas->Font()->SetColor(clBlack);
            Canvas->Brush()->SetStyle(bsClear);
            Canvas->TextOut(X - 2, Y - 4, IntToStr(place + 1));
            return;
        }
        // A raised triangle: lit in white, shaded in grey.
        Canvas->Pen()->SetColor(clWhite);
        if (SortDirection == sdAscending) {
            Canvas->MoveTo(X - 4, Y + 4);
            Canvas->LineTo(X + 4, Y + 4);
            Canvas->LineTo(X, Y - 4);
            Canvas->Pen()->SetColor(clGray);
            Canvas->LineTo(X - 4, Y + 4);
        } else {
            Canvas->MoveTo(X + 4, Y - 4);
            Canvas->LineTo(X, Y + 4);
            Canvas->Pen()->SetColor(clGray);
            Canvas->LineTo(X - 4, Y - 4);
            Canvas->LineTo(X + 4, Y - 4);
        }
    }
    Canvas->Pen()->SetColor(clBlack);
}

void TCellGrid::DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    TCanvas* c = Canvas();
    const TRect cellRect = ARect;
    const int col = RemapCol(ACol);
    c->Font()->Assign(ACol < FixedCols() || ARow < FixedRows() ? FixedFont() : Font());
    const TExtraLayout extra = LayoutExtra(col, ARow);
    if (IsFixed(col, ARow)) {
        c->Brush()->SetColor(FixedColor());
        AState = TGridDrawState{gdFixed};
    }
    c->Brush()->SetStyle(bsSolid);
    GetCellColor(col, ARow, AState, c->Brush(), c->Font());
    if (AState.Contains(gdSelected) && !AState.Contains(gdFocused) && SelectionColor() == clNone)
        c->Brush()->SetColor(clHighlight);
    ZoomFont(c->Font());
    if (ACol == 0 && ARow == Row() && FixedCols() > 0 && !RowIndicator()->Empty()) {
        TBitmap* mark = RowIndicator();
        const int top = ARect.Top + std::max(0, (ARect.Height() - mark->Height()) / 2);
        DrawBitmapTransp(c, mark, FixedColor(),
                         Rect(ARect.Left, top, ARect.Left + mark->Width(), top + mark->Height()));
        ARect.Left += mark->Width();
    }
    // Without DefaultDrawing the body is OnDrawCell's alone, fired once below.
    const bool selectionLook = DefaultDrawing() && DrawCellBody(ACol, col, ARow, ARect, AState, extra);
    DrawCellBorders(col, ARow, cellRect);
    if (AState.Contains(gdFixed))
        DrawFixedEdges(cellRect, TGridCoord{ACol, ARow} == FPressedFixed);
    if (EnableGraphics) {
        if (ACol == 0 && NodeCount() > 0 && ARow >= FixedRows()) {
            // Node rows join across the grid line between them.
            TCanvasToolsKept kept(c);
            c->Brush()->SetColor(FixedCols() > 0 ? FixedColor() : Color());
            c->Brush()->SetStyle(bsSolid);
            const int top = ARow == TopRow() ? cellRect.Top : cellRect.Top - 1;
            c->FillRect(Rect(cellRect.Left, top, cellRect.Right, cellRect.Top));
            c->FillRect(Rect(cellRect.Left, cellRect.Bottom, cellRect.Right, cellRect.Bottom + 1));
        }
        if (extra.Extra)
            DrawCellExtra(col, ARow, ARect, selectionLook, extra);
    }
    TDrawGrid::DrawCell(ACol, ARow, cellRect, AState);
}

bool TCellGrid::DrawCellBody(int ACol, int Col, int ARow, TRect R, TGridDrawState State, const TExtraLayout& Extra)
{
    TCanvas* c = Canvas();
    TFont* font = c->Font();
    TColor link = URLColor();
    const TGridOptions o = Options();
    const bool inFixed = ACol < FixedCols() || ARow < FixedRows();
    // The focused cell of a row-select grid looks like the rest of its row, as goDrawFocusSelected
    // makes any focused cell look (else its normal text would sit on the row's highlight).
    const bool selected = (State.Contains(gdSelected) ||
                           (o.Contains(goRowSelect) && !inFixed && ARow < RowCount() && GetRowSelect(ARow))) &&
        (!State.Contains(gdFocused) || o.Contains(goDrawFocusSelected) || o.Contains(goRowSelect));
    bool selectionLook = selected;
    if (selected) {
        if (SelectionColor() != clNone)
            c->Brush()->SetColor(SelectionColor());
        if (SelectionTextColor() != clNone)
            font->SetColor(SelectionTextColor());
        link = SelectionTextColor();
        if (!Focused() && !ShowSelection()) {
            // A grid without the focus shows its selection as unselected cells.
            selectionLook = false;
            c->Brush()->SetColor(Color());
            font->SetColor(Font()->Color());
            if (Bands()->Active())
                GetCellColor(Col, ARow, TGridDrawState{}, c->Brush(), font);
            link = URLColor();
        }
    }

    AnsiString text = Cells(Col, ARow);
    uint8_t kind = TextType(text, EnableHTML);
    if (kind == 3)
        text = CalcCell(Col, ARow);
    if (IsPassword(Col, ARow)) {
        // A password shows one mark per character whatever kind of text it is.
        if (kind == 2) {
            text = RichCells().Get(text).PlainText();
        } else if (kind == 1) {
            text = StripHtmlTags(text);
        }
        StringToPassword(text, PasswordChar);
        kind = 0;
    }
    if (MouseActions()->DisjunctRowSelect && !inFixed && !GetRowSelect(ARow) && GridState() != gsSelecting) {
        c->Brush()->SetColor(Color());
        font->SetColor(Font()->Color());
        GetCellColor(Col, ARow, State, c->Brush(), font);
        selectionLook = false;
    }
    if (PaintTrace) {
        PaintTrace->Brush = c->Brush()->Color();
        PaintTrace->FontColor = font->Color();
        PaintTrace->Texts.clear();
    }

    const bool fixedCell = State.Contains(gdFixed);
    TBitmap* back = BackGround()->Bitmap();
    const bool backApplies = !back->Empty() && (BackGround()->Cells() == bcFixed) == fixedCell && !selectionLook;
    if (backApplies)
        DrawCellBackground(ACol, ARow, R);
    else
        c->FillRect(R);

    if (SelectionRectangle()) {
        const TGridRect sel = Selection();
        if (ACol >= sel.Left && ACol <= sel.Right && ARow >= sel.Top && ARow <= sel.Bottom) {
            TCanvasToolsKept kept(c);
            c->Brush()->SetColor(clBlack);
            c->Brush()->SetStyle(bsSolid);
            if (ACol == sel.Left)
                c->FillRect(Rect(R.Left, R.Top, R.Left + 2, R.Bottom));
            if (ACol == sel.Right)
                c->FillRect(Rect(R.Right - 2, R.Top, R.Right, R.Bottom));
            if (ARow == sel.Top)
                c->FillRect(Rect(R.Left, R.Top, R.Right, R.Top + 2));
            if (ARow == sel.Bottom)
                c->FillRect(Rect(R.Left, R.Bottom - 2, R.Right, R.Bottom));
        }
    }

    const bool sorted = SortIndicatorShown(Col, ARow);
    if (kind == 1) {
        TRect h{R.Left + 2, R.Top + 2, R.Right - (sorted ? kSortMarkRoom : 0), R.Bottom};
        AnsiString anchor, plain;
        int width = 0, height = 0;
        PaintHtmlText(c, text, h, GridImages(), h.Left, h.Top, false, false, false, false, BlinkPhase(), 0, link,
                      anchor, plain, width, height);
        if (PaintTrace)
            PaintTrace->Texts.push_back({"html", text, h});
        if (sorted)
            DrawSortIndicator(c, Col, R.Right - 8,
                              VAlignment() == vtaCenter       ? (R.Top + R.Bottom) / 2
                                  : VAlignment() == vtaBottom ? R.Bottom - 8
                                                              : R.Top + 8);
    } else if (kind == 2) {
        const TColor brushColor = c->Brush()->Color();
        if (!(selected && State.Contains(gdFocused) && SelectionColor() == clNone) && !backApplies)
            c->FillRect(R);
        c->Brush()->SetStyle(bsClear);
        RTFPaint(Col, ARow, c, R);
        c->Brush()->SetStyle(bsClear);
        c->Brush()->SetColor(brushColor);
        if (PaintTrace)
            PaintTrace->Texts.push_back({"rtf", RichCells().Get(text).PlainText(), R});
    } else if (Extra.DrawsText) {
        DrawPlainText(Col, ARow, R, text, Extra, sorted);
    }
    return selectionLook;
}

void TCellGrid::DrawPlainText(int Col, int ARow, TRect R, AnsiString Text, const TExtraLayout& Extra, bool Sorted)
{
    TCanvas* c = Canvas();
    const TAlignment align = GetCellAlignment(Col, ARow);
    const TRect cell = R;
    R.Left += align == taCenter && Sorted ? 12 : 2;
    R.Right -= 2;
    R.Top += 2;
    if (align != taCenter) {
        if (Extra.Extra && Extra.Extra->CellHAlign == haBeforeText)
            R.Left += Extra.Width;
        if (Extra.Extra && Extra.Extra->CellHAlign == haAfterText)
            R.Right -= Extra.Width;
    }
    if (Extra.Extra && Extra.Extra->CellVAlign == vaAboveText)
        R.Top += Extra.Height;
    if (Extra.Extra && Extra.Extra->CellVAlign == vaUnderText)
        R.Bottom -= Extra.Height;
    if (URLShow() && IsURL(Text)) {
        c->Font()->SetColor(URLColor());
        c->Font()->SetStyle(c->Font()->Style() << fsUnderline);
    }
    unsigned flags = DT_NOPREFIX | DT_EXPANDTABS | VAlignFlag();
    flags |= align == taRightJustify ? DT_RIGHT : align == taCenter ? DT_CENTER : DT_LEFT;
    if (WordWrap())
        flags |= DT_WORDBREAK | DT_EDITCONTROL;
    if (LinesInText(Text, Multilinecells) == 1) {
        Text = GetNextLine(Text, false);
        if (URLShow() && !URLFull())
            StripURLProtocol(Text);
        if (EnhTextSize && c->TextWidth(Text) > R.Width())
            Text = Shorten(c, Text, R.Width());
        if (!WordWrap())
            flags |= DT_SINGLELINE;
    }
    {
        TCanvasToolsKept kept(c);
        c->Brush()->SetStyle(bsClear);
        DrawText(c, Text, R, flags);
    }
    if (PaintTrace)
        PaintTrace->Texts.push_back({"text", Text, R});
    if (Sorted) {
        AnsiString first = Text;
        const int width = c->TextWidth(GetNextLine(first, false));
        const int x = align == taRightJustify ? R.Right - width - 14
            : align == taCenter               ? R.Left + 8
                                              : width + R.Left + 10;
        const int y = VAlignment() == vtaCenter ? (cell.Top + cell.Bottom) / 2
            : VAlignment() == vtaBottom         ? cell.Bottom - 8
                                                : cell.Top + 8;
        DrawSortIndicator(c, Col, x, y);
    }
}

void TCellGrid::DrawCellBackground(int ACol, int ARow, const TRect& R)
{
    TCanvas* c = Canvas();
    TBitmap* back = BackGround()->Bitmap();
    if (BackGround()->Display() == bdFixed) {
        c->FillRect(R);
        const TRect placed = Bounds(BackGround()->Left(), BackGround()->Top(), back->Width(), back->Height());
        TRect part{};
        if (IntersectRect(part, placed, R))
            TileBitmap(c, part, back, TPoint{placed.Left, placed.Top});
        return;
    }
    // Tiled over the whole grid: the cell's place in it picks the part of the tile.
    const TGridOptions o = Options();
    const int colLine = o.Contains(goVertLine) || o.Contains(goFixedVertLine) ? GridLineWidth() : 0;
    const int rowLine = o.Contains(goHorzLine) || o.Contains(goFixedHorzLine) ? GridLineWidth() : 0;
    const int fromCol = BackGround()->Cells() == bcFixed ? 0 : FixedCols();
    const int fromRow = BackGround()->Cells() == bcFixed ? 0 : FixedRows();
    const long long x = Offset(fromCol, ACol, colLine, ColAxis().AllDefault(), [this](int i) { return ColWidths(i); });
    const long long y = Offset(fromRow, ARow, rowLine, RowAxis().AllDefault(), [this](int i) { return RowHeights(i); });
    const TPoint origin{R.Left - static_cast<int>(x % back->Width()), R.Top - static_cast<int>(y % back->Height())};
    TileBitmap(c, R, back, origin);
}

void TCellGrid::DrawCellBorders(int Col, int ARow, const TRect& R)
{
    TCanvas* c = Canvas();
    TCanvasToolsKept kept(c);
    TCellBorders borders;
    GetCellBorder(Col, ARow, c->Pen(), borders);
    if (!borders.Empty()) {
        const int half = c->Pen()->Width() / 2;
        const TRect b{R.Left + half, R.Top + half, R.Right - half, R.Bottom - half};
        if (borders.Contains(cbLeft)) {
            c->MoveTo(b.Left, b.Top);
            c->LineTo(b.Left, b.Bottom);
        }
        if (borders.Contains(cbRight)) {
            c->MoveTo(b.Right - 1, b.Top);
            c->LineTo(b.Right - 1, b.Bottom);
        }
        if (borders.Contains(cbTop)) {
            c->MoveTo(b.Left, b.Top);
            c->LineTo(b.Right, b.Top);
        }
        if (borders.Contains(cbBottom)) {
            c->MoveTo(b.Left, b.Bottom - 1);
            c->LineTo(b.Right, b.Bottom - 1);
        }
    }
}

void TCellGrid::DrawFixedEdges(const TRect& R, bool Pressed)
{
    TCanvas* c = Canvas();
    const TGridOptions o = Options();
    const unsigned far = (o.Contains(goFixedVertLine) ? BF_RIGHT : 0u) | (o.Contains(goFixedHorzLine) ? BF_BOTTOM : 0u);
    const unsigned near = (o.Contains(goFixedVertLine) ? BF_LEFT : 0u) | (o.Contains(goFixedHorzLine) ? BF_TOP : 0u);
    if (!Flat()) {
        // A cell held down as a button sinks; PressFixedCell allows it only with both lines.
        const unsigned edge = Pressed ? BDR_SUNKENINNER : BDR_RAISEDINNER;
        TRect r = R;
        if (far)
            DrawEdge(c, r, edge, far);
        r = R;
        if (near)
            DrawEdge(c, r, edge, near);
        return;
    }
    TCanvasToolsKept kept(c);
    c->Brush()->SetColor(clBlack);
    c->Brush()->SetStyle(bsSolid);
    if (far & BF_RIGHT)
        c->FillRect(Rect(R.Right - 1, R.Top, R.Right, R.Bottom));
    if (far & BF_BOTTOM)
        c->FillRect(Rect(R.Left, R.Bottom - 1, R.Right, R.Bottom));
    if (near & BF_LEFT)
        c->FillRect(Rect(R.Left, R.Top, R.Left + 1, R.Bottom));
    if (near & BF_TOP)
        c->FillRect(Rect(R.Left, R.Top, R.Right, R.Top + 1));
}

void TCellGrid::Paint()
{
    FInPaint = true;
    try {
        TStringGrid::Paint();
        PaintOwnFixedLines();
        PaintIntelliFocusPoint();
    } catch (...) {
        FInPaint = false;
        throw;
    }
    FInPaint = false;
}

void TCellGrid::PaintOwnFixedLines()
{
    // The grid's own fixed cells get the fixed cells' black lines after the base's silver ones.
    const bool ownFixed =
        FixedFooters() > 0 || FixedRightCols() > 0 || OnIsFixedCell || FixedRowAlways || FixedColAlways;
    const int line = GridLineWidth();
    if (!ownFixed || line <= 0)
        return;
    TCanvas* c = Canvas();
    c->Brush()->SetColor(kFixedLineColor);
    c->Brush()->SetStyle(bsSolid);
    const TGridOptions o = Options();
    const auto lines = [&](int col, int row) {
        const TRect r = CellRect(col, row);
        if (r.IsEmpty() || !IsFixed(RemapCol(col), row))
            return;
        if (o.Contains(goFixedHorzLine))
            c->FillRect(Rect(r.Left, r.Bottom, r.Right + line, r.Bottom + line));
        if (o.Contains(goFixedVertLine))
            c->FillRect(Rect(r.Right, r.Top, r.Right + line, r.Bottom + line));
    };
    std::vector<int> rows, cols;
    for (int r = 0; r < FixedRows(); ++r)
        rows.push_back(r);
    for (int r = TopRow(); r <= TopRow() + VisibleRowCount() && r < RowCount(); ++r)
        rows.push_back(r);
    for (int k = 0; k < FixedCols(); ++k)
        cols.push_back(k);
    for (int k = LeftCol(); k <= LeftCol() + VisibleColCount() && k < ColCount(); ++k)
        cols.push_back(k);
    for (int row : rows)
        for (int col : cols)
            lines(col, row);
}

void TCellGrid::RegisterPaintHandlers()
{
    RegisterHandler(WM_LBUTTONDOWN, [this](TMessage& m) {
        std::shared_ptr<bool> alive = AliveToken();
        PressFixedCell(LParamX(m.LParam), LParamY(m.LParam));
        if (*alive)
            Inherited(m);
    });
    RegisterHandler(WM_LBUTTONUP, [this](TMessage& m) {
        ReleaseFixedCell();
        Inherited(m);
    });
}

void TCellGrid::PressFixedCell(int X, int Y)
{
    const TGridOptions o = Options();
    if (!FixedAsButtons || Flat() || !o.Contains(goFixedVertLine) || !o.Contains(goFixedHorzLine))
        return;
    const TGridCoord cell = MouseToCell(X, Y);
    if (cell.X < 0 || cell.Y < 0)
        return;
    if (cell.X >= FixedCols() && cell.Y >= FixedRows() && !IsFixed(RemapCol(cell.X), cell.Y))
        return;
    ReleaseFixedCell();
    FPressedFixed = cell;
    PaintCellNow(cell.X, cell.Y);
}

void TCellGrid::ReleaseFixedCell()
{
    if (FPressedFixed.X < 0)
        return;
    const TGridCoord cell = FPressedFixed;
    FPressedFixed = {-1, -1};
    PaintCellNow(cell.X, cell.Y);
}

void TCellGrid::DrawIntelliFocusPoint()
{
    FFocusPointShown = true;
    InvalidateRect(Bounds(FPanAnchor.x, FPanAnchor.y, kFocusPointSize, kFocusPointSize));
}

void TCellGrid::EraseIntelliFocusPoint()
{
    FFocusPointShown = false;
    InvalidateRect(Bounds(FPanAnchor.x, FPanAnchor.y, kFocusPointSize, kFocusPointSize));
}

void TCellGrid::PaintIntelliFocusPoint()
{
    if (!FFocusPointShown || IntelliPan == ipNone)
        return;
    const char* name = IntelliPan == ipBoth ? "INTLI1" : IntelliPan == ipHorizontal ? "INTLI2" : "INTLI3";
    if (!FindResource(rtBitmap, name))
        return;
    TBitmap mark;
    LoadBitmapResource(&mark, name);
    // The picture's see-through pixels leave the cells below visible.
    Canvas()->Draw(FPanAnchor.x, FPanAnchor.y, &mark);
}
