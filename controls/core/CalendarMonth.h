#pragma once
// The month calendar's grid without a window: 7 columns, a header row of day names and six rows
// of day numbers. The month offset is the day number in the first column of the first day row,
// minus the column, so the day in column c of day row r is offset + c + 7 * (r - 1); and the
// calendar's steps by month and year.

#include "controls/core/DateUtil.h"

struct TCalendarCell {
    int Col = 0, Row = 0;
};

// The offset of the month of Year/Month when weeks start on StartOfWeek: the 1st stands in the
// first day row, in its last column when the month starts on the week's last day.
int CalendarMonthOffset(int Year, int Month, TDayOfWeekName StartOfWeek);
// The cell of a day of the month.
TCalendarCell CalendarCellOfDay(int Day, int Offset);
// The day in a day row's cell, or 0 when the cell lies outside the month.
int CalendarDayAt(int Col, int Row, int Offset, int MonthLength);
// The day of the week heading a column.
TDayOfWeekName CalendarColumnDay(int Col, TDayOfWeekName StartOfWeek);
bool CalendarIsWeekendColumn(int Col, TDayOfWeekName StartOfWeek, TDaysOfWeek Weekends);
// A month forward or back: the same day number, cut to the length of the month reached.
TDateTime CalendarShiftMonth(TDateTime Date, int Delta);
// A year forward or back; 29 February first becomes the 28th.
TDateTime CalendarShiftYear(TDateTime Date, int Delta);
