// The scriptrun tool, run on directive files: what it prints for the engine's doings, command
// files, host text through the trigger scan, the timers' clock, the "#" words and walks.

#include <filesystem>
#include <fstream>

#include "ScriptTest.h"
#include "tests/TempName.h"
#include "tools/scriptrun/ScriptRunText.h"

namespace {

// The lines of text that are not status-line refreshes or book saves, which most cases leave to
// the one that checks them.
std::string WithoutRefreshes(const std::string& text)
{
    std::string out;
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find('\n', at), text.size() - 1) + 1;
        const std::string line = text.substr(at, end - at);
        if (line != "STATUS\n" && line != "SAVEBOOK\n")
            out += line;
        at = end;
    }
    return out;
}

// The tool's standard output, run in folder with the options; it must succeed.
std::string Tool(const std::string& directives, const std::string& options = "", const std::string& folder = "")
{
    const TToolRun run = RunTool(directives, options, folder);
    EXPECT_EQ(run.Status, 0);
    return WithoutRefreshes(run.Out);
}

std::string Msg(const AnsiString& text) { return "MSG " + EscapeText(text) + "\n"; }
std::string Send(const AnsiString& line) { return "SEND " + EscapeText(line) + "\nSEND \\x0D\\x0A\n"; }

}  // namespace

TEST(ScriptRunTextTest, UnescapesInputAndEscapesOutput)
{
    EXPECT_EQ(UnescapeText("a\\r\\n\\t\\\\b"), "a\r\n\t\\b");
    EXPECT_EQ(UnescapeText("\\xB3\\xb2"), "\xB3\xB2");
    // Anything else keeps its backslash, so raw lines can be typed.
    EXPECT_EQ(UnescapeText("\\say \\x4"), "\\say \\x4");
    EXPECT_EQ(EscapeText("a\\b"), "a\\\\b");
    EXPECT_EQ(EscapeText("\r\n\x1B\xB3\xB2"), "\\x0D\\x0A\\x1B\\xB3\\xB2");
    EXPECT_EQ(UnescapeText(EscapeText(AnsiString("\0\x7F\xFF", 3))), AnsiString("\0\x7F\xFF", 3));
}

TEST(ScriptRunToolTest, PrintsWhatTheEngineDoesInOrder)
{
    EXPECT_EQ(Tool("# a comment\n"
                   "> say hi|#nope\n"
                   "> \\\\raw\n"
                   "> abc$#065$E\n"
                   "< no trigger here\n"
                   "+ 5\n"
                   "> %addlist(L,a)|%addlist(L,\\xB3\\xB2)\n"
                   "? var L\n"
                   "? var none\n"
                   ">\n"),
              "SEND say hi\n"
              "SEND \\x0D\\x0A\n"
              "MSG nope <== \\xBE\\xF8\\xB4\\xC2 \\xB8\\xED\\xB7\\xC9\\xC0\\xD4\\xB4\\xCF\\xB4\\xD9!\\x0A\\x0D\n"
              "SEND raw\\x0D\\x0A\n"
              "SEND abcA\\x1B\n"
              "SEND \\x0D\\x0A\n"
              "VAR L S a,\\xB3\\xB2\n"
              "VAR none -\n"
              "SEND \\x0D\\x0A\n");
    const std::string out = Tool("> #if (@(x) = \"\") {say %rdir(n)} {say no}\n");  // conditions and message boxes
    EXPECT_EQ(out.substr(0, 4), "BOX ");
    EXPECT_NE(out.find("\nSEND say s\n"), std::string::npos);
    // Disconnected nothing is sent; bad options fail.
    EXPECT_EQ(Tool("> say hi|#x\n", "--disconnected --port 23"),
              "MSG x <== \\xBE\\xF8\\xB4\\xC2 \\xB8\\xED\\xB7\\xC9\\xC0\\xD4\\xB4\\xCF\\xB4\\xD9!\\x0A\\x0D\n");
    EXPECT_NE(RunTool("", "--port x").Status, 0);
}

TEST(ScriptRunToolTest, ReceivedTextFiresTriggers)
{
    EXPECT_EQ(Tool("> #ts hp,hp %d/%d,say low %0 of %1,g,13\n"
                   "< \\x1b[1;32mhp 12/3\n"
                   "< 00\\x1b[0m\\r\\nnothing here\\r\\n\n"
                   "> #ts prompt,Password:,secret,g,5\n"
                   "< Password:\n"
                   "< \\r\\n\\xC7\\xD1 \\x8Ccat\\r\\n\n"),
              "SEND say low 12 of 300\n"
              "SEND \\x0D\\x0A\n"
              "SEND secret\n"
              "SEND \\x0D\\x0A\n");
}

