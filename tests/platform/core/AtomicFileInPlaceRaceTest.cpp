// A save written in place beside others at work on the same file: it excludes every other write in
// place of the file, by whatever name, and the program's loaders see the old content or the new,
// never a mixture. The save is held at a step of its own while the other works, and told to go on
// when the other is done: whether it was told so while held says whether the other waited.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <string>

#include "TempFolder.h"
#include "Unprivileged.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/IniFile.h"
#include "platform/core/ProgramFolder.h"
#include "platform/core/Streams.h"
#include "tests/SkipWhereLacking.h"

namespace {

constexpr uid_t kOwner = 40001, kWriter = 40002;
constexpr gid_t kGroup = 40003;

// "notes.ini" holding `content` in a folder anyone may write, kOwner's and kGroup's, 0660: kWriter,
// of the group, saves it in place. "" where the case may not give it away (not root).
std::string MakeNotes(const TempFolder& scratch, const std::string& content)
{
    const std::string folder = scratch.File("shared"), file = folder + "/notes.ini";
    if (mkdir(folder.c_str(), 0777) != 0 || chmod(folder.c_str(), 0777) != 0)
        return "";
    TempFolder::Write(file, content);
    return chown(file.c_str(), kOwner, kGroup) == 0 && chmod(file.c_str(), 0660) == 0 ? folder : "";
}

// kWriter's save of `name` in a child, held at `step` once there (after `there` has run): it tells
// the case, then waits a second for Go.
class THeldSave {
public:
    THeldSave(const std::string& folder, const std::string& name, const std::string& content, TSaveStep step,
              const std::function<void()>& there = {})
    {
        if (pipe2(reached_, O_CLOEXEC) != 0 || pipe2(go_, O_CLOEXEC) != 0)
            return;
        pid_ = fork();
        if (pid_ != 0)
            return;
        bool heard = false;
        if (!BecomeUser(kWriter, {kWriter, kGroup}) || chdir(folder.c_str()) != 0 || !GiveUpReadingEveryFile())
            _exit(3);
        SetAtSaveStep([&](TSaveStep at) {
            if (at != step)
                return;
            if (there)
                there();
            (void)!write(reached_[1], "1", 1);
            pollfd told{go_[0], POLLIN, 0};
            heard = poll(&told, 1, 1000) == 1;
        });
        const bool saved = AtomicWriteFile(name, content).Ok;
        _exit(!saved ? 1 : heard ? 2 : 0);
    }
    ~THeldSave() { Result(); }
    THeldSave(const THeldSave&) = delete;
    THeldSave& operator=(const THeldSave&) = delete;

    // Whether the save got to its step (within ten seconds).
    bool Reached() const
    {
        pollfd there{reached_[0], POLLIN, 0};
        char byte;
        return pid_ > 0 && poll(&there, 1, 10000) == 1 && read(reached_[0], &byte, 1) == 1;
    }
    void Go() const { (void)!write(go_[1], "1", 1); }
    // "saved" where it saved without being told to go on while held; "told to go on while held"
    // where the other's work ended meanwhile.
    std::string Result()
    {
        if (pid_ > 0) {
            int status = 0;
            waitpid(pid_, &status, 0);
            const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            result_ = code == 0 ? "saved" : code == 2 ? "told to go on while held" : "failed";
            pid_ = -1;
        }
        return result_;
    }

private:
    int reached_[2] = {-1, -1}, go_[2] = {-1, -1};
    pid_t pid_ = -1;
    std::string result_ = "not started";
};

}  // namespace

// Two saves written in place through two names of one file (hard links), in one folder or two:
// each locked its own name only and wrote the file at once, which ended as a mixture of both and
// of zero bytes. The second waits for the first, whatever name it came by, and wins whole.
class RegressionTwoInPlaceSavesThroughTwoNamesInterleaved : public ::testing::TestWithParam<const char*> {};

