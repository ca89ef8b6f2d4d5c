#pragma once
// Whole-text wildcard matching shared by the string routines and the file listing.

#include <string_view>

// '*' matches any run of characters and '?' any one character; a two-byte character counts as
// one and is compared exactly (ignoreCase folds single-byte ASCII letters only).
bool WildcardMatch(std::string_view s, std::string_view pattern, bool ignoreCase);

// The matcher itself, for texts whose characters `chars` measures and compares: TextLength(s, i)
// and PatternLength(p, i) give the bytes of the character at i, IsStar(p, i) and IsOne(p, i) tell
// the pattern's wildcards, Same(p, pi, s, si) compares a pattern character with a text character.
// Greedy, backtracking only to the last '*': linear in practice, never exponential.
template <class TChars>
bool WildcardMatchChars(std::string_view s, std::string_view pattern, const TChars& chars)
{
    size_t si = 0, pi = 0;
    size_t starPattern = std::string_view::npos, starText = 0;
    while (si < s.size()) {
        if (pi < pattern.size() && chars.IsStar(pattern, pi)) {
            while (pi < pattern.size() && chars.IsStar(pattern, pi))
                ++pi;
            starPattern = pi;
            starText = si;
        } else if (pi < pattern.size() && (chars.IsOne(pattern, pi) || chars.Same(pattern, pi, s, si))) {
            pi += chars.PatternLength(pattern, pi);
            si += chars.TextLength(s, si);
        } else if (starPattern != std::string_view::npos) {
            starText += chars.TextLength(s, starText);
            si = starText;
            pi = starPattern;
        } else {
            return false;
        }
    }
    while (pi < pattern.size() && chars.IsStar(pattern, pi))
        ++pi;
    return pi == pattern.size();
}
