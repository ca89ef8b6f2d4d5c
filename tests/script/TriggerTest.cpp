// The trigger engine: patterns, building and running actions, switching triggers, and the scan of
// received text, fed one byte a piece as the terminal reports host text, straight or through the
// terminal core as a character window feeds it.

#include "ScriptTest.h"
#include "script/Pattern.h"
#include "script/TriggerAction.h"
#include "script/TriggerOps.h"
#include "script/TriggerText.h"
#include "terminal/core/TerminalCore.h"

namespace {

const Strings No{"NO"};

// The captures of a match, or {"NO"} when there is none.
Strings Captures(std::string_view pattern, std::string_view line)
{
    const TCompiledPattern p = CompilePattern(pattern);
    TMatchResult r;
    if (!MatchPattern(p, line, r))
        return No;
    Strings out;
    for (int i = 0; i < r.Count; ++i)
        out.push_back(AnsiString(line.substr(r.Captures[i].Begin, r.Captures[i].Length)));
    return out;
}

bool Matches(std::string_view pattern, std::string_view line) { return Captures(pattern, line) != No; }

// What was sent, one entry per line (the CR LF sends left out).
Strings Said(const TRecordingHost& host)
{
    Strings out;
    for (const auto& e : host.Events)
        if (e.What == TScriptEvent::Send && e.Text != "\r\n")
            out.push_back(e.Text);
    return out;
}

// A window whose received text goes to the scan straight or through a terminal core; the plain
// words of TriggerWords steer its passes, and FEED goes the same way as received text.
class TScanWorld {
public:
    explicit TScanWorld(bool terminal) : Terminal(terminal)
    {
        host.State = &state;
        core.OnAfterPut = [this](const AnsiString& piece) { state.ScanReceivedText(piece); };
        host.OnSend = TriggerWords(state, [this](const AnsiString& piece) {
            if (Terminal)
                core.DecodeText(piece);  // an action's text goes into the terminal, as a local echo would
            else
                state.ScanReceivedText(piece);
        });
    }
    // One read from the connection. Through the terminal the window drops CR and follows LF
    // with CR.
    void Receive(std::string_view bytes)
    {
        AnsiString text;
        for (const char c : bytes) {
            if (!Terminal) {
                state.ScanReceivedText(AnsiString(1, c));
                continue;
            }
            if (c != '\r')
                text += c;
            if (c == '\n')
                text += '\r';
        }
        if (Terminal)
            core.DecodeText(text);
    }

    bool Terminal;
    TTestHost host;
    TScriptState state{host};
    TTerminalCore core;
};

enum TPaths { Direct = 1, ThroughTerminal = 2, Both = 3 };

struct TScanCase {
    const char* Label;
    int Paths;
    std::vector<std::tuple<AnsiString, AnsiString, uint32_t>> Triggers;
    std::vector<std::pair<AnsiString, Strings>> Steps;  // received text and all that was said so far
    const char* LastLine = nullptr;
    const char* CurrentLine = nullptr;
    int Count = -1;
    int FirstEnabled = -1;
};

class TriggerScanTest : public ScriptTest {
protected:
    TriggerScanTest()
    {
        host.OnSend = TriggerWords(state, [this](const AnsiString& piece) { state.ScanReceivedText(piece); });
    }
    Strings Said() const { return ::Said(host); }
};

}  // namespace

