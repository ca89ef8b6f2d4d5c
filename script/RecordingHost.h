#pragma once
// A host that records what the engine does, in order, instead of driving a window. Used by the
// tests and by the scriptrun tool.

#include <functional>
#include <vector>

#include "controls/core/TimerList.h"
#include "platform/core/TimerService.h"
#include "script/ScriptHost.h"

struct TScriptEvent {
    enum Kind { Send, Message, Capture, StatusLine, MessageBox, Play, Beep, Click, SaveBook };
    Kind What;
    AnsiString Text;   // the text, or the file, or the caption
    AnsiString Name;   // capture name, message-box text, clicked button's name
    int A = 0, B = 0;  // beep frequency and duration
};

class TRecordingHost : public IScriptHost {
public:
    // Installs Clock as the program's timer service while the host lives (and the previous
    // one again afterwards), so the user timers tick when the clock is advanced.
    TRecordingHost();
    ~TRecordingHost() override;
    TRecordingHost(const TRecordingHost&) = delete;
    TRecordingHost& operator=(const TRecordingHost&) = delete;

    void SendText(const AnsiString& text) override;
    void PutDirectString(const AnsiString& text) override;
    void PutCaptureText(const AnsiString& name, const AnsiString& text) override;
    void RefreshStatusLine() override;
    void ShowMessageBox(const AnsiString& caption, const AnsiString& text) override;
    void PlaySound(const AnsiString& file) override;
    void Beep(int frequency, int duration) override;
    void ClickButton(cButton& button) override;
    void SaveCharBook() override;
    bool GetWalkAutoRewind() override { return WalkAutoRewind; }
    AnsiString ProgramFolder() override { return Folder; }
    TExTimerList* UserTimerList() override { return &UserTimers; }
    TExTimerEvent* WalkTimer() override { return WalkTimerEvent; }

    // Everything sent with SendText, concatenated.
    AnsiString Sent() const;
    // Every engine message, concatenated.
    AnsiString Messages() const;
    int Count(TScriptEvent::Kind kind) const;
    void Clear() { Events.clear(); }

    std::vector<TScriptEvent> Events;
    // Hears every event as it happens; with KeepEvents off, Events stays empty.
    std::function<void(const TScriptEvent&)> OnEvent;
    bool KeepEvents = true;
    bool Connected = true;
    int Port = 4000;
    bool WalkAutoRewind = false;
    AnsiString Folder = ".";

    // Declared before the list, which stops its timer on the clock when it goes.
    TManualTimerService Clock;
    TExTimerList UserTimers{nullptr};
    // The window's system timers with its walk timer: not cycled, 10 s, disabled.
    TExTimerList SystemTimers{nullptr};
    TExTimerEvent* WalkTimerEvent = nullptr;  // owned by SystemTimers

private:
    void Record(TScriptEvent event);

    ITimerService* PreviousService = nullptr;
};
