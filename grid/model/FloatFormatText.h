#pragma once
// A number written through a format string such as "%.2f" (the grid's FloatFormat): literal
// text around at most one conversion of a floating-point kind (e, f, g, n or m, with an optional
// "-", width and precision), "%%" for a percent sign. The locale's decimal separator is used.
// Any other format raises EConvertError, so a format string can never read past its argument.

#include <string_view>

#include "platform/core/AnsiString.h"

AnsiString FormatFloatText(std::string_view Format, double Value);
