// A file that several users save: every saver holds the lock in turn, whoever made the lock file,
// so no update is lost; a lock file of a user who may not write the file never stalls its saves;
// a folder of the path swapped for a link mid-save never sends the save elsewhere.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "AtOnce.h"
#include "Holders.h"
#include "TempFolder.h"
#include "Unprivileged.h"
#include "helper/InTime.h"
#include "platform/core/AtomicFile.h"
#include "tests/SkipWhereLacking.h"

namespace fs = std::filesystem;

namespace {

constexpr uid_t kAlice = 40001, kBob = 40002;
constexpr gid_t kTeam = 40009;

// A user and its groups; uid 0 is the test's own user, whoever runs it.
struct TSharer {
    uid_t uid;
    std::vector<gid_t> groups;
    // Becomes the user, in the folder, with no right to open files the user may not.
    bool BecomeIn(const std::string& folder) const
    {
        return (uid == 0 || BecomeUser(uid, groups)) && chdir(folder.c_str()) == 0 &&
            (uid == 0 || GiveUpReadingEveryFile());
    }
};
const TSharer kSelfSharer{0, {}}, kAliceSharer{kAlice, {kAlice, kTeam}}, kBobSharer{kBob, {kBob, kTeam}};

// A 2775 folder of kAlice's and kTeam's with `file` in it, 0664 of the same, holding `data`; where
// the test may not give files away, a folder and file of its own. Empty where it cannot.
std::string MakeShared(const TempFolder& scratch, const std::string& file, const std::string& data, mode_t fileMode,
                       bool otherUsers)
{
    const std::string folder = scratch.File("shared");
    if (mkdir(folder.c_str(), 0755) != 0)
        return "";
    TempFolder::Write(folder + "/" + file, data);
    if (!otherUsers)
        return folder;
    if (chown(folder.c_str(), kAlice, kTeam) != 0 || chmod(folder.c_str(), 02775) != 0 ||
        chown((folder + "/" + file).c_str(), kAlice, kTeam) != 0 || chmod((folder + "/" + file).c_str(), fileMode) != 0)
        return "";
    return folder;
}

// Adds one to the counter, read under the lock; false where the lock was not held or the save
// failed, told on the error stream.
bool Increment()
{
    const TFileUpdateLock lock("counter");
    if (!lock.Held()) {
        std::fprintf(stderr, "not held: \"%s\"\n", lock.Message().c_str());
        return false;
    }
    TAtomicWriteOptions unflushed;
    unflushed.Flush = false;
    TAtomicFileWriter writer("counter", unflushed);
    writer.Write(std::to_string(std::stoi(TempFolder::Read("counter")) + 1));
    const TWriteResult saved = writer.Commit();
    if (!saved)
        std::fprintf(stderr, "not saved: \"%s\"\n", saved.Message.c_str());
    return saved.Ok;
}

// Eight savers adding to one counter, each as the user its row gives.
struct TCounterCase {
    const char* name;
    TSharer first, second;  // four savers each
    friend void PrintTo(const TCounterCase& row, std::ostream* out) { *out << row.name; }
};

class RegressionSaversOfDifferentUsersLostUpdates : public ::testing::TestWithParam<TCounterCase> {};

TEST_P(RegressionSaversOfDifferentUsersLostUpdates, EveryIncrementIsKeptEveryRound)
{
    constexpr int kSavers = 8, kRounds = 3, kEach = 40;
    const TCounterCase& c = GetParam();
    TempFolder scratch;
    const bool otherUsers = c.first.uid != 0 || c.second.uid != 0;
    const std::string folder = MakeShared(scratch, "counter", "0", 0664, otherUsers);
    if (folder.empty())
        HM_SKIP_WHERE_LACKING("giving files to other users needs root: " << std::strerror(errno));
    for (int round = 1; round <= kRounds; ++round) {
        const int failures = FailuresAtOnce(kSavers, [&](int saver) {
            if (!(saver < kSavers / 2 ? c.first : c.second).BecomeIn(folder))
                return false;
            for (int i = 0; i < kEach; ++i)
                if (!Increment())
                    return false;
            return true;
        });
        EXPECT_EQ(failures, 0) << "round " << round;
        EXPECT_EQ(TempFolder::Read(folder + "/counter"), std::to_string(round * kSavers * kEach)) << "round " << round;
    }
}

const TCounterCase kCounters[] = {
    {"TwoUsersInAGroupFolder", kAliceSharer, kBobSharer},
    {"RootAndAUser", kSelfSharer, kAliceSharer},
    {"OneUser", kSelfSharer, kSelfSharer},
};
INSTANTIATE_TEST_SUITE_P(Savers, RegressionSaversOfDifferentUsersLostUpdates, ::testing::ValuesIn(kCounters),
                         [](const auto& param) { return std::string(param.param.name); });

// Another patience for one case, the usual one restored after.
class TShortPatience {
public:
    TShortPatience() { SetLockPatience(std::chrono::milliseconds(300)); }
    ~TShortPatience() { SetLockPatience(kLockPatience); }
};

// kBob, a member of the file's group, holds a file at the lock's name of "notes.ini" (0644 or
// 0664 as the row says): its own lock file where it may write the file, else one it planted.
struct TMemberCase {
    const char* name;
    mode_t fileMode;
    mode_t planted;  // 0: kBob holds the lock as a saver does
    bool waited;     // kAlice's save waits for it and fails
    friend void PrintTo(const TMemberCase& row, std::ostream* out) { *out << row.name; }
};

class RegressionALockFileOfAUserWhoMayNotWriteTheFileStalledItsSaves : public ::testing::TestWithParam<TMemberCase> {};

TEST_P(RegressionALockFileOfAUserWhoMayNotWriteTheFileStalledItsSaves, OnlyAWritersLockIsWaitedFor)
{
    const TMemberCase& c = GetParam();
    TempFolder scratch;
    const std::string folder = MakeShared(scratch, "notes.ini", "old", c.fileMode, true);
    if (folder.empty())
        HM_SKIP_WHERE_LACKING("giving files to other users needs root: " << std::strerror(errno));
    const std::string lock = LockNameOf(folder, "notes.ini");
    const TShortPatience patience;
    TChildHolding holder([&] { return kBobSharer.BecomeIn(folder); },
                         [&] {
                             if (c.planted == 0)
                                 return HoldLock("notes.ini");
                             const int fd = open(lock.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
                             return fd >= 0 && fchmod(fd, c.planted) == 0 && flock(fd, LOCK_EX | LOCK_NB) == 0;
                         });
    ASSERT_TRUE(holder.Ready());
    EXPECT_TRUE(AnswerInChild([&] { return kAliceSharer.BecomeIn(folder); },
                              [&] {
                                  return AnswerInTime(20, [&] {
                                             const TFileUpdateLock taken("notes.ini");
                                             if (c.waited)
                                                 return !taken.MaySave() &&
                                                     taken.Message().find("being saved") != std::string::npos;
                                             return taken.Held() && AtomicWriteFile("notes.ini", "new").Ok;
                                         }) == "true";
                              }));
    EXPECT_EQ(TempFolder::Read(folder + "/notes.ini"), c.waited ? "old" : "new");
}

const TMemberCase kMembers[] = {
    {"PlantedFileOnlyItsMakerMayOpen", 0644, 0600, false},
    {"PlantedFileOfItsGroupToWrite", 0644, 0620, false},
    {"LockOfAMemberWhoMayWriteTheFile", 0664, 0, true},
};
INSTANTIATE_TEST_SUITE_P(LockFiles, RegressionALockFileOfAUserWhoMayNotWriteTheFileStalledItsSaves,
                         ::testing::ValuesIn(kMembers),
                         [](const auto& param) { return std::string(param.param.name); });

// In a sticky folder everyone may write, kBob keeps swapping its folder "sub" for a link to
// kAlice's private folder (a link kAlice's saves do not follow there) while kAlice saves
// "sub/x.ini" again and again: no save and no lock ever lands in the private folder.
TEST(SharedFolder, RegressionAFolderSwappedForALinkAfterTheCheckRedirectedTheSave)
{
    constexpr int kSaves = 300;
    TempFolder scratch;
    const std::string shared = scratch.File("shared"), sub = shared + "/sub", away = shared + "/sub-away",
                      mine = scratch.File("private");
    ASSERT_EQ(mkdir(shared.c_str(), 0777), 0);
    ASSERT_EQ(chmod(shared.c_str(), 01777), 0);
    ASSERT_EQ(mkdir(sub.c_str(), 0777), 0);
    ASSERT_EQ(chmod(sub.c_str(), 0777), 0);
    ASSERT_EQ(mkdir(mine.c_str(), 0700), 0);
    TempFolder::Write(mine + "/x.ini", "private");
    if (chown(sub.c_str(), kBob, kBob) != 0 || chown(mine.c_str(), kAlice, kAlice) != 0 ||
        chown((mine + "/x.ini").c_str(), kAlice, kAlice) != 0)
        HM_SKIP_WHERE_LACKING("giving files to other users needs root: " << std::strerror(errno));
    const std::string stop = scratch.File("stop");
    TChildHolding swapper([&] { return BecomeUser(kBob, {kBob}); }, [] { return true; },
                          [&] {
                              // Until the case says stop, and at most for a while.
                              const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
                              struct stat stopped;
                              while (stat(stop.c_str(), &stopped) != 0 && std::chrono::steady_clock::now() < end) {
                                  if (rename(sub.c_str(), away.c_str()) != 0)
                                      continue;
                                  (void)!symlink(mine.c_str(), sub.c_str());
                                  unlink(sub.c_str());
                                  rename(away.c_str(), sub.c_str());
                              }
                          });
    ASSERT_TRUE(swapper.Ready());
    // Some saves land in "sub", some find it gone; none elsewhere.
    EXPECT_TRUE(AnswerAs(kAlice, {kAlice}, [&] {
        int saved = 0;
        for (int i = 0; i < kSaves; ++i) {
            const TFileUpdateLock lock(sub + "/x.ini");
            saved += AtomicWriteFile(sub + "/x.ini", "saved").Ok ? 1 : 0;
        }
        return saved > 0;
    }));
    TempFolder::Write(stop, "");
    swapper.Release();
    EXPECT_EQ(TempFolder::Read(mine + "/x.ini"), "private");
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(mine))
        left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"x.ini"});
}

}  // namespace
