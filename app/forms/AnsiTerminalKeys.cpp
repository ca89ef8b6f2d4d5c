// The character window's keys: the window's preview of every key (key macros, reconnecting while
// not connected), the input line (Enter, the history keys, scrolling), the terminal's scrolling
// keys, the mouse wheel and the T/D button. The rules are app/core's (KeyRouting, TypedLine); this
// file answers their questions with the window's controls.

#include "app/core/StatusBar.h"
#include "app/core/TypedLine.h"
#include "app/forms/AnsiTerminal.h"
#include "app/forms/MessageHook.h"
#include "controls/lib/ToolEdit.h"
#include "platform/gui/ButtonCtrls.h"
#include "platform/gui/NetSocket.h"
#include "terminal/control/Terminal.h"

class TAnsiTerminalForm::TKeyHost : public IKeyWindow, public ITypedLineWindow {
public:
    explicit TKeyHost(TAnsiTerminalForm& form) : F(form) {}

    // IKeyWindow
    bool Connected() override { return F.Connected(); }
    void ConnectHost() override { F.ConnectHost(); }
    const TKeyMacroList& KeyMacros() override { return F.FScript->KeyMacroList; }
    void ExecuteCommand(const AnsiString& text) override { F.ExecuteCommand(text); }
    void CursorUp() override { F.FTerminal->CursorUp(); }
    void CursorDown() override { F.FTerminal->CursorDown(); }
    void PageUp() override { F.FTerminal->PageUp(); }
    void PageDown() override { F.FTerminal->PageDown(); }
    void FocusTerminal() override { F.FTerminal->SetFocus(); }
    // The caret goes to the end, ready for more of the line.
    void ShowInInput(const AnsiString& text) override
    {
        F.FComboEdit->SetText(text);
        F.FComboEdit->SetSelStart(static_cast<int>(text.size()));
    }

    // ITypedLineWindow
    int Port() override { return F.FSocket->Port; }
    bool ServerEchoes() override { return F.ServerEchoes(); }
    bool TranslateMode() override { return F.FCharBook && F.FCharBook->GetTranslate() != 0; }
    bool WalkRecording() override { return F.FScript->WalkRec.State == 1; }
    void EchoLine(const AnsiString& line) override
    {
        if (!F.FClosed)
            F.FTerminal->DecodeText(line);
    }
    void RecordWalkStep(const AnsiString& line) override
    {
        if (!F.FClosed)
            F.FScript->RecordWalkStep(line);
    }
    void SendText(const AnsiString& text) override
    {
        if (!F.FClosed)
            F.SendText(text);
    }

private:
    TAnsiTerminalForm& F;
};

TAnsiTerminalForm::TChatHistoryHook TAnsiTerminalForm::ChatHistoryHook;

namespace {
// "지난입력글보기"
constexpr const char* kHistoryButtonHint = "\xC1\xF6\xB3\xAD\xC0\xD4\xB7\xC2\xB1\xDB\xBA\xB8\xB1\xE2";
}  // namespace

void TAnsiTerminalForm::CreateInputLine()
{
    FComboEdit = new TComboEdit(this);
    FComboEdit->SetName("ComboEdit");
    FComboEdit->SetParent(this);
    FComboEdit->SetGlyphKind(gkEllipsis);
    FComboEdit->SetButtonHint(kHistoryButtonHint);
    FComboEdit->SetShowHint(true);
    FTranslationBtn = new TButton(this);
    FTranslationBtn->SetParent(this);
    // Typing goes to the input line.
    SetActiveControl(FComboEdit);
}

void TAnsiTerminalForm::BindKeys()
{
    OnKeyDown = [this](TObject*, uint16_t& key, TShiftState shift) { FormKeyDown(key, shift); };
    OnKeyPress = [this](TObject*, char& key) { FormKeyPress(key); };
    OnKeyUp = [this](TObject*, uint16_t&, TShiftState) { FormKeyUp(); };
    FTerminal->OnKeyDown = [this](TObject*, uint16_t& key, TShiftState shift) { TerminalKeyDown(key, shift); };
    OnMouseWheelDown = [this](TObject*, TShiftState, TPoint, bool& handled) { FormMouseWheel(false, handled); };
    OnMouseWheelUp = [this](TObject*, TShiftState, TPoint, bool& handled) { FormMouseWheel(true, handled); };
    FTranslationBtn->OnClick = [this](TObject*) { TranslationBtnClick(); };
    FComboEdit->OnKeyDown = [this](TObject*, uint16_t& key, TShiftState shift) { ComboEditKeyDown(key, shift); };
    FComboEdit->OnKeyPress = [this](TObject*, char& key) { ComboEditKeyPress(key); };
    FComboEdit->OnButtonClick = [this](TObject*) { ComboEditButtonClick(); };
}

void TAnsiTerminalForm::FormKeyDown(uint16_t& Key, TShiftState Shift)
{
    if (FClosed)
        return;
    TBusy busy(*this);
    TKeyHost host(*this);
    FKeys.FormKeyDown(Key, Shift, ExtendedKeyMark(), host);
}

void TAnsiTerminalForm::FormKeyPress(char& Key)
{
    if (!FClosed)
        FKeys.FormKeyPress(Key);
}

void TAnsiTerminalForm::FormKeyUp()
{
    if (!FClosed)
        FKeys.FormKeyUp();
}

void TAnsiTerminalForm::TerminalKeyDown(uint16_t& Key, TShiftState /*Shift*/)
{
    if (FClosed)
        return;
    TKeyHost host(*this);
    TKeyRouting::TerminalKeyDown(Key, ExtendedKeyMark(), host);
}

void TAnsiTerminalForm::FormMouseWheel(bool up, bool& Handled)
{
    if (FClosed)
        return;
    TKeyHost host(*this);
    TKeyRouting::MouseWheel(up, host);
    Handled = true;
}

void TAnsiTerminalForm::ComboEditKeyDown(uint16_t& Key, TShiftState Shift)
{
    if (FClosed)
        return;
    TKeyHost host(*this);
    TKeyRouting::InputKeyDown(Key, Shift, ExtendedKeyMark(), host, FHistory);
}

// Enter: the typed line is echoed, sent or run, and kept; the input line is emptied. The key
// itself goes on to the edit box, which does nothing with it.
void TAnsiTerminalForm::ComboEditKeyPress(char& Key)
{
    if (FClosed || Key != '\r')
        return;
    TBusy busy(*this);
    TKeyHost host(*this);
    EnterTypedLine(FComboEdit->Text(), host, FHistory);
    if (!FClosed)
        FComboEdit->Clear();
}

void TAnsiTerminalForm::ComboEditButtonClick()
{
    if (FClosed || !ChatHistoryHook)
        return;
    TBusy busy(*this);
    ChatHistoryHook(*this);
}

void TAnsiTerminalForm::TranslationBtnClick()
{
    if (FClosed || !FCharBook)
        return;
    FCharBook->SetTranslate(FCharBook->GetTranslate() == 0);
    FTranslationBtn->SetCaption(TranslateCaption(FCharBook->GetTranslate() != 0));
    FComboEdit->SetFocus();
}
