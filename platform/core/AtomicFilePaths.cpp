#include "platform/core/AtomicFilePaths.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <map>
#include <mutex>
#include <random>
#include <thread>
#include <utility>
#include <vector>

#include "platform/core/AtomicFile.h"
#include "platform/core/SaveJournal.h"

namespace SavePaths {

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

static std::atomic<bool> g_namesCounted = true;

bool StatAt(int folder, const std::string& name, struct stat& info)
{
    if (fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    if (!g_namesCounted)
        info.st_nlink = 0;
    return true;
}

bool StatOpen(int fd, struct stat& info)
{
    if (fstat(fd, &info) != 0)
        return false;
    if (!g_namesCounted)
        info.st_nlink = 0;
    return true;
}

// Whether the saver may follow a link in the folder. In a sticky folder that others may write,
// anyone may have put the link there to send the save to a file of their choosing: only the
// saver's own links and the folder owner's are trusted.
static bool MayFollow(const struct stat& folder, const struct stat& link)
{
    constexpr mode_t kOpenToAll = S_ISVTX | S_IWOTH;
    return (folder.st_mode & kOpenToAll) != kOpenToAll || link.st_uid == geteuid() || link.st_uid == folder.st_uid;
}

// The text of a link in an open folder; false with errno set when it cannot be read whole.
static bool ReadLink(int folder, const std::string& name, std::string& to)
{
    char text[PATH_MAX];
    const ssize_t n = readlinkat(folder, name.c_str(), text, sizeof text);
    if (n == static_cast<ssize_t>(sizeof text))
        errno = ENAMETOOLONG;
    if (n < 0 || n == static_cast<ssize_t>(sizeof text))
        return false;
    to.assign(text, static_cast<size_t>(n));
    return true;
}

// Puts the names of a path on the stack of names still to walk, its first name on top.
static void PushNames(std::vector<std::string>& names, std::string_view path)
{
    std::vector<std::string> mine;
    for (size_t start = 0; start <= path.size();) {
        const size_t end = std::min(path.find('/', start), path.size());
        if (end > start)
            mine.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    names.insert(names.end(), mine.rbegin(), mine.rend());
}

// The folder above a walked path, which holds no link: its last name dropped.
static std::string Above(const std::string& walked)
{
    if (walked == "/")
        return walked;
    if (walked.empty() || walked == ".." || walked.ends_with("/.."))
        return walked.empty() ? ".." : walked + "/..";
    const size_t slash = walked.rfind('/');
    return slash == std::string::npos ? "" : slash == 0 ? "/" : walked.substr(0, slash);
}

static std::string Joined(const std::string& walked, const std::string& name)
{
    return walked.empty() ? name : walked.ends_with('/') ? walked + name : walked + "/" + name;
}

// The open folder a walk has reached: entered a name at a time, never through a link.
class TWalkedFolder {
public:
    explicit TWalkedFolder(bool fromRoot) : fd_(open(fromRoot ? "/" : ".", kHow)) {}
    ~TWalkedFolder()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    TWalkedFolder(const TWalkedFolder&) = delete;
    TWalkedFolder& operator=(const TWalkedFolder&) = delete;
    int Fd() const { return fd_; }
    // False with errno set where the name is no folder (a link included).
    bool Enter(const char* name) { return Take(openat(fd_, name, kHow | O_NOFOLLOW)); }
    bool EnterRoot() { return Take(open("/", kHow)); }
    int Release() { return std::exchange(fd_, -1); }

private:
    static constexpr int kHow = O_PATH | O_DIRECTORY | O_CLOEXEC;
    bool Take(int fd)
    {
        if (fd < 0)
            return false;
        close(fd_);
        fd_ = fd;
        return true;
    }
    int fd_;
};

// For tests: run between looking at a folder of the path and entering it.
static std::function<void(const std::string&)>* BeforeEntering()
{
    static auto* hook = new std::function<void(const std::string&)>;
    return hook;
}

// A name that was a folder when looked at and no folder when entered: another process swaps it.
// It is looked at again this many times in all before the save gives up.
constexpr int kMostSwaps = 100;

std::string OpenSavedFile(const std::string& path, int& folder, std::string& name, std::string& shown)
{
    folder = -1;
    name.clear();
    std::string walked = path.starts_with('/') ? "/" : "";
    TWalkedFolder at(path.starts_with('/'));
    if (at.Fd() < 0)
        return std::strerror(errno);
    std::vector<std::string> names;
    PushNames(names, path);
    bool linkAtEnd = false;  // the file's own name led through a link
    for (int links = 0, swaps = 0; !names.empty();) {
        const std::string next = std::move(names.back());
        names.pop_back();
        const bool last = names.empty();
        if (next == "." || next == "..") {
            if (last) {
                name = next;  // no file's name: the writer refuses it
                break;
            }
            if (next == ".." && !at.Enter(".."))
                return std::strerror(errno);
            walked = next == "." ? walked : Above(walked);
            continue;
        }
        struct stat info;
        const bool found = fstatat(at.Fd(), next.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
        if (found && S_ISLNK(info.st_mode)) {
            struct stat here;
            if (links++ == kMostLinks)
                return std::strerror(ELOOP);
            if (fstat(at.Fd(), &here) != 0)
                return std::strerror(errno);
            if (!MayFollow(here, info))
                return "The symbolic link " + Joined(walked, next) +
                    " belongs to another user in a folder others may write: it is not followed.";
            std::string to;
            if (!ReadLink(at.Fd(), next, to))
                return std::strerror(errno);
            if (to.starts_with('/')) {
                if (!at.EnterRoot())
                    return std::strerror(errno);
                walked = "/";
            }
            linkAtEnd = linkAtEnd || last;
            PushNames(names, to);
            continue;
        }
        if (last) {
            name = next;  // whatever is there, or nothing: the writer says what it makes of it
            break;
        }
        if (!found)
            return std::strerror(errno);
        if (!S_ISDIR(info.st_mode))
            return std::strerror(ENOTDIR);
        if (*BeforeEntering())
            (*BeforeEntering())(next);
        if (!at.Enter(next.c_str())) {
            if ((errno != ENOTDIR && errno != ELOOP) || ++swaps > kMostSwaps)
                return std::strerror(errno);
            names.push_back(next);  // swapped for something else since it was looked at
            continue;
        }
        walked = Joined(walked, next);
    }
    // The path messages show: the caller's own, or where the links at its end led.
    shown = linkAtEnd ? Joined(walked, name) : path;
    folder = at.Release();
    return "";
}

// The program's own hidden files beside a saved file: a prefix and an end no one types, so that
// no file of the user's is ever taken for one. Their names are short whatever the saved file's.
constexpr std::string_view kTempPrefix = ".~hanmud-save-";
constexpr std::string_view kLockPrefix = ".~hanmud-lock-";
constexpr std::string_view kJournalPrefix = ".~hanmud-journal-";
constexpr std::string_view kOwnEnd = "~";
constexpr size_t kTempLetters = 12;
constexpr size_t kHashLetters = 16;
// A temporary or lock file nobody holds is left alone this long: a save on a file system that
// must name a file before locking it may be just between the two.
constexpr time_t kStaleAfterSeconds = 60;

static bool IsOwn(std::string_view entry, std::string_view prefix, size_t letters)
{
    if (entry.size() != prefix.size() + letters + kOwnEnd.size() || !entry.starts_with(prefix) ||
        !entry.ends_with(kOwnEnd))
        return false;
    for (char c : entry.substr(prefix.size(), letters))
        if (!std::isalnum(static_cast<unsigned char>(c)))
            return false;
    return true;
}

// The prefix, twelve random letters or digits, and the end.
static std::string RandomName(std::string_view prefix)
{
    static constexpr char kLetters[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    // Drawn from the system's source, not a seeded generator: forked savers would draw alike. One
    // source for each thread: saves come from several.
    static thread_local std::random_device random;
    std::uniform_int_distribution<size_t> letter(0, sizeof kLetters - 2);
    std::string name(prefix);
    for (size_t i = 0; i < kTempLetters; ++i)
        name += kLetters[letter(random)];
    return name + std::string(kOwnEnd);
}

std::string TempName() { return RandomName(kTempPrefix); }

std::string JournalName() { return RandomName(kJournalPrefix); }

// Every program that saves the file must derive the same name, so the hash is spelled out here
// (64-bit FNV-1a) rather than left to a library's choice.
static std::string HashedName(std::string_view prefix, const std::string& savedName)
{
    uint64_t hash = 0xcbf29ce484222325ULL;
    for (unsigned char c : savedName)
        hash = (hash ^ c) * 0x100000001b3ULL;
    char hex[kHashLetters + 1];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return std::string(prefix) + hex + std::string(kOwnEnd);
}

std::string LockName(const std::string& savedName) { return HashedName(kLockPrefix, savedName); }

std::string ShownBeside(const std::string& shown, const std::string& name)
{
    return shown.substr(0, shown.rfind('/') + 1) + name;
}

// Waits for an exclusive lock. False only where the file system has none.
static bool LockExclusive(int fd)
{
    while (WholeFileLock(fd, LOCK_EX) != 0)
        if (errno != EINTR)
            return false;
    return true;
}

static std::atomic<bool> g_unnamedTemps = true;
static std::atomic<bool> g_renamesWithoutReplacing = true;
static std::atomic<bool> g_wholeFileLocks = true;

int WholeFileLock(int fd, int operation)
{
    if (g_wholeFileLocks)
        return flock(fd, operation);
    errno = ENOLCK;
    return -1;
}

bool HasNoLocks(int error) { return error == ENOLCK || error == EOPNOTSUPP || error == ENOSYS || error == EINVAL; }

static std::atomic<std::chrono::milliseconds> g_patience = kLockPatience;

TClock::time_point PatienceEnds() { return TClock::now() + g_patience.load(); }

bool TPause::Wait(TClock::time_point deadline)
{
    constexpr std::chrono::microseconds kLongest{250};
    const TClock::time_point now = TClock::now();
    if (now >= deadline)
        return false;
    std::this_thread::sleep_for(std::min<TClock::duration>(step_, deadline - now));
    step_ = std::min<TClock::duration>(step_ * 2, kLongest);
    return true;
}

TLockWait LockWithin(int fd, int operation, TClock::time_point deadline)
{
    for (TPause pause;;) {
        if (WholeFileLock(fd, operation | LOCK_NB) == 0)
            return TLockWait::Taken;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            return HasNoLocks(errno) ? TLockWait::NoLocks : TLockWait::Refused;
        if (!pause.Wait(deadline))
            return TLockWait::TimedOut;
    }
}

static std::function<void(TSaveStep)>& StepHook()
{
    static auto* hook = new std::function<void(TSaveStep)>;
    return *hook;
}

void AtStep(TSaveStep step)
{
    if (StepHook())
        StepHook()(step);
}

// Names drawn at random: a clash is all but impossible.
constexpr int kNameTries = 100;

std::string OpenPath(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

std::string OpenPath(int folder, const std::string& name) { return OpenPath(folder) + "/" + name; }

bool NameTemp(int fd, int folder, std::string& name)
{
    for (int attempt = 0; attempt < kNameTries; ++attempt) {
        name = TempName();
        if (linkat(AT_FDCWD, OpenPath(fd).c_str(), folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return true;
        if (errno != EEXIST)
            break;
    }
    name.clear();
    return false;
}

int NameAnew(int fd, int folder, const std::string& temp, const std::string& name)
{
    if (temp.empty())
        return linkat(AT_FDCWD, OpenPath(fd).c_str(), folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0 : errno;
    if (g_renamesWithoutReplacing && renameat2(folder, temp.c_str(), folder, name.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (g_renamesWithoutReplacing && errno != EINVAL && errno != ENOSYS)
        return errno;
    // Cut short here, the file keeps both names: the clean-up takes the temporary one.
    if (linkat(folder, temp.c_str(), folder, name.c_str(), 0) != 0)
        return errno;
    AtStep(TSaveStep::Linked);
    unlinkat(folder, temp.c_str(), 0);
    return 0;
}

int CreateLockedTemp(int folder, std::string& name)
{
    name.clear();
    // Unnamed only where it can be named later: the name is given through the process's own
    // list of open files.
    // Locked where the file system has locks; without them it stays unnamed all the same: no
    // clean-up finds a file without a name, and none takes a named file it cannot lock.
    int fd = g_unnamedTemps ? openat(folder, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600) : -1;
    if (fd >= 0)
        LockExclusive(fd);
    struct stat self;
    if (fd >= 0 && stat(OpenPath(fd).c_str(), &self) == 0)
        return fd;
    if (fd >= 0)
        close(fd);
    // Named first, locked after: the clean-up leaves a young file alone, and one it took all the
    // same (its clock far ahead of the file system's) is replaced by another. Whether the name
    // still leads to the file is asked of the name: some file systems count no names of a file
    // that is open.
    for (int attempt = 0; attempt < kNameTries; ++attempt) {
        name = TempName();
        fd = openat(folder, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            break;
        }
        struct stat made, named;
        if (!LockExclusive(fd))
            return fd;  // the file system has no locks: no clean-up can tell a held file either
        if (StatOpen(fd, made) && StatAt(folder, name, named) && SameFile(made, named))
            return fd;
        close(fd);
        errno = EAGAIN;
    }
    name.clear();
    return -1;
}

bool GiveOwnerOf(int fd, const struct stat& old)
{
    return fchown(fd, old.st_uid, old.st_gid) == 0 || fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0;
}

bool FlushFolder(int folder, int inIt)
{
    if (fsync(folder) == 0)
        return true;
    if (errno != EBADF)
        return false;
    // A folder reached only to be entered: opened to be read, it can be flushed itself.
    if (const int readable = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC); readable >= 0) {
        const bool flushed = fsync(readable) == 0;
        close(readable);
        return flushed;
    }
    // One the saver may enter but not read cannot be opened so: its whole file system is flushed.
    return inIt >= 0 && syncfs(inIt) == 0;
}

bool WriteAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t n = write(fd, data.data(), data.size());
        if (n < 0 && errno != EINTR)
            return false;
        if (n > 0)
            data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

mode_t NewFileMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// A holder keeps an exclusive lock on its file until it is renamed or removed, and the system
// drops that lock when the holder dies, however it dies: a file whose lock can be taken has no
// live holder. Only the name goes, whatever other names its file has, which keep it: a save cut
// short between naming its file by a link and dropping the temporary name left it so. A lock file
// is empty: another's file linked at a lock's name is left alone.
// Removes what killed saves left in the folder.
static void Sweep(int folder)
{
    const int listed = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = listed >= 0 ? fdopendir(listed) : nullptr;
    if (!dir) {
        if (listed >= 0)
            close(listed);
        return;
    }
    const time_t now = time(nullptr);
    std::vector<std::string> journals;
    while (const dirent* entry = readdir(dir)) {
        const bool temporary = IsOwn(entry->d_name, kTempPrefix, kTempLetters);
        const bool journal = !temporary && IsOwn(entry->d_name, kJournalPrefix, kTempLetters);
        if (!temporary && !journal && !IsOwn(entry->d_name, kLockPrefix, kHashLetters))
            continue;
        // A device planted at such a name is never opened: opening one may stir it.
        struct stat seen;
        if (!StatAt(folder, entry->d_name, seen) || !S_ISREG(seen.st_mode))
            continue;
        if (journal) {
            if (now - seen.st_mtime >= kStaleAfterSeconds)
                journals.emplace_back(entry->d_name);
            continue;
        }
        constexpr int kHow = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
        int fd = openat(folder, entry->d_name, O_RDONLY | kHow);
        if (fd < 0)
            fd = openat(folder, entry->d_name, O_WRONLY | kHow);
        if (fd < 0)
            continue;
        struct stat held, named;
        // The name must still be the file locked: never remove a file that took its place.
        if (StatOpen(fd, held) && S_ISREG(held.st_mode) && (temporary || held.st_size == 0) &&
            now - held.st_mtime >= kStaleAfterSeconds && WholeFileLock(fd, LOCK_EX | LOCK_NB) == 0 &&
            StatAt(folder, entry->d_name, named) && SameFile(named, held))
            unlinkat(folder, entry->d_name, 0);
        close(fd);
    }
    // A journal whose file here no longer names it (a killed save's that never marked its file, or
    // that a later save made of no use) goes; one a file's mark may still name holds its content.
    for (const std::string& journal : journals)
        if (JournalOfNoUse(folder, journal))
            unlinkat(folder, journal.c_str(), 0);
    closedir(dir);
}

void RemoveStaleFiles(int folder)
{
    struct stat here;
    if (fstat(folder, &here) != 0)
        return;
    // When this process last swept each folder; a child process starts its own. Kept small: a
    // program that saves into ever more folders forgets the ones swept longest ago. Saves may come
    // from several threads: the table is theirs one at a time, the sweep itself needs no guard.
    using Clock = std::chrono::steady_clock;
    constexpr size_t kMostRemembered = 256;
    static std::mutex guard;
    static pid_t owner = 0;
    static auto* swept = new std::map<std::pair<dev_t, ino_t>, Clock::time_point>;
    {
        const std::lock_guard<std::mutex> held(guard);
        if (owner != getpid()) {
            swept->clear();
            owner = getpid();
        }
        const Clock::time_point now = Clock::now();
        const auto key = std::make_pair(here.st_dev, here.st_ino);
        if (const auto last = swept->find(key); last != swept->end() && now - last->second < kSweepEvery)
            return;
        if (swept->size() >= kMostRemembered && !swept->contains(key))
            swept->erase(std::min_element(swept->begin(), swept->end(),
                                          [](const auto& a, const auto& b) { return a.second < b.second; }));
        (*swept)[key] = now;
    }
    Sweep(folder);
}

}  // namespace SavePaths

void SetUnnamedTemporaryFiles(bool allowed) { SavePaths::g_unnamedTemps = allowed; }

void SetRenamesWithoutReplacing(bool allowed) { SavePaths::g_renamesWithoutReplacing = allowed; }

void SetWholeFileLocks(bool allowed) { SavePaths::g_wholeFileLocks = allowed; }

void SetLockPatience(std::chrono::milliseconds patience) { SavePaths::g_patience = patience; }

void SetAtSaveStep(std::function<void(TSaveStep)> hook) { SavePaths::StepHook() = std::move(hook); }

void SetNamesOfOpenFilesCounted(bool counted) { SavePaths::g_namesCounted = counted; }

void SetBeforeEnteringFolder(std::function<void(const std::string& name)> hook)
{
    *SavePaths::BeforeEntering() = std::move(hook);
}
