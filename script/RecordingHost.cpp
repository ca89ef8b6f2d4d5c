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
        Record({TScriptEvent::Send, text, {}});
}

void TRecordingHost::PutDirectString(const AnsiString& text) { Record({TScriptEvent::Message, text, {}}); }

void TRecordingHost::PutCaptureText(const AnsiString& name, const AnsiString& text)
{
    Record({TScriptEvent::Capture, text, name});
}

void TRecordingHost::RefreshStatusLine() { Record({TScriptEvent::StatusLine, {}, {}}); }

void TRecordingHost::ShowMessageBox(const AnsiString& caption, const AnsiString& text)
{
    Record({TScriptEvent::MessageBox, caption, text});
}

void TRecordingHost::PlaySound(const AnsiString& file) { Record({TScriptEvent::Play, file, {}}); }

void TRecordingHost::Beep(int frequency, int duration) { Record({TScriptEvent::Beep, {}, {}, frequency, duration}); }

void TRecordingHost::ClickButton(cButton& button) { Record({TScriptEvent::Click, {}, button.Name}); }

void TRecordingHost::SaveCharBook() { Record({TScriptEvent::SaveBook, {}, {}}); }

void TRecordingHost::Record(TScriptEvent event)
{
    if (OnEvent)
        OnEvent(event);
    if (KeepEvents)
        Events.push_back(std::move(event));
}

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
