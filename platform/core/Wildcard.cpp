#include "platform/core/Wildcard.h"

#include "platform/core/AnsiString.h"

namespace {

size_t Len(std::string_view s, size_t i) { return static_cast<size_t>(CharLengthAt(s, i)); }

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

// '?' and '*' are ASCII and never the second byte of a two-byte character.
bool IsWildChar(std::string_view p, size_t pi, char c) { return Len(p, pi) == 1 && p[pi] == c; }

bool SameChar(std::string_view p, size_t pi, std::string_view s, size_t si, bool ignoreCase)
{
    size_t n = Len(p, pi);
    if (n != Len(s, si))
        return false;
    if (n == 1)
        return ignoreCase ? Upper(p[pi]) == Upper(s[si]) : p[pi] == s[si];
    return p.compare(pi, n, s, si, n) == 0;
}

}  // namespace

bool WildcardMatch(std::string_view s, std::string_view pattern, bool ignoreCase)
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
