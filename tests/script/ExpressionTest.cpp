// The arithmetic of "#vm" and the conditions of "#if".

#include <cmath>

#include "ScriptTest.h"
#include "script/Variables.h"

namespace {

class ExpressionTest : public ScriptTest {
protected:
    // The value, or NaN when the expression is an error.
    double Eval(const AnsiString& expression)
    {
        int status = -1;
        const double value = state.EvalArithmetic(expression, status);
        EXPECT_TRUE(status == 0 || status == 1);
        if (status == 0) {
            EXPECT_EQ(value, 0.0);
            return NAN;
        }
        return value;
    }
    // 1 or 0 for a condition that evaluates, -1 for an error.
    int Cond(const AnsiString& condition)
    {
        bool error = false;
        const int32_t result = state.EvalCondition(condition, error);
        if (error) {
            EXPECT_EQ(result, 0);
            return -1;
        }
        return result != 0 ? 1 : 0;
    }
    int Value(const AnsiString& condition)
    {
        bool error = false;
        const int32_t result = state.EvalCondition(condition, error);
        EXPECT_FALSE(error) << condition;
        return result;
    }
};

AnsiString Nested(int depth) { return AnsiString(depth, '(') + "1" + AnsiString(depth, ')'); }

}  // namespace

TEST_F(ExpressionTest, Arithmetic)
{
    const std::pair<const char*, double> cases[] = {
        {"1+2*3", 7},       {"(1+2)*3", 9},      {"2^3^2", 512},  // '^' groups from the right
        {"-2^2", 4},                                              // the sign belongs to the 2
        {"10-4-3", 3},      {"2*3^2", 18},       {" 8 / 4 / 2 ", 1},  {"2 - -3", 5},
        {"1.5e-1", 0.15},   {".5", 0.5},         {"3.", 3},           {"SQR(3)", 9},
        {"sqrt(16)", 4},    {"ROUND(2.5)", 3},   {"ROUND(-2.5)", -2}, {"TRUNC(-2.7)", -2},
        {"abs(-4)", 4},     {"pow10(2.9)", 100}, {"log10(1000)", 3},  {"TRUNC(1E100)", 2147483647},
        {"-1/0", INFINITY},  // division by zero: +infinity
    };
    for (const auto& [expression, value] : cases)
        EXPECT_EQ(Eval(expression), value) << expression;
    EXPECT_NEAR(Eval("log(exp(2))"), 2, 1e-12);
    EXPECT_NEAR(Eval("cos(0)+sin(0)+tan(0)+cosh(0)+sinh(0)+tanh(0)"), 2, 1e-12);
    EXPECT_NEAR(Eval("acos(1)+asin(0)+atan(0)"), 0, 1e-12);
    // A fourth exponent digit starts a token of its own, which the grammar does not allow;
    // domain errors give no number and end nothing.
    for (const char* error : {".", "1E1234", "1.2.3", "", "COSX(1)", "--3", "(1+2", "1+2)", "abs 2", "1 2", "sqrt(-1)"})
        EXPECT_TRUE(std::isnan(Eval(error))) << error;
}

TEST_F(ExpressionTest, ArithmeticParseStackHoldsFiftyEntries)
{
    // Each open parenthesis holds one entry above the start entry; the innermost one then holds
    // its expression and its closing parenthesis.
    EXPECT_EQ(Eval(Nested(47)), 1);
    EXPECT_TRUE(std::isnan(Eval(Nested(48))));
    // Right-grouped powers hold two entries a level.
    AnsiString powers = "1";
    for (int i = 0; i < 24; ++i)
        powers += "^1";
    EXPECT_EQ(Eval(powers), 1);
    EXPECT_TRUE(std::isnan(Eval(powers + "^1")));
}

