// Walks: walk files with breakpoints and comments, recording, replay step by step, to
// breakpoints and at speed, the walk timer on the manual clock, and finding the way back onto a
// walk.

#include <filesystem>
#include <memory>

#include "ScriptTest.h"
#include "platform/core/AtomicFile.h"
#include "script/Walk.h"
#include "tests/platform/core/Mutate.h"

namespace {

class WalkTest : public ScriptTest {
protected:
    // The native path of "Cmd/" + name in the test's folder.
    std::string CmdPath(const std::string& name) const { return PathOf("Cmd/" + name); }
    void WriteWalk(const std::string& name, const std::string& bytes) const { WriteFile("Cmd/" + name, bytes); }
    std::string ReadWalk(const std::string& name) const { return ReadFile(CmdPath(name)); }
    // Opens a walk holding these lines (written with CR LF).
    void OpenLines(const Strings& lines)
    {
        std::string bytes;
        for (const auto& line : lines)
            bytes += line + "\r\n";
        WriteWalk("Route.Wlk", bytes);
        OpenWalk(state, "Route.Wlk");
        ASSERT_EQ(state.WalkRec.State, 2);
    }
    void AdvanceMs(uint64_t ms) { host.Clock.Advance(ms); }
};

}  // namespace

TEST(WalkLineTest, CommandOfALine)
{
    struct Case {
        const char* line;
        const char* command;
    } cases[] = {
        {"n", "n"},       {"B n // gate", "n"},  // breakpoint and comment as the recorder writes them
        {"n//x//y", "n"},                        // any "//" starts the comment
        {"B// note", ""}, {"\t n \r", "n"},      // blanks and control characters trimmed
        {"Back", "ack"},                         // a capital B is always a breakpoint mark
        {"b n", "b n"},                          // a small b is not
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseWalkLine(c.line), c.command) << "line: " << c.line;
    EXPECT_EQ(ParseWalkLine(Ks("B 북동 // 다리 앞")), Ks("북동"));
}

