#pragma once
// Settings files with the Windows profile rules: "[Section]" lines and "Key=Value" lines,
// sections and keys found without regard to case, the first of duplicates winning, blanks
// around names and values ignored, one pair of matching quotes around a value stripped on
// reading. Comments and lines the reader does not understand are kept when the file is
// rewritten (CR LF line ends, through the atomic writer).
//
// Changes are kept in memory, as the operating system's profile cache keeps them, and reach the
// file together: at UpdateFile, when the object goes, and before any other TIniFile of this
// program reads or changes the same file. Saving a thousand keys so costs one write of the file,
// not a thousand. The first change after each write checks that the file can be written, so an
// unwritable, unreadable or read-only file raises EIniFileException at the change itself. A
// change the file cannot hold so that it reads back (a section name holding "]", a key name
// holding "=", a line break inside a name or a value) is refused with EIniFileException.
// Changes made meanwhile by another program are kept: ours are applied over the newer file,
// read again while a lock keeps other writers of it waiting until ours has replaced it. Every
// failure says why after "Unable to write to " and the file's name; a lock another program keeps
// longer than the lock's patience (a few seconds) fails the write. A write that failed so is
// reported once and not made later.

#include <string>
#include <vector>

#include "platform/core/AnsiString.h"
#include "platform/core/IniDocument.h"
#include "platform/core/Object.h"

class TFileUpdateLock;
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
    // Writes the changes still held. Nothing may leave a destructor: a failure is told on the
    // error stream; call UpdateFile first to have it raised.
    ~TIniFile() override;
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    AnsiString ReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& def) override;
    void WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value) override;
    // Raises the EIniFileException WriteString raises for a name or value the file cannot hold,
    // changing nothing: a caller checks a batch before its first change.
    void CheckWrite(const AnsiString& section, const AnsiString& ident, const AnsiString& value) const;
    void ReadSection(const AnsiString& section, TStrings* strings) override;
    void ReadSections(TStrings* strings) override;
    void EraseSection(const AnsiString& section) override;
    void DeleteKey(const AnsiString& section, const AnsiString& ident) override;
    bool ValueExists(const AnsiString& section, const AnsiString& ident) override;
    // Writes the file as this object holds it; EIniFileException when it cannot, the changes
    // not written then dropped (the file read again), so that no later write saves what was
    // reported unsaved.
    void UpdateFile() override;

private:
    struct Signature {
        bool exists = false;
        long long size = 0, mtime = 0, inode = 0;
        bool operator==(const Signature&) const = default;
    };
    enum class ChangeKind { Write, DeleteKey, EraseSection };
    struct Change {
        ChangeKind kind;
        AnsiString section, ident, value;
    };

    Signature Stat() const;
    // Before every operation: other objects on this file write theirs, and the file is read
    // again when it changed.
    void Sync();
    // Reads the file again where it changed, or through the lock given whatever its stamp says.
    void Refresh(const TFileUpdateLock* lock = nullptr);
    void Apply(const Change& change);
    void Record(Change change);
    // Why the file may not be written at all; empty when it may.
    AnsiString Unwritable() const;
    // Writes the held changes; why it could not (from the lock or the writer), empty when written.
    AnsiString WriteOut();

    std::string path_;
    std::string identity_;  // the file, however it was named, to find other objects on it
    Signature signature_;   // the file as last read or written
    bool loaded_ = false;
    TIniDocument document_;
    std::vector<Change> pending_;  // not yet in the file, in the order made
    bool unreadable_ = false;      // the file exists but could not be read: never overwrite it
};
