#pragma once
// A file that replaces another keeps the other's access list and extended attributes.

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
