#pragma once
// The registry's substitute: for each root key one text file under the program folder
// ("Registry/HKEY_CURRENT_USER.txt"), holding keys (paths of names joined by backslashes) and
// their string and integer values. Key paths and value names are found without regard to case.
// Changes reach the file at once through the atomic writer, unless writes are held (below); a
// change that cannot be written is undone and reported as false, LastFailure saying why. A write reads the file again
// under a lock that other writers wait on, and makes this program's changes over what it holds,
// so that values another program wrote meanwhile are kept.

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/core/AnsiString.h"

using HKEY = uint32_t;

struct TRegistryValue {
    AnsiString Name;
    bool IsInteger = false;
    AnsiString Text;      // a string value
    uint32_t Number = 0;  // an integer value
};

namespace RegistryStore {

// "A\\B\\" and "\\a\\b" name the same key: separators at either end and doubled ones dropped.
AnsiString NormalizePath(std::string_view path);
AnsiString JoinPath(std::string_view base, std::string_view sub);

// Whether a key of this path can be stored so that it reads back: the file gives each key
// path a line of its own, so none may hold a line break. Keys that cannot are never made.
bool CanNameKey(std::string_view path);

bool KeyExists(HKEY root, std::string_view path);
// Creates the key and its parents; false when the file cannot be written.
bool CreateKey(HKEY root, std::string_view path);
// Deletes the key with all its sub-keys; false when absent or not written.
bool DeleteKey(HKEY root, std::string_view path);
std::vector<AnsiString> SubKeyNames(HKEY root, std::string_view path);
std::vector<AnsiString> ValueNames(HKEY root, std::string_view path);
std::optional<TRegistryValue> FindValue(HKEY root, std::string_view path, std::string_view name);
// Creates the key when needed; false when the file cannot be written.
bool SetValue(HKEY root, std::string_view path, const TRegistryValue& value);
bool DeleteValue(HKEY root, std::string_view path, std::string_view name);

// While one is alive, changes stay in memory, where every reader of this program sees them,
// and the files are written once when the last one goes (a failure is told on the error
// stream) or at Flush. The first held change of a file proves it writable, so an unwritable
// file is still refused at the change. Many values saved at once so cost one write.
class THeldWrites {
public:
    THeldWrites();
    ~THeldWrites();
    THeldWrites(const THeldWrites&) = delete;
    THeldWrites& operator=(const THeldWrites&) = delete;
};
// Writes every held change now; false when a file could not be written, its held changes then
// undone (read back from the file).
bool Flush();

// Why the last change or Flush that returned false was not written, for the user (cp949).
const AnsiString& LastFailure();

}  // namespace RegistryStore
