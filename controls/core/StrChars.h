#pragma once
// Character stepping shared by the string routines (not part of their interface).

#include <string_view>

#include "controls/core/StrUtils.h"

namespace strchars {

// Length of the character at byte i (0-based).
inline size_t Len(std::string_view s, size_t i) { return static_cast<size_t>(CharLengthAt(s, i)); }

// True when the character at byte i is a single byte that belongs to the set.
inline bool InSet(std::string_view s, size_t i, const TSysCharSet& set) { return Len(s, i) == 1 && set.Contains(s[i]); }

// True when the character at byte i is the single byte c.
inline bool Is(std::string_view s, size_t i, char c) { return Len(s, i) == 1 && s[i] == c; }

// True when sub occurs at byte i of s (a character start) and ends on a character boundary, so
// a match never takes half of a two-byte character.
inline bool MatchAt(std::string_view s, size_t i, std::string_view sub)
{
    if (i + sub.size() > s.size() || s.compare(i, sub.size(), sub) != 0)
        return false;
    size_t end = i;
    while (end < i + sub.size())
        end += Len(s, end);
    return end == i + sub.size();
}

inline char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

}  // namespace strchars
