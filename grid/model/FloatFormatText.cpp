#include "grid/model/FloatFormatText.h"

#include <algorithm>

#include "platform/core/Exceptions.h"
#include "platform/core/FloatFormat.h"

namespace {

constexpr int kMaxWidth = 256;
constexpr int kMaxPrecision = 18;

[[noreturn]] void Invalid(std::string_view format)
{
    throw EConvertError(Format("Format '%s' invalid or incompatible with argument", AnsiString(format).c_str()));
}

// Reads a decimal number at i (bounded), moving i past it.
int ReadNumber(std::string_view s, size_t& i, int limit)
{
    int n = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        n = std::min(n * 10 + (s[i] - '0'), limit);
        ++i;
    }
    return n;
}

}  // namespace

AnsiString FormatFloatText(std::string_view Format, double Value)
{
    AnsiString out;
    bool converted = false;
    for (size_t i = 0; i < Format.size(); ++i) {
        if (Format[i] != '%') {
            out += Format[i];
            continue;
        }
        if (i + 1 < Format.size() && Format[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        if (converted)
            Invalid(Format);
        ++i;
        const bool left = i < Format.size() && Format[i] == '-';
        if (left)
            ++i;
        const int width = ReadNumber(Format, i, kMaxWidth);
        int precision = -1;
        if (i < Format.size() && Format[i] == '.') {
            ++i;
            precision = ReadNumber(Format, i, kMaxPrecision);
        }
        if (i >= Format.size())
            Invalid(Format);
        AnsiString number;
        switch (Format[i]) {
        case 'f': number = FloatToStrF(Value, ffFixed, 18, precision < 0 ? 2 : precision); break;
        case 'n':
        case 'm': number = FloatToStrF(Value, ffNumber, 18, precision < 0 ? 2 : precision); break;
        case 'e': number = FloatToStrF(Value, ffExponent, precision < 0 ? 15 : std::max(precision, 1), 3); break;
        case 'g': number = FloatToStrF(Value, ffGeneral, precision < 0 ? 15 : std::max(precision, 1), 3); break;
        default: Invalid(Format);
        }
        const size_t pad = static_cast<size_t>(width) > number.size() ? static_cast<size_t>(width) - number.size() : 0;
        out += left ? number + AnsiString(pad, ' ') : AnsiString(pad, ' ') + number;
        converted = true;
    }
    return out;
}