TEST_F(ExpressionTest, Conditions)
{
    AddVariable("hp", "120", 'D');
    AddVariable("name", "orc", 'S');
    state.CaptureCount = 2;
    state.CaptureSlots[0] = {3, "Bob"};
    state.CaptureSlots[1] = {2, "25"};
    const std::pair<const char*, int> cases[] = {
        {"(2 - 1 - 1 = 0)", 1},
        {"(5 == 5)", 1},
        {"(3 <= 3)", 1},
        {"(3 =< 2)", 0},
        {"(4 => 4)", 1},
        {"(3 != 4)", 1},
        {"(3 > 4)", 0},
        {"((1 = 1) & (2 = 3))", 0},
        {"(!(1 = 2))", 1},
        {"(!7)", 0},
        {"(1 = 2 | 3 = 3)", 1},  // comparisons bind tighter than '|'
        // Without outer parentheses.
        {"1 = 2", 0},
        {"(1 = 1) | (2 = 3)", 1},
        {"2 + 3 * 4 = 14", 1},
        {"", 0},
        {"()", 0},
        // Texts; bytes compare unsigned, so a Hangul byte is above every ASCII byte.
        {"(\"ab\" < \"abc\")", 1},
        {"(\"b\" > \"abc\")", 1},
        {"(\"\xB0\xA1\" > \"z\")", 1},
        {"(\"a b\" = \"a b\")", 1},
        {"(\"a\" | \"\")", 1},
        {"(!\"a\")", 0},
        {"(\"\")", 0},
        {"(\"a\" + \"b\")", -1},
        {"(\"unclosed", 1},
        // A number against a text compares as texts; a text against a number as numbers.
        {"(5 = \"5\")", 1},
        {"(10 < \"9\")", 1},
        {"(\"10\" > 9)", 1},
        {"(\"abc\" = 0)", 1},
        {"(@(hp) - 20 = 100)", 1},
        {"(@(name) < \"orca\")", 1},
        // Captures; a capture number beyond the captures is not a token.
        {"(%1 > 10)", 1},
        {"(%0 = \"Bob\")", 1},
        {"(%2 > 10)", -1},
        {"(1 / 0)", -1},
        {"(1 # 2)", -1},
        {"(1 = )", -1},
        {"1 = 1)", -1},
        {"(-1 < 0)", -1},  // no sign on numbers: '-' needs a left operand
    };
    for (const auto& [condition, result] : cases)
        EXPECT_EQ(Cond(condition), result) << condition;
    EXPECT_EQ(host.Count(TScriptEvent::MessageBox), 0);
    // ArithmeticWrapsAndDivisionByZeroFails: values wrap at 32 bits.
    const std::pair<const char*, int32_t> values[] = {
        {"(8 / 2 / 2)", 2},
        {"(7 / 2)", 3},
        {"(2147483647 + 1)", INT32_MIN},
        {"(65536 * 65536)", 0},
        {"((0 - 2147483647 - 1) / (0 - 1))", INT32_MIN},
        {"(99999999999 = 2147483647)", 1},
    };
    for (const auto& [condition, value] : values)
        EXPECT_EQ(Value(condition), value) << condition;
}

TEST_F(ExpressionTest, ConditionQueueLimits)
{
    EXPECT_EQ(Cond(Nested(49)), 1);
    EXPECT_EQ(Cond(Nested(50)), -1);
    AnsiString sum = "(1";
    for (int i = 1; i < 25; ++i)
        sum += " + 1";
    EXPECT_EQ(Value(sum + ")"), 25);  // 25 numbers and 24 operators: 49 entries
    EXPECT_EQ(Cond(sum + " + 1)"), -1);
}

TEST_F(ExpressionTest, MissingVariableIsReportedAndReadsAsEmptyText)
{
    state.CurrentLine = "the line";
    EXPECT_EQ(Cond("(@(gone) = \"\")"), 1);
    EXPECT_EQ(Boxes(), Strings{Format(ScriptText::MissingConditionVariable, "the line", "gone")});
    // MissingVariableMessageHoldsALongLine
    host.Clear();
    state.CurrentLine = AnsiString(20000, 'L');
    EXPECT_EQ(Cond("(@(gone) = \"\")"), 1);
    ASSERT_EQ(host.Count(TScriptEvent::MessageBox), 1);
    EXPECT_NE(host.Events[0].Name.find(state.CurrentLine), AnsiString::npos);
    // MessageBoxInsideAPassDoesNotStopIt
    host.Clear();
    Run("#if (@(gone) = \"\") {say empty} {say full}|say after");
    EXPECT_EQ(host.Count(TScriptEvent::MessageBox), 1);
    EXPECT_EQ(Lines(), (Strings{"say empty", "say after"}));
}

TEST_F(ScriptTest, IfRunsTheGroupTheConditionChooses)
{
    Run("#if (1 = 1) {say yes} {say no}|#if (1 = 2) {say yes} {say no}|#if (1 = 2) {say yes}|after");
    Run("#if (1) {x|y} {z}|next");          // both groups kept, the next command runs
    Run("#if (1 ? 2) {say yes} {say no}");  // a bad condition runs the else group
    EXPECT_EQ(Lines(), (Strings{"say yes", "say no", "after", "x", "y", "next", "say no"}));
    // Before its first group an "#if" runs on across separators, so "after" is part of it.
    host.Clear();
    Run("#if (1)|after");
    Run("#if (1) {say x");
    EXPECT_TRUE(Sends().empty());
    // Only the functions of the branch taken run; conditions use functions and variables.
    Run("#if (1 = 1) {%addlist(taken,x)} {%addlist(skipped,x)}");
    EXPECT_NE(FindVariable(state.VariableList, "taken"), nullptr);
    EXPECT_EQ(FindVariable(state.VariableList, "skipped"), nullptr);
    AddVariable("L", "a,b,c", 'S');
    Run("#if (%lenlist(L) = 3) {say three} {say other}");
    Run("#if (@(L) = \"a,b,c\") {say same}");
    EXPECT_EQ(Lines(), (Strings{"say three", "say same"}));
}
