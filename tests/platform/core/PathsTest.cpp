#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "platform/core/FilePaths.h"
#include "platform/core/FileSystem.h"
#include "platform/core/StoredPath.h"
#include "tests/TempName.h"
#include "tests/platform/core/Cases.h"
#include "tests/platform/core/Cp949Text.h"

TEST(FilePaths, NamePathAndExtension)
{
    Each(TextChecks{
        CHECK_ROW(ExtractFileName("C:\\Game\\Cmd\\a.cmd"), "a.cmd"),
        CHECK_ROW(ExtractFilePath("C:\\Game\\Cmd\\a.cmd"), "C:\\Game\\Cmd\\"),
        CHECK_ROW(ExtractFileDir("C:\\Game\\Cmd\\a.cmd"), "C:\\Game\\Cmd"),
        CHECK_ROW(ExtractFileDir("C:\\a.cmd"), "C:\\"), CHECK_ROW(ExtractFileName("/home/u/x.ini"), "x.ini"),
        CHECK_ROW(ExtractFileName("C:name"), "name"), CHECK_ROW(ExtractFileExt("dir.d\\file"), ""),
        CHECK_ROW(ExtractFileExt("a.tar.gz"), ".gz"), CHECK_ROW(ChangeFileExt("hanmud.exe", ".INI"), "hanmud.INI"),
        CHECK_ROW(ChangeFileExt("Cmd\\walk", ".wlk"), "Cmd\\walk.wlk"),
        CHECK_ROW(IncludeTrailingBackslash("Cmd"), "Cmd\\"), CHECK_ROW(IncludeTrailingBackslash("Cmd\\"), "Cmd\\"),
        CHECK_ROW(ExcludeTrailingBackslash("Cmd\\"), "Cmd")});
}

TEST(FilePaths, HangulNamesAreNotCutInsideAPair)
{
    AnsiString name = "Cmd\\" + kHan + ".cmd";
    EXPECT_EQ(ExtractFileName(name), kHan + ".cmd");
    EXPECT_EQ(ChangeFileExt(name, ".bak"), "Cmd\\" + kHan + ".bak");
}

TEST(FilePaths, RelativePathsStepUpAndDown)
{
    Each(TextChecks{CHECK_ROW(ExtractRelativePath("C:\\Game\\", "C:\\Game\\Cmd\\a.cmd"), "Cmd\\a.cmd"),
                    CHECK_ROW(ExtractRelativePath("C:\\Game\\bin\\", "C:\\Game\\Cmd\\a.cmd"), "..\\Cmd\\a.cmd"),
                    CHECK_ROW(ExtractRelativePath("C:\\Game\\", "D:\\Other\\a.cmd"), "D:\\Other\\a.cmd")});
}

TEST(StoredPaths, StoredPathsOpenInTheProgramFolder)
{
    TempFolder folder;
    EXPECT_EQ(NativePath("Cmd\\a.cmd"), folder.Path() + "/Cmd/a.cmd");
    EXPECT_EQ(NativePath("Cmd\\" + kHan + ".cmd"), folder.Path() + "/Cmd/" + kHanUtf8 + ".cmd");
    EXPECT_EQ(NativePath("C:\\tmp\\x.txt"), "/tmp/x.txt");
    EXPECT_EQ(NativePath("Cmd\\..\\Fonts\\a.han"), folder.Path() + "/Fonts/a.han");
    EXPECT_EQ(NativePath(""), "");
}

TEST(StoredPaths, NativePathsBecomeStoredOnes)
{
    TempFolder folder;
    EXPECT_EQ(StoredPath(folder.Path() + "/Cmd/" + kHanUtf8 + ".cmd"), "Cmd\\" + kHan + ".cmd");
    EXPECT_EQ(StoredPath("/elsewhere/a.cmd"), "\\elsewhere\\a.cmd");
    EXPECT_EQ(NativePath(StoredPath(folder.Path() + "/CharBooks/CharBooks")), folder.Path() + "/CharBooks/CharBooks");
}

// A name cp949 cannot hold, or that a program path would read as a wildcard, a separator or a
// drive, is kept byte for byte as escapes (0xFF and two hex digits), which open that file again;
// an escape never makes a slash or a NUL.
TEST(StoredPaths, NamesComeBackByteForByte)
{
    TempFolder folder;
    Each(TextChecks{CHECK_ROW(StoredName("\xED\x95\x9C"), "\xC7\xD1"),
                    CHECK_ROW(StoredName("\xF0\x9F\x98\x80"),
                              "\xFF"
                              "F0\xFF"
                              "9F\xFF"
                              "98\xFF"
                              "80"),
                    CHECK_ROW(StoredName("\xB0\xA1"),
                              "\xFF"
                              "B0\xFF"
                              "A1"),
                    CHECK_ROW(StoredName("a?:"),
                              "a\xFF"
                              "3F\xFF"
                              "3A"),
                    CHECK_ROW(StoredPath(folder.Path() + "/x\\..\\y/\xB0"),
                              "x\xFF"
                              "5C..\xFF"
                              "5Cy\\\xFF"
                              "B0"),
                    CHECK_ROW(NativePath("x\xFF"
                                         "5C..\xFF"
                                         "5Cy\\\xFF"
                                         "B0"),
                              folder.Path() + "/x\\..\\y/\xB0"),
                    CHECK_ROW(NativePath("a\xFF"
                                         "2F\xFF"
                                         "00"),
                              folder.Path() +
                                  "/a\xEF\xBF\xBD"
                                  "2F\xEF\xBF\xBD"
                                  "00")});
}

