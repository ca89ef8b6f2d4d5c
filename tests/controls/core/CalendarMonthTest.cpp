// The month calendar's grid: where a month starts, which cells hold days, weekend columns, and
// the steps by month and year.

#include "controls/core/CalendarMonth.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TStartCase {
    const char* name;
    int year, month;
    TDayOfWeekName start;
    int col;  // the 1st's column in the first day row
};

const TStartCase kStarts[] = {
    {"SundayStartLastColumnUnderMonday", 2023, 10, Mon, 6},  // 1 October 2023 was a Sunday
    {"MondayStartFirstColumnUnderMonday", 2024, 1, Mon, 0},  // 1 January 2024 was a Monday
    {"TuesdayStartSecondColumn", 2024, 10, Mon, 1},          {"SundayStartFirstColumnUnderSunday", 2023, 10, Sun, 0},
    {"SaturdayStartLastColumnUnderSunday", 2024, 6, Sun, 6},
};

class CalendarStart : public ::testing::TestWithParam<TStartCase> {};

TEST_P(CalendarStart, PutsTheFirstInTheFirstDayRow)
{
    const TStartCase& c = GetParam();
    const int offset = CalendarMonthOffset(c.year, c.month, c.start);
    const TCalendarCell cell = CalendarCellOfDay(1, offset);
    EXPECT_EQ(cell.Col, c.col);
    EXPECT_EQ(cell.Row, 1);
    EXPECT_EQ(CalendarDayAt(c.col, 1, offset, 31), 1);
}

INSTANTIATE_TEST_SUITE_P(Months, CalendarStart, ::testing::ValuesIn(kStarts),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(CalendarMonth, CellsOutsideTheMonthHoldNoDay)
{
    const int offset = CalendarMonthOffset(2023, 10, Mon);  // -5
    EXPECT_EQ(CalendarDayAt(5, 1, offset, 31), 0);
    EXPECT_EQ(CalendarDayAt(1, 6, offset, 31), 31);
    EXPECT_EQ(CalendarDayAt(2, 6, offset, 31), 0);
    EXPECT_EQ(CalendarDayAt(0, 0, offset, 31), 0);
}

TEST(CalendarMonth, WeekendColumnsFollowTheStartOfTheWeek)
{
    const TDaysOfWeek sunday = 1u << Sun;
    EXPECT_TRUE(CalendarIsWeekendColumn(6, Mon, sunday));
    EXPECT_FALSE(CalendarIsWeekendColumn(0, Mon, sunday));
    EXPECT_TRUE(CalendarIsWeekendColumn(0, Sun, sunday));
    EXPECT_EQ(CalendarColumnDay(3, Sat), Tue);
}

struct TStepCase {
    const char* name;
    TDateTime from;
    int months, years;
    TDateTime to;
};

const TStepCase kSteps[] = {
    {"LastOfJanuaryToLastOfFebruary", EncodeDate(2001, 1, 31), 1, 0, EncodeDate(2001, 2, 28)},
    {"LeapFebruaryKeepsThe29th", EncodeDate(2000, 1, 29), 1, 0, EncodeDate(2000, 2, 29)},
    {"JanuaryBackToDecember", EncodeDate(2000, 1, 15), -1, 0, EncodeDate(1999, 12, 15)},
    {"LeapDayToNextYearIsThe28th", EncodeDate(2000, 2, 29), 0, 1, EncodeDate(2001, 2, 28)},
    {"LeapDayToPreviousYearIsThe28th", EncodeDate(2000, 2, 29), 0, -1, EncodeDate(1999, 2, 28)},
};

class CalendarStep : public ::testing::TestWithParam<TStepCase> {};

TEST_P(CalendarStep, LandsOnTheDay)
{
    const TStepCase& c = GetParam();
    const TDateTime to = c.years ? CalendarShiftYear(c.from, c.years) : CalendarShiftMonth(c.from, c.months);
    EXPECT_EQ(to, c.to);
}

INSTANTIATE_TEST_SUITE_P(Steps, CalendarStep, ::testing::ValuesIn(kSteps),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
