// Saved files as the program's loaders read them. A file written in place is locked by its writer
// while it changes (AtomicFileInPlace.cpp): a loader takes a shared lock of it first, so it reads
// the old content or the new, never a mixture, whatever name it came by. A journal found beside it
// then was left by a save cut short, which the loader finishes, or whose content it reads where it
// may not write the file.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/core/AtomicFile.h"
#include "platform/core/AtomicFilePaths.h"
#include "platform/core/SaveJournal.h"
#include "platform/core/Streams.h"

using namespace SavePaths;

namespace {

constexpr int kOpenSafely = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

// Reads the open file from where it is to its end, bounded by `most`.
TFileRead ReadOpen(int fd, int64_t most, std::string& data)
{
    data.clear();
    for (char chunk[65536];;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n == 0)
            return TFileRead::Ok;
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || static_cast<int64_t>(data.size()) + n > most) {
            const bool tooLarge = n > 0;
            data.clear();
            return tooLarge ? TFileRead::TooLarge : TFileRead::Unreadable;
        }
        data.append(chunk, static_cast<size_t>(n));
    }
}

// Opens the file `name` in the open folder to be read: Ok with `fd` the file, under a shared lock
// until it is closed, or with `fd` -1 and `journaled` the content a save cut short left in its
// journal. `finish`: a journal found is first finished by the reader (under the file's update
// lock) where it can.
TFileRead OpenToRead(int folder, const std::string& name, const std::string& shown, int64_t most, bool finish, int& fd,
                     std::string& journaled)
{
    fd = -1;
    journaled.clear();
    for (bool finished = !finish;; finished = true) {
        struct stat named, opened;
        if (!StatAt(folder, name, named))
            return errno == ENOENT ? TFileRead::Missing : TFileRead::Unreadable;
        // Never opened unless a regular file: opening a device or a pipe planted there may stir it.
        if (!S_ISREG(named.st_mode))
            return TFileRead::Unreadable;
        const int file = openat(folder, name.c_str(), kOpenSafely);
        if (file < 0)
            return errno == ENOENT ? TFileRead::Missing : TFileRead::Unreadable;
        TFileRead read = TFileRead::Unreadable;
        // With the lock had, a journal beside the file is one no live writer holds.
        if (StatOpen(file, opened) && SameFile(opened, named) &&
            LockWithin(file, LOCK_SH, PatienceEnds()) != TLockWait::TimedOut) {
            struct stat left;
            const bool journalLeft =
                StatAt(folder, JournalName(name), left) && S_ISREG(left.st_mode) && left.st_size > 0;
            if (journalLeft && !finished) {
                close(file);
                const TFileUpdateLock lock(folder, name, shown);
                continue;
            }
            bool tooLong = false;
            const TJournal journal =
                journalLeft ? ReadJournal(folder, name, opened, &journaled, most, &tooLong) : TJournal::None;
            if (journal == TJournal::None || journal == TJournal::Stale) {
                read = opened.st_size > most ? TFileRead::TooLarge : TFileRead::Ok;
                if (read == TFileRead::Ok) {
                    fd = file;
                    return read;
                }
            } else if (journal == TJournal::Whole) {
                read = tooLong ? TFileRead::TooLarge : TFileRead::Ok;
            }
        }
        close(file);
        return read;
    }
}

// The same for a path: followed as a save follows it; one a save would not follow (a link another
// user put in a sticky folder) is read as the system follows it.
TFileRead OpenPathToRead(const std::string& nativePath, int64_t most, int& fd, std::string& journaled)
{
    int folder = -1;
    std::string name, shown;
    if (OpenSavedFile(nativePath, folder, name, shown).empty()) {
        const TFileRead read = OpenToRead(folder, name, shown, most, true, fd, journaled);
        close(folder);
        return read;
    }
    journaled.clear();
    struct stat opened;
    fd = open(nativePath.c_str(), (kOpenSafely & ~O_NOFOLLOW));
    if (fd < 0)
        return errno == ENOENT ? TFileRead::Missing : TFileRead::Unreadable;
    const TFileRead read = fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) ? TFileRead::Unreadable
        : opened.st_size > most                                                ? TFileRead::TooLarge
                                                                               : TFileRead::Ok;
    if (read != TFileRead::Ok) {
        close(fd);
        fd = -1;
    }
    return read;
}

// Reads what was opened: the file to its end, or the journal's content.
TFileRead ReadOpened(TFileRead opened, int fd, int64_t most, std::string& journaled, std::string& data)
{
    data.clear();
    if (opened != TFileRead::Ok)
        return opened;
    if (fd < 0) {
        data = std::move(journaled);
        return TFileRead::Ok;
    }
    // A file read from its start, which the shared lock keeps whole, with no other's writes in.
    const TFileRead read = ReadOpen(fd, most, data);
    close(fd);
    return read;
}

}  // namespace

TFileRead OpenSavedFileToRead(const std::string& nativePath, int64_t most, int& fd, std::string& journaled)
{
    return OpenPathToRead(nativePath, most, fd, journaled);
}

TFileRead ReadSavedFile(const std::string& nativePath, int64_t most, std::string& data)
{
    int fd;
    std::string journaled;
    const TFileRead opened = OpenPathToRead(nativePath, most, fd, journaled);
    return ReadOpened(opened, fd, most, journaled, data);
}

bool TFileUpdateLock::Read(std::string& data) const
{
    const TFileRead read = ReadUpTo(INT64_MAX, data);
    return read == TFileRead::Ok || read == TFileRead::Missing;
}

TFileRead TFileUpdateLock::ReadUpTo(int64_t most, std::string& data) const
{
    data.clear();
    if (folder_ < 0)
        return TFileRead::Unreadable;
    // A journal was finished as the lock was taken; one found now cannot be, and is read.
    int fd;
    std::string journaled;
    const TFileRead opened = OpenToRead(folder_, name_, shown_, most, false, fd, journaled);
    return ReadOpened(opened, fd, most, journaled, data);
}
