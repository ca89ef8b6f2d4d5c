// Symbolic links at a saved name, or as folders of its path, are followed where the system itself
// would follow them: in a sticky folder that others may write only the saver's own and the folder
// owner's, and no more of them in a row than the system follows. The rule is the save's own, whatever the machine's
// setting for its own path lookups.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "TempFolder.h"
#include "Unprivileged.h"
#include "helper/InTime.h"
#include "platform/core/AtomicFile.h"
#include "tests/SkipWhereLacking.h"

namespace fs = std::filesystem;

namespace {

constexpr uid_t kSelf = 0;  // the test's own user, whoever runs it
constexpr uid_t kSaver = 40001, kPlanter = 40002, kFolderOwner = 40003;

uid_t Who(uid_t uid) { return uid == kSelf ? geteuid() : uid; }

// Saves through the link and locks it; whether both went as expected, told on the error stream
// where not (the answer may come from a child process).
bool SavesThrough(const std::string& link, bool followed)
{
    const TWriteResult result = AtomicWriteFile(link, "new");
    const TFileUpdateLock lock(link);
    if (followed ? result.Ok && lock.Held()
                 : !result.Ok && result.Message.find("not followed") != std::string::npos && !lock.Held() &&
                lock.Message().find("not followed") != std::string::npos)
        return true;
    std::fprintf(stderr, "save: \"%s\", lock: \"%s\"\n", result.Message.c_str(), lock.Message().c_str());
    return false;
}

// A link "x.ini" in a folder of the given mode and owner, leading to a file elsewhere (0666, so
// that any saver may write it) or, dangling, to a name there; or leading to that folder, as a
// folder of the path saved ("x.ini/new.ini").
struct TStickyCase {
    const char* name;
    mode_t folderMode;
    uid_t folderOwner, linkOwner, saver;
    bool dangling;
    bool followed;
    bool asFolder = false;
    friend void PrintTo(const TStickyCase& row, std::ostream* out) { *out << row.name; }
};

class RegressionASaveFollowedAnotherUsersLinkInAStickyFolder : public ::testing::TestWithParam<TStickyCase> {};

TEST_P(RegressionASaveFollowedAnotherUsersLinkInAStickyFolder, FollowsOnlyWhereTheSystemWould)
{
    const TStickyCase& c = GetParam();
    TempFolder folder;
    const std::string shared = folder.File("shared"), elsewhere = folder.File("elsewhere");
    ASSERT_EQ(mkdir(shared.c_str(), 0700), 0);
    ASSERT_EQ(mkdir(elsewhere.c_str(), 0700), 0);
    ASSERT_EQ(chmod(shared.c_str(), c.folderMode), 0);
    ASSERT_EQ(chmod(elsewhere.c_str(), 0777), 0);
    const std::string target = elsewhere + (c.dangling ? "/new.ini" : "/secret.ini");
    if (!c.dangling) {
        TempFolder::Write(target, "secret");
        ASSERT_EQ(chmod(target.c_str(), 0666), 0);
    }
    const std::string link = shared + "/x.ini";
    ASSERT_EQ(symlink(c.asFolder ? elsewhere.c_str() : target.c_str(), link.c_str()), 0);
    if ((Who(c.linkOwner) != geteuid() && lchown(link.c_str(), Who(c.linkOwner), static_cast<gid_t>(-1)) != 0) ||
        (Who(c.folderOwner) != geteuid() && chown(shared.c_str(), Who(c.folderOwner), static_cast<gid_t>(-1)) != 0))
        HM_SKIP_WHERE_LACKING("giving a file to another user needs root: " << std::strerror(errno));

    const auto save = [&] { return SavesThrough(c.asFolder ? link + "/new.ini" : link, c.followed); };
    EXPECT_TRUE(c.saver == kSelf ? save() : AnswerAs(c.saver, {c.saver}, save));
    EXPECT_TRUE(fs::is_symlink(link));
    if (c.followed) {
        EXPECT_EQ(TempFolder::Read(target), "new");
    } else if (c.dangling) {
        EXPECT_FALSE(fs::exists(target));
    } else {
        EXPECT_EQ(TempFolder::Read(target), "secret");
    }
}

const TStickyCase kStickyLinks[] = {
    {"OwnLinkInOwnStickyFolder", 01777, kSelf, kSelf, kSelf, false, true},
    {"AnotherUsersLinkToAFile", 01777, kSelf, kPlanter, kSelf, false, false},
    {"AnotherUsersDanglingLink", 01777, kSelf, kPlanter, kSelf, true, false},
    {"AnotherUsersLinkSavedByAUserNotRoot", 01777, kSelf, kPlanter, kSaver, false, false},
    {"TheFolderOwnersLink", 01777, kFolderOwner, kFolderOwner, kSelf, false, true},
    {"TheFolderOwnersDanglingLink", 01777, kFolderOwner, kFolderOwner, kSelf, true, true},
    {"TheSaversOwnLinkInAnotherUsersFolder", 01777, kFolderOwner, kSaver, kSaver, false, true},
    {"AnotherUsersLinkInAFolderNotSticky", 0777, kSelf, kPlanter, kSelf, false, true},
    {"AnotherUsersLinkInAStickyFolderOnlyItsGroupMayWrite", 01770, kSelf, kPlanter, kSelf, false, true},
    {"AnotherUsersLinkAsAFolder", 01777, kSelf, kPlanter, kSaver, true, false, true},
    {"TheFolderOwnersLinkAsAFolder", 01777, kFolderOwner, kFolderOwner, kSaver, true, true, true},
    {"AnotherUsersLinkAsAFolderNotSticky", 0777, kSelf, kPlanter, kSaver, true, true, true},
};
INSTANTIATE_TEST_SUITE_P(Links, RegressionASaveFollowedAnotherUsersLinkInAStickyFolder,
                         ::testing::ValuesIn(kStickyLinks),
                         [](const auto& param) { return std::string(param.param.name); });

// A chain of links "l1" -> "end.ini", "l2" -> "l1" and so on, saved at its last link.
struct TChainCase {
    const char* name;
    int links;
    bool followed;
    friend void PrintTo(const TChainCase& row, std::ostream* out) { *out << row.name; }
};

class RegressionAChainOfFortyLinksWasRefused : public ::testing::TestWithParam<TChainCase> {};

TEST_P(RegressionAChainOfFortyLinksWasRefused, FollowsAsManyAsTheSystemFollows)
{
    const TChainCase& c = GetParam();
    TempFolder folder;
    const std::string end = folder.File("end.ini");
    TempFolder::Write(end, "old");
    std::string previous = "end.ini";
    for (int i = 1; i <= c.links; ++i) {
        const std::string name = "l" + std::to_string(i);
        ASSERT_EQ(symlink(previous.c_str(), folder.File(name).c_str()), 0);
        previous = name;
    }
    const std::string saved = folder.File(previous);
    // The system agrees.
    const int fd = open(saved.c_str(), O_RDONLY | O_CLOEXEC);
    EXPECT_EQ(fd >= 0, c.followed);
    if (fd >= 0)
        close(fd);

    const TWriteResult result = AtomicWriteFile(saved, "new");
    const TFileUpdateLock lock(saved);
    EXPECT_EQ(result.Ok, c.followed) << result.Message;
    EXPECT_EQ(lock.Held(), c.followed) << lock.Message();
    EXPECT_EQ(TempFolder::Read(end), c.followed ? "new" : "old");
    if (!c.followed) {
        EXPECT_NE(result.Message.find(std::strerror(ELOOP)), std::string::npos) << result.Message;
    }
    EXPECT_TRUE(fs::is_symlink(saved));
}

const TChainCase kChains[] = {
    {"FortyLinks", 40, true},
    {"FortyOneLinks", 41, false},
};
INSTANTIATE_TEST_SUITE_P(Chains, RegressionAChainOfFortyLinksWasRefused, ::testing::ValuesIn(kChains),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
