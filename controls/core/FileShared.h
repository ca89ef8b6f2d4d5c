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
};
TEntryState StateOf(const struct stat& st);
// The same node (device and inode).
bool SameEntry(const TEntryState& a, const struct stat& b);

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
    bool FollowLink = true;    // false: a link at From is refused, never read through
    bool MustBeNew = false;    // an existing To is refused instead of replaced
    bool MakeFolder = false;   // To's folder is made when missing (paths only)
    bool Flush = true;         // false: the caller flushes the file system once, before it relies on the copy
    bool MustBeWhole = false;  // a copy holding less than the source's size is refused (a move's)
    TObject* Progress = nullptr;
    const TWorkTick* Tick = nullptr;  // asked before each block; false raises EAbort
};
// Copies through the atomic writer, reading until the source ends (a read that comes back short
// is no end, and a file system may overstate a file's size); where the source has holes, only its
// data is read and the copy keeps the holes. Only a regular file is read: a FIFO, a device or a
// socket is refused with the reason, never waited on. The copy has the source's group (and, for
// root, its owner) where it may, then its access list and extended attributes, permission bits
// (set-id bits dropped) and modification time; it is readable by its writer alone until it has
// them. A read-only destination is replaced as the entry it is, never changed in place nor
// through a link. `source`, when given, receives the source as it was before its first read, and
// `made` the copy. Raises EFOpenError, EFCreateError, EReadError, EWriteError (each naming the
// file and the reason) or EAbort.
void CopyNative(const TFileCopy& copy, TEntryState* source = nullptr, TEntryState* made = nullptr);

// Gives `made`, a file or folder a copy made of the one open as `source` (`src` as it was before
// the copy read it), the source's owner where it may (root) and group where it may, then the
// source's access lists and extended attributes, then its permission bits of `bits`; where the
// group could not be kept, no permission goes to the group the copy has instead: its bits, its
// set-group-ID bit and its entry in the access lists are left out. Empty when done, else why the
// access list could not be kept.
std::string KeepOwnershipAndMode(int source, const struct stat& src, int made, mode_t bits);
// The same owner and group for a symbolic link made as a copy, by its name in its folder.
void KeepLinkOwnership(int folder, const std::string& name, const struct stat& src);

// Makes an entry under a fresh hidden name beside `name` in the folder and renames it over the
// name, so that a failure leaves the entry at the name as it was. `make` makes the entry at the
// name it is given and answers 0, EEXIST when that name is taken (another is tried), or the
// error. 0 when made and renamed, else the error (nothing made is left).
int ReplaceThroughFreshName(int folder, const std::string& name, const std::function<int(const std::string&)>& make);

// For tests: each read of a copied file gives at most `most` bytes, and the file seems to end
// after `end` bytes (0: no such limit).
void SetCopyReads(size_t most, int64_t end);
// For tests: called before each read of a copied file with the offset it reads from.
void SetCopyReadHook(std::function<void(int64_t offset)> hook);

// Why a node that is not a regular file is not copied, as a sentence ("It is a named pipe.").
const char* NotARegularFile(mode_t mode);

// The system's text for an errno value, for the user.
AnsiString SystemReason(int error);

// An XDG base folder: the variable when it holds an absolute path, else HOME + fallback.
std::string XdgFolder(const char* variable, const char* fallback);

// A native path with every byte but unreserved characters and "/" percent-encoded.
std::string PercentEncodePath(const std::string& path);
