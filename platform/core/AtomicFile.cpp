#include "platform/core/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <utility>

#include "platform/core/Cp949.h"
#include "platform/core/Exceptions.h"

static TAtomicWriteStep g_injected = TAtomicWriteStep::None;

void InjectAtomicWriteFailure(TAtomicWriteStep step) { g_injected = step; }

// True (and the injection used up) when the test hook asks this step to fail.
static bool Injected(TAtomicWriteStep step)
{
    if (g_injected != step)
        return false;
    g_injected = TAtomicWriteStep::None;
    return true;
}

static std::string FolderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

static std::string NameOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Symbolic links followed at most this many times in a row, as the system follows them.
constexpr int kMostLinks = 40;

// The file a save of the path replaces, or makes: a symbolic link is followed to the end of its
// chain, each relative one from its own folder, and a dangling one to the file it names. False,
// errno set, for a loop or a link that cannot be read.
static bool SavedFile(const std::string& path, std::string& file)
{
    file = path;
    for (int hop = 0; hop < kMostLinks; ++hop) {
        struct stat info;
        // Whatever else stops lstat is found again, and reported, by the step it stops.
        if (lstat(file.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return true;
        char to[PATH_MAX];
        const ssize_t n = readlink(file.c_str(), to, sizeof to);
        if (n < 0)
            return false;
        if (n == static_cast<ssize_t>(sizeof to)) {
            errno = ENAMETOOLONG;
            return false;
        }
        const std::string next(to, static_cast<size_t>(n));
        file = next.starts_with('/') ? next : FolderOf(file) + "/" + next;
    }
    errno = ELOOP;
    return false;
}

// The program's own hidden files beside a saved file: a prefix and an end no one types, so that
// no file of the user's is ever taken for one. Their names are short whatever the saved file's.
constexpr std::string_view kTempPrefix = ".~hanmud-save-";
constexpr std::string_view kLockPrefix = ".~hanmud-lock-";
constexpr std::string_view kOwnEnd = "~";
constexpr size_t kTempLetters = 12;
constexpr size_t kLockLetters = 16;
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

static std::string TempName()
{
    static constexpr char kLetters[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    // Drawn from the system's source, not a seeded generator: forked savers would draw alike.
    static std::random_device random;
    std::uniform_int_distribution<size_t> letter(0, sizeof kLetters - 2);
    std::string name(kTempPrefix);
    for (size_t i = 0; i < kTempLetters; ++i)
        name += kLetters[letter(random)];
    return name + std::string(kOwnEnd);
}

// The lock file of a file: every program that saves the file must derive the same name, so the
// hash is spelled out here (64-bit FNV-1a) rather than left to a library's choice.
static std::string LockName(const std::string& name)
{
    uint64_t hash = 0xcbf29ce484222325ULL;
    for (unsigned char c : name)
        hash = (hash ^ c) * 0x100000001b3ULL;
    char hex[kLockLetters + 1];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return std::string(kLockPrefix) + hex + std::string(kOwnEnd);
}

// Waits for an exclusive lock. False only where the file system has none.
static bool LockExclusive(int fd)
{
    while (flock(fd, LOCK_EX) != 0)
        if (errno != EINTR)
            return false;
    return true;
}

static bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Removes the program's temporary and lock files in the folder that nobody holds and that are
// old enough (see kStaleAfterSeconds): what killed saves left. A holder keeps an exclusive lock
// on its file until it is renamed or removed, and the system drops that lock when the holder
// dies, however it dies: a file whose lock can be taken has no live holder.
static void RemoveStaleFiles(const std::string& folder)
{
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return;
    const time_t now = time(nullptr);
    while (const dirent* entry = readdir(dir)) {
        if (!IsOwn(entry->d_name, kTempPrefix, kTempLetters) && !IsOwn(entry->d_name, kLockPrefix, kLockLetters))
            continue;
        const std::string path = folder + "/" + entry->d_name;
        // A device planted at such a name is never opened: opening one may stir it.
        struct stat seen;
        if (lstat(path.c_str(), &seen) != 0 || !S_ISREG(seen.st_mode))
            continue;
        int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            fd = open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat held, named;
        // The name must still be the file locked: never remove a file that took its place.
        if (fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && now - held.st_mtime >= kStaleAfterSeconds &&
            flock(fd, LOCK_EX | LOCK_NB) == 0 && lstat(path.c_str(), &named) == 0 && SameFile(named, held))
            unlink(path.c_str());
        close(fd);
    }
    closedir(dir);
}

// Gives the new file the old one's owner and group where the saver may: root keeps both, a
// member of the file's group keeps the group, so that the owner can still write it. False when
// neither is kept.
static bool KeepOwner(int fd, const struct stat& old)
{
    return fchown(fd, old.st_uid, old.st_gid) == 0 || fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0;
}

static bool g_unnamedTemps = true;

void SetUnnamedTemporaryFiles(bool allowed) { g_unnamedTemps = allowed; }

// A new temporary file in the folder, open for writing and locked, its name in tempPath; -1 with
// errno set when none can be made. Made without a name and locked before it is given one where
// the file system allows it, so no clean-up ever finds it unlocked.
static int CreateLockedTemp(const std::string& folder, std::string& tempPath)
{
    constexpr int kTries = 100;  // names are drawn at random: a clash is all but impossible
    int fd = g_unnamedTemps ? open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600) : -1;
    if (fd >= 0 && LockExclusive(fd)) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        for (int attempt = 0; attempt < kTries; ++attempt) {
            tempPath = folder + "/" + TempName();
            if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, tempPath.c_str(), AT_SYMLINK_FOLLOW) == 0)
                return fd;
            if (errno != EEXIST)
                break;
        }
    }
    if (fd >= 0)
        close(fd);
    // Named first, locked after: the clean-up leaves a young file alone, and one it took all the
    // same (its clock far ahead of the file system's) is replaced by another.
    for (int attempt = 0; attempt < kTries; ++attempt) {
        tempPath = folder + "/" + TempName();
        fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            break;
        }
        struct stat made;
        if (!LockExclusive(fd) || (fstat(fd, &made) == 0 && made.st_nlink > 0))
            return fd;
        close(fd);
        errno = EAGAIN;
    }
    tempPath.clear();
    return -1;
}

