#include "platform/core/AnsiString.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "platform/core/CLocaleNumbers.h"
#include "platform/core/Exceptions.h"

bool IsTrailByteAt(std::string_view s, size_t i)
{
    if (i >= s.size())
        return false;
    size_t p = 0;
    while (p < i)
        p += static_cast<size_t>(CharLengthAt(s, p));
    return p != i;
}

// Clamps a 1-based index and a count to the bytes of s; returns the 0-based start and length.
static void ClampRange(size_t size, int index, int count, size_t& start, size_t& length)
{
    if (index < 1) {
        // The framework treats an index below 1 as 1 but keeps the count.
        index = 1;
    }
    start = std::min(static_cast<size_t>(index - 1), size);
    length = count <= 0 ? 0 : std::min(static_cast<size_t>(count), size - start);
}

AnsiString Copy(std::string_view s, int index, int count)
{
    size_t start, length;
    ClampRange(s.size(), index, count, start, length);
    return AnsiString(s.substr(start, length));
}

int Pos(std::string_view sub, std::string_view s)
{
    if (sub.empty())
        return 0;
    size_t at = s.find(sub);
    return at == std::string_view::npos ? 0 : static_cast<int>(at + 1);
}

int AnsiPos(std::string_view sub, std::string_view s)
{
    if (sub.empty())
        return 0;
    // The byte search finds candidates; the character starts are walked once, up to each.
    size_t start = 0;
    for (size_t at = s.find(sub); at != std::string_view::npos; at = s.find(sub, at + 1)) {
        while (start < at)
            start += static_cast<size_t>(CharLengthAt(s, start));
        if (start == at)
            return static_cast<int>(at + 1);
    }
    return 0;
}

void Delete(AnsiString& s, int index, int count)
{
    if (index < 1 || static_cast<size_t>(index) > s.size() || count <= 0)
        return;
    size_t start, length;
    ClampRange(s.size(), index, count, start, length);
    s.erase(start, length);
}

void Insert(std::string_view sub, AnsiString& s, int index)
{
    size_t at = index < 1 ? 0 : std::min(static_cast<size_t>(index - 1), s.size());
    s.insert(at, sub);
}

static bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

AnsiString TrimLeft(std::string_view s)
{
    size_t b = 0;
    while (b < s.size() && IsBlank(s[b]))
        ++b;
    return AnsiString(s.substr(b));
}

AnsiString TrimRight(std::string_view s)
{
    size_t e = s.size();
    while (e > 0 && IsBlank(s[e - 1]))
        --e;
    return AnsiString(s.substr(0, e));
}

AnsiString Trim(std::string_view s) { return TrimLeft(TrimRight(s)); }

std::string_view TakeLine(std::string_view text, size_t& p)
{
    const size_t end = std::min(text.find_first_of("\r\n", p), text.size());
    const std::string_view line = text.substr(p, end - p);
    p = end;
    if (p < text.size())
        p += text[p] == '\r' && p + 1 < text.size() && text[p + 1] == '\n' ? 2 : 1;
    return line;
}

template <typename Fold>
static AnsiString FoldCase(std::string_view s, Fold fold)
{
    AnsiString out(s);
    for (size_t i = 0; i < out.size();) {
        int n = CharLengthAt(out, i);
        if (n == 1)
            out[i] = fold(out[i]);
        i += static_cast<size_t>(n);
    }
    return out;
}

static char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
static char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

AnsiString UpperCase(std::string_view s) { return FoldCase(s, AsciiUpper); }
AnsiString LowerCase(std::string_view s) { return FoldCase(s, AsciiLower); }

int CompareText(std::string_view a, std::string_view b)
{
    size_t i = 0;
    while (i < a.size() && i < b.size()) {
        // Fold only bytes that are single-byte characters in both strings at this position.
        bool singleA = CharLengthAt(a, i) == 1, singleB = CharLengthAt(b, i) == 1;
        auto ca = static_cast<unsigned char>(singleA ? AsciiUpper(a[i]) : a[i]);
        auto cb = static_cast<unsigned char>(singleB ? AsciiUpper(b[i]) : b[i]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (!singleA || !singleB) {
            // Both start a two-byte character here (the lead bytes are equal): compare the
            // trail bytes exactly.
            if (i + 1 < a.size() && i + 1 < b.size() && a[i + 1] != b[i + 1])
                return static_cast<unsigned char>(a[i + 1]) < static_cast<unsigned char>(b[i + 1]) ? -1 : 1;
            i += 2;
        } else {
            ++i;
        }
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

AnsiString IntToStr(int64_t value) { return std::to_string(value); }

AnsiString IntToHex(int64_t value, int digits)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%0*llX", std::clamp(digits, 0, 16), static_cast<unsigned long long>(value));
    return buffer;
}

namespace {

// Decimal must fit a signed value of `bits` bits; hexadecimal may spell any pattern of them.
bool ScanInteger(std::string_view s, unsigned bits, int64_t& value)
{
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size())
        return false;
    const uint64_t signedMax = (uint64_t(1) << (bits - 1)) - 1;
    const uint64_t limit = base == 16 ? signedMax * 2 + 1 : signedMax + (negative ? 1 : 0);
    uint64_t magnitude = 0;
    for (; i < s.size(); ++i) {
        int digit = DigitValue(s[i]);
        if (digit < 0 || digit >= base)
            return false;
        if (magnitude > (limit - static_cast<uint64_t>(digit)) / static_cast<uint64_t>(base))
            return false;
        magnitude = magnitude * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    }
    if (negative)
        magnitude = 0 - magnitude;
    // The pattern's low `bits` bits, read as a signed number.
    if (bits < 64 && (magnitude & (uint64_t(1) << (bits - 1))))
        magnitude |= ~((uint64_t(1) << bits) - 1);
    else if (bits < 64)
        magnitude &= (uint64_t(1) << bits) - 1;
    value = static_cast<int64_t>(magnitude);
    return true;
}

}  // namespace

bool TryStrToInt(std::string_view s, int& value)
{
    int64_t v = 0;
    if (!ScanInteger(s, 32, v))
        return false;
    value = static_cast<int>(v);
    return true;
}

bool TryStrToInt64(std::string_view s, int64_t& value) { return ScanInteger(s, 64, value); }

int StrToInt(std::string_view s)
{
    int value;
    if (!TryStrToInt(s, value))
        throw EConvertError("'" + AnsiString(s) + "' is not a valid integer value");
    return value;
}

int StrToIntDef(std::string_view s, int fallback)
{
    int value;
    return TryStrToInt(s, value) ? value : fallback;
}

AnsiString Format(const char* format, ...)
{
    // "%f" and "%g" write "." for decimals, as the format settings have it, whatever the
    // desktop's locale.
    const TCLocaleScope cLocale;
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    AnsiString out;
    if (n > 0) {
        out.resize(static_cast<size_t>(n));
        std::vsnprintf(out.data(), out.size() + 1, format, args);
    }
    va_end(args);
    return out;
}
