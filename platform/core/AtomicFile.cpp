#include "platform/core/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
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

// The temporary file of a save is ".NAME.tmp-" and six letters or digits (mkostemp's).
static bool IsTempOf(std::string_view entry, std::string_view prefix)
{
    if (entry.size() != prefix.size() + 6 || !entry.starts_with(prefix))
        return false;
    for (char c : entry.substr(prefix.size()))
        if (!std::isalnum(static_cast<unsigned char>(c)))
            return false;
    return true;
}

// Removes what saves of this file killed midway left behind. A writer holds an exclusive lock
// on its temporary file from creating it until it is renamed or removed, and the system drops
// that lock when the writer dies, however it dies: a temporary file whose lock can be taken has
// no live writer. Only regular files named for this file in its folder are looked at.
static void RemoveStaleTemps(const std::string& folder, const std::string& prefix)
{
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = readdir(dir)) {
        if (!IsTempOf(entry->d_name, prefix))
            continue;
        const std::string path = folder + "/" + entry->d_name;
        int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            fd = open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat held, named;
        // The name must still be the file locked: never remove a file that took its place.
        if (fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            lstat(path.c_str(), &named) == 0 && named.st_dev == held.st_dev && named.st_ino == held.st_ino)
            unlink(path.c_str());
        close(fd);
    }
    closedir(dir);
}

TAtomicFileWriter::TAtomicFileWriter(std::string nativePath) : path_(std::move(nativePath))
{
    // Writing through a symbolic link replaces the file it points to, not the link.
    char resolved[PATH_MAX];
    struct stat linkInfo;
    if (lstat(path_.c_str(), &linkInfo) == 0 && S_ISLNK(linkInfo.st_mode) && realpath(path_.c_str(), resolved))
        path_ = resolved;

    // Only a regular file is replaced: a pipe or a device cannot be written whole or kept as
    // it was, and renaming over one would destroy the node. A file set read-only is refused as
    // a save dialog refuses it, also for root, who could write it anyway.
    struct stat old;
    const bool exists = stat(path_.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        Fail("create", "It is not a regular file.");
        return;
    }
    if (exists && ((old.st_mode & 0222) == 0 || faccessat(AT_FDCWD, path_.c_str(), W_OK, AT_EACCESS) != 0)) {
        Fail("create", "The file is read-only.");
        return;
    }

    size_t slash = path_.rfind('/');
    std::string name = slash == std::string::npos ? path_ : path_.substr(slash + 1);
    const std::string prefix = "." + name + ".tmp-";
    RemoveStaleTemps(FolderOf(path_), prefix);
    if (Injected(TAtomicWriteStep::Create)) {
        Fail("create", EACCES);
        return;
    }
    // Locked at once, so no other save of this file takes it for one left by a killed save.
    // One that such a save locked first is being removed by it: another is made. Where the
    // file system has no locks, no save can lock the file either, so none removes it.
    int error = EAGAIN;
    for (int attempt = 0; attempt < 3 && fd_ < 0; ++attempt) {
        tempPath_ = FolderOf(path_) + "/" + prefix + "XXXXXX";
        fd_ = mkostemp(tempPath_.data(), O_CLOEXEC);
        if (fd_ < 0) {
            error = errno;
            break;
        }
        struct stat made;
        const bool locked = flock(fd_, LOCK_EX | LOCK_NB) == 0;
        if (locked ? fstat(fd_, &made) == 0 && made.st_nlink > 0 : errno != EWOULDBLOCK)
            break;
        close(fd_);
        fd_ = -1;
    }
    if (fd_ < 0) {
        tempPath_.clear();
        Fail("create", error);
        return;
    }
    // The new file keeps the old one's permissions, or gets the usual ones for a new file.
    mode_t mode;
    if (exists) {
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
