#pragma once
// Date arithmetic and the lenient reading of typed dates under a display format. Values are
// TDateTime (days since 30 December 1899, the fraction the time of day); the locale comes from
// FormatSettings().

#include <cstdint>
#include <string_view>

#include "platform/core/AnsiString.h"
#include "platform/core/DateTime.h"

// The value meaning "no date"; an empty text reads as it.
constexpr TDateTime NullDate = 0.0;
// Two-digit years are taken within this many years before the current one (see WidenYear).
extern uint8_t CenturyOffset;
// Set at start-up: the locale's short date format shows four-digit years.
extern bool FourDigitYear;

enum TDayOfWeekName { Sun, Mon, Tue, Wed, Thu, Fri, Sat };
// A set of days: bit n stands for TDayOfWeekName n.
using TDaysOfWeek = uint8_t;
enum TDateOrder { doMDY, doDMY, doYMD };

// --- Calendar arithmetic ---
// IsLeapYear comes from DateTime.h. Days of the month; 0 for a month outside 1..12.
int DaysPerMonth(int year, int month);
// Relative to today.
TDateTime FirstDayOfNextMonth();
TDateTime FirstDayOfPrevMonth();
TDateTime LastDayOfPrevMonth();
uint16_t ExtractDay(TDateTime date);
uint16_t ExtractMonth(TDateTime date);
uint16_t ExtractYear(TDateTime date);
// Moves by years and months (the day cut to the month's length), then by days; the time of day
// stays. Raises EConvertError when the year leaves 1..9999.
TDateTime IncDate(TDateTime date, int days, int months, int years);
TDateTime IncDay(TDateTime date, int delta);
TDateTime IncMonth(TDateTime date, int delta);
TDateTime IncYear(TDateTime date, int delta);
TDateTime IncTime(TDateTime time, int hours, int minutes, int seconds, int msecs);
TDateTime IncHour(TDateTime time, int delta);
TDateTime IncMinute(TDateTime time, int delta);
TDateTime IncSecond(TDateTime time, int delta);
TDateTime IncMSec(TDateTime time, int delta);
// The calendar distance between two dates, in either order.
void DateDiff(TDateTime date1, TDateTime date2, uint16_t& days, uint16_t& months, uint16_t& years);
// Whole months, plus a quarter, half, three quarters or one for the days left over.
double MonthsBetween(TDateTime date1, TDateTime date2);
// Days from date1 to date2 counting both; 0 unless both are valid dates.
int DaysInPeriod(TDateTime date1, TDateTime date2);
// Days from date1 to date2 counting both; 0 when date2 comes first.
int DaysBetween(TDateTime date1, TDateTime date2);
bool ValidDate(TDateTime date);
TDateTime CutTime(TDateTime date);
uint16_t CurrentYear();

// --- Text and formats ---
// By the first of the letters D, E, M, Y in the format; day-month-year when there is none.
TDateOrder GetDateOrder(std::string_view dateFormat);
// The first month whose long name starts like s over maxLen bytes, ignoring ASCII case; 0 when
// none does.
uint8_t MonthFromName(std::string_view s, uint8_t maxLen);
// Raises EConvertError("''TEXT'' is not a valid date").
TDateTime StrToDateFmt(std::string_view dateFormat, std::string_view s);
// The date, or the whole days of fallback.
TDateTime StrToDateDef(std::string_view s, TDateTime fallback);
TDateTime StrToDateFmtDef(std::string_view dateFormat, std::string_view s, TDateTime fallback);
// "/" in these stands for the locale's date separator, as in FormatDateTime.
AnsiString DefDateFormat(bool fourDigitYear);
AnsiString DefDateMask(char blanksChar, bool fourDigitYear);
AnsiString FormatLongDate(TDateTime value);
// Empty for NullDate.
AnsiString FormatLongDateTime(TDateTime value);
