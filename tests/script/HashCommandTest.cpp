// The "#" command words, grouped by what they control: the dispatcher, messages and sounds,
// triggers, variables, user timers, buttons, command files and walks.

#include <algorithm>

#include "ScriptTest.h"
#include "script/HashCommand.h"
#include "script/UserTimer.h"
#include "script/Variables.h"
#include "script/Walk.h"

namespace {

// " <== unknown command" after the word.
AnsiString Unknown(const AnsiString& word) { return word + ScriptText::UnknownCommand; }

// "TYPE VALUE DEFAULT", or "-" when there is no such variable.
std::string Show(const TScriptState& state, const char* name)
{
    const cVariables* v = FindVariable(state.VariableList, name);
    if (!v)
        return "-";
    return std::string(1, v->Type) + " " + v->Value + " " + v->Dvalue;
}

// Six steps, breakpoints before the third and the fifth.
constexpr const char* SixSteps = "n\r\ne\r\nB s\r\nw\r\nB u\r\nd\r\n";

int control = 0;  // stands for the bar's control; the host never looks at it

// Buttons are clicked as the bar clicks them.
class HashCommandTest : public ScriptTest {
protected:
    HashCommandTest() { host.BarClicks = true; }
};

}  // namespace

TEST_F(HashCommandTest, UnknownWordIsReportedAndTheTextGoesOn)
{
    Run("#xyz|after");
    EXPECT_EQ(Messages(), Unknown("xyz"));
    EXPECT_EQ(Lines(), Strings{"after"});
    host.Clear();
    // Words compare exactly: case matters, and only the word before a blank or ',' counts.
    Run("#TD 1|#echox|#xyz,abc|#");
    EXPECT_EQ(Messages(), Unknown("TD") + Unknown("echox") + Unknown("xyz") + Unknown(""));
}

TEST_F(HashCommandTest, EveryCommandWordIsKnown)
{
    const char* words[] = {"load", "save", "rem", "play", "td",  "tnd", "tgd", "to",  "tf",  "trr",  "trs",
                           "trp",  "tgt",  "tro", "tgo",  "tgf", "tno", "tnf", "tao", "taf", "trn",  "tmf",
                           "tmo",  "tio",  "tif", "tis",  "tir", "sta", "std", "vd",  "vr",  "cr",   "echo",
                           "vsd",  "bto",  "btf", "wl",   "we",  "wr",  "wp",  "wsn", "wsp", "wspk", "wn",
                           "ws",   "wc",   "wal", "wg",   "wok", "wsf", "wgt", "wgf", "wsm", "wmf",  "wms",
                           "wmfi", "wd",   "wsb", "wrb",  "wnb", "wfn", "tim", "vns", "vs",  "vm",   "beep"};
    for (const char* word : words)
        EXPECT_NE(FindHashCommand(word), nullptr) << word;
    // Executor keywords reach the dispatcher only when a variable turns into them; it does not
    // know them.
    for (const char* word : {"send", "loop", "if", "ts", "tic", "cap", "vss", "break", "wac", "wsc", "x"})
        EXPECT_EQ(FindHashCommand(word), nullptr) << word;
}

TEST_F(HashCommandTest, RemarkDoesNothingAlsoWhenAVariableMakesIt)
{
    Run("#vs r {#rem hidden}|@(r)|#rem|shown");
    EXPECT_EQ(Lines(), Strings{"shown"});
    EXPECT_EQ(Messages(), "");
}

TEST_F(HashCommandTest, EchoShowsALineBreakThenTheText)
{
    Run("#echo,hi|#echo");
    EXPECT_EQ(Messages(), "\n\rhi\n\r");
    host.Clear();
    Run("#beep 880,50|#beep 440|#beep|#beep x 5");
    std::vector<std::pair<int, int>> beeps;
    for (const auto& e : host.Events)
        if (e.What == TScriptEvent::Beep)
            beeps.emplace_back(e.A, e.B);
    EXPECT_EQ(beeps, (std::vector<std::pair<int, int>>{{880, 50}, {440, 0}, {0, 5}}));
}

