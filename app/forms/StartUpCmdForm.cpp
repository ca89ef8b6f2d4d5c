#include "app/forms/StartUpCmdForm.h"

#include <memory>

#include "app/core/WindowTexts.h"
#include "app/forms/AnsiTerminal.h"
#include "app/forms/FormPlace.h"
#include "platform/gui/ButtonCtrls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"

TStartUpCmdForm::TStartUpCmdForm(TAnsiTerminalForm* AOwner) : TForm(AOwner), FWindow(AOwner)
{
    SetName("StartUpCmdForm");
    SetCaption("Start Up Cmd");
    Font()->SetName(WindowText::GulimChe);
    SetPosition(poOwnerFormCenter);
    SetKeyPreview(true);
    SetClientWidth(480);
    SetClientHeight(320);
    auto* top = Place<TPanel>(this, this, "Panel1", 0, 0, 480, 84);
    top->SetAlign(alTop);
    Place<TButton>(this, top, "SaveBtn", "Save", 8, 8, 64, 24, [this](TObject*) { SaveBtnClick(); });
    Place<TButton>(this, top, "ExitBtn", "Exit", 8, 40, 64, 24, [this](TObject*) { ExitBtnClick(); });
    auto* help = Place<TMemo>(this, top, "HelpMemo", 80, 4, 396, 76);
    help->SetText(WindowText::StartUpHelp);
    help->SetReadOnly(true);
    help->SetColor(clScrollBar);
    // A proportional face: the fixed one sets wrapped Hangul lines too close.
    help->Font()->SetName(WindowText::Gulim);
    help->Font()->SetColor(clGreen);
    FCmdEdit = Place<TRichEdit>(this, this, "CmdEdit", 0, 84, 480, 236);
    FCmdEdit->SetAlign(alClient);
    OnKeyPress = [this](TObject*, char& key) {
        if (key == 27)
            ExitBtnClick();
    };
}

void TStartUpCmdForm::SaveBtnClick()
{
    if (FWindow)
        FWindow->Script().CmdConfig.StartUpCmd = FCmdEdit->Text();
    Close();
}

void ShowStartUpCmd(TAnsiTerminalForm& window)
{
    auto editor = std::make_unique<TStartUpCmdForm>(&window);
    editor->CmdEdit()->SetText(window.Script().CmdConfig.StartUpCmd);
    editor->ShowModal();
}
