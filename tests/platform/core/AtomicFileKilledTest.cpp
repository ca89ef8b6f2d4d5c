// A saver killed at a step of its save, between two of its calls to the system: the file holds its
// old content or its new. Written in place, the file may be torn, but nobody sees it so: the
// program's loaders read the content the save had committed to (its journal's, once whole) or the
// old one, and whoever next reads or saves the file finishes the save or drops what it left. A save
// that had finished is never undone; later saves are never kept waiting or refused; and nothing the
// killed save made stays once it has been touched and the clean-up has come by.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "Holders.h"
#include "SaveChecks.h"
#include "SharingUsers.h"
#include "TempFolder.h"
#include "Unprivileged.h"
#include "helper/InTime.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/ProgramFolder.h"
#include "platform/core/Streams.h"
#include "tests/SkipWhereLacking.h"

namespace {

constexpr uid_t kOutsider = 40004;  // who may not read the file
const std::string kOld = "[Main]\r\nKey=old\r\n", kNew = "[Main]\r\nKey=new\r\n";

struct TKillCase {
    const char* name;
    TSaveStep step;
    int occurrence;  // killed at the step's first run, or a later one
    // Files made by name and named by a link and an unlink, as on a file system that has neither
    // files without a name nor renames that refuse to replace.
    bool byName;
    // Saved by a writer the file's group lets in, who cannot give it back to its owner: in place.
    bool inPlace;
    bool noLocks = false;  // on a file system without whole-file locks, for every save of the case
    // Before the kill, the file torn as a write in place cut short leaves it.
    bool tear = false;
    // In a folder everyone may write, sticky: nobody removes a file of another's there.
    bool sticky = false;
    friend void PrintTo(const TKillCase& row, std::ostream* out) { *out << row.name; }
};

class RegressionASaverKilledMidwayLeftItsFilesOrSpoiledLaterSaves : public ::testing::TestWithParam<TKillCase> {};

// The body's answer in a process of the user's own (0: the case's) working in the folder; "killed
// by signal 9" where it was ended so.
std::string AsUserIn(uid_t user, const std::string& folder, const std::function<bool()>& body)
{
    return AnswerInTime(20, [&] {
        if ((user != 0 && !BecomeUser(user, {user, kTeam})) || chdir(folder.c_str()) != 0 ||
            (user != 0 && !GiveUpReadingEveryFile()))
            return false;
        SetProgramFolder(".");
        return body();
    });
}

bool SavesNotes() { return Succeeds(SaveIni("notes.ini")); }

// Whether the program reads the notes as the content given.
bool Loads(const std::string& content)
{
    std::string read;
    if (ReadSavedFile("notes.ini", INT64_MAX, read) == TFileRead::Ok && read == content)
        return true;
    std::fprintf(stderr, "loaded \"%s\"\n", read.c_str());
    return false;
}

TEST_P(RegressionASaverKilledMidwayLeftItsFilesOrSpoiledLaterSaves, NothingIsLostLeftOrBlocked)
{
    const TKillCase& c = GetParam();
    TempFolder scratch;
    const std::string folder = scratch.File("shared"), file = folder + "/notes.ini";
    ASSERT_EQ(mkdir(folder.c_str(), 0777), 0);
    ASSERT_EQ(chmod(folder.c_str(), c.sticky ? 01777 : 0777), 0);
    TempFolder::Write(file, kOld);
    if (c.inPlace && (chown(file.c_str(), kAlice, kTeam) != 0 || chmod(file.c_str(), 0660) != 0))
        HM_SKIP_WHERE_LACKING("giving a file to another user needs root: " << std::strerror(errno));
    const uid_t owner = c.inPlace ? kAlice : 0, saver = c.inPlace ? kBob : 0;
    const TPatience patience(std::chrono::milliseconds(1000));
    SetWholeFileLocks(!c.noLocks);

    EXPECT_EQ(AsUserIn(saver, folder,
                       [&] {
                           SetUnnamedTemporaryFiles(!c.byName);
                           SetRenamesWithoutReplacing(!c.byName);
                           SetAtSaveStep([&, seen = 0](TSaveStep step) mutable {
                               if (step != c.step || ++seen != c.occurrence)
                                   return;
                               if (c.tear)
                                   TempFolder::Write("notes.ini", "[Main]\r\nKe");
                               raise(SIGKILL);
                           });
                           return SavesNotes();
                       }),
              "killed by signal 9");
    // Once the file was marked, the save had committed to its content: it is what is read.
    const bool committed = c.step == TSaveStep::InPlaceMarked || c.step == TSaveStep::InPlaceWritten ||
        c.step == TSaveStep::InPlaceFlushed || c.step == TSaveStep::InPlaceDone || c.step == TSaveStep::LockRemoved;
    const std::string content = TempFolder::Read(file);
    if (!c.inPlace) {
        EXPECT_TRUE(content == kOld || content == kNew) << content;
    } else {
        // The outsider, who may not read the file, reads nothing of it from what was left.
        EXPECT_TRUE(AnswerAsUserIn(kOutsider, {kOutsider}, folder, [] { return !Loads(kOld) && !Loads(kNew); }));
        for (const uid_t user : {owner, saver})
            EXPECT_EQ(AsUserIn(user, folder, [&] { return Loads(committed ? kNew : kOld); }), "true")
                << "user " << user;
    }

    // What the killed save left is a minute old by the next saves, whose clean-up takes it.
    AgeEverything(folder);
    for (const uid_t user : {owner, saver})
        EXPECT_EQ(AsUserIn(user, folder, SavesNotes), "true") << "user " << user;
    EXPECT_EQ(TempFolder::Read(file), kNew);
    // A journal another's save left, emptied, where the folder keeps its name: an empty one is none.
    for (const std::string& name : NamesIn(folder))
        EXPECT_TRUE(
            name == "notes.ini" ||
            (c.sticky && name.starts_with(".~hanmud-journal-") && TempFolder::Read(folder + "/" + name).empty()))
            << name;
    SetWholeFileLocks(true);
}

const TKillCase kKills[] = {
    {"LockMade", TSaveStep::LockMade, 1, false, false},
    {"LockMadeByName", TSaveStep::LockMade, 1, true, false},
    {"LockLinkedByName", TSaveStep::Linked, 1, true, false},
    {"LockTaken", TSaveStep::LockTaken, 1, false, false},
    {"TempMade", TSaveStep::TempMade, 1, false, false},
    {"TempMadeByName", TSaveStep::TempMade, 1, true, false},
    {"BeforeRename", TSaveStep::BeforeRename, 1, false, false},
    {"LockRemoved", TSaveStep::LockRemoved, 1, false, false},
    {"InPlaceLockTaken", TSaveStep::LockTaken, 1, false, true},
    {"InPlaceJournalHalfWritten", TSaveStep::JournalWritten, 1, false, true},
    {"InPlaceJournalKept", TSaveStep::JournalKept, 1, false, true},
    {"InPlaceMarked", TSaveStep::InPlaceMarked, 1, false, true},
    {"InPlaceMarkedFileTorn", TSaveStep::InPlaceMarked, 1, false, true, false, true},
    {"InPlaceMarkedByName", TSaveStep::InPlaceMarked, 1, true, true, false, true},
    {"InPlaceMarkedInAStickyFolder", TSaveStep::InPlaceMarked, 1, false, true, false, true, true},
    {"InPlaceWritten", TSaveStep::InPlaceWritten, 1, false, true},
    {"InPlaceFlushed", TSaveStep::InPlaceFlushed, 1, false, true},
    {"InPlaceDone", TSaveStep::InPlaceDone, 1, false, true},
    {"InPlaceLockRemoved", TSaveStep::LockRemoved, 1, false, true},
    {"TempMadeWithoutLocks", TSaveStep::TempMade, 1, false, false, true},
    {"InPlaceWithoutLocks", TSaveStep::InPlaceWritten, 1, false, true, true},
};
INSTANTIATE_TEST_SUITE_P(Steps, RegressionASaverKilledMidwayLeftItsFilesOrSpoiledLaterSaves,
                         ::testing::ValuesIn(kKills), [](const auto& param) { return std::string(param.param.name); });

}  // namespace
