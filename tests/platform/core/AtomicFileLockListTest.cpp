// A save waiting on a lock file it may not open asks the system's list of locks whether anyone
// holds it, and any user can make that list long, so that the system takes seconds to give it:
// the save ends within its patience all the same, and a live holder's lock is never taken.
// (This program runs alone: the long list slows every reader of it.)

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "Holders.h"
#include "TempFolder.h"
#include "Unprivileged.h"
#include "helper/InTime.h"
#include "platform/core/AtomicFile.h"
#include "tests/SkipWhereLacking.h"

namespace fs = std::filesystem;

namespace {

constexpr uid_t kUser = 40001, kMany = 40002;
constexpr int kLocks = 120000;  // the system then takes seconds to give the list

// Takes kLocks byte-range locks on files of its own made in the folder, and keeps them.
bool TakeManyLocks(const std::string& folder)
{
    constexpr int kEach = 1000;  // a file's locks are kept in a list, walked at each new one
    for (int f = 0; f < kLocks / kEach; ++f) {
        const std::string name = folder + "/many" + std::to_string(f);
        const int fd = open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0)
            return false;
        unlink(name.c_str());
        for (int i = 0; i < kEach; ++i) {
            struct flock range {};
            range.l_type = F_WRLCK;
            range.l_whence = SEEK_SET;
            range.l_start = 2 * i;
            range.l_len = 1;
            if (fcntl(fd, F_SETLK, &range) != 0)
                return false;
        }
    }
    return true;
}

// Who holds the lock of "notes.ini" in "home", who holds the many locks, and who saves the file,
// unable to open the lock file.
struct TManyCase {
    const char* name;
    bool otherUsers;  // root holds, kMany takes the locks, kUser saves in its own folder; else all
                      // are the test's own user, the lock file made unreadable to the saver
    friend void PrintTo(const TManyCase& row, std::ostream* out) { *out << row.name; }
};

class RegressionManyLocksOfAnotherUserStretchedTheWait : public ::testing::TestWithParam<TManyCase> {};

TEST_P(RegressionManyLocksOfAnotherUserStretchedTheWait, TheSaveEndsWithinItsPatienceAndTakesNothing)
{
    const TManyCase& c = GetParam();
    TempFolder scratch;
    const std::string home = scratch.File("home"), many = scratch.File("many"), file = home + "/notes.ini";
    ASSERT_EQ(mkdir(home.c_str(), 0755), 0);
    ASSERT_EQ(mkdir(many.c_str(), 0777), 0);
    ASSERT_EQ(chmod(many.c_str(), 0777), 0);
    if (c.otherUsers && chown(home.c_str(), kUser, kUser) != 0)
        HM_SKIP_WHERE_LACKING("giving a folder to another user needs root: " << std::strerror(errno));
    const std::string lock = home + "/" + LockNameOf(home, "notes.ini");
    TChildHolding holder([&] { return HoldLock(file) && (c.otherUsers || chmod(lock.c_str(), 0) == 0); });
    ASSERT_TRUE(holder.Ready());
    struct stat held;
    ASSERT_EQ(lstat(lock.c_str(), &held), 0);
    TChildHolding flood([&] { return !c.otherUsers || BecomeUser(kMany, {kMany}); },
                        [&] { return TakeManyLocks(many); });
    ASSERT_TRUE(flood.Ready());

    const TPatience patience(std::chrono::milliseconds(300));
    const auto save = [&] {
        const TFileUpdateLock refused("notes.ini");
        return !refused.MaySave() && refused.Message().find("being saved") != std::string::npos;
    };
    // Three seconds is ten patiences: the list alone takes the system longer to give.
    const auto inTime = [&] { return chdir(home.c_str()) == 0 && AnswerInTime(3, [&] { return save(); }) == "true"; };
    EXPECT_TRUE(c.otherUsers ? AnswerAsUserIn(kUser, {kUser}, home, [&] { return AnswerInTime(3, save) == "true"; })
                             : RunUnprivileged(inTime));
    flood.Release();
    struct stat after;
    ASSERT_EQ(lstat(lock.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, held.st_ino);
    EXPECT_FALSE(fs::exists(file));
}

const TManyCase kManyCases[] = {
    {"RootsLockOfANewFileInAUsersFolder", true},
    {"ALockFileTheSaverMayNotOpen", false},
};
INSTANTIATE_TEST_SUITE_P(Holders, RegressionManyLocksOfAnotherUserStretchedTheWait, ::testing::ValuesIn(kManyCases),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
