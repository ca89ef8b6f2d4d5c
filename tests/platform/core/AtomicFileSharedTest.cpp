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
#include "SharingUsers.h"
#include "TempFolder.h"
#include "Unprivileged.h"
#include "helper/InTime.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/IniFile.h"
#include "platform/core/ProgramFolder.h"
#include "platform/core/RegistryStore.h"
#include "tests/SkipWhereLacking.h"
#include "tests/platform/core/RegistryHive.h"

namespace fs = std::filesystem;

namespace {


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

// A 2775 folder of kAlice's and kTeam's with `file` in it (and its own folder, where the name has
// one, alike), of the same and of the mode given, holding `data`; where
// the test may not give files away, a folder and file of its own. Empty where it cannot.
std::string MakeShared(const TempFolder& scratch, const std::string& file, const std::string& data, mode_t fileMode,
                       bool otherUsers)
{
    const std::string folder = scratch.File("shared");
    const std::string inner = file.find('/') == std::string::npos ? "" : folder + "/" + file.substr(0, file.find('/'));
    if (mkdir(folder.c_str(), 0755) != 0 || (!inner.empty() && mkdir(inner.c_str(), 0755) != 0))
        return "";
    TempFolder::Write(folder + "/" + file, data);
    if (!otherUsers)
        return folder;
    for (const std::string& made : {folder, inner})
        if (!made.empty() && (chown(made.c_str(), kAlice, kTeam) != 0 || chmod(made.c_str(), 02775) != 0))
            return "";
    if (chown((folder + "/" + file).c_str(), kAlice, kTeam) != 0 || chmod((folder + "/" + file).c_str(), fileMode) != 0)
        return "";
    return folder;
}

enum class TStore { Counter, IniFile, Registry };

AnsiString KeyOf(int round, int saver, int i)
{
    return "r" + std::to_string(round) + "s" + std::to_string(saver) + "k" + std::to_string(i);
}

// One update of a saver's: one added to the counter, or a key of its own saved into the
// settings file or the registry's.
bool Update(TStore store, int round, int saver, int i)
{
    switch (store) {
    case TStore::Counter: return AddOne("counter", false);
    case TStore::IniFile: {
        TIniFile ini("shared.ini");
        ini.WriteString("Keys", KeyOf(round, saver, i), "v");
        ini.UpdateFile();
        return true;
    }
    case TStore::Registry:
        return RegistryStore::SetValue(kUser, "Software\\Shared", {KeyOf(round, saver, i), false, "v", 0});
    }
    return false;
}

// Eight savers updating one file, four as each user the row gives.
struct TSharedCase {
    const char* name;
    TStore store;
    TSharer first, second;
    int each;  // updates of each saver in a round: a save of a store flushes its file to disk
    friend void PrintTo(const TSharedCase& row, std::ostream* out) { *out << row.name; }
};

class RegressionSaversOfDifferentUsersLostUpdates : public ::testing::TestWithParam<TSharedCase> {};

TEST_P(RegressionSaversOfDifferentUsersLostUpdates, EveryUpdateIsKeptEveryRound)
{
    constexpr int kSavers = 8, kRounds = 3;
    const TSharedCase& c = GetParam();
    const int each = c.each;
    TempFolder scratch;
    const bool otherUsers = c.first.uid != 0 || c.second.uid != 0;
    const char* const file = c.store == TStore::Counter ? "counter"
        : c.store == TStore::IniFile                    ? "shared.ini"
                                                        : "Registry/HKEY_CURRENT_USER.txt";
    const std::string folder = MakeShared(scratch, file, c.store == TStore::Counter ? "0" : "", 0664, otherUsers);
    if (folder.empty())
        HM_SKIP_WHERE_LACKING("giving files to other users needs root: " << std::strerror(errno));
    for (int round = 1; round <= kRounds; ++round) {
        const int failures = FailuresAtOnce(kSavers, [&](int saver) {
            if (!(saver < kSavers / 2 ? c.first : c.second).BecomeIn(folder))
                return false;
            SetProgramFolder(".");
            for (int i = 0; i < each; ++i)
                if (!Update(c.store, round, saver, i))
                    return false;
            return true;
        });
        EXPECT_EQ(failures, 0) << "round " << round;
        if (c.store == TStore::Counter) {
            EXPECT_EQ(TempFolder::Read(folder + "/counter"), std::to_string(round * kSavers * each))
                << "round " << round;
            continue;
        }
        SetProgramFolder(folder);
        int kept = 0;
        for (int saver = 0; saver < kSavers; ++saver)
            for (int i = 0; i < each; ++i)
                kept += c.store == TStore::IniFile
                    ? TIniFile(folder + "/shared.ini").ValueExists("Keys", KeyOf(round, saver, i))
                    : RegistryStore::FindValue(kUser, "Software\\Shared", KeyOf(round, saver, i)).has_value();
        EXPECT_EQ(kept, kSavers * each) << "round " << round;
    }
}

const TSharedCase kSharedFiles[] = {
    // Eight writers of two users, a hundred saves each: 800 of 800 every round.
    {"TwoUsersInAGroupFolder", TStore::Counter, kAliceSharer, kBobSharer, 100},
    {"RootAndAUser", TStore::Counter, kSelfSharer, kAliceSharer, 25},
    {"OneUser", TStore::Counter, kSelfSharer, kSelfSharer, 25},
    {"SettingsFileOfTwoUsers", TStore::IniFile, kAliceSharer, kBobSharer, 10},
    {"RegistryOfTwoUsers", TStore::Registry, kAliceSharer, kBobSharer, 10},
};
INSTANTIATE_TEST_SUITE_P(Savers, RegressionSaversOfDifferentUsersLostUpdates, ::testing::ValuesIn(kSharedFiles),
                         [](const auto& param) { return std::string(param.param.name); });

// kBob, a member of the file's group, holds a file at the lock's name of "notes.ini" (0644 or
// 0664 as the row says): its own lock file where it may write the file, else one it planted, which
// kAlice cannot open: her save waits for it as for a lock and is refused, naming it, never made
// without the lock.
struct TMemberCase {
    const char* name;
    mode_t fileMode;
    mode_t planted;    // 0: kBob holds the lock as a saver does
    const char* says;  // what kAlice's refused save says
    friend void PrintTo(const TMemberCase& row, std::ostream* out) { *out << row.name; }
};

class RegressionALockFileOfAUserWhoMayNotWriteTheFileStalledItsSaves : public ::testing::TestWithParam<TMemberCase> {};

TEST_P(RegressionALockFileOfAUserWhoMayNotWriteTheFileStalledItsSaves, NoSaveGoesOnWithoutTheLock)
{
    const TMemberCase& c = GetParam();
    TempFolder scratch;
    const std::string folder = MakeShared(scratch, "notes.ini", "old", c.fileMode, true);
    if (folder.empty())
        HM_SKIP_WHERE_LACKING("giving files to other users needs root: " << std::strerror(errno));
    const std::string lock = LockNameOf(folder, "notes.ini");
    const TPatience patience(std::chrono::milliseconds(300));
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
                                             return !taken.MaySave() && Says(taken.Message(), c.says);
                                         }) == "true";
                              }));
    EXPECT_EQ(TempFolder::Read(folder + "/notes.ini"), "old");
}

