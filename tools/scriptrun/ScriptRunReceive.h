#pragma once
// Host text for scriptrun's "<" directive: through the terminal pieces the window decodes with
// into the trigger scan, as a character window passes what the connection reads.

#include <string_view>

#include "script/ScriptState.h"
#include "terminal/draw/TerminalPieces.h"

class TReceivedText {
public:
    explicit TReceivedText(TScriptState& state);
    // One read from the connection, decoded one byte at a time: CR is dropped and LF is
    // followed by CR, as the window's data routine does.
    void Receive(std::string_view bytes);

private:
    TTerminalPieces Terminal;
};
