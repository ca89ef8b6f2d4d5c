#include "platform/core/DateFormat.h"

#include <cmath>

#include "platform/core/Exceptions.h"

namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

bool StartsWithText(std::string_view s, size_t at, std::string_view word)
{
    return at + word.size() <= s.size() && SameText(s.substr(at, word.size()), word);
}

// Whether the format holds an am/pm specifier outside quotes: then hours count from 1 to 12,
// wherever the marker stands ("ampm h:nn" shows "오후 2:07", not "오후 14:07").
bool TwelveHour(std::string_view f)
{
    for (size_t i = 0; i < f.size();) {
        char c = f[i];
        if (IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < f.size()) {
            i += 2;
        } else if (c == '\'' || c == '"') {
            size_t close = f.find(c, i + 1);
            i = close == std::string_view::npos ? f.size() : close + 1;
        } else if (StartsWithText(f, i, "am/pm") || StartsWithText(f, i, "a/p") || StartsWithText(f, i, "ampm")) {
            return true;
        } else {
            ++i;
        }
    }
    return false;
}

struct Parts {
    uint16_t year, month, day, hour, min, sec, msec;
    int dow;  // 1 = Sunday
};

void Append(AnsiString& out, std::string_view f, const Parts& p, const TFormatSettings& s, int depth)
{
    // A format that names itself (a short date format holding "ddddd") stops here.
    if (depth > 2)
        return;
    char lastToken = ' ';
    size_t i = 0;
    auto run = [&](char token) {
        size_t n = 0;
        while (i + n < f.size() && Upper(f[i + n]) == token)
            ++n;
        return n;
    };
    while (i < f.size()) {
        char c = f[i];
        if (IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < f.size()) {
            out.append(f.substr(i, 2));
            i += 2;
            continue;
        }
        char token = Upper(c);
        if (token >= 'A' && token <= 'Z') {
            if (token == 'M' && lastToken == 'H')
                token = 'N';
            lastToken = token;
        }
        switch (token) {
        case 'Y': {
            size_t n = run('Y');
            out += n <= 2 ? Format("%02d", p.year % 100) : Format("%04d", p.year);
            i += n;
            break;
        }
        case 'M': {
            size_t n = run('M');
            if (n == 1)
                out += IntToStr(p.month);
            else if (n == 2)
                out += Format("%02d", p.month);
            else if (p.month >= 1 && p.month <= 12)
                out += (n == 3 ? s.ShortMonthNames : s.LongMonthNames)[p.month - 1u];
            i += n;
            break;
        }
        case 'D': {
            size_t n = run('D');
            if (n == 1)
                out += IntToStr(p.day);
            else if (n == 2)
                out += Format("%02d", p.day);
            else if (n == 3)
                out += s.ShortDayNames[static_cast<size_t>(p.dow - 1)];
            else if (n == 4)
                out += s.LongDayNames[static_cast<size_t>(p.dow - 1)];
            else
                Append(out, n == 5 ? s.ShortDateFormat : s.LongDateFormat, p, s, depth + 1);
            i += n;
            break;
        }
        case 'H': {
            size_t n = run('H');
            int hour = p.hour;
            if (TwelveHour(f)) {
                hour %= 12;
                if (hour == 0)
                    hour = 12;
            }
            out += n == 1 ? IntToStr(hour) : Format("%02d", hour);
            i += n;
            break;
        }
        case 'N': {
            // Either "n" or an "m" standing for minutes.
            size_t n = run(Upper(c));
            out += n == 1 ? IntToStr(p.min) : Format("%02d", p.min);
            i += n;
            break;
        }
        case 'S': {
            size_t n = run('S');
            out += n == 1 ? IntToStr(p.sec) : Format("%02d", p.sec);
            i += n;
            break;
        }
        case 'Z': {
            size_t n = run('Z');
            out += n < 3 ? IntToStr(p.msec) : Format("%03d", p.msec);
            i += n;
            break;
        }
        case 'T': {
            size_t n = run('T');
            Append(out, n == 1 ? s.ShortTimeFormat : s.LongTimeFormat, p, s, depth + 1);
            i += n;
            break;
        }
        case 'C': {
            i += run('C');
            Append(out, s.ShortDateFormat, p, s, depth + 1);
            if (p.hour || p.min || p.sec) {
                out += ' ';
                Append(out, s.LongTimeFormat, p, s, depth + 1);
            }
            break;
        }
        case 'A': {
            bool pm = p.hour >= 12;
            if (StartsWithText(f, i, "am/pm")) {
                out.append(f.substr(pm ? i + 3 : i, 2));
                i += 5;
            } else if (StartsWithText(f, i, "a/p")) {
                out += f[pm ? i + 2 : i];
                i += 3;
            } else if (StartsWithText(f, i, "ampm")) {
                out += pm ? s.TimePMString : s.TimeAMString;
                i += 4;
            } else {
                out += c;
                ++i;
            }
            break;
        }
        case '/':
            out += s.DateSeparator;
            ++i;
            break;
        case ':':
            out += s.TimeSeparator;
            ++i;
            break;
        case '\'':
        case '"': {
            size_t close = f.find(c, i + 1);
            size_t end = close == std::string_view::npos ? f.size() : close;
            out.append(f.substr(i + 1, end - i - 1));
            i = end == f.size() ? end : end + 1;
            break;
        }
        default: out += c; ++i;
        }
    }
}

