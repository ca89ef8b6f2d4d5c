#include "grid/model/SortRules.h"

#include "grid/model/Cgutil.h"
#include "platform/core/DateFormat.h"
#include "platform/core/Exceptions.h"
#include "platform/core/FormatSettings.h"
#include "platform/core/ValFloat.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Takes out the first occurrence of Part that starts on a character.
void RemoveFirst(AnsiString& Text, std::string_view Part)
{
    if (Part.empty())
        return;
    if (const int at = AnsiPos(Part, Text); at > 0)
        Text.erase(static_cast<size_t>(at - 1), Part.size());
}

// The first of '-', '/', '.' that the text holds, tried in that order; npos for none.
size_t DateSeparator(std::string_view Text)
{
    for (char sep : {'-', '/', '.'})
        if (const size_t at = Text.find(sep); at != std::string_view::npos)
            return at;
    return std::string_view::npos;
}

int ReadInteger(std::string_view Text)
{
    int value = 0;
    if (!TryStrToInt(Text, value))
        throw EConvertError("'" + AnsiString(Text) + "' is not a valid integer value");
    return value;
}

}  // namespace

TSortStyle AutoSortStyle(std::string_view Text)
{
    if (IsType(Text) <= 1)
        return ssNumeric;
    const size_t slash = Text.find('/');
    if ((slash == 1 || slash == 2) && slash + 1 < Text.size() && IsDigit(Text[slash - 1]) && IsDigit(Text[slash + 1]))
        return ssDate;
    return ssAlphabetic;
}

bool SortNumber(std::string_view Text, std::string_view Prefix, std::string_view Suffix, bool Financial,
                long double& Value)
{
    AnsiString s(Text);
    RemoveFirst(s, Prefix);
    RemoveFirst(s, Suffix);
    const TFormatSettings& fs = FormatSettings();
    if (Financial)
        std::erase(s, fs.ThousandSeparator);
    if (fs.DecimalSeparator != '.')
        if (const size_t at = s.find(fs.DecimalSeparator); at != AnsiString::npos)
            s[at] = '.';
    int code = 0;
    Val(s, Value, code);
    if (code != 0 && Text.empty()) {
        Value = 0;
        return true;
    }
    return code == 0;
}

TDateTime SortShortDate(std::string_view Text, bool DayFirst)
{
    const size_t first = DateSeparator(Text);
    if (first == std::string_view::npos)
        return 0;
    const int one = ReadInteger(Text.substr(0, first));
    const std::string_view rest = Text.substr(first + 1);
    const size_t second = DateSeparator(rest);
    if (second == std::string_view::npos)
        return 0;
    const int two = ReadInteger(rest.substr(0, second));
    // The year is a 16-bit number, and so is the year with its century.
    auto year = static_cast<uint16_t>(ReadInteger(rest.substr(second + 1)));
    year = static_cast<uint16_t>(year <= 25 ? year + 2000 : year + 1900);
    return DayFirst ? EncodeDate(year, two, one) : EncodeDate(year, one, two);
}

TDateTime SortLocaleDate(std::string_view Text)
{
    TDateTime value = 0;
    return TryStrToDateTime(Text, value, FormatSettings()) ? value : 0;
}
