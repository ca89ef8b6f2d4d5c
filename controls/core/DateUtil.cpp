#include "controls/core/DateUtil.h"

#include <algorithm>
#include <cmath>

#include "platform/core/DateFormat.h"
#include "platform/core/Exceptions.h"
#include "platform/core/FormatSettings.h"

uint8_t CenturyOffset = 60;
bool FourDigitYear = UpperCase(FormatSettings().ShortDateFormat).find("YYYY") != AnsiString::npos;

namespace {

bool ValidYMD(int y, int m, int d)
{
    return y >= 1 && y <= 9999 && m >= 1 && m <= 12 && d >= 1 && d <= DaysPerMonth(y, m);
}

// A whole day plus a time of day; the time counts forwards from the day's start also before
// 30 December 1899, where the day number is negative.
TDateTime Combine(TDateTime day, TDateTime time) { return day < 0 ? day - time : day + time; }

TDateTime TimeOfDay(TDateTime value) { return std::fabs(value - std::trunc(value)); }

// A month one step outside 1..12 moves into the year before or after.
void WrapMonth(int& year, int& month)
{
    if (month < 1) {
        month += 12;
        --year;
    } else if (month > 12) {
        month -= 12;
        ++year;
    }
}

TDateTime FirstOfMonth(int year, int month)
{
    WrapMonth(year, month);
    return EncodeDate(year, month, 1);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Scanning helpers: positions are 0-based here.
void SkipBlanks(std::string_view s, size_t& pos)
{
    while (pos < s.size() && s[pos] == ' ')
        ++pos;
}

// At most maxLength digits, and none after the value has reached 1000.
bool ReadNumber(std::string_view s, int maxLength, size_t& pos, int& n)
{
    SkipBlanks(s, pos);
    n = 0;
    const size_t start = pos;
    while (pos < s.size() && static_cast<int>(pos - start) < maxLength && IsDigit(s[pos]) && n < 1000)
        n = n * 10 + (s[pos++] - '0');
    return pos > start;
}

bool ReadChar(std::string_view s, size_t& pos, char ch)
{
    SkipBlanks(s, pos);
    if (pos < s.size() && s[pos] == ch) {
        ++pos;
        return true;
    }
    return false;
}

void SkipToDigit(std::string_view s, size_t& pos)
{
    while (pos < s.size() && !IsDigit(s[pos]))
        pos += static_cast<size_t>(CharLengthAt(s, pos));
}

bool StartsWithText(std::string_view s, std::string_view prefix)
{
    return !prefix.empty() && s.size() >= prefix.size() && SameText(s.substr(0, prefix.size()), prefix);
}

// Two-digit years land within the CenturyOffset years before the current one and the rest of
// the century after it. A missing year (negative) stays missing.
int WidenYear(int year)
{
    if (year < 0 || year >= 100)
        return year;
    const int n = CurrentYear() - CenturyOffset;
    year += n / 100 * 100;
    if (CenturyOffset > 0 && year < n)
        year += 100;
    return year;
}

bool ParseDateByOrder(std::string_view s, std::string_view dateFormat, size_t& pos, int& y, int& m, int& d)
{
    constexpr int kDigits = 4;
    const TFormatSettings& fs = FormatSettings();
    const char sep = fs.DateSeparator;
    y = m = d = 0;
    const TDateOrder order = GetDateOrder(dateFormat);
    if (!fs.ShortDateFormat.empty() && fs.ShortDateFormat[0] == 'g')
        SkipToDigit(s, pos);
    int n1, n2, n3;
    if (!ReadNumber(s, kDigits, pos, n1) || !ReadChar(s, pos, sep) || !ReadNumber(s, kDigits, pos, n2))
        return false;
    if (ReadChar(s, pos, sep)) {
        if (!ReadNumber(s, kDigits, pos, n3))
            return false;
        switch (order) {
        case doMDY: m = n1, d = n2, y = n3; break;
        case doDMY: d = n1, m = n2, y = n3; break;
        case doYMD: y = n1, m = n2, d = n3; break;
        }
        y = WidenYear(y);
    } else {
        y = CurrentYear();
        if (order == doDMY)
            d = n1, m = n2;
        else
            m = n1, d = n2;
    }
    ReadChar(s, pos, sep);
    SkipBlanks(s, pos);
    if (fs.FarEast && UpperCase(fs.ShortDateFormat).find("DDD") != AnsiString::npos) {
        if (!fs.ShortTimeFormat.empty() && IsDigit(fs.ShortTimeFormat[0])) {
            SkipToDigit(s, pos);
        } else {
            // Day names and the like stand between the date and a time that starts with AM/PM.
            while (pos < s.size() && !StartsWithText(s.substr(pos), fs.TimeAMString) &&
                   !StartsWithText(s.substr(pos), fs.TimePMString)) {
                while (pos < s.size() && s[pos] != ' ')
                    pos += static_cast<size_t>(CharLengthAt(s, pos));
                SkipBlanks(s, pos);
            }
        }
    }
    return ValidYMD(y, m, d) && pos >= s.size();
}

// The field of a fixed-position text that lies under the first run of `count` letters `ch` of
// the format: a number (count 1) or a month name. Default when the text is longer than the
// format or the format has no such run, blank when the field holds only blanks, -1 when it
// holds no value.
int PickMaskField(std::string_view format, std::string_view s, char ch, int def, int blank, int count)
{
    constexpr size_t kMaxField = 20;
    if (s.size() > format.size())
        return def;
    const size_t limit = std::min(format.size(), s.size());
    const AnsiString upper = UpperCase(format);
    size_t p = upper.find(AnsiString(static_cast<size_t>(count), ch));
    if (p == AnsiString::npos)
        return def;
    AnsiString field;
    for (; p < limit && upper[p] == ch && field.size() < kMaxField; ++p)
        if (s[p] != ' ')
            field += s[p];
    if (field.empty())
        return blank;
    if (count == 1) {
        int value;
        return TryStrToInt(field, value) ? value : -1;
    }
    const int month = MonthFromName(field, static_cast<uint8_t>(field.size()));
    return month == 0 ? -1 : month;
}

bool ParseDateText(std::string_view format, std::string_view s, int& d, int& m, int& y)
{
    m = PickMaskField(format, s, 'M', 0, -1, 3);
    if (m == 0)
        m = PickMaskField(format, s, 'M', 0, -1, 1);
    d = PickMaskField(format, s, 'D', 1, -1, 1);
    y = WidenYear(PickMaskField(format, s, 'Y', CurrentYear(), -1, 1));
    if (ValidYMD(y, m, d))
        return true;
    size_t pos = 0;
    return ParseDateByOrder(s, format, pos, y, m, d);
}

bool TryTextToDate(std::string_view format, std::string_view s, TDateTime& date)
{
    if (s.empty()) {
        date = NullDate;
        return true;
    }
    int d, m, y;
    return ParseDateText(format, s, d, m, y) && TryEncodeDate(y, m, d, date);
}

}  // namespace

int DaysPerMonth(int year, int month) { return DaysInAMonth(year, month); }

TDateTime FirstDayOfNextMonth()
{
    const TDateTime today = Date();
    return FirstOfMonth(ExtractYear(today), ExtractMonth(today) + 1);
}

TDateTime FirstDayOfPrevMonth()
{
    const TDateTime today = Date();
    return FirstOfMonth(ExtractYear(today), ExtractMonth(today) - 1);
}

TDateTime LastDayOfPrevMonth()
{
    const TDateTime first = FirstDayOfPrevMonth();
    return first + DaysPerMonth(ExtractYear(first), ExtractMonth(first)) - 1;
}

uint16_t ExtractDay(TDateTime date)
{
    uint16_t y, m, d;
    DecodeDate(date, y, m, d);
    return d;
}

uint16_t ExtractMonth(TDateTime date)
{
    uint16_t y, m, d;
    DecodeDate(date, y, m, d);
    return m;
}

uint16_t ExtractYear(TDateTime date)
{
    uint16_t y, m, d;
    DecodeDate(date, y, m, d);
    return y;
}

TDateTime IncDate(TDateTime date, int days, int months, int years)
{
    uint16_t y0, m0, d0;
    DecodeDate(date, y0, m0, d0);
    int y = y0 + years + months / 12;
    int m = m0 + months % 12;
    WrapMonth(y, m);
    const int d = std::min<int>(d0, DaysPerMonth(y, m));
    return Combine(EncodeDate(y, m, d) + days, TimeOfDay(date));
}

TDateTime IncDay(TDateTime date, int delta) { return date + delta; }
TDateTime IncMonth(TDateTime date, int delta) { return IncDate(date, 0, delta, 0); }
TDateTime IncYear(TDateTime date, int delta) { return IncDate(date, 0, 0, delta); }

TDateTime IncTime(TDateTime time, int hours, int minutes, int seconds, int msecs)
{
    // 64 bits: large minute or second counts would overflow a 32-bit sum.
    const int64_t ms = int64_t{hours % 24} * 3600000 + int64_t{minutes} * 60000 + int64_t{seconds} * 1000 + msecs;
    TDateTime result = time + hours / 24 + static_cast<double>(ms) / MSecsPerDay;
    if (result < 0)
        result += 1;
    return result;
}

TDateTime IncHour(TDateTime time, int delta) { return IncTime(time, delta, 0, 0, 0); }
TDateTime IncMinute(TDateTime time, int delta) { return IncTime(time, 0, delta, 0, 0); }
TDateTime IncSecond(TDateTime time, int delta) { return IncTime(time, 0, 0, delta, 0); }
TDateTime IncMSec(TDateTime time, int delta) { return IncTime(time, 0, 0, 0, delta); }

void DateDiff(TDateTime date1, TDateTime date2, uint16_t& days, uint16_t& months, uint16_t& years)
{
    if (date1 > date2)
        std::swap(date1, date2);
    uint16_t y1, m1, d1, y2, m2, d2;
    DecodeDate(date1, y1, m1, d1);
    DecodeDate(date2, y2, m2, d2);
    int y = y2 - y1, m = 0, d = 0;
    if (m2 < m1) {
        m += 12;
        --y;
    }
    m += m2 - m1;
    if (d2 < d1) {
        d += DaysPerMonth(y1, m1);
        if (m == 0) {
            --y;
            m = 11;
        } else {
            --m;
        }
    }
    d += d2 - d1;
    days = static_cast<uint16_t>(d);
    months = static_cast<uint16_t>(m);
    years = static_cast<uint16_t>(y);
}

double MonthsBetween(TDateTime date1, TDateTime date2)
{
    uint16_t d, m, y;
    DateDiff(date1, date2, d, m, y);
    double result = y * 12.0 + m;
    if (d >= 21)
        result += 1;
    else if (d >= 15)
        result += 0.75;
    else if (d >= 7)
        result += 0.5;
    else if (d >= 2)
        result += 0.25;
    return result;
}

int DaysInPeriod(TDateTime date1, TDateTime date2)
{
    if (!ValidDate(date1) || !ValidDate(date2))
        return 0;
    return static_cast<int>(std::fabs(std::trunc(date2) - std::trunc(date1))) + 1;
}

int DaysBetween(TDateTime date1, TDateTime date2)
{
    return std::max(0, static_cast<int>(std::trunc(date2) - std::trunc(date1)) + 1);
}

bool ValidDate(TDateTime date)
{
    uint16_t y, m, d;
    DecodeDate(date, y, m, d);
    return ValidYMD(y, m, d);
}

TDateTime CutTime(TDateTime date) { return std::trunc(date); }

uint16_t CurrentYear() { return ExtractYear(Now()); }

TDateOrder GetDateOrder(std::string_view dateFormat)
{
    for (char c : dateFormat) {
        switch (c) {
        case 'E':
        case 'e':
        case 'Y':
        case 'y': return doYMD;
        case 'M':
        case 'm': return doMDY;
        case 'D':
        case 'd': return doDMY;
        default: break;
        }
    }
    return doDMY;
}

uint8_t MonthFromName(std::string_view s, uint8_t maxLen)
{
    if (s.empty())
        return 0;
    const std::string_view head = s.substr(0, maxLen);
    for (size_t m = 0; m < 12; ++m) {
        const std::string_view name = FormatSettings().LongMonthNames[m];
        if (!name.empty() && SameText(name.substr(0, maxLen), head))
            return static_cast<uint8_t>(m + 1);
    }
    return 0;
}

TDateTime StrToDateFmt(std::string_view dateFormat, std::string_view s)
{
    TDateTime date;
    if (!TryTextToDate(dateFormat, s, date))
        throw EConvertError("''" + AnsiString(s) + "'' is not a valid date");
    return date;
}

TDateTime StrToDateFmtDef(std::string_view dateFormat, std::string_view s, TDateTime fallback)
{
    TDateTime date;
    return TryTextToDate(dateFormat, s, date) ? date : std::trunc(fallback);
}

TDateTime StrToDateDef(std::string_view s, TDateTime fallback)
{
    return StrToDateFmtDef(FormatSettings().ShortDateFormat, s, fallback);
}

AnsiString DefDateFormat(bool fourDigitYear)
{
    switch (GetDateOrder(FormatSettings().ShortDateFormat)) {
    case doMDY: return fourDigitYear ? "MM/DD/YYYY" : "MM/DD/YY";
    case doDMY: return fourDigitYear ? "DD/MM/YYYY" : "DD/MM/YY";
    case doYMD: break;
    }
    return fourDigitYear ? "YYYY/MM/DD" : "YY/MM/DD";
}

AnsiString DefDateMask(char blanksChar, bool fourDigitYear)
{
    const bool yearFirst = GetDateOrder(FormatSettings().ShortDateFormat) == doYMD;
    AnsiString mask = !fourDigitYear ? "!99/99/99;1;" : yearFirst ? "!9999/99/99;1;" : "!99/99/9999;1;";
    return mask + blanksChar;
}

AnsiString FormatLongDate(TDateTime value)
{
    constexpr size_t kMaxLength = 1023;
    AnsiString text = FormatDateTime(FormatSettings().LongDateFormat, value);
    if (text.size() > kMaxLength)
        text.resize(IsTrailByteAt(text, kMaxLength) ? kMaxLength - 1 : kMaxLength);
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

AnsiString FormatLongDateTime(TDateTime value)
{
    if (value == NullDate)
        return AnsiString();
    return FormatLongDate(value) + FormatDateTime(" tt", value);
}
