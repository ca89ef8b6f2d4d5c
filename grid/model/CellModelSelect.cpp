// Selection rectangles and the row-select flags set from them, the Enter advance over the
// editable cells, and the incremental key search.

#include <algorithm>

#include "grid/model/CellModel.h"

void TCellModel::SelectRows(int ARow, int Count)
{
    SetSelection({FixedCols(), ARow, ColCount() - 1, ARow + Count - 1});
}

void TCellModel::SelectCols(int ACol, int Count)
{
    SetSelection({ACol, FixedRows(), ACol + Count - 1, RowCount() - 1});
}

void TCellModel::SelectRange(int FromCol, int ToCol, int FromRow, int ToRow)
{
    SetSelection({FromCol, FromRow, ToCol, ToRow});
}

void TCellModel::SelectToRowSelect(int)
{
    const TGridRect s = Selection();
    if (s.Top < 0 || s.Bottom < 0)
        return;
    for (int r = s.Top; r <= std::min(s.Bottom, RowCount() - 1); ++r)
        if (!GetRowSelect(r))
            SetRowSelect(r, true);
}

bool TCellModel::IsSelected(int ACol, int ARow)
{
    if (MouseActions()->DisjunctRowSelect)
        return ARow >= 0 && ARow < RowCount() && GetRowSelect(ARow);
    const TGridRect s = Selection();
    return ACol >= s.Left && ACol <= s.Right && ARow >= s.Top && ARow <= s.Bottom;
}

std::vector<int> TCellModel::SelectedTextRows()
{
    std::vector<int> rows;
    if (MouseActions()->DisjunctRowSelect) {
        for (int r = FixedRows(); r < RowCount(); ++r)
            if (r < static_cast<int>(FRowSelect.size()) && FRowSelect[static_cast<size_t>(r)])
                rows.push_back(r);
        return rows;
    }
    const TGridRect s = Selection();
    for (int r = std::max(s.Top, 0); r <= std::min(s.Bottom, RowCount() - 1); ++r)
        rows.push_back(r);
    return rows;
}

void TCellModel::MoveRowSelect(int FromIndex, int ToIndex)
{
    const size_t high = static_cast<size_t>(std::max(FromIndex, ToIndex));
    if (FromIndex == ToIndex || FromIndex < 0 || ToIndex < 0 || FRowSelect.size() <= static_cast<size_t>(FromIndex))
        return;
    if (FRowSelect.size() <= high)
        FRowSelect.resize(high + 1, 0);
    const char flag = FRowSelect[static_cast<size_t>(FromIndex)];
    FRowSelect.erase(FRowSelect.begin() + FromIndex);
    FRowSelect.insert(FRowSelect.begin() + ToIndex, flag);
}

// --- Enter advance ---------------------------------------------------------------------------

bool TCellModel::IsEditable(int ACol, int ARow)
{
    if (!Options().Contains(goEditing))
        return false;
    bool canEdit = true;
    GetCellReadOnly(ACol, ARow, canEdit);
    return canEdit;
}

