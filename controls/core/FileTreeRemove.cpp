// Removing trees: a whole entry, a folder's entries, what a move copied from its source, and what
// a failed copy made at its destination. Each walks down through the folders it opened, with a
// stack of its own.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <map>
#include <utility>

#include "controls/core/FileTree.h"
#include "platform/core/FileFind.h"
#include "platform/core/StoredPath.h"

namespace {

struct TRemoval {
    bool SkipHidden;
    bool RemoveFolders;
};

// Removes the entries `names` of the walk's start folder, a folder with what it holds. An entry
// already gone is no failure: it is gone as asked. True when all of them went (or, without
// RemoveFolders, every file and link).
bool RemoveNames(TFolderPath& walk, std::vector<std::string> names, const TRemoval& how, TTreeRun& run)
{
    struct TLevel {
        std::vector<std::string> Names;
        size_t Next = 0;
        bool Ok = true;
    };
    std::vector<TLevel> levels(1);
    levels[0].Names = std::move(names);
    const auto failed = [&](const std::string& name, int error) {
        levels.back().Ok = false;
        FailAt(run, walk, name, error);
        return run.GoOnPastFailures && !run.Cancelled;
    };
    while (true) {
        TLevel& level = levels.back();
        if (level.Next < level.Names.size()) {
            const std::string name = std::move(level.Names[level.Next++]);
            if (how.SkipHidden && name[0] == '.')
                continue;
            if (!run.Going())
                return false;
            struct stat st;
            if (fstatat(walk.Fd(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
                if (errno != ENOENT && !failed(name, errno))
                    return false;
                continue;
            }
            if (!S_ISDIR(st.st_mode)) {
                if (unlinkat(walk.Fd(), name.c_str(), 0) != 0 && errno != ENOENT && !failed(name, errno))
                    return false;
                continue;
            }
            if (!walk.Enter(name)) {
                if (errno != ENOENT && !failed(name, errno))
                    return false;
                continue;
            }
            TLevel inner;
            const bool listed = ListOpenFolder(walk.Fd(), inner.Names);
            levels.push_back(std::move(inner));
            if (!listed && !failed(std::string(), errno))
                return false;
            continue;
        }
        const bool ok = level.Ok;
        levels.pop_back();
        if (levels.empty())
            return ok;
        if (!run.Going())  // heard on the way back up too
            return false;
        const std::string name = walk.Name();
        if (!walk.Leave()) {
            levels.back().Ok = false;
            FailAt(run, walk, name, errno);
            return false;
        }
        if (!ok)
            levels.back().Ok = false;
        else if (how.RemoveFolders && unlinkat(walk.Fd(), name.c_str(), AT_REMOVEDIR) != 0 && errno != ENOENT &&
                 !failed(name, errno))
            return false;
    }
}

// Gives the folder `name` (as `st` found it) the mode, through the folder itself, opened without
// following a link; false with errno.
bool SetFolderMode(int folder, const std::string& name, const struct stat& st, mode_t mode)
{
    const int fd = openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat opened;
    bool ok = fd >= 0 && fstat(fd, &opened) == 0 && SameNode(opened, st) && fchmod(fd, mode) == 0;
    const int error = errno;
    if (fd >= 0)
        close(fd);
    errno = error;
    return ok;
}

// What to do with an entry of a copy record met on the walk.
enum class TRecordStep { Skip, Done, Enter };

// Walks the entries of a copy record in the tree whose first entry is `name` in the walk's start
// folder: `entry` is asked about each (the name in its folder, open as the descriptor), `leave`
// is told when the walk leaves a folder it entered (its name in the folder now innermost). The
// entries of a folder skipped are skipped. The run is ticked at each entry and each folder left.
// False when a folder to enter cannot be entered (its entries skipped), the walk cannot go back
// up or the run is to stop.
template <class TEntry, class TLeave>
bool WalkRecord(TFolderPath& walk, const std::string& name, const TCopyRecord& record, TTreeRun& run, TEntry entry,
                TLeave leave)
{
    size_t skipBelow = SIZE_MAX;
    bool entered = true;
    const auto up = [&] {
        if (!run.Going())
            return false;
        const std::string left = walk.Name();
        if (!walk.Leave())
            return FailAt(run, walk, left, errno);
        leave(walk.Fd(), left);
        return true;
    };
    for (const TCopiedEntry& rec : record) {
        if (rec.Depth > skipBelow)
            continue;
        skipBelow = SIZE_MAX;
        while (walk.Depth() > rec.Depth)
            if (!up())
                return false;
        if (!run.Going())
            return false;
        const std::string& at = rec.Depth == 0 ? name : rec.Name;
        const TRecordStep step = entry(walk.Fd(), at, rec);
        if (step == TRecordStep::Enter && !walk.Enter(at)) {
            entered = FailAt(run, walk, at, errno);
            skipBelow = rec.Depth;
        } else if (step != TRecordStep::Enter) {
            skipBelow = rec.Depth;
        }
    }
    while (walk.Depth() > 0)
        if (!up())
            return false;
    return entered;
}

// Whether the entry `name` of the open folder is the one kept as `kept`: the same node of the same
// generation where the file system gives handles, else of the same size and times.
bool Holds(int folder, const std::string& name, const TEntryState& kept)
{
    struct stat now;
    return fstatat(folder, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 && IsMade(kept, folder, name, now) &&
        (!kept.Handle.empty() || Unchanged(now, kept));
}

// Puts the entry a move's copy (`made`) replaced and kept aside back at `name`, in place of the
// copy, and removes the copy. Empty when done, else why what is kept aside stays.
AnsiString PutBack(int folder, const std::string& name, const TEntryState& made, const TReplacedEntry& replaced)
{
    const std::string& aside = replaced.Aside;
    if (!Holds(folder, aside, replaced.Kept) ||
        renameat2(folder, aside.c_str(), folder, name.c_str(), RENAME_EXCHANGE) != 0)
        return " stays: what it replaced cannot be put back";
    struct stat copy;
    if (fstatat(folder, aside.c_str(), &copy, AT_SYMLINK_NOFOLLOW) == 0 && IsMade(made, folder, aside, copy))
        return unlinkat(folder, aside.c_str(), 0) == 0 ? AnsiString() : " is put back, and the copy stays";
    // Another program's, put there meanwhile.
    return " is put back, and what was there meanwhile is moved aside";
}

}  // namespace

bool SameTime(const struct timespec& a, const struct timespec& b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool Unchanged(const struct stat& now, const TEntryState& copied, bool byChange)
{
    if (!SameEntry(copied, now) || (now.st_mode & S_IFMT) != (copied.Mode & S_IFMT))
        return false;
    return S_ISDIR(now.st_mode) ||
        (now.st_size == copied.Size && SameTime(now.st_mtim, copied.Time) &&
         (byChange ? SameTime(now.st_ctim, copied.Change) : now.st_mode == copied.Mode));
}

bool RemoveEntry(const std::string& native, TTreeRun& run)
{
    const std::string path = WithoutTrailingSlashes(native);
    if (NamesRoot(path, false))
        return run.Fail(kRootRefusal);
    TFolderPath walk;
    std::string name;
    if (!StartAtParent(path, walk, name, run))
        return false;
    struct stat st;
    if (fstatat(walk.Fd(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return run.Fail(SystemReason(errno));
    return RemoveNames(walk, {name}, {false, true}, run);
}

bool ClearFolder(const std::string& native, bool removeFolders)
{
    if (native.empty() || NamesRoot(native, true))
        return false;
    TFolderPath walk;
    struct stat root;
    // Checked again on what was opened: the path may have been turned into a link meanwhile.
    if (!walk.Start(OpenFolderAt(AT_FDCWD, native, true), native) || stat("/", &root) != 0 ||
        SameNode(walk.Info(), root))
        return false;
    std::vector<std::string> names;
    TTreeRun run;
    run.GoOnPastFailures = true;
    const bool listed = ListOpenFolder(walk.Fd(), names);
    return RemoveNames(walk, std::move(names), {true, removeFolders}, run) && listed;
}

bool RemoveCopied(const std::string& from, const TCopyRecord& copied, TTreeRun& run, bool* untouched)
{
    if (untouched)
        *untouched = false;
    const std::string path = WithoutTrailingSlashes(from);
    if (NamesRoot(path, false))
        return run.Fail(kRootRefusal);
    TFolderPath walk;
    std::string top;
    if (!StartAtParent(path, walk, top, run))
        return false;
    bool ok = true, whole = true;
    const auto changed = [&](const std::string& name, bool gone = false) {
        ok = false;
        whole = whole && !gone;
        if (run.Keeps())
            run.Fail(StoredPath(walk.Path(name)) +
                     (gone ? " was removed by another program while it was moved"
                           : " changed while it was moved and stays where it was"));
    };
    // Removing one name of a file changes the file (its count of names, its change time): its
    // later names are compared with it as it was right after, whatever count of names its file
    // system tells, not taken for another program's change. Only a file the record names more than
    // once is kept so.
    using TNode = std::pair<dev_t, ino_t>;
    std::vector<TNode> nodes;
    for (const TCopiedEntry& rec : copied)
        if (!S_ISDIR(rec.Source.Mode))
            nodes.emplace_back(rec.Source.Dev, rec.Source.Ino);
    std::sort(nodes.begin(), nodes.end());
    struct TAfterRemoval {
        TEntryState Copied, After;
        bool ChangeKnown;  // false where the file system tells nothing more of the removed name's node (FUSE)
    };
    std::map<TNode, TAfterRemoval> afterOwnRemoval;
    const auto entry = [&](int folder, const std::string& name, const TCopiedEntry& rec) {
        const TNode key{rec.Source.Dev, rec.Source.Ino};
        const auto own = afterOwnRemoval.find(key);
        // Two files of one node number (a FUSE folder over two file systems) are told apart by their
        // size and time (a FUSE folder may tell two names of one file apart by change times it kept).
        const bool sameFile = own != afterOwnRemoval.end() && rec.Source.Size == own->second.Copied.Size &&
            SameTime(rec.Source.Time, own->second.Copied.Time);
        const TEntryState& was = sameFile ? own->second.After : rec.Source;
        const int node = openat(folder, name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
        struct stat now;
        TRecordStep step = TRecordStep::Done;
        if (node < 0 || fstat(node, &now) != 0 || !Unchanged(now, was, !sameFile || own->second.ChangeKnown)) {
            changed(name, node < 0 && errno == ENOENT);
            step = TRecordStep::Skip;
        } else if (S_ISDIR(now.st_mode)) {
            step = TRecordStep::Enter;
        } else if (unlinkat(folder, name.c_str(), 0) != 0) {
            ok = FailAt(run, walk, name, errno);
        } else {
            whole = false;
            const auto [first, last] = std::equal_range(nodes.begin(), nodes.end(), key);
            if (struct stat after; last - first > 1) {
                const bool known = fstat(node, &after) == 0;
                afterOwnRemoval[key] = {rec.Source, known ? StateOf(after) : was, known};
            }
        }
        if (node >= 0)
            close(node);
        return step;
    };
    const auto leave = [&](int folder, const std::string& name) {
        if (unlinkat(folder, name.c_str(), AT_REMOVEDIR) == 0) {
            whole = false;
            return;
        }
        if (errno == ENOTEMPTY || errno == EEXIST)
            changed(name);
        else
            ok = FailAt(run, walk, name, errno);
    };
    const bool walked = WalkRecord(walk, top, copied, run, entry, leave);
    if (untouched)
        *untouched = whole;
    return walked && ok;
}

bool RemoveMade(const std::string& to, const TCopyRecord& made, TTreeRun& undo, const TReplacedEntry& replaced)
{
    TFolderPath walk;
    std::string top;
    if (!StartAtParent(to, walk, top, undo))
        return false;
    bool ok = true;
    // The mode of each folder entered, by depth, where it was opened to its owner: one that stays
    // gets it back.
    std::vector<std::pair<bool, struct stat>> opened;
    const TReplacedEntry nothing;
    const auto entry = [&](int folder, const std::string& name, const TCopiedEntry& rec) {
        const TReplacedEntry& over = rec.Depth == 0 ? replaced : nothing;
        // Says why the entry stays, and where what it replaced is kept.
        const auto stays = [&](const AnsiString& why) {
            ok = false;
            if (undo.Keeps())
                undo.Fail(StoredPath(walk.Path(name)) + why +
                          (over.Aside.empty() ? AnsiString()
                                              : "; what it replaced is kept as " + StoredPath(walk.Path(over.Aside))));
        };
        // Another user's file written in place is that file still: what it held before is gone.
        if (over.InPlace) {
            stays(" is another user's file the copy wrote over in place, and keeps what it wrote");
            return TRecordStep::Skip;
        }
        // What a copy replaced is put back, or, where it could not be kept, the copy stays rather
        // than nothing.
        if (over.Lost) {
            stays(" stays: it replaced a file its file system could not keep aside");
            return TRecordStep::Skip;
        }
        struct stat now;
        if (fstatat(folder, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0 || !IsMade(rec.Made, folder, name, now)) {
            if (!over.Aside.empty())
                stays(" is not what the copy made and stays");
            return TRecordStep::Skip;  // not what the copy made
        }
        // Without the file system's handle, what another program made since in the place of what
        // the copy made may have its node number: nothing tells them apart.
        if (rec.Made.Handle.empty()) {
            stays(" stays: its file system cannot tell whether it is what the copy made");
            return TRecordStep::Skip;
        }
        if (!over.Aside.empty()) {
            if (const AnsiString why = PutBack(folder, name, rec.Made, over); !why.empty())
                stays(why);
            return TRecordStep::Done;
        }
        if (S_ISDIR(now.st_mode)) {
            // A folder it made read-only is its maker's to open again.
            opened.resize(rec.Depth + 1);
            opened[rec.Depth] = {(now.st_mode & S_IRWXU) != S_IRWXU, now};
            if (opened[rec.Depth].first && !SetFolderMode(folder, name, now, (now.st_mode & 07777) | S_IRWXU)) {
                opened[rec.Depth].first = false;
                ok = FailAt(undo, walk, name, errno);
            }
            return TRecordStep::Enter;
        }
        if (unlinkat(folder, name.c_str(), 0) != 0 && errno != ENOENT)
            ok = FailAt(undo, walk, name, errno);
        return TRecordStep::Done;
    };
    // A folder that holds what another program put there stays, with it.
    const auto leave = [&](int folder, const std::string& name) {
        if (unlinkat(folder, name.c_str(), AT_REMOVEDIR) == 0 || errno == ENOENT)
            return;
        const int error = errno;
        ok = false;
        if (const auto& [changed, was] = opened[walk.Depth()]; changed)
            SetFolderMode(folder, name, was, was.st_mode & 07777);
        if (error != ENOTEMPTY && error != EEXIST)
            FailAt(undo, walk, name, error);
        else if (undo.Keeps())
            undo.Fail(StoredPath(walk.Path(name)) + " holds what the copy did not make and stays");
    };
    return WalkRecord(walk, top, made, undo, entry, leave) && ok;
}

void DropReplaced(const std::string& to, const TReplacedEntry& replaced)
{
    if (replaced.Aside.empty())
        return;
    std::string folderPath, name;
    SplitPath(WithoutTrailingSlashes(to), folderPath, name);
    const int folder = open(folderPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return;
    if (Holds(folder, replaced.Aside, replaced.Kept))
        unlinkat(folder, replaced.Aside.c_str(), 0);
    close(folder);
}
