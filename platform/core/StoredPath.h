#pragma once
// Paths as the program stores and handles them (cp949, backslashes, relative to the program
// folder, as files written on Windows hold them) and as the system opens them (UTF-8, slashes,
// absolute).

#include <string>
#include <string_view>

#include "platform/core/AnsiString.h"

// A program path to a native one: backslashes become slashes, a drive prefix ("C:") is dropped,
// a relative path is taken from the program folder; "." and ".." steps are resolved by name.
// An empty path stays empty.
std::string NativePath(std::string_view programPath);
// A native path to a program path: relative (no leading backslash) when it lies inside the
// program folder, else absolute; slashes become backslashes.
AnsiString StoredPath(std::string_view nativePath);
