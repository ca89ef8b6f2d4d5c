#pragma once
// Text is cp949 bytes in a std::string. These are the framework's string helpers: positions are
// 1-based as in the framework, counts and positions out of range are clamped, never undefined.
// Case folding touches ASCII letters only and never a trail byte of a two-byte character.

#include <cstdint>
#include <string>
#include <string_view>

using AnsiString = std::string;

// A lead byte of a two-byte cp949 character.
inline bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
// The length in bytes (1 or 2) of the character that starts at byte i (0-based) of s; a lead byte
// with nothing after it counts as one byte.
inline int CharLengthAt(std::string_view s, size_t i)
{
    return (i + 1 < s.size() && IsLeadByte(static_cast<unsigned char>(s[i]))) ? 2 : 1;
}
// True when byte i (0-based) of s is the second byte of a two-byte character.
bool IsTrailByteAt(std::string_view s, size_t i);

AnsiString Copy(std::string_view s, int index, int count);
// Byte search, as the framework's Pos: 1-based position of sub in s, 0 when absent.
int Pos(std::string_view sub, std::string_view s);
// Character-aware search: never reports a match that starts on a trail byte.
int AnsiPos(std::string_view sub, std::string_view s);
void Delete(AnsiString& s, int index, int count);
void Insert(std::string_view sub, AnsiString& s, int index);

// The line of text that starts at p, p moved past its end: CR LF, LF or CR, or the text's end.
std::string_view TakeLine(std::string_view text, size_t& p);

// Blanks and control bytes (<= ' ') removed.
AnsiString Trim(std::string_view s);
AnsiString TrimLeft(std::string_view s);
AnsiString TrimRight(std::string_view s);

AnsiString UpperCase(std::string_view s);
AnsiString LowerCase(std::string_view s);
inline AnsiString AnsiUpperCase(std::string_view s) { return UpperCase(s); }
inline AnsiString AnsiLowerCase(std::string_view s) { return LowerCase(s); }
// Case-insensitive comparison of ASCII letters, trail bytes compared exactly: <0, 0 or >0.
int CompareText(std::string_view a, std::string_view b);
inline bool SameText(std::string_view a, std::string_view b) { return CompareText(a, b) == 0; }

// The value of c as a digit in bases up to 36 (letters of either case), -1 for anything else.
inline int DigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 10;
    return -1;
}
// The value of c as a hexadecimal digit, -1 for anything else.
inline int HexDigitValue(char c)
{
    int d = DigitValue(c);
    return d < 16 ? d : -1;
}

AnsiString IntToStr(int64_t value);
AnsiString IntToHex(int64_t value, int digits);
// Decimal, or hexadecimal after "$" or "0x"; an optional sign; blanks around are not allowed.
// Raises EConvertError("'TEXT' is not a valid integer value").
int StrToInt(std::string_view s);
bool TryStrToInt(std::string_view s, int& value);
int StrToIntDef(std::string_view s, int fallback);
// The same for 64-bit values.
bool TryStrToInt64(std::string_view s, int64_t& value);

// printf-style formatting into an AnsiString (the forms the program uses: %s %d %u %x %c %f %g %%,
// with flags, width and precision). Numbers are written as the C locale writes them ("." before
// decimals), whatever the process's locale.
AnsiString Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
