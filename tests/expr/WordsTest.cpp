#include <gtest/gtest.h>

#include <cmath>

#include "expr/Parseclass.h"

namespace {

void Nothing(TExpressionRec*) {}

// Fills a collection from words owned by the test.
struct Sequence {
    TLeftBracket Left{"("};
    TRightBracket Right{")"};
    TDoubleConstant A{"a", 1};
    TDoubleConstant B{"b", 2};
    TFunction Plus{"+", &Nothing, 40, true, 2};
    TExprCollection Words{8};

    void Set(const char* pattern)
    {
        Words.Clear();
        for (const char* p = pattern; *p; ++p) {
            switch (*p) {
            case '(': Words.AddWord(&Left); break;
            case ')': Words.AddWord(&Right); break;
            case 'a': Words.AddWord(&A); break;
            case 'b': Words.AddWord(&B); break;
            case '+': Words.AddWord(&Plus); break;
            }
        }
    }
    std::string Names() const
    {
        std::string s;
        for (int i = 0; i < Words.Count(); ++i)
            s += Words.Words(i)->Name;
        return s;
    }
};

}  // namespace

TEST(ExpressionWords, FunctionOfFiveArgumentsIsRefused)
{
    try {
        TFunction f("f", &Nothing, 5);
        FAIL() << "no exception";
    } catch (const EParserException& e) {
        EXPECT_EQ(e.Message, "Too many arguments");
    }
    TFunction four("g", &Nothing, 4);
    EXPECT_EQ(four.GetNFunctionArg(), 4);
    EXPECT_FALSE(four.GetIsOper());
}

TEST(ExpressionWords, StringConstantDropsItsQuotesOnly)
{
    EXPECT_EQ(TStringConstant("'abc'").GetAsString(), "abc");
    EXPECT_EQ(TStringConstant("abc").GetAsString(), "abc");
    EXPECT_EQ(TStringConstant("''").GetAsString(), "");
    EXPECT_EQ(TStringConstant("'").GetAsString(), "'");
    EXPECT_EQ(TStringConstant("'Mixed Case'").GetAsString(), "Mixed Case");
    EXPECT_EQ(TStringConstant("'abc'").GetVarType(), vtString);
}

TEST(ExpressionWords, StringVariableReadsTheCallersTextWithoutQuotes)
{
    AnsiString text = "'quoted'";
    TStringVariable v("S", &text);
    EXPECT_EQ(v.Name, "s");
    EXPECT_EQ(v.GetAsString(), "quoted");
    text = "plain";
    EXPECT_EQ(v.GetAsString(), "plain");
    EXPECT_TRUE(v.GetCanVary());
}

TEST(ExpressionWords, ConstantsVariablesAndTheirTypes)
{
    TDoubleConstant c("2.5");
    EXPECT_DOUBLE_EQ(*c.AsPointer(), 2.5);
    EXPECT_TRUE(std::isnan(TDoubleConstant("").Value));
    EXPECT_TRUE(std::isnan(TDoubleConstant("12abc").Value));
    EXPECT_TRUE(std::isinf(TDoubleConstant("1e999").Value));
    EXPECT_EQ(TDoubleConstant("1e-999").Value, 0.0);
    EXPECT_TRUE(c.IsVariableOrConstant());
    EXPECT_FALSE(c.GetCanVary());

    EXPECT_EQ(TBooleanConstant("b", 1).GetVarType(), vtBoolean);
    TGeneratedVariable g("Unknown");
    EXPECT_EQ(g.Name, "unknown");
    EXPECT_TRUE(std::isnan(g.Value));
    EXPECT_TRUE(g.GetCanVary());
    g.VarType = vtString;
    g.AsString = "text";
    EXPECT_EQ(g.GetVarType(), vtString);
    EXPECT_EQ(g.GetAsString(), "text");

    double x = 3;
    TDoubleVariable v("x", &x);
    EXPECT_EQ(v.AsPointer(), &x);
    EXPECT_TRUE(v.GetCanVary());
    EXPECT_FALSE(TFunction("f", &Nothing, 1).IsVariableOrConstant());
}

TEST(ExpressionWords, StringComparisonOperators)
{
    TStringConstant abc("'abc'");
    TStringConstant abd("'abd'");
    TStringConstant upper("'ABC'");
    auto holds = [](const char* op, TExprWord& l, TExprWord& r) { return TLogicalStringOper(op, &l, &r).Evaluate(); };
    EXPECT_TRUE(holds("=", abc, abc));
    EXPECT_FALSE(holds("=", abc, upper));
    EXPECT_TRUE(holds("<", abc, abd));
    EXPECT_TRUE(holds(">", abd, abc));
    EXPECT_TRUE(holds(">", abc, upper));  // byte order: lower case after upper case
    EXPECT_TRUE(holds(">=", abc, abc));
    EXPECT_FALSE(holds(">=", abc, abd));
    EXPECT_TRUE(holds("<=", abc, abd));
    EXPECT_FALSE(holds("<=", abd, abc));

    TExpressionRec rec;
    TLogicalStringOper word("<", &abc, &abd);
    rec.ExprFunc = word.ExprFunc;
    rec.ExprWord = &word;
    rec.ExprFunc(&rec);
    EXPECT_EQ(rec.Res, 1.0);
    EXPECT_EQ(word.GetVarType(), vtBoolean);

    try {
        TLogicalStringOper bad("<>", &abc, &abd);
        FAIL() << "no exception";
    } catch (const EParserException& e) {
        EXPECT_EQ(e.Message, "<> is not a valid string operand");
    }
}

TEST(ExpressionWords, RegressionStringComparisonWithAVariableCanVary)
{
    AnsiString text = "x";
    TStringVariable v("v", &text);
    TStringConstant c("'x'");
    EXPECT_TRUE(TLogicalStringOper("=", &v, &c).GetCanVary());
    EXPECT_FALSE(TLogicalStringOper("=", &c, &c).GetCanVary());
}

TEST(ExpressionCollection, EraseExtraBracketsOnlyWhenTheFirstMatchesTheLast)
{
    Sequence s;
    s.Set("((a))");
    s.Words.EraseExtraBrackets();
    EXPECT_EQ(s.Names(), "a");

    s.Set("(a)+(b)");
    s.Words.EraseExtraBrackets();
    EXPECT_EQ(s.Names(), "(a)+(b)");

    s.Set("((a)+(b))");
    s.Words.EraseExtraBrackets();
    EXPECT_EQ(s.Names(), "(a)+(b)");
}

TEST(ExpressionCollection, CheckCountsBrackets)
{
    Sequence s;
    s.Set("((a)+b)");
    EXPECT_NO_THROW(s.Words.Check());
    for (const char* bad : {"(a", "a)", "(a))", ")a("}) {
        s.Set(bad);
        try {
            s.Words.Check();
            ADD_FAILURE() << bad << ": no exception";
        } catch (const EParserException& e) {
            EXPECT_EQ(e.Message, "Unequal brackets") << bad;
        }
    }
}

TEST(ExpressionCollection, NextOperSkipsBracketedWords)
{
    Sequence s;
    s.Set("(a+b)+a");
    EXPECT_EQ(s.Words.NextOper(0), 5);
    EXPECT_EQ(s.Words.NextOper(1), 2);  // inside the bracket, relative to its start
    s.Set("(a)");
    EXPECT_EQ(s.Words.NextOper(0), 3);
}
