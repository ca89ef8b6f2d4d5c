#include "platform/core/AtomicFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/core/AtomicFilePaths.h"
#include "platform/core/Cp949.h"
#include "platform/core/Exceptions.h"

using namespace SavePaths;

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

// Waits for an exclusive lock. False only where the file system has none.
static bool LockExclusive(int fd)
{
    while (flock(fd, LOCK_EX) != 0)
        if (errno != EINTR)
            return false;
    return true;
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

TAtomicFileWriter::TAtomicFileWriter(std::string nativePath) : path_(std::move(nativePath))
{
    // Refused before anything is made: the folder of an empty name would be the current one.
    if (path_.empty()) {
        Fail("create", "The file has no name.");
        return;
    }
    std::string target;
    if (const std::string refusal = SavedFile(path_, target); !refusal.empty()) {
        Fail("create", refusal.c_str());
        return;
    }
    path_ = target;
    // Only a regular file is replaced: a pipe or a device cannot be written whole or kept as
    // it was, and renaming over one would destroy the node. A file set read-only is refused as
    // a save dialog refuses it, also for root, who could write it anyway. Not followed again: a
    // link put at the name since is no regular file.
    struct stat old;
    const bool exists = lstat(path_.c_str(), &old) == 0;
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
    // a new file. Owner now, permissions at Commit: a change of owner clears the set-id bits.
    if (exists)
        GiveOwnerOf(fd_, old);
    mode_ = exists ? old.st_mode & 07777 : NewFileMode();
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
    // After the last write, which clears the set-id bits when the saver lacks root's rights.
    fchmod(fd_, mode_);
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
