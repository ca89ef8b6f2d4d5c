#pragma once
// The framework's date and time texts. Format letters (any case): c, d..dddddd, m..mmmm
// (minutes right after an hour), yy, yyyy, h, hh, n, nn, s, ss, z, zzz, t, tt, am/pm, a/p,
// ampm, "/" and ":" (the separators of the settings), text in single or double quotes as it
// stands. Two-byte characters are copied whole, never read as format letters.

#include <string_view>

#include "platform/core/AnsiString.h"
#include "platform/core/DateTime.h"
#include "platform/core/FormatSettings.h"

AnsiString FormatDateTime(std::string_view format, TDateTime value, const TFormatSettings& settings);
AnsiString FormatDateTime(std::string_view format, TDateTime value);
AnsiString DateToStr(TDateTime date);
AnsiString TimeToStr(TDateTime time);
AnsiString DateTimeToStr(TDateTime value);

// Numbers in the order of the short date format, separated by the date separator; two numbers
// give a date of the current year, a two-digit year takes the century window of the settings.
bool TryStrToDate(std::string_view text, TDateTime& date, const TFormatSettings& settings);
bool TryStrToDate(std::string_view text, TDateTime& date);
// Raises EConvertError("'TEXT' is not a valid date").
TDateTime StrToDate(std::string_view text);
// Hours, minutes and optionally seconds (and milliseconds after the decimal separator), with
// an AM or PM marker (the settings' or "AM"/"PM") before or after.
bool TryStrToTime(std::string_view text, TDateTime& time, const TFormatSettings& settings);
bool TryStrToTime(std::string_view text, TDateTime& time);
// Raises EConvertError("'TEXT' is not a valid time").
TDateTime StrToTime(std::string_view text);
// A date, optionally followed by a time.
bool TryStrToDateTime(std::string_view text, TDateTime& value, const TFormatSettings& settings);
TDateTime StrToDateTime(std::string_view text);
