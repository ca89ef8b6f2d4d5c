#include <gtest/gtest.h>

#include <cmath>

#include "ExprTestSupport.h"

TEST(CStyleParser, ReplacedSpellings)
{
    TCStyleParser p;
    EXPECT_EQ(p.Evaluate("fact(5)"), 120);
    EXPECT_EQ(p.Evaluate("div(7, 2)"), 3);
    EXPECT_EQ(p.Evaluate("perc(50)"), 0.5);
    EXPECT_EQ(p.Evaluate("7 % 3"), 1);
    EXPECT_EQ(p.Evaluate("2 + 7 % 3 * 2"), 4);
    EXPECT_EQ(Calc(p, "2 == 2"), "True");
    EXPECT_EQ(Calc(p, "2 != 2"), "False");
    EXPECT_EQ(Calc(p, "!(2 == 2)"), "False");
    EXPECT_EQ(Calc(p, "!0"), "True");
    EXPECT_EQ(Calc(p, "!!3"), "3");
    EXPECT_EQ(Calc(p, "1 < 2 && 3 < 4"), "True");
    EXPECT_EQ(Calc(p, "1 > 2 || 3 < 4"), "True");
    EXPECT_EQ(Calc(p, "1 > 2 || 3 > 4"), "False");
}

TEST(CStyleParser, RegressionAndAndOrAreDifferentOperators)
{
    TCStyleParser p;
    EXPECT_EQ(Calc(p, "1 && 0"), "False");
    EXPECT_EQ(Calc(p, "1 || 0"), "True");
    EXPECT_EQ(Calc(p, "0 && 1"), "False");
    EXPECT_EQ(Calc(p, "0 || 1"), "True");
}

TEST(CStyleParser, EqualsAssignsAndVariablesPersist)
{
    TCStyleParser p;
    EXPECT_EQ(p.Evaluate("x = 3"), 3);
    EXPECT_EQ(Calc(p, "x == 3"), "True");
    EXPECT_EQ(p.Evaluate("y = x * 2 + 1"), 7);
    EXPECT_EQ(p.Evaluate("y - x"), 4);
    EXPECT_EQ(Calc(p, "'a' = 'a'"), "True");  // a string comparison keeps the plain spelling
}

TEST(CStyleParser, PascalSpellingsAreGone)
{
    TCStyleParser p;
    // Unknown names now: they are values, and two values in a row are refused.
    EXPECT_EQ(CompileError(p, "1 and 1"), "1 two space limited variables/constants");
    EXPECT_EQ(CompileError(p, "5 mod 2"), "5 two space limited variables/constants");
    EXPECT_EQ(CompileError(p, "x := 1"), "x two space limited variables/constants");
    EXPECT_EQ(CompileError(p, "'a' == 'b'"), "== is not a valid string operand");
    EXPECT_EQ(CompileError(p, "'a' != 'b'"), "!= is not a valid string operand");
}
