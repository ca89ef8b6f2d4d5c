#pragma once
// Pieces shared by the file utilities' sources (not part of the library's interface).

#include <sys/stat.h>
#include <sys/types.h>

#include <functional>
#include <string>
#include <string_view>

#include "platform/core/Object.h"

// Called again and again while long work goes on (each entry, each block copied); false asks the
// work to stop.
using TWorkTick = std::function<bool()>;

// An entry as a copy found it or made it: enough to tell later whether it is still that entry.
struct TEntryState {
    dev_t Dev = 0;
    ino_t Ino = 0;
    mode_t Mode = 0;
    off_t Size = 0;
    struct timespec Time = {};    // modification
    struct timespec Change = {};  // of the inode (a write, a change of mode, owner or attributes)
    std::string Handle;           // the file system's, of what a copy made, where it gives one
};
TEntryState StateOf(const struct stat& st);
// A plain file nobody may write: a replace asks before it, or refuses it.
inline bool IsReadOnlyFile(const struct stat& st) { return S_ISREG(st.st_mode) && (st.st_mode & 0222) == 0; }
// The same node (device and inode).
bool SameEntry(const TEntryState& a, const struct stat& b);
// The file system's handle of the entry `name` of the open folder (not followed; empty: the open
// file or folder itself): it names the node and that node's generation, so a node number given
// again to a later entry has another. Empty where the file system gives none.
std::string HandleAt(int folder, const std::string& name);
// Whether the entry `name` of the open folder, as `now` found it (not followed), is the one a
// copy made (`made`, its Handle given): the same node of the same generation. A node number freed
// and given to what another program made since is told apart by its handle.
bool IsMade(const TEntryState& made, int folder, const std::string& name, const struct stat& now);

// What became of the entry a move's copy found at its destination's name.
struct TReplacedEntry {
    // Kept beside it under this name until the move is done or undone, as `Kept` found it.
    std::string Aside;
    TEntryState Kept;
    bool Lost = false;     // replaced where the file system cannot keep it aside
    bool InPlace = false;  // another user's file written over in place: the copy is that file now
};

// One regular file copied from a name in a folder to a name in another (AT_FDCWD: the names are
// paths), for CopyFileEx and the trees.
struct TFileCopy {
    int FromFolder = -100;  // AT_FDCWD
    std::string From;
    int ToFolder = -100;
    std::string To;
    // The program's spellings, for messages (asked only for one).
    std::function<AnsiString()> FromName, ToName;
    bool OverwriteReadOnly = false;
    bool FollowLink = true;   // false: a link at From is refused, never read through
    bool MustBeNew = false;   // an existing To is refused instead of replaced
    bool MakeFolder = false;  // To's folder is made when missing (paths only)
    bool Flush = true;        // false: the caller flushes the file system once, before it relies on the copy
    // A move's: a copy holding less than the source's size is refused, and the copy keeps the
    // set-id bits where it has the owner and group they are of.
    bool Moving = false;
    TObject* Progress = nullptr;
    const TWorkTick* Tick = nullptr;  // asked before each block; false raises EAbort
};
// Copies through the atomic writer, reading until the source ends (a read that comes back short
// is no end, and a file system may overstate a file's size); where the source has holes, only its
// data is read and the copy keeps the holes. Only a regular file is read: a FIFO, a device or a
// socket is refused with the reason, never waited on. The copy is made under a fresh name and
// renamed over To (or, MustBeNew, named To only where nothing is): it is its writer's alone, of
// no other owner, group or access list, until it has the source's group (and, for root, its
// owner) where it may, then its access list and extended attributes, permission bits (set-id
// bits dropped, but for a move's) and modification time. The entry at To is replaced itself: a
// link there is replaced, never followed; a file another user may write but the copier may not,
// or a read-only one without OverwriteReadOnly, is refused; nothing is ever made writable. A file
// of another user's that the copier may write is written in place, as a save writes it, and keeps
// its owner, group, mode and access list. `source`, when given, receives the source as it was before its first read, and `made` the
// copy. With `replaced` given, an entry the copy replaces is kept aside (ReplaceThroughFreshName)
// and `replaced` says what became of it. A copy holds what the source held, a prefix at most.
// Raises EFOpenError, EFCreateError, EReadError, EWriteError (each naming the file and the
// reason) or EAbort.
void CopyNative(const TFileCopy& copy, TEntryState* source = nullptr, TEntryState* made = nullptr,
                TReplacedEntry* replaced = nullptr);

// Gives `made`, a file or folder a copy made of the one open as `source` (`src` as it was before
// the copy read it), the source's owner where it may (root) and group where it may, then the
// source's access lists and extended attributes (none where the source has none, or its file
// system keeps none: not those the copy's folder hands down), then its permission bits of `bits`.
// Where the group could not be kept, the group the copy has instead gets only what everyone gets:
// its bits, and its entry in the access lists, are the source group's as far as the source's
// others have them too, and no set-group-ID bit; where the owner could not be kept, no
// set-user-ID bit. Empty when done, else why the access list could not be kept.
std::string KeepOwnershipAndMode(int source, const struct stat& src, int made, mode_t bits);
// The same owner and group for a symbolic link made as a copy, by its name in its folder.
void KeepLinkOwnership(int folder, const std::string& name, const struct stat& src);

// Makes an entry under a fresh hidden name beside `name` in the folder and renames it over the
// name, so that a failure leaves the entry at the name as it was. `make` makes the entry at the
// name it is given and answers 0, EEXIST when that name is taken (another is tried), or the
// error. 0 when made and renamed, else the error (nothing made is left). The fresh names are the
// safe writer's temporary names, drawn from the system's randomness (other threads, forked
// processes and other PID namespaces draw others): a file that a killed copy left under one,
// unlocked, is cleared away as the writer clears its own. With `replaced` given, an entry at the
// name is kept beside it instead, under a name of its own that no clean-up takes
// (".~hanmud-kept-" and random letters): the new entry is made under that name and the two are
// exchanged, so that a kill at any moment leaves the old entry under one of its two names. Where
// the file system cannot exchange two names, the entry is replaced, and `replaced` says it is lost.
int ReplaceThroughFreshName(int folder, const std::string& name, const std::function<int(const std::string&)>& make,
                            TReplacedEntry* replaced = nullptr);

// For tests: each read of a copied file gives at most `most` bytes, and the file seems to end
// after `end` bytes (0: no such limit).
void SetCopyReads(size_t most, int64_t end);
// For tests: called before each read of a copied file with the offset it reads from.
void SetCopyReadHook(std::function<void(int64_t offset)> hook);
// For tests: called when the copy of a file with holes finds no data past the offset it reached.
void SetCopyNoMoreDataHook(std::function<void(int64_t offset)> hook);
// For tests: asked before a move or a copy flushes its file system; false fails the flush (EIO).
void SetFlushHook(std::function<bool()> hook);

// Why a node that is not a regular file is not copied, as a sentence ("It is a named pipe.").
const char* NotARegularFile(mode_t mode);

// The system's text for an errno value, for the user.
AnsiString SystemReason(int error);

// An XDG base folder: the variable when it holds an absolute path, else HOME + fallback.
std::string XdgFolder(const char* variable, const char* fallback);

// A native path with every byte but unreserved characters and "/" percent-encoded.
std::string PercentEncodePath(const std::string& path);
