#pragma once
// Settings kept in an INI file or in the registry substitute through one set of routines:
// default names, uniform reads and writes on either store, and the escaping of INI values.

#include <functional>
#include <string_view>

#include "platform/core/AnsiString.h"
#include "platform/core/Object.h"

class TStrings;

// Replaces the default INI name when set.
extern std::function<AnsiString()> OnGetDefaultIniName;
// Use the application's title (when not empty) as the registry name.
extern bool RegUseAppTitle;
// A sub-key between "Software" and the program's key, when not empty.
extern AnsiString DefCompanyName;
// The application's title; the forms layer sets it.
extern std::function<AnsiString()> AppTitleSource;

// The executable's name with the extension ".INI" (no folder), unless replaced.
AnsiString GetDefaultIniName();
// "Software\[company\]title-or-executable".
AnsiString GetDefaultIniRegKey();

// A store is a TIniFile or a TRegIniFile (or a TStagedStore holding a save's changes for one);
// any other object (or none) reads the default and writes nothing.
AnsiString IniReadString(TObject* store, const AnsiString& section, const AnsiString& ident, const AnsiString& def);
// To an INI file, a value quoted at both ends with the same quote gets another pair of double
// quotes, so it reads back with its quotes.
void IniWriteString(TObject* store, const AnsiString& section, const AnsiString& ident, const AnsiString& value);
int IniReadInteger(TObject* store, const AnsiString& section, const AnsiString& ident, int def);
void IniWriteInteger(TObject* store, const AnsiString& section, const AnsiString& ident, int value);
bool IniReadBool(TObject* store, const AnsiString& section, const AnsiString& ident, bool def);
void IniWriteBool(TObject* store, const AnsiString& section, const AnsiString& ident, bool value);
void IniEraseSection(TObject* store, const AnsiString& section);
void IniDeleteKey(TObject* store, const AnsiString& section, const AnsiString& ident);
void IniReadSections(TObject* store, TStrings* strings);
// The key names of the section.
void IniReadSection(TObject* store, const AnsiString& section, TStrings* strings);

// One line for an INI value: each line break (CR LF, LF CR, CR or LF) becomes "\n" and a
// backslash "\\". IniStrToStr reverses it ("\n" gives CR LF, any other backslash stays). Texts
// over 4096 bytes raise Exception("Line too long").
AnsiString StrToIniStr(std::string_view s);
AnsiString IniStrToStr(std::string_view s);

// The first name made from the mask (a format with one integer) with 0, 1, 2, ... that does not
// exist in the folder; empty when the numbers run out or the mask gives the same name twice.
// Raises EConvertError for a mask with another kind of field.
AnsiString GetUniqueFileNameInDir(std::string_view path, std::string_view fileNameMask);
