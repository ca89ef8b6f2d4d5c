// The chunked copy, moves, wildcard deletion and clearing a folder.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "controls/core/ExPrgrss.h"
#include "controls/core/FileTree.h"
#include "controls/core/FileUtil.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/Exceptions.h"
#include "platform/core/ExtendedAttributes.h"
#include "platform/core/FilePaths.h"
#include "platform/core/StoredPath.h"

namespace {

constexpr size_t kCopyBlock = 8192;
constexpr const char* kNameMark = "\x01";

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
    int Release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

size_t g_readMost = 0;
int64_t g_readEnd = 0;

// One read, EINTR retried; a read of 0 bytes is the end.
ssize_t ReadSome(int fd, char* buffer, size_t size, int64_t done)
{
    if (g_readMost)
        size = std::min(size, g_readMost);
    if (g_readEnd)
        size =
            static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(size), std::max<int64_t>(g_readEnd - done, 0)));
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

AnsiString Named(const std::function<AnsiString()>& name, const std::string& fallback)
{
    return name ? name() : StoredPath(fallback);
}

// Gives the copy just named what the source has that the writer does not give it: its access
// list and extended attributes, then its permissions (the file stayed its writer's alone till
// now) and modification time. Empty when done, else why not.
std::string FinishCopy(int source, const struct stat& src, int made)
{
    if (const std::string refusal = KeepExtendedAttributes(source, made); !refusal.empty())
        return refusal;
    if (fchmod(made, src.st_mode & 0777) != 0)
        return std::strerror(errno);
    const struct timespec times[2] = {src.st_atim, src.st_mtim};
    futimens(made, times);
    return std::string();
}

}  // namespace

void SetCopyReads(size_t most, int64_t end)
{
    g_readMost = most;
    g_readEnd = end;
}

TEntryState StateOf(const struct stat& st) { return {st.st_dev, st.st_ino, st.st_mode, st.st_size, st.st_mtim}; }

bool SameEntry(const TEntryState& a, const struct stat& b) { return a.Dev == b.st_dev && a.Ino == b.st_ino; }

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

namespace {

AnsiString Why(int error) { return ". " + SystemReason(error) + "."; }

// The source opened for reading: only a regular file. Looked at before it is opened: opening a
// FIFO would wait for a writer, a device may act on being opened, a socket cannot be; and none of
// them has an end to copy up to. Opened without waiting even if it was swapped for a FIFO since,
// and checked again on what was opened.
int OpenSource(const TFileCopy& copy, struct stat& src, const std::function<AnsiString()>& fromName)
{
    const int nofollow = copy.FollowLink ? 0 : AT_SYMLINK_NOFOLLOW;
    if (fstatat(copy.FromFolder, copy.From.c_str(), &src, nofollow) == 0 && !S_ISREG(src.st_mode))
        throw EFOpenError("Cannot open file " + fromName() + ". " + NotARegularFile(src.st_mode));
    TFd in(openat(copy.FromFolder, copy.From.c_str(),
                  O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (copy.FollowLink ? 0 : O_NOFOLLOW)));
    if (in.Get() < 0 || fstat(in.Get(), &src) != 0)
        throw EFOpenError("Cannot open file " + fromName() + Why(errno));
    if (!S_ISREG(src.st_mode))
        throw EFOpenError("Cannot open file " + fromName() + ". " + NotARegularFile(src.st_mode));
    return in.Release();
}

// Refuses a destination the copy may not write: a name the system refuses, an entry where a new
// one must be made, the source itself (writing onto it would destroy it), a read-only file unless
// asked to replace it (which then may be written).
void CheckDestination(const TFileCopy& copy, const struct stat& src, const std::function<AnsiString()>& toName)
{
    if (copy.MakeFolder && copy.To.rfind('/') != std::string::npos && copy.To.rfind('/') > 0) {
        std::error_code ignored;  // a folder that cannot be made fails the create below
        std::filesystem::create_directories(copy.To.substr(0, copy.To.rfind('/')), ignored);
    }
    struct stat dest;
    const bool entry = fstatat(copy.ToFolder, copy.To.c_str(), &dest, AT_SYMLINK_NOFOLLOW) == 0;
    if (!entry && errno != ENOENT)  // a name too long, a folder that cannot be searched
        throw EFCreateError("Cannot create file " + toName() + Why(errno));
    if (entry && copy.MustBeNew)
        throw EFCreateError("Cannot create file " + toName() + ". It already exists.");
    const bool exists = entry && fstatat(copy.ToFolder, copy.To.c_str(), &dest, 0) == 0;
    if (exists && SameEntry(StateOf(src), dest))
        throw EFCreateError("Cannot create file " + toName());
    if (exists && (dest.st_mode & 0222) == 0) {
        if (!copy.OverwriteReadOnly)
            throw EFCreateError("Cannot create file " + toName() + ". The file is read-only.");
        fchmodat(copy.ToFolder, copy.To.c_str(), (dest.st_mode & 07777) | S_IWUSR, 0);
    }
}

}  // namespace

