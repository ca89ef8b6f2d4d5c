// The file utilities on hostile trees in one file system: the root folder refused under every
// spelling before any folder is opened, FIFOs, sockets and devices refused at once, links copied
// as links, permissions kept, names kept byte for byte, no copy into the source's own subfolder,
// a folder swapped for a link never followed, trash names claimed, and Cancel heard inside a
// folder.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <functional>

#include "controls/core/FileTree.h"
#include "controls/core/FileUtil.h"
#include "platform/core/Exceptions.h"
#include "tests/SkipWhereLacking.h"
#include "tests/controls/core/FileTrees.h"
#include "tests/controls/core/ScopedEnv.h"

namespace fs = std::filesystem;
using filetrees::MakeTree;
using filetrees::Tree;

namespace {

class FileTreeTest : public ::testing::Test {
protected:
    void SetUp() override { oldMask = umask(022); }
    void TearDown() override { umask(oldMask); }
    bool Operate(TFileOperation operation, const char* source, const char* destination, TFileOperFlags options)
    {
        TExFileOperator op(nullptr);
        op.Operation = operation;
        op.Options = options | FileOperFlag(flNoConfirmation);
        op.Source = source;
        op.Destination = destination;
        const bool ok = op.Execute();
        aborted = op.OperationAborted();
        return ok;
    }

    TempFolder folder;
    TEnv data{"XDG_DATA_HOME", folder.File("data")};
    filetrees::TRecordedOperator recorded;
    bool aborted = false;
    mode_t oldMask = 0;
};

// --- The root ---

enum TRootWay { rwClearKeep, rwClearRemove, rwDelete, rwTrash, rwMove };
struct TRootCase {
    const char* name;
    const char* path;
    TRootWay way;
    bool root;  // false: a folder of the test, which the hook must see opened
};
void PrintTo(const TRootCase& c, std::ostream* os) { *os << c.name; }
class RootRefusal : public FileTreeTest, public ::testing::WithParamInterface<TRootCase> {};

// Every folder open is refused and counted, so even a refusal that failed could delete nothing.
TEST_P(RootRefusal, BeforeAnyFolderIsOpened)
{
    MakeTree(folder.Path(), "rootlink->/ tree/f=1 out/");
    int opens = 0;
    TFolderOpenHook old = SetFolderOpenHook([&opens](const std::string&) {
        ++opens;
        return false;
    });
    const TRootCase& row = GetParam();
    bool result = true;
    switch (row.way) {
    case rwClearKeep: result = ClearDir(row.path, false); break;
    case rwClearRemove: result = ClearDir(row.path, true); break;
    case rwDelete: result = Operate(foDelete, row.path, "", 0); break;
    case rwTrash: result = Operate(foDelete, row.path, "", FileOperFlag(flAllowUndo)); break;
    case rwMove: result = Operate(foMove, row.path, "out", 0); break;
    }
    SetFolderOpenHook(std::move(old));
    EXPECT_FALSE(result);
    EXPECT_EQ(opens > 0, !row.root);
    if (row.root && row.way >= rwDelete) {
        EXPECT_NE(recorded.Errors.find(row.way == rwMove ? "Cannot move '///'" : kRootRefusal), std::string::npos)
            << recorded.Errors;
    }
}

const TRootCase kRoots[] = {
    {"Backslash", "\\", rwClearKeep, true},
    {"NetworkPrefix", "\\\\", rwClearKeep, true},
    {"NetworkPrefixRemovingTheFolder", "\\\\", rwClearRemove, true},
    {"ThreeSlashes", "///", rwClearKeep, true},
    {"DriveRoot", "C:\\\\", rwClearKeep, true},
    {"UpAndUpFromTheProgramFolder", "..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..", rwClearKeep,
     true},
    {"LinkToTheRoot", "rootlink", rwClearKeep, true},
    {"LinkToTheRootWithABackslash", "rootlink\\", rwClearRemove, true},
    {"OperatorDeletingForGood", "\\\\", rwDelete, true},
    {"OperatorDeletingTheBackslash", "\\", rwDelete, true},
    {"OperatorTrashing", "C:\\\\", rwTrash, true},
    {"OperatorMoving", "///", rwMove, true},
    {"AFolderOfTheTestIsOpened", "tree", rwClearKeep, false},
};
INSTANTIATE_TEST_SUITE_P(Rows, RootRefusal, ::testing::ValuesIn(kRoots),
                         [](const auto& row) { return std::string(row.param.name); });

// --- Nodes that are no regular files ---

// Runs body in a child that may write no file past 1 MiB and is stopped after 20 s: a copy that
// read a device without end or waited on a FIFO fails the case instead of filling the disk or
// hanging the suite (the limit is a safety net, nothing is timed).
std::string InBoundedChild(const std::function<std::string()>& body)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return "no pipe";
    const pid_t pid = fork();
    if (pid == 0) {
        close(pipeFds[0]);
        const rlimit limit = {1 << 20, 1 << 20};
        setrlimit(RLIMIT_FSIZE, &limit);
        signal(SIGXFSZ, SIG_IGN);
        alarm(20);
        const std::string out = body();
        filetrees::Ignore(static_cast<int>(write(pipeFds[1], out.data(), out.size())));
        _exit(0);
    }
    close(pipeFds[1]);
    std::string out;
    char buffer[4096];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        out.append(buffer, static_cast<size_t>(n));
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status))
        out += " [child stopped by signal " + std::to_string(WTERMSIG(status)) + "]";
    return out;
}