// ---- parsing

struct Scanner {
    std::string_view s;
    size_t p = 0;

    void SkipBlanks()
    {
        while (p < s.size() && s[p] == ' ')
            ++p;
    }
    bool AtEnd()
    {
        SkipBlanks();
        return p >= s.size();
    }
    bool Char(char c)
    {
        SkipBlanks();
        if (p < s.size() && s[p] == c) {
            ++p;
            return true;
        }
        return false;
    }
    // At most `maxDigits` digits; `digits` tells how many were read.
    bool Number(int& value, int& digits, int maxDigits = 4)
    {
        SkipBlanks();
        value = 0;
        digits = 0;
        while (p < s.size() && s[p] >= '0' && s[p] <= '9' && digits < maxDigits) {
            value = value * 10 + (s[p] - '0');
            ++p;
            ++digits;
        }
        return digits > 0 && !(p < s.size() && s[p] >= '0' && s[p] <= '9');
    }
    bool Word(std::string_view word)
    {
        SkipBlanks();
        if (!word.empty() && StartsWithText(s, p, word)) {
            p += word.size();
            return true;
        }
        return false;
    }
};

enum class Order { MDY, DMY, YMD };

Order DateOrder(std::string_view format)
{
    for (char c : format) {
        switch (Upper(c)) {
        case 'D': return Order::DMY;
        case 'M': return Order::MDY;
        case 'Y': return Order::YMD;
        default: break;
        }
    }
    return Order::MDY;
}

int CurrentYear()
{
    uint16_t y, m, d;
    DecodeDate(Now(), y, m, d);
    return y;
}

int WidenYear(int year, int digits, const TFormatSettings& s)
{
    if (digits > 2 || year > 99)
        return year;
    int current = CurrentYear();
    int window = s.TwoDigitYearCenturyWindow;
    if (window <= 0)
        return year + current / 100 * 100;
    int base = current - window;
    year += base / 100 * 100;
    if (year < base)
        year += 100;
    return year;
}

bool ScanDate(Scanner& sc, TDateTime& date, const TFormatSettings& s)
{
    int n1, n2, n3, d1, d2, d3;
    if (!sc.Number(n1, d1) || !sc.Char(s.DateSeparator) || !sc.Number(n2, d2))
        return false;
    int y, m, d;
    Order order = DateOrder(s.ShortDateFormat);
    if (sc.Char(s.DateSeparator)) {
        if (!sc.Number(n3, d3))
            return false;
        switch (order) {
        case Order::MDY:
            m = n1;
            d = n2;
            y = WidenYear(n3, d3, s);
            break;
        case Order::DMY:
            d = n1;
            m = n2;
            y = WidenYear(n3, d3, s);
            break;
        default:
            y = WidenYear(n1, d1, s);
            m = n2;
            d = n3;
            break;
        }
    } else {
        y = CurrentYear();
        if (order == Order::DMY) {
            d = n1;
            m = n2;
        } else {
            m = n1;
            d = n2;
        }
    }
    return TryEncodeDate(y, m, d, date);
}

