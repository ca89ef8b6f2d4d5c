#include "platform/gui/FileFilter.h"

#include "platform/core/Cp949.h"

namespace {

std::vector<AnsiString> Split(const AnsiString& text, char separator)
{
    std::vector<AnsiString> parts;
    AnsiString part;
    for (size_t i = 0; i < text.size(); ++i) {
        if (CharLengthAt(text, i) == 2) {
            part.append(text, i++, 2);
        } else if (text[i] == separator) {
            parts.push_back(part);
            part.clear();
        } else {
            part += text[i];
        }
    }
    parts.push_back(part);
    return parts;
}

char Fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

}  // namespace

std::vector<TFileFilter> ParseFileFilter(const AnsiString& filter)
{
    std::vector<TFileFilter> result;
    if (filter.empty())
        return result;
    std::vector<AnsiString> parts = Split(filter, '|');
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        TFileFilter f{parts[i], {}};
        for (const AnsiString& pattern : Split(parts[i + 1], ';')) {
            AnsiString t = Trim(pattern);
            if (!t.empty())
                f.Patterns.push_back(t);
        }
        result.push_back(f);
    }
    return result;
}

std::string QtNameFilter(const TFileFilter& filter)
{
    std::string patterns;
    for (const AnsiString& pattern : filter.Patterns) {
        if (!patterns.empty())
            patterns += ' ';
        if (pattern == "*.*") {
            patterns += '*';
            continue;
        }
        for (size_t i = 0; i < pattern.size(); ++i) {
            char c = pattern[i];
            if (CharLengthAt(pattern, i) == 2) {
                patterns += Cp949ToUtf8(pattern.substr(i++, 2));
            } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
                char lower = Fold(c);
                patterns += std::string("[") + static_cast<char>(lower - 32) + lower + "]";
            } else {
                patterns += c;
            }
        }
    }
    // Parentheses in the name would be read as the pattern list: Qt takes the last pair.
    std::string name = Cp949ToUtf8(filter.Name);
    return name + " (" + (patterns.empty() ? std::string("*") : patterns) + ")";
}
