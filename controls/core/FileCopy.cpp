// The chunked copy, moves, wildcard deletion and clearing a folder.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "controls/core/ExPrgrss.h"
#include "controls/core/FileShared.h"
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

bool ClearNative(const std::string& dir, bool del, bool bareDrive)
{
    struct stat st;
    bool ok = stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    std::vector<std::string> names;
    const bool listed = ListFolder(dir, names);
    for (const std::string& name : names) {
        // Names starting with "." are skipped, so such entries keep their folder.
        if (name[0] == '.')
            continue;
        const std::string path = dir + "/" + name;
        struct stat entry;
        if (lstat(path.c_str(), &entry) != 0) {
            ok = false;
        } else if (S_ISDIR(entry.st_mode)) {
            ok = ClearNative(path, del, false) && ok;
        } else {
            // A symbolic link is removed itself, whatever it points to.
            if (!S_ISLNK(entry.st_mode) && (entry.st_mode & 0222) == 0)
                chmod(path.c_str(), (entry.st_mode & 07777) | S_IWUSR);
            if (unlink(path.c_str()) != 0)
                ok = false;
        }
    }
    if (del && ok && listed && !bareDrive && rmdir(dir.c_str()) != 0)
        ok = false;
    return ok && listed;
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

void CopyNative(const std::string& from, const std::string& to, std::string_view fromName, std::string_view toName,
                bool overwriteReadOnly, TObject* progress)
{
    TFd source(open(from.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat src;
    if (source.Get() < 0 || fstat(source.Get(), &src) != 0 || S_ISDIR(src.st_mode))
        throw EFOpenError("Cannot open file " + AnsiString(fromName));
    if (progress) {
        SetProgressMax(progress, static_cast<int64_t>(src.st_size));
        SetProgressMin(progress, 0);
        SetProgressValue(progress, 0);
    }
    const std::string folder = to.substr(0, to.rfind('/'));
    if (!folder.empty())
        ForceDirectories(StoredPath(folder));
    struct stat dest;
    const bool exists = stat(to.c_str(), &dest) == 0;
    // Writing onto the source would destroy it; a read-only file is not replaced unless asked.
    if (exists && dest.st_dev == src.st_dev && dest.st_ino == src.st_ino)
        throw EFCreateError("Cannot create file " + AnsiString(toName));
    if (exists && (dest.st_mode & 0222) == 0) {
        if (!overwriteReadOnly)
            throw EFCreateError("Cannot create file " + AnsiString(toName));
        chmod(to.c_str(), (dest.st_mode & 07777) | S_IWUSR);
    }
    TAtomicFileWriter writer(to);
    if (!writer.Ok())
        throw EFCreateError("Cannot create file " + AnsiString(toName));
    char buffer[kCopyBlock];
    int64_t copied = 0;
    for (;;) {
        const ssize_t n = ReadSome(source.Get(), buffer, sizeof buffer);
        if (n < 0)
            throw EReadError("Stream read error");
        if (n > 0 && !writer.Write(std::string_view(buffer, static_cast<size_t>(n))))
            throw EWriteError("Stream write error");
        copied += n;
        if (progress)
            SetProgressValue(progress, copied);
        if (static_cast<size_t>(n) < sizeof buffer)
            break;
    }
    if (!writer.Commit())
        throw EWriteError("Stream write error");
    const struct timespec times[2] = {src.st_atim, src.st_mtim};
    utimensat(AT_FDCWD, to.c_str(), times, 0);
    if (progress)
        SetProgressValue(progress, 0);
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
    AnsiString dest(to);
    if (DirExists(to))
        dest = NormalDir(to) + ExtractFileName(from);
    CopyNative(NativePath(from), NativePath(dest), from, dest, overwriteReadOnly, progress);
}

void MoveFile(std::string_view from, std::string_view to)
{
    const std::string source = NativePath(from), dest = NativePath(to);
    if (rename(source.c_str(), dest.c_str()) == 0)
        return;
    const int attr = FileGetAttr(from);
    if (attr >= 0 && (attr & faReadOnly))
        FileSetAttr(from, attr & ~faReadOnly);
    CopyFile(from, to);
    if (unlink(source.c_str()) != 0)
        throw EInOutError("Cannot delete file " + AnsiString(from));
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
    if (native.empty() || native == "/")
        return false;
    const bool bareDrive = path.size() == 2 && path[1] == ':';
    return ClearNative(native, del, bareDrive);
}
