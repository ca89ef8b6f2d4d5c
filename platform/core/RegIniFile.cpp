#include "platform/core/RegIniFile.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"

TRegIniFile::TRegIniFile(const AnsiString& fileName, uint32_t access) : TRegistry(access), fileName_(fileName)
{
    OpenKey(fileName, CanWrite());
}

AnsiString TRegIniFile::SectionPath(const AnsiString& section) const
{
    if (!HasCurrentKey())
        return RegistryStore::JoinPath(RegistryStore::NormalizePath(fileName_), section);
    return section.empty() ? CurrentPath() : RegistryStore::JoinPath(CurrentPath(), section);
}

std::optional<TRegistryValue> TRegIniFile::Find(const AnsiString& section, const AnsiString& ident) const
{
    return RegistryStore::FindValue(RootKey(), SectionPath(section), ident);
}

AnsiString TRegIniFile::ReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& def)
{
    auto value = Find(section, ident);
    if (!value)
        return def;
    return value->IsInteger ? IntToStr(static_cast<int>(value->Number)) : value->Text;
}

void TRegIniFile::WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value)
{
    // A key name the file cannot hold is refused as the INI file refuses it, never reported saved.
    if (!RegistryStore::CanNameKey(SectionPath(section)))
        throw ERegistryException("Cannot store section \"" + section + "\" in " + fileName_ +
                                 ": a section name cannot hold a line break");
    TRegistryValue v;
    v.Name = ident;
    v.Text = value;
    if (!CanWrite())
        throw ERegistryException(FailedToSet(ident, "The key is open for reading only."));
    if (!RegistryStore::SetValue(RootKey(), SectionPath(section), v))
        throw ERegistryException(FailedToSet(ident, RegistryStore::LastFailure()));
}

int TRegIniFile::ReadInteger(const AnsiString& section, const AnsiString& ident, int def)
{
    auto value = Find(section, ident);
    if (!value)
        return def;
    return value->IsInteger ? static_cast<int>(value->Number) : StrToIntDef(Trim(value->Text), def);
}

void TRegIniFile::WriteInteger(const AnsiString& section, const AnsiString& ident, int value)
{
    WriteString(section, ident, IntToStr(value));
}

bool TRegIniFile::ReadBool(const AnsiString& section, const AnsiString& ident, bool def)
{
    return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void TRegIniFile::WriteBool(const AnsiString& section, const AnsiString& ident, bool value)
{
    WriteInteger(section, ident, value ? 1 : 0);
}

void TRegIniFile::ReadSection(const AnsiString& section, TStrings* strings)
{
    strings->Clear();
    for (const AnsiString& name : RegistryStore::ValueNames(RootKey(), SectionPath(section)))
        strings->Add(name);
}

void TRegIniFile::ReadSections(TStrings* strings)
{
    strings->Clear();
    for (const AnsiString& name : RegistryStore::SubKeyNames(RootKey(), SectionPath("")))
        strings->Add(name);
}

void TRegIniFile::ReadSectionValues(const AnsiString& section, TStrings* strings)
{
    strings->Clear();
    for (const AnsiString& name : RegistryStore::ValueNames(RootKey(), SectionPath(section)))
        strings->Add(name + "=" + ReadString(section, name, ""));
}

void TRegIniFile::EraseSection(const AnsiString& section)
{
    if (!section.empty() && CanWrite())
        RegistryStore::DeleteKey(RootKey(), SectionPath(section));
}

void TRegIniFile::DeleteKey(const AnsiString& section, const AnsiString& ident)
{
    if (CanWrite())
        RegistryStore::DeleteValue(RootKey(), SectionPath(section), ident);
}

TRegistryIniFile::TRegistryIniFile(const AnsiString& fileName, uint32_t access)
    : TCustomIniFile(fileName), reg_(fileName, access)
{}

AnsiString TRegistryIniFile::ReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& def)
{
    return reg_.ReadString(section, ident, def);
}

void TRegistryIniFile::WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value)
{
    reg_.WriteString(section, ident, value);
}

int TRegistryIniFile::ReadInteger(const AnsiString& section, const AnsiString& ident, int def)
{
    return reg_.ReadInteger(section, ident, def);
}

void TRegistryIniFile::WriteInteger(const AnsiString& section, const AnsiString& ident, int value)
{
    reg_.WriteInteger(section, ident, value);
}

void TRegistryIniFile::ReadSection(const AnsiString& section, TStrings* strings) { reg_.ReadSection(section, strings); }
void TRegistryIniFile::ReadSections(TStrings* strings) { reg_.ReadSections(strings); }
void TRegistryIniFile::EraseSection(const AnsiString& section) { reg_.EraseSection(section); }
void TRegistryIniFile::DeleteKey(const AnsiString& section, const AnsiString& ident) { reg_.DeleteKey(section, ident); }

void TRegistryIniFile::UpdateFile()
{
    if (!RegistryStore::Flush())
        throw ERegistryException(FailedToSet(FileName(), RegistryStore::LastFailure()));
}
