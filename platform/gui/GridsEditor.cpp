// The framework grid's in-place editor: when it may show, making and placing it, typed keys
// that start it, hiding it with the text written back, and following the cell when the view
// scrolls or sizes change.

#include "platform/gui/Forms.h"
#include "platform/gui/Grids.h"
#include "platform/gui/InplaceEdit.h"

TInplaceEdit* TCustomGrid::CreateEditor() { return new TInplaceEdit(this); }

bool TCustomGrid::IsActiveControl() const
{
    if (Focused() || (FInplaceEdit && FInplaceEdit->HandleAllocated() && FInplaceEdit->Focused()))
        return true;
    const TCustomForm* form = ParentForm();
    TWinControl* active = form ? form->ActiveControl() : nullptr;
    return active && (active == this || ContainsControl(active));
}

bool TCustomGrid::CanEditShow()
{
    const TGridOptions o = Options();
    return o.Contains(goEditing) && !o.Contains(goRowSelect) && FEditorMode && !InState(csDesigning) &&
        ColCount() > 0 && RowCount() > 0 && Col() >= TCustomGridData::FixedCols() &&
        Row() >= TCustomGridData::FixedRows() && (o.Contains(goAlwaysShowEditor) || IsActiveControl());
}

void TCustomGrid::SetEditorMode(bool Value)
{
    if (Value)
        ShowEditor();
    else
        HideEditor();
}

void TCustomGrid::ShowEditor()
{
    FEditorMode = true;
    UpdateEdit();
}

void TCustomGrid::ShowEditorChar(const AnsiString& Ch)
{
    TAliveToken alive = AliveToken();
    ShowEditor();
    if (*alive && FInplaceEdit && FInplaceEdit->Visible())
        PostTypedText(FInplaceEdit, Ch);
}

void TCustomGrid::HideEditor()
{
    FEditorMode = false;
    HideEdit();
}

void TCustomGrid::UpdateEdit()
{
    TAliveToken alive = AliveToken();
    if (!CanEditShow() || !*alive)
        return;
    if (!FInplaceEdit) {
        FInplaceEdit = CreateEditor();
        if (!FInplaceEdit)
            return;
        if (FInplaceEdit->Parent() != this)
            FInplaceEdit->SetParent(this);
    }
    // A hidden editor or one left on another cell loads the current cell.
    if (!FInplaceEdit->Visible() || Col() != FInplaceCol || Row() != FInplaceRow) {
        HideEdit();
        if (!*alive || !FInplaceEdit)
            return;
        FInplaceCol = Col();
        FInplaceRow = Row();
        FInplaceEdit->UpdateContents();
    }
    const TRect r = CellRect(Col(), Row());
    if (r.IsEmpty())
        return;
    FInplaceEdit->Move(r);
}

void TCustomGrid::HideEdit()
{
    if (!FInplaceEdit || !FInplaceEdit->Visible())
        return;
    TAliveToken alive = AliveToken();
    // Only a text the user changed goes back (the cell followed the typing already).
    if (FInplaceCol >= 0 && FInplaceEdit->Text() != FInplaceEdit->LoadedText()) {
        SetEditText(FInplaceCol, FInplaceRow, FInplaceEdit->Text());
        if (!*alive || !FInplaceEdit)
            return;
    }
    FInplaceCol = FInplaceRow = -1;
    if (FInplaceEdit->HandleAllocated() && FInplaceEdit->Focused() && CanFocus()) {
        SetFocus();
        if (!*alive || !FInplaceEdit)
            return;
    }
    FInplaceEdit->SetVisible(false);
}

void TCustomGrid::EditorFollowsCell()
{
    if (!FInplaceEdit || FInplaceCol < 0 || !FEditorMode)
        return;
    const TRect r = CellRect(FInplaceCol, FInplaceRow);
    if (r.IsEmpty()) {
        // Out of view: the editor waits hidden at its place and comes back with its cell.
        FInplaceEdit->Place(TRect{-1000, -1000, -1000 + FInplaceEdit->Width(), -1000 + FInplaceEdit->Height()});
        return;
    }
    FInplaceEdit->Place(r);
}

void TCustomGrid::CurrentMoved(TGridCoord)
{
    if (!FEditorMode)
        return;
    if (Options().Contains(goAlwaysShowEditor))
        UpdateEdit();
    else
        HideEditor();
}

bool TCustomGrid::TakeTypedByte(char Ch, AnsiString& Whole)
{
    if (!FTypedLead.empty()) {
        Whole = FTypedLead + Ch;
        FTypedLead.clear();
        return true;
    }
    if (IsLeadByte(static_cast<unsigned char>(Ch))) {
        FTypedLead.assign(1, Ch);
        return false;
    }
    Whole.assign(1, Ch);
    return true;
}
