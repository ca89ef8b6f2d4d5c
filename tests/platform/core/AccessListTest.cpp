// A file made beside a user's file lets in whom that file lets in: all its writers, or each user and
// group with the rights it has there, the maker keeping its own.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "AccessLists.h"
#include "TempFolder.h"
#include "platform/core/AccessList.h"
#include "tests/SkipWhereLacking.h"

namespace {

struct TShareCase {
    const char* name;
    const char* from;  // the access list of the file shared, of the test's own user and group
    bool othersFile;   // the file shared is 40001's, of group 40003, the maker not
    bool writersOnly;
    const char* made;  // the access list of the file made
    friend void PrintTo(const TShareCase& row, std::ostream* out) { *out << row.name; }
};

class ShareAccess : public ::testing::TestWithParam<TShareCase> {};

TEST_P(ShareAccess, TheFileMadeLetsInWhomTheFileLetsIn)
{
    const TShareCase& c = GetParam();
    TempFolder folder;
    const std::string file = folder.File("notes"), made = folder.File("made");
    TempFolder::Write(file, "");
    if (c.othersFile && chown(file.c_str(), 40001, 40003) != 0)
        HM_SKIP_WHERE_LACKING("giving a file to another user needs root: " << std::strerror(errno));
    if (!SetAccessList(file, c.from))
        HM_SKIP_WHERE_LACKING("the file system keeps no access lists: " << std::strerror(errno));
    struct stat from;
    ASSERT_EQ(stat(file.c_str(), &from), 0);
    const int fd = open(made.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(::ShareAccess(file, from, fd, c.writersOnly), "");
    close(fd);
    EXPECT_EQ(AccessListOf(made), c.made);
}

// 40002 a user the list lets in; 40003 a group; 40001 the owner of another's file.
const TShareCase kShares[] = {
    {"OwnersOwnFileToItsWriters", "u::rw-,g::r--,o::r--", false, true, "u::rw-,g::---,o::---"},
    {"AUserTheListLetsWrite", "u::rw-,u:40002:rw-,g::r--,m::rw-,o::---", false, true,
     "u::rw-,u:40002:rw-,g::---,m::rw-,o::---"},
    {"WriteRightsTheMaskTakesAway", "u::rw-,u:40002:rw-,g:40003:rw-,g::r--,m::r--,o::---", false, true,
     "u::rw-,u:40002:---,g::---,g:40003:---,m::---,o::---"},
    {"AnothersFileItsOwnerAndGroup", "u::rw-,g::rw-,o::---", true, true,
     "u::rw-,u:40001:rw-,g::---,g:40003:rw-,m::rw-,o::---"},
    {"EachItsOwnRightsForACopy", "u::rw-,u:40002:r--,g::r--,m::r--,o::---", false, false,
     "u::rw-,u:40002:r--,g::r--,m::r--,o::---"},
    {"ACopyOfAnothersFile", "u::rw-,g::r--,o::---", true, false, "u::rw-,u:40001:rw-,g::---,g:40003:r--,m::rw-,o::---"},
};
INSTANTIATE_TEST_SUITE_P(Files, ShareAccess, ::testing::ValuesIn(kShares),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
