// The update lock: an exclusive lock on a hidden file beside the saved file, taken by whoever
// saves that file. It only ever helps: only those who may write the file can make a save wait,
// only while one of them holds the lock, and never for long. A lock file is made so that only
// they can open it; one found is waited on only where such a one made it and nobody else can
// open it, and only while a process holds it, which the system's list of locks tells also for a
// file this saver may not open. One that nobody holds is taken over; anything else at the name is
// removed where the saver may and it is a single-named file, else passed over. A file with a
// second name, or that is not a regular file, is never opened or changed.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <thread>

#include "platform/core/AtomicFile.h"
#include "platform/core/AtomicFilePaths.h"
#include "platform/core/Cp949.h"
#include "platform/core/SystemLocks.h"

using namespace SavePaths;
using Clock = std::chrono::steady_clock;

static std::chrono::milliseconds g_patience = kLockPatience;

void SetLockPatience(std::chrono::milliseconds patience) { g_patience = patience; }

namespace {

// The saved file and its folder, as found when the lock is sought.
struct TSaveSite {
    std::string folderPath;
    struct stat folder {};
    struct stat saved {};
    bool exists = false;

    // What grants writing the file: its mode and group, or the folder's for a file still to be made.
    mode_t WritersMode() const { return exists ? saved.st_mode : folder.st_mode; }
    gid_t WritersGroup() const { return exists ? saved.st_gid : folder.st_gid; }
};

// Whether the owner of a lock file may make saves of the file wait: one who could replace the
// file all the same. In a sticky folder that is the saver, root, the folder's owner and the
// file's; elsewhere whoever could make a file in the folder at all.
bool MayHold(uid_t owner, const TSaveSite& site)
{
    return (site.folder.st_mode & S_ISVTX) == 0 || owner == geteuid() || owner == 0 || owner == site.folder.st_uid ||
        (site.exists && owner == site.saved.st_uid);
}

// Whether a lock file found at the name is one a saver of the file made, that nobody else can
// open: a single name, an owner who may hold it, and no permission for a group or for others
// unless all of them may write the file. PrepareMade makes every lock file so.
bool IsSaversLock(const struct stat& lock, const TSaveSite& site)
{
    const mode_t writers = site.WritersMode();
    const bool groupMayOpen = (lock.st_mode & (S_IRGRP | S_IWGRP)) != 0;
    const bool othersMayOpen = (lock.st_mode & (S_IROTH | S_IWOTH)) != 0;
    return S_ISREG(lock.st_mode) && lock.st_nlink == 1 && MayHold(lock.st_uid, site) &&
        (!groupMayOpen || (lock.st_gid == site.WritersGroup() && (writers & S_IWGRP) != 0)) &&
        (!othersMayOpen || (writers & S_IWOTH) != 0);
}

// A lock file this saver just made goes to the saved file's owner and group where the saver may,
// and may be opened for writing only by those who may write the saved file; nobody else may open
// it at all, so nobody else can hold it.
void PrepareMade(int fd, const TSaveSite& site)
{
    if (site.exists)
        GiveOwnerOf(fd, site.saved);
    const mode_t writers = site.WritersMode();
    mode_t mode = S_IRUSR | S_IWUSR | (writers & S_IWOTH);
    struct stat made;
    // Group write only where the lock's group is the writers': any other group may not write it.
    if (fstat(fd, &made) == 0 && made.st_gid == site.WritersGroup())
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

// Whether the name still leads to the file seen, unchanged (its permissions or owner neither).
bool Unchanged(const struct stat& now, const struct stat& seen)
{
    return SameFile(now, seen) && now.st_ctim.tv_sec == seen.st_ctim.tv_sec &&
        now.st_ctim.tv_nsec == seen.st_ctim.tv_nsec;
}

enum class TTurn {
    Taken,     // the lock is this saver's
    LetGo,     // its holder let it go (the name no longer leads to the file): look again
    TimedOut,  // held past the deadline
    Failed,    // the file system has no locks
    Free,      // nobody holds the lock file this saver may not open
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

// Waits while a process holds a lock file this saver may not open, and so cannot lock. Where the
// list of locks cannot tell, it is taken for free: what this saver cannot see cannot make it wait.
TTurn AwaitUnopenable(const std::string& path, const struct stat& seen, const std::string& folder,
                      Clock::time_point deadline)
{
    TPause pause(deadline);
    for (;;) {
        struct stat named;
        if (lstat(path.c_str(), &named) != 0 || !Unchanged(named, seen))
            return TTurn::LetGo;
        if (SystemLocks::StateOf(seen, folder) != SystemLocks::TLockState::Held)
            return TTurn::Free;
        if (!pause.Wait())
            return TTurn::TimedOut;
    }
}

// After a lock file nobody held was removed and this saver holds a new one: waits while a save
// that took the removed one just before it went still holds it. False when it holds it past the
// deadline.
bool AwaitRemoved(int fd, const struct stat& removed, const std::string& folder, Clock::time_point deadline)
{
    struct stat held;
    if (fstat(fd, &held) == 0 && SameFile(held, removed))
        return true;  // its node was free to be used again: nobody had it open
    TPause pause(deadline);
    while (SystemLocks::StateOf(removed, folder) == SystemLocks::TLockState::Held)
        if (!pause.Wait())
            return false;
    return true;
}

// Removes what was found at the lock's name, where the saver may and the name still leads to it.
bool Remove(const std::string& path, const struct stat& seen)
{
    struct stat named;
    return lstat(path.c_str(), &named) == 0 && SameFile(named, seen) && unlink(path.c_str()) == 0;
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
    Lock(target);
    passedOver_ = !Held() && message_.empty();
}

void TFileUpdateLock::Lock(const std::string& target)
{
    TSaveSite site;
    site.folderPath = FolderOf(target);
    if (stat(site.folderPath.c_str(), &site.folder) != 0) {
        Refuse(target, std::strerror(errno));
        return;
    }
    site.exists = lstat(target.c_str(), &site.saved) == 0 && S_ISREG(site.saved.st_mode);
    const std::string path = site.folderPath + "/" + LockName(NameOf(target));
    const std::string busy = "The file is being saved by another program (its lock file is " + path + ").";
    // Whoever lets the lock go removes its file while still holding it, and nobody else removes
    // a file another holds, so the name changes only between two holders: a lock taken on a
    // file that no longer has the name is no lock, and is taken again on the file the name now
    // holds. The wait starts again each time a holder lets go; no holder keeps a save waiting
    // longer than the patience. Files found changed between two looks, or removed by this saver,
    // are few: past kMostLooks the lock is passed over.
    constexpr int kMostLooks = 100;
    Clock::time_point deadline = Clock::now() + g_patience;
    std::optional<struct stat> removed;  // a killed save's lock file this saver removed
    for (int looks = 0; looks < kMostLooks;) {
        constexpr int kHow = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
        struct stat named;
        int fd = -1;
        const bool found = lstat(path.c_str(), &named) == 0;
        if (found && named.st_nlink == 0)
            continue;  // let go while it was looked at
        if (!found) {
            if (errno != ENOENT)
                return;
            fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | kHow, S_IRUSR | S_IWUSR);
            if (fd < 0 && errno == EEXIST)
                continue;
            // The folder takes no new file: the save finds out why, where it cannot make its own.
            if (fd < 0)
                return;
            PrepareMade(fd, site);
        } else if (!IsSaversLock(named, site)) {
            // Not opened: opening a pipe waits for a writer, opening a device may stir it.
            if (S_ISREG(named.st_mode) && named.st_nlink == 1 && Remove(path, named)) {
                ++looks;
                continue;
            }
            return;
        } else if ((fd = OpenExisting(path)) < 0) {
            if (errno == ENOENT)
                continue;  // let go between the two looks
            if (errno != EACCES)
                return;
            const TTurn turn = AwaitUnopenable(path, named, site.folderPath, deadline);
            if (turn == TTurn::TimedOut) {
                Refuse(target, busy);
                return;
            }
            if (turn == TTurn::LetGo) {
                deadline = Clock::now() + g_patience;
                continue;
            }
            if (!Remove(path, named))
                return;
            removed = named;
            ++looks;
            continue;
        } else if (struct stat opened; fstat(fd, &opened) != 0 || !Unchanged(opened, named)) {
            close(fd);
            ++looks;
            continue;
        }
        const TTurn turn = AwaitLock(fd, path, deadline);
        if (turn == TTurn::Taken && StillNamed(fd, path)) {
            if (!removed || AwaitRemoved(fd, *removed, site.folderPath, deadline)) {
                path_ = path;
                fd_ = fd;
                return;
            }
            // A save that took the removed lock file just before it went holds it still.
            unlink(path.c_str());
            close(fd);
            Refuse(target, busy);
            return;
        }
        close(fd);
        if (turn == TTurn::TimedOut) {
            Refuse(target, busy);
            return;
        }
        if (turn == TTurn::Failed)
            return;  // the file system has no locks
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
