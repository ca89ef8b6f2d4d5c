// Number texts: thousands separators, hexadecimal, other bases, Roman numerals, binary.
#include <algorithm>
#include <climits>
#include <cstdio>

#include "controls/core/StrUtils.h"
#include "platform/core/Exceptions.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Base 0 would divide by zero and base 1 never ends; above 36 there are no more letters.
void CheckBase(int base)
{
    if (base < 2 || base > 36)
        throw EConvertError(Format("Invalid number base %d", base));
}

int RomanValue(char c)
{
    switch (c) {
    case 'I': return 1;
    case 'V': return 5;
    case 'X': return 10;
    case 'L': return 50;
    case 'C': return 100;
    case 'D': return 500;
    case 'M': return 1000;
    default: return 0;
    }
}

}  // namespace

AnsiString Numb2USA(std::string_view s)
{
    // Only the first run of digits is grouped, so a sign or a fraction is left alone. No byte of
    // a two-byte character is a digit's lead, and trail bytes are never digits.
    size_t begin = 0;
    while (begin < s.size() && !IsDigit(s[begin]))
        begin += static_cast<size_t>(CharLengthAt(s, begin));
    size_t end = begin;
    while (end < s.size() && IsDigit(s[end]))
        ++end;
    AnsiString out(s.substr(0, begin));
    for (size_t i = begin; i < end; ++i) {
        if (i > begin && (end - i) % 3 == 0)
            out += ',';
        out += s[i];
    }
    out += s.substr(end);
    return out;
}

AnsiString Dec2Hex(int32_t n, int digits)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%X", static_cast<uint32_t>(n));
    AnsiString hex = buffer;
    if (digits > static_cast<int>(hex.size()))
        hex.insert(0, static_cast<size_t>(digits) - hex.size(), '0');
    return hex;
}

AnsiString D2H(int32_t n, int digits) { return Dec2Hex(n, digits); }

int32_t Hex2Dec(std::string_view s)
{
    if (!s.empty() && s[0] == '$')
        s.remove_prefix(1);
    if (s.empty())
        return 0;
    uint64_t value = 0;
    for (char c : s) {
        int d = DigitValue(c);
        if (d < 0 || d > 15)
            return 0;
        value = value * 16 + static_cast<uint64_t>(d);
        if (value > UINT32_MAX)
            return 0;
    }
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

int32_t H2D(std::string_view s) { return Hex2Dec(s); }

AnsiString Dec2Numb(int32_t n, int width, int base)
{
    CheckBase(base);
    auto value = static_cast<uint32_t>(n);
    AnsiString digits;
    do {
        int d = static_cast<int>(value % static_cast<uint32_t>(base));
        digits.insert(digits.begin(), static_cast<char>(d < 10 ? '0' + d : 'A' + d - 10));
        value /= static_cast<uint32_t>(base);
    } while (value != 0);
    if (width > static_cast<int>(digits.size()))
        digits.insert(0, static_cast<size_t>(width) - digits.size(), '0');
    return digits;
}

int32_t Numb2Dec(std::string_view s, int base)
{
    CheckBase(base);
    uint32_t value = 0;
    for (char c : s) {
        int d = DigitValue(c);
        if (d < 0 || d >= base)
            return 0;
        value = value * static_cast<uint32_t>(base) + static_cast<uint32_t>(d);
    }
    return static_cast<int32_t>(value);
}

int RomanToInt(std::string_view s)
{
    bool negative = !s.empty() && s[0] == '-';
    if (negative)
        s.remove_prefix(1);
    int64_t total = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        int v = RomanValue(s[i]);
        if (v == 0)
            return 0;
        if (i + 1 < s.size() && v < RomanValue(s[i + 1]))
            total -= v;
        else
            total += v;
        total = std::min<int64_t>(total, INT_MAX);  // a text of millions of letters saturates
    }
    return static_cast<int>(negative ? -total : total);
}

AnsiString IntToRoman(int n)
{
    static const struct {
        int value;
        const char* letters;
    } kSteps[] = {{1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
                  {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},    {4, "IV"},  {1, "I"}};
    AnsiString out;
    for (const auto& step : kSteps) {
        while (n >= step.value) {
            out += step.letters;
            n -= step.value;
        }
    }
    return out;
}

AnsiString IntToBin(int32_t n, int digits, int group)
{
    digits = std::clamp(digits, 0, 32);
    auto value = static_cast<uint32_t>(n);
    AnsiString out;
    for (int left = digits; left > 0; --left) {
        if (group > 0 && left % group == 0)
            out += ' ';
        out += static_cast<char>('0' + ((value >> (left - 1)) & 1u));
    }
    return out;
}
