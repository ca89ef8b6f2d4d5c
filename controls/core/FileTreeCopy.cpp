// Copying a tree: the source and the destination are walked side by side, each through the
// folders it opened, with a stack of its own; a made folder stays its maker's alone until its
// entries are in, then takes the source folder's group, attributes and permissions. The folders
// made are known by device, inode and handle, and never entered as a source: a destination moved
// or bound into the source while the copy runs is not copied into itself without end. A file
// with more than one name is copied once: its later names in the tree are links to that copy.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <utility>

#include "controls/core/FileTree.h"
#include "platform/core/Exceptions.h"
#include "platform/core/FileFind.h"
#include "platform/core/StoredPath.h"

namespace {

bool ReadLinkAt(int folder, const std::string& name, std::string& target)
{
    target.assign(256, '\0');
    for (;;) {
        const ssize_t n = readlinkat(folder, name.c_str(), target.data(), target.size());
        if (n < 0)
            return false;
        if (static_cast<size_t>(n) < target.size()) {
            target.resize(static_cast<size_t>(n));
            return true;
        }
        target.resize(target.size() * 2);
    }
}

// Makes a link to `target` at `name`; with replace, beside it and renamed over it, so a failure
// leaves the old entry as it was (kept aside where `replaced` is given). errno set on failure.
bool MakeLinkAt(const std::string& target, int folder, const std::string& name, bool replace, TReplacedEntry* replaced)
{
    const auto make = [&](const std::string& at) {
        return symlinkat(target.c_str(), folder, at.c_str()) == 0 ? 0 : errno;
    };
    errno = replace ? ReplaceThroughFreshName(folder, name, make, replaced) : make(name);
    return errno == 0;
}

// Folders of first copies held open at once for their later names (beyond, a folder is reached
// by its names from the start).
constexpr size_t kHeldFolders = 256;

class TTreeCopy {
public:
    TTreeCopy(TTreeRun& run, TCopyRecord& record, TReplacedEntry* replaced)
        : run_(run), record_(record), replaced_(replaced)
    {}
    ~TTreeCopy()
    {
        for (const auto& [index, folder] : held_)
            close(folder.Fd);
    }
    TTreeCopy(const TTreeCopy&) = delete;
    TTreeCopy& operator=(const TTreeCopy&) = delete;
    bool Run(const std::string& from, const std::string& to, bool replace);

private:
    struct TLevel {
        std::vector<std::string> Names;
        size_t Next = 0;
        size_t Folder = 0;  // the made folder it copies into, in folders_
    };
    // A folder the copy made, by its folder's place in folders_ and its name there; the first is
    // the folder the copy starts in.
    struct TMadeFolder {
        size_t Parent;
        std::string Name;
    };
    // The copy of a file with more than one name, for its later names to be linked to until as
    // many as it has are met.
    struct TFirstCopy {
        size_t Folder;
        std::string Name;
        TEntryState Source, Made;
        nlink_t NamesLeft;
        bool Held;  // its folder is held open for it
    };
    // A made folder held open (a path only) while first copies in it wait for their later names.
    struct THeldFolder {
        int Fd;
        size_t Copies;
    };
    // Copies one entry of the source's innermost folder; a folder is entered on both sides.
    void CopyOne(const std::string& name, const std::string& to, bool replace);
    bool CopyFolder(const std::string& name, const std::string& to, TCopiedEntry& entry);
    // Makes `to` another name of the copy made of an earlier name of the file `st`; false where
    // there is none, or it is not what the copy made now, or it cannot be linked.
    bool LinkToFirstCopy(const struct stat& st, const std::string& to, TCopiedEntry& entry);
    // Opens the made folder folders_[index] from the destination's start, name by name, never
    // through a link, as a path only (it needs no right to read a folder on the way); -1 when it
    // cannot.
    int OpenMadeFolder(size_t index) const;
    // Holds the innermost made folder open for a first copy in it, while fewer than kHeldFolders
    // are (false where it is not held); lets it go with the last of its first copies.
    bool HoldFolder();
    void LetGoOfFolder(size_t index);
    size_t CurrentFolder() const { return levels_.empty() ? 0 : levels_.back().Folder; }
    // The made folder, its entries in, takes the source folder's attributes and permissions.
    void FinishFolder();
    // A failure at an entry of the source, or of the destination, which is named also at the
    // start: the caller names the source alone.
    bool Fail(TFolderPath& walk, const std::string& name, const AnsiString& reason)
    {
        ok_ = false;
        return &walk == &dest_ ? FailNamed(run_, walk, name, reason) : FailAt(run_, walk, name, reason);
    }
    bool Fail(TFolderPath& walk, const std::string& name, int error) { return Fail(walk, name, SystemReason(error)); }
    // The link just made at `to` takes the source link's owner and group where it may; false
    // when it cannot be looked at.
    bool KeepLink(const std::string& to, const struct stat& src, struct stat& made)
    {
        KeepLinkOwnership(dest_.Fd(), to, src);
        return fstatat(dest_.Fd(), to.c_str(), &made, AT_SYMLINK_NOFOLLOW) == 0 || Fail(dest_, to, errno);
    }
    // Whether the entry `name` of the open folder, as `st` found it, is a folder this copy made.
    bool Made(int folder, const std::string& name, const struct stat& st) const
    {
        const auto found = made_.find({st.st_dev, st.st_ino});
        if (found == made_.end())
            return false;
        TEntryState made = StateOf(st);
        made.Handle = found->second;
        return IsMade(made, folder, name, st);
    }
    // A path for a message, spelt only when the message is kept.
    AnsiString Spelt(const TFolderPath& walk, const std::string& name) const
    {
        return run_.Keeps() ? StoredPath(walk.Path(name)) : AnsiString();
    }

