// The update lock: an exclusive lock on a hidden file beside the saved file, taken by whoever
// saves that file. Who may make a save wait is kept to those who may write the file: a lock file
// is opened for locking only by them, a lock file someone else left is waited on for a few
// seconds at most, and a file that is not the program's own is never changed.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

#include "platform/core/AtomicFile.h"
#include "platform/core/AtomicFilePaths.h"
#include "platform/core/Cp949.h"

using namespace SavePaths;
using Clock = std::chrono::steady_clock;

static std::chrono::milliseconds g_patience = kLockPatience;

void SetLockPatience(std::chrono::milliseconds patience) { g_patience = patience; }

namespace {

// The saved file and its folder, as found when the lock is sought.
struct TSaveSite {
    struct stat folder {};
    struct stat saved {};
    bool exists = false;
};

// Whether the owner of a lock file may make saves of the file wait: one who could replace the
// file all the same. In a sticky folder that is the saver, root, the folder's owner and the
// file's; elsewhere whoever could make a file in the folder at all.
bool MayHold(uid_t owner, const TSaveSite& site)
{
    return (site.folder.st_mode & S_ISVTX) == 0 || owner == geteuid() || owner == 0 || owner == site.folder.st_uid ||
        (site.exists && owner == site.saved.st_uid);
}

// A lock file this saver just made goes to the saved file's owner and group where the saver may,
// and may be opened for writing only by those who may write the saved file; nobody else may open
// it at all, so nobody else can hold it.
void PrepareMade(int fd, const TSaveSite& site)
{
    mode_t writers = NewFileMode();
    if (site.exists) {
        GiveOwnerOf(fd, site.saved);
        writers = site.saved.st_mode;
    }
    mode_t mode = S_IRUSR | S_IWUSR | (writers & S_IWOTH);
    struct stat made;
    // Group write only where the lock's group is the file's: any other group may not write it.
    if (fstat(fd, &made) == 0 && (!site.exists || made.st_gid == site.saved.st_gid))
        mode |= writers & S_IWGRP;
    fchmod(fd, mode);
}

bool StillNamed(int fd, const std::string& path)
{
    struct stat held, named;
    return fstat(fd, &held) == 0 && lstat(path.c_str(), &named) == 0 && SameFile(held, named);
}

// Pauses between two looks at a lock another holds: short at first, as a save takes a moment,
// and never long, so that a lock let go is soon taken. False once the deadline has passed.
class TPause {
public:
    explicit TPause(Clock::time_point deadline) : deadline_(deadline) {}
    bool Wait()
    {
        const Clock::time_point now = Clock::now();
        if (now >= deadline_)
            return false;
        std::this_thread::sleep_for(std::min<Clock::duration>(step_, deadline_ - now));
        step_ = std::min<Clock::duration>(step_ * 2, kLongest);
        return true;
    }

private:
    static constexpr std::chrono::microseconds kLongest{5000};
    Clock::time_point deadline_;
    Clock::duration step_ = std::chrono::microseconds(100);
};

enum class TTurn {
    Taken,     // the lock is this saver's
    LetGo,     // its holder let it go (the name no longer leads to the file): look again
    TimedOut,  // held past the deadline
    Failed,    // the file system has no locks; errno says why
};

// Waits for the lock of the open lock file.
TTurn AwaitLock(int fd, const std::string& path, Clock::time_point deadline)
{
    TPause pause(deadline);
    for (;;) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0)
            return TTurn::Taken;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            return TTurn::Failed;
        if (!StillNamed(fd, path))
            return TTurn::LetGo;
        if (!pause.Wait())
            return TTurn::TimedOut;
    }
}

// Waits for a lock file this saver may not open to be let go: its name removed or given to
// another file.
TTurn AwaitName(const std::string& path, const struct stat& seen, Clock::time_point deadline)
{
    TPause pause(deadline);
    for (;;) {
        struct stat named;
        if (lstat(path.c_str(), &named) != 0 || !SameFile(named, seen) || named.st_ctim.tv_sec != seen.st_ctim.tv_sec ||
            named.st_ctim.tv_nsec != seen.st_ctim.tv_nsec)
            return TTurn::LetGo;
        if (!pause.Wait())
            return TTurn::TimedOut;
    }
}

