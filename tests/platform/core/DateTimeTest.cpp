#include <gtest/gtest.h>

#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"
#include "tests/platform/core/Cases.h"

TEST(DateEncoding, DaysCountFrom30December1899)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
    EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
}

TEST(DateEncoding, InvalidDatesAndTimesRaise)
{
    EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
    EXPECT_NO_THROW(EncodeDate(2024, 2, 29));
    EXPECT_THROW(EncodeDate(0, 1, 1), EConvertError);
    EXPECT_THROW(EncodeDate(2024, 13, 1), EConvertError);
    ExpectRaises<EConvertError>([&] { EncodeTime(24, 0, 0, 0); }, "Invalid argument to time encode");
    TDateTime d = 7;
    EXPECT_FALSE(TryEncodeDate(1900, 2, 29, d));  // 1900 was not a leap year
    EXPECT_EQ(d, 7);
}

TEST(DateEncoding, DecodeRoundTripsOverFourCenturies)
{
    for (int y : {1, 4, 100, 400, 1600, 1899, 1900, 1999, 2000, 2023, 2024, 2100, 9999}) {
        for (int m = 1; m <= 12; ++m) {
            for (int d : {1, 15, DaysInAMonth(y, m)}) {
                uint16_t yy, mm, dd;
                DecodeDate(EncodeDate(y, m, d), yy, mm, dd);
                ASSERT_EQ(yy, y);
                ASSERT_EQ(mm, m);
                ASSERT_EQ(dd, d);
            }
        }
    }
}

TEST(DateEncoding, TimesDecodeToTheMillisecond)
{
    TDateTime t = EncodeDate(2024, 3, 5) + EncodeTime(23, 59, 59, 999);
    uint16_t h, n, s, ms;
    DecodeTime(t, h, n, s, ms);
    Each(NumberChecks{CHECK_ROW(h, 23), CHECK_ROW(n, 59), CHECK_ROW(s, 59), CHECK_ROW(ms, 999)});
    uint16_t y, m, d;
    DecodeDate(t, y, m, d);
    EXPECT_EQ(d, 5);
    // Before 1899-12-30 the fraction is still the time of day: -1.25 is 29 December, 06:00.
    DecodeDate(-1.25, y, m, d);
    EXPECT_EQ(y, 1899);
    EXPECT_EQ(d, 29);
    DecodeTime(-1.25, h, n, s, ms);
    EXPECT_EQ(h, 6);
}

TEST(DateEncoding, LeapYearsAndWeekdays)
{
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(2000));
    Each(NumberChecks{CHECK_ROW(DaysInAMonth(2024, 2), 29), CHECK_ROW(DaysInAMonth(2023, 2), 28),
                      CHECK_ROW(DayOfWeek(EncodeDate(1899, 12, 30)), 7),    // a Saturday
                      CHECK_ROW(DayOfWeek(EncodeDate(2026, 12, 6)), 1),     // a Sunday
                      CHECK_ROW(DayOfWeek(EncodeDate(1899, 12, 25)), 2)});  // a Monday, before day 0
}

TEST(Clock, NowComesFromTheInjectedClock)
{
    TDateTime fixed = EncodeDate(2024, 2, 29) + EncodeTime(13, 30, 0, 0);
    SetDateTimeClock([fixed] { return fixed; });
    EXPECT_EQ(Now(), fixed);
    EXPECT_EQ(Date(), EncodeDate(2024, 2, 29));
    EXPECT_DOUBLE_EQ(Time(), EncodeTime(13, 30, 0, 0));
    SetDateTimeClock(nullptr);
    EXPECT_GT(Now(), EncodeDate(2020, 1, 1));
}
