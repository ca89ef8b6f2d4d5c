#include "ScriptTestFixture.h"

#include "script/ScriptText.h"
#include "script/Variables.h"

TEST_F(ScriptTest, VariableReferencesExpand)
{
    AddVariable("hp", "120", 'D');
    EXPECT_EQ(state.ExpandVariablesCopy("hp @(hp)/@(nothing)/5@3 @x @(hp"), "hp 120//5@3 @x 120");
    // Inserted values are not scanned again.
    AddVariable("loop", "@(hp)", 'S');
    EXPECT_EQ(state.ExpandVariablesCopy("@(loop)"), "@(hp)");
}

TEST_F(ScriptTest, VariableNamesCompareTrimmedAndCaseSensitive)
{
    AddVariable(" hp ", "1", 'D');
    EXPECT_NE(FindVariable(state.VariableList, "hp"), nullptr);
    EXPECT_NE(FindVariable(state.VariableList, "\thp  "), nullptr);
    EXPECT_EQ(FindVariable(state.VariableList, "HP"), nullptr);
    EXPECT_EQ(state.ExpandVariablesCopy("@( hp )"), "1");
}

TEST_F(ScriptTest, SystemVariables)
{
    state.CurrentLine = "You see an orc.";
    state.LastLine = "HP 100";
    state.WalkRec.Current = 7;
    const AnsiString text = AnsiString("[@(") + ScriptText::CurrentLineName + ")][@(" + ScriptText::LastLineName +
                            ")][@(" + ScriptText::WalkIndexName + ")]";
    EXPECT_EQ(state.ExpandVariablesCopy(text), "[You see an orc.][HP 100][7]");

    // A user variable hides the system variable of the same name.
    AddVariable(ScriptText::CurrentLineName, "mine", 'S');
    EXPECT_EQ(state.ExpandVariablesCopy(AnsiString("@(") + ScriptText::CurrentLineName + ")"), "mine");
}

TEST_F(ScriptTest, SetVariableTypesAndNormalisesNumbers)
{
    SetVariable(state.VariableList, "n", "12abc", "7x");
    cVariables* n = FindVariable(state.VariableList, "n");
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->Type, 'D');
    EXPECT_EQ(n->Value, "12");
    EXPECT_EQ(n->Dvalue, "7");

    SetVariable(state.VariableList, "s", "abc", "");
    EXPECT_EQ(FindVariable(state.VariableList, "s")->Type, 'S');

    // An existing variable keeps its default; a given type replaces the old one.
    SetVariable(state.VariableList, "n", "99999999999", "1", 'D');
    EXPECT_EQ(n->Value, "2147483647");
    EXPECT_EQ(n->Dvalue, "7");
    SetVariable(state.VariableList, "n", "abc", "", 'S');
    EXPECT_EQ(n->Type, 'S');
    EXPECT_EQ(n->Value, "abc");
    EXPECT_EQ(state.VariableList.Count(), 2);
}

TEST_F(ScriptTest, VariableReadResetAndDelete)
{
    SetVariable(state.VariableList, "n", "5", "3");
    SetVariableValue(state.VariableList, "n", "8 apples");
    EXPECT_EQ(ReadVariable(state.VariableList, "n").value_or(""), "8");
    EXPECT_EQ(FindVariable(state.VariableList, "n")->ReturnText, "8");
    ResetVariable(state.VariableList, "n");
    EXPECT_EQ(LookupVariable(state.VariableList, "n").value_or(""), "3");
    char type = 'x';
    EXPECT_EQ(ConditionVariable(state.VariableList, "n", type).value_or(""), "3");
    EXPECT_EQ(type, 'D');
    DeleteVariable(state.VariableList, "n");
    EXPECT_FALSE(ReadVariable(state.VariableList, "n").has_value());
    EXPECT_FALSE(ConditionVariable(state.VariableList, "n", type).has_value());
    EXPECT_EQ(type, 0);
    DeleteVariable(state.VariableList, "n");  // absent: nothing
}

TEST_F(ScriptTest, ComputeVariableEvaluatesNumbersAndCopiesTexts)
{
    AddVariable("n", "1", 'D');
    AddVariable("s", "old", 'S');
    EXPECT_EQ(ComputeVariable(state, state.VariableList, "n", "", "(1+2)*3.9").value_or(""), "11");
    EXPECT_EQ(ComputeVariable(state, state.VariableList, "n", "", "-7/2").value_or(""), "-3");
    // A failed expression leaves the value.
    EXPECT_EQ(ComputeVariable(state, state.VariableList, "n", "", "1+").value_or(""), "-3");
    // Infinity saturates to the 32-bit range.
    EXPECT_EQ(ComputeVariable(state, state.VariableList, "n", "", "1/0").value_or(""), "2147483647");
    EXPECT_EQ(ComputeVariable(state, state.VariableList, "n", "", "-(2^40)").value_or(""), "-2147483648");
    EXPECT_EQ(ComputeVariable(state, state.VariableList, "s", "!", "1+1").value_or(""), "1+1!");
    EXPECT_FALSE(ComputeVariable(state, state.VariableList, "none", "", "1").has_value());
}

TEST_F(ScriptTest, ExpansionOrderIsAliasesThenFunctionsThenVariables)
{
    // The alias text is expanded first; functions see variable references as written; variables
    // come last, so a function's result may hold a reference that is then expanded.
    AddVariable("who", "orc", 'S');
    AddAlias("k", "kill %1 %case(1,@(who)) %trim( @(who) )");
    Run("k @(who)");
    EXPECT_EQ(Lines(), (Strings{"kill orc orc orc"}));
}
