// Variables, aliases and the "%" functions, and the order in which a command expands them.

#include "ScriptTest.h"
#include "script/Aliases.h"
#include "script/Variables.h"

namespace {

int32_t Number(const AnsiString& text) { return static_cast<int32_t>(std::stol(text)); }

}  // namespace

TEST_F(ScriptTest, VariableReferencesExpand)
{
    AddVariable(" hp ", "120", 'D');
    EXPECT_EQ(state.ExpandVariablesCopy("hp @(hp)/@(nothing)/5@3 @x @(hp"), "hp 120//5@3 @x 120");
    AddVariable("loop", "@(hp)", 'S');
    EXPECT_EQ(state.ExpandVariablesCopy("@(loop)"), "@(hp)");  // inserted values are not scanned again
    // Names compare trimmed and case-sensitive.
    EXPECT_EQ(FindVariable(state.VariableList, "HP"), nullptr);
    EXPECT_EQ(state.ExpandVariablesCopy("@( hp )"), "120");
    // System variables, hidden by a user variable of the same name.
    state.CurrentLine = "You see an orc.";
    state.LastLine = "HP 100";
    state.WalkRec.Current = 7;
    const AnsiString text = AnsiString("[@(") + ScriptText::CurrentLineName + ")][@(" + ScriptText::LastLineName +
        ")][@(" + ScriptText::WalkIndexName + ")]";
    EXPECT_EQ(state.ExpandVariablesCopy(text), "[You see an orc.][HP 100][7]");
    AddVariable(ScriptText::CurrentLineName, "mine", 'S');
    EXPECT_EQ(state.ExpandVariablesCopy(AnsiString("@(") + ScriptText::CurrentLineName + ")"), "mine");
}

TEST_F(ScriptTest, SetVariableTypesAndNormalisesNumbers)
{
    SetVariable(state.VariableList, "n", "12abc", "7x");
    cVariables* n = FindVariable(state.VariableList, "n");
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->Type, 'D');
    EXPECT_EQ(n->Dvalue, "7");
    // An existing variable keeps its default; a given type replaces the old one.
    SetVariable(state.VariableList, "n", "99999999999", "1", 'D');
    EXPECT_EQ(n->Value, "2147483647");
    EXPECT_EQ(n->Dvalue, "7");
    SetVariable(state.VariableList, "n", "abc", "", 'S');
    EXPECT_EQ(n->Type, 'S');
    EXPECT_EQ(state.VariableList.Count(), 1);
}

TEST_F(ScriptTest, VariableReadResetAndDelete)
{
    SetVariable(state.VariableList, "n", "5", "3");
    SetVariableValue(state.VariableList, "n", "8 apples");
    EXPECT_EQ(ReadVariable(state.VariableList, "n").value_or(""), "8");
    ResetVariable(state.VariableList, "n");
    EXPECT_EQ(LookupVariable(state.VariableList, "n").value_or(""), "3");
    char type = 'x';
    EXPECT_EQ(ConditionVariable(state.VariableList, "n", type).value_or(""), "3");
    EXPECT_EQ(type, 'D');
    DeleteVariable(state.VariableList, "n");
    EXPECT_FALSE(ConditionVariable(state.VariableList, "n", type).has_value());
    EXPECT_EQ(type, 0);
}

TEST_F(ScriptTest, ComputeVariableEvaluatesNumbersAndCopiesTexts)
{
    AddVariable("n", "1", 'D');
    AddVariable("s", "old", 'S');
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"n", "(1+2)*3.9", "11"},   {"n", "-7/2", "-3"},
        {"n", "1+", "-3"},                                            // a failed expression leaves the value
        {"n", "1/0", "2147483647"}, {"n", "-(2^40)", "-2147483648"},  // infinity saturates
    };
    for (const auto& [name, expression, value] : cases)
        EXPECT_EQ(ComputeVariable(state, state.VariableList, name, "", expression).value_or(""), value) << expression;
    EXPECT_EQ(ComputeVariable(state, state.VariableList, "s", "!", "1+1").value_or(""), "1+1!");
    EXPECT_FALSE(ComputeVariable(state, state.VariableList, "none", "", "1").has_value());
}

