#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "platform/core/CLocaleNumbers.h"
#include "platform/core/Exceptions.h"
#include "platform/core/FloatFormat.h"
#include "tests/platform/core/Cases.h"

static TFormatSettings Comma()
{
    TFormatSettings s;
    s.DecimalSeparator = ',';
    s.ThousandSeparator = '.';
    return s;
}

TEST(FloatToStrTest, GeneralFormat)
{
    Each(TextChecks{CHECK_ROW(FloatToStr(0), "0"), CHECK_ROW(FloatToStr(-0.0), "0"), CHECK_ROW(FloatToStr(1.5), "1.5"),
                    CHECK_ROW(FloatToStr(-2.25), "-2.25"), CHECK_ROW(FloatToStr(100), "100"),
                    CHECK_ROW(FloatToStr(0.1), "0.1"), CHECK_ROW(FloatToStr(1.0 / 3), "0.333333333333333"),
                    CHECK_ROW(FloatToStr(1.5e20), "1.5E20"), CHECK_ROW(FloatToStr(1e-7), "1E-7"),
                    CHECK_ROW(FloatToStr(0.00001), "0.00001"), CHECK_ROW(FloatToStr(NAN), "NAN"),
                    CHECK_ROW(FloatToStr(-INFINITY), "-INF")});
    // A precision below 2 is raised to 2.
    EXPECT_EQ(FloatToStrF(1.234, ffGeneral, 0, 0), "1.2");
    EXPECT_EQ(FloatToStrF(2.5, ffGeneral, 15, 0, Comma()), "2,5");
}

TEST(FloatToStrTest, FixedNumberAndExponent)
{
    Each(TextChecks{CHECK_ROW(FloatToStrF(2, ffFixed, 15, 2), "2.00"),
                    CHECK_ROW(FloatToStrF(-0.004, ffFixed, 15, 2), "0.00"),
                    CHECK_ROW(FloatToStrF(1234567.891, ffNumber, 15, 2), "1,234,567.89"),
                    CHECK_ROW(FloatToStrF(1234567.891, ffNumber, 15, 1, Comma()), "1.234.567,9"),
                    CHECK_ROW(FloatToStrF(12345.0, ffExponent, 3, 2), "1.23E+04"),
                    CHECK_ROW(FloatToStrF(1e20, ffFixed, 15, 2), "1E20")});
}

TEST(FormatFloatTest, Placeholders)
{
    Each(TextChecks{
        CHECK_ROW(FormatFloat("0.00", 3.14159), "3.14"), CHECK_ROW(FormatFloat("#.##", 0.5), ".5"),
        CHECK_ROW(FormatFloat("0.##", 2), "2"), CHECK_ROW(FormatFloat("#,##0.00", 1234567.125), "1,234,567.13"),
        CHECK_ROW(FormatFloat("000", 7), "007"), CHECK_ROW(FormatFloat("0", -2.6), "-3"),
        CHECK_ROW(FormatFloat("0.0 'kg'", 12.34), "12.3 kg"), CHECK_ROW(FormatFloat("0.00", 3.14159, Comma()), "3,14"),
        CHECK_ROW(FormatFloat("0.00E+00", 12345), "1.23E+04"), CHECK_ROW(FormatFloat("", 1.5), "1.5")});
}

TEST(FormatFloatTest, Sections)
{
    Each(TextChecks{CHECK_ROW(FormatFloat("0.0;(0.0);zero", 1.25), "1.3"),
                    CHECK_ROW(FormatFloat("0.0;(0.0);zero", -1.25), "(1.3)"),
                    CHECK_ROW(FormatFloat("0.0;(0.0);zero", 0), "zero"),
                    CHECK_ROW(FormatFloat("0.0;(0.0);zero", 0.01), "zero"),  // shows as zero
                    CHECK_ROW(FormatFloat("0.0;;zero", -2), "-2.0")});
}

TEST(StrToFloatTest, TheSettingsDecimalSeparator)
{
    EXPECT_DOUBLE_EQ(StrToFloat(" 1.5 "), 1.5);
    EXPECT_DOUBLE_EQ(StrToFloat("-2e3"), -2000);
    EXPECT_DOUBLE_EQ(StrToFloat("+.25"), 0.25);
    double v = 0;
    EXPECT_TRUE(TryStrToFloat("2,5", v, Comma()));
    EXPECT_DOUBLE_EQ(v, 2.5);
    EXPECT_FALSE(TryStrToFloat("2.5", v, Comma()));
    EXPECT_FALSE(TryStrToFloat("inf", v));
    EXPECT_FALSE(TryStrToFloat("1.5x", v));
    EXPECT_FALSE(TryStrToFloat("", v));
    EXPECT_DOUBLE_EQ(StrToFloatDef("nope", 7.5), 7.5);
    ExpectRaises<EConvertError>([&] { StrToFloat("abc"); }, "'abc' is not a valid floating point value");
}

