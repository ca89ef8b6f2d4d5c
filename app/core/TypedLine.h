#pragma once
// What Enter in a character window's input line does with the typed text: echo it into the
// terminal (ports other than 23, and not while the server echoes typed text itself), send a bare
// CR LF for an empty line, run the line through the command executor in T mode, or in D mode
// record it as a walk step while a walk is being recorded and send it unchanged; then keep it in
// the history. The window answers the questions and carries out the steps through
// ITypedLineWindow.

#include "app/core/TypedHistory.h"
#include "platform/core/AnsiString.h"

class ITypedLineWindow {
public:
    virtual ~ITypedLineWindow() = default;

    // Each is asked at the step that needs it: an echoed line runs the trigger scan, whose
    // actions may change the answers.
    virtual int Port() = 0;
    // True from the server's WILL ECHO until its WONT ECHO or a new connection.
    virtual bool ServerEchoes() = 0;
    // The T/D switch: true in T mode (the line goes to the command executor).
    virtual bool TranslateMode() = 0;
    virtual bool WalkRecording() = 0;

    // Writes the line into the terminal as if the host had sent it.
    virtual void EchoLine(const AnsiString& line) = 0;
    virtual void ExecuteCommand(const AnsiString& line) = 0;
    virtual void RecordWalkStep(const AnsiString& line) = 0;
    virtual void SendText(const AnsiString& text) = 0;
};

// Runs Enter for the typed text (the input line's text, without a line end). The window empties
// its input line afterwards. The text is taken as a copy, so steps that change the input line (a
// command, a trigger fired by the echo) do not change what is sent or kept.
void EnterTypedLine(AnsiString typed, ITypedLineWindow& window, TTypedHistory& history);
