#include "controls/core/StagedStore.h"

#include <optional>

#include "controls/core/AppUtils.h"
#include "platform/core/Exceptions.h"
#include "platform/core/IniFile.h"
#include "platform/core/RegIniFile.h"
#include "platform/core/RegistryStore.h"

AnsiString TStagedStore::ReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& def)
{
    return IniReadString(FStore, section, ident, def);
}

int TStagedStore::ReadInteger(const AnsiString& section, const AnsiString& ident, int def)
{
    return IniReadInteger(FStore, section, ident, def);
}

bool TStagedStore::ReadBool(const AnsiString& section, const AnsiString& ident, bool def)
{
    return IniReadBool(FStore, section, ident, def);
}

void TStagedStore::ReadSection(const AnsiString& section, TStrings* strings)
{
    IniReadSection(FStore, section, strings);
}

void TStagedStore::ReadSections(TStrings* strings) { IniReadSections(FStore, strings); }

void TStagedStore::WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value)
{
    FChanges.push_back({TKind::String, section, ident, value});
}

void TStagedStore::WriteInteger(const AnsiString& section, const AnsiString& ident, int value)
{
    FChanges.push_back({TKind::Integer, section, ident, IntToStr(value), value});
}

void TStagedStore::WriteBool(const AnsiString& section, const AnsiString& ident, bool value)
{
    FChanges.push_back({TKind::Bool, section, ident, value ? "1" : "0", value ? 1 : 0});
}

void TStagedStore::EraseSection(const AnsiString& section)
{
    FChanges.push_back({TKind::EraseSection, section, {}, {}});
}

void TStagedStore::DeleteKey(const AnsiString& section, const AnsiString& ident)
{
    FChanges.push_back({TKind::DeleteKey, section, ident, {}});
}

void TStagedStore::Commit()
{
    auto* ini = dynamic_cast<TIniFile*>(FStore);
    auto* reg = dynamic_cast<TRegIniFile*>(FStore);
    if (ini)
        for (const TChange& c : FChanges)
            if (c.Kind == TKind::String || c.Kind == TKind::Integer || c.Kind == TKind::Bool)
                ini->CheckWrite(c.Section, c.Ident, c.Value);
    // The registry's changes reach its file in one write, or none of them do.
    std::optional<RegistryStore::THeldWrites> held;
    if (reg)
        held.emplace();
    for (const TChange& c : FChanges) {
        switch (c.Kind) {
        case TKind::String: IniWriteString(FStore, c.Section, c.Ident, c.Value); break;
        case TKind::Integer: IniWriteInteger(FStore, c.Section, c.Ident, c.Number); break;
        case TKind::Bool: IniWriteBool(FStore, c.Section, c.Ident, c.Number != 0); break;
        case TKind::EraseSection: IniEraseSection(FStore, c.Section); break;
        case TKind::DeleteKey: IniDeleteKey(FStore, c.Section, c.Ident); break;
        }
    }
    FChanges.clear();
    if (ini)
        ini->UpdateFile();
    if (reg && !RegistryStore::Flush())
        throw ERegistryException("Failed to write the settings of '" + reg->FileName() + "'. " +
                                 RegistryStore::LastFailure());
}
