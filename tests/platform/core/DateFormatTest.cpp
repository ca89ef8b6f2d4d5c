#include <gtest/gtest.h>

#include "platform/core/Cp949.h"
#include "platform/core/DateFormat.h"
#include "platform/core/Exceptions.h"
#include "tests/platform/core/Cases.h"

namespace {

TFormatSettings English()
{
    TFormatSettings s;
    s.DateSeparator = '/';
    s.ShortDateFormat = "dd/mm/yyyy";
    s.LongDateFormat = "dddd, d mmmm yyyy";
    s.ShortTimeFormat = "hh:nn";
    s.LongTimeFormat = "hh:nn:ss";
    s.TimeAMString = "AM";
    s.TimePMString = "PM";
    const char* months[] = {"January", "February", "March",     "April",   "May",      "June",
                            "July",    "August",   "September", "October", "November", "December"};
    const char* days[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    for (size_t i = 0; i < 12; ++i) {
        s.LongMonthNames[i] = months[i];
        s.ShortMonthNames[i] = AnsiString(months[i]).substr(0, 3);
    }
    for (size_t i = 0; i < 7; ++i) {
        s.LongDayNames[i] = days[i];
        s.ShortDayNames[i] = AnsiString(days[i]).substr(0, 3);
    }
    return s;
}

class FixedClock : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetDateTimeClock([] { return EncodeDate(2026, 12, 6) + EncodeTime(21, 0, 0, 0); });
    }
    void TearDown() override { SetDateTimeClock(nullptr); }
};

const TDateTime kMoment = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 45);

}  // namespace

