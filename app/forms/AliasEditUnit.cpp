#include "app/forms/AliasEditUnit.h"

#include "app/core/ItemEditTexts.h"
#include "app/core/ItemEdits.h"
#include "app/forms/FormPlace.h"
#include "controls/lib/ExSpeedButton.h"
#include "platform/gui/ButtonCtrls.h"
#include "platform/gui/StdCtrls.h"

using namespace ItemText;

TAliasEditForm::TAliasEditForm(TComponent* AOwner) : TItemEditForm(AOwner)
{
    SetName("AliasEditForm");
    SetCaption(AliasCaption);
    SetClientWidth(400);
    SetClientHeight(220);
    Place<TLabel>(this, this, "Label1", AliasNameLabel, 8, 12, 70, 16);
    FNameEdit = Place<TEdit>(this, this, "NameEdit", 80, 8, 160, 22);
    FNameEdit->SetMaxLength(ItemEdit::kAliasNameMaxLength);
    FTextEdit = Place<TMemo>(this, this, "TextEdit", 8, 38, 384, 140);
    Place<TExSpeedButton>(this, this, "SaveBtn", SaveButton, 240, 186, 72, 26, [this](TObject*) { SaveBtnClick(); });
    Place<TExSpeedButton>(this, this, "ExitBtn", CancelButton, 320, 186, 72, 26, [this](TObject*) { ExitBtnClick(); });
}

void TAliasEditForm::SetRecord(cAlias* record, const cAlias* self, const TAliasList* list)
{
    FRecord = record;
    FSelf = self;
    FList = list;
}

void TAliasEditForm::DoShow()
{
    if (FRecord) {
        FNameEdit->SetText(FRecord->Name);
        FTextEdit->SetText(FRecord->Text);
    }
    TItemEditForm::DoShow();
}

void TAliasEditForm::SaveBtnClick()
{
    if (!FRecord)
        return;
    const AnsiString name = FNameEdit->Text();
    const TAliasList empty;
    switch (ItemEdit::CheckAliasName(FList ? *FList : empty, FSelf, name)) {
    case ItemEdit::TNameCheck::Empty: Refuse(EmptyName, ErrorCaption, FNameEdit); return;
    case ItemEdit::TNameCheck::Taken: Refuse(AliasTaken, ErrorCaption, FNameEdit); return;
    case ItemEdit::TNameCheck::Ok: break;
    }
    ItemEdit::SaveAlias(*FRecord, name, FTextEdit->Text());
    SaveAndClose();
}

TDialogEnd EditAliasRecord(TComponent* owner, cAlias& record, const cAlias* self, const TAliasList& list)
{
    auto* form = new TAliasEditForm(owner);
    form->SetRecord(&record, self, &list);
    return RunItemEdit(form);
}
