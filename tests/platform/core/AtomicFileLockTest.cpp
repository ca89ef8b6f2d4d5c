// Who may make a save wait, and what a save's lock may change: a holder that never lets go fails
// the save within seconds, with the reason, saving nothing; savers that let go in turn are waited
// for however long they take together; a user who may not write the file cannot hold its lock;
// a file linked at the lock's name is refused, never changed.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "Holders.h"
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

constexpr uid_t kOwner = 40001, kStranger = 40004;
constexpr HKEY kUser = 0x80000001;

// Another patience for one case, the usual one restored after.
class TPatience {
public:
    explicit TPatience(std::chrono::milliseconds patience) { SetLockPatience(patience); }
    ~TPatience() { SetLockPatience(kLockPatience); }
};

constexpr std::chrono::milliseconds kShortPatience{300};

// Whether a step failed saying what it should (any failure where reason is null), told on the
// error stream where not: the answer comes from a child process, where a failed expectation
// would be lost.
bool Says(const std::string& failure, const char* reason)
{
    if (!failure.empty() && (!reason || failure.find(reason) != std::string::npos))
        return true;
    std::fprintf(stderr, "expected a failure saying \"%s\", got \"%s\"\n", reason ? reason : "", failure.c_str());
    return false;
}

// Whether a step succeeded, its failure told on the error stream where not.
bool Succeeds(const std::string& failure)
{
    if (failure.empty())
        return true;
    std::fprintf(stderr, "expected success, got \"%s\"\n", failure.c_str());
    return false;
}

// Locks the file; why not, empty when held.
std::string Lock(const std::string& path)
{
    const TFileUpdateLock lock(path);
    return lock.Held() ? "" : lock.Message();
}

// Saves a key into the settings file; why not, empty when saved.
std::string SaveIni(const std::string& path)
{
    TIniFile ini(path);
    try {
        ini.WriteString("Main", "Key", "new");
        ini.UpdateFile();
    } catch (const EIniFileException& e) {
        return e.Message;
    }
    return "";
}

bool IniHoldsNewKey(const std::string& path) { return TIniFile(path).ReadString("Main", "Key", "") == "new"; }

// A store saving while another program holds the lock of its file.
struct THeldCase {
    const char* name;
    const char* file;    // in the program folder
    const char* reason;  // what the failure says; null where the store gives no reason
    std::function<std::string(const std::string& path)> save;
    friend void PrintTo(const THeldCase& row, std::ostream* out) { *out << row.name; }
};

class RegressionAHolderThatNeverLetGoHungTheSave : public ::testing::TestWithParam<THeldCase> {};

TEST_P(RegressionAHolderThatNeverLetGoHungTheSave, FailsWithTheReasonSavingNothingThenSavesOnceLetGo)
{
    const THeldCase& c = GetParam();
    TempFolder folder;
    ASSERT_EQ(mkdir(folder.File("Registry").c_str(), 0777), 0);
    const std::string path = folder.File(c.file);
    const TPatience patience(kShortPatience);
    TChildHolding holder([&] { return HoldLock(path); });
    ASSERT_TRUE(holder.Ready());
    EXPECT_EQ(AnswerInTime(20, [&] { return Says(c.save(path), c.reason); }), "true");
    EXPECT_FALSE(fs::exists(path));
    holder.Release();
    EXPECT_EQ(c.save(path), "");
}

const char* const kBusy = "is being saved by another program";

