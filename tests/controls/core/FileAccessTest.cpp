// Access lists moved across file systems: a file or folder whose list shuts a user out is still
// shut to that user at the destination. Runs in a child that mounts a tmpfs at "other" in a mount
// namespace of its own and checks as user 2002 (root only).

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/xattr.h>

#include <csignal>
#include <cstdint>
#include <cstring>

#include "controls/core/FileUtil.h"
#include "platform/core/AtomicFile.h"
#include "tests/SkipWhereLacking.h"
#include "tests/controls/core/FileTrees.h"
#include "tests/platform/core/Unprivileged.h"

namespace {

constexpr uid_t kShutOut = 2002;
constexpr const char* kAccessList = "system.posix_acl_access";

// An access list: the owner's, user kShutOut's (nothing), the group's, the mask and the others',
// each with the permissions of `ownerBits` and `othersBits`.
std::string ShuttingOut(uint16_t ownerBits, uint16_t othersBits)
{
    return filetrees::AccessList(
        {{1, ownerBits}, {2, 0, kShutOut}, {4, othersBits}, {16, othersBits}, {32, othersBits}});
}

std::string ListOf(const std::string& path)
{
    char value[256];
    const ssize_t n = getxattr(path.c_str(), kAccessList, value, sizeof value);
    return n < 0 ? std::string() : std::string(value, static_cast<size_t>(n));
}

std::string MoveAndLook(const std::string& root)
{
    if (const std::string lacking = filetrees::MountFileSystem(root + "/other", "1m"); !lacking.empty())
        return "SKIP " + lacking;
    filetrees::MakeTree(root, "t/f=secret t/d/g=x s=secret");
    const std::string file = ShuttingOut(6, 4), folder = ShuttingOut(7, 5);
    filetrees::MakeTree(root, "other/probe=x");
    if (setxattr((root + "/other/probe").c_str(), kAccessList, file.data(), file.size(), 0) != 0)
        return std::string("SKIP this tmpfs keeps no access lists: ") + std::strerror(errno);
    for (const char* name : {"/t/f", "/s"})
        setxattr((root + name).c_str(), kAccessList, file.data(), file.size(), 0);
    setxattr((root + "/t/d").c_str(), kAccessList, folder.data(), folder.size(), 0);
    TExFileOperator op(nullptr);
    op.Operation = foMove;
    op.Options = FileOperFlag(flNoConfirmation);
    op.Source = "t";
    op.Destination = "other";
    std::string out = op.Execute() ? "moved" : "not moved";
    MoveFile("s", "other\\s");
    for (const char* name : {"/other/t/f", "/other/t/d", "/other/s"})
        out += std::string(" ") +
            (ListOf(root + name) == (std::string(name) == "/other/t/d" ? folder : file) ? "kept" : "lost");
    const bool shut = AnswerAsUserIn(kShutOut, {kShutOut}, root, [] {
        for (const char* name : {"other/t/f", "other/t/d", "other/s"})
            if (open(name, O_RDONLY) >= 0 || errno != EACCES)
                return false;
        return true;
    });
    return out + (shut ? " shut" : " open");
}

TEST(FileAccess, RegressionMoveAcrossFileSystemsKeepsAccessLists)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.File("other"));
    const std::string out = filetrees::InBoundedChild([&folder] { return MoveAndLook(folder.Path()); });
    if (out.rfind("SKIP ", 0) == 0)
        HM_SKIP_WHERE_LACKING(out.substr(5));
    EXPECT_EQ(out, "moved kept kept kept shut");
}

}  // namespace

// A file whose save in place was cut short, copied by its owner: the copy held the torn bytes the
// file held, not what its save had committed it to. The copy finishes the save and copies that.
TEST(FileAccess, RegressionACopyOfAFileWhoseSaveInPlaceWasCutShortHeldItTorn)
{
    TempFolder folder;
    const std::string notes = folder.File("notes.ini");
    TempFolder::Write(notes, "old");
    ASSERT_EQ(chmod(folder.Path().c_str(), 0777), 0);
    if (chown(notes.c_str(), kShutOut, kShutOut) != 0 || chmod(notes.c_str(), 0666) != 0)
        HM_SKIP_WHERE_LACKING("giving a file to another user needs root: " << std::strerror(errno));
    const std::string killed = filetrees::InBoundedChild([&folder] {
        if (!BecomeUser(kShutOut + 1, {kShutOut + 1}) || chdir(folder.Path().c_str()) != 0)
            return std::string("not become");
        SetAtSaveStep([](TSaveStep step) {
            if (step == TSaveStep::InPlaceMarked) {
                TempFolder::Write("notes.ini", "ne");
                raise(SIGKILL);
            }
        });
        return std::string(AtomicWriteFile("notes.ini", "new").Ok ? "saved" : "refused");
    });
    ASSERT_EQ(TempFolder::Read(notes), "ne") << killed;
    EXPECT_TRUE(AnswerAsUserIn(kShutOut, {kShutOut}, folder.Path(), [] {
        CopyFile("notes.ini", "copy.ini");
        return TempFolder::Read("copy.ini") == "new";
    }));
}
