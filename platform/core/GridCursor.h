#pragma once
// The framework grid's keyboard navigation and size-grip hit test without a window: what a key
// does to the current cell and the view, and whether a point lies on a border that sizes a row
// or a column. The grid control applies the answers (platform/gui/GridsKeys.cpp and
// GridsMouse.cpp); tests call these directly.

#include <cstdint>

#include "platform/core/GridData.h"
#include "platform/core/ShiftState.h"

// What the navigation reads of a grid.
struct TGridCursorState {
    int ColCount = 0, RowCount = 0, FixedCols = 0, FixedRows = 0;
    int Col = 0, Row = 0;
    int LeftCol = 0, TopRow = 0;
    // Scrollable columns and rows fully in view (at least 1 when any is left).
    int VisibleCols = 1, VisibleRows = 1;
    TGridOptions Options;
};
TGridCursorState CursorStateOf(const TCustomGridData& Grid);

// Where a key takes the grid. Handled is false for keys the navigation does not know (and for
// every key on a grid without a normal cell); then nothing changes. Otherwise Col and Row are
// the new current cell (possibly the old one), MoveAnchor false when the selection grows from
// its anchor (Shift with goRangeSelect), and TopRow / LeftCol the view's first scrollable row
// and column when the key scrolls it (-1: the view only follows the current cell).
struct TGridCursorMove {
    bool Handled = false;
    int Col = 0, Row = 0;
    bool MoveAnchor = true;
    int TopRow = -1, LeftCol = -1;
};

// Arrows, Page Up/Down (Ctrl: the first or last row in view), Home/End (the first or last
// column; with Ctrl the first or last cell; with goRowSelect the first or last row), and Tab /
// Shift+Tab with goTabs (to the next or previous column, on to the next or previous row, no
// further than the first and the last cell). With goRowSelect the left and right arrows scroll
// the view instead of moving.
TGridCursorMove MoveCursor(const TGridCursorState& State, uint16_t Key, TShiftState Shift);

// The grid's mouse states (the base grid's FGridState).
enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };

// A press or the pointer on a size grip: the state it starts (gsNormal, gsColSizing or
// gsRowSizing), the column or row whose size changes, the position of the border being dragged
// and the point's offset from it.
struct TGridSizing {
    TGridState State = gsNormal;
    int Index = -1;
    int SizingPos = 0;
    int SizingOfs = 0;
};
// Column borders size with goColSizing inside the fixed rows, row borders with goRowSizing
// inside the fixed columns; a border is hit within kSizingGrip pixels of its line.
constexpr int kSizingGrip = 2;
TGridSizing CalcSizingHit(const TCustomGridData& Grid, int X, int Y);