// Exponent sections scaled the value into their places, which for the tiniest and the largest
// doubles underflowed or overflowed, and the digits then came out of "inf".
TEST(FormatFloatTest, RegressionExponentSectionsOfExtremeValues)
{
    const double tiny = std::numeric_limits<double>::denorm_min(), huge = std::numeric_limits<double>::max();
    Each(TextChecks{
        CHECK_ROW(FormatFloat("0.00E+00", tiny), "4.94E-324"), CHECK_ROW(FormatFloat("#.###E-0", -tiny), "-4.941E-324"),
        CHECK_ROW(FormatFloat("000000000000000000000000000000.0E+0", 2.2e-308),
                  "220000000000000019577109241494.4E-337"),
        CHECK_ROW(FormatFloat("0.00E+00", huge), "1.80E+308"), CHECK_ROW(FormatFloat("0.00E+00", -0.0), "0.00E+00"),
        CHECK_ROW(FormatFloat("0.0E+0", 1.25), "1.3E+0"), CHECK_ROW(FormatFloat("0.0E+0", 9.96), "1.0E+1")});
    // Seventeen digits of any double, subnormals half the time, read back as it.
    std::mt19937_64 random(66);
    for (int i = 0; i < 4000; ++i) {
        const double v = std::bit_cast<double>(random() & (i % 2 ? ~0ull : 0x800FFFFFFFFFFFFFull));
        ASSERT_TRUE(!std::isfinite(v) || CStrToD(FormatFloat("0.0000000000000000E+0", v).c_str(), nullptr) == v) << v;
    }
}

// One sign only ("+-5" read as -5); too small for a double is 0, too large is no number unless it
// is the largest (1.7976931348623157E308) rounded to the digits written; the texts written for
// values that are not finite read back through the reader made for them.
TEST(StrToFloatTest, RegressionHostileTexts)
{
    const auto read = [](const char* text, bool written) {
        double v = 0;
        return (written ? TryStrToFloatOrNonFinite(text, v, FormatSettings()) : TryStrToFloat(text, v))
            ? std::string(Format("%.17g", v))
            : "no";
    };
    const std::vector<std::vector<std::string>> rows = {
        {"+-5", "no", "no"},
        {"-+5", "no", "no"},
        {" +5 ", "5", "5"},
        {"1e+-5", "no", "no"},
        {"-1e-400", "-0", "-0"},
        {"4.9e-324", "4.9406564584124654e-324", "4.9406564584124654e-324"},
        {"1e400", "no", "no"},
        {"1.79769313486232E308", "1.7976931348623157e+308", "1.7976931348623157e+308"},
        {"-1.8E+308", "-1.7976931348623157e+308", "-1.7976931348623157e+308"},
        {"2E308", "1.7976931348623157e+308", "1.7976931348623157e+308"},
        {"0.0180E310", "1.7976931348623157e+308", "1.7976931348623157e+308"},
        {"1.9E308", "no", "no"},
        {"1.800E308", "no", "no"},
        {"1.7976931348623159E308", "no", "no"},
        {"1.8E99999999999999999999", "no", "no"},
        {"INF", "no", "inf"},
        {" -INF ", "no", "-inf"},
        {"NAN", "no", "nan"},
        {"inf", "no", "no"},
        {"+INF", "no", "no"}};
    for (const auto& row : rows)
        EXPECT_EQ(read(row[0].c_str(), false) + " " + read(row[0].c_str(), true), row[1] + " " + row[2]) << row[0];
}

// Exact halves (2^-22 = 2.384185791015625E-7, 0.125, 125, 1.25E20) went to even in the scientific
// branches and away from zero in the fixed ones; 1.15 lies below its half.
TEST(FloatToStrTest, RegressionScientificHalvesWentToEven)
{
    Each(TextChecks{
        CHECK_ROW(FloatToStr(2.384185791015625e-7), "2.38418579101563E-7"),
        CHECK_ROW(FloatToStr(2.384185791015625), "2.38418579101563"),
        CHECK_ROW(FloatToStrF(125, ffGeneral, 2, 0), "1.3E2"), CHECK_ROW(FloatToStrF(12.5, ffGeneral, 2, 0), "13"),
        CHECK_ROW(FloatToStrF(-0.125, ffExponent, 2, 2), "-1.3E-01"),
        CHECK_ROW(FloatToStrF(1.25e20, ffFixed, 2, 2), "1.3E20"), CHECK_ROW(FormatFloat("0.0E+00", 0.125), "1.3E-01"),
        CHECK_ROW(FloatToStrF(1.15, ffExponent, 2, 0), "1.1E+0")});
}

// A format's zeros are copied in bulk, not one at a time: long formats give every place.
TEST(FormatFloatTest, LongFormatsGiveEveryPlace)
{
    const std::string zeros(100000, '0');
    EXPECT_EQ(FormatFloat(zeros, 42), zeros.substr(2) + "42");
    EXPECT_EQ(FormatFloat("0." + zeros, 0.5), "0.5" + zeros.substr(1));
    EXPECT_EQ(FormatFloat("0.0E+" + zeros, 0.125), "1.3E-" + zeros.substr(1) + "1");
    EXPECT_EQ(FormatFloat(zeros + ".0E+0", 1), "1" + zeros.substr(1) + ".0E-" + std::to_string(zeros.size() - 1));
}
