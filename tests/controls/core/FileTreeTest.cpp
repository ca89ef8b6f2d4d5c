// The file utilities on hostile trees. Each case runs in a child that may write no file past
// 1 MiB and is stopped after 20 s: a copy that read a device without end or waited on a FIFO fails
// the case instead of filling the disk or hanging the suite (a safety net; nothing is timed). A
// case across file systems mounts at "other", in a mount namespace of the child's own, which goes
// with the child: a small tmpfs (root only), an overlay (as a container's root; in a user
// namespace for other users where the system permits) or a FUSE folder through bindfs (root
// only), with or without extended attributes.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cerrno>
#include <functional>

#include "controls/core/FileOperatorSession.h"
#include "controls/core/FileTree.h"
#include "controls/core/FileUtil.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/Exceptions.h"
#include "tests/SkipWhereLacking.h"
#include "tests/controls/core/FileTrees.h"
#include "tests/controls/core/ScopedEnv.h"
#include "tests/platform/core/Unprivileged.h"

namespace fs = std::filesystem;

namespace {

enum TWay { wCopy, wMove, wTrash, wDelete, wCopyFile, wCopyFileOver, wMoveFile, wClearDir, wClearDirKeep, wDelFiles };

// What is mounted at "other" (true: the tmpfs): FUSE folders through bindfs, also one that
// refuses every removal, one that counts one name of every file, and one over two tmpfs
// (MountFuseOverTwoFileSystems).
enum TOther {
    oNone,
    oTmpfs,
    oOverlay,
    oFuse,
    oFuseWithoutAttributes,
    oFuseDenyingRemovals,
    oFuseHidingLinks,
    oFuseOverTwoFileSystems
};

struct TTreeCase {
    const char* name;
    TWay way;
    const char* before;
    const char* source;
    const char* destination;
    // "RESULT | ERRORS SHOWN | THE PROGRAM FOLDER": the result ("aborted" added), or what was raised
    const char* expected;
    int across = oNone;  // "other" is a file system of its own (TOther)
    // 'G': every folder open refused and counted; 'S': tree/sub becomes a link as it is opened;
    // 'D': tree/sub becomes a link once it was listed, as tree/sub/deeper is opened; 'V': another
    // program removes t/x/y as it is opened; 'R': each read of a copied file gives at most 3000
    // bytes; 'E': copied files seem to end after 3000 bytes; 'I': another program moves "out" to
    // a/sub/x as a/sub is opened; 'B': A/late is bound at X; 'C': another program writes into t/a
    // (else s) as its copy reads past its first block; 'A': another program appends "tail" to s
    // as its copy finds no data past where it is; 'K': another program removes s as its copy reads
    // past its first block; 'W': the copy's flush fails; 'T': the
    // second open of a folder named t is refused; 'U': the tree is user 2002's, who runs the case
    // in groups 2002 and 2003, and the folder is shown with owners; 'O': the folder is shown with
    // owners, temporary files are named, and the hidden files in the copy's folder are shown as
    // the copy reads
    char hook = 0;
    int poll = 0;     // at this poll of the progress window:
    char atPoll = 0;  // 'C' Cancel, 'N' a new file t/late in the source, 'X' another program saves
                      // other/t/theirs and the user cancels; at any poll: 'Z' Cancel once t/x/y/f
                      // is gone; 'Y' Cancel once other/t/r1 or r2 is read-only; 'S' the same for
                      // other/t/r, into which another program saves first; 'P' another program
                      // replaces moved/r once it is read-only by its own r/f, and the user cancels;
                      // 'H' Cancel once other/t/x/y/f is made, then "[undo]" is shown at a poll
                      // between its removal and other/t's
    // The flush of a move's file system fails.
    bool flushFails = false;
};

// Folders a case may open before its walks are refused: a copy that entered what it made
// ends there instead of filling the disk.
constexpr int kMostOpens = 300;
constexpr uid_t kUser = 2002;

void PrintTo(const TTreeCase& c, std::ostream* os) { *os << c.name; }

bool ReadOnly(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && (st.st_mode & S_IWUSR) == 0;
}

// Another program's work, or the user's Cancel, at a poll of the progress window, as the row
// asks; false cancels.
bool AtPoll(const TTreeCase& row, const TempFolder& folder, int polls, bool& cancelled, std::string& errors)
{
    const bool now = polls == row.poll;
    if (now && row.atPoll == 'N')
        TempFolder::Write(folder.File("t/late"), "new");
    if (now && row.atPoll == 'X')
        TempFolder::Write(folder.File("other/t/theirs"), "saved");
    if (now && (row.atPoll == 'C' || row.atPoll == 'X'))
        cancelled = true;
    if (row.atPoll == 'H' && cancelled && !fs::exists(folder.File("other/t/x/y/f")) &&
        fs::exists(folder.File("other/t")) && errors.find("[undo]") == std::string::npos)
        errors += "[undo]";
    if (cancelled)
        return false;
    if (row.atPoll == 'S' && ReadOnly(folder.File("other/t/r"))) {
        TempFolder::Write(folder.File("other/t/r/theirs"), "saved");
        cancelled = true;
    }
    if (row.atPoll == 'P' && ReadOnly(folder.File("moved/r"))) {
        // Made anew in its place, on a file system that gives the freed inode numbers again.
        chmod(folder.File("moved/r").c_str(), 0755);
        fs::remove_all(folder.File("moved/r"));
        filetrees::MakeTree(folder.Path(), "moved/r/@755 moved/r/f=theirs moved/r/@555");
        cancelled = true;
    }
    cancelled = cancelled || (row.atPoll == 'Z' && !fs::exists(folder.File("t/x/y/f"))) ||
        (row.atPoll == 'Y' && (ReadOnly(folder.File("other/t/r1")) || ReadOnly(folder.File("other/t/r2")))) ||
        (row.atPoll == 'H' && fs::exists(folder.File("other/t/x/y/f")));
    return !cancelled;
}

// The hidden files of the folder as "[hidden OWNER.GROUP@MODE LISTS]".
std::string HiddenFiles(const std::string& folder)
{
    std::string shown;
    for (const auto& entry : fs::directory_iterator(folder)) {
        struct stat st;
        if (entry.path().filename().string().rfind(".~", 0) == 0 && lstat(entry.path().c_str(), &st) == 0)
            shown += "[hidden " + std::to_string(st.st_uid) + "." + std::to_string(st.st_gid) + "@" +
                filetrees::Octal(st.st_mode) + filetrees::ShownLists(entry.path()) + "]";
    }
    return shown;
}

// Mounts what the row names at "other"; empty when done, else why not ("SKIP " first where the
// machine lacks the right).
std::string MountOther(const TTreeCase& row, const TempFolder& folder)
{
    const std::string at = folder.File("other");
    std::string lacking;
    if (row.across == oTmpfs)
        lacking = filetrees::MountFileSystem(at, "256k");
    else if (row.across == oOverlay)
        lacking = filetrees::MountOverlay(at);
    else if (row.across == oFuse || row.across == oFuseWithoutAttributes)
        lacking = filetrees::MountFuse(at, {row.across == oFuse ? "--xattr-rw" : "--xattr-none"});
    else if (row.across == oFuseDenyingRemovals || row.across == oFuseHidingLinks)
        lacking = filetrees::MountFuse(at, {row.across == oFuseHidingLinks ? "--hide-hard-links" : "--delete-deny"});
    else if (row.across == oFuseOverTwoFileSystems)
        lacking = filetrees::MountFuseOverTwoFileSystems(at);
    return lacking.empty() || lacking == filetrees::kNoBindfs ? lacking : "SKIP " + lacking;
}

// Whether the file system of the first file made with holes ("a=^N") keeps them.
bool KeepsHoles(const TTreeCase& row, const TempFolder& folder)
{
    const std::string before = std::string(" ") + row.before;
    const size_t sparse = before.find("=^"), start = before.rfind(' ', sparse) + 1;
    return sparse == std::string::npos || filetrees::HasHoles(folder.File(before.substr(start, sparse - start)));
}

// Whether the row's failed move undoes what it made in TMPDIR, where the file system gives no
// handles (an overlay): the undo leaves it there.
bool UndoesWithoutHandles(const TTreeCase& row, const TempFolder& folder)
{
    const bool intoTemp = row.way == wTrash ||
        ((row.way == wMove || row.way == wMoveFile) && std::string(row.destination).rfind("other", 0) != 0);
    const std::string expected = row.expected;
    const bool failed = row.way == wMoveFile ? expected.rfind("done", 0) != 0 : expected.rfind("false", 0) == 0;
    if (row.across == oNone || !intoTemp || !failed)
        return false;
    return HandleAt(AT_FDCWD, folder.Path()).empty();
}

// Whether the file system finds the data of a file made as "a=^N" past its first hole.
bool SaysWhereDataIs(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY);
    const bool found = fd >= 0 && lseek(fd, 0, SEEK_DATA) > 0;
    if (fd >= 0)
        close(fd);
    return found;
}

