// Sizing the cell grid: the room a cell's text needs, automatic column widths and row heights,
// stretching the last column over the client, proportional sizing of every column (row) while
// the user drags one border, and the size zones at the borders of the fixed cells.

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "grid/control/CellGrid.h"
#include "grid/control/CgRichEdit.h"
#include "grid/control/HtmlRender.h"
#include "grid/model/Cgutil.h"
#include "platform/core/GridCursor.h"
#include "platform/gui/DrawText.h"
#include "platform/gui/Messages.h"

namespace {

// The box HTML text is measured in when nothing bounds it.
constexpr int kUnbounded = 65535;
// A border is in the size zone closer than this.
constexpr int kSizeZone = 4;

}  // namespace

void TCellGrid::GetCellTextSize(int ACol, int ARow, TPoint& Size)
{
    TCanvas* c = Canvas();
    AnsiString text = Cells(ACol, ARow);
    const uint8_t kind = TextType(text, EnableHTML);
    if (kind == 1) {
        AnsiString anchor, plain;
        int width = 0, height = 0;
        PaintHtmlText(c, text, TRect{0, 0, kUnbounded, kUnbounded}, GridImages(), 0, 0, false, true, false, false,
                      false, 0, URLColor(), anchor, plain, width, height);
        Size = {width, height};
        return;
    }
    if (kind == 2) {
        RichEdit()->LoadFromBytes(text);
        text = RichEdit()->PlainText();
    }
    int widest = 0, lines = 0;
    do {
        AnsiString line = GetNextLine(text, Multilinecells);
        if (URLShow() && !URLFull())
            StripURLProtocol(line);
        widest = std::max(widest, c->TextWidth(line));
        ++lines;
    } while (!text.empty());
    Size = {widest, c->TextHeight("gh") * lines};
}

TAlignment TCellGrid::GetCellAlignment(int ACol, int ARow)
{
    TAlignment align = taLeftJustify;
    if (AutoNumAlign && IsType(Cells(ACol, ARow)) < 2)
        align = taRightJustify;
    GetCellAlign(ACol, ARow, align);
    return align;
}

void TCellGrid::ZoomFont(TFont* Font) const
{
    if (ZoomLevel() != 0)
        Font->SetSize(std::max(1, Font->Size() + ZoomLevel()));
}

void TCellGrid::SetMeasureFont(int ACol, int ARow, bool Zoomed)
{
    TCanvas* c = Canvas();
    c->Font()->Assign(ACol < FixedCols() || ARow < FixedRows() ? FixedFont() : Font());
    if (Zoomed)
        ZoomFont(c->Font());
    TBrush brush;
    brush.Assign(c->Brush());
    GetCellColor(RemapCol(ACol), ARow, TGridDrawState{}, &brush, c->Font());
}

void TCellGrid::SizeToWidth(int ACol, bool OnlyGrow)
{
    if (ACol < 0 || ACol >= ColCount())
        return;
    const int real = RemapCol(ACol);
    int wanted = 0;
    for (int r = 0; r < RowCount(); ++r) {
        SetMeasureFont(ACol, r, true);
        TPoint text{}, extra{};
        GetCellTextSize(real, r, text);
        GetCellGraphicSize(real, r, extra);
        wanted = std::max(wanted, text.x + extra.x);
    }
    wanted += 4;
    if (!OnlyGrow || wanted > ColWidths(ACol))
        SetColWidths(ACol, wanted);
}

void TCellGrid::AutoSizeColumns(bool DoFixedCols, int Padding)
{
    const auto size = [&](int c) {
        AutoSizeCol(c);
        if (Padding != 0)
            SetColWidths(c, ColWidths(c) + Padding);
    };
    if (DoFixedCols)
        for (int c = 0; c < FixedCols() && c < ColCount(); ++c)
            size(c);
    for (int c = FixedCols(); c < ColCount(); ++c)
        size(c);
}

