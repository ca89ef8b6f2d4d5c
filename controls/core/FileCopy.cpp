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
#include <system_error>
#include <utility>

#include "controls/core/ExPrgrss.h"
#include "controls/core/FileTree.h"
#include "controls/core/FileUtil.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/AtomicFilePaths.h"
#include "platform/core/Cp949.h"
#include "platform/core/Exceptions.h"
#include "platform/core/FilePaths.h"
#include "platform/core/StoredPath.h"

namespace {

constexpr size_t kCopyBlock = 8192;
constexpr const char* kNameMark = "\x01";
// Fresh names tried beside an entry before giving up.
constexpr int kFreshNameTries = 100;
constexpr const char* kKeptPrefix = ".~hanmud-kept-";

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
    void Reset(int fd)
    {
        if (fd_ >= 0)
            close(fd_);
        fd_ = fd;
    }

private:
    int fd_;
};

size_t g_readMost = 0;
int64_t g_readEnd = 0;
std::function<void(int64_t)> g_readHook;
std::function<void(int64_t)> g_noMoreDataHook;

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

void SetCopyNoMoreDataHook(std::function<void(int64_t offset)> hook) { g_noMoreDataHook = std::move(hook); }

TEntryState StateOf(const struct stat& st)
{
    return {st.st_dev, st.st_ino, st.st_mode, st.st_size, st.st_mtim, st.st_ctim, std::string()};
}

bool SameEntry(const TEntryState& a, const struct stat& b) { return a.Dev == b.st_dev && a.Ino == b.st_ino; }

std::string HandleAt(int folder, const std::string& name)
{
    alignas(struct file_handle) unsigned char room[sizeof(struct file_handle) + MAX_HANDLE_SZ];
    auto* handle = reinterpret_cast<struct file_handle*>(room);
    handle->handle_bytes = MAX_HANDLE_SZ;
    int mount;
    if (name_to_handle_at(folder, name.c_str(), handle, &mount, name.empty() ? AT_EMPTY_PATH : 0) != 0)
        return std::string();
    return std::string(reinterpret_cast<const char*>(handle->f_handle), handle->handle_bytes);
}

bool IsMade(const TEntryState& made, int folder, const std::string& name, const struct stat& now)
{
    if (made.Ino == 0 || !SameEntry(made, now))
        return false;
    // A file system that gives no handle: the node is all there is to go by.
    return made.Handle.empty() || HandleAt(folder, name) == made.Handle;
}

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

