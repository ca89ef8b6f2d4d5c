#include "app/forms/StatusEditForm.h"

#include <memory>

#include "app/core/WindowTexts.h"
#include "app/forms/AnsiTerminal.h"
#include "app/forms/FormPlace.h"
#include "controls/lib/ExSpeedButton.h"
#include "platform/gui/ButtonCtrls.h"
#include "platform/gui/StdCtrls.h"

TStatusEditForm::TStatusEditForm(TComponent* AOwner) : TForm(AOwner)
{
    SetName("StatusEditForm");
    SetCaption(WindowText::StatusEditCaption);
    SetPosition(poOwnerFormCenter);
    SetBorderStyle(bsDialog);
    SetClientWidth(460);
    SetClientHeight(96);
    Place<TLabel>(this, this, "Label1", "Status Line", 8, 12, 80, 16);
    FEdit = Place<TEdit>(this, this, "Edit1", 88, 8, 364, 22);
    FEdit->OnKeyPress = [this](TObject*, char& key) {
        if (key == '\r') {
            key = 0;
            SaveBtnClick();
        }
    };
    Place<TButton>(this, this, "SaveBtn", WindowText::SaveKo, 292, 40, 76, 25, [this](TObject*) { SaveBtnClick(); });
    Place<TExSpeedButton>(this, this, "ExSpeedButton2", WindowText::CancelKo, 376, 40, 76, 25,
                          [this](TObject*) { ExSpeedButton2Click(); });
    auto* note = Place<TLabel>(this, this, "Label2", WindowText::StatusEditNote, 8, 72, 440, 16);
    note->Font()->SetColor(clBlue);
}

void TStatusEditForm::DoShow()
{
    FEdit->SetText(FResult);
    FAnswered = false;
    TForm::DoShow();
}

void TStatusEditForm::SaveBtnClick()
{
    FResult = FEdit->Text();
    FAnswered = true;
    Close();
}

void TStatusEditForm::ExSpeedButton2Click()
{
    FResult.clear();
    FAnswered = true;
    Close();
}

// The close box is Cancel: the template stays and no command file is written.
void TStatusEditForm::DoClose(TCloseAction& Action)
{
    TForm::DoClose(Action);
    if (Action != caNone && !FAnswered)
        FResult.clear();
}

AnsiString EditStatusLine(TAnsiTerminalForm& window, const AnsiString& statusLine)
{
    auto editor = std::make_unique<TStatusEditForm>(&window);
    editor->SetResult(statusLine);
    editor->ShowModal();
    return editor->Result();
}
