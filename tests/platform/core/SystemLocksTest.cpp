// The system's list of locks read defensively: lines of waiters, damaged numbers and numbers past
// their size are never taken for a lock held. (The list read live: the update lock's tests.)

#include <gtest/gtest.h>

#include <string>

#include "platform/core/SystemLocks.h"

namespace {

using SystemLocks::TListedFile;

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
    {"InodeWithALetter", "1: FLOCK ADVISORY WRITE 1 fe:00:10952918x 0 EOF\n", false},
    {"InodePastSixtyFourBits", "1: FLOCK ADVISORY WRITE 1 fe:00:18446744073709551616 0 EOF\n", false},
    {"MajorPastThirtyTwoBits", "1: FLOCK ADVISORY WRITE 1 1000000fe:00:10952918 0 EOF\n", false},
    {"CutShort", "1: FLOCK ADVISORY WRITE 1 fe:00:", false},
};
INSTANTIATE_TEST_SUITE_P(Lines, SystemLockList, ::testing::ValuesIn(kLists),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
