// Pattern searches with '?' and '*'.
#include "controls/core/StrChars.h"

using strchars::AsciiUpper;
using strchars::Len;

namespace {

// The character of pattern p at byte pi equals the character of s at byte si.
bool SameChar(std::string_view p, size_t pi, std::string_view s, size_t si, bool ignoreCase)
{
    size_t n = Len(p, pi);
    if (n != Len(s, si))
        return false;
    if (n == 1)
        return ignoreCase ? AsciiUpper(p[pi]) == AsciiUpper(s[si]) : p[pi] == s[si];
    return p.compare(pi, n, s, si, n) == 0;
}

// '?' and '*' are ASCII and never the second byte of a two-byte character.
bool IsWildChar(std::string_view p, size_t pi, char c) { return strchars::Is(p, pi, c); }

}  // namespace

int FindPart(std::string_view pattern, std::string_view s)
{
    if (pattern.empty())
        return 0;
    for (size_t start = 0; start < s.size(); start += Len(s, start)) {
        size_t pi = 0, si = start;
        while (pi < pattern.size() && si < s.size() &&
               (IsWildChar(pattern, pi, '?') || SameChar(pattern, pi, s, si, false))) {
            pi += Len(pattern, pi);
            si += Len(s, si);
        }
        if (pi == pattern.size())
            return static_cast<int>(start + 1);
    }
    return 0;
}

bool IsWild(std::string_view s, std::string_view pattern, bool ignoreCase)
{
    // Greedy match that backtracks only to the last '*': linear in practice, never exponential.
    size_t si = 0, pi = 0;
    size_t starPattern = std::string_view::npos, starText = 0;
    while (si < s.size()) {
        if (pi < pattern.size() && IsWildChar(pattern, pi, '*')) {
            while (pi < pattern.size() && IsWildChar(pattern, pi, '*'))
                ++pi;
            starPattern = pi;
            starText = si;
        } else if (pi < pattern.size() && (IsWildChar(pattern, pi, '?') || SameChar(pattern, pi, s, si, ignoreCase))) {
            pi += Len(pattern, pi);
            si += Len(s, si);
        } else if (starPattern != std::string_view::npos) {
            starText += Len(s, starText);
            si = starText;
            pi = starPattern;
        } else {
            return false;
        }
    }
    while (pi < pattern.size() && IsWildChar(pattern, pi, '*'))
        ++pi;
    return pi == pattern.size();
}