    TTreeRun& run_;
    TCopyRecord& record_;
    TReplacedEntry* replaced_;  // a move's: what became of the entry the first one replaces
    TFolderPath source_, dest_;
    std::map<std::pair<dev_t, ino_t>, std::string> made_;  // the folders this copy made, and their handles
    std::vector<TMadeFolder> folders_{{0, std::string()}};
    std::map<std::pair<dev_t, ino_t>, TFirstCopy> firstCopies_;  // by the source file's node
    std::map<size_t, THeldFolder> held_;                         // by the folder's place in folders_
    std::vector<TLevel> levels_;
    bool ok_ = true;
    bool stopped_ = false;
};

bool TTreeCopy::Run(const std::string& from, const std::string& to, bool replace)
{
    std::string fromName, toName;
    if (!StartAtParent(from, source_, fromName, run_) || !StartAtParent(to, dest_, toName, run_))
        return false;
    CopyOne(fromName, toName, replace);
    while (!levels_.empty()) {
        TLevel& level = levels_.back();
        if (stopped_ || level.Next == level.Names.size()) {
            levels_.pop_back();
            FinishFolder();
            stopped_ = !run_.Going() || stopped_;  // heard on the way back up too
            continue;
        }
        const std::string name = std::move(level.Names[level.Next++]);
        CopyOne(name, name, false);
    }
    return ok_ && !run_.Cancelled;
}

void TTreeCopy::CopyOne(const std::string& name, const std::string& to, bool replace)
{
    if (!run_.Going()) {
        stopped_ = true;
        return;
    }
    TCopiedEntry entry;
    entry.Name = name;
    entry.Depth = levels_.size();
    struct stat st;
    bool copied = false;
    // A move copies only what it may remove after: what it may not is refused before the source
    // loses anything.
    int refusal = 0;
    if (fstatat(source_.Fd(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        Fail(source_, name, errno);
    } else if (run_.Moving && (refusal = MayRemoveEntry(source_.Fd(), source_.Info(), name, st)) != 0) {
        Fail(source_, name, refusal);
    } else if (S_ISDIR(st.st_mode) && Made(source_.Fd(), name, st)) {
        Fail(source_, name, kIntoItself);
    } else if (S_ISDIR(st.st_mode)) {
        copied = CopyFolder(name, to, entry);  // recorded there, before its entries
        entry.Made = {};
    } else if (S_ISLNK(st.st_mode)) {
        std::string target;
        entry.Source = StateOf(st);
        struct stat made;
        if (!ReadLinkAt(source_.Fd(), name, target))
            Fail(source_, name, errno);
        else if (!MakeLinkAt(target, dest_.Fd(), to, replace, replace ? replaced_ : nullptr))
            Fail(dest_, to, errno);
        else
            copied = KeepLink(to, st, made);
        if (copied) {
            entry.Made = StateOf(made);
            entry.Made.Handle = HandleAt(dest_.Fd(), to);
        }
    } else if (st.st_nlink > 1 && LinkToFirstCopy(st, to, entry)) {
        copied = true;
    } else {
        TFileCopy copy;
        copy.FromFolder = source_.Fd();
        copy.From = name;
        copy.ToFolder = dest_.Fd();
        copy.To = to;
        copy.Flush = false;  // the operation flushes its file system once
        copy.FromName = [this, name] { return Spelt(source_, name); };
        copy.ToName = [this, to] { return Spelt(dest_, to); };
        copy.OverwriteReadOnly = true;  // a replace the user agreed to
        copy.FollowLink = false;
        copy.MustBeNew = !replace;
        copy.Moving = run_.Moving;
        copy.Tick = &run_.Tick;
        try {
            CopyNative(copy, &entry.Source, &entry.Made, replace ? replaced_ : nullptr);
            copied = true;
            if (st.st_nlink > 1)
                if (const auto [first, fresh] = firstCopies_.emplace(
                        std::make_pair(entry.Source.Dev, entry.Source.Ino),
                        TFirstCopy{CurrentFolder(), to, entry.Source, entry.Made, st.st_nlink - 1, false});
                    fresh)
                    first->second.Held = HoldFolder();
        } catch (const EAbort&) {
            run_.Cancelled = true;
        } catch (const Exception& e) {
            ok_ = run_.Fail(e.Message);
        }
    }
    if (entry.Made.Ino != 0)
        record_.push_back(std::move(entry));
    if (!copied && (run_.Cancelled || !run_.GoOnPastFailures))
        stopped_ = true;
}

bool TTreeCopy::CopyFolder(const std::string& name, const std::string& to, TCopiedEntry& entry)
{
    if (!source_.Enter(name))
        return Fail(source_, name, errno);
    if (Made(source_.Fd(), std::string(), source_.Info())) {  // put there since it was looked at
        source_.Leave();
        return Fail(source_, name, kIntoItself);
    }
    if (const int refusal = run_.Moving ? MayRemoveFrom(source_.Fd()) : 0; refusal != 0) {
        source_.Leave();
        return Fail(source_, name, refusal);
    }
    entry.Source = StateOf(source_.Info());
    // No one else may enter it before it has its own permissions. One it made but cannot enter
    // is still empty, and goes again.
    const bool madeFolder = mkdirat(dest_.Fd(), to.c_str(), 0700) == 0;
    if (!madeFolder || !dest_.Enter(to)) {
        const int error = errno;
        if (madeFolder)
            unlinkat(dest_.Fd(), to.c_str(), AT_REMOVEDIR);
        Fail(dest_, to, error);
        source_.Leave();
        return false;
    }
    entry.Made = StateOf(dest_.Info());
    entry.Made.Handle = HandleAt(dest_.Fd(), std::string());
    made_.emplace(std::make_pair(entry.Made.Dev, entry.Made.Ino), entry.Made.Handle);
    record_.push_back(entry);
    TLevel level;
    level.Folder = folders_.size();
    folders_.push_back({CurrentFolder(), to});
    if (!ListOpenFolder(source_.Fd(), level.Names))
        Fail(source_, std::string(), errno);
    levels_.push_back(std::move(level));
    return true;
}

bool TTreeCopy::LinkToFirstCopy(const struct stat& st, const std::string& to, TCopiedEntry& entry)
{
    const auto found = firstCopies_.find({st.st_dev, st.st_ino});
    if (found == firstCopies_.end())
        return false;
    const TFirstCopy& first = found->second;
    // Only a name of the file the first copy was made of: two files of one node number (a FUSE
    // folder over two file systems) differ in size or times.
    if (!Unchanged(st, first.Source))
        return false;
    const auto held = held_.find(first.Folder);
    const int folder = first.Folder == CurrentFolder() ? dest_.Fd()
        : held != held_.end()                          ? held->second.Fd
                                                       : OpenMadeFolder(first.Folder);
    // The node itself, checked, is linked, through its descriptor: never what another program put
    // under the first copy's name since.
    const int node = folder < 0 ? -1 : openat(folder, first.Name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
    if (folder >= 0 && folder != dest_.Fd() && held == held_.end())
        close(folder);
    // Its size and time, the source's, tell it from a later file given its node number where the
    // file system gives no handle to.
    struct stat now;
    bool linked = node >= 0 && fstat(node, &now) == 0 && IsMade(first.Made, node, std::string(), now) &&
        now.st_size == first.Made.Size && now.st_mtim.tv_sec == first.Made.Time.tv_sec &&
        now.st_mtim.tv_nsec == first.Made.Time.tv_nsec &&
        linkat(AT_FDCWD, ("/proc/self/fd/" + std::to_string(node)).c_str(), dest_.Fd(), to.c_str(),
               AT_SYMLINK_FOLLOW) == 0;
    if (node >= 0)
        close(node);
    if (!linked)
        return false;
    entry.Source = first.Source;
    entry.Made = first.Made;
    if (--found->second.NamesLeft == 0) {
        if (first.Held)
            LetGoOfFolder(first.Folder);
        firstCopies_.erase(found);
    }
    return true;
}

bool TTreeCopy::HoldFolder()
{
    if (const auto held = held_.find(CurrentFolder()); held != held_.end()) {
        ++held->second.Copies;
        return true;
    }
    const int fd = held_.size() < kHeldFolders ? openat(dest_.Fd(), ".", O_PATH | O_DIRECTORY | O_CLOEXEC) : -1;
    if (fd >= 0)
        held_.emplace(CurrentFolder(), THeldFolder{fd, 1});
    return fd >= 0;
}

void TTreeCopy::LetGoOfFolder(size_t index)
{
    const auto held = held_.find(index);
    if (held != held_.end() && --held->second.Copies == 0) {
        close(held->second.Fd);
        held_.erase(held);
    }
}

int TTreeCopy::OpenMadeFolder(size_t index) const
{
    std::vector<const std::string*> names;
    for (; index != 0; index = folders_[index].Parent)
        names.push_back(&folders_[index].Name);
    int at = dest_.StartFd();
    for (auto name = names.rbegin(); name != names.rend() && at >= 0; ++name) {
        const int next = openat(at, (*name)->c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (at != dest_.StartFd())
            close(at);
        at = next;
    }
    return at == dest_.StartFd() ? dup(at) : at;
}

void TTreeCopy::FinishFolder()
{
    // Sticky and set-group-ID bits too: a shared folder stays one.
    if (const std::string refusal = KeepOwnershipAndMode(source_.Fd(), source_.Info(), dest_.Fd(), 03777);
        !refusal.empty()) {
        Fail(dest_, std::string(), "Cannot keep the access list: " + AnsiString(refusal));
    }
    const std::string name = dest_.Name();
    if (!source_.Leave() || !dest_.Leave()) {
        ok_ = false;
        FailAt(run_, dest_, name, errno);
        stopped_ = true;
        levels_.clear();
    }
}

}  // namespace

bool CopyEntry(const std::string& from, const std::string& to, bool replace, TTreeRun& run, TCopyRecord* made,
               TReplacedEntry* replaced)
{
    TCopyRecord own;
    return TTreeCopy(run, made ? *made : own, replaced).Run(from, to, replace);
}
