#include "ScriptTestFixture.h"

#include "script/ScriptText.h"
#include "script/Variables.h"

// ---- splitting and sending ----

TEST_F(ScriptTest, TypedLineSendsEachCommandWithLineEnd)
{
    EXPECT_TRUE(Run("say hi|north\r\n"));
    EXPECT_EQ(Sends(), (Strings{"say hi", "\r\n", "north", "\r\n"}));
}

TEST_F(ScriptTest, EmptyCommandsSendNothing)
{
    EXPECT_TRUE(Run("a||\r\n|b"));
    EXPECT_EQ(Lines(), (Strings{"a", "b"}));
    EXPECT_TRUE(Run(""));
    EXPECT_TRUE(Run("   "));
    EXPECT_EQ(Lines().size(), 2u);
}

TEST_F(ScriptTest, GroupCommandIsSentWithItsBraces)
{
    Run("say {a|b}c|d");
    EXPECT_EQ(Lines(), (Strings{"say {a|b}", "d"}));
}

TEST_F(ScriptTest, NothingIsSentWhileDisconnected)
{
    host.Connected = false;
    Run("say hi|#xyz");
    EXPECT_TRUE(Sends().empty());
    // Engine messages are the window's business, connected or not.
    EXPECT_FALSE(Messages().empty());
}

// ---- raw lines ----

TEST_F(ScriptTest, RawTextGoesUnchangedAndStops)
{
    EXPECT_FALSE(Run("  \\say $E hi|b"));
    EXPECT_EQ(Sends(), (Strings{"say $E hi|b"}));
}

TEST_F(ScriptTest, RawCommandInAListIsSentWithoutLineEnd)
{
    EXPECT_TRUE(Run("a|\\b $E|c"));
    EXPECT_EQ(Sends(), (Strings{"a", "\r\n", "b $E", "c", "\r\n"}));
}

TEST_F(ScriptTest, AliasOfRawTextStopsItsCaller)
{
    AddAlias("k", "\\kick");
    EXPECT_FALSE(Run("k|after"));
    EXPECT_EQ(Sends(), (Strings{"kick"}));
}

// ---- #break ----

TEST_F(ScriptTest, BreakDropsTheRestAndStops)
{
    EXPECT_FALSE(Run("a|#break|b"));
    EXPECT_EQ(Lines(), (Strings{"a"}));
}

TEST_F(ScriptTest, BreakInsideAliasesStopsEveryCaller)
{
    AddAlias("inner", "x|#break|y");
    AddAlias("outer", "inner|after inner");
    EXPECT_FALSE(Run("outer|after outer"));
    EXPECT_EQ(Lines(), (Strings{"x"}));
}

TEST_F(ScriptTest, BreakInsideIfBranchStopsOnlyTheCurrentText)
{
    AddAlias("k", "#if (1) {x|#break|y}|next");
    EXPECT_TRUE(Run("k|after"));
    EXPECT_EQ(Lines(), (Strings{"x", "after"}));
}

// ---- keywords ----

TEST_F(ScriptTest, RemarksAreIgnored)
{
    Run("#rem say hi|#remark too|a");
    EXPECT_EQ(Lines(), (Strings{"a"}));
}

TEST_F(ScriptTest, SendSendsTheRestAsALine)
{
    Run("#send hello there|#send|#send ##x");
    EXPECT_EQ(Lines(), (Strings{"hello there", "##x"}));
}

TEST_F(ScriptTest, AliasTakesThePlaceOfAKeyword)
{
    AddAlias("#rem", "say overridden");
    Run("#rem");
    EXPECT_EQ(Lines(), (Strings{"say overridden"}));
}

TEST_F(ScriptTest, UnknownHashWordIsReported)
{
    Run("#xyz 1 2");
    EXPECT_EQ(Messages(), AnsiString("xyz") + ScriptText::UnknownCommand);
    EXPECT_TRUE(Sends().empty());
    // Two '#' make a line for the game.
    Run("##xyz");
    EXPECT_EQ(Lines(), (Strings{"##xyz"}));
}

TEST_F(ScriptTest, TsWithTooFewArgumentsReportsAndDropsTheRest)
{
    EXPECT_TRUE(Run("a|#ts n,p,act|b"));
    EXPECT_EQ(Lines(), (Strings{"a"}));
    EXPECT_EQ(Messages(), ScriptText::TriggerArgsTooFew);
    EXPECT_EQ(state.TriggerList.Count(), 0);
}

