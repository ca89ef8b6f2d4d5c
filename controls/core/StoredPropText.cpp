#include "controls/core/StoredPropText.h"

#include <charconv>
#include <cmath>
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
    // The digits of the shortest text that reads back as the value, where the precision holds
    // them: rounding the exact value to as many digits may miss it (2^-1017 is 7.120236347223045
    // shortest, 7.120236347223044 rounded, which reads back one step lower).
    std::string shortest;
    int exponent = 0;
    DecimalDigits(value, 0, shortest, exponent);
    if (static_cast<int>(shortest.size()) <= precision)
        return GeneralFloatText(value < 0, shortest, exponent, precision, point);
    // Rounded to the precision, a value next to the largest double can round past it
    // (1.79769313486232E308): such a value is written with the digits that read back.
    const AnsiString text = FloatToStrF(value, ffGeneral, precision, 0, point);
    double back = 0;
    return std::from_chars(text.data(), text.data() + text.size(), back).ec == std::errc()
        ? text
        : GeneralFloatText(value < 0, shortest, exponent, precision, point);
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
        if (!TryStrToFloatOrNonFinite(text, value, PointSettings()))
            throw EPropertyConvertError("Invalid property value: " + prop.Name + " = '" + text + "'");
        prop.SetFloat(object, value);
        return;
    }
    default: SetPropText(object, prop, text);
    }
}
