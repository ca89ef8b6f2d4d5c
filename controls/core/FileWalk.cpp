#include "controls/core/FileWalk.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace {

TFolderOpenHook& FolderOpenHook()
{
    static TFolderOpenHook hook;
    return hook;
}

std::atomic<size_t> g_namesSpelt{0};  // walks in other threads count too

void CloseKeepingErrno(int fd)
{
    const int error = errno;
    close(fd);
    errno = error;
}

}  // namespace

bool SameNode(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

TFolderOpenHook SetFolderOpenHook(TFolderOpenHook hook)
{
    TFolderOpenHook old = std::move(FolderOpenHook());
    FolderOpenHook() = std::move(hook);
    return old;
}

int OpenFolderAt(int at, const std::string& name, bool follow)
{
    if (FolderOpenHook() && !FolderOpenHook()(name)) {
        errno = EACCES;
        return -1;
    }
    return openat(at, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | (follow ? 0 : O_NOFOLLOW));
}

TFolderPath::~TFolderPath()
{
    for (const TLevel& level : levels_)
        if (level.Fd >= 0)
            close(level.Fd);
}

bool TFolderPath::Start(int fd, std::string shown)
{
    shown_ = std::move(shown);
    TLevel start{std::string(), {}, fd};
    if (fd < 0 || fstat(fd, &start.Info) != 0) {
        if (fd >= 0)
            CloseKeepingErrno(fd);
        return false;
    }
    levels_.push_back(std::move(start));
    lowestOpen_ = 1;
    return true;
}

bool TFolderPath::Enter(const std::string& name)
{
    TLevel level{name, {}, OpenFolderAt(Fd(), name, false)};
    if (level.Fd < 0)
        return false;
    if (fstat(level.Fd, &level.Info) != 0) {
        CloseKeepingErrno(level.Fd);
        return false;
    }
    levels_.push_back(std::move(level));
    GiveUpOuterDescriptor();
    return true;
}

void TFolderPath::GiveUpOuterDescriptor()
{
    // The start and the levels from lowestOpen_ to the innermost hold one each.
    if (levels_.size() - lowestOpen_ + 1 <= kOpenLevels)
        return;
    close(levels_[lowestOpen_].Fd);
    levels_[lowestOpen_].Fd = -1;
    ++lowestOpen_;
}

bool TFolderPath::OpenAgain(size_t level, int from)
{
    // Through ".." of the folder just left: one step, whatever the depth.
    const int up = openat(from, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat st;
    if (up >= 0 && fstat(up, &st) == 0 && SameNode(st, levels_[level].Info)) {
        levels_[level].Fd = up;
        return true;
    }
    if (up >= 0)
        close(up);
    // That folder was moved: down from the start by name, each folder checked on the way.
    int at = levels_[0].Fd;
    for (size_t i = 1; i <= level; ++i) {
        const int next = openat(at, levels_[i].Name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
        if (at != levels_[0].Fd)
            close(at);
        if (next < 0 || fstat(next, &st) != 0 || !SameNode(st, levels_[i].Info)) {
            if (next >= 0)
                close(next);
            errno = ESTALE;
            return false;
        }
        at = next;
    }
    levels_[level].Fd = at;
    return true;
}

bool TFolderPath::Leave()
{
    TLevel left = std::move(levels_.back());
    levels_.pop_back();
    const size_t top = levels_.size() - 1;
    bool ok = true;
    if (levels_[top].Fd < 0) {
        ok = OpenAgain(top, left.Fd);
        lowestOpen_ = top;
    }
    if (left.Fd >= 0)
        CloseKeepingErrno(left.Fd);
    return ok;
}

size_t FolderNamesSpelt() { return g_namesSpelt.load(std::memory_order_relaxed); }

std::string TFolderPath::Path(const std::string& name) const
{
    g_namesSpelt.fetch_add(levels_.size(), std::memory_order_relaxed);
    std::string path = shown_;
    for (size_t i = 1; i < levels_.size(); ++i)
        path += (path.empty() || path.back() == '/' ? "" : "/") + levels_[i].Name;
    if (!name.empty())
        path += (path.empty() || path.back() == '/' ? "" : "/") + name;
    return path;
}