TEST(FileSystem, QueriesAndForcedFolders)
{
    TempFolder folder;
    EXPECT_FALSE(DirectoryExists("CharBooks"));
    EXPECT_TRUE(ForceDirectories("CharBooks\\" + kHan + "\\deep"));
    EXPECT_TRUE(DirectoryExists("CharBooks\\" + kHan));
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path() + "/CharBooks/" + kHanUtf8 + "/deep"));
    TempFolder::Write(folder.File("a.txt"), "x");
    EXPECT_TRUE(FileExists("a.txt"));
    EXPECT_TRUE(RenameFile("a.txt", "b.txt"));
    EXPECT_TRUE(DeleteFile("b.txt"));
    EXPECT_FALSE(DeleteFile("b.txt"));
    EXPECT_FALSE(DeleteFile("CharBooks"));
}

TEST(ProgramFolderTest, TestsCanMoveIt)
{
    std::string before = ProgramFolder();
    {
        TempFolder folder;
        EXPECT_EQ(ProgramFolder(), folder.Path());
        EXPECT_EQ(ProgramPath(), folder.Path() + "\\");
    }
    EXPECT_EQ(ProgramFolder(), before);
}

// A shipped file is looked for in the program folder first, then beside the executable.
struct TShippedCase {
    const char* name;
    bool inProgramFolder, besideExecutable;
    const char* found;  // "program" or "executable"
};
class ShippedFileLookup : public ::testing::TestWithParam<TShippedCase> {};

// The path a copy of the lookup program, placed in `installed`, takes for the shipped file `name`
// with `program` as its program folder: the copy's folder is the one beside its executable, and
// the build tree is never written.
static std::string LookUpFrom(const std::string& installed, const std::string& program, const std::string& name)
{
    const std::string lookup = installed + "/shipped_lookup";
    std::filesystem::copy_file(ExecutableFolder() + "/shipped_lookup", lookup);
    std::string out;
    if (FILE* pipe = popen((lookup + " '" + program + "' '" + name + "'").c_str(), "r")) {
        char buffer[4096];
        size_t got;
        while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            out.append(buffer, got);
        pclose(pipe);
    }
    if (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

TEST_P(ShippedFileLookup, FindsTheFirstCopy)
{
    TempFolder program;
    // Where the program is installed, with Fonts beside it as the build puts them.
    std::string installed = TempPattern("shipped");
    ASSERT_NE(mkdtemp(installed.data()), nullptr);
    const std::string inProgram = program.Path() + "/Fonts/a.han", beside = installed + "/Fonts/a.han";
    std::filesystem::create_directories(program.Path() + "/Fonts");
    std::filesystem::create_directories(installed + "/Fonts");
    if (GetParam().inProgramFolder)
        TempFolder::Write(inProgram, "player's");
    if (GetParam().besideExecutable)
        TempFolder::Write(beside, "shipped");
    const std::string found = LookUpFrom(installed, program.Path(), "Fonts\\a.han");
    std::filesystem::remove_all(installed);
    EXPECT_EQ(found, std::string(GetParam().found) == "program" ? inProgram : beside);
}

const TShippedCase kShippedCases[] = {
    {"PlayersCopyWins", true, true, "program"},
    {"ShippedCopyBesideTheProgram", false, true, "executable"},
    {"OnlyThePlayersCopy", true, false, "program"},
    {"NoCopyNamesTheProgramFolder", false, false, "program"},
};
INSTANTIATE_TEST_SUITE_P(Copies, ShippedFileLookup, ::testing::ValuesIn(kShippedCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(ProgramFolderTest, ShippedPathsOutsideTheProgramFolderStandAsGiven)
{
    TempFolder program;
    EXPECT_EQ(ShippedPaths("Fonts"),
              (std::vector<std::string>{program.Path() + "/Fonts", ExecutableFolder() + "/Fonts"}));
    EXPECT_EQ(ShippedPaths("\\elsewhere\\a.han"), std::vector<std::string>{"/elsewhere/a.han"});
}

// The player's data folder, whatever folder the executable lies in.
TEST(ProgramFolderTest, DefaultIsTheDataFolder)
{
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    const bool hadXdg = std::getenv("XDG_DATA_HOME") != nullptr;
    const std::string oldXdg = hadXdg ? std::getenv("XDG_DATA_HOME") : "";
    TempFolder scratch;
    SetProgramFolder("");
    setenv("XDG_DATA_HOME", (scratch.Path() + "/data").c_str(), 1);
    EXPECT_EQ(ProgramFolder(), scratch.Path() + "/data/hanmud");
    EXPECT_TRUE(std::filesystem::is_directory(scratch.Path() + "/data/hanmud"));
    unsetenv("XDG_DATA_HOME");
    setenv("HOME", scratch.Path().c_str(), 1);
    EXPECT_EQ(ProgramFolder(), scratch.Path() + "/.local/share/hanmud");
    EXPECT_TRUE(std::filesystem::is_directory(scratch.Path() + "/.local/share/hanmud"));
    setenv("HOME", home.c_str(), 1);
    if (hadXdg)
        setenv("XDG_DATA_HOME", oldXdg.c_str(), 1);
}