// Opens a lock file another made, for writing where this saver may, else for reading; -1 with
// errno set when it may do neither.
int OpenExisting(const std::string& path)
{
    constexpr int kHow = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    const int fd = open(path.c_str(), O_WRONLY | kHow);
    return fd >= 0 || errno != EACCES ? fd : open(path.c_str(), O_RDONLY | kHow);
}

}  // namespace

void TFileUpdateLock::Refuse(const std::string& file, const std::string& reason)
{
    message_ = Utf8ToCp949("Cannot lock file " + file + ". " + reason);
}

TFileUpdateLock::TFileUpdateLock(const std::string& nativePath)
{
    if (nativePath.empty()) {
        Refuse(nativePath, "The file has no name.");
        return;
    }
    std::string target;
    if (const std::string refusal = SavedFile(nativePath, target); !refusal.empty()) {
        Refuse(nativePath, refusal);
        return;
    }
    TSaveSite site;
    if (stat(FolderOf(target).c_str(), &site.folder) != 0) {
        Refuse(target, std::strerror(errno));
        return;
    }
    site.exists = lstat(target.c_str(), &site.saved) == 0 && S_ISREG(site.saved.st_mode);
    const std::string path = FolderOf(target) + "/" + LockName(NameOf(target));
    const std::string planted = "Its lock file " + path + " is not a regular file.";
    const std::string busy = "The file is being saved by another program (its lock file is " + path + ").";
    // Whoever lets the lock go removes its file while still holding it, and nobody else removes
    // a file another holds, so the name changes only between two holders: a lock taken on a
    // file that no longer has the name is no lock, and is taken again on the file the name now
    // holds. The wait starts again each time a holder that may make it wait lets go; no holder
    // keeps a save waiting longer than the patience.
    Clock::time_point deadline = Clock::now() + g_patience;
    for (;;) {
        struct stat named;
        // A pipe, device or folder planted at the name is never waited on, nor opened where it
        // is seen first: opening a pipe waits for a writer, opening a device may stir it.
        if (lstat(path.c_str(), &named) == 0 && !S_ISREG(named.st_mode)) {
            Refuse(target, planted);
            return;
        }
        bool made = true;
        int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC,
                      S_IRUSR | S_IWUSR);
        if (fd < 0 && errno == EEXIST) {
            made = false;
            fd = OpenExisting(path);
        }
        if (fd < 0) {
            const int error = errno;
            if (error == ENOENT && !made)
                continue;  // let go between the two opens
            if (error == EACCES && !made && lstat(path.c_str(), &named) == 0) {
                if (AwaitName(path, named, deadline) == TTurn::TimedOut) {
                    Refuse(target, busy);
                    return;
                }
                if (MayHold(named.st_uid, site))
                    deadline = Clock::now() + g_patience;
                continue;
            }
            Refuse(target, error == ELOOP || error == EISDIR || error == ENXIO ? planted : std::strerror(error));
            return;
        }
        struct stat held;
        if (fstat(fd, &held) != 0 || !S_ISREG(held.st_mode)) {
            close(fd);
            Refuse(target, planted);
            return;
        }
        // Only a file this saver made is ever changed: another name linked to one found here
        // would change that file too.
        if (made) {
            PrepareMade(fd, site);
        } else if (held.st_nlink > 1) {
            close(fd);
            Refuse(target, "Its lock file " + path + " has another name as well: it is not the program's own.");
            return;
        }
        const bool trusted = made || MayHold(held.st_uid, site);
        const TTurn turn = AwaitLock(fd, path, deadline);
        const int error = errno;
        if (turn == TTurn::Taken && StillNamed(fd, path)) {
            if (trusted) {
                path_ = path;
                fd_ = fd;
                return;
            }
            close(fd);
            Refuse(target, "Its lock file " + path + " belongs to another user.");
            return;
        }
        close(fd);
        if (turn == TTurn::TimedOut || turn == TTurn::Failed) {
            Refuse(target, turn == TTurn::TimedOut ? busy : std::strerror(error));
            return;
        }
        if (trusted)
            deadline = Clock::now() + g_patience;
    }
}

TFileUpdateLock::~TFileUpdateLock()
{
    if (fd_ < 0)
        return;
    if (StillNamed(fd_, path_))
        unlink(path_.c_str());
    close(fd_);
}
