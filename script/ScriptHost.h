#pragma once
// Everything the script engine needs from the character window it runs in. The window implements
// it; tests and tools use the recording host.

#include "platform/core/AnsiString.h"

struct cButton;
class TExTimerList;
class TExTimerEvent;

class IScriptHost {
public:
    virtual ~IScriptHost() = default;

    // Sends text to the game unchanged (nothing while not connected).
    virtual void SendText(const AnsiString& text) = 0;
    // The engine's own messages (usage texts, unknown commands, echo); the window shows them.
    virtual void PutDirectString(const AnsiString& text) = 0;
    // Text for the capture window of that name ("" = the default capture window).
    virtual void PutCaptureText(const AnsiString& name, const AnsiString& text) = 0;
    // Refreshes the status line from the status-line template.
    virtual void RefreshStatusLine() = 0;
    // Reports an error to the user. Must not break a running trigger pass: it may show a dialog,
    // but the engine carries on when it returns.
    virtual void ShowMessageBox(const AnsiString& caption, const AnsiString& text) = 0;
    // Plays a sound file without waiting for it.
    virtual void PlaySound(const AnsiString& file) = 0;
    // Beeps without blocking.
    virtual void Beep(int frequency, int duration) = 0;
    // Clicks the button's control as the user would; the control's handler toggles the button and
    // runs its command. Called only for a button whose Control is set.
    virtual void ClickButton(cButton& button) = 0;
    // Writes the whole character book.
    virtual void SaveCharBook() = 0;
    // The character entry's walk auto-rewind setting.
    virtual bool GetWalkAutoRewind() = 0;
    // The folder the program's Cmd, CharBooks and Fonts folders live in.
    virtual AnsiString ProgramFolder() = 0;
    // The window's timer lists: one event per user timer, and the walk timer. Null while the host
    // has none.
    virtual TExTimerList* UserTimerList() = 0;
    virtual TExTimerEvent* WalkTimer() = 0;
    // The button list was emptied (its records freed) or filled anew from a command file: the
    // host's button controls of the old records must go at once. Nothing by default.
    virtual void ButtonListChanged() {}
};
