#pragma once
// A file that replaces another keeps the other's access list and extended attributes; a file made
// beside another lets in the users and groups the other lets in.

#include <sys/stat.h>

#include <string>

// Gives the open file `to` the extended attributes of the file at `from` (a regular file, not
// followed if a link): its access list and every other attribute the caller may read and set.
// Attributes the caller may not set are left out, but the access list never is: the new file
// would let in whom the old kept out. An access list the new file got from its folder goes when
// the old file had none. Empty when done, else why the access list could not be kept.
std::string KeepExtendedAttributes(const std::string& from, int to);
// The same from an open file or folder `from` (opened for reading, not a path-only descriptor):
// for a folder `to` is a folder too.
std::string KeepExtendedAttributes(int from, int to);

// Lets into the open file `to`, which the caller made, the users and groups that the access list
// or the mode of `from` lets in (stat told `from`; `fromPath` names it, followed where `follow`),
// its owner and group included though `to` has another. With `writersOnly`, those who may write
// `from` may read and write `to`, and nobody else may open it; else each gets on `to` what it has
// on `from`. The caller keeps reading and writing `to`. Empty when done, else why not: a file
// system without access lists cannot let in a user or group other than the file's own.
std::string ShareAccess(const std::string& fromPath, bool follow, const struct stat& from, int to, bool writersOnly);