TGridCoord TCellModel::AdvanceStep(int ACol, int ARow, bool Forward)
{
    const int firstCol = FixedCols(), firstRow = FixedRows();
    const int lastCol = ColCount() - 1 - FixedRightCols(), lastRow = RowCount() - 1 - FixedFooters();
    const bool across = Navigation()->AdvanceDirection == adLeftRight;
    if (!Forward) {
        if (across) {
            if (ACol > firstCol)
                return {ACol - 1, ARow};
            return ARow > firstRow ? TGridCoord{lastCol, ARow - 1} : TGridCoord{ACol, ARow};
        }
        if (ARow > firstRow)
            return {ACol, ARow - 1};
        return ACol > firstCol ? TGridCoord{ACol - 1, lastRow} : TGridCoord{ACol, ARow};
    }
    if (across) {
        if (ACol < lastCol)
            return {ACol + 1, ARow};
        if (ARow < lastRow)
            return {firstCol, ARow + 1};
        if (!Navigation()->AdvanceInsert)
            return {firstCol, firstRow};
        bool canAdd = true;
        const TAliveToken alive = GridAliveToken();
        if (OnCanAddRow)
            OnCanAddRow(Sender(), canAdd);
        // A handler that freed the grid: the caller sees that before it uses the cell.
        if (!*alive || !canAdd)
            return {ACol, ARow};
        // The new row comes before the footer rows, so that they stay at the bottom.
        InsertRows(RowCount() - FixedFooters(), 1);
        const int added = RowCount() - 1 - FixedFooters();
        if (OnAutoAddRow)
            OnAutoAddRow(Sender(), added);
        return {firstCol, added};
    }
    const TGridCoord next = ARow < lastRow ? TGridCoord{ACol, ARow + 1}
        : ACol < lastCol                   ? TGridCoord{ACol + 1, firstRow}
                                           : TGridCoord{-1, -1};
    if (ARow >= lastRow)
        InvalidateGrid();
    if (next.X >= 0)
        return next;
    if (!Navigation()->AdvanceInsert)
        return {firstCol, firstRow};
    // The new column comes before the right fixed columns.
    if (FixedRightCols() > 0)
        InsertCols(RemapCol(ColCount() - FixedRightCols()), 1);
    else
        SetColCountEx(ColCount() + 1);
    const int added = ColCount() - 1 - FixedRightCols();
    const TAliveToken alive = GridAliveToken();
    if (OnAutoInsertCol)
        OnAutoInsertCol(Sender(), added);
    if (*alive)
        InvalidateGrid();
    return {added, firstRow};
}

void TCellModel::AdvanceEdit(int ACol, int ARow, bool Forward, bool ShowEditor, bool Force)
{
    if (!Navigation()->AdvanceOnEnter && !Force)
        return;
    // One round over every normal cell at most: a grid without an editable cell keeps its
    // current cell.
    const int64_t cells = int64_t{std::max(1, ColCount() - FixedRightCols() - FixedCols())} *
        std::max(1, RowCount() - FixedFooters() - FixedRows());
    TGridCoord at{ACol, ARow};
    bool found = false;
    // Asking whether a cell may be edited fires OnCanEditCell, which may free the grid.
    const TAliveToken alive = GridAliveToken();
    for (int64_t step = 0; step < cells && !found && *alive; ++step) {
        const TGridCoord next = AdvanceStep(at.X, at.Y, Forward);
        if (!*alive)
            return;
        if (next.X < 0 || next.Y < 0 || next.X >= ColCount() || next.Y >= RowCount())
            return;
        found = IsEditable(RemapCol(next.X), next.Y);
        if (!found && next == at)
            return;
        at = next;
    }
    if (!found || !*alive)
        return;
    // Every move fires the selection handlers, any of which may free the grid.
    if (at.Y != Row())
        SetRow(at.Y);
    if (*alive && at.X != Col())
        SetCol(at.X);
    if (!*alive)
        return;
    const bool staticEdit = HasStaticEdit(RemapCol(at.X), at.Y);
    if (!ShowEditor && !staticEdit)
        return;
    ShowInplaceEdit();
    if (*alive && staticEdit && ACol >= 0 && ACol < ColCount()) {
        // The cell is selected anew, so that its check box or radio group takes the keys.
        SetCol(ACol);
        if (*alive)
            SetCol(at.X);
        if (*alive)
            SetRow(at.Y);
    }
}

// --- Incremental key search ------------------------------------------------------------------

void TCellModel::IncrementalSearch(char Key)
{
    if (Options().Contains(goEditing) || !Navigation()->AutoGotoWhenSorted)
        return;
    const char upper = Key >= 'a' && Key <= 'z' ? static_cast<char>(Key - 'a' + 'A') : Key;
    if (!Navigation()->AutoGotoIncremental) {
        FSearchText.assign(1, upper);
    } else if (Key == '\b') {
        // The last character goes whole, both bytes of a Hangul pair.
        size_t last = 0;
        for (size_t i = 0; i < FSearchText.size(); i += static_cast<size_t>(CharLengthAt(FSearchText, i)))
            last = i;
        FSearchText.erase(std::min(last, FSearchText.size()));
    } else {
        FSearchText += upper;
    }
    const int found = Search(FSearchText);
    if (found != -1 && ColCount() > 0)
        SetRow(found);
}
