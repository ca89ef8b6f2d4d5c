// Inserting, removing, clearing, merging, swapping rows and columns; the row-select flags.

#include <algorithm>
#include <climits>

#include "grid/model/CellModel.h"

namespace {

// The last index of Count items from First, without overflowing.
int LastOf(int First, int Count) { return static_cast<int>(std::min<int64_t>(int64_t{First} + Count - 1, INT_MAX)); }

}  // namespace

void TCellModel::InsertRows(int Row, int Count)
{
    if (Count <= 0)
        return;
    if (Row < 0 || Row > RowCount())
        IndexError();
    InsertRowsAt(Row, Count);
    // The select flags stay with their rows.
    if (static_cast<int>(FRowSelect.size()) > Row)
        FRowSelect.insert(FRowSelect.begin() + Row, static_cast<size_t>(Count), 0);
}

void TCellModel::RemoveRowsCore(int Row, int Count)
{
    if (Row < 0 || int64_t{Row} + Count > RowCount())
        IndexError();
    if (static_cast<int>(FRowSelect.size()) > Row)
        FRowSelect.erase(FRowSelect.begin() + Row,
                         FRowSelect.begin() + std::min(static_cast<int>(FRowSelect.size()), Row + Count));
    DeleteRowsAt(Row, Count);
}

bool TCellModel::RestoreCursor(int OldRow, int OldTop, int FallbackRow)
{
    const int target = OldRow < RowCount() ? OldRow : FallbackRow;
    const TAliveToken alive = GridAliveToken();
    if (target >= 0 && target < RowCount() && ColCount() > 0 && target != Row())
        FocusCell(std::clamp(Col(), 0, ColCount() - 1), target, true);
    if (*alive)
        SetTopRow(OldRow < RowCount() ? OldTop : FallbackRow);
    return *alive;
}

void TCellModel::RemoveRows(int Row, int Count)
{
    if (Count <= 0)
        return;
    const int oldRow = this->Row();
    const int oldTop = TopRow();
    RemoveRowsCore(Row, Count);
    const int lastNormal = RowCount() - FFixedFooters - 1;
    if (lastNormal < oldRow) {
        if (lastNormal >= FixedRows())
            RestoreCursor(lastNormal, TopRow(), lastNormal);
        else
            HideSelection();
    } else {
        RestoreCursor(oldRow, oldTop, oldRow);
    }
}

