// What the tree routines share, moving a tree, and where a folder lies.
#include "controls/core/FileTree.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <functional>
#include <system_error>
#include <utility>

#include "platform/core/StoredPath.h"

const char* const kRootRefusal = "The root folder is never deleted";
const char* const kIntoItself = "The destination folder is inside the source folder";

AnsiString SystemReason(int error) { return std::generic_category().message(error); }

namespace {

bool IsRootNode(const struct stat& st)
{
    struct stat root;
    return stat("/", &root) == 0 && SameNode(st, root);
}

bool IsPlainName(const std::string& name) { return !name.empty() && name != "." && name != ".."; }

}  // namespace

bool TTreeRun::Going()
{
    if (!Cancelled && Tick && !Tick())
        Cancelled = true;
    return !Cancelled;
}

bool TTreeRun::Fail(const AnsiString& reason)
{
    if (Reason.empty())
        Reason = reason;
    return false;
}

AnsiString TTreeRun::Report() const
{
    if (Left.empty())
        return Reason;
    return Reason.empty() ? Left : Reason + "; " + Left;
}

void SplitPath(const std::string& path, std::string& folder, std::string& name)
{
    const size_t cut = path.rfind('/');
    folder = cut == std::string::npos ? "." : cut == 0 ? "/" : path.substr(0, cut);
    name = cut == std::string::npos ? path : path.substr(cut + 1);
}

bool StartAtParent(const std::string& path, TFolderPath& walk, std::string& name, TTreeRun& run)
{
    std::string folder;
    SplitPath(WithoutTrailingSlashes(path), folder, name);
    if (!IsPlainName(name))
        return run.Fail(SystemReason(EINVAL));
    return walk.Start(OpenFolderAt(AT_FDCWD, folder, true), folder) || run.Fail(SystemReason(errno));
}

bool FailNamed(TTreeRun& run, const TFolderPath& walk, const std::string& name, const AnsiString& reason)
{
    return run.Keeps() && run.Fail(StoredPath(walk.Path(name)) + ": " + reason);
}

bool FailAt(TTreeRun& run, const TFolderPath& walk, const std::string& name, const AnsiString& reason)
{
    if (walk.Depth() == 0 && !name.empty())
        return run.Keeps() && run.Fail(reason);
    return FailNamed(run, walk, name, reason);
}

bool FailAt(TTreeRun& run, const TFolderPath& walk, const std::string& name, int error)
{
    return FailAt(run, walk, name, SystemReason(error));
}

namespace {

std::function<bool()> g_flushHook;

}  // namespace

void SetFlushHook(std::function<bool()> hook) { g_flushHook = std::move(hook); }

bool FlushFileSystem(const std::string& path)
{
    if (g_flushHook && !g_flushHook()) {
        errno = EIO;
        return false;
    }
    std::string folder, name;
    SplitPath(WithoutTrailingSlashes(path), folder, name);
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = syncfs(fd) == 0;
    const int error = errno;
    close(fd);
    errno = error;
    return ok;
}

namespace {

// Whether the entry `name` of the open folder (empty: the folder itself) is immutable or
// append-only, as far as its file system tells.
bool Pinned(int folder, const std::string& name)
{
    struct statx info;
    constexpr uint64_t kPinned = STATX_ATTR_IMMUTABLE | STATX_ATTR_APPEND;
    return statx(folder, name.c_str(), AT_SYMLINK_NOFOLLOW | (name.empty() ? AT_EMPTY_PATH : 0), STATX_TYPE, &info) ==
        0 &&
        (info.stx_attributes & info.stx_attributes_mask & kPinned) != 0;
}

}  // namespace

int MayRemoveFrom(int folder)
{
    if (faccessat(folder, ".", W_OK | X_OK, AT_EACCESS) != 0)
        return errno;
    return Pinned(folder, std::string()) ? EPERM : 0;
}

int MayRemoveEntry(int folder, const struct stat& above, const std::string& name, const struct stat& entry)
{
    const uid_t me = geteuid();
    if ((above.st_mode & S_ISVTX) && me != 0 && me != entry.st_uid && me != above.st_uid)
        return EPERM;
    return Pinned(folder, name) ? EPERM : 0;
}