TEST(PatternTest, Captures)
{
    const std::tuple<const char*, const char*, Strings> cases[] = {
        // Digits following a literal; a later occurrence that is followed by a digit is taken.
        {"hp %d", "hp x", No},
        {"hp %d", "hp x hp 7", {"7"}},
        {"hp %d/%d", "hp 120/200 sp", {"120", "200"}},
        // A word before a literal starts after the last word-ending character before it; one
        // right at the start is kept, anywhere else it fails the word.
        {"%s tells you %*", "Bob tells you hi", {"Bob", "hi"}},
        {"%s tells you %*", "Bob, tells you hi", No},
        {"x %s tells", "x a,b tells", {"b"}},
        {"x%s tells", "x,b tells", {",b"}},
        {"tells %s", "Bob tells x,y", No},
        {"%s%d coins", "gold42 coins", {"gold", "42"}},
        {"you have %s%d", "you have 5", No},
        {"%d gold", "you get gold", No},
        {"%*abc", "abcdef", No},
        {"abc%*", "abc", {""}},
        // An anchored capture must be the beginning of the line.
        {"^%d hp", "12 hp", {"12"}},
        {"^%d hp", "x 12 hp", No},
        // Hangul literals (한 C7 D1, 국 B1 B9); a match never starts on the second byte of a pair.
        {"\xC7\xD1 %d", "\xB1\xB9\xC7\xD1 42", {"42"}},
        {"\xD1\xC7", "\xC7\xD1\xC7\xD1", No},
        {"^\xC7\xD1", "\xC7\xB1 \xC7\xD1", No},
        {"hp %d%*", "hp 12abc", {"12", "abc"}},  // a digits capture is cut at its first non-digit
    };
    for (const auto& [pattern, line, captures] : cases)
        EXPECT_EQ(Captures(pattern, line), captures) << pattern << " / " << line;
    EXPECT_TRUE(Matches("^^abc", "x^abc"));
    EXPECT_TRUE(Matches("^ab", "a ab"));  // only the first character is anchored
    EXPECT_FALSE(Matches("cat",
                         "\x8C"
                         "cat"));  // 똠 is 8C 63: its second byte is 'c'
    EXPECT_TRUE(Matches("cat",
                        "\x8C"
                        "c cat"));
    EXPECT_TRUE(Matches("50%x", "it is 50%x off"));  // '%' before another character is literal
}

TEST(PatternTest, PatternsThatNeverMatchAndCaptureLimits)
{
    for (const char* p : {"", "%s", "%*", "%d", "^", "%s%*"})
        EXPECT_FALSE(CompilePattern(p).Valid) << p;
    EXPECT_FALSE(Matches("%s", "anything"));
    // More than ten captures, or a pattern beyond 999 bytes, is refused.
    EXPECT_FALSE(CompilePattern("a%*a%*a%*a%*a%*a%*a%*a%*a%*a%*a%*").Valid);
    EXPECT_TRUE(CompilePattern("a%*a%*a%*a%*a%*a%*a%*a%*a%*a%*").Valid);
    EXPECT_FALSE(CompilePattern(AnsiString(1000, 'a')).Valid);
    EXPECT_TRUE(CompilePattern(AnsiString(999, 'a')).Valid);
    // CapturesAreCutAt1024BytesWithoutSplittingAPair
    AnsiString hangul = "say x";
    for (int i = 0; i < 700; ++i)
        hangul += "\xC7\xD1";
    const Strings cut = Captures("say %*", hangul);
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(cut[0].size(), 1023u);  // 'x' and 511 whole pairs
}

TEST(PatternTest, StaticPatternsAndWakeShapes)
{
    EXPECT_TRUE(IsStaticPattern("50% off (sale)"));
    EXPECT_FALSE(IsStaticPattern("@(target) arrives"));
    EXPECT_FALSE(IsStaticPattern("%random(1,2) x"));
    EXPECT_FALSE(IsStaticPattern("%s(%d)"));  // read as a call, so expanded each time
    EXPECT_EQ(CompilePattern("%s tells you %*").Wake, TWakeShape::EndsLiteral);
    EXPECT_EQ(CompilePattern("%s tells you %*").WakeLiteral, " tells you ");
    EXPECT_EQ(CompilePattern("tells %s").Wake, TWakeShape::EndsWord);
    EXPECT_EQ(CompilePattern("hp %d").Wake, TWakeShape::EndsDigits);
    EXPECT_EQ(CompilePattern("a%*%d").Wake, TWakeShape::Always);
}

TEST_F(ScriptTest, TriggerActionsAndCaptures)
{
    const auto expand = [this](std::string_view to) {
        bool resumes = false;
        return ExpandTriggerAction(to, state, resumes);
    };
    EXPECT_TRUE(state.MatchTrigger("hp 12/30", "hp %d/%d"));  // fills the slots
    ASSERT_EQ(state.CaptureCount, 2);
    EXPECT_EQ(state.CaptureSlots[1].Kind, 2);
    ASSERT_NE(state.CaptureText(1), nullptr);  // only the filled slots are known
    EXPECT_EQ(*state.CaptureText(1), "30");
    EXPECT_EQ(state.CaptureText(2), nullptr);
    // Captures replace their numbers; a number without a capture stays as written; "#if"
    // conditions keep their references.
    EXPECT_EQ(expand("say %1 to %0|%0%0"), "say 30 to 12|1212");
    EXPECT_EQ(expand("say %2 %3 %x %"), "say %2 %3 %x %");
    EXPECT_EQ(expand("say %0|#if (%0 > 3) {say %0}|say %0"), "say 12|#if (%0 > 3) {say 12}|say 12");
    EXPECT_EQ(expand("#if (%0 > 3) x %0 |y %0"), "#if (%0 > 3) x %0 |y 12");
    EXPECT_FALSE(state.MatchTrigger("sp 1", "hp %d"));  // clears the slots
    EXPECT_EQ(state.CaptureCount, 0);
    EXPECT_EQ(state.CaptureSlots[0].Text, "");
    EXPECT_EQ(state.CaptureSlots[1].Kind, 0);
    // "#tro" in the action ends a suspension.
    state.TrigSuspend = 65535;
    state.RunTriggerAction("#rem #tro anywhere");
    EXPECT_EQ(state.TrigSuspend, 0);
}

