#pragma once
// Numeric helpers of the expression library. None has undefined behaviour for any input:
// conversions to integers saturate, integer division by zero gives 0.

#include <cstdint>

#include "platform/core/AnsiString.h"

// Rounded to nearest (halves to even), then saturated to 64 bits; not-a-number gives 0.
int64_t RoundToInt64(double value);
// x div y and x mod y of 64-bit integers: 0 for a zero divisor; MIN div -1 wraps to MIN.
int64_t IntDiv(int64_t x, int64_t y);
int64_t IntMod(int64_t x, int64_t y);
// base raised to a whole exponent by repeated squaring; a negative exponent gives the reciprocal.
double IntPower(double base, int64_t exponent);
// base raised to the exponent rounded to a whole number: by IntPower within 64 bits, beyond them
// as the real power, which knows the exponent even ((-1)^1e19 is 1, where the saturated exponent
// would be odd).
double WholePower(double base, double exponent);
// x! of x rounded to an integer; 1 for x below 2; stops multiplying once the product is infinite.
double Factorial(double x);
// The value as printf's "%.10g" writes it, whatever the process locale ("nan" for any NaN).
AnsiString FormatG10(double value);
// The shortest text that reads back as the same value.
AnsiString FormatShortest(double value);
// Uniform in [0, 1) and Gaussian with the given mean and standard deviation.
double RandomUniform();
double RandomGauss(double mean, double deviation);
