#include "app/forms/WFCFCmdForm.h"

#include <memory>

#include "app/core/WindowTexts.h"
#include "app/forms/AnsiTerminal.h"
#include "app/forms/FormPlace.h"
#include "platform/gui/ButtonCtrls.h"
#include "platform/gui/StdCtrls.h"

namespace {
TMemo* CommandMemo(TComponent* owner, TWinControl* parent, const char* name, int top)
{
    auto* memo = Place<TMemo>(owner, parent, name, 8, top, 464, 80);
    memo->SetScrollBars(ssBoth);
    memo->SetWordWrap(false);
    return memo;
}
}  // namespace

TWFCFCmdForm::TWFCFCmdForm(TAnsiTerminalForm* AOwner) : TForm(AOwner), FWindow(AOwner)
{
    SetName("WFCFCmdForm");
    SetCaption(WindowText::WFCFCaption);
    SetBorderStyle(bsDialog);
    SetPosition(poOwnerFormCenter);
    SetKeyPreview(true);
    SetClientWidth(480);
    SetClientHeight(330);
    auto* help = Place<TMemo>(this, this, "HelpMemo", 8, 8, 376, 56);
    help->SetText(WindowText::WFCFHelp);
    help->SetReadOnly(true);
    help->SetColor(clLime);
    Place<TButton>(this, this, "SaveBtn", "Save&&Exit", 392, 8, 80, 25, [this](TObject*) { SaveBtnClick(); });
    Place<TButton>(this, this, "ExitBtn", "Exit", 392, 40, 80, 25, [this](TObject*) { ExitBtnClick(); });
    auto* success = Place<TLabel>(this, this, "Label1", WindowText::WFCSLabel, 8, 72, 300, 16);
    success->Font()->SetColor(clBlue);
    FCmdSEdit = CommandMemo(this, this, "CmdSEdit", 90);
    auto* failure = Place<TLabel>(this, this, "Label2", WindowText::WFCFLabel, 8, 178, 300, 16);
    failure->Font()->SetColor(clRed);
    FCmdFEdit = CommandMemo(this, this, "CmdFEdit", 196);
    OnKeyPress = [this](TObject*, char& key) {
        if (key == 27)
            ExitBtnClick();
    };
}

void TWFCFCmdForm::SaveBtnClick()
{
    if (FWindow) {
        cConfig& config = FWindow->Script().CmdConfig;
        config.WFCSCmd = FCmdSEdit->Text();
        config.WFCFCmd = FCmdFEdit->Text();
    }
    Close();
}

void ShowWFCFCmd(TAnsiTerminalForm& window)
{
    auto editor = std::make_unique<TWFCFCmdForm>(&window);
    const cConfig& config = window.Script().CmdConfig;
    editor->CmdFEdit()->SetText(config.WFCFCmd);
    editor->CmdSEdit()->SetText(config.WFCSCmd);
    editor->ShowModal();
}