TEST_F(ScriptTest, TriggerSwitches)
{
    cTriggers* a = AddTrigger("a", "say a", 0, " one ", " fight ");
    cTriggers* b = AddTrigger("b", "say b", 0, "two", "fight");
    cTriggers* empty = AddTrigger("", "say c", 0, "three", "fight");
    for (int n : {2, 0, 4, INT32_MIN})  // by number, outside the list nothing
        TriggerOnByNumber(state, n);
    EXPECT_EQ(b->Status, cTriggers::Enabled);
    EXPECT_EQ(a->Status, 0u);
    // Only triggers with pattern and action are switched on.
    AllOn(state);
    EXPECT_EQ(empty->Status, 0u);
    // Names and groups compare trimmed.
    TriggerOffByName(state, " one");
    EXPECT_EQ(a->Status, 0u);
    EXPECT_EQ(TriggerActionByName(state, "two"), "say b");
    empty->Status = cTriggers::Enabled;
    GroupOff(state, "fight ");
    EXPECT_EQ(b->Status, 0u);
    EXPECT_EQ(empty->Status, cTriggers::Enabled);  // a trigger that cannot run is left alone
    // SwitchingOnDuringALineLetsTheTriggerFireOnIt: a partial-line trigger switched on mid-line.
    b->Status = cTriggers::StaysEnabled;
    Receive("xb");
    EXPECT_EQ(host.Sent(), "");
    TriggerOnByName(state, "two");
    Receive("y");
    EXPECT_EQ(host.Sent(), "say b\r\n");
}

