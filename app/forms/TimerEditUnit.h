#pragma once
// The user-timer dialog: name, period, repeat count, cycling, state and command. A cycling timer
// has no repeat count, so its box is disabled while "순환" is checked. The caller applies a saved
// timer to its event; a cancelled edit leaves the running timer as it was.

#include "app/forms/ItemEditForm.h"

class TCheckBox;
class TEdit;
class TExSpinEdit;
class TMemo;
class TRadioGroup;
struct cTimer;

class TTimerEditForm : public TItemEditForm {
public:
    explicit TTimerEditForm(TComponent* AOwner);

    cTimer* Record() const { return FRecord; }
    void SetRecord(cTimer* record) { FRecord = record; }
    bool Written() const { return false; }

    TEdit* NameEdit() const { return FNameEdit; }
    TExSpinEdit* TickEdit() const { return FTickEdit; }
    TExSpinEdit* RepeatEdit() const { return FRepeatEdit; }
    TCheckBox* CycleBox() const { return FCycleBox; }
    TRadioGroup* StatusGroup() const { return FStatusGroup; }
    TMemo* OnEdit() const { return FOnEdit; }

    void SaveBtnClick();
    void ExitVtnClick() { CancelAndClose(); }
    void NameEditExit();
    void CycleBoxClick();

protected:
    void DoShow() override;
    void DropRecord() override { FRecord = nullptr; }

private:
    cTimer* FRecord = nullptr;
    TEdit* FNameEdit = nullptr;
    TExSpinEdit* FTickEdit = nullptr;
    TExSpinEdit* FRepeatEdit = nullptr;
    TCheckBox* FCycleBox = nullptr;
    TRadioGroup* FStatusGroup = nullptr;
    TMemo* FOnEdit = nullptr;
};

TDialogEnd EditTimerRecord(TComponent* owner, cTimer& record);
