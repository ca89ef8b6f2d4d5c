// Runs the scriptrun tool on a directive file and checks what it prints.

#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

std::string ToolPath()
{
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string self(path, n > 0 ? static_cast<size_t>(n) : 0);
    return self.substr(0, self.rfind('/') + 1) + "scriptrun";
}

// The tool's standard output for the given directives and options.
std::string RunTool(const std::string& directives, const std::string& options = "")
{
    char name[] = "/tmp/scriptrun-test-XXXXXX";
    const int fd = mkstemp(name);
    EXPECT_GE(fd, 0);
    close(fd);
    std::ofstream(name) << directives;
    std::string output;
    if (FILE* pipe = popen((ToolPath() + " " + options + " < " + name).c_str(), "r")) {
        char buffer[4096];
        size_t got;
        while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, got);
        EXPECT_EQ(pclose(pipe), 0);
    }
    unlink(name);
    return output;
}

} // namespace

TEST(ScriptRunToolTest, PrintsWhatTheEngineDoesInOrder)
{
    const std::string out = RunTool(
        "# a comment\n"
        "> say hi|#nope\n"
        "> \\\\raw\n"
        "> abc$#065$E\n"
        "< ignored until the trigger scan exists\n"
        "+ 5\n"
        "> %addlist(L,a)|%addlist(L,\\xB3\\xB2)\n"
        "? var L\n"
        "? var none\n"
        ">\n");
    EXPECT_EQ(out,
              "SEND say hi\n"
              "SEND \\x0D\\x0A\n"
              "MSG nope <== \\xBE\\xF8\\xB4\\xC2 \\xB8\\xED\\xB7\\xC9\\xC0\\xD4\\xB4\\xCF\\xB4\\xD9!\\x0A\\x0D\n"
              "SEND raw\\x0D\\x0A\n"
              "SEND abcA\\x1B\n"
              "SEND \\x0D\\x0A\n"
              "VAR L S a,\\xB3\\xB2\n"
              "VAR none -\n"
              "SEND \\x0D\\x0A\n");
}

TEST(ScriptRunToolTest, ConditionsAndMessageBoxes)
{
    const std::string out = RunTool("> #if (@(x) = \"\") {say %rdir(n)} {say no}\n");
    EXPECT_EQ(out.substr(0, 4), "BOX ");
    EXPECT_NE(out.find("\nSEND say s\n"), std::string::npos);
}

TEST(ScriptRunToolTest, DisconnectedSendsNothingAndBadOptionsFail)
{
    EXPECT_EQ(RunTool("> say hi|#x\n", "--disconnected --port 23"),
              "MSG x <== \\xBE\\xF8\\xB4\\xC2 \\xB8\\xED\\xB7\\xC9\\xC0\\xD4\\xB4\\xCF\\xB4\\xD9!\\x0A\\x0D\n");
    FILE* pipe = popen((ToolPath() + " --port x 2>/dev/null </dev/null").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    EXPECT_NE(pclose(pipe), 0);
}
