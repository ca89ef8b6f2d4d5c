// Values of expressions: operators, numbers, functions, and the faults that once trapped.
#include <cmath>
#include <numbers>

#include "ExprTestSupport.h"

namespace {

using std::numbers::e;
using std::numbers::pi;

using ValueGroup = CaseGroup<NumCase>;

const ValueGroup kGroups[] = {
    {"PrecedenceBindsTighterOperatorsFirst",
     {{"2*3+4*5", 26}, {"1+2*3^2-4", 15}, {"2*(3+4)*5", 70}, {"((((7))))", 7}, {"1 < 2 + 3", 1}}},
    {"EqualPrioritiesGroupFromTheLeft", {{"2^3^2", 64}, {"10-4-3", 3}, {"64/4/2", 8}}},
    {"UnaryMinusAppliesBeforePowers",
     {{"-2^2", 4}, {"2*-3", -6}, {"2--3", 5}, {"- + -3", 3}, {"---3", -3}, {"+4", 4}, {"2*-3^2", 18}}},
    // pi is a constant, but not a whole number written in the text: the power stays real.
    {"PowersRealAndInteger",
     {{"2^0.5", std::sqrt(2.0), 1e-15},
      {"2^-1", 0.5},
      {"(-8)^3.0", -512},
      {"(-8)^(1/3)", kNaN},
      {"0^0", 1},
      {"2^100000", kInf},
      {"2^1e1", 1024},
      {"2^pi", std::pow(2.0, pi), 1e-12}}},
    // A whole exponent beyond 64 bits is even (every double from 2^63 on is): it was saturated to
    // the odd 2^63 - 1, so the sign of a negative base came out wrong.
    {"RegressionIntegerPowersOfHugeExponentsAreEven",
     {{"(-1)^1e19", 1},
      {"(-1)^(1e19)", 1},
      {"(-2)^1e19", kInf},
      {"(-1)^9223372036854775807", 1},
      {"(-1)^1e999", 1},
      {"intpower(-1, 1e19)", 1},
      {"(-1)^999999999999999", -1},
      {"(-1)^-3", -1}}},
    {"NumbersAndHexadecimalConstants",
     {{"$FF+1", 256},
      {"2^$a", 1024},
      {"2.5E-1", 0.25},
      {"1.", 1},
      {"\t1\n+\r2", 3},
      {"1e999", kInf},
      {"$ffffffffffffffffffffffffffff", std::ldexp(1.0, 112) - std::ldexp(1.0, 0)}}},
    // 3.6! is 4!, 7.6 div 2.4 is 8 div 2: operands are made integers first.
    {"FactorialPercentDivAndMod",
     {{"5!", 120},
      {"0!", 1},
      {"(-3)!", 1},
      {"3.6!", 24},
      {"2^3!", 64},
      {"50%*4", 2},
      {"-7 div 2", -3},
      {"-7 mod 3", -1},
      {"7.6 div 2.4", 4}}},
    {"RegressionFactorialOfALargeArgumentEndsAtInfinity",
     {{"170!", 7.257415615307994e306, 7.257415615307994e294},
      {"171!", kInf},
      {"1e300!", kInf},
      {"1e18!", kInf},
      {"(0/0)!", 1}}},
    // (1/0) div 2 is saturated, then halved.
    {"RegressionDivisionByZeroNeverTraps",
     {{"1/0", kInf},
      {"0/0", kNaN},
      {"5 div 0", 0},
      {"5 mod 0", 0},
      {"(1/0) div 2", 4611686018427387904.0},
      {"-9223372036854775808 div -1", -9223372036854775808.0},
      {"-9223372036854775808 mod -1", 0}}},
    // Values closer than 1e-30 are equal.
    {"ComparisonsGiveOneOrZeroWithTheirTolerance",
     {{"2>2", 0},
      {"2>=2", 1},
      {"2<=2", 1},
      {"2<2", 0},
      {"2<>3", 1},
      {"1e-31=0", 1},
      {"1e-31<>0", 0},
      {"0>=1e-31", 1},
      {"1e-29=0", 0},
      {"1 = -1", 0}}},
    // Operands are rounded (halves to even) and saturated to 64 bits, not a number is 0, and
    // negative values are two's complement; 2^62 and its neighbours are exact doubles.
    {"AndOrXorWorkBitByBitOnRoundedIntegers",
     {{"12 and 10", 8},
      {"12 or 10", 14},
      {"12 xor 10", 6},
      {"2.5 and 3", 2},
      {"3.5 and 7", 4},
      {"-1 and 255", 255},
      {"-8 or 3", -5},
      {"-1 xor 0", -1},
      {"(0/0) or 5", 5},
      {"1e30 and 1", 1},
      {"-1e30 and -1", -9223372036854775808.0},
      {"(1/0) xor 0", 9223372036854775808.0},
      {"(-1/0) and 4611686018427387904", 0},
      {"4503599627370496 or 1", 4503599627370497.0},
      {"x := 6 and 3", 2}}},
    {"NotStaysOnTruthValues", {{"not 6", 0}, {"not not 6", 6}, {"not (6 and 1)", 1}}},
    // if(256, ...): the low byte is 0, still true.
    {"RegressionIfTreatsEveryNonZeroConditionAsTrue", {{"if(0, 10, 20)", 20}, {"if(256, 10, 20)", 10}}},
    {"EveryOneArgumentFunction",
     {{"exp(1)", e, 1e-12},
      {"sqr(-3)", 9, 1e-12},
      {"sqrt(16)", 4, 1e-12},
      {"abs(-2.5)", 2.5, 1e-12},
      {"round(-2.6)", -3, 1e-12},
      {"round(2.5)", 2, 1e-12},
      {"round(3.5)", 4, 1e-12},  // halves go to the even neighbour
      {"trunc(-2.9)", -2, 1e-12},
      {"ln(exp(2))", 2, 1e-12},
      {"log10(1000)", 3, 1e-12},
      {"sin(pi/2)", 1, 1e-12},
      {"cos(pi)", -1, 1e-12},
      {"tan(pi/4)", 1, 1e-12},
      {"arcsin(1)", pi / 2, 1e-12},
      {"arccos(1)", 0, 1e-12},
      {"sinh(0)", 0, 1e-12},
      {"cosh(0)", 1, 1e-12},
      {"tanh(0)", 0, 1e-12},
      {"sinh(1)", (e - 1 / e) / 2, 1e-12},
      {"arcsinh(sinh(0.5))", 0.5, 1e-12},
      {"arccosh(cosh(2))", 2, 1e-12},
      {"arctanh(tanh(0.25))", 0.25, 1e-12},
      {"degtorad(180)", pi, 1e-12},
      {"radtodeg(pi/2)", 90, 1e-12}}},
    // A minus right after the separator is not unary: negative arguments are bracketed.
    {"EveryTwoAndThreeArgumentFunction",
     {{"logN(2, 1024)", 10, 1e-12},
      {"LOGN(10, 0.001)", -3, 1e-12},
      {"power(2, 0.5)", std::sqrt(2.0), 1e-12},
      {"pow(3, 4)", 81, 1e-12},
      {"intpower(2, (-2))", 0.25, 1e-12},
      {"intpower(-3, 3)", -27, 1e-12},
      {"max(-3, (-9))", -3, 1e-12},
      {"min(-3, (-9))", -9, 1e-12},
      {"arctan2(1, (-1))", 3 * pi / 4, 1e-12},
      {"pi", pi},
      {"randg(7, 0)", 7}}},
    {"OutOfDomainArgumentsGiveIeeeValues",
     {{"sqrt(-1)", kNaN},
      {"ln(-1)", kNaN},
      {"ln(0)", -kInf},
      {"arcsin(2)", kNaN},
      {"exp(1000)", kInf},
      {"randg(0, 0/0)", kNaN},
      {"intpower(0, (-1))", kInf},
      {"intpower(1, 1e30)", 1},
      {"round(1e300)", 1e300}}},
    {"FunctionsNestAndCombineWithOperators",
     {{"max(1, min(5, 3)) * 2", 6}, {"-abs(-4)", -4}, {"sqrt(16)!", 24}, {"if(max(1,2) = 2, sqr(2), 0)", 4}}},
    // A string is not a number; an unterminated quote runs to the end.
    {"RegressionAStringUsedAsANumberIsNotANumber", {{"'abc'", kNaN}, {"'abc' + 1", kNaN}, {"'abc", kNaN}}},
    {"EmptyTextGivesNotANumber", {{"", kNaN}, {"   ", kNaN}}},
};

}  // namespace

