// Runs the termdump tool on small streams and checks what it prints.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/TempName.h"

namespace {

std::string Dump(const std::string& input, const std::string& args)
{
    const TScratchFolder folder("termdump");
    const std::string file = folder.File("input.bin");
    std::ofstream(file, std::ios::binary) << input;
    std::string out;
    const auto tool = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "termdump";
    FILE* p = popen((tool.string() + " " + args + " " + file).c_str(), "r");
    if (!p)
        return out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0)
        out.append(buf, n);
    pclose(p);
    return out;
}

TEST(TermDump, PrintsLinesInUtf8WithRunsEventsAndCursor)
{
    const std::string stream = "ab  \r\n\x1b[1;31m\xC7\xD1\x1b[0;44m!\r\n";
    EXPECT_EQ(Dump(stream, "--runs --events --cursor"),
              "ab\n"
              "  runs: 0,4,FFFFFF,000000\n"
              "\xED\x95\x9C!\n"  // the Hangul syllable in UTF-8
              "  runs: 0,2,FF0000,000000 2,1,800000,000080\n"
              "\n"
              "  runs:\n"
              "events: 61 62 20 20 0d 0a c7 d1 21 0d 0a\n"
              "cursor: 0 2\n");
}

TEST(TermDump, RegressionDumpSkippedTheWindowsOwnSequences)
{
    // A picture row's digits are drawn, not printed; "=12F" picks red from the palette.
    EXPECT_EQ(Dump("A\x1b[0;100;2%\x1b[*,FF00B\x1b[=12Fc\r\n", "--runs"),
              "ABc\n"
              "  runs: 0,2,FFFFFF,000000 2,1,FF0000,000000\n"
              "\n"
              "  runs:\n");
}

TEST(TermDump, ChunksThatSplitPairsGiveTheSameScreen)
{
    std::string stream;
    for (int i = 0; i < 60; ++i)
        stream += "\xB0\xA1"
                  "x\x1b[3" +
            std::to_string(i % 8) + "m" + (i % 7 == 0 ? "\r\n" : "");
    const std::string whole = Dump(stream, "--runs --cursor");
    for (int k : {1, 2, 3, 7})
        EXPECT_EQ(Dump(stream, "--runs --cursor --chunk " + std::to_string(k)), whole) << k;
}

TEST(TermDump, ColumnsAndRowsShapeTheScreenAndBadArgumentsAreRejected)
{
    const std::string out = Dump(std::string(25, 'x') + "\r\n1\r\n2\r\n3\x1b[1;1HT", "--cols 10 --rows 3 --cursor");
    // 9 characters a line before the wrap; the screen is the last 3 lines, and the dump stops
    // at the cursor's line.
    EXPECT_EQ(out, "xxxxxxxxx\nxxxxxxxxx\nxxxxxxx\nT\ncursor: 1 3\n");
    EXPECT_EQ(Dump("", "--cols 0"), "");
    EXPECT_EQ(Dump("", "--bogus"), "");
}

}  // namespace
