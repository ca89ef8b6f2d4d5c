#include "platform/core/FloatFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

#include "platform/core/CLocaleNumbers.h"
#include "platform/core/Exceptions.h"

namespace {

// Reads the digits and the exponent of a text that to_chars wrote in scientific notation.
void ScientificDigits(std::string_view text, std::string& digits, int& exponent)
{
    const size_t e = text.find('e');
    digits.clear();
    for (char c : text.substr(0, e))
        if (c >= '0' && c <= '9')
            digits += c;
    exponent = 0;
    if (e != std::string_view::npos)
        std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(), exponent);
}

// Adds one to the last digit, carrying; a carry out of the first digit puts a "1" in front.
void Increment(std::string& digits)
{
    for (size_t i = digits.size(); i > 0; --i) {
        if (digits[i - 1] != '9') {
            ++digits[i - 1];
            return;
        }
        digits[i - 1] = '0';
    }
    digits.insert(digits.begin(), '1');
}

// The first `count` significant digits of |value| (not 0), halves rounded away from zero as the
// fixed notation rounds, and the decimal exponent of the first: 4.94e-324 to 3 digits is "494"
// and -324. Read from the exact decimal text, never by scaling, which overflows or underflows.
void RoundedDigits(double value, int count, std::string& digits, int& exponent)
{
    // Enough digits past `count` to show whether the rest is a half.
    const int precision = count + 29;
    std::vector<char> buffer(static_cast<size_t>(precision) + 64);
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                       std::chars_format::scientific, precision);
    ScientificDigits(std::string_view(buffer.data(), static_cast<size_t>(written.ptr - buffer.data())), digits,
                     exponent);
    const bool up = digits[static_cast<size_t>(count)] >= '5';
    digits.resize(static_cast<size_t>(count));
    if (up)
        Increment(digits);
    if (digits.size() > static_cast<size_t>(count)) {  // 9.99 became 10.0
        digits.pop_back();
        ++exponent;
    }
}

}  // namespace

void DecimalDigits(double value, int precision, std::string& digits, int& exponent)
{
    // As printf's "%.*e" writes it, but never with the locale's decimal point.
    char buffer[64];
    const double magnitude = std::fabs(value);
    const auto written = precision > 0
        ? std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific,
                        std::min(precision, 40) - 1)
        : std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific);
    ScientificDigits(
        std::string_view(buffer, written.ec == std::errc() ? static_cast<size_t>(written.ptr - buffer) : 0), digits,
        exponent);
}

namespace {

AnsiString NonFinite(double value)
{
    if (std::isnan(value))
        return "NAN";
    return value < 0 ? "-INF" : "INF";
}

// Digits grouped by threes from the right with the separator.
AnsiString Group(const AnsiString& digits, char separator)
{
    AnsiString out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += separator;
        out += digits[i];
    }
    return out;
}

// Fixed notation with `decimals` decimals, its integer and fraction digits. Halves round away
// from zero, as the framework rounds ("0.0" of 1.25 is "1.3").
void Fixed(double value, int decimals, AnsiString& integer, AnsiString& fraction)
{
    // Enough places that the digits beyond `decimals` show whether the value is a half; room for
    // the 309 integer digits of the largest double. As printf's "%.*f" writes it, but never with
    // the locale's decimal point.
    const int places = decimals + 30;
    std::vector<char> buffer(static_cast<size_t>(places) + 320);
    const auto written =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value), std::chars_format::fixed, places);
    std::string text(buffer.data(), written.ptr);
    size_t dot = text.find('.');
    std::string digits = text.substr(0, dot) + text.substr(dot + 1, static_cast<size_t>(decimals));
    if (text[dot + 1 + static_cast<size_t>(decimals)] >= '5')
        Increment(digits);
    size_t intLength = digits.size() - static_cast<size_t>(decimals);
    integer = digits.substr(0, intLength);
    fraction = digits.substr(intLength);
}

bool IsZeroText(const AnsiString& integer, const AnsiString& fraction)
{
    return std::all_of(integer.begin(), integer.end(), [](char c) { return c == '0'; }) &&
        std::all_of(fraction.begin(), fraction.end(), [](char c) { return c == '0'; });
}

}  // namespace

