#pragma once
// File-system queries on program paths (cp949, backslashes, relative to the program folder;
// see StoredPath.h).

#include <string_view>

bool FileExists(std::string_view fileName);
bool DirectoryExists(std::string_view dirName);
// Creates the folder and every missing parent; true when the folder exists afterwards.
bool ForceDirectories(std::string_view dirName);
bool DeleteFile(std::string_view fileName);
bool RenameFile(std::string_view oldName, std::string_view newName);