TEST(TriggerScanCases, ReceivedTextFiresTriggers)
{
    const AnsiString longLine = "shout " + AnsiString(2000, 'a') + "\n";
    const TScanCase cases[] = {
        {"HangulPairsSplitAcrossReads",
         Both,
         {{"\xC7\xD1\xB1\xB9 %d", "say %0", Complete}},
         {{"\xC7", {}}, {"\xD1\xB1", {}}, {"\xB9 42\n", {"say 42"}}}},
        {"PartialLineTriggersFireBeforeTheLineEndsAndOnlyOnce",
         Both,
         {{"Password:", "secret", Partial}},
         {{"Password:", {"secret"}}, {" \n", {"secret"}}, {"Password:\n", {"secret", "secret"}}}},
        // The partial trigger fires as soon as a digit follows "sp ".
        {"CompleteLineTriggersWaitForTheLineEnd",
         Both,
         {{"hp %d", "say %0", Complete}, {"sp %d", "say sp %0", Partial}},
         {{"hp 12 sp 3", {"say sp 3"}}, {"4\n", {"say sp 3", "say 12"}}}},
        // Host braces and bars arrive full width; captures are cut at 1024 bytes.
        {"CapturesOfEachKindAndTheirLimits",
         ThroughTerminal,
         {{"%s tells you %*", "say %0:%1", Complete},
          {"hp %d/%d", "say hp %0 %1", Complete},
          {"shout %*", "say %0", Complete}},
         {{"[Kim] Bob tells you {hi}|there\r\nhp 0012/99x\r\nBob, tells you no\r\n",
           {"say Bob:\xA3\xFBhi\xA3\xFD\xA3\xFCthere", "say hp 0012 99"}},
          {longLine, {"say Bob:\xA3\xFBhi\xA3\xFD\xA3\xFCthere", "say hp 0012 99", "say " + AnsiString(1024, 'a')}}}},
        {"OneShotTriggersFireOnceAndAreThenDisabled",
         Both,
         {{"ready", "go", OneShot}},
         {{"ready\nready\n", {"go"}}},
         nullptr,
         nullptr,
         -1,
         0},
        // The pass goes on by position: "say 2" moved into the freed place and waits for the
        // next line; "say 3" is at the next position.
        {"ActionThatDeletesItsOwnTrigger",
         Direct,
         {{"x", "DEL 1", Complete}, {"x", "say 2", Complete}, {"x", "say 3", Complete}},
         {{"x\n", {"DEL 1", "say 3"}}, {"x\n", {"DEL 1", "say 3", "say 2", "say 3"}}},
         nullptr,
         nullptr,
         2},
        // The fed text joins the line being received and ends it.
        {"ActionThatFeedsALineBackIntoTheScan",
         Direct,
         {{"ping", "FEED pong\\n", Partial}, {"%*pong", "say got %0", Complete}},
         {{"ping\n", {"FEED pong\\n", "say got ping"}}},
         "pingpong",
         ""},
        {"ActionThatFeedsALineBackIntoTheTerminal",
         ThroughTerminal,
         {{"ping", "FEED \\npong\\n\\r", Complete}, {"^pong", "say got pong", Complete}},
         {{"ping\r\n", {"FEED \\npong\\n\\r", "say got pong"}}},
         "pong"},
        // The fed byte's partial pass returns at once; the stop still ends the outer pass.
        {"FedBackTextDoesNotUndoTheOuterStop",
         Direct,
         {{"x", "STOP|FEED y", Complete}, {"x", "say 2", Complete}},
         {{"x\n", {"STOP", "FEED y"}}},
         "xy"},
        {"TriggersWithoutPatternOrActionAreNeverTried",
         Both,
         {{"", "say empty", Complete}, {"x", "", Complete}},
         {{"x\n", {}}}},
        // The two line ends of "tired" count: one is left for the next line.
        {"SuspensionCountsCrAndLf",
         ThroughTerminal,
         {{"tired", "SUSPEND 3", Complete}, {"x", "say x", Complete}},
         {{"tired\r\n", {"SUSPEND 3"}}, {"x\r\n", {"SUSPEND 3"}}, {"x\r\n", {"SUSPEND 3", "say x"}}}},
    };
    for (const TScanCase& c : cases)
        for (const bool terminal : {false, true}) {
            if (!(c.Paths & (terminal ? ThroughTerminal : Direct)))
                continue;
            SCOPED_TRACE(std::string(c.Label) + (terminal ? " through the terminal" : ""));
            TScanWorld w(terminal);
            for (const auto& [from, to, status] : c.Triggers)
                ::AddTrigger(w.state, from, to, status);
            for (const auto& [received, said] : c.Steps) {
                w.Receive(received);
                EXPECT_EQ(Said(w.host), said) << "after " << received;
            }
            if (c.LastLine) {
                EXPECT_EQ(w.state.LastLine, c.LastLine);
            }
            if (c.CurrentLine) {
                EXPECT_EQ(w.state.CurrentLine, c.CurrentLine);
            }
            if (c.Count >= 0) {
                EXPECT_EQ(w.state.TriggerList.Count(), c.Count);
            }
            if (c.FirstEnabled >= 0) {
                EXPECT_EQ(w.state.TriggerList[0]->Status & cTriggers::Enabled, static_cast<uint32_t>(c.FirstEnabled));
            }
        }
}

TEST_F(TriggerScanTest, LinesSplitAcrossReadsFireOnceAtTheLineEnd)
{
    AddTrigger("goblin", "kill goblin");
    Receive("You see a");
    Receive(" gob");
    EXPECT_TRUE(Said().empty());
    EXPECT_EQ(state.CurrentLine, "You see a gob");
    Receive("lin.\r\n");
    EXPECT_EQ(Said(), Strings{"kill goblin"});
    EXPECT_EQ(state.CurrentLine, "");
    EXPECT_EQ(state.LastLine, "You see a goblin.");
    // Through the terminal, colours are not part of the line.
    TScanWorld w(true);
    ::AddTrigger(w.state, "goblin arrives", "kill goblin");
    w.Receive("\x1b[1;31mA gob");
    w.Receive("lin\x1b[0m arrives.\r\nNext");
    EXPECT_EQ(::Said(w.host), Strings{"kill goblin"});
    EXPECT_EQ(w.state.CurrentLine, "Next");
}

