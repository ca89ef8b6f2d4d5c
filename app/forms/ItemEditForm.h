#pragma once
// What the six item dialogs share: each edits one record (the caller's), opens modally centred
// on its owner, and ends by Save, which writes the record and closes, or by Cancel, which drops
// the record pointer and closes. The window's close box is Cancel as well. After the modal loop
// the caller reads Record(): null means cancelled. A refused save shows a one-button box and
// gives the offending control the focus back.

#include "app/core/ScriptEditor.h"
#include "platform/gui/Forms.h"

class TItemEditForm : public TForm {
public:
    explicit TItemEditForm(TComponent* AOwner);

protected:
    // Save: the record was written; the dialog closes.
    void SaveAndClose();
    // Cancel: the record pointer is dropped; the dialog closes.
    void CancelAndClose();
    // Drops the dialog's record pointer.
    virtual void DropRecord() = 0;
    void DoClose(TCloseAction& Action) override;
    // Shown and not closing: a control left as the dialog goes is not checked.
    bool Open() const { return Visible() && ModalResult() == mrNone; }
    // A refusal: the box, then the focus back on the control.
    void Refuse(const AnsiString& text, const AnsiString& caption, TWinControl* focus);

private:
    bool FSaving = false;
};

// Shows a dialog modally and frees it: Saved when its record pointer was still set afterwards.
// written: the dialog wrote into the record before it was cancelled (the trigger dialog).
template <class Form>
TDialogEnd RunItemEdit(Form* form)
{
    form->ShowModal();
    const TDialogEnd end = form->Record() ? TDialogEnd::Saved
        : form->Written()                 ? TDialogEnd::CancelledAfterWrite
                                          : TDialogEnd::Cancelled;
    delete form;
    return end;
}
