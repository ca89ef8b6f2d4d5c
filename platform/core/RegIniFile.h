#pragma once
// INI-style access to the registry substitute: a section is a sub-key of the key named at
// construction, an ident a value name. TRegIniFile is a registry object (as in the framework);
// TRegistryIniFile offers the same through the INI interface.

#include <memory>

#include "platform/core/IniFile.h"
#include "platform/core/Registry.h"

class TRegIniFile : public TRegistry {
public:
    // Opens the key path (from HKEY_CURRENT_USER), creating it unless access is read-only.
    explicit TRegIniFile(const AnsiString& fileName, uint32_t access = KEY_ALL_ACCESS);

    const AnsiString& FileName() const { return fileName_; }

    using TRegistry::DeleteKey;
    using TRegistry::ReadBool;
    using TRegistry::ReadInteger;
    using TRegistry::ReadString;
    using TRegistry::WriteBool;
    using TRegistry::WriteInteger;
    using TRegistry::WriteString;

    // An empty section names the key itself. A section holding a line break cannot be stored
    // so that it reads back: writing to it raises ERegistryException.
    AnsiString ReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& def);
    void WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value);
    // Integers are stored as text; a number or its text reads back, anything else gives def.
    int ReadInteger(const AnsiString& section, const AnsiString& ident, int def);
    void WriteInteger(const AnsiString& section, const AnsiString& ident, int value);
    bool ReadBool(const AnsiString& section, const AnsiString& ident, bool def);
    void WriteBool(const AnsiString& section, const AnsiString& ident, bool value);
    void ReadSection(const AnsiString& section, TStrings* strings);
    void ReadSections(TStrings* strings);
    void ReadSectionValues(const AnsiString& section, TStrings* strings);
    void EraseSection(const AnsiString& section);
    void DeleteKey(const AnsiString& section, const AnsiString& ident);

private:
    AnsiString SectionPath(const AnsiString& section) const;
    std::optional<TRegistryValue> Find(const AnsiString& section, const AnsiString& ident) const;

    AnsiString fileName_;
};

// Its changes are held (RegistryStore::THeldWrites) while it lives and written when it goes or
// at UpdateFile, so a thousand values saved through it cost one write of the file.
class TRegistryIniFile : public TCustomIniFile {
public:
    explicit TRegistryIniFile(const AnsiString& fileName, uint32_t access = KEY_ALL_ACCESS);

    TRegIniFile& RegIniFile() { return reg_; }

    AnsiString ReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& def) override;
    void WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value) override;
    int ReadInteger(const AnsiString& section, const AnsiString& ident, int def) override;
    void WriteInteger(const AnsiString& section, const AnsiString& ident, int value) override;
    void ReadSection(const AnsiString& section, TStrings* strings) override;
    void ReadSections(TStrings* strings) override;
    void EraseSection(const AnsiString& section) override;
    void DeleteKey(const AnsiString& section, const AnsiString& ident) override;
    // ERegistryException when the held changes cannot be written (they are then undone).
    void UpdateFile() override;

private:
    RegistryStore::THeldWrites held_;
    TRegIniFile reg_;
};