TEST_F(TriggerScanTest, CrLfAndLfCrEndOneLineAndCountTwice)
{
    AddTrigger("line", "say %*");
    state.TrigSuspend = 10;
    Receive("line one\r\nline two\n\r");
    EXPECT_EQ(state.TrigSuspend, 6);  // every CR and LF piece counts
    EXPECT_EQ(host.Count(TScriptEvent::StatusLine), 4);
    EXPECT_EQ(state.LastLine, "line two");
    state.TrigSuspend = 65535;
    Receive("\r\n");
    EXPECT_EQ(state.TrigSuspend, 65535);  // suspended until resumed
    // NegativeSuspensionCountsDownWithoutOverflow
    state.TrigSuspend = INT32_MIN;
    Receive("\n");
    EXPECT_EQ(state.TrigSuspend, INT32_MAX);
}

TEST_F(TriggerScanTest, RegressionAHostLineWithoutALineEndIsBounded)
{
    AddTrigger("aaa", "say long");
    const AnsiString a = "a";
    const size_t limit = TScriptState::MaxTextLength;
    for (size_t i = 0; i < limit + 5; ++i)
        state.ScanReceivedText(a);
    // At the limit the line was scanned as complete and a new one began.
    EXPECT_EQ(state.LastLine.size(), limit);
    EXPECT_EQ(state.CurrentLine, "aaaaa");
    EXPECT_EQ(Said(), Strings{"say long"});
    // A pair that reaches the limit ends the line after its second byte (한 C7 D1).
    Receive("\n");
    for (size_t i = 0; i + 1 < limit; ++i)
        state.ScanReceivedText(a);
    state.ScanReceivedText("\xC7");
    EXPECT_EQ(state.CurrentLine.size(), limit);
    state.ScanReceivedText("\xD1");
    EXPECT_EQ(state.CurrentLine, "");
    EXPECT_EQ(state.LastLine.size(), limit + 1);
    EXPECT_EQ(state.LastLine.substr(limit - 1), "\xC7\xD1");
}

TEST_F(TriggerScanTest, JumpLoopGuardWarnsAtTheHundredthJump)
{
    for (int i = 0; i < 101; ++i)
        AddTrigger("x", "JUMP 1");
    Receive("x\n");
    EXPECT_EQ(Said().size(), 100u);  // the hundred-and-first action does not run
    EXPECT_EQ(host.Messages(), TriggerText::JumpLoop);
}

TEST_F(TriggerScanTest, StopEndsThePassAndAClosingWindowScansNothing)
{
    AddTrigger("x", "STOP");
    AddTrigger("x", "say 2");
    Receive("x\n");
    EXPECT_EQ(Said(), Strings{"STOP"});
    EXPECT_EQ(state.TrigContinue, 0);
    host.Clear();
    state.Closing = 1;
    Receive("x\n");
    EXPECT_TRUE(host.Events.empty());
    EXPECT_EQ(state.CurrentLine, "");
}

TEST_F(TriggerScanTest, CapturesStayForConditionsUntilTheNextTry)
{
    AddTrigger("hp %d", "say %0");
    AddTrigger("zzz", "say z");
    Receive("hp 5\n");
    EXPECT_EQ(state.CaptureCount, 0);  // the second trigger was tried after the first fired
    state.TriggerList.Delete(1);
    state.TriggersChanged();
    Receive("hp 7\n");
    ASSERT_EQ(state.CaptureCount, 1);
    EXPECT_EQ(state.CaptureSlots[0].Text, "7");
}

TEST_F(TriggerScanTest, ChangedPatternsAndPatternsWithVariables)
{
    cTriggers* t = AddTrigger("abc", "say hit", Partial);
    Receive("abc\n");
    t->From = "xyz";  // ChangedPatternIsCompiledAgain
    state.TriggersChanged();
    Receive("abc xyz\n");
    EXPECT_EQ(Said(), (Strings{"say hit", "say hit"}));
    // Patterns with variables are expanded at every try.
    host.Clear();
    cVariables* who = AddVariable("who", "Kim", 'S');
    AddTrigger("@(who) arrives", "say hello", Partial);
    Receive("Kim arrives\n");
    who->Value = "Lee";
    Receive("Kim arrives\nLee arrives\n");
    EXPECT_EQ(Said(), (Strings{"say hello", "say hello"}));
}

