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
// names. A link in a sticky folder that others may write is followed only when it belongs to
// the saver or to the folder's owner, the rule the system applies to its own path lookups.
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

// The permissions a new file gets: read and write for all, less the umask.
mode_t NewFileMode();

// Removes the program's temporary and lock files in the folder that nobody holds, that have no
// other name and that are a minute old: what killed saves left. No other file is touched.
void RemoveStaleFiles(const std::string& folder);

}  // namespace SavePaths
