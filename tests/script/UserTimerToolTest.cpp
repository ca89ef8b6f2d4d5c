// The scriptrun directive that moves the user timers' clock on.

#include <gtest/gtest.h>

#include <sys/wait.h>
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

struct TToolRun {
    std::string Out;
    int Status = -1;
};

// Runs the tool on the directives; standard error goes with standard output.
TToolRun RunTool(const std::string& directives)
{
    char name[] = "/tmp/usertimer-tool-XXXXXX";
    const int fd = mkstemp(name);
    EXPECT_GE(fd, 0);
    close(fd);
    std::ofstream(name) << directives;
    TToolRun run;
    if (FILE* pipe = popen((ToolPath() + " < " + name + " 2>&1").c_str(), "r")) {
        char buffer[4096];
        size_t got;
        while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            run.Out.append(buffer, got);
        const int status = pclose(pipe);
        run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    unlink(name);
    return run;
}

} // namespace

TEST(UserTimerToolTest, ClockDirectiveTakesWholeSeconds)
{
    const TToolRun ok = RunTool("+ 0\n+ 86400\n> %ttc(none)x\n");
    EXPECT_EQ(ok.Status, 0);
    EXPECT_EQ(ok.Out, "SEND x\nSEND \\x0D\\x0A\n");

    for (const char* bad : {"+ -1\n", "+ soon\n", "+\n", "+ 99999999999\n"}) {
        const TToolRun run = RunTool(std::string(bad) + "> after\n");
        EXPECT_EQ(run.Status, 1) << bad;
        EXPECT_NE(run.Out.find("bad number of seconds"), std::string::npos) << bad;
        // The directives after it still run.
        EXPECT_NE(run.Out.find("SEND after"), std::string::npos) << bad;
    }
}
