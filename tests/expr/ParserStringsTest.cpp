#include <gtest/gtest.h>

#include <cmath>

#include "ExprTestSupport.h"

TEST(ParserStrings, ComparisonOperatorsOnConstants)
{
    TExpressionParser p;
    EXPECT_EQ(Calc(p, "'abc' = 'abc'"), "True");
    EXPECT_EQ(Calc(p, "'abc' = 'abd'"), "False");
    EXPECT_EQ(Calc(p, "'abc' < 'abd'"), "True");
    EXPECT_EQ(Calc(p, "'b' > 'abc'"), "True");
    EXPECT_EQ(Calc(p, "'abc' >= 'abc'"), "True");
    EXPECT_EQ(Calc(p, "'abc' <= 'ab'"), "False");
    EXPECT_EQ(Calc(p, "'' < 'a'"), "True");
    EXPECT_TRUE(p.GetAsBoolean(p.AddExpression("'x'='x'")));
    // Constant comparisons are folded into one Boolean constant.
    EXPECT_EQ(p.GetExprSize(p.AddExpression("'x'='x'")), 0);
}

TEST(ParserStrings, ComparisonsCombineWithLogic)
{
    TExpressionParser p;
    EXPECT_EQ(Calc(p, "('a' = 'a') and ('b' > 'a')"), "True");
    EXPECT_EQ(Calc(p, "'a' = 'a' and 1 > 2"), "False");
    EXPECT_EQ(Calc(p, "not 'a' = 'b'"), "True");
    EXPECT_EQ(Calc(p, "if('a' < 'b', 10, 20)"), "10");
}

TEST(ParserStrings, RegressionLiteralsKeepTheirCase)
{
    TExpressionParser p;
    AnsiString name = "ABC";
    p.DefineStringVariable("Name", &name);
    EXPECT_EQ(Calc(p, "name = 'ABC'"), "True");
    EXPECT_EQ(Calc(p, "NAME = 'abc'"), "False");
    EXPECT_EQ(Calc(p, "'ABC' = 'abc'"), "False");
    // Texts that differ only in the case of a literal are different expressions.
    EXPECT_NE(p.AddExpression("'A' = 'a'"), p.AddExpression("'a' = 'a'"));
    EXPECT_EQ(Calc(p, "'A' = 'a'"), "False");
    EXPECT_EQ(Calc(p, "'a' = 'a'"), "True");
}

TEST(ParserStrings, RegressionComparisonWithAVariableIsNotFolded)
{
    TExpressionParser p;
    AnsiString s = "yes";
    p.DefineStringVariable("s", &s);
    int index = p.AddExpression("s = 'yes'");
    EXPECT_EQ(p.GetAsString(index), "True");
    s = "no";
    EXPECT_EQ(p.GetAsString(index), "False");
    s = "'yes'";  // a quoted value is read without its quotes
    EXPECT_EQ(p.GetAsString(index), "True");
    EXPECT_GT(p.GetExprSize(index), 0);
}

TEST(ParserStrings, HangulTextAndNames)
{
    TExpressionParser p;
    // "한" (C7 D1) sorts after "가" (B0 A1) in byte order.
    EXPECT_EQ(Calc(p, "'\xC7\xD1' > '\xB0\xA1'"), "True");
    // A two-byte character is part of a name; its trail byte is not lower-cased.
    EXPECT_EQ(Calc(p, "\x8C\x41:=3"), "3");
    EXPECT_EQ(Calc(p, "\x8C\x41*2"), "6");
    EXPECT_EQ(CompileError(p, "\x8C\x61*2"), "<no error>");
    EXPECT_TRUE(std::isnan(p.Evaluate("\x8C\x61*2")));  // a different character, not set
}

TEST(ParserStrings, RegressionAStringUsedAsANumberIsNotANumber)
{
    TExpressionParser p;
    AnsiString s = "text";
    p.DefineStringVariable("s", &s);
    EXPECT_TRUE(std::isnan(p.Evaluate("'abc'")));
    EXPECT_EQ(Calc(p, "'abc'"), "nan");
    EXPECT_TRUE(std::isnan(p.Evaluate("'abc' + 1")));
    EXPECT_TRUE(std::isnan(p.Evaluate("s * 2")));
    EXPECT_TRUE(std::isnan(p.Evaluate("sin(s)")));
    // Assigning to a string changes neither the string nor anything else.
    EXPECT_EQ(p.Evaluate("s := 5"), 5);
    EXPECT_EQ(s, "text");
    EXPECT_TRUE(std::isnan(p.Evaluate("s + 0")));
}

TEST(ParserStrings, UnterminatedQuoteRunsToTheEnd)
{
    TExpressionParser p;
    EXPECT_TRUE(std::isnan(p.Evaluate("'abc")));
    EXPECT_EQ(Calc(p, "'abc' = 'abc"), "False");  // the right one keeps its lone quote
}
