#include "platform/core/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/core/AtomicFilePaths.h"
#include "platform/core/Cp949.h"
#include "platform/core/Exceptions.h"
#include "platform/core/ExtendedAttributes.h"

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
    // The new file keeps the old one's owner, group, permissions and attributes, or gets the
    // usual permissions for a new file: all given at Commit, once the data is written.
    exists_ = exists;
    if (exists)
        old_ = old;
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
    // The owner only now that the data is written, the permissions after: while the file was the
    // owner's and still to be written, its owner could write into it and keep it open for writing
    // once it has set-id bits of a group the owner is not in; a change of owner clears them, and
    // so does a write by a saver without root's rights.
    if (exists_) {
        GiveOwnerOf(fd_, old_);
        if (const std::string refusal = KeepExtendedAttributes(path_, fd_); !refusal.empty()) {
            Fail("keep the access list of", refusal.c_str());
            return result_;
        }
    }
    fchmod(fd_, mode_);
    if (fsync(fd_) != 0) {
        Fail("write", errno);
        return result_;
    }
    if (Injected(TAtomicWriteStep::Rename)) {
        Fail("replace", EACCES);
        return result_;
    }
    // Named only now, whole and with its owner and permissions: nobody could open it before.
    if (tempPath_.empty() && !NameTemp(fd_, FolderOf(path_), tempPath_)) {
        Fail("replace", errno);
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
