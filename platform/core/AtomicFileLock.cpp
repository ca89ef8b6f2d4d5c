// The update lock: an exclusive whole-file lock (flock) on a lock file beside the saved file. The
// system holds it for its holder and drops it when the holder ends, however it ends, so a lock file
// is never stale and never taken over: a saver that finds one opens it and waits for its lock.
// Only its holder removes a lock file, while still holding it: a lock taken on a file that no
// longer has the name is no lock, and the saver looks again. A lock file is made open to everyone
// who may write the saved file, named only where nothing has the name, and then locked by its name
// as any saver locks it.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

#include "platform/core/AccessList.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/AtomicFilePaths.h"
#include "platform/core/Cp949.h"

using namespace SavePaths;
using Clock = TClock;

namespace {

// Opening a pipe planted meanwhile must not wait for a writer, nor a device become the caller's
// terminal.
constexpr int kOpenSafely = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

// How long a holder that a saver waited for gives it, once let go, to take the lock before the
// holder's own program goes on: one that saves again at once would otherwise always win the race.
constexpr std::chrono::milliseconds kHandOver{20};

// A saver that waits says so with a read lock on the lock file's first byte, a kind of lock the
// system keeps apart from the whole-file one: its holder sees it, and nothing is written into a
// file that may not be the lock's own.
struct flock FirstByte(short type)
{
    struct flock first {};
    first.l_type = type;
    first.l_whence = SEEK_SET;
    first.l_len = 1;
    return first;
}

void SayWaiting(int fd)
{
    struct flock waiting = FirstByte(F_RDLCK);
    fcntl(fd, F_OFD_SETLK, &waiting);
}

// Whether a saver waits for the lock file held.
bool Awaited(int fd)
{
    struct flock probe = FirstByte(F_WRLCK);
    return fcntl(fd, F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
}

// Waits, a short while at most, until another has the lock's name.
void HandOver(int folder, const std::string& lock)
{
    const Clock::time_point end = Clock::now() + kHandOver;
    for (struct stat named; !StatAt(folder, lock, named) && Clock::now() < end;)
        std::this_thread::sleep_for(std::chrono::microseconds(50));
}

bool StillNamed(int folder, const std::string& name, int fd)
{
    struct stat held, named;
    return StatOpen(fd, held) && StatAt(folder, name, named) && SameFile(held, named);
}

enum class TWait {
    Taken,     // the lock of the file the name leads to is this saver's
    LetGo,     // the name no longer leads to the file: look again
    TimedOut,  // still held at the deadline
    NoLocks,   // the file system has none
    Refused,   // the system will not lock this file for the saver
};

// Waits for the lock of the open lock file, the name being checked after the lock is taken.
TWait AwaitLock(int folder, const std::string& lock, int fd, Clock::time_point deadline)
{
    TPause pause;
    for (;;) {
        if (WholeFileLock(fd, LOCK_EX | LOCK_NB) == 0)
            return StillNamed(folder, lock, fd) ? TWait::Taken : TWait::LetGo;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            return HasNoLocks(errno) ? TWait::NoLocks : TWait::Refused;
        if (!StillNamed(folder, lock, fd))
            return TWait::LetGo;
        SayWaiting(fd);
        if (!pause.Wait(deadline))
            return TWait::TimedOut;
    }
}

// Lets everyone who may write the saved file open its lock file, and nobody else: the lock file
// goes to the saved file's owner and group where the saver may give them, and lets in whom the
// saved file lets write it, or the folder for a file still to be made. Where the file system
// cannot say so, anyone may open it: a writer shut out would save without waiting its turn.
void OpenToWriters(int fd, int folder, const std::string& saved)
{
    // The saved file itself, never a link or a node put at its name.
    const int file = openat(folder, saved.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
    struct stat from;
    const bool exists = file >= 0 && fstat(file, &from) == 0 && S_ISREG(from.st_mode);
    bool shared = false;
    if (exists || fstat(folder, &from) == 0) {
        GiveOwnerOf(fd, from);
        shared = ShareAccess(OpenPath(exists ? file : folder), from, fd, true).empty();
    }
    if (file >= 0)
        close(file);
    if (!shared)
        fchmod(fd, 0666);
}

// Makes the lock file, locked and prepared, and gives it the lock's name where nothing has it.
// 0 with `fd` the lock file held; EEXIST where another has the name; else why none can be had.
int Make(int folder, const std::string& lock, const std::string& saved, int& fd)
{
    std::string temp;
    fd = CreateLockedTemp(folder, temp);
    if (fd < 0)
        return errno;
    // Locked already; asked again, a file system without locks says so.
    int error = WholeFileLock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : ENOLCK;
    if (error == 0) {
        OpenToWriters(fd, folder, saved);
        AtStep(TSaveStep::LockMade);
        error = NameAnew(fd, folder, temp, lock);
    }
    if (error == 0)
        return 0;
    if (!temp.empty())
        unlinkat(folder, temp.c_str(), 0);
    close(fd);
    fd = -1;
    return error;
}

enum class TOutcome {
    Held,
    PassedOver,  // no lock can be had here: no lock file can be made, or the file system has no locks
    Busy,        // another holds it still at the deadline
    Blocked,     // something at the lock's name the saver cannot lock, still there at the deadline
};

// Opens the lock file at the name for waiting on it: for reading and writing where the saver may
// (a file system that locks through byte ranges, as NFS does, locks for writers alone), else for
// reading. -1 with errno set where it cannot.
int OpenLockFile(int folder, const std::string& lock)
{
    const int fd = openat(folder, lock.c_str(), O_RDWR | kOpenSafely);
    return fd >= 0 || (errno != EACCES && errno != EPERM && errno != EROFS)
        ? fd
        : openat(folder, lock.c_str(), O_RDONLY | kOpenSafely);
}

// Why what is at the lock's name, of the user given, keeps the saver out.
std::string InTheWay(uid_t owner, const std::string& why)
{
    return "It is user " + std::to_string(owner) + "'s. " + why;
}

// The lock file held for the saved file, or -1 where the lock is passed over, still held by another
// at the deadline or blocked (`why` then says by what). What is at the lock's name is judged by
// what it is once locked, never by its count of names: file systems that keep a removed open file
// under a hidden name (FUSE, NFS) show two for a held lock file for as long as it is held. What the
// saver cannot lock may be another's lock file it may not open, or something planted there: it is
// waited for as a lock is, and keeps the save out once the patience is spent; a save never goes on
// without the lock beside savers who hold it.
int LockIn(int folder, const std::string& lock, const std::string& saved, Clock::time_point deadline, TOutcome& outcome,
           std::string& why)
{
    outcome = TOutcome::Busy;
    for (TPause pause; Clock::now() < deadline;) {
        struct stat seen;
        if (!StatAt(folder, lock, seen)) {
            if (errno != ENOENT) {
                outcome = TOutcome::PassedOver;
                return -1;
            }
            int made = -1;
            const int error = Make(folder, lock, saved, made);
            if (error != 0 && error != EEXIST) {
                outcome = TOutcome::PassedOver;
                return -1;  // no lock file can be made here, or no lock had
            }
            // Named, it is locked again as any saver locks it, by its name: a file system that
            // gives each name of a file a node of its own (FUSE) keeps the lock of one name from
            // the other's. Another saver may take it first; this one then waits its turn.
            if (made >= 0)
                close(made);
            continue;
        }
        // Never opened: a pipe, a device, a folder or a link.
        const int fd = S_ISREG(seen.st_mode) ? OpenLockFile(folder, lock) : -1;
        if (fd < 0 && S_ISREG(seen.st_mode) && (errno == ENOENT || errno == ELOOP))
            continue;  // gone, or swapped for a link, since it was looked at
        struct stat opened;
        const TWait waited = fd < 0                          ? TWait::Refused
            : StatOpen(fd, opened) && SameFile(opened, seen) ? AwaitLock(folder, lock, fd, deadline)
                                                             : TWait::LetGo;
        if (waited == TWait::Taken) {
            outcome = TOutcome::Held;
            return fd;
        }
        if (waited == TWait::Refused)
            why = InTheWay(seen.st_uid,
                           !S_ISREG(seen.st_mode) ? "It is not a plain file."
                               : fd < 0           ? std::string("It cannot be opened: ") + std::strerror(errno) + "."
                                                  : std::string("It cannot be locked: ") + std::strerror(errno) + ".");
        if (fd >= 0)
            close(fd);
        if (waited == TWait::NoLocks) {
            outcome = TOutcome::PassedOver;
            return -1;
        }
        if (waited == TWait::TimedOut) {
            outcome = TOutcome::Busy;
            return -1;
        }
        if (waited == TWait::Refused) {
            outcome = TOutcome::Blocked;
            pause.Wait(deadline);
        }
    }
    return -1;
}

}  // namespace

TFileUpdateLock::TFileUpdateLock(const std::string& nativePath) : shown_(nativePath)
{
    if (nativePath.empty()) {
        Refuse("The file has no name.");
        return;
    }
    if (const std::string refusal = OpenSavedFile(nativePath, folder_, name_, shown_); !refusal.empty()) {
        Refuse(refusal);
        return;
    }
    Acquire();
}

TFileUpdateLock::TFileUpdateLock(int folder, std::string name, std::string shown)
    : folder_(fcntl(folder, F_DUPFD_CLOEXEC, 0)), name_(std::move(name)), shown_(std::move(shown))
{
    if (folder_ < 0) {
        Refuse(std::strerror(errno));
        return;
    }
    Acquire();
}

void TFileUpdateLock::Acquire()
{
    if (name_ == "." || name_ == "..") {
        Refuse("It is not a regular file.");
        return;
    }
    lockName_ = LockName(name_);
    const Clock::time_point deadline = deadline_ = PatienceEnds();
    TOutcome outcome;
    std::string why;
    fd_ = LockIn(folder_, lockName_, name_, deadline, outcome, why);
    passedOver_ = outcome == TOutcome::PassedOver;
    if (outcome == TOutcome::Busy)
        Refuse("The file is being saved by another program (its lock file is " + ShownBeside(shown_, lockName_) + ").");
    if (outcome == TOutcome::Blocked)
        Refuse("Its lock file " + ShownBeside(shown_, lockName_) + " is in the way. " + why);
    if (Held())
        AtStep(TSaveStep::LockTaken);
}

void TFileUpdateLock::Refuse(const std::string& reason)
{
    message_ = Utf8ToCp949("Cannot lock file " + shown_ + ". " + reason);
}

TFileUpdateLock::~TFileUpdateLock()
{
    Release();
    if (folder_ >= 0)
        close(folder_);
}

void TFileUpdateLock::Release()
{
    if (fd_ < 0)
        return;
    // Removed while still held, where the saver may: a saver waiting on it finds its name gone and
    // looks again. Only an empty file, as every lock file is: another's file linked there keeps it.
    struct stat held, named;
    const bool lockFile =
        StatOpen(fd_, held) && held.st_size == 0 && StatAt(folder_, lockName_, named) && SameFile(held, named);
    const bool awaited = lockFile && Awaited(fd_);
    if (lockFile && unlinkat(folder_, lockName_.c_str(), 0) == 0)
        AtStep(TSaveStep::LockRemoved);
    close(fd_);
    if (awaited)
        HandOver(folder_, lockName_);
    fd_ = -1;
}
