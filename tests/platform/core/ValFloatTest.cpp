// The runtime's float reading: the number, or the position where the text stops being one.

#include "platform/core/ValFloat.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TValCase {
    const char* name;
    const char* text;
    long double value;
    int code;
};
void PrintTo(const TValCase& c, std::ostream* os) { *os << c.name; }

}  // namespace

class ValFloat : public ::testing::TestWithParam<TValCase> {};

TEST_P(ValFloat, ReadsOrSaysWhereItStopped)
{
    long double value = 99;
    int code = -1;
    Val(GetParam().text, value, code);
    EXPECT_EQ(code, GetParam().code);
    EXPECT_EQ(value, GetParam().value);
}

const TValCase kVal[] = {
    {"Integer", "42", 42, 0},
    {"DecimalWithPoint", "-12.5", -12.5L, 0},
    {"LeadingBlanksSkipped", "  7", 7, 0},
    {"TrailingBlankStops", "7 ", 0, 2},
    {"Empty", "", 0, 1},
    {"SignAlone", "-", 0, 2},
    {"PointAlone", ".", 0, 2},
    {"PointFirst", ".5", 0.5L, 0},
    {"PointLast", "5.", 5, 0},
    {"Exponent", "1.5E3", 1500, 0},
    {"ExponentWithoutDigits", "1e", 0, 3},
    {"ExponentSignWithoutDigits", "1e+", 0, 4},
    {"CommaIsNoSeparator", "1,5", 0, 2},
    {"Infinity", "inf", 0, 1},
    {"NotANumber", "nan", 0, 1},
    {"Hexadecimal", "0x10", 0, 2},
    {"LettersAfter", "10kg", 0, 3},
    {"TooLarge", "1e99999", 0, 8},
    {"TinyIsZero", "1e-99999", 0, 0},
    {"HangulAfter", "3\xB0\xB3", 0, 2},  // 3개
};
INSTANTIATE_TEST_SUITE_P(Core, ValFloat, ::testing::ValuesIn(kVal),
                         [](const auto& row) { return std::string(row.param.name); });
