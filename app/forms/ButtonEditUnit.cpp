#include "app/forms/ButtonEditUnit.h"

#include "app/core/ItemEditTexts.h"
#include "app/core/ItemEdits.h"
#include "app/forms/FormPlace.h"
#include "controls/lib/ExSpeedButton.h"
#include "platform/gui/ButtonCtrls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"

using namespace ItemText;

namespace {
// The radio group's items, in order.
constexpr int kOnItem = 0, kOffItem = 1;
}  // namespace

TButtonEditForm::TButtonEditForm(TComponent* AOwner) : TItemEditForm(AOwner)
{
    SetName("ButtonEditForm");
    SetCaption(ButtonCaption);
    Font()->SetName(GulimChe);
    SetClientWidth(400);
    SetClientHeight(300);
    Place<TLabel>(this, this, "Label1", ButtonNameLabel, 8, 12, 60, 16);
    FNameEdit = Place<TEdit>(this, this, "NameEdit", 72, 8, 160, 22);
    FNameEdit->SetMaxLength(ItemEdit::kButtonNameMaxLength);
    FNameEdit->OnExit = [this](TObject*) { NameEditExit(); };
    FStatusGroup = Place<TRadioGroup>(this, this, "StatusGroup", ItemText::StatusGroup, 244, 0, 148, 38);
    FStatusGroup->SetColumns(2);
    FStatusGroup->Items()->Add("On");
    FStatusGroup->Items()->Add("Off");
    FStatusGroup->OnClick = [this](TObject*) { StatusGroupClick(); };
    Place<TLabel>(this, this, "Label2", ButtonOnLabel, 8, 44, 100, 16);
    FOnEdit = Place<TMemo>(this, this, "OnEdit", 8, 62, 384, 90);
    Place<TLabel>(this, this, "Label3", ButtonOffLabel, 8, 158, 100, 16);
    FOffEdit = Place<TMemo>(this, this, "OffEdit", 8, 176, 384, 80);
    Place<TExSpeedButton>(this, this, "ExSpeedButton1", SaveButton, 240, 264, 72, 28,
                          [this](TObject*) { ExSpeedButton1Click(); });
    Place<TExSpeedButton>(this, this, "ExSpeedButton2", CancelButton, 320, 264, 72, 28,
                          [this](TObject*) { ExSpeedButton2Click(); });
}

void TButtonEditForm::DoShow()
{
    if (FRecord) {
        const ItemEdit::TButtonFields fields = ItemEdit::ButtonFields(*FRecord);
        FShowing = true;
        FNameEdit->SetText(fields.Name);
        FOnEdit->SetText(fields.OnBuff);
        FOffEdit->SetText(fields.OffBuff);
        FStatusGroup->SetItemIndex(fields.On ? kOnItem : kOffItem);
        FShowing = false;
    }
    TItemEditForm::DoShow();
}

void TButtonEditForm::StatusGroupClick()
{
    if (!FShowing && FStatusGroup->ItemIndex() == kOnItem && !ItemEdit::ButtonMayBeOn(FOffEdit->Text()))
        FStatusGroup->SetItemIndex(kOffItem);
}

void TButtonEditForm::NameEditExit()
{
    if (FRecord && Open() && FNameEdit->Text().empty())
        Refuse(EmptyName, ErrorCaption, FNameEdit);
}

void TButtonEditForm::ExSpeedButton1Click()
{
    if (!FRecord)
        return;
    const ItemEdit::TButtonFields fields{FNameEdit->Text(), FStatusGroup->ItemIndex() == kOnItem, FOnEdit->Text(),
                                         FOffEdit->Text()};
    if (!ItemEdit::SaveButton(*FRecord, fields)) {
        Refuse(EmptyName, ErrorCaption, FNameEdit);
        return;
    }
    SaveAndClose();
}

TDialogEnd EditButtonRecord(TComponent* owner, cButton& record)
{
    auto* form = new TButtonEditForm(owner);
    form->SetRecord(&record);
    return RunItemEdit(form);
}
