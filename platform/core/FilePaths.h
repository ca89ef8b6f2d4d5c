#pragma once
// The framework's file-name helpers on program text. A path delimiter is a backslash or a
// slash (and the colon of a drive prefix); both kinds of path work.

#include <string_view>

#include "platform/core/AnsiString.h"

// The folder part with its trailing delimiter ("C:\\a\\" of "C:\\a\\b.txt").
AnsiString ExtractFilePath(std::string_view fileName);
// The folder part without its trailing delimiter (except a root).
AnsiString ExtractFileDir(std::string_view fileName);
AnsiString ExtractFileName(std::string_view fileName);
// The extension with its dot, or empty ("." after the last delimiter only).
AnsiString ExtractFileExt(std::string_view fileName);
// Replaces the extension (with its dot) or appends one when there is none.
AnsiString ChangeFileExt(std::string_view fileName, std::string_view extension);
AnsiString IncludeTrailingBackslash(std::string_view path);
AnsiString ExcludeTrailingBackslash(std::string_view path);
inline AnsiString IncludeTrailingPathDelimiter(std::string_view path) { return IncludeTrailingBackslash(path); }
inline AnsiString ExcludeTrailingPathDelimiter(std::string_view path) { return ExcludeTrailingBackslash(path); }
// DestName written relative to the folder of BaseName (a file name, or a folder ending in a
// delimiter), with "..\\" steps where needed; folder names compared exactly.
AnsiString ExtractRelativePath(std::string_view baseName, std::string_view destName);
