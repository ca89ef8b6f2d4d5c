// Variables, compiled-list bookkeeping, folding, defined functions and re-entrant routines.
#include <cmath>
#include <tuple>

#include "ExprTestSupport.h"

TEST(ParserVariables, DefinedVariablesReadAndWriteTheCallersMemory)
{
    TExpressionParser p;
    double x = 2, y = 0, a = 1, b = 2;
    p.DefineVariable("X", &x);
    p.DefineVariable("y", &y);
    int index = p.AddExpression("x*10+1");
    x = 5;
    EXPECT_EQ(p.GetResults(index), 51);
    ExpectValues(p, {{"y := x^2", 25}, {"Y + X", 30}});
    EXPECT_EQ(y, 25);
    // Redefining a known name keeps the first word.
    p.DefineVariable("v", &a);
    p.DefineVariable("v", &b);
    EXPECT_EQ(p.Evaluate("v"), 1);
}

TEST(ParserVariables, GeneratedVariablesAreAssignedReusedAndMayBecomeStrings)
{
    TExpressionParser p;
    ExpectValues(p,
                 {{"x+1", kNaN},
                  {"x := 4", 4},
                  {"total := x * 3 + 1", 13},
                  {"total - x", 9},
                  {"a := 2 + 3", 5},
                  {"(b := 3) * 2", 6},
                  {"c := -a", -5}});
    std::vector<TGeneratedVariable*> generated;
    p.GetGeneratedVars(generated);
    ASSERT_EQ(generated.size(), 5u);
    EXPECT_EQ(std::tuple(generated[4]->Name, generated[4]->Value), std::tuple("x", 4.0));
    generated[4]->Value = 10;  // the caller may set one directly
    EXPECT_EQ(p.Evaluate("x+1"), 11);

    TExpressionParser q;
    q.AddExpression("who");
    generated.clear();
    q.GetGeneratedVars(generated);
    ASSERT_EQ(generated.size(), 1u);
    generated[0]->VarType = vtString;
    generated[0]->AsString = "kim";
    EXPECT_EQ(Calc(q, "who = 'kim'"), "True");
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
    // No new literals are read for a known text.
    EXPECT_EQ(std::tuple(p.AddExpression("x + 2*3"), p.ExpressionCount(), p.ConstantCount()),
              std::tuple(first, 1, constants));
    p.AddExpression("x - 1");
    p.AddExpression("x + 2*3");
    EXPECT_EQ(std::tuple(p.CurrentExpression(), p.EvaluateCurrent()), std::tuple(first, 10.0));
    // Clearing forgets every list.
    p.ClearExpressions();
    EXPECT_EQ(std::tuple(p.ExpressionCount(), p.CurrentExpression()), std::tuple(0, -1));
    EXPECT_EQ(p.AddExpression("2+2"), 0);
}

TEST(ParserVariables, AFailedCompileLeavesNoExpression)
{
    TExpressionParser p;
    int good = p.AddExpression("1+1");
    // Twice: the same bad text fails again, rather than finding a half-built list.
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(CompileError(p, "(1+"), "Unequal brackets");
        EXPECT_EQ(std::tuple(p.ExpressionCount(), p.CurrentExpression()), std::tuple(1, good));
    }
}

TEST(ParserVariables, ConstantSubexpressionsAreFoldedOnlyWithOptimize)
{
    TExpressionParser p;
    double x = 1;
    p.DefineVariable("x", &x);
    // (2*3) and (4-1) become constants; only the two operators on x are left.
    const std::pair<const char*, int> sizes[] = {
        {"sin(pi/2)*(1+1)", 0}, {"x", 0}, {"x*(2*3) + (4-1)", 2}, {"1 < 2", 0}};
    for (const auto& [text, size] : sizes)
        EXPECT_EQ(p.GetExprSize(p.AddExpression(text)), size) << text;
    EXPECT_EQ(Calc(p, "1 < 2"), "True");  // a folded comparison is still Boolean

    TExpressionParser plain;
    plain.Optimize = false;
    int index = plain.AddExpression("2*3+4");
    EXPECT_EQ(std::tuple(plain.GetExprSize(index), plain.GetResults(index)), std::tuple(2, 10.0));
}

TEST(ParserVariables, DefinedFunctionsTakeUpToFourArguments)
{
    TExpressionParser p;
    p.DefineFunction(
        "hyp", [](TExpressionRec* e) { e->Res = std::hypot(*e->Args[0], *e->Args[1]); }, 2);
    p.DefineFunction(
        "Sum4", [](TExpressionRec* e) { e->Res = *e->Args[0] + *e->Args[1] + *e->Args[2] + *e->Args[3]; }, 4);
    ExpectValues(p, {{"hyp(3, 4)", 5}, {"sum4(1, 2, 3, 4) * 2", 20}, {"hyp(sum4(1,1,1,0), 4)", 5}});
    EXPECT_EQ(ErrorOf([&] {
                  p.DefineFunction(
                      "five", [](TExpressionRec* e) { e->Res = 0; }, 5);
              }),
              "Too many arguments");
}

TEST(ParserVariables, ReplaceFunctionDropsCompiledExpressions)
{
    TExpressionParser p;
    p.AddExpression("z + 1");
    p.ReplaceFunction("max",
                      new TFunction(
                          "max", [](TExpressionRec* e) { e->Res = -1; }, 2));
    EXPECT_EQ(p.ExpressionCount(), 0);
    EXPECT_EQ(p.Evaluate("max(2, 7)"), -1);
    // Replacing a generated variable by a caller variable binds later compiles to it.
    double z = 41;
    p.ReplaceFunction("z", new TDoubleVariable("z", &z));
    EXPECT_EQ(p.Evaluate("z + 1"), 42);
    p.ReplaceFunction("z", nullptr);
    EXPECT_TRUE(std::isnan(p.Evaluate("z + 1")));  // generated again
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
    p.DefineFunction(
        "meddle",
        [](TExpressionRec* e) {
            double inner = gReentered->Evaluate("40 + 2");
            gReentered->ClearExpressions();
            gReentered->ReplaceFunction("w", nullptr);
            e->Res = inner + *e->Args[0];
        },
        1);
    p.Optimize = false;
    EXPECT_EQ(p.Evaluate("w := 1"), 1);
    EXPECT_EQ(p.Evaluate("meddle(w) * 2 + w"), 87);
    EXPECT_EQ(p.ExpressionCount(), 0);
    gReentered = nullptr;
}

TEST(ParserVariables, RegressionDeepNestingIsRefusedNotOverflowed)
{
    TExpressionParser p;
    auto nested = [](int n) {
        std::string s;
        for (int i = 0; i < n; ++i)
            s += "-(";
        return s + "1" + std::string(static_cast<size_t>(n), ')');
    };
    EXPECT_EQ(CompileError(p, nested(5000)), "Expression too deeply nested");
    EXPECT_EQ(p.Evaluate(nested(50)), 1);  // a nesting a person would write still compiles
    // Plain enclosing brackets are peeled without nesting.
    EXPECT_EQ(p.Evaluate(std::string(100000, '(') + "2" + std::string(100000, ')')), 2);
}
