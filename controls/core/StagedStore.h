#pragma once
// The changes of one save held back until all of them are known to fit the store they go to,
// then made together, so a save writes everything or nothing. A store routine (AppUtils.h)
// takes it like the INI file or the registry object it stands for; reads see that store as it
// was before the save.

#include <vector>

#include "platform/core/AnsiString.h"
#include "platform/core/Object.h"

class TStrings;

class TStagedStore : public TObject {
public:
    // store: a TIniFile or a TRegIniFile (anything else takes no change, as the routines say).
    explicit TStagedStore(TObject* store) : FStore(store) {}

    AnsiString ReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& def);
    int ReadInteger(const AnsiString& section, const AnsiString& ident, int def);
    bool ReadBool(const AnsiString& section, const AnsiString& ident, bool def);
    void ReadSection(const AnsiString& section, TStrings* strings);
    void ReadSections(TStrings* strings);

    // Held: the value as the store's own routine for it is given it.
    void WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value);
    void WriteInteger(const AnsiString& section, const AnsiString& ident, int value);
    void WriteBool(const AnsiString& section, const AnsiString& ident, bool value);
    void EraseSection(const AnsiString& section);
    void DeleteKey(const AnsiString& section, const AnsiString& ident);

    // Checks every held change against the store's rules, raising its error with none made
    // when one does not fit; then makes them in order and has the store write them out (an
    // INI file's held changes, the registry's file), raising when that fails.
    void Commit();

private:
    enum class TKind { String, Integer, Bool, EraseSection, DeleteKey };
    struct TChange {
        TKind Kind;
        AnsiString Section, Ident, Value;
        int Number = 0;
    };
    TObject* FStore;
    std::vector<TChange> FChanges;
};
