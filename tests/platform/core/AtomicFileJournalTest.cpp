// What a save written in place and cut short leaves is trusted only as its file's own mark says:
// no journal another user planted is ever taken for the file's content, and no clean-up removes a
// journal the file still needs, whoever runs it and wherever the file went.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>

#include "TempFolder.h"
#include "Unprivileged.h"
#include "helper/InTime.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/Streams.h"
#include "tests/SkipWhereLacking.h"

namespace savejournal {

constexpr uid_t kOwner = 40001, kWriter = 40002, kReader = 40004, kStranger = 40005;
constexpr gid_t kGroup = 40003;
const std::string kOld = "[Main]\r\nKey=old\r\n", kNew = "[Main]\r\nKey=new\r\n";

// "shared/notes.ini" holding kOld, kOwner's and kGroup's of the mode given, in a folder anyone may
// write; then kWriter's save of kNew in place, killed once the file is marked and torn. The
// folder, or "" where the case may not give files away (not root).
std::string CutShortSave(const TempFolder& scratch, mode_t mode)
{
    const std::string folder = scratch.File("shared"), file = folder + "/notes.ini";
    // Reached by every user by its path, as a shared folder is.
    if (chmod(scratch.Path().c_str(), 0711) != 0 || mkdir(folder.c_str(), 0777) != 0 ||
        chmod(folder.c_str(), 0777) != 0)
        return "";
    TempFolder::Write(file, kOld);
    if (chown(file.c_str(), kOwner, kGroup) != 0 || chmod(file.c_str(), mode) != 0)
        return "";
    const std::string killed = AnswerInTime(20, [&] {
        if (!BecomeUser(kWriter, {kWriter, kGroup}) || chdir(folder.c_str()) != 0)
            return false;
        SetAtSaveStep([](TSaveStep step) {
            if (step != TSaveStep::InPlaceMarked)
                return;
            TempFolder::Write("notes.ini", "[Main]\r\nKe");
            raise(SIGKILL);
        });
        return AtomicWriteFile("notes.ini", kNew).Ok;
    });
    return killed == "killed by signal 9" ? folder : "";
}

// Whether the user reads the file at the path (from the case's folder) as the content given.
bool Loads(uid_t user, const std::string& folder, const std::string& path, const std::string& content)
{
    return AnswerAsUserIn(user, {user}, folder, [&] {
        std::string read;
        const bool same = ReadSavedFile(path, INT64_MAX, read) == TFileRead::Ok && read == content;
        if (!same)
            std::fprintf(stderr, "read \"%s\"\n", read.c_str());
        return same;
    });
}


// kReader, who may read the notes but not write them, links to them from a folder of hers and puts
// beside the link a journal of the name the notes' mark gives: the owner's load through the link
// returned her content and wrote it into the notes. A journal counts only with the content the
// mark gives.
TEST(SaveJournal, RegressionAReaderPlantedAJournalBesideALinkToTheFile)
{
    TempFolder scratch;
    const std::string folder = CutShortSave(scratch, 0664), theirs = scratch.File("reader");
    if (folder.empty())
        HM_SKIP_WHERE_LACKING("giving files to other users needs root: " << std::strerror(errno));
    ASSERT_EQ(mkdir(theirs.c_str(), 0755), 0);
    ASSERT_EQ(chown(theirs.c_str(), kReader, kReader), 0);
    EXPECT_TRUE(AnswerAsUserIn(kReader, {kReader}, theirs, [&] {
        char mark[8192];
        const ssize_t n = getxattr((folder + "/notes.ini").c_str(), "user.hanmud.save", mark, sizeof mark);
        const std::string fields(mark, n > 0 ? static_cast<size_t>(n) : 0);
        // "busy" token digest length journal folder
        size_t at = 0;
        for (int i = 0; i < 4 && at != std::string::npos; ++i)
            at = fields.find(' ', at + 1);
        const std::string journal =
            at == std::string::npos ? "" : fields.substr(at + 1, fields.find(' ', at + 1) - at - 1);
        std::string forged = "HMJRNL3\n" + std::string(16, '\0') + kNew;
        forged.replace(forged.size() - 4, 3, "bad");
        forged[8] = static_cast<char>(kNew.size());
        TempFolder::Write(journal, forged);
        return !journal.empty() && symlink((folder + "/notes.ini").c_str(), "link.ini") == 0;
    }));
    EXPECT_TRUE(Loads(kOwner, theirs, "link.ini", kNew));
    EXPECT_EQ(TempFolder::Read(folder + "/notes.ini"), kNew);
}

// A clean-up of the folder, in another user's first save there, once what the cut-short save left
// is a minute old: it removed the journal of a file whose mark it could not read, or of a file
// moved to another folder, and the file then loaded torn.
struct TSweepCase {
    const char* name;
    mode_t mode;  // of the notes
    bool moved;   // the notes moved to a folder of their own first
    friend void PrintTo(const TSweepCase& row, std::ostream* out) { *out << row.name; }
};

class RegressionTheCleanUpRemovedAJournalStillNeeded : public ::testing::TestWithParam<TSweepCase> {};

TEST_P(RegressionTheCleanUpRemovedAJournalStillNeeded, TheFileLoadsAsItsSaveLeftIt)
{
    const TSweepCase& c = GetParam();
    TempFolder scratch;
    const std::string folder = CutShortSave(scratch, c.mode);
    if (folder.empty())
        HM_SKIP_WHERE_LACKING("giving files to other users needs root: " << std::strerror(errno));
    std::string notes = "notes.ini";
    if (c.moved) {
        ASSERT_EQ(mkdir((folder + "/moved").c_str(), 0777), 0);
        ASSERT_EQ(rename((folder + "/notes.ini").c_str(), (folder + "/moved/notes.ini").c_str()), 0);
        notes = "moved/notes.ini";
    }
    AgeEverything(folder);
    EXPECT_TRUE(AnswerAsUserIn(kStranger, {kStranger}, folder, [] { return AtomicWriteFile("mine.ini", "x").Ok; }));
    EXPECT_TRUE(Loads(kOwner, folder, notes, kNew));
}

const TSweepCase kSweeps[] = {
    {"OfAFileItMayNotRead", 0660, false},
    {"OfAFileMovedAway", 0666, true},
};
INSTANTIATE_TEST_SUITE_P(Sweeps, RegressionTheCleanUpRemovedAJournalStillNeeded, ::testing::ValuesIn(kSweeps),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace savejournal
