#pragma once
// What the safe writer and the update lock share: the folder and name a save of a path replaces,
// and the program's own hidden files beside it (temporary files, locks and the journals of files
// written in place), which no user's file is ever taken for.

#include <sys/stat.h>

#include <chrono>
#include <string>
#include <string_view>

#include "platform/core/AtomicFile.h"

namespace SavePaths {

bool SameFile(const struct stat& a, const struct stat& b);

// Symbolic links followed at most this many times in a row, as the system follows them: a
// chain of this many is followed, one more is a loop.
constexpr int kMostLinks = 40;

// The folder and name a save of the path replaces or makes: a symbolic link is followed to the
// end of its chain, each relative one from its own folder, and a dangling one to the file it
// names. Every link the path leads through, in its folders as in its last name, is followed only
// where the system's own rule for sticky folders would follow it, whatever the machine's setting:
// in a sticky folder that others may write, only a link of the saver's or of the folder's owner.
// The path is walked a folder at a time, each opened from the one before and never through a
// link, so that the folder given is the one whose links were checked, whatever is swapped
// meanwhile. `folder` is then an open folder (O_PATH) for the caller to close, `name` one name in
// it ("." or ".." where the path ends in no file's name), `shown` the path as messages show it.
// Empty when done, else why not (for the user), and nothing is left open.
std::string OpenSavedFile(const std::string& path, int& folder, std::string& name, std::string& shown);

// What stat tells of a name in an open folder (not followed) or of an open file; false with errno
// set. No count of names is to be trusted: some file systems count none of a file that is open,
// others keep a removed open file under a hidden name.
bool StatAt(int folder, const std::string& name, struct stat& info);
bool StatOpen(int fd, struct stat& info);

// ".~hanmud-save-" and twelve random letters or digits, then "~".
std::string TempName();
// ".~hanmud-journal-" and twelve random letters or digits, then "~": where a save written in place
// keeps its new content (SaveJournal.h).
std::string JournalName();
// ".~hanmud-lock-" and sixteen hexadecimal digits hashed from the saved file's name, then "~":
// the same name for every program that saves that file.
std::string LockName(const std::string& savedName);
// The path of `name` beside the file shown as `shown`, as messages show it.
std::string ShownBeside(const std::string& shown, const std::string& name);

// Gives a file of the saver's the owner and group of `old` where the saver may: root gives both,
// a member of old's group the group. False when neither is given.
bool GiveOwnerOf(int fd, const struct stat& old);

// A new file in the open folder for a save, open for reading and writing and locked, so that no clean-up
// takes it for one a killed save left. Made without a name where the file system allows it
// (`name` is then empty, and NameTemp names it), else under a fresh temporary name, given in
// `name`. -1 with errno set when none can be made; nothing is left in the folder then.
int CreateLockedTemp(int folder, std::string& name);
// Gives a file made without a name a fresh temporary name in the open folder, given in `name`;
// false with errno set when it cannot.
bool NameTemp(int fd, int folder, std::string& name);
// Gives a file of the saver's the name in the open folder only where nothing has it: made
// without a name (`temp` empty) it takes the name itself, else it is renamed from `temp` without
// replacing, or where the file system cannot do that, linked and then unlinked at `temp`. 0 when
// named (nothing left at `temp`), else the error (EEXIST where something has the name), `temp`
// then still the file's.
int NameAnew(int fd, int folder, const std::string& temp, const std::string& name);
// The path by which the system reaches an open file or folder ("/proc/self/fd/N"), and a name in
// an open folder.
std::string OpenPath(int fd);
std::string OpenPath(int folder, const std::string& name);

// flock(2), as on a file system without whole-file locks (ENOLCK) where tests ask for one.
int WholeFileLock(int fd, int operation);
// Whether a failure to lock says the file system has no whole-file locks at all.
bool HasNoLocks(int error);

using TClock = std::chrono::steady_clock;
// When a wait for a lock begun now must end: the patience (SetLockPatience) from now.
TClock::time_point PatienceEnds();

// Pauses between two looks at a lock another holds: short, so that a lock let go is soon taken,
// and a little longer the longer the wait.
class TPause {
public:
    // Waits, never past the deadline; false once the deadline has passed.
    bool Wait(TClock::time_point deadline);

private:
    TClock::duration step_ = std::chrono::microseconds(50);
};

enum class TLockWait {
    Taken,
    TimedOut,  // another held it still at the deadline
    NoLocks,   // the file system has none
    Refused,   // the system will not lock this file (errno says why)
};
// Takes the whole-file lock (LOCK_SH or LOCK_EX) of the open file, waiting for other holders until
// the deadline.
TLockWait LockWithin(int fd, int operation, TClock::time_point deadline);

// Makes the names in the open folder durable; where the folder may be entered but not read, by
// flushing its whole file system through `inIt`, a file open there (-1: none). False where it
// could not.
bool FlushFolder(int folder, int inIt = -1);

// Writes all of `data` at the open file's offset; false with errno set where it cannot.
bool WriteAll(int fd, std::string_view data);

// For the writer's tests: true, and the injection used up, where InjectAtomicWriteFailure asked
// this step to fail.
bool Injected(TAtomicWriteStep step);
// For tests: runs the hook SetAtSaveStep set, if any.
void AtStep(TSaveStep step);

// The permissions a new file gets: read and write for all, less the umask.
mode_t NewFileMode();

// Removes the program's temporary and lock files in the open folder that nobody holds and that
// are a minute old, and journals a minute old that no file of the folder is marked as being written
// from: what killed saves left. No other file is touched (a name of a file of several
// names goes, the file keeping its others). A folder
// is read whole only at this process's first save in it and again once kSweepEvery has passed
// since: a save must not cost in proportion to the files beside it. Safe from several threads.
void RemoveStaleFiles(int folder);
constexpr std::chrono::minutes kSweepEvery{10};

}  // namespace SavePaths
