#include <gtest/gtest.h>

#include <cmath>

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
