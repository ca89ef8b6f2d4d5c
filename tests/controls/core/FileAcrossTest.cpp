// Moves and the trash between two file systems: a small tmpfs mounted at the test folder's
// "other", in a mount namespace of the test process's own, so that nothing is seen outside it
// and the mount goes with the process. Mounting needs root; elsewhere the cases skip.

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>

#include "controls/core/FileUtil.h"
#include "platform/core/Exceptions.h"
#include "tests/SkipWhereLacking.h"
#include "tests/controls/core/FileTrees.h"
#include "tests/controls/core/ScopedEnv.h"

using filetrees::MakeTree;
using filetrees::Tree;

namespace {

// Unshared once per process: the mounts of later cases stay private too.
bool PrivateMounts(std::string& why)
{
    static int state = 0;
    static std::string reason;
    if (state == 0) {
        const bool ok = unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        state = ok ? 1 : -1;
        reason = ok ? "" : std::string("mounting a file system needs root: ") + std::strerror(errno);
    }
    why = reason;
    return state > 0;
}

class AcrossFileSystems : public ::testing::Test {
protected:
    void SetUp() override
    {
        oldMask = umask(022);
        const std::string other = folder.File("other");
        std::filesystem::create_directory(other);
        std::string why;
        if (!PrivateMounts(why))
            HM_SKIP_WHERE_LACKING(why);
        // Small, so that a large file fills it.
        if (mount("hanmud-test", other.c_str(), "tmpfs", MS_NOSUID, "size=256k,mode=755") != 0)
            HM_SKIP_WHERE_LACKING(std::string("mounting a tmpfs: ") + std::strerror(errno));
        mounted = true;
    }
    void TearDown() override
    {
        if (mounted)
            umount2(folder.File("other").c_str(), MNT_DETACH);
        umask(oldMask);
    }

