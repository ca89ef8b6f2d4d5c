#include "tools/gridrun/GridRunText.h"

#include "platform/core/Cp949.h"

namespace {

// Reads the escape at text[i] (a backslash); appends its byte and moves i past it.
bool ReadEscape(std::string_view text, size_t& i, AnsiString& out, std::string& error)
{
    if (i + 1 >= text.size()) {
        error = "a line ends in an escape";
        return false;
    }
    const char c = text[i + 1];
    i += 2;
    switch (c) {
    case '\\': out += '\\'; return true;
    case '"': out += '"'; return true;
    case 't': out += '\t'; return true;
    case 'r': out += '\r'; return true;
    case 'n': out += '\n'; return true;
    case 'b': out += '\b'; return true;
    case 'x': {
        const int high = i < text.size() ? HexDigitValue(text[i]) : -1;
        const int low = i + 1 < text.size() ? HexDigitValue(text[i + 1]) : -1;
        if (high < 0 || low < 0) {
            error = "\\x needs two hexadecimal digits";
            return false;
        }
        out += static_cast<char>(high * 16 + low);
        i += 2;
        return true;
    }
    default: error = std::string("unknown escape \\") + c; return false;
    }
}

// Collects a word: plain UTF-8 runs are made cp949, escaped bytes go in as they are.
class TWordBuilder {
public:
    void Plain(char c) { FPending += c; }
    AnsiString& Raw()
    {
        Flush();
        return FText;
    }
    AnsiString Take()
    {
        Flush();
        return std::move(FText);
    }

private:
    void Flush()
    {
        FText += Utf8ToCp949(FPending);
        FPending.clear();
    }
    std::string FPending;
    AnsiString FText;
};

}  // namespace

bool SplitWords(std::string_view line, std::vector<TGridRunWord>& words, std::string& error)
{
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        TGridRunWord word;
        word.Start = i;
        TWordBuilder text;
        const bool quoted = line[i] == '"';
        if (quoted)
            ++i;
        bool closed = !quoted;
        while (i < line.size()) {
            const char c = line[i];
            if (quoted && c == '"') {
                closed = true;
                ++i;
                break;
            }
            if (!quoted && (c == ' ' || c == '\t'))
                break;
            if (c == '\\') {
                if (!ReadEscape(line, i, text.Raw(), error))
                    return false;
            } else {
                text.Plain(c);
                ++i;
            }
        }
        if (!closed) {
            error = "a quoted word is not closed";
            return false;
        }
        word.Text = text.Take();
        words.push_back(std::move(word));
    }
    return true;
}

bool Unescape(std::string_view text, AnsiString& out, std::string& error)
{
    TWordBuilder builder;
    for (size_t i = 0; i < text.size();) {
        if (text[i] == '\\') {
            if (!ReadEscape(text, i, builder.Raw(), error))
                return false;
        } else {
            builder.Plain(text[i++]);
        }
    }
    out = builder.Take();
    return true;
}

std::string Escape(std::string_view text, std::string_view extra)
{
    static const char* const kHex = "0123456789ABCDEF";
    std::string out;
    for (const char c : Cp949ToUtf8(text)) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\\': out += "\\\\"; continue;
        case '\t': out += "\\t"; continue;
        case '\r': out += "\\r"; continue;
        case '\n': out += "\\n"; continue;
        case '\b': out += "\\b"; continue;
        default: break;
        }
        if (byte < 0x20 || byte == 0x7F) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        } else {
            if (extra.find(c) != std::string_view::npos)
                out += '\\';
            out += c;
        }
    }
    return out;
}

std::string Quote(std::string_view text)
{
    if (!text.empty() && text.find_first_of(" \"") == std::string_view::npos)
        return Escape(text);
    return "\"" + Escape(text, "\"") + "\"";
}
