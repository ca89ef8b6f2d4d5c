#include <gtest/gtest.h>

#include <cmath>

#include "ExprTestSupport.h"
#include "platform/core/FormatSettings.h"

TEST(ParserArithmetic, PrecedenceBindsTighterOperatorsFirst)
{
    TExpressionParser p;
    EXPECT_EQ(p.Evaluate("2+3*4"), 14);
    EXPECT_EQ(p.Evaluate("2*3+4"), 10);
    EXPECT_EQ(p.Evaluate("2*3+4*5"), 26);
    EXPECT_EQ(p.Evaluate("1+2*3^2-4"), 15);
    EXPECT_EQ(p.Evaluate("(2+3)*4"), 20);
    EXPECT_EQ(p.Evaluate("2*(3+4)*5"), 70);
    EXPECT_EQ(p.Evaluate("((((7))))"), 7);
    EXPECT_EQ(p.Evaluate("1 < 2 + 3"), 1);
}

TEST(ParserArithmetic, EqualPrioritiesGroupFromTheLeft)
{
    TExpressionParser p;
    EXPECT_EQ(p.Evaluate("2^3^2"), 64);
    EXPECT_EQ(p.Evaluate("10-4-3"), 3);
    EXPECT_EQ(p.Evaluate("64/4/2"), 8);
    EXPECT_EQ(p.Evaluate("10-(4-3)"), 9);
    EXPECT_EQ(p.Evaluate("2^(3^2)"), 512);
}

TEST(ParserArithmetic, UnaryMinusAppliesBeforePowers)
{
    TExpressionParser p;
    EXPECT_EQ(p.Evaluate("-2^2"), 4);
    EXPECT_EQ(p.Evaluate("-2+3"), 1);
    EXPECT_EQ(p.Evaluate("2*-3"), -6);
    EXPECT_EQ(p.Evaluate("2--3"), 5);
    EXPECT_EQ(p.Evaluate("--3"), 3);
    EXPECT_EQ(p.Evaluate("- + -3"), 3);
    EXPECT_EQ(p.Evaluate("---3"), -3);
    EXPECT_EQ(p.Evaluate("+4"), 4);
    EXPECT_EQ(p.Evaluate("(-2)*(-(3))"), 6);
    EXPECT_EQ(p.Evaluate("2*-3^2"), 18);
}

TEST(ParserArithmetic, PowersRealAndInteger)
{
    TExpressionParser p;
    EXPECT_NEAR(p.Evaluate("2^0.5"), std::sqrt(2.0), 1e-15);
    EXPECT_EQ(p.Evaluate("2^-1"), 0.5);
    EXPECT_EQ(p.Evaluate("2^10"), 1024);
    EXPECT_EQ(p.Evaluate("(-2)^3"), -8);
    EXPECT_EQ(p.Evaluate("(-8)^3.0"), -512);
    EXPECT_TRUE(std::isnan(p.Evaluate("(-8)^(1/3)")));
    EXPECT_EQ(p.Evaluate("0^0"), 1);
    EXPECT_TRUE(std::isinf(p.Evaluate("2^100000")));
    EXPECT_EQ(p.Evaluate("2^1e1"), 1024);
    // pi is a constant, but not a whole number written in the text: the power stays real.
    EXPECT_NEAR(p.Evaluate("2^pi"), std::pow(2.0, M_PI), 1e-12);
}

TEST(ParserArithmetic, NumbersAndHexadecimalConstants)
{
    TExpressionParser p;
    EXPECT_EQ(p.Evaluate("$ff"), 255);
    EXPECT_EQ(p.Evaluate("$FF+1"), 256);
    EXPECT_EQ(p.Evaluate("$10*$10"), 256);
    EXPECT_EQ(p.Evaluate("2^$a"), 1024);
    EXPECT_EQ(p.Evaluate("1.5e3"), 1500);
    EXPECT_EQ(p.Evaluate("2.5E-1"), 0.25);
    EXPECT_EQ(p.Evaluate("1."), 1);
    EXPECT_EQ(p.Evaluate("  12   +  3 "), 15);
    EXPECT_EQ(p.Evaluate("\t1\n+\r2"), 3);
    EXPECT_TRUE(std::isinf(p.Evaluate("1e999")));
    EXPECT_EQ(p.Evaluate("$ffffffffffffffffffffffffffff"), std::ldexp(1.0, 112) - std::ldexp(1.0, 0));
}