int MayRemove(const std::string& path)
{
    std::string folderPath, name;
    SplitPath(WithoutTrailingSlashes(path), folderPath, name);
    const int folder = open(folderPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    struct stat above, entry;
    int error =
        folder < 0 || fstat(folder, &above) != 0 || fstatat(folder, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0
        ? errno
        : MayRemoveFrom(folder);
    if (error == 0)
        error = MayRemoveEntry(folder, above, name, entry);
    if (folder >= 0)
        close(folder);
    return error;
}

bool NamesRoot(const std::string& native, bool followLast)
{
    struct stat st;
    if (!followLast && lstat(native.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
        return false;
    return stat(native.c_str(), &st) == 0 && IsRootNode(st);
}

std::string WithoutTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

int RenameNoReplace(const std::string& from, const std::string& to)
{
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return -1;
    // A file system without the flag: looked at first, renamed after.
    struct stat st;
    if (lstat(to.c_str(), &st) == 0) {
        errno = EEXIST;
        return -1;
    }
    return rename(from.c_str(), to.c_str());
}

bool StillTwoNames(const std::string& from, const std::string& to)
{
    // A folder has no second name, and a file of one name spelt twice (a path and itself, or two
    // cases of one name where the file system ignores case) was renamed as asked.
    struct stat a, b;
    return lstat(from.c_str(), &a) == 0 && lstat(to.c_str(), &b) == 0 && SameNode(a, b) && !S_ISDIR(a.st_mode) &&
        a.st_nlink > 1;
}

AnsiString SameFile(const AnsiString& to) { return "It and " + to + " are the same file"; }

void UndoMove(const std::string& to, const TCopyRecord& made, const TReplacedEntry& replaced, TTreeRun& run)
{
    // The undo lets the progress show, and hears no Cancel: what the move made goes whatever is
    // asked meanwhile.
    TTreeRun undo;
    undo.Tick = [&run] {
        if (run.Tick)
            run.Tick();
        return true;
    };
    if (!RemoveMade(to, made, undo, replaced))
        run.Left = undo.Reason;
}

bool RemoveMoved(const std::string& from, const std::string& to, const TCopyRecord& made,
                 const TReplacedEntry& replaced, TTreeRun& run)
{
    bool untouched = false;
    if (RemoveCopied(from, made, run, &untouched)) {
        DropReplaced(to, replaced);
        return true;
    }
    if (untouched)
        UndoMove(to, made, replaced, run);
    return false;
}

bool MoveEntry(const std::string& from, const std::string& to, bool replace, TTreeRun& run)
{
    if (NamesRoot(from, false))
        return run.Fail(kRootRefusal);
    if ((replace ? rename(from.c_str(), to.c_str()) : RenameNoReplace(from, to)) == 0)
        return !StillTwoNames(from, to) || run.Fail(SameFile(StoredPath(to)));
    if (errno != EXDEV)
        return run.Fail(SystemReason(errno));
    // What the mover may not remove is refused before the destination is touched.
    if (const int error = MayRemove(from); error != 0)
        return run.Fail(SystemReason(error));
    run.GoOnPastFailures = false;
    run.Moving = true;
    TCopyRecord made;
    TReplacedEntry replaced;
    bool ok = CopyEntry(from, to, replace, run, &made, &replaced);
    // The copy is on disk before any of the source goes.
    if (ok && !FlushFileSystem(to))
        ok = run.Fail(StoredPath(to) + ": " + SystemReason(errno));
    if (!ok) {
        UndoMove(to, made, replaced, run);
        return false;
    }
    return RemoveMoved(from, to, made, replaced, run);
}

bool LiesInside(const std::string& native, const struct stat& folder)
{
    std::string at = WithoutTrailingSlashes(native);
    int fd = open(at.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    while (fd < 0 && at.size() > 1) {
        std::string name;
        SplitPath(std::string(at), at, name);
        fd = open(at.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    }
    // Up through ".." to the root: every folder above is looked at by what it is, not its name.
    while (fd >= 0) {
        struct stat here, above;
        if (fstat(fd, &here) != 0)
            break;
        if (SameNode(here, folder)) {
            close(fd);
            return true;
        }
        const int up = openat(fd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        close(fd);
        fd = up;
        if (fd >= 0 && (fstat(fd, &above) != 0 || SameNode(above, here)))
            break;  // the root is its own parent
    }
    if (fd >= 0)
        close(fd);
    return false;
}
