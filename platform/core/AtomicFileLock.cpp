// The update lock: an exclusive whole-file lock (flock) on a lock file beside the saved file. The
// system holds it for its holder and drops it when the holder ends, however it ends, so a lock file
// is never stale and never taken over: a saver that finds one opens it and waits for its lock.
// Only its holder removes a lock file, while still holding it: a lock taken on a file that no
// longer has the name is no lock, and the saver looks again. A lock file appears at its name
// already locked and open to everyone who may write the saved file: it is made without a name and
// linked in only where nothing has the name.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <thread>

#include "platform/core/AccessList.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/AtomicFilePaths.h"
#include "platform/core/Cp949.h"
#include "platform/core/Streams.h"

using namespace SavePaths;
using Clock = std::chrono::steady_clock;

static std::atomic<std::chrono::milliseconds> g_patience = kLockPatience;

void SetLockPatience(std::chrono::milliseconds patience) { g_patience = patience; }

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

// Pauses between two looks at a lock another holds: short, so that a lock let go is soon taken,
// and a little longer the longer the wait.
class TPause {
public:
    // Waits, never past the deadline; false once the deadline has passed.
    bool Wait(Clock::time_point deadline)
    {
        const Clock::time_point now = Clock::now();
        if (now >= deadline)
            return false;
        std::this_thread::sleep_for(std::min<Clock::duration>(step_, deadline - now));
        step_ = std::min<Clock::duration>(step_ * 2, kLongest);
        return true;
    }

private:
    static constexpr std::chrono::microseconds kLongest{250};
    Clock::duration step_ = std::chrono::microseconds(50);
};

enum class TWait {
    Taken,     // the lock of the file the name leads to is this saver's
    LetGo,     // the name no longer leads to the file: look again
    TimedOut,  // still held at the deadline
    NoLocks,   // the file system has none
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
            return TWait::NoLocks;
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

enum class TOutcome { Held, PassedOver, Busy };

// The lock file held for the saved file, or -1 where the lock is passed over or still held by
// another at the deadline.
int LockIn(int folder, const std::string& lock, const std::string& saved, Clock::time_point deadline, TOutcome& outcome)
{
    outcome = TOutcome::PassedOver;
    for (; Clock::now() < deadline;) {
        struct stat seen;
        if (!StatAt(folder, lock, seen)) {
            if (errno != ENOENT)
                return -1;
            int fd = -1;
            const int error = Make(folder, lock, saved, fd);
            if (error == EEXIST)
                continue;  // another's appeared meanwhile
            outcome = error == 0 ? TOutcome::Held : TOutcome::PassedOver;
            return fd;  // or -1: no lock file can be made here, or no lock had
        }
        // Never opened: a pipe, a device, a folder or a link; nor a file of two names, which
        // someone linked there and which is no lock file.
        if (!S_ISREG(seen.st_mode) || !OneName(seen))
            return -1;
        const int fd = openat(folder, lock.c_str(), O_RDONLY | kOpenSafely);
        if (fd < 0 && (errno == ENOENT || errno == ELOOP))
            continue;  // gone, or swapped for a link, since it was looked at
        if (fd < 0)
            return -1;  // the saver may not open it
        struct stat opened;
        const TWait waited =
            StatOpen(fd, opened) && SameFile(opened, seen) ? AwaitLock(folder, lock, fd, deadline) : TWait::LetGo;
        if (waited == TWait::Taken) {
            outcome = TOutcome::Held;
            return fd;
        }
        close(fd);
        if (waited == TWait::NoLocks)
            return -1;
    }
    outcome = TOutcome::Busy;
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
    TOutcome outcome;
    fd_ = LockIn(folder_, lockName_, name_, Clock::now() + g_patience.load(), outcome);
    passedOver_ = outcome == TOutcome::PassedOver;
    if (outcome == TOutcome::Busy)
        Refuse("The file is being saved by another program (its lock file is " + ShownBeside(shown_, lockName_) + ").");
    if (Held())
        AtStep(TSaveStep::LockTaken);
    // A save written in place and cut short may have torn the file: what a save read from it and
    // wrote back would keep the tear, and the copy would then hold a content older than the file's.
    if (struct stat copy; MaySave() && StatAt(folder_, CopyName(name_), copy)) {
        Release();
        passedOver_ = false;
        Refuse(CutShort(shown_, name_));
    }
}

void TFileUpdateLock::Refuse(const std::string& reason)
{
    message_ = Utf8ToCp949("Cannot lock file " + shown_ + ". " + reason);
}

bool TFileUpdateLock::Read(std::string& data) const
{
    const TFileRead read = ReadUpTo(INT64_MAX, data);
    return read == TFileRead::Ok || read == TFileRead::Missing;
}

TFileRead TFileUpdateLock::ReadUpTo(int64_t most, std::string& data) const
{
    data.clear();
    struct stat named, opened;
    if (folder_ < 0 || !StatAt(folder_, name_, named))
        return folder_ >= 0 && errno == ENOENT ? TFileRead::Missing : TFileRead::Unreadable;
    // Never opened unless a regular file: opening a device or a pipe planted there may stir it.
    if (!S_ISREG(named.st_mode))
        return TFileRead::Unreadable;
    if (named.st_size > most)
        return TFileRead::TooLarge;
    const int fd = openat(folder_, name_.c_str(), O_RDONLY | kOpenSafely);
    if (fd < 0)
        return errno == ENOENT ? TFileRead::Missing : TFileRead::Unreadable;
    TFileRead read = StatOpen(fd, opened) && SameFile(opened, named) ? TFileRead::Ok : TFileRead::Unreadable;
    for (char chunk[65536]; read == TFileRead::Ok;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n == 0)
            break;
        if (n > 0 && static_cast<int64_t>(data.size()) + n > most)
            read = TFileRead::TooLarge;
        else if (n > 0)
            data.append(chunk, static_cast<size_t>(n));
        else if (errno != EINTR)
            read = TFileRead::Unreadable;
    }
    close(fd);
    if (read != TFileRead::Ok)
        data.clear();
    return read;
}

TFileUpdateLock::~TFileUpdateLock()
{
    Release();
    if (folder_ >= 0)
        close(folder_);
}

void TFileUpdateLock::Release()
{
    if (fd_ >= 0) {
        // Removed while still held, where the saver may: a saver waiting on it finds its name
        // gone and looks again.
        const bool awaited = Awaited(fd_);
        if (StillNamed(folder_, lockName_, fd_) && unlinkat(folder_, lockName_.c_str(), 0) == 0)
            AtStep(TSaveStep::LockRemoved);
        close(fd_);
        if (awaited)
            HandOver(folder_, lockName_);
        fd_ = -1;
    }
}
