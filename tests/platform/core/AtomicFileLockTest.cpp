// Who may make a save wait, and what a save's lock may change: a holder that never lets go fails
// the save within its patience, with the reason, saving nothing, then or later; a lock file nobody
// holds never makes a save wait or fail: it is locked and removed where the saver may open it, else
// passed over; a lock file only a user who may not write the file can open is passed over; a file
// linked at the lock's name is never changed.

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
#include <utility>
#include <vector>

#include "AccessLists.h"
#include "Holders.h"
#include "SaveChecks.h"
#include "TempFolder.h"
#include "Unprivileged.h"
#include "helper/InTime.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/Exceptions.h"
#include "platform/core/IniFile.h"
#include "platform/core/ProgramFolder.h"
#include "platform/core/RegistryStore.h"
#include "tests/SkipWhereLacking.h"
#include "tests/platform/core/RegistryHive.h"

namespace fs = std::filesystem;

namespace {

constexpr uid_t kOwner = 40001, kStranger = 40004;

constexpr std::chrono::milliseconds kShortPatience{300};

// A store saving while another program holds the lock of its file.
struct THeldCase {
    const char* name;
    const char* file;    // in the program folder
    const char* reason;  // what the failure says
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

const THeldCase kHeld[] = {
    {"UpdateLock", "counter", kBusy, Lock},
    {"IniFile", "app.ini", kBusy, SaveIni},
    {"Registry", "Registry/HKEY_CURRENT_USER.txt", kBusy,
     [](const std::string&) -> std::string {
         return RegistryStore::SetValue(kUser, "Software\\Test", {"Key", false, "v", 0}) ? ""
                                                                                         : RegistryStore::LastFailure();
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

// Another program saves in a loop, each hold shorter than the patience, each save's lock taking the
// name as the one before lets go, so that the name is never free, for as long as the case lets it:
// a save's wait started again at each letting go, and lasted the loop's whole life. It now fails
// within its patience, with the reason, saving nothing.
TEST(UpdateLock, RegressionAnotherProgramsSaveLoopKeptASaveWaitingForItsWholeLife)
{
    constexpr std::chrono::milliseconds kHold{20};
    TempFolder folder;
    const std::string path = folder.File("app.ini"), stop = folder.File("stop");
    const std::string lock = folder.File(LockNameOf(folder.Path(), "app.ini")), next = lock + "-next";
    const auto heldAt = [](const std::string& name) {
        const int fd = open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        return fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0 ? fd : -1;
    };
    const TPatience patience(kShortPatience);
    int held = -1;
    TChildHolding looper([] { return true; }, [&] { return (held = heldAt(lock)) >= 0; },
                         [&] {
                             const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
                             while (!fs::exists(stop) && std::chrono::steady_clock::now() < end) {
                                 std::this_thread::sleep_for(kHold);
                                 const int taken = heldAt(next);
                                 if (taken < 0 || rename(next.c_str(), lock.c_str()) != 0)
                                     break;
                                 close(std::exchange(held, taken));
                             }
                         });
    ASSERT_TRUE(looper.Ready());
    EXPECT_EQ(AnswerInTime(20, [&] { return Says(SaveIni(path), kBusy) && !IniHoldsNewKey(path); }), "true");
    TempFolder::Write(stop, "");
    looper.Release();
}

// A lock file of a file of kOwner's, in kOwner's 0755 folder, that a user who may not write the
// file (kStranger) cannot hold: it cannot open it.
struct TStrangerCase {
    const char* name;
    std::function<bool(const std::string& file, const std::string& lock)> leave;
    friend void PrintTo(const TStrangerCase& row, std::ostream* out) { *out << row.name; }
};

class RegressionAUserWhoMayNotWriteTheFileStalledItsSaves : public ::testing::TestWithParam<TStrangerCase> {};

TEST_P(RegressionAUserWhoMayNotWriteTheFileStalledItsSaves, NoSaveWaitsForIt)
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
    EXPECT_FALSE(stranger.Ready());
    EXPECT_TRUE(AnswerAs(kOwner, {kOwner},
                         [&] { return AnswerInTime(20, [&] { return Succeeds(SaveIni(file)); }) == "true"; }));
    EXPECT_EQ(TempFolder::Read(file), "[Main]\r\nKey=new\r\n");
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
     }},
};
INSTANTIATE_TEST_SUITE_P(LockFiles, RegressionAUserWhoMayNotWriteTheFileStalledItsSaves,
                         ::testing::ValuesIn(kStrangers),
                         [](const auto& param) { return std::string(param.param.name); });

// A file that is not the lock's own linked at the lock's name of "x.ini": it is locked as a lock
// file is, never changed, and keeps its name there, for it is no empty lock file; the save is made.
struct TLinkedCase {
    const char* name;
    uid_t linker;  // 0: the test's own user
    mode_t mode;
    friend void PrintTo(const TLinkedCase& row, std::ostream* out) { *out << row.name; }
};

class RegressionTheLockChangedAFileLinkedAtItsName : public ::testing::TestWithParam<TLinkedCase> {};

TEST_P(RegressionTheLockChangedAFileLinkedAtItsName, LocksItAndLeavesTheFile)
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

