// Date arithmetic and the lenient date reading, on a fixed clock (15 March 2026) and locales
// set per case.

#include "controls/core/DateUtil.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/core/Exceptions.h"
#include "platform/core/FormatSettings.h"

namespace {

TDateTime D(int y, int m, int d) { return EncodeDate(y, m, d); }

// YYYY-MM-DD, with " HH:MM:SS" and ".mmm" when not 0; "NULL" for the null date.
std::string Show(TDateTime value)
{
    if (value == NullDate)
        return "NULL";
    uint16_t y, mo, d, h, mi, s, ms;
    DecodeDate(value, y, mo, d);
    DecodeTime(value, h, mi, s, ms);
    std::string text = Format("%04u-%02u-%02u", y, mo, d);
    if (h || mi || s || ms)
        text += Format(" %02u:%02u:%02u", h, mi, s);
    if (ms)
        text += Format(".%03u", ms);
    return text;
}

class DateUtilTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = FormatSettings();
        SetDateTimeClock([] { return EncodeDate(2026, 3, 15) + 0.25; });
    }
    void TearDown() override
    {
        FormatSettings() = saved_;
        SetDateTimeClock(nullptr);
    }
    static void Locale(const char* shortDate, char separator)
    {
        FormatSettings().ShortDateFormat = shortDate;
        FormatSettings().DateSeparator = separator;
    }

private:
    TFormatSettings saved_;
};

struct TCalendarCase {
    const char* name;
    std::function<std::string()> run;
    const char* expected;
};
class DateCalendar : public DateUtilTest, public ::testing::WithParamInterface<TCalendarCase> {};

TEST_P(DateCalendar, Gives) { EXPECT_EQ(GetParam().run(), GetParam().expected); }

const TCalendarCase kCalendar[] = {
    {"LeapYears",
     [] {
         return std::string() + "01"[IsLeapYear(1900)] + "01"[IsLeapYear(2000)] + "01"[IsLeapYear(2024)] +
             "01"[IsLeapYear(2023)];
     },
     "0110"},
    {"RegressionMonthOutsideTheYearHasNoDays", [] { return std::to_string(DaysPerMonth(2024, 13)); }, "0"},
    {"IncMonthCutsToTheLeapDay", [] { return Show(IncMonth(D(2024, 1, 31) + 0.5, 1)); }, "2024-02-29 12:00:00"},
    {"IncMonthBackCutsToFebruary", [] { return Show(IncMonth(D(2023, 3, 31) + 0.75, -1)); }, "2023-02-28 18:00:00"},
    {"IncDateAcrossTheYear", [] { return Show(IncDate(D(2024, 11, 30), 1, 14, 0)); }, "2026-01-31"},
    // 50000 minutes overflow a 32-bit millisecond sum: 34 days 17:20.
    {"RegressionIncMinuteAddsIn64Bits", [] { return Show(IncMinute(D(2024, 1, 1), 50000)); }, "2024-02-04 17:20:00"},
    {"IncHourPastMidnight", [] { return Show(IncHour(D(2024, 1, 1) + 0.5, 13)); }, "2024-01-02 01:00:00"},
    {"DateDiffBorrowsTheFirstMonth",
     [] {
         uint16_t d, m, y;
         DateDiff(D(2023, 3, 1), D(2023, 1, 31), d, m, y);
         return Format("%u %u %u", d, m, y);
     },
     "1 1 0"},
    {"MonthsBetweenOneDayOverIsWhole", [] { return Format("%g", MonthsBetween(D(2023, 1, 31), D(2023, 3, 1))); }, "1"},
    {"MonthsBetweenTenDaysOverAddsAHalf", [] { return Format("%g", MonthsBetween(D(2023, 1, 1), D(2023, 2, 11))); },
     "1.5"},
    {"DaysBetweenBackwardsIsZero", [] { return std::to_string(DaysBetween(D(2024, 3, 10), D(2024, 3, 5))); }, "0"},
    {"DaysInPeriodCountsBothEnds", [] { return std::to_string(DaysInPeriod(D(2024, 3, 10), D(2024, 3, 5))); }, "6"},
    {"PreviousMonthOfMarch", [] { return Show(FirstDayOfPrevMonth()) + " " + Show(LastDayOfPrevMonth()); },
     "2026-02-01 2026-02-28"},
    {"NextMonthOfMarch", [] { return Show(FirstDayOfNextMonth()); }, "2026-04-01"},
    {"NullDateHasNoLongText", [] { return FormatLongDateTime(NullDate); }, ""},
    {"YearFirstMask",
     [] {
         FormatSettings().ShortDateFormat = "yyyy-mm-dd";
         return DefDateMask('_', true) + " " + DefDateFormat(false);
     },
     "!9999/99/99;1;_ YY/MM/DD"},
    {"BadTextRaisesWithDoubledApostrophes",
     [] {
         try {
             StrToDateFmt("DD/MM/YYYY", "abc");
         } catch (const EConvertError& e) {
             return e.Message;
         }
         return AnsiString("no error");
     },
     "''abc'' is not a valid date"},
};
INSTANTIATE_TEST_SUITE_P(Rows, DateCalendar, ::testing::ValuesIn(kCalendar),
                         [](const auto& row) { return std::string(row.param.name); });

