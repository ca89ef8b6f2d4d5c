// Numbers read and written as text give the same under a desktop locale that writes a comma
// before decimals as under "C": the locale-free routines and every conversion built on them.
#include "platform/core/CLocaleNumbers.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <functional>
#include <string>

#include "platform/core/FloatFormat.h"
#include "platform/core/ValFloat.h"
#include "platform/core/Variant.h"
#include "tests/CommaLocale.h"

namespace {

// strtod's value, the bytes it read and whether it reported a range error.
std::string ReadWithCStrToD(const char* text)
{
    char* end = nullptr;
    errno = 0;
    const double value = CStrToD(text, &end);
    const bool range = errno == ERANGE;
    return Format("%.17g read %d%s", value, static_cast<int>(end - text), range ? " out of range" : "");
}

std::string ReadWithVal(const char* text)
{
    long double value = 0;
    int code = 0;
    Val(text, value, code);
    return Format("%.17g code %d", static_cast<double>(value), code);
}

std::string ReadWithStrToFloat(const char* text)
{
    double value = 0;
    return TryStrToFloat(text, value) ? Format("%.17g", value) : "invalid";
}

struct TNumberTextCase {
    const char* Name;
    std::function<std::string()> Text;
    std::string Want;
};

const TNumberTextCase kCases[] = {
    {"CStrToDReadsAPoint", [] { return ReadWithCStrToD("1.5"); }, "1.5 read 3"},
    {"CStrToDKeepsBlanksSignAndExponent", [] { return ReadWithCStrToD("  -2.5e3x"); }, "-2500 read 8"},
    {"CStrToDKeepsHexadecimal", [] { return ReadWithCStrToD("0x1.8p1"); }, "3 read 7"},
    {"CStrToDKeepsInfinity", [] { return ReadWithCStrToD("inf"); }, "inf read 3"},
    {"CStrToDStopsAtAComma", [] { return ReadWithCStrToD("1,5"); }, "1 read 1"},
    {"CStrToDReportsOverflow", [] { return ReadWithCStrToD("1e400"); }, "inf read 5 out of range"},
    {"FormatWritesGeneral", [] { return std::string(Format("%.15g|%.15G", 1.5, 1e20)); }, "1.5|1E+20"},
    {"FormatWritesFixedAndExponent", [] { return std::string(Format("%f|%.3e", 0.5, 1234.5)); }, "0.500000|1.234e+03"},
    {"ValReadsAPoint", [] { return ReadWithVal("1.5E2"); }, "150 code 0"},
    {"ValRefusesAComma", [] { return ReadWithVal("1,5"); }, "0 code 2"},
    {"StrToFloatReadsAPoint", [] { return ReadWithStrToFloat(" -0.25 "); }, "-0.25"},
    {"StrToFloatRefusesAComma", [] { return ReadWithStrToFloat("0,25"); }, "invalid"},
    {"StrToFloatReadsUnderflowAsZero", [] { return ReadWithStrToFloat("-1.5e-400"); }, "-0"},
    {"FormatFloatScientificOfASubnormal", [] { return std::string(FormatFloat("0.00E+00", 4.9e-324)); }, "4.94E-324"},
    {"FloatToStrWritesAPoint", [] { return std::string(FloatToStr(2.5) + " " + FloatToStr(-1.2345e-7)); },
     "2.5 -1.2345E-7"},
    {"FloatToStrFFixedRoundsHalvesUp",
     [] { return std::string(FloatToStrF(1.25, ffFixed, 15, 1) + " " + FloatToStrF(1234.5678, ffFixed, 15, 2)); },
     "1.3 1234.57"},
    {"FloatToStrFNumberGroupsThousands", [] { return std::string(FloatToStrF(1234567.891, ffNumber, 15, 2)); },
     "1,234,567.89"},
    {"FloatToStrFExponent", [] { return std::string(FloatToStrF(1.5, ffExponent, 4, 2)); }, "1.500E+00"},
    {"FloatToStrOfTheLargestDouble", [] { return std::string(FloatToStrF(1.7976931348623157e308, ffFixed, 18, 2)); },
     "1.79769313486231571E308"},
    {"FormatFloatSections", [] { return std::string(FormatFloat("#,##0.00;(#,##0.00)", -1234.5)); }, "(1,234.50)"},
    {"FormatFloatScientific", [] { return std::string(FormatFloat("0.00E+00", 12345)); }, "1.23E+04"},
    {"FormatFloatWholeDigits", [] { return std::string(FormatFloat("0", 1e22)); }, "10000000000000000000000"},
    {"FormatFloatManyPlaces", [] { return std::string(FormatFloat("0.0000000000", 1.0 / 3)); }, "0.3333333333"},
    {"VariantDoubleAsString", [] { return std::string(Variant(0.1).AsString()); }, "0.1"},
};

class NumberTextUnderACommaLocale : public CommaLocaleTest {};

}  // namespace

// printf wrote the locale's comma, and the fixed-notation digits were then looked for after a
// "." that was not there.
TEST_F(NumberTextUnderACommaLocale, RegressionNumbersWereWrittenWithTheDesktopsDecimalComma)
{
    for (const TNumberTextCase& c : kCases)
        ExpectInBothLocales(c.Name, c.Text, c.Want);
}

TEST(CLocaleScope, GivesTheThreadItsLocaleBack)
{
    const locale_t before = uselocale(static_cast<locale_t>(nullptr));
    {
        TCLocaleScope scope;
        EXPECT_EQ(uselocale(static_cast<locale_t>(nullptr)), CLocale());
    }
    EXPECT_EQ(uselocale(static_cast<locale_t>(nullptr)), before);
}
