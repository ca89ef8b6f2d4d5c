// Saved files as the program's loaders read them. A save written in place marks the file before it
// touches it, with a token of its own (SaveJournal.h): a reader that finds the same mark before and
// after reading read no part of such a save, and reads again where the mark changed. A file marked
// busy is read from its journal, and a save cut short is finished by the reader where it may.
// Readers take no lock: no one who may read a file can keep its readers waiting.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/core/AtomicFile.h"
#include "platform/core/AtomicFilePaths.h"
#include "platform/core/SaveJournal.h"
#include "platform/core/Streams.h"

using namespace SavePaths;

namespace {

constexpr int kOpenSafely = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

// Reads the open file from its start to its end, bounded by `most`.
TFileRead ReadOpen(int fd, int64_t most, std::string& data)
{
    data.clear();
    if (struct stat state; fstat(fd, &state) == 0 && state.st_size <= most)
        data.reserve(static_cast<size_t>(state.st_size));
    for (char chunk[65536];;) {
        const ssize_t n = pread(fd, chunk, sizeof chunk, static_cast<off_t>(data.size()));
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

// Reads the saved file open as `fd`, reached through the open folder `folder` or as `path`.
TFileRead ReadSaved(int fd, int folder, const std::string& path, int64_t most, std::string& data)
{
    struct stat opened;
    if (fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode))
        return TFileRead::Unreadable;
    const TClock::time_point deadline = PatienceEnds();
    for (TPause pause;;) {
        std::string before, after;
        ReadMark(fd, before);
        if (IsBusy(before)) {
            bool tooLong = false;
            if (ReadMarkedContent(before, fd, folder, path, most, data, tooLong)) {
                FinishMarkedSave(fd, before, data, folder, path);
                return TFileRead::Ok;
            }
            // The content a cut-short save committed the file to is nowhere: the file may be torn.
            if (std::string now; ReadMark(fd, now) && now == before)
                return tooLong ? TFileRead::TooLarge : TFileRead::Unreadable;
        } else {
            if (struct stat now; fstat(fd, &now) != 0 || now.st_size > most)
                return now.st_size > most ? TFileRead::TooLarge : TFileRead::Unreadable;
            const TFileRead read = ReadOpen(fd, most, data);
            ReadMark(fd, after);
            if (read != TFileRead::Ok || after == before)
                return read;
        }
        // A save in place came or ended meanwhile: what was read may mix its content with the old.
        if (!pause.Wait(deadline)) {
            data.clear();
            return TFileRead::Unreadable;
        }
    }
}

}  // namespace

TFileRead ReadSavedFile(const std::string& nativePath, int64_t most, std::string& data)
{
    data.clear();
    // Never opened unless a regular file: opening a device or a pipe planted there may stir it.
    struct stat named;
    if (stat(nativePath.c_str(), &named) != 0)
        return errno == ENOENT ? TFileRead::Missing : TFileRead::Unreadable;
    if (!S_ISREG(named.st_mode))
        return TFileRead::Unreadable;
    if (named.st_size > most)
        return TFileRead::TooLarge;
    const int fd = open(nativePath.c_str(), kOpenSafely);
    if (fd < 0)
        return errno == ENOENT ? TFileRead::Missing : TFileRead::Unreadable;
    const TFileRead read = ReadSaved(fd, -1, nativePath, most, data);
    close(fd);
    return read;
}

std::string SavedFileMark(int fd)
{
    std::string mark;
    ReadMark(fd, mark);
    return mark;
}

bool SavedFileBeingWritten(const std::string& mark) { return IsBusy(mark); }

bool TFileUpdateLock::Read(std::string& data) const
{
    const TFileRead read = ReadUpTo(INT64_MAX, data);
    return read == TFileRead::Ok || read == TFileRead::Missing;
}

TFileRead TFileUpdateLock::ReadUpTo(int64_t most, std::string& data) const
{
    data.clear();
    struct stat named;
    if (folder_ < 0 || !StatAt(folder_, name_, named))
        return folder_ >= 0 && errno == ENOENT ? TFileRead::Missing : TFileRead::Unreadable;
    if (!S_ISREG(named.st_mode))
        return TFileRead::Unreadable;
    if (named.st_size > most)
        return TFileRead::TooLarge;
    const int fd = openat(folder_, name_.c_str(), kOpenSafely | O_NOFOLLOW);
    if (fd < 0)
        return errno == ENOENT ? TFileRead::Missing : TFileRead::Unreadable;
    const TFileRead read = ReadSaved(fd, folder_, "", most, data);
    close(fd);
    return read;
}
