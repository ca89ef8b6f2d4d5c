// Copying, moving and removing trees relative to opened folders.
#include "controls/core/FileTree.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "platform/core/Exceptions.h"
#include "platform/core/FileFind.h"
#include "platform/core/StoredPath.h"

const char* const kRootRefusal = "The root folder is never deleted";

AnsiString SystemReason(int error) { return std::generic_category().message(error); }

namespace {

TFolderOpenHook& FolderOpenHook()
{
    static TFolderOpenHook hook;
    return hook;
}

// Every folder the tree routines list or work in is opened here.
class TOpenFolder {
public:
    TOpenFolder(int at, const std::string& name, bool follow)
    {
        if (FolderOpenHook() && !FolderOpenHook()(name)) {
            errno = EACCES;
            return;
        }
        fd_ = openat(at, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | (follow ? 0 : O_NOFOLLOW));
    }
    ~TOpenFolder()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    TOpenFolder(const TOpenFolder&) = delete;
    TOpenFolder& operator=(const TOpenFolder&) = delete;
    bool Open() const { return fd_ >= 0; }
    int Fd() const { return fd_; }

private:
    int fd_ = -1;
};

bool SameNode(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

bool IsRootNode(const struct stat& st)
{
    struct stat root;
    return stat("/", &root) == 0 && SameNode(st, root);
}

// The folder part and the last name of a path without trailing slashes.
void SplitPath(const std::string& path, std::string& folder, std::string& name)
{
    const size_t cut = path.rfind('/');
    folder = cut == std::string::npos ? "." : cut == 0 ? "/" : path.substr(0, cut);
    name = cut == std::string::npos ? path : path.substr(cut + 1);
}

bool IsPlainName(const std::string& name) { return !name.empty() && name != "." && name != ".."; }

// A failure at a path: the reason alone for the entry the run started with, which the caller
// names, else with the entry's path in front.
bool FailAt(TTreeRun& run, const std::string& path, const std::string& top, int error)
{
    const AnsiString reason = SystemReason(error);
    return run.Fail(path == top ? reason : StoredPath(path) + ": " + reason);
}

struct TRemoval {
    bool SkipHidden;
    bool RemoveFolders;
};

bool RemoveAt(int parent, const std::string& name, const TRemoval& how, TTreeRun& run);

bool RemoveEntries(int folder, const TRemoval& how, TTreeRun& run)
{
    std::vector<std::string> names;
    const bool listed = ListOpenFolder(folder, names);
    if (!listed)
        run.Fail(SystemReason(errno));
    bool ok = listed;
    for (const std::string& name : names) {
        if (how.SkipHidden && name[0] == '.')
            continue;
        if (!RemoveAt(folder, name, how, run)) {
            ok = false;
            if (!run.GoOnPastFailures || run.Cancelled)
                return false;
        }
    }
    return ok;
}

// Removes one entry of an open folder: a folder is opened without following a link and emptied
// first; anything else, a link to a folder too, is unlinked itself.
bool RemoveAt(int parent, const std::string& name, const TRemoval& how, TTreeRun& run)
{
    if (!run.Going())
        return false;
    struct stat st;
    if (fstatat(parent, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return run.Fail(SystemReason(errno));
    if (!S_ISDIR(st.st_mode))
        return unlinkat(parent, name.c_str(), 0) == 0 || run.Fail(SystemReason(errno));
    {
        const TOpenFolder folder(parent, name, false);
        if (!folder.Open())
            return run.Fail(SystemReason(errno));
        if (!RemoveEntries(folder.Fd(), how, run))
            return false;
    }
    return !how.RemoveFolders || unlinkat(parent, name.c_str(), AT_REMOVEDIR) == 0 || run.Fail(SystemReason(errno));
}

bool CopyLink(const std::string& from, const std::string& to, bool replace, TTreeRun& run, const std::string& top)
{
    std::string target(256, '\0');
    for (;;) {
        const ssize_t n = readlink(from.c_str(), target.data(), target.size());
        if (n < 0)
            return FailAt(run, from, top, errno);
        if (static_cast<size_t>(n) < target.size()) {
            target.resize(static_cast<size_t>(n));
            break;
        }
        target.resize(target.size() * 2);
    }
    if (!replace)
        return symlink(target.c_str(), to.c_str()) == 0 || FailAt(run, to, top, errno);
    // Made beside it and renamed over it, so a failure leaves the old entry as it was.
    for (int n = 0;; ++n) {
        const std::string made = to + ".~hanmud-link-" + std::to_string(n) + "~";
        if (symlink(target.c_str(), made.c_str()) != 0) {
            if (errno == EEXIST)
                continue;
            return FailAt(run, to, top, errno);
        }
        if (rename(made.c_str(), to.c_str()) == 0)
            return true;
        const int error = errno;
        unlink(made.c_str());
        return FailAt(run, to, top, error);
    }
}

bool CopyAt(const std::string& from, const std::string& to, bool replace, TTreeRun& run, TCopiedEntry* made,
            const std::string& top)
{
    if (!run.Going())
        return false;
    struct stat st;
    if (lstat(from.c_str(), &st) != 0)
        return FailAt(run, from, top, errno);
    if (made)
        made->Source = st;
    if (S_ISLNK(st.st_mode))
        return CopyLink(from, to, replace, run, top);
    if (!S_ISDIR(st.st_mode)) {
        TFileCopy copy;
        copy.From = from;
        copy.To = to;
        copy.OverwriteReadOnly = true;  // a replace the user agreed to
        copy.FollowLink = false;
        copy.MustBeNew = !replace;
        copy.Tick = &run.Tick;
        try {
            CopyNative(copy);
            return true;
        } catch (const EAbort&) {
            run.Cancelled = true;
            return false;
        } catch (const Exception& e) {
            return run.Fail(e.Message);
        }
    }
    if (mkdir(to.c_str(), 0700) != 0)  // no one else may enter it before it has its own mode
        return FailAt(run, to, top, errno);
    if (made)
        made->MadeFolder = true;
    std::vector<std::string> names;
    bool ok;
    {
        const TOpenFolder folder(AT_FDCWD, from, false);
        ok = folder.Open() && ListOpenFolder(folder.Fd(), names);
        if (!ok)
            FailAt(run, from, top, errno);
    }
    for (const std::string& name : names) {
        TCopiedEntry child;
        child.Name = name;
        if (CopyAt(from + "/" + name, to + "/" + name, false, run, made ? &child : nullptr, top)) {
            if (made)
                made->Entries.push_back(std::move(child));
            continue;
        }
        ok = false;
        if (!run.GoOnPastFailures || run.Cancelled)
            break;
    }
    chmod(to.c_str(), st.st_mode & 0777);
    return ok;
}

// The entry as the copy found it: the same node, and a file of the same size and time.
bool Unchanged(const struct stat& now, const struct stat& copied)
{
    if (!SameNode(now, copied) || (now.st_mode & S_IFMT) != (copied.st_mode & S_IFMT))
        return false;
    return S_ISDIR(now.st_mode) ||
        (now.st_size == copied.st_size && now.st_mtim.tv_sec == copied.st_mtim.tv_sec &&
         now.st_mtim.tv_nsec == copied.st_mtim.tv_nsec);
}

bool RemoveCopiedAt(int parent, const std::string& name, const std::string& path, const TCopiedEntry& copied,
                    TTreeRun& run)
{
    const auto changed = [&path] { return StoredPath(path) + " changed while it was moved and stays where it was"; };
    struct stat now;
    if (fstatat(parent, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0 || !Unchanged(now, copied.Source))
        return run.Fail(changed());
    if (!S_ISDIR(now.st_mode))
        return unlinkat(parent, name.c_str(), 0) == 0 || FailAt(run, path, "", errno);
    bool ok = true;
    {
        const TOpenFolder folder(parent, name, false);
        if (!folder.Open())
            return FailAt(run, path, "", errno);
        for (const TCopiedEntry& child : copied.Entries)
            ok = RemoveCopiedAt(folder.Fd(), child.Name, path + "/" + child.Name, child, run) && ok;
    }
    if (!ok)
        return false;
    if (unlinkat(parent, name.c_str(), AT_REMOVEDIR) == 0)
        return true;
    const int error = errno;
    return error == ENOTEMPTY || error == EEXIST ? run.Fail(changed()) : FailAt(run, path, "", error);
}

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

TFolderOpenHook SetFolderOpenHook(TFolderOpenHook hook)
{
    TFolderOpenHook old = std::move(FolderOpenHook());
    FolderOpenHook() = std::move(hook);
    return old;
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

bool RemoveEntry(const std::string& native, TTreeRun& run)
{
    const std::string path = WithoutTrailingSlashes(native);
    if (NamesRoot(path, false))
        return run.Fail(kRootRefusal);
    std::string folder, name;
    SplitPath(path, folder, name);
    if (!IsPlainName(name))
        return run.Fail(SystemReason(EINVAL));
    const TOpenFolder parent(AT_FDCWD, folder, true);
    if (!parent.Open())
        return run.Fail(SystemReason(errno));
    return RemoveAt(parent.Fd(), name, {false, true}, run);
}

bool ClearFolder(const std::string& native, bool removeFolders)
{
    if (native.empty() || NamesRoot(native, true))
        return false;
    const TOpenFolder folder(AT_FDCWD, native, true);
    struct stat st;
    // Checked again on what was opened: the path may have been turned into a link meanwhile.
    if (!folder.Open() || fstat(folder.Fd(), &st) != 0 || IsRootNode(st))
        return false;
    TTreeRun run;
    run.GoOnPastFailures = true;
    return RemoveEntries(folder.Fd(), {true, removeFolders}, run);
}

bool CopyEntry(const std::string& from, const std::string& to, bool replace, TTreeRun& run, TCopiedEntry* made)
{
    return CopyAt(from, to, replace, run, made, from);
}

bool RemoveCopied(const std::string& from, const TCopiedEntry& copied, TTreeRun& run)
{
    const std::string path = WithoutTrailingSlashes(from);
    if (NamesRoot(path, false))
        return run.Fail(kRootRefusal);
    std::string folder, name;
    SplitPath(path, folder, name);
    const TOpenFolder parent(AT_FDCWD, folder, true);
    if (!IsPlainName(name) || !parent.Open())
        return run.Fail(SystemReason(IsPlainName(name) ? errno : EINVAL));
    return RemoveCopiedAt(parent.Fd(), name, path, copied, run);
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

bool MoveEntry(const std::string& from, const std::string& to, bool replace, TTreeRun& run)
{
    if (NamesRoot(from, false))
        return run.Fail(kRootRefusal);
    if ((replace ? rename(from.c_str(), to.c_str()) : RenameNoReplace(from, to)) == 0)
        return true;
    if (errno != EXDEV)
        return run.Fail(SystemReason(errno));
    run.GoOnPastFailures = false;
    TCopiedEntry made;
    if (!CopyEntry(from, to, replace, run, &made)) {
        if (made.MadeFolder) {
            TTreeRun undo;
            RemoveEntry(to, undo);
        }
        return false;
    }
    return RemoveCopied(from, made, run);
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
