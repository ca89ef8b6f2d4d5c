#pragma once
// The history picker of a character window's input line: the typed lines in a list; "Send To
// Edit" (or a double click) puts the chosen line into the input line, "Send To Screen" shows it
// in the terminal, sends it as it is while connected and adds it to the history; "Sort" sorts the
// list only. Modal; without a chosen line both send buttons only close.

#include "platform/gui/Forms.h"

class TAnsiTerminalForm;
class TBitBtn;
class TTextListBox;

class TChatForm : public TForm {
public:
    // Owned by the character window whose history it shows.
    explicit TChatForm(TAnsiTerminalForm* AOwner);

    TTextListBox* TextListBox() const { return FList; }
    void BitBtn1Click();  // Send To Screen
    void BitBtn2Click();  // Send To Edit
    void BitBtn3Click() { Close(); }
    void BitBtn4Click();  // Sort

private:
    // The chosen line; false without one.
    bool Chosen(AnsiString& line);

    TAnsiTerminalForm* FWindow;
    TTextListBox* FList = nullptr;
};

// The input line's button: the picker filled with the window's history, shown modally and freed.
void ShowChatForm(TAnsiTerminalForm& window);
