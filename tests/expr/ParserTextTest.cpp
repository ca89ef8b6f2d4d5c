// Results as text, string expressions, compile errors, and the C spelling of the operators.
#include <cmath>
#include <tuple>

#include "ExprTestSupport.h"
#include "platform/core/FormatSettings.h"

namespace {

const std::string kFew = "Syntax error: function or operand has too few arguments";

using TextGroup = CaseGroup<StrCase>;

// not binds more loosely than comparisons, and/or/xor more loosely still; "not not" cancels out.
// not works on truth values; and/or/xor work bit by bit on integers, and a result other than 0
// or 1 shows as the number it is.
const TextGroup kResults[] = {
    {"RegressionNotWorksOnTruthValues",
     {{"not (1=1)", "False"},
      {"not 5", "False"},
      {"not 0", "True"},
      {"not not 1", "1"},
      {"not 1 = 2", "True"},
      {"not 1 < 2 or 1 > 2", "False"}}},
    {"RegressionAndOrXorWereTruthValuesNotBits",
     {{"6 and 3", "2"},
      {"5 or 2", "7"},
      {"6 xor 3", "5"},
      {"2 and 1", "False"},
      {"0.4 and 1", "False"},
      {"3 and 5", "True"},
      {"1 or 2", "3"},
      {"0 or 0", "False"},
      {"1 xor 2", "3"},
      {"1 xor 0", "True"},
      {"1 < 2 and 3 > 2", "True"},
      {"(1 < 2) or 4", "5"}}},
    {"GetAsStringFormatsBooleansAndNumbers",
     {{"1=2", "False"},
      {"2/3", "0.6666666667"},
      {"14", "14"},
      {"1e20", "1e+20"},
      {"123456789012", "1.23456789e+11"},
      {"-1/0", "-inf"},
      {"0/0", "nan"},
      {"'abc'", "nan"}}},
    // Byte order: "한" (C7 D1) after "가" (B0 A1), lower case after upper case. In 'abc' = 'abc
    // the right one keeps its lone quote.
    {"StringComparisonOperatorsOnConstants",
     {{"'abc' = 'abd'", "False"},
      {"'b' > 'abc'", "True"},
      {"'abc' >= 'abc'", "True"},
      {"'abc' <= 'ab'", "False"},
      {"'' < 'a'", "True"},
      {"'\xC7\xD1' > '\xB0\xA1'", "True"},
      {"'abc' = 'abc", "False"},
      {"'abc' > 'ABC'", "True"}}},
    {"StringComparisonsCombineWithLogic",
     {{"'a' = 'a' and 1 > 2", "False"}, {"not 'a' = 'b'", "True"}, {"if('a' < 'b', 10, 20)", "10"}}},
};

// The argument separator is not an operator, so the minus after it is not unary; "not" binds
// more loosely than "+", so it cannot stand as its operand.
const TextGroup kErrors[] = {
    {"BracketMessages",
     {{"(1+2", "Unequal brackets"},
      {"1)+(2", "Unequal brackets"},
      {"sin()", "Empty brackets ()"},
      {"(1)(2)", "Missing operand between )("},
      {"sin(1) pi", "Missing operand between ) and constant/variable"},
      {"pi(1)", "Missing operand between constant/variable and ("}}},
    {"TwoValuesInARowAndUnknownFunctions",
     {{"2 3", "2 two space limited variables/constants"},
      {"'a' 'b'", "'a' two space limited variables/constants"},
      {"Foo(1)", "foo is an unknown function"}}},
    {"SyntaxErrorsNameTheExpression",
     {{"1,2", "Syntax error in expression 1,2"},
      {"random(1)", "Syntax error in expression random(1)"},
      {"sin(1,2)", "Syntax error in expression sin(1,2)"},
      {"2 sin(1)", "Syntax error in expression 2 sin(1)"},
      {"1 + not 2", "Syntax error in expression 1 + not 2"}}},
    {"MissingArguments",
     {{"max(1,-2)", kFew}, {"max(1)", kFew}, {"1+", kFew}, {"*2", kFew}, {"sin", kFew}, {"if(1,2)", kFew}}},
    {"StringOperatorMessages",
     {{"'a'+'b'", "+ is not a valid string operand"}, {"'a'<>'b'", "<> is not a valid string operand"}}},
};

}  // namespace

class ParserResultGroup : public ::testing::TestWithParam<TextGroup> {};
class ParserErrorGroup : public ::testing::TestWithParam<TextGroup> {};

TEST_P(ParserResultGroup, GivesTheTexts)
{
    TExpressionParser p;
    ExpectStrings(p, GetParam().Cases);
}

TEST_P(ParserErrorGroup, RaisesTheMessages)
{
    TExpressionParser p;
    ExpectStrings(p, GetParam().Cases, true);
}

INSTANTIATE_TEST_SUITE_P(ParserText, ParserResultGroup, ::testing::ValuesIn(kResults), GroupName<StrCase>);
INSTANTIATE_TEST_SUITE_P(ParserText, ParserErrorGroup, ::testing::ValuesIn(kErrors), GroupName<StrCase>);