const THeldCase kHeld[] = {
    {"UpdateLock", "counter", kBusy, Lock},
    {"IniFile", "app.ini", kBusy, SaveIni},
    {"Registry", "Registry/HKEY_CURRENT_USER.txt", nullptr,
     [](const std::string&) -> std::string {
         return RegistryStore::SetValue(kUser, "Software\\Test", {"Key", false, "v", 0}) ? "" : "not saved";
     }},
};
INSTANTIATE_TEST_SUITE_P(Stores, RegressionAHolderThatNeverLetGoHungTheSave, ::testing::ValuesIn(kHeld),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(UpdateLock, AHolderThatNeverLetsGoFailsTheSaveWithinTheUsualPatience)
{
    TempFolder folder;
    const std::string path = folder.File("app.ini");
    TChildHolding holder([&] { return HoldLock(path); });
    ASSERT_TRUE(holder.Ready());
    EXPECT_EQ(AnswerInTime(4 * kLockPatience.count() / 1000, [&] { return Says(Lock(path), kBusy); }), "true");
}

// A holder that takes the lock again as soon as it lets it go, several times, for longer in all
// than the patience: each letting go starts the wait again, so the save waits its turn.
TEST(UpdateLock, SaversThatLetGoInTurnAreWaitedForPastThePatience)
{
    constexpr std::chrono::milliseconds kPatience{600}, kHold{200};
    constexpr int kTurns = 8;  // 1.6 seconds in all
    TempFolder folder;
    const std::string path = folder.File("app.ini");
    const TPatience patience(kPatience);
    TFileUpdateLock* held = nullptr;
    TChildHolding holder([] { return true; }, [&] { return (held = new TFileUpdateLock(path))->Held(); },
                         [&] {
                             for (int turn = 1; turn < kTurns; ++turn) {
                                 std::this_thread::sleep_for(kHold);
                                 delete held;
                                 held = new TFileUpdateLock(path);
                             }
                             std::this_thread::sleep_for(kHold);
                             delete held;
                         });
    ASSERT_TRUE(holder.Ready());
    EXPECT_EQ(AnswerInTime(20, [&] { return Succeeds(SaveIni(path)); }), "true");
    EXPECT_TRUE(IniHoldsNewKey(path));
}

// A lock file of a file of kOwner's, in kOwner's 0755 folder, and whether a user who may not
// write the file (kStranger) can hold it.
struct TStrangerCase {
    const char* name;
    std::function<bool(const std::string& file, const std::string& lock)> leave;
    bool strangerHolds;
    friend void PrintTo(const TStrangerCase& row, std::ostream* out) { *out << row.name; }
};

class RegressionAUserWhoMayNotWriteTheFileStalledItsSaves : public ::testing::TestWithParam<TStrangerCase> {};

TEST_P(RegressionAUserWhoMayNotWriteTheFileStalledItsSaves, NoSaveWaitsLongerThanThePatience)
{
    const TStrangerCase& c = GetParam();
    TempFolder folder;
    const std::string home = folder.File("home");
    ASSERT_EQ(mkdir(home.c_str(), 0755), 0);
    if (chown(home.c_str(), kOwner, kOwner) != 0)
        HM_SKIP_WHERE_LACKING("giving a folder to another user needs root: " << std::strerror(errno));
    const std::string file = home + "/app.ini";
    TempFolder::Write(file, "[Main]\r\nKey=old\r\n");
    ASSERT_EQ(chown(file.c_str(), kOwner, kOwner), 0);
    const std::string lockName = LockNameOf(home, "app.ini");
    ASSERT_TRUE(c.leave(file, home + "/" + lockName));
    ASSERT_TRUE(fs::exists(home + "/" + lockName));

    const TPatience patience(kShortPatience);
    // The stranger reaches the folder with root's right to search any folder, then gives it up.
    int dir = -1;
    TChildHolding stranger([&] { return BecomeUser(kStranger, {kStranger}); },
                           [&] {
                               dir = open(home.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
                               if (dir < 0 || !GiveUpReadingEveryFile())
                                   return false;
                               int fd = openat(dir, lockName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
                               if (fd < 0)
                                   fd = openat(dir, lockName.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                               return fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0;
                           });
    EXPECT_EQ(stranger.Ready(), c.strangerHolds);
    EXPECT_TRUE(AnswerAs(kOwner, {kOwner}, [&] {
        return AnswerInTime(20, [&] {
                   return c.strangerHolds ? Says(SaveIni(file), kBusy) && Says(Lock(file), kBusy)
                                          : Succeeds(SaveIni(file));
               }) == "true";
    }));
    EXPECT_EQ(TempFolder::Read(file), c.strangerHolds ? "[Main]\r\nKey=old\r\n" : "[Main]\r\nKey=new\r\n");
}

const TStrangerCase kStrangers[] = {
    // The lock file a save killed while it held the lock left behind.
    {"LockFileOfAKilledSave",
     [](const std::string& file, const std::string&) {
         AnswerAs(kOwner, {kOwner}, [&] {
             (void)HoldLock(file);
             raise(SIGKILL);
             return false;
         });
         return true;
     },
     false},
    // One anyone may read, as saves used to leave them: the stranger holds it, and the owner's
    // saves fail within the patience instead of waiting for ever.
    {"LockFileAnyoneMayRead",
     [](const std::string&, const std::string& lock) {
         return AnswerAs(kOwner, {kOwner}, [&] {
             const int fd = open(lock.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0444);
             return fd >= 0 && fchmod(fd, 0444) == 0 && close(fd) == 0;
         });
     },
     true},
};
INSTANTIATE_TEST_SUITE_P(LockFiles, RegressionAUserWhoMayNotWriteTheFileStalledItsSaves,
                         ::testing::ValuesIn(kStrangers),
                         [](const auto& param) { return std::string(param.param.name); });

// A file that is not the lock's own linked at the lock's name of "x.ini": the lock is refused and
// the file keeps its mode and content.
struct TLinkedCase {
    const char* name;
    uid_t linker;  // 0: the test's own user
    mode_t mode;
    friend void PrintTo(const TLinkedCase& row, std::ostream* out) { *out << row.name; }
};

class RegressionTheLockChangedAFileLinkedAtItsName : public ::testing::TestWithParam<TLinkedCase> {};

TEST_P(RegressionTheLockChangedAFileLinkedAtItsName, RefusesAndLeavesTheFile)
{
    const TLinkedCase& c = GetParam();
    TempFolder folder;
    const std::string shared = folder.File("shared");
    ASSERT_EQ(mkdir(shared.c_str(), 0777), 0);
    ASSERT_EQ(chmod(shared.c_str(), 01777), 0);
    const std::string other = shared + "/other.ini", saved = shared + "/x.ini";
    TempFolder::Write(other, "[Main]\r\nKey=other\r\n");
    ASSERT_EQ(chmod(other.c_str(), c.mode), 0);
    const std::string lock = shared + "/" + LockNameOf(shared, "x.ini");
    const auto linkIt = [&] { return link(other.c_str(), lock.c_str()) == 0; };
    if (c.linker == 0) {
        ASSERT_TRUE(linkIt());
    } else if (!AnswerAs(c.linker, {c.linker}, linkIt)) {
        HM_SKIP_WHERE_LACKING("acting as another user needs root");
    }

    EXPECT_EQ(
        AnswerInTime(20,
                     [&] { return Says(Lock(saved), "has another name") && Says(SaveIni(saved), "has another name"); }),
        "true");
    struct stat st;
    ASSERT_EQ(stat(other.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, c.mode);
    EXPECT_EQ(TempFolder::Read(other), "[Main]\r\nKey=other\r\n");
    EXPECT_FALSE(fs::exists(saved));
    // The linked file is saved as before.
    EXPECT_EQ(SaveIni(other), "");
    EXPECT_TRUE(IniHoldsNewKey(other));
}

const TLinkedCase kLinked[] = {
    {"UsersOwnFile", 0, 0644},
    {"FileOfTheSaversLinkedByAnotherUser", 40002, 0666},
};
INSTANTIATE_TEST_SUITE_P(Linked, RegressionTheLockChangedAFileLinkedAtItsName, ::testing::ValuesIn(kLinked),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
