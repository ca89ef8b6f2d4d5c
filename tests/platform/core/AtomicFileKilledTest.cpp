// A saver killed at a step of its save, between two of its calls to the system: the file holds its
// old content or its new; written in place, its old content is kept in the copy and every save of
// it is refused, naming the copy, until the user has restored the file from it. Later saves are
// never kept waiting, and nothing the killed save made stays once the clean-up has come by.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
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

// Makes what the folder holds an hour old, as what a save killed long ago left.
void AgeEverything(const std::string& folder)
{
    const timespec anHourAgo[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
    for (const std::string& name : NamesIn(folder))
        utimensat(AT_FDCWD, (folder + "/" + name).c_str(), anHourAgo, AT_SYMLINK_NOFOLLOW);
}

TEST_P(RegressionASaverKilledMidwayLeftItsFilesOrSpoiledLaterSaves, NothingIsLostLeftOrBlocked)
{
    const TKillCase& c = GetParam();
    TempFolder scratch;
    const std::string folder = scratch.File("shared"), file = folder + "/notes.ini";
    ASSERT_EQ(mkdir(folder.c_str(), 0777), 0);
    ASSERT_EQ(chmod(folder.c_str(), 0777), 0);
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
                               if (step == c.step && ++seen == c.occurrence)
                                   raise(SIGKILL);
                           });
                           return SavesNotes();
                       }),
              "killed by signal 9");
    std::string copy;
    for (const std::string& name : NamesIn(folder))
        if (name.starts_with(".~hanmud-copy-"))
            copy = folder + "/" + name;
    const std::string content = TempFolder::Read(file);
    if (copy.empty()) {
        EXPECT_TRUE(content == kOld || content == kNew) << content;
    } else {
        // The copy holds the old content, readable by whom the file lets read it alone; no clean-up
        // takes it, and the file is saved by nobody until it is restored from it.
        const std::string name = copy.substr(copy.rfind('/') + 1);
        EXPECT_EQ(TempFolder::Read(copy), kOld);
        const auto reads = [&](uid_t user) {
            return AnswerAsUserIn(user, {user}, folder, [&] { return TempFolder::Read(name) == kOld; });
        };
        EXPECT_TRUE(reads(kAlice));
        EXPECT_FALSE(reads(kOutsider));
        AgeEverything(folder);
        EXPECT_EQ(AsUserIn(0, folder, [] { return AtomicWriteFile("other", "").Ok && unlink("other") == 0; }), "true");
        for (const uid_t user : {owner, saver})
            EXPECT_EQ(AsUserIn(user, folder, [&] { return Says(SaveIni("notes.ini"), name.c_str()); }), "true")
                << "user " << user;
        EXPECT_EQ(TempFolder::Read(copy), kOld);
        EXPECT_EQ(TempFolder::Read(file), content);
        TempFolder::Write(file, TempFolder::Read(copy));
        ASSERT_EQ(unlink(copy.c_str()), 0);
    }

    // What the killed save left is a minute old by the next saves, whose clean-up takes it.
    AgeEverything(folder);
    for (const uid_t user : {owner, saver})
        EXPECT_EQ(AsUserIn(user, folder, SavesNotes), "true") << "user " << user;
    EXPECT_EQ(TempFolder::Read(file), kNew);
    EXPECT_EQ(NamesIn(folder), std::vector<std::string>{"notes.ini"});
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
    {"InPlaceCopyLinkedByName", TSaveStep::Linked, 2, true, true},
    {"InPlaceCopyKept", TSaveStep::CopyKept, 1, false, true},
    {"InPlaceWritten", TSaveStep::InPlaceWritten, 1, false, true},
    {"InPlaceLockRemoved", TSaveStep::LockRemoved, 1, false, true},
    {"TempMadeWithoutLocks", TSaveStep::TempMade, 1, false, false, true},
    {"InPlaceWithoutLocks", TSaveStep::InPlaceWritten, 1, false, true, true},
};
INSTANTIATE_TEST_SUITE_P(Steps, RegressionASaverKilledMidwayLeftItsFilesOrSpoiledLaterSaves,
                         ::testing::ValuesIn(kKills), [](const auto& param) { return std::string(param.param.name); });

}  // namespace