TEST(ParserArithmetic, FactorialPercentDivAndMod)
{
    TExpressionParser p;
    EXPECT_EQ(p.Evaluate("5!"), 120);
    EXPECT_EQ(p.Evaluate("0!"), 1);
    EXPECT_EQ(p.Evaluate("(-3)!"), 1);
    EXPECT_EQ(p.Evaluate("3.6!"), 24);  // made an integer first: 4!
    EXPECT_EQ(p.Evaluate("3!+1"), 7);
    EXPECT_EQ(p.Evaluate("2^3!"), 64);
    EXPECT_EQ(p.Evaluate("50%"), 0.5);
    EXPECT_EQ(p.Evaluate("50%*4"), 2);
    EXPECT_EQ(p.Evaluate("7 div 2"), 3);
    EXPECT_EQ(p.Evaluate("-7 div 2"), -3);
    EXPECT_EQ(p.Evaluate("7 mod 3"), 1);
    EXPECT_EQ(p.Evaluate("-7 mod 3"), -1);
    EXPECT_EQ(p.Evaluate("7.6 div 2.4"), 4);  // 8 div 2
}

TEST(ParserArithmetic, RegressionFactorialOfALargeArgumentEndsAtInfinity)
{
    TExpressionParser p;
    EXPECT_NEAR(p.Evaluate("170!") / 7.257415615307994e306, 1.0, 1e-12);
    EXPECT_TRUE(std::isinf(p.Evaluate("171!")));
    EXPECT_TRUE(std::isinf(p.Evaluate("1e300!")));
    EXPECT_TRUE(std::isinf(p.Evaluate("1e18!")));
    EXPECT_EQ(p.Evaluate("(0/0)!"), 1);
}

TEST(ParserArithmetic, RegressionDivisionByZeroNeverTraps)
{
    TExpressionParser p;
    EXPECT_TRUE(std::isinf(p.Evaluate("1/0")));
    EXPECT_TRUE(std::isnan(p.Evaluate("0/0")));
    EXPECT_EQ(p.Evaluate("5 div 0"), 0);
    EXPECT_EQ(p.Evaluate("5 mod 0"), 0);
    EXPECT_EQ(p.Evaluate("(1/0) div 2"), 4611686018427387904.0);  // saturated, then halved
    EXPECT_EQ(p.Evaluate("-9223372036854775808 div -1"), -9223372036854775808.0);
    EXPECT_EQ(p.Evaluate("-9223372036854775808 mod -1"), 0);
}

TEST(ParserArithmetic, ComparisonsGiveOneOrZeroWithTheirTolerance)
{
    TExpressionParser p;
    EXPECT_EQ(p.Evaluate("3>2"), 1);
    EXPECT_EQ(p.Evaluate("2>2"), 0);
    EXPECT_EQ(p.Evaluate("2>=2"), 1);
    EXPECT_EQ(p.Evaluate("2<=2"), 1);
    EXPECT_EQ(p.Evaluate("2<2"), 0);
    EXPECT_EQ(p.Evaluate("2=2"), 1);
    EXPECT_EQ(p.Evaluate("2<>2"), 0);
    EXPECT_EQ(p.Evaluate("2<>3"), 1);
    // Values closer than 1e-30 are equal.
    EXPECT_EQ(p.Evaluate("1e-31=0"), 1);
    EXPECT_EQ(p.Evaluate("1e-31<>0"), 0);
    EXPECT_EQ(p.Evaluate("0>=1e-31"), 1);
    EXPECT_EQ(p.Evaluate("1e-31<=0"), 1);
    EXPECT_EQ(p.Evaluate("1e-29=0"), 0);
    EXPECT_EQ(p.Evaluate("1 = -1"), 0);
}

TEST(ParserArithmetic, RegressionLogicOperatorsWorkOnTruthValues)
{
    TExpressionParser p;
    EXPECT_EQ(Calc(p, "not (1=1)"), "False");
    EXPECT_EQ(Calc(p, "not (1=2)"), "True");
    EXPECT_EQ(Calc(p, "not 5"), "False");
    EXPECT_EQ(Calc(p, "not 0"), "True");
    EXPECT_EQ(Calc(p, "not not 1"), "1");  // the pair cancels out
    EXPECT_EQ(Calc(p, "2 and 1"), "True");
    EXPECT_EQ(Calc(p, "(1=1) and 2"), "True");
    EXPECT_EQ(Calc(p, "1 and 0"), "False");
    EXPECT_EQ(Calc(p, "0.4 and 1"), "False");  // 0.4 rounds to 0
    EXPECT_EQ(Calc(p, "1 or 2"), "True");
    EXPECT_EQ(Calc(p, "0 or 0"), "False");
    EXPECT_EQ(Calc(p, "1 xor 2"), "False");
    EXPECT_EQ(Calc(p, "1 xor 0"), "True");
    // not binds more loosely than comparisons, and/or/xor more loosely still.
    EXPECT_EQ(Calc(p, "not 1 = 2"), "True");
    EXPECT_EQ(Calc(p, "1 < 2 and 2 < 3"), "True");
    EXPECT_EQ(Calc(p, "not 1 < 2 or 1 > 2"), "False");
    EXPECT_EQ(Calc(p, "1 = 1 and not 2 = 2"), "False");
}