TEST(WalkLineTest, TextSplitsAsAStringList)
{
    EXPECT_EQ(SplitWalkText("a\r\nb\nc\rd"), (Strings{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitWalkText("a\r\n\r\nb\r\n"), (Strings{"a", "", "b"}));  // no line after the last end
    EXPECT_EQ(JoinWalkLines({"n", "B s // x"}), "n\r\nB s // x\r\n");
}

TEST_F(WalkTest, OpenReadsStepsBreakPointsAndComments)
{
    WriteWalk("Route.Wlk", Ks("북\r\nB 동 // 문 앞\nn\r// note only\r\ns // shop\r\n"));
    state.WalkRec.Current = 5;
    state.WalkRec.StepPending = 1;
    OpenWalk(state, "Route.Wlk");
    const cWalk& walk = state.WalkRec;
    EXPECT_EQ(walk.State, 2);
    EXPECT_EQ(walk.Steps, (Strings{Ks("북"), Ks("B 동 // 문 앞"), "n", "// note only", "s // shop"}));
    EXPECT_EQ(walk.Current, 0);
    EXPECT_EQ(walk.StepPending, 0);
}

TEST_F(WalkTest, OpenOfAMissingFileLeavesNoWalk)
{
    OpenLines({"n", "s"});
    state.WalkRec.Current = 1;
    OpenWalk(state, "Missing.Wlk");
    const cWalk& walk = state.WalkRec;
    EXPECT_EQ(walk.State, 0);
    EXPECT_TRUE(walk.Steps.empty());
    EXPECT_EQ(walk.Current, 0);
    EXPECT_EQ(Messages(), "");  // no message for a walk that cannot be read
    // A folder of that name is not a walk either.
    std::filesystem::create_directories(CmdPath("Folder.Wlk"));
    OpenWalk(state, "Folder.Wlk");
    EXPECT_EQ(state.WalkRec.State, 0);
}

TEST_F(WalkTest, LoadedWalkIsSavedBackByteForByte)
{
    const std::string bytes = Ks("북\r\nB 동 // 문 앞\r\n\r\n// note only\r\nwest\r\n");
    WriteWalk("Route.Wlk", bytes);
    OpenWalk(state, "Route.Wlk");
    ASSERT_TRUE(CloseWalk(state));
    EXPECT_EQ(ReadWalk("Route.Wlk"), bytes);
    // Lines ended by LF or CR alone come back with CR LF.
    WriteWalk("Route.Wlk", "n\ns\re");
    OpenWalk(state, "Route.Wlk");
    ASSERT_TRUE(CloseWalk(state));
    EXPECT_EQ(ReadWalk("Route.Wlk"), "n\r\ns\r\ne\r\n");
}

TEST_F(WalkTest, RecordedWalkIsWrittenIntoANewCmdFolder)
{
    ASSERT_FALSE(std::filesystem::exists(Folder + "/Cmd"));
    NewWalkRecord(state, Ks("산\\길.Wlk"));  // a name may hold a subfolder
    Run(Ks("북|n|#wsc 다리|e"));
    ASSERT_TRUE(EndWalkRecord(state));
    EXPECT_EQ(ReadWalk("\xEC\x82\xB0/\xEA\xB8\xB8.Wlk"), Ks("북\r\nn\r\ne // 다리\r\n"));  // UTF-8 file names
    EXPECT_EQ(state.WalkRec.State, 2);
}

TEST_F(WalkTest, FailedSaveKeepsTheOldFileAndTheWalk)
{
    WriteWalk("Route.Wlk", "old\r\n");
    NewWalkRecord(state, "Route.Wlk");
    Run("n|s");
    for (TAtomicWriteStep step : {TAtomicWriteStep::Create, TAtomicWriteStep::Write, TAtomicWriteStep::Rename}) {
        host.Clear();
        InjectAtomicWriteFailure(step);
        EXPECT_FALSE(EndWalkRecord(state));
        EXPECT_EQ(ReadWalk("Route.Wlk"), "old\r\n");
        ASSERT_EQ(Boxes().size(), 1u);
        EXPECT_NE(Boxes()[0].find("Route.Wlk"), AnsiString::npos);
        // Still recording, nothing lost.
        EXPECT_EQ(state.WalkRec.State, 1);
        EXPECT_EQ(state.WalkRec.Steps, (Strings{"n", "s"}));
    }
    InjectAtomicWriteFailure(TAtomicWriteStep::Write);
    EXPECT_FALSE(CloseWalk(state));
    EXPECT_EQ(state.WalkRec.State, 1);
    // Once the disk works again the walk is saved.
    ASSERT_TRUE(CloseWalk(state));
    EXPECT_EQ(ReadWalk("Route.Wlk"), "n\r\ns\r\n");
    EXPECT_EQ(state.WalkRec.State, 0);
}

TEST_F(WalkTest, WalkWithoutANameIsNotReportedSaved)
{
    NewWalkRecord(state, "");
    Run("n");
    EXPECT_FALSE(EndWalkRecord(state));
    EXPECT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(state.WalkRec.State, 1);
}

TEST_F(WalkTest, WalkLargerThanAWalkFileMayBeIsNotSaved)
{
    // What the reader would refuse: too many steps, or too many bytes.
    for (const Strings& steps : {Strings(MaxWalkSteps + 1), Strings(65, AnsiString(size_t{1} << 20, 'n'))}) {
        NewWalkRecord(state, "Route.Wlk");
        state.WalkRec.Steps = steps;
        host.Clear();
        testing::internal::CaptureStderr();
        EXPECT_FALSE(EndWalkRecord(state));
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(Boxes().size(), 1u);
        EXPECT_FALSE(std::filesystem::exists(CmdPath("Route.Wlk")));
    }
}

TEST_F(WalkTest, EndAndCloseDependOnTheState)
{
    EXPECT_TRUE(EndWalkRecord(state));
    EXPECT_EQ(Messages(), ScriptText::NoWalk);
    host.Clear();
    EXPECT_TRUE(CloseWalk(state));  // nothing to close: no message, no file
    EXPECT_FALSE(std::filesystem::exists(Folder + "/Cmd"));
    // A loaded walk is not re-saved by "we".
    OpenLines({"n"});
    std::filesystem::remove(CmdPath("Route.Wlk"));
    EXPECT_TRUE(EndWalkRecord(state));
    EXPECT_FALSE(std::filesystem::exists(CmdPath("Route.Wlk")));
    EXPECT_EQ(state.WalkRec.State, 2);
}

TEST_F(WalkTest, RecordingByWordTrimsAndNeedsARecordingWalk)
{
    state.RecordWalkStep("n");
    EXPECT_EQ(Messages(), ScriptText::NoWalk);  // no walk at all
    host.Clear();
    NewWalkRecord(state, "Route.Wlk");
    state.RecordWalkStep(" s\t");
    state.RecordWalkStep("say");
    EXPECT_EQ(state.WalkRec.Steps, (Strings{"s"}));
    EXPECT_EQ(Lines(), Strings{});  // recording a word sends nothing
    // A loaded walk takes no steps, silently.
    OpenLines({"e"});
    state.RecordWalkStep("n");
    EXPECT_EQ(state.WalkRec.Steps, (Strings{"e"}));
    EXPECT_EQ(Messages(), "");
}

TEST_F(WalkTest, RecordedWalkPlaysFromItsStart)
{
    NewWalkRecord(state, "Route.Wlk");
    Run("n|e");
    TakeLines();
    SpeedWalk(state);
    EXPECT_EQ(TakeLines(), (Strings{"n", "e"}));
    EXPECT_EQ(state.WalkRec.Steps, (Strings{"n", "e"}));  // replayed steps are not recorded again
    // "wg" on a recording walk sends without rewinding, and the move is recorded.
    NewWalkRecord(state, "Route.Wlk");
    Run("n");
    TakeLines();
    SlowWalk(state);
    EXPECT_EQ(TakeLines(), (Strings{"n"}));
    EXPECT_EQ(state.WalkRec.Steps, (Strings{"n", "n"}));
}

TEST_F(WalkTest, StepThatRewindsTheWalkEndsTheRun)
{
    OpenLines({"n", "trap", "e"});
    host.OnLine = [this](const AnsiString& line) {
        if (line == "trap")
            RewindWalk(state);
    };
    SpeedWalk(state);  // would start over for ever
    EXPECT_EQ(TakeLines(), (Strings{"n", "trap"}));
    WalkNextStep(state, "5");
    EXPECT_EQ(TakeLines(), (Strings{"n", "trap"}));
    host.OnLine = [this](const AnsiString& line) {
        if (line == "trap")
            WalkGoToStep(state, "0");
    };
    WalkNextBreakPoint(state);
    EXPECT_EQ(TakeLines(), (Strings{"n", "trap"}));
}

TEST_F(WalkTest, StepThatClosesTheWalk)
{
    OpenLines({"n", "bye", "e"});
    host.OnLine = [this](const AnsiString& line) {
        if (line == "bye")
            CloseWalk(state);
    };
    SpeedWalk(state);
    EXPECT_EQ(TakeLines(), (Strings{"n", "bye"}));
    EXPECT_EQ(state.WalkRec.StepPending, 0);  // no pending step on a closed walk
    // Closed from a slow step and from "wal".
    OpenLines({"bye"});
    SlowWalk(state);
    EXPECT_EQ(state.WalkRec.StepPending, 0);
    OpenLines({"bye"});
    WalkStepAgain(state);
    EXPECT_EQ(state.WalkRec.State, 0);
}

TEST_F(WalkTest, StepThatEmptiesOrRunsTheWalk)
{
    OpenLines({"n", "wipe", "e", "s"});
    host.OnLine = [this](const AnsiString& line) {
        if (line == "wipe") {
            state.WalkRec.Steps.clear();
            state.WalkRec.Steps.shrink_to_fit();
        }
    };
    SpeedWalk(state);
    EXPECT_EQ(TakeLines(), (Strings{"n", "wipe"}));
    // A step that jumps ahead and runs the rest itself: every step goes out once, and the outer
    // run stops where the inner one left the walk.
    OpenLines({"n", "rest", "e", "s"});
    host.OnLine = [this](const AnsiString& line) {
        if (line == "rest") {
            WalkGoToStep(state, "2");
            SpeedWalk(state);
        }
    };
    WalkNextStep(state, "10");
    EXPECT_EQ(TakeLines(), (Strings{"n", "rest", "e", "s"}));
    EXPECT_EQ(state.WalkRec.Current, 4);
}

TEST_F(WalkTest, StepThatRunsItsOwnWalkEndsAtTheNestingLimit)
{
    // As a step "#ws" would: the step at the current index is the step being run.
    OpenLines({"n", "again", "e"});
    host.OnLine = [this](const AnsiString& line) {
        if (line == "again")
            SpeedWalk(state);
    };
    SpeedWalk(state);
    EXPECT_NE(Messages().find(ScriptText::NestingTooDeep), AnsiString::npos);
}

TEST_F(WalkTest, TimerOutlivingItsScriptFiresIntoNothing)
{
    WriteWalk("Route.Wlk", "n\r\n");
    {
        TScriptState other(host);
        OpenWalk(other, "Route.Wlk");
        StartWalkTimer(other, "1");
    }
    AdvanceMs(2000);
    EXPECT_EQ(TakeLines(), Strings{});
}

TEST_F(WalkTest, HostWithoutAWalkTimer)
{
    class TNoTimerHost : public TTestHost {
    public:
        TExTimerEvent* WalkTimer() override { return nullptr; }
    } bare;
    bare.Folder = Folder;
    TScriptState other(bare);
    WriteWalk("Route.Wlk", "n\r\ne\r\n");
    OpenWalk(other, "Route.Wlk");
    StartWalkTimer(other, "1");
    WalkTimerNow(other);
    EXPECT_FALSE(WalkTimerRunning(other));
    EXPECT_EQ(bare.Sent(), "");
    WalkOkAndNext(other);  // never running: steps at once
    EXPECT_EQ(bare.Sent(), "n\r\n");
}

// Recording, replay, the walk timer and finding the way back, as the "#" words drive them.
TEST_F(WalkTest, Scenarios)
{
    const struct {
        const char* Label;
        Strings Walk;  // opened as Route.Wlk unless empty
        std::vector<TStep> Steps;
        const char* File = nullptr;  // Route.Wlk at the end
    } cases[] = {
        // Everything typed still goes to the game.
        {"OnlyMovementWordsAreRecorded",
         {},
         {{"record Route.Wlk", {}, "state=1"},
          {Ks("북") + "&&" + Ks("말 안녕하세요") + "&&n&&look|NE|up|5|9",
           {Ks("북"), Ks("말 안녕하세요"), "n", "look", "NE", "up", "5", "9"},
           "",
           nullptr,
           Strings{Ks("북"), "n", "NE", "9"}}}},
        // Not a move: the comment waits. Appending to the last step; an empty text adds nothing.
        {"PendingCommentGoesToTheNextMoveOnly",
         {},
         {{"#vs where bridge&&record Route.Wlk&&#wsc at @(where)&&say hi&&n&&s",
           {"say hi", "n", "s"},
           "",
           nullptr,
           Strings{"n // at bridge", "s"}},
          {"#wac gate&&#wac ", {}, "", nullptr, Strings{"n // at bridge", "s // gate"}}}},
        // Recording without a step yet, "#wac" has nothing to append to.
        {"CommentsNeedARecordingWalk",
         {},
         {{"#wsc lost&&#wac lost&&#wl Loaded.Wlk&&#wsc lost&&#wac lost",
           {},
           "commentLength=0",
           nullptr,
           Strings{"n", "e"}},
          {"record Other.Wlk&&#wac lost", {}, "", nullptr, Strings{}}}},
        // Nothing left: nothing happens; a loaded walk is not edited.
        {"WrongMoveIsTakenBack",
         {},
         {{"record Route.Wlk&&n|e&&#wd&&w", {"n", "e", "w"}, "", nullptr, Strings{"n", "w"}},
          {"#wd&&#wd&&#wd", {}, "", nullptr, Strings{}},
          {"#wl Loaded.Wlk&&#wd", {}, "", nullptr, Strings{"n", "e"}}}},
        // No step yet: nothing; loaded, "wsb" changes nothing.
        {"BreakPointMarksTheLastStepOnce",
         {},
         {{"record Route.Wlk&&#wsb", {}, "", nullptr, Strings{}},
          {"n|#wsc door|s&&#wsb&&#wsb", {"n", "s"}, "", nullptr, Strings{"n", "B s // door"}},
          {"#we", {}, "state=2"},
          {"#wgt 0&&#wsb", {}, "", nullptr, Strings{"n", "B s // door"}}},
         "n\r\nB s // door\r\n"},
        // No B left: unchanged; indexes without a step are left alone; while recording too.
        {"BreakPointIsClearedAtTheCurrentStepInAnyState",
         {"B n", "Bs", "e"},
         {{"#wrb", {}, "", nullptr, Strings{" n", "Bs", "e"}},
          {"#wgt 1&&#wrb&&#wrb", {}, "", nullptr, Strings{" n", "s", "e"}},
          {"#wgt -1&&#wrb&&#wgt 3&&#wrb", {}, "", nullptr, Strings{" n", "s", "e"}},
          {"record Route.Wlk&&n&&#wsb&&#wrb", {"n"}, "", nullptr, Strings{" n"}}}},
        {"SlowWalkWaitsForConfirmation",
         {"n // gate", "Back", "e"},
         {{"#wg|#wg", {"n", "n"}, "current=0"},  // not confirmed: the same step again
          {"#wok", {}, "current=1 previous=0"},
          {"#wok", {}, "current=1"},  // nothing pending: no move
          {"#wg", {"ack"}},           // a capital B is a breakpoint mark and is not sent
          {"#wsf", {}, "pending=0"},  // cancelled: the next "wg" sends the same step, as a fresh one
          {"#wg|#wok|#wg|#wok", {"ack", "e"}, "current=3"},
          // At the end nothing is sent, and the confirmation does not run past the end.
          {"#wg", {}, "pending=1"},
          {"#wok", {}, "current=3"}}},
        {"StepAgainResendsAfterAFailedMove",
         {"n", "e", "s"},
         {{"#wal", {"n"}},                          // at the start: the first step
          {"#wg|#wok|#wal", {"n", "n"}},            // confirmed: the last confirmed step
          {"#wg|#wal", {"e", "e"}, "current=1"}}},  // pending: the pending step
        {"NextStepsStopAfterTheCountOrAtTheEnd",
         {"n", "e", "s"},
         {{"#wgt 1|#wn 3", {"e", "s"}, "current=3 saved=1 multiStep=1 pending=0"},  // two steps left
          // An empty, zero, negative or unreadable count is one step.
          {"#wr|#wn", {"n"}, "current=1"},
          {"#wr|#wn -2", {"n"}, "current=1"},
          {"#wr|#wn abc", {"n"}, "current=1"},
          {"#wn 2", {"e", "s"}}}},
        {"NextBreakPointStopsBeforeTheMarkedStep",
         {"n", "s", "B e // door", "w", "Bu", "d"},
         {{"#wnb", {"n", "s"}, "current=2"},
          {"#wnb", {"e", "w"}},  // sends the breakpoint step, on to the next one
          {"#wnb", {"u", "d"}, "current=6"},
          {"#wnb", {}}}},
        // A pending step is sent again first, then confirmed; empty commands send nothing.
        {"SpeedWalkSendsEveryStepLeft",
         {Ks("북"), "// note", "e", ""},
         {{"#wg|#ws", {Ks("북"), Ks("북"), "e"}, "current=4 saved=0"}}},
        {"AutoRewindStartsAFinishedWalkAgain",
         {"n", "e"},
         {{"#ws", {"n", "e"}},
          {"#wg|#wsf", {}},  // off: nothing left to send
          {"auto", {}},
          {"#wg", {"n"}, "current=0 pending=1"},
          {"#wsf|#wgt 9|#wg", {"n"}}}},  // beyond the end after a jump counts as finished too
        {"RewindResetsEveryIndex",
         {"n", "e", "s"},
         {{"#wn 2|#wg|#wr", Any, "state=2 current=0 previous=0 saved=0 pending=0 multiStep=0"},
          {"record Route.Wlk&&#wr", {}, "state=2"}}},  // a recording walk becomes a loaded one
        {"GoToStepSetsEveryIndex",
         {"n", "e", "s"},
         {{"#wn 2|#wgt", Any, "current=2"},  // no step given: nothing
          {"#wgt 1", {}, "current=1 previous=1 saved=1 multiStep=0"},
          {"#wgt x", {}, "current=0"},
          {"#wgt 7|#wg", {}},                 // beyond the last step the walk is at its end
          {"#wc|#wgt 4", {}, "current=4"}}},  // without a walk the index is only a number
        {"PreviousAndSavedIndexes",
         {"a1", "a2", "a3", "a4", "a5"},
         {{"", {}, "previous=0"},
          {"#wg|#wok|#wg|#wok|#wgf", Any, "current=1 saved=1"},  // back to the step confirmed last
          // A run remembers where it started; "wms" moves that mark on up to the current step.
          {"#wn 3", Any, "saved=1 current=4"},
          {"#wms|#wms", {}, "saved=3"},
          {"#wms|#wms", {}, "saved=4"},
          {"#wgt 0|#wn 2|#wms|#wmfi", Any, "current=1 multiStep=0"},  // back to the mark, marking off
          {"#wms", {}, "saved=1"},                                    // no run marked: nothing
          {"#wn 2|#wmf|#wms", Any, "saved=1"},
          {"#wsm", {}, "current=1"}}},
        {"NegativeIndexReadsNoStep",
         {"Bn", "e"},
         {{"#wgt -1|#wg|#wal|#wrb|#wsf|#wal", {}},
          {"#wgt -2147483648|#wal|#wgf", {}, "current=-2147483648"},  // a negative previous index is not gone to
          {"#wg|#wok", {}, "current=-2147483647"}}},  // a confirmation from a negative index moves towards the walk
        {"TimerSendsTheNextStepOnceAfterTenSeconds",
         {"n", "e", "s"},
         {{"#wg", {"n"}},
          {"#wsp", {}, "walkTimerRunning=1"},
          {"+9000", {}},
          {"+1000", {"e"}, "current=1 pending=1 walkTimerRunning=0"},  // "n" confirmed, "e" sent and pending
          {"+60000", {}}}},
        {"TimerTakesItsDelayInSeconds",
         {"n", "e", "s"},
         {{"#wsp 3&&+2000", {}},
          {"+1000", {"n"}},                                       // nothing was pending: the first step
          {"#wsp -2&&+2000", {"e"}, "walkTimerInterval=2000"}}},  // the size of the number counts
        {"RunningTimerIsNotRestartedAndHoldsOffOkAndNext",
         {"n", "e", "s"},
         {{"#wg|#wsp 5&&+3000", {"n"}},
          {"#wsp 5|#wsn", {}, "current=0"},  // still due at 5 s; "wsn" held off while it runs
          {"+2000", {"e"}},
          {"#wsn", {"s"}, "current=2"}}},  // idle: confirms and sends the next step at once
        {"TimerCanBeCutShort",
         {"n", "e"},
         {{"#wspk", {}}, {"#wg|#wsp|#wspk", {"n", "e"}, "walkTimerRunning=0"}, {"+20000", {}}}},
        {"ZeroDelayTimerStillFires", {"n", "e"}, {{"#wsp 0&&+1000", {"n"}, "walkTimerRunning=0"}}},
        {"TimerNeedsALoadedWalk",
         {},
         {{"#wsp 1", {}, "walkTimerRunning=0"},
          {"record Route.Wlk", {}},
          {"#wsp 1", {}, "walkTimerRunning=0"},
          // Closed while it counts down: it fires into no walk.
          {"#wl Loaded.Wlk|#wsp 1|#wc&&+5000", {}}}},
        // Sending "s" would put the character back at the start.
        {"FindAtTheStartDoesNotUndoAMoveAlongTheWalk", {"n", "e"}, {{"#wfn n", {}, "current=1"}}},
        {"FindFollowsMovesAlongTheWalk",
         {"n", "B e // door", "n"},
         {{"#wfn n", {}, "current=1"},
          {"#wfn e", {}, "current=2 previous=2 saved=2"},  // compared with the command, mark and comment aside
          {"#wfn w", {}, "current=1"}}},                   // back along the walk
        {"FindUndoesMovesOffTheWalk",
         {"n", "e", "n"},
         {{"#wfn w", {"e"}, "current=0"},  // at the start, off the walk
          {"#wgt 1|#wfn u", {"d"}, "current=1"},
          {"#wfn look", {}},                        // not a movement word: nothing to undo
          {"#wgt 3|#wfn s", {"n"}, "current=3"}}},  // at the end every move is undone
        {"FindUndoesKoreanMovesBelowTheWalk",
         {Ks("북"), Ks("동")},
         {{"#wgt -4|#wfn " + Ks("북"), {Ks("남")}, "current=-4"}}},
        {"FindNeedsALoadedWalk",
         {},
         {{"#wfn n", {}}, {"record Route.Wlk", {}}, {"n", {"n"}}, {"#wfn s", {}, "current=0"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Label);
        TTestHost h;
        TScriptState s(h);
        h.Folder = Folder;
        WriteWalk("Loaded.Wlk", "n\r\ne\r\n");
        std::string bytes;
        for (const auto& line : c.Walk)
            bytes += line + "\r\n";
        if (!c.Walk.empty()) {
            WriteWalk("Route.Wlk", bytes);
            OpenWalk(s, "Route.Wlk");
        }
        std::vector<TStep> steps = c.Steps;
        for (TStep& step : steps)
            step.Messages = step.Messages ? step.Messages : "";  // no walk word here shows a message
        Play(h, s, steps);
        if (c.File) {
            EXPECT_EQ(ReadWalk("Route.Wlk"), c.File);
        }
    }
    state.WalkRec.Current = 3;  // a fresh walk record has no previous step to go back to
    WalkGoPrevious(state);
    EXPECT_EQ(state.WalkRec.Current, 3);
}

TEST_F(WalkTest, SeededDamageIsWalkedAndSavedBackLineForLine)
{
    const std::string original = Ks("북\r\nB 동 // 문 앞\r\n\r\n// note only\r\nwest\r\n#rem 끝\r\n");
    TMutator mutator(20261207);
    for (int i = 0; i < 200; ++i) {
        SCOPED_TRACE("damage " + std::to_string(i));
        const std::string damaged = mutator.Damage(original);
        WriteWalk("Route.Wlk", damaged);
        OpenWalk(state, "Route.Wlk");
        ASSERT_EQ(state.WalkRec.State, 2);
        // Every line is a step, whatever its bytes; stepping through them all ends the walk.
        for (size_t step = 0; step <= state.WalkRec.Steps.size() && state.WalkRec.State == 2; ++step)
            Run("#wn");
        ASSERT_TRUE(CloseWalk(state));
        EXPECT_EQ(ReadWalk("Route.Wlk"), JoinWalkLines(SplitWalkText(damaged)));
        if (HasFailure())
            return;
    }
}
