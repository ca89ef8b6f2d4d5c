// A save waiting on a lock file it may not open asks the system's list of locks whether anyone
// holds it, and any user can make that list long, so that the system takes seconds to give it or
// gives more than a reader keeps: the save ends within its patience all the same, and a live
// holder's lock is never taken. The long list is given here through a pipe at the list's place,
// as slowly or as long as a flood of locks makes it: a real flood would slow every reader of the
// system's list, other programs and another run of these tests among them.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
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
#include "platform/core/SystemLocks.h"
#include "tests/SkipWhereLacking.h"

namespace fs = std::filesystem;

namespace {

constexpr uid_t kListSaver = 40001;
constexpr const char* kListName = "list-of-locks";

// A page of the list naming other files' locks, as a flood of them fills it.
std::string FloodPage()
{
    std::string page;
    for (int i = 0; page.size() < 4096; ++i)
        page += std::to_string(i + 1) + ": POSIX  ADVISORY  WRITE 4242 00:2a:" + std::to_string(900000 + i) + " " +
            std::to_string(2 * i) + " " + std::to_string(2 * i) + "\n";
    return page;
}

// Gives the list through the pipe at `pipe` to every reader that opens it, a page at a time:
// slowly (a page every 20 ms) or as fast as it is read, never ending, until the pipe is removed.
void FeedList(const std::string& pipe, bool slowly)
{
    signal(SIGPIPE, SIG_IGN);
    const std::string page = FloodPage();
    while (fs::exists(pipe)) {
        const int fd = open(pipe.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {  // no reader yet
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        fcntl(fd, F_SETFL, 0);
        while (write(fd, page.data(), page.size()) > 0)
            if (slowly)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
        close(fd);
    }
}

// The list read from another file while a case runs, the system's restored after.
class TListAt {
public:
    explicit TListAt(const std::string& path) { SystemLocks::SetListPath(path); }
    ~TListAt() { SystemLocks::SetListPath("/proc/locks"); }
    TListAt(const TListAt&) = delete;
    TListAt& operator=(const TListAt&) = delete;
};

// Who holds the lock of "notes.ini" in "home", who holds the many locks, and who saves the file,
// unable to open the lock file.
struct TManyCase {
    const char* name;
    bool otherUsers;  // root holds, kListSaver saves in its own folder; else both are the test's own
                      // user, the lock file made unreadable to the saver
    bool slowly;      // the list takes seconds to give; else it is longer than a reader keeps
    friend void PrintTo(const TManyCase& row, std::ostream* out) { *out << row.name; }
};

class RegressionManyLocksOfAnotherUserStretchedTheWait : public ::testing::TestWithParam<TManyCase> {};

TEST_P(RegressionManyLocksOfAnotherUserStretchedTheWait, TheSaveEndsWithinItsPatienceAndTakesNothing)
{
    const TManyCase& c = GetParam();
    TempFolder scratch;
    // The list lies in the saver's folder, where the saver, become another user, reaches it.
    const std::string home = scratch.File("home"), list = home + "/" + kListName, file = home + "/notes.ini";
    ASSERT_EQ(mkdir(home.c_str(), 0755), 0);
    if (c.otherUsers && chown(home.c_str(), kListSaver, kListSaver) != 0)
        HM_SKIP_WHERE_LACKING("giving a folder to another user needs root: " << std::strerror(errno));
    const std::string lock = home + "/" + LockNameOf(home, "notes.ini");
    TChildHolding holder([&] { return HoldLock(file) && (c.otherUsers || chmod(lock.c_str(), 0) == 0); });
    ASSERT_TRUE(holder.Ready());
    struct stat held;
    ASSERT_EQ(lstat(lock.c_str(), &held), 0);
    ASSERT_EQ(mkfifo(list.c_str(), 0666), 0);
    ASSERT_EQ(chmod(list.c_str(), 0666), 0);
    TChildHolding feeder([] { return true; }, [] { return true; }, [&] { FeedList(list, c.slowly); });
    ASSERT_TRUE(feeder.Ready());
    const TListAt listed(kListName);

    const TPatience patience(std::chrono::milliseconds(300));
    const auto save = [&] {
        const TFileUpdateLock refused("notes.ini");
        return !refused.MaySave() && refused.Message().find("being saved") != std::string::npos;
    };
    // Three seconds is ten patiences: the whole list takes longer to give, or never ends.
    const auto inTime = [&] { return chdir(home.c_str()) == 0 && AnswerInTime(3, [&] { return save(); }) == "true"; };
    EXPECT_TRUE(c.otherUsers
                    ? AnswerAsUserIn(kListSaver, {kListSaver}, home, [&] { return AnswerInTime(3, save) == "true"; })
                    : RunUnprivileged(inTime));
    fs::remove(list);
    feeder.Release();
    struct stat after;
    ASSERT_EQ(lstat(lock.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, held.st_ino);
    EXPECT_FALSE(fs::exists(file));
}

const TManyCase kManyCases[] = {
    {"RootsLockOfANewFileInAUsersFolderSlowList", true, true},
    {"ALockFileTheSaverMayNotOpenSlowList", false, true},
    {"RootsLockOfANewFileInAUsersFolderListPastTheCap", true, false},
    {"ALockFileTheSaverMayNotOpenListPastTheCap", false, false},
};
INSTANTIATE_TEST_SUITE_P(Holders, RegressionManyLocksOfAnotherUserStretchedTheWait, ::testing::ValuesIn(kManyCases),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
