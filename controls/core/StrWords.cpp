// Words (runs of characters outside a delimiter set) and delimited fields.
#include "controls/core/StrChars.h"

using strchars::InSet;
using strchars::Len;

namespace {

// Byte range [start, end) of the n-th word (1-based); false when there is none.
bool FindWord(int n, std::string_view s, const TSysCharSet& delims, size_t& start, size_t& end)
{
    if (n < 1)
        return false;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && InSet(s, i, delims))
            i += Len(s, i);
        if (i >= s.size())
            break;
        start = i;
        while (i < s.size() && !InSet(s, i, delims))
            i += Len(s, i);
        if (--n == 0) {
            end = i;
            return true;
        }
    }
    return false;
}

}  // namespace

int WordCount(std::string_view s, const TSysCharSet& wordDelims)
{
    int count = 0;
    bool inWord = false;
    for (size_t i = 0; i < s.size(); i += Len(s, i)) {
        bool delim = InSet(s, i, wordDelims);
        if (!delim && !inWord)
            ++count;
        inWord = !delim;
    }
    return count;
}

int WordPosition(int n, std::string_view s, const TSysCharSet& wordDelims)
{
    size_t start, end;
    return FindWord(n, s, wordDelims, start, end) ? static_cast<int>(start + 1) : 0;
}

AnsiString ExtractWordPos(int n, std::string_view s, const TSysCharSet& wordDelims, int& pos)
{
    size_t start, end;
    if (!FindWord(n, s, wordDelims, start, end)) {
        pos = 0;
        return AnsiString();
    }
    pos = static_cast<int>(start + 1);
    return AnsiString(s.substr(start, end - start));
}

AnsiString ExtractWord(int n, std::string_view s, const TSysCharSet& wordDelims)
{
    int pos;
    return ExtractWordPos(n, s, wordDelims, pos);
}

AnsiString ExtractDelimited(int n, std::string_view s, const TSysCharSet& delims)
{
    if (n < 1)
        return AnsiString();
    size_t start = 0;
    for (size_t i = 0; i <= s.size();) {
        if (i == s.size() || InSet(s, i, delims)) {
            if (--n == 0)
                return AnsiString(s.substr(start, i - start));
            if (i == s.size())
                break;
            start = i + 1;
            ++i;
        } else {
            i += Len(s, i);
        }
    }
    return AnsiString();
}

AnsiString ExtractSubstr(std::string_view s, int& pos, const TSysCharSet& delims)
{
    size_t start = pos < 1 ? 0 : static_cast<size_t>(pos - 1);
    if (start >= s.size()) {
        pos = static_cast<int>(s.size() + 1);
        return AnsiString();
    }
    size_t i = start;
    while (i < s.size() && !InSet(s, i, delims))
        i += Len(s, i);
    AnsiString out(s.substr(start, i - start));
    if (i < s.size())
        ++i;  // past the delimiter
    pos = static_cast<int>(i + 1);
    return out;
}

bool IsWordPresent(std::string_view word, std::string_view s, const TSysCharSet& wordDelims)
{
    size_t start, end;
    while (FindWord(1, s, wordDelims, start, end)) {
        if (s.substr(start, end - start) == word)
            return true;
        s.remove_prefix(end);
    }
    return false;
}

AnsiString AnsiProperCase(std::string_view s, const TSysCharSet& wordDelims)
{
    AnsiString out(s);
    bool atWordStart = true;
    for (size_t i = 0; i < out.size(); i += Len(out, i)) {
        bool delim = InSet(out, i, wordDelims);
        if (atWordStart && !delim && Len(out, i) == 1)
            out[i] = strchars::AsciiUpper(out[i]);
        atWordStart = delim;
    }
    return out;
}
