#pragma once
// What the safe writer and the update lock share: the folder and name a save of a path replaces,
// and the program's own hidden files beside it (temporary files, locks and the copies kept while a
// file is written in place), which no user's file is ever taken for.

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
// set. Some file systems count no names of a file that is open: a count of 0 is taken for one
// name (OneName).
bool StatAt(int folder, const std::string& name, struct stat& info);
bool StatOpen(int fd, struct stat& info);
inline bool OneName(const struct stat& info) { return info.st_nlink <= 1; }

// ".~hanmud-save-" and twelve random letters or digits, then "~".
std::string TempName();
// ".~hanmud-lock-" and sixteen hexadecimal digits hashed from the saved file's name, then "~":
// the same name for every program that saves that file.
std::string LockName(const std::string& savedName);
// ".~hanmud-copy-", the same digits and "~": where the old content of a file written in place is
// kept until the new content is on disk. The clean-up never takes it for a killed save's file.
std::string CopyName(const std::string& savedName);

// The path of `name` beside the file shown as `shown`, as messages show it.
std::string ShownBeside(const std::string& shown, const std::string& name);
// Why a file whose old content's copy is there is not saved: a save written in place was cut short
// (for the user; `shown` is the file's path as messages show it).
std::string CutShort(const std::string& shown, const std::string& savedName);

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

// Makes the names in the open folder durable.
void FlushFolder(int folder);

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
// are a minute old, lock files of one name only: what killed saves left. No other file is touched
// (a temporary name of a file of several names goes, the file keeping its others). A folder
// is read whole only at this process's first save in it and again once kSweepEvery has passed
// since: a save must not cost in proportion to the files beside it. Safe from several threads.
void RemoveStaleFiles(int folder);
constexpr std::chrono::minutes kSweepEvery{10};

}  // namespace SavePaths