    TempFolder folder;
    TEnv data{"XDG_DATA_HOME", folder.File("data")};
    filetrees::TRecordedOperator recorded;
    bool mounted = false;
    mode_t oldMask = 0;
};

enum TPollAction { paNone, paNewFileInTheSource, paCancel };
struct TAcrossCase {
    const char* name;
    TFileOperation operation;
    bool toTrash;
    const char* before;  // "other/..." lies on the other file system
    size_t bigFile;      // t/big of so many bytes
    TPollAction onPoll;
    const char* source;
    const char* destination;
    bool result;
    const char* error;  // found in the errors shown
    const char* after;  // the program folder with modes, the trash left out
    const char* trash;
};
void PrintTo(const TAcrossCase& c, std::ostream* os) { *os << c.name; }
class OperatorAcross : public AcrossFileSystems, public ::testing::WithParamInterface<TAcrossCase> {};

TEST_P(OperatorAcross, Leaves)
{
    const TAcrossCase& row = GetParam();
    MakeTree(folder.Path(), row.before);
    if (row.bigFile)
        TempFolder::Write(folder.File("t/big"), std::string(row.bigFile, 'x'));
    recorded.OnPoll = [this, &row](int poll) {
        if (row.onPoll == paNewFileInTheSource && poll == 2)  // the source is listed by now
            TempFolder::Write(folder.File("t/late"), "new");
        return row.onPoll != paCancel || poll != 3;
    };
    TExFileOperator op(nullptr);
    op.Operation = row.operation;
    op.Options = FileOperFlag(flNoConfirmation) | (row.toTrash ? FileOperFlag(flAllowUndo) : 0);
    op.Source = row.source;
    op.Destination = row.destination;
    EXPECT_EQ(op.Execute(), row.result);
    EXPECT_NE(recorded.Errors.find(row.error), std::string::npos) << recorded.Errors;
    EXPECT_EQ(*row.error == '\0', recorded.Errors.empty());
    EXPECT_EQ(Tree(folder.Path(), true, "data"), row.after);
    EXPECT_EQ(filetrees::TrashTree(folder.File("data/Trash")), row.trash);
}

const TAcrossCase kAcross[] = {
    {"RegressionMoveKeepsModesAndLinks", foMove, false,
     "t/@700 t/s=1@600 t/x=2@755 t/ro=3@444 t/l->s t/dangling->nowhere t/sub/@750 t/sub/f=4@640", 0, paNone, "t",
     "other", true, "",
     "other/@755 other/t/@700 other/t/dangling->nowhere other/t/l->s other/t/ro=3@444 other/t/s=1@600 "
     "other/t/sub/@750 other/t/sub/f=4@640 other/t/x=2@755",
     ""},
    {"RegressionFailedMoveLeavesNoHalfCopy", foMove, false, "t/@755 t/a=1@644 t/p|", 0, paNone, "t", "other", false,
     "It is a named pipe.", "other/@755 t/@755 t/a=1@644 t/p|", ""},
    {"RegressionFullFileSystemLeavesTheSourceWhole", foMove, false, "t/@755 t/a=1@644", 400000, paNone, "t", "other",
     false, "Stream write error", "other/@755 t/@755 t/a=1@644 t/big=400000 bytes@644", ""},
    {"RegressionMoveRemovesOnlyWhatItCopied", foMove, false, "t/@755 t/a=1@644", 0, paNewFileInTheSource, "t", "other",
     false, "t changed while it was moved and stays where it was",
     "other/@755 other/t/@755 other/t/a=1@644 t/@755 t/late=new@644", ""},
    {"RegressionCancelledMoveIsUndone", foMove, false, "t/@755 t/a=1@644 t/b=2@644", 0, paCancel, "t", "other", false,
     "", "other/@755 t/@755 t/a=1@644 t/b=2@644", ""},
    {"RegressionTrashKeepsModesAndLinks", foDelete, true, "other/t/@700 other/t/s=1@600 other/t/l->s", 0, paNone,
     "other\\t", "", true, "", "other/@755", "t/@700 t/l->s t/s=1@600 | t.trashinfo=[Trash Info]"},
    {"RegressionFailedTrashLeavesNothingInTheTrash", foDelete, true, "other/t/@755 other/t/a=1@644 other/t/p|", 0,
     paNone, "other\\t", "", false, "It is a named pipe.", "other/@755 other/t/@755 other/t/a=1@644 other/t/p|", ""},
};
INSTANTIATE_TEST_SUITE_P(Rows, OperatorAcross, ::testing::ValuesIn(kAcross),
                         [](const auto& row) { return std::string(row.param.name); });

struct TMoveFileCase {
    const char* name;
    const char* before;
    size_t bigFile;  // big of so many bytes
    const char* from;
    const char* to;
    bool raises;
    const char* after;
};
void PrintTo(const TMoveFileCase& c, std::ostream* os) { *os << c.name; }
class MoveFileAcross : public AcrossFileSystems, public ::testing::WithParamInterface<TMoveFileCase> {};

TEST_P(MoveFileAcross, Leaves)
{
    const TMoveFileCase& row = GetParam();
    MakeTree(folder.Path(), row.before);
    if (row.bigFile)
        TempFolder::Write(folder.File("big"), std::string(row.bigFile, 'x'));
    bool raised = false;
    try {
        MoveFile(row.from, row.to);
    } catch (const EInOutError&) {
        raised = true;
    }
    EXPECT_EQ(raised, row.raises);
    EXPECT_EQ(Tree(folder.Path(), true, "data"), row.after);
}

const TMoveFileCase kMoveFiles[] = {
    {"RegressionKeepsAReadOnlyFileReadOnly", "s=1@444", 0, "s", "other\\s", false, "other/@755 other/s=1@444"},
    {"RegressionKeepsAPrivateFilePrivate", "s=1@600", 0, "s", "other\\s", false, "other/@755 other/s=1@600"},
    {"RegressionRefusesAFifoAtOnce", "p|", 0, "p", "other\\p", true, "other/@755 p|"},
    {"FullFileSystemLeavesTheSource", "", 400000, "big", "other\\big", true, "big=400000 bytes@644 other/@755"},
};
INSTANTIATE_TEST_SUITE_P(Rows, MoveFileAcross, ::testing::ValuesIn(kMoveFiles),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