AnsiString FloatToStrF(double value, TFloatFormat format, int precision, int digits, const TFormatSettings& s)
{
    if (!std::isfinite(value))
        return NonFinite(value);
    precision = std::clamp(precision, 2, 18);
    if (value == 0)
        value = 0;  // no "-0"
    AnsiString sign = value < 0 ? "-" : "";
    std::string mantissa;
    int exponent;
    DecimalDigits(value, precision, mantissa, exponent);
    bool zero = std::all_of(mantissa.begin(), mantissa.end(), [](char c) { return c == '0'; });
    if (zero) {
        sign.clear();
        exponent = 0;
    }

    auto scientific = [&](int minExpDigits, bool plus, bool trim) {
        std::string m = mantissa;
        if (trim)
            while (m.size() > 1 && m.back() == '0')
                m.pop_back();
        AnsiString out = sign + m.substr(0, 1);
        if (m.size() > 1)
            out += s.DecimalSeparator + m.substr(1);
        out += 'E';
        if (exponent < 0)
            out += '-';
        else if (plus)
            out += '+';
        AnsiString e = IntToStr(std::abs(exponent));
        while (static_cast<int>(e.size()) < minExpDigits)
            e = "0" + e;
        return out + e;
    };

    switch (format) {
    case ffGeneral: {
        if (exponent >= precision || exponent < -5)
            return scientific(0, false, true);
        AnsiString integer, fraction;
        Fixed(value, std::max(0, precision - 1 - exponent), integer, fraction);
        while (!fraction.empty() && fraction.back() == '0')
            fraction.pop_back();
        if (IsZeroText(integer, fraction))
            sign.clear();
        return sign + integer + (fraction.empty() ? AnsiString() : AnsiString(1, s.DecimalSeparator) + fraction);
    }
    case ffExponent: return scientific(std::clamp(digits, 0, 4), true, false);
    case ffFixed:
    case ffNumber: {
        if (exponent >= precision)
            return scientific(0, false, true);
        AnsiString integer, fraction;
        Fixed(value, std::clamp(digits, 0, 18), integer, fraction);
        if (IsZeroText(integer, fraction))
            sign.clear();
        if (format == ffNumber)
            integer = Group(integer, s.ThousandSeparator);
        return sign + integer + (fraction.empty() ? AnsiString() : AnsiString(1, s.DecimalSeparator) + fraction);
    }
    }
    return AnsiString();
}

AnsiString FloatToStrF(double value, TFloatFormat format, int precision, int digits)
{
    return FloatToStrF(value, format, precision, digits, FormatSettings());
}

AnsiString FloatToStr(double value) { return FloatToStrF(value, ffGeneral, 15, 0); }

namespace {

// The sections of a FormatFloat format, split at ";" outside quotes.
std::vector<std::string_view> Sections(std::string_view format)
{
    std::vector<std::string_view> sections;
    size_t start = 0;
    char quote = 0;
    for (size_t i = 0; i < format.size(); i += static_cast<size_t>(CharLengthAt(format, i))) {
        char c = format[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == ';') {
            sections.push_back(format.substr(start, i - start));
            start = i + 1;
        }
    }
    sections.push_back(format.substr(start));
    return sections;
}

struct Layout {
    AnsiString prefix, suffix;  // literal text around the number
    int intZeros = 0;           // "0" before the point: the minimum integer digits
    int fracZeros = 0, fracAll = 0;
    bool point = false, thousands = false;
    bool scientific = false, expPlus = false;
    int expZeros = 0;
    int intPlaces = 0;  // "0" and "#" before the point
};

Layout Analyse(std::string_view section)
{
    Layout l;
    bool inNumber = false, afterNumber = false;
    for (size_t i = 0; i < section.size();) {
        char c = section[i];
        int n = CharLengthAt(section, i);
        AnsiString& literal = inNumber || afterNumber ? l.suffix : l.prefix;
        if (n == 2) {
            literal.append(section.substr(i, 2));
            i += 2;
            continue;
        }
        if (c == '\'' || c == '"') {
            size_t close = section.find(c, i + 1);
            size_t end = close == std::string_view::npos ? section.size() : close;
            literal.append(section.substr(i + 1, end - i - 1));
            i = end == section.size() ? end : end + 1;
            if (inNumber) {
                inNumber = false;
                afterNumber = true;
            }
            continue;
        }
        if (!afterNumber && (c == '0' || c == '#')) {
            inNumber = true;
            if (l.point) {
                ++l.fracAll;
                if (c == '0')
                    l.fracZeros = l.fracAll;
            } else {
                ++l.intPlaces;
                if (c == '0' || l.intZeros > 0)
                    ++l.intZeros;
            }
        } else if (!afterNumber && c == '.' && !l.point) {
            inNumber = true;
            l.point = true;
        } else if (!afterNumber && c == ',' && !l.point && inNumber) {
            l.thousands = true;
        } else if (inNumber && (c == 'E' || c == 'e') && i + 1 < section.size() &&
                   (section[i + 1] == '+' || section[i + 1] == '-')) {
            l.scientific = true;
            l.expPlus = section[i + 1] == '+';
            i += 2;
            while (i < section.size() && section[i] == '0') {
                ++l.expZeros;
                ++i;
            }
            inNumber = false;
            afterNumber = true;
            continue;
        } else {
            if (inNumber) {
                inNumber = false;
                afterNumber = true;
            }
            (afterNumber ? l.suffix : l.prefix) += c;
        }
        ++i;
    }
    return l;
}

AnsiString Render(double value, const Layout& l, const TFormatSettings& s)
{
    AnsiString integer, fraction;
    int exponent = 0;
    if (l.scientific && value != 0) {
        // As many integer digits as the section has places, the first never 0.
        const int places = std::max(l.intPlaces, 1);
        std::string digits;
        RoundedDigits(value, places + l.fracAll, digits, exponent);
        exponent -= places - 1;
        integer = digits.substr(0, static_cast<size_t>(places));
        fraction = digits.substr(static_cast<size_t>(places));
    } else {
        Fixed(value, l.fracAll, integer, fraction);
    }
    // Leading zeros beyond the "0" placeholders go; "#" alone shows no integer zero.
    size_t keep = static_cast<size_t>(std::max(l.intZeros, 0));
    while (integer.size() > keep && integer[0] == '0')
        integer.erase(0, 1);
    while (integer.size() < keep)
        integer = "0" + integer;
    while (static_cast<int>(fraction.size()) > l.fracZeros && fraction.back() == '0')
        fraction.pop_back();
    if (l.thousands)
        integer = Group(integer, s.ThousandSeparator);
    AnsiString out = l.prefix + integer;
    if (!fraction.empty())
        out += s.DecimalSeparator + fraction;
    if (l.scientific) {
        out += 'E';
        if (exponent < 0)
            out += '-';
        else if (l.expPlus)
            out += '+';
        AnsiString e = IntToStr(std::abs(exponent));
        while (static_cast<int>(e.size()) < l.expZeros)
            e = "0" + e;
        out += e;
    }
    return out + l.suffix;
}

}  // namespace

