#pragma once
// A hint text holds a short part for the hint window and a long part for the status line,
// separated by "|"; a hint without "|" is both.

#include "platform/core/AnsiString.h"

AnsiString GetShortHint(const AnsiString& hint);
AnsiString GetLongHint(const AnsiString& hint);
