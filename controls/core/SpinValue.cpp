#include "controls/core/SpinValue.h"

#include <cmath>
#include <limits>

#include "platform/core/FloatFormat.h"
#include "platform/core/FormatSettings.h"

double SpinCheckValue(double Value, double MinValue, double MaxValue)
{
    if (MinValue == MaxValue)
        return Value;
    if (Value < MinValue)
        return MinValue;
    if (Value > MaxValue)
        return MaxValue;
    return Value;
}

int64_t RoundToEven(double Value)
{
    if (std::isnan(Value))
        return 0;
    const double r = std::nearbyint(Value);  // the default rounding mode: ties to even
    if (r >= 9223372036854775807.0)
        return std::numeric_limits<int64_t>::max();
    if (r <= -9223372036854775808.0)
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(r);
}

AnsiString SpinValueText(double Value, TValueType Type, int Decimal)
{
    switch (Type) {
    case vtFloat: return FloatToStrF(Value, ffFixed, 15, Decimal);
    case vtHex: return Format("%llX", static_cast<unsigned long long>(RoundToEven(Value)));
    case vtInt: break;
    }
    return Format("%lld", static_cast<long long>(RoundToEven(Value)));
}

double SpinTextValue(const AnsiString& Text, TValueType Type, double MinValue)
{
    if (Type == vtFloat) {
        double v = 0;
        return TryStrToFloat(Text, v) ? v : MinValue;
    }
    int64_t v = 0;
    if (TryStrToInt64(Type == vtHex ? "$" + Text : Text, v))
        return static_cast<double>(v);
    return std::trunc(MinValue);
}

bool SpinIsValidChar(char Key, TValueType Type, const AnsiString& Text, bool EditorEnabled)
{
    const unsigned char k = static_cast<unsigned char>(Key);
    bool valid = Key == '+' || Key == '-' || (Key >= '0' && Key <= '9') || k < 32;
    if (Type == vtFloat) {
        const char sep = FormatSettings().DecimalSeparator;
        if (Key == sep && Text.find(sep) == AnsiString::npos)
            valid = true;
        if ((Key == 'E' || Key == 'e') && UpperCase(Text).find('E') == AnsiString::npos)
            valid = true;
    } else if (Type == vtHex) {
        if ((Key >= 'A' && Key <= 'F') || (Key >= 'a' && Key <= 'f'))
            valid = true;
    }
    if (!EditorEnabled)
        valid = valid && k < 32 && Key != '\b';
    return valid;
}

TSpinButtonState SpinButtonHalf(int X, int Y, int Width, int Height)
{
    if (Width <= 0)
        return sbTopDown;
    const double line = Height - (static_cast<double>(Height) / Width) * X;
    return Y > line ? sbBottomDown : sbTopDown;
}
