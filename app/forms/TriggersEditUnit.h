#pragma once
// The trigger dialog: pattern, nickname, group, action and the three status boxes of one
// trigger. Its Save writes the fields before it checks them, so a trigger whose pattern or action
// is missing keeps what was typed even when the dialog is then cancelled.

#include "app/forms/ItemEditForm.h"

class TCheckBox;
class TComboEdit;
class TEdit;
class TExSpeedButton;
class TMemo;
class cTriggers;

class TTriggersEditForm : public TItemEditForm {
public:
    explicit TTriggersEditForm(TComponent* AOwner);

    cTriggers* Record() const { return FRecord; }
    void SetRecord(cTriggers* record) { FRecord = record; }
    // Save wrote into the record before it refused.
    bool Written() const { return FWritten; }

    TComboEdit* FromBuffEdit() const { return FFromBuffEdit; }
    TEdit* NickNameEdit() const { return FNickNameEdit; }
    TEdit* GroupNameEdit() const { return FGroupNameEdit; }
    TMemo* ToBuffMemo() const { return FToBuffMemo; }

    // The caption with the number, the boxes from the record.
    void FormActivate();
    void SaveExitButtonClick();
    void ExitButtonClick() { CancelAndClose(); }

protected:
    void DoShow() override;
    void DropRecord() override { FRecord = nullptr; }

private:
    cTriggers* FRecord = nullptr;
    bool FWritten = false;
    TComboEdit* FFromBuffEdit = nullptr;
    TEdit* FNickNameEdit = nullptr;
    TEdit* FGroupNameEdit = nullptr;
    TMemo* FToBuffMemo = nullptr;
    TCheckBox* FOnCheckBox = nullptr;
    TCheckBox* FCycleCheckBox = nullptr;
    TCheckBox* FActionCheckBox = nullptr;
};

// The dialog on the record, owned by owner, modally; freed afterwards.
TDialogEnd EditTriggerRecord(TComponent* owner, cTriggers& record);
