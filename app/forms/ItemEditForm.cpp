#include "app/forms/ItemEditForm.h"

#include "platform/gui/Dialogs.h"

TItemEditForm::TItemEditForm(TComponent* AOwner) : TForm(AOwner)
{
    SetPosition(poOwnerFormCenter);
    SetBorderStyle(bsDialog);
}

void TItemEditForm::SaveAndClose()
{
    FSaving = true;
    Close();
}

void TItemEditForm::CancelAndClose()
{
    DropRecord();
    Close();
}

void TItemEditForm::DoClose(TCloseAction& Action)
{
    TForm::DoClose(Action);
    // Closed by anything but Save (the close box among them): cancelled.
    if (Action != caNone && !FSaving)
        DropRecord();
}

void TItemEditForm::Refuse(const AnsiString& text, const AnsiString& caption, TWinControl* focus)
{
    MessageBox(text, caption, MB_OK);
    if (focus && focus->CanFocus())
        focus->SetFocus();
}
