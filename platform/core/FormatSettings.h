#pragma once
// The locale settings the framework's date, time and number conversions read. One program-wide
// object, Korean by default; tests replace it (or pass their own to the conversions).

#include <array>

#include "platform/core/AnsiString.h"

struct TFormatSettings {
    char DecimalSeparator = '.';
    char ThousandSeparator = ',';
    char DateSeparator = '-';
    char TimeSeparator = ':';
    AnsiString ShortDateFormat = "yyyy-mm-dd";
    AnsiString LongDateFormat;                   // "yyyy'년' m'월' d'일' dddd"
    AnsiString ShortTimeFormat;                  // "ampm h:nn"
    AnsiString LongTimeFormat;                   // "ampm h:nn:ss"
    AnsiString TimeAMString;                     // "오전"
    AnsiString TimePMString;                     // "오후"
    std::array<AnsiString, 12> ShortMonthNames;  // "1월" ...
    std::array<AnsiString, 12> LongMonthNames;
    std::array<AnsiString, 7> ShortDayNames;  // Sunday first: "일", "월", ...
    std::array<AnsiString, 7> LongDayNames;   // "일요일", ...
    // Two-digit years: 0 takes the current century; N > 0 takes the century that puts the
    // year within the N years before now and (100 - N) after.
    int TwoDigitYearCenturyWindow = 50;
    // A far-eastern locale (Chinese, Japanese, Korean): date texts may carry words after the
    // date.
    bool FarEast = false;

    // The Korean settings (cp949 texts).
    static TFormatSettings Korean();
};

// The settings the conversions use when none is given.
TFormatSettings& FormatSettings();