AnsiString FormatFloat(std::string_view format, double value, const TFormatSettings& s)
{
    if (!std::isfinite(value))
        return NonFinite(value);
    if (format.empty())
        return FloatToStrF(value, ffGeneral, 15, 0, s);
    std::vector<std::string_view> sections = Sections(format);
    Layout positive = Analyse(sections[0]);
    // A value that shows as zero in the first section counts as zero.
    AnsiString integer, fraction;
    Fixed(value, positive.fracAll, integer, fraction);
    bool zero = !positive.scientific && IsZeroText(integer, fraction);
    if (zero && sections.size() >= 3 && !sections[2].empty())
        return Render(0, Analyse(sections[2]), s);
    if (value < 0 && !zero) {
        if (sections.size() >= 2 && !sections[1].empty())
            return Render(value, Analyse(sections[1]), s);
        return "-" + Render(value, positive, s);
    }
    return Render(value, positive, s);
}

AnsiString FormatFloat(std::string_view format, double value) { return FormatFloat(format, value, FormatSettings()); }

bool TryStrToFloat(std::string_view text, double& value, const TFormatSettings& s)
{
    AnsiString t = Trim(text);
    if (t.empty())
        return false;
    for (char& c : t) {
        if ((c >= 'A' && c <= 'Z' && c != 'E') || (c >= 'a' && c <= 'z' && c != 'e'))
            return false;  // no "inf", "nan" or hexadecimal
        if (c == s.DecimalSeparator)
            c = '.';
        else if (c == '.')
            return false;  // a point is no decimal separator here
    }
    // One sign: from_chars takes a "-" but no "+", so "+-5" must not reach it as "-5".
    const size_t start = t[0] == '+' ? 1 : 0;
    if (start == 1 && t.size() > 1 && t[1] == '-')
        return false;
    double v;
    auto [end, ec] = std::from_chars(t.data() + start, t.data() + t.size(), v);
    if (end != t.data() + t.size() || (ec != std::errc() && ec != std::errc::result_out_of_range))
        return false;
    if (ec == std::errc::result_out_of_range) {
        // Too small for a double reads as 0, as strtod reads it; too large stays no number.
        v = CStrToD(t.c_str() + start, nullptr);
        if (!std::isfinite(v))
            return false;
    }
    value = v;
    return true;
}

bool TryStrToFloatOrNonFinite(std::string_view text, double& value, const TFormatSettings& settings)
{
    if (TryStrToFloat(text, value, settings))
        return true;
    const AnsiString t = Trim(text);
    for (const double special : {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                                 std::numeric_limits<double>::quiet_NaN()})
        if (t == NonFinite(special)) {
            value = special;
            return true;
        }
    return false;
}

bool TryStrToFloat(std::string_view text, double& value) { return TryStrToFloat(text, value, FormatSettings()); }

double StrToFloat(std::string_view text)
{
    double value;
    if (!TryStrToFloat(text, value))
        throw EConvertError("'" + AnsiString(text) + "' is not a valid floating point value");
    return value;
}

double StrToFloatDef(std::string_view text, double fallback)
{
    double value;
    return TryStrToFloat(text, value) ? value : fallback;
}
