// Owners, groups and modes of what copies and moves make, done by a user in two groups (2002 in
// 2002 and 2003) or by root, and the undo of a move such a user cancelled. Each case runs in a
// child that mounts a small tmpfs at "other" in a mount namespace of its own, makes the tree as
// root, gives it to the user, and then, unless the case is root's, becomes the user (root only).

#include <endian.h>
#include <gtest/gtest.h>
#include <sys/xattr.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include "controls/core/FileOperatorSession.h"
#include "controls/core/FileUtil.h"
#include "platform/core/Exceptions.h"
#include "tests/SkipWhereLacking.h"
#include "tests/controls/core/FileTrees.h"
#include "tests/platform/core/Unprivileged.h"

namespace fs = std::filesystem;

namespace {

constexpr uid_t kUser = 2002;
constexpr gid_t kSharedGroup = 2003;  // the user's second group
constexpr const char* kListAttribute = "system.posix_acl_access";

// The access list of the entry as "tag:perm:id" words, empty when it has none.
std::string ShownList(const std::string& path)
{
    char value[256];
    const ssize_t n = lgetxattr(path.c_str(), kListAttribute, value, sizeof value);
    std::string shown;
    for (ssize_t at = 4; at + 8 <= n; at += 8) {
        uint16_t tag, perm;
        uint32_t id;
        std::memcpy(&tag, value + at, 2);
        std::memcpy(&perm, value + at + 2, 2);
        std::memcpy(&id, value + at + 4, 4);
        shown += " " + std::to_string(le16toh(tag)) + ":" + std::to_string(le16toh(perm)) +
            (le32toh(id) == UINT32_MAX ? "" : ":" + std::to_string(le32toh(id)));
    }
    return shown.empty() ? shown : " acl" + shown;
}

// Every entry below the folder as "path uid:gid@mode", with its access list, in name order.
std::string Owners(const std::string& root)
{
    std::set<std::string> entries;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        struct stat st;
        if (lstat(it->path().c_str(), &st) != 0)
            continue;
        char mode[8];
        std::snprintf(mode, sizeof mode, "%o", st.st_mode & 07777);
        entries.insert(it->path().lexically_relative(root).string() + " " + std::to_string(st.st_uid) + ":" +
                       std::to_string(st.st_gid) + (S_ISLNK(st.st_mode) ? std::string() : "@" + std::string(mode)) +
                       ShownList(it->path()));
    }
    std::string out;
    for (const std::string& e : entries)
        out += (out.empty() ? "" : " | ") + e;
    return out;
}

struct TOwnerCase {
    const char* name;
    char way;  // 'c' CopyFile, 'm' MoveFile, 'C' the operator's copy, 'M' its move
    bool asUser;
    const char* before;  // a tree (FileTrees.h), all of it the user's
    const char* groups;  // "path:gid" words: groups given after
    const char* source;
    const char* destination;
    const char* expected;           // "RESULT || ERRORS SHOWN || OWNERS"
    bool withList = false;          // "s" gets an access list granting user 2005 and the owning group read
    bool cancelOnReadOnly = false;  // the user cancels once a read-only folder was made in "other"
};
void PrintTo(const TOwnerCase& c, std::ostream* os) { *os << c.name; }

std::string RunOwnerCase(const TOwnerCase& row, const std::string& root)
{
    umask(022);
    if (const std::string lacking = filetrees::MountFileSystem(root + "/other", "256k"); !lacking.empty())
        return "SKIP " + lacking;
    filetrees::MakeTree(root, row.before);
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); it != fs::recursive_directory_iterator(); ++it)
        filetrees::Ignore(lchown(it->path().c_str(), kUser, kUser));
    filetrees::Ignore(chown(root.c_str(), kUser, kUser));
    for (size_t start = 0, end; start < std::strlen(row.groups); start = end + 1) {
        end = std::min(std::string(row.groups).find(' ', start), std::strlen(row.groups));
        const std::string word(row.groups + start, end - start);
        const std::string path = root + "/" + word.substr(0, word.find(':'));
        struct stat st;
        stat(path.c_str(), &st);
        filetrees::Ignore(lchown(path.c_str(), kUser, static_cast<gid_t>(std::stoul(word.substr(word.find(':') + 1)))));
        chmod(path.c_str(), st.st_mode & 07777);  // a change of group cleared the set-group-ID bit
    }
    if (row.withList) {
        const std::string list = filetrees::AccessList({{1, 6}, {2, 4, 2005}, {4, 4}, {16, 4}, {32, 4}});
        if (setxattr((root + "/s").c_str(), kListAttribute, list.data(), list.size(), 0) != 0)
            return std::string("SKIP the file system of TMPDIR keeps no access lists: ") + std::strerror(errno);
    }
    if (row.asUser && !BecomeUser(kUser, {kUser, kSharedGroup}))
        return "SKIP becoming another user needs root";
    std::string errors;
    bool cancelled = false;
    std::function<bool()> onPoll = [&] {
        for (const char* made : {"/other/t/r1", "/other/t/r2"}) {
            struct stat st;
            if (row.cancelOnReadOnly && !cancelled && stat((root + made).c_str(), &st) == 0 &&
                (st.st_mode & 0777) == 0555)
                cancelled = true;
        }
        return !cancelled;
    };
    SetFileOperatorDialogs([&] { return std::make_unique<filetrees::TRecordingDialogs>(errors, onPoll); });
    std::chrono::steady_clock::time_point now;  // every tick polls
    SetFileWorkClock([&now] { return now += kProgressPollInterval; });
    std::string result;
    try {
        if (row.way == 'c' || row.way == 'm') {
            if (row.way == 'c')
                CopyFile(row.source, row.destination);
            else
                MoveFile(row.source, row.destination);
            result = "done";
        } else {
            TExFileOperator op(nullptr);
            op.Operation = row.way == 'C' ? foCopy : foMove;
            op.Options = FileOperFlag(flNoConfirmation);
            op.Source = row.source;
            op.Destination = row.destination;
            result = op.Execute() ? "true" : "false";
            result += op.OperationAborted() ? " aborted" : "";
        }
    } catch (const Exception& e) {
        result = e.Message;
    }
    return result + " || " + errors + " || " + Owners(root);
}

