#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "ExprTestSupport.h"

TEST(ParserVariables, DefinedVariablesReadAndWriteTheCallersMemory)
{
    TExpressionParser p;
    double x = 2;
    double y = 0;
    p.DefineVariable("X", &x);
    p.DefineVariable("y", &y);
    int index = p.AddExpression("x*10+1");
    EXPECT_EQ(p.GetResults(index), 21);
    x = 5;
    EXPECT_EQ(p.GetResults(index), 51);
    EXPECT_EQ(p.Evaluate("y := x^2"), 25);
    EXPECT_EQ(y, 25);
    EXPECT_EQ(p.Evaluate("Y + X"), 30);
}

TEST(ParserVariables, GeneratedVariablesAreAssignedAndReused)
{
    TExpressionParser p;
    EXPECT_TRUE(std::isnan(p.Evaluate("x+1")));
    EXPECT_EQ(p.Evaluate("x := 4"), 4);
    EXPECT_EQ(p.Evaluate("x+1"), 5);
    EXPECT_EQ(p.Evaluate("total := x * 3 + 1"), 13);
    EXPECT_EQ(p.Evaluate("total - x"), 9);

    std::vector<TGeneratedVariable*> generated;
    p.GetGeneratedVars(generated);
    ASSERT_EQ(generated.size(), 2u);
    EXPECT_EQ(generated[0]->Name, "total");
    EXPECT_EQ(generated[1]->Name, "x");
    EXPECT_EQ(generated[1]->Value, 4);
    // The caller may set one directly.
    generated[1]->Value = 10;
    EXPECT_EQ(p.Evaluate("x+1"), 11);
}

TEST(ParserVariables, GeneratedVariableTurnedIntoAString)
{
    TExpressionParser p;
    std::vector<TGeneratedVariable*> generated;
    p.AddExpression("who");
    p.GetGeneratedVars(generated);
    ASSERT_EQ(generated.size(), 1u);
    generated[0]->VarType = vtString;
    generated[0]->AsString = "kim";
    EXPECT_EQ(Calc(p, "who = 'kim'"), "True");
    generated[0]->AsString = "lee";
    EXPECT_EQ(Calc(p, "who = 'kim'"), "False");
}

TEST(ParserVariables, AssignmentsGroupFromTheLeftAndGiveTheValue)
{
    TExpressionParser p;
    EXPECT_EQ(p.Evaluate("a := 2 + 3"), 5);
    EXPECT_EQ(p.Evaluate("(b := 3) * 2"), 6);
    EXPECT_EQ(p.Evaluate("b"), 3);
    EXPECT_EQ(p.Evaluate("c := -a"), -5);
}

TEST(ParserVariables, ARepeatedTextIsCompiledOnce)
{
    TExpressionParser p;
    double x = 1;
    p.DefineVariable("x", &x);
    int first = p.AddExpression("x + 2*3");
    int constants = p.ConstantCount();
    x = 4;
    EXPECT_EQ(p.Evaluate("x + 2*3"), 10);
    EXPECT_EQ(p.AddExpression("x + 2*3"), first);
    EXPECT_EQ(p.ExpressionCount(), 1);
    EXPECT_EQ(p.ConstantCount(), constants);  // no new literals read
    EXPECT_EQ(p.GetExpression(first), "x + 2*3");

    int second = p.AddExpression("x - 1");
    EXPECT_NE(second, first);
    EXPECT_EQ(p.ExpressionCount(), 2);
    EXPECT_EQ(p.CurrentExpression(), second);
    EXPECT_EQ(p.EvaluateCurrent(), 3);
    p.AddExpression("x + 2*3");
    EXPECT_EQ(p.CurrentExpression(), first);
    EXPECT_EQ(p.EvaluateCurrent(), 10);
}

TEST(ParserVariables, ConstantSubexpressionsAreFolded)
{
    TExpressionParser p;
    double x = 1;
    p.DefineVariable("x", &x);
    EXPECT_EQ(p.GetExprSize(p.AddExpression("2*3+4")), 0);
    EXPECT_EQ(p.GetExprSize(p.AddExpression("sin(pi/2)*(1+1)")), 0);
    EXPECT_EQ(p.GetExprSize(p.AddExpression("x")), 0);
    EXPECT_EQ(p.GetExprSize(p.AddExpression("x + 1")), 1);
    // (2*3) and (4-1) become constants; only the two operators on x are left.
    EXPECT_EQ(p.GetExprSize(p.AddExpression("x*(2*3) + (4-1)")), 2);
    EXPECT_EQ(p.Evaluate("x*(2*3) + (4-1)"), 9);
    // A folded comparison is still Boolean.
    EXPECT_EQ(Calc(p, "1 < 2"), "True");
    EXPECT_EQ(p.GetExprSize(p.AddExpression("1 < 2")), 0);
}