TEST(FormatDateTimeTest, DateAndTimeLetters)
{
    TFormatSettings s = English();
    Each(TextChecks{CHECK_ROW(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", kMoment, s), "2024-03-05 14:07:09.045"),
                    CHECK_ROW(FormatDateTime("d/m/yy", kMoment, s), "5/3/24"),
                    CHECK_ROW(FormatDateTime("ddd dddd mmm mmmm", kMoment, s), "Tue Tuesday Mar March"),
                    CHECK_ROW(FormatDateTime("h:mm", kMoment, s), "14:07"),  // m after h is the minute
                    CHECK_ROW(FormatDateTime("h:mm am/pm", kMoment, s), "2:07 pm"),
                    CHECK_ROW(FormatDateTime("hh AM/PM", kMoment - 0.5, s), "02 AM"),
                    CHECK_ROW(FormatDateTime("h a/p", EncodeTime(0, 5, 0, 0), s), "12 a"),
                    CHECK_ROW(FormatDateTime("h ampm", kMoment, s), "2 PM"),
                    CHECK_ROW(FormatDateTime("'at' hh \"o'clock\"", kMoment, s), "at 14 o'clock"),
                    CHECK_ROW(FormatDateTime("ddddd", kMoment, s), "05/03/2024"),
                    CHECK_ROW(FormatDateTime("dddddd", kMoment, s), "Tuesday, 5 March 2024"),
                    CHECK_ROW(FormatDateTime("c", kMoment, s), "05/03/2024 14:07:09"),
                    CHECK_ROW(FormatDateTime("c", EncodeDate(2024, 3, 5), s), "05/03/2024"),
                    CHECK_ROW(FormatDateTime("t | tt", kMoment, s), "14:07 | 14:07:09")});
}

TEST(FormatDateTimeTest, AMarkerBeforeTheHourMakesItTwelveHour)
{
    EXPECT_EQ(FormatDateTime("ampm h:nn", kMoment, English()), "PM 2:07");
}

TEST(FormatDateTimeTest, KoreanDefaults)
{
    const TFormatSettings& s = FormatSettings();
    EXPECT_EQ(DateToStr(kMoment), "2024-03-05");
    EXPECT_EQ(TimeToStr(kMoment), Utf8ToCp949("오후 2:07:09"));
    EXPECT_EQ(FormatDateTime("dddddd", kMoment, s), Utf8ToCp949("2024년 3월 5일 화요일"));
    EXPECT_EQ(DateTimeToStr(kMoment), Utf8ToCp949("2024-03-05 오후 2:07:09"));
}

TEST(FormatDateTimeTest, HangulLiteralsAreNeverReadAsLetters)
{
    // "똠" is 8C 63: its trail byte is 'c', which would otherwise expand to a whole date.
    AnsiString ddom = "\x8C\x63";
    EXPECT_EQ(FormatDateTime("yyyy" + ddom, kMoment, English()), "2024" + ddom);
    // A lone lead byte at the end of a format is copied as it is.
    EXPECT_EQ(FormatDateTime("yy\xB1", kMoment, English()), "24\xB1");
}

TEST_F(FixedClock, StrToDateFollowsTheShortDateFormat)
{
    TFormatSettings s = English();
    TDateTime d;
    ASSERT_TRUE(TryStrToDate("05/03/2024", d, s));
    EXPECT_EQ(d, EncodeDate(2024, 3, 5));
    ASSERT_TRUE(TryStrToDate(" 5/3 ", d, s));  // two numbers: this year
    EXPECT_EQ(d, EncodeDate(2026, 3, 5));
    ASSERT_TRUE(TryStrToDate("5/3/80", d, s));  // two-digit years: 1976 to 2075 in 2026
    EXPECT_EQ(d, EncodeDate(1980, 3, 5));
    s.TwoDigitYearCenturyWindow = 0;  // no window: the current century
    ASSERT_TRUE(TryStrToDate("5/3/80", d, s));
    EXPECT_EQ(d, EncodeDate(2080, 3, 5));
    EXPECT_FALSE(TryStrToDate("29/2/2023", d, s));
    EXPECT_FALSE(TryStrToDate("12345/1/1", d, s));
    EXPECT_FALSE(TryStrToDate("5/3/2024x", d, s));
    EXPECT_FALSE(TryStrToDate("", d, s));

    // The Korean default is year first.
    EXPECT_EQ(StrToDate("2024-03-05"), EncodeDate(2024, 3, 5));
    ExpectRaises<EConvertError>([&] { StrToDate("2024/03/05"); }, "'2024/03/05' is not a valid date");
}

TEST_F(FixedClock, DatesRoundTripThroughTheirText)
{
    for (TDateTime d = EncodeDate(1950, 1, 1); d < EncodeDate(2050, 1, 1); d += 97) {
        EXPECT_EQ(StrToDate(DateToStr(d)), d);
        TDateTime back;
        ASSERT_TRUE(TryStrToDate(FormatDateTime("ddddd", d, English()), back, English()));
        EXPECT_EQ(back, d);
    }
}

TEST(StrToTimeTest, HoursMinutesSecondsAndMarkers)
{
    TFormatSettings s = English();
    TDateTime t;
    ASSERT_TRUE(TryStrToTime("14:07", t, s));
    EXPECT_DOUBLE_EQ(t, EncodeTime(14, 7, 0, 0));
    ASSERT_TRUE(TryStrToTime("2:07:09 PM", t, s));
    EXPECT_DOUBLE_EQ(t, EncodeTime(14, 7, 9, 0));
    ASSERT_TRUE(TryStrToTime("12:00 am", t, s));
    EXPECT_DOUBLE_EQ(t, 0);
    EXPECT_FALSE(TryStrToTime("13:00 PM", t, s));
    EXPECT_FALSE(TryStrToTime("25:00", t, s));
    EXPECT_FALSE(TryStrToTime("14", t, s));
    // The Korean marker comes first.
    EXPECT_DOUBLE_EQ(StrToTime(TimeToStr(kMoment)), EncodeTime(14, 7, 9, 0));
    EXPECT_THROW(StrToTime("soon"), EConvertError);
}

TEST_F(FixedClock, DateAndTimeTogether)
{
    EXPECT_DOUBLE_EQ(StrToDateTime(DateTimeToStr(kMoment)), EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 0));
    EXPECT_EQ(StrToDateTime("2024-03-05"), EncodeDate(2024, 3, 5));
    EXPECT_THROW(StrToDateTime("2024-03-05 x"), EConvertError);
}
