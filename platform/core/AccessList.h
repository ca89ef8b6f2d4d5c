#pragma once
// A file the program makes beside a user's file (a save's lock, the copy of a file written in
// place) lets in the users and groups that file lets in, read and changed through the system's
// access-list library.

#include <sys/stat.h>

#include <string>

// Lets into the open file `to`, which the caller made, the users and groups that the access list
// or the mode of `from` lets in (stat told `from`; `fromPath` reaches it, followed), its owner and
// group included though `to` has another. With `writersOnly`, those who may write `from` may read
// and write `to`, and nobody else may open it; else each gets on `to` what it has on `from`. The
// caller keeps reading and writing `to`. Empty when done, else why not: a file system without
// access lists cannot let in a user or group other than the file's own.
std::string ShareAccess(const std::string& fromPath, const struct stat& from, int to, bool writersOnly);
