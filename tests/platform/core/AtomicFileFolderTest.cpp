// The safe writer given an open folder and a name in it: whatever happens to the folder's path
// meanwhile, the file goes into the folder opened; a link at the name is replaced, not followed;
// a writer told not to replace fails where anything has the name, even one made meanwhile.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>

#include "TempFolder.h"
#include "Unprivileged.h"
#include "platform/core/AtomicFile.h"

namespace fs = std::filesystem;

namespace {

class TOpenFolder {
public:
    explicit TOpenFolder(const std::string& path) : fd_(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}
    ~TOpenFolder() { close(fd_); }
    TOpenFolder(const TOpenFolder&) = delete;
    TOpenFolder& operator=(const TOpenFolder&) = delete;
    int Fd() const { return fd_; }

private:
    int fd_;
};

size_t EntriesIn(const std::string& folder)
{
    size_t n = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder))
        ++n;
    return n;
}

// What is at "x" in the folder before the write, what the test does between making the writer and
// committing it, whether the write replaces, and what is found at "x" afterwards.
struct TFolderCase {
    const char* name;
    std::function<void(const std::string&folder)> before, meanwhile;
    bool replace;
    bool saved;           // "new" is at x afterwards; else what was there stays
    const char* refusal;  // what a refusal says
    friend void PrintTo(const TFolderCase& row, std::ostream* out) { *out << row.name; }
};

class FolderWriter : public ::testing::TestWithParam<std::tuple<TFolderCase, bool>> {};

TEST_P(FolderWriter, WritesTheNameInTheFolderOpened)
{
    const auto& [c, unnamed] = GetParam();
    SetUnnamedTemporaryFiles(unnamed);
    TempFolder scratch;
    const std::string folder = scratch.File("folder");
    ASSERT_EQ(mkdir(folder.c_str(), 0777), 0);
    if (c.before)
        c.before(folder);
    const auto entry = [&] {
        struct stat st {};
        std::string what = lstat((folder + "/x").c_str(), &st) != 0 ? "none"
            : S_ISLNK(st.st_mode)                                   ? "link"
                                                                    : TempFolder::Read(folder + "/x");
        return what;
    };
    const std::string was = entry();
    TWriteResult result;
    int error = 0;
    {
        TOpenFolder open(folder);
        TAtomicFileWriter writer(open.Fd(), "x", {.Replace = c.replace, .ShownPath = "/shown/x"});
        writer.Write("new");
        if (c.meanwhile)
            c.meanwhile(folder);
        result = writer.Commit();
        error = errno;
    }
    SetUnnamedTemporaryFiles(true);
    EXPECT_EQ(result.Ok, c.saved) << result.Message;
    EXPECT_EQ(entry(), c.saved ? "new" : c.meanwhile ? "meanwhile" : was);
    if (!c.saved) {
        EXPECT_NE(result.Message.find(std::string("Cannot create file /shown/x. ") + c.refusal), std::string::npos)
            << result.Message;
        EXPECT_EQ(error, EEXIST);
    }
    // A link at the name is replaced itself: the file it leads to is left as it was.
    if (fs::exists(scratch.File("elsewhere"))) {
        EXPECT_EQ(TempFolder::Read(scratch.File("elsewhere")), "elsewhere");
    }
    EXPECT_EQ(EntriesIn(folder), 1u);  // no temporary file left
}

void MakeOld(const std::string& folder) { TempFolder::Write(folder + "/x", "old"); }
void LinkElsewhere(const std::string& folder)
{
    TempFolder::Write(folder + "/../elsewhere", "elsewhere");
    ASSERT_EQ(symlink("../elsewhere", (folder + "/x").c_str()), 0);
}
void MadeMeanwhile(const std::string& folder) { TempFolder::Write(folder + "/x", "meanwhile"); }

const TFolderCase kFolderCases[] = {
    {"NewFile", nullptr, nullptr, true, true, ""},
    {"ReplacesAFile", MakeOld, nullptr, true, true, ""},
    {"ReplacesALinkItself", LinkElsewhere, nullptr, true, true, ""},
    {"ANewFileOnly", nullptr, nullptr, false, true, ""},
    {"ANewFileOnlyWhereAFileIs", MakeOld, nullptr, false, false, "It already exists."},
    {"ANewFileOnlyWhereALinkIs", LinkElsewhere, nullptr, false, false, "It already exists."},
    {"ANewFileOnlyWhereOneWasMadeMeanwhile", nullptr, MadeMeanwhile, false, false, "It already exists."},
};