void TCellModel::RemoveRowsEx(int Row, int Count)
{
    if (Count <= 0)
        return;
    BeginUpdate();
    const int oldRow = this->Row();
    const int oldTop = TopRow();
    try {
        RemoveRowsCore(Row, Count);
        if (!RestoreCursor(oldRow, oldTop, FixedRows()))
            return;
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCellModel::ClearRect(int Col1, int Row1, int Col2, int Row2)
{
    if (Col2 < Col1 || Row2 < Row1)
        return;
    // Only the cells a row stores are visited: a wide grid of few cells clears in their time.
    for (int r = std::max(Row1, 0); r <= std::min(Row2, RowCount() - 1); ++r) {
        for (int c = CellStore().NextStoredCol(r, Col1); c >= 0 && c <= Col2; c = CellStore().NextStoredCol(r, c + 1)) {
            if (!Cells(c, r).empty())
                SetCells(c, r, AnsiString());
            FreeCellGraphic(c, r);
        }
    }
}

void TCellModel::ClearRows(int Row, int Count)
{
    if (RowCount() > 0 && ColCount() > 0 && Count >= 1)
        ClearRect(0, Row, AllCols() - 1, LastOf(Row, Count));
}

void TCellModel::ClearCols(int Col, int Count)
{
    if (RowCount() > 0 && ColCount() > 0 && Count >= 1)
        ClearRect(Col, 0, LastOf(Col, Count), RowCount() - 1);
}

void TCellModel::ClearNormalCells()
{
    if (RowCount() > 0 && ColCount() > 0)
        ClearRect(FixedCols(), FixedRows(), AllCols() - 1 - FFixedRightCols, RowCount() - 1 - FFixedFooters);
}

void TCellModel::Clear()
{
    if (RowCount() > 0 && ColCount() > 0)
        ClearRect(0, 0, AllCols() - 1, RowCount() - 1);
}

void TCellModel::InsertCols(int Col, int Count)
{
    if (Count <= 0)
        return;
    if (Col < 0 || Col > AllCols())
        IndexError();
    // A hidden column pushed past the hideable ones comes back first.
    for (int c = std::max(Col, TColumnHiding::kMaxHideable - Count); c < TColumnHiding::kMaxHideable; ++c)
        if (IsHiddenColumn(c))
            UnhideColumns(c, c);
    InsertColsAt(Col, Count, RemapColInv(Col), Count);
    FColumns.Insert(Col, Count);
    ClearCols(Col, Count);
}

void TCellModel::RemoveCols(int Col, int Count)
{
    if (Count <= 0)
        return;
    if (Col < 0 || int64_t{Col} + Count > AllCols())
        IndexError();
    ClearCols(Col, Count);
    int visible = 0;
    for (int c = Col; c < Col + Count; ++c)
        visible += !IsHiddenColumn(c);
    DeleteColsAt(Col, Count, RemapColInv(Col), visible);
    FColumns.Remove(Col, Count);
}

void TCellModel::MergeCols(int Col1, int Col2)
{
    if (Col1 < 0 || Col2 < 0 || Col1 >= AllCols() || Col2 >= AllCols())
        IndexError();
    // A column merged with itself is already whole: removing it would lose its texts.
    if (Col1 == Col2)
        return;
    for (int r = FixedRows(); r < RowCount(); ++r) {
        const AnsiString first = Trim(Cells(Col1, r));
        SetCells(Col1, r, first.empty() ? Cells(Col2, r) : first + " " + Cells(Col2, r));
    }
    RemoveCols(Col2, 1);
}

void TCellModel::SwapRows(int Row1, int Row2)
{
    if (Row1 < 0 || Row2 < 0 || Row1 >= RowCount() || Row2 >= RowCount())
        IndexError();
    CellStore().ExchangeRows(Row1, Row2);
    RowAxis().Exchange(Row1, Row2);
    InvalidateGrid();
}

void TCellModel::SwapColumns(int Col1, int Col2)
{
    if (Col1 < 0 || Col2 < 0 || Col1 >= AllCols() || Col2 >= AllCols())
        IndexError();
    CellStore().ExchangeCols(Col1, Col2);
    if (!IsHiddenColumn(Col1) && !IsHiddenColumn(Col2))
        ColAxis().Exchange(RemapColInv(Col1), RemapColInv(Col2));
    if (FSortColumn == Col1)
        FSortColumn = Col2;
    else if (FSortColumn == Col2)
        FSortColumn = Col1;
    InvalidateGrid();
}

void TCellModel::SortSwapRows(int Row1, int Row2)
{
    if (Row1 < 0 || Row2 < 0 || Row1 >= RowCount() || Row2 >= RowCount())
        IndexError();
    ++FSortSwaps;
    CellStore().ExchangeRows(Row1, Row2);
    if (RowHeights(Row1) != RowHeights(Row2))
        RowAxis().Exchange(Row1, Row2);
    // The select flags travel with their rows whatever the mouse actions say.
    if (!FRowSelect.empty()) {
        const size_t high = static_cast<size_t>(std::max(Row1, Row2));
        if (FRowSelect.size() <= high)
            FRowSelect.resize(high + 1, 0);
        std::swap(FRowSelect[static_cast<size_t>(Row1)], FRowSelect[static_cast<size_t>(Row2)]);
    }
    if (FSortRow == Row1)
        FSortRow = Row2;
    else if (FSortRow == Row2)
        FSortRow = Row1;
}

void TCellModel::RemoveSelectedRows()
{
    BeginUpdate();
    for (int r = FixedRows(); r < RowCount();) {
        if (r < static_cast<int>(FRowSelect.size()) && FRowSelect[static_cast<size_t>(r)])
            RemoveRows(r, 1);
        else
            ++r;
    }
    EndUpdate();
}

void TCellModel::HideSelectedRows()
{
    BeginUpdate();
    for (int r = FixedRows(); r < RowCount();) {
        if (r < static_cast<int>(FRowSelect.size()) && FRowSelect[static_cast<size_t>(r)]) {
            const int real = RemapRowInv(r);
            HideRows(real, real);
        } else {
            ++r;
        }
    }
    EndUpdate();
}

void TCellModel::HideSelection()
{
    FSavedSelection = Selection();
    SetSelection({ColCount(), RowCount(), ColCount(), RowCount()});
}

void TCellModel::UnHideSelection() { SetSelection(FSavedSelection); }

bool TCellModel::isCell(const AnsiString& s, int& ACol, int& ARow) const
{
    for (int r = 0; r < RowCount(); ++r)
        for (int d = 0; d < ColCount(); ++d)
            if (Cells(RemapCol(d), r) == s) {
                ACol = RemapCol(d);
                ARow = r;
                return true;
            }
    return false;
}

bool TCellModel::GetRowSelect(int ARow)
{
    if (ARow < 0 || ARow >= RowCount())
        throw ECellGridError("Invalid row accessed");
    if (static_cast<int>(FRowSelect.size()) <= ARow)
        FRowSelect.resize(static_cast<size_t>(ARow) + 1, 0);
    return FRowSelect[static_cast<size_t>(ARow)] != 0;
}

void TCellModel::SetRowSelect(int ARow, bool Value)
{
    if (GetRowSelect(ARow) != Value)
        InvalidateRow(ARow);
    FRowSelect[static_cast<size_t>(ARow)] = Value;
}

int TCellModel::GetRowSelectCount() const
{
    return static_cast<int>(std::count(FRowSelect.begin(), FRowSelect.end(), 1));
}

void TCellModel::ClearRowSelect()
{
    for (size_t r = 0; r < FRowSelect.size(); ++r)
        if (FRowSelect[r]) {
            FRowSelect[r] = 0;
            InvalidateRow(static_cast<int>(r));
        }
}
