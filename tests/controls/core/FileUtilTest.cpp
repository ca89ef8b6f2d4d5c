// File utilities on a temporary program folder: the copy through the atomic writer with its
// progress, moves, deletion, clearing, locks, the file operator with the trash, and links that
// desktop-file-validate accepts.

#include "controls/core/FileUtil.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "controls/core/ExPrgrss.h"
#include "controls/core/FileShared.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/Cp949.h"
#include "platform/core/Exceptions.h"
#include "platform/core/StoredPath.h"
#include "platform/core/TypInfo.h"
#include "tests/controls/core/ScopedEnv.h"
#include "tests/platform/core/TempFolder.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t kPage = 4096;

struct TPathCase {
    const char* name;
    AnsiString (*routine)(std::string_view);
    const char* input;
    const char* expected;
};
class PathName : public ::testing::TestWithParam<TPathCase> {};

TEST_P(PathName, Gives) { EXPECT_EQ(GetParam().routine(GetParam().input), GetParam().expected); }

const TPathCase kPaths[] = {
    {"NormalDirOfADriveLetter", NormalDir, "c", "c:\\"},
    {"NormalDirAfterAColon", NormalDir, "C:", "C:"},
    {"NormalDirAddsTheBackslash", NormalDir, "a\\b", "a\\b\\"},
    {"RemoveBackSlashKeepsADriveRoot", RemoveBackSlash, "C:\\", "C:\\"},
    {"RemoveBackSlashOfAFolder", RemoveBackSlash, "C:\\Temp\\", "C:\\Temp"},
    {"RemoveBackSlashKeepsALoneBackslash", RemoveBackSlash, "\\", "\\"},
};
INSTANTIATE_TEST_SUITE_P(Rows, PathName, ::testing::ValuesIn(kPaths),
                         [](const auto& row) { return std::string(row.param.name); });

// A progress control that logs what the copy sets through its properties.
class TLogProgress : public TComponent {
public:
    TLogProgress() : TComponent(nullptr) {}
    std::string Log;
    void Note(const char* property, int value)
    {
        Log += (Log.empty() ? "" : " ") + std::string(property) + "=" + std::to_string(value);
    }
};

class FileUtilTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        using L = TLogProgress;
        RegisterClass<L>("TLogProgress", "")
            .Int(
                "Max", [](L*) { return 0; }, [](L* l, int v) { l->Note("Max", v); })
            .Int(
                "Min", [](L*) { return 0; }, [](L* l, int v) { l->Note("Min", v); })
            .Int(
                "Position", [](L*) { return 0; }, [](L* l, int v) { l->Note("Position", v); });
    }
    void SetUp() override { RegisterProgressControl("TLogProgress", "Max", "Min", "Position"); }
    void TearDown() override { UnRegisterProgressControl("TLogProgress"); }
    std::string Read(const char* name) { return TempFolder::Read(folder.File(name)); }
    void Write(const char* name, const std::string& data) { TempFolder::Write(folder.File(name), data); }

    TempFolder folder;
};

struct TCopyCase {
    const char* name;
    size_t size;
    const char* progress;
};
class CopySize : public FileUtilTest, public ::testing::WithParamInterface<TCopyCase> {};

TEST_P(CopySize, CopiesInBlocksWithProgress)
{
    std::string data(GetParam().size, '\0');
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i * 7);
    Write("src", data);
    TDateTime when = EncodeDate(2020, 2, 2) + 0.5;
    ASSERT_TRUE(FileSetDate("src", when));
    TLogProgress progress;
    CopyFile("src", "sub\\dest", &progress);
    EXPECT_EQ(Read("sub/dest"), data);
    EXPECT_NEAR(FileDateTime("sub\\dest"), when, 1.0 / SecsPerDay);
    EXPECT_EQ(progress.Log, GetParam().progress);
}

