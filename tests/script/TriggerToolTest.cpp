// scriptrun's "<" directive: host text through a terminal core into the trigger scan.

#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

std::string RunScriptRun(const std::string& directives)
{
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    const std::string self(path, n > 0 ? static_cast<size_t>(n) : 0);
    const std::string tool = self.substr(0, self.rfind('/') + 1) + "scriptrun";
    char name[] = "/tmp/trigger-tool-test-XXXXXX";
    const int fd = mkstemp(name);
    EXPECT_GE(fd, 0);
    close(fd);
    std::ofstream(name, std::ios::binary) << directives;
    std::string output;
    if (FILE* pipe = popen((tool + " < " + name).c_str(), "r")) {
        char buffer[4096];
        size_t got;
        while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, got);
        EXPECT_EQ(pclose(pipe), 0);
    }
    unlink(name);
    return output;
}

TEST(TriggerToolTest, ReceivedTextFiresTriggers)
{
    const std::string out = RunScriptRun(
        "> #ts hp,hp %d/%d,say low %0 of %1,g,13\n"
        "< \\x1b[1;32mhp 12/3\n"
        "< 00\\x1b[0m\\r\\nnothing here\\r\\n\n"
        "> #ts prompt,Password:,secret,g,5\n"
        "< Password:\n"
        "< \\r\\n\\xC7\\xD1 \\x8Ccat\\r\\n\n");
    EXPECT_EQ(out,
              "SEND say low 12 of 300\n"
              "SEND \\x0D\\x0A\n"
              "SEND secret\n"
              "SEND \\x0D\\x0A\n");
}

} // namespace
