// Hidden columns (their cells stay at their real index, their widths are saved) and hidden rows
// (taken out of the grid into the hidden-row items, with their extras).

#include <algorithm>

#include "grid/model/CellModel.h"

void TCellModel::HideColumns(int Col1, int Col2)
{
    const int last = std::min(Col2, TColumnHiding::kMaxHideable - 1);
    for (int c = std::max(Col1, 0); c <= last; ++c) {
        if (IsHiddenColumn(c) || AllCols() <= c || ColCount() < 2)
            continue;
        const int display = RemapColInv(c);
        FColumns.Hide(c, ColWidths(display));
        DeleteColsAt(0, 0, display, 1);
    }
    InvalidateGrid();
}

void TCellModel::UnhideColumns(int Col1, int Col2)
{
    const int last = std::min(Col2, TColumnHiding::kMaxHideable - 1);
    for (int c = std::max(Col1, 0); c <= last; ++c) {
        if (!IsHiddenColumn(c))
            continue;
        const int width = FColumns.Unhide(c);
        const int display = RemapColInv(c);
        InsertColsAt(0, 0, display, 1);
        ColAxis().SetSize(display, width);
    }
    ColWidthsChanged();
    InvalidateGrid();
}

void TCellModel::UnhideColumnsAll() { UnhideColumns(0, ColCount() + HiddenColCount()); }

void TCellModel::MoveColumnCells(int FromIndex, int ToIndex)
{
    FMovedRealCols = {RemapCol(FromIndex), RemapCol(ToIndex)};
    CellStore().MoveCol(FMovedRealCols.X, FMovedRealCols.Y);
    FColumns.Move(FMovedRealCols.X, FMovedRealCols.Y);
}

void TCellModel::HideRow(int ARow) { HideRowRange(ARow, ARow, false); }
void TCellModel::HideRows(int FromRow, int ToRow) { HideRowRange(FromRow, ToRow, false); }
void TCellModel::HideRowsEx(int FromRow, int ToRow) { HideRowRange(FromRow, ToRow, true); }

void TCellModel::HideRowRange(int FromRow, int ToRow, bool ByCopying)
{
    // Rows already hidden are skipped; the shown rows of the range are consecutive on screen.
    std::vector<int> reals;
    for (int r = std::max(FromRow, 0); r <= std::min(ToRow, LastRealRow()); ++r)
        if (!IsHiddenRow(r))
            reals.push_back(r);
    if (reals.empty())
        return;
    const int first = RemapRow(reals.front());
    const int count = static_cast<int>(reals.size());
    for (int k = 0; k < count; ++k) {
        const int display = first + k;
        TStrings* items = FHiddenRows.Add(reals[static_cast<size_t>(k)]).Items();
        // The item takes the row's objects: removing the row frees nothing it holds.
        const int cols = std::max(CellStore().StoredCols(display), AllCols());
        for (int c = 0; c < cols; ++c) {
            items->AddObject(Cells(c, display), Objects(c, display));
            CellStore().SetObject(c, display, nullptr);
        }
    }
    if (ByCopying)
        RemoveRowsEx(first, count);
    else
        RemoveRows(first, count);
}

void TCellModel::UnHideRow(int ARow) { UnHideRows(ARow, ARow); }

void TCellModel::UnHideRows(int FromRow, int ToRow)
{
    if (!IsHiddenRow(FromRow))
        return;
    const std::vector<int>& sorted = FHiddenRows.Sorted();
    UnhideRealRows(std::vector<int>(std::lower_bound(sorted.begin(), sorted.end(), FromRow),
                                    std::upper_bound(sorted.begin(), sorted.end(), ToRow)));
}

void TCellModel::UnHideRowsAll()
{
    if (FHiddenRows.Count() > 0)
        UnHideRows(FHiddenRows.Sorted().front(), FHiddenRows.Sorted().back());
}
