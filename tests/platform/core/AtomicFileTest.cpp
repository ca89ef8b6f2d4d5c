#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "TempFolder.h"
#include "Unprivileged.h"
#include "helper/InTime.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/Exceptions.h"
#include "tests/SkipWhereLacking.h"

namespace fs = std::filesystem;

static int FileCount(const std::string& dir)
{
    int n = 0;
    for ([[maybe_unused]] auto& entry : fs::directory_iterator(dir))
        ++n;
    return n;
}

TEST(AtomicWrite, ReplacesTheFileWhole)
{
    TempFolder folder;
    std::string path = folder.File("book");
    TempFolder::Write(path, "old contents that are longer");
    TWriteResult result = AtomicWriteFile(path, "new");
    EXPECT_TRUE(result.Ok);
    EXPECT_EQ(TempFolder::Read(path), "new");
    EXPECT_EQ(FileCount(folder.Path()), 1);  // no temporary file left behind
}

TEST(AtomicWrite, AFailedStepLeavesTheOldFileAndReportsIt)
{
    TempFolder folder;
    std::string path = folder.File("book");
    for (TAtomicWriteStep step :
         {TAtomicWriteStep::Create, TAtomicWriteStep::Write, TAtomicWriteStep::Sync, TAtomicWriteStep::Rename}) {
        TempFolder::Write(path, "old");
        InjectAtomicWriteFailure(step);
        TWriteResult result = AtomicWriteFile(path, "new");
        EXPECT_FALSE(result.Ok) << static_cast<int>(step);
        EXPECT_NE(result.Message.find("book"), std::string::npos) << result.Message;
        EXPECT_EQ(TempFolder::Read(path), "old") << static_cast<int>(step);
        EXPECT_EQ(FileCount(folder.Path()), 1) << static_cast<int>(step);
    }
    // The injection is used up: the next write succeeds.
    EXPECT_TRUE(AtomicWriteFile(path, "new").Ok);
}

TEST(AtomicWrite, TheRaisingFormNamesTheFailure)
{
    TempFolder folder;
    std::string path = folder.File("x.ini");
    TempFolder::Write(path, "old");
    InjectAtomicWriteFailure(TAtomicWriteStep::Create);
    EXPECT_THROW(AtomicWriteFileOrRaise(path, "new"), EFCreateError);
    InjectAtomicWriteFailure(TAtomicWriteStep::Write);
    EXPECT_THROW(AtomicWriteFileOrRaise(path, "new"), EWriteError);
    EXPECT_EQ(TempFolder::Read(path), "old");
    EXPECT_NO_THROW(AtomicWriteFileOrRaise(path, "new"));
}

TEST(AtomicWrite, AMissingFolderIsAFailureNotACrash)
{
    TempFolder folder;
    TWriteResult result = AtomicWriteFile(folder.File("no/such/folder/file"), "x");
    EXPECT_FALSE(result.Ok);
    EXPECT_FALSE(result.Message.empty());
}

TEST(AtomicWrite, PiecesAreCommittedTogetherOrNotAtAll)
{
    TempFolder folder;
    std::string path = folder.File("cmd");
    TempFolder::Write(path, "old");
    {
        TAtomicFileWriter writer(path);
        EXPECT_TRUE(writer.Write("part one, "));
        // Dropped without Commit: nothing changes.
    }
    EXPECT_EQ(TempFolder::Read(path), "old");
    EXPECT_EQ(FileCount(folder.Path()), 1);

    TAtomicFileWriter writer(path);
    writer.Write("part one, ");
    writer.Write("part two");
    EXPECT_TRUE(writer.Commit().Ok);
    EXPECT_EQ(TempFolder::Read(path), "part one, part two");
}

