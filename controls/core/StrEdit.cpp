// Deleting, padding, trimming, replacing and quoting.
#include <algorithm>
#include <cstdint>

#include "controls/core/StrChars.h"

using strchars::Is;
using strchars::Len;
using strchars::MatchAt;

AnsiString StrToOem(std::string_view s) { return AnsiString(s); }
AnsiString OemToAnsiStr(std::string_view s) { return AnsiString(s); }

bool IsEmptyStr(std::string_view s, const TSysCharSet& emptyChars)
{
    for (size_t i = 0; i < s.size(); i += Len(s, i))
        if (!strchars::InSet(s, i, emptyChars))
            return false;
    return true;
}

AnsiString ReplaceStr(std::string_view s, std::string_view find, std::string_view replace)
{
    if (find.empty())
        return AnsiString(s);
    AnsiString out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        if (MatchAt(s, i, find)) {
            out += replace;
            i += find.size();
        } else {
            size_t n = Len(s, i);
            out += s.substr(i, n);
            i += n;
        }
    }
    return out;
}

int NPos(std::string_view sub, std::string_view s, int n)
{
    if (sub.empty() || n < 1)
        return 0;
    for (size_t i = 0; i < s.size(); i += Len(s, i))
        if (MatchAt(s, i, sub) && --n == 0)
            return static_cast<int>(i + 1);
    return 0;
}

AnsiString DelChars(std::string_view s, char c)
{
    AnsiString out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); i += Len(s, i))
        if (!Is(s, i, c))
            out += s.substr(i, Len(s, i));
    return out;
}

AnsiString DelSpace(std::string_view s) { return DelChars(s, ' '); }

AnsiString DelBSpace(std::string_view s)
{
    size_t b = s.find_first_not_of(' ');
    return b == std::string_view::npos ? AnsiString() : AnsiString(s.substr(b));
}

AnsiString DelESpace(std::string_view s)
{
    // A malformed lead byte followed by a blank takes the blank as its second byte; keep it.
    size_t end = 0;
    for (size_t i = 0; i < s.size(); i += Len(s, i))
        if (!Is(s, i, ' '))
            end = i + Len(s, i);
    return AnsiString(s.substr(0, end));
}

AnsiString DelRSpace(std::string_view s) { return DelBSpace(DelESpace(s)); }

AnsiString DelSpace1(std::string_view s)
{
    AnsiString out;
    out.reserve(s.size());
    bool afterBlank = false;
    for (size_t i = 0; i < s.size(); i += Len(s, i)) {
        bool blank = Is(s, i, ' ');
        if (!blank || !afterBlank)
            out += s.substr(i, Len(s, i));
        afterBlank = blank;
    }
    return out;
}

AnsiString MakeStr(char c, int n) { return n < 1 ? AnsiString() : AnsiString(static_cast<size_t>(n), c); }
AnsiString MS(char c, int n) { return MakeStr(c, n); }

AnsiString Tab2Space(std::string_view s, int numSpaces)
{
    AnsiString blanks = MakeStr(' ', numSpaces), out;
    for (size_t i = 0; i < s.size(); i += Len(s, i)) {
        if (Is(s, i, '\t'))
            out += blanks;
        else
            out += s.substr(i, Len(s, i));
    }
    return out;
}

AnsiString AddChar(char c, std::string_view s, int length)
{
    return MakeStr(c, length - static_cast<int>(std::min<size_t>(s.size(), INT32_MAX))) + AnsiString(s);
}

AnsiString AddCharR(char c, std::string_view s, int length)
{
    return AnsiString(s) + MakeStr(c, length - static_cast<int>(std::min<size_t>(s.size(), INT32_MAX)));
}

AnsiString LeftStr(std::string_view s, int length) { return AddCharR(' ', s, length); }
AnsiString RightStr(std::string_view s, int length) { return AddChar(' ', s, length); }

AnsiString CenterStr(std::string_view s, int width)
{
    int extra = width - static_cast<int>(std::min<size_t>(s.size(), INT32_MAX));
    if (extra <= 0)
        return AnsiString(s);
    return MakeStr(' ', extra / 2) + AnsiString(s) + MakeStr(' ', extra - extra / 2);
}

AnsiString Copy2Symb(std::string_view s, char symbol)
{
    size_t i = 0;
    while (i < s.size() && !Is(s, i, symbol))
        i += Len(s, i);
    return AnsiString(s.substr(0, i));
}

AnsiString Copy2SymbDel(AnsiString& s, char symbol)
{
    AnsiString head = Copy2Symb(s, symbol);
    s = DelBSpace(std::string_view(s).substr(head.size()));
    return head;
}

AnsiString Copy2Space(std::string_view s) { return Copy2Symb(s, ' '); }
AnsiString Copy2SpaceDel(AnsiString& s) { return Copy2SymbDel(s, ' '); }

AnsiString QuotedString(std::string_view s, char quote)
{
    AnsiString out(1, quote);
    for (size_t i = 0; i < s.size(); i += Len(s, i)) {
        if (Is(s, i, quote))
            out += quote;
        out += s.substr(i, Len(s, i));
    }
    out += quote;
    return out;
}

AnsiString ExtractQuotedString(std::string_view s, char quote)
{
    if (s.empty() || !Is(s, 0, quote))
        return AnsiString(s);
    AnsiString out;
    for (size_t i = 1; i < s.size();) {
        if (Is(s, i, quote)) {
            if (i + 1 < s.size() && s[i + 1] == quote) {
                out += quote;
                i += 2;
                continue;
            }
            break;  // the closing quote; whatever follows it is not part of the text
        }
        out += s.substr(i, Len(s, i));
        i += Len(s, i);
    }
    return out;
}