std::string RunCase(const TTreeCase& row, const TempFolder& folder)
{
    umask(022);
    if (const std::string lacking = MountOther(row, folder); !lacking.empty())
        return lacking;
    if (UndoesWithoutHandles(row, folder))
        return "SKIP the file system of TMPDIR gives no handles: the undo leaves what it made there";
    if (row.hook == 'O' && geteuid() != 0)
        return "SKIP giving files to other users needs root";
    const bool asUser = row.hook == 'U';
    if (!filetrees::MakeTree(folder.Path(), row.before, asUser ? static_cast<int>(kUser) : -1))
        return "SKIP the file system of TMPDIR keeps no access lists or flags, or only root may set them";
    if (std::string(row.before).find('!') != std::string::npos && !fs::exists(folder.File("t/node")))
        return "SKIP making a device node needs root";
    if (!KeepsHoles(row, folder))
        return "SKIP the file system of TMPDIR keeps no holes in files";
    if (row.hook == 'A' && !SaysWhereDataIs(folder.File("s")))
        return "SKIP the file system of TMPDIR cannot say where a file's data is";
    if (row.hook == 'B')
        if (const std::string lacking = filetrees::BindFolder(folder.File("A/late"), folder.File("X"));
            !lacking.empty())
            return "SKIP " + lacking;
    if (asUser) {
        for (const char* own : {"", "/other"})
            filetrees::Ignore(chown((folder.Path() + own).c_str(), kUser, kUser));
        if (!BecomeUser(kUser, {kUser, kUser + 1}))
            return "SKIP becoming another user needs root";
    }
    std::string errors;
    int polls = 0, opens = 0, allOpens = 0, tOpens = 0;
    bool cancelled = false;
    std::function<bool()> onPoll = [&] { return AtPoll(row, folder, ++polls, cancelled, errors); };
    if (row.hook == 'R' || row.hook == 'E')
        SetCopyReads(row.hook == 'R' ? 3000 : 0, row.hook == 'E' ? 3000 : 0);
    if (row.hook == 'W')
        InjectAtomicWriteFailure(TAtomicWriteStep::Sync);
    if (row.flushFails)
        SetFlushHook([] { return false; });
    if (row.hook == 'C') {
        const std::string changed = folder.File(fs::exists(folder.File("t/a")) ? "t/a" : "s");
        const struct timespec long_ago[2] = {{1000000000, 0}, {1000000000, 0}};  // unlike any time of a write now
        utimensat(AT_FDCWD, changed.c_str(), long_ago, 0);
        SetCopyReadHook([changed](int64_t offset) {
            if (offset == 8192) {
                const int fd = open(changed.c_str(), O_WRONLY);
                filetrees::Ignore(static_cast<int>(pwrite(fd, "CHANGED", 7, 0)));
                close(fd);
            }
        });
    }
    if (row.hook == 'K')
        SetCopyReadHook([&folder](int64_t offset) {
            if (offset == 8192)
                unlink(folder.File("s").c_str());
        });
    if (row.hook == 'A')
        SetCopyNoMoreDataHook([&folder](int64_t) {
            const int fd = open(folder.File("s").c_str(), O_WRONLY | O_APPEND);
            filetrees::Ignore(static_cast<int>(write(fd, "tail", 4)));
            close(fd);
        });
    if (row.hook == 'O') {
        SetUnnamedTemporaryFiles(false);
        SetCopyReadHook([&](int64_t offset) {
            if (offset > 0)
                errors += HiddenFiles(folder.Path());
        });
    }
    bool swapped = false;
    SetFileOperatorDialogs([&] { return std::make_unique<filetrees::TRecordingDialogs>(errors, onPoll); });
    std::chrono::steady_clock::time_point now;  // moves on a poll's interval at each reading: every tick polls
    SetFileWorkClock([&now] { return now += kProgressPollInterval; });
    SetFolderOpenHook([&](const std::string& name) {
        if (!swapped && ((row.hook == 'S' && name == "sub") || (row.hook == 'D' && name == "deeper"))) {
            fs::rename(folder.File("tree/sub"), folder.File("moved"));
            fs::create_directory_symlink("../outside", folder.File("tree/sub"));
            swapped = true;
        }
        if (row.hook == 'V' && name == "y")
            fs::remove_all(folder.File("t/x/y"));
        if (!swapped && row.hook == 'I' && name == "sub") {
            fs::rename(folder.File("out"), folder.File("a/sub/x"));
            swapped = true;
        }
        opens += row.hook == 'G';
        return row.hook != 'G' && ++allOpens <= kMostOpens && !(row.hook == 'T' && name == "t" && ++tOpens == 2);
    });
    std::string result;
    try {
        if (row.way <= wDelete) {
            TExFileOperator op(nullptr);
            op.Operation = row.way == wCopy ? foCopy : row.way == wMove ? foMove : foDelete;
            op.Options = FileOperFlag(flNoConfirmation) | (row.way == wTrash ? FileOperFlag(flAllowUndo) : 0);
            op.Source = row.source;
            op.Destination = row.destination;
            result = op.Execute() ? "true" : "false";
            result += op.OperationAborted() ? " aborted" : "";
        } else if (row.way == wCopyFile || row.way == wCopyFileOver || row.way == wMoveFile) {
            if (row.way == wMoveFile)
                MoveFile(row.source, row.destination);
            else
                CopyFileEx(row.source, row.destination, row.way == wCopyFileOver, false);
            result = "done";
        } else if (row.way == wDelFiles) {
            result = DeleteFiles(row.source) ? "true" : "false";
        } else {
            result = ClearDir(row.source, row.way == wClearDir) ? "true" : "false";
        }
    } catch (const Exception& e) {
        result = e.Message;
    }
    if (row.hook == 'G')
        result += " opens=" + std::to_string(opens);
    return result + " | " + errors + " | " + filetrees::Tree(folder.Path(), row.hook == 'U' || row.hook == 'O');
}

