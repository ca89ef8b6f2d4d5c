#include "platform/core/AtomicFilePaths.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <random>

namespace SavePaths {

std::string FolderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Whether the saver may follow the link in its folder. In a sticky folder that others may write,
// anyone may have put the link there to send the save to a file of their choosing: only the
// saver's own links and the folder owner's are trusted.
static bool MayFollow(const std::string& link, const struct stat& info)
{
    struct stat folder;
    if (stat(FolderOf(link).c_str(), &folder) != 0)
        return false;
    constexpr mode_t kOpenToAll = S_ISVTX | S_IWOTH;
    return (folder.st_mode & kOpenToAll) != kOpenToAll || info.st_uid == geteuid() || info.st_uid == folder.st_uid;
}

std::string SavedFile(const std::string& path, std::string& file)
{
    file = path;
    for (int hop = 0;; ++hop) {
        struct stat info;
        // Whatever else stops lstat is found again, and reported, by the step it stops.
        if (lstat(file.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return "";
        if (hop == kMostLinks)
            return std::strerror(ELOOP);
        if (!MayFollow(file, info))
            return "The symbolic link " + file +
                " belongs to another user in a folder others may write: " + "it is not followed.";
        char to[PATH_MAX];
        const ssize_t n = readlink(file.c_str(), to, sizeof to);
        if (n < 0)
            return std::strerror(errno);
        if (n == static_cast<ssize_t>(sizeof to))
            return std::strerror(ENAMETOOLONG);
        const std::string next(to, static_cast<size_t>(n));
        file = next.starts_with('/') ? next : FolderOf(file) + "/" + next;
    }
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

std::string TempName()
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

// Every program that saves the file must derive the same name, so the hash is spelled out here
// (64-bit FNV-1a) rather than left to a library's choice.
std::string LockName(const std::string& savedName)
{
    uint64_t hash = 0xcbf29ce484222325ULL;
    for (unsigned char c : savedName)
        hash = (hash ^ c) * 0x100000001b3ULL;
    char hex[kLockLetters + 1];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return std::string(kLockPrefix) + hex + std::string(kOwnEnd);
}

bool GiveOwnerOf(int fd, const struct stat& old)
{
    return fchown(fd, old.st_uid, old.st_gid) == 0 || fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0;
}

mode_t NewFileMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// A holder keeps an exclusive lock on its file until it is renamed or removed, and the system
// drops that lock when the holder dies, however it dies: a file whose lock can be taken has no
// live holder. One with a second name was linked there by someone else and is not ours.
void RemoveStaleFiles(const std::string& folder)
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
        if (fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && held.st_nlink == 1 &&
            now - held.st_mtime >= kStaleAfterSeconds && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            lstat(path.c_str(), &named) == 0 && SameFile(named, held))
            unlink(path.c_str());
        close(fd);
    }
    closedir(dir);
}

}  // namespace SavePaths