TEST(ScriptRunToolTest, RegressionToolFedHostTextPastTheWindowsOwnSequences)
{
    // The window never reports a picture's row data, so the trigger sees "AB".
    EXPECT_EQ(Tool("> #ts p,AB,say seen,g,13\n"
                   "< A\\x1b[0;0;1%\\x1b[*,FFB\\r\\n\n"),
              "SEND say seen\nSEND \\x0D\\x0A\n");
}

TEST_F(ScriptTest, RegressionToolDroppedRefreshesAndBookSaves)
{
    WriteFile("Empty.Cmd", "#END\r\n");
    const TToolRun run = RunTool("> #load " + Folder + "/Empty.Cmd\n< x\\n\n", "", "", true);
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out.substr(0, 16), "SAVEBOOK\nSTATUS\n");
}

TEST(ScriptRunToolTest, RecordDirectiveStartsAWalk)
{
    const TToolRun run = RunTool("! record w.Wlk\n> n\n> look\n? walk\n! replay\n", "", "", true);
    EXPECT_EQ(run.Status, 1);  // the unknown action
    EXPECT_EQ(WithoutRefreshes(run.Out),
              "SEND n\nSEND \\x0D\\x0A\n"
              "SEND look\nSEND \\x0D\\x0A\n"
              "WALK 1 0 0 0 0 0 w.Wlk\nSTEP n\n"
              "scriptrun: line 5: unknown action\n");
}

TEST(ScriptRunToolTest, ClockDirectiveTakesWholeSeconds)
{
    const TToolRun ok = RunTool("+ 0\n+ 86400\n> %ttc(none)x\n", "", "", true);
    EXPECT_EQ(ok.Status, 0);
    EXPECT_EQ(ok.Out, "SEND x\nSEND \\x0D\\x0A\n");
    for (const char* bad : {"+ -1\n", "+ soon\n", "+\n", "+ 99999999999\n"}) {
        const TToolRun run = RunTool(std::string(bad) + "> after\n", "", "", true);
        EXPECT_EQ(run.Status, 1) << bad;
        EXPECT_NE(run.Out.find("bad number of seconds"), std::string::npos) << bad;
        EXPECT_NE(run.Out.find("SEND after"), std::string::npos) << bad;  // the directives after it still run
    }
}

TEST_F(ScriptTest, ToolLoadsACommandFileAndSavesItBack)
{
    const std::string out = Tool("? var \\xC3\\xBC\\xB7\\xC2\n"                  // the D variable of the file
                                 "> \\xC0\\xCE\\xBB\\xE7\\xC7\\xCF\\xB1\\xE2\n"  // its alias
                                 "? save " +
                                     Folder + "/Out.Cmd\n",
                                 "--cmd " + GoldenPath());
    EXPECT_EQ(out,
              "SEND say \\xBE\\xC8\\xB3\\xE7\\xC7\\xCF\\xBC\\xBC\\xBF\\xE4\n"
              "SEND \\x0D\\x0A\n"
              "SEND bow\n"
              "SEND \\x0D\\x0A\n"
              "SEND \\xBA\\xC1\n"
              "SEND \\x0D\\x0A\n"
              "LOADED " +
                  GoldenPath() +
                  "\n"
                  "VAR \\xC3\\xBC\\xB7\\xC2 D -42\n"
                  "SEND say \\xBE\\xC8\\xB3\\xE7\\xC7\\xCF\\xBC\\xBC\\xBF\\xE4\n"
                  "SEND \\x0D\\x0A\n"
                  "SEND bow\n"
                  "SEND \\x0D\\x0A\n"
                  "SAVED " +
                  Folder + "/Out.Cmd\n");
    EXPECT_EQ(ReadFile(Folder + "/Out.Cmd"), ReadFile(GoldenPath()));
}

TEST_F(ScriptTest, ToolReportsFilesItCannotLoadOrSave)
{
    const std::string bad = WriteFile("Bad.Cmd", "#Nope\r\n");
    EXPECT_EQ(Tool("? save /proc/none/x.Cmd\n", "--cmd " + bad),
              "BOX \\xBF\\xA1\\xB7\\xAF Cmd File Section \\xC6\\xF7\\xB8\\xE4\\xC0\\xCC  "
              "\\xC0\\xDF\\xB8\\xF8\\xB5\\xC7\\xBE\\xFA\\xBD\\xC0\\xB4\\xCF\\xB4\\xD9\n"
              "LOAD FAILED " +
                  bad +
                  "\n"
                  "BOX \\xBF\\xA1\\xB7\\xAF Triggers File \\xC0\\xFA\\xC0\\xE5\\xC0\\xCC "
                  "\\xBE\\xC8\\xB5\\xCB\\xB4\\xCF\\xB4\\xD9\n"
                  "SAVE FAILED /proc/none/x.Cmd\n");
    EXPECT_EQ(Tool("", "--cmd " + Folder + "/missing.Cmd"), "LOAD FAILED " + Folder + "/missing.Cmd\n");
}

