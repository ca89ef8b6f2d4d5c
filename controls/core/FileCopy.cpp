// The chunked copy, moves, wildcard deletion and clearing a folder.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <exception>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "controls/core/ExPrgrss.h"
#include "controls/core/FileTree.h"
#include "controls/core/FileUtil.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/Exceptions.h"
#include "platform/core/FilePaths.h"
#include "platform/core/StoredPath.h"

namespace {

constexpr size_t kCopyBlock = 8192;
constexpr const char* kNameMark = "\x01";
// Fresh names tried beside an entry before giving up.
constexpr int kFreshNameTries = 1000;

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
std::function<void(int64_t)> g_readHook;

// One read at the offset the descriptor stands at, EINTR retried; a read of 0 bytes is the end.
ssize_t ReadSome(int fd, char* buffer, size_t size, int64_t offset)
{
    if (g_readHook)
        g_readHook(offset);
    if (g_readMost)
        size = std::min(size, g_readMost);
    if (g_readEnd)
        size = static_cast<size_t>(
            std::min<int64_t>(static_cast<int64_t>(size), std::max<int64_t>(g_readEnd - offset, 0)));
    for (;;) {
        ssize_t n = read(fd, buffer, size);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

// Writes all of it at the offset; false with errno.
bool WriteAt(int fd, const char* data, size_t size, int64_t offset)
{
    while (size > 0) {
        const ssize_t n = pwrite(fd, data, size, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            errno = n == 0 ? ENOSPC : errno;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
        offset += n;
    }
    return true;
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

}  // namespace

void SetCopyReads(size_t most, int64_t end)
{
    g_readMost = most;
    g_readEnd = end;
}

void SetCopyReadHook(std::function<void(int64_t offset)> hook) { g_readHook = std::move(hook); }

TEntryState StateOf(const struct stat& st)
{
    return {st.st_dev, st.st_ino, st.st_mode, st.st_size, st.st_mtim, st.st_ctim};
}

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

int ReplaceThroughFreshName(int folder, const std::string& name, const std::function<int(const std::string&)>& make)
{
    for (int n = 0; n < kFreshNameTries; ++n) {
        const std::string fresh = ".~hanmud-copy-" + std::to_string(getpid()) + "-" + std::to_string(n) + "~";
        if (const int error = make(fresh); error == EEXIST)
            continue;
        else if (error != 0)
            return error;
        if (renameat(folder, fresh.c_str(), folder, name.c_str()) == 0)
            return 0;
        const int error = errno;
        unlinkat(folder, fresh.c_str(), 0);
        return error;
    }
    return EEXIST;
}

namespace {

AnsiString Why(int error) { return ". " + SystemReason(error) + "."; }

using TName = std::function<AnsiString()>;

// The source opened for reading: only a regular file. Looked at before it is opened: opening a
// FIFO would wait for a writer, a device may act on being opened, a socket cannot be; and none of
// them has an end to copy up to. Opened without waiting even if it was swapped for a FIFO since,
// and checked again on what was opened.
int OpenSource(const TFileCopy& copy, struct stat& src, const TName& fromName)
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
// asked to replace it. Answers whether the destination is such a read-only file to replace: it is
// replaced as the entry it is, never made writable, nor the file a link there leads to.
bool CheckDestination(const TFileCopy& copy, const struct stat& src, const TName& toName)
{
    if (copy.MakeFolder && copy.To.rfind('/') != std::string::npos && copy.To.rfind('/') > 0) {
        std::error_code ignored;  // a folder that cannot be made fails the create below
        std::filesystem::create_directories(copy.To.substr(0, copy.To.rfind('/')), ignored);
    }
    struct stat entry, target;
    if (fstatat(copy.ToFolder, copy.To.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno != ENOENT)  // a name too long, a folder that cannot be searched
            throw EFCreateError("Cannot create file " + toName() + Why(errno));
        return false;
    }
    if (copy.MustBeNew)
        throw EFCreateError("Cannot create file " + toName() + ". It already exists.");
    const bool reached = fstatat(copy.ToFolder, copy.To.c_str(), &target, 0) == 0;
    if (reached && SameEntry(StateOf(src), target))
        throw EFCreateError("Cannot create file " + toName());
    // The writer follows a link at a path to its file, and replaces one in a tree's folder itself.
    const struct stat& replaced = reached && copy.ToFolder == AT_FDCWD ? target : entry;
    if (!S_ISREG(replaced.st_mode) || (replaced.st_mode & 0222) != 0)
        return false;
    if (!copy.OverwriteReadOnly)
        throw EFCreateError("Cannot create file " + toName() + ". The file is read-only.");
    return true;
}

// Copies the source's bytes into `out` at their own offsets, reading until the source ends. A
// source holding fewer blocks than its size needs may have holes: then only its data is read,
// from where the system says data starts to where the next hole does, and a hole at its end is
// given by the copy's size, so the copy's holes stay holes too. The copy's size.
int64_t CopyData(const TFileCopy& copy, int in, int out, const struct stat& src, const TName& fromName,
                 const TName& toName)
{
    const auto readFailed = [&fromName] {
        const int error = errno;
        return EReadError("Cannot read file " + fromName() + Why(error));
    };
    const auto writeFailed = [&toName] {
        const int error = errno;
        return EWriteError("Cannot write file " + toName() + ". " + SystemReason(error));
    };
    const bool mayHaveHoles = static_cast<int64_t>(src.st_blocks) * 512 < static_cast<int64_t>(src.st_size);
    char buffer[kCopyBlock];
    int64_t at = 0;
    for (;;) {
        int64_t stop = INT64_MAX;  // the next hole
        if (mayHaveHoles) {
            const off_t data = lseek(in, at, SEEK_DATA);
            if (data < 0 && errno == ENXIO) {  // a hole to the end
                struct stat now;
                if (fstat(in, &now) != 0)
                    throw readFailed();
                if (now.st_size > at && ftruncate(out, now.st_size) != 0)
                    throw writeFailed();
                return std::max<int64_t>(at, now.st_size);
            }
            if (data >= 0) {  // else a file system that cannot tell: read on
                const off_t hole = lseek(in, data, SEEK_HOLE);
                at = data;
                stop = hole > data ? hole : INT64_MAX;
            }
            if (lseek(in, at, SEEK_SET) < 0)
                throw readFailed();
        }
        while (at < stop) {
            if (copy.Tick && *copy.Tick && !(*copy.Tick)())
                throw EAbort("Operation aborted");
            const ssize_t n = ReadSome(in, buffer, static_cast<size_t>(std::min<int64_t>(kCopyBlock, stop - at)), at);
            if (n < 0)
                throw readFailed();
            if (n == 0)
                return at;
            if (!WriteAt(out, buffer, static_cast<size_t>(n), at))
                throw writeFailed();
            at += n;
            if (copy.Progress)
                SetProgressValue(copy.Progress, at);
        }
    }
}

}  // namespace

void CopyNative(const TFileCopy& copy, TEntryState* source, TEntryState* made)
{
    const TName fromName = [&copy] { return Named(copy.FromName, copy.From); };
    const TName toName = [&copy] { return Named(copy.ToName, copy.To); };
    // The writer names the file by a mark that becomes its name only in a message: a tree's
    // path is spelt for the user only when something failed.
    const auto failed = [&toName](const TWriteResult& result) {
        AnsiString message = result.Message;
        const size_t mark = message.find(kNameMark);
        return mark == AnsiString::npos ? message : message.replace(mark, 1, toName());
    };
    struct stat src;  // as it was before its first read: a move keeps a source changed since
    const TFd in(OpenSource(copy, src, fromName));
    if (copy.Progress) {
        SetProgressMax(copy.Progress, static_cast<int64_t>(src.st_size));
        SetProgressMin(copy.Progress, 0);
        SetProgressValue(copy.Progress, 0);
    }
    const bool beside = CheckDestination(copy, src, toName);
    TAtomicWriteOptions options;
    options.Flush = copy.Flush;
    options.Replace = !copy.MustBeNew && !beside;
    options.ShownPath = kNameMark;
    // The data goes in while the file is its writer's alone and has no name; then it takes the
    // source's group, attributes, permissions and time, so a copy that cannot have them replaces
    // nothing: it would let in whom the source kept out.
    std::exception_ptr failure;
    struct stat now = {};
    options.Finish = [&](int written) {
        try {
            const int64_t end = CopyData(copy, in.Get(), written, src, fromName, toName);
            if (copy.MustBeWhole && end < static_cast<int64_t>(src.st_size))
                throw EReadError("Cannot read file " + fromName() + ". It ended after " + std::to_string(end) +
                                 " of its " + std::to_string(src.st_size) + " bytes.");
            std::string refusal = KeepOwnershipAndMode(in.Get(), src, written, 0777);
            const struct timespec times[2] = {src.st_atim, src.st_mtim};
            futimens(written, times);
            if (refusal.empty() && fstat(written, &now) != 0)
                refusal = std::strerror(errno);
            return refusal;
        } catch (...) {
            failure = std::current_exception();
            return std::string("-");
        }
    };
    const auto write = [&](TAtomicFileWriter& writer) {
        writer.SetMode(S_IRUSR | S_IWUSR);
        if (!writer.Ok())
            throw EFCreateError(failed(writer.Commit()));
        const TWriteResult written = writer.Commit();
        if (failure)
            std::rethrow_exception(failure);
        if (!written)
            throw EWriteError(failed(written));
    };
    if (!beside) {
        std::optional<TAtomicFileWriter> writer;
        if (copy.ToFolder == AT_FDCWD)
            writer.emplace(copy.To, options);
        else
            writer.emplace(copy.ToFolder, copy.To, options);
        write(*writer);
    } else {
        std::string folderPath, name = copy.To;
        if (copy.ToFolder == AT_FDCWD)
            SplitPath(copy.To, folderPath, name);
        const TFd opened(copy.ToFolder == AT_FDCWD ? open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1);
        const int folder = copy.ToFolder == AT_FDCWD ? opened.Get() : copy.ToFolder;
        if (folder < 0)
            throw EFCreateError("Cannot create file " + toName() + Why(errno));
        const int error = ReplaceThroughFreshName(folder, name, [&](const std::string& fresh) {
            TAtomicFileWriter writer(folder, fresh, options);
            if (!writer.Ok()) {
                const TWriteResult refused = writer.Commit();
                if (errno == EEXIST)
                    return EEXIST;
                throw EFCreateError(failed(refused));
            }
            write(writer);
            return 0;
        });
        if (error != 0)
            throw EWriteError("Cannot replace file " + toName() + ". " + SystemReason(error) + ".");
        if (copy.Flush)
            fsync(folder);
    }
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
    // A read-only file is not replaced, on this file system as across file systems; a link is
    // replaced itself, whatever it leads to.
    struct stat there, moved;
    if (lstat(dest.c_str(), &there) == 0 && S_ISREG(there.st_mode) && (there.st_mode & 0222) == 0 &&
        !(lstat(source.c_str(), &moved) == 0 && SameEntry(StateOf(moved), there)))
        throw EFCreateError("Cannot create file " + toName + ". The file is read-only.");
    if (rename(source.c_str(), dest.c_str()) == 0)
        return;
    // Another file system: copied whole into the destination's folder and on disk, and then the
    // source removed only as it was before the copy read it (its permissions kept, so a read-only
    // file stays read-only).
    std::string folder, name;
    SplitPath(dest, folder, name);
    std::error_code ignored;  // a folder that cannot be made fails the open below
    std::filesystem::create_directories(folder, ignored);
    const TFd into(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (into.Get() < 0)
        throw EFCreateError("Cannot create file " + toName + Why(errno));
    TFileCopy copy;
    copy.FromName = [fromName] { return fromName; };
    copy.ToName = [toName] { return toName; };
    copy.From = source;
    copy.ToFolder = into.Get();
    copy.To = name;
    copy.Flush = false;  // the file system is flushed below
    copy.MustBeWhole = true;
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
