// The safe writer's temporary and lock files: short names whatever the saved file's, never taken
// for a user's file, and never taken from a save still running.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "AtOnce.h"
#include "Holders.h"
#include "SaveChecks.h"
#include "TempFolder.h"
#include "Unprivileged.h"
#include "helper/InTime.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/Exceptions.h"
#include "platform/core/IniFile.h"
#include "platform/core/RegistryStore.h"
#include "tests/SkipWhereLacking.h"

namespace fs = std::filesystem;

namespace {

// Gives the file the times of one made an hour ago.
void Age(const std::string& path)
{
    const timespec old{time(nullptr) - 3600, 0};
    const timespec times[2] = {old, old};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

std::string Repeat(const std::string& piece, size_t times)
{
    std::string out;
    for (size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

struct TLongNameCase {
    const char* name;
    std::string fileName;
    friend void PrintTo(const TLongNameCase& row, std::ostream* out) { *out << row.name; }
};

class RegressionAFileNameOf244To255BytesCouldNotBeSaved : public ::testing::TestWithParam<TLongNameCase> {};

TEST_P(RegressionAFileNameOf244To255BytesCouldNotBeSaved, IsWrittenAndReplaced)
{
    TempFolder folder;
    const std::string path = folder.File(GetParam().fileName);
    for (const char* data : {"first", "second"}) {
        const TWriteResult result = AtomicWriteFile(path, data);
        EXPECT_TRUE(result.Ok) << result.Message;
        EXPECT_EQ(TempFolder::Read(path), data);
    }
    EXPECT_EQ(NamesIn(folder.Path()), std::vector<std::string>{GetParam().fileName});
}

const TLongNameCase kLongNames[] = {
    {"Bytes244", std::string(244, 'a')},
    {"Bytes250", std::string(246, 'b') + ".ini"},
    {"Bytes255", std::string(255, 'c')},
    {"HangulOf255Bytes", Repeat("\xED\x95\x9C", 85)},  // 85 syllables of three bytes each
};
INSTANTIATE_TEST_SUITE_P(Names, RegressionAFileNameOf244To255BytesCouldNotBeSaved, ::testing::ValuesIn(kLongNames),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(AtomicFileName, ASettingsFileOf255BytesIsLockedAndSaved)
{
    TempFolder folder;
    const std::string name = std::string(251, 's') + ".ini";
    {
        TIniFile ini(name);
        ini.WriteString("Main", "Key", "value");
        ini.UpdateFile();
    }
    EXPECT_EQ(TIniFile(name).ReadString("Main", "Key", ""), "value");
    EXPECT_EQ(NamesIn(folder.Path()), std::vector<std::string>{name});
}

// A file in the folder of a save, and whether the save's clean-up may remove it.
struct TNeighbourCase {
    const char* name;
    const char* fileName;
    bool aged;  // made an hour ago
    bool held;  // locked, as by a save still running
    bool removed;
    const char* content = "kept";  // a lock file a save made is empty
    friend void PrintTo(const TNeighbourCase& row, std::ostream* out) { *out << row.name; }
};

class RegressionTheCleanUpRemovedAFileThatOnlyLookedLikeATemporary : public ::testing::TestWithParam<TNeighbourCase> {};

TEST_P(RegressionTheCleanUpRemovedAFileThatOnlyLookedLikeATemporary, RemovesOnlyWhatAKilledSaveLeft)
{
    const TNeighbourCase& c = GetParam();
    TempFolder folder;
    const std::string neighbour = folder.File(c.fileName);
    TempFolder::Write(neighbour, c.content);
    if (c.aged)
        Age(neighbour);
    const int fd = open(neighbour.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    if (c.held) {
        ASSERT_EQ(flock(fd, LOCK_EX), 0);
    }
    // A process sweeps a folder at its first save there: the save is a child's.
    EXPECT_TRUE(
        AnswerInChild([] { return true; }, [&] { return AtomicWriteFile(folder.File("report.csv"), "new").Ok; }));
    close(fd);
    EXPECT_EQ(fs::exists(neighbour), !c.removed);
    if (!c.removed) {
        EXPECT_EQ(TempFolder::Read(neighbour), c.content);
    }
}

const TNeighbourCase kNeighbours[] = {
    // A user's files, however old.
    {"UsersBackup", ".report.csv.tmp-backup", true, false, false},
    {"UsersFileInTheOldTemporaryForm", ".report.csv.tmp-ABC123", true, false, false},
    {"OwnPrefixWithoutItsEnd", ".~hanmud-save-ABCDEF123456", true, false, false},
    {"OwnFormWithoutItsDot", "~hanmud-save-ABCDEF123456~", true, false, false},
    {"OwnFormOneLetterShort", ".~hanmud-save-ABCDEF12345~", true, false, false},
    {"OwnFormWithAPunctuationMark", ".~hanmud-save-ABCDEF-23456~", true, false, false},
    {"OwnLockFormWithoutItsEnd", ".~hanmud-lock-0123456789abcdef", true, false, false},
    // The program's own.
    {"TemporaryOfAKilledSave", ".~hanmud-save-ABCDEF123456~", true, false, true},
    {"LockOfAKilledSave", ".~hanmud-lock-0123456789abcdef~", true, false, true, ""},
    // No lock file of the program's holds anything.
    {"UsersFileAtALocksName", ".~hanmud-lock-0123456789abcdef~", true, false, false},
    {"TemporaryJustMadeNotYetLocked", ".~hanmud-save-ABCDEF123456~", false, false, false},
    {"TemporaryOfASaveStillRunning", ".~hanmud-save-ABCDEF123456~", true, true, false},
    {"LockHeldByAnotherSave", ".~hanmud-lock-0123456789abcdef~", true, true, false},
};
INSTANTIATE_TEST_SUITE_P(Neighbours, RegressionTheCleanUpRemovedAFileThatOnlyLookedLikeATemporary,
                         ::testing::ValuesIn(kNeighbours),
                         [](const auto& param) { return std::string(param.param.name); });

// Eight savers of one file at once, each cleaning up the folder as it starts.
class RegressionSaversAtOnceFailedWhenAnotherRemovedTheirNewTemporary : public ::testing::TestWithParam<bool> {};

TEST_P(RegressionSaversAtOnceFailedWhenAnotherRemovedTheirNewTemporary, NoSaveFails)
{
    constexpr int kSavers = 8;
    constexpr int kSavesEach = 100;
    TempFolder folder;
    const std::string path = folder.File("report.csv");
    const std::string lookalike = folder.File(".report.csv.tmp-backup");
    TempFolder::Write(lookalike, "kept");
    Age(lookalike);
    SetUnnamedTemporaryFiles(GetParam());
    const int failures = FailuresAtOnce(kSavers, [&](int saver) {
        const std::string data = "saver " + std::to_string(saver) + "\n";
        for (int i = 0; i < kSavesEach; ++i)
            if (!AtomicWriteFile(path, data))
                return false;
        return true;
    });
    SetUnnamedTemporaryFiles(true);
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(TempFolder::Read(lookalike), "kept");
    EXPECT_EQ(TempFolder::Read(path).rfind("saver ", 0), 0u);
    EXPECT_EQ(NamesIn(folder.Path()).size(), 2u);  // the file and the user's, nothing left over
}

INSTANTIATE_TEST_SUITE_P(TemporaryFiles, RegressionSaversAtOnceFailedWhenAnotherRemovedTheirNewTemporary,
                         ::testing::Values(true, false),
                         [](const auto& param) { return param.param ? "MadeUnnamed" : "MadeByName"; });

// Something other than a lock file planted at the lock's name by whoever may write the folder:
// never opened, it is left as it is, and the save, once its patience is spent, is refused naming it;
// it never hangs.
struct TPlantedCase {
    const char* name;
    std::function<bool(const std::string& path)> make;
    friend void PrintTo(const TPlantedCase& row, std::ostream* out) { *out << row.name; }
};

class RegressionAPipeAtTheLocksNameHungEverySave : public ::testing::TestWithParam<TPlantedCase> {};

TEST_P(RegressionAPipeAtTheLocksNameHungEverySave, TheSaveIsRefusedNamingItAndLeavesTheNode)
{
    TempFolder folder;
    const std::string registry = folder.File("Registry");
    ASSERT_EQ(mkdir(registry.c_str(), 0777), 0);
    const std::vector<std::string> planted = {folder.File(LockNameOf(folder.Path(), "app.ini")),
                                              registry + "/" + LockNameOf(registry, "HKEY_CURRENT_USER.txt")};
    for (const std::string& path : planted) {
        if (!GetParam().make(path)) {
            const int error = errno;
            if (error == EPERM)  // a device node, where making one is not allowed
                HM_SKIP_WHERE_LACKING("making a device node is not allowed here: " << std::strerror(error));
            FAIL() << "cannot plant a " << GetParam().name << ": " << std::strerror(error);
        }
    }
    const TPatience patience(std::chrono::milliseconds(200));
    struct stat before;
    ASSERT_EQ(lstat(planted[0].c_str(), &before), 0);
    EXPECT_EQ(AnswerInTime(10,
                           [&] {
                               const TFileUpdateLock lock(folder.File("app.ini"));
                               if (lock.MaySave() || !Says(lock.Message(), "is in the way. It is user"))
                                   return false;
                               TIniFile ini("app.ini");
                               ini.WriteString("Main", "Key", "value");
                               try {
                                   ini.UpdateFile();
                                   return false;
                               } catch (const EIniFileException& e) {
                                   return Says(e.Message, "is in the way") &&
                                       !RegistryStore::SetValue(0x80000001, "Software\\Test", {"Key", false, "v", 0});
                               }
                           }),
              "true");
    for (const std::string& path : planted) {
        struct stat after;
        ASSERT_EQ(lstat(path.c_str(), &after), 0);
        EXPECT_EQ(after.st_mode & S_IFMT, before.st_mode & S_IFMT);
    }
    EXPECT_EQ(TIniFile("app.ini").ReadString("Main", "Key", ""), "");
    EXPECT_FALSE(fs::exists(registry + "/HKEY_CURRENT_USER.txt"));
    struct stat elsewhere;
    EXPECT_NE(lstat((planted[0] + "-elsewhere").c_str(), &elsewhere), 0);
}

const TPlantedCase kPlanted[] = {
    {"Fifo", [](const std::string& path) { return mkfifo(path.c_str(), 0666) == 0; }},
    {"Folder", [](const std::string& path) { return mkdir(path.c_str(), 0777) == 0; }},
    // Followed, it would make or lock a file elsewhere.
    {"SymbolicLink", [](const std::string& path) { return symlink((path + "-elsewhere").c_str(), path.c_str()) == 0; }},
    // The null device's numbers, made in the test's own folder: the real one is never at risk.
    {"CharacterDevice",
     [](const std::string& path) { return mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0; }},
};
INSTANTIATE_TEST_SUITE_P(Planted, RegressionAPipeAtTheLocksNameHungEverySave, ::testing::ValuesIn(kPlanted),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace

namespace {

// Gives the file the times of one made an hour ago; false where it cannot.
bool MadeAnHourAgo(const std::string& path)
{
    const timespec old{time(nullptr) - 3600, 0};
    const timespec times[2] = {old, old};
    return utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) == 0;
}

bool InAChild(const std::function<bool()>& body)
{
    return AnswerInChild([] { return true; }, body);
}

}  // namespace

// Every save read its whole folder for what killed saves left, so that a save among 60,000 files
// took half a second, and copying many files into one folder took time in the square of their
// number. A process now reads the folder at its first save there, and again only minutes later.
TEST(AtomicFileName, RegressionEverySaveReadItsWholeFolder)
{
    TempFolder folder;
    const std::string left = folder.File(".~hanmud-save-ABCDEF123456~");
    EXPECT_TRUE(InAChild([&] {
        if (!AtomicWriteFile(folder.File("first"), "1").Ok)
            return false;
        TempFolder::Write(left, "left by a killed save");
        return MadeAnHourAgo(left) && AtomicWriteFile(folder.File("second"), "2").Ok && fs::exists(left);
    }));
    // Another process's first save there removes it.
    EXPECT_TRUE(InAChild([&] { return AtomicWriteFile(folder.File("third"), "3").Ok && !fs::exists(left); }));
}

// A file system that counts no names of a file that is open (it says 0): a save beside another's
// lock spun for ever, and where files could not be made without a name every save failed and left
// its hundred tries behind.
class RegressionAFileSystemCountingNoNamesOfOpenFilesHungOrLittered : public ::testing::TestWithParam<bool> {};

TEST_P(RegressionAFileSystemCountingNoNamesOfOpenFilesHungOrLittered, SavesWaitTheirPatienceAndLeaveNothing)
{
    SetUnnamedTemporaryFiles(GetParam());
    SetNamesOfOpenFilesCounted(false);
    const TPatience patience(std::chrono::milliseconds(300));
    TempFolder folder;
    const std::string path = folder.File("app.ini");
    EXPECT_EQ(AnswerInTime(10, [&] { return AtomicWriteFile(path, "first").Ok; }), "true");
    EXPECT_EQ(NamesIn(folder.Path()), std::vector<std::string>{"app.ini"});
    {
        TChildHolding holder([&] { return HoldLock(path); });
        ASSERT_TRUE(holder.Ready());
        EXPECT_EQ(AnswerInTime(10,
                               [&] {
                                   const TFileUpdateLock refused(path);
                                   return !refused.MaySave() &&
                                       refused.Message().find("being saved") != std::string::npos;
                               }),
                  "true");
    }
    EXPECT_EQ(AnswerInTime(10,
                           [&] {
                               const TFileUpdateLock lock(path);
                               return lock.Held() && AtomicWriteFile(path, "second").Ok;
                           }),
              "true");
    SetNamesOfOpenFilesCounted(true);
    SetUnnamedTemporaryFiles(true);
    EXPECT_EQ(TempFolder::Read(path), "second");
    EXPECT_EQ(NamesIn(folder.Path()), std::vector<std::string>{"app.ini"});
}

INSTANTIATE_TEST_SUITE_P(TemporaryFiles, RegressionAFileSystemCountingNoNamesOfOpenFilesHungOrLittered,
                         ::testing::Bool(),
                         [](const auto& param) { return param.param ? "MadeUnnamed" : "MadeByName"; });