TEST_P(RegressionTwoInPlaceSavesThroughTwoNamesInterleaved, TheSecondWaitsForTheFirst)
{
    TempFolder scratch;
    const std::string folder = MakeNotes(scratch, "old"), other = GetParam();
    if (folder.empty())
        HM_SKIP_WHERE_LACKING("giving a file to another user needs root: " << std::strerror(errno));
    ASSERT_EQ(mkdir((folder + "/sub").c_str(), 0777), 0);
    ASSERT_EQ(chmod((folder + "/sub").c_str(), 0777), 0);
    ASSERT_EQ(link((folder + "/notes.ini").c_str(), (folder + "/" + other).c_str()), 0);
    const std::string first(200000, 'A'), second(300000, 'B');
    THeldSave held(folder, "notes.ini", first, TSaveStep::InPlaceMarked);
    ASSERT_TRUE(held.Reached());
    EXPECT_TRUE(AnswerAsUserIn(kWriter, {kWriter, kGroup}, folder, [&] {
        const bool saved = AtomicWriteFile(other, second).Ok;
        held.Go();
        return saved;
    }));
    EXPECT_EQ(held.Result(), "saved");
    EXPECT_TRUE(TempFolder::Read(folder + "/notes.ini") == second);
    EXPECT_TRUE(TempFolder::Read(folder + "/" + other) == second);
}

INSTANTIATE_TEST_SUITE_P(HardLinks, RegressionTwoInPlaceSavesThroughTwoNamesInterleaved,
                         ::testing::Values("other.ini", "sub/other.ini"), [](const auto& param) {
                             return std::string(param.param) == "other.ini" ? "InOneFolder" : "InAnotherFolder";
                         });

// The owner's loaders read the notes while a writer let in by their group saves them in place, the
// file half written: they read the half. They read the new content whole, from its journal.
struct TLoaderCase {
    const char* name;
    // Whether what the owner's loader read of the notes is one whole content (old or new).
    std::function<bool(const std::string& old, const std::string& now)> readsWhole;
    friend void PrintTo(const TLoaderCase& row, std::ostream* out) { *out << row.name; }
};

class RegressionLoadersSawASaveInPlaceHalfDone : public ::testing::TestWithParam<TLoaderCase> {};

// A settings file of a thousand keys, each of the value given.
std::string Keys(const std::string& value)
{
    std::string text = "[Keys]\r\n";
    for (int i = 0; i < 1000; ++i)
        text += "K" + std::to_string(i) + "=" + value + "\r\n";
    return text;
}

TEST_P(RegressionLoadersSawASaveInPlaceHalfDone, TheyReadTheOldContentOrTheNew)
{
    TempFolder scratch;
    const std::string old = Keys("old"), now = Keys("new");
    const std::string folder = MakeNotes(scratch, old);
    if (folder.empty())
        HM_SKIP_WHERE_LACKING("giving a file to another user needs root: " << std::strerror(errno));
    THeldSave held(folder, "notes.ini", now, TSaveStep::InPlaceMarked, [&] {
        const int fd = open("notes.ini", O_WRONLY | O_CLOEXEC);
        (void)!pwrite(fd, now.data(), now.size() / 2, 0);
        close(fd);
    });
    ASSERT_TRUE(held.Reached());
    EXPECT_TRUE(AnswerAsUserIn(kOwner, {kOwner}, folder, [&] {
        SetProgramFolder(".");
        const bool whole = GetParam().readsWhole(old, now);
        held.Go();
        return whole;
    }));
    EXPECT_NE(held.Result(), "failed");
    EXPECT_EQ(TempFolder::Read(folder + "/notes.ini"), now);
}

const TLoaderCase kLoaders[] = {
    {"ReadWhole",
     [](const std::string& old, const std::string& now) {
         std::string read;
         return ReadSavedFile("notes.ini", INT64_MAX, read) == TFileRead::Ok && (read == old || read == now);
     }},
    {"SettingsFile",
     [](const std::string&, const std::string&) {
         TIniFile ini("notes.ini");
         const AnsiString first = ini.ReadString("Keys", "K0", ""), last = ini.ReadString("Keys", "K999", "");
         return first == last && (first == "old" || first == "new");
     }},
};
INSTANTIATE_TEST_SUITE_P(Loaders, RegressionLoadersSawASaveInPlaceHalfDone, ::testing::ValuesIn(kLoaders),
                         [](const auto& param) { return std::string(param.param.name); });
