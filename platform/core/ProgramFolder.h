#pragma once
// The program folder: where the program keeps its files (CharBooks, Cmd, INI and registry
// files). It is the folder of the executable, or, when that folder cannot be written,
// $XDG_DATA_HOME/hanmud (default ~/.local/share/hanmud), created on first use.

#include <string>

#include "platform/core/AnsiString.h"

// Native (UTF-8) path without a trailing slash.
std::string ProgramFolder();
// The folder the executable lies in, writable or not (files shipped beside the program).
std::string ExecutableFolder();
// The executable's file name, without folder.
std::string ExecutableName();
// Replaces the program folder (tests and tools); an empty path goes back to the default.
void SetProgramFolder(const std::string& nativePath);
// The program folder as program text (cp949) with a trailing backslash, for joining stored
// relative names the way the program does ("CharBooks\\CharBooks").
AnsiString ProgramPath();
