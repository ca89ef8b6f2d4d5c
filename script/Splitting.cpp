// Cutting a command text into commands, and the argument tokenizer.

#include "script/ScriptNumbers.h"
#include "script/ScriptState.h"
#include "script/ScriptText.h"
#include "script/Words.h"

namespace {

bool IsCommandSeparator(char c) { return c == '|' || c == '\r' || c == '\n'; }

bool Escaped(const AnsiString& text, size_t i) { return i > 0 && text[i - 1] == '\\'; }

}  // namespace

size_t GroupEnd(const AnsiString& text, size_t open)
{
    int depth = 1;
    for (size_t i = open + 1; i < text.size(); ++i) {
        if ((text[i] == '{' || text[i] == '}') && Escaped(text, i))
            continue;
        if (text[i] == '{')
            ++depth;
        else if (text[i] == '}' && --depth == 0)
            return i;
    }
    return AnsiString::npos;
}

AnsiString TakeFirstWord(std::string_view text, std::string_view& rest)
{
    size_t i = 0;
    while (i < text.size() && IsScriptBlank(text[i]))
        ++i;
    size_t start = i;
    while (i < text.size() && text[i] != ' ')
        ++i;
    AnsiString word(text.substr(start, i - start));
    while (i < text.size() && IsScriptBlank(text[i]))
        ++i;
    rest = text.substr(i);
    return word;
}

std::optional<AnsiString> TScriptState::SplitCommand(const AnsiString& buffer, size_t& cursor)
{
    const size_t size = buffer.size();
    if (cursor > size)
        return std::nullopt;

    size_t start = cursor;
    size_t p = cursor;
    while (p < size && IsScriptBlank(buffer[p]))
        ++p;
    if (p < size && buffer[p] == '#')
        start = p;  // otherwise the blanks stay part of the command

    const bool isIf = StartsWith(std::string_view(buffer).substr(start), "#if");
    bool hadGroup = false;
    for (size_t q = start;; ++q) {
        if (q >= size) {
            cursor = size + 1;
            if (q == start)
                return std::nullopt;
            return buffer.substr(start, q - start);
        }
        const char c = buffer[q];
        if (c == '{' && !Escaped(buffer, q)) {
            const size_t close = GroupEnd(buffer, q);
            if (close == AnsiString::npos) {
                PutDirectString(buffer.substr(start) + ScriptText::BadCommand);
                cursor = size + 1;
                return std::nullopt;
            }
            hadGroup = true;
            if (isIf) {
                q = close;
                continue;
            }
            // The group ends the command; the byte after it goes with it, unless it starts a
            // two-byte character, which would be cut in half.
            AnsiString command = buffer.substr(start, close + 1 - start);
            const size_t next = close + 1;
            const bool hangul = next + 1 < size && IsLeadByte(static_cast<unsigned char>(buffer[next]));
            cursor = hangul ? next : next + 1;
            return command;
        }
        if (IsCommandSeparator(c) && (!isIf || hadGroup)) {
            cursor = q + 1;
            return buffer.substr(start, q - start);
        }
    }
}

std::optional<AnsiString> TScriptState::GetWord(std::string_view text, std::string_view separators)
{
    WordText.assign(text);
    WordCursor = 0;
    return GetWord(separators);
}

std::optional<AnsiString> TScriptState::GetWord(std::string_view separators)
{
    const size_t size = WordText.size();
    if (WordCursor >= size) {
        // At or past the end: an empty word is no word.
        WordCursor = size + 1;
        return std::nullopt;
    }
    const size_t start = WordCursor;
    if (WordText[start] == '{') {
        // The splitter's rule: a brace after '\' neither opens nor closes, and stays as written.
        const size_t i = GroupEnd(WordText, start);
        if (i == AnsiString::npos) {
            PutDirectString(ScriptText::BadWord);
            WordCursor = size + 1;
            return std::nullopt;
        }
        // The next word starts right after the '}', so a separator there gives an empty word.
        WordCursor = i + 1;
        return WordText.substr(start + 1, i - start - 1);
    }
    for (size_t i = start; i < size; ++i) {
        const char c = WordText[i];
        if (c == '\r' || c == '\n' || separators.find(c) != std::string_view::npos) {
            WordCursor = i + 1;
            return WordText.substr(start, i - start);
        }
    }
    WordCursor = size + 1;
    return WordText.substr(start);
}
