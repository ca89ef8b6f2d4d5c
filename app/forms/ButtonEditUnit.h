#pragma once
// The command button dialog: name, On and Off commands and the state. Only a button with an Off
// command (a toggle) can be saved "On".

#include "app/forms/ItemEditForm.h"

class TEdit;
class TMemo;
class TRadioGroup;
struct cButton;

class TButtonEditForm : public TItemEditForm {
public:
    explicit TButtonEditForm(TComponent* AOwner);

    cButton* Record() const { return FRecord; }
    void SetRecord(cButton* record) { FRecord = record; }
    bool Written() const { return false; }

    TEdit* NameEdit() const { return FNameEdit; }
    TMemo* OnEdit() const { return FOnEdit; }
    TMemo* OffEdit() const { return FOffEdit; }
    TRadioGroup* StatusGroup() const { return FStatusGroup; }

    void ExSpeedButton1Click();
    void ExSpeedButton2Click() { CancelAndClose(); }
    void NameEditExit();
    void StatusGroupClick();

protected:
    void DoShow() override;
    void DropRecord() override { FRecord = nullptr; }

private:
    cButton* FRecord = nullptr;
    TEdit* FNameEdit = nullptr;
    TMemo* FOnEdit = nullptr;
    TMemo* FOffEdit = nullptr;
    TRadioGroup* FStatusGroup = nullptr;
    bool FShowing = false;
};

TDialogEnd EditButtonRecord(TComponent* owner, cButton& record);
