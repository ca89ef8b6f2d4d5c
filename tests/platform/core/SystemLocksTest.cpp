// The system's list of locks read defensively: lines of waiters, damaged numbers and numbers past
// their size are never taken for a lock held; and a lock a child holds on a file is seen.

#include <gtest/gtest.h>

#include <sys/file.h>
#include <sys/stat.h>

#include <string>

#include "Holders.h"
#include "TempFolder.h"
#include "platform/core/SystemLocks.h"

namespace {

using SystemLocks::TListedFile;
using SystemLocks::TLockState;

const TListedFile kFile{0xfe, 0x00, 10952918};

struct TListCase {
    const char* name;
    const char* list;
    bool held;  // a lock on kFile
    friend void PrintTo(const TListCase& row, std::ostream* out) { *out << row.name; }
};

class SystemLockList : public ::testing::TestWithParam<TListCase> {};

TEST_P(SystemLockList, ShowsOnlyALockHeld)
{
    EXPECT_EQ(SystemLocks::ListShowsHeld(GetParam().list, kFile), GetParam().held);
}

const TListCase kLists[] = {
    {"Flock", "1: FLOCK  ADVISORY  WRITE 20994 fe:00:10952918 0 EOF\n", true},
    {"AmongOthersWithTabs", "1: POSIX ADVISORY READ 5 08:01:77 0 EOF\n2:\tOFDLCK\tADVISORY\tWRITE -1 FE:0:10952918",
     true},
    {"OnlyAWaiter", "1: -> FLOCK  ADVISORY  WRITE 20995 fe:00:10952918 0 EOF\n", false},
    {"AnotherDevice", "1: FLOCK ADVISORY WRITE 1 fe:01:10952918 0 EOF\n", false},
    {"InodeWithALetter", "1: FLOCK ADVISORY WRITE 1 fe:00:10952918x 0 EOF\n", false},
    {"InodePastSixtyFourBits", "1: FLOCK ADVISORY WRITE 1 fe:00:18446744073709551616 0 EOF\n", false},
    {"MajorPastThirtyTwoBits", "1: FLOCK ADVISORY WRITE 1 1000000fe:00:10952918 0 EOF\n", false},
    {"CutShort", "1: FLOCK ADVISORY WRITE 1 fe:00:", false},
};
INSTANTIATE_TEST_SUITE_P(Lines, SystemLockList, ::testing::ValuesIn(kLists),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(SystemLocks, ALockAChildHoldsIsSeenUntilItLetsGo)
{
    TempFolder folder;
    const std::string path = folder.File("locked");
    TempFolder::Write(path, "");
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(SystemLocks::StateOf(st, folder.Path()), TLockState::Free);
    TChildHolding holder([&] {
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        return fd >= 0 && flock(fd, LOCK_EX) == 0;
    });
    ASSERT_TRUE(holder.Ready());
    EXPECT_EQ(SystemLocks::StateOf(st, folder.Path()), TLockState::Held);
    holder.Release();
    EXPECT_EQ(SystemLocks::StateOf(st, folder.Path()), TLockState::Free);
}

}  // namespace
