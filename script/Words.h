#pragma once
// Small word helpers shared by the executor and the functions.

#include <string_view>

#include "platform/core/AnsiString.h"

// Skips blanks, takes the word up to the next space (other blanks do not end it), skips the
// blanks after it. rest receives what follows.
AnsiString TakeFirstWord(std::string_view text, std::string_view& rest);

// Index of the '}' that closes the "{" group opened at open, or npos. Braces after '\' do not
// count.
size_t GroupEnd(const AnsiString& text, size_t open);

// True when text begins with prefix.
inline bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// The text after its first n bytes ("" when it is shorter).
inline std::string_view After(std::string_view text, size_t n)
{
    return n < text.size() ? text.substr(n) : std::string_view();
}