void TFileUpdateLock::Refuse(const std::string& file, const std::string& reason)
{
    message_ = Utf8ToCp949("Cannot lock file " + file + ". " + reason);
}

TFileUpdateLock::TFileUpdateLock(const std::string& nativePath)
{
    std::string target;
    if (nativePath.empty()) {
        Refuse(nativePath, "The file has no name.");
        return;
    }
    if (!SavedFile(nativePath, target)) {
        Refuse(nativePath, std::strerror(errno));
        return;
    }
    const std::string path = FolderOf(target) + "/" + LockName(NameOf(target));
    const std::string planted = "Its lock file " + path + " is not a regular file.";
    // Whoever lets the lock go removes its file while still holding it, and nobody else removes
    // a file another holds, so the name changes only between two holders: a lock taken on a
    // file that no longer has the name is no lock, and is taken again on the file the name now
    // holds. Each time round, another saver had the lock and let it go; none waits forever.
    for (;;) {
        struct stat held, named;
        // A pipe, device or folder planted at the name is never waited on, nor opened where it
        // is seen first: opening a pipe waits for a writer, opening a device may stir it.
        if (lstat(path.c_str(), &named) == 0 && !S_ISREG(named.st_mode)) {
            Refuse(target, planted);
            return;
        }
        const int fd = open(path.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0444);
        if (fd < 0) {
            Refuse(target, errno == ELOOP || errno == EISDIR ? planted : std::strerror(errno));
            return;
        }
        if (fstat(fd, &held) != 0 || !S_ISREG(held.st_mode)) {
            close(fd);
            Refuse(target, planted);
            return;
        }
        // Readable by every saver of the file whatever the umask of the one that made it: it
        // holds nothing.
        if (held.st_uid == geteuid() && (held.st_mode & 07777) != 0444)
            fchmod(fd, 0444);
        if (!LockExclusive(fd)) {
            const int error = errno;
            close(fd);
            Refuse(target, std::strerror(error));
            return;
        }
        if (lstat(path.c_str(), &named) == 0 && SameFile(held, named)) {
            path_ = path;
            fd_ = fd;
            return;
        }
        close(fd);
    }
}

