#pragma once
// Whether any process holds a lock on a file, read from the system's list of the locks held
// (/proc/locks). It answers also for a file this process may not open, and so cannot try to lock.
// Any user adds lines to the list by taking locks, and the system takes longer for each line the
// more lines there are: the list is read only until a deadline, and only up to a size.

#include <sys/stat.h>
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace SystemLocks {

enum class TLockState {
    Free,     // no process holds a lock on it
    Held,     // a process holds one
    Unknown,  // the list cannot be read whole before the deadline, or does not show this file
              // system's locks: whoever asks must take the file for held
};

// The state of the locks of a file (as stat found it). The list names a file by its file
// system's device numbers and its inode, and some file systems number their devices there unlike
// stat: a file made and locked once in the open folder `folder`, on the same file system, shows
// how. On a file system that has no locks, nobody holds one: Free.
TLockState StateOf(const struct stat& file, int folder, std::chrono::steady_clock::time_point deadline);

// For tests: the list is read from this file in place of the system's ("/proc/locks").
void SetListPath(std::string path);

// The device numbers and inode by which a list of locks names a file.
struct TListedFile {
    uint32_t major = 0, minor = 0;
    uint64_t inode = 0;
    bool operator==(const TListedFile&) const = default;
};

// Whether the list shows a lock held on the file; a process waiting for one holds nothing.
bool ListShowsHeld(std::string_view list, const TListedFile& file);

}  // namespace SystemLocks
