#pragma once
// Where a test clicks a cell: its middle, in the grid's client coordinates.

#include "grid/control/CellGrid.h"

inline TPoint CellCentre(TCellGrid& g, int col, int row)
{
    const TRect r = g.CellRect(col, row);
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}
