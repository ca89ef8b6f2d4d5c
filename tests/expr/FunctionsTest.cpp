#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>
#include <string>

#include "ExprTestSupport.h"

namespace {

struct Case {
    const char* Text;
    double Expected;
};

}  // namespace

TEST(ParserFunctions, EveryOneArgumentFunction)
{
    using std::numbers::e;
    using std::numbers::pi;
    const Case cases[] = {
        {"exp(1)", e},
        {"exp(0)", 1},
        {"sqr(-3)", 9},
        {"sqrt(16)", 4},
        {"abs(-2.5)", 2.5},
        {"round(2.4)", 2},
        {"round(2.6)", 3},
        {"round(-2.6)", -3},
        {"round(2.5)", 2},  // halves go to the even neighbour
        {"round(3.5)", 4},
        {"trunc(2.9)", 2},
        {"trunc(-2.9)", -2},
        {"ln(exp(2))", 2},
        {"log10(1000)", 3},
        {"sin(pi/2)", 1},
        {"cos(pi)", -1},
        {"tan(pi/4)", 1},
        {"arcsin(1)", pi / 2},
        {"arccos(1)", 0},
        {"sinh(0)", 0},
        {"cosh(0)", 1},
        {"tanh(0)", 0},
        {"sinh(1)", (e - 1 / e) / 2},
        {"arcsinh(sinh(0.5))", 0.5},
        {"arccosh(cosh(2))", 2},
        {"arctanh(tanh(0.25))", 0.25},
        {"degtorad(180)", pi},
        {"radtodeg(pi/2)", 90},
    };
    TExpressionParser p;
    for (const Case& c : cases)
        EXPECT_NEAR(p.Evaluate(c.Text), c.Expected, 1e-12) << c.Text;
}

TEST(ParserFunctions, EveryTwoAndThreeArgumentFunction)
{
    // A minus right after the separator is not unary: negative arguments are bracketed.
    const Case cases[] = {
        {"logN(2, 1024)", 10},
        {"LOGN(10, 0.001)", -3},
        {"logn(3, 81)", 4},
        {"power(2, 0.5)", std::sqrt(2.0)},
        {"pow(3, 4)", 81},
        {"intpower(2, 10)", 1024},
        {"intpower(2, (-2))", 0.25},
        {"intpower(-3, 3)", -27},
        {"max(3, 9)", 9},
        {"max(-3, (-9))", -3},
        {"min(3, 9)", 3},
        {"min(-3, (-9))", -9},
        {"arctan2(1, 1)", std::numbers::pi / 4},
        {"arctan2(1, (-1))", 3 * std::numbers::pi / 4},
        {"if(1 < 2, 5, 6)", 5},
        {"if(0, 5, 6)", 6},
    };
    TExpressionParser p;
    for (const Case& c : cases)
        EXPECT_NEAR(p.Evaluate(c.Text), c.Expected, 1e-12) << c.Text;
}

TEST(ParserFunctions, ConstantsAndRandomFunctions)
{
    TExpressionParser p;
    EXPECT_EQ(p.Evaluate("pi"), std::numbers::pi);
    EXPECT_EQ(Calc(p, "pi"), "3.141592654");
    for (int i = 0; i < 100; ++i) {
        double r = p.Evaluate("random");
        EXPECT_GE(r, 0.0);
        EXPECT_LT(r, 1.0);
    }
    // The mean of many Gaussian draws lands near the asked mean.
    int index = p.AddExpression("randg(50, 2)");
    double sum = 0;
    const int draws = 4000;
    for (int i = 0; i < draws; ++i)
        sum += p.GetResults(index);
    EXPECT_NEAR(sum / draws, 50, 0.5);
    EXPECT_EQ(p.Evaluate("randg(7, 0)"), 7);
    EXPECT_GT(p.GetExprSize(index), 0);  // never folded
}

TEST(ParserFunctions, OutOfDomainArgumentsGiveIeeeValues)
{
    TExpressionParser p;
    EXPECT_TRUE(std::isnan(p.Evaluate("sqrt(-1)")));
    EXPECT_TRUE(std::isnan(p.Evaluate("ln(-1)")));
    EXPECT_TRUE(std::isinf(p.Evaluate("ln(0)")));
    EXPECT_TRUE(std::isnan(p.Evaluate("arcsin(2)")));
    EXPECT_TRUE(std::isinf(p.Evaluate("exp(1000)")));
    EXPECT_TRUE(std::isnan(p.Evaluate("randg(0, 0/0)")));
    EXPECT_TRUE(std::isinf(p.Evaluate("intpower(0, (-1))")));
    EXPECT_EQ(p.Evaluate("intpower(1, 1e30)"), 1);
    EXPECT_EQ(p.Evaluate("round(1e300)"), 1e300);
}

TEST(ParserFunctions, FunctionsNestAndCombineWithOperators)
{
    TExpressionParser p;
    EXPECT_EQ(p.Evaluate("max(1, min(5, 3)) * 2"), 6);
    EXPECT_EQ(p.Evaluate("-abs(-4)"), -4);
    EXPECT_EQ(p.Evaluate("sqrt(16)!"), 24);
    EXPECT_EQ(p.Evaluate("2 + sqr(3)"), 11);
    EXPECT_EQ(p.Evaluate("if(max(1,2) = 2, sqr(2), 0)"), 4);
}
