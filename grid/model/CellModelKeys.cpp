// What the grid's own keys do to its cells and rows once the base grid has moved the current
// cell: Space flips a check box, Insert and Delete add and remove rows, Tab from the last normal
// column goes on to the next row. The control calls these from its key-down handling.

#include "grid/model/CellModel.h"

bool TCellModel::KeySpace()
{
    const int col = Col(), row = Row();
    const int real = RemapCol(col);
    bool canEdit = Options().Contains(goEditing);
    if (HasStaticEdit(real, row))
        GetCellReadOnly(real, row, canEdit);
    if (!canEdit)
        return false;
    ToggleCheck(real, row, true);
    bool state = false;
    GetCheckBoxState(real, row, state);
    if (OnCheckBoxClick)
        OnCheckBoxClick(Sender(), col, row, state);
    return true;
}

bool TCellModel::KeyInsertRow(TShiftState Shift)
{
    if (!Navigation()->AllowInsertRow || Shift.Contains(ssCtrl) || Shift.Contains(ssShift) || Shift.Contains(ssAlt))
        return false;
    const int row = Row();
    bool canInsert = true;
    if (OnCanInsertRow)
        OnCanInsertRow(Sender(), row, canInsert);
    if (!canInsert)
        return true;
    if (Navigation()->InsertPosition == pInsertAfter) {
        const TAliveToken alive = GridAliveToken();
        InsertRows(row + 1, 1);
        if (OnAutoInsertRow)
            OnAutoInsertRow(Sender(), row + 1);
        if (*alive && row + 1 < RowCount())
            SetRow(row + 1);
    } else {
        InsertRows(row, 1);
        if (OnAutoInsertRow)
            OnAutoInsertRow(Sender(), row);
    }
    return true;
}

bool TCellModel::KeyDeleteRow(TShiftState Shift)
{
    const int dataRows = RowCount() - FixedFooters() - FixedRows();
    const int row = Row();
    // Only a data row goes: never a header or a footer row.
    if (!Navigation()->AllowDeleteRow || Shift.Contains(ssAlt) || dataRows < 1 || row < FixedRows() ||
        row >= RowCount() - FixedFooters())
        return false;
    bool canDelete = true;
    if (OnCanDeleteRow)
        OnCanDeleteRow(Sender(), row, canDelete);
    if (!canDelete)
        return true;
    if (dataRows > 1)
        RemoveRows(row, 1);
    else
        ClearRows(row, 1);
    const int remaining = RowCount() - FixedFooters() - FixedRows();
    if (Row() >= RowCount() - FixedFooters() && remaining > 1 && Row() - 1 >= FixedRows()) {
        // The move's handlers may free the grid; the event then has no grid to tell of.
        const TAliveToken alive = GridAliveToken();
        SetRow(Row() - 1);
        if (*alive && OnAutoDeleteRow)
            OnAutoDeleteRow(Sender(), Row() + 1);
    } else if (OnAutoDeleteRow) {
        OnAutoDeleteRow(Sender(), Row());
    }
    return true;
}

void TCellModel::KeyTabWrap(int OldCol, int OldRow)
{
    if (!Options().Contains(goTabs) || FixedRightCols() < 1 || OldCol != ColCount() - FixedRightCols() - 1)
        return;
    const int next = OldRow >= RowCount() - FixedFooters() - 1 ? FixedRows() : OldRow + 1;
    const TAliveToken alive = GridAliveToken();
    if (next >= 0 && next < RowCount())
        SetRow(next);
    if (*alive && FixedCols() < ColCount())
        SetCol(FixedCols());
}