TEST_F(ScriptTest, TsCreatesAndUpdatesTriggers)
{
    Run("#ts  hp , hp %d,say %0, grp ");
    ASSERT_EQ(state.TriggerList.Count(), 1);
    cTriggers* t = state.TriggerList[0];
    EXPECT_EQ(t->NickName, "hp");
    EXPECT_EQ(t->Group, "grp");
    EXPECT_EQ(t->From, " hp %d");  // pattern and action are not trimmed
    EXPECT_EQ(t->To, "say %0");
    EXPECT_EQ(t->Status, 1u);

    Run("#ts hp,x,y,g,13");
    ASSERT_EQ(state.TriggerList.Count(), 1);
    EXPECT_EQ(t->To, "y");
    EXPECT_EQ(t->Status, 13u);

    // A group ends the command, so only the last argument can be one.
    Run("#ts hp,x,y,{g|h}");
    EXPECT_EQ(t->Group, "g|h");
    Run("#ts hp,x,{y|z},g");
    EXPECT_EQ(t->To, "y");
    EXPECT_EQ(Messages(), ScriptText::TriggerArgsTooFew);

    // Without a nickname the trigger is named after its position.
    Run("#ts ,a,b,g");
    ASSERT_EQ(state.TriggerList.Count(), 2);
    EXPECT_EQ(state.TriggerList[1]->NickName, "2");
}

TEST_F(ScriptTest, TsWithFiveArgumentsTakesStatusFromFifth)
{
    Run("#ts n,p,a,g,5");
    ASSERT_EQ(state.TriggerList.Count(), 1);
    EXPECT_EQ(state.TriggerList[0]->Status, 5u);
}

TEST_F(ScriptTest, TicSetsTheTimerCommand)
{
    auto timer = std::make_unique<cTimer>();
    timer->Name = "tick";
    cTimer* t = state.TimerRecList.Add(std::move(timer));
    Run("#tic tick,{say a|say b}");
    EXPECT_EQ(t->OnBuff, "say a|say b");
    Run("#tic nobody,x");
    EXPECT_EQ(t->OnBuff, "say a|say b");
    EXPECT_TRUE(Run("#tic|after"));
    EXPECT_EQ(Messages(), ScriptText::TimerArgsTooFew);
    EXPECT_TRUE(Sends().empty());
}

TEST_F(ScriptTest, CapPrintsIntoTheNamedCaptureWindow)
{
    AddVariable("hp", "120", 'D');
    Run("#cap fight hp is @(hp) %trim(  x  )");
    ASSERT_EQ(host.Count(TScriptEvent::Capture), 1);
    EXPECT_EQ(host.Events[0].Name, "fight");
    EXPECT_EQ(host.Events[0].Text, "hp is 120 x");
}

TEST_F(ScriptTest, VssSetsOnlyAnExistingVariable)
{
    AddVariable("target", "orc", 'S');
    AddVariable("src", "goblin", 'S');
    Run("#vss target a @(src)|#vss missing x");
    EXPECT_EQ(FindVariable(state.VariableList, "target")->Value, "a goblin");
    EXPECT_EQ(FindVariable(state.VariableList, "missing"), nullptr);
}

TEST_F(ScriptTest, WalkCommentsAndRecording)
{
    state.WalkRec.State = 1;
    Run("#wsc gate|n|say hello|s|#wac shop");
    EXPECT_EQ(state.WalkRec.Steps, (Strings{"n // gate", "s // shop"}));
    EXPECT_EQ(Lines(), (Strings{"n", "say hello", "s"}));
}

// ---- #loop ----

TEST_F(ScriptTest, LoopCountsUpWithoutTheEndValue)
{
    Run("#loop 1 3 say x");
    EXPECT_EQ(Lines(), (Strings{"say x", "say x"}));
    host.Clear();
    Run("#loop 3 3 say x|#loop 1|#loop");
    EXPECT_TRUE(Sends().empty());
}

TEST_F(ScriptTest, LoopCountsDown)
{
    Run("#loop 5 1 say %loopval()");
    EXPECT_EQ(Lines(), (Strings{"say 5", "say 4", "say 3", "say 2"}));
    EXPECT_EQ(state.LoopValue, 1);
}