struct TNodeCase {
    const char* name;
    const char* node;  // made as t/node
    const char* reason;
    const char* copied;  // what a copy of the folder t holds
};
void PrintTo(const TNodeCase& c, std::ostream* os) { *os << c.name; }
class NotARegularFile : public FileTreeTest, public ::testing::WithParamInterface<TNodeCase> {};

TEST_P(NotARegularFile, IsRefusedWithItsReasonAtOnce)
{
    MakeTree(folder.Path(), std::string("t/a=1 ") + GetParam().node);
    if (!fs::exists(fs::symlink_status(folder.File("t/node"))))
        HM_SKIP_WHERE_LACKING("making a device node needs root");
    const std::string out = InBoundedChild([this] {
        std::string seen;
        try {
            CopyFile("t\\node", "copy");
            seen = "copied";
        } catch (const EFOpenError& e) {
            seen = e.Message;
        }
        const bool tree = Operate(foCopy, "t", "out", 0);
        return seen + " | " + (tree ? "true" : "false") + " | " + recorded.Errors + " | " + Tree(folder.File("out"));
    });
    const std::string refusal = std::string("Cannot open file t\\node. ") + GetParam().reason;
    const bool linked = std::string(GetParam().copied) != "a=1";  // a link is copied as the link
    EXPECT_EQ(out,
              refusal + (linked ? " | true |  | " : " | false | Cannot copy 't': " + refusal + " | ") +
                  GetParam().copied);
}

const TNodeCase kNodes[] = {
    {"Fifo", "t/node|", "It is a named pipe.", "a=1"},
    {"Socket", "t/node%", "It is a socket.", "a=1"},
    {"Device", "t/node!", "It is a device.", "a=1"},
    {"LinkToADevice", "t/node->/dev/zero", "It is a device.", "a=1 node->/dev/zero"},
};
INSTANTIATE_TEST_SUITE_P(Rows, NotARegularFile, ::testing::ValuesIn(kNodes),
                         [](const auto& row) { return std::string(row.param.name); });

// --- The operator on trees ---

struct TTreeCase {
    const char* name;
    TFileOperation operation;
    const char* before;
    const char* source;
    const char* destination;
    bool result;
    const char* errors;
    const char* after;  // the program folder with modes, the trash left out
};
void PrintTo(const TTreeCase& c, std::ostream* os) { *os << c.name; }
class OperatorTree : public FileTreeTest, public ::testing::WithParamInterface<TTreeCase> {};

