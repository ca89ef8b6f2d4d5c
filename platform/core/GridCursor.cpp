#include "platform/core/GridCursor.h"

#include <algorithm>

#include "platform/core/VirtualKeys.h"

TGridCursorState CursorStateOf(const TCustomGridData& Grid)
{
    TGridCursorState s;
    s.ColCount = Grid.ColCount();
    s.RowCount = Grid.RowCount();
    s.FixedCols = Grid.FixedCols();
    s.FixedRows = Grid.FixedRows();
    s.Col = Grid.Col();
    s.Row = Grid.Row();
    s.LeftCol = Grid.LeftCol();
    s.TopRow = Grid.TopRow();
    s.VisibleCols = std::max(1, Grid.VisibleColCount());
    s.VisibleRows = std::max(1, Grid.VisibleRowCount());
    s.Options = Grid.Options();
    return s;
}

TGridCursorMove MoveCursor(const TGridCursorState& S, uint16_t Key, TShiftState Shift)
{
    TGridCursorMove m;
    if (S.ColCount <= S.FixedCols || S.RowCount <= S.FixedRows)
        return m;
    const int lastCol = S.ColCount - 1, lastRow = S.RowCount - 1;
    const bool ctrl = Shift.Contains(ssCtrl);
    const bool rowSelect = S.Options.Contains(goRowSelect);
    int col = S.Col, row = S.Row;
    m.Handled = true;
    m.MoveAnchor = !(Shift.Contains(ssShift) && S.Options.Contains(goRangeSelect));
    switch (Key) {
    case VK_UP: --row; break;
    case VK_DOWN: ++row; break;
    case VK_LEFT:
    case VK_RIGHT:
        if (rowSelect) {
            const int step = Key == VK_LEFT ? -1 : 1;
            m.LeftCol = std::clamp(S.LeftCol + step, S.FixedCols, lastCol);
        } else {
            col += Key == VK_LEFT ? -1 : 1;
        }
        break;
    case VK_PRIOR:
        if (ctrl) {
            row = S.TopRow;
        } else {
            row -= S.VisibleRows;
            m.TopRow = std::max(S.FixedRows, S.TopRow - S.VisibleRows);
        }
        break;
    case VK_NEXT:
        if (ctrl) {
            row = S.TopRow + S.VisibleRows - 1;
        } else {
            row += S.VisibleRows;
            m.TopRow = std::min(lastRow, S.TopRow + S.VisibleRows);
        }
        break;
    case VK_HOME:
        if (rowSelect || ctrl)
            row = S.FixedRows;
        if (!rowSelect)
            col = S.FixedCols;
        break;
    case VK_END:
        if (rowSelect || ctrl)
            row = lastRow;
        if (!rowSelect)
            col = lastCol;
        break;
    case VK_TAB:
        if (!S.Options.Contains(goTabs) || ctrl || Shift.Contains(ssAlt)) {
            m.Handled = false;
            return m;
        }
        m.MoveAnchor = true;
        if (Shift.Contains(ssShift)) {
            if (col > S.FixedCols) {
                --col;
            } else if (row > S.FixedRows) {
                --row;
                col = lastCol;
            }
        } else if (col < lastCol) {
            ++col;
        } else if (row < lastRow) {
            ++row;
            col = S.FixedCols;
        }
        break;
    default: m.Handled = false; return m;
    }
    m.Col = std::clamp(col, S.FixedCols, lastCol);
    m.Row = std::clamp(row, S.FixedRows, lastRow);
    return m;
}

namespace {

// The scrollable items in view and one past them, after the fixed ones.
template <class F>
void ForShownItems(int fixed, int first, int visible, int count, F f)
{
    for (int i = 0; i < std::min(fixed, count); ++i)
        f(i);
    for (int i = std::max(first, fixed); i < std::min(count, first + visible + 1); ++i)
        f(i);
}

bool OnBorder(int pos, int edge, int line) { return pos >= edge - kSizingGrip && pos <= edge + line + kSizingGrip; }

// The extent of the fixed items with their lines.
template <class Size>
int FixedExtent(int fixed, int line, Size size)
{
    int extent = 0;
    for (int i = 0; i < fixed; ++i)
        extent += size(i) + line;
    return extent;
}

}  // namespace

TGridSizing CalcSizingHit(const TCustomGridData& Grid, int X, int Y)
{
    TGridSizing hit;
    const TGridOptions o = Grid.Options();
    const int line = Grid.GridLineWidth();
    if (o.Contains(goColSizing) && Grid.FixedRows() > 0 && Grid.ColCount() > 0) {
        const int band = FixedExtent(Grid.FixedRows(), line, [&](int r) { return Grid.RowHeights(r); });
        if (Y >= 0 && Y < band) {
            ForShownItems(Grid.FixedCols(), Grid.LeftCol(), Grid.VisibleColCount(), Grid.ColCount(), [&](int c) {
                const TRect r = Grid.CellRect(c, 0);
                if (hit.State == gsNormal && !r.IsEmpty() && OnBorder(X, r.Right, line))
                    hit = TGridSizing{gsColSizing, c, r.Right, X - r.Right};
            });
        }
    }
    if (hit.State == gsNormal && o.Contains(goRowSizing) && Grid.FixedCols() > 0 && Grid.RowCount() > 0) {
        const int band = FixedExtent(Grid.FixedCols(), line, [&](int c) { return Grid.ColWidths(c); });
        if (X >= 0 && X < band) {
            ForShownItems(Grid.FixedRows(), Grid.TopRow(), Grid.VisibleRowCount(), Grid.RowCount(), [&](int r) {
                const TRect cell = Grid.CellRect(0, r);
                if (hit.State == gsNormal && !cell.IsEmpty() && OnBorder(Y, cell.Bottom, line))
                    hit = TGridSizing{gsRowSizing, r, cell.Bottom, Y - cell.Bottom};
            });
        }
    }
    return hit;
}
