#include "tools/scriptrun/ScriptRunText.h"

namespace {

int HexDigit(char c) { return HexDigitValue(c); }

}  // namespace

AnsiString UnescapeText(std::string_view text)
{
    AnsiString out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 >= text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[i + 1];
        if (c == 'r' || c == 'n' || c == 't' || c == '\\') {
            out += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : '\\';
            ++i;
        } else if (c == 'x' && i + 3 < text.size() && HexDigit(text[i + 2]) >= 0 && HexDigit(text[i + 3]) >= 0) {
            out += static_cast<char>(HexDigit(text[i + 2]) * 16 + HexDigit(text[i + 3]));
            i += 3;
        } else {
            out += '\\';
        }
    }
    return out;
}

AnsiString EscapeText(std::string_view text)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    AnsiString out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\\') {
            out += "\\\\";
        } else if (c >= 0x20 && c < 0x7F) {
            out += ch;
        } else {
            out += "\\x";
            out += Hex[c >> 4];
            out += Hex[c & 15];
        }
    }
    return out;
}
