// A file the saver may write but cannot give back to its owner is written where it is: it stays
// its owner's, with its group, permissions and access list, and its old content is kept beside it
// until the new content is on disk. A save cut short leaves that copy, which no clean-up takes and
// no later save writes over; a write that fails puts the old content back.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "AccessLists.h"
#include "TempFolder.h"
#include "Unprivileged.h"
#include "platform/core/AtomicFile.h"
#include "tests/SkipWhereLacking.h"

namespace {

constexpr uid_t kNotesOwner = 40001, kNotesWriter = 40002, kNobody = 40004;
constexpr gid_t kNotesGroup = 40003;

// "notes.ini" holding "old" in a folder anyone may write, of kNotesOwner's and kNotesGroup's,
// 0660 or as the access list given lets in; "" where the case may not give it away (not root).
std::string MakeNotes(const TempFolder& scratch, const char* list = nullptr)
{
    const std::string folder = scratch.File("shared"), file = folder + "/notes.ini";
    if (mkdir(folder.c_str(), 0777) != 0 || chmod(folder.c_str(), 0777) != 0)
        return "";
    TempFolder::Write(file, "old");
    if (chown(file.c_str(), kNotesOwner, kNotesGroup) != 0 || chmod(file.c_str(), 0660) != 0)
        return "";
    return !list || SetAccessList(file, list) ? folder : "";
}

// The writer's save of the notes, as kNotesWriter of kNotesGroup; why not, empty when saved.
std::string SaveAsWriter(const std::string& folder, const std::function<void()>& before = {})
{
    std::string why;
    const bool saved = AnswerAsUserIn(kNotesWriter, {kNotesWriter, kNotesGroup}, folder, [&] {
        if (before)
            before();
        const TWriteResult result = AtomicWriteFile("notes.ini", "new");
        if (!result.Ok)
            std::fprintf(stderr, "%s\n", result.Message.c_str());
        return result.Ok;
    });
    return saved ? "" : "refused";
}

std::string CopyIn(const std::string& folder)
{
    for (const std::string& name : NamesIn(folder))
        if (name.starts_with(".~hanmud-copy-"))
            return folder + "/" + name;
    return "";
}

bool Readable(uid_t user, const std::string& path)
{
    return AnswerAsUserIn(user, {user}, path.substr(0, path.rfind('/')), [&] {
        const int fd = open(path.substr(path.rfind('/') + 1).c_str(), O_RDONLY | O_CLOEXEC);
        return fd >= 0 && close(fd) == 0;
    });
}

}  // namespace

// kNotesWriter, whom the file's group or an access list lets write it, saves another user's file: it
// became kNotesWriter's, and its owner's next save was refused as read-only.
struct TLetInCase {
    const char* name;
    const char* list;
    friend void PrintTo(const TLetInCase& row, std::ostream* out) { *out << row.name; }
};

class RegressionAWriterLetInTookTheFileFromItsOwner : public ::testing::TestWithParam<TLetInCase> {};

