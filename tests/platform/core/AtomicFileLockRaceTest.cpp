// Savers of one file at once, each waiting its turn at the lock the system holds: no update is lost
// while the file is being made; a live lock is never taken, whatever others do to the system's list
// of locks and wherever its holder runs; a refusal never spoils a process's later saves; and no lock
// file is left behind.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "AtOnce.h"
#include "Holders.h"
#include "SaveChecks.h"
#include "SharingUsers.h"
#include "TempFolder.h"
#include "Unprivileged.h"
#include "helper/InTime.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/ProgramFolder.h"
#include "tests/FuseFolder.h"
#include "tests/SkipWhereLacking.h"

namespace fs = std::filesystem;

namespace {

// kAlice and kBob share kTeam; kCarol has nothing to do with the files saved.
constexpr uid_t kCarol = 40005;
// A trial refused waits this long.
constexpr std::chrono::milliseconds kTrialPatience{200};

// A folder of the owner's and group's, of the mode given, in the case's folder; empty where the
// case may not give it away (not root).
std::string FolderOf(const TempFolder& scratch, const std::string& name, uid_t owner, gid_t group, mode_t mode)
{
    const std::string folder = scratch.File(name);
    return mkdir(folder.c_str(), 0700) == 0 && chown(folder.c_str(), owner, group) == 0 &&
            chmod(folder.c_str(), mode) == 0
        ? folder
        : "";
}

// kCarol takes and drops 15,000 locks of its own, again and again, for as long as the case lives:
// the system's list of locks keeps changing under anyone who reads it.
class TLockChurner {
public:
    explicit TLockChurner(const TempFolder& scratch)
        : folder_(FolderOf(scratch, "carol", kCarol, kCarol, 0700)), stop_(scratch.File("stop-churning"))
    {
        churner_ = std::make_unique<TChildHolding>([] { return BecomeUser(kCarol, {kCarol}); },
                                                   [this] { return !folder_.empty(); }, [this] { Churn(); });
    }
    ~TLockChurner()
    {
        TempFolder::Write(stop_, "");
        churner_.reset();
    }
    TLockChurner(const TLockChurner&) = delete;
    TLockChurner& operator=(const TLockChurner&) = delete;
    bool Ready() const { return churner_->Ready(); }

private:
    void Churn() const
    {
        constexpr int kFiles = 30,
                      kEach = 500;  // spread over files: the system finds a place for each in its file's list
        std::vector<int> files;
        for (int i = 0; i < kFiles; ++i)
            files.push_back(open((folder_ + "/" + std::to_string(i)).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!fs::exists(stop_) && std::chrono::steady_clock::now() < end) {
            for (const int fd : files) {
                for (int i = 0; i < kEach; ++i) {
                    struct flock part {};
                    part.l_type = F_WRLCK;
                    part.l_start = 2 * i;
                    part.l_len = 1;
                    fcntl(fd, F_SETLK, &part);
                }
            }
            for (const int fd : files) {
                struct flock all {};
                all.l_type = F_UNLCK;
                fcntl(fd, F_SETLK, &all);
            }
        }
    }

    std::string folder_, stop_;
    std::unique_ptr<TChildHolding> churner_;
};

// Adds one to "counter" in the folder `each` times as the user (with the groups) gives; false where
// an addition failed.
bool AddsAs(uid_t user, const std::vector<gid_t>& groups, const std::string& folder, int each)
{
    if (chdir(folder.c_str()) != 0 || !BecomeUser(user, groups) || !GiveUpReadingEveryFile())
        return false;
    for (int i = 0; i < each; ++i)
        if (!AddOne("counter", false))
            return false;
    return true;
}

// Saves "notes.ini" of the current folder, refused as another holds its lock or saved as the
// case expects.
bool SaveNotes(bool refused)
{
    SetProgramFolder(".");
    return AnswerInTime(20, [&] {
               return refused ? Says(SaveIni("notes.ini"), kBusy) : Succeeds(SaveIni("notes.ini"));
           }) == "true";
}

// Goes on as the first process of a PID namespace of its own, the process that made it waiting for
// its end; false where that is not permitted. `sandbox`: in a mount namespace of its own too, with
// a /proc that shows the namespace's processes alone, as containers have.
bool EnterOwnPidNamespace(bool sandbox)
{
    if (unshare(CLONE_NEWPID | (sandbox ? CLONE_NEWNS : 0)) != 0)
        return false;
    // What is mounted here stays here.
    if (sandbox && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return false;
    const pid_t first = fork();
    if (first < 0)
        return false;
    if (first > 0) {
        int status = 0;
        waitpid(first, &status, 0);
        _exit(WIFEXITED(status) ? WEXITSTATUS(status) : 1);
    }
    return !sandbox || mount("proc", "/proc", "proc", MS_NOSUID | MS_NODEV | MS_NOEXEC, nullptr) == 0;
}

}  // namespace

// Four savers of one user add one each to a counter a hundred times, in a folder anyone may write,
// with the usual umask, the file made anew each round: savers that began before the file existed
// and savers that began after took each other's lock files for no saver's and swapped them out.
// Where files are made by name and named by a link and an unlink (the project's own way on file
// systems without unnamed files or renames that refuse to replace, and FUSE's), a held lock file
// has two names for a moment or, on FUSE, for its whole life (the removed name kept hidden while
// open): savers passed such a lock over, and updates were lost.
struct TSaversCase {
    const char* name;
    bool byName;  // files made by name, named by a link and an unlink
    bool fuse;    // the folder served through FUSE
    int rounds;   // of the file made anew
    friend void PrintTo(const TSaversCase& row, std::ostream* out) { *out << row.name; }
};

class RegressionOneUsersSaversLostUpdatesWhileTheFileWasMade : public ::testing::TestWithParam<TSaversCase> {};

TEST_P(RegressionOneUsersSaversLostUpdatesWhileTheFileWasMade, EveryUpdateIsKept)
{
    constexpr int kSavers = 4, kEach = 100;
    const TSaversCase& c = GetParam();
    TempFolder scratch;
    const std::string source = scratch.File("source"), folder = c.fuse ? scratch.File("open") : source,
                      counter = folder + "/counter";
    ASSERT_EQ(mkdir(source.c_str(), 0777), 0);
    ASSERT_EQ(chmod(source.c_str(), 0777), 0);
    std::optional<TFuseFolder> fuse;
    if (c.fuse) {
        ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
        fuse.emplace(source, folder);
        ASSERT_FALSE(fuse->NotInstalled()) << fuse->Failure();
        if (!fuse->Failure().empty())
            HM_SKIP_WHERE_LACKING("a FUSE folder: " << fuse->Failure());
    }
    const auto addAtOnce = [&] {
        return FailuresAtOnce(kSavers, [&](int) {
            umask(022);
            SetUnnamedTemporaryFiles(!c.byName);
            SetRenamesWithoutReplacing(!c.byName);
            for (int i = 0; i < kEach; ++i)
                if (!AddOne(counter, false))
                    return false;
            return true;
        });
    };
    for (int round = 1; round <= c.rounds; ++round) {
        unlink(counter.c_str());
        EXPECT_EQ(addAtOnce(), 0) << "round " << round;
        EXPECT_EQ(TempFolder::Read(counter), std::to_string(kSavers * kEach)) << "round " << round;
    }
    // A file that is there keeps its mode, whatever a save sees while another renames over it (on
    // FUSE, RegressionOnAFuseFolderTheOwnersSavesDroppedTheFilesMode).
    if (c.fuse)
        return;
    ASSERT_EQ(chmod(counter.c_str(), 0600), 0);
    EXPECT_EQ(addAtOnce(), 0);
    EXPECT_EQ(TempFolder::Read(counter), std::to_string(2 * kSavers * kEach));
    struct stat kept;
    ASSERT_EQ(stat(counter.c_str(), &kept), 0);
    EXPECT_EQ(kept.st_mode & 07777, 0600u);
}

const TSaversCase kSaversCases[] = {
    {"FilesMadeUnnamed", false, false, 5},
    {"FilesMadeByName", true, false, 5},
    // A save there takes some ten times as long.
    {"OnAFuseFolder", false, true, 1},
};
INSTANTIATE_TEST_SUITE_P(Folders, RegressionOneUsersSaversLostUpdatesWhileTheFileWasMade,
                         ::testing::ValuesIn(kSaversCases),
                         [](const auto& param) { return std::string(param.param.name); });

// The owner of a counter, 0660, and a writer its group lets in (who saves it in place) add to it
// at once on a FUSE folder, two processes each: the owner's saves, passing over a lock held, took
// the file for a new one while another's rename hid it for a moment, and gave it the usual mode,
// shutting the writer out. Every update is kept, and the file keeps its owner, group and mode.
TEST(UpdateLockRace, RegressionOnAFuseFolderTheOwnersSavesDroppedTheFilesMode)
{
    constexpr int kSavers = 4, kEach = 25;
    TempFolder scratch;
    const std::string source = FolderOf(scratch, "source", kAlice, kTeam, 02775), folder = scratch.File("team");
    if (source.empty())
        HM_SKIP_WHERE_LACKING("giving a folder to another user needs root: " << std::strerror(errno));
    TempFolder::Write(source + "/counter", "0");
    ASSERT_EQ(chown((source + "/counter").c_str(), kAlice, kTeam), 0);
    ASSERT_EQ(chmod((source + "/counter").c_str(), 0660), 0);
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    const TFuseFolder fuse(source, folder);
    ASSERT_FALSE(fuse.NotInstalled()) << fuse.Failure();
    if (!fuse.Failure().empty())
        HM_SKIP_WHERE_LACKING("a FUSE folder: " << fuse.Failure());
    EXPECT_EQ(FailuresAtOnce(kSavers,
                             [&](int saver) {
                                 const uid_t user = saver % 2 == 0 ? kAlice : kBob;
                                 return AddsAs(user, {user, kTeam}, folder, kEach);
                             }),
              0);
    EXPECT_EQ(TempFolder::Read(source + "/counter"), std::to_string(kSavers * kEach));
    struct stat kept;
    ASSERT_EQ(stat((source + "/counter").c_str(), &kept), 0);
    EXPECT_EQ(kept.st_mode & 07777, 0660u);
    EXPECT_EQ(kept.st_uid, kAlice);
    EXPECT_EQ(kept.st_gid, kTeam);
    // FUSE keeps a lock of each name of a file apart: two saves in place through two names would
    // write at once. A file of several names there is not written in place.
    ASSERT_EQ(link((source + "/counter").c_str(), (source + "/other").c_str()), 0);
    EXPECT_TRUE(AnswerAsUserIn(kBob, {kBob, kTeam}, folder,
                               [] { return Says(AtomicWriteFile("counter", "1").Message, "It has other names"); }));
    EXPECT_EQ(TempFolder::Read(source + "/counter"), std::to_string(kSavers * kEach));
}

// kCarol puts a file of mode 0 at the lock's name of kAlice's counter in a folder everyone may
// write, sticky: four savers of kAlice's, who cannot open it, passed the lock over and lost
// updates, each save reported done. Each is refused instead, naming it, and nothing is saved.
TEST(UpdateLockRace, RegressionAFileNobodyCouldOpenAtTheLocksNameTurnedTheLockOff)
{
    constexpr int kSavers = 4, kEach = 5;
    TempFolder scratch;
    const std::string folder = FolderOf(scratch, "open", 0, 0, 01777), counter = folder + "/counter";
    if (folder.empty())
        HM_SKIP_WHERE_LACKING("giving a folder to root needs root: " << std::strerror(errno));
    const std::string planted = folder + "/" + LockNameOf(folder, "counter");
    ASSERT_TRUE(AnswerAs(kCarol, {kCarol}, [&] {
        const int fd = open(planted.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0);
        return fd >= 0 && close(fd) == 0;
    }));
    const TPatience patience(kTrialPatience);
    EXPECT_EQ(
        FailuresAtOnce(kSavers,
                       [&](int) {
                           if (chdir(folder.c_str()) != 0 || !BecomeUser(kAlice, {kAlice}) || !GiveUpReadingEveryFile())
                               return false;
                           for (int i = 0; i < kEach; ++i)
                               if (!Says(Lock("counter"), "is in the way. It is user 40005's. It cannot be opened"))
                                   return false;
                           return true;
                       }),
        0);
    EXPECT_FALSE(fs::exists(counter));
    struct stat left;
    ASSERT_EQ(stat(planted.c_str(), &left), 0);
    EXPECT_EQ(left.st_mode & 07777, 0u);
}

// Root holds the lock of a file still to be made in kAlice's 0700 folder while kAlice tries to save
// it, trial after trial: beside a third user taking and dropping many locks, with the saver in a
// sandbox, or with the holder in a PID namespace of its own. The live lock was read as free from
// the system's list of locks, and taken.
struct TLiveCase {
    const char* name;
    bool churn;
    bool saverInSandbox;
    bool holderInPidNamespace;
    int trials;
    friend void PrintTo(const TLiveCase& row, std::ostream* out) { *out << row.name; }
};

class RegressionALiveLockWasReadAsFree : public ::testing::TestWithParam<TLiveCase> {};

TEST_P(RegressionALiveLockWasReadAsFree, EveryTrialWaitsAndFails)
{
    const TLiveCase& c = GetParam();
    TempFolder scratch;
    const std::string home = FolderOf(scratch, "alice", kAlice, kAlice, 0700);
    if (home.empty())
        HM_SKIP_WHERE_LACKING("giving a folder to another user needs root: " << std::strerror(errno));
    if ((c.saverInSandbox || c.holderInPidNamespace) &&
        !AnswerInChild([] { return true; }, [&] { return EnterOwnPidNamespace(c.saverInSandbox); }))
        HM_SKIP_WHERE_LACKING("a PID namespace of its own is not permitted here: " << std::strerror(errno));
    std::optional<TLockChurner> churner;
    if (c.churn) {
        churner.emplace(scratch);
        ASSERT_TRUE(churner->Ready());
    }
    const TPatience patience(kTrialPatience);
    TChildHolding holder([&] { return !c.holderInPidNamespace || EnterOwnPidNamespace(false); },
                         [&] { return HoldLock(home + "/notes.ini"); });
    ASSERT_TRUE(holder.Ready());
    const auto alice = [&] {
        return (!c.saverInSandbox || EnterOwnPidNamespace(true)) && BecomeUser(kAlice, {kAlice}) &&
            chdir(home.c_str()) == 0 && GiveUpReadingEveryFile();
    };
    for (int trial = 1; trial <= c.trials; ++trial)
        EXPECT_TRUE(AnswerInChild(alice, [] { return SaveNotes(true); })) << "trial " << trial;
    holder.Release();
    EXPECT_TRUE(AnswerInChild(alice, [] { return SaveNotes(false); }));
    EXPECT_TRUE(IniHoldsNewKey(home + "/notes.ini"));
}

const TLiveCase kLiveCases[] = {
    {"AThirdUserTakingAndDroppingLocks", true, false, false, 10},
    {"ASaverInASandbox", false, true, false, 5},
    {"AHolderInAPidNamespaceOfItsOwn", false, false, true, 5},
};
INSTANTIATE_TEST_SUITE_P(Holders, RegressionALiveLockWasReadAsFree, ::testing::ValuesIn(kLiveCases),
                         [](const auto& param) { return std::string(param.param.name); });

// One process of kAlice's saves its notes while root holds their lock (refused) and once root has
// let go (saved), round after round, beside a third user churning locks: one reading of the
// system's list gone wrong kept every later save of the process waiting and refused.
TEST(UpdateLockRace, RegressionOneRefusalSpoiledEveryLaterSaveOfTheProcess)
{
    constexpr int kRounds = 5;
    TempFolder scratch;
    const std::string home = FolderOf(scratch, "alice", kAlice, kAlice, 0700);
    if (home.empty())
        HM_SKIP_WHERE_LACKING("giving a folder to another user needs root: " << std::strerror(errno));
    const TLockChurner churner(scratch);
    ASSERT_TRUE(churner.Ready());
    const TPatience patience(kTrialPatience);
    EXPECT_EQ(AnswerInTime(60,
                           [&] {
                               // kAlice for its saves; root again (its saved user) only to start a holder.
                               const gid_t group = kAlice;
                               if (chdir(home.c_str()) != 0 || setgroups(1, &group) != 0 || setegid(kAlice) != 0 ||
                                   seteuid(kAlice) != 0)
                                   return false;
                               SetProgramFolder(".");
                               for (int round = 0; round < kRounds; ++round) {
                                   if (seteuid(0) != 0)
                                       return false;
                                   TChildHolding holder([&] { return HoldLock(home + "/notes.ini"); });
                                   if (seteuid(kAlice) != 0 || !holder.Ready() || !Says(SaveIni("notes.ini"), kBusy))
                                       return false;
                                   holder.Release();
                                   if (!Succeeds(SaveIni("notes.ini")))
                                       return false;
                               }
                               return true;
                           }),
              "true");
}

// kAlice adds to a counter of hers in a loop while kBob, a member of the folder's group who may not
// write the file, takes its lock in a loop, two processes each, with files made without a name or
// by name: kAlice's saves swapped kBob's lock files out and left them under temporary names.
class RegressionLockFilesWereLeftUnderTemporaryNames : public ::testing::TestWithParam<bool> {};

TEST_P(RegressionLockFilesWereLeftUnderTemporaryNames, OnlyTheFileStays)
{
    constexpr int kSavers = 4, kSavesEach = 100, kLocksEach = 500;
    TempFolder scratch;
    const std::string folder = FolderOf(scratch, "team", kAlice, kTeam, 0775), counter = folder + "/counter";
    if (folder.empty())
        HM_SKIP_WHERE_LACKING("giving a folder to another user needs root: " << std::strerror(errno));
    TempFolder::Write(counter, "0");
    ASSERT_EQ(chown(counter.c_str(), kAlice, kTeam), 0);
    ASSERT_EQ(chmod(counter.c_str(), 0644), 0);
    SetUnnamedTemporaryFiles(GetParam());
    const int failures = FailuresAtOnce(kSavers, [&](int saver) {
        const uid_t user = saver % 2 == 0 ? kAlice : kBob;
        if (!BecomeUser(user, {user, kTeam}) || chdir(folder.c_str()) != 0 || !GiveUpReadingEveryFile())
            return false;
        for (int i = 0; i < (user == kAlice ? kSavesEach : kLocksEach); ++i)
            if (user == kAlice ? !AddOne("counter", false) : !TFileUpdateLock("counter").MaySave())
                return false;
        return true;
    });
    SetUnnamedTemporaryFiles(true);
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(TempFolder::Read(counter), std::to_string(kSavers / 2 * kSavesEach));
    EXPECT_EQ(NamesIn(folder), std::vector<std::string>{"counter"});
}

INSTANTIATE_TEST_SUITE_P(TemporaryFiles, RegressionLockFilesWereLeftUnderTemporaryNames, ::testing::Bool(),
                         [](const auto& param) { return param.param ? "MadeUnnamed" : "MadeByName"; });
