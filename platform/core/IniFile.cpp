#include "platform/core/IniFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <mutex>

#include "platform/core/AtomicFile.h"
#include "platform/core/Exceptions.h"
#include "platform/core/StoredPath.h"
#include "platform/core/Streams.h"
#include "platform/core/StringList.h"

int TCustomIniFile::ReadInteger(const AnsiString& section, const AnsiString& ident, int def)
{
    return StrToIntDef(Trim(ReadString(section, ident, "")), def);
}

void TCustomIniFile::WriteInteger(const AnsiString& section, const AnsiString& ident, int value)
{
    WriteString(section, ident, IntToStr(value));
}

bool TCustomIniFile::ReadBool(const AnsiString& section, const AnsiString& ident, bool def)
{
    return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const AnsiString& section, const AnsiString& ident, bool value)
{
    WriteString(section, ident, value ? "1" : "0");
}

void TCustomIniFile::ReadSectionValues(const AnsiString& section, TStrings* strings)
{
    TStringList keys;
    ReadSection(section, &keys);
    strings->BeginUpdate();
    try {
        strings->Clear();
        for (int i = 0; i < keys.Count(); ++i)
            strings->Add(keys.Strings(i) + "=" + ReadString(section, keys.Strings(i), ""));
    } catch (...) {
        strings->EndUpdate();
        throw;
    }
    strings->EndUpdate();
}

bool TCustomIniFile::SectionExists(const AnsiString& section)
{
    TStringList keys;
    ReadSection(section, &keys);
    return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const AnsiString& section, const AnsiString& ident)
{
    TStringList keys;
    ReadSection(section, &keys);
    return keys.IndexOf(ident) >= 0;
}

// ---- the file

namespace {

// One pair of the same quote character around the whole value is not part of it.
AnsiString StripQuotes(const AnsiString& value)
{
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        return value.substr(1, value.size() - 2);
    return value;
}

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// The failure of a write, with the reason the writer or the lock gave.
AnsiString UnableToWrite(const AnsiString& fileName, const AnsiString& reason)
{
    return "Unable to write to " + fileName + ". " + reason;
}

// Every TIniFile alive, to write one's changes before another reads the same file. Never
// freed, so an object that outlives the program's statics still finds it. Objects live in several
// threads: the list is theirs one at a time.
std::vector<TIniFile*>& LiveFiles()
{
    static auto* files = new std::vector<TIniFile*>;
    return *files;
}

std::recursive_mutex& LiveFilesGuard()
{
    static auto* guard = new std::recursive_mutex;
    return *guard;
}

}  // namespace

TIniFile::TIniFile(const AnsiString& fileName) : TCustomIniFile(fileName), path_(NativePath(fileName))
{
    std::error_code ec;
    identity_ = path_.empty() ? path_ : std::filesystem::weakly_canonical(path_, ec).string();
    if (ec)
        identity_ = path_;
    Sync();
    const std::lock_guard<std::recursive_mutex> held(LiveFilesGuard());
    LiveFiles().push_back(this);
}

TIniFile::~TIniFile()
{
    {
        const std::lock_guard<std::recursive_mutex> held(LiveFilesGuard());
        std::erase(LiveFiles(), this);
    }
    if (pending_.empty())
        return;
    if (const AnsiString failure = WriteOut(); !failure.empty())
        std::cerr << "hanmud: settings not saved: " << UnableToWrite(FileName(), failure) << '\n';
}

