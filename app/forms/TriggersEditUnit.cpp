#include "app/forms/TriggersEditUnit.h"

#include "app/core/ItemEditTexts.h"
#include "app/core/ItemEdits.h"
#include "app/forms/FormPlace.h"
#include "controls/lib/ExSpeedButton.h"
#include "controls/lib/ToolEdit.h"
#include "platform/gui/ButtonCtrls.h"
#include "platform/gui/StdCtrls.h"

using namespace ItemText;

TTriggersEditForm::TTriggersEditForm(TComponent* AOwner) : TItemEditForm(AOwner)
{
    SetName("TriggersEditForm");
    SetCaption(TriggerCaption);
    SetClientWidth(472);
    SetClientHeight(318);
    Place<TLabel>(this, this, "Label1", TriggerFromLabel, 8, 12, 70, 16);
    FFromBuffEdit = Place<TComboEdit>(this, this, "FromBuffEdit", 80, 8, 384, 22);
    FFromBuffEdit->SetMaxLength(ItemEdit::kPatternMaxLength);
    Place<TLabel>(this, this, "Label2", TriggerNickLabel, 8, 40, 70, 16);
    FNickNameEdit = Place<TEdit>(this, this, "NickNameEdit", 80, 36, 150, 22);
    Place<TLabel>(this, this, "Label3", TriggerGroupLabel, 240, 40, 40, 16);
    FGroupNameEdit = Place<TEdit>(this, this, "GroupNameEdit", 280, 36, 184, 22);
    Place<TLabel>(this, this, "Label4", TriggerToLabel, 8, 66, 70, 16);
    FToBuffMemo = Place<TMemo>(this, this, "ToBuffMemo", 8, 84, 456, 150);
    FToBuffMemo->Font()->SetName(GulimChe);
    FToBuffMemo->Font()->SetHeight(-13);
    FToBuffMemo->Font()->SetStyle(TFontStyles() << fsBold);
    FToBuffMemo->SetScrollBars(ssBoth);
    FToBuffMemo->SetWantTabs(true);
    auto* status = Place<TGroupBox>(this, this, "GroupBox1", TriggerStatusGroup, 8, 240, 300, 44);
    FOnCheckBox = Place<TCheckBox>(this, status, "OnCheckBox", TriggerOnBox, 10, 18, 70, 18);
    FCycleCheckBox = Place<TCheckBox>(this, status, "CycleCheckBox", TriggerCycleBox, 90, 18, 70, 18);
    FActionCheckBox = Place<TCheckBox>(this, status, "ActionCheckBox", TriggerLineBox, 170, 18, 120, 18);
    Place<TExSpeedButton>(this, this, "SaveExitButton", TriggerSaveExit, 320, 256, 70, 28,
                          [this](TObject*) { SaveExitButtonClick(); });
    Place<TExSpeedButton>(this, this, "ExitButton", TriggerCancelExit, 394, 256, 70, 28,
                          [this](TObject*) { ExitButtonClick(); });
}

void TTriggersEditForm::DoShow()
{
    FormActivate();
    TItemEditForm::DoShow();
}

void TTriggersEditForm::FormActivate()
{
    if (!FRecord)
        return;
    SetCaption(ItemEdit::TriggerCaption(*FRecord));
    const ItemEdit::TTriggerFields fields = ItemEdit::TriggerFields(*FRecord);
    FOnCheckBox->SetChecked(fields.On);
    FCycleCheckBox->SetChecked(fields.Cycle);
    FActionCheckBox->SetChecked(fields.Line);
    FNickNameEdit->SetText(fields.NickName);
    FGroupNameEdit->SetText(fields.Group);
    FFromBuffEdit->SetText(fields.From);
    FToBuffMemo->SetText(fields.To);
}

void TTriggersEditForm::SaveExitButtonClick()
{
    if (!FRecord)
        return;
    const ItemEdit::TTriggerFields fields{FOnCheckBox->Checked(), FCycleCheckBox->Checked(), FActionCheckBox->Checked(),
                                          FNickNameEdit->Text(),  FGroupNameEdit->Text(),    FFromBuffEdit->Text(),
                                          FToBuffMemo->Text()};
    FWritten = true;
    if (ItemEdit::SaveTrigger(*FRecord, fields))
        SaveAndClose();
    else
        Refuse(TriggerIncomplete, ErrorCaption, nullptr);
}

TDialogEnd EditTriggerRecord(TComponent* owner, cTriggers& record)
{
    auto* form = new TTriggersEditForm(owner);
    form->SetRecord(&record);
    return RunItemEdit(form);
}
