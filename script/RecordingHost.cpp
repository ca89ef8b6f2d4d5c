#include "script/RecordingHost.h"

#include "script/Records.h"

TRecordingHost::TRecordingHost()
{
    if (TimerServiceInstalled())
        PreviousService = &TimerService();
    SetTimerService(&Clock);
    WalkTimerEvent = new TExTimerEvent(nullptr);
    WalkTimerEvent->SetCycled(false);
    WalkTimerEvent->SetEnabled(false);
    WalkTimerEvent->SetInterval(10000);
    SystemTimers.AddItem(WalkTimerEvent);
    SystemTimers.SetActive(true);
}

TRecordingHost::~TRecordingHost()
{
    // Leave alone a service installed after this one.
    if (&TimerService() == &Clock)
        SetTimerService(PreviousService);
}

void TRecordingHost::SendText(const AnsiString& text)
{
    // The window sends nothing while it is not connected.
    if (Connected)
        Events.push_back({TScriptEvent::Send, text, {}});
}

void TRecordingHost::PutDirectString(const AnsiString& text) { Events.push_back({TScriptEvent::Message, text, {}}); }

void TRecordingHost::PutCaptureText(const AnsiString& name, const AnsiString& text)
{
    Events.push_back({TScriptEvent::Capture, text, name});
}

void TRecordingHost::RefreshStatusLine() { Events.push_back({TScriptEvent::StatusLine, {}, {}}); }

void TRecordingHost::ShowMessageBox(const AnsiString& caption, const AnsiString& text)
{
    Events.push_back({TScriptEvent::MessageBox, caption, text});
}

void TRecordingHost::PlaySound(const AnsiString& file) { Events.push_back({TScriptEvent::Play, file, {}}); }

void TRecordingHost::Beep(int frequency, int duration)
{
    Events.push_back({TScriptEvent::Beep, {}, {}, frequency, duration});
}

void TRecordingHost::ClickButton(cButton& button) { Events.push_back({TScriptEvent::Click, {}, button.Name}); }

void TRecordingHost::SaveCharBook() { Events.push_back({TScriptEvent::SaveBook, {}, {}}); }

AnsiString TRecordingHost::Sent() const
{
    AnsiString all;
    for (const auto& e : Events)
        if (e.What == TScriptEvent::Send)
            all += e.Text;
    return all;
}

AnsiString TRecordingHost::Messages() const
{
    AnsiString all;
    for (const auto& e : Events)
        if (e.What == TScriptEvent::Message)
            all += e.Text;
    return all;
}

int TRecordingHost::Count(TScriptEvent::Kind kind) const
{
    int n = 0;
    for (const auto& e : Events)
        n += e.What == kind;
    return n;
}
