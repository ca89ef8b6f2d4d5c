#pragma once
// The key-macro dialog: the key, taken from a hot-key box as the 16-bit shortcut value, and the
// command text. A key that another macro of the list has is refused, on leaving the box and on
// Save; the macro's own unchanged key is not.

#include "app/forms/ItemEditForm.h"

class TExSpeedButton;
class THotKey;
class TMemo;
class cKeyMacro;

class TMacroEditForm : public TItemEditForm {
public:
    explicit TMacroEditForm(TComponent* AOwner);

    cKeyMacro* Record() const { return FRecord; }
    // The record, the list it lives in (or will join) and the list's record it stands for (null
    // for a new one).
    void SetRecord(cKeyMacro* record, const cKeyMacro* self, const TKeyMacroList* list);
    bool Written() const { return false; }

    THotKey* HotKey1() const { return FHotKey1; }
    TMemo* Buff() const { return FBuff; }

    void FormActivate();
    void HotKey1Exit();
    void SaveButtonClick();
    void CancelButtonClick() { CancelAndClose(); }

protected:
    void DoShow() override;
    void DropRecord() override { FRecord = nullptr; }

private:
    bool KeyTaken() const;

    cKeyMacro* FRecord = nullptr;
    const cKeyMacro* FSelf = nullptr;
    const TKeyMacroList* FList = nullptr;
    THotKey* FHotKey1 = nullptr;
    TMemo* FBuff = nullptr;
};

TDialogEnd EditMacroRecord(TComponent* owner, cKeyMacro& record, const cKeyMacro* self, const TKeyMacroList& list);
