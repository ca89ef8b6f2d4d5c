#pragma once
// A character window reduced to a log: every call the input-line and key units make is written
// down in order, line ends shown as "~".

#include <functional>
#include <string>

#include "app/core/KeyRouting.h"
#include "app/core/TypedLine.h"

class TFakeWindow : public ITypedLineWindow, public IKeyWindow {
public:
    int PortNumber = 4000;
    bool Echoing = false;
    bool Translate = false;
    bool Recording = false;
    bool IsConnected = true;
    TKeyMacroList Macros;
    std::function<void()> OnEcho;  // runs after an echo is logged, as a trigger on it would
    std::string Log;

    int Port() override { return PortNumber; }
    bool ServerEchoes() override { return Echoing; }
    bool TranslateMode() override { return Translate; }
    bool WalkRecording() override { return Recording; }
    void EchoLine(const AnsiString& line) override
    {
        Write("echo:" + line);
        if (OnEcho)
            OnEcho();
    }
    void ExecuteCommand(const AnsiString& text) override { Write("exec:" + text); }
    void RecordWalkStep(const AnsiString& line) override { Write("record:" + line); }
    void SendText(const AnsiString& text) override { Write("send:" + text); }

    bool Connected() override { return IsConnected; }
    void ConnectHost() override { Write("connect"); }
    const TKeyMacroList& KeyMacros() override { return Macros; }
    void CursorUp() override { Write("up"); }
    void CursorDown() override { Write("down"); }
    void PageUp() override { Write("pageup"); }
    void PageDown() override { Write("pagedown"); }
    void FocusTerminal() override { Write("focus"); }
    void ShowInInput(const AnsiString& text) override { Write("show:" + text); }

    void Write(std::string entry)
    {
        for (size_t at; (at = entry.find("\r\n")) != std::string::npos;)
            entry.replace(at, 2, "~");
        Log += (Log.empty() ? "" : " ") + entry;
    }
};
