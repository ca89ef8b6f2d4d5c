// Shell open against a stub xdg-open placed first on PATH, which records its arguments.

#include "platform/gui/Shell.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "GuiTestSupport.h"
#include "tests/platform/core/TempFolder.h"

namespace {

struct TOpenRow {
    const char* Name;
    const char* File;      // program text
    const char* Recorded;  // the stub's argument; "@" stands for the program folder
};

const TOpenRow kOpenRows[] = {
    {"WebAddress", "http://example.com/a b?x=1&y=2", "http://example.com/a b?x=1&y=2"},
    {"MailAddress", "mailto:\xC7\xD1@example.com", "mailto:\xED\x95\x9C@example.com"},  // 한
    {"PathWithBlanks", "my docs\\a file.txt", "@/my docs/a file.txt"},
};

class ShellOpen : public ::testing::TestWithParam<TOpenRow> {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(folder.File("bin"));
        std::filesystem::create_directories(folder.File("my docs"));
        TempFolder::Write(folder.File("my docs/a file.txt"), "x");
        stub = folder.File("bin/xdg-open");
        TempFolder::Write(stub, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.tmp\" && mv \"$0.tmp\" \"$0.log\"\n");
        std::filesystem::permissions(stub, std::filesystem::perms::owner_all);
        oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
        setenv("PATH", (folder.File("bin") + ":" + oldPath).c_str(), 1);
    }
    void TearDown() override { setenv("PATH", oldPath.c_str(), 1); }
    // The stub's record once it has run (it runs detached, late on a loaded machine; the log
    // appears whole).
    std::string Recorded()
    {
        for (int i = 0; i < 3000 && !std::filesystem::exists(stub + ".log"); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return TempFolder::Read(stub + ".log");
    }
    TempFolder folder;
    std::string stub, oldPath;
};

}  // namespace

TEST_P(ShellOpen, StubGetsTheTarget)
{
    EXPECT_GT(ShellExecute(nullptr, "open", GetParam().File, "", "", SW_SHOWNORMAL), 32);
    std::string expected = GetParam().Recorded;
    if (expected[0] == '@')
        expected = folder.Path() + expected.substr(1);
    EXPECT_EQ(Recorded(), expected + "\n");
}

INSTANTIATE_TEST_SUITE_P(Rows, ShellOpen, ::testing::ValuesIn(kOpenRows),
                         [](const auto& row) { return std::string(row.param.Name); });

TEST_F(ShellOpen, FailuresGiveTheErrorCodes)
{
    EXPECT_EQ(ShellExecute(nullptr, "open", "missing.txt", "", "", SW_SHOW), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(ShellExecute(nullptr, "print", "http://example.com", "", "", SW_SHOW), SE_ERR_NOASSOC);
    setenv("PATH", "/nonexistent", 1);
    EXPECT_EQ(ShellExecute(nullptr, "", "http://example.com", "", "", SW_SHOW), SE_ERR_NOASSOC);
}
