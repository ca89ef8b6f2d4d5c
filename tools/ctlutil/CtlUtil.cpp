// ctlrun's "util": argument reading, the date and INI-storage routines, the clock and locale.
#include "tools/ctlutil/CtlUtil.h"

#include <cmath>
#include <memory>
#include <typeinfo>

#include "controls/core/AppUtils.h"
#include "controls/core/DateUtil.h"
#include "platform/core/FloatFormat.h"
#include "platform/core/FormatSettings.h"
#include "platform/core/IniFile.h"
#include "platform/core/RegIniFile.h"
#include "platform/core/StringList.h"
#include "tools/ctlutil/CtlUtilArgs.h"
#include "tools/scriptrun/ScriptRunText.h"

namespace {

[[noreturn]] void Bad(const AnsiString& text) { throw EUtilArgument("bad value " + text); }

// Two digits or more at s[pos..]; -1 when absent.
int Digits(std::string_view s, size_t& pos, size_t count)
{
    int value = 0;
    for (size_t end = pos + count; pos < end; ++pos) {
        if (pos >= s.size() || s[pos] < '0' || s[pos] > '9')
            return -1;
        value = value * 10 + (s[pos] - '0');
    }
    return value;
}

TUtilFields Fields(AnsiString value) { return {std::move(value)}; }
TUtilFields Fields(bool value) { return {ShowBool(value)}; }
TUtilFields Fields(int value) { return {ShowNumber(value)}; }
TUtilFields Fields(double value) { return {ShowNumber(value)}; }
TUtilFields Dates(TDateTime value) { return {ShowDate(value)}; }

// A routine of one kind of argument list, named by its arity.
TUtilRoutine R(int arity, std::function<TUtilFields(const TUtilArgs&)> run) { return {arity, std::move(run)}; }

void AddDateRoutines(TUtilTable& t)
{
    using A = const TUtilArgs&;
    t["IsLeapYear"] = R(1, [](A a) { return Fields(IsLeapYear(a.Int(0))); });
    t["DaysPerMonth"] = R(2, [](A a) { return Fields(DaysPerMonth(a.Int(0), a.Int(1))); });
    t["FirstDayOfNextMonth"] = R(0, [](A) { return Dates(FirstDayOfNextMonth()); });
    t["FirstDayOfPrevMonth"] = R(0, [](A) { return Dates(FirstDayOfPrevMonth()); });
    t["LastDayOfPrevMonth"] = R(0, [](A) { return Dates(LastDayOfPrevMonth()); });
    t["ExtractDay"] = R(1, [](A a) { return Fields(ExtractDay(a.Date(0))); });
    t["ExtractMonth"] = R(1, [](A a) { return Fields(ExtractMonth(a.Date(0))); });
    t["ExtractYear"] = R(1, [](A a) { return Fields(ExtractYear(a.Date(0))); });
    t["IncDate"] = R(4, [](A a) { return Dates(IncDate(a.Date(0), a.Int(1), a.Int(2), a.Int(3))); });
    t["IncDay"] = R(2, [](A a) { return Dates(IncDay(a.Date(0), a.Int(1))); });
    t["IncMonth"] = R(2, [](A a) { return Dates(IncMonth(a.Date(0), a.Int(1))); });
    t["IncYear"] = R(2, [](A a) { return Dates(IncYear(a.Date(0), a.Int(1))); });
    t["IncTime"] = R(5, [](A a) { return Dates(IncTime(a.Date(0), a.Int(1), a.Int(2), a.Int(3), a.Int(4))); });
    t["IncHour"] = R(2, [](A a) { return Dates(IncHour(a.Date(0), a.Int(1))); });
    t["IncMinute"] = R(2, [](A a) { return Dates(IncMinute(a.Date(0), a.Int(1))); });
    t["IncSecond"] = R(2, [](A a) { return Dates(IncSecond(a.Date(0), a.Int(1))); });
    t["IncMSec"] = R(2, [](A a) { return Dates(IncMSec(a.Date(0), a.Int(1))); });
    t["DateDiff"] = R(2, [](A a) {
        uint16_t d, m, y;
        DateDiff(a.Date(0), a.Date(1), d, m, y);
        return TUtilFields{ShowNumber(d), ShowNumber(m), ShowNumber(y)};
    });
    t["MonthsBetween"] = R(2, [](A a) { return Fields(MonthsBetween(a.Date(0), a.Date(1))); });
    t["DaysInPeriod"] = R(2, [](A a) { return Fields(DaysInPeriod(a.Date(0), a.Date(1))); });
    t["DaysBetween"] = R(2, [](A a) { return Fields(DaysBetween(a.Date(0), a.Date(1))); });
    t["ValidDate"] = R(1, [](A a) { return Fields(ValidDate(a.Date(0))); });
    t["CutTime"] = R(1, [](A a) { return Dates(CutTime(a.Date(0))); });
    t["CurrentYear"] = R(0, [](A) { return Fields(CurrentYear()); });
    t["GetDateOrder"] = R(1, [](A a) {
        static const char* const kNames[] = {"doMDY", "doDMY", "doYMD"};
        return Fields(AnsiString(kNames[GetDateOrder(a.Text(0))]));
    });
    t["MonthFromName"] = R(2, [](A a) { return Fields(MonthFromName(a.Text(0), static_cast<uint8_t>(a.Int(1)))); });
    t["StrToDateFmt"] = R(2, [](A a) { return Dates(StrToDateFmt(a.Text(0), a.Text(1))); });
    t["StrToDateDef"] = R(2, [](A a) { return Dates(StrToDateDef(a.Text(0), a.Date(1))); });
    t["StrToDateFmtDef"] = R(3, [](A a) { return Dates(StrToDateFmtDef(a.Text(0), a.Text(1), a.Date(2))); });
    t["DefDateFormat"] = R(1, [](A a) { return Fields(DefDateFormat(a.Bool(0))); });
    t["DefDateMask"] = R(2, [](A a) { return Fields(DefDateMask(a.Char(0), a.Bool(1))); });
    t["FormatLongDate"] = R(1, [](A a) { return Fields(FormatLongDate(a.Date(0))); });
    t["FormatLongDateTime"] = R(1, [](A a) { return Fields(FormatLongDateTime(a.Date(0))); });
}

void AddIniRoutines(TUtilTable& t)
{
    using A = const TUtilArgs&;
    using Store = std::unique_ptr<TObject>;
    t["GetDefaultIniName"] = R(0, [](A) { return Fields(GetDefaultIniName()); });
    t["GetDefaultIniRegKey"] = R(0, [](A) { return Fields(GetDefaultIniRegKey()); });
    t["IniReadString"] =
        R(4, [](A a) { return Fields(IniReadString(Store(a.Store(0)).get(), a.Text(1), a.Text(2), a.Text(3))); });
    t["IniWriteString"] = R(4, [](A a) {
        IniWriteString(Store(a.Store(0)).get(), a.Text(1), a.Text(2), a.Text(3));
        return TUtilFields();
    });
    t["IniReadInteger"] =
        R(4, [](A a) { return Fields(IniReadInteger(Store(a.Store(0)).get(), a.Text(1), a.Text(2), a.Int(3))); });
    t["IniWriteInteger"] = R(4, [](A a) {
        IniWriteInteger(Store(a.Store(0)).get(), a.Text(1), a.Text(2), a.Int(3));
        return TUtilFields();
    });
    t["IniReadBool"] =
        R(4, [](A a) { return Fields(IniReadBool(Store(a.Store(0)).get(), a.Text(1), a.Text(2), a.Bool(3))); });
    t["IniWriteBool"] = R(4, [](A a) {
        IniWriteBool(Store(a.Store(0)).get(), a.Text(1), a.Text(2), a.Bool(3));
        return TUtilFields();
    });
    t["IniEraseSection"] = R(2, [](A a) {
        IniEraseSection(Store(a.Store(0)).get(), a.Text(1));
        return TUtilFields();
    });
    t["IniDeleteKey"] = R(3, [](A a) {
        IniDeleteKey(Store(a.Store(0)).get(), a.Text(1), a.Text(2));
        return TUtilFields();
    });
    t["IniReadSections"] = R(1, [](A a) {
        TStringList sections;
        IniReadSections(Store(a.Store(0)).get(), &sections);
        TUtilFields fields;
        for (int i = 0; i < sections.Count(); ++i)
            fields.push_back(sections.Strings(i));
        return fields;
    });
    t["StrToIniStr"] = R(1, [](A a) { return Fields(StrToIniStr(a.Text(0))); });
    t["IniStrToStr"] = R(1, [](A a) { return Fields(IniStrToStr(a.Text(0))); });
    t["GetUniqueFileNameInDir"] = R(2, [](A a) { return Fields(GetUniqueFileNameInDir(a.Text(0), a.Text(1))); });
}

void SetLocale(const AnsiString& setting)
{
    const size_t eq = setting.find('=');
    if (eq == AnsiString::npos)
        Bad(setting);
    const AnsiString key = setting.substr(0, eq), value = setting.substr(eq + 1);
    TFormatSettings& fs = FormatSettings();
    if (key == "shortdate")
        fs.ShortDateFormat = value;
    else if (key == "datesep" && value.size() == 1)
        fs.DateSeparator = value[0];
    else if (key == "shorttime")
        fs.ShortTimeFormat = value;
    else if (key == "am")
        fs.TimeAMString = value;
    else if (key == "pm")
        fs.TimePMString = value;
    else if (key == "fareast")
        fs.FarEast = value == "1" || SameText(value, "true");
    else if (key == "longmonths") {
        TStringList months;
        months.SetDelimiter(',');
        months.SetDelimitedText(value);
        for (size_t m = 0; m < 12; ++m)
            fs.LongMonthNames[m] = static_cast<int>(m) < months.Count() ? months.Strings(static_cast<int>(m)) : "";
    } else
        Bad(setting);
}

void AddSettings(TUtilTable& t)
{
    using A = const TUtilArgs&;
    t["today"] = R(1, [](A a) {
        const TDateTime today = a.Date(0);
        SetDateTimeClock([today] { return today; });
        return TUtilFields();
    });
    t["locale"] = R(-1, [](A a) {
        for (size_t i = 0; i < a.Count(); ++i)
            SetLocale(a.Text(i));
        return TUtilFields();
    });
}

const TUtilTable& Table()
{
    static const TUtilTable table = [] {
        TUtilTable t;
        AddDateRoutines(t);
        AddIniRoutines(t);
        AddFileRoutines(t);
        AddCtrlRoutines(t);
        AddSettings(t);
        return t;
    }();
    return table;
}

// The words of the line: `arity` of them, the last taking the rest; every one when -1.
std::vector<AnsiString> Split(std::string_view line, int arity)
{
    std::vector<AnsiString> words;
    size_t pos = 0;
    while (arity < 0 || static_cast<int>(words.size()) < arity) {
        while (pos < line.size() && line[pos] == ' ')
            ++pos;
        if (pos >= line.size())
            break;
        size_t end = static_cast<int>(words.size()) + 1 == arity ? line.size() : line.find(' ', pos);
        end = std::min(end, line.size());
        words.push_back(UnescapeText(line.substr(pos, end - pos)));
        pos = end;
    }
    return words;
}

AnsiString ClassOf(const std::exception& e)
{
    // "10EFOpenError" and the like: the mangled length comes first.
    AnsiString name = typeid(e).name();
    size_t i = 0;
    while (i < name.size() && name[i] >= '0' && name[i] <= '9')
        ++i;
    return name.substr(i);
}

}  // namespace

