#include "platform/core/FloatFormat.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

#include "platform/core/CLocaleNumbers.h"
#include "platform/core/Exceptions.h"

namespace {

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

// Every significant digit of |value| (finite) and the decimal exponent of the first; 0 is "0"
// with exponent 0. A double's decimal expansion ends where its lowest set bit does (2^-k ends at
// 10^-k), so fixed notation with that many places writes it whole: at most 767 digits.
void ExactDigits(double value, std::string& digits, int& exponent)
{
    digits = "0";
    exponent = 0;
    const double magnitude = std::fabs(value);
    if (magnitude == 0)
        return;
    int binary = 0;
    const auto bits = static_cast<uint64_t>(std::ldexp(std::frexp(magnitude, &binary), 53));
    const int places = std::max(0, 53 - binary - std::countr_zero(bits));
    std::vector<char> buffer(static_cast<size_t>(places) + 320);  // and the 309 integer digits
    const auto written =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude, std::chars_format::fixed, places);
    const std::string_view text(buffer.data(), static_cast<size_t>(written.ptr - buffer.data()));
    const size_t point = std::min(text.find('.'), text.size());
    const size_t first = text.find_first_not_of("0.");
    exponent = first < point ? static_cast<int>(point - first - 1) : -static_cast<int>(first - point);
    digits.clear();
    for (char c : text.substr(first))
        if (c != '.')
            digits += c;
    digits.erase(digits.find_last_not_of('0') + 1);
}

// Cuts exact digits to `count`, padding with zeros; a dropped part of half a unit or more rounds
// the kept digits up, so exact halves go away from zero. True when the carry made one more digit
// (9.96 to "10.0").
bool CutRounded(std::string& digits, size_t count)
{
    if (digits.size() <= count) {
        digits.append(count - digits.size(), '0');
        return false;
    }
    const bool up = digits[count] >= '5';
    digits.resize(count);
    if (up)
        Increment(digits);
    return digits.size() > count;
}

// The first `count` significant digits of |value|, rounded as CutRounded rounds, and the decimal
// exponent of the first: 4.94e-324 to 3 digits is "494" and -324. Exact for every value, so the
// digits never depend on a value's nearness to a half.
void RoundedDigits(double value, size_t count, std::string& digits, int& exponent)
{
    ExactDigits(value, digits, exponent);
    if (CutRounded(digits, count)) {
        digits.pop_back();
        ++exponent;
    }
}

// The decimal exponent written with at least `places` digits ("E+05"), after its sign.
AnsiString ExponentText(int exponent, bool plus, size_t places)
{
    AnsiString digits = IntToStr(std::abs(exponent));
    if (digits.size() < places)
        digits.insert(0, places - digits.size(), '0');
    return AnsiString(1, 'E') + (exponent < 0 ? "-" : plus ? "+" : "") + digits;
}

}  // namespace

void DecimalDigits(double value, int precision, std::string& digits, int& exponent)
{
    if (precision > 0) {
        RoundedDigits(value, static_cast<size_t>(std::min(precision, 40)), digits, exponent);
        return;
    }
    // The shortest digits that read back; never with the locale's decimal point.
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific);
    const std::string_view text(buffer, written.ec == std::errc() ? static_cast<size_t>(written.ptr - buffer) : 0);
    const size_t e = std::min(text.find('e'), text.size());
    digits.clear();
    for (char c : text.substr(0, e))
        if (c != '.')
            digits += c;
    exponent = 0;
    if (e < text.size())
        std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(), exponent);
}

AnsiString GeneralFloatText(bool negative, std::string digits, int exponent, int precision, const TFormatSettings& s)
{
    const size_t last = digits.find_last_not_of('0');
    digits = last == std::string::npos ? "0" : digits.substr(0, last + 1);
    const AnsiString sign = negative && digits != "0" ? "-" : "";
    if (exponent >= precision || exponent < -5) {
        AnsiString out = sign + digits.substr(0, 1);
        if (digits.size() > 1)
            out += s.DecimalSeparator + digits.substr(1);
        return out + ExponentText(exponent, false, 0);
    }
    if (exponent < 0)
        return sign + "0" + s.DecimalSeparator + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    const size_t integer = static_cast<size_t>(exponent) + 1;
    if (digits.size() <= integer)
        return sign + digits + std::string(integer - digits.size(), '0');
    return sign + digits.substr(0, integer) + s.DecimalSeparator + digits.substr(integer);
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
void Fixed(double value, size_t decimals, AnsiString& integer, AnsiString& fraction)
{
    std::string digits;
    int exponent = 0;
    ExactDigits(value, digits, exponent);
    // Zeros down to the first digit, so that the point falls after one integer digit at least.
    if (exponent < 0)
        digits.insert(0, static_cast<size_t>(-exponent), '0');
    const size_t integerLength = exponent < 0 ? 1 : static_cast<size_t>(exponent) + 1;
    CutRounded(digits, integerLength + decimals);
    integer = digits.substr(0, digits.size() - decimals);
    fraction = digits.substr(digits.size() - decimals);
}

bool IsZeroText(const AnsiString& integer, const AnsiString& fraction)
{
    return integer.find_first_not_of('0') == AnsiString::npos && fraction.find_first_not_of('0') == AnsiString::npos;
}

}  // namespace