TEST_P(OperatorTree, Leaves)
{
    const TTreeCase& row = GetParam();
    MakeTree(folder.Path(), row.before);
    EXPECT_EQ(Operate(row.operation, row.source, row.destination, FileOperFlag(flNoConfirmMkDir)), row.result);
    EXPECT_EQ(recorded.Errors, row.errors);
    EXPECT_EQ(Tree(folder.Path(), true, "data"), row.after);
}

const TTreeCase kTrees[] = {
    {"RegressionCopyKeepsModes", foCopy, "t/@700 t/secret=s@600 t/run=x@755 t/ro=r@444", "t", "out", true, "",
     "out/@700 out/ro=r@444 out/run=x@755 out/secret=s@600 t/@700 t/ro=r@444 t/run=x@755 t/secret=s@600"},
    {"RegressionLinksAreCopiedAsLinks", foCopy,
     "t/@755 t/d/@755 t/f=1@644 t/tofile->f t/todir->d t/dangling->nowhere t/loop->loop", "t", "out", true, "",
     "out/@755 out/d/@755 out/dangling->nowhere out/f=1@644 out/loop->loop out/todir->d out/tofile->f t/@755 t/d/@755 "
     "t/dangling->nowhere t/f=1@644 t/loop->loop t/todir->d t/tofile->f"},
    {"RegressionTopLinkToAFolderIsCopiedAsALink", foCopy, "d/@755 l->d out/@755", "l", "out", true, "",
     "d/@755 l->d out/@755 out/l->d"},
    {"RegressionNamesAreCopiedByteForByte", foCopy,
     "src/@755 src/café=1@644 src/x\\..\\..\\ESCAPED/@755 src/x\\..\\..\\ESCAPED/f=2@644", "src\\*", "out", true, "",
     "out/@755 out/café=1@644 out/x\\..\\..\\ESCAPED/@755 out/x\\..\\..\\ESCAPED/f=2@644 src/@755 src/café=1@644 "
     "src/x\\..\\..\\ESCAPED/@755 src/x\\..\\..\\ESCAPED/f=2@644"},
    {"RegressionCopyIntoItsOwnSubfolderThroughALink", foCopy, "a/@755 a/sub/@755 b->a/sub", "a", "b", false,
     "Cannot copy 'a': The destination folder is inside the source folder", "a/@755 a/sub/@755 b->a/sub"},
    {"RegressionMoveIntoItsOwnSubfolderThroughALink", foMove, "a/@755 a/sub/@755 b->a/sub", "a", "b\\new", false,
     "Cannot move 'a': The destination folder is inside the source folder", "a/@755 a/sub/@755 b->a/sub"},
    {"RegressionSourceEndingInABackslashIsTheFolder", foCopy, "d/@755 d/f=1@644 out/@755", "d\\", "out", true, "",
     "d/@755 d/f=1@644 out/@755 out/d/@755 out/d/f=1@644"},
    {"RegressionMoveOfAFolderEndingInABackslash", foMove, "d/@755 d/f=1@644 out/@755", "d\\", "out", true, "",
     "out/@755 out/d/@755 out/d/f=1@644"},
    {"RegressionTrashOfAFolderEndingInABackslash", foDelete, "d/@755 d/f=1@644", "d\\", "", true, "", ""},
};
INSTANTIATE_TEST_SUITE_P(Rows, OperatorTree, ::testing::ValuesIn(kTrees),
                         [](const auto& row) { return std::string(row.param.name); });

// --- A folder swapped for a link while the tree is removed ---

struct TSwapCase {
    const char* name;
    bool clearDir;  // else the operator's permanent delete
};
void PrintTo(const TSwapCase& c, std::ostream* os) { *os << c.name; }
class SwappedFolder : public FileTreeTest, public ::testing::WithParamInterface<TSwapCase> {};

