// The check box, the edits with a button and the push button editor controls.

#include "grid/control/CellGrid.h"
#include "grid/control/CellGridEditors.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/Sound.h"
#include "platform/gui/StdMessages.h"

namespace {

bool EndsEditBtn(uint16_t Key)
{
    return Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN;
}

}  // namespace

// --- TGridCheckBox ---------------------------------------------------------------------------------

TGridCheckBox::TGridCheckBox(TComponent* AOwner) : TCheckBox(AOwner), TGridEditorLink(AOwner) {}

void TGridCheckBox::KeyDown(uint16_t& Key, TShiftState Shift)
{
    const bool ends = Key == VK_RETURN || Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END || Key == VK_HOME ||
        Key == VK_LEFT || Key == VK_UP || Key == VK_RIGHT || Key == VK_DOWN;
    if (!ends || !FGrid) {
        TCheckBox::KeyDown(Key, Shift);
        return;
    }
    const uint16_t key = Key;
    Key = 0;
    FinishEdit(key, Shift, key == VK_UP || key == VK_DOWN, false);
}

void TGridCheckBox::DoExit()
{
    TAliveToken alive = AliveToken();
    if (FGrid)
        FGrid->HideInplaceEdit();
    if (*alive)
        TCheckBox::DoExit();
}

// --- TGridEditBtn ----------------------------------------------------------------------------------

TGridEditBtn::TGridEditBtn(TComponent* AOwner) : TCgEditBtn(AOwner), TGridEditorLink(AOwner)
{
    OnClickBtn = [this](TObject*) { ExtClick(); };
}

void TGridEditBtn::ExtClick()
{
    if (!FGrid)
        return;
    TAliveToken alive = AliveToken();
    const AnsiString text = FGrid->EllipsClick(Text());
    if (!*alive)
        return;
    SetText(text);
    SelectAll();
    Invalidate();
}

void TGridEditBtn::KeyDown(uint16_t& Key, TShiftState Shift)
{
    if (Shift.Contains(ssCtrl) || !EndsEditBtn(Key) || !FGrid) {
        TCgEditBtn::KeyDown(Key, Shift);
        return;
    }
    TAliveToken alive = AliveToken();
    const uint16_t key = Key;
    Key = 0;
    const bool ended = EndTextEdit(this, key);
    if (!*alive || !ended)
        return;
    FinishEdit(key, Shift, key == VK_UP || key == VK_DOWN, false);
}

void TGridEditBtn::KeyPress(char& Key)
{
    const bool trail = FTrail;
    FTrail = !trail && IsLeadByte(static_cast<unsigned char>(Key));
    if (Key == '\r') {
        Key = 0;
        return;
    }
    if (FGrid) {
        const TTypedChar t = FilterEditBtnChar(FGrid->CurrentEditorType(), Key, trail, Text(), SelStart(), SelLength());
        if (t.Verdict != cvAccept) {
            if (t.Verdict == cvRefuseBeep)
                MessageBeep(0);
            Key = 0;
            return;
        }
    }
    // Only Tab and the digits reach the edit's own key-press event.
    if (Key == '\t' || (Key >= '0' && Key <= '9'))
        TCgEditBtn::KeyPress(Key);
}

void TGridEditBtn::DoExit()
{
    TAliveToken alive = AliveToken();
    if (FGrid)
        FGrid->HideInplaceEdit();
    if (*alive)
        TCgEditBtn::DoExit();
}

// --- TGridUnitEditBtn ------------------------------------------------------------------------------

TGridUnitEditBtn::TGridUnitEditBtn(TComponent* AOwner) : TCgUnitEditBtn(AOwner), TGridEditorLink(AOwner)
{
    RegisterHandler(WM_CHAR, [this](TMessage& m) {
        if (m.WParam == '\r') {
            m.WParam = 0;
            return;
        }
        Inherited(m);
    });
}

