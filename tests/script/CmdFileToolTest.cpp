// scriptrun with command files: "--cmd FILE" before the directives, "? save FILE" among them.

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "CmdFileTest.h"

namespace {

std::string ToolPath()
{
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string self(path, n > 0 ? static_cast<size_t>(n) : 0);
    return self.substr(0, self.rfind('/') + 1) + "scriptrun";
}

// The tool's standard output, run in the folder; the directives are given through a file there.
std::string RunTool(const std::string& folder, const std::string& directives, const std::string& options)
{
    const std::string input = folder + "/directives.txt";
    std::ofstream(input, std::ios::binary) << directives;
    std::string output;
    if (FILE* pipe = popen(("cd " + folder + " && " + ToolPath() + " " + options + " < " + input + " 2>/dev/null").c_str(), "r")) {
        char buffer[4096];
        size_t got;
        while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, got);
        EXPECT_EQ(pclose(pipe), 0);
    }
    return output;
}

} // namespace

TEST_F(CmdFileTest, ToolLoadsACommandFileAndSavesItBack)
{
    const std::string out = RunTool(Folder,
                                    "? var \\xC3\\xBC\\xB7\\xC2\n"  // the D variable of the file
                                    "> \\xC0\\xCE\\xBB\\xE7\\xC7\\xCF\\xB1\\xE2\n"  // its alias
                                    "? save " + Folder + "/Out.Cmd\n",
                                    "--cmd " + GoldenPath());
    EXPECT_EQ(out, "SEND say \\xBE\\xC8\\xB3\\xE7\\xC7\\xCF\\xBC\\xBC\\xBF\\xE4\n"
                   "SEND \\x0D\\x0A\n"
                   "SEND bow\n"
                   "SEND \\x0D\\x0A\n"
                   "SEND \\xBA\\xC1\n"
                   "SEND \\x0D\\x0A\n"
                   "LOADED " + GoldenPath() + "\n"
                   "VAR \\xC3\\xBC\\xB7\\xC2 D -42\n"
                   "SEND say \\xBE\\xC8\\xB3\\xE7\\xC7\\xCF\\xBC\\xBC\\xBF\\xE4\n"
                   "SEND \\x0D\\x0A\n"
                   "SEND bow\n"
                   "SEND \\x0D\\x0A\n"
                   "SAVED " + Folder + "/Out.Cmd\n");
    EXPECT_EQ(ReadFile(Folder + "/Out.Cmd"), ReadFile(GoldenPath()));
}

TEST_F(CmdFileTest, ToolReportsFilesItCannotLoadOrSave)
{
    const std::string bad = WriteFile("Bad.Cmd", "#Nope\r\n");
    EXPECT_EQ(RunTool(Folder, "? save /proc/none/x.Cmd\n", "--cmd " + bad),
              "BOX \\xBF\\xA1\\xB7\\xAF Cmd File Section \\xC6\\xF7\\xB8\\xE4\\xC0\\xCC  "
              "\\xC0\\xDF\\xB8\\xF8\\xB5\\xC7\\xBE\\xFA\\xBD\\xC0\\xB4\\xCF\\xB4\\xD9\n"
              "LOAD FAILED " + bad + "\n"
              "BOX \\xBF\\xA1\\xB7\\xAF Triggers File \\xC0\\xFA\\xC0\\xE5\\xC0\\xCC \\xBE\\xC8\\xB5\\xCB\\xB4\\xCF\\xB4\\xD9\n"
              "SAVE FAILED /proc/none/x.Cmd\n");
    EXPECT_EQ(RunTool(Folder, "", "--cmd " + Folder + "/missing.Cmd"), "LOAD FAILED " + Folder + "/missing.Cmd\n");
}

TEST_F(CmdFileTest, ToolTakesFilesRelativeToTheWorkingFolder)
{
    std::filesystem::copy_file(GoldenPath(), Folder + "/Here.Cmd");
    const std::string out = RunTool(Folder, "? save Rel.Cmd\n", "--cmd Here.Cmd --disconnected");
    EXPECT_EQ(out, "LOADED Here.Cmd\nSAVED Rel.Cmd\n");  // nothing is sent while disconnected
    EXPECT_EQ(ReadFile(Folder + "/Rel.Cmd"), ReadFile(GoldenPath()));
}
