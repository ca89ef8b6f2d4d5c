// Runs the exprcalc tool that is built beside this test.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

// Runs the tool with the given (already quoted) arguments; its standard output.
std::string RunTool(const std::string& arguments, int* status = nullptr)
{
    const auto tool = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "exprcalc";
    std::string command = "'" + tool.string() + "' " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return "<popen failed>";
    std::string out;
    char buffer[256];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe))
        out.append(buffer, n);
    int rc = pclose(pipe);
    if (status)
        *status = rc;
    return out;
}

}  // namespace

TEST(ExprCalcTool, PrintsOneLinePerExpressionWithVariablesKept)
{
    int status = -1;
    EXPECT_EQ(RunTool("'2+3*4' 'x := 1/3' 'x*3' '1=1' '' '(1+2'", &status),
              "14\n0.3333333333\n1\nTrue\nnan\nerror: Unequal brackets\n");
    EXPECT_NE(status, 0);  // one expression failed
    EXPECT_EQ(RunTool("'max(1,-2)' 'foo(1)'"),
              "error: Syntax error: function or operand has too few arguments\n"
              "error: foo is an unknown function\n");
}

TEST(ExprCalcTool, CStyleUnderDashCAndUsageWithoutExpressions)
{
    int status = -1;
    EXPECT_EQ(RunTool("--c 'x = 5' 'x == 5' 'fact(3) + 7 % 4'", &status), "5\nTrue\n9\n");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(RunTool("", &status), "usage: exprcalc [--c] EXPR...\n");
    EXPECT_NE(status, 0);
}

TEST(ExprCalcTool, RegressionAndOrXorPrintedTruthValuesForTheirBitwiseNumbers)
{
    EXPECT_EQ(RunTool("'6 and 3' '5 or 2' '6 xor 3' '1 or 0' '6 and 1' 'not 6'"), "2\n7\n5\nTrue\nFalse\nFalse\n");
}
