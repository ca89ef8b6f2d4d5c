// Copying a tree: the source and the destination are walked side by side, each through the
// folders it opened, with a stack of its own; a made folder stays its maker's alone until its
// entries are in, then takes the source folder's permissions and attributes.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "controls/core/FileTree.h"
#include "platform/core/Exceptions.h"
#include "platform/core/ExtendedAttributes.h"
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
// leaves the old entry as it was. errno set on failure.
bool MakeLinkAt(const std::string& target, int folder, const std::string& name, bool replace)
{
    if (!replace)
        return symlinkat(target.c_str(), folder, name.c_str()) == 0;
    for (int n = 0;; ++n) {
        const std::string made = ".~hanmud-link-" + std::to_string(n) + "~";
        if (symlinkat(target.c_str(), folder, made.c_str()) != 0) {
            if (errno == EEXIST)
                continue;
            return false;
        }
        if (renameat(folder, made.c_str(), folder, name.c_str()) == 0)
            return true;
        const int error = errno;
        unlinkat(folder, made.c_str(), 0);
        errno = error;
        return false;
    }
}

class TTreeCopy {
public:
    TTreeCopy(TTreeRun& run, TCopyRecord& record) : run_(run), record_(record) {}
    bool Run(const std::string& from, const std::string& to, bool replace);

private:
    struct TLevel {
        std::vector<std::string> Names;
        size_t Next = 0;
    };
    // Copies one entry of the source's innermost folder; a folder is entered on both sides.
    void CopyOne(const std::string& name, const std::string& to, bool replace);
    bool CopyFolder(const std::string& name, const std::string& to, TCopiedEntry& entry);
    // The made folder, its entries in, takes the source folder's attributes and permissions.
    void FinishFolder();
    bool Fail(TFolderPath& walk, const std::string& name, int error)
    {
        ok_ = false;
        return FailAt(run_, walk, name, error);
    }

    TTreeRun& run_;
    TCopyRecord& record_;
    TFolderPath source_, dest_;
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
    if (fstatat(source_.Fd(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        Fail(source_, name, errno);
    } else if (S_ISDIR(st.st_mode)) {
        copied = CopyFolder(name, to, entry);  // recorded there, before its entries
        entry.Made = {};
    } else if (S_ISLNK(st.st_mode)) {
        std::string target;
        entry.Source = StateOf(st);
        struct stat made;
        if (!ReadLinkAt(source_.Fd(), name, target))
            Fail(source_, name, errno);
        else if (!MakeLinkAt(target, dest_.Fd(), to, replace) ||
                 fstatat(dest_.Fd(), to.c_str(), &made, AT_SYMLINK_NOFOLLOW) != 0)
            Fail(dest_, to, errno);
        else {
            copied = true;
            entry.Made = StateOf(made);
        }
    } else {
        TFileCopy copy;
        copy.FromFolder = source_.Fd();
        copy.From = name;
        copy.ToFolder = dest_.Fd();
        copy.To = to;
        copy.Flush = false;  // the operation flushes its file system once
        copy.FromName = [this, name] { return StoredPath(source_.Path(name)); };
        copy.ToName = [this, to] { return StoredPath(dest_.Path(to)); };
        copy.OverwriteReadOnly = true;  // a replace the user agreed to
        copy.FollowLink = false;
        copy.MustBeNew = !replace;
        copy.Tick = &run_.Tick;
        try {
            CopyNative(copy, &entry.Source, &entry.Made);
            copied = true;
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
    entry.Source = StateOf(source_.Info());
    // No one else may enter it before it has its own permissions.
    if (mkdirat(dest_.Fd(), to.c_str(), 0700) != 0 || !dest_.Enter(to)) {
        Fail(dest_, to, errno);
        source_.Leave();
        return false;
    }
    entry.Made = StateOf(dest_.Info());
    record_.push_back(entry);
    TLevel level;
    if (!ListOpenFolder(source_.Fd(), level.Names))
        Fail(source_, std::string(), errno);
    levels_.push_back(std::move(level));
    return true;
}

void TTreeCopy::FinishFolder()
{
    if (const std::string refusal = KeepExtendedAttributes(source_.Fd(), dest_.Fd()); !refusal.empty()) {
        ok_ = false;
        FailAt(run_, dest_, std::string(), "Cannot keep the access list: " + AnsiString(refusal));
    }
    // Sticky and set-group-ID bits too: a shared folder stays one.
    fchmod(dest_.Fd(), source_.Info().st_mode & 03777);
    const std::string name = dest_.Name();
    if (!source_.Leave() || !dest_.Leave()) {
        ok_ = false;
        FailAt(run_, dest_, name, errno);
        stopped_ = true;
        levels_.clear();
    }
}

}  // namespace

bool CopyEntry(const std::string& from, const std::string& to, bool replace, TTreeRun& run, TCopyRecord* made)
{
    TCopyRecord own;
    return TTreeCopy(run, made ? *made : own).Run(from, to, replace);
}
