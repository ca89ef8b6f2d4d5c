#pragma once
// Whether any process holds a lock on a file, read from the system's list of the locks held
// (/proc/locks). It answers also for a file this process may not open, and so cannot try to lock.

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace SystemLocks {

enum class TLockState {
    Free,     // no process holds a lock on it
    Held,     // a process holds one
    Unknown,  // the list cannot be read, or does not show this file system's locks
};

// The state of the locks of a file (as stat found it). The list names a file by its file
// system's device numbers and its inode, and some file systems number their devices there unlike
// stat: a file made and locked once in `folder`, on the same file system, shows how.
TLockState StateOf(const struct stat& file, const std::string& folder);

// The device numbers and inode by which a list of locks names a file.
struct TListedFile {
    uint32_t major = 0, minor = 0;
    uint64_t inode = 0;
    bool operator==(const TListedFile&) const = default;
};

// Whether the list shows a lock held on the file; a process waiting for one holds nothing.
bool ListShowsHeld(std::string_view list, const TListedFile& file);

}  // namespace SystemLocks
