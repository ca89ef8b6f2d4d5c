#pragma once
// What the safe writer and the update lock share: the file a save of a name replaces, and the
// program's own hidden files beside it (temporary files and locks), which no user's file is
// ever taken for.

#include <sys/stat.h>

#include <string>
#include <string_view>

namespace SavePaths {

std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);
bool SameFile(const struct stat& a, const struct stat& b);

// Symbolic links followed at most this many times in a row, as the system follows them: a
// chain of this many is followed, one more is a loop.
constexpr int kMostLinks = 40;

// The file a save of the path replaces, or makes, in `file`: a symbolic link is followed to the
// end of its chain, each relative one from its own folder, and a dangling one to the file it
// names. Every link the path leads through, in its folders as in its last name, is followed only
// where the system's own rule for sticky folders would follow it, whatever the machine's setting:
// in a sticky folder that others may write, only a link of the saver's or of the folder's owner.
// Empty when the file is found, else why not (for the user).
std::string SavedFile(const std::string& path, std::string& file);

// ".~hanmud-save-" and twelve random letters or digits, then "~".
std::string TempName();
// ".~hanmud-lock-" and sixteen hexadecimal digits hashed from the saved file's name, then "~":
// the same name for every program that saves that file.
std::string LockName(const std::string& savedName);

// Gives a file of the saver's the owner and group of `old` where the saver may: root gives both,
// a member of old's group the group. False when neither is given.
bool GiveOwnerOf(int fd, const struct stat& old);

// A new file in the open folder for a save, open for writing and locked, so that no clean-up
// takes it for one a killed save left. Made without a name where the file system allows it
// (`name` is then empty, and NameTemp names it), else under a fresh temporary name, given in
// `name`. -1 with errno set when none can be made; nothing is left in the folder then.
int CreateLockedTemp(int folder, std::string& name);
// Gives a file made without a name a fresh temporary name in the open folder, given in `name`;
// false with errno set when it cannot.
bool NameTemp(int fd, int folder, std::string& name);
// The path by which the system reaches an open file or folder ("/proc/self/fd/N"), and a name in
// an open folder.
std::string OpenPath(int fd);
std::string OpenPath(int folder, const std::string& name);

// The permissions a new file gets: read and write for all, less the umask.
mode_t NewFileMode();

// Removes the program's temporary and lock files in the folder that nobody holds, that have no
// other name and that are a minute old: what killed saves left. No other file is touched.
void RemoveStaleFiles(int folder);

}  // namespace SavePaths
