#include "expr/ExprMath.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>

int64_t RoundToInt64(double value)
{
    if (std::isnan(value))
        return 0;
    double r = std::nearbyint(value);
    // 2^63 is the first double beyond the range.
    if (r >= 9223372036854775808.0)
        return std::numeric_limits<int64_t>::max();
    if (r < -9223372036854775808.0)
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(r);
}

int64_t IntDiv(int64_t x, int64_t y)
{
    if (y == 0)
        return 0;
    if (y == -1)
        return static_cast<int64_t>(0 - static_cast<uint64_t>(x));
    return x / y;
}

int64_t IntMod(int64_t x, int64_t y)
{
    if (y == 0 || y == -1)
        return 0;
    return x % y;
}

double IntPower(double base, int64_t exponent)
{
    uint64_t n = exponent < 0 ? 0 - static_cast<uint64_t>(exponent) : static_cast<uint64_t>(exponent);
    double result = 1.0;
    double square = base;
    while (n != 0) {
        if (n & 1)
            result *= square;
        n >>= 1;
        if (n != 0)
            square *= square;
    }
    return exponent < 0 ? 1.0 / result : result;
}

double WholePower(double base, double exponent)
{
    const double whole = std::nearbyint(exponent);
    // Every double of 2^63 or more is an even whole number.
    if (std::fabs(whole) >= 9223372036854775808.0)
        return std::pow(base, whole);
    return IntPower(base, RoundToInt64(whole));
}

double Factorial(double x)
{
    // Iterative: a large argument overflows to infinity within about 170 steps instead of
    // recursing once per unit.
    int64_t n = RoundToInt64(x);
    double result = 1.0;
    for (; n > 1; --n) {
        result *= static_cast<double>(n);
        if (std::isinf(result))
            break;
    }
    return result;
}

AnsiString FormatG10(double value)
{
    if (std::isnan(value))
        return "nan";
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 10);
    if (ec != std::errc())
        return "nan";
    return AnsiString(buffer, end);
}

AnsiString FormatShortest(double value)
{
    if (std::isnan(value))
        return "nan";
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (ec != std::errc())
        return "nan";
    return AnsiString(buffer, end);
}

namespace {

std::mt19937_64& Generator()
{
    static std::mt19937_64 generator{std::random_device{}()};
    return generator;
}

}  // namespace

double RandomUniform()
{
    // 53 random bits: every value a multiple of 2^-53 in [0, 1).
    return static_cast<double>(Generator()() >> 11) * 0x1.0p-53;
}

double RandomGauss(double mean, double deviation)
{
    // Box-Muller; 1 - u keeps the logarithm's argument in (0, 1].
    double u1 = 1.0 - RandomUniform();
    double u2 = RandomUniform();
    double z = std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * std::numbers::pi * u2);
    return mean + deviation * z;
}