struct TDateTextCase {
    const char* name;
    const char* shortDate;  // the locale's short date format
    char separator;
    const char* format;  // empty: StrToDateDef under the locale
    const char* text;
    const char* expected;  // "fail": the default (1 January 2000) comes back
};
class DateText : public DateUtilTest, public ::testing::WithParamInterface<TDateTextCase> {};

TEST_P(DateText, Reads)
{
    const TDateTextCase& c = GetParam();
    Locale(c.shortDate, c.separator);
    FormatSettings().LongMonthNames[2] = "March";
    const TDateTime fallback = D(2000, 1, 1) + 0.5;
    const TDateTime date = *c.format ? StrToDateFmtDef(c.format, c.text, fallback) : StrToDateDef(c.text, fallback);
    EXPECT_EQ(date == D(2000, 1, 1) ? "fail" : Show(date), c.expected);
}

const TDateTextCase kDateTexts[] = {
    {"DayMonthTakesTheCurrentYear", "dd.MM.yyyy", '.', "", "5.3", "2026-03-05"},
    {"TwoDigitYearSeventyIsLastCentury", "dd.MM.yyyy", '.', "", "5.3.70", "1970-03-05"},
    {"WindowEndsAtSixtyFive", "dd.MM.yyyy", '.', "", "1.1.65", "2065-01-01"},
    {"WindowStartsAtSixtySix", "dd.MM.yyyy", '.', "", "1.1.66", "1966-01-01"},
    {"NoLeapDayIn2023", "dd.MM.yyyy", '.', "", "29.2.2023", "fail"},
    {"FixedPositionsIgnoreWhatStandsBetween", "dd/MM/yyyy", '/', "DD/MM/YYYY", " 5x03-2024", "2024-03-05"},
    {"TextLongerThanTheFormatIsReadByOrder", "dd/MM/yyyy", '/', "DD/MM/YYYY", "05/03/2024 ", "2024-03-05"},
    {"RegressionBlankYearIsNotWidenedTo1999", "dd/MM/yyyy", '/', "DD/MM/YYYY", "05/03/    ", "fail"},
    {"FiveLeadingDigitsFail", "dd/MM/yyyy", '/', "DD/MM/YYYY", "12345/3/2024", "fail"},
    {"EmptyTextIsTheNullDate", "dd/MM/yyyy", '/', "DD/MM/YYYY", "", "NULL"},
    {"MonthNameUnderMMM", "dd/MM/yyyy", '/', "DD-MMM-YYYY", "05-mar-2024", "2024-03-05"},
    {"YearFirstTwoNumbersAreMonthAndDay", "yyyy-mm-dd", '-', "", "3-5", "2026-03-05"},
    {"MonthFirst", "MM/dd/yyyy", '/', "", "3/5/2024", "2024-03-05"},
};
INSTANTIATE_TEST_SUITE_P(Rows, DateText, ::testing::ValuesIn(kDateTexts),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(DateUtilTest, FarEasternDayNameAfterTheDateIsSkipped)
{
    Locale("yyyy-MM-dd ddd", '-');
    FormatSettings().ShortTimeFormat = "ampm h:nn";
    FormatSettings().FarEast = false;
    EXPECT_EQ(StrToDateDef("2024-3-5 Tue", NullDate), NullDate);
    FormatSettings().FarEast = true;
    EXPECT_EQ(Show(StrToDateDef("2024-3-5 Tue", NullDate)), "2024-03-05");
}

}  // namespace