TEST(ParserVariables, WithoutOptimizeNothingIsFolded)
{
    TExpressionParser p;
    p.Optimize = false;
    int index = p.AddExpression("2*3+4");
    EXPECT_EQ(p.GetExprSize(index), 2);
    EXPECT_EQ(p.GetResults(index), 10);
    EXPECT_EQ(Calc(p, "1 < 2"), "True");
}

TEST(ParserVariables, RandomNumbersAreNeverFolded)
{
    TExpressionParser p;
    int index = p.AddExpression("random * 1000000");
    EXPECT_EQ(p.GetExprSize(index), 2);
    std::vector<double> seen;
    for (int i = 0; i < 20; ++i) {
        double v = p.GetResults(index);
        EXPECT_GE(v, 0);
        EXPECT_LT(v, 1000000);
        seen.push_back(v);
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_GT(std::unique(seen.begin(), seen.end()) - seen.begin(), 1);
}

TEST(ParserVariables, DefinedFunctionsTakeTheirArguments)
{
    TExpressionParser p;
    p.DefineFunction("hyp", [](TExpressionRec* e) { e->Res = std::hypot(*e->Args[0], *e->Args[1]); }, 2);
    p.DefineFunction("Sum4", [](TExpressionRec* e) {
        e->Res = *e->Args[0] + *e->Args[1] + *e->Args[2] + *e->Args[3];
    }, 4);
    EXPECT_EQ(p.Evaluate("hyp(3, 4)"), 5);
    EXPECT_EQ(p.Evaluate("sum4(1, 2, 3, 4) * 2"), 20);
    EXPECT_EQ(p.Evaluate("hyp(sum4(1,1,1,0), 4)"), 5);
}

TEST(ParserVariables, RedefiningAKnownNameKeepsTheFirstWord)
{
    TExpressionParser p;
    double a = 1;
    double b = 2;
    p.DefineVariable("v", &a);
    p.DefineVariable("v", &b);
    EXPECT_EQ(p.Evaluate("v"), 1);
}

TEST(ParserVariables, ReplaceFunctionDropsCompiledExpressions)
{
    TExpressionParser p;
    EXPECT_EQ(p.Evaluate("max(2, 7)"), 7);
    p.AddExpression("z + 1");
    p.ReplaceFunction("max", new TFunction("max", [](TExpressionRec* e) { e->Res = -1; }, 2));
    EXPECT_EQ(p.ExpressionCount(), 0);
    EXPECT_EQ(p.Evaluate("max(2, 7)"), -1);

    // Replacing a generated variable by a caller variable binds later compiles to it.
    double z = 41;
    p.ReplaceFunction("z", new TDoubleVariable("z", &z));
    EXPECT_EQ(p.Evaluate("z + 1"), 42);
    p.ReplaceFunction("z", nullptr);
    EXPECT_TRUE(std::isnan(p.Evaluate("z + 1")));  // generated again
}

TEST(ParserVariables, ClearExpressionsForgetsEveryList)
{
    TExpressionParser p;
    p.AddExpression("1+1");
    p.AddExpression("2+2");
    p.ClearExpressions();
    EXPECT_EQ(p.ExpressionCount(), 0);
    EXPECT_EQ(p.CurrentExpression(), -1);
    EXPECT_TRUE(std::isnan(p.EvaluateCurrent()));
    EXPECT_EQ(p.AddExpression("2+2"), 0);
}

namespace {
TExpressionParser* gReentered = nullptr;
}

TEST(ParserVariables, RegressionARoutineThatClearsTheParserMidEvaluation)
{
    TExpressionParser p;
    gReentered = &p;
    // A user routine that calls back into its parser: it compiles, evaluates and clears every
    // compiled list, including the one that is running.
    p.DefineFunction("meddle", [](TExpressionRec* e) {
        double inner = gReentered->Evaluate("40 + 2");
        gReentered->ClearExpressions();
        gReentered->ReplaceFunction("w", nullptr);
        e->Res = inner + *e->Args[0];
    }, 1);
    p.Optimize = false;
    EXPECT_EQ(p.Evaluate("w := 1"), 1);
    EXPECT_EQ(p.Evaluate("meddle(w) * 2 + w"), 87);
    EXPECT_EQ(p.ExpressionCount(), 0);
    gReentered = nullptr;
}
