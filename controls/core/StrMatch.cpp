// Pattern searches with '?' and '*'.
#include "controls/core/StrChars.h"
#include "platform/core/Wildcard.h"

using strchars::Len;

namespace {

// The character of pattern p at byte pi equals the character of s at byte si.
bool SameChar(std::string_view p, size_t pi, std::string_view s, size_t si)
{
    size_t n = Len(p, pi);
    return n == Len(s, si) && p.compare(pi, n, s, si, n) == 0;
}

}  // namespace

int FindPart(std::string_view pattern, std::string_view s)
{
    if (pattern.empty())
        return 0;
    for (size_t start = 0; start < s.size(); start += Len(s, start)) {
        size_t pi = 0, si = start;
        while (pi < pattern.size() && si < s.size() &&
               (strchars::Is(pattern, pi, '?') || SameChar(pattern, pi, s, si))) {
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
    return WildcardMatch(s, pattern, ignoreCase);
}