void TCellGrid::AutoSizeCells(bool NormalOnly, int ExtraX, int ExtraY)
{
    const int firstCol = NormalOnly ? FixedCols() : 0, firstRow = NormalOnly ? FixedRows() : 0;
    BeginUpdate();
    for (int c = firstCol; c < ColCount(); ++c)
        SetColWidths(c, 0);
    for (int r = firstRow; r < RowCount(); ++r)
        SetRowHeights(r, 0);
    for (int r = firstRow; r < RowCount(); ++r)
        for (int c = firstCol; c < ColCount(); ++c) {
            SetMeasureFont(c, r, false);
            TPoint text{}, extra{};
            GetCellTextSize(RemapCol(c), r, text);
            GetCellGraphicSize(RemapCol(c), r, extra);
            if (text.x + extra.x + ExtraX > ColWidths(c))
                SetColWidths(c, text.x + extra.x + ExtraX);
            if (text.y + extra.y + ExtraY > RowHeights(r))
                SetRowHeights(r, text.y + extra.y + ExtraY);
        }
    EndUpdate();
}

void TCellGrid::AutoSizeRows(bool DoFixedRows, int Extra)
{
    if (RowCount() == 0)
        return;
    for (int r = DoFixedRows ? 0 : FixedRows(); r < RowCount(); ++r) {
        if (WordWrap() || EnableGraphics)
            AutoSizeRow(r);
        else
            SizeToLines(r, MaxLinesInRow(r), Extra);
    }
}

void TCellGrid::SizeToLines(int ARow, int Lines, int Extra)
{
    if (ARow < 0 || ARow >= RowCount())
        return;
    Canvas()->Font()->Assign(Font());
    const int h = Canvas()->TextHeight("gh");
    SetRowHeights(ARow, (h + h / 4) * Lines + Extra);
}

void TCellGrid::AutoSizeRow(int ARow)
{
    if (ARow < 0 || ARow >= RowCount())
        return;
    TCanvas* c = Canvas();
    int height = DefaultRowHeight();
    for (int col = 0; col < ColCount(); ++col) {
        const int real = RemapCol(col);
        SetMeasureFont(col, ARow, false);
        AnsiString text = Cells(real, ARow);
        const uint8_t kind = TextType(text, EnableHTML);
        int textHeight = 0;
        if (kind == 1) {
            AnsiString anchor, plain;
            int width = 0;
            PaintHtmlText(c, text, TRect{0, 0, ColWidths(col), kUnbounded}, GridImages(), 0, 0, false, true, false,
                          false, false, 0, URLColor(), anchor, plain, width, textHeight);
        } else {
            if (kind == 2) {
                RichEdit()->LoadFromBytes(text);
                text = RichEdit()->PlainText();
            }
            TRect box{0, 0, std::max(0, ColWidths(col) - 4), DefaultRowHeight()};
            DrawText(c, text, box, DT_WORDBREAK | DT_EXPANDTABS | DT_NOCLIP | DT_CALCRECT | DT_NOPREFIX | VAlignFlag());
            textHeight = box.Height();
        }
        TPoint extra{};
        GetCellGraphicSize(real, ARow, extra);
        const int cell = textHeight + extra.y;
        if (cell + 2 > height)
            height = cell + 4;
    }
    SetRowHeights(ARow, height);
}

void TCellGrid::StretchRightColumn()
{
    if (ColCount() == 0 || !ColumnSize()->Stretch())
        return;
    FStretchGuard = false;
    const int last = ColCount() - 1;
    const int clientRight = ClientRect().Right;
    if (last > 0) {
        long long sum = 0;
        for (int c = 0; c < last; ++c)
            sum += ColWidths(c) + GridLineWidth();
        if (clientRight > sum)
            SetColWidths(last, static_cast<int>(clientRight - sum - 1));
    } else {
        SetColWidths(0, clientRight);
    }
    FStretchGuard = true;
}