class HostileTree : public ::testing::TestWithParam<TTreeCase> {
protected:
    TempFolder folder;
    TEnv data{"XDG_DATA_HOME", folder.File("data")};
};

TEST_P(HostileTree, Leaves)
{
    if (GetParam().across)
        fs::create_directory(folder.File("other"));
    const std::string out = filetrees::InBoundedChild([this] { return RunCase(GetParam(), folder); });
    if (const std::string before = GetParam().before;
        before.find("+i") != std::string::npos || before.find("+a") != std::string::npos)
        filetrees::ClearFlags(folder.Path());
    if (out.rfind("SKIP ", 0) == 0)
        HM_SKIP_WHERE_LACKING(out.substr(5));
    EXPECT_EQ(out, GetParam().expected);
}

#define ROOT_TREE "rootlink->/ tree/f=1"
#define ROOT_LEFT "rootlink->/ tree/@755 tree/f=1@644"
#define ROOT_REFUSED "The root folder is never deleted | " ROOT_LEFT
const TTreeCase kTrees[] = {
    // The root under any spelling, refused before a folder is opened.
    {"RegressionRootByTheNetworkPrefix", wClearDirKeep, ROOT_TREE, "\\\\", "", "false opens=0 |  | " ROOT_LEFT, 0, 'G'},
    {"RegressionRootByThreeSlashes", wClearDir, ROOT_TREE, "///", "", "false opens=0 |  | " ROOT_LEFT, 0, 'G'},
    {"RegressionRootByADriveRoot", wClearDirKeep, ROOT_TREE, "C:\\\\", "", "false opens=0 |  | " ROOT_LEFT, 0, 'G'},
    {"RootThroughALink", wClearDir, ROOT_TREE, "rootlink\\", "", "false opens=0 |  | " ROOT_LEFT, 0, 'G'},
    {"RegressionRootDeletedByTheOperator", wDelete, ROOT_TREE, "\\", "",
     "false opens=0 | Cannot delete '\\': " ROOT_REFUSED, 0, 'G'},
    {"RootTrashedByTheOperator", wTrash, ROOT_TREE, "C:\\\\", "",
     "false opens=0 | Cannot delete 'C:\\\\': " ROOT_REFUSED, 0, 'G'},
    {"TheGuardSeesAFolderOpened", wClearDirKeep, ROOT_TREE, "tree", "", "false opens=1 |  | " ROOT_LEFT, 0, 'G'},
    // Only regular files are read.
    {"RegressionFifoIsRefusedAtOnce", wCopyFile, "t/a=1 t/node|", "t\\node", "copy",
     "Cannot open file t\\node. It is a named pipe. |  | t/@755 t/a=1@644 t/node|"},
    {"RegressionLinkToADeviceIsRefused", wCopyFile, "t/node->/dev/zero", "t\\node", "copy",
     "Cannot open file t\\node. It is a device. |  | t/@755 t/node->/dev/zero"},
    {"SocketInAFolderIsRefusedAndTheRestCopied", wCopy, "t/a=1 t/node%", "t", "out",
     "false | Cannot copy 't': Cannot open file t\\node. It is a socket. | out/@755 out/a=1@644 t/@755 t/a=1@644 "
     "t/node%"},
    // Trees: modes kept, links as links, names byte for byte.
    {"RegressionCopyKeepsModesAndLinks", wCopy, "t/@700 t/s=1@600 t/x=2@755 t/r=3@444 t/l->s t/d->t t/loop->loop", "t",
     "out",
     "true |  | out/@700 out/d->t out/l->s out/loop->loop out/r=3@444 out/s=1@600 out/x=2@755 t/@700 t/d->t "
     "t/l->s t/loop->loop t/r=3@444 t/s=1@600 t/x=2@755"},
    {"RegressionNamesAreCopiedByteForByte", wCopy, "s/café=1 s/x\\..\\..\\E/f=2", "s\\*", "out",
     "true |  | out/@755 out/café=1@644 out/x\\..\\..\\E/@755 out/x\\..\\..\\E/f=2@644 s/@755 s/café=1@644 "
     "s/x\\..\\..\\E/@755 s/x\\..\\..\\E/f=2@644"},
    {"RegressionCopyIntoItsOwnSubfolderThroughALink", wCopy, "a/sub/ b->a/sub", "a", "b",
     "false | Cannot copy 'a': The destination folder is inside the source folder | a/@755 a/sub/@755 b->a/sub"},
    {"RegressionSourceEndingInABackslashIsCopied", wCopy, "d/f=1 out/", "d\\", "out",
     "true |  | d/@755 d/f=1@644 out/@755 out/d/@755 out/d/f=1@644"},
    {"RegressionSourceEndingInABackslashIsTrashed", wTrash, "d/f=1", "d\\", "",
     "true |  | data/@755 data/Trash/@755 data/Trash/files/@755 data/Trash/files/d/@755 data/Trash/files/d/f=1@644 "
     "data/Trash/info/@755 data/Trash/info/d.trashinfo=[Trash Info]@600"},
    // A folder swapped for a link while the tree is removed is not followed.
    {"RegressionClearDirFollowedASwappedFolder", wClearDir, "outside/keep=x tree/sub/f=1", "tree", "",
     "false |  | moved/@755 moved/f=1@644 outside/@755 outside/keep=x@644 tree/@755 tree/sub->../outside", 0, 'S'},
    // The trash claims a name and never takes one.
    {"RegressionTrashEntryWithoutInfoIsKept", wTrash, "data/Trash/files/x=OTHER x=mine", "x", "",
     "true |  | data/@755 data/Trash/@755 data/Trash/files/@755 data/Trash/files/x.2=mine@644 "
     "data/Trash/files/x=OTHER@644 data/Trash/info/@755 data/Trash/info/x.2.trashinfo=[Trash Info]@600"},
    {"RegressionClaimedTrashInfoIsKept", wTrash, "data/Trash/info/x.trashinfo=CLAIM x=mine", "x", "",
     "true |  | data/@755 data/Trash/@755 data/Trash/files/@755 data/Trash/files/x.2=mine@644 data/Trash/info/@755 "
     "data/Trash/info/x.2.trashinfo=[Trash Info]@600 data/Trash/info/x.trashinfo=CLAIM@644"},
    // Cancel is heard inside one folder.
    {"RegressionCancelInsideALargeFile", wCopy, "d/big=*100000 out/", "d", "out",
     "false aborted |  | d/@755 d/big=*100000@644 out/@755 out/d/@755", false, 0, 4, 'C'},
    // Across file systems.
    {"RegressionMoveKeepsModesAndLinks", wMove, "t/@700 t/s=1@600 t/r=3@444 t/l->s t/sub/@750 t/sub/f=4@640", "t",
     "other",
     "true |  | other/@755 other/t/@700 other/t/l->s other/t/r=3@444 other/t/s=1@600 other/t/sub/@750 "
     "other/t/sub/f=4@640",
     true},
    {"RegressionFailedMoveLeavesNoHalfCopy", wMove, "t/a=1 t/p|", "t", "other",
     "false | Cannot move 't': Cannot open file t\\p. It is a named pipe. | other/@755 t/@755 t/a=1@644 t/p|", true},
    {"RegressionFullFileSystemLeavesTheSourceWhole", wMove, "t/a=1 t/big=*400000", "t", "other",
     "false | Cannot move 't': Cannot write file other\\t\\big. No space left on device | other/@755 t/@755 t/a=1@644 "
     "t/big=*400000@644",
     true},
    {"RegressionMoveRemovesOnlyWhatItCopied", wMove, "t/a=1", "t", "other",
     "false | Cannot move 't': t changed while it was moved and stays where it was | other/@755 other/t/@755 "
     "other/t/a=1@644 t/@755 t/late=new@644",
     true, 0, 2, 'N'},
    {"RegressionCancelledMoveIsUndone", wMove, "t/a=1 t/b=2", "t", "other",
     "false aborted |  | other/@755 t/@755 t/a=1@644 t/b=2@644", true, 0, 3, 'C'},
    {"RegressionTrashKeepsModesAndLinks", wTrash, "other/t/@700 other/t/s=1@600 other/t/l->s", "other\\t", "",
     "true |  | data/@755 data/Trash/@755 data/Trash/files/@755 data/Trash/files/t/@700 data/Trash/files/t/l->s "
     "data/Trash/files/t/s=1@600 data/Trash/info/@755 data/Trash/info/t.trashinfo=[Trash Info]@600 other/@755",
     true},
    {"RegressionFailedTrashLeavesNothingInTheTrash", wTrash, "other/t/a=1 other/t/p|", "other\\t", "",
     "false | Cannot delete 'other\\t': Cannot open file other\\t\\p. It is a named pipe. | data/@755 data/Trash/@755 "
     "data/Trash/files/@755 data/Trash/info/@755 other/@755 other/t/@755 other/t/a=1@644 other/t/p|",
     true},
    {"RegressionMoveFileKeepsAReadOnlyFile", wMoveFile, "s=1@444", "s", "other\\s",
     "done |  | other/@755 other/s=1@444", true},
    // Reads that come back short are no end; a copy shorter than its source removes nothing.
    {"RegressionMoveFileOfShortReadsIsWhole", wMoveFile, "s=*100000", "s", "other\\s",
     "done |  | other/@755 other/s=*100000@644", true, 'R'},
    {"RegressionMoveOfShortReadsIsWhole", wMove, "t/a=*100000 t/b=1", "t", "other",
     "true |  | other/@755 other/t/@755 other/t/a=*100000@644 other/t/b=1@644", true, 'R'},
    {"RegressionTrashOfShortReadsIsWhole", wTrash, "other/t/a=*100000", "other\\t", "",
     "true |  | data/@755 data/Trash/@755 data/Trash/files/@755 data/Trash/files/t/@755 "
     "data/Trash/files/t/a=*100000@644 "
     "data/Trash/info/@755 data/Trash/info/t.trashinfo=[Trash Info]@600 other/@755",
     true, 'R'},
    {"RegressionMoveFileOfAShortCopyKeepsTheSource", wMoveFile, "s=*100000", "s", "other\\s",
     "Cannot read file s. It ended after 3000 of its 100000 bytes. |  | other/@755 s=*100000@644", true, 'E'},
    {"RegressionMoveOfAShortCopyKeepsTheSource", wMove, "t/a=*100000", "t", "other",
     "false | Cannot move 't': Cannot read file t\\a. It ended after 3000 of its 100000 bytes. | other/@755 t/@755 "
     "t/a=*100000@644",
     true, 'E'},
    // The undo removes what the move made, not what another program saved meanwhile.
    {"RegressionUndoKeepsAFileAnotherProgramSaved", wMove, "t/a=1 t/b=2", "t", "other",
     "false aborted | Cannot move 't': other\\t holds what the copy did not make and stays | other/@755 other/t/@755 "
     "other/t/theirs=saved@644 t/@755 t/a=1@644 t/b=2@644",
     true, 0, 5, 'X'},
    // An entry another program removed meanwhile is gone, as asked.
    {"RegressionDeleteGoesOnPastAFolderRemovedMeanwhile", wDelete, "t/x/y/f=1", "t", "", "true |  | ", false, 'V'},
    {"RegressionClearDirGoesOnPastAFolderRemovedMeanwhile", wClearDir, "t/x/y/f=1 t/x/z/f=1", "t", "", "true |  | ",
     false, 'V'},
    // Folders keep their sticky and set-group-ID bits.
    {"RegressionMoveKeepsFolderBits", wMove, "t/@1777 t/g/@2775 t/g/f=1", "t", "other",
     "true |  | other/@755 other/t/@1777 other/t/g/@2775 other/t/g/f=1@644", true},
    // A folder swapped for a link once it was listed is not followed.
    {"RegressionCopyDoesNotFollowAFolderSwappedAfterItWasListed", wCopy, "outside/deeper/evil=x tree/sub/deeper/f=1",
     "tree", "out",
     "true |  | moved/@755 moved/deeper/@755 moved/deeper/f=1@644 out/@755 out/sub/@755 out/sub/deeper/@755 "
     "out/sub/deeper/f=1@644 outside/@755 outside/deeper/@755 outside/deeper/evil=x@644 tree/@755 tree/sub->../outside",
     false, 'D'},
    {"RegressionMoveDoesNotFollowAFolderSwappedAfterItWasListed", wMove, "outside/deeper/evil=x tree/sub/deeper/f=1",
     "tree", "other",
     "false | Cannot move 'tree': tree\\sub changed while it was moved and stays where it was | moved/@755 "
     "moved/deeper/@755 moved/deeper/f=1@644 other/@755 outside/@755 outside/deeper/@755 outside/deeper/evil=x@644 "
     "tree/@755 tree/sub->../outside",
     true, 'D'},
    // A copy never enters a folder it made, whatever path leads there.
    {"RegressionCopyNeverEntersItsDestinationMovedIntoItsSource", wCopy, "a/sub/f=1", "a", "out",
     "false | Cannot copy 'a': a\\sub\\x: The destination folder is inside the source folder | a/@755 a/sub/@755 "
     "a/sub/f=1@644 a/sub/x/@755 a/sub/x/sub/@755 a/sub/x/sub/f=1@644",
     false, 'I'},
    {"RegressionCopyIntoAFolderBoundInsideItsSourceEnds", wCopy, "A/f=1 A/late/ X/", "A", "X\\B",
     "false | Cannot copy 'A': A\\late\\B: The destination folder is inside the source folder | A/@755 A/f=1@644 "
     "A/late/@755 A/late/B/@755 A/late/B/f=1@644 A/late/B/late/@755 X/@755 X/B/@755 X/B/f=1@644 X/B/late/@755",
     false, 'B'},
    // A link at the destination is replaced itself; a read-only file is replaced as the entry it is.
    {"RegressionMoveFileAcrossFileSystemsReplacesALinkAtTheDestination", wMoveFile,
     "s=new other/keep/target=old other/link->keep/target", "s", "other\\link",
     "done |  | other/@755 other/keep/@755 other/keep/target=old@644 other/link=new@644", true},
    {"RegressionReplacingAReadOnlyFileThroughALinkReplacesTheLink", wCopyFileOver,
     "s=new keep/target=old@444 link->keep/target", "s", "link",
     "done |  | keep/@755 keep/target=old@444 link=new@644 s=new@644"},
    {"RegressionOperatorReplacingALinkLeavesItsReadOnlyTarget", wCopy,
     "s=new keep/target=old@444 out/link->../keep/target", "s", "out\\link",
     "true |  | keep/@755 keep/target=old@444 out/@755 out/link=new@644 s=new@644"},
    {"RegressionFailedReplaceLeavesTheFileReadOnly", wCopyFileOver, "s=new ro=old@444", "s", "ro",
     "Cannot write file ro. Input/output error |  | ro=old@444 s=new@644", false, 'W'},
    // A source another program changes while it is copied stays where it is, and its failed move
    // leaves the destination as it was.
    {"RegressionMoveFileKeepsASourceChangedWhileItIsCopied", wMoveFile, "s=*20000", "s", "other\\s",
     "Cannot delete file s. s changed while it was moved and stays where it was |  | other/@755 s=?20000@644", true,
     'C'},
    {"RegressionMoveKeepsAFileChangedWhileItIsCopied", wMove, "t/a=*20000", "t", "other",
     "false | Cannot move 't': t\\a changed while it was moved and stays where it was | other/@755 t/@755 "
     "t/a=?20000@644",
     true, 'C'},
    // Cancel is heard while a source is removed and while a walk climbs back.
    {"RegressionCancelIsHeardWhileAMoveRemovesItsSource", wMove, "t/x/y/f=1", "t", "other",
     "false aborted |  | other/@755 other/t/@755 other/t/x/@755 other/t/x/y/@755 other/t/x/y/f=1@644 t/@755 "
     "t/x/@755 t/x/y/@755",
     true, 0, 0, 'Z'},
    {"RegressionCancelIsHeardWhileADeleteClimbs", wDelete, "t/x/y/f=1", "t", "",
     "false aborted |  | t/@755 t/x/@755 t/x/y/@755", false, 0, 0, 'Z'},
    // A file whose size is overstated copies to its end; a sparse file keeps its holes.
    {"RegressionCopyFileOfAFileThatEndsEarlyIsWhatItHolds", wCopyFile, "s=*100000", "s", "copy",
     "done |  | copy=*3000@644 s=*100000@644", false, 'E'},
    {"RegressionSparseFileMovesIntoASmallFileSystem", wMoveFile, "s=^900000", "s", "other\\s",
     "done |  | other/@755 other/s=^900000@644", true},
    // A copy keeps the group where the user is in it, and root's the owner too, before the mode
    // grants anything; a group the user is not in gets what others get, no more.
    {"RegressionUserCopyKeepsTheSharedGroup", wCopyFile, "s=1@640.2003", "s", "d",
     "done |  | d=1@640:2002.2003 s=1@640:2002.2003", false, 'U'},
    {"RegressionUserMoveAcrossFileSystemsKeepsTheGroup", wMoveFile, "s=1@640.2003", "s", "other\\s",
     "done |  | other/@755:2002.2002 other/s=1@640:2002.2003", true, 'U'},
    {"RegressionUserMoveOfASharedFolderKeepsItsGroupAndBits", wMove, "t/@2775.2003 t/f=1@664.2003", "t", "other",
     "true |  | other/@755:2002.2002 other/t/@2775:2002.2003 other/t/f=1@664:2002.2003", true, 'U'},
    // A copy over another user's file that the user may write keeps it that user's, with its group
    // and mode, as a save does: the copy is written in place.
    {"RegressionUserCopyOverAnotherUsersFileTookItFromItsOwner", wCopyFile,
     "team/@2775:0.2003 team/doc=old@664:2004.2003 s=new", "s", "team\\doc",
     "done |  | s=new@644:2002.2002 team/@2775:0.2003 team/doc=new@664:2004.2003", false, 'U'},
    {"RegressionUserCopyOverAnotherUsersFileInAStickyFolder", wCopyFile,
     "pub/@1777:0.0 pub/doc=old@666:2004.2004 s=new", "s", "pub\\doc",
     "done |  | pub/@1777:0.0 pub/doc=new@666:2004.2004 s=new@644:2002.2002", false, 'U'},
    {"UserCopyOfAForeignGroupGrantsItWhatOthersHave", wCopy, "s=1@664.2004 s2=1@640.2004 s3=1@606.2004", "s*", "out",
     "true |  | out/@755:2002.2002 out/s2=1@600:2002.2002 out/s3=1@606:2002.2002 out/s=1@644:2002.2002 "
     "s2=1@640:2002.2004 s3=1@606:2002.2004 s=1@664:2002.2004",
     false, 'U'},
    {"UserCopyOfAForeignGroupFolderGrantsItWhatOthersHave", wCopy, "t/@2775.2004 t/f=1@674.2004", "t", "out",
     "true |  | out/@755:2002.2002 out/f=1@644:2002.2002 t/@2775:2002.2004 t/f=1@674:2002.2004", false, 'U'},
    {"UserCopyOfAForeignGroupKeepsTheListWithTheOthersGroupEntry", wCopyFile, "s=1@664.2004+A", "s", "d",
     "done |  | d=1@664:2002.2002 acl 1:6 2:4:2005 4:4 16:6 32:4 s=1@664:2002.2004 acl 1:6 2:4:2005 4:6 16:6 32:4",
     false, 'U'},
    {"RegressionRootCopyKeepsOwnerAndGroup", wCopy, "t/@2775:2002.2003 t/f=1@640:2002 t/l->f@:2002.2003", "t", "out",

     "true |  | out/@2775:2002.2003 out/f=1@640:2002.2003 out/l->f:2002.2003 t/@2775:2002.2003 t/f=1@640:2002.2003 "
     "t/l->f:2002.2003",
     false, 'O'},
    // A copy over another user's file is never theirs, nor of their access list, while it is made.
    {"RegressionRootCopyOverAnotherUsersFileIsTheCopiersWhileMade", wCopyFile, "s=secret@600 d=old@660:2002.2002+A",
     "s", "d", "done | [hidden 0.0@600] | d=secret@600:0.0 s=secret@600:0.0", false, 'O'},
    // A copied folder keeps its own lists, not those it would inherit where it lands.
    {"RegressionCopiedFolderKeepsItsOwnAccessLists", wCopy, "t/f=1 into/@755+D", "t", "into",
     "true |  | into/@755 default 1:7 2:7:2005 4:5 16:7 32:5 into/t/@755 into/t/f=1@644 t/@755 t/f=1@644"},
    // The undo of a move removes what it made, also inside the folders it made read-only, which
    // keep their mode where they stay; it lets the progress show; what another program made in
    // the place of what it made stays, whatever inode number it was given.
    {"RegressionCancelledMoveLeavesNoReadOnlyFolderBehind", wMove,
     "t/ t/r1/@575:2004.2003 t/r1/f=1 t/r2/@575:2004.2003 t/r2/f=2", "t", "other",
     "false aborted |  | other/@755:2002.2002 t/@755:2002.2002 t/r1/@575:2004.2003 t/r1/f=1@644:2002.2002 "
     "t/r2/@575:2004.2003 t/r2/f=2@644:2002.2002",
     true, 'U', 0, 'Y'},
    {"RegressionReadOnlyFolderTheUndoLeavesKeepsItsMode", wMove, "t/r/@555 t/r/f=1", "t", "other",
     "false aborted | Cannot move 't': other\\t\\r holds what the copy did not make and stays | other/@755 "
     "other/t/@755 "
     "other/t/r/@555 other/t/r/theirs=saved@644 t/@755 t/r/@555 t/r/f=1@644",
     true, 0, 0, 'S'},
    {"RegressionUndoLetsTheProgressShow", wMove, "t/x/y/f=1", "t", "other",
     "false aborted | [undo] | other/@755 t/@755 t/x/@755 t/x/y/@755 t/x/y/f=1@644", true, 0, 0, 'H'},
    {"RegressionUndoKeepsWhatAnotherProgramMadeInThePlaceOfItsOwn", wMove, "other/t/r/@555 other/t/r/f=1", "other\\t",
     "moved",
     "false aborted | Cannot move 'other\\t': moved holds what the copy did not make and stays | moved/@755 "
     "moved/r/@555 moved/r/f=theirs@644 other/@755 other/t/@755 other/t/r/@555 other/t/r/f=1@644",
     true, 0, 0, 'P'},
    {"RegressionMadeFolderTheCopyCannotEnterIsRemoved", wMove, "t/a=1", "t", "other",
     "false | Cannot move 't': other\\t: Permission denied | other/@755 t/@755 t/a=1@644", true, 'T'},
    // A link moves as the link it is.
    {"RegressionMoveFileAcrossFileSystemsMovesALink", wMoveFile, "l->f f=1", "l", "other\\l",
     "done |  | f=1@644 other/@755 other/l->f", true},
    // A sparse file copies with its holes, and a copy to a link at a path replaces the link.
    {"RegressionSparseFileStaysSparse", wCopyFile, "s=^900000", "s", "copy",
     "done |  | copy=^900000@644 s=^900000@644"},
    {"RegressionCopyFileReplacesALinkAtThePath", wCopyFile, "s=new keep/target=old link->keep/target", "s", "link",
     "done |  | keep/@755 keep/target=old@644 link=new@644 s=new@644"},
    // A move copies only across file systems: one the system refuses for another reason leaves
    // both ends as they were.
    {"RegressionUserMoveFileOutOfAFolderItMayNotChangeKeepsItsOwnFile", wMoveFile, "ro/@755:0 ro/f=new mine=old",
     "ro\\f", "mine",
     "Cannot move file ro\\f. Permission denied. |  | mine=old@644:2002.2002 ro/@755:0.2002 ro/f=new@644:2002.2002",
     false, 'U'},
    {"RegressionUserMoveFileAcrossFileSystemsOutOfAFolderItMayNotChangeMakesNoCopy", wMoveFile, "ro/@755:0 ro/f=new",
     "ro\\f", "other\\f",
     "Cannot move file ro\\f. Permission denied. |  | other/@755:2002.2002 ro/@755:0.2002 ro/f=new@644:2002.2002", true,
     'U'},
    {"RegressionUserMoveFileOutOfAFolderItMayNotChangeMakesNoCopy", wMoveFile, "ro/@755:0 ro/f=new", "ro\\f", "mine",
     "Cannot move file ro\\f. Permission denied. |  | ro/@755:0.2002 ro/f=new@644:2002.2002", false, 'U'},
    // A move onto another name of its own file moves nothing, and says so.
    {"RegressionMoveOntoAnotherNameOfTheSameFileFails", wMove, "a=1 b=>a", "a", "b",
     "false | Cannot move 'a': It and b are the same file | a=1@644~2 b=1@644~2"},
    // Names of one file stay names of one file, and a move's own removals are no other program's
    // change.
    {"RegressionCopyKeepsHardLinks", wCopy, "t/a=1 t/b=>t/a t/sub/c=>t/a t/z=2", "t", "out",
     "true |  | out/@755 out/a=1@644~3 out/b=1@644~3 out/sub/@755 out/sub/c=1@644~3 out/z=2@644 t/@755 "
     "t/a=1@644~3 t/b=1@644~3 t/sub/@755 t/sub/c=1@644~3 t/z=2@644"},
    {"RegressionMoveKeepsHardLinks", wMove, "t/a=1 t/b=>t/a t/sub/c=>t/a t/z=2", "t", "other",
     "true |  | other/@755 other/t/@755 other/t/a=1@644~3 other/t/b=1@644~3 other/t/sub/@755 "
     "other/t/sub/c=1@644~3 other/t/z=2@644",
     oTmpfs},
    {"MoveOfAFileWithANameOutsideTheTreeLeavesThatName", wMove, "t/a=1 keep=>t/a", "t", "other",
     "true |  | keep=1@644 other/@755 other/t/@755 other/t/a=1@644", oTmpfs},
    // A move keeps set-id bits where the copy has the owner and group they are of.
    {"RegressionMoveFileKeepsSetIdBits", wMoveFile, "s=1@6755", "s", "other\\s", "done |  | other/@755 other/s=1@6755",
     oTmpfs},
    {"RegressionMoveKeepsSetIdBits", wMove, "t/s=1@6755 t/g=1@2711", "t", "other",
     "true |  | other/@755 other/t/@755 other/t/g=1@2711 other/t/s=1@6755", oTmpfs},
    {"RegressionUserMoveKeepsItsSetIdBits", wMove, "t/ t/s=1@6755 t/g=1@2755.2003", "t", "other",
     "true |  | other/@755:2002.2002 other/t/@755:2002.2002 other/t/g=1@2755:2002.2003 other/t/s=1@6755:2002.2002",
     oTmpfs, 'U'},
    {"UserMoveOfAnotherUsersSetIdFileDropsTheBits", wMoveFile, "s=1@6755:0.2004", "s", "other\\s",
     "done |  | other/@755:2002.2002 other/s=1@755:2002.2002", oTmpfs, 'U'},
    // A copy holds what the source held: a sparse file appended to as it is copied is copied as
    // long as it was.
    {"RegressionSparseCopyHoldsNoZerosTheSourceNeverHeld", wCopyFile, "s=^900000", "s", "copy",
     "done |  | copy=^900000@644 s=?900004@644", false, 'A'},
    // A file system without hole seeking (FUSE) still tells by its blocks that a file has holes.
    {"RegressionSparseFileOnFuseStaysSparse", wCopyFile, "other/s=^900000", "other\\s", "copy",
     "done |  | copy=^900000@644 other/@755 other/s=^900000@644", oFuse},
    {"RegressionSparseFileMovedFromFuseStaysSparse", wMoveFile, "other/s=^900000", "other\\s", "s",
     "done |  | other/@755 s=^900000@644", oFuse},
    // A copy from a file system without extended attributes keeps no list its folder hands down.
    {"RegressionUserCopyFromAFolderWithoutAttributesGetsNoInheritedList", wCopy,
     "other/s=secret@640.2003 other/t/@750.2003 other/t/f=secret@640.2003 into/@755+D", "other\\s;other\\t", "into",
     "true |  | into/@755:2002.2002 default 1:7 2:7:2005 4:5 16:7 32:5 into/s=secret@640:2002.2003 "
     "into/t/@750:2002.2003 into/t/f=secret@640:2002.2003 other/@755:2002.2002 other/s=secret@640:2002.2003 "
     "other/t/@750:2002.2003 other/t/f=secret@640:2002.2003",
     oFuseWithoutAttributes, 'U'},
    // Where no handle tells what the undo made from what another program made since, it stays.
    {"RegressionUndoOnAnOverlayLeavesWhatItCannotTellAndSaysSo", wMove, "t/a=1", "t", "other",
     "false aborted | Cannot move 't': other\\t stays: its file system cannot tell whether it is what the copy made "
     "| other/@755 other/t/@755 other/t/a=1@644 t/@755 t/a=1@644",
     oOverlay, 0, 5, 'C'},
    // A move refuses what the mover may not remove before the destination is touched, on every
    // path: a folder it may not change, an immutable file, an append-only folder, a read-only
    // folder or another user's file in a sticky one inside a tree.
    {"RegressionUserOperatorMoveOutOfAFolderItMayNotChangeKeepsItsOwnFile", wMove, "ro/@755:0 ro/f=new other/mine=old",
     "ro\\f", "other\\mine",
     "false | Cannot move 'ro\\f': Permission denied | other/@755:2002.2002 other/mine=old@644:2002.2002 "
     "ro/@755:0.2002 ro/f=new@644:2002.2002",
     oTmpfs, 'U'},
    {"RegressionUserMoveFileOfALinkOutOfAFolderItMayNotChangeKeepsItsOwnFile", wMoveFile,
     "ro/@755:0 ro/l->somewhere other/mine=old", "ro\\l", "other\\mine",
     "Cannot move file ro\\l. Permission denied |  | other/@755:2002.2002 other/mine=old@644:2002.2002 "
     "ro/@755:0.2002 ro/l->somewhere:2002.2002",
     oTmpfs, 'U'},
    {"RegressionMoveFileOfAnImmutableFileKeepsTheDestination", wMoveFile, "s=new@644+i other/d=old", "s", "other\\d",
     "Cannot move file s. Operation not permitted. |  | other/@755 other/d=old@644 s=new@644", oTmpfs},
    {"RegressionMoveFileOutOfAnAppendOnlyFolderKeepsTheDestination", wMoveFile, "a/@755+a a/f=new other/d=old", "a\\f",
     "other\\d", "Cannot move file a\\f. Operation not permitted. |  | a/@755 a/f=new@644 other/@755 other/d=old@644",
     oTmpfs},
    {"RegressionUserMoveOfATreeWithAReadOnlyFolderRemovesNothing", wMove, "t/ t/a=1 t/ro/b=2 t/ro/@555 t/z=3", "t",
     "other",
     "false | Cannot move 't': t\\ro: Permission denied | other/@755:2002.2002 t/@755:2002.2002 t/a=1@644:2002.2002 "
     "t/ro/@555:2002.2002 t/ro/b=2@644:2002.2002 t/z=3@644:2002.2002",
     oTmpfs, 'U'},
    {"RegressionMoveOfATreeWithAnImmutableFileRemovesNothing", wMove, "t/a=1 t/i=2@644+i t/z=3", "t", "other",
     "false | Cannot move 't': t\\i: Operation not permitted | other/@755 t/@755 t/a=1@644 t/i=2@644 t/z=3@644",
     oTmpfs},
    {"RegressionUserMoveOfATreeWithAnotherUsersFileInAStickyFolderRemovesNothing", wMove,
     "t/ t/pub/@1777:0.0 t/pub/theirs=1@644:2004.2004", "t", "other",
     "false | Cannot move 't': t\\pub\\theirs: Operation not permitted | other/@755:2002.2002 t/@755:2002.2002 "
     "t/pub/@1777:0.0 t/pub/theirs=1@644:2004.2004",
     oTmpfs, 'U'},
    // What no check sees (a FUSE folder that refuses removals): the failed move is undone, and a
    // replaced destination is put back.
    {"RegressionMoveFileOutOfAFolderDenyingRemovalsKeepsTheDestination", wMoveFile, "other/s=new d=old", "other\\s",
     "d", "Cannot delete file other\\s. Operation not permitted |  | d=old@644 other/@755 other/s=new@644",
     oFuseDenyingRemovals},
    {"RegressionMoveOutOfAFolderDenyingRemovalsLeavesNoCopy", wMove, "other/t/b/c=2", "other\\t", "moved",
     "false | Cannot move 'other\\t': other\\t\\b\\c: Operation not permitted | other/@755 other/t/@755 other/t/b/@755 "
     "other/t/b/c=2@644",
     oFuseDenyingRemovals},
    // The undo of a failed move puts back the file it replaced, and never removes another user's
    // file it wrote in place, nor the copy of a source another program removed meanwhile.
    {"RegressionUndoOfAMoveAfterAFailedFlushKeepsTheReplacedFile", wMove, "s=new other/doc=old", "s", "other\\doc",
     "false | Cannot move 's': other\\doc: Input/output error | other/@755 other/doc=old@644 s=new@644", oTmpfs, 0, 0,
     0, true},
    {"RegressionMoveFileAfterAFailedFlushKeepsTheReplacedFile", wMoveFile, "s=new other/doc=old", "s", "other\\doc",
     "Cannot write file other\\doc. Input/output error. |  | other/@755 other/doc=old@644 s=new@644", oTmpfs, 0, 0, 0,
     true},
    {"RegressionUndoOfAMoveKeepsAnotherUsersFileWrittenInPlace", wMove,
     "other/s=new team/@2775:0.2003 team/doc=old@664:2004.2003", "other\\s", "team\\doc",
     "false | Cannot move 'other\\s': team\\doc: Input/output error; team\\doc is another user's file the copy wrote "
     "over in place, and keeps what it wrote | other/@755:2002.2002 other/s=new@644:2002.2002 team/@2775:0.2003 "
     "team/doc=new@664:2004.2003",
     oTmpfs, 'U', 0, 0, true},
    {"MoveFileKeepsTheCopyOfASourceAnotherProgramRemoved", wMoveFile, "s=*20000", "s", "other\\s",
     "Cannot delete file s. s was removed by another program while it was moved |  | other/@755 other/s=*20000@644",
     oTmpfs, 'K'},
    // A FUSE folder gives each name of a file a handle of its own, and cannot exchange two names.
    {"RegressionUndoOfAMoveIntoAFuseFolderLeavesNothing", wMove, "s=new", "s", "other\\doc",
     "false | Cannot move 's': other\\doc: Input/output error | other/@755 s=new@644", oFuse, 0, 0, 0, true},
    {"UndoOfAMoveIntoAFuseFolderKeepsTheCopyOverAFileItCouldNotKeep", wMove, "s=new other/doc=old", "s", "other\\doc",
     "false | Cannot move 's': other\\doc: Input/output error; other\\doc stays: it replaced a file its file system "
     "could not keep aside | other/@755 other/doc=new@644 s=new@644",
     oFuseHidingLinks, 0, 0, 0, true},
    // Names of one file are linked, not two files of one node number; a file system that counts
    // one name of every file still moves them.
    {"RegressionCopyLinksNoTwoFilesOfOneNodeNumber", wCopy,
     "other/fs1/in/x=one other/fs1/keep=>other/fs1/in/x other/fs2/in/y=two other/fs2/keep=>other/fs2/in/y", "other\\t",
     "out",
     "true |  | other/@755 other/fs1/@755 other/fs1/in/@755 other/fs1/in/x=one@644 other/fs1/keep=one@644~2 "
     "other/fs2/@755 other/fs2/in/@755 other/fs2/in/y=two@644 other/fs2/keep=two@644~2 other/t/@755 other/t/m1/@755 "
     "other/t/m1/x=one@644~2 other/t/m2/@755 other/t/m2/y=two@644~2 out/@755 out/m1/@755 out/m1/x=one@644 "
     "out/m2/@755 out/m2/y=two@644",
     oFuseOverTwoFileSystems},
    {"RegressionMoveFromAFolderHidingLinksMovesThem", wMove, "other/t/a=x other/t/b=>other/t/a other/t/z=z", "other\\t",
     "moved", "true |  | moved/@755 moved/a=x@644 moved/b=x@644 moved/z=z@644 other/@755", oFuseHidingLinks},
    // A plain name matched without regard to case names a file only where exactly one matches.
    {"RegressionTwoOtherCasesAreNeitherDeleted", wDelFiles, "Report.txt=1 REPORT.TXT=2", "report.txt", "",
     "false |  | REPORT.TXT=2@644 Report.txt=1@644"},
    {"OneOtherCaseIsTheFile", wDelFiles, "Report.txt=1 other=2", "report.txt", "", "true |  | other=2@644"},
    {"TheExactNameAmongOtherCases", wDelFiles, "report.txt=1 Report.txt=2 REPORT.TXT=3", "report.txt", "",
     "true |  | REPORT.TXT=3@644 Report.txt=2@644"},
};
// The test files compile together: the row macros end with their table.
#undef ROOT_REFUSED
#undef ROOT_LEFT
#undef ROOT_TREE
INSTANTIATE_TEST_SUITE_P(Rows, HostileTree, ::testing::ValuesIn(kTrees),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
