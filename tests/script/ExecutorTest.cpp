// Records, cutting texts into commands and words, escapes, directions and the command executor.

#include "ScriptTest.h"
#include "script/Escapes.h"
#include "script/Variables.h"

namespace {

Strings AllWords(TScriptState& state, const AnsiString& text, const char* separators)
{
    Strings words;
    for (auto w = state.GetWord(text, separators); w; w = state.GetWord(separators))
        words.push_back(*w);
    return words;
}

Strings AllCommands(TScriptState& state, const AnsiString& text)
{
    Strings commands;
    size_t cursor = 0;
    while (auto c = state.SplitCommand(text, cursor))
        commands.push_back(*c);
    return commands;
}

}  // namespace

TEST_F(ScriptTest, SplitCommand)
{
    const struct {
        const char* Text;
        Strings Commands;
    } cases[] = {
        {"a|b\rc\nd", {"a", "b", "c", "d"}},
        // Empty commands between separators are commands too; a trailing separator adds none.
        {"a||b|", {"a", "", "b"}},
        // Blanks after a separator stay, unless a '#' follows them.
        {"a|  b| \t#c", {"a", "  b", "#c"}},
        // A group ends the command and the byte after it is dropped.
        {"say {a{b|c}d}x|e", {"say {a{b|c}d}", "", "e"}},
        {"say \\{a|b", {"say \\{a", "b"}},  // a brace after a backslash opens no group
        // GroupDoesNotSwallowHangulLeadByte: the syllable after a group stays whole.
        {"say {a}\xB3\xB2", {"say {a}", "\xB3\xB2"}},
        // "#if" groups stay together; before its first group an "#if" is not split.
        {"#if (a|b) {x|y} {z}|next", {"#if (a|b) {x|y} {z}", "next"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AllCommands(state, c.Text), c.Commands) << c.Text;
    EXPECT_EQ(Messages(), "");
    // An unclosed group is reported and drops the rest.
    EXPECT_EQ(AllCommands(state, "x|say {a|b"), (Strings{"x"}));
    EXPECT_EQ(Messages(), AnsiString("say {a|b") + ScriptText::BadCommand);
}

TEST_F(ScriptTest, GetWord)
{
    EXPECT_EQ(AllWords(state, "a,b,,c,", ","), (Strings{"a", "b", "", "c"}));
    EXPECT_EQ(AllWords(state, "a\rb\nc", ","), (Strings{"a", "b", "c"}));
    // Past the end there is no word, however often it is asked.
    EXPECT_FALSE(state.GetWord(",").has_value());
    // A group is one word.
    EXPECT_EQ(AllWords(state, "{a,b},c", ","), (Strings{"a,b", "", "c"}));
    EXPECT_EQ(AllWords(state, "{a{b}c}d", ","), (Strings{"a{b}c", "d"}));
    EXPECT_EQ(Messages(), "");
    EXPECT_EQ(AllWords(state, "a,{b,c", ","), (Strings{"a"}));
    EXPECT_EQ(Messages(), ScriptText::BadWord);
}

TEST(EscapesTest, DollarEscapes)
{
    EXPECT_EQ(ExpandEscapes("abc$#065$E"), "abcA\x1B");
    EXPECT_EQ(ExpandEscapes("$e$$"), "\x1B$");
    EXPECT_EQ(ExpandEscapes("$G66x"), "Bx");
    // Up to three digits; above 255 the byte is taken modulo 255.
    EXPECT_EQ(ExpandEscapes("$#0651"), "A1");
    EXPECT_EQ(ExpandEscapes("$#300"), "\x2D");
    // Unknown escapes vanish with their character; a final '$' ends the text.
    EXPECT_EQ(ExpandEscapes("a$:b$\"c$"), "abc");
    EXPECT_EQ(ExpandEscapes("a$#b"), AnsiString("a\0b", 3));  // byte zero is kept
}

TEST_F(ScriptTest, SendCommand)
{
    // A line end is added unless one ends the text.
    state.SendCommand("abc$#065$E");
    EXPECT_EQ(Sends(), (Strings{"abcA\x1B", "\r\n"}));
    host.Clear();
    state.SendCommand("abc\r");
    state.SendCommand("def\n");
    state.SendCommand("");
    state.SendCommand("|");
    EXPECT_EQ(Sends(), (Strings{"abc\r", "def\n", "\r\n"}));
    // One '#' is dropped before the escapes; backslash lines are left alone.
    host.Clear();
    for (const char* text : {"#a$E", "\\a$E", "#\\a$E", "#plain"})
        state.SendCommand(text);
    EXPECT_EQ(Lines(), (Strings{"a\x1B", "\\a$E", "\\a$E", "#plain"}));
}

TEST_F(ScriptTest, Directions)
{
    const std::pair<const char*, const char*> pairs[] = {
        {"\xBA\xCF", "\xB3\xB2"},
        {"\xB5\xBF", "\xBC\xAD"},
        {"\xBA\xCF\xB5\xBF", "\xB3\xB2\xBC\xAD"},
        {"\xB5\xBF\xBA\xCF", "\xBC\xAD\xB3\xB2"},
        {"\xC0\xA7", "\xB9\xD8"},
        {"1", "9"},
        {"4", "6"},
        {"n", "s"},
        {"e", "w"},
        {"ne", "sw"},
        {"en", "ws"},
        {"u", "d"},
    };
    for (const auto& [word, reverse] : pairs) {
        EXPECT_EQ(state.ReverseDirection(word), reverse) << word;
        EXPECT_EQ(state.ReverseDirection(reverse), word) << reverse;
    }
    // Lower-cased but not trimmed.
    EXPECT_EQ(state.ReverseDirection("NE"), "sw");
    for (const char* none : {"5", "up", "\xB5\xBF ", " n", ""})
        EXPECT_EQ(state.ReverseDirection(none), "") << none;
}

TEST_F(ScriptTest, TypedTextIsSplitEscapedAndSent)
{
    // Empty commands send nothing; a group command goes with its braces.
    EXPECT_TRUE(Run("a||\r\n|b"));
    EXPECT_TRUE(Run("   "));
    Run("say {a|b}c|d");
    EXPECT_EQ(Lines(), (Strings{"a", "b", "say {a|b}", "d"}));
    // Remarks are ignored; "#send" sends the rest as a line.
    host.Clear();
    Run("#rem say hi|#remark too|a|#send hello there|#send|#send ##x");
    EXPECT_EQ(Lines(), (Strings{"a", "hello there", "##x"}));
}

TEST_F(ScriptTest, RawTextAndBreak)
{
    EXPECT_FALSE(Run("  \\say $E hi|b"));  // raw text goes unchanged and stops
    EXPECT_EQ(Sends(), (Strings{"say $E hi|b"}));
    host.Clear();
    EXPECT_TRUE(Run("a|\\b $E|c"));  // a raw command in a list goes without line end
    EXPECT_EQ(Sends(), (Strings{"a", "\r\n", "b $E", "c", "\r\n"}));
    host.Clear();
    AddAlias("k", "\\kick");
    EXPECT_FALSE(Run("k|after"));  // an alias of raw text stops its caller
    EXPECT_EQ(Sends(), (Strings{"kick"}));
    host.Clear();
    EXPECT_FALSE(Run("a|#break|b"));
    EXPECT_EQ(Lines(), (Strings{"a"}));
    // Inside an "#if" branch "#break" stops only the current text.
    host.Clear();
    AddAlias("i", "#if (1) {x|#break|y}|next");
    EXPECT_TRUE(Run("i|after"));
    EXPECT_EQ(Lines(), (Strings{"x", "after"}));
}

TEST_F(ScriptTest, KeywordsAndUnknownWords)
{
    AddAlias("#rem", "say overridden");  // an alias takes the place of a keyword
    Run("#rem");
    EXPECT_EQ(Lines(), (Strings{"say overridden"}));
    host.Clear();
    Run("##xyz");  // two '#' make a line for the game
    EXPECT_EQ(Lines(), (Strings{"##xyz"}));
}

TEST_F(ScriptTest, Ts)
{
    EXPECT_TRUE(Run("a|#ts n,p,act|b"));  // too few arguments: reported, the rest dropped
    EXPECT_EQ(Lines(), (Strings{"a"}));
    EXPECT_EQ(Messages(), ScriptText::TriggerArgsTooFew);
    EXPECT_EQ(state.TriggerList.Count(), 0);
    host.Clear();
    Run("#ts  hp , hp %d,say %0, grp ");
    ASSERT_EQ(state.TriggerList.Count(), 1);
    cTriggers* t = state.TriggerList[0];
    EXPECT_EQ(t->NickName, "hp");
    EXPECT_EQ(t->Group, "grp");
    EXPECT_EQ(t->From, " hp %d");  // pattern and action are not trimmed
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

TEST_F(ScriptTest, TicCapVssAndWalkComments)
{
    auto timer = std::make_unique<cTimer>();
    timer->Name = "tick";
    cTimer* t = state.TimerRecList.Add(std::move(timer));
    Run("#tic tick,{say a|say b}|#tic nobody,x");
    EXPECT_EQ(t->OnBuff, "say a|say b");
    EXPECT_TRUE(Run("#tic|after"));
    EXPECT_EQ(Messages(), ScriptText::TimerArgsTooFew);
    host.Clear();
    AddVariable("hp", "120", 'D');
    Run("#cap fight hp is @(hp) %trim(  x  )");
    ASSERT_EQ(host.Count(TScriptEvent::Capture), 1);
    EXPECT_EQ(host.Events[0].Text, "hp is 120 x");
    // "#vss" sets only an existing variable.
    AddVariable("target", "orc", 'S');
    AddVariable("src", "goblin", 'S');
    Run("#vss target a @(src)|#vss missing x");
    EXPECT_EQ(FindVariable(state.VariableList, "target")->Value, "a goblin");
    EXPECT_EQ(FindVariable(state.VariableList, "missing"), nullptr);
}

TEST_F(ScriptTest, Loop)
{
    Run("#loop 1 3 say x");  // counts up without the end value
    EXPECT_EQ(Lines(), (Strings{"say x", "say x"}));
    host.Clear();
    Run("#loop 3 3 say x|#loop 1|#loop");
    EXPECT_TRUE(Sends().empty());
    Run("#loop 5 1 say %loopval()");
    EXPECT_EQ(Lines(), (Strings{"say 5", "say 4", "say 3", "say 2"}));
    host.Clear();
    AddVariable("n", "4", 'D');
    Run("#loop @(n) %case(1,1) say x");  // bounds from variables and functions
    EXPECT_EQ(Lines().size(), 3u);
    // A stop in the body does not end the loop.
    host.Clear();
    AddAlias("b", "x|#break");
    Run("#loop 0 3 b");
    EXPECT_EQ(Lines(), (Strings{"x", "x", "x"}));
    // NestedLoopsSharingTheCounterStillEnd: the inner loop leaves 3 in the shared counter; the
    // outer loop still ends after its own nine rounds.
    host.Clear();
    Run("#loop 1 10 #loop 1 3 say i");
    EXPECT_EQ(Lines().size(), 18u);
    const AnsiString zeros(5000, '0');  // long loop words
    host.Clear();
    Run("#loop " + zeros + "1 " + zeros + "3 say x");
    EXPECT_EQ(Lines().size(), 2u);
}

TEST_F(ScriptTest, NestingLimit)
{
    AddAlias("a", "say x|a");  // SelfCallingAliasStopsAtTheNestingLimit
    EXPECT_FALSE(Run("a|after"));
    // The typed text is the first level; each alias call nests one deeper.
    EXPECT_EQ(Lines().size(), static_cast<size_t>(TScriptState::MaxNesting - 1));
    EXPECT_EQ(Messages(), ScriptText::NestingTooDeep);
    for (const auto& [name, text] : {std::pair{"c", "c|c"}, std::pair{"r", "#loop 1 1000 #if (1) {r}"}}) {
        SCOPED_TRACE(name);  // DoublingAliasDoesNotRunForEver, RecursionThroughLoopsAndIfStopsAtTheLimit
        host.Clear();
        AddAlias(name, text);
        EXPECT_FALSE(Run(AnsiString(name) + "|say done"));
        EXPECT_EQ(Messages(), ScriptText::NestingTooDeep);
        EXPECT_TRUE(Sends().empty());
        EXPECT_TRUE(Run("say again"));
        EXPECT_EQ(Lines(), (Strings{"say again"}));
    }
}

TEST_F(ScriptTest, DoublingAliasArgumentsDoNotExhaustMemory)
{
    AddAlias("x", "x %0 %0");
    EXPECT_FALSE(Run("x ab"));
    EXPECT_EQ(Messages(), ScriptText::TextTooLong);
    EXPECT_TRUE(Sends().empty());
    // A text refused at the top does not block the next one.
    host.Clear();
    EXPECT_FALSE(Run(AnsiString(TScriptState::MaxTextLength + 1, 'y')));
    EXPECT_TRUE(Run("say ok"));
    EXPECT_EQ(Lines(), (Strings{"say ok"}));
    // DoublingVariableStaysWithinTheTextLimit
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
    Run("#cap " + AnsiString(3000, 'n') + " text");  // a long capture name
    ASSERT_EQ(host.Count(TScriptEvent::Capture), 1);
    EXPECT_EQ(host.Events.back().Name.size(), 3000u);
}

TEST_F(ScriptTest, RegressionArgumentReaderClosedAGroupAtAnEscapedBrace)
{
    // The splitter keeps "{g\}h}" as one group; the arguments must read it the same way.
    Run("#ts n,p,a,{g\\}h}");
    ASSERT_EQ(state.TriggerList.Count(), 1);
    EXPECT_EQ(state.TriggerList[0]->Group, "g\\}h");
    auto timer = std::make_unique<cTimer>();
    timer->Name = "t";
    cTimer* t = state.TimerRecList.Add(std::move(timer));
    Run("#tic t,{say a\\}b}");
    EXPECT_EQ(t->OnBuff, "say a\\}b");
    EXPECT_EQ(AllWords(state, "{a\\{b},c", ","), (Strings{"a\\{b", "", "c"}));
    EXPECT_EQ(Messages(), "");
}
