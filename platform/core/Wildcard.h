#pragma once
// Whole-text wildcard matching shared by the string routines and the file listing.

#include <string_view>

// '*' matches any run of characters and '?' any one character; a two-byte character counts as
// one and is compared exactly (ignoreCase folds single-byte ASCII letters only).
bool WildcardMatch(std::string_view s, std::string_view pattern, bool ignoreCase);
