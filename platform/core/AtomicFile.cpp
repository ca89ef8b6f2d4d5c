#include "platform/core/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/core/Cp949.h"
#include "platform/core/Exceptions.h"

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

static std::string FolderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

TAtomicFileWriter::TAtomicFileWriter(std::string nativePath) : path_(std::move(nativePath))
{
    // Writing through a symbolic link replaces the file it points to, not the link.
    char resolved[PATH_MAX];
    struct stat linkInfo;
    if (lstat(path_.c_str(), &linkInfo) == 0 && S_ISLNK(linkInfo.st_mode) && realpath(path_.c_str(), resolved))
        path_ = resolved;

    size_t slash = path_.rfind('/');
    std::string name = slash == std::string::npos ? path_ : path_.substr(slash + 1);
    tempPath_ = FolderOf(path_) + "/." + name + ".tmp-XXXXXX";
    if (Injected(TAtomicWriteStep::Create)) {
        Fail("create", EACCES);
        return;
    }
    fd_ = mkostemp(tempPath_.data(), O_CLOEXEC);
    if (fd_ < 0) {
        int error = errno;
        tempPath_.clear();
        Fail("create", error);
        return;
    }
    // The new file keeps the old one's permissions, or gets the usual ones for a new file.
    struct stat old;
    mode_t mode;
    if (stat(path_.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    fchmod(fd_, mode);
}

TAtomicFileWriter::~TAtomicFileWriter()
{
    if (!committed_)
        Discard();
}

void TAtomicFileWriter::Fail(const char* what, int error)
{
    if (!result_.Ok)
        return;
    result_.Ok = false;
    result_.Message = Utf8ToCp949(std::string("Cannot ") + what + " file " + path_ + ". " + std::strerror(error));
    Discard();
}

void TAtomicFileWriter::Discard()
{
    if (fd_ >= 0) {
        close(fd_);
        fd_ = -1;
    }
    if (!tempPath_.empty()) {
        unlink(tempPath_.c_str());
        tempPath_.clear();
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
    if (fsync(fd_) != 0) {
        Fail("write", errno);
        return result_;
    }
    int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0) {
        Fail("write", errno);
        return result_;
    }
    if (Injected(TAtomicWriteStep::Rename)) {
        Fail("replace", EACCES);
        return result_;
    }
    if (rename(tempPath_.c_str(), path_.c_str()) != 0) {
        Fail("replace", errno);
        return result_;
    }
    tempPath_.clear();
    committed_ = true;
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