// An action that feeds a line end runs a nested pass over the complete line; when that pass
// changes the list, the outer pass goes on by position over the list as it now stands, and the
// nested line end has cleared every trigger's fired mark.
TEST(TriggerScanCases, RegressionAnOuterPassWentOnWithTheOldListsPositions)
{
    struct TCase {
        const char* Label;
        std::vector<std::pair<AnsiString, AnsiString>> Triggers;  // all on complete lines only
        Strings Said;
        Strings Left;  // the patterns of the triggers left, in order
    };
    const TCase cases[] = {
        // "p" fires in the nested pass and deletes trigger 4, so it moves to position 4, which
        // the outer pass reaches next: it fires again and deletes itself.
        {"DeletedBeforeTheNextPosition",
         {{"zzz", "say 1"}, {"zzz", "say 2"}, {"h", "FEED \\n"}, {"zzz", "say 4"}, {"p", "say p|#td 4"}},
         {"FEED \\n", "say p", "say p"},
         {"zzz", "zzz", "h"}},
        // "p" moves itself first; the outer pass reaches "h" again at position 2, and the line
        // it fed ends nothing more (the current line is empty).
        {"MovedToAPositionAlreadyPassed",
         {{"h", "FEED \\n"}, {"zzz", "say 2"}, {"p", "say p|MOVE 3 1"}},
         {"FEED \\n", "say p", "MOVE 3 1", "FEED \\n"},
         {"p", "h", "zzz"}},
        // A trigger added by the nested pass lies past the count the outer pass started with.
        {"AddedAfterTheCount",
         {{"h", "FEED \\n"}, {"p", "#ts new,h,say new,g,13"}, {"zzz", "say 3"}},
         {"FEED \\n"},
         {"h", "p", "zzz", "h"}},
    };
    for (const TCase& c : cases)
        for (const bool terminal : {false, true}) {
            SCOPED_TRACE(std::string(c.Label) + (terminal ? " through the terminal" : ""));
            TScanWorld w(terminal);
            for (const auto& [from, to] : c.Triggers)
                ::AddTrigger(w.state, from, to, Complete);
            w.Receive("hp\n");
            EXPECT_EQ(Said(w.host), c.Said);
            Strings left;
            for (const auto& t : w.state.TriggerList)
                left.push_back(t->From);
            EXPECT_EQ(left, c.Left);
        }
}

// A pattern is refused when it is longer than 999 bytes after expansion, however long the text it
// names, and as any pattern that cannot match, without a word. A value longer than the executor's
// limit was left out, so the rest of the pattern matched.
TEST(TriggerScanCases, PatternsNamingVariablesAtAndPastTheLimit)
{
    const AnsiString current = ScriptText::CurrentLineName, last = ScriptText::LastLineName;
    const AnsiString a997(997, 'a'), a998(998, 'a'), c998(998, 'c'), c999(999, 'c');
    struct TCase {
        const char* Label;
        AnsiString Value;  // of the variable v
        AnsiString From;
        uint32_t Status;
        AnsiString Received;
        Strings Said;
    };
    const TCase cases[] = {
        {"AVariableThatFillsTheLimit", a997, "@(v)zz", Partial, a997 + "zz\n", {"say hit"}},
        {"AVariableOneBytePastIt", a998, "@(v)zz", Partial, a998 + "zz\n", {}},
        {"AReferenceToNothingShrinksThePattern",
         "",
         "@(" + AnsiString(2000, 'x') + ")zz",
         Partial,
         "zz\n",
         {"say hit"}},
        {"TheLineUpToTheLimit", "", "@(" + current + ")", Complete, AnsiString(999, 'b') + "\n", {"say hit"}},
        {"TheLinePastTheLimit", "", "@(" + current + ")", Complete, AnsiString(1000, 'b') + "\n", {}},
        {"TheLastLineRepeatedUpToTheLimit", "", "@(" + last + ")!", Complete, c998 + "\n" + c998 + "!\n", {"say hit"}},
        {"TheLastLineRepeatedPastTheLimit", "", "@(" + last + ")!", Complete, c999 + "\n" + c999 + "!\n", {}},
        {"RegressionAValueLongerThanAnyTextWasLeftOutAndReportedAtEveryTry",
         AnsiString(TScriptState::MaxTextLength + 1, 'd'),
         "@(v)zz",
         Partial,
         "zz\nzz\n",
         {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Label);
        TScanWorld w(false);
        auto v = std::make_unique<cVariables>();
        v->Name = "v";
        v->Value = c.Value;
        w.state.VariableList.Add(std::move(v));
        ::AddTrigger(w.state, c.From, "say hit", c.Status);
        w.Receive(c.Received);
        EXPECT_EQ(Said(w.host), c.Said);
        EXPECT_EQ(w.host.Messages(), "");
    }
}