int TUtilArgs::Int(size_t i) const
{
    int value;
    if (!TryStrToInt(Text(i), value))
        Bad(Text(i));
    return value;
}

bool TUtilArgs::Bool(size_t i) const
{
    const AnsiString& t = Text(i);
    if (t == "1" || SameText(t, "true"))
        return true;
    if (t == "0" || SameText(t, "false"))
        return false;
    Bad(t);
}

char TUtilArgs::Char(size_t i) const
{
    if (Text(i).size() != 1)
        Bad(Text(i));
    return Text(i)[0];
}

TDateTime TUtilArgs::Date(size_t i) const
{
    const AnsiString& t = Text(i);
    if (t == "NULL")
        return 0;
    size_t pos = 0;
    const int y = Digits(t, pos, 4), m = (pos < t.size() && t[pos++] == '-') ? Digits(t, pos, 2) : -1,
              d = (pos < t.size() && t[pos++] == '-') ? Digits(t, pos, 2) : -1;
    int h = 0, mi = 0, s = 0;
    if (pos < t.size()) {
        const bool sep = t[pos++] == 'T';
        h = sep ? Digits(t, pos, 2) : -1;
        mi = (pos < t.size() && t[pos++] == ':') ? Digits(t, pos, 2) : -1;
        s = (pos < t.size() && t[pos++] == ':') ? Digits(t, pos, 2) : -1;
    }
    TDateTime date, time;
    if (pos != t.size() || !TryEncodeDate(y, m, d, date) || !TryEncodeTime(h, mi, s, 0, time))
        Bad(t);
    return date < 0 ? date - time : date + time;
}