TEST_F(ScriptTest, LoopBoundsComeFromVariablesAndFunctions)
{
    AddVariable("n", "4", 'D');
    Run("#loop @(n) %case(1,1) say x");
    EXPECT_EQ(Lines().size(), 3u);
}

TEST_F(ScriptTest, LoopBodyStopDoesNotEndTheLoop)
{
    Run("#loop 0 3 #break");
    AddAlias("b", "x|#break");
    Run("#loop 0 3 b");
    EXPECT_EQ(Lines(), (Strings{"x", "x", "x"}));
}

TEST_F(ScriptTest, NestedLoopsSharingTheCounterStillEnd)
{
    // The inner loop leaves 3 in the shared counter, so the outer counter never reaches 10 by
    // counting; the outer loop still ends after its own nine rounds.
    Run("#loop 1 10 #loop 1 3 say i");
    EXPECT_EQ(Lines().size(), 18u);
}

// ---- nesting ----

TEST_F(ScriptTest, SelfCallingAliasStopsAtTheNestingLimit)
{
    AddAlias("a", "say x|a");
    EXPECT_FALSE(Run("a|after"));
    // The typed text is the first level; each alias call nests one deeper.
    EXPECT_EQ(Lines().size(), static_cast<size_t>(TScriptState::MaxNesting - 1));
    EXPECT_EQ(Messages(), ScriptText::NestingTooDeep);

    // The next text runs normally.
    host.Clear();
    EXPECT_TRUE(Run("say y"));
    EXPECT_EQ(Lines(), (Strings{"say y"}));
}

TEST_F(ScriptTest, DoublingAliasDoesNotRunForEver)
{
    AddAlias("c", "c|c");
    EXPECT_FALSE(Run("c"));
    EXPECT_EQ(Messages(), ScriptText::NestingTooDeep);
}

TEST_F(ScriptTest, RecursionThroughLoopsAndIfStopsAtTheLimit)
{
    AddAlias("r", "#loop 1 1000 #if (1) {r}");
    EXPECT_FALSE(Run("r|say done"));
    EXPECT_EQ(Messages(), ScriptText::NestingTooDeep);
    EXPECT_TRUE(Sends().empty());
    host.Clear();
    EXPECT_TRUE(Run("say again"));
    EXPECT_EQ(Lines(), (Strings{"say again"}));
}

// ---- long texts ----

TEST_F(ScriptTest, DoublingAliasArgumentsDoNotExhaustMemory)
{
    AddAlias("x", "x %0 %0");
    EXPECT_FALSE(Run("x ab"));
    EXPECT_EQ(Messages(), ScriptText::TextTooLong);
    EXPECT_TRUE(Sends().empty());
    host.Clear();
    EXPECT_FALSE(Run("#loop 0 1000 x ab|say after"));
    EXPECT_EQ(Messages(), ScriptText::TextTooLong);
    EXPECT_TRUE(Sends().empty());
    // A text refused at the top does not block the next one.
    host.Clear();
    EXPECT_FALSE(Run(AnsiString(TScriptState::MaxTextLength + 1, 'y')));
    EXPECT_TRUE(Run("say ok"));
    EXPECT_EQ(Lines(), (Strings{"say ok"}));
}

TEST_F(ScriptTest, DoublingVariableStaysWithinTheTextLimit)
{
    AddVariable("v", "ab", 'S');
    Run("#loop 0 40 #vss v @(v)@(v)");
    EXPECT_LE(FindVariable(state.VariableList, "v")->Value.size(), TScriptState::MaxTextLength);
    EXPECT_GE(FindVariable(state.VariableList, "v")->Value.size(), TScriptState::MaxTextLength / 2);
}

TEST_F(ScriptTest, CommandLongerThanAnyBufferIsSentWhole)
{
    const AnsiString word(100000, 'x');
    AddVariable("big", word, 'S');
    Run("say " + word + "|say @(big)@(big)");
    EXPECT_EQ(Lines(), (Strings{"say " + word, "say " + word + word}));
}

TEST_F(ScriptTest, LongLoopWordsAndCaptureNames)
{
    const AnsiString zeros(5000, '0');
    Run("#loop " + zeros + "1 " + zeros + "3 say x");
    EXPECT_EQ(Lines().size(), 2u);
    Run("#cap " + AnsiString(3000, 'n') + " text");
    ASSERT_EQ(host.Count(TScriptEvent::Capture), 1);
    EXPECT_EQ(host.Events.back().Name.size(), 3000u);
}
