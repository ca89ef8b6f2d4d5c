// A walk replayed through the scriptrun tool: its walk words, its clock and its walk query.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string BinFolder()
{
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string self(path, n > 0 ? static_cast<size_t>(n) : 0);
    return self.substr(0, self.rfind('/') + 1);
}

// Runs the tool on the directives; standard error goes with standard output.
std::string RunTool(const std::string& directives)
{
    char name[] = "/tmp/walk-tool-XXXXXX";
    const int fd = mkstemp(name);
    EXPECT_GE(fd, 0);
    close(fd);
    std::ofstream(name) << directives;
    std::string out;
    if (FILE* pipe = popen((BinFolder() + "scriptrun < " + name + " 2>&1").c_str(), "r")) {
        char buffer[4096];
        size_t got;
        while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            out.append(buffer, got);
        pclose(pipe);
    }
    unlink(name);
    return out;
}

// A walk file in the tool's "Cmd" folder (the tool's program folder is its own), removed after.
class WalkToolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Name = "walk-tool-" + std::to_string(getpid()) + ".Wlk";
        Path = BinFolder() + "Cmd/" + Name;
        std::filesystem::create_directories(BinFolder() + "Cmd");
    }
    void TearDown() override { std::filesystem::remove(Path); }

    std::string Name, Path;
};

} // namespace

TEST_F(WalkToolTest, WalkReplaysStepByStepAndAfterADelay)
{
    std::ofstream(Path, std::ios::binary) << "n\r\nB e // door\r\ns\r\n";
    const std::string out = RunTool("> #wl " + Name + "\n? walk\n> #wnb\n> #wg\n+ 1\n> #wsp 2\n+ 1\n? walk\n+ 1\n? walk\n");
    EXPECT_EQ(out, "WALK 2 0 0 0 0 0 " + Name +
                       "\n"
                       "STEP n\nSTEP B e // door\nSTEP s\n"
                       "SEND n\nSEND \\x0D\\x0A\n"                     // to the breakpoint
                       "SEND e\nSEND \\x0D\\x0A\n"                     // the breakpoint step, pending
                       "WALK 2 1 0 0 1 1 " + Name + "\nSTEP n\nSTEP B e // door\nSTEP s\n"
                       "SEND s\nSEND \\x0D\\x0A\n"                     // two seconds after "wsp 2"
                       "WALK 2 2 1 0 1 1 " + Name + "\nSTEP n\nSTEP B e // door\nSTEP s\n");
}
