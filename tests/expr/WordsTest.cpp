// The words an expression is made of, and the collection that orders them.
#include <cmath>

#include "ExprTestSupport.h"
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

    TExprCollection& Set(const char* pattern)
    {
        Words.Clear();
        for (const char* p = pattern; *p; ++p)
            Words.AddWord(*p == '('       ? static_cast<TExprWord*>(&Left)
                              : *p == ')' ? &Right
                              : *p == 'a' ? &A
                              : *p == 'b' ? static_cast<TExprWord*>(&B)
                                          : &Plus);
        return Words;
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

TEST(ExpressionWords, StringConstantsDropTheirQuotesOnly)
{
    const StrCase constants[] = {{"'abc'", "abc"}, {"abc", "abc"}, {"''", ""}, {"'", "'"}};
    for (const StrCase& c : constants)
        EXPECT_EQ(TStringConstant(c.Text).GetAsString(), c.Want) << c.Text;
    EXPECT_EQ(TStringConstant("'abc'").GetVarType(), vtString);
}

TEST(ExpressionWords, ConstantsVariablesAndTheirTypes)
{
    TDoubleConstant c("2.5");
    EXPECT_DOUBLE_EQ(*c.AsPointer(), 2.5);
    EXPECT_TRUE(std::isnan(TDoubleConstant("12abc").Value));
    EXPECT_EQ(TDoubleConstant("1e-999").Value, 0.0);
    EXPECT_FALSE(c.GetCanVary());
    TGeneratedVariable g("Unknown");
    EXPECT_EQ(g.Name, "unknown");
    EXPECT_TRUE(g.GetCanVary());
    EXPECT_FALSE(TFunction("f", &Nothing, 1).IsVariableOrConstant());
}

TEST(ExpressionWords, RegressionStringComparisonWithAVariableCanVary)
{
    AnsiString text = "x";
    TStringVariable v("v", &text);
    TStringConstant c("'x'");
    EXPECT_TRUE(TLogicalStringOper("=", &v, &c).GetCanVary());
    EXPECT_FALSE(TLogicalStringOper("=", &c, &c).GetCanVary());
}

TEST(ExpressionCollection, BracketsAreErasedCheckedAndSkipped)
{
    Sequence s;
    // Extra brackets go only when the first matches the last.
    const StrCase erased[] = {{"((a))", "a"}, {"((a)+(b))", "(a)+(b)"}};
    for (const StrCase& c : erased) {
        s.Set(c.Text).EraseExtraBrackets();
        EXPECT_EQ(s.Names(), c.Want) << c.Text;
    }
    EXPECT_NO_THROW(s.Set("((a)+b)").Check());
    for (const char* bad : {"(a", "(a))", ")a("})
        EXPECT_EQ(ErrorOf([&] { s.Set(bad).Check(); }), "Unequal brackets") << bad;
    EXPECT_EQ(s.Set("(a+b)+a").NextOper(0), 5);
    EXPECT_EQ(s.Words.NextOper(1), 2);  // inside the bracket, relative to its start
    EXPECT_EQ(s.Set("(a)").NextOper(0), 3);
}