TEST_F(ScriptTest, Aliases)
{
    AddAlias(" k ", "kill %1");  // names compare trimmed and case-sensitive
    AddAlias("a", "say %0");
    AddAlias("two", "%2 and %1 and %3.");
    AddAlias("both", "k %1|k %2");
    AddAlias("", "say empty");  // an empty command calls no alias
    Run("k orc|k|a hello  there|two x y|K|both orc elf|x||y\r\n");
    EXPECT_EQ(
        Lines(),
        (Strings{"kill orc", "kill %1", "say hello  there", "y and x and .", "K", "kill orc", "kill elf", "x", "y"}));
    // Markers; without arguments the text is used as it stands.
    const cAlias* semi = AddAlias("s", "x;1 a;b 100%% %q;");
    EXPECT_EQ(ExpandAlias(state, *semi, "s y"), "xy a%b 100% %q;");
    EXPECT_EQ(ExpandAlias(state, *semi, "s"), "x;1 a;b 100%% %q;");
    // Only a space ends a word of the call.
    EXPECT_EQ(SplitAliasCall(state, "  go  north   fast "), 3);
    EXPECT_EQ(state.AliasWords, (Strings{"north   fast ", "north", "fast"}));
    EXPECT_EQ(SplitAliasCall(state, "go a\tb c"), 3);
    EXPECT_EQ(state.AliasWords[1], "a\tb");
}

TEST_F(ScriptTest, ExpansionOrderIsAliasesThenFunctionsThenVariables)
{
    // Functions see variable references as written; variables come last, so a function's result
    // may hold a reference that is then expanded.
    AddVariable("who", "orc", 'S');
    AddAlias("k", "kill %1 %case(1,@(who)) %trim( @(who) )");
    Run("k @(who)");
    EXPECT_EQ(Lines(), (Strings{"kill orc orc orc"}));
}

TEST_F(ScriptTest, Random)
{
    for (int i = 0; i < 200; ++i) {
        const int32_t one = Number(state.ExpandFunctionsCopy("%random(6)"));
        EXPECT_TRUE(one >= 1 && one <= 6) << one;
        const int32_t down = Number(state.ExpandFunctionsCopy("%random(7,3)"));
        EXPECT_TRUE(down >= 3 && down <= 6) << down;
        EXPECT_GE(Number(state.ExpandFunctionsCopy("%random(5,0)")), 6);
    }
    AddVariable("max", "1", 'D');
    EXPECT_EQ(state.ExpandFunctionsCopy("%random(0) %random(5,5) [%random()] %random(@(max))"), "1 5 [] 1");
    // RandomTakesVariablesAndNeverOverflows: extreme bounds wrap instead of overflowing.
    for (const char* call : {"%random(-2147483648,0)", "%random(2147483647,-2147483648)", "%random(-2147483648)",
                             "%random(-2147483648,2147483647)"})
        EXPECT_FALSE(state.ExpandFunctionsCopy(call).empty()) << call;
}

TEST_F(ScriptTest, Lists)
{
    const auto value = [this](const char* name) { return LookupVariable(state.VariableList, name).value_or("-"); };
    Run("%addlist(L,a)|%addlist(L,b)|%addlist(L,c)");
    EXPECT_EQ(value("L"), "a,b,c");
    EXPECT_EQ(state.ExpandFunctionsCopy("%lenlist(L) %getlist(L,2) %isinlist(L,c) %isinlist(L,z)"), "3 b 1 0");
    // ListOfNumbersKeepsEveryItem: a first item that is a number must not cut the list to it.
    Run("%addlist(N,5)|%addlist(N,6)|%addlist(N,7)");
    EXPECT_EQ(state.ExpandFunctionsCopy("%lenlist(N)"), "3");
    Run("%dellist(N,6)");
    EXPECT_EQ(value("N"), "5,7");
    // Empty and missing lists.
    EXPECT_EQ(state.ExpandFunctionsCopy("[%isinlist(none,a)][%lenlist(none)][%getlist(none,1)]"), "[][][]");
    // Edge cases: removing drops the first equal item and every empty piece.
    AddVariable("M", "a,,b,a", 'S');
    EXPECT_EQ(state.ExpandFunctionsCopy("%lenlist(M)"), "4");
    EXPECT_EQ(state.ExpandFunctionsCopy("[%getlist(M,0)][%getlist(M,9)][%getlist(M,4)]"), "[][][a]");
    Run("%dellist(M,a)");
    EXPECT_EQ(value("M"), "b,a");
    // isinlist( expands variables in its arguments; the others take them as written.
    AddVariable("item", "b", 'S');
    EXPECT_EQ(state.ExpandFunctionsCopy("%isinlist(M,@(item))"), "1");
}

TEST_F(ScriptTest, RegressionListFunctionsChangedAnExistingVariablesType)
{
    Run("#vs n 10|%addlist(n,6)|%dellist(n,6)");
    ASSERT_NE(FindVariable(state.VariableList, "n"), nullptr);
    EXPECT_EQ(FindVariable(state.VariableList, "n")->Type, 'D');
    Run("#if (9 < @(n)) {say more} {say less}");
    EXPECT_EQ(Lines(), (Strings{"say more"}));
}