// The progress follows each block read; the read that finds the end moves nothing.
const TCopyCase kCopies[] = {
    {"Empty", 0, "Max=0 Min=0 Position=0 Position=0"},
    {"OneShortBlock", 8191, "Max=8191 Min=0 Position=0 Position=8191 Position=0"},
    {"FullBlockThenAnEmptyOne", 8192, "Max=8192 Min=0 Position=0 Position=8192 Position=0"},
    {"FullBlockThenOneByte", 8193, "Max=8193 Min=0 Position=0 Position=8192 Position=8193 Position=0"},
};
INSTANTIATE_TEST_SUITE_P(Rows, CopySize, ::testing::ValuesIn(kCopies),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(FileUtilTest, RegressionCopyOntoItselfRaisesAndKeepsTheFile)
{
    Write("self", "keep");
    EXPECT_THROW(CopyFile("self", "self"), EFCreateError);
    EXPECT_THROW(CopyFile("self", "."), EFCreateError);  // the source's own folder
    EXPECT_EQ(Read("self"), "keep");
}

TEST_F(FileUtilTest, FailedCopyLeavesTheDestination)
{
    Write("src", "new");
    Write("dest", "old");
    InjectAtomicWriteFailure(TAtomicWriteStep::Sync);
    EXPECT_THROW(CopyFile("src", "dest"), EWriteError);
    EXPECT_EQ(Read("dest"), "old");
    EXPECT_THROW(CopyFile("missing", "dest"), EFOpenError);
}

// A file system whose reads come back short mid-file: a process's memory map, read a page at a
// time, from a child whose map stays as it is.
TEST_F(FileUtilTest, RegressionCopyOfAProcFileReadsToItsEnd)
{
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t pid = fork();
    if (pid == 0) {
        for (int i = 0; i < 300; ++i)  // protections alternate: no two maps merge
            mmap(nullptr, 4096, i % 2 ? PROT_READ : PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        _exit(write(ready[1], "r", 1) == 1 ? (pause(), 0) : 1);
    }
    char byte;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    const std::string maps = "/proc/" + std::to_string(pid) + "/maps";
    CopyFile(StoredPath(maps), "maps");
    const std::string whole = TempFolder::Read(maps);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    EXPECT_GT(whole.size(), 3 * kPage);
    EXPECT_EQ(Read("maps"), whole);
}

// Every sysfs attribute says it holds a page; its copy holds what reading it gives, as cp's does.
TEST_F(FileUtilTest, RegressionCopyOfASysfsFileHoldsWhatItReads)
{
    const std::string attribute = "/sys/devices/system/cpu/online";
    struct stat st;
    ASSERT_EQ(stat(attribute.c_str(), &st), 0) << "sysfs is not mounted";
    const std::string whole = TempFolder::Read(attribute);
    ASSERT_LT(static_cast<off_t>(whole.size()), st.st_size);
    CopyFile(StoredPath(attribute), "online");
    EXPECT_EQ(Read("online"), whole);
}

// What failed and why, with the file's name.
struct TCopyFailure {
    const char* name;
    bool move;
    const char* from;
    std::string to;
    std::string expected;
};
void PrintTo(const TCopyFailure& c, std::ostream* os) { *os << c.name; }
class CopyFailure : public FileUtilTest, public ::testing::WithParamInterface<TCopyFailure> {};

TEST_P(CopyFailure, SaysWhatAndWhy)
{
    Write("src", "new");
    Write("ro", "old");
    chmod(folder.File("ro").c_str(), 0444);
    fs::create_directory(folder.File("d"));
    fs::create_hard_link(folder.File("src"), folder.File("same"));
    std::string message;
    try {
        if (GetParam().move)
            MoveFile(GetParam().from, GetParam().to);
        else
            CopyFile(GetParam().from, GetParam().to);
    } catch (const Exception& e) {
        message = e.Message;
    }
    EXPECT_EQ(message, GetParam().expected);
    EXPECT_EQ(Read("src") + Read("ro"), "newold");
}

const std::string kLongName(300, 'n');
const TCopyFailure kCopyFailures[] = {
    {"RegressionOverLongName", false, "src", kLongName, "Cannot create file " + kLongName + ". File name too long."},
    {"MissingSource", false, "missing", "x", "Cannot open file missing. No such file or directory."},
    {"FolderAsSource", false, "d", "x", "Cannot open file d. It is a folder."},
    {"ReadOnlyDestination", false, "src", "ro", "Cannot create file ro. The file is read-only."},
    {"RegressionMoveOntoAReadOnlyFile", true, "src", "ro", "Cannot create file ro. The file is read-only."},
    {"RegressionMoveOntoAnotherNameOfTheSameFile", true, "src", "same",
     "Cannot move file src. It and same are the same file."},
};
INSTANTIATE_TEST_SUITE_P(Rows, CopyFailure, ::testing::ValuesIn(kCopyFailures),
                         [](const auto& row) { return std::string(row.param.name); });

// A name of 83 Hangul syllables (249 bytes) leaves no room for ".trashinfo" in a name: the trash
// cuts it at a character, and the info file keeps the whole path.
TEST_F(FileUtilTest, RegressionTrashTakesEveryNameTheFileSystemHolds)
{
    TEnv data("XDG_DATA_HOME", folder.File("data"));
    std::string name;
    for (int i = 0; i < 83; ++i)
        name += "한";
    for (const char* content : {"first", "second"}) {
        Write(name.c_str(), content);
        TExFileOperator op(nullptr);
        op.Operation = foDelete;
        op.Options = FileOperFlag(flNoConfirmation) | FileOperFlag(flAllowUndo);
        op.Source = Utf8ToCp949(name);
        EXPECT_TRUE(op.Execute());
    }
    std::string trashed;
    for (const auto& entry : fs::directory_iterator(folder.File("data/Trash/files"))) {
        const std::string entryName = entry.path().filename().string();
        trashed += TempFolder::Read(entry.path()) + " ";
        const std::string info = Read(("data/Trash/info/" + entryName + ".trashinfo").c_str());
        EXPECT_NE(info.find("Path=" + PercentEncodePath(folder.File(name)) + "\n"), std::string::npos) << entryName;
        EXPECT_EQ(name.compare(0, 3, entryName, 0, 3), 0);
    }
    EXPECT_TRUE(trashed == "first second " || trashed == "second first ") << trashed;
    EXPECT_FALSE(fs::exists(folder.File(name)));
}

TEST_F(FileUtilTest, ReadOnlyDestinationIsReplacedOnlyWhenAsked)
{
    Write("src", "new");
    Write("dest", "old");
    chmod(folder.File("dest").c_str(), 0444);
    EXPECT_THROW(CopyFileEx("src", "dest", false, false), EFCreateError);
    EXPECT_EQ(Read("dest"), "old");
    CopyFileEx("src", "dest", true, false);
    EXPECT_EQ(Read("dest"), "new");
}

// The shell form copies with flNoConfirmation when it may overwrite a read-only file; the
// operator still refused such a file then.
TEST_F(FileUtilTest, RegressionShellCopyReplacesAReadOnlyFileWhenAllowed)
{
    Write("src", "new");
    Write("dest", "old");
    chmod(folder.File("dest").c_str(), 0444);
    EXPECT_THROW(CopyFileEx("src", "dest", false, true), EAbort);  // nobody to ask: not replaced
    EXPECT_EQ(Read("dest"), "old");
    CopyFileEx("src", "dest", true, true);
    EXPECT_EQ(Read("dest"), "new");
}

TEST_F(FileUtilTest, MoveIntoAFolderAndRename)
{
    Write("a", "1");
    fs::create_directory(folder.File("dir"));
    MoveFile("a", "dir");
    EXPECT_EQ(Read("dir/a"), "1");
    MoveFileEx("dir\\a", "dir\\b", true);
    EXPECT_EQ(Read("dir/b"), "1");
    EXPECT_FALSE(fs::exists(folder.File("dir/a")));
    EXPECT_THROW(MoveFileEx("dir\\missing", "dir\\c", true), EAbort);
}

TEST_F(FileUtilTest, DeleteFilesTakesPlainMatchingFilesOnly)
{
    for (const char* name : {"a.txt", "B.TXT", "c.log", ".hidden.txt"})
        Write(name, "");
    fs::create_directory(folder.File("d.txt"));
    EXPECT_TRUE(DeleteFiles("*.txt"));
    EXPECT_FALSE(fs::exists(folder.File("a.txt")) || fs::exists(folder.File("B.TXT")));
    EXPECT_TRUE(fs::exists(folder.File("c.log")) && fs::exists(folder.File(".hidden.txt")) &&
                fs::exists(folder.File("d.txt")));
    EXPECT_FALSE(DeleteFiles("*.txt"));  // nothing left to match
    EXPECT_TRUE(DeleteFilesEx({}));
}

TEST_F(FileUtilTest, ClearDirRemovesALinkWithoutFollowingIt)
{
    fs::create_directories(folder.File("tree/sub"));
    fs::create_directories(folder.File("outside"));
    Write("outside/keep", "x");
    Write("tree/sub/f", "x");
    Write("tree/ro", "x");
    chmod(folder.File("tree/ro").c_str(), 0444);
    fs::create_directory_symlink(folder.File("outside"), folder.File("tree/link"));
    EXPECT_TRUE(ClearDir("tree", true));
    EXPECT_FALSE(fs::exists(folder.File("tree")));
    EXPECT_EQ(Read("outside/keep"), "x");
    EXPECT_FALSE(ClearDir("missing", false));
    EXPECT_FALSE(ClearDir("\\", false));
    EXPECT_EQ(GetFileSize("outside"), -1);
}

TEST_F(FileUtilTest, LockRefusesAnotherOpenOfTheFile)
{
    Write("locked", "0123456789");
    const int first = open(folder.File("locked").c_str(), O_RDWR);
    const int second = open(folder.File("locked").c_str(), O_RDWR);
    EXPECT_EQ(FileLock(first, 2, 4), 0);
    EXPECT_NE(FileLock(second, int64_t{5}, int64_t{1}), 0);
    EXPECT_EQ(FileLock(second, 6, 4), 0);  // beyond the first range
    EXPECT_EQ(FileUnlock(first, 2, 4), 0);
    EXPECT_EQ(FileLock(second, 2, 4), 0);
    close(first);
    close(second);
}

TEST_F(FileUtilTest, OperatorCopiesEveryListedNameAndDeletesIntoTheTrash)
{
    TEnv data("XDG_DATA_HOME", folder.File("data"));
    Write("one", "1");
    Write("two", "2");
    TExFileOperator op(nullptr);
    op.Source = "one;two";
    op.Destination = "out";
    ASSERT_TRUE(op.Execute());
    EXPECT_EQ(Read("out/one") + Read("out/two"), "12");
    op.Operation = foDelete;
    op.Options |= FileOperFlag(flNoConfirmation);  // nobody here to answer the question
    op.Source = "out\\one|out\\two";
    ASSERT_TRUE(op.Execute());
    EXPECT_FALSE(fs::exists(folder.File("out/one")));
    EXPECT_EQ(Read("data/Trash/files/one"), "1");
    const std::string info = Read("data/Trash/info/one.trashinfo");
    EXPECT_NE(info.find("[Trash Info]\nPath=" + folder.File("out/one") + "\nDeletionDate="), std::string::npos);
    // A second "one" in the trash gets its own name.
    Write("one", "again");
    op.Source = "one";
    ASSERT_TRUE(op.Execute());
    EXPECT_EQ(Read("data/Trash/files/one.2"), "again");
}

// Without dialogs nobody can be asked, and the replace question is answered No.
TEST_F(FileUtilTest, RegressionUnattendedOperatorSkipsAReplaceAndReportsTheAbort)
{
    Write("src", "new");
    Write("dest", "old");
    TExFileOperator op(nullptr);
    op.Source = "src";
    op.Destination = "dest";
    EXPECT_TRUE(op.Execute());
    EXPECT_TRUE(op.OperationAborted());
    EXPECT_EQ(Read("dest"), "old");
    op.Options |= FileOperFlag(flRenameOnCollision);
    EXPECT_TRUE(op.Execute());
    EXPECT_EQ(Read("Copy of dest"), "new");
}

int Validate(const std::string& path) { return std::system(("desktop-file-validate '" + path + "' >&2").c_str()); }

TEST_F(FileUtilTest, LinksAreDesktopEntriesThatValidate)
{
    TEnv data("XDG_DATA_HOME", folder.File("data"));
    TEnv config("XDG_CONFIG_HOME", folder.File("config"));
    TEnv home("HOME", folder.Path());
    Write("my $prog \"x\"", "#!/bin/sh\n");
    chmod(folder.File("my $prog \"x\"").c_str(), 0755);
    Write("notes 100%.txt", "");
    const AnsiString hangul = Utf8ToCp949("한글 링크");
    CreateFileLink("my $prog \"x\"", hangul, CSIDL_PROGRAMS);
    CreateFileLink("notes 100%.txt", "Notes", CSIDL_DESKTOPDIRECTORY);
    CreateFileLink("notes 100%.txt", "Start", CSIDL_STARTUP);
    const std::string program = folder.File("data/applications/한글 링크.desktop");
    EXPECT_EQ(Validate(program), 0);
    EXPECT_NE(TempFolder::Read(program).find("Type=Application"), std::string::npos);
    EXPECT_EQ(Validate(folder.File("Desktop/Notes.desktop")), 0);
    EXPECT_EQ(Validate(folder.File("config/autostart/Start.desktop")), 0);
    EXPECT_THROW(CreateFileLink("x", "a/b", CSIDL_DESKTOP), Exception);
    EXPECT_THROW(CreateFileLink("x", "a", 0x99), Exception);
    DeleteFileLink(hangul, CSIDL_PROGRAMS);
    EXPECT_FALSE(fs::exists(program));
}

}  // namespace