TEST_P(SwappedFolder, RegressionIsNeverFollowed)
{
    MakeTree(folder.Path(), "outside/keep=x tree/sub/f=1 tree/g=2");
    // Just before "sub" is opened it becomes a link to a folder outside the tree.
    TFolderOpenHook old = SetFolderOpenHook([this](const std::string& name) {
        if (name == "sub") {
            fs::rename(folder.File("tree/sub"), folder.File("moved"));
            fs::create_directory_symlink(folder.File("outside"), folder.File("tree/sub"));
        }
        return true;
    });
    const bool result = GetParam().clearDir ? ClearDir("tree", true) : Operate(foDelete, "tree", "", 0);
    SetFolderOpenHook(std::move(old));
    EXPECT_FALSE(result);
    EXPECT_EQ(TempFolder::Read(folder.File("outside/keep")), "x");
}

const TSwapCase kSwaps[] = {{"ClearDir", true}, {"OperatorDelete", false}};
INSTANTIATE_TEST_SUITE_P(Rows, SwappedFolder, ::testing::ValuesIn(kSwaps),
                         [](const auto& row) { return std::string(row.param.name); });

// --- Names in the trash ---

struct TTrashCase {
    const char* name;
    const char* trashBefore;  // under data/Trash
    const char* trashAfter;   // files/ and info/, an info file as its first line
};
void PrintTo(const TTrashCase& c, std::ostream* os) { *os << c.name; }
class TrashName : public FileTreeTest, public ::testing::WithParamInterface<TTrashCase> {};

TEST_P(TrashName, IsClaimedNeverTaken)
{
    MakeTree(folder.File("data/Trash"), std::string("files/ info/ ") + GetParam().trashBefore);
    MakeTree(folder.Path(), "x=mine");
    EXPECT_TRUE(Operate(foDelete, "x", "", FileOperFlag(flAllowUndo)));
    EXPECT_EQ(filetrees::TrashTree(folder.File("data/Trash")), GetParam().trashAfter);
}

const TTrashCase kTrashNames[] = {
    {"FreeName", "", "x=mine@644 | x.trashinfo=[Trash Info]"},
    {"RegressionEntryWithoutInfoIsNotReplaced", "files/x=OTHER",
     "x.2=mine@644 x=OTHER@644 | x.2.trashinfo=[Trash Info]"},
    {"RegressionClaimedInfoIsNotReplaced", "info/x.trashinfo=CLAIM",
     "x.2=mine@644 | x.2.trashinfo=[Trash Info] | x.trashinfo=CLAIM"},
};
INSTANTIATE_TEST_SUITE_P(Rows, TrashName, ::testing::ValuesIn(kTrashNames),
                         [](const auto& row) { return std::string(row.param.name); });

// --- Cancel inside one folder ---

struct TCancelCase {
    const char* name;
    const char* before;
    size_t bigFile;  // d/big of so many bytes
    int cancelAtPoll;
    const char* after;
};
void PrintTo(const TCancelCase& c, std::ostream* os) { *os << c.name; }
class CancelInAFolder : public FileTreeTest, public ::testing::WithParamInterface<TCancelCase> {};

TEST_P(CancelInAFolder, RegressionIsHeard)
{
    MakeTree(folder.Path(), GetParam().before);
    if (GetParam().bigFile)
        TempFolder::Write(folder.File("d/big"), std::string(GetParam().bigFile, 'x'));
    recorded.OnPoll = [](int poll) { return poll != GetParam().cancelAtPoll; };
    EXPECT_FALSE(Operate(foCopy, "d", "out", 0));
    EXPECT_TRUE(aborted);
    EXPECT_EQ(Tree(folder.File("out")), GetParam().after);
}

const TCancelCase kCancels[] = {
    {"BeforeTheFolderIsMade", "out/ d/a=1 d/b=2 d/c=3", 0, 1, ""},
    {"BeforeItsFirstFile", "out/ d/a=1 d/b=2 d/c=3", 0, 2, "d/"},
    {"InsideALargeFile", "out/ d/", 100000, 4, "d/"},
};
INSTANTIATE_TEST_SUITE_P(Rows, CancelInAFolder, ::testing::ValuesIn(kCancels),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
