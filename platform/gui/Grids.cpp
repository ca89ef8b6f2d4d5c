#include "platform/gui/Grids.h"

#include <algorithm>
#include <vector>

#include "platform/gui/Canvas.h"
#include "platform/gui/InplaceEdit.h"

TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner)
{
    // The grid clicks when its current cell moves (GridsKeys.cpp, GridsMouse.cpp), not on a
    // release.
    FControlStyle &= ~csClickEvents;
    RegisterGridHandlers();
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 320, 120);
}

TCustomGrid::~TCustomGrid()
{
    // The editor is a child window of the grid; it goes first so that it never reaches back.
    delete FInplaceEdit;
    FInplaceEdit = nullptr;
}

void TCustomGrid::InvalidateCell(int ACol, int ARow) { InvalidateRect(CellRect(ACol, ARow)); }

void TCustomGrid::InvalidateRow(int ARow)
{
    const TRect r = CellRect(0, ARow);
    if (!r.IsEmpty())
        InvalidateRect(Rect(0, r.Top, ClientWidth(), r.Bottom));
}

void TCustomGrid::InvalidateCol(int ACol)
{
    const TRect r = CellRect(ACol, 0);
    if (!r.IsEmpty())
        InvalidateRect(Rect(r.Left, 0, r.Right, ClientHeight()));
}

void TCustomGrid::InvalidateGrid() { Invalidate(); }

void TCustomGrid::SetFixedColor(TColor Value)
{
    FFixedColor = Value;
    Invalidate();
}

void TCustomGrid::WidgetCreated()
{
    TCustomControl::WidgetCreated();
    CreateWnd();
}

void TCustomGrid::BoundsChanged(const TRect& OldBounds, bool SizeChanged)
{
    TCustomControl::BoundsChanged(OldBounds, SizeChanged);
    SetViewSize(ClientWidth(), ClientHeight());
}

void TCustomGrid::PaintLines(const TRect& cell, bool fixed)
{
    const TGridOptions o = Options();
    const bool vert = o.Contains(fixed ? goFixedVertLine : goVertLine);
    const bool horz = o.Contains(fixed ? goFixedHorzLine : goHorzLine);
    if (GridLineWidth() <= 0)
        return;
    TCanvas* c = Canvas();
    c->Brush()->SetColor(fixed ? clBlack : clSilver);
    // A line as wide as int holds ends at the last pixel int holds.
    const int right = ClampToInt(int64_t{cell.Right} + GridLineWidth());
    const int bottom = ClampToInt(int64_t{cell.Bottom} + GridLineWidth());
    if (vert)
        c->FillRect(Rect(cell.Right, cell.Top, right, bottom));
    if (horz)
        c->FillRect(Rect(cell.Left, cell.Bottom, right, bottom));
}

void TCustomGrid::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    const TGridRect sel = Selection();
    const auto paintCell = [&](int col, int row) {
        const TRect r = CellRect(col, row);
        if (r.IsEmpty())
            return;
        TGridDrawState state;
        const bool fixed = col < FixedCols() || row < FixedRows();
        if (fixed)
            state << gdFixed;
        else if (col >= sel.Left && col <= sel.Right && row >= sel.Top && row <= sel.Bottom)
            state << gdSelected;
        if (col == Col() && row == Row())
            state << gdFocused;
        c->Font()->Assign(Font());
        c->Brush()->SetColor(fixed ? FFixedColor : state.Contains(gdSelected) ? clHighlight : Color());
        if (DefaultDrawing())
            c->FillRect(r);
        DrawCell(col, row, r, state);
        PaintLines(r, fixed);
    };
    // The fixed items, then the scrollable ones from the first in view to one past the view.
    const auto shown = [](int fixed, int first, int visible, int count) {
        std::vector<int> items;
        for (int i = 0; i < std::min(fixed, count); ++i)
            items.push_back(i);
        for (int i = first; i < std::min(count, first + visible + 1); ++i)
            items.push_back(i);
        return items;
    };
    const std::vector<int> cols = shown(FixedCols(), LeftCol(), VisibleColCount(), ColCount());
    for (int row : shown(FixedRows(), TopRow(), VisibleRowCount(), RowCount()))
        for (int col : cols)
            paintCell(col, row);
}

bool TDrawGrid::SelectCell(int ACol, int ARow)
{
    bool can = true;
    if (OnSelectCell)
        OnSelectCell(this, ACol, ARow, can);
    return can;
}

void TDrawGrid::RowMoved(int FromIndex, int ToIndex)
{
    if (OnRowMoved)
        OnRowMoved(this, FromIndex, ToIndex);
}

void TDrawGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    if (OnColumnMoved)
        OnColumnMoved(this, FromIndex, ToIndex);
}

void TDrawGrid::TopLeftChanged()
{
    TCustomGrid::TopLeftChanged();
    if (OnTopLeftChanged)
        OnTopLeftChanged(this);
}

void TDrawGrid::DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    if (OnDrawCell)
        OnDrawCell(this, ACol, ARow, ARect, AState);
}

void TStringGrid::DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    if (!DefaultDrawing()) {
        TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
        return;
    }
    TCanvas* c = Canvas();
    if (AState.Contains(gdSelected))
        c->Font()->SetColor(clHighlightText);
    c->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, Cells(ACol, ARow));
    TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}