TEST(ParserArithmetic, RegressionIfTreatsEveryNonZeroConditionAsTrue)
{
    TExpressionParser p;
    EXPECT_EQ(p.Evaluate("if(1, 10, 20)"), 10);
    EXPECT_EQ(p.Evaluate("if(0, 10, 20)"), 20);
    EXPECT_EQ(p.Evaluate("if(256, 10, 20)"), 10);  // low byte 0, still true
    EXPECT_EQ(p.Evaluate("if(2>3, 10, 20)"), 20);
}

TEST(ParserResults, GetAsStringFormatsBooleansAndNumbers)
{
    TExpressionParser p;
    EXPECT_EQ(Calc(p, "1=1"), "True");
    EXPECT_EQ(Calc(p, "1=2"), "False");
    EXPECT_EQ(Calc(p, "1/3"), "0.3333333333");
    EXPECT_EQ(Calc(p, "2/3"), "0.6666666667");
    EXPECT_EQ(Calc(p, "14"), "14");
    EXPECT_EQ(Calc(p, "1e20"), "1e+20");
    EXPECT_EQ(Calc(p, "123456789012"), "1.23456789e+11");
    EXPECT_EQ(Calc(p, "-0.5"), "-0.5");
    EXPECT_EQ(Calc(p, "1/0"), "inf");
    EXPECT_EQ(Calc(p, "-1/0"), "-inf");
    EXPECT_EQ(Calc(p, "0/0"), "nan");
    EXPECT_EQ(p.GetAsString(-1), "nan");
}

TEST(ParserResults, GetAsBooleanAndHexadecimal)
{
    TExpressionParser p;
    EXPECT_TRUE(p.GetAsBoolean(p.AddExpression("2>1")));
    EXPECT_FALSE(p.GetAsBoolean(p.AddExpression("2<1")));
    EXPECT_EQ(p.GetAsHexadecimal(p.AddExpression("255")), "$FF");
    EXPECT_EQ(p.GetAsHexadecimal(p.AddExpression("$abc")), "$ABC");
    EXPECT_EQ(p.GetAsHexadecimal(p.AddExpression("0")), "$0");
    EXPECT_EQ(p.GetAsHexadecimal(p.AddExpression("-1")), "$FFFFFFFFFFFFFFFF");
    EXPECT_EQ(p.GetAsHexadecimal(p.AddExpression("1e30")), "$7FFFFFFFFFFFFFFF");
    EXPECT_EQ(p.GetAsHexadecimal(p.AddExpression("15.4")), "$F");
}

TEST(ParserResults, EmptyTextGivesNotANumber)
{
    TExpressionParser p;
    EXPECT_TRUE(std::isnan(p.Evaluate("")));
    EXPECT_TRUE(std::isnan(p.Evaluate("   ")));
    EXPECT_EQ(p.AddExpression(""), -1);
    EXPECT_EQ(p.CurrentExpression(), -1);
    EXPECT_TRUE(std::isnan(p.EvaluateCurrent()));
    EXPECT_TRUE(std::isnan(p.GetResults(-1)));
    EXPECT_TRUE(std::isnan(p.GetResults(99)));
    EXPECT_EQ(p.GetExprSize(-1), 0);
    EXPECT_EQ(p.GetExpression(-1), "");
    EXPECT_EQ(p.ExpressionCount(), 0);
}

TEST(ParserResults, ACommaDecimalSeparatorMakesTheArgumentSeparatorASemicolon)
{
    TFormatSettings saved = FormatSettings();
    FormatSettings().DecimalSeparator = ',';
    TExpressionParser p;
    FormatSettings() = saved;
    EXPECT_EQ(p.ArgSeparator, ';');
    EXPECT_EQ(p.Evaluate("max(1,5; 2)"), 2);
    EXPECT_EQ(p.Evaluate("2,5 * 2"), 5);
    EXPECT_EQ(p.Evaluate("4^0,5"), 2);
    EXPECT_EQ(p.Evaluate("2^3"), 8);
    EXPECT_EQ(Calc(p, "1,2"), "1,2");
}
