#include "controls/core/CtrlStrings.h"

#include <cstring>
#include <vector>

namespace {

bool IsBlank(char c) { return c >= 1 && c <= 32; }

// Reads the token that starts at or after `pos`; pos ends after it.
AnsiString NextToken(std::string_view s, size_t& pos)
{
    while (pos < s.size() && IsBlank(s[pos]))
        ++pos;
    while (pos + 1 < s.size() && s[pos] == '"' && s[pos + 1] == '"')
        pos += 2;
    AnsiString token;
    while (pos < s.size() && static_cast<unsigned char>(s[pos]) > 32) {
        if (s[pos] == '"') {
            ++pos;
            while (pos < s.size() && s[pos] != '"')
                token += s[pos++];
            if (pos < s.size())
                ++pos;
        } else {
            token += s[pos++];
        }
    }
    return token;
}

}  // namespace

void SplitCommandLine(std::string_view CmdLine, AnsiString& ExeName, AnsiString& Params)
{
    ExeName.clear();
    Params.clear();
    size_t pos = 0;
    std::vector<AnsiString> tokens;
    for (AnsiString t = NextToken(CmdLine, pos); !t.empty(); t = NextToken(CmdLine, pos))
        tokens.push_back(std::move(t));
    if (tokens.empty())
        return;
    ExeName = tokens[0];
    for (size_t i = 1; i < tokens.size(); ++i) {
        if (i > 1)
            Params += ' ';
        if (tokens[i].find(' ') != AnsiString::npos)
            Params += '"' + tokens[i] + '"';
        else
            Params += tokens[i];
    }
}

AnsiString AnsiUpperFirstChar(std::string_view S)
{
    AnsiString result = AnsiLowerCase(S);
    if (result.empty())
        return result;
    const size_t first = static_cast<size_t>(CharLengthAt(result, 0));
    return AnsiUpperCase(std::string_view(result).substr(0, first)) + result.substr(first);
}

AnsiString DropT(std::string_view S)
{
    if (S.size() > 1 && (S[0] == 'T' || S[0] == 't'))
        return AnsiString(S.substr(1));
    return AnsiString(S);
}

char* StrPAlloc(std::string_view S)
{
    char* p = new char[S.size() + 1];
    std::memcpy(p, S.data(), S.size());
    p[S.size()] = '\0';
    return p;
}

void StrDispose(char* P) { delete[] P; }
