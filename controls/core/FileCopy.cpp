// The chunked copy, moves, wildcard deletion and clearing a folder.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "controls/core/ExPrgrss.h"
#include "controls/core/FileTree.h"
#include "controls/core/FileUtil.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/Exceptions.h"
#include "platform/core/FilePaths.h"
#include "platform/core/StoredPath.h"

namespace {

constexpr size_t kCopyBlock = 8192;

class TFd {
public:
    explicit TFd(int fd) : fd_(fd) {}
    ~TFd()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

ssize_t ReadSome(int fd, char* buffer, size_t size)
{
    for (;;) {
        ssize_t n = read(fd, buffer, size);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

// The file operator serving the shell forms of the copy and the move.
void ShellOperation(TFileOperation operation, std::string_view from, std::string_view to, bool noConfirmation)
{
    TExFileOperator op(nullptr);
    op.Operation = operation;
    op.Source = AnsiString(from);
    op.Destination = AnsiString(to);
    op.Options &= ~FileOperFlag(flAllowUndo);
    if (noConfirmation)
        op.Options |= FileOperFlag(flNoConfirmation);
    if (!op.Execute() || op.OperationAborted())
        throw EAbort("Operation aborted");
}

}  // namespace

const char* NotARegularFile(mode_t mode)
{
    if (S_ISDIR(mode))
        return "It is a folder.";
    if (S_ISFIFO(mode))
        return "It is a named pipe.";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "It is a device.";
    if (S_ISSOCK(mode))
        return "It is a socket.";
    if (S_ISLNK(mode))
        return "It is a symbolic link.";
    return "It is not a regular file.";
}

void CopyNative(const TFileCopy& copy)
{
    // Names for messages, made only when one is raised.
    const auto fromName = [&copy] { return copy.FromName.empty() ? StoredPath(copy.From) : copy.FromName; };
    const auto toName = [&copy] { return copy.ToName.empty() ? StoredPath(copy.To) : copy.ToName; };
    // Looked at before it is opened: opening a FIFO would wait for a writer, a device may act on
    // being opened, a socket cannot be; and none of them has an end to copy up to.
    struct stat src;
    const int found = copy.FollowLink ? stat(copy.From.c_str(), &src) : lstat(copy.From.c_str(), &src);
    if (found == 0 && !S_ISREG(src.st_mode))
        throw EFOpenError("Cannot open file " + fromName() + ". " + NotARegularFile(src.st_mode));
    // Without waiting even if it was swapped for a FIFO since; checked again on what was opened.
    TFd source(
        open(copy.From.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (copy.FollowLink ? 0 : O_NOFOLLOW)));
    if (source.Get() < 0 || fstat(source.Get(), &src) != 0)
        throw EFOpenError("Cannot open file " + fromName());
    if (!S_ISREG(src.st_mode))
        throw EFOpenError("Cannot open file " + fromName() + ". " + NotARegularFile(src.st_mode));
    if (copy.Progress) {
        SetProgressMax(copy.Progress, static_cast<int64_t>(src.st_size));
        SetProgressMin(copy.Progress, 0);
        SetProgressValue(copy.Progress, 0);
    }
    if (copy.MakeFolder && copy.To.rfind('/') != std::string::npos && copy.To.rfind('/') > 0) {
        std::error_code ignored;  // a folder that cannot be made fails the create below
        std::filesystem::create_directories(copy.To.substr(0, copy.To.rfind('/')), ignored);
    }
    struct stat dest;
    if (copy.MustBeNew && lstat(copy.To.c_str(), &dest) == 0)
        throw EFCreateError("Cannot create file " + toName() + ". It already exists.");
    const bool exists = stat(copy.To.c_str(), &dest) == 0;
    // Writing onto the source would destroy it; a read-only file is not replaced unless asked.
    if (exists && dest.st_dev == src.st_dev && dest.st_ino == src.st_ino)
        throw EFCreateError("Cannot create file " + toName());
    if (exists && (dest.st_mode & 0222) == 0) {
        if (!copy.OverwriteReadOnly)
            throw EFCreateError("Cannot create file " + toName());
        chmod(copy.To.c_str(), (dest.st_mode & 07777) | S_IWUSR);
    }
    // The copy gets the source's permissions as it takes its name; until then its writer alone
    // may read it.
    TAtomicFileWriter writer(copy.To);
    writer.SetMode(src.st_mode & 0777);
    if (!writer.Ok())
        throw EFCreateError("Cannot create file " + toName());
    char buffer[kCopyBlock];
    int64_t copied = 0;
    for (;;) {
        if (copy.Tick && *copy.Tick && !(*copy.Tick)())
            throw EAbort("Operation aborted");
        const ssize_t n = ReadSome(source.Get(), buffer, sizeof buffer);
        if (n < 0)
            throw EReadError("Stream read error");
        if (n > 0 && !writer.Write(std::string_view(buffer, static_cast<size_t>(n))))
            throw EWriteError("Stream write error");
        copied += n;
        if (copy.Progress)
            SetProgressValue(copy.Progress, copied);
        if (static_cast<size_t>(n) < sizeof buffer)
            break;
    }
    if (!writer.Commit())
        throw EWriteError("Stream write error");
    const struct timespec times[2] = {src.st_atim, src.st_mtim};
    utimensat(AT_FDCWD, copy.To.c_str(), times, 0);
    if (copy.Progress)
        SetProgressValue(copy.Progress, 0);
}

void CopyFile(std::string_view from, std::string_view to, TObject* progress)
{
    CopyFileEx(from, to, false, false, progress);
}

void CopyFileEx(std::string_view from, std::string_view to, bool overwriteReadOnly, bool shellDialog, TObject* progress)
{
    if (shellDialog) {
        ShellOperation(foCopy, from, to, overwriteReadOnly);
        return;
    }
    TFileCopy copy;
    copy.FromName = AnsiString(from);
    copy.ToName = DirExists(to) ? NormalDir(to) + ExtractFileName(from) : AnsiString(to);
    copy.From = NativePath(copy.FromName);
    copy.To = NativePath(copy.ToName);
    copy.OverwriteReadOnly = overwriteReadOnly;
    copy.MakeFolder = true;
    copy.Progress = progress;
    CopyNative(copy);
}

void MoveFile(std::string_view from, std::string_view to)
{
    const std::string source = WithoutTrailingSlashes(NativePath(from)), dest = NativePath(to);
    if (rename(source.c_str(), dest.c_str()) == 0)
        return;
    // Another file system: copied, and then the source removed only as it was copied (its
    // permissions kept, so a read-only file stays read-only).
    TCopiedEntry copied;
    if (lstat(source.c_str(), &copied.Source) != 0)
        throw EFOpenError("Cannot open file " + AnsiString(from));
    CopyFile(from, to);
    TTreeRun run;
    if (!RemoveCopied(source, copied, run))
        throw EInOutError("Cannot delete file " + AnsiString(from) + ". " + run.Reason);
}

void MoveFileEx(std::string_view from, std::string_view to, bool shellDialog)
{
    if (!shellDialog) {
        MoveFile(from, to);
        return;
    }
    const bool sameFolder = SameText(ExtractFilePath(from), ExtractFilePath(to));
    ShellOperation(sameFolder ? foRename : foMove, from, to, true);
}

bool DeleteFiles(std::string_view mask)
{
    std::vector<TSearchRec> found;
    FindFiles(mask, found);
    const std::string folder = NativePath(ExtractFilePath(mask).empty() ? AnsiString(".") : ExtractFilePath(mask));
    bool any = false;
    for (const TSearchRec& rec : found) {
        if ((rec.Attr & faDirectory) || rec.Name[0] == '.')
            continue;
        any = true;
        if (unlink((folder + "/" + rec.Native).c_str()) != 0)
            return false;
    }
    return any;
}

bool DeleteFilesEx(const std::vector<AnsiString>& masks)
{
    for (const AnsiString& mask : masks)
        if (!DeleteFiles(mask))
            return false;
    return true;
}

bool ClearDir(std::string_view path, bool del)
{
    const std::string native = NativePath(path);
    if (!ClearFolder(native, del))
        return false;
    const bool bareDrive = path.size() == 2 && path[1] == ':';
    return !del || bareDrive || rmdir(native.c_str()) == 0;
}