INSTANTIATE_TEST_SUITE_P(Cases, FolderWriter, ::testing::Combine(::testing::ValuesIn(kFolderCases), ::testing::Bool()),
                         [](const auto& param) {
                             return std::string(std::get<0>(param.param).name) +
                                 (std::get<1>(param.param) ? "Unnamed" : "Named");
                         });

// The folder's path taken by another folder between opening and committing: the file goes into
// the folder opened, under its new path.
TEST(FolderWriter, TheFolderOpenedIsWrittenWhateverItsPathBecomes)
{
    TempFolder scratch;
    const std::string folder = scratch.File("folder"), moved = scratch.File("moved");
    ASSERT_EQ(mkdir(folder.c_str(), 0777), 0);
    TOpenFolder open(folder);
    TAtomicFileWriter writer(open.Fd(), "x");
    writer.Write("new");
    ASSERT_EQ(rename(folder.c_str(), moved.c_str()), 0);
    ASSERT_EQ(mkdir(folder.c_str(), 0777), 0);
    EXPECT_TRUE(writer.Commit().Ok);
    EXPECT_EQ(TempFolder::Read(moved + "/x"), "new");
    EXPECT_FALSE(fs::exists(folder + "/x"));
}

// A copy whose source's access list the new file cannot take fails before it has the name: the
// file it would have replaced stays, and no temporary file either.
TEST(FolderWriter, RegressionACopyThatCouldNotKeepItsAttributesLostTheFileItReplaced)
{
    TempFolder scratch;
    MakeOld(scratch.Path());
    TOpenFolder open(scratch.Path());
    TAtomicFileWriter writer(open.Fd(), "x",
                             {.ShownPath = "/shown/x", .Finish = [](int) { return std::string("Not supported"); }});
    writer.Write("new");
    const TWriteResult result = writer.Commit();
    EXPECT_FALSE(result.Ok);
    EXPECT_NE(result.Message.find("Cannot keep the permissions of file /shown/x. Not supported"), std::string::npos)
        << result.Message;
    EXPECT_EQ(TempFolder::Read(scratch.File("x")), "old");
    EXPECT_EQ(EntriesIn(scratch.Path()), 1u);
}

TEST(FolderWriter, ANameThatIsNoFileNameIsRefused)
{
    TempFolder scratch;
    TOpenFolder open(scratch.Path());
    for (const char* name : {"", ".", "..", "a/b"}) {
        TAtomicFileWriter writer(open.Fd(), name, {.ShownPath = "shown"});
        EXPECT_FALSE(writer.Ok()) << name;
        EXPECT_FALSE(writer.Commit().Ok) << name;
    }
    EXPECT_EQ(EntriesIn(scratch.Path()), 0u);
}

}  // namespace

// A save in a folder its saver may enter and write but not list: the folder could not be opened to
// be flushed, and the new name was left to the system's leisure, the save reported done. Its file
// system is flushed instead.
class RegressionAFolderTheSaverCouldNotListWasNeverFlushed : public ::testing::TestWithParam<mode_t> {};

TEST_P(RegressionAFolderTheSaverCouldNotListWasNeverFlushed, TheNewNameIsMadeDurable)
{
    TempFolder scratch;
    const std::string folder = scratch.File("drop");
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    ASSERT_EQ(chmod(folder.c_str(), GetParam()), 0);
    EXPECT_TRUE(RunUnprivileged([&] {
        int flushed = 0;
        SetAtSaveStep([&](TSaveStep step) { flushed += step == TSaveStep::FolderFlushed; });
        const bool saved = AtomicWriteFile(folder + "/report.csv", "new").Ok;
        SetAtSaveStep({});
        return saved && flushed == 1;
    }));
    chmod(folder.c_str(), 0700);
    EXPECT_EQ(TempFolder::Read(folder + "/report.csv"), "new");
}

INSTANTIATE_TEST_SUITE_P(Folders, RegressionAFolderTheSaverCouldNotListWasNeverFlushed, ::testing::Values(0700, 0300),
                         [](const auto& param) { return param.param == 0700 ? "Listed" : "OnlyEntered"; });
