#include "ScriptTestFixture.h"

#include "script/ScriptText.h"
#include "script/Variables.h"

namespace {

class ConditionTest : public ScriptTest {
protected:
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

} // namespace

TEST_F(ConditionTest, NumbersAndPrecedence)
{
    EXPECT_EQ(Cond("(1 + 2 * 3 = 7)"), 1);
    EXPECT_EQ(Cond("(2 - 1 - 1 = 0)"), 1);
    EXPECT_EQ(Value("(8 / 2 / 2)"), 2);
    EXPECT_EQ(Value("(7 / 2)"), 3);
    EXPECT_EQ(Cond("(5 == 5)"), 1);
    EXPECT_EQ(Cond("(5 = 5)"), 1);
    EXPECT_EQ(Cond("(3 <= 3)"), 1);
    EXPECT_EQ(Cond("(3 =< 2)"), 0);
    EXPECT_EQ(Cond("(3 >= 4)"), 0);
    EXPECT_EQ(Cond("(4 => 4)"), 1);
    EXPECT_EQ(Cond("(3 != 4)"), 1);
    EXPECT_EQ(Cond("(3 > 4)"), 0);
    EXPECT_EQ(Cond("(3 < 4)"), 1);
}

TEST_F(ConditionTest, LogicalOperators)
{
    EXPECT_EQ(Cond("((1 = 1) & (2 = 3))"), 0);
    EXPECT_EQ(Cond("((1 = 1) | (2 = 3))"), 1);
    EXPECT_EQ(Cond("(!(1 = 2))"), 1);
    EXPECT_EQ(Cond("(!0)"), 1);
    EXPECT_EQ(Cond("(!7)"), 0);
    EXPECT_EQ(Cond("(1 = 2 | 3 = 3)"), 1);  // comparisons bind tighter than '|'
}

TEST_F(ConditionTest, ConditionsWithoutOuterParentheses)
{
    EXPECT_EQ(Cond("1 = 2"), 0);
    EXPECT_EQ(Cond("1 = 1"), 1);
    EXPECT_EQ(Cond("(1 = 1) | (2 = 3)"), 1);
    EXPECT_EQ(Cond("2 + 3 * 4 = 14"), 1);
    EXPECT_EQ(Cond(""), 0);
    EXPECT_EQ(Cond("()"), 0);
}

TEST_F(ConditionTest, Texts)
{
    EXPECT_EQ(Cond("(\"abc\" < \"abd\")"), 1);
    EXPECT_EQ(Cond("(\"ab\" < \"abc\")"), 1);
    EXPECT_EQ(Cond("(\"b\" > \"abc\")"), 1);
    // Bytes compare unsigned: a Hangul byte is above every ASCII byte.
    EXPECT_EQ(Cond("(\"\xB0\xA1\" > \"z\")"), 1);
    EXPECT_EQ(Cond("(\"a b\" = \"a b\")"), 1);
    EXPECT_EQ(Cond("((\"a\" = \"a\") & (\"b\" = \"c\"))"), 0);
    EXPECT_EQ(Cond("(\"a\" | \"\")"), 1);
    EXPECT_EQ(Cond("(!\"a\")"), 0);
    EXPECT_EQ(Cond("(\"x\")"), 1);
    EXPECT_EQ(Cond("(\"\")"), 0);
    EXPECT_EQ(Cond("(\"a\" + \"b\")"), -1);
    EXPECT_EQ(Cond("(\"unclosed"), 1);
}

TEST_F(ConditionTest, MixedNumberAndTextComparisons)
{
    // A number against a text compares as texts; a text against a number compares as numbers.
    EXPECT_EQ(Cond("(5 = \"5\")"), 1);
    EXPECT_EQ(Cond("(10 < \"9\")"), 1);
    EXPECT_EQ(Cond("(\"10\" > 9)"), 1);
    EXPECT_EQ(Cond("(\"abc\" = 0)"), 1);
}

TEST_F(ConditionTest, Variables)
{
    AddVariable("hp", "120", 'D');
    AddVariable("name", "orc", 'S');
    EXPECT_EQ(Cond("(@(hp) > 100)"), 1);
    EXPECT_EQ(Cond("(@(hp) - 20 = 100)"), 1);
    EXPECT_EQ(Cond("(@(name) = \"orc\")"), 1);
    EXPECT_EQ(Cond("(@(name) < \"orca\")"), 1);
    EXPECT_EQ(host.Count(TScriptEvent::MessageBox), 0);
}

TEST_F(ConditionTest, MissingVariableIsReportedAndReadsAsEmptyText)
{
    state.CurrentLine = "the line";
    EXPECT_EQ(Cond("(@(gone) = \"\")"), 1);
    ASSERT_EQ(host.Count(TScriptEvent::MessageBox), 1);
    EXPECT_EQ(host.Events[0].Text, ScriptText::ErrorCaption);
    EXPECT_EQ(host.Events[0].Name, Format(ScriptText::MissingConditionVariable, "the line", "gone"));
}

TEST_F(ConditionTest, MissingVariableMessageHoldsALongLine)
{
    state.CurrentLine = AnsiString(20000, 'L');
    EXPECT_EQ(Cond("(@(gone) = \"\")"), 1);
    ASSERT_EQ(host.Count(TScriptEvent::MessageBox), 1);
    EXPECT_NE(host.Events[0].Name.find(state.CurrentLine), AnsiString::npos);
}

TEST_F(ConditionTest, Captures)
{
    state.CaptureCount = 2;
    state.CaptureSlots[0] = {3, "Bob"};
    state.CaptureSlots[1] = {2, "25"};
    EXPECT_EQ(Cond("(%1 > 10)"), 1);
    EXPECT_EQ(Cond("(%0 = \"Bob\")"), 1);
    // A capture number beyond the captures is not a token.
    EXPECT_EQ(Cond("(%2 > 10)"), -1);
}

TEST_F(ConditionTest, ArithmeticWrapsAndDivisionByZeroFails)
{
    EXPECT_EQ(Value("(2147483647 + 1)"), INT32_MIN);
    EXPECT_EQ(Value("(65536 * 65536)"), 0);
    EXPECT_EQ(Value("(0 - 2147483647 - 1 / 1)"), INT32_MIN);
    EXPECT_EQ(Value("((0 - 2147483647 - 1) / (0 - 1))"), INT32_MIN);
    EXPECT_EQ(Cond("(1 / 0)"), -1);
    EXPECT_EQ(Value("(99999999999 = 2147483647)"), 1);
}

TEST_F(ConditionTest, BadConditions)
{
    EXPECT_EQ(Cond("(1 # 2)"), -1);
    EXPECT_EQ(Cond("(1 = )"), -1);
    EXPECT_EQ(Cond("(= 1)"), -1);
    EXPECT_EQ(Cond("1 = 1)"), -1);
    EXPECT_EQ(Cond("(-1 < 0)"), -1);  // no sign on numbers: '-' needs a left operand
}

TEST_F(ConditionTest, NestedParenthesesUpToTheQueueLimit)
{
    const auto nested = [](int depth) { return AnsiString(depth, '(') + "1" + AnsiString(depth, ')'); };
    EXPECT_EQ(Cond(nested(49)), 1);
    EXPECT_EQ(Cond(nested(50)), -1);
}

TEST_F(ConditionTest, LongSumsOverflowTheQueue)
{
    AnsiString sum = "(1";
    for (int i = 1; i < 25; ++i)
        sum += " + 1";
    EXPECT_EQ(Value(sum + ")"), 25);  // 25 numbers and 24 operators: 49 entries
    EXPECT_EQ(Cond(sum + " + 1)"), -1);
    AnsiString fifty = "(1";
    for (int i = 1; i < 50; ++i)
        fifty += " + 1";
    EXPECT_EQ(Cond(fifty + ")"), -1);
}

TEST_F(ScriptTest, IfRunsTheGroupTheConditionChooses)
{
    Run("#if (1 = 1) {say yes} {say no}|#if (1 = 2) {say yes} {say no}|#if (1 = 2) {say yes}|after");
    EXPECT_EQ(Lines(), (Strings{"say yes", "say no", "after"}));
}

TEST_F(ScriptTest, IfKeepsBothGroupsAndRunsTheNextCommand)
{
    Run("#if (1) {x|y} {z}|next");
    EXPECT_EQ(Lines(), (Strings{"x", "y", "next"}));
}

TEST_F(ScriptTest, IfWithBadConditionRunsTheElseGroup)
{
    Run("#if (1 ? 2) {say yes} {say no}");
    EXPECT_EQ(Lines(), (Strings{"say no"}));
}

TEST_F(ScriptTest, IfWithoutGroupsRunsNothing)
{
    // Before its first group an "#if" runs on across separators, so "after" is part of it.
    Run("#if (1)|after");
    Run("#if (1) say x");
    Run("#if (1) {say x");
    EXPECT_TRUE(Sends().empty());
}

TEST_F(ScriptTest, IfGroupsWithEscapedBraces)
{
    Run("#if (1) {say \\{a\\}} {say b}");
    EXPECT_EQ(Lines(), (Strings{"say \\{a\\}"}));
}

TEST_F(ScriptTest, IfRunsOnlyTheFunctionsOfTheBranchTaken)
{
    Run("#if (1 = 1) {%addlist(taken,x)} {%addlist(skipped,x)}");
    EXPECT_NE(FindVariable(state.VariableList, "taken"), nullptr);
    EXPECT_EQ(FindVariable(state.VariableList, "skipped"), nullptr);
}

TEST_F(ScriptTest, IfConditionUsesFunctionsAndVariables)
{
    AddVariable("L", "a,b,c", 'S');
    Run("#if (%lenlist(L) = 3) {say three} {say other}");
    Run("#if (@(L) = \"a,b,c\") {say same}");
    EXPECT_EQ(Lines(), (Strings{"say three", "say same"}));
}

TEST_F(ScriptTest, MessageBoxInsideAPassDoesNotStopIt)
{
    Run("#if (@(gone) = \"\") {say empty} {say full}|say after");
    EXPECT_EQ(host.Count(TScriptEvent::MessageBox), 1);
    EXPECT_EQ(Lines(), (Strings{"say empty", "say after"}));
}
