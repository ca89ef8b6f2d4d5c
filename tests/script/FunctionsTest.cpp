#include "ScriptTestFixture.h"

#include "script/Variables.h"

namespace {

int32_t Number(const AnsiString& text) { return static_cast<int32_t>(std::stol(text)); }

} // namespace

TEST_F(ScriptTest, RandomRanges)
{
    for (int i = 0; i < 200; ++i) {
        const int32_t one = Number(state.ExpandFunctionsCopy("%random(6)"));
        EXPECT_GE(one, 1);
        EXPECT_LE(one, 6);
        const int32_t up = Number(state.ExpandFunctionsCopy("%random(3,7)"));
        EXPECT_GE(up, 3);
        EXPECT_LE(up, 6);
        const int32_t down = Number(state.ExpandFunctionsCopy("%random(7,3)"));
        EXPECT_GE(down, 3);
        EXPECT_LE(down, 6);
        EXPECT_GE(Number(state.ExpandFunctionsCopy("%random(5,0)")), 6);
        EXPECT_EQ(Number(state.ExpandFunctionsCopy("%random(4,-1)")) <= 4, true);
    }
    EXPECT_EQ(state.ExpandFunctionsCopy("%random(0)"), "1");
    EXPECT_EQ(state.ExpandFunctionsCopy("%random(5,5)"), "5");
    EXPECT_EQ(state.ExpandFunctionsCopy("[%random()]"), "[]");
}

TEST_F(ScriptTest, RandomTakesVariablesAndNeverOverflows)
{
    AddVariable("max", "1", 'D');
    EXPECT_EQ(state.ExpandFunctionsCopy("%random(@(max))"), "1");
    // Extreme bounds wrap instead of overflowing.
    for (const char* call : {"%random(-2147483648,0)", "%random(2147483647,-2147483648)", "%random(-2147483648)",
                             "%random(-2147483648,2147483647)"})
        EXPECT_FALSE(state.ExpandFunctionsCopy(call).empty()) << call;
}

TEST_F(ScriptTest, ListsAreBuiltAndReadBack)
{
    Run("%addlist(L,a)");
    EXPECT_EQ(LookupVariable(state.VariableList, "L").value_or("-"), "a");
    Run("%addlist(L,b)|%addlist(L,c)");
    EXPECT_EQ(LookupVariable(state.VariableList, "L").value_or("-"), "a,b,c");
    EXPECT_EQ(state.ExpandFunctionsCopy("%lenlist(L) %getlist(L,2) %isinlist(L,c) %isinlist(L,z)"), "3 b 1 0");
    Run("%dellist(L,a)|%dellist(L,c)");
    EXPECT_EQ(LookupVariable(state.VariableList, "L").value_or("-"), "b");
    EXPECT_EQ(state.ExpandFunctionsCopy("%lenlist(L)"), "1");
}

TEST_F(ScriptTest, ListOfNumbersKeepsEveryItem)
{
    // A list whose first item is a number must not be cut down to that number.
    Run("%addlist(N,5)|%addlist(N,6)|%addlist(N,7)");
    EXPECT_EQ(LookupVariable(state.VariableList, "N").value_or("-"), "5,6,7");
    EXPECT_EQ(state.ExpandFunctionsCopy("%lenlist(N)"), "3");
    Run("%dellist(N,6)");
    EXPECT_EQ(LookupVariable(state.VariableList, "N").value_or("-"), "5,7");
}

TEST_F(ScriptTest, EmptyAndMissingLists)
{
    EXPECT_EQ(state.ExpandFunctionsCopy("[%isinlist(none,a)][%lenlist(none)][%getlist(none,1)]"), "[][][]");
    AddVariable("E", "", 'S');
    EXPECT_EQ(state.ExpandFunctionsCopy("[%isinlist(E,a)][%lenlist(E)]"), "[][]");
    Run("%dellist(E,a)");
    EXPECT_EQ(LookupVariable(state.VariableList, "E").value_or("-"), "");
}

