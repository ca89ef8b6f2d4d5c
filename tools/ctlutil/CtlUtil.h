#pragma once
// ctlrun's "util ROUTINE ARGS": runs one free routine of the date, file and INI-storage units
// and prints its result. Arguments are blank-separated words, the last one taking the rest of
// the line; each may hold the escapes \r \n \t \\ \xHH. A store is an INI file name or
// "reg:KEY", a control its name or "-", a date YYYY-MM-DD[THH:MM:SS] (or NULL), a Boolean
// true/false or 1/0. The answer is "RESULT" followed by the result and then the out arguments,
// blank-separated and escaped (numbers as FloatToStr; dates YYYY-MM-DD plus " HH:MM:SS" and
// ".mmm" when not 0, the null date NULL), or "ERROR text" ("ERROR Class: message" for an
// exception). Besides the routines: "today DATE" fixes the clock's date, "locale KEY=VALUE..."
// sets shortdate, datesep, shorttime, am, pm, longmonths (comma-separated) or fareast.

#include <functional>
#include <string_view>

#include "platform/core/AnsiString.h"
#include "platform/core/Object.h"

// Finds a control by name for the routines that take one; null for "-" or an unknown name.
using TUtilControlFinder = std::function<TObject*(const AnsiString& name)>;

AnsiString RunUtil(std::string_view line, const TUtilControlFinder& findControl = nullptr);
