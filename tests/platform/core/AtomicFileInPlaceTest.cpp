// A file the saver may write but cannot give back to its owner is written where it is: it stays
// its owner's, with its group, permissions and access list; a write that fails once the file is
// marked is finished by the next load from its journal. (A save cut short: AtomicFileKilledTest.cpp;
// the journal's trust: AtomicFileJournalTest.cpp.)

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "AccessLists.h"
#include "TempFolder.h"
#include "Unprivileged.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/Streams.h"
#include "tests/SkipWhereLacking.h"

namespace {

constexpr uid_t kNotesOwner = 40001, kNotesWriter = 40002;
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

// A write in place that fails once its new content is in: the save says so, and that its new
// content, kept in its journal, goes into the file when it is next read; the owner's next load
// reads it and finishes the file, leaving nothing beside it.
TEST(InPlaceSave, AWriteThatFailsIsFinishedByTheNextLoad)
{
    TempFolder scratch;
    const std::string folder = MakeNotes(scratch), file = folder + "/notes.ini";
    if (folder.empty())
        HM_SKIP_WHERE_LACKING("giving a file to another user needs root: " << std::strerror(errno));
    EXPECT_TRUE(AnswerAsUserIn(kNotesWriter, {kNotesWriter, kNotesGroup}, folder, [] {
        InjectAtomicWriteFailure(TAtomicWriteStep::InPlace);
        const TWriteResult result = AtomicWriteFile("notes.ini", "new");
        return !result.Ok && result.Message.find("goes into it when it is next read") != std::string::npos;
    }));
    EXPECT_TRUE(AnswerAsUserIn(kNotesOwner, {kNotesOwner}, folder, [] {
        std::string read;
        return ReadSavedFile("notes.ini", INT64_MAX, read) == TFileRead::Ok && read == "new";
    }));
    EXPECT_EQ(TempFolder::Read(file), "new");
    EXPECT_EQ(NamesIn(folder), std::vector<std::string>{"notes.ini"});
}

// A content that is mostly zeros, saved in place: its journal and the file were written whole,
// twice its size on disk (a copy of a sparse file would not fit where it fits). Runs of zeros stay
// holes in both.
TEST(InPlaceSave, RegressionAContentOfZerosTookItsWholeSizeOnDiskTwice)
{
    TempFolder scratch;
    const std::string folder = MakeNotes(scratch), file = folder + "/notes.ini";
    if (folder.empty())
        HM_SKIP_WHERE_LACKING("giving a file to another user needs root: " << std::strerror(errno));
    const std::string content = std::string(size_t{16} << 20, '\0') + "end";
    int64_t journalBlocks = -1;
    EXPECT_TRUE(AnswerAsUserIn(kNotesWriter, {kNotesWriter, kNotesGroup}, folder, [&] {
        SetAtSaveStep([&](TSaveStep step) {
            for (const std::string& name : NamesIn("."))
                if (struct stat journal; step == TSaveStep::InPlaceMarked && name.starts_with(".~hanmud-journal-") &&
                    stat(name.c_str(), &journal) == 0)
                    journalBlocks = journal.st_blocks;
        });
        const bool saved = AtomicWriteFile("notes.ini", content).Ok;
        return saved && journalBlocks >= 0 && journalBlocks * 512 < (int64_t{1} << 20);
    }));
    struct stat written;
    ASSERT_EQ(stat(file.c_str(), &written), 0);
    EXPECT_LT(written.st_blocks * 512, int64_t{1} << 20);
    EXPECT_TRUE(TempFolder::Read(file) == content);
}

// A file with set-id bits, written in place by a writer not its owner: the system cleared them at
// the write, and the save was reported done. It is refused, and the file left as it was.
TEST(InPlaceSave, RegressionASaveInPlaceDroppedTheFilesSetIdBits)
{
    TempFolder scratch;
    const std::string folder = MakeNotes(scratch), file = folder + "/notes.ini";
    if (folder.empty())
        HM_SKIP_WHERE_LACKING("giving a file to another user needs root: " << std::strerror(errno));
    ASSERT_EQ(chmod(file.c_str(), 06770), 0);
    EXPECT_TRUE(AnswerAsUserIn(kNotesWriter, {kNotesWriter, kNotesGroup}, folder, [] {
        return AtomicWriteFile("notes.ini", "new").Message.find("set-id bits") != std::string::npos;
    }));
    struct stat kept;
    ASSERT_EQ(stat(file.c_str(), &kept), 0);
    EXPECT_EQ(kept.st_mode & 07777, 06770u);
    EXPECT_EQ(TempFolder::Read(file), "old");
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
