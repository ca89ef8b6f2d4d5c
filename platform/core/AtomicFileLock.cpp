// The update lock: an exclusive lock on a hidden file beside the saved file, taken by whoever
// saves that file. It only ever helps: only those who may write the file can make a save wait,
// only while one of them holds the lock, and never for long. A lock file appears at its name
// already locked and with its final owner and permissions, so that nobody ever finds one that its
// maker is still preparing; only those who may write the file can open it. One found is waited on
// only where such a one made it, and only while a process holds it, which the system's list of
// locks tells also for a file this saver may not open. One that nobody holds, and anything else at
// the name that is a file of one name, is swapped for this saver's own lock file in one step, and
// what was swapped out is removed only where it is what the saver looked at (and, for a saver's
// lock file, nobody took it meanwhile), else put back and looked at again. A file with a second
// name, or that is not a regular file, is never opened or changed: it is passed over.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
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

// The saved file's folder and the file, as found when the lock is sought.
struct TSaveSite {
    struct stat folder {};
    struct stat saved {};
    bool exists = false;

    // What grants writing the file: its mode and group, or the folder's for a file still to be made.
    mode_t WritersMode() const { return exists ? saved.st_mode : folder.st_mode; }
    gid_t WritersGroup() const { return exists ? saved.st_gid : folder.st_gid; }
};

// Whether the owner of a lock file may write the file, and so may make its saves wait: the saver,
// root, the folder's owner and the file's; in a folder not sticky also a member of the writers'
// group who gave the lock file that group with its right to write, or anyone where anyone may write
// the file and the lock file says so. PrepareMade makes every lock file so.
bool OwnerMayWrite(const struct stat& lock, const TSaveSite& site)
{
    const uid_t owner = lock.st_uid;
    if (owner == geteuid() || owner == 0 || owner == site.folder.st_uid || (site.exists && owner == site.saved.st_uid))
        return true;
    if ((site.folder.st_mode & S_ISVTX) != 0)
        return false;
    const mode_t writers = site.WritersMode();
    return ((writers & S_IWGRP) != 0 && lock.st_gid == site.WritersGroup() && (lock.st_mode & S_IWGRP) != 0) ||
        ((writers & S_IWOTH) != 0 && (lock.st_mode & S_IWOTH) != 0);
}

// Whether a file found at the lock's name is one a saver of the file made, that nobody else can
// open: a single name, an owner who may write the file, and no permission for a group or for
// others unless all of them may write the file.
bool IsSaversLock(const struct stat& lock, const TSaveSite& site)
{
    const mode_t writers = site.WritersMode();
    const bool groupMayOpen = (lock.st_mode & (S_IRGRP | S_IWGRP)) != 0;
    const bool othersMayOpen = (lock.st_mode & (S_IROTH | S_IWOTH)) != 0;
    return S_ISREG(lock.st_mode) && OneName(lock) && OwnerMayWrite(lock, site) &&
        (!groupMayOpen || (lock.st_gid == site.WritersGroup() && (writers & S_IWGRP) != 0)) &&
        (!othersMayOpen || (writers & S_IWOTH) != 0);
}

// A lock file this saver makes goes to the saved file's owner and group where the saver may,
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

// Whether the name still leads to the file seen, unchanged (its permissions or owner neither).
bool Unchanged(const struct stat& now, const struct stat& seen)
{
    return SameFile(now, seen) && now.st_ctim.tv_sec == seen.st_ctim.tv_sec &&
        now.st_ctim.tv_nsec == seen.st_ctim.tv_nsec;
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
    LetGo,     // a holder seen let it go (the name no longer leads to its file): look again
    Changed,   // the name leads elsewhere, no holder having been seen: look again
    TimedOut,  // held, or not shown free, past the deadline
    Failed,    // the file system has no locks
    Free,      // nobody holds the lock file this saver may not open
};

// Opens a lock file another made, for writing where this saver may, else for reading; -1 with
// errno set when it may do neither.
int OpenExisting(int folder, const std::string& name)
{
    constexpr int kHow = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    const int fd = openat(folder, name.c_str(), O_WRONLY | kHow);
    return fd >= 0 || (errno != EACCES && errno != EROFS) ? fd : openat(folder, name.c_str(), O_RDONLY | kHow);
}

bool StillNamed(int folder, const std::string& name, int fd)
{
    struct stat held, named;
    return StatOpen(fd, held) && StatAt(folder, name, named) && SameFile(held, named);
}

