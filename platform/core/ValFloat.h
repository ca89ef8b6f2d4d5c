#pragma once
// The runtime's Val for floating-point numbers: reads a whole text as an extended number and
// says where it stopped instead of raising.
//
// Blanks before the number are skipped; then an optional sign, digits with an optional "." and
// more digits (at least one digit in all), and an optional exponent ("E" or "e", an optional
// sign, at least one digit). The decimal separator is "." whatever the locale; "inf", "nan" and
// hexadecimal floats are no numbers. Code is 0 when the whole text is the number; otherwise it
// is the 1-based position of the first byte that cannot continue it, one past the end when the
// text ends too early ("", "-", "1e"), and one past the end too for a number too large for an
// extended value. Value is the number, or 0 when Code is not 0.

#include <string_view>

void Val(std::string_view S, long double& Value, int& Code);
