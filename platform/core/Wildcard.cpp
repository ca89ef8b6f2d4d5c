#include "platform/core/Wildcard.h"

#include "platform/core/AnsiString.h"

namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

// cp949 text: a two-byte character is one; '?' and '*' are ASCII and never the second byte of one.
struct TCp949Chars {
    bool IgnoreCase;
    static size_t Len(std::string_view s, size_t i) { return static_cast<size_t>(CharLengthAt(s, i)); }
    size_t TextLength(std::string_view s, size_t i) const { return Len(s, i); }
    size_t PatternLength(std::string_view p, size_t i) const { return Len(p, i); }
    bool IsStar(std::string_view p, size_t i) const { return Len(p, i) == 1 && p[i] == '*'; }
    bool IsOne(std::string_view p, size_t i) const { return Len(p, i) == 1 && p[i] == '?'; }
    bool Same(std::string_view p, size_t pi, std::string_view s, size_t si) const
    {
        const size_t n = Len(p, pi);
        if (n != Len(s, si))
            return false;
        if (n == 1)
            return IgnoreCase ? Upper(p[pi]) == Upper(s[si]) : p[pi] == s[si];
        return p.compare(pi, n, s, si, n) == 0;
    }
};

}  // namespace

bool WildcardMatch(std::string_view s, std::string_view pattern, bool ignoreCase)
{
    return WildcardMatchChars(s, pattern, TCp949Chars{ignoreCase});
}
