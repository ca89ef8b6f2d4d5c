#pragma once
// Conversion between the program's cp949 text and Unicode, through glibc iconv ("CP949"). Text
// that cannot be represented in cp949 becomes "?"; a cp949 byte sequence that is not a character
// becomes U+FFFD, one per bad byte, and the bytes after it are read again as text.

#include <string>
#include <string_view>

#include "platform/core/AnsiString.h"

std::string Cp949ToUtf8(std::string_view text);
std::u16string Cp949ToUtf16(std::string_view text);
AnsiString Utf8ToCp949(std::string_view text);
AnsiString Utf16ToCp949(std::u16string_view text);

// For the user's terminal: cp949 text in the character set of the locale the environment names
// (LC_ALL, LC_CTYPE, LANG), whatever locale the process has set. Under a UTF-8 locale it is
// Cp949ToUtf8's text; under any other a character the set cannot hold becomes "?" (so the C
// locale gets plain ASCII, never stray bytes).
std::string Cp949ToLocale(std::string_view text);

// The length of the UTF-8 character that starts rest (not empty): the whole character, or the
// bytes of an ill-formed one up to where it breaks off (a stray byte alone).
size_t Utf8CharLength(std::string_view rest);

// Plain Unicode transforms; an ill-formed sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

// Decodes cp949 arriving in pieces: a lead byte that ends a piece is kept and joined to the
// first byte of the next piece, so a character split between two pieces is decoded whole.
class TCp949Decoder {
public:
    std::string Decode(std::string_view piece);
    std::u16string DecodeUtf16(std::string_view piece);
    // Ends the stream: a lead byte still held becomes U+FFFD.
    std::string Flush();
    bool HasPending() const { return !pending_.empty(); }
    void Reset() { pending_.clear(); }

private:
    std::string Take(std::string_view piece);
    std::string pending_;
};