class Ownership : public ::testing::TestWithParam<TOwnerCase> {
protected:
    TempFolder folder;
};

TEST_P(Ownership, IsKept)
{
    fs::create_directory(folder.File("other"));
    const std::string out = filetrees::InBoundedChild([this] { return RunOwnerCase(GetParam(), folder.Path()); });
    if (out.rfind("SKIP ", 0) == 0)
        HM_SKIP_WHERE_LACKING(out.substr(5));
    EXPECT_EQ(out, GetParam().expected);
}

const TOwnerCase kOwners[] = {
    // The group is kept where the user is in it, and before the mode grants it anything.
    {"RegressionUserCopyKeepsTheSharedGroup", 'c', true, "s=1@640", "s:2003", "s", "d",
     "done ||  || d 2002:2003@640 | other 2002:2002@755 | s 2002:2003@640"},
    {"RegressionUserMoveAcrossFileSystemsKeepsTheGroup", 'm', true, "s=1@640", "s:2003", "s", "other\\s",
     "done ||  || other 2002:2002@755 | other/s 2002:2003@640"},
    {"RegressionUserMoveOfASharedFolderKeepsItsGroupAndBits", 'M', true, "t/@2775 t/f=1@664", "t:2003 t/f:2003", "t",
     "other", "true ||  || other 2002:2002@755 | other/t 2002:2003@2775 | other/t/f 2002:2003@664"},
    // A group the user is not in gets none of the source group's permissions.
    {"RegressionUserCopyOfAForeignGroupGrantsItNothing", 'c', true, "s=1@664", "s:2004", "s", "d",
     "done ||  || d 2002:2002@604 | other 2002:2002@755 | s 2002:2004@664"},
    {"RegressionUserCopyOfAForeignGroupFolderGrantsItNothing", 'C', true, "t/@2775 t/f=1@664", "t:2004 t/f:2004", "t",
     "out",
     "true ||  || other 2002:2002@755 | out 2002:2002@705 | out/f 2002:2002@604 | t 2002:2004@2775 | t/f "
     "2002:2004@664"},
    {"RegressionUserCopyOfAForeignGroupKeepsTheListButNotTheGroupEntry", 'c', true, "s=1@644", "s:2004", "s", "d",
     "done ||  || d 2002:2002@644 acl 1:6 2:4:2005 4:0 16:4 32:4 | other 2002:2002@755 | s 2002:2004@644 acl 1:6 "
     "2:4:2005 4:4 16:4 32:4",
     true},
    // Root's copy keeps the owner too.
    {"RegressionRootCopyKeepsOwnerAndGroup", 'c', false, "s=1@640", "s:2003", "s", "d",
     "done ||  || d 2002:2003@640 | other 2002:2002@755 | s 2002:2003@640"},
    {"RegressionRootCopyOfAFolderKeepsOwnersAndGroups", 'C', false, "t/@2775 t/f=1@640 t/l->f", "t:2003 t/l:2003", "t",
     "out",
     "true ||  || other 2002:2002@755 | out 2002:2003@2775 | out/f 2002:2002@640 | out/l 2002:2003 | t "
     "2002:2003@2775 | t/f 2002:2002@640 | t/l 2002:2003"},
    // The undo of a cancelled move removes what it made, also inside the folders it made read-only.
    {"RegressionCancelledMoveLeavesNoReadOnlyFolderBehind", 'M', true, "t/r1/@555 t/r1/f=1 t/r2/@555 t/r2/f=2", "", "t",
     "other",
     "false aborted ||  || other 2002:2002@755 | t 2002:2002@755 | t/r1 2002:2002@555 | t/r1/f 2002:2002@644 | t/r2 "
     "2002:2002@555 | t/r2/f 2002:2002@644",
     false, true},
};
INSTANTIATE_TEST_SUITE_P(Rows, Ownership, ::testing::ValuesIn(kOwners),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
