// What sorting asks of the display: the header click that a left release on row 0 runs, the
// Korean collation of the ssAnsi styles, and the current row following its data after a sort
// without validating an open editor.

#include "grid/control/CellGrid.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/Collation.h"
#include "platform/gui/KeyState.h"

int TCellGrid::AnsiCompare(const AnsiString& S1, const AnsiString& S2, bool IgnoreCase)
{
    return IgnoreCase ? AnsiCompareText(S1, S2) : AnsiCompareStr(S1, S2);
}

void TCellGrid::FollowSortRow(int ARow)
{
    const bool shown = EditShown();
    SetEditShown(false);
    const TAliveToken alive = GridAliveToken();
    TCellModel::FollowSortRow(ARow);
    if (*alive)
        SetEditShown(shown);
}

void TCellGrid::ClickSort(int ACol, int ARow, int X, int Y)
{
    // A click on the header: pressed and released in row 0.
    if (ARow != 0 || ACol < 0 || MouseToCell(FPressPoint.x, FPressPoint.y).Y != 0)
        return;
    // A release on a column border is a size grip.
    if (Options().Contains(goColSizing)) {
        const TRect r = CellRect(ACol, ARow);
        if (X - r.Left < 4 || r.Right - X < 4)
            return;
    }
    if (FixedRows() < 1 || !SortShow() || RowCount() <= 2)
        return;
    const int col = RemapCol(ACol);
    std::shared_ptr<bool> alive = AliveToken();
    bool dosort = true;
    if (OnCanSort)
        OnCanSort(this, col, dosort);
    if (!*alive || !dosort)
        return;
    if (SortIndexShow()) {
        TSortIndexList* list = SortIndexes();
        const bool shift = GetKeyState(VK_SHIFT) < 0;
        if (!shift && list->Count() == 1 && list->FindIndex(col) == 0) {
            list->ToggleIndex(col);
        } else if (!shift) {
            list->Clear();
            list->AddIndex(col, true);
        } else if (list->FindIndex(col) < 0) {
            list->AddIndex(col, true);
        } else {
            list->ToggleIndex(col);
        }
        QSortIndexed();
    } else {
        if (col != SortColumn()) {
            SortDirection = sdAscending;
            SetSortColumn(col);
        } else {
            SortDirection = SortDirection == sdAscending ? sdDescending : sdAscending;
        }
        if (NodeCount() < 1)
            QSort();
        else
            QSortGroup();
    }
    if (*alive && OnClickSort)
        OnClickSort(this, SortColumn());
}
