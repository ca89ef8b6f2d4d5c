#include "app/forms/MacroEditUnit.h"

#include "app/core/ItemEditTexts.h"
#include "app/core/ItemEdits.h"
#include "app/forms/FormPlace.h"
#include "controls/lib/ExSpeedButton.h"
#include "platform/gui/ButtonCtrls.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/StdCtrls.h"

using namespace ItemText;

namespace {
// The hot-key box starts on the key 'A'.
constexpr TShortCut kInitialKey = 65;
}  // namespace

TMacroEditForm::TMacroEditForm(TComponent* AOwner) : TItemEditForm(AOwner)
{
    SetName("MacroEditForm");
    SetCaption(MacroCaption);
    SetClientWidth(440);
    SetClientHeight(260);
    FHotKey1 = Place<THotKey>(this, this, "HotKey1", 8, 10, 140, 22);
    FHotKey1->SetHotKey(kInitialKey);
    FHotKey1->OnExit = [this](TObject*) { HotKey1Exit(); };
    // Sized once, wrapping within its width, as a form file loads it: sized at each step, the
    // caption would first widen it past the dialog's edge (or wrapping an empty caption shrink it).
    auto* hint = Place<TLabel>(this, this, "Label1", 156, 6, 276, 40);
    hint->SetAutoSize(false);
    hint->SetWordWrap(true);
    hint->SetCaption(MacroKeyLabel);
    hint->SetAutoSize(true);
    Place<TLabel>(this, this, "Label2", MacroBuffLabel, 8, 50, 120, 16);
    FBuff = Place<TMemo>(this, this, "Buff", 8, 68, 424, 150);
    FBuff->SetScrollBars(ssBoth);
    FBuff->SetWantTabs(true);
    Place<TExSpeedButton>(this, this, "SaveButton", SaveButton, 282, 226, 72, 26,
                          [this](TObject*) { SaveButtonClick(); });
    Place<TExSpeedButton>(this, this, "CancelButton", CancelButton, 360, 226, 72, 26,
                          [this](TObject*) { CancelButtonClick(); });
}

void TMacroEditForm::SetRecord(cKeyMacro* record, const cKeyMacro* self, const TKeyMacroList* list)
{
    FRecord = record;
    FSelf = self;
    FList = list;
}

void TMacroEditForm::DoShow()
{
    FormActivate();
    TItemEditForm::DoShow();
}

void TMacroEditForm::FormActivate()
{
    if (!FRecord)
        return;
    FHotKey1->SetHotKey(FRecord->ShortCut);
    FBuff->SetText(FRecord->ToBuff);
}

bool TMacroEditForm::KeyTaken() const
{
    return FList && ItemEdit::KeyTakenBy(*FList, FSelf, FHotKey1->HotKey()) != nullptr;
}

// The key stays as typed; the focus goes back to it.
void TMacroEditForm::HotKey1Exit()
{
    if (FRecord && Open() && KeyTaken())
        Refuse(MacroKeyTaken, MacroKeyTakenCaption, FHotKey1);
}

void TMacroEditForm::SaveButtonClick()
{
    if (!FRecord)
        return;
    if (KeyTaken()) {
        FHotKey1->SetHotKey(FRecord->ShortCut);
        Refuse(MacroKeyTaken, MacroKeyTakenCaption, FHotKey1);
        return;
    }
    ItemEdit::SaveMacro(*FRecord, FHotKey1->HotKey(), FBuff->Text());
    SaveAndClose();
}

TDialogEnd EditMacroRecord(TComponent* owner, cKeyMacro& record, const cKeyMacro* self, const TKeyMacroList& list)
{
    auto* form = new TMacroEditForm(owner);
    form->SetRecord(&record, self, &list);
    return RunItemEdit(form);
}