class ParserValueGroup : public ::testing::TestWithParam<ValueGroup> {};

TEST_P(ParserValueGroup, GivesTheValues)
{
    TExpressionParser p;
    ExpectValues(p, GetParam().Cases);
}

INSTANTIATE_TEST_SUITE_P(ParserValues, ParserValueGroup, ::testing::ValuesIn(kGroups), GroupName<NumCase>);

TEST(ParserValues, RandomFunctionsStayInRangeAndAreNeverFolded)
{
    TExpressionParser p;
    // The mean of many Gaussian draws lands near the asked mean.
    int index = p.AddExpression("randg(50, 2)");
    double sum = 0;
    for (int i = 0; i < 4000; ++i)
        sum += p.GetResults(index);
    EXPECT_NEAR(sum / 4000, 50, 0.5);
    EXPECT_GT(p.GetExprSize(index), 0);
    int scaled = p.AddExpression("random * 1000000");
    EXPECT_EQ(p.GetExprSize(scaled), 2);
    std::vector<double> seen;
    for (int i = 0; i < 20; ++i) {
        double v = p.GetResults(scaled);
        EXPECT_TRUE(v >= 0 && v < 1000000) << v;
        seen.push_back(v);
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_GT(std::unique(seen.begin(), seen.end()) - seen.begin(), 1);
}

// A literal's value from the whole of its text: the exponent was counted up to a bound, so
// 0.000...1e100400 (worth 1e400) gave 0.
TEST(ParserValues, RegressionLongLiteralsWithLargeExponentsHaveTheirValue)
{
    const std::string zeros(99999, '0');
    TExpressionParser p;
    EXPECT_EQ(p.Evaluate("0." + zeros + "1e100400"), kInf);
    EXPECT_EQ(p.Evaluate("0." + zeros + "1e100300"), 1e300);
    EXPECT_EQ(p.Evaluate("1" + zeros + "e-100300"), 1e-301);
    EXPECT_EQ(p.Evaluate("1" + zeros + "e-100500"), 0);
    EXPECT_EQ(p.Evaluate("1e-400"), 0);
}
