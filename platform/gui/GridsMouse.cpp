// The framework grid's mouse: sizing rows and columns by their borders, moving them by their
// fixed cells, selecting by press and drag, and the cursor over a size grip.

#include "platform/gui/ControlWidget.h"
#include "platform/gui/Grids.h"

void TCustomGrid::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs)
{
    const TGridSizing hit = CalcSizingHit(*this, X, Y);
    State = hit.State;
    Index = hit.Index;
    SizingPos = hit.SizingPos;
    SizingOfs = hit.SizingOfs;
}

void TCustomGrid::ShowGridCursor(TCursor Cursor)
{
    TWidgetBridge::ApplyCursor(this, Cursor == crDefault ? this->Cursor() : Cursor);
}

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    std::shared_ptr<bool> alive = AliveToken();
    if (Button == mbLeft && !Shift.Contains(ssDouble)) {
        if (CanFocus() && !Focused()) {
            SetFocus();
            if (!*alive)
                return;
        }
        TGridState state = gsNormal;
        int index = -1, pos = 0, ofs = 0;
        CalcSizingState(X, Y, state, index, pos, ofs);
        if (!*alive)
            return;
        const TGridCoord cell = MouseToCell(X, Y);
        const TGridOptions o = Options();
        if (state != gsNormal) {
            FGridState = state;
            FSizingIndex = index;
            FSizingPos = pos;
            FSizingOfs = ofs;
        } else if (cell.X < 0 || cell.Y < 0) {
            // Outside the cells: nothing to select.
        } else if (o.Contains(goRowMoving) && cell.X < FixedCols() && cell.Y >= FixedRows()) {
            FGridState = gsRowMoving;
            FMoveIndex = FMovePos = cell.Y;
        } else if (o.Contains(goColMoving) && cell.Y < FixedRows() && cell.X >= FixedCols()) {
            FGridState = gsColMoving;
            FMoveIndex = FMovePos = cell.X;
        } else if (cell.X >= FixedCols() && cell.Y >= FixedRows()) {
            const bool extend = Shift.Contains(ssShift) && o.Contains(goRangeSelect);
            // A press on the current cell of an editing grid opens its editor.
            if (o.Contains(goEditing) && !extend && cell == TGridCoord{Col(), Row()}) {
                ShowEditor();
                if (!*alive)
                    return;
            } else {
                MoveCurrentCell(cell.X, cell.Y, !extend);
                if (!*alive)
                    return;
                FGridState = gsSelecting;
            }
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y)
{
    std::shared_ptr<bool> alive = AliveToken();
    const TGridCoord cell = MouseToCell(X, Y);
    switch (FGridState) {
    case gsSelecting:
        if (Options().Contains(goRangeSelect) && cell.X >= FixedCols() && cell.Y >= FixedRows() &&
            cell != TGridCoord{Col(), Row()})
            MoveCurrentCell(cell.X, cell.Y, false);
        break;
    case gsRowMoving:
        if (cell.Y >= FixedRows())
            FMovePos = cell.Y;
        break;
    case gsColMoving:
        if (cell.X >= FixedCols())
            FMovePos = cell.X;
        break;
    case gsColSizing:
    case gsRowSizing: FSizingPos = (FGridState == gsColSizing ? X : Y) - FSizingOfs; break;
    case gsNormal: {
        TGridState state = gsNormal;
        int index = -1, pos = 0, ofs = 0;
        CalcSizingState(X, Y, state, index, pos, ofs);
        if (!*alive)
            return;
        ShowGridCursor(state == gsColSizing ? crHSplit : state == gsRowSizing ? crVSplit : crDefault);
        break;
    }
    }
    if (*alive)
        TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    std::shared_ptr<bool> alive = AliveToken();
    const TGridState state = FGridState;
    FGridState = gsNormal;
    if (Button == mbLeft) {
        switch (state) {
        case gsColSizing:
            if (FSizingIndex >= 0 && FSizingIndex < ColCount()) {
                const TRect r = CellRect(FSizingIndex, 0);
                if (!r.IsEmpty())
                    SetColWidths(FSizingIndex, std::max(0, X - FSizingOfs - r.Left));
            }
            break;
        case gsRowSizing:
            if (FSizingIndex >= 0 && FSizingIndex < RowCount()) {
                const TRect r = CellRect(0, FSizingIndex);
                if (!r.IsEmpty())
                    SetRowHeights(FSizingIndex, std::max(0, Y - FSizingOfs - r.Top));
            }
            break;
        case gsRowMoving:
            if (FMoveIndex != FMovePos && FMoveIndex < RowCount() && FMovePos < RowCount())
                MoveRow(FMoveIndex, FMovePos);
            break;
        case gsColMoving:
            if (FMoveIndex != FMovePos && FMoveIndex < ColCount() && FMovePos < ColCount())
                MoveColumn(FMoveIndex, FMovePos);
            break;
        default: break;
        }
    }
    if (*alive)
        TCustomControl::MouseUp(Button, Shift, X, Y);
}
