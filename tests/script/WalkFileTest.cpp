// Walk files: reading lines with breakpoints and comments, writing them back, and failures that
// must not lose the walk.

#include <filesystem>

#include "WalkTest.h"
#include "platform/core/AtomicFile.h"

TEST(WalkLineTest, CommandOfALine)
{
    struct Case {
        const char* line;
        const char* command;
    } cases[] = {
        {"n", "n"},
        {"B n // gate", "n"},          // breakpoint and comment as the recorder writes them
        {"n//x//y", "n"},              // any "//" starts the comment
        {"", ""},
        {"// just a note", ""},
        {"B// note", ""},
        {"B", ""},
        {"\t n \r", "n"},              // blanks and control characters trimmed
        {"Back", "ack"},               // a capital B is always a breakpoint mark
        {"b n", "b n"},                // a small b is not
        {"say hi there // x", "say hi there"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseWalkLine(c.line), c.command) << "line: " << c.line;
    EXPECT_EQ(ParseWalkLine(Kr("B 북동 // 다리 앞")), Kr("북동"));
}

TEST(WalkLineTest, TextSplitsAsAStringList)
{
    EXPECT_EQ(SplitWalkText("a\r\nb\nc\rd"), (Strings{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitWalkText("a\r\n\r\nb\r\n"), (Strings{"a", "", "b"}));  // no line after the last end
    EXPECT_EQ(SplitWalkText(""), Strings{});
    EXPECT_EQ(JoinWalkLines({"n", "B s // x"}), "n\r\nB s // x\r\n");
    EXPECT_EQ(JoinWalkLines({}), "");
}

TEST_F(WalkTest, OpenReadsStepsBreakPointsAndComments)
{
    WriteWalk("Route.Wlk", Kr("북\r\nB 동 // 문 앞\nn\r// note only\r\ns // shop\r\n"));
    state.WalkRec.Current = 5;
    state.WalkRec.StepPending = 1;
    state.WalkRec.MultiStep = 1;
    OpenWalk(state, "Route.Wlk");
    const cWalk& walk = state.WalkRec;
    EXPECT_EQ(walk.State, 2);
    EXPECT_EQ(walk.FileName, "Route.Wlk");
    EXPECT_EQ(walk.Steps, (Strings{Kr("북"), Kr("B 동 // 문 앞"), "n", "// note only", "s // shop"}));
    EXPECT_EQ(walk.Current, 0);
    EXPECT_EQ(walk.Previous, 0);
    EXPECT_EQ(walk.Saved, 0);
    EXPECT_EQ(walk.StepPending, 0);
    EXPECT_EQ(walk.MultiStep, 0);
    EXPECT_EQ(Messages(), "");
}

TEST_F(WalkTest, OpenOfAMissingFileLeavesNoWalk)
{
    OpenLines({"n", "s"});
    state.WalkRec.Current = 1;
    OpenWalk(state, "Missing.Wlk");
    const cWalk& walk = state.WalkRec;
    EXPECT_EQ(walk.State, 0);
    EXPECT_EQ(walk.FileName, "Missing.Wlk");
    EXPECT_TRUE(walk.Steps.empty());
    EXPECT_EQ(walk.Current, 0);
    EXPECT_EQ(walk.MultiStep, 0);
    EXPECT_EQ(Messages(), "");  // no message for a walk that cannot be read
    // A folder of that name is not a walk either.
    std::filesystem::create_directories(CmdPath("Folder.Wlk"));
    OpenWalk(state, "Folder.Wlk");
    EXPECT_EQ(state.WalkRec.State, 0);
}

TEST_F(WalkTest, LoadedWalkIsSavedBackByteForByte)
{
    const std::string bytes = Kr("북\r\nB 동 // 문 앞\r\n\r\n// note only\r\nwest\r\n");
    WriteWalk("Route.Wlk", bytes);
    OpenWalk(state, "Route.Wlk");
    ASSERT_TRUE(CloseWalk(state));
    EXPECT_EQ(ReadWalk("Route.Wlk"), bytes);
    EXPECT_EQ(state.WalkRec.State, 0);
    EXPECT_TRUE(state.WalkRec.Steps.empty());
    // Lines ended by LF or CR alone come back with CR LF.
    WriteWalk("Route.Wlk", "n\ns\re");
    OpenWalk(state, "Route.Wlk");
    ASSERT_TRUE(CloseWalk(state));
    EXPECT_EQ(ReadWalk("Route.Wlk"), "n\r\ns\r\ne\r\n");
}

TEST_F(WalkTest, RecordedWalkIsWrittenIntoANewCmdFolder)
{
    ASSERT_FALSE(std::filesystem::exists(Folder + "/Cmd"));
    NewWalkRecord(state, Kr("산\\길.Wlk"));  // a name may hold a subfolder
    Run(Kr("북|n|#wsc 다리|e"));
    ASSERT_TRUE(EndWalkRecord(state));
    EXPECT_EQ(ReadWalk("\xEC\x82\xB0/\xEA\xB8\xB8.Wlk"), Kr("북\r\nn\r\ne // 다리\r\n"));  // UTF-8 file names
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
        EXPECT_EQ(host.Events.back().Text, "\xBF\xA1\xB7\xAF");  // captioned "error"
        EXPECT_NE(Boxes()[0].find("Route.Wlk"), AnsiString::npos);
        // Still recording, nothing lost.
        EXPECT_EQ(state.WalkRec.State, 1);
        EXPECT_EQ(state.WalkRec.Steps, (Strings{"n", "s"}));
    }
    InjectAtomicWriteFailure(TAtomicWriteStep::Write);
    EXPECT_FALSE(CloseWalk(state));
    EXPECT_EQ(state.WalkRec.State, 1);
    EXPECT_EQ(state.WalkRec.Steps.size(), 2u);
    EXPECT_EQ(ReadWalk("Route.Wlk"), "old\r\n");
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

TEST_F(WalkTest, EndAndCloseDependOnTheState)
{
    EXPECT_TRUE(EndWalkRecord(state));
    EXPECT_EQ(Messages(), ScriptText::NoWalk);
    host.Clear();
    EXPECT_TRUE(CloseWalk(state));  // nothing to close: no message, no file
    EXPECT_EQ(Messages(), "");
    EXPECT_FALSE(std::filesystem::exists(Folder + "/Cmd"));
    // A loaded walk is not re-saved by "we".
    OpenLines({"n"});
    std::filesystem::remove(CmdPath("Route.Wlk"));
    EXPECT_TRUE(EndWalkRecord(state));
    EXPECT_FALSE(std::filesystem::exists(CmdPath("Route.Wlk")));
    EXPECT_EQ(state.WalkRec.State, 2);
}
