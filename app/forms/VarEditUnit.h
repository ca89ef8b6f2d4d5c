#pragma once
// The variable dialog: name, type and value. Blanks typed into the name are swallowed; an empty
// name, or one another variable has, is refused (the taken name empties the box).

#include "app/forms/ItemEditForm.h"

class TMaskEdit;
class TMemo;
class TRadioGroup;
class cVariables;

class TVarEditForm : public TItemEditForm {
public:
    explicit TVarEditForm(TComponent* AOwner);

    cVariables* Record() const { return FRecord; }
    void SetRecord(cVariables* record, const cVariables* self, const TVariableList* list);
    bool Written() const { return false; }

    TMaskEdit* NameEdit() const { return FNameEdit; }
    TRadioGroup* TypeGroup() const { return FTypeGroup; }
    TMemo* ValueMemo() const { return FValueMemo; }

    void SaveBtnClick();
    void ExitBtnClick() { CancelAndClose(); }
    void NameEditKeyPress(char& Key);

protected:
    void DoShow() override;
    void DropRecord() override { FRecord = nullptr; }

private:
    cVariables* FRecord = nullptr;
    const cVariables* FSelf = nullptr;
    const TVariableList* FList = nullptr;
    TMaskEdit* FNameEdit = nullptr;
    TRadioGroup* FTypeGroup = nullptr;
    TMemo* FValueMemo = nullptr;
};

TDialogEnd EditVariableRecord(TComponent* owner, cVariables& record, const cVariables* self, const TVariableList& list);
