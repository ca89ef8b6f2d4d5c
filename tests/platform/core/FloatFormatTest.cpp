#include <gtest/gtest.h>

#include <cmath>

#include "platform/core/Exceptions.h"
#include "platform/core/FloatFormat.h"

static TFormatSettings Comma()
{
    TFormatSettings s;
    s.DecimalSeparator = ',';
    s.ThousandSeparator = '.';
    return s;
}

TEST(FloatToStrTest, GeneralFormat)
{
    EXPECT_EQ(FloatToStr(0), "0");
    EXPECT_EQ(FloatToStr(-0.0), "0");
    EXPECT_EQ(FloatToStr(1.5), "1.5");
    EXPECT_EQ(FloatToStr(-2.25), "-2.25");
    EXPECT_EQ(FloatToStr(100), "100");
    EXPECT_EQ(FloatToStr(0.1), "0.1");
    EXPECT_EQ(FloatToStr(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(FloatToStr(1.5e20), "1.5E20");
    EXPECT_EQ(FloatToStr(1e-7), "1E-7");
    EXPECT_EQ(FloatToStr(0.00001), "0.00001");
    EXPECT_EQ(FloatToStr(NAN), "NAN");
    EXPECT_EQ(FloatToStr(-INFINITY), "-INF");
    // A precision below 2 is raised to 2.
    EXPECT_EQ(FloatToStrF(1.234, ffGeneral, 0, 0), "1.2");
    EXPECT_EQ(FloatToStrF(2.5, ffGeneral, 15, 0, Comma()), "2,5");
}

TEST(FloatToStrTest, FixedNumberAndExponent)
{
    EXPECT_EQ(FloatToStrF(2, ffFixed, 15, 2), "2.00");
    EXPECT_EQ(FloatToStrF(-0.004, ffFixed, 15, 2), "0.00");
    EXPECT_EQ(FloatToStrF(1234567.891, ffNumber, 15, 2), "1,234,567.89");
    EXPECT_EQ(FloatToStrF(1234567.891, ffNumber, 15, 1, Comma()), "1.234.567,9");
    EXPECT_EQ(FloatToStrF(12345.0, ffExponent, 3, 2), "1.23E+04");
    EXPECT_EQ(FloatToStrF(1e20, ffFixed, 15, 2), "1E20");
}

TEST(FormatFloatTest, Placeholders)
{
    EXPECT_EQ(FormatFloat("0.00", 3.14159), "3.14");
    EXPECT_EQ(FormatFloat("#.##", 0.5), ".5");
    EXPECT_EQ(FormatFloat("0.##", 2), "2");
    EXPECT_EQ(FormatFloat("#,##0.00", 1234567.125), "1,234,567.13");
    EXPECT_EQ(FormatFloat("000", 7), "007");
    EXPECT_EQ(FormatFloat("0", -2.6), "-3");
    EXPECT_EQ(FormatFloat("0.0 'kg'", 12.34), "12.3 kg");
    EXPECT_EQ(FormatFloat("0.00", 3.14159, Comma()), "3,14");
    EXPECT_EQ(FormatFloat("0.00E+00", 12345), "1.23E+04");
    EXPECT_EQ(FormatFloat("", 1.5), "1.5");
}

TEST(FormatFloatTest, Sections)
{
    EXPECT_EQ(FormatFloat("0.0;(0.0);zero", 1.25), "1.3");
    EXPECT_EQ(FormatFloat("0.0;(0.0);zero", -1.25), "(1.3)");
    EXPECT_EQ(FormatFloat("0.0;(0.0);zero", 0), "zero");
    EXPECT_EQ(FormatFloat("0.0;(0.0);zero", 0.01), "zero");  // shows as zero
    EXPECT_EQ(FormatFloat("0.0;;zero", -2), "-2.0");
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
    try {
        StrToFloat("abc");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message, "'abc' is not a valid floating point value");
    }
}
