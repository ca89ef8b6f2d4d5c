#include "platform/core/Registry.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"

void TRegistry::SetRootKey(HKEY root)
{
    if (root == root_)
        return;
    CloseKey();
    root_ = root;
}

AnsiString TRegistry::Resolve(const AnsiString& key) const
{
    bool absolute = !key.empty() && key[0] == '\\';
    if (absolute || !open_)
        return RegistryStore::NormalizePath(key);
    return RegistryStore::JoinPath(currentPath_, key);
}

bool TRegistry::OpenKey(const AnsiString& key, bool canCreate)
{
    AnsiString path = Resolve(key);
    if (!RegistryStore::KeyExists(root_, path)) {
        if (!canCreate || !CanWrite() || !RegistryStore::CreateKey(root_, path))
            return false;
    }
    currentPath_ = path;
    open_ = true;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const AnsiString& key)
{
    access_ = KEY_READ;
    return OpenKey(key, false);
}

void TRegistry::CloseKey()
{
    open_ = false;
    currentPath_.clear();
}

bool TRegistry::CreateKey(const AnsiString& key) { return CanWrite() && RegistryStore::CreateKey(root_, Resolve(key)); }

bool TRegistry::DeleteKey(const AnsiString& key) { return CanWrite() && RegistryStore::DeleteKey(root_, Resolve(key)); }

bool TRegistry::KeyExists(const AnsiString& key) { return RegistryStore::KeyExists(root_, Resolve(key)); }

bool TRegistry::HasSubKeys() { return open_ && !RegistryStore::SubKeyNames(root_, currentPath_).empty(); }

void TRegistry::GetKeyNames(TStrings* strings)
{
    strings->Clear();
    if (open_)
        for (const AnsiString& name : RegistryStore::SubKeyNames(root_, currentPath_))
            strings->Add(name);
}

void TRegistry::GetValueNames(TStrings* strings)
{
    strings->Clear();
    if (open_)
        for (const AnsiString& name : RegistryStore::ValueNames(root_, currentPath_))
            strings->Add(name);
}

bool TRegistry::ValueExists(const AnsiString& name)
{
    return open_ && RegistryStore::FindValue(root_, currentPath_, name).has_value();
}

bool TRegistry::DeleteValue(const AnsiString& name)
{
    return open_ && CanWrite() && RegistryStore::DeleteValue(root_, currentPath_, name);
}

TRegDataType TRegistry::GetDataType(const AnsiString& name)
{
    auto value = open_ ? RegistryStore::FindValue(root_, currentPath_, name) : std::nullopt;
    if (!value)
        return rdUnknown;
    return value->IsInteger ? rdInteger : rdString;
}

AnsiString TRegistry::ReadString(const AnsiString& name)
{
    auto value = open_ ? RegistryStore::FindValue(root_, currentPath_, name) : std::nullopt;
    if (!value)
        return AnsiString();
    if (value->IsInteger)
        throw ERegistryException("Invalid data type for '" + name + "'");
    return value->Text;
}

int TRegistry::ReadInteger(const AnsiString& name)
{
    auto value = open_ ? RegistryStore::FindValue(root_, currentPath_, name) : std::nullopt;
    if (!value)
        throw ERegistryException("Failed to get data for '" + name + "'");
    if (!value->IsInteger)
        throw ERegistryException("Invalid data type for '" + name + "'");
    return static_cast<int>(value->Number);
}

void TRegistry::WriteValue(const TRegistryValue& value)
{
    const char* refusal = !open_ ? "No key is open." : !CanWrite() ? "The key is open for reading only." : nullptr;
    if (refusal || !RegistryStore::SetValue(root_, currentPath_, value))
        throw ERegistryException(FailedToSet(value.Name, refusal ? AnsiString(refusal) : RegistryStore::LastFailure()));
}

AnsiString FailedToSet(const AnsiString& name, const AnsiString& reason)
{
    return "Failed to set data for '" + name + "'. " + reason;
}

void TRegistry::WriteString(const AnsiString& name, const AnsiString& value)
{
    TRegistryValue v;
    v.Name = name;
    v.Text = value;
    WriteValue(v);
}

void TRegistry::WriteInteger(const AnsiString& name, int value)
{
    TRegistryValue v;
    v.Name = name;
    v.IsInteger = true;
    v.Number = static_cast<uint32_t>(value);
    WriteValue(v);
}