TIniFile::Signature TIniFile::Stat() const
{
    Signature s;
    struct stat st;
    if (!path_.empty() && stat(path_.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        s.exists = true;
        s.size = st.st_size;
        s.mtime = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
        s.inode = static_cast<long long>(st.st_ino);
    }
    return s;
}

void TIniFile::Sync()
{
    // A failure stays with the object that made the changes, which reports it at its own
    // UpdateFile or end; this one reads the file as it is.
    {
        const std::lock_guard<std::recursive_mutex> held(LiveFilesGuard());
        for (TIniFile* other : LiveFiles())
            if (other != this && other->identity_ == identity_ && !other->pending_.empty())
                other->WriteOut();
    }
    Refresh();
}

void TIniFile::Refresh(const TFileUpdateLock* lock)
{
    // Another program may have rewritten the file since we last looked: our changes go over
    // what it holds now.
    Signature now = Stat();
    if (loaded_ && now == signature_ && !lock)
        return;
    loaded_ = true;
    signature_ = now;
    document_.Clear();
    std::string data;
    if (lock) {
        unreadable_ = !lock->Read(data);
    } else if (now.exists) {
        const TFileRead read = ReadSavedFile(path_, INT64_MAX, data);
        unreadable_ = read != TFileRead::Ok && read != TFileRead::Missing;
    } else {
        unreadable_ = false;
    }
    if (!unreadable_)
        document_.Load(data);
    for (const Change& change : pending_)
        Apply(change);
}

void TIniFile::Apply(const Change& change)
{
    switch (change.kind) {
    case ChangeKind::Write: document_.Set(change.section, change.ident, change.value); break;
    case ChangeKind::DeleteKey: document_.DeleteKey(change.section, change.ident); break;
    case ChangeKind::EraseSection: document_.EraseSection(change.section); break;
    }
}

void TIniFile::Record(Change change)
{
    if (const AnsiString refusal = Unwritable(); !refusal.empty())
        throw EIniFileException(UnableToWrite(FileName(), refusal));
    // The first change of a batch proves the file writable, so a failure is told now.
    if (pending_.empty()) {
        TAtomicFileWriter probe(path_);
        if (!probe.Ok())
            throw EIniFileException(UnableToWrite(FileName(), probe.Commit().Message));
    }
    Apply(change);
    pending_.push_back(std::move(change));
}

AnsiString TIniFile::Unwritable() const
{
    if (path_.empty())
        return "The file has no name.";
    // Writing what we could not read would throw away the settings the file holds.
    if (unreadable_)
        return "The file cannot be read, and writing it would lose the settings it holds.";
    return "";
}

AnsiString TIniFile::WriteOut()
{
    // Held from the read to the rename, and the file read again under it whatever its stamp
    // says: our changes go over what another program wrote up to this moment, never over what
    // it wrote before, and its keys survive ours. Without it nothing is saved.
    TFileUpdateLock lock(path_);
    if (!lock.MaySave())
        return lock.Message();
    Refresh(&lock);
    if (AnsiString refusal = Unwritable(); !refusal.empty())
        return refusal;
    if (const TWriteResult written = AtomicWriteFile(lock, document_.Text()); !written)
        return written.Message;
    pending_.clear();
    signature_ = Stat();
    return "";
}

AnsiString TIniFile::ReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& def)
{
    Sync();
    std::optional<AnsiString> value = document_.Value(section, ident);
    return value ? StripQuotes(*value) : def;
}

void TIniFile::CheckWrite(const AnsiString& section, const AnsiString& ident, const AnsiString& value) const
{
    const AnsiString name = Trim(ident);
    const AnsiString sectionName = Trim(section);
    if (name.empty() || sectionName.empty())
        return;
    // What the reader would not read back as written is refused, never stored cut or misread.
    const AnsiString where = " in " + FileName();
    if (sectionName.find(']') != std::string::npos || HasLineBreak(sectionName))
        throw EIniFileException("Cannot store section \"" + sectionName + "\"" + where +
                                ": a section name cannot hold \"]\" or a line break");
    if (name.find('=') != std::string::npos || HasLineBreak(name) || name[0] == ';' || name[0] == '[')
        throw EIniFileException("Cannot store key \"" + name + "\"" + where +
                                ": a key name cannot hold \"=\" or a line break, or begin with \";\" or \"[\"");
    // Line breaks among the blanks at either end are dropped on reading like the blanks.
    if (HasLineBreak(Trim(value)))
        throw EIniFileException("Cannot store the value of key \"" + name + "\"" + where +
                                ": a value cannot hold a line break");
}

void TIniFile::WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value)
{
    AnsiString name = Trim(ident);
    AnsiString sectionName = Trim(section);
    if (name.empty() || sectionName.empty())
        return;
    CheckWrite(sectionName, name, value);
    AnsiString text = HasLineBreak(value) ? Trim(value) : value;
    Sync();
    Record({ChangeKind::Write, std::move(sectionName), std::move(name), std::move(text)});
}

void TIniFile::ReadSection(const AnsiString& section, TStrings* strings)
{
    Sync();
    strings->BeginUpdate();
    try {
        strings->Clear();
        for (const AnsiString& name : document_.KeyNames(section))
            strings->Add(name);
    } catch (...) {
        strings->EndUpdate();
        throw;
    }
    strings->EndUpdate();
}

void TIniFile::ReadSections(TStrings* strings)
{
    Sync();
    strings->BeginUpdate();
    try {
        strings->Clear();
        for (const AnsiString& name : document_.SectionNames())
            strings->Add(name);
    } catch (...) {
        strings->EndUpdate();
        throw;
    }
    strings->EndUpdate();
}

void TIniFile::EraseSection(const AnsiString& section)
{
    Sync();
    if (document_.HasSection(section))
        Record({ChangeKind::EraseSection, section, {}, {}});
}

void TIniFile::DeleteKey(const AnsiString& section, const AnsiString& ident)
{
    Sync();
    if (document_.HasKey(section, ident))
        Record({ChangeKind::DeleteKey, section, ident, {}});
}

bool TIniFile::ValueExists(const AnsiString& section, const AnsiString& ident)
{
    Sync();
    return document_.HasKey(section, ident);
}

void TIniFile::UpdateFile()
{
    Sync();
    if (pending_.empty() && !signature_.exists)
        return;
    if (const AnsiString failure = WriteOut(); !failure.empty()) {
        // Reported unsaved, so never saved later behind the caller's back (by the destructor,
        // once the lock is let go): the file is what this object holds again.
        pending_.clear();
        loaded_ = false;
        Refresh();
        throw EIniFileException(UnableToWrite(FileName(), failure));
    }
}
