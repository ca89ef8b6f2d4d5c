#include "app/core/TypedLine.h"

namespace {
// Port 23 is a real telnet server, which echoes what the player types.
constexpr int kTelnetPort = 23;
}  // namespace

void EnterTypedLine(AnsiString typed, ITypedLineWindow& window, TTypedHistory& history)
{
    const AnsiString line = typed + "\r\n";
    if (window.Port() != kTelnetPort && !window.ServerEchoes())
        window.EchoLine(line);
    if (typed.empty()) {
        window.SendText(line);
    } else if (window.TranslateMode()) {
        window.ExecuteCommand(line);
    } else {
        if (window.WalkRecording())
            window.RecordWalkStep(line);
        window.SendText(line);
    }
    history.Enter(typed);
}
