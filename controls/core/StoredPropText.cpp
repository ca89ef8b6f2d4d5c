#include "controls/core/StoredPropText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

#include "platform/core/Cp949.h"
#include "platform/core/FloatFormat.h"
#include "platform/core/FormatSettings.h"

namespace {

TFormatSettings PointSettings()
{
    TFormatSettings settings = FormatSettings();
    settings.DecimalSeparator = '.';
    return settings;
}

// The significant digits and the decimal exponent of the shortest text that reads back as the
// value (0.1 has one digit and exponent -1).
void ShortestDigits(double value, int& digits, int& exponent)
{
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    const std::string_view text(buffer, error == std::errc() ? static_cast<size_t>(end - buffer) : 0);
    const size_t e = text.find('e');
    digits = 0;
    for (char c : text.substr(0, e))
        digits += c >= '0' && c <= '9';
    exponent = e == std::string_view::npos ? 0 : std::atoi(buffer + e + 1);
}

void NeedsOrdinalSetter(const TPropInfo& prop)
{
    if (!prop.SetOrd)
        throw EPropertyError("Property " + prop.Name + " is read-only");
}

}  // namespace

AnsiString StoredFloatText(double value, int precision)
{
    const TFormatSettings point = PointSettings();
    if (!std::isfinite(value) || value == 0)
        return FloatToStrF(value, ffGeneral, precision, 0, point);
    int digits = 0, exponent = 0;
    ShortestDigits(value, digits, exponent);
    // A whole number with fewer digits than places (1000000) keeps the notation the type's
    // precision gives it: written in full it is exact, so the full precision adds no noise.
    if (digits >= precision || (digits <= exponent && exponent < precision))
        return FloatToStrF(value, ffGeneral, precision, 0, point);
    return FloatToStrF(value, ffGeneral, digits, 0, point);
}

AnsiString StoredPropText(TObject* object, const TPropInfo& prop)
{
    switch (prop.Kind) {
    case tkInteger:
    case tkInt64: return IntToStr(prop.GetOrd(object));
    case tkChar: return AnsiString(1, static_cast<char>(prop.GetOrd(object)));
    case tkWChar: {
        const auto code = static_cast<char16_t>(prop.GetOrd(object));
        return code == 0 ? AnsiString() : Utf16ToCp949(std::u16string(1, code));
    }
    case tkFloat: return StoredFloatText(prop.GetFloat(object), FloatPrecision(prop.FloatType));
    default: return GetPropText(object, prop);
    }
}

void LoadStoredPropText(TObject* object, const TPropInfo& prop, const AnsiString& text)
{
    switch (prop.Kind) {
    case tkInteger:
    case tkInt64: {
        NeedsOrdinalSetter(prop);
        int64_t value = 0;
        if (!TryStrToInt64(Trim(text), value) || value < prop.LowestValue() || value > prop.HighestValue())
            value = 0;
        prop.SetOrd(object, value);
        return;
    }
    case tkChar:
        NeedsOrdinalSetter(prop);
        if (!text.empty())
            prop.SetOrd(object, static_cast<unsigned char>(text[0]));
        return;
    case tkWChar: {
        NeedsOrdinalSetter(prop);
        if (text.empty())
            return;
        // The first character, one or two bytes; a lead byte without its pair is no character.
        const std::u16string first = Cp949ToUtf16(std::string_view(text).substr(0, CharLengthAt(text, 0)));
        if (first.size() != 1 || first[0] == u'\uFFFD')
            throw EPropertyConvertError("Invalid property value: " + prop.Name + " = '" + text + "'");
        prop.SetOrd(object, first[0]);
        return;
    }
    case tkFloat: {
        if (!prop.SetFloat)
            throw EPropertyError("Property " + prop.Name + " is read-only");
        double value = 0;
        if (!TryStrToFloat(Trim(text), value, PointSettings()))
            throw EPropertyConvertError("Invalid property value: " + prop.Name + " = '" + text + "'");
        prop.SetFloat(object, value);
        return;
    }
    default: SetPropText(object, prop, text);
    }
}
