#include "tools/scriptrun/ScriptRunReceive.h"

TReceivedText::TReceivedText(TScriptState& state)
{
    Terminal.Core.OnAfterPut = [&state](const AnsiString& piece) { state.ScanReceivedText(piece); };
}

void TReceivedText::Receive(std::string_view bytes)
{
    for (const char c : bytes) {
        if (c == '\r')
            continue;
        Terminal.Core.DecodeText(std::string_view(&c, 1));
        if (c == '\n')
            Terminal.Core.DecodeText("\r");
    }
}
