#pragma once
// Paths as the program stores and handles them (cp949, backslashes, relative to the program
// folder, as files written on Windows hold them) and as the system opens them (UTF-8, slashes,
// absolute).

#include <string>
#include <string_view>
#include <vector>

#include "platform/core/AnsiString.h"

// A program path to a native one: backslashes become slashes, a drive prefix ("C:") is dropped,
// a relative path is taken from the program folder; "." and ".." steps are resolved by name.
// An empty path stays empty. An escape of StoredName gives back its native byte as it stands.
std::string NativePath(std::string_view programPath);
// A native path to a program path: relative (no leading backslash) when it lies inside the
// program folder, else absolute; slashes become backslashes, each name as StoredName gives it.
AnsiString StoredPath(std::string_view nativePath);
// One native name (no slash) as a program path holds it: its cp949 text where that converts back
// to exactly these bytes. A character that cp949 cannot hold (an emoji, bytes that are no UTF-8)
// or that a program path reads as something else (\ : * ? |) becomes an escape per byte: the
// byte 0xFF, which no cp949 text holds, and the byte in two upper-case hex digits. So a listed
// name, given back, names that one entry and never acts as a wildcard or a separator.
AnsiString StoredName(std::string_view nativeName);
// One name of a program path (no backslash) as the file system spells it: its cp949 text in UTF-8,
// each escape of StoredName given back as its byte.
std::string NativeName(std::string_view programName);
// A program path as the player reads it in a window: the native path, in cp949.
AnsiString ShownPath(std::string_view programPath);

// One of the program's own read-only files (a font, a sample text), given as a program path: the
// program folder's copy when there is one (a player's own file wins), else the copy beside the
// executable, else the program folder's path, so that the failure names where it was looked for.
// A path outside the program folder is only taken as it stands.
std::string ShippedFilePath(std::string_view programPath);
// Where a shipped file or folder is looked for, in order: the program folder's copy, then the one
// beside the executable (when the path lies in the program folder and that is another place).
std::vector<std::string> ShippedPaths(std::string_view programPath);
