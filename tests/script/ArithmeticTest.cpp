#include "ScriptTestFixture.h"

#include <cmath>

namespace {

class ArithmeticTest : public ScriptTest {
protected:
    // The value, or NaN when the expression is an error.
    double Eval(const AnsiString& expression)
    {
        int status = -1;
        const double value = state.EvalArithmetic(expression, status);
        EXPECT_TRUE(status == 0 || status == 1);
        if (status == 0) {
            EXPECT_EQ(value, 0.0);
            return NAN;
        }
        return value;
    }
};

} // namespace

TEST_F(ArithmeticTest, Precedence)
{
    EXPECT_EQ(Eval("1+2*3"), 7);
    EXPECT_EQ(Eval("(1+2)*3"), 9);
    EXPECT_EQ(Eval("2^3^2"), 512);  // '^' groups from the right
    EXPECT_EQ(Eval("-2^2"), 4);     // the sign belongs to the 2
    EXPECT_EQ(Eval("10-4-3"), 3);
    EXPECT_EQ(Eval("2*3^2"), 18);
    EXPECT_EQ(Eval(" 8 / 4 / 2 "), 1);
    EXPECT_EQ(Eval("2 - -3"), 5);
    EXPECT_EQ(Eval("2*-3"), -6);
}

TEST_F(ArithmeticTest, NumbersAndExponents)
{
    EXPECT_EQ(Eval("1.5E2"), 150);
    EXPECT_EQ(Eval("1.5e-1"), 0.15);
    EXPECT_EQ(Eval(".5"), 0.5);
    EXPECT_EQ(Eval("3."), 3);
    EXPECT_TRUE(std::isnan(Eval(".")));
    // A fourth exponent digit starts a token of its own, which the grammar does not allow.
    EXPECT_TRUE(std::isnan(Eval("1E1234")));
    EXPECT_TRUE(std::isnan(Eval("1.2.3")));
}

TEST_F(ArithmeticTest, Functions)
{
    EXPECT_EQ(Eval("sqr(3)"), 9);
    EXPECT_EQ(Eval("SQR(3)"), 9);
    EXPECT_EQ(Eval("sqrt(16)"), 4);
    EXPECT_EQ(Eval("ROUND(2.5)"), 3);
    EXPECT_EQ(Eval("ROUND(-2.5)"), -2);
    EXPECT_EQ(Eval("TRUNC(-2.7)"), -2);
    EXPECT_EQ(Eval("abs(-4)"), 4);
    EXPECT_EQ(Eval("pow10(2.9)"), 100);
    EXPECT_EQ(Eval("log10(1000)"), 3);
    EXPECT_NEAR(Eval("log(exp(2))"), 2, 1e-12);
    EXPECT_NEAR(Eval("cos(0)+sin(0)+tan(0)+cosh(0)+sinh(0)+tanh(0)"), 2, 1e-12);
    EXPECT_NEAR(Eval("acos(1)+asin(0)+atan(0)"), 0, 1e-12);
    EXPECT_EQ(Eval("-abs(2)"), -2);
    EXPECT_EQ(Eval("TRUNC(1E100)"), 2147483647);
}

TEST_F(ArithmeticTest, Errors)
{
    EXPECT_TRUE(std::isnan(Eval("")));
    EXPECT_TRUE(std::isnan(Eval("COSX(1)")));
    EXPECT_TRUE(std::isnan(Eval("--3")));
    EXPECT_TRUE(std::isnan(Eval("1:2")));
    EXPECT_TRUE(std::isnan(Eval("(1+2")));
    EXPECT_TRUE(std::isnan(Eval("1+2)")));
    EXPECT_TRUE(std::isnan(Eval("abs 2")));
    EXPECT_TRUE(std::isnan(Eval("1 2")));
    EXPECT_TRUE(std::isnan(Eval("1 % 2")));
    // Domain errors give no number and end nothing.
    EXPECT_TRUE(std::isnan(Eval("sqrt(-1)")));
}

TEST_F(ArithmeticTest, DivisionByZeroIsPositiveInfinity)
{
    EXPECT_EQ(Eval("1/0"), INFINITY);
    EXPECT_EQ(Eval("-1/0"), INFINITY);
    EXPECT_EQ(Eval("1/(2-2)"), INFINITY);
}

TEST_F(ArithmeticTest, ParseStackHoldsFiftyEntries)
{
    // Each open parenthesis holds one entry above the start entry; the innermost one then holds
    // its expression and its closing parenthesis.
    const auto nested = [](int depth) { return AnsiString(depth, '(') + "1" + AnsiString(depth, ')'); };
    EXPECT_EQ(Eval(nested(47)), 1);
    EXPECT_TRUE(std::isnan(Eval(nested(48))));
    // Right-grouped powers hold two entries a level.
    AnsiString powers = "1";
    for (int i = 0; i < 24; ++i)
        powers += "^1";
    EXPECT_EQ(Eval(powers), 1);
    EXPECT_TRUE(std::isnan(Eval(powers + "^1")));
}