void TGridUnitEditBtn::KeyDown(uint16_t& Key, TShiftState Shift)
{
    if (!EndsEditBtn(Key) || !FGrid) {
        TCgUnitEditBtn::KeyDown(Key, Shift);
        return;
    }
    TAliveToken alive = AliveToken();
    const uint16_t key = Key;
    Key = 0;
    if (key == VK_ESCAPE) {
        const TUnitSplit shown = SplitUnitText(FShownText);
        SetText(shown.Number);
        SetRestored(true);
    } else if (key == VK_RETURN || key == VK_UP || key == VK_DOWN) {
        // The number alone goes into the cell to be validated; the unit follows when the
        // editor closes. Nothing goes in while number and unit are as they were.
        if (Text() + UnitID() != FShownText) {
            const AnsiString shown = FShownText;
            FShownText.clear();
            const bool valid = CommitText(this, Text(), [this] {
                SetText(FGrid->Cells(FGrid->GetRealCol(), FGrid->Row()));
                SetSelStart(static_cast<int>(Text().size()));
            });
            if (!*alive)
                return;
            FShownText = valid ? AnsiString() : shown;
            if (!valid)
                return;
        }
    }
    FinishEdit(key, Shift, key == VK_UP || key == VK_DOWN, false);
}

void TGridUnitEditBtn::DoExit()
{
    TAliveToken alive = AliveToken();
    if (FGrid)
        FGrid->HideInplaceEdit();
    if (*alive)
        TCgUnitEditBtn::DoExit();
}

// --- TGridButton -----------------------------------------------------------------------------------

TGridButton::TGridButton(TComponent* AOwner) : TButton(AOwner), TGridEditorLink(AOwner)
{
    RegisterHandler(WM_LBUTTONUP, [this](TMessage& m) {
        if (FGrid) {
            TAliveToken alive = AliveToken();
            const AnsiString caption = FGrid->EllipsClick(Caption());
            if (!*alive)
                return;
            SetCaption(caption);
        }
        Inherited(m);
    });
}

void TGridButton::KeyDown(uint16_t& Key, TShiftState Shift)
{
    if (Key != VK_ESCAPE || !FGrid) {
        TButton::KeyDown(Key, Shift);
        return;
    }
    TCellGrid* grid = FGrid;
    TAliveToken alive = grid->Liveness();
    Key = 0;
    SetVisible(false);
    SetEnabled(false);
    grid->HideEditControl(grid->Col(), grid->Row());
    if (*alive && grid->CanFocus())
        grid->SetFocus();
    if (!*alive)
        return;
    grid->RestoreCache();
    grid->Perform(WM_KEYDOWN, VK_ESCAPE);
}

void TGridButton::KeyUp(uint16_t& Key, TShiftState Shift)
{
    if (!FGrid) {
        TButton::KeyUp(Key, Shift);
        return;
    }
    TCellGrid* grid = FGrid;
    TAliveToken alive = grid->Liveness();
    if (Key >= VK_LEFT && Key <= VK_DOWN) {
        const uint16_t key = Key;
        grid->Perform(WM_KEYDOWN, key);
        if (!*alive)
            return;
        grid->HideEditControl(grid->Col(), grid->Row());
        if (*alive && grid->CanFocus())
            grid->SetFocus();
        if (*alive)
            grid->Perform(WM_KEYUP, key);
        Key = 0;
        return;
    }
    if (Key == VK_SPACE) {
        TAliveToken self = AliveToken();
        const AnsiString caption = grid->EllipsClick(Caption());
        if (!*self)
            return;
        SetCaption(caption);
        if (CanFocus())
            SetFocus();
        Invalidate();
        return;
    }
    TButton::KeyUp(Key, Shift);
}

void TGridButton::DoExit()
{
    TAliveToken alive = AliveToken();
    if (FGrid)
        FGrid->HideInplaceEdit();
    if (*alive)
        TButton::DoExit();
}
