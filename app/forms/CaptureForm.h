#pragma once
// A capture window: a free-standing terminal view into which scripts copy chosen lines ("#cap").
// Its caption is its name; it only shows, scrolls and copies (a pop-up menu copies the selected
// block, the screen or the whole scroll-back), sends nothing and runs no triggers. It frees itself
// when it closes.

#include "platform/gui/Forms.h"

class TExPopupMenu;
class TMenuItem;
class TPanel;
class TTerminal;

class TCaptureForm : public TForm {
public:
    explicit TCaptureForm(TComponent* AOwner);

    TPanel* Panel1() const { return FPanel; }
    TTerminal* CapTerminal() const { return FTerminal; }
    TExPopupMenu* ExPopupMenu1() const { return FPopup; }
    TMenuItem* Copy1() const { return FCopy1; }
    // The text of the latest selection in the terminal.
    const AnsiString& BlockText() const { return FBlockText; }

    // The terminal fills the panel; its columns leave 20 pixels for the scroll bar.
    void Panel1Resize();
    void Copy1Click();
    void ScreenCopyClick();
    void AllCopyClick();

    static constexpr int kWidth = 679, kHeight = 464;

protected:
    void DoClose(TCloseAction& Action) override;

private:
    void FormCreate();
    void CapTerminalKeyDown(uint16_t& Key);
    void ShowPopup(bool withBlock, int X, int Y);

    TPanel* FPanel = nullptr;
    TTerminal* FTerminal = nullptr;
    TExPopupMenu* FPopup = nullptr;
    TMenuItem* FCopy1 = nullptr;
    AnsiString FBlockText;
};
