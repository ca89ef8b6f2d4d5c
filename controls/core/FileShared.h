#pragma once
// Pieces shared by the file utilities' sources (not part of the library's interface).

#include <string>
#include <string_view>

#include "platform/core/Object.h"

// The chunked copy on native paths, for CopyFileEx and the file operator. The names are the
// program's spellings, for messages.
void CopyNative(const std::string& from, const std::string& to, std::string_view fromName, std::string_view toName,
                bool overwriteReadOnly, TObject* progress);

// An XDG base folder: the variable when it holds an absolute path, else HOME + fallback.
std::string XdgFolder(const char* variable, const char* fallback);

// A native path with every byte but unreserved characters and "/" percent-encoded.
std::string PercentEncodePath(const std::string& path);
