// The cell grid's update lock, keyboard and focus: what a key does after the base grid's
// navigation (check boxes, clipboard, row insert and delete, Tab on to the next row), typed
// characters, Escape and the Enter advance, the incremental search, focus entering and leaving
// with the validation of an edited cell, and the notifications of a moved row or column.

#include "grid/control/CellGrid.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/InplaceEdit.h"

void TCellGrid::SetLockFlag(bool Value)
{
    if (Value)
        BeginUpdate();
    else
        EndUpdate();
}

void TCellGrid::ShowInplaceEdit() { ShowEditor(); }

void TCellGrid::HideInplaceEdit()
{
    TAliveToken alive = AliveToken();
    if (ColCount() > 0 && RowCount() > 0)
        HideEditControl(Col(), Row());
    if (*alive)
        HideEditor();
}

void TCellGrid::RegisterInputHandlers()
{
    // Nothing paints or erases while the update lock is held.
    RegisterHandler(WM_PAINT, [this](TMessage& m) {
        if (UpdateCount() > 0) {
            m.Result = 0;
            return;
        }
        Inherited(m);
    });
    RegisterHandler(WM_ERASEBKGND, [this](TMessage& m) {
        if (UpdateCount() > 0) {
            m.Result = 0;
            return;
        }
        Inherited(m);
    });
    RegisterHandler(WM_CHAR, [this](TMessage& m) {
        const auto ch = static_cast<unsigned char>(m.WParam);
        // In an editing grid a typed character opens the editor with it (OnKeyPress does not
        // hear it); control characters other than Backspace go the usual way. A Hangul
        // character arrives as two bytes and opens the editor whole.
        if (Options().Contains(goEditing) && !EditorMode() && (ch >= 32 || ch == 8) && ch != 127) {
            if (FPendingKey.Add(static_cast<char>(ch)))
                ShowEditorChar(FPendingKey.Key());
            return;
        }
        Inherited(m);
    });
    RegisterHandler(WM_SETFOCUS, [this](TMessage& m) { SetFocusMessage(m); });
    RegisterHandler(WM_LBUTTONDBLCLK, [this](TMessage& m) { LeftDoubleClick(m); });
    RegisterHandler(WM_RBUTTONDOWN, [this](TMessage& m) { RightPress(m); });
    RegisterHandler(CM_HINTSHOW, [this](TMessage& m) {
        auto* info = reinterpret_cast<THintInfo*>(m.LParam);
        m.Result = info && ShowCellHint(*info) ? 0 : 1;
    });
    RegisterHandler(WM_TIMER, [this](TMessage& m) {
        if (m.WParam == 111)
            HoverTick();
        else
            Inherited(m);
    });
}

void TCellGrid::SetFocusMessage(TMessage& m)
{
    std::shared_ptr<bool> alive = AliveToken();
    Inherited(m);
    if (!*alive || ColCount() == 0 || RowCount() == 0)
        return;
    if (HasStaticEdit(RemapCol(Col()), Row()))
        return;
    auto* lost = reinterpret_cast<TWinControl*>(m.WParam);
    if (InplaceEditor()) {
        if (lost != static_cast<TWinControl*>(InplaceEditor()) && Navigation()->AlwaysEdit && !EditShown()) {
            ShowInplaceEdit();
            m.Result = 0;
        }
    } else if (Navigation()->AlwaysEdit) {
        ShowInplaceEdit();
    }
    if ((RowCount() == 1 && FixedRowAlways) || (ColCount() == 1 && FixedColAlways))
        HideSelection();
}

void TCellGrid::KeyDown(uint16_t& Key, TShiftState Shift)
{
    std::shared_ptr<bool> alive = AliveToken();
    if (FPanning)
        PanEnd();
    FSavedSelection = Selection();
    const int oldCol = Col(), oldRow = Row();
    TStringGrid::KeyDown(Key, Shift);
    if (!*alive || Key == 0)
        return;
    if (SelectionRectangle() && !(Selection() == FSavedSelection)) {
        InvalidateGridRect(Selection());
        FSavedSelection = Selection();
    }
    if (ColCount() == 0 || RowCount() == 0)
        return;
    switch (Key) {
    case VK_SPACE: KeySpace(); return;
    case VK_INSERT:
        if (ClipboardKey(Key, Shift))
            return;
        KeyInsertRow(Shift);
        return;
    case VK_DELETE:
        if (ClipboardKey(Key, Shift))
            return;
        KeyDeleteRow(Shift);
        return;
    case VK_TAB:
        if (!Shift.Contains(ssShift))
            KeyTabWrap(oldCol, oldRow);
        return;
    default: ClipboardKey(Key, Shift); return;
    }
}