TEST_F(ScriptTest, AddlistNeverBuildsAValueLongerThanItsLimit)
{
    AddVariable("L", AnsiString(32760, 'x'), 'S');
    Run("%addlist(L,1234567)");
    EXPECT_EQ(LookupVariable(state.VariableList, "L")->size(), 32760u);
    Run("%addlist(L,123456)");
    EXPECT_EQ(LookupVariable(state.VariableList, "L")->size(), 32767u);
}

TEST_F(ScriptTest, Functions)
{
    AddVariable("n", "3", 'D');
    AddVariable("L", "p,q,r", 'S');
    AddVariable("M", "%trim( z )", 'S');
    auto timer = std::make_unique<cTimer>();
    timer->Name = " tick ";
    timer->Countdown = 17;
    state.TimerRecList.Add(std::move(timer));
    state.LoopValue = -4;
    state.WalkRec.Current = 12;
    const std::pair<const char*, const char*> cases[] = {
        {"%case(2,x,y,z)", "y"},
        {"[%case(4,x,y,z)][%case(0,x)]", "[][]"},
        {"%case(@(n),x,y,{a,b})", "a,b"},
        {"%ttc(tick)|%ttc(\ttick )|[%ttc(tock)]|%loopval()|%wi()", "17|17|[]|-4|12"},
        {"%rdir(N) %rdir(\xC0\xA7) [%rdir(up)]", "s \xB9\xD8 []"},
        {"[%trim(  a b  )][%trim(\t\x01x\r)]", "[a b][x]"},
        // Unknown functions stay as written.
        {"%foo(1,2) 50% (x) %trim( y )", "%foo(1,2) 50% (x) y"},
        // Inner and right-most calls expand first; a result is not scanned again for calls.
        {"%getlist(L,%case(2,1,3))", "r"},
        {"%trim( %trim(  x  )y )", "xy"},
        {"%getlist(M,1)", "%trim( z )"},
    };
    for (const auto& [text, expanded] : cases)
        EXPECT_EQ(state.ExpandFunctionsCopy(text), expanded) << text;
}

TEST_F(ScriptTest, RegressionUnclosedCallsMadeExpansionQuadratic)
{
    // The scan now keeps what lies right of each '%'; the results must be those of a plain scan
    // for the matching ')'.
    AnsiString opens;
    for (int i = 0; i < 2000; ++i)
        opens += "%(";
    const std::pair<AnsiString, AnsiString> cases[] = {
        {opens, opens},
        {opens + "%trim( a )", opens + "a"},
        {"%trim(%(a) b)", "%(a) b"},       // an unknown call inside stays as written
        {"%trim((a)%trim( b ))", "(a)b"},  // brackets of a result count for the outer call
        {"%trim(a%trim(b)", "%trim(ab"},   // the outer call is never closed
        {"%case(1,x)y)%(", "xy)%("},
        {"%trim(%case(1,()))", "()"},
    };
    for (const auto& [text, expanded] : cases)
        EXPECT_EQ(state.ExpandFunctionsCopy(text), expanded) << text.substr(0, 40);
    EXPECT_EQ(Messages(), "");
}

TEST_F(ScriptTest, RegressionExpansionStoppedAtItsLimitSaidNothing)
{
    AddVariable("a", AnsiString(600000, 'x'), 'S');
    EXPECT_EQ(state.ExpandVariablesCopy("@(a)@(a)").size(), 600000u);
    EXPECT_EQ(Messages(), ScriptText::TextTooLong);
    host.Clear();
    // A function result that would pass the limit, or a call longer than a call may be, stays.
    AddVariable("L", AnsiString(600000, 'y'), 'S');
    const AnsiString twice = state.ExpandFunctionsCopy("%getlist(L,1)%getlist(L,1)");
    EXPECT_EQ(twice, "%getlist(L,1)" + AnsiString(600000, 'y'));
    const AnsiString longCall = "%trim(" + AnsiString(40000, 'z') + ")";
    EXPECT_EQ(state.ExpandFunctionsCopy(longCall), longCall);
    EXPECT_EQ(Messages(), AnsiString(ScriptText::TextTooLong) + ScriptText::TextTooLong);
}

TEST_F(ScriptTest, ArgumentsInBracesAndManyArguments)
{
    state.SplitArgs("{a,b},c,,d,");
    ASSERT_EQ(state.ArgCount, 5);
    EXPECT_EQ(state.ArgSlots[0].Text, "a,b");
    EXPECT_EQ(state.ArgSlots[4].Text, "d");
    AnsiString many = "5000";
    for (int i = 1; i <= 5000; ++i)
        many += "," + IntToStr(i);
    EXPECT_EQ(state.ExpandFunctionsCopy("%case(" + many + ")"), "5000");
}