// Waits for the lock of the open lock file.
TTurn AwaitLock(int fd, const std::function<bool()>& stillNamed, Clock::time_point deadline)
{
    TPause pause(deadline);
    for (;;) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0)
            return TTurn::Taken;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            return TTurn::Failed;
        if (!stillNamed())
            return TTurn::LetGo;
        if (!pause.Wait())
            return TTurn::TimedOut;
    }
}

// Waits while a process holds a lock file this saver may not open, and so cannot lock, as the
// system's list of locks tells. A list that cannot tell within the deadline shows nothing free.
TTurn AwaitUnopenable(int folder, const std::string& name, const struct stat& seen, Clock::time_point deadline)
{
    TPause pause(deadline);
    bool held = false;
    for (;;) {
        struct stat named;
        if (!StatAt(folder, name, named) || !Unchanged(named, seen))
            return held ? TTurn::LetGo : TTurn::Changed;
        const SystemLocks::TLockState state = SystemLocks::StateOf(seen, folder, deadline);
        if (state == SystemLocks::TLockState::Free)
            return TTurn::Free;
        held = held || state == SystemLocks::TLockState::Held;
        if (!pause.Wait())
            return TTurn::TimedOut;
    }
}

// A lock file of this saver's, locked and prepared, named `made` where it has a name (always
// where `named` is asked); -1 where none can be made, or the file system has no locks.
int Make(int folder, const TSaveSite& site, std::string& made, bool named)
{
    const int fd = CreateLockedTemp(folder, made);
    if (fd < 0)
        return -1;
    // Locked already; asked again, a file system without locks says so.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 || (named && made.empty() && !NameTemp(fd, folder, made))) {
        if (!made.empty())
            unlinkat(folder, made.c_str(), 0);
        close(fd);
        return -1;
    }
    PrepareMade(fd, site);
    return fd;
}

enum class TPlaced {
    Held,    // this saver's lock file has the name, and is held
    Again,   // another's has it: look again
    Cannot,  // no lock file can be made or swapped in here
};

// Gives a lock file of this saver's the lock's name where nothing has it; `fd` is then its.
TPlaced Place(int folder, const std::string& name, const TSaveSite& site, int& fd)
{
    std::string made;
    const int mine = Make(folder, site, made, false);
    if (mine < 0)
        return TPlaced::Cannot;
    const int placed = NameAnew(mine, folder, made, name);
    if (placed != 0 && !made.empty())
        unlinkat(folder, made.c_str(), 0);
    if (placed != 0) {
        close(mine);
        return placed == EEXIST ? TPlaced::Again : TPlaced::Cannot;
    }
    fd = mine;
    return TPlaced::Held;
}

// Swaps a lock file of this saver's in for what was seen at the lock's name, in one step, so that
// the name never lacks a lock file meanwhile. What was swapped out is removed where it is what was
// seen and, where a saver may hold it, nobody holds it now; else it is put back. `fd` is then the
// lock file held.
TPlaced Displace(int folder, const std::string& name, const TSaveSite& site, const struct stat& seen, bool mayBeHeld,
                 Clock::time_point deadline, int& fd)
{
    std::string made;
    const int mine = Make(folder, site, made, true);
    if (mine < 0)
        return TPlaced::Cannot;
    // A sticky folder keeps another's file from being moved; some file systems cannot swap.
    if (renameat2(folder, made.c_str(), folder, name.c_str(), RENAME_EXCHANGE) != 0) {
        unlinkat(folder, made.c_str(), 0);
        close(mine);
        return TPlaced::Cannot;
    }
    // Moved, so changed (its ctime): the same file, owner and permissions as seen.
    struct stat out;
    const bool stale = StatAt(folder, made, out) && SameFile(out, seen) && out.st_mode == seen.st_mode &&
        out.st_uid == seen.st_uid && out.st_gid == seen.st_gid &&
        (!mayBeHeld || SystemLocks::StateOf(out, folder, deadline) == SystemLocks::TLockState::Free);
    if (stale) {
        unlinkat(folder, made.c_str(), 0);
        fd = mine;
        return TPlaced::Held;
    }
    // Another's, taken or put there meanwhile: it goes back, and this saver's lock file away.
    renameat2(folder, made.c_str(), folder, name.c_str(), RENAME_EXCHANGE);
    struct stat held, named;
    if (StatOpen(mine, held) && StatAt(folder, made, named) && SameFile(held, named))
        unlinkat(folder, made.c_str(), 0);
    close(mine);
    return TPlaced::Again;
}

