#pragma once
// The alias dialog: name and text. An empty name, or one another alias has (compared exactly,
// letter case included), is refused.

#include "app/forms/ItemEditForm.h"

class TEdit;
class TMemo;
struct cAlias;

class TAliasEditForm : public TItemEditForm {
public:
    explicit TAliasEditForm(TComponent* AOwner);

    cAlias* Record() const { return FRecord; }
    void SetRecord(cAlias* record, const cAlias* self, const TAliasList* list);
    bool Written() const { return false; }

    TEdit* NameEdit() const { return FNameEdit; }
    TMemo* TextEdit() const { return FTextEdit; }

    void SaveBtnClick();
    void ExitBtnClick() { CancelAndClose(); }

protected:
    void DoShow() override;
    void DropRecord() override { FRecord = nullptr; }

private:
    cAlias* FRecord = nullptr;
    const cAlias* FSelf = nullptr;
    const TAliasList* FList = nullptr;
    TEdit* FNameEdit = nullptr;
    TMemo* FTextEdit = nullptr;
};

TDialogEnd EditAliasRecord(TComponent* owner, cAlias& record, const cAlias* self, const TAliasList& list);
