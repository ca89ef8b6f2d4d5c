#pragma once
// The framework's number texts, with the separators of the format settings (never the C
// library's locale).

#include <string>
#include <string_view>

#include "platform/core/AnsiString.h"
#include "platform/core/FormatSettings.h"

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber };

// ffGeneral: the shorter of fixed and scientific notation with `precision` significant digits
// (2..18), trailing zeros dropped, scientific ("1.5E20", "1E-7") when the exponent is at least
// the precision or below -5. ffExponent: "d.dddE+XX" with at least `digits` exponent digits.
// ffFixed: `digits` decimals (scientific when the value has more integer digits than the
// precision). ffNumber: as ffFixed with thousand separators. Every notation rounds exact halves
// away from zero.
AnsiString FloatToStrF(double value, TFloatFormat format, int precision, int digits, const TFormatSettings& settings);
AnsiString FloatToStrF(double value, TFloatFormat format, int precision, int digits);
AnsiString FloatToStr(double value);

// The significant digits of |value| (finite) and the decimal exponent of the first (0.1 is "1"
// and -1): rounded to `precision` digits (at most 40), halves away from zero, or with precision 0
// the fewest that read back as the value.
void DecimalDigits(double value, int precision, std::string& digits, int& exponent);
// A number given by such digits in ffGeneral's notation for `precision`, the digits as they are
// but for trailing zeros.
AnsiString GeneralFloatText(bool negative, std::string digits, int exponent, int precision,
                            const TFormatSettings& settings);

// Sections "positive;negative;zero" of "0" (a digit, always shown), "#" (a digit when
// significant), "." (the decimal separator), "," (thousand separators), "E+0" / "E-0"
// (scientific), and quoted or other literal text.
AnsiString FormatFloat(std::string_view format, double value, const TFormatSettings& settings);
AnsiString FormatFloat(std::string_view format, double value);

// Blanks around, one sign, digits with the decimal separator, an optional exponent. A value too
// small for a double reads as 0 (or the nearest tiny double); one too large is no number, unless
// it is the largest double rounded to the digits it is written with ("1.8E308",
// "1.79769313486232E308"), as the writers above give it: that reads as the largest double.
bool TryStrToFloat(std::string_view text, double& value, const TFormatSettings& settings);
bool TryStrToFloat(std::string_view text, double& value);
// As TryStrToFloat, and the texts FloatToStrF writes for values that are not finite ("INF",
// "-INF", "NAN", blanks around allowed), for readers of what those routines wrote.
bool TryStrToFloatOrNonFinite(std::string_view text, double& value, const TFormatSettings& settings);
// Raises EConvertError("'TEXT' is not a valid floating point value").
double StrToFloat(std::string_view text);
double StrToFloatDef(std::string_view text, double fallback);