const TMemberCase kMembers[] = {
    {"PlantedFileOnlyItsMakerMayOpen", 0644, 0600, "is in the way"},
    {"PlantedFileOfItsGroupToWrite", 0644, 0620, "is in the way"},
    {"LockOfAMemberWhoMayWriteTheFile", 0664, 0, "being saved"},
};
INSTANTIATE_TEST_SUITE_P(LockFiles, RegressionALockFileOfAUserWhoMayNotWriteTheFileStalledItsSaves,
                         ::testing::ValuesIn(kMembers),
                         [](const auto& param) { return std::string(param.param.name); });

// In a sticky folder everyone may write, kBob's folder "sub" is swapped for a link to kAlice's
// private folder, a link saves do not follow there: once at the very moment a save has looked at
// "sub" and is about to enter it, then by kBob again and again while kAlice saves "sub/x.ini". No
// save and no lock ever lands in the private folder, and a save lands in "sub" once it stays.
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
    const auto swap = [&] {
        return rename(sub.c_str(), away.c_str()) == 0 && symlink(mine.c_str(), sub.c_str()) == 0 &&
            lchown(sub.c_str(), kBob, kBob) == 0;
    };
    const auto restore = [&] { return unlink(sub.c_str()) == 0 && rename(away.c_str(), sub.c_str()) == 0; };
    bool swapped = false;
    SetBeforeEnteringFolder([&](const std::string& name) {
        if (name == "sub" && !swapped)
            swapped = swap();
    });
    const TWriteResult redirected = AtomicWriteFile(sub + "/x.ini", "redirected");
    SetBeforeEnteringFolder({});
    EXPECT_TRUE(swapped);
    EXPECT_FALSE(redirected.Ok);
    EXPECT_NE(redirected.Message.find("not followed"), std::string::npos) << redirected.Message;
    ASSERT_TRUE(restore());

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
    // Through the lock and by the path alike.
    const auto save = [&] {
        const TFileUpdateLock lock(sub + "/x.ini");
        const bool locked = lock.MaySave() && AtomicWriteFile(lock, "saved").Ok;
        return AtomicWriteFile(sub + "/x.ini", "saved").Ok && locked;
    };
    // Some saves land in "sub", some find it gone or refuse the link; none lands elsewhere.
    EXPECT_TRUE(AnswerAs(kAlice, {kAlice}, [&] {
        for (int i = 0; i < kSaves; ++i)
            save();
        return true;
    }));
    TempFolder::Write(stop, "");
    swapper.Release();
    EXPECT_TRUE(AnswerAs(kAlice, {kAlice}, save));
    EXPECT_EQ(TempFolder::Read(sub + "/x.ini"), "saved");
    EXPECT_EQ(TempFolder::Read(mine + "/x.ini"), "private");
    EXPECT_EQ(NamesIn(mine), std::vector<std::string>{"x.ini"});
}

}  // namespace
