#include "grid/control/EditLink.h"

#include "grid/control/CellGrid.h"
#include "grid/control/CgInplaceEdit.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/Queue.h"

TEditLink::TEditLink(TComponent* AOwner) : TComponent(AOwner) {}

TEditLink::~TEditLink()
{
    *FAlive = false;
    if (FGrid && FGrid->EditLink == this)
        FGrid->EditLink = nullptr;
}

void TEditLink::SetEditCell(int ACol, int ARow)
{
    FEditCol = ACol;
    FEditRow = ARow;
}

void TEditLink::SetPopupForm(std::unique_ptr<TPopupForm> Form) { FPopupForm = std::move(Form); }

void TEditLink::SetFocus(bool Value)
{
    if (Value) {
        if (TWinControl* c = GetEditControl(); c && c->CanFocus())
            c->SetFocus();
    } else if (FGrid && FGrid->CanFocus()) {
        FGrid->SetFocus();
    }
}

void TEditLink::SetRect(TRect R)
{
    if (TWinControl* c = GetEditControl())
        c->SetBounds(R.Left, R.Top, R.Width(), R.Height());
}

void TEditLink::SetVisible(bool Value)
{
    if (TWinControl* c = GetEditControl())
        c->SetVisible(Value);
}

bool TEditLink::EditedCell(int& RealCol, int& Row) const
{
    if (!FGrid)
        return false;
    if (FEditCol < 0 || FEditRow < 0) {
        RealCol = FGrid->GetRealCol();
        Row = FGrid->Row();
        return true;
    }
    if (FEditCol >= FGrid->ColCount() || FEditRow >= FGrid->RowCount())
        return false;
    RealCol = FGrid->RemapCol(FEditCol);
    Row = FEditRow;
    return true;
}

AnsiString TEditLink::GetCellValue() const
{
    int col = 0, row = 0;
    return EditedCell(col, row) ? FGrid->Cells(col, row) : AnsiString();
}

void TEditLink::SetCellValue(const AnsiString& S)
{
    int col = 0, row = 0;
    if (EditedCell(col, row))
        FGrid->SetCells(col, row, S);
}

TWinControl* TEditLink::GetParent() const
{
    if (EditStyle == esPopup && FPopupForm)
        return FPopupForm.get();
    return FGrid;
}

void TEditLink::HideEditor()
{
    std::shared_ptr<bool> alive = FAlive;
    SetCellValue(GetEditorValue());
    if (!*alive)
        return;
    if (FGrid)
        FGrid->HideInplaceEdit();
    if (!*alive)
        return;
    if (TWinControl* c = GetEditControl())
        c->Perform(WM_CLOSE);
}

void TEditLink::EditExit(TObject*)
{
    std::shared_ptr<bool> alive = FAlive;
    HideEditor();
    if (!*alive)
        return;
    // The control's own handler (OnExit) is running: the control and the popup form go once it
    // has returned.
    std::shared_ptr<TPopupForm> form(FPopupForm.release());
    if (form)
        form->OnDeactivate = nullptr;
    QueueCall([this, alive, form] {
        if (*alive)
            DestroyEditor();
    });
}

void TEditLink::FormExit(TObject* Sender)
{
    std::shared_ptr<bool> alive = FAlive;
    if (FGrid)
        if (TInplaceEdit* e = FGrid->InplaceEditor())
            e->SetText(GetEditorValue());
    if (!*alive)
        return;
    if (FKeyExit)
        SetCellValue(GetEditorValue());
    else
        EditExit(Sender);
}

void TEditLink::EditKeyDown(TObject*, uint16_t& Key, TShiftState Shift)
{
    bool ends = false;
    switch (Key) {
    case VK_RETURN: ends = !WantKeyReturn; break;
    case VK_ESCAPE: ends = !WantKeyEscape; break;
    case VK_PRIOR:
    case VK_NEXT: ends = !WantKeyPriorNext; break;
    case VK_HOME:
    case VK_END: ends = !WantKeyHomeEnd; break;
    case VK_LEFT:
    case VK_RIGHT: ends = !WantKeyLeftRight; break;
    case VK_UP:
    case VK_DOWN: ends = !WantKeyUpDown; break;
    default: break;
    }
    if (!ends || !FGrid)
        return;
    std::shared_ptr<bool> alive = FAlive;
    TCellGrid* grid = FGrid;
    TAliveToken gridAlive = grid->Liveness();
    const uint16_t key = Key;
    FKeyExit = true;
    grid->SetFocus();
    if (!*alive || !*gridAlive)
        return;
    if (EditStyle == esPopup && FPopupForm) {
        // The grid's window took the focus without the popup form hearing of its deactivation
        // (the window system moves the activation later, or not at all): what the deactivation
        // and the control's exit do happens here, so the value goes back and the form goes.
        FormExit(FPopupForm.get());
        if (!*alive || !*gridAlive)
            return;
        FKeyExit = false;
        if (FPopupForm)
            EditExit(GetEditControl());
        if (!*alive || !*gridAlive)
            return;
    }
    FKeyExit = false;
    if (key == VK_ESCAPE)
        grid->RestoreCache();
    grid->HideInplaceEdit();
    if (!*gridAlive)
        return;
    if (key == VK_RETURN)
        grid->AdvanceEdit(grid->Col(), grid->Row(), true, false, false);
    if ((key == VK_UP || key == VK_DOWN) && *gridAlive) {
        uint16_t k = key;
        grid->GridKeyDown(k, Shift);
    }
    if (*alive)
        Key = 0;
}
