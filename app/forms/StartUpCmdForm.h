#pragma once
// The editor of the start-up commands: Save keeps the text as the window's start-up commands
// (written with the next command-file save); Exit and Escape leave them as they were.

#include "platform/gui/Forms.h"

class TAnsiTerminalForm;
class TMemo;
class TRichEdit;

class TStartUpCmdForm : public TForm {
public:
    explicit TStartUpCmdForm(TAnsiTerminalForm* AOwner);

    TRichEdit* CmdEdit() const { return FCmdEdit; }
    void SaveBtnClick();
    void ExitBtnClick() { Close(); }

private:
    TAnsiTerminalForm* FWindow;
    TRichEdit* FCmdEdit = nullptr;
};

void ShowStartUpCmd(TAnsiTerminalForm& window);
