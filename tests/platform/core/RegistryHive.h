#pragma once
// The current user's registry, as the tests reach it: its root key, and the file that holds it
// in the test's program folder.

#include <string>

#include "platform/core/RegistryStore.h"
#include "tests/platform/core/TempFolder.h"

inline constexpr HKEY kUser = 0x80000001;

inline std::string HivePath(const TempFolder& folder) { return folder.File("Registry/HKEY_CURRENT_USER.txt"); }