// The lock of the file whose lock file has the name `name` in the open folder: the lock file
// held, or -1 where it is passed over, or refused (`refusal` then says why).
int LockIn(int folder, const std::string& name, const TSaveSite& site, const std::string& busy, std::string& refusal)
{
    // Whoever lets the lock go removes its file while still holding it, and a lock file is swapped
    // out only where nobody holds it, so the name changes hands only between two holders: a lock
    // taken on a file that no longer has the name is no lock, and is sought again on the file the
    // name now holds. The wait starts again each time a holder seen lets go; no holder keeps a
    // save waiting longer than the patience, and nothing else does either: whatever changes the
    // name under the saver, it looks again until the patience has passed.
    int held = -1;
    Clock::time_point deadline = Clock::now() + g_patience;
    TPause settle(deadline);
    const auto again = [&] { return settle.Wait(); };
    for (;;) {
        struct stat named;
        if (!StatAt(folder, name, named)) {
            if (errno != ENOENT)
                return -1;
            const TPlaced placed = Place(folder, name, site, held);
            if (placed == TPlaced::Again && again())
                continue;  // another's appeared meanwhile
            if (placed == TPlaced::Again)
                break;
            return held;  // or -1: the folder takes no lock file, and the save finds out why where it must
        }
        if (!IsSaversLock(named, site)) {
            // Not opened: opening a pipe waits for a writer, opening a device may stir it.
            if (!S_ISREG(named.st_mode) || !OneName(named))
                return -1;
            const TPlaced placed = Displace(folder, name, site, named, false, deadline, held);
            if (placed == TPlaced::Again && again())
                continue;
            if (placed == TPlaced::Again)
                break;
            return held;
        }
        const int fd = OpenExisting(folder, name);
        if (fd < 0 && errno == EACCES) {
            const TTurn turn = AwaitUnopenable(folder, name, named, deadline);
            if (turn == TTurn::TimedOut)
                break;
            if (turn == TTurn::LetGo) {
                deadline = Clock::now() + g_patience;
                settle = TPause(deadline);
                continue;
            }
            if (turn == TTurn::Changed) {
                if (!again())
                    break;
                continue;
            }
            const TPlaced placed = Displace(folder, name, site, named, true, deadline, held);
            if (placed == TPlaced::Again && again())
                continue;
            if (placed == TPlaced::Again)
                break;
            return held;  // or -1: nobody holds it, and it cannot be replaced here, so it is passed over
        }
        if (fd < 0) {
            // Gone, or swapped for a link or a pipe, between the two looks.
            if ((errno == ENOENT || errno == ELOOP || errno == ENXIO) && again())
                continue;
            if (errno == ENOENT || errno == ELOOP || errno == ENXIO)
                break;
            return -1;
        }
        struct stat opened;
        if (!StatOpen(fd, opened) || !Unchanged(opened, named)) {
            close(fd);
            if (!again())
                break;
            continue;
        }
        const TTurn turn = AwaitLock(
            fd, [&] { return StillNamed(folder, name, fd); }, deadline);
        if (turn == TTurn::Taken && StillNamed(folder, name, fd))
            return fd;
        close(fd);
        if (turn == TTurn::TimedOut)
            break;
        if (turn == TTurn::Failed)
            return -1;                         // the file system has no locks
        deadline = Clock::now() + g_patience;  // its holder let it go
        settle = TPause(deadline);
    }
    refusal = busy;
    return -1;
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
    std::string saved, shown;
    if (const std::string refusal = OpenSavedFile(nativePath, folder_, saved, shown); !refusal.empty()) {
        Refuse(nativePath, refusal);
        return;
    }
    TSaveSite site;
    if (saved == "." || saved == "..") {
        Refuse(shown, "It is not a regular file.");
        return;
    }
    if (fstat(folder_, &site.folder) != 0) {
        Refuse(shown, std::strerror(errno));
        return;
    }
    site.exists = StatAt(folder_, saved, site.saved) && S_ISREG(site.saved.st_mode);
    name_ = LockName(saved);
    const std::string busy = "The file is being saved by another program (its lock file is " +
        shown.substr(0, shown.rfind('/') + 1) + name_ + ").";
    std::string refusal;
    fd_ = LockIn(folder_, name_, site, busy, refusal);
    if (!refusal.empty())
        Refuse(shown, refusal);
    passedOver_ = !Held() && message_.empty();
}


TFileUpdateLock::~TFileUpdateLock()
{
    if (fd_ >= 0) {
        if (StillNamed(folder_, name_, fd_))
            unlinkat(folder_, name_.c_str(), 0);
        close(fd_);
    }
    if (folder_ >= 0)
        close(folder_);
}
