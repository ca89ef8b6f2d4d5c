// Floats in stored settings: the digits their type holds, never more than the value has, "."
// whatever the locale, and a text that reads back as the very same value.

#include "controls/core/StoredPropText.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "platform/core/CLocaleNumbers.h"
#include "platform/core/FloatFormat.h"
#include "platform/core/FormatSettings.h"

namespace {

struct TFloatCase {
    const char* name;
    double value;
    int precision;
    const char* text;
};
class StoredFloat : public ::testing::TestWithParam<TFloatCase> {};

TEST_P(StoredFloat, HasTheDigitsOfItsValue)
{
    EXPECT_EQ(StoredFloatText(GetParam().value, GetParam().precision), GetParam().text);
}

const TFloatCase kFloats[] = {
    {"RegressionExtendedTenthHadNoiseDigits", 0.1, 18, "0.1"},
    {"RegressionExtendedFractionHadNoiseDigits", 1234.5678, 18, "1234.5678"},
    {"DoubleRoundsToFifteenDigits", 0.1 + 0.2, 15, "0.3"},
    {"ExtendedKeepsEveryDigitTheDoubleHolds", 0.1 + 0.2, 18, "0.30000000000000004"},
    {"SingleRoundsToSevenDigits", static_cast<double>(0.1f), 7, "0.1"},
    {"ThirdAsADouble", 1.0 / 3.0, 18, "0.3333333333333333"},
    {"WholeNumberStaysFixed", 1e6, 15, "1000000"},
    {"LargeWholeNumberWrittenExactly", 123456789012345680.0, 18, "123456789012345680"},
    {"PastThePrecisionIsScientific", 1.5e20, 15, "1.5E20"},
    {"TinyIsScientific", 1e-7, 15, "1E-7"},
    {"SmallFractionIsFixed", 0.001, 15, "0.001"},
    {"Negative", -2.5, 15, "-2.5"},
    {"NegativeZeroIsZero", -0.0, 15, "0"},
    // The shortest digits, where rounding the exact value to as many reads back one step off:
    // 2^-1017, a spin edit's Increment 2^-24 and MaxValue 2^89.
    {"RegressionPowerOfTwoReadBackOneStepLower", std::ldexp(1.0, -1017), 18, "7.120236347223045E-307"},
    {"RegressionIncrementOfTwoToTheMinus24", std::ldexp(1.0, -24), 18, "5.960464477539063E-8"},
    {"RegressionMaxValueOfTwoToThe89", std::ldexp(1.0, 89), 18, "6.189700196426902E26"},
    {"WholeNumberWithinThePrecisionHasItsShortestDigits", std::ldexp(1.0, 59), 18, "576460752303423500"},
    {"NotANumber", std::numeric_limits<double>::quiet_NaN(), 15, "NAN"},
    {"Infinite", -std::numeric_limits<double>::infinity(), 18, "-INF"},
};
INSTANTIATE_TEST_SUITE_P(Rows, StoredFloat, ::testing::ValuesIn(kFloats),
                         [](const auto& row) { return std::string(row.param.name); });

// Any finite double written with the extended precision reads back as itself, under a comma
// locale too.
TEST(StoredFloatText, EveryDoubleReadsBackUnchanged)
{
    struct TRestore {
        TFormatSettings Saved = FormatSettings();
        ~TRestore() { FormatSettings() = Saved; }
    } restore;
    FormatSettings().DecimalSeparator = ',';
    TFormatSettings point = FormatSettings();
    point.DecimalSeparator = '.';
    std::mt19937_64 random(20240517);
    int checked = 0;
    while (checked < 20000) {
        // Every other value with fewer mantissa bits, down to powers of two, whose shortest
        // digits are where a rounded text goes wrong.
        const uint64_t bits = random();
        const double value = std::bit_cast<double>(checked % 2 ? bits : bits & ~((1ull << (bits % 53)) - 1));
        if (!std::isfinite(value))
            continue;
        ++checked;
        const AnsiString text = StoredFloatText(value, 18);
        double back = 0;
        ASSERT_TRUE(TryStrToFloat(text, back, point)) << text;
        ASSERT_EQ(std::bit_cast<uint64_t>(back), std::bit_cast<uint64_t>(value == 0 ? 0.0 : value)) << text;
        ASSERT_EQ(text.find(','), AnsiString::npos) << text;
    }
}

}  // namespace

constexpr double kInf = std::numeric_limits<double>::infinity();

// to_chars ends its text with no NUL: the exponent was read on into the digits of the call before,
// so the longer number goes first, and the calls are made one after the other.
TEST(StoredFloatText, RegressionWholeNumberTextDependedOnTheCallBefore)
{
    const AnsiString before = StoredFloatText(1234567, 15);
    const AnsiString after = StoredFloatText(1e6, 15);
    EXPECT_EQ(before, "1234567");
    EXPECT_EQ(after, "1000000");
}

// Every power of two, the subnormal ones too, where the extended precision holds its shortest
// digits.
TEST(StoredFloatText, RegressionEveryPowerOfTwoReadsBackAsItself)
{
    for (int exponent = -1074; exponent <= 1023; ++exponent) {
        const AnsiString text = StoredFloatText(std::ldexp(1.0, exponent), 18);
        ASSERT_EQ(std::ldexp(1.0, exponent), CStrToD(text.c_str(), nullptr)) << exponent << " " << text;
    }
}

// What is stored loads back as the same value: the infinities, not-a-number, and the doubles
// next to the largest, which rounded to 15 digits overflowed when read. "+-5" is no value.
TEST(StoredFloatText, RegressionLoadsBackWhatItStores)
{
    double value = 0;
    TPropInfo prop;
    prop.Kind = tkFloat;
    prop.GetFloat = [&](TObject*) { return value; };
    prop.SetFloat = [&](TObject*, double v) { value = v; };
    const double huge = std::numeric_limits<double>::max();
    for (const double stored : {kInf, -kInf, std::nan(""), huge, -huge, std::nextafter(huge, 0.0), 4.9e-324}) {
        value = stored;
        const AnsiString text = StoredPropText(nullptr, prop);
        value = 0;
        LoadStoredPropText(nullptr, prop, text);
        EXPECT_TRUE(value == stored || (std::isnan(value) && std::isnan(stored))) << text;
    }
    EXPECT_EQ(StoredFloatText(huge, 15), "1.7976931348623157E308");
    EXPECT_THROW(LoadStoredPropText(nullptr, prop, "+-5"), EPropertyConvertError);
}