TEST(ParserText, BooleanHexadecimalAndEmptyResults)
{
    TExpressionParser p;
    EXPECT_FALSE(p.GetAsBoolean(p.AddExpression("2<1")));
    EXPECT_TRUE(p.GetAsBoolean(p.AddExpression("'x'='x'")));
    EXPECT_EQ(ErrorOf([&] { p.GetAsBoolean(p.AddExpression("1+1")); }), "Expression is not boolean");
    EXPECT_EQ(p.GetAsString(-1), "nan");
    const StrCase hex[] = {
        {"$abc", "$ABC"}, {"0", "$0"}, {"-1", "$FFFFFFFFFFFFFFFF"}, {"1e30", "$7FFFFFFFFFFFFFFF"}, {"15.4", "$F"}};
    for (const StrCase& c : hex)
        EXPECT_EQ(p.GetAsHexadecimal(p.AddExpression(c.Text)), c.Want) << c.Text;
    // An empty text has no expression.
    p.ClearExpressions();
    EXPECT_EQ(p.AddExpression(""), -1);
    EXPECT_EQ(std::tuple(p.CurrentExpression(), p.GetExprSize(-1), p.ExpressionCount()), std::tuple(-1, 0, 0));
    EXPECT_TRUE(std::isnan(p.EvaluateCurrent()) && std::isnan(p.GetResults(99)));
}

TEST(ParserText, ACommaDecimalSeparatorMakesTheArgumentSeparatorASemicolon)
{
    TFormatSettings saved = FormatSettings();
    FormatSettings().DecimalSeparator = ',';
    TExpressionParser p;
    FormatSettings() = saved;
    EXPECT_EQ(p.ArgSeparator, ';');
    ExpectValues(p, {{"max(1,5; 2)", 2}, {"2,5 * 2", 5}});
    EXPECT_EQ(Calc(p, "1,2"), "1,2");
}

TEST(ParserText, RegressionLiteralsKeepTheirCase)
{
    TExpressionParser p;
    AnsiString name = "ABC";
    p.DefineStringVariable("Name", &name);
    // Texts that differ only in the case of a literal are different expressions.
    EXPECT_NE(p.AddExpression("'A' = 'a'"), p.AddExpression("'a' = 'a'"));
    ExpectStrings(p, {{"NAME = 'abc'", "False"}, {"'A' = 'a'", "False"}, {"'a' = 'a'", "True"}});
}

TEST(ParserText, RegressionComparisonWithAVariableIsNotFolded)
{
    TExpressionParser p;
    AnsiString s = "yes";
    p.DefineStringVariable("s", &s);
    int index = p.AddExpression("s = 'yes'");
    // A quoted value is read without its quotes.
    for (const StrCase& c : {StrCase{"no", "False"}, StrCase{"'yes'", "True"}}) {
        s = c.Text;
        EXPECT_EQ(p.GetAsString(index), c.Want) << c.Text;
    }
    EXPECT_GT(p.GetExprSize(index), 0);
    EXPECT_EQ(p.GetExprSize(p.AddExpression("'x'='x'")), 0);  // constants are folded
}

TEST(ParserText, RegressionAStringVariableUsedAsANumberIsNotANumber)
{
    TExpressionParser p;
    AnsiString s = "text";
    p.DefineStringVariable("s", &s);
    ExpectValues(p, {{"s * 2", kNaN}, {"sin(s)", kNaN}, {"s := 5", 5}});
    EXPECT_EQ(s, "text");  // assigning to a string changes it not
}

TEST(ParserText, HangulNames)
{
    TExpressionParser p;
    // A two-byte character is part of a name; its trail byte is not lower-cased.
    ExpectStrings(p, {{"\x8C\x41:=3", "3"}, {"\x8C\x41*2", "6"}});
    EXPECT_EQ(CompileError(p, "\x8C\x61*2"), "<no error>");
    EXPECT_TRUE(std::isnan(p.Evaluate("\x8C\x61*2")));  // a different character, not set
}

TEST(CStyleParser, SpellingsAssignmentAndRefusedPascalWords)
{
    TCStyleParser p;
    ExpectValues(p,
                 {{"fact(5)", 120},
                  {"div(7, 2)", 3},
                  {"perc(50)", 0.5},
                  {"2 + 7 % 3 * 2", 4},
                  {"x = 3", 3},
                  {"y = x * 2 + 1", 7}});
    // A string comparison keeps the plain spelling.
    ExpectStrings(p,
                  {{"2 != 2", "False"},
                   {"!(2 == 2)", "False"},
                   {"!!3", "3"},
                   {"1 > 2 || 3 > 4", "False"},
                   {"x == 3", "True"},
                   {"'a' = 'a'", "True"}});
    // Pascal spellings are unknown names now: values, and two values in a row are refused.
    ExpectStrings(p,
                  {{"1 and 1", "1 two space limited variables/constants"},
                   {"x := 1", "x two space limited variables/constants"},
                   {"'a' == 'b'", "== is not a valid string operand"},
                   {"'a' != 'b'", "!= is not a valid string operand"}},
                  true);
}

TEST(CStyleParser, RegressionAndAndOrAreDifferentOperators)
{
    TCStyleParser p;
    ExpectStrings(p, {{"1 && 0", "False"}, {"1 || 0", "True"}, {"0 && 1", "False"}, {"0 || 1", "True"}});
}

TEST(CStyleParser, XorIsBitwiseWhileAndAndOrAndNotSpellingsGiveTruthValues)
{
    TCStyleParser p;
    ExpectStrings(p,
                  {{"6 xor 3", "5"},
                   {"6 && 3", "True"},
                   {"6 || 3", "True"},
                   {"4 && 0.4", "False"},
                   {"!6", "False"},
                   {"!(6 xor 6)", "True"}});
}
