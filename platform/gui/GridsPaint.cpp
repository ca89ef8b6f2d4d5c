// The base grid's paint loop: the background, then every cell in view (the fixed rows and
// columns, then the scrollable ones from TopRow and LeftCol to the last one the client shows,
// partly or whole) with its state, DrawCell and its grid lines, and the focus rectangle.

#include <algorithm>
#include <vector>

#include "platform/gui/Canvas.h"
#include "platform/gui/Grids.h"

namespace {

// An item in view: its index and where it starts in the client.
struct TShownItem {
    int Index;
    int Start;
};

// The fixed items, then the scrollable ones from First while they start inside the client.
template <class SizeOf>
std::vector<TShownItem> ShownItems(int fixed, int first, int count, int client, int line, SizeOf size)
{
    std::vector<TShownItem> items;
    int pos = 0;
    for (int i = 0; i < std::min(fixed, count) && pos < client; ++i) {
        items.push_back({i, pos});
        pos += size(i) + line;
    }
    for (int i = std::max(first, fixed); i < count && pos < client; ++i) {
        items.push_back({i, pos});
        pos += size(i) + line;
    }
    return items;
}

}  // namespace

TGridDrawState TCustomGrid::CellDrawState(int ACol, int ARow) const
{
    TGridDrawState state;
    if (ACol < TCustomGridData::FixedCols() || ARow < TCustomGridData::FixedRows())
        return state << gdFixed;
    const TGridRect sel = Selection();
    if (ACol >= sel.Left && ACol <= sel.Right && ARow >= sel.Top && ARow <= sel.Bottom)
        state << gdSelected;
    if (ACol == Col() && ARow == Row() && Focused())
        state << gdFocused;
    return state;
}

void TCustomGrid::PaintLines(const TRect& cell, bool fixed)
{
    const TGridOptions o = Options();
    const int line = GridLineWidth();
    if (line <= 0)
        return;
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(fixed ? kFixedLineColor : kLineColor);
    // A line as wide as int holds ends at the last pixel int holds.
    const int right = ClampToInt(int64_t{cell.Right} + line);
    const int bottom = ClampToInt(int64_t{cell.Bottom} + line);
    if (o.Contains(fixed ? goFixedVertLine : goVertLine))
        c->FillRect(Rect(cell.Right, cell.Top, right, bottom));
    if (o.Contains(fixed ? goFixedHorzLine : goHorzLine))
        c->FillRect(Rect(cell.Left, cell.Bottom, right, bottom));
}

void TCustomGrid::PaintCellAt(int col, int row, const TRect& r)
{
    TCanvas* c = Canvas();
    const TGridDrawState state = CellDrawState(col, row);
    const bool fixed = state.Contains(gdFixed);
    const TGridOptions o = Options();
    if (DefaultDrawing()) {
        c->Font()->Assign(Font());
        c->Brush()->SetStyle(bsSolid);
        const bool highlighted = state.Contains(gdSelected) &&
            (!state.Contains(gdFocused) || o.Contains(goDrawFocusSelected) || o.Contains(goRowSelect));
        if (highlighted) {
            c->Brush()->SetColor(clHighlight);
            c->Font()->SetColor(clHighlightText);
        } else {
            c->Brush()->SetColor(fixed ? FFixedColor : Color());
        }
        c->FillRect(r);
    }
    DrawCell(col, row, r, state);
    PaintLines(r, fixed);
    if (DefaultDrawing() && state.Contains(gdFocused) && !o.Contains(goRowSelect) && ShowFocusRect())
        c->DrawFocusRect(r);
}

void TCustomGrid::PaintCell(int ACol, int ARow)
{
    const TRect r = CellRect(ACol, ARow);
    if (!r.IsEmpty())
        PaintCellAt(ACol, ARow, r);
}

void TCustomGrid::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    const TGridOptions o = Options();
    const int colLine = o.Contains(goVertLine) || o.Contains(goFixedVertLine) ? GridLineWidth() : 0;
    const int rowLine = o.Contains(goHorzLine) || o.Contains(goFixedHorzLine) ? GridLineWidth() : 0;
    const std::vector<TShownItem> cols = ShownItems(TCustomGridData::FixedCols(), LeftCol(), ColCount(), ClientWidth(),
                                                    colLine, [this](int i) { return ColWidths(i); });
    const std::vector<TShownItem> rows = ShownItems(TCustomGridData::FixedRows(), TopRow(), RowCount(), ClientHeight(),
                                                    rowLine, [this](int i) { return RowHeights(i); });
    for (const TShownItem& row : rows) {
        const int height = RowHeights(row.Index);
        for (const TShownItem& col : cols)
            PaintCellAt(col.Index, row.Index,
                        Rect(col.Start, row.Start, col.Start + ColWidths(col.Index), row.Start + height));
    }
    // A row-select grid frames the current row's normal cells in view.
    if (o.Contains(goRowSelect) && DefaultDrawing() && Focused() && !cols.empty()) {
        const auto firstNormal = std::find_if(
            cols.begin(), cols.end(), [this](const TShownItem& i) { return i.Index >= TCustomGridData::FixedCols(); });
        const auto current = std::find_if(rows.begin(), rows.end(), [this](const TShownItem& i) {
            return i.Index == Row() && i.Index >= TCustomGridData::FixedRows();
        });
        if (firstNormal != cols.end() && current != rows.end())
            c->DrawFocusRect(Rect(firstNormal->Start, current->Start, cols.back().Start + ColWidths(cols.back().Index),
                                  current->Start + RowHeights(current->Index)));
    }
}