TEST_P(RegressionAWriterLetInTookTheFileFromItsOwner, ItStaysTheOwnersAsItWas)
{
    TempFolder scratch;
    const std::string folder = MakeNotes(scratch, GetParam().list), file = folder + "/notes.ini";
    if (folder.empty())
        HM_SKIP_WHERE_LACKING("giving a file to another user with an access list: " << std::strerror(errno));
    struct stat before, after;
    ASSERT_EQ(stat(file.c_str(), &before), 0);
    const std::string list = AccessListOf(file);
    EXPECT_EQ(SaveAsWriter(folder), "");
    EXPECT_EQ(TempFolder::Read(file), "new");
    ASSERT_EQ(stat(file.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_uid, kNotesOwner);
    EXPECT_EQ(after.st_gid, kNotesGroup);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(AccessListOf(file), list);
    EXPECT_EQ(NamesIn(folder), std::vector<std::string>{"notes.ini"});
    EXPECT_TRUE(
        AnswerAsUserIn(kNotesOwner, {kNotesOwner}, folder, [] { return AtomicWriteFile("notes.ini", "own").Ok; }));
}

const TLetInCase kLetIn[] = {
    {"MemberOfTheGroup", nullptr},
    {"AllowedByAnAccessList", "u::rw-,u:40002:rw-,g::---,m::rw-,o::---"},
};
INSTANTIATE_TEST_SUITE_P(Writers, RegressionAWriterLetInTookTheFileFromItsOwner, ::testing::ValuesIn(kLetIn),
                         [](const auto& param) { return std::string(param.param.name); });

// kNotesWriter's save is killed once it has kept the old content and before it writes the new: the copy
// stays, readable by whom the file lets read it, through the clean-up of another process's save;
// kNotesWriter's saves are refused, naming it, until it is gone.
TEST(InPlaceSave, RegressionASaveCutShortLeftNothingToRestoreFrom)
{
    TempFolder scratch;
    const std::string folder = MakeNotes(scratch), file = folder + "/notes.ini";
    if (folder.empty())
        HM_SKIP_WHERE_LACKING("giving a file to another user needs root: " << std::strerror(errno));
    EXPECT_NE(SaveAsWriter(folder,
                           [] { SetAtSaveStep([](TSaveStep step) { step == TSaveStep::CopyKept&& raise(SIGKILL); }); }),
              "");
    const std::string copy = CopyIn(folder);
    ASSERT_NE(copy, "");
    EXPECT_EQ(TempFolder::Read(copy), "old");
    EXPECT_TRUE(Readable(kNotesOwner, copy));
    EXPECT_FALSE(Readable(kNobody, copy));
    const timespec anHourAgo[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, copy.c_str(), anHourAgo, AT_SYMLINK_NOFOLLOW), 0);
    EXPECT_TRUE(AnswerInChild([] { return true; }, [&] { return AtomicWriteFile(folder + "/other", "x").Ok; }));
    EXPECT_EQ(TempFolder::Read(copy), "old");
    EXPECT_TRUE(AnswerAsUserIn(kNotesWriter, {kNotesWriter, kNotesGroup}, folder, [&] {
        const TWriteResult refused = AtomicWriteFile("notes.ini", "new");
        return !refused.Ok && refused.Message.find(copy.substr(copy.rfind('/') + 1)) != std::string::npos;
    }));
    EXPECT_EQ(TempFolder::Read(file), "old");
    ASSERT_EQ(unlink(copy.c_str()), 0);
    EXPECT_EQ(SaveAsWriter(folder), "");
    EXPECT_EQ(TempFolder::Read(file), "new");
}

// A write in place that fails once its new content is in: the old content goes back, no copy stays.
TEST(InPlaceSave, AWriteThatFailsPutsTheOldContentBack)
{
    TempFolder scratch;
    const std::string folder = MakeNotes(scratch), file = folder + "/notes.ini";
    if (folder.empty())
        HM_SKIP_WHERE_LACKING("giving a file to another user needs root: " << std::strerror(errno));
    EXPECT_NE(SaveAsWriter(folder, [] { InjectAtomicWriteFailure(TAtomicWriteStep::InPlace); }), "");
    EXPECT_EQ(TempFolder::Read(file), "old");
    EXPECT_EQ(NamesIn(folder), std::vector<std::string>{"notes.ini"});
}

// One thread of the writer's holds the notes' lock, reads them and writes them through it, while
// another thread saves them by their path: the process's lock let the second thread write in place
// without waiting, and the first thread's write then lost its update. It waits as another process
// would, and is refused while the lock stays held.
TEST(InPlaceSave, RegressionASaveFromAnotherThreadWentThroughTheProcesssLock)
{
    TempFolder scratch;
    const std::string folder = MakeNotes(scratch), file = folder + "/notes.ini";
    if (folder.empty())
        HM_SKIP_WHERE_LACKING("giving a file to another user needs root: " << std::strerror(errno));
    EXPECT_TRUE(AnswerAsUserIn(kNotesWriter, {kNotesWriter, kNotesGroup}, folder, [] {
        SetLockPatience(std::chrono::milliseconds(100));
        const TFileUpdateLock lock("notes.ini");
        std::string read;
        if (!lock.Held() || !lock.Read(read))
            return false;
        TWriteResult byPath;
        std::thread([&] { byPath = AtomicWriteFile("notes.ini", "other thread"); }).join();
        std::string meanwhile;
        return !byPath.Ok && lock.Read(meanwhile) && meanwhile == read && AtomicWriteFile(lock, read + "+1").Ok;
    }));
    EXPECT_EQ(TempFolder::Read(file), "old+1");
}
