// Number texts of random values against glibc's printf, which rounds in the current rounding
// mode: a text printed alike downward and upward is exact, which tells an exact half from a value
// beside one. Every text written for a finite value reads back finite.

#include <gtest/gtest.h>

#include <bit>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "platform/core/CLocaleNumbers.h"
#include "platform/core/FloatFormat.h"

namespace {

std::string PrintedIn(int mode, const char* format, int digits, double value)
{
    TCLocaleScope point;
    std::fesetround(mode);
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, digits, value);
    std::fesetround(FE_TONEAREST);
    return buffer;
}

// To nearest, exact halves away from zero (one digit more prints exactly and ends in 5), with
// "E" and no "-0.00", as the routines write.
std::string HalfAwayPrinted(const char* format, int digits, double value)
{
    const std::string down = PrintedIn(FE_DOWNWARD, format, digits + 1, value);
    const bool half = down == PrintedIn(FE_UPWARD, format, digits + 1, value) &&
        down[std::min(down.find('e'), down.size()) - 1] == '5';
    std::string text = PrintedIn(half ? (value < 0 ? FE_DOWNWARD : FE_UPWARD) : FE_TONEAREST, format, digits, value);
    if (text.find('e') != std::string::npos)
        text[text.find('e')] = 'E';
    else if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1);
    return text;
}

// Any bits; dyadic fractions and odd multiples of 5 (exact halves at many lengths); powers of
// two; the doubles just below the largest. Either sign.
double RandomValue(std::mt19937_64& random, int kind)
{
    const double values[] = {
        std::bit_cast<double>(random() >> 1),
        std::ldexp(static_cast<double>(random() % (1u << 20) + 1), -static_cast<int>(random() % 40)),
        static_cast<double>(2 * (random() % 100000) + 1) * 5 * std::pow(10.0, random() % 12),
        std::ldexp(1.0, static_cast<int>(random() % 2098) - 1074),
        std::bit_cast<double>(std::bit_cast<uint64_t>(std::numeric_limits<double>::max()) - random() % 5000)};
    return random() % 2 ? -values[kind % 5] : values[kind % 5];
}

TEST(FloatTextRandom, RoundsAsPrintfWithHalvesAwayFromZeroAndReadsBackFinite)
{
    std::mt19937_64 random(74);
    for (int i = 0; i < 6000; ++i) {
        const double value = RandomValue(random, i);
        if (!std::isfinite(value))
            continue;
        const int precision = 2 + static_cast<int>(random() % 17), decimals = static_cast<int>(random() % 19);
        const std::string scientific = HalfAwayPrinted("%.*e", precision - 1, value);
        ASSERT_EQ(FloatToStrF(value, ffExponent, precision, 2), scientific);
        ASSERT_EQ(FormatFloat("0." + std::string(static_cast<size_t>(precision - 1), '0') + "E+00", value), scientific);
        if (std::fabs(value) < 1e17) {
            ASSERT_EQ(FloatToStrF(value, ffFixed, 18, decimals), HalfAwayPrinted("%.*f", decimals, value)) << value;
        }
        for (const AnsiString& text : {FloatToStr(value), FloatToStrF(value, ffGeneral, precision, 0), scientific,
                                       FloatToStrF(value, ffFixed, precision, 2)}) {
            double back = 0;
            ASSERT_TRUE(TryStrToFloat(text, back) && std::isfinite(back)) << text;
        }
    }
}

}  // namespace
