#include "app/forms/VarEditUnit.h"

#include "app/core/ItemEditTexts.h"
#include "app/core/ItemEdits.h"
#include "app/forms/FormPlace.h"
#include "controls/lib/ExSpeedButton.h"
#include "platform/gui/ButtonCtrls.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Mask.h"
#include "platform/gui/StdCtrls.h"

using namespace ItemText;

namespace {
// The type group's items, in order.
constexpr int kTextItem = 0, kNumberItem = 1;
}  // namespace

TVarEditForm::TVarEditForm(TComponent* AOwner) : TItemEditForm(AOwner)
{
    SetName("VarEditForm");
    SetCaption(VarCaption);
    Font()->SetName(GulimChe);
    SetClientWidth(400);
    SetClientHeight(230);
    Place<TLabel>(this, this, "Label1", VarNameLabel, 8, 14, 60, 16);
    FNameEdit = Place<TMaskEdit>(this, this, "NameEdit", 72, 10, 160, 22);
    FNameEdit->OnKeyPress = [this](TObject*, char& Key) { NameEditKeyPress(Key); };
    FTypeGroup = Place<TRadioGroup>(this, this, "TypeGroup", VarTypeGroup, 244, 0, 148, 40);
    FTypeGroup->SetColumns(2);
    FTypeGroup->Items()->Add(VarTypeText);
    FTypeGroup->Items()->Add(VarTypeNumber);
    FValueMemo = Place<TMemo>(this, this, "ValueMemo", 8, 46, 384, 140);
    Place<TExSpeedButton>(this, this, "SaveBtn", SaveButton, 240, 194, 72, 28, [this](TObject*) { SaveBtnClick(); });
    Place<TExSpeedButton>(this, this, "ExitBtn", VarExit, 320, 194, 72, 28, [this](TObject*) { ExitBtnClick(); });
}

void TVarEditForm::SetRecord(cVariables* record, const cVariables* self, const TVariableList* list)
{
    FRecord = record;
    FSelf = self;
    FList = list;
}

void TVarEditForm::DoShow()
{
    if (FRecord) {
        FNameEdit->SetText(FRecord->Name);
        FTypeGroup->SetItemIndex(FRecord->Type == 'S' ? kTextItem : kNumberItem);
        FValueMemo->SetText(FRecord->Value);
    }
    TItemEditForm::DoShow();
}

void TVarEditForm::NameEditKeyPress(char& Key)
{
    if (!ItemEdit::VariableNameTakes(Key))
        Key = 0;
}

void TVarEditForm::SaveBtnClick()
{
    if (!FRecord)
        return;
    const AnsiString name = FNameEdit->Text();
    AnsiString taken;
    const TVariableList empty;
    switch (ItemEdit::CheckVariableName(FList ? *FList : empty, FSelf, name, taken)) {
    case ItemEdit::TNameCheck::Empty: Refuse(EmptyName, ErrorCaption, FNameEdit); return;
    case ItemEdit::TNameCheck::Taken:
        MessageBox(ItemEdit::VariableTakenText(taken), VarTakenCaption, MB_OK);
        FNameEdit->SetText("");
        return;
    case ItemEdit::TNameCheck::Ok: break;
    }
    ItemEdit::SaveVariable(*FRecord, name, FTypeGroup->ItemIndex() == kNumberItem, FValueMemo->Text());
    SaveAndClose();
}

TDialogEnd EditVariableRecord(TComponent* owner, cVariables& record, const cVariables* self, const TVariableList& list)
{
    auto* form = new TVarEditForm(owner);
    form->SetRecord(&record, self, &list);
    return RunItemEdit(form);
}
