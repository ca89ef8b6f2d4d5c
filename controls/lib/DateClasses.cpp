// The published properties of the calendar and the date edit. Dates are read and written as
// "YYYY-MM-DD" ("" for the null date).

#include "controls/lib/DateEdit.h"
#include "platform/core/DateFormat.h"
#include "platform/core/TypInfo.h"
#include "platform/gui/StandardClasses.h"

namespace {

const std::vector<AnsiString> kDays{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

AnsiString DateText(TDateTime date) { return date == NullDate ? AnsiString() : FormatDateTime("yyyy-mm-dd", date); }

// "YYYY-MM-DD"; anything else raises the conversion error.
TDateTime TextDate(const AnsiString& text)
{
    if (text.empty())
        return NullDate;
    int y = 0, m = 0, d = 0;
    TDateTime date = 0;
    if (std::sscanf(text.c_str(), "%d-%d-%d", &y, &m, &d) != 3 || !TryEncodeDate(y, m, d, date))
        throw EConvertError("'" + text + "' is not a valid date");
    return date;
}

}  // namespace

void RegisterDateEditClasses()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterStandardClasses();
    using K = TExCalendar;
    RegisterClass<K>("TExCalendar", "TCustomControl", MakeComponent<K>)
        .Str(
            "CalendarDate", [](K* k) { return DateText(k->CalendarDate()); },
            [](K* k, const AnsiString& v) { k->SetCalendarDate(TextDate(v)); })
        .Stored([](K* k) { return !k->UseCurrentDate(); })
        .Int("Year", &K::Year, &K::SetYear)
        .Stored([](K*) { return false; })
        .Int("Month", &K::Month, &K::SetMonth)
        .Stored([](K*) { return false; })
        .Int("Day", &K::Day, &K::SetDay)
        .Stored([](K*) { return false; })
        .Bool("ReadOnly", &K::ReadOnly, &K::SetReadOnly, false)
        .Enum("StartOfWeek", "TDayOfWeekName", kDays, &K::StartOfWeek, &K::SetStartOfWeek, Mon)
        .Bool("UseCurrentDate", &K::UseCurrentDate, &K::SetUseCurrentDate, true)
        .Set("Weekends", "TDaysOfWeek", kDays, &K::Weekends, &K::SetWeekends, 1 << Sun)
        .Int("WeekendColor", &K::WeekendColor, &K::SetWeekendColor, clRed)
        .Int("Col", &K::Col, nullptr)
        .Int("Row", &K::Row, nullptr);
    using D = TCustomDateEdit;
    RegisterClass<D>("TCustomDateEdit", "TCustomComboEdit")
        .Char("BlanksChar", &D::BlanksChar, &D::SetBlanksChar, ' ')
        .Object("CalendarHints", "TStrings", &D::CalendarHints, &D::SetCalendarHints)
        .Enum("CalendarStyle", "TCalendarStyle", {"csPopup", "csDialog"}, &D::CalendarStyle, &D::SetCalendarStyle,
              csPopup)
        .Bool("CheckOnExit", &D::CheckOnExit, &D::SetCheckOnExit, false)
        .Bool("DefaultToday", &D::DefaultToday, &D::SetDefaultToday, false)
        .Str("DialogTitle", &D::DialogTitle, &D::SetDialogTitle)
        .Enum("PopupAlign", "TPopupAlign", {"epaRight", "epaLeft"}, &D::PopupAlign, &D::SetPopupAlign, epaRight)
        .Int("PopupColor", &D::PopupColor, &D::SetPopupColor, clBtnFace)
        .Enum("StartOfWeek", "TDayOfWeekName", kDays, &D::StartOfWeek, &D::SetStartOfWeek, Mon)
        .Set("Weekends", "TDaysOfWeek", kDays, &D::Weekends, &D::SetWeekends, 1 << Sun)
        .Int("WeekendColor", &D::WeekendColor, &D::SetWeekendColor, clRed)
        .Enum("YearDigits", "TYearDigits", {"dyDefault", "dyFour", "dyTwo"}, &D::YearDigits, &D::SetYearDigits,
              dyDefault)
        .Str("DateFormat", &D::DateFormat, nullptr)
        .Str(
            "Date", [](D* d) { return DateText(d->Date()); },
            [](D* d, const AnsiString& v) { d->SetDate(TextDate(v)); })
        .Stored([](D*) { return false; });
    RegisterClass<TDateEdit>("TDateEdit", "TCustomDateEdit", MakeComponent<TDateEdit>);
}
