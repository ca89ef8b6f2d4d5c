#pragma once
// The editor of the two commands a walk's comment search runs, on success and on failure. Save
// keeps both; Exit and Escape leave them as they were. No menu of the program opens it.

#include "platform/gui/Forms.h"

class TAnsiTerminalForm;
class TMemo;

class TWFCFCmdForm : public TForm {
public:
    explicit TWFCFCmdForm(TAnsiTerminalForm* AOwner);

    TMemo* CmdSEdit() const { return FCmdSEdit; }
    TMemo* CmdFEdit() const { return FCmdFEdit; }
    void SaveBtnClick();
    void ExitBtnClick() { Close(); }

private:
    TAnsiTerminalForm* FWindow;
    TMemo* FCmdSEdit = nullptr;
    TMemo* FCmdFEdit = nullptr;
};

void ShowWFCFCmd(TAnsiTerminalForm& window);