    EXPECT_EQ(AnswerInTime(20,
                           [&] {
                               const bool held = TFileUpdateLock(saved).Held();
                               return held && Succeeds(SaveIni(saved));
                           }),
              "true");
    struct stat st;
    ASSERT_EQ(stat(other.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, c.mode);
    EXPECT_EQ(st.st_nlink, 2u);
    EXPECT_EQ(TempFolder::Read(other), "[Main]\r\nKey=other\r\n");
    EXPECT_TRUE(IniHoldsNewKey(saved));
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

constexpr uid_t kOther = 40002;
constexpr gid_t kShared = 40009;

// A user and its groups; root is the test's own user.
struct TUser {
    uid_t uid;
    std::vector<gid_t> groups;
    bool Become() const { return uid == 0 || BecomeUser(uid, groups); }
};
const TUser kRoot{0, {}}, kFilesOwner{kOwner, {kOwner}}, kGroupMember{kOther, {kOther, kShared}},
    kListedWriter{kOther, {kOther}};

// A folder "home" and, where it exists, "notes.ini" in it, kOwner's, of group kShared and 0664, or
// 0600 with the access list given.
struct TPlace {
    mode_t mode;
    uid_t owner;
    gid_t group;
    bool exists;
    const char* list = nullptr;
};
const TPlace kSticky{01777, 0, 0, true}, kStickyNoFile{01777, 0, 0, false}, kOwnersFolder{0755, kOwner, kOwner, false},
    kSharedFolder{0775, kOwner, kShared, true},
    // kOther may write the file as the list lets it, in no group of the file's.
    kListedFile{0777, 0, 0, true, "u::rw-,u:40002:rw-,g::---,m::rw-,o::---"};

// The folder, "" where the test may not make it so (not root, no access lists).
std::string MakeNotes(const TempFolder& folder, const TPlace& place)
{
    const std::string home = folder.File("home"), file = home + "/notes.ini";
    if (mkdir(home.c_str(), 0700) != 0 || chown(home.c_str(), place.owner, place.group) != 0 ||
        chmod(home.c_str(), place.mode) != 0)
        return "";
    if (!place.exists)
        return home;
    TempFolder::Write(file, "[Main]\r\nKey=old\r\n");
    return chown(file.c_str(), kOwner, kShared) == 0 && chmod(file.c_str(), 0664) == 0 &&
            (!place.list || SetAccessList(file, place.list))
        ? home
        : "";
}

using TLeave = std::function<bool(const std::string& file, const std::string& lock)>;

// A save of the user's, killed while it held the lock of the file.
TLeave KilledSaveOf(const TUser& user)
{
    return [=](const std::string& file, const std::string&) {
        AnswerInChild([&] { return user.Become(); }, [&] { return HoldLock(file) && raise(SIGKILL) == 0; });
        return true;
    };
}

// kOther, who may not write the file, plants an empty file of its own or a link to one.
TLeave PlantedBy(bool hardLink)
{
    return [=](const std::string&, const std::string& lock) {
        return AnswerAs(kOther, {kOther}, [&] {
            const std::string made = hardLink ? lock + "-mine" : lock;
            const int fd = open(made.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            return fd >= 0 && close(fd) == 0 && (!hardLink || link(made.c_str(), lock.c_str()) == 0);
        });
    };
}

// What the save does with what is at the lock's name: takes it over (a killed save's, locked and
// removed), is refused naming it and leaves it (what it may not use, which might be another's live
// lock: a save never goes on without the lock), or waits for its holder.
enum class TOutcome { TakenOver, InTheWay, WaitedFor };

// What a killed save left, a user who may not write the file planted, or a live save holds at the
// lock's name of "notes.ini", and a save of the file by a user who may write it: it opens every
// lock file a saver made, whoever made it, and is kept out, with the reason, by what it may not.
struct TLeftLockCase {
    const char* name;
    TPlace place;
    TLeave leave;  // null: `holder` holds the lock during the save
    TUser saver;
    TOutcome outcome;
    TUser holder = kRoot;
    friend void PrintTo(const TLeftLockCase& row, std::ostream* out) { *out << row.name; }
};

class RegressionALeftOrPlantedLockFileFailedEverySave : public ::testing::TestWithParam<TLeftLockCase> {};

TEST_P(RegressionALeftOrPlantedLockFileFailedEverySave, OnlyALiveSaveIsWaitedFor)
{
    const TLeftLockCase& c = GetParam();
    TempFolder folder;
    const std::string home = MakeNotes(folder, c.place), file = home + "/notes.ini";
    if (home.empty())
        HM_SKIP_WHERE_LACKING("giving files to other users needs root: " << std::strerror(errno));
    const std::string lock = LockNameOf(home, "notes.ini");
    ASSERT_TRUE(!c.leave || c.leave(file, home + "/" + lock));
    struct stat left {};
    ASSERT_EQ(!c.leave, lstat((home + "/" + lock).c_str(), &left) != 0);
    const TPatience patience(kShortPatience);
    TChildHolding holder([&] { return !c.leave && c.holder.Become(); }, [&] { return HoldLock(file); });
    ASSERT_EQ(holder.Ready(), !c.leave);
    const auto save = [&](TOutcome outcome) {
        return AnswerAsUserIn(c.saver.uid, c.saver.groups, home, [&] {
            SetProgramFolder(".");
            const bool opened = open(lock.c_str(), O_RDONLY | O_CLOEXEC) >= 0;
            return opened == (outcome != TOutcome::InTheWay) &&
                AnswerInTime(20, [&] {
                    if (outcome != TOutcome::TakenOver)
                        return Says(SaveIni("notes.ini"), outcome == TOutcome::WaitedFor ? kBusy : "is in the way");
                    const bool held = TFileUpdateLock("notes.ini").Held();
                    return held && Succeeds(SaveIni("notes.ini"));
                }) == "true";
        });
    };
    EXPECT_TRUE(save(c.outcome));
    if (c.outcome == TOutcome::WaitedFor) {
        holder.Release();
        EXPECT_TRUE(save(TOutcome::TakenOver));
    }
    EXPECT_EQ(TempFolder::Read(file),
              c.outcome != TOutcome::InTheWay ? "[Main]\r\nKey=new\r\n"
                  : c.place.exists            ? "[Main]\r\nKey=old\r\n"
                                              : "");
    struct stat after;
    const bool kept = lstat((home + "/" + lock).c_str(), &after) == 0;
    EXPECT_EQ(kept, c.outcome == TOutcome::InTheWay);
    if (kept) {
        EXPECT_TRUE(after.st_ino == left.st_ino && after.st_size == 0 && after.st_nlink == left.st_nlink);
    }
}

const TLeftLockCase kLeftLocks[] = {
    {"EmptyFileInAStickyFolder", kSticky, PlantedBy(false), kFilesOwner, TOutcome::InTheWay},
    // Its name is known before the file is made.
    {"EmptyFileBeforeTheFileIsMade", kStickyNoFile, PlantedBy(false), kFilesOwner, TOutcome::InTheWay},
    {"HardLinkToAFileOfThePlanters", kSticky, PlantedBy(true), kFilesOwner, TOutcome::InTheWay},
    // Root's, 0600, in the user's folder.
    {"RootsKilledSaveOfANewFile", kOwnersFolder, KilledSaveOf(kRoot), kFilesOwner, TOutcome::TakenOver},
    // The owner is not in the file's group: its lock file is of its own group, 0600.
    {"OwnersKilledSaveOfAGroupSharedFile", kSharedFolder, KilledSaveOf(kFilesOwner), kGroupMember, TOutcome::TakenOver},
    {"RootSavingANewFile", kOwnersFolder, nullptr, kFilesOwner, TOutcome::WaitedFor, kRoot},
    {"OwnerSavingAGroupSharedFile", kSharedFolder, nullptr, kGroupMember, TOutcome::WaitedFor, kFilesOwner},
    // The owner removed the live lock of a writer an access list let in.
    {"OwnerRemovedTheLiveLockOfAWriterAnAccessListLetIn", kListedFile, nullptr, kFilesOwner, TOutcome::WaitedFor,
     kListedWriter},
    {"WriterAnAccessListLetsInWaitsForTheOwner", kListedFile, nullptr, kListedWriter, TOutcome::WaitedFor, kFilesOwner},
};
INSTANTIATE_TEST_SUITE_P(LockFiles, RegressionALeftOrPlantedLockFileFailedEverySave, ::testing::ValuesIn(kLeftLocks),
                         [](const auto& param) { return std::string(param.param.name); });

// kStranger, who may write the folder but not kOwner's file "precious", renames it to the lock's
// name of "notes.ini" and holds a lock on it: kOwner's save, waiting, wrote into its own file.
TEST(UpdateLock, RegressionAWaitingSaveWroteIntoAFileRenamedToTheLocksName)
{
    TempFolder folder;
    const std::string open = folder.File("open"), precious = open + "/precious";
    ASSERT_EQ(mkdir(open.c_str(), 0777), 0);
    ASSERT_EQ(chmod(open.c_str(), 0777), 0);
    TempFolder::Write(precious, "precious");
    if (chown(precious.c_str(), kOwner, kOwner) != 0)
        HM_SKIP_WHERE_LACKING("giving a file to another user needs root: " << std::strerror(errno));
    const std::string lock = open + "/" + LockNameOf(open, "notes.ini");
    const TPatience patience(kShortPatience);
    TChildHolding stranger([] { return BecomeUser(kStranger, {kStranger}); },
                           [&] {
                               const int fd = rename(precious.c_str(), lock.c_str()) == 0
                                   ? ::open(lock.c_str(), O_RDONLY | O_CLOEXEC)
                                   : -1;
                               return fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0;
                           });
    ASSERT_TRUE(stranger.Ready());
    EXPECT_TRUE(AnswerAsUserIn(kOwner, {kOwner}, open, [] {
        SetProgramFolder(".");
        return Says(SaveIni("notes.ini"), kBusy);
    }));
    EXPECT_EQ(TempFolder::Read(lock), "precious");
}

// An INI save another program's lock refused, the object dropped once the lock is let go.
TEST(UpdateLock, RegressionASaveReportedRefusedLandedLater)
{
    TempFolder folder;
    const TPatience patience(kShortPatience);
    TChildHolding holder([&] { return HoldLock(folder.File("app.ini")); });
    ASSERT_TRUE(holder.Ready());
    {
        TIniFile ini("app.ini");
        ini.WriteString("Main", "Key", "refused");
        try {
            ini.UpdateFile();
            ADD_FAILURE() << "saved while another program held the lock";
        } catch (const EIniFileException& e) {
            EXPECT_TRUE(Says(e.Message, kBusy));
        }
        holder.Release();
    }
    EXPECT_EQ(TempFolder::Read(folder.File("app.ini")), "");
}

}  // namespace
