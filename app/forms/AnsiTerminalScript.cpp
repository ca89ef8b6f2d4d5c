// The character window as the host of its script engine: what the engine sends goes to the host,
// its own messages are shown in the terminal only, and boxes, sounds, the book and the timer lists
// are the window's.

#include "app/forms/AnsiTerminal.h"
#include "app/forms/ButtonUnit.h"
#include "platform/core/ProgramFolder.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Sound.h"
#include "terminal/control/Terminal.h"

void TAnsiTerminalForm::ExecuteCommand(const AnsiString& text)
{
    if (FClosed)
        return;
    TBusy busy(*this);
    FScript->ExecuteCommand(text);
}

// Shown in order with host text; not sent, and not scanned by the triggers.
void TAnsiTerminalForm::PutDirectString(const AnsiString& text)
{
    if (!FClosed)
        FTerminal->DecodeLocalText(text);
}

void TAnsiTerminalForm::PutCaptureText(const AnsiString& name, const AnsiString& text)
{
    if (CaptureTextHook)
        CaptureTextHook(*this, name, text);
}

void TAnsiTerminalForm::ShowMessageBox(const AnsiString& caption, const AnsiString& text)
{
    TBusy busy(*this);
    MessageBox(text, caption, MB_OK);
}

void TAnsiTerminalForm::PlaySound(const AnsiString& file) { sndPlaySound(file, SND_ASYNC); }

void TAnsiTerminalForm::Beep(int frequency, int duration)
{
    ::Beep(static_cast<uint32_t>(std::max(frequency, 0)), static_cast<uint32_t>(std::max(duration, 0)), this);
}

// The bar's click on the button's control, as the player's would be.
void TAnsiTerminalForm::ClickButton(cButton& button)
{
    if (FButtonForm && button.Control)
        FButtonForm->MyButtonClick(button.Control);
}

// The command file the engine loaded or saved becomes the entry's.
void TAnsiTerminalForm::SaveCharBook()
{
    if (FCharBook)
        FCharBook->TriggerFile = FScript->TriggerFile;
    TCharBooks::Save();
}

bool TAnsiTerminalForm::GetWalkAutoRewind() { return FCharBook && FCharBook->GetWalkAutoRewind(); }

AnsiString TAnsiTerminalForm::ProgramFolder() { return ProgramPath(); }