TEST(AtomicWrite, KeepsTheOldFilesPermissions)
{
    TempFolder folder;
    std::string path = folder.File("private");
    TempFolder::Write(path, "old");
    chmod(path.c_str(), 0600);
    ASSERT_TRUE(AtomicWriteFile(path, "new").Ok);
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

// The names in the folder that are temporary files of a save, sorted.
static std::vector<std::string> Temps(const std::string& dir)
{
    std::vector<std::string> names;
    for (auto& entry : fs::directory_iterator(dir))
        if (entry.path().filename().string().starts_with(".~hanmud-save-"))
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A target the safe writer may not replace, made by `make` at the path; `kind` is what lstat
// must still find there afterwards.
struct TNodeCase {
    const char* name;
    std::function<bool(const std::string& path)> make;
    mode_t kind;
    const char* reason;
    friend void PrintTo(const TNodeCase& row, std::ostream* out) { *out << row.name; }
};
class RegressionTheSafeWriterReplacedANodeOrAReadOnlyFile : public ::testing::TestWithParam<TNodeCase> {};

TEST_P(RegressionTheSafeWriterReplacedANodeOrAReadOnlyFile, RefusesAndLeavesIt)
{
    TempFolder folder;
    const std::string path = folder.File("target");
    // A device node needs the right to make one: root outside a container that withholds it. A
    // user without that right skips the row; any other failure to make a row fails it.
    if (!GetParam().make(path)) {
        const int error = errno;
        if (error == EPERM && GetParam().kind == S_IFCHR)
            HM_SKIP_WHERE_LACKING("making a device node is not allowed here: " << std::strerror(error));
        FAIL() << "cannot make a " << GetParam().name << " here: " << std::strerror(error);
    }
    // An open reader end of a pipe: a writer that opened the pipe would not block, and what it
    // wrote would be found.
    const int reader = open(path.c_str(), O_RDONLY | O_NONBLOCK);
    TWriteResult result = AtomicWriteFile(path, "new");
    EXPECT_FALSE(result.Ok);
    EXPECT_NE(result.Message.find(GetParam().reason), std::string::npos) << result.Message;
    struct stat st;
    ASSERT_EQ(lstat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & S_IFMT, GetParam().kind);
    if (S_ISREG(st.st_mode)) {
        EXPECT_EQ(TempFolder::Read(path), "old");
    }
    char byte;
    if (reader >= 0 && S_ISFIFO(st.st_mode)) {
        EXPECT_LE(read(reader, &byte, 1), 0);
    }
    if (reader >= 0)
        close(reader);
    EXPECT_TRUE(Temps(folder.Path()).empty());
}

static bool MakeFifo(const std::string& path) { return mkfifo(path.c_str(), 0666) == 0; }

const TNodeCase kNodes[] = {
    {"Fifo", MakeFifo, S_IFIFO, "not a regular file"},
    {"SymbolicLinkToAFifo",
     [](const std::string& path) {
         return MakeFifo(path + "-fifo") && symlink((path + "-fifo").c_str(), path.c_str()) == 0;
     },
     S_IFLNK, "not a regular file"},
    // The null device's numbers, made in the test's own folder: the real one is never at risk.
    {"CharacterDevice", [](const std::string& path) { return mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0; },
     S_IFCHR, "not a regular file"},
    {"Folder", [](const std::string& path) { return mkdir(path.c_str(), 0777) == 0; }, S_IFDIR, "not a regular file"},
    // Root may write a 0444 file; the writer refuses it all the same.
    {"ReadOnlyFile",
     [](const std::string& path) {
         TempFolder::Write(path, "old");
         return chmod(path.c_str(), 0444) == 0;
     },
     S_IFREG, "read-only"},
};
INSTANTIATE_TEST_SUITE_P(Targets, RegressionTheSafeWriterReplacedANodeOrAReadOnlyFile, ::testing::ValuesIn(kNodes),
                         [](const auto& param) { return std::string(param.param.name); });

// Temporary files made by name for a while, as on a file system that cannot make one without.
class TNamedTemporaries {
public:
    explicit TNamedTemporaries(bool named) { SetUnnamedTemporaryFiles(!named); }
    ~TNamedTemporaries() { SetUnnamedTemporaryFiles(true); }
};

TEST(AtomicWrite, RegressionASaveKilledMidwayLeftItsTemporaryFileForever)
{
    // Only a file made by name outlives a killed save: one made without goes with its maker.
    const TNamedTemporaries named(true);
    TempFolder folder;
    const std::string path = folder.File("book");
    TempFolder::Write(path, "old");
    // What must stay: a save of the same file still running, and files that only look alike.
    TAtomicFileWriter running(path);
    const std::vector<std::string> others = {".book.tmp-short", ".bookcase.tmp-ABC123", ".other.tmp-ABC123"};
    for (const std::string& name : others)
        TempFolder::Write(folder.File(name), "kept");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        TAtomicFileWriter writer(path);
        writer.Write("half of the new");
        raise(SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    const std::vector<std::string> temps = Temps(folder.Path());
    ASSERT_EQ(temps.size(), 2u);
    // A minute later; a save just begun is never taken for one killed.
    const timespec old{time(nullptr) - 3600, 0};
    const timespec times[2] = {old, old};
    for (const std::string& name : temps)
        ASSERT_EQ(utimensat(AT_FDCWD, folder.File(name).c_str(), times, 0), 0);

    // A process sweeps a folder at its first save there: the save is a child's.
    EXPECT_TRUE(AnswerInChild([] { return true; }, [&] { return AtomicWriteFile(path, "new").Ok; }));
    EXPECT_EQ(Temps(folder.Path()).size(), 1u);  // only the killed save's file went
    for (const std::string& name : others)
        EXPECT_EQ(TempFolder::Read(folder.File(name)), "kept");
    running.Write("newer");
    EXPECT_TRUE(running.Commit().Ok);
    EXPECT_EQ(TempFolder::Read(path), "newer");
    EXPECT_TRUE(Temps(folder.Path()).empty());
}

// Symbolic links at the saved name, each made in the test's folder as "link -> target"; the
// save goes to `end`, and every link is still there, unchanged.
struct TLinkCase {
    const char* name;
    std::vector<std::string> folders;
    std::vector<std::pair<std::string, std::string>> links;  // relative targets as written
    bool endExists;
    const char* end;
    friend void PrintTo(const TLinkCase& row, std::ostream* out) { *out << row.name; }
};
class RegressionADanglingLinkWasReplacedByTheSavedFile : public ::testing::TestWithParam<TLinkCase> {};

TEST_P(RegressionADanglingLinkWasReplacedByTheSavedFile, TheFileItNamesIsMade)
{
    const TLinkCase& c = GetParam();
    TempFolder folder;
    for (const std::string& name : c.folders)
        ASSERT_EQ(mkdir(folder.File(name).c_str(), 0777), 0);
    for (const auto& [link, target] : c.links) {
        const std::string to = target.starts_with('/') ? folder.Path() + target : target;
        ASSERT_EQ(symlink(to.c_str(), folder.File(link).c_str()), 0);
    }
    if (c.endExists)
        TempFolder::Write(folder.File(c.end), "old");
    const TWriteResult result = AtomicWriteFile(folder.File(c.links[0].first), "new");
    EXPECT_TRUE(result.Ok) << result.Message;
    EXPECT_EQ(TempFolder::Read(folder.File(c.end)), "new");
    for (const auto& [link, target] : c.links) {
        std::error_code error;
        EXPECT_TRUE(fs::is_symlink(folder.File(link), error)) << link;
        EXPECT_TRUE(fs::read_symlink(folder.File(link), error).string().ends_with(target)) << link;
    }
}

const TLinkCase kLinks[] = {
    {"DanglingRelative", {"conf"}, {{"app.ini", "conf/app.ini"}}, false, "conf/app.ini"},
    // "/..." is made absolute under the test's folder.
    {"DanglingAbsolute", {"conf"}, {{"app.ini", "/conf/app.ini"}}, false, "conf/app.ini"},
    // The second link's target is read from its own folder, not from the first link's.
    {"DanglingAtTheEndOfAChain",
     {"sub", "conf"},
     {{"app.ini", "sub/hop"}, {"sub/hop", "../conf/app.ini"}},
     false,
     "conf/app.ini"},
    {"Resolving", {"conf"}, {{"app.ini", "conf/app.ini"}}, true, "conf/app.ini"},
};
INSTANTIATE_TEST_SUITE_P(Links, RegressionADanglingLinkWasReplacedByTheSavedFile, ::testing::ValuesIn(kLinks),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(AtomicWrite, ALoopOfLinksIsReportedAndLeftAsItWas)
{
    TempFolder folder;
    const std::string a = folder.File("a.ini"), b = folder.File("b.ini");
    ASSERT_EQ(symlink("b.ini", a.c_str()), 0);
    ASSERT_EQ(symlink("a.ini", b.c_str()), 0);
    EXPECT_EQ(AnswerInTime(10,
                           [&] {
                               const TWriteResult result = AtomicWriteFile(a, "new");
                               const TFileUpdateLock lock(a);
                               return !result.Ok && result.Message.find("symbolic links") != std::string::npos &&
                                   !lock.Held() && lock.Message().find("symbolic links") != std::string::npos;
                           }),
              "true");
    EXPECT_TRUE(fs::is_symlink(a));
    EXPECT_TRUE(fs::is_symlink(b));
    EXPECT_EQ(FileCount(folder.Path()), 2);
}

// A rename can give a file only one name: the name saved gets the new content, and every other
// name keeps the old content whole, never a file cut short.
TEST(AtomicWrite, AFileWithTwoNamesIsReplacedAtTheNameSavedAndTheOtherKeepsTheOld)
{
    TempFolder folder;
    const std::string saved = folder.File("saved.ini"), other = folder.File("other.ini");
    TempFolder::Write(saved, "old");
    ASSERT_EQ(link(saved.c_str(), other.c_str()), 0);
    ASSERT_TRUE(AtomicWriteFile(saved, "new").Ok);
    EXPECT_EQ(TempFolder::Read(saved), "new");
    EXPECT_EQ(TempFolder::Read(other), "old");
    struct stat st;
    ASSERT_EQ(stat(other.c_str(), &st), 0);
    EXPECT_EQ(st.st_nlink, 1u);
}

namespace {

constexpr uid_t kFileOwner = 40001, kMember = 40002, kOutsider = 40004;
constexpr gid_t kGroup = 40003;

bool Saves(const std::string& path) { return AtomicWriteFile(path, "new").Ok; }

// A file "old" of kFileOwner's and kGroup's in the test's folder, where every user's saves may make
// files; false where the test may not give it to them.
bool MakeOwnersFile(const TempFolder& folder, const std::string& path, mode_t mode)
{
    TempFolder::Write(path, "old");
    return chown(path.c_str(), kFileOwner, kGroup) == 0 && chmod(path.c_str(), mode) == 0 &&
        chmod(folder.Path().c_str(), 0777) == 0;
}

}  // namespace

// Who saves another user's group-writable file, and what owner and group it has afterwards.
struct TOwnerCase {
    const char* name;
    uid_t saver;  // 0: the test's own root
    std::vector<gid_t> groups;
    uid_t owner;
    friend void PrintTo(const TOwnerCase& row, std::ostream* out) { *out << row.name; }
};
class RegressionASaveByAnotherUserTookTheFileFromItsOwner : public ::testing::TestWithParam<TOwnerCase> {};

TEST_P(RegressionASaveByAnotherUserTookTheFileFromItsOwner, KeepsWhatTheSaverMayAndTheOwnerSavesAgain)
{
    const TOwnerCase& c = GetParam();
    TempFolder folder;
    const std::string path = folder.File("shared.ini");
    if (!MakeOwnersFile(folder, path, 0664))
        HM_SKIP_WHERE_LACKING("giving a file to another user needs root: " << std::strerror(errno));
    EXPECT_TRUE(c.saver == 0 ? Saves(path) : AnswerAs(c.saver, c.groups, [&] { return Saves(path); }));
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, c.owner);
    EXPECT_EQ(st.st_gid, kGroup);
    EXPECT_EQ(st.st_mode & 07777, 0664u);
    // Once found read-only: the file had become the saver's, in the saver's group.
    EXPECT_TRUE(AnswerAs(kFileOwner, {kFileOwner, kGroup}, [&] { return Saves(path); }));
}

const TOwnerCase kOwners[] = {
    {"Root", 0, {}, kFileOwner},
    // May not give its file the owner: writes it in place.
    {"MemberOfTheGroup", kMember, {kMember, kGroup}, kFileOwner},
};
INSTANTIATE_TEST_SUITE_P(Savers, RegressionASaveByAnotherUserTookTheFileFromItsOwner, ::testing::ValuesIn(kOwners),
                         [](const auto& param) { return std::string(param.param.name); });

// A file with set-id bits saved by its owner, who like any user but root lacks the right to keep
// them through a write of the file.
struct TSetIdCase {
    const char* name;
    mode_t mode;
    friend void PrintTo(const TSetIdCase& row, std::ostream* out) { *out << row.name; }
};
class RegressionASaveByItsOwnerLostTheSetIdBits : public ::testing::TestWithParam<TSetIdCase> {};

TEST_P(RegressionASaveByItsOwnerLostTheSetIdBits, KeepsThem)
{
    TempFolder folder;
    const std::string path = folder.File("tool");
    TempFolder::Write(path, "old");
    ASSERT_EQ(chmod(path.c_str(), GetParam().mode), 0);
    EXPECT_TRUE(AnswerInChild([] { return GiveUpRights(uint64_t{1} << CAP_FSETID); },
                              [&] { return AtomicWriteFile(path, "new").Ok; }));
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, GetParam().mode);
    EXPECT_EQ(TempFolder::Read(path), "new");
}

const TSetIdCase kSetIds[] = {
    {"SetUserId", 04755},
    {"SetGroupId", 02755},
    {"Both", 06755},
    {"SetUserIdPrivate", 04700},
};
INSTANTIATE_TEST_SUITE_P(Modes, RegressionASaveByItsOwnerLostTheSetIdBits, ::testing::ValuesIn(kSetIds),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(AtomicWrite, RegressionAnEmptyNameMadeATemporaryFileInTheCurrentFolder)
{
    TempFolder folder;
    EXPECT_TRUE(AnswerInChild([&] { return chdir(folder.Path().c_str()) == 0; },
                              [] {
                                  const TWriteResult result = AtomicWriteFile("", "new");
                                  const TAtomicFileWriter writer("");
                                  const TFileUpdateLock lock("");
                                  return !result.Ok && result.Message.find("no name") != std::string::npos &&
                                      !writer.Ok() && !lock.Held() && FileCount(".") == 0;
                              }));
    EXPECT_EQ(FileCount(folder.Path()), 0);
}

// Root saves a set-group-id file of another user's, of a group that user is not in.
class RegressionTheOwnerCouldWriteIntoRootsSaveOfASetIdFile : public ::testing::TestWithParam<bool> {};

TEST_P(RegressionTheOwnerCouldWriteIntoRootsSaveOfASetIdFile, TheOwnerGetsItOnlyWhole)
{
    const TNamedTemporaries temporaries(GetParam());
    TempFolder folder;
    const std::string path = folder.File("tool");
    if (!MakeOwnersFile(folder, path, 02755))
        HM_SKIP_WHERE_LACKING("giving a file to another user needs root: " << std::strerror(errno));
    TAtomicFileWriter writer(path);
    ASSERT_TRUE(writer.Write("new"));
    // Whatever the save has made so far, the owner to be cannot open it for writing.
    EXPECT_TRUE(AnswerAs(kFileOwner, {kFileOwner}, [&] {
        for (auto& entry : fs::directory_iterator(folder.Path()))
            if (entry.path().filename() != "tool" && open(entry.path().c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC) >= 0)
                return false;
        return true;
    }));
    EXPECT_TRUE(writer.Commit().Ok);
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, kFileOwner);
    EXPECT_EQ(st.st_gid, kGroup);
    EXPECT_EQ(st.st_mode & 07777, 02755u);
    EXPECT_EQ(TempFolder::Read(path), "new");
}

INSTANTIATE_TEST_SUITE_P(TemporaryFiles, RegressionTheOwnerCouldWriteIntoRootsSaveOfASetIdFile, ::testing::Bool(),
                         [](const auto& param) { return param.param ? "MadeByName" : "MadeUnnamed"; });

// An access list as the system stores it (version 2, then tag, permissions and id of each entry):
// 0664 for the owner, the group (and the mask) and others, and kOutsider kept out.
const std::string kAccessList("\x02\0\0\0"
                              "\x01\0\x06\0\xff\xff\xff\xff"
                              "\x02\0\0\0\x44\x9c\0\0"
                              "\x04\0\x06\0\xff\xff\xff\xff"
                              "\x10\0\x06\0\xff\xff\xff\xff"
                              "\x20\0\x04\0\xff\xff\xff\xff",
                              44);

// A 0664 file of kFileOwner's and kGroup's with an access list and an attribute of the user's, saved
// by the owner, root (0) or a member of the group.
class RegressionASaveLostTheFilesAccessList : public ::testing::TestWithParam<std::vector<gid_t>> {};

TEST_P(RegressionASaveLostTheFilesAccessList, KeepsItAndTheOtherAttributes)
{
    const std::vector<gid_t>& saver = GetParam();
    TempFolder folder;
    const std::string path = folder.File("notes.ini");
    if (!MakeOwnersFile(folder, path, 0664))
        HM_SKIP_WHERE_LACKING("giving a file to another user needs root: " << std::strerror(errno));
    const std::vector<std::pair<std::string, std::string>> attributes = {{"system.posix_acl_access", kAccessList},
                                                                         {"user.hanmud.note", "kept"}};
    for (const auto& [name, value] : attributes)
        if (lsetxattr(path.c_str(), name.c_str(), value.data(), value.size(), 0) != 0)
            HM_SKIP_WHERE_LACKING("the file system keeps no " << name << ": " << std::strerror(errno));
    EXPECT_TRUE(saver[0] == 0 ? Saves(path) : AnswerAs(saver[0], saver, [&] { return Saves(path); }));
    EXPECT_EQ(TempFolder::Read(path), "new");
    for (const auto& [name, value] : attributes) {
        std::string kept(256, '\0');
        kept.resize(static_cast<size_t>(std::max<ssize_t>(0, lgetxattr(path.c_str(), name.c_str(), kept.data(), 256))));
        EXPECT_EQ(kept, value) << name;
    }
    EXPECT_TRUE(AnswerAsUserIn(kOutsider, {kOutsider}, folder.Path(),
                               [] { return open("notes.ini", O_RDONLY | O_CLOEXEC) < 0 && errno == EACCES; }));
}

// The saver's user, then its groups.
const std::vector<gid_t> kSavers[] = {{kFileOwner}, {0}, {kMember, kGroup}};
const char* const kSaverNames[] = {"Owner", "Root", "MemberOfTheGroup"};
INSTANTIATE_TEST_SUITE_P(Savers, RegressionASaveLostTheFilesAccessList, ::testing::ValuesIn(kSavers),
                         [](const auto& param) { return std::string(kSaverNames[param.index]); });
