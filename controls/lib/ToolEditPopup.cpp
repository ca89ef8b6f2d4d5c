// The drop-down window of an edit with a button and the protocol between them: the edit opens
// it under itself, hands it the text as a value, and on close-up takes the focus back and, when
// the value is accepted, writes it as its text.

#include "controls/lib/ToolEdit.h"

#include "platform/gui/Forms.h"
#include "platform/gui/PopupWindows.h"

// --- TPopupWindow -------------------------------------------------------------------------------

TPopupWindow::TPopupWindow(TWinControl* AOwner) : TCustomControl(AOwner), FEditor(AOwner)
{
    FControlStyle |= csReplicatable | csAcceptsControls;
    SetVisible(false);
    SetParent(AOwner);
}

Variant TPopupWindow::GetValue() { throw EAbstractError("Abstract Error"); }

void TPopupWindow::SetValue(const Variant&) { throw EAbstractError("Abstract Error"); }

void TPopupWindow::CloseUp(bool Accept)
{
    if (OnCloseUp)
        OnCloseUp(this, Accept);
}

void TPopupWindow::CreateParams(TCreateParams& Params)
{
    Params.Style |= WS_POPUP | WS_BORDER;
    Params.WindowClassStyle |= CS_SAVEBITS;
}

void TPopupWindow::Show(TPoint Origin) { ShowPopupWindow(this, Origin); }

void TPopupWindow::Hide() { SetVisible(false); }

void TPopupWindow::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TAliveToken alive = AliveToken();
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (*alive && Button == mbLeft)
        CloseUp(PtInRect(ClientRect(), TPoint{X, Y}));
}

void TPopupWindow::InvalidateEditor()
{
    if (!FEditor)
        return;
    if (auto* combo = dynamic_cast<TCustomComboEdit*>(FEditor))
        combo->InvalidateRect(Rect(0, 0, combo->ClientWidth() - combo->ButtonWidth() - 2, combo->ClientHeight() + 1));
    else
        FEditor->Invalidate();
    FEditor->Update();
}

// --- The protocol on the edit's side ------------------------------------------------------------

void TCustomComboEdit::SetPopup(TPopupWindow* Value)
{
    if (FPopup == Value)
        return;
    if (FPopup) {
        FPopup->RemoveFreeNotification(this);
        FPopup->OnCloseUp = nullptr;
    }
    FPopup = Value;
    FPopupVisible = false;
    if (FPopup) {
        FPopup->FreeNotification(this);
        FPopup->OnCloseUp = [this](TObject* sender, bool accept) { PopupCloseUp(sender, accept); };
    }
}

void TCustomComboEdit::PopupDropDown(bool DisableEdit)
{
    if (!FPopup || GetReadOnly() || FPopupVisible)
        return;
    const TPoint origin =
        PopupOrigin(ClientOrigin(), TSize{Width(), Height()}, TSize{FPopup->Width(), FPopup->Height()},
                    TSize{Screen->Width(), Screen->Height()}, FPopupAlign);
    const AnsiString text = MaskedText();
    SetPopupValue(text.empty() ? Variant::Null() : Variant(text));
    TAliveToken alive = AliveToken();
    if (CanFocus())
        SetFocus();
    if (!*alive || !FPopup)
        return;
    ShowPopup(origin);
    FPopupVisible = true;
    if (DisableEdit)
        TCustomMaskEdit::SetReadOnly(true);
}

void TCustomComboEdit::ShowPopup(TPoint Origin) { FPopup->Show(Origin); }

void TCustomComboEdit::HidePopup() { FPopup->Hide(); }

void TCustomComboEdit::PopupCloseUp(TObject*, bool Accept)
{
    if (!FPopup || !FPopupVisible)
        return;
    TAliveToken alive = AliveToken();
    if (TControl* capture = GetCaptureControl())
        capture->SetMouseCapture(false);
    try {
        Variant value = GetPopupValue();
        HidePopup();
        try {
            if (CanFocus())
                SetFocus();
        } catch (const std::exception&) {
            // The value still goes into the edit when it cannot take the focus back.
        }
        if (!*alive)
            return;
        ApplyReadOnly();
        Invalidate();
        if (Accept && AcceptPopup(value) && EditCanModify()) {
            AcceptValue(value);
            if (*alive && Focused())
                SelectAll();
        }
    } catch (...) {
        if (*alive)
            FPopupVisible = false;
        throw;
    }
    if (*alive)
        FPopupVisible = false;
}

bool TCustomComboEdit::AcceptPopup(Variant&) { return true; }

void TCustomComboEdit::AcceptValue(const Variant& Value)
{
    const AnsiString text = VarToStr(Value);
    if (MaskedText() == text)
        return;
    TAliveToken alive = AliveToken();
    SetMaskedText(text);
    if (!*alive)
        return;
    SetModified(true);
    UpdatePopupVisible();
    DoChange();
}

void TCustomComboEdit::SetPopupValue(const Variant& Value)
{
    if (FPopup)
        FPopup->SetValue(Value);
}

Variant TCustomComboEdit::GetPopupValue() { return FPopup ? FPopup->GetValue() : Variant(AnsiString()); }

void TCustomComboEdit::UpdatePopupVisible() { FPopupVisible = FPopup && FPopup->Visible(); }

bool TCustomComboEdit::ClosePopupOnCancelMode(const TControl* Sender) const
{
    if (Sender == this || Sender == FButton || Sender == FBtnControl)
        return false;
    return !(FPopup && Sender && FPopup->ContainsControl(Sender));
}