void TCellGrid::KeyUp(uint16_t& Key, TShiftState Shift)
{
    if ((Key >= VK_PRIOR && Key <= VK_DOWN) || Key == VK_INSERT || Key == VK_DELETE)
        ClearSearchText();
    const bool arrow = Key >= VK_LEFT && Key <= VK_DOWN;
    std::shared_ptr<bool> alive = AliveToken();
    TStringGrid::KeyUp(Key, Shift);
    if (*alive && arrow && Navigation()->AlwaysEdit)
        ShowInplaceEdit();
}

void TCellGrid::KeyPress(char& Key)
{
    std::shared_ptr<bool> alive = AliveToken();
    if (Key == 27) {
        // Escape puts the cell's text back and ends the edit.
        if (Options().Contains(goEditing) || EditorMode()) {
            RestoreCache();
            if (*alive && EditorMode() && !Options().Contains(goAlwaysShowEditor))
                HideInplaceEdit();
        }
        return;
    }
    if (Key == '\r' && ColCount() > 0 && RowCount() > 0) {
        if (!Focused() || HasStaticEdit(RemapCol(Col()), Row())) {
            AdvanceEdit(Col(), Row(), true, false, false);
            if (!*alive)
                return;
            if (HasCheckBox(RemapCol(Col()), Row()))
                return;
        }
    }
    IncrementalSearch(Key);
    if (*alive)
        TStringGrid::KeyPress(Key);
}

void TCellGrid::DoEnter()
{
    if (SuppressEnterExit)
        return;
    std::shared_ptr<bool> alive = AliveToken();
    TStringGrid::DoEnter();
    if (!*alive || ColCount() == 0 || RowCount() == 0)
        return;
    SelectCell(Col(), Row());
    if (*alive)
        InitValidate(Col(), Row());
}

void TCellGrid::DoExit()
{
    if (SuppressEnterExit)
        return;
    std::shared_ptr<bool> alive = AliveToken();
    if (FEditShown && ColCount() > 0 && RowCount() > 0)
        ValidateOnFocusLoss(Cells(GetRealCol(), Row()));
    if (!*alive)
        return;
    TStringGrid::DoExit();
    if (*alive && !Options().Contains(goAlwaysShowEditor))
        HideEditor();
}

void TCellGrid::Click()
{
    std::shared_ptr<bool> alive = AliveToken();
    TStringGrid::Click();
    if (!*alive)
        return;
    FEditShown = false;
    InitValidate(Col(), Row());
}

void TCellGrid::RowMoved(int FromIndex, int ToIndex)
{
    // The select flag goes with its row before anyone hears of the move. Heights moved with
    // their rows already.
    MoveRowSelect(FromIndex, ToIndex);
    std::shared_ptr<bool> alive = AliveToken();
    TStringGrid::RowMoved(FromIndex, ToIndex);
    if (*alive && EnhRowColMove)
        FMoveMark = true;
}

void TCellGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    std::shared_ptr<bool> alive = AliveToken();
    // The cells moved between real columns, which differ from the display ones while columns
    // are hidden: the event and the sort column take those.
    const TGridCoord real = MovedRealCols();
    const int from = real.X >= 0 ? real.X : FromIndex, to = real.X >= 0 ? real.Y : ToIndex;
    TStringGrid::ColumnMoved(from, to);
    if (!*alive)
        return;
    if (EnhRowColMove)
        FMoveMark = true;
    // The sort column follows its column, and shifts only when the move passes over it.
    const int sort = SortColumn();
    if (sort == from)
        SetSortColumn(to);
    else if (from < sort && to >= sort)
        SetSortColumn(sort - 1);
    else if (from > sort && to <= sort)
        SetSortColumn(sort + 1);
}
