#pragma once
// Small helpers shared by the expression tests: results, compile errors, and tables of cases.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "expr/Parseexpr.h"

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The value of text as GetAsString gives it.
inline AnsiString Calc(TExpressionParser& parser, const AnsiString& text)
{
    return parser.GetAsString(parser.AddExpression(text));
}

// The message of the parser exception fn raises, or "<no error>".
template <class F>
std::string ErrorOf(F fn)
{
    try {
        fn();
    } catch (const EParserException& e) {
        return e.Message;
    }
    return "<no error>";
}

// The message of the parser exception text raises while compiling, or "<no error>".
inline std::string CompileError(TExpressionParser& parser, const AnsiString& text)
{
    return ErrorOf([&] { parser.AddExpression(text); });
}

// A text and its value: exact unless Tol is given; kNaN stands for "not a number".
struct NumCase {
    const char* Text;
    double Want;
    double Tol = 0;
};
// A text and what it gives as a string (or, for error tables, the compile message).
struct StrCase {
    const char* Text;
    std::string Want;
};
// Cases that share a fresh parser, under a label.
template <class C>
struct CaseGroup {
    const char* Label;
    std::vector<C> Cases;
};
// A group prints as its label, and a table of groups names each of its cases after it.
template <class C>
void PrintTo(const CaseGroup<C>& g, std::ostream* os)
{
    *os << g.Label;
}
template <class C>
std::string GroupName(const ::testing::TestParamInfo<CaseGroup<C>>& info)
{
    return info.param.Label;
}

inline void ExpectValues(TExpressionParser& p, const std::vector<NumCase>& cases)
{
    for (const NumCase& c : cases) {
        const double got = p.Evaluate(c.Text);
        if (std::isnan(c.Want))
            EXPECT_TRUE(std::isnan(got)) << c.Text << " gave " << got;
        else if (c.Tol > 0)
            EXPECT_NEAR(got, c.Want, c.Tol) << c.Text;
        else
            EXPECT_EQ(got, c.Want) << c.Text;
    }
}

// The string results, or with errors set the compile messages, of the texts.
inline void ExpectStrings(TExpressionParser& p, const std::vector<StrCase>& cases, bool errors = false)
{
    for (const StrCase& c : cases)
        EXPECT_EQ(errors ? CompileError(p, c.Text) : std::string(Calc(p, c.Text)), c.Want) << c.Text;
}