TEST_F(ScriptTest, ListEdgeCases)
{
    AddVariable("L", "a,,b,a", 'S');
    EXPECT_EQ(state.ExpandFunctionsCopy("%lenlist(L)"), "4");
    EXPECT_EQ(state.ExpandFunctionsCopy("[%getlist(L,0)][%getlist(L,9)][%getlist(L,4)]"), "[][][a]");
    // Removing drops the first equal item and every empty piece.
    Run("%dellist(L,a)");
    EXPECT_EQ(LookupVariable(state.VariableList, "L").value_or("-"), "b,a");
    // isinlist( expands variables in its arguments; the others take them as written.
    AddVariable("item", "b", 'S');
    EXPECT_EQ(state.ExpandFunctionsCopy("%isinlist(L,@(item))"), "1");
}

TEST_F(ScriptTest, AddlistNeverBuildsAValueLongerThanItsLimit)
{
    AddVariable("L", AnsiString(32760, 'x'), 'S');
    Run("%addlist(L,1234567)");
    EXPECT_EQ(LookupVariable(state.VariableList, "L")->size(), 32760u);
    Run("%addlist(L,123456)");
    EXPECT_EQ(LookupVariable(state.VariableList, "L")->size(), 32767u);
}

TEST_F(ScriptTest, CaseSelectsAnArgument)
{
    EXPECT_EQ(state.ExpandFunctionsCopy("%case(2,x,y,z)"), "y");
    EXPECT_EQ(state.ExpandFunctionsCopy("[%case(4,x,y,z)][%case(0,x)][%case(-1,x)]"), "[][][]");
    AddVariable("n", "3", 'D');
    EXPECT_EQ(state.ExpandFunctionsCopy("%case(@(n),x,y,{a,b})"), "a,b");
}

TEST_F(ScriptTest, TimerLoopAndWalkFunctions)
{
    auto timer = std::make_unique<cTimer>();
    timer->Name = " tick ";
    timer->Countdown = 17;
    state.TimerRecList.Add(std::move(timer));
    state.LoopValue = -4;
    state.WalkRec.Current = 12;
    EXPECT_EQ(state.ExpandFunctionsCopy("%ttc(tick)|%ttc(\ttick )|[%ttc(tock)]|%loopval()|%wi()"), "17|17|[]|-4|12");
}

TEST_F(ScriptTest, RdirAndTrim)
{
    EXPECT_EQ(state.ExpandFunctionsCopy("%rdir(N) %rdir(\xC0\xA7) [%rdir(up)]"), "s \xB9\xD8 []");
    EXPECT_EQ(state.ExpandFunctionsCopy("[%trim(  a b  )][%trim(\t\x01x\r)]"), "[a b][x]");
}

TEST_F(ScriptTest, UnknownFunctionStaysAsWritten)
{
    EXPECT_EQ(state.ExpandFunctionsCopy("%foo(1,2) 50% (x) %trim( y )"), "%foo(1,2) 50% (x) y");
    EXPECT_EQ(state.ExpandFunctionsCopy("%trim(a"), "%trim(a");
}

TEST_F(ScriptTest, InnerAndRightMostCallsExpandFirst)
{
    AddVariable("L", "p,q,r", 'S');
    EXPECT_EQ(state.ExpandFunctionsCopy("%getlist(L,%case(2,1,3))"), "r");
    EXPECT_EQ(state.ExpandFunctionsCopy("%trim( %trim(  x  )y )"), "xy");
    // A result is not scanned again for calls.
    AddVariable("M", "%trim( z )", 'S');
    EXPECT_EQ(state.ExpandFunctionsCopy("%getlist(M,1)"), "%trim( z )");
}

TEST_F(ScriptTest, ArgumentsInBracesAndManyArguments)
{
    state.SplitArgs("{a,b},c,,d,");
    ASSERT_EQ(state.ArgCount, 5);
    EXPECT_EQ(state.ArgSlots[0].Text, "a,b");
    EXPECT_EQ(state.ArgSlots[1].Text, "");
    EXPECT_EQ(state.ArgSlots[4].Text, "d");
    AnsiString many = "5000";
    for (int i = 1; i <= 5000; ++i)
        many += "," + IntToStr(i);
    EXPECT_EQ(state.ExpandFunctionsCopy("%case(" + many + ")"), "5000");
}
