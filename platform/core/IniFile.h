#pragma once
// Settings files with the Windows profile rules: "[Section]" lines and "Key=Value" lines,
// sections and keys found without regard to case, the first of duplicates winning, blanks
// around names and values ignored, one pair of matching quotes around a value stripped on
// reading. Comments and lines the reader does not understand are kept when the file is
// rewritten. Every write reaches the file at once (CR LF line ends) through the atomic writer;
// a write that fails raises EIniFileException and leaves file and object as they were.

#include <string>
#include <vector>

#include "platform/core/AnsiString.h"
#include "platform/core/Object.h"

class TStrings;

// What the INI file and the registry adapter have in common.
class TCustomIniFile : public TObject {
public:
    explicit TCustomIniFile(AnsiString fileName) : fileName_(std::move(fileName)) {}

    const AnsiString& FileName() const { return fileName_; }

    virtual AnsiString ReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& def) = 0;
    virtual void WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value) = 0;
    // A decimal or hexadecimal ("$", "0x") number; def when absent or not a number.
    virtual int ReadInteger(const AnsiString& section, const AnsiString& ident, int def);
    virtual void WriteInteger(const AnsiString& section, const AnsiString& ident, int value);
    // Stored as "1" and "0"; any non-zero number reads as true.
    virtual bool ReadBool(const AnsiString& section, const AnsiString& ident, bool def);
    virtual void WriteBool(const AnsiString& section, const AnsiString& ident, bool value);
    // The key names of a section, in file order.
    virtual void ReadSection(const AnsiString& section, TStrings* strings) = 0;
    virtual void ReadSections(TStrings* strings) = 0;
    // "Key=Value" lines, values read as ReadString reads them.
    virtual void ReadSectionValues(const AnsiString& section, TStrings* strings);
    virtual void EraseSection(const AnsiString& section) = 0;
    virtual void DeleteKey(const AnsiString& section, const AnsiString& ident) = 0;
    // True when the section holds at least one key.
    virtual bool SectionExists(const AnsiString& section);
    virtual bool ValueExists(const AnsiString& section, const AnsiString& ident);
    virtual void UpdateFile() = 0;

private:
    AnsiString fileName_;
};

class TIniFile : public TCustomIniFile {
public:
    // fileName is a program path; a relative one lies in the program folder.
    explicit TIniFile(const AnsiString& fileName);

    AnsiString ReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& def) override;
    void WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value) override;
    void ReadSection(const AnsiString& section, TStrings* strings) override;
    void ReadSections(TStrings* strings) override;
    void EraseSection(const AnsiString& section) override;
    void DeleteKey(const AnsiString& section, const AnsiString& ident) override;
    bool ValueExists(const AnsiString& section, const AnsiString& ident) override;
    // Writes are immediate; this only rewrites the file as it stands.
    void UpdateFile() override;

private:
    struct Signature {
        bool exists = false;
        long long size = 0, mtime = 0, inode = 0;
        bool operator==(const Signature&) const = default;
    };
    Signature Stat() const;
    void Refresh();
    void Save(std::vector<AnsiString> lines);
    // Line index of the section's header, -1 when absent.
    int FindSection(std::string_view section) const;
    // One past the last line of the section whose header is at `header`.
    int SectionEnd(int header) const;
    int FindKey(int header, std::string_view ident) const;

    std::string path_;
    Signature signature_;
    std::vector<AnsiString> lines_;
    bool unreadable_ = false;  // the file exists but could not be read: never overwrite it
};
