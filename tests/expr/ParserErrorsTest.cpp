#include <gtest/gtest.h>

#include "ExprTestSupport.h"

TEST(ParserErrors, BracketMessages)
{
    TExpressionParser p;
    EXPECT_EQ(CompileError(p, "(1+2"), "Unequal brackets");
    EXPECT_EQ(CompileError(p, "1+2)"), "Unequal brackets");
    EXPECT_EQ(CompileError(p, "1)+(2"), "Unequal brackets");
    EXPECT_EQ(CompileError(p, "sin()"), "Empty brackets ()");
    EXPECT_EQ(CompileError(p, "()"), "Empty brackets ()");
    EXPECT_EQ(CompileError(p, "(1)(2)"), "Missing operand between )(");
    EXPECT_EQ(CompileError(p, "(1)2"), "Missing operand between ) and constant/variable");
    EXPECT_EQ(CompileError(p, "sin(1) pi"), "Missing operand between ) and constant/variable");
    EXPECT_EQ(CompileError(p, "2(1)"), "Missing operand between constant/variable and (");
    EXPECT_EQ(CompileError(p, "pi(1)"), "Missing operand between constant/variable and (");
}

TEST(ParserErrors, TwoValuesInARowAndUnknownFunctions)
{
    TExpressionParser p;
    EXPECT_EQ(CompileError(p, "2 3"), "2 two space limited variables/constants");
    EXPECT_EQ(CompileError(p, "pi x"), "pi two space limited variables/constants");
    EXPECT_EQ(CompileError(p, "'a' 'b'"), "'a' two space limited variables/constants");
    EXPECT_EQ(CompileError(p, "Foo(1)"), "foo is an unknown function");
    EXPECT_EQ(CompileError(p, "1 + bar(2, 3)"), "bar is an unknown function");
}

TEST(ParserErrors, SyntaxErrorsNameTheExpression)
{
    TExpressionParser p;
    EXPECT_EQ(CompileError(p, "1,2"), "Syntax error in expression 1,2");
    EXPECT_EQ(CompileError(p, "pi random"), "Syntax error in expression pi random");
    EXPECT_EQ(CompileError(p, "random(1)"), "Syntax error in expression random(1)");
    EXPECT_EQ(CompileError(p, "sin(1,2)"), "Syntax error in expression sin(1,2)");
    EXPECT_EQ(CompileError(p, "2 sin(1)"), "Syntax error in expression 2 sin(1)");
    EXPECT_EQ(CompileError(p, "(,)"), "Syntax error in expression (,)");
    EXPECT_EQ(CompileError(p, "1 not 2"), "Syntax error in expression 1 not 2");
    // "not" binds more loosely than "+", so it cannot stand as its operand.
    EXPECT_EQ(CompileError(p, "1 + not 2"), "Syntax error in expression 1 + not 2");
}

TEST(ParserErrors, MissingArguments)
{
    TExpressionParser p;
    const char* message = "Syntax error: function or operand has too few arguments";
    // The argument separator is not an operator, so the minus after it is not unary.
    EXPECT_EQ(CompileError(p, "max(1,-2)"), message);
    EXPECT_EQ(p.Evaluate("max(1,(-2))"), 1);
    EXPECT_EQ(CompileError(p, "max(1)"), message);
    EXPECT_EQ(CompileError(p, "max(1,)"), message);
    EXPECT_EQ(CompileError(p, "1+"), message);
    EXPECT_EQ(CompileError(p, "*2"), message);
    EXPECT_EQ(CompileError(p, "sin"), message);
    EXPECT_EQ(CompileError(p, "-"), message);
    EXPECT_EQ(CompileError(p, "if(1,2)"), message);
}

TEST(ParserErrors, StringOperatorAndBooleanMessages)
{
    TExpressionParser p;
    EXPECT_EQ(CompileError(p, "'a'+'b'"), "+ is not a valid string operand");
    EXPECT_EQ(CompileError(p, "'a'<>'b'"), "<> is not a valid string operand");
    try {
        p.GetAsBoolean(p.AddExpression("1+1"));
        FAIL() << "no exception";
    } catch (const EParserException& e) {
        EXPECT_EQ(e.Message, "Expression is not boolean");
    }
    EXPECT_THROW(p.GetAsBoolean(-1), EParserException);
}

TEST(ParserErrors, TooManyArgumentsForADefinedFunction)
{
    TExpressionParser p;
    try {
        p.DefineFunction("five", [](TExpressionRec* e) { e->Res = 0; }, 5);
        FAIL() << "no exception";
    } catch (const EParserException& e) {
        EXPECT_EQ(e.Message, "Too many arguments");
    }
}

TEST(ParserErrors, AFailedCompileLeavesNoExpression)
{
    TExpressionParser p;
    int good = p.AddExpression("1+1");
    EXPECT_EQ(CompileError(p, "(1+"), "Unequal brackets");
    EXPECT_EQ(p.ExpressionCount(), 1);
    EXPECT_EQ(p.CurrentExpression(), good);
    // The same bad text fails again, rather than finding a half-built list.
    EXPECT_EQ(CompileError(p, "(1+"), "Unequal brackets");
    EXPECT_EQ(p.ExpressionCount(), 1);
}

TEST(ParserErrors, RegressionDeepNestingIsRefusedNotOverflowed)
{
    TExpressionParser p;
    std::string deep;
    for (int i = 0; i < 5000; ++i)
        deep += "-(";
    deep += "1";
    deep += std::string(5000, ')');
    EXPECT_EQ(CompileError(p, deep), "Expression too deeply nested");

    // Plain enclosing brackets are peeled without nesting.
    std::string wrapped = std::string(100000, '(') + "2" + std::string(100000, ')');
    EXPECT_EQ(p.Evaluate(wrapped), 2);

    // A nesting a person would write still compiles.
    std::string fine;
    for (int i = 0; i < 50; ++i)
        fine += "-(";
    fine += "1";
    fine += std::string(50, ')');
    EXPECT_EQ(p.Evaluate(fine), 1);
}
