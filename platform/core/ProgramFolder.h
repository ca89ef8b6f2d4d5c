#pragma once
// The program folder: where the player's files live (CharBooks, Cmd, walks, INI and registry
// files). It is always $XDG_DATA_HOME/hanmud (default ~/.local/share/hanmud), created when
// missing, never the folder of the executable: a rebuild or a moved binary loses nothing. The
// program's own read-only files (Fonts) are found there first, then beside the executable
// (ShippedFilePath, StoredPath.h).

#include <string>

#include "platform/core/AnsiString.h"

// Native (UTF-8) path without a trailing slash.
std::string ProgramFolder();
// The folder the executable lies in (files shipped beside the program).
std::string ExecutableFolder();
// The executable's file name, without folder.
std::string ExecutableName();
// Replaces the program folder (tests and tools); an empty path goes back to the default.
void SetProgramFolder(const std::string& nativePath);
// The program folder as program text (cp949) with a trailing backslash, for joining stored
// relative names the way the program does ("CharBooks\\CharBooks").
AnsiString ProgramPath();