void TCellGrid::SizesChanged(bool Cols)
{
    bool& dragging = Cols ? FUserColSizing : FUserRowSizing;
    int& index = Cols ? FSizingCol : FSizingRow;
    const int before = Cols ? FSizingColWidth : FSizingRowHeight;
    const bool all = Cols ? MouseActions()->AllColumnSize : MouseActions()->AllRowSize;
    if (dragging && all && before >= 1 && index >= 0 && index < (Cols ? ColCount() : RowCount())) {
        dragging = false;
        const double factor = static_cast<double>(Cols ? ColWidths(index) : RowHeights(index)) / before;
        const int count = Cols ? ColCount() : RowCount();
        for (int i = Cols ? FixedCols() : FixedRows(); i < count; ++i) {
            if (i == index)
                continue;
            const int size = static_cast<int>(std::lround((Cols ? ColWidths(i) : RowHeights(i)) * factor));
            if (Cols)
                SetColWidths(i, size);
            else
                SetRowHeights(i, size);
        }
        dragging = true;
    }
    if (dragging) {
        const int dragged = index;
        index = -1;
        dragging = false;
        if (Cols && OnEndColumnSize)
            OnEndColumnSize(this, dragged);
        if (!Cols && OnEndRowSize)
            OnEndRowSize(this, dragged);
    }
    if (EditorMode() && HasCheckBox(GetRealCol(), Row()))
        HideInplaceEdit();
}

void TCellGrid::ColWidthsChanged()
{
    if (FStretchGuard)
        StretchRightColumn();
    TStringGrid::ColWidthsChanged();
    SizesChanged(true);
}

void TCellGrid::RowHeightsChanged()
{
    TStringGrid::RowHeightsChanged();
    SizesChanged(false);
}

void TCellGrid::RegisterSizingHandlers()
{
    // A press on a size grip keeps the border and its size before the drag; a move while the
    // base sizes marks the drag, so the size the release sets ends it (OnEndColumnSize). A press
    // and release without a move is no drag.
    RegisterHandler(WM_LBUTTONDOWN, [this](TMessage& m) {
        std::shared_ptr<bool> alive = AliveToken();
        const TGridSizing hit = CalcSizingHit(*this, LParamX(m.LParam), LParamY(m.LParam));
        Inherited(m);
        if (!*alive || hit.State != GridState())
            return;
        if (hit.State == gsColSizing && hit.Index >= 0 && hit.Index < ColCount()) {
            FSizingCol = hit.Index;
            FSizingColWidth = ColWidths(hit.Index);
        } else if (hit.State == gsRowSizing && hit.Index >= 0 && hit.Index < RowCount()) {
            FSizingRow = hit.Index;
            FSizingRowHeight = RowHeights(hit.Index);
        }
    });
    RegisterHandler(WM_MOUSEMOVE, [this](TMessage& m) {
        if (GridState() == gsColSizing && FSizingCol >= 0)
            FUserColSizing = true;
        if (GridState() == gsRowSizing && FSizingRow >= 0)
            FUserRowSizing = true;
        Inherited(m);
    });
    RegisterHandler(WM_LBUTTONUP, [this](TMessage& m) {
        std::shared_ptr<bool> alive = AliveToken();
        Inherited(m);
        if (!*alive)
            return;
        FUserColSizing = FUserRowSizing = false;
        FSizingCol = FSizingRow = -1;
    });
}

bool TCellGrid::InSizeZone(int X, int Y)
{
    const TGridCoord cell = MouseToCell(X, Y);
    if (cell.X < 0 || cell.Y < 0)
        return false;
    const TRect r = CellRect(cell.X, cell.Y);
    bool zone = false;
    if (cell.Y <= FixedRows() && Options().Contains(goColSizing))
        zone = std::abs(X - r.Left) < kSizeZone || std::abs(X - r.Right) < kSizeZone;
    if (cell.X <= FixedCols() && Options().Contains(goRowSizing))
        zone = std::abs(Y - r.Top) < kSizeZone || std::abs(Y - r.Bottom) < kSizeZone;
    return zone;
}
