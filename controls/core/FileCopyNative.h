#pragma once
// The chunked copy on native paths, shared by CopyFileEx and the file operator (not part of the
// library's interface). The names are the program's spellings, for messages.

#include <string>
#include <string_view>

#include "platform/core/Object.h"

void CopyNative(const std::string& from, const std::string& to, std::string_view fromName, std::string_view toName,
                bool overwriteReadOnly, TObject* progress);