// -1 none, 0 AM, 1 PM.
int ScanAmPm(Scanner& sc, const TFormatSettings& s)
{
    if (sc.Word(s.TimeAMString) || sc.Word("AM") || sc.Word("A"))
        return 0;
    if (sc.Word(s.TimePMString) || sc.Word("PM") || sc.Word("P"))
        return 1;
    return -1;
}

bool ScanTime(Scanner& sc, TDateTime& time, const TFormatSettings& s)
{
    int ampm = ScanAmPm(sc, s);
    int h, m = 0, sec = 0, ms = 0, digits;
    if (!sc.Number(h, digits, 2))
        return false;
    if (sc.Char(s.TimeSeparator)) {
        if (!sc.Number(m, digits, 2))
            return false;
        if (sc.Char(s.TimeSeparator)) {
            if (!sc.Number(sec, digits, 2))
                return false;
            if (sc.Char(s.DecimalSeparator) && !sc.Number(ms, digits, 3))
                return false;
        }
    } else if (ampm < 0) {
        // A bare number is no time unless an AM or PM marker says so.
        Scanner look = sc;
        if (ScanAmPm(look, s) < 0)
            return false;
    }
    if (ampm < 0)
        ampm = ScanAmPm(sc, s);
    if (ampm >= 0) {
        if (h > 12 || h == 0)
            return false;
        if (ampm == 0 && h == 12)
            h = 0;
        else if (ampm == 1 && h < 12)
            h += 12;
    }
    return TryEncodeTime(h, m, sec, ms, time);
}

Parts Decode(TDateTime value)
{
    Parts p;
    DecodeDate(value, p.year, p.month, p.day);
    DecodeTime(value, p.hour, p.min, p.sec, p.msec);
    p.dow = DayOfWeek(value);
    return p;
}

}  // namespace

AnsiString FormatDateTime(std::string_view format, TDateTime value, const TFormatSettings& settings)
{
    AnsiString out;
    Append(out, format.empty() ? std::string_view("c") : format, Decode(value), settings, 0);
    return out;
}

AnsiString FormatDateTime(std::string_view format, TDateTime value)
{
    return FormatDateTime(format, value, FormatSettings());
}

AnsiString DateToStr(TDateTime date) { return FormatDateTime("ddddd", date); }
AnsiString TimeToStr(TDateTime time) { return FormatDateTime("tt", time); }
AnsiString DateTimeToStr(TDateTime value) { return FormatDateTime("c", value); }

bool TryStrToDate(std::string_view text, TDateTime& date, const TFormatSettings& settings)
{
    Scanner sc{text};
    TDateTime d;
    if (!ScanDate(sc, d, settings) || !sc.AtEnd())
        return false;
    date = d;
    return true;
}

bool TryStrToDate(std::string_view text, TDateTime& date) { return TryStrToDate(text, date, FormatSettings()); }

TDateTime StrToDate(std::string_view text)
{
    TDateTime date;
    if (!TryStrToDate(text, date))
        throw EConvertError("'" + AnsiString(text) + "' is not a valid date");
    return date;
}

bool TryStrToTime(std::string_view text, TDateTime& time, const TFormatSettings& settings)
{
    Scanner sc{text};
    TDateTime t;
    if (!ScanTime(sc, t, settings) || !sc.AtEnd())
        return false;
    time = t;
    return true;
}

bool TryStrToTime(std::string_view text, TDateTime& time) { return TryStrToTime(text, time, FormatSettings()); }

TDateTime StrToTime(std::string_view text)
{
    TDateTime time;
    if (!TryStrToTime(text, time))
        throw EConvertError("'" + AnsiString(text) + "' is not a valid time");
    return time;
}

bool TryStrToDateTime(std::string_view text, TDateTime& value, const TFormatSettings& settings)
{
    Scanner sc{text};
    TDateTime date, time = 0;
    if (!ScanDate(sc, date, settings))
        return false;
    if (!sc.AtEnd() && (!ScanTime(sc, time, settings) || !sc.AtEnd()))
        return false;
    // A date before 1899-12-30 is negative; its time of day still counts forwards.
    value = date < 0 ? date - time : date + time;
    return true;
}

TDateTime StrToDateTime(std::string_view text)
{
    TDateTime value;
    if (!TryStrToDateTime(text, value, FormatSettings()))
        throw EConvertError("'" + AnsiString(text) + "' is not a valid date and time");
    return value;
}
