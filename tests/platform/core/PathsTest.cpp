#include <gtest/gtest.h>

#include <filesystem>

#include "TempFolder.h"
#include "platform/core/FilePaths.h"
#include "platform/core/FileSystem.h"
#include "platform/core/StoredPath.h"
#include "tests/platform/core/Cases.h"

static const AnsiString kHan = "\xC7\xD1\xB1\xDB";  // "한글" in cp949
static const std::string kHanUtf8 = "\xED\x95\x9C\xEA\xB8\x80";

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