void CopyNative(const TFileCopy& copy, TEntryState* source, TEntryState* made)
{
    const std::function<AnsiString()> fromName = [&copy] { return Named(copy.FromName, copy.From); };
    const std::function<AnsiString()> toName = [&copy] { return Named(copy.ToName, copy.To); };
    // The writer names the file by a mark that becomes its name only in a message: a tree's
    // path is spelt for the user only when something failed.
    const auto failed = [&toName](const TWriteResult& result) {
        AnsiString message = result.Message;
        const size_t mark = message.find(kNameMark);
        return mark == AnsiString::npos ? message : message.replace(mark, 1, toName());
    };
    struct stat src;
    const TFd in(OpenSource(copy, src, fromName));
    if (copy.Progress) {
        SetProgressMax(copy.Progress, static_cast<int64_t>(src.st_size));
        SetProgressMin(copy.Progress, 0);
        SetProgressValue(copy.Progress, 0);
    }
    CheckDestination(copy, src, toName);
    TAtomicWriteOptions options;
    options.Flush = copy.Flush;
    options.Replace = !copy.MustBeNew;
    options.ShownPath = kNameMark;
    // The copy takes the source's attributes, permissions and time before it has its name, so a
    // copy that cannot have them replaces nothing: it would let in whom the source kept out.
    struct stat now = {};
    options.Finish = [&](int written) {
        std::string refusal = FinishCopy(in.Get(), src, written);
        if (refusal.empty() && fstat(written, &now) != 0)
            refusal = std::strerror(errno);
        return refusal;
    };
    std::optional<TAtomicFileWriter> writer;
    if (copy.ToFolder == AT_FDCWD)
        writer.emplace(copy.To, options);
    else
        writer.emplace(copy.ToFolder, copy.To, options);
    writer->SetMode(S_IRUSR | S_IWUSR);
    if (!writer->Ok())
        throw EFCreateError(failed(writer->Commit()));
    char buffer[kCopyBlock];
    int64_t copied = 0;
    for (;;) {
        if (copy.Tick && *copy.Tick && !(*copy.Tick)())
            throw EAbort("Operation aborted");
        const ssize_t n = ReadSome(in.Get(), buffer, sizeof buffer, copied);
        if (n < 0)
            throw EReadError("Cannot read file " + fromName() + Why(errno));
        if (n == 0)
            break;
        if (!writer->Write(std::string_view(buffer, static_cast<size_t>(n))))
            throw EWriteError(failed(writer->Commit()));
        copied += n;
        if (copy.Progress)
            SetProgressValue(copy.Progress, copied);
    }
    // A copy shorter than its source (a file system that gave up early) is no copy of it.
    if (fstat(in.Get(), &src) != 0 || copied < static_cast<int64_t>(src.st_size))
        throw EReadError("Cannot read file " + fromName() + ". It ended after " + std::to_string(copied) + " of its " +
                         std::to_string(src.st_size) + " bytes.");
    if (const TWriteResult written = writer->Commit(); !written)
        throw EWriteError(failed(written));
    if (source)
        *source = StateOf(src);
    if (made)
        *made = StateOf(now);
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
    const AnsiString fromName(from), toName = DirExists(to) ? NormalDir(to) + ExtractFileName(from) : AnsiString(to);
    copy.FromName = [fromName] { return fromName; };
    copy.ToName = [toName] { return toName; };
    copy.From = NativePath(fromName);
    copy.To = NativePath(toName);
    copy.OverwriteReadOnly = overwriteReadOnly;
    copy.MakeFolder = true;
    copy.Progress = progress;
    CopyNative(copy);
}

void MoveFile(std::string_view from, std::string_view to)
{
    const AnsiString fromName(from);
    const AnsiString toName = DirExists(to) ? NormalDir(to) + ExtractFileName(RemoveBackSlash(from)) : AnsiString(to);
    const std::string source = WithoutTrailingSlashes(NativePath(fromName)), dest = NativePath(toName);
    // A read-only file is not replaced, on this file system as across file systems.
    struct stat there, moved;
    if (stat(dest.c_str(), &there) == 0 && !S_ISDIR(there.st_mode) && (there.st_mode & 0222) == 0 &&
        !(lstat(source.c_str(), &moved) == 0 && SameEntry(StateOf(moved), there)))
        throw EFCreateError("Cannot create file " + toName + ". The file is read-only.");
    if (rename(source.c_str(), dest.c_str()) == 0)
        return;
    // Another file system: copied and on disk, and then the source removed only as it was copied
    // (its permissions kept, so a read-only file stays read-only).
    TFileCopy copy;
    copy.FromName = [fromName] { return fromName; };
    copy.ToName = [toName] { return toName; };
    copy.From = source;
    copy.To = dest;
    copy.MakeFolder = true;
    copy.Flush = false;  // the file system is flushed below
    TCopiedEntry copied;
    CopyNative(copy, &copied.Source, &copied.Made);
    if (!FlushFileSystem(dest))
        throw EWriteError("Cannot write file " + toName + ". " + SystemReason(errno) + ".");
    TTreeRun run;
    if (!RemoveCopied(source, {copied}, run))
        throw EInOutError("Cannot delete file " + fromName + ". " + run.Reason);
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
        if (unlink((folder + "/" + rec.Native).c_str()) != 0 && errno != ENOENT)  // gone meanwhile: as asked
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
