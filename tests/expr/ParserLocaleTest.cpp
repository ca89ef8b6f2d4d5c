// Expression texts mean the same under a desktop locale that writes a comma before decimals: the
// numbers they hold are read, and their results written, with ".".
#include <memory>

#include "ExprTestSupport.h"
#include "tests/CommaLocale.h"

namespace {

struct TLocaleCase {
    const char* Name;
    const char* Text;
    std::string Want;
    bool CStyle = false;
};

const TLocaleCase kCases[] = {
    {"ExponentNumber", "1.5E2", "150"},
    {"DecimalFactor", "0.5*4", "2"},
    {"Fraction", "1/3", "0.3333333333"},
    {"LargeResult", "1e20", "1e+20"},
    {"SmallResult", "2.5E-7", "2.5e-07"},
    {"RoundHalfToEven", "round(2.5)", "2"},
    {"ArgumentsWithDecimals", "max(1.5, 2.25)", "2.25"},
    {"HexadecimalHalved", "$FF/2", "127.5"},
    {"BitwiseAnd", "6.2 and 3", "2"},
    {"ComparisonOfDecimals", "0.1 + 0.2 > 0.3", "True"},
    {"CStyleDecimals", "x = 2.5 * 3", "7.5", true},
};

class ExpressionsUnderACommaLocale : public CommaLocaleTest {};

}  // namespace

TEST_F(ExpressionsUnderACommaLocale, ReadAndWriteNumbersAsUnderC)
{
    for (const TLocaleCase& c : kCases) {
        const auto result = [&] {
            std::unique_ptr<TExpressionParser> p =
                c.CStyle ? std::make_unique<TCStyleParser>() : std::make_unique<TExpressionParser>();
            return std::string(Calc(*p, c.Text));
        };
        ExpectInBothLocales(c.Name, result, c.Want);
    }
}