// The trigger and user-timer words, each case on triggers and timers of its own: switching
// triggers by number, name, group and all at once, deleting, steering the pass (stop, suspend,
// mode), also from a trigger's action; switching timers by name, a new period, the whole list.
TEST(HashWords, TriggersAndTimers)
{
    const AnsiString usage = Ks("\r\n사용법 : 타이머이름 초수\n\r");
    const struct {
        const char* Label;
        std::vector<std::tuple<const char*, const char*, const char*, const char*>>
            Triggers;  // pattern, action, name, group
        std::vector<TStep> Steps;
        std::vector<std::tuple<const char*, int32_t, int32_t, const char*>> Timers =
            {};  // name, period, status, command
    } cases[] = {
        {"DeleteByNumberRemovesOnlyAnExistingPosition",
         {{"x", "one", "a", ""}, {"x", "two", "b", ""}, {"x", "three", "c", ""}},
         {{"#td 2", {}, "triggers=2", ""},
          {"#td 0&&#td 3&&#td x&&#td", {}, "triggers=2", ""},
          {"<x\r\n", {"one", "three"}, "", ""}}},
        // A trigger without an action is never switched on.
        {"OnAndOffByNumber",
         {{"x", "one", "a", ""}, {"x", "", "b", ""}},
         {{"#tf 1", {}, "enabled=0?"},
          {"<x\r\n", {}},
          {"#to 1|#to 2", {}, "enabled=1?"},
          {"#tf 2|#to 2", {}, "enabled=?0"},
          {"<x\r\n", {"one"}}}},
        // "tgd" switches the named trigger off, "tnd" on; neither takes it from the list.
        {"OnAndOffByNameAndTheTwoWordsThatDeleteNothing",
         {{"x", "one", " hp ", ""}},
         {{"#tnf hp", {}, "enabled=0"},
          {"#tno hp", {}, "enabled=1"},
          {"#tgd hp", {}, "enabled=0"},
          {"#tnd hp", {}, "enabled=1 triggers=1"},
          {"#tnf nobody|#tnf", {}, "enabled=1"}}},
        {"GroupsAndAllTriggers",
         {{"x", "one", "a", "fight"}, {"y", "two", "b", " fight "}, {"z", "three", "c", "rest"}},
         {{"#tgf fight", {}, "enabled=001"},
          {"#tgo fight|#tgf rest", {}, "enabled=110"},
          {"#taf", {}, "enabled=000"},
          {"#tao", {}, "enabled=111"},
          {"#tgf {}|#tgf", {}, "enabled=111"}}},  // no group named: nothing
        // The next pass tries every trigger again.
        {"StopEndsTheRunningPass",
         {{"x", "one|#trr", "a", ""}, {"x", "two", "b", ""}},
         {{"<x\r\n", {"one"}}, {"#to 1&&<x\r\n", {"one"}}}},
        // The CR and the LF count two line ends; a resume trigger fires while the others wait, and
        // ends the suspension at once.
        {"SuspendCountsLineEndsAndOnlyResumeTriggersFire",
         {{"hit", "one", "a", ""}, {"wake", "#tro|woken", "b", ""}},
         {{"#trs 2", {}, "suspended=2"},
          {"<hit\r\n", {}},
          {"<hit\r\n", {"one"}},
          {"#trp&&<hit\r\nhit\r\nhit\r\n", {}},
          {"<wake\r\nhit\r\n", {"woken", "one"}},
          {"#trp|#tro", {}, "suspended=0"}}},
        {"TriggerModeOffLetsOnlyResumeTriggersFire",
         {{"x", "one", "a", ""}, {"x", "#tro|two", "b", ""}},
         {{"#tmf", {}, "triggerMode=0"},
          {"<x\r\n", {"two"}},
          {"#tmo", {}, "triggerMode=1"},
          {"<x\r\n", {"one", "two"}}}},
        // An action that switches itself off and deletes a trigger after it in the running pass.
        {"TriggerWordsFromATriggerAction",
         {{"hp %d", "#tnf self|#td 3|#echo hp=%0", "self", ""}, {"hp", "two", "b", ""}, {"hp", "three", "c", ""}},
         {{"<hp 120/200\r\n", {"two"}, "enabled=0? triggers=2", "\n\rhp=120"}}},
        // Unknown or missing names change nothing.
        {"TimerStatusWords",
         {},
         {{"#tio t", {}, "timerStatus=1", ""},
          {"+2000", {"tick"}, "", ""},
          {"#tis t", {}, "timerStatus=3", ""},
          {"+4000", {}, "", ""},
          {"#tio nobody|#tio|#tir", {}, "timerStatus=3", ""}},
         {{"t", 2, utsOff, "tick"}}},
        // Without seconds the usage is shown, the timer left alone and the commands after it run.
        {"NewPeriodRestartsTheTimer",
         {},
         {{"#tim t 3", {}, "timerPeriod=3 timerStatus=2"},
          {"+3000", {"tick"}},
          {"#tim nobody 5", {}, "", ""},  // no such timer: nothing, and no usage
          {"#tim t", {}, "", usage.c_str()},
          {"#tim", {}, "timerPeriod=3 timerStatus=2", usage.c_str()},
          {"#tim t|after", {"after"}}},
         {{"t", 10, utsOff, "tick"}}},
        {"TimerThatChangesItsOwnPeriodFromItsCommand",
         {},
         {{"+1000", {"tick"}, "timerPeriod=3"}, {"+2000", {}}, {"+1000", {"tick"}}},
         {{"t", 1, utsOn, "tick|#tim t 3"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Label);
        TTestHost host;
        TScriptState state(host);
        for (const auto& [from, to, nick, group] : c.Triggers)
            AddTrigger(state, from, to, Complete, nick, group);
        for (const auto& [name, ticker, status, command] : c.Timers) {
            auto timer = std::make_unique<cTimer>();
            timer->Name = name;
            timer->Ticker = ticker;
            timer->Status = status;
            timer->OnBuff = command;
            state.AddUserTimer(std::move(timer));
        }
        Play(host, state, c.Steps);
    }
}

TEST_F(HashCommandTest, JumpSetByAnActionIsTakenAtTheNextMatch)
{
    AddTrigger("x", "#tgt 3|one", Complete, "1");
    AddTrigger("x", "two", Complete, "2");
    AddTrigger("x", "three", Complete, "3");
    AddTrigger("x", "four", Complete, "4");
    Receive("x\r\n");
    EXPECT_EQ(Lines(), (Strings{"one", "two", "four"}));

    Run("#tgt 9");  // beyond the list: stays pending
    EXPECT_EQ(state.TrigJump, 9);
}

TEST_F(HashCommandTest, RunActionByName)
{
    AddTrigger("nothing matches this", "say hi|#echo done", Complete, "greet");
    Run("#trn greet|#trn nobody");
    EXPECT_EQ(Lines(), Strings{"say hi"});
    EXPECT_EQ(Messages(), "\n\rdone");
    host.Clear();
    // Without a name no nameless trigger runs.
    AddTrigger("x", "nameless", Complete, "");
    Run("#trn");
    EXPECT_TRUE(host.Events.empty());
    Run("#trn {}");  // a name given as empty does name it
    EXPECT_EQ(Lines(), Strings{"nameless"});
}

TEST_F(HashCommandTest, SetTakesValueDefaultAndType)
{
    Run("#vs hp 120,100");
    EXPECT_EQ(Show(state, "hp"), "D 120 100");
    // The fourth word gives the type: a text that begins with a digit.
    Run("#vs code 12abc,,S");
    EXPECT_EQ(Show(state, "code"), "S 12abc ");
    // A blank before the type, a small letter, a type that is neither: read as a player means it.
    Run("#vs a 1,0, S|#vs b 7,,d|#vs c 7,,x");
    EXPECT_EQ(Show(state, "a"), "S 1 0");
    EXPECT_EQ(Show(state, "b"), "D 7 0");
    EXPECT_EQ(Show(state, "c"), "D 7 0");
    // A value with blanks, given as one word.
    Run("#vs said {hello there, you}");
    EXPECT_EQ(Show(state, "said"), "S hello there, you ");
    // Without a name nothing is made.
    const int count = state.VariableList.Count();
    Run("#vs");
    EXPECT_EQ(state.VariableList.Count(), count);
    EXPECT_EQ(Messages(), "");
    // "#vns" makes a numeric variable set to zero.
    Run("#vs kills 5|#vns kills|#vns");
    EXPECT_EQ(Show(state, "kills"), "D 0 0");
    EXPECT_EQ(state.VariableList.Count(), count + 1);
}

TEST_F(HashCommandTest, ComputeNumericAndTextVariables)
{
    Run("#vs hp 100|#vm hp @(hp)+2*10");
    EXPECT_EQ(Show(state, "hp"), "D 120 0");
    Run("#vm hp (1+");  // an expression that fails leaves the value
    EXPECT_EQ(Show(state, "hp"), "D 120 0");
    Run("#vs who Bob|#vm who Alice,{ and Bob}");
    EXPECT_EQ(Show(state, "who"), "S Alice and Bob ");
    Run("#vm nobody 1+1|#vm");
    EXPECT_EQ(Show(state, "nobody"), "-");
}

TEST_F(HashCommandTest, ResetReadAndDelete)
{
    // Reading hands the value out and shows nothing.
    Run("#vs hp 42|#vr hp");
    EXPECT_EQ(FindVariable(state.VariableList, "hp")->ReturnText, "42");
    Run("#vd hp|#vr hp|#vsd hp|#vd|#vr|#vsd");
    EXPECT_EQ(Show(state, "hp"), "-");
    EXPECT_TRUE(host.Events.empty());
    EXPECT_TRUE(host.Events.empty());
}

TEST_F(HashCommandTest, ButtonOnAndOffRunTheirCommandsThroughTheBar)
{
    auto record = std::make_unique<cButton>();
    record->Name = " fight ";
    record->OnBuff = "attack";
    record->OffBuff = "flee";
    record->Control = reinterpret_cast<TMyButton*>(&control);
    cButton* b = state.ButtonList.Add(std::move(record));

    Run("#bto fight|#bto fight");  // already on: clicked again, still on
    EXPECT_EQ(b->Status & 1, 1);
    Run("#btf fight");
    EXPECT_EQ(b->Status & 1, 0);
    EXPECT_EQ(Lines(), (Strings{"attack", "attack", "flee"}));
    EXPECT_EQ(host.Count(TScriptEvent::Click), 3);

    // Without an OffBuff a button is not switched off; unknown and missing names do nothing.
    b->OffBuff.clear();
    Run("#bto fight|#btf fight|#btf nobody|#bto nobody|#bto|#btf");
    EXPECT_EQ(b->Status & 1, 1);
    EXPECT_EQ(host.Count(TScriptEvent::Click), 4);
    host.Clear();
    // A button without a control is not clicked; "bto" clears its bit so a click would leave it on.
    b->Control = nullptr;
    Run("#bto fight");
    EXPECT_EQ(b->Status & 1, 0);
    EXPECT_TRUE(host.Events.empty());
}

// A file name with a blank is given in braces.
TEST_F(HashCommandTest, SaveThenLoadRestoresTheScript)
{
    const std::string path = Folder + "/my script.Cmd";
    Run("#vs hp 120|#ts a,hp %d,say %0,fight");
    state.CmdConfig.StartUpCmd = "#echo loaded";
    Run(AnsiString("#save {") + path + "}");
    EXPECT_EQ(state.TriggerFile, path);
    Run("#vd hp|#td 1");
    host.Clear();
    Run("#save");  // no file: nothing
    EXPECT_TRUE(host.Events.empty());
    Run(AnsiString("#load {") + path + "}|after");
    EXPECT_EQ(Show(state, "hp"), "D 120 ");
    // The start-up commands ran, then the rest of the text.
    EXPECT_EQ(Messages(), "\n\rloaded");
    EXPECT_EQ(Lines(), Strings{"after"});
}

TEST_F(HashCommandTest, FileWhoseStartUpLoadsItAgainStopsAtTheNestingLimit)
{
    const std::string path = Folder + "/Self.Cmd";
    const std::string startUp = "#load " + path + "\r\nnext";
    WriteFile("Self.Cmd",
              "#Config\r\nStartUpCmd " + std::to_string(startUp.size()) + " " + startUp +
                  "\r\nEnd\r\n#Alias\r\nName 1 a\r\nText 1 b\r\nEnd\r\n#END\r\n");
    Run(AnsiString("#load ") + path);
    // The typed load, then one nested load per level until the limit.
    EXPECT_EQ(host.Count(TScriptEvent::SaveBook), TScriptState::MaxNesting);
    EXPECT_EQ(Messages(), ScriptText::NestingTooDeep);
    // The whole text that went too deep stops: no start-up text runs its second line.
    EXPECT_TRUE(Lines().empty());
    EXPECT_EQ(state.AliasList.Count(), 1);
}

TEST_F(HashCommandTest, LoadFromATriggerActionReplacesTheRunningTriggers)
{
    const std::string path =
        WriteFile("Next.Cmd", "#Triggers\r\nNickName 1 n\r\nFrom 1 x\r\nTo 3 new\r\nEnd\r\n#END\r\n");
    AddTrigger("x", AnsiString("#load ") + path + "|old", Complete, "a");
    AddTrigger("x", "later", Complete, "b");
    AddTrigger("x", "last", Complete, "c");
    Receive("x\r\n");
    EXPECT_EQ(Lines().front(), "old");
    ASSERT_EQ(state.TriggerList.Count(), 1);
    EXPECT_EQ(state.TriggerList[0]->To, "new");
    host.Clear();
    Receive("x\r\n");
    EXPECT_EQ(Lines(), Strings{"new"});
}


TEST_F(HashCommandTest, WalkWordsWithoutAWalk)
{
    Run("#wg|#wal|#wr|#wn 2|#ws|#wnb|#we|#wp n|#wsn");
    AnsiString expected;
    for (int i = 0; i < 9; ++i)
        expected += ScriptText::NoWalk;
    EXPECT_EQ(Messages(), expected);
    // These need no message: nothing to do without a walk (ReplayNeedsAWalk).
    host.Clear();
    Run("#wc|#wok|#wsf|#wd|#wsb|#wrb|#wfn n|#wsp 1|#wspk|#wl");
    EXPECT_EQ(Messages(), "");
    EXPECT_TRUE(Lines().empty());
    EXPECT_EQ(state.WalkRec.State, 0);
}

// A trigger's number is its place in the list, as "#td" counts and the trigger dialog shows it.
TEST_F(HashCommandTest, RegressionTriggersLoadedOrAddedByACommandAllHadNumberZero)
{
    const std::string path = WriteFile("Three.Cmd",
                                       "#Triggers\r\nFrom 1 a\r\nTo 1 x\r\nEnd\r\n"
                                       "#Triggers\r\nFrom 1 b\r\nTo 1 y\r\nEnd\r\n"
                                       "#Triggers\r\nFrom 1 c\r\nTo 1 z\r\nEnd\r\n#END\r\n");
    Run(AnsiString("#load ") + path);
    auto numbers = [this] {
        std::vector<int> n;
        for (int i = 0; i < state.TriggerList.Count(); ++i)
            n.push_back(state.TriggerList[i]->Number);
        return n;
    };
    EXPECT_EQ(numbers(), (std::vector<int>{1, 2, 3}));
    Run("#td 1");
    EXPECT_EQ(numbers(), (std::vector<int>{1, 2}));
    Run("#ts d,hp %d,say %0,fight");
    EXPECT_EQ(numbers(), (std::vector<int>{1, 2, 3}));
}