int ReplaceThroughFreshName(int folder, const std::string& name, const std::function<int(const std::string&)>& make,
                            TReplacedEntry* replaced)
{
    struct stat there;
    const bool keep = replaced && fstatat(folder, name.c_str(), &there, AT_SYMLINK_NOFOLLOW) == 0;
    for (int n = 0; n < kFreshNameTries; ++n) {
        // The temporary name's random letters, under a prefix no clean-up takes.
        std::string fresh = SavePaths::TempName();
        if (keep)
            fresh = kKeptPrefix + fresh.substr(fresh.rfind('-') + 1);
        if (const int error = make(fresh); error == EEXIST)
            continue;
        else if (error != 0)
            return error;
        if (keep && renameat2(folder, fresh.c_str(), folder, name.c_str(), RENAME_EXCHANGE) == 0) {
            replaced->Aside = fresh;
            struct stat kept;
            if (fstatat(folder, fresh.c_str(), &kept, AT_SYMLINK_NOFOLLOW) == 0) {
                replaced->Kept = StateOf(kept);
                replaced->Kept.Handle = HandleAt(folder, fresh);
            }
            return 0;
        }
        const bool gone = keep && errno == ENOENT;  // nothing at the name any more: nothing is lost
        if (renameat(folder, fresh.c_str(), folder, name.c_str()) == 0) {
            if (keep)
                replaced->Lost = !gone;
            return 0;
        }
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
    // A file being saved in place, or whose save in place was cut short, holds what its save left
    // (AtomicFile.h): a load of it finishes that save where the copier may write it.
    if (SavedFileBeingWritten(SavedFileMark(in.Get()))) {
        std::string finished;
        ReadSavedFile(SavePaths::OpenPath(in.Get()), INT64_MAX, finished);
        if (fstat(in.Get(), &src) != 0 || SavedFileBeingWritten(SavedFileMark(in.Get())))
            throw EFOpenError("Cannot open file " + fromName() +
                              ". A save of it written in place has not ended: open it in the program, then copy it.");
    }
    return in.Release();
}

// Opens the folder of a destination given as a path, following links on the way as the safe
// writer follows them, and gives the name in it; the name's own entry is never followed.
TFd OpenDestinationFolder(const TFileCopy& copy, std::string& name, const TName& toName)
{
    std::string folderPath;
    SplitPath(copy.To, folderPath, name);
    if (copy.MakeFolder && folderPath != "." && folderPath != "/") {
        std::error_code ignored;  // a folder that cannot be made fails the open below
        std::filesystem::create_directories(folderPath, ignored);
    }
    int folder = -1;
    std::string dot, shown;
    if (const std::string refusal = SavePaths::OpenSavedFile(folderPath + "/.", folder, dot, shown); !refusal.empty())
        throw EFCreateError("Cannot create file " + toName() + ". " + Utf8ToCp949(refusal));
    return TFd(folder);
}

// Refuses a destination the copy may not replace: a name the system refuses, an entry where a
// new one must be made, the source itself (writing onto it would destroy it), anything but a
// file or a link, a file the copier may not write, a read-only one unless asked to replace it.
// The entry is replaced itself, so a link there leads nowhere the copy goes.
void CheckDestination(const TFileCopy& copy, int folder, const std::string& name, const struct stat& src,
                      const TName& toName)
{
    if (name.empty() || name == "." || name == "..")
        throw EFCreateError("Cannot create file " + toName() + ". The file has no name.");
    struct stat entry, target;
    if (fstatat(folder, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno != ENOENT)  // a name too long, a folder that cannot be searched
            throw EFCreateError("Cannot create file " + toName() + Why(errno));
        return;
    }
    if (copy.MustBeNew)
        throw EFCreateError("Cannot create file " + toName() + ". It already exists.");
    if (fstatat(folder, name.c_str(), &target, 0) == 0 && SameEntry(StateOf(src), target))
        throw EFCreateError("Cannot create file " + toName());
    if (S_ISLNK(entry.st_mode))
        return;
    if (!S_ISREG(entry.st_mode))
        throw EFCreateError("Cannot create file " + toName() + ". It is not a regular file.");
    const bool readOnly = (entry.st_mode & 0222) == 0;
    if (readOnly ? !copy.OverwriteReadOnly : faccessat(folder, name.c_str(), W_OK, AT_EACCESS) != 0)
        throw EFCreateError("Cannot create file " + toName() + ". The file is read-only.");
}

// Copies the source's bytes into `out` at their own offsets, reading until the source ends. A
// source holding fewer blocks than its size needs may have holes: then only its data is read,
// from where the system says data starts to where the next hole does, blocks of zeros are not
// written, and a hole at its end is given by the copy's size, so the copy's holes stay holes
// too. The copy's size.
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
    if (lseek(in, 0, SEEK_SET) != 0)  // from the start, also when written a second time
        throw readFailed();
    for (;;) {
        int64_t stop = INT64_MAX;  // the next hole
        if (mayHaveHoles) {
            const off_t data = lseek(in, at, SEEK_DATA);
            if (data < 0 && errno == ENXIO) {  // a hole to the end
                if (g_noMoreDataHook)
                    g_noMoreDataHook(at);
                // The hole ends where the file ends, but at the size it had when the copy began at
                // most: data written past that since may not show yet, and its place in the copy
                // would hold zeros the source never held.
                struct stat now;
                if (fstat(in, &now) != 0)
                    throw readFailed();
                const int64_t end = std::max<int64_t>(at, std::min<int64_t>(now.st_size, src.st_size));
                if (ftruncate(out, end) != 0)
                    throw writeFailed();
                return end;
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
            if (n == 0) {
                if (mayHaveHoles && ftruncate(out, at) != 0)  // zeros skipped at the end
                    throw writeFailed();
                return at;
            }
            // Zeros of a file with holes stay holes, also where the file system cannot say where
            // its holes are.
            const bool zeros = mayHaveHoles && std::all_of(buffer, buffer + n, [](char c) { return c == 0; });
            if (!zeros && !WriteAt(out, buffer, static_cast<size_t>(n), at))
                throw writeFailed();
            at += n;
            if (copy.Progress)
                SetProgressValue(copy.Progress, at);
        }
    }
}

}  // namespace

