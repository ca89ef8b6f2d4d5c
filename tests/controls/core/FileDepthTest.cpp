// Trees deeper than the descriptors a process may hold and than a small stack has room for, with
// paths far past PATH_MAX. Each case runs in a child that is given the limit: at most 1,024 open
// descriptors, or the work on a thread with a 64 KiB stack. A move across file systems mounts a
// tmpfs at "other" in the child's own mount namespace (root only).

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

#include "controls/core/FileUtil.h"
#include "controls/core/FileWalk.h"
#include "tests/SkipWhereLacking.h"
#include "tests/controls/core/FileTrees.h"

namespace {

namespace fs = std::filesystem;

// Nested folders, each named `name`, with a file "bottom" holding "x" (or a FIFO) in the last, and
// with fifoAtEachLevel a FIFO "pipe" beside each folder: made through descriptors, as no path
// reaches that far.
void MakeDeepTree(const std::string& root, int depth, const std::string& name, bool fifoAtBottom,
                  bool fifoAtEachLevel = false)
{
    fs::create_directories(root);
    int fd = open(root.c_str(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < depth && fd >= 0; ++i) {
        if (fifoAtEachLevel)
            mkfifoat(fd, "pipe", 0644);
        mkdirat(fd, name.c_str(), 0755);
        const int next = openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
        close(fd);
        fd = next;
    }
    if (fifoAtBottom) {
        mkfifoat(fd, "bottom", 0644);
    } else {
        const int file = openat(fd, "bottom", O_WRONLY | O_CREAT, 0644);
        filetrees::Ignore(static_cast<int>(write(file, "x", 1)));
        close(file);
    }
    close(fd);
}

// "depth=N bottom=TEXT" of a tree made so, "depth=N" when it holds no file at the bottom, "gone"
// when there is no tree.
std::string DescribeDeepTree(const std::string& root, const std::string& name)
{
    int fd = open(root.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return "gone";
    int depth = 0;
    for (int next; (next = openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW)) >= 0; ++depth) {
        close(fd);
        fd = next;
    }
    char text[8] = {};
    const int file = openat(fd, "bottom", O_RDONLY | O_NONBLOCK);
    const ssize_t n = file < 0 ? -1 : read(file, text, sizeof text - 1);
    if (file >= 0)
        close(file);
    close(fd);
    return "depth=" + std::to_string(depth) + (n >= 0 ? std::string(" bottom=") + text : std::string());
}

enum TDeepWay { dClearDir, dDelete, dCopy, dMove };

struct TDeepCase {
    const char* name;
    TDeepWay way;
    int depth;
    const char* folderName;
    char limit;  // 'F': 1,024 descriptors; 'S': a 64 KiB stack; 'P': a FIFO beside each folder, and
                 // " spelt once" told where only the kept failure's path was spelt
    bool fifoAtBottom;
    bool across;
    const char* expected;  // the result, then the source tree, then the destination's
};
void PrintTo(const TDeepCase& c, std::ostream* os) { *os << c.name; }

std::string RunDeepCase(const TDeepCase& row, const std::string& root)
{
    if (row.across)
        if (const std::string lacking = filetrees::MountFileSystem(root + "/other", "64m"); !lacking.empty())
            return "SKIP " + lacking;
    MakeDeepTree(root + "/deep", row.depth, row.folderName, row.fifoAtBottom, row.limit == 'P');
    const size_t spelt = FolderNamesSpelt();
    if (row.limit == 'F') {
        const rlimit files = {1024, 1024};
        setrlimit(RLIMIT_NOFILE, &files);
    }
    struct TWork {
        const TDeepCase& row;
        std::string result;
    } work{row, ""};
    const auto body = [](void* data) -> void* {
        TWork& w = *static_cast<TWork*>(data);
        if (w.row.way == dClearDir) {
            w.result = ClearDir("deep", true) ? "true" : "false";
            return nullptr;
        }
        TExFileOperator op(nullptr);
        op.Operation = w.row.way == dDelete ? foDelete : w.row.way == dCopy ? foCopy : foMove;
        op.Options = FileOperFlag(flNoConfirmation);
        op.Source = "deep";
        op.Destination = w.row.way == dMove ? "other\\deep" : "copy";
        w.result = op.Execute() ? "true" : "false";
        return nullptr;
    };
    if (row.limit == 'S') {
        pthread_attr_t attributes;
        pthread_attr_init(&attributes);
        pthread_attr_setstacksize(&attributes, 64 * 1024);
        pthread_t thread;
        if (pthread_create(&thread, &attributes, body, &work) != 0)
            return "no thread";
        pthread_join(thread, nullptr);
    } else {
        body(&work);
    }
    if (row.limit == 'P' && FolderNamesSpelt() - spelt <= 2 * static_cast<size_t>(row.depth))
        work.result += " spelt once";
    return work.result + " | " + DescribeDeepTree(root + "/deep", row.folderName) + " | " +
        DescribeDeepTree(root + (row.way == dMove ? "/other/deep" : "/copy"), row.folderName);
}

class DeepTree : public ::testing::TestWithParam<TDeepCase> {
protected:
    TempFolder folder;
};

TEST_P(DeepTree, IsHandledWhole)
{
    if (GetParam().across)
        fs::create_directory(folder.File("other"));
    const std::string out = filetrees::InBoundedChild([this] { return RunDeepCase(GetParam(), folder.Path()); });
    if (out.rfind("SKIP ", 0) == 0)
        HM_SKIP_WHERE_LACKING(out.substr(5));
    EXPECT_EQ(out, GetParam().expected);
}

const TDeepCase kDeepTrees[] = {
    {"RegressionClearDirPastTheDescriptorLimit", dClearDir, 2000, "dir", 'F', false, false, "true | gone | gone"},
    {"RegressionDeletePastTheDescriptorLimit", dDelete, 2000, "dir", 'F', false, false, "true | gone | gone"},
    {"RegressionFailedMovePastTheDescriptorLimitLeavesNoHalfCopy", dMove, 2000, "d", 'F', true, true,
     "false | depth=2000 bottom= | gone"},
    {"RegressionDeleteOnASmallStack", dDelete, 2000, "d", 'S', false, false, "true | gone | gone"},
    {"RegressionCopyOnASmallStackPastPathMax", dCopy, 1000, "dirs", 'S', false, false,
     "true | depth=1000 bottom=x | depth=1000 bottom=x"},
    {"RegressionOnlyTheKeptFailureSpellsItsPath", dCopy, 2000, "d", 'P', false, false,
     "false spelt once | depth=2000 bottom=x | depth=2000 bottom=x"},
};
INSTANTIATE_TEST_SUITE_P(Rows, DeepTree, ::testing::ValuesIn(kDeepTrees),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