TFileUpdateLock::~TFileUpdateLock()
{
    if (fd_ < 0)
        return;
    struct stat held, named;
    if (fstat(fd_, &held) == 0 && lstat(path_.c_str(), &named) == 0 && SameFile(held, named))
        unlink(path_.c_str());
    close(fd_);
}

TAtomicFileWriter::TAtomicFileWriter(std::string nativePath) : path_(std::move(nativePath))
{
    std::string target;
    if (!SavedFile(path_, target)) {
        Fail("create", errno);
        return;
    }
    path_ = target;
    // Only a regular file is replaced: a pipe or a device cannot be written whole or kept as
    // it was, and renaming over one would destroy the node. A file set read-only is refused as
    // a save dialog refuses it, also for root, who could write it anyway.
    struct stat old;
    const bool exists = stat(path_.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        Fail("create", "It is not a regular file.");
        return;
    }
    if (exists && ((old.st_mode & 0222) == 0 || faccessat(AT_FDCWD, path_.c_str(), W_OK, AT_EACCESS) != 0)) {
        Fail("create", "The file is read-only.");
        return;
    }

    RemoveStaleFiles(FolderOf(path_));
    if (Injected(TAtomicWriteStep::Create)) {
        Fail("create", EACCES);
        return;
    }
    fd_ = CreateLockedTemp(FolderOf(path_), tempPath_);
    if (fd_ < 0) {
        Fail("create", errno);
        return;
    }
    // The new file keeps the old one's owner, group and permissions, or gets the usual ones for
    // a new file. Owner first: a change of owner clears the set-id bits.
    mode_t mode;
    if (exists) {
        KeepOwner(fd_, old);
        mode = old.st_mode & 07777;
    } else {
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    fchmod(fd_, mode);
}

TAtomicFileWriter::~TAtomicFileWriter()
{
    if (!committed_)
        Discard();
}

void TAtomicFileWriter::Fail(const char* what, int error) { Fail(what, std::strerror(error)); }

void TAtomicFileWriter::Fail(const char* what, const char* reason)
{
    if (!result_.Ok)
        return;
    result_.Ok = false;
    result_.Message = Utf8ToCp949(std::string("Cannot ") + what + " file " + path_ + ". " + reason);
    Discard();
}

void TAtomicFileWriter::Discard()
{
    // Removed while still locked: no clean-up ever finds it without a holder.
    if (!tempPath_.empty()) {
        unlink(tempPath_.c_str());
        tempPath_.clear();
    }
    if (fd_ >= 0) {
        close(fd_);
        fd_ = -1;
    }
}

bool TAtomicFileWriter::Write(std::string_view data)
{
    if (!result_.Ok || committed_)
        return false;
    if (Injected(TAtomicWriteStep::Write)) {
        Fail("write", ENOSPC);
        return false;
    }
    while (!data.empty()) {
        ssize_t n = write(fd_, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail("write", errno);
            return false;
        }
        data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

TWriteResult TAtomicFileWriter::Commit()
{
    if (!result_.Ok || committed_)
        return result_;
    if (Injected(TAtomicWriteStep::Sync)) {
        Fail("write", EIO);
        return result_;
    }
    if (fsync(fd_) != 0) {
        Fail("write", errno);
        return result_;
    }
    if (Injected(TAtomicWriteStep::Rename)) {
        Fail("replace", EACCES);
        return result_;
    }
    // The file stays open, and so locked, until it has its name: a save of the same file
    // starting now cannot take it for a stale one.
    if (rename(tempPath_.c_str(), path_.c_str()) != 0) {
        Fail("replace", errno);
        return result_;
    }
    tempPath_.clear();
    committed_ = true;
    close(fd_);  // the data is on disk (fsync above): nothing is left for close to report
    fd_ = -1;
    // Make the rename itself durable; a failure here no longer endangers either file.
    int dir = open(FolderOf(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return result_;
}

TWriteResult AtomicWriteFile(const std::string& nativePath, std::string_view data)
{
    TAtomicFileWriter writer(nativePath);
    writer.Write(data);
    return writer.Commit();
}

void AtomicWriteFileOrRaise(const std::string& nativePath, std::string_view data)
{
    TAtomicFileWriter writer(nativePath);
    if (!writer.Ok())
        throw EFCreateError(writer.Commit().Message);
    writer.Write(data);
    TWriteResult result = writer.Commit();
    if (!result)
        throw EWriteError(result.Message);
}
