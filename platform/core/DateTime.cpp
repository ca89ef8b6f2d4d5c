#include "platform/core/DateTime.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "platform/core/Exceptions.h"

// Days from 1 January of year 1 to 30 December 1899.
static constexpr int64_t kDateDelta = 693594;

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInAMonth(int year, int month)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& date)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInAMonth(year, month))
        return false;
    int64_t dayOfYear = day;
    for (int m = 1; m < month; ++m)
        dayOfYear += DaysInAMonth(year, m);
    int64_t y = year - 1;
    date = static_cast<double>(y * 365 + y / 4 - y / 100 + y / 400 + dayOfYear - kDateDelta);
    return true;
}

TDateTime EncodeDate(int year, int month, int day)
{
    TDateTime date;
    if (!TryEncodeDate(year, month, day, date))
        throw EConvertError("Invalid argument to date encode");
    return date;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time)
{
    if (hour < 0 || hour >= 24 || min < 0 || min >= 60 || sec < 0 || sec >= 60 || msec < 0 || msec >= 1000)
        return false;
    time = (hour * 3600000.0 + min * 60000.0 + sec * 1000.0 + msec) / MSecsPerDay;
    return true;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec)
{
    TDateTime time;
    if (!TryEncodeTime(hour, min, sec, msec, time))
        throw EConvertError("Invalid argument to time encode");
    return time;
}

// Whole days since 1 January of year 1 (day 1) and milliseconds into the day.
static void ToTimeStamp(TDateTime value, int64_t& days, int64_t& msecs)
{
    // Out-of-range values saturate instead of overflowing the conversion.
    double total = std::round(value * MSecsPerDay);
    if (!(total > -9.0e17))
        total = -9.0e17;
    if (total > 9.0e17)
        total = 9.0e17;
    auto t = static_cast<int64_t>(total);
    days = kDateDelta + t / MSecsPerDay;
    msecs = (t < 0 ? -t : t) % MSecsPerDay;
}

void DecodeDate(TDateTime date, uint16_t& year, uint16_t& month, uint16_t& day)
{
    int64_t days, msecs;
    ToTimeStamp(date, days, msecs);
    if (days <= 0 || days > 3652059) {
        year = month = day = 0;
        return;
    }
    int64_t n = days - 1;  // days since 0001-01-01
    int64_t y400 = n / 146097;
    n %= 146097;
    int64_t y100 = std::min<int64_t>(n / 36524, 3);
    n -= y100 * 36524;
    int64_t y4 = n / 1461;
    n %= 1461;
    int64_t y1 = std::min<int64_t>(n / 365, 3);
    n -= y1 * 365;
    int y = static_cast<int>(y400 * 400 + y100 * 100 + y4 * 4 + y1 + 1);
    int m = 1;
    while (n >= DaysInAMonth(y, m)) {
        n -= DaysInAMonth(y, m);
        ++m;
    }
    year = static_cast<uint16_t>(y);
    month = static_cast<uint16_t>(m);
    day = static_cast<uint16_t>(n + 1);
}

void DecodeTime(TDateTime time, uint16_t& hour, uint16_t& min, uint16_t& sec, uint16_t& msec)
{
    int64_t days, msecs;
    ToTimeStamp(time, days, msecs);
    hour = static_cast<uint16_t>(msecs / 3600000);
    min = static_cast<uint16_t>(msecs / 60000 % 60);
    sec = static_cast<uint16_t>(msecs / 1000 % 60);
    msec = static_cast<uint16_t>(msecs % 1000);
}

int DayOfWeek(TDateTime date)
{
    int64_t days, msecs;
    ToTimeStamp(date, days, msecs);
    return static_cast<int>(((days % 7) + 7) % 7) + 1;
}

static TDateTime SystemNow()
{
    struct timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    struct tm local;
    localtime_r(&ts.tv_sec, &local);
    TDateTime date = 0, time = 0;
    TryEncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, date);
    // A leap second shows as the 59th.
    TryEncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), static_cast<int>(ts.tv_nsec / 1000000),
                  time);
    return date + time;
}

static TDateTimeClock& Clock()
{
    static TDateTimeClock clock;
    return clock;
}

void SetDateTimeClock(TDateTimeClock clock) { Clock() = std::move(clock); }

TDateTime Now() { return Clock() ? Clock()() : SystemNow(); }
TDateTime Date() { return std::trunc(Now()); }
TDateTime Time()
{
    TDateTime now = Now();
    return now - std::trunc(now);
}
