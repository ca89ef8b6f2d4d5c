#pragma once
// A walk down a folder tree through the folders it opened: each folder is opened relative to its
// parent and never through a symbolic link, so a folder swapped for a link once the walk is in it
// is not followed, and no path is ever longer than one name. Any depth costs a bounded number of
// descriptors: past kOpenLevels the outer folders give theirs up, and a folder is opened again,
// when the walk comes back to it, through ".." of the folder it comes from (or, when that was
// moved, by its names from the walk's start), and taken only when it is the same folder (device
// and inode) the walk left. (Not part of the library's interface.)

#include <sys/stat.h>

#include <functional>
#include <string>
#include <vector>

// Folders holding a descriptor at once in one walk, its start included.
constexpr size_t kOpenLevels = 16;

bool SameNode(const struct stat& a, const struct stat& b);

class TFolderPath {
public:
    TFolderPath() = default;
    ~TFolderPath();
    TFolderPath(const TFolderPath&) = delete;
    TFolderPath& operator=(const TFolderPath&) = delete;

    // Starts at the folder open as `fd` (owned from now on; closed when the walk ends), shown in
    // messages as `shown` (a native path). False with errno when it cannot be looked at.
    bool Start(int fd, std::string shown);
    // Opens the subfolder `name` of the innermost folder, without following a link, and makes it
    // the innermost. False with errno when it cannot (ELOOP or ENOTDIR: it is no folder now).
    bool Enter(const std::string& name);
    // Makes the innermost folder's parent the innermost again; false with errno (ESTALE when that
    // folder cannot be found again as the one left).
    bool Leave();
    // The innermost folder's descriptor, and the start's.
    int Fd() const { return levels_.back().Fd; }
    int StartFd() const { return levels_.front().Fd; }
    // The innermost folder's name in its parent (empty at the start).
    const std::string& Name() const { return levels_.back().Name; }
    // The innermost folder as opened.
    const struct stat& Info() const { return levels_.back().Info; }
    // Levels entered below the start (0 at the start).
    size_t Depth() const { return levels_.size() - 1; }
    // The innermost folder's native path from the start's, with `name` added when given.
    std::string Path(const std::string& name = std::string()) const;

private:
    struct TLevel {
        std::string Name;
        struct stat Info;
        int Fd;
    };
    void GiveUpOuterDescriptor();
    bool OpenAgain(size_t level, int from);

    std::vector<TLevel> levels_;
    size_t lowestOpen_ = 1;  // the levels from here to the innermost hold descriptors, and the start
    std::string shown_;
};

// For tests: how many names the paths of walks have been spelt with so far, all walks together.
size_t FolderNamesSpelt();

// For tests: asked with a folder's name before a walk opens it; false refuses the open.
using TFolderOpenHook = std::function<bool(const std::string& name)>;
TFolderOpenHook SetFolderOpenHook(TFolderOpenHook hook);
// Opens the entry `name` of the folder `at` as a folder (not through a link unless follow), after
// asking the hook; -1 with errno when it cannot.
int OpenFolderAt(int at, const std::string& name, bool follow);