TObject* TUtilArgs::Control(size_t i) const { return Text(i) == "-" || !find_ ? nullptr : find_(Text(i)); }

TObject* TUtilArgs::Store(size_t i) const
{
    const AnsiString& name = Text(i);
    if (name.rfind("reg:", 0) == 0)
        return new TRegIniFile(name.substr(4));
    return new TIniFile(name);
}

AnsiString ShowNumber(double value) { return FloatToStr(value); }
AnsiString ShowBool(bool value) { return value ? "True" : "False"; }

AnsiString ShowDate(TDateTime value)
{
    if (value == 0)
        return "NULL";
    uint16_t y, mo, d, h, mi, s, ms;
    DecodeDate(value, y, mo, d);
    DecodeTime(value, h, mi, s, ms);
    AnsiString text = Format("%04u-%02u-%02u", y, mo, d);
    if (h || mi || s || ms)
        text += Format(" %02u:%02u:%02u", h, mi, s);
    if (ms)
        text += Format(".%03u", ms);
    return text;
}

AnsiString RunUtil(std::string_view line, const TUtilControlFinder& findControl)
{
    size_t start = line.find_first_not_of(' ');
    if (start == std::string_view::npos)
        return "ERROR missing routine";
    const size_t end = std::min(line.find(' ', start), line.size());
    const std::string name(line.substr(start, end - start));
    const auto it = Table().find(name);
    if (it == Table().end())
        return "ERROR unknown routine " + EscapeText(name);
    std::vector<AnsiString> words = Split(line.substr(end), it->second.Arity);
    // A missing last argument is an empty text.
    if (it->second.Arity > 0 && static_cast<int>(words.size()) + 1 == it->second.Arity)
        words.emplace_back();
    if (it->second.Arity >= 0 && static_cast<int>(words.size()) != it->second.Arity)
        return "ERROR " + EscapeText(name) + " takes " + IntToStr(it->second.Arity) + " arguments";
    try {
        AnsiString out;
        for (const AnsiString& field : it->second.Run(TUtilArgs(std::move(words), findControl)))
            out += " " + EscapeText(field);
        while (!out.empty() && out.back() == ' ')
            out.pop_back();
        return "RESULT" + out;
    } catch (const EUtilArgument& e) {
        return "ERROR " + EscapeText(e.Message);
    } catch (const Exception& e) {
        return "ERROR " + ClassOf(e) + ": " + EscapeText(e.Message);
    }
}
