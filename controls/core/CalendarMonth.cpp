#include "controls/core/CalendarMonth.h"

#include <algorithm>

int CalendarMonthOffset(int Year, int Month, TDayOfWeekName StartOfWeek)
{
    const int w = DayOfWeek(EncodeDate(Year, Month, 1));  // Sunday 1 .. Saturday 7
    const int offset = 2 - ((w - static_cast<int>(StartOfWeek) + 7) % 7);
    return offset == 2 ? -5 : offset;
}

TCalendarCell CalendarCellOfDay(int Day, int Offset) { return {(Day - Offset) % 7, (Day - Offset) / 7 + 1}; }

int CalendarDayAt(int Col, int Row, int Offset, int MonthLength)
{
    if (Row < 1)
        return 0;
    const int day = Offset + Col + 7 * (Row - 1);
    return day >= 1 && day <= MonthLength ? day : 0;
}

TDayOfWeekName CalendarColumnDay(int Col, TDayOfWeekName StartOfWeek)
{
    return static_cast<TDayOfWeekName>((static_cast<int>(StartOfWeek) + Col) % 7);
}

bool CalendarIsWeekendColumn(int Col, TDayOfWeekName StartOfWeek, TDaysOfWeek Weekends)
{
    return (Weekends >> CalendarColumnDay(Col, StartOfWeek)) & 1;
}

TDateTime CalendarShiftMonth(TDateTime Date, int Delta)
{
    uint16_t y, m, d;
    DecodeDate(Date, y, m, d);
    int year = y, month = m + Delta;
    while (month > 12) {
        month -= 12;
        ++year;
    }
    while (month < 1) {
        month += 12;
        --year;
    }
    return EncodeDate(year, month, std::min<int>(d, DaysPerMonth(year, month)));
}

TDateTime CalendarShiftYear(TDateTime Date, int Delta)
{
    uint16_t y, m, d;
    DecodeDate(Date, y, m, d);
    if (m == 2 && d == 29)
        d = 28;
    return EncodeDate(y + Delta, m, d);
}
