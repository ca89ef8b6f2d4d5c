#include "tools/scriptrun/ScriptRunReceive.h"

TReceivedText::TReceivedText(TScriptState& state)
{
    Terminal.OnAfterPut = [&state](const AnsiString& piece) { state.ScanReceivedText(piece); };
}

void TReceivedText::Receive(std::string_view bytes)
{
    for (const char c : bytes) {
        if (c == '\r')
            continue;
        Terminal.DecodeText(std::string_view(&c, 1));
        if (c == '\n')
            Terminal.DecodeText("\r");
    }
}
