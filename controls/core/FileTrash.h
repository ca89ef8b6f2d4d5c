#pragma once
// Moving into the user's freedesktop trash ($XDG_DATA_HOME/Trash), for the file operator's
// deletion with undo. (Not part of the library's interface.)

#include <string>

#include "controls/core/FileTree.h"

// Moves the entry at the path into the trash, with the info file that lets it be restored, under
// its own name or NAME.2, NAME.3, ... when that is taken. Across file systems it is copied (links
// as links, permissions kept) and the source removed as it was copied. False, with the reason in
// run, when that fails: then no entry nor info file of it is left in the trash and the source is
// whole; the root folder is refused.
bool Trash(const std::string& nativePath, TTreeRun& run);
