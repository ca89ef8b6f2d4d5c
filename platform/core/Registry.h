#pragma once
// The framework's registry object, on the registry substitute of RegistryStore.h. A key path
// starting with a backslash is taken from the root key, any other from the open key.

#include <cstdint>

#include "platform/core/AnsiString.h"
#include "platform/core/Object.h"
#include "platform/core/RegistryStore.h"

class TStrings;

constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;
constexpr HKEY HKEY_USERS = 0x80000003;
constexpr HKEY HKEY_PERFORMANCE_DATA = 0x80000004;
constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005;
constexpr HKEY HKEY_DYN_DATA = 0x80000006;

constexpr uint32_t KEY_READ = 0x20019;
constexpr uint32_t KEY_WRITE = 0x20006;
constexpr uint32_t KEY_ALL_ACCESS = 0xF003F;

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

// The message of a write of a value that failed, with why: "Failed to set data for 'name'. " and
// the reason.
AnsiString FailedToSet(const AnsiString& name, const AnsiString& reason);

class TRegistry : public TObject {
public:
    TRegistry() = default;
    explicit TRegistry(uint32_t access) : access_(access) {}

    HKEY RootKey() const { return root_; }
    // Changing the root closes the open key.
    void SetRootKey(HKEY root);
    uint32_t Access() const { return access_; }
    void SetAccess(uint32_t access) { access_ = access; }
    // The open key's path from the root, without a leading backslash.
    const AnsiString& CurrentPath() const { return currentPath_; }
    bool HasCurrentKey() const { return open_; }

    bool OpenKey(const AnsiString& key, bool canCreate);
    bool OpenKeyReadOnly(const AnsiString& key);
    void CloseKey();
    bool CreateKey(const AnsiString& key);
    bool DeleteKey(const AnsiString& key);
    bool KeyExists(const AnsiString& key);
    bool HasSubKeys();
    void GetKeyNames(TStrings* strings);
    void GetValueNames(TStrings* strings);

    bool ValueExists(const AnsiString& name);
    bool DeleteValue(const AnsiString& name);
    TRegDataType GetDataType(const AnsiString& name);
    // Empty when the value is absent; ERegistryException when it is not a string.
    AnsiString ReadString(const AnsiString& name);
    // ERegistryException when the value is absent or not an integer.
    int ReadInteger(const AnsiString& name);
    bool ReadBool(const AnsiString& name) { return ReadInteger(name) != 0; }
    // ERegistryException when no key is open, the object may only read, or the file cannot
    // be written, its message saying which (and why the file could not be written).
    void WriteString(const AnsiString& name, const AnsiString& value);
    void WriteInteger(const AnsiString& name, int value);
    void WriteBool(const AnsiString& name, bool value) { WriteInteger(name, value ? 1 : 0); }

protected:
    // The full path of a key named relative to the open key (or absolute with a backslash).
    AnsiString Resolve(const AnsiString& key) const;
    bool CanWrite() const { return (access_ & KEY_WRITE & ~KEY_READ) != 0; }
    void WriteValue(const TRegistryValue& value);

private:
    HKEY root_ = HKEY_CURRENT_USER;
    uint32_t access_ = KEY_ALL_ACCESS;
    AnsiString currentPath_;
    bool open_ = false;
};
