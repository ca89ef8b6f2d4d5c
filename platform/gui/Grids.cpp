#include "platform/gui/Grids.h"

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
    RegisterHandler(WM_VSCROLL, [this](TMessage& m) { WMVScroll(m); });
    RegisterHandler(WM_HSCROLL, [this](TMessage& m) { WMHScroll(m); });
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
    UpdateScrollRange();
}

void TCustomGrid::BoundsChanged(const TRect& OldBounds, bool SizeChanged)
{
    TCustomControl::BoundsChanged(OldBounds, SizeChanged);
    SetViewSize(ClientWidth(), ClientHeight());
    UpdateScrollRange();
}

void TCustomGrid::SizeChanged(int, int) { UpdateScrollRange(); }
// The in-place editor follows its cell as sizes change and the view scrolls. The scroll range
// may move the view back, whose TopLeftChanged handler may free the grid.
void TCustomGrid::ColWidthsChanged()
{
    const TAliveToken alive = AliveToken();
    UpdateScrollRange();
    if (*alive)
        EditorFollowsCell();
}
void TCustomGrid::RowHeightsChanged()
{
    const TAliveToken alive = AliveToken();
    UpdateScrollRange();
    if (*alive)
        EditorFollowsCell();
}
void TCustomGrid::TopLeftChanged()
{
    const TAliveToken alive = AliveToken();
    UpdateScrollRange();
    if (*alive)
        EditorFollowsCell();
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
    const TAliveToken alive = AliveToken();
    TCustomGrid::TopLeftChanged();
    if (*alive && OnTopLeftChanged)
        OnTopLeftChanged(this);
}

void TDrawGrid::DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    if (OnDrawCell)
        OnDrawCell(this, ACol, ARow, ARect, AState);
}

void TStringGrid::DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    if (DefaultDrawing())
        Canvas()->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, Cells(ACol, ARow));
    TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}
