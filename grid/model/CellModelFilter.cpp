// The row filter, and the bulk hiding and showing of rows it needs: a filter that hides every
// other row of a long grid hides and shows them in one pass each, not one row shift per run.

#include "grid/model/CellModel.h"
#include "grid/model/Cgutil.h"
#include "platform/core/IndexSets.h"

bool TCellModel::MatchFilter(int ARow) const
{
    for (int i = 0; i < FFilter->Count(); ++i) {
        const TFilterData* item = FFilter->Items(i);
        if (!MatchStrEx(item->Condition, Cells(item->Column, ARow)))
            return false;
    }
    return true;
}

void TCellModel::ApplyFilter()
{
    // The footer rows are never tested.
    std::vector<int> failing;
    for (int r = FixedRows(); r < RowCount() - FFixedFooters; ++r)
        if (!MatchFilter(r))
            failing.push_back(r);
    HideDisplayRows(failing);
}

void TCellModel::SetFilterActive(bool Value)
{
    if (Value == FFilterActive)
        return;
    FFilterActive = Value;
    if (Value) {
        FFilterFixedRows = FixedRows();
        ApplyFilter();
        // With no data row left, one empty row keeps the fixed rows in the grid. It stands where
        // the data rows stood, above the footers: below them a footer would become the current
        // data row and the empty row would be painted as the footer.
        if (RowCount() == FFixedFooters + FFilterFixedRows) {
            InsertRows(FFilterFixedRows, 1);
            SetFixedRows(FFilterFixedRows);
        } else {
            FFilterFixedRows = 0;
        }
        return;
    }
    const bool keptRow = FFilterFixedRows > 0 && RowCount() == FixedRows() + FFixedFooters + 1;
    FFilterFixedRows = FixedRows();
    // The kept row goes only while it is empty: what was typed into it stays.
    const int kept = FixedRows();
    bool empty = keptRow;
    for (int c = 0; empty && c < CellStore().StoredCols(kept); ++c)
        empty = Cells(c, kept).empty() && !Objects(c, kept);
    if (empty)
        RemoveRowsCore(kept, 1);
    UnHideRowsAll();
    if (FFilterFixedRows < RowCount())
        SetFixedRows(FFilterFixedRows);
}

std::vector<int> TCellModel::RealRowsOf(const std::vector<int>& Displays) const
{
    // The real index of each display row, walking the hidden rows alongside.
    const std::vector<int>& hidden = FHiddenRows.Sorted();
    std::vector<int> reals;
    reals.reserve(Displays.size());
    size_t below = 0;
    for (int display : Displays) {
        while (below < hidden.size() && hidden[below] <= display + static_cast<int>(below))
            ++below;
        reals.push_back(display + static_cast<int>(below));
    }
    return reals;
}

void TCellModel::HideDisplayRows(const std::vector<int>& Rows)
{
    if (Rows.empty())
        return;
    const std::vector<TGridItem*> items = FHiddenRows.AddMany(RealRowsOf(Rows));
    for (size_t k = 0; k < Rows.size(); ++k) {
        // The item takes the row's objects: removing the row frees nothing it holds.
        TStrings* cells = items[k]->Items();
        const int row = Rows[k];
        const int cols = std::max(CellStore().StoredCols(row), AllCols());
        for (int c = 0; c < cols; ++c) {
            cells->AddObject(Cells(c, row), Objects(c, row));
            CellStore().SetObject(c, row, nullptr);
        }
    }
    RemoveDisplayRows(Rows);
}

void TCellModel::RemoveDisplayRows(const std::vector<int>& Rows)
{
    if (Rows.empty())
        return;
    // As removing each run of rows by copying would leave it: the current and top rows stay
    // where they still exist, else they go to the first normal row.
    BeginUpdate();
    const int oldRow = Row();
    const int oldTop = TopRow();
    if (!FRowSelect.empty()) {
        FRowSelect.resize(static_cast<size_t>(RowCount()), 0);
        EraseIndexes(FRowSelect, Rows);
    }
    try {
        DeleteRowSetAt(Rows);
        if (!RestoreCursor(oldRow, oldTop, FixedRows()))
            return;
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCellModel::InsertRowSet(const std::vector<int>& Positions)
{
    if (Positions.empty())
        return;
    const int rowCount = RowCount();
    InsertRowSetAt(Positions);
    if (!FRowSelect.empty()) {
        FRowSelect.resize(static_cast<size_t>(rowCount), 0);
        InsertAtIndexes(FRowSelect, Positions, [] { return char{0}; });
    }
}

void TCellModel::UnhideRealRows(const std::vector<int>& Reals)
{
    if (Reals.empty())
        return;
    // Each row comes back at its display place counting the rows restored before it; a place
    // the grid no longer reaches puts it at the end.
    const int rowCount = RowCount();
    std::vector<int> positions;
    std::vector<TGridItem*> items;
    positions.reserve(Reals.size());
    items.reserve(Reals.size());
    for (size_t i = 0; i < Reals.size(); ++i) {
        positions.push_back(std::min(RemapRow(Reals[i]), rowCount) + static_cast<int>(i));
        items.push_back(FHiddenRows.Find(Reals[i]));
    }
    InsertRowSet(positions);
    for (size_t k = 0; k < items.size(); ++k) {
        const TStrings* cells = items[k]->Items();
        for (int c = 0; c < cells->Count(); ++c) {
            if (!cells->Strings(c).empty())
                CellStore().SetText(c, positions[k], cells->Strings(c));
            CellStore().SetObject(c, positions[k], cells->Objects(c));
        }
        items[k]->ReleaseObjects();
    }
    FHiddenRows.Remove(items);
    InvalidateGrid();
}