AnsiString FloatToStrF(double value, TFloatFormat format, int precision, int digits, const TFormatSettings& s)
{
    if (!std::isfinite(value))
        return NonFinite(value);
    precision = std::clamp(precision, 2, 18);
    std::string mantissa;
    int exponent;
    DecimalDigits(value, precision, mantissa, exponent);
    const bool negative = value < 0;
    switch (format) {
    case ffGeneral: return GeneralFloatText(negative, mantissa, exponent, precision, s);
    case ffExponent: {
        AnsiString out = AnsiString(negative ? "-" : "") + mantissa.substr(0, 1);
        if (mantissa.size() > 1)
            out += s.DecimalSeparator + mantissa.substr(1);
        return out + ExponentText(exponent, true, static_cast<size_t>(std::clamp(digits, 0, 4)));
    }
    case ffFixed:
    case ffNumber: {
        if (exponent >= precision)
            return GeneralFloatText(negative, mantissa, exponent, precision, s);
        AnsiString integer, fraction;
        Fixed(value, static_cast<size_t>(std::clamp(digits, 0, 18)), integer, fraction);
        const AnsiString sign = negative && !IsZeroText(integer, fraction) ? "-" : "";
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
    size_t intZeros = 0;        // "0" before the point: the minimum integer digits
    size_t fracZeros = 0, fracAll = 0;
    bool point = false, thousands = false;
    bool scientific = false, expPlus = false;
    size_t expZeros = 0;
    size_t intPlaces = 0;  // "0" and "#" before the point
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
        const size_t places = std::max<size_t>(l.intPlaces, 1);
        std::string digits;
        RoundedDigits(value, places + l.fracAll, digits, exponent);
        exponent -= static_cast<int>(places) - 1;
        integer = digits.substr(0, places);
        fraction = digits.substr(places);
    } else {
        Fixed(value, l.fracAll, integer, fraction);
    }
    // Leading zeros beyond the "0" placeholders go; "#" alone shows no integer zero.
    const size_t zeros = std::min(integer.find_first_not_of('0'), integer.size());
    integer.erase(0, std::min(zeros, integer.size() - std::min(integer.size(), l.intZeros)));
    if (integer.size() < l.intZeros)
        integer.insert(0, l.intZeros - integer.size(), '0');
    fraction.erase(std::max(l.fracZeros, fraction.find_last_not_of('0') + 1));
    if (l.thousands)
        integer = Group(integer, s.ThousandSeparator);
    AnsiString out = l.prefix + integer;
    if (!fraction.empty())
        out += s.DecimalSeparator + fraction;
    if (l.scientific)
        out += ExponentText(exponent, l.expPlus, l.expZeros);
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

namespace {

// Whether a number (digits, a point, an exponent; no sign) too large for a double is the largest
// double rounded to as many significant digits as it is written with: "1.8E308" and
// "1.79769313486232E308" are what the writers give it at 2 and 15 digits, but "1.9E308" and
// "1.800E308" are beyond it.
bool RoundsToLargest(std::string_view number)
{
    const size_t e = std::min(number.find_first_of("eE"), number.size());
    const std::string_view mantissa = number.substr(0, e);
    const size_t point = std::min(mantissa.find('.'), mantissa.size());
    std::string digits(mantissa.substr(0, point));
    if (point < mantissa.size())
        digits.append(mantissa.substr(point + 1));
    const size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return false;
    digits.erase(0, first);
    long long exponent = static_cast<long long>(point) - static_cast<long long>(first) - 1;
    if (e < number.size()) {
        const char* from = number.data() + e + 1 + (number[e + 1] == '+' ? 1 : 0);
        long long written = 0;
        // Beyond any text's length, the exponent cannot bring the number back to 308.
        if (std::from_chars(from, number.data() + number.size(), written).ec != std::errc() ||
            std::llabs(written) > 1'000'000'000'000'000)
            return false;
        exponent += written;
    }
    std::string largest;
    int largestExponent = 0;
    RoundedDigits(std::numeric_limits<double>::max(), digits.size(), largest, largestExponent);
    return exponent == largestExponent && digits <= largest;
}

}  // namespace

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
        // Too small for a double reads as 0, as strtod reads it; too large is no number, unless
        // it is what the largest double rounds to.
        v = CStrToD(t.c_str() + start, nullptr);
        if (!std::isfinite(v)) {
            if (!RoundsToLargest(std::string_view(t).substr(start + (t[start] == '-' ? 1 : 0))))
                return false;
            v = std::copysign(std::numeric_limits<double>::max(), v);
        }
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
