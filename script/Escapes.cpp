// The send routine for lines to the game and its '$' escapes.

#include "script/Escapes.h"

#include "script/ScriptNumbers.h"
#include "script/ScriptState.h"

AnsiString ExpandEscapes(std::string_view text)
{
    AnsiString out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '$') {
            out += text[i];
            continue;
        }
        if (++i >= text.size())
            break;
        const char c = text[i];
        if (c == 'E' || c == 'e') {
            out += '\x1B';
        } else if (c == '$') {
            out += '$';
        } else if (c == '#' || c == 'G') {
            int n = 0;
            for (int digits = 0; digits < 3 && i + 1 < text.size() && IsDigit(text[i + 1]); ++digits)
                n = n * 10 + (text[++i] - '0');
            if (n > 255)
                n %= 255;
            out += static_cast<char>(n);
        }
        // Anything else: both characters are dropped.
    }
    return out;
}

void TScriptState::SendCommand(AnsiString text)
{
    if (text.find('$') != AnsiString::npos) {
        if (!text.empty() && text[0] == '#')
            text.erase(0, 1);
        if (text.empty() || text[0] != '\\')
            text = ExpandEscapes(text);
    }
    if (text.empty())
        return;
    if (text == "|") {
        SendText("\r\n");
        return;
    }
    SendText(text);
    const char last = text.back();
    if (last != '\n' && last != '\r')
        SendText("\r\n");
}
