#pragma once
// The framework's date and time value: days since 30 December 1899, the fraction being the
// time of day. A negative value counts days backwards; its fraction is still the time of day.

#include <cstdint>
#include <functional>

using TDateTime = double;

constexpr int HoursPerDay = 24;
constexpr int MinsPerDay = 24 * 60;
constexpr int SecsPerDay = 24 * 60 * 60;
constexpr int MSecsPerDay = SecsPerDay * 1000;

bool IsLeapYear(int year);
// Days of the month (1..12) of the year; 0 for a month out of range.
int DaysInAMonth(int year, int month);

bool TryEncodeDate(int year, int month, int day, TDateTime& date);
// Raises EConvertError("Invalid argument to date encode") for a date that does not exist or
// lies outside years 1..9999.
TDateTime EncodeDate(int year, int month, int day);
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time);
// Raises EConvertError("Invalid argument to time encode").
TDateTime EncodeTime(int hour, int min, int sec, int msec);
void DecodeDate(TDateTime date, uint16_t& year, uint16_t& month, uint16_t& day);
void DecodeTime(TDateTime time, uint16_t& hour, uint16_t& min, uint16_t& sec, uint16_t& msec);
// 1 for Sunday to 7 for Saturday.
int DayOfWeek(TDateTime date);

// The local date and time from the clock below (the system's local time unless replaced).
TDateTime Now();
TDateTime Date();
TDateTime Time();
using TDateTimeClock = std::function<TDateTime()>;
// Replaces the clock (tests); an empty function restores the system clock.
void SetDateTimeClock(TDateTimeClock clock);
