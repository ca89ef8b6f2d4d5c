// The "#" words through scriptrun: a directive file with a sample of every group's words, run by
// the real tool.

#include <unistd.h>

#include <climits>
#include <cstdio>

#include "HashCommandTest.h"
#include "tools/scriptrun/ScriptRunText.h"

namespace {

std::string ToolPath()
{
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string self(path, n > 0 ? static_cast<size_t>(n) : 0);
    return self.substr(0, self.rfind('/') + 1) + "scriptrun";
}

// The tool's standard output for the directives, given through a file of the folder.
std::string RunTool(const std::string& folder, const std::string& directives)
{
    const std::string input = folder + "/directives.txt";
    FILE* file = std::fopen(input.c_str(), "wb");
    if (!file)
        return "cannot write directives";
    std::fwrite(directives.data(), 1, directives.size(), file);
    std::fclose(file);
    std::string output;
    if (FILE* pipe = popen((ToolPath() + " < " + input + " 2>&1").c_str(), "r")) {
        char buffer[4096];
        size_t got;
        while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, got);
        EXPECT_EQ(pclose(pipe), 0);
    }
    return output;
}

std::string Msg(const AnsiString& text) { return "MSG " + EscapeText(text) + "\n"; }
std::string Send(const AnsiString& line) { return "SEND " + EscapeText(line) + "\nSEND \\x0D\\x0A\n"; }

} // namespace

TEST_F(HashCommandTest, ToolRunsTheWordsOfEveryGroup)
{
    WriteFile("Timer.Cmd", "#Timer\r\nStatus 0\r\nTicker 2\r\nName 1 t\r\nOnBuff 4 tick\r\nEnd\r\n#END\r\n");
    const std::string directives =
        "# variables\n"
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
        "> #load " + Folder + "/Timer.Cmd\n"
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
        "> #save " + Folder + "/Out.Cmd\n"
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
                                 Msg(Unknown("xyz")) + Send("say 7") + Send("say 9") + Send("say 12") +
                                 Msg(usage) + Send("tick") + Send("tick") + Send("tick") +
                                 Msg(ScriptText::NoWalk);
    EXPECT_EQ(RunTool(Folder, directives), expected);
    EXPECT_NE(ReadFile(Folder + "/Out.Cmd").find("Name        1 t"), std::string::npos);
}
