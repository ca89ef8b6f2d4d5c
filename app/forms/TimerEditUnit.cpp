#include "app/forms/TimerEditUnit.h"

#include "app/core/ItemEditTexts.h"
#include "app/core/ItemEdits.h"
#include "app/forms/FormPlace.h"
#include "controls/lib/ExSpeedButton.h"
#include "controls/lib/ExSpin.h"
#include "platform/gui/ButtonCtrls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"

using namespace ItemText;

namespace {

TExSpinEdit* PlaceNumber(TComponent* owner, const char* name, int left, int top)
{
    auto* edit = Place<TExSpinEdit>(owner, static_cast<TWinControl*>(owner), name, left, top, 80, 22);
    edit->SetMinValue(ItemEdit::kTimerNumberMin);
    edit->SetMaxValue(ItemEdit::kTimerNumberMax);
    edit->SetMaxLength(ItemEdit::kTimerNumberMaxLength);
    edit->SetAlignment(taRightJustify);
    return edit;
}

}  // namespace

TTimerEditForm::TTimerEditForm(TComponent* AOwner) : TItemEditForm(AOwner)
{
    SetName("TimerEditForm");
    SetCaption(TimerCaption);
    SetClientWidth(420);
    SetClientHeight(280);
    Place<TLabel>(this, this, "Label1", TimerNameLabel, 8, 12, 70, 16);
    FNameEdit = Place<TEdit>(this, this, "NameEdit", 80, 8, 150, 22);
    FNameEdit->OnExit = [this](TObject*) { NameEditExit(); };
    Place<TLabel>(this, this, "Label2", TimerTickLabel, 8, 42, 80, 16);
    FTickEdit = PlaceNumber(this, "TickEdit", 92, 38);
    Place<TLabel>(this, this, "Label3", TimerRepeatLabel, 200, 42, 60, 16);
    FRepeatEdit = PlaceNumber(this, "RepeatEdit", 262, 38);
    FCycleBox =
        Place<TCheckBox>(this, this, "CycleBox", TimerCycleBox, 350, 40, 62, 18, [this](TObject*) { CycleBoxClick(); });
    FStatusGroup = Place<TRadioGroup>(this, this, "StatusGroup", ItemText::StatusGroup, 8, 68, 404, 40);
    FStatusGroup->SetColumns(4);
    for (const char* item : {"Off", "On", "Stop", "Reset"})
        FStatusGroup->Items()->Add(item);
    FOnEdit = Place<TMemo>(this, this, "OnEdit", 8, 116, 404, 120);
    Place<TExSpeedButton>(this, this, "SaveBtn", SaveButton, 260, 244, 72, 28, [this](TObject*) { SaveBtnClick(); });
    Place<TExSpeedButton>(this, this, "ExitVtn", CancelButton, 340, 244, 72, 28, [this](TObject*) { ExitVtnClick(); });
}

void TTimerEditForm::DoShow()
{
    if (FRecord) {
        const ItemEdit::TTimerFields fields = ItemEdit::TimerFields(*FRecord);
        FNameEdit->SetText(fields.Name);
        FTickEdit->SetValue(fields.Ticker);
        FStatusGroup->SetItemIndex(fields.Choice);
        FOnEdit->SetText(fields.OnBuff);
        FCycleBox->SetChecked(fields.Cycle);
        FRepeatEdit->SetValue(fields.Repeat);
        CycleBoxClick();
    }
    TItemEditForm::DoShow();
}

void TTimerEditForm::CycleBoxClick() { FRepeatEdit->SetEnabled(ItemEdit::TimerRepeatEnabled(FCycleBox->Checked())); }

void TTimerEditForm::NameEditExit()
{
    if (FRecord && Open() && FNameEdit->Text().empty())
        Refuse(EmptyName, ErrorCaption, FNameEdit);
}

void TTimerEditForm::SaveBtnClick()
{
    if (!FRecord)
        return;
    // The boxes bound their numbers only when they lose the focus, which the speed buttons never
    // take: a typed 0 would make a timer that never fires.
    const auto bounded = [](TExSpinEdit* edit) { return static_cast<int>(edit->CheckValue(edit->GetAsInteger())); };
    const ItemEdit::TTimerFields fields{FNameEdit->Text(),    FCycleBox->Checked(),      bounded(FTickEdit),
                                        bounded(FRepeatEdit), FStatusGroup->ItemIndex(), FOnEdit->Text()};
    if (!ItemEdit::SaveTimer(*FRecord, fields)) {
        Refuse(EmptyName, ErrorCaption, FNameEdit);
        return;
    }
    SaveAndClose();
}

TDialogEnd EditTimerRecord(TComponent* owner, cTimer& record)
{
    auto* form = new TTimerEditForm(owner);
    form->SetRecord(&record);
    return RunItemEdit(form);
}
