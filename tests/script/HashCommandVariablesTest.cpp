// The variable words: set, set to zero, compute, reset, read and delete.

#include "HashCommandTest.h"
#include "script/Variables.h"

namespace {

// "TYPE VALUE DEFAULT", or "-" when there is no such variable.
std::string Show(const TScriptState& state, const char* name)
{
    const cVariables* v = FindVariable(state.VariableList, name);
    if (!v)
        return "-";
    return std::string(1, v->Type) + " " + v->Value + " " + v->Dvalue;
}

} // namespace

TEST_F(HashCommandTest, SetTakesValueDefaultAndType)
{
    Run("#vs hp 120,100");
    EXPECT_EQ(Show(state, "hp"), "D 120 100");
    Run("#vs name Bob");
    EXPECT_EQ(Show(state, "name"), "S Bob ");
    // The fourth word gives the type: a text that begins with a digit.
    Run("#vs code 12abc,,S");
    EXPECT_EQ(Show(state, "code"), "S 12abc ");
    Run("#vs n 12abc,7x");
    EXPECT_EQ(Show(state, "n"), "D 12 7");
    // An existing variable keeps its default.
    Run("#vs hp 80,5");
    EXPECT_EQ(Show(state, "hp"), "D 80 100");
    // Value missing: empty.
    Run("#vs blank");
    EXPECT_EQ(Show(state, "blank"), "S  ");
    // A value with blanks, given as one word.
    Run("#vs said {hello there, you}");
    EXPECT_EQ(Show(state, "said"), "S hello there, you ");
    // Without a name nothing is made.
    const int count = state.VariableList.Count();
    Run("#vs");
    EXPECT_EQ(state.VariableList.Count(), count);
    EXPECT_EQ(Messages(), "");
}

TEST_F(HashCommandTest, SetToZeroMakesANumericVariable)
{
    Run("#vns kills");
    EXPECT_EQ(Show(state, "kills"), "D 0 0");
    Run("#vs kills 5|#vns kills");
    EXPECT_EQ(Show(state, "kills"), "D 0 0");
    Run("#vns");
    EXPECT_EQ(state.VariableList.Count(), 1);
}

TEST_F(HashCommandTest, ComputeNumericAndTextVariables)
{
    Run("#vs hp 100|#vm hp @(hp)+2*10");
    EXPECT_EQ(Show(state, "hp"), "D 120 0");
    Run("#vm hp 7/2");
    EXPECT_EQ(Show(state, "hp"), "D 3 0");
    Run("#vm hp (1+");  // an expression that fails leaves the value
    EXPECT_EQ(Show(state, "hp"), "D 3 0");
    Run("#vs who Bob|#vm who Alice,{ and Bob}");
    EXPECT_EQ(Show(state, "who"), "S Alice and Bob ");
    Run("#vm nobody 1+1|#vm");
    EXPECT_EQ(Show(state, "nobody"), "-");
}

TEST_F(HashCommandTest, ResetReadAndDelete)
{
    Run("#vs hp 120,100|#vsd hp");
    EXPECT_EQ(Show(state, "hp"), "D 100 100");
    // Reading hands the value out and shows nothing.
    Run("#vs hp 42|#vr hp");
    EXPECT_EQ(FindVariable(state.VariableList, "hp")->ReturnText, "42");
    Run("#vd hp");
    EXPECT_EQ(Show(state, "hp"), "-");
    Run("#vd hp|#vr hp|#vsd hp|#vd|#vr|#vsd");
    EXPECT_TRUE(host.Events.empty());
}

TEST_F(HashCommandTest, VariableWordsFromATriggerAction)
{
    AddTrigger("hp", "hp %d/%d", "#vs hp %0|#vm hp @(hp)*100/%1");
    Receive("hp 50/200\r\n");
    EXPECT_EQ(Show(state, "hp"), "D 25 0");
}