TEST_F(ScriptTest, ToolTakesFilesRelativeToTheWorkingFolder)
{
    std::filesystem::copy_file(GoldenPath(), Folder + "/Here.Cmd");
    const std::string out = Tool("? save Rel.Cmd\n", "--cmd Here.Cmd --disconnected", Folder);
    EXPECT_EQ(out, "LOADED Here.Cmd\nSAVED Rel.Cmd\n");  // nothing is sent while disconnected
    EXPECT_EQ(ReadFile(Folder + "/Rel.Cmd"), ReadFile(GoldenPath()));
}

TEST_F(ScriptTest, ToolRunsTheHashWordsOfEveryGroup)
{
    WriteFile("Timer.Cmd", "#Timer\r\nStatus 0\r\nTicker 2\r\nName 1 t\r\nOnBuff 4 tick\r\nEnd\r\n#END\r\n");
    const std::string directives = "# variables\n"
                                   "> #vs hp 120,100\n"
                                   "? var hp\n"
                                   "> #vm hp @(hp)-30\n"
                                   "? var hp\n"
                                   "> #vsd hp\n"
                                   "? var hp\n"
                                   "> #vd hp\n"
                                   "? var hp\n"
                                   "> #vns kills\n"
                                   "? var kills\n"
                                   "# messages and sounds\n"
                                   "> #echo hello\n"
                                   "> #beep 440 200\n"
                                   "> #play ding.wav\n"
                                   "> #cr\n"
                                   "> #xyz\n"
                                   "# triggers\n"
                                   "> #ts a,hp %d,say %0,fight,13\n"
                                   "< hp 7\\n\n"
                                   "> #tf 1\n"
                                   "< hp 8\\n\n"
                                   "> #tgo fight\n"
                                   "< hp 9\\n\n"
                                   "> #tmf\n"
                                   "< hp 10\\n\n"
                                   "> #tmo\n"
                                   "> #trp\n"
                                   "< hp 11\\n\n"
                                   "> #tro\n"
                                   "< hp 12\\n\n"
                                   "> #td 1\n"
                                   "< hp 13\\n\n"
                                   "# timers from a loaded file\n"
                                   "> #load " +
        Folder +
        "/Timer.Cmd\n"
        "> #tim t\n"
        "> #tir t\n"
        "+ 2\n"
        "> #tif t\n"
        "+ 4\n"
        "> #tim t 1\n"
        "+ 1\n"
        "> #std\n"
        "+ 3\n"
        "> #sta\n"
        "+ 1\n"
        "# files and walks\n"
        "> #save " +
        Folder +
        "/Out.Cmd\n"
        "> #wg\n";
    const AnsiString usage = Ks("\r\n사용법 : 타이머이름 초수\n\r");
    const std::string expected = "VAR hp D 120\n"
                                 "VAR hp D 90\n"
                                 "VAR hp D 100\n"
                                 "VAR hp -\n"
                                 "VAR kills D 0\n" +
        Msg("\n\r") + Msg("hello") +
        "BEEP 440 200\n"
        "PLAY ding.wav\n"
        "SEND \\x0D\\x0A\n" +
        Msg(AnsiString("xyz") + ScriptText::UnknownCommand) + Send("say 7") + Send("say 9") + Send("say 12") +
        Msg(usage) + Send("tick") + Send("tick") + Send("tick") + Msg(ScriptText::NoWalk);
    const TToolRun run = RunTool(directives, "", "", true);
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(WithoutRefreshes(run.Out), expected);
    EXPECT_NE(ReadFile(Folder + "/Out.Cmd").find("Name        1 t"), std::string::npos);
}

// A walk file in the "Cmd" folder of the program folder the tool is given.
TEST(ScriptRunToolTest, WalkReplaysStepByStepAndAfterADelay)
{
    std::string folder = TempPattern("walk-tool");
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    const std::string name = "walk-tool.Wlk", path = folder + "/Cmd/" + name;
    std::filesystem::create_directories(folder + "/Cmd");
    std::ofstream(path, std::ios::binary) << "n\r\nB e // door\r\ns\r\n";
    const TToolRun run = RunTool("> #wl " + name + "\n? walk\n> #wnb\n> #wg\n+ 1\n> #wsp 2\n+ 1\n? walk\n+ 1\n? walk\n",
                                 "--folder " + folder, "", true);
    std::filesystem::remove_all(folder);
    const std::string steps = "STEP n\nSTEP B e // door\nSTEP s\n";
    EXPECT_EQ(run.Out,
              "WALK 2 0 0 0 0 0 " + name + "\n" + steps +
                  "SEND n\nSEND \\x0D\\x0A\n"  // to the breakpoint
                  "SEND e\nSEND \\x0D\\x0A\n"  // the breakpoint step, pending
                  "WALK 2 1 0 0 1 1 " +
                  name + "\n" + steps +
                  "SEND s\nSEND \\x0D\\x0A\n"  // two seconds after "wsp 2"
                  "WALK 2 2 1 0 1 1 " +
                  name + "\n" + steps);
}