void CopyNative(const TFileCopy& copy, TEntryState* source, TEntryState* made, TReplacedEntry* replaced)
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
    std::string name = copy.To;
    const TFd opened = copy.ToFolder == AT_FDCWD ? OpenDestinationFolder(copy, name, toName) : TFd(-1);
    const int folder = copy.ToFolder == AT_FDCWD ? opened.Get() : copy.ToFolder;
    CheckDestination(copy, folder, name, src, toName);
    TAtomicWriteOptions options;
    options.Flush = copy.Flush;
    options.Replace = false;  // named anew, never taking on the owner or access list of a file it replaces
    options.ShownPath = kNameMark;
    // The data goes in while the file is its writer's alone and has no name; then it takes the
    // source's group, attributes, permissions and time, so a copy that cannot have them replaces
    // nothing: it would let in whom the source kept out.
    // A file of another's that the copier may write but cannot give back to its owner is written
    // where it is, as a save writes it: it stays its owner's, of its group, mode and access list,
    // and a copy cut short is finished or dropped by whoever next reads or saves it.
    struct stat there;
    const bool inPlace = !copy.MustBeNew && geteuid() != 0 &&
        fstatat(folder, name.c_str(), &there, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(there.st_mode) &&
        there.st_uid != geteuid();
    std::exception_ptr failure;
    struct stat now = {};
    std::string handle;
    // The written file stays locked, as the writer locks it, until it has its own name: under its
    // fresh name it is no killed copy's to clear away.
    TFd held(-1);
    options.Finish = [&](int written) {
        held.Reset(dup(written));
        try {
            const std::string mark = SavedFileMark(in.Get());
            const int64_t end = CopyData(copy, in.Get(), written, src, fromName, toName);
            // A save in place that came meanwhile may have changed what was read.
            if (SavedFileMark(in.Get()) != mark)
                throw EReadError("Cannot read file " + fromName() + ". It was saved while it was copied.");
            if (copy.Moving && end < static_cast<int64_t>(src.st_size))
                throw EReadError("Cannot read file " + fromName() + ". It ended after " + std::to_string(end) +
                                 " of its " + std::to_string(src.st_size) + " bytes.");
            if (inPlace)
                return std::string();
            std::string refusal = KeepOwnershipAndMode(in.Get(), src, written, copy.Moving ? 07777 : 0777);
            const struct timespec times[2] = {src.st_atim, src.st_mtim};
            futimens(written, times);
            if (refusal.empty() && fstat(written, &now) != 0)
                refusal = std::strerror(errno);
            handle = HandleAt(written, std::string());
            return refusal;
        } catch (...) {
            failure = std::current_exception();
            return std::string("-");
        }
    };
    // 0 once written and named `at`; EEXIST where something took that name meanwhile.
    const auto write = [&](const std::string& at) {
        TAtomicFileWriter writer(folder, at, options);
        writer.SetMode(S_IRUSR | S_IWUSR);
        const bool created = writer.Ok();
        const TWriteResult written = writer.Commit();
        if (failure)
            std::rethrow_exception(failure);
        if (!written && errno == EEXIST && !copy.MustBeNew)
            return EEXIST;
        if (!written && !created)
            throw EFCreateError(failed(written));
        if (!written)
            throw EWriteError(failed(written));
        return 0;
    };
    if (inPlace) {
        options.Replace = true;
        write(name);
        if (fstatat(folder, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0)
            throw EWriteError("Cannot replace file " + toName() + Why(errno));
        handle = HandleAt(folder, name);
        if (replaced)
            replaced->InPlace = true;
    } else if (copy.MustBeNew) {
        write(name);
    } else {
        if (const int error = ReplaceThroughFreshName(folder, name, write, replaced); error != 0)
            throw EWriteError("Cannot replace file " + toName() + ". " + SystemReason(error) + ".");
        if (copy.Flush)
            SavePaths::FlushFolder(folder);
    }
    // The handle its name gives, where that name is the copy's, still held open: a file system that
    // names a file by a link may give each name a handle of its own (FUSE).
    if (struct stat named;
        !inPlace && fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 && SameNode(named, now))
        handle = HandleAt(folder, name);
    if (source)
        *source = StateOf(src);
    if (made) {
        *made = StateOf(now);
        made->Handle = handle;
    }
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
    if (lstat(dest.c_str(), &there) == 0 && IsReadOnlyFile(there) &&
        !(lstat(source.c_str(), &moved) == 0 && SameEntry(StateOf(moved), there)))
        throw EFCreateError("Cannot create file " + toName + ". The file is read-only.");
    if (rename(source.c_str(), dest.c_str()) == 0) {
        if (StillTwoNames(source, dest))
            throw EWriteError("Cannot move file " + fromName + ". " + SameFile(toName) + ".");
        return;
    }
    // Only another file system makes a move copy: any other refusal leaves both ends as they are.
    if (errno != EXDEV)
        throw EWriteError("Cannot move file " + fromName + Why(errno));
    // A link moves as the link it is, as a rename moves it.
    if (lstat(source.c_str(), &moved) == 0 && S_ISLNK(moved.st_mode)) {
        TTreeRun run;
        if (!MoveEntry(source, dest, true, run))
            throw EWriteError("Cannot move file " + fromName + ". " + run.Report());
        return;
    }
    // Another file system: copied whole into the destination's folder and on disk, and then the
    // source removed only as it was before the copy read it (its permissions kept, so a read-only
    // file stays read-only). A source the mover may not remove is refused before the destination
    // is touched; one that could not be removed all the same leaves the destination as it was.
    std::string folder, name;
    if (const int error = MayRemove(source); error != 0)
        throw EWriteError("Cannot move file " + fromName + Why(error));
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
    copy.Moving = true;
    TCopyRecord copied(1);
    TReplacedEntry replaced;
    CopyNative(copy, &copied[0].Source, &copied[0].Made, &replaced);
    TTreeRun run;
    if (!FlushFileSystem(dest)) {
        const int error = errno;
        UndoMove(dest, copied, replaced, run);
        throw EWriteError("Cannot write file " + toName + ". " + SystemReason(error) + "." +
                          (run.Left.empty() ? AnsiString() : " " + run.Left));
    }
    if (!RemoveMoved(source, dest, copied, replaced, run))
        throw EInOutError("Cannot delete file " + fromName + ". " + run.Report());
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
