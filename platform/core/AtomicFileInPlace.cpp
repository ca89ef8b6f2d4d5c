// The writer's other way to commit: a file the saver may write but cannot give back to its owner
// is written where it is, so that it stays its owner's, with its group, permissions and
// attributes. Its lock is held meanwhile (the caller's, or taken here), and its old content is
// kept beside it, on disk, until the new content is: a save cut short leaves the copy, which no
// clean-up removes and no later save writes over.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>
#include <utility>

#include "platform/core/AccessList.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/AtomicFilePaths.h"

using namespace SavePaths;

// Writes the whole content of the open file `from` over that of `to`; false with errno set where
// it cannot.
static bool CopyContent(int from, int to)
{
    if (lseek(to, 0, SEEK_SET) != 0)
        return false;
    char chunk[65536];
    for (off_t at = 0;;) {
        const ssize_t n = pread(from, chunk, sizeof chunk, at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n == 0 && ftruncate(to, at) == 0;
        if (!WriteAll(to, std::string_view(chunk, static_cast<size_t>(n))))
            return false;
        at += n;
    }
}

// The copy of the file's old content, named and on disk; -1 where none is made (the write fails),
// one left by a save cut short included.
int TAtomicFileWriter::KeepCopy(int target, const std::string& copyName)
{
    const std::string cutShort = CutShort(options_.ShownPath, name_);
    if (struct stat left; StatAt(folder_, copyName, left)) {
        Fail("write", cutShort.c_str());
        return -1;
    }
    std::string temp;
    const int copy = CreateLockedTemp(folder_, temp);
    if (copy < 0) {
        Fail("write", errno);
        return -1;
    }
    struct stat old;
    int error = fstat(target, &old) == 0 && CopyContent(target, copy) ? 0 : errno;
    // Readable by whom the file lets read it; where that cannot be said, by the saver alone.
    if (error == 0)
        ShareAccess(OpenPath(target), old, copy, false);
    if (error == 0)
        error = fsync(copy) == 0 ? NameAnew(copy, folder_, temp, copyName) : errno;
    if (error == 0) {
        FlushFolder(folder_);
        return copy;
    }
    if (!temp.empty())
        unlinkat(folder_, temp.c_str(), 0);
    close(copy);
    if (error == EEXIST)
        Fail("write", cutShort.c_str());
    else
        Fail("write", error);
    return -1;
}

TWriteResult TAtomicFileWriter::WriteInPlace()
{
    std::unique_ptr<TFileUpdateLock> own;
    if (!lock_) {
        own.reset(new TFileUpdateLock(folder_, name_, options_.ShownPath));
        if (!own->MaySave()) {
            FailWith(own->Message());
            return result_;
        }
    }
    const int target = openat(folder_, name_.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    struct stat now;
    if (target < 0 || fstat(target, &now) != 0)
        Fail("write", errno);
    else if (!S_ISREG(now.st_mode))
        Fail("write", "It is not a regular file.");
    const std::string copyName = CopyName(name_);
    const int copy = result_.Ok ? KeepCopy(target, copyName) : -1;
    if (copy >= 0) {
        AtStep(TSaveStep::CopyKept);
        std::string failure, what = "write";
        const bool written = CopyContent(fd_, target);
        const int error = errno;
        AtStep(TSaveStep::InPlaceWritten);
        if (!written)
            failure = std::strerror(error);
        else if (Injected(TAtomicWriteStep::InPlace))
            failure = std::strerror(ENOSPC);
        else if (options_.Finish && !(failure = options_.Finish(target)).empty())
            what = "keep the permissions of";
        if (failure.empty() && fsync(target) != 0)
            failure = std::strerror(errno);
        // The old content goes back where the new could not be written whole; the copy stays
        // where even that fails.
        if (failure.empty() || (CopyContent(copy, target) && fsync(target) == 0))
            unlinkat(folder_, copyName.c_str(), 0);
        else
            failure += ". Its old content is kept in " + copyName + ".";
        close(copy);
        if (!failure.empty())
            Fail(what.c_str(), failure.c_str());
    }
    if (target >= 0)
        close(target);
    if (result_.Ok) {
        Discard();
        committed_ = true;
    }
    errno = error_;
    return result_;
}
