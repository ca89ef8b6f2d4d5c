#include "platform/core/IniFile.h"

#include <sys/stat.h>

#include <fstream>
#include <iterator>

#include "platform/core/AtomicFile.h"
#include "platform/core/Exceptions.h"
#include "platform/core/StoredPath.h"
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

enum class LineKind { Other, Comment, Section, Key };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    AnsiString name;   // section or key name, trimmed
    AnsiString value;  // key value, trimmed, quotes not yet stripped
};

ParsedLine Parse(std::string_view line)
{
    ParsedLine p;
    AnsiString text = Trim(line);
    if (text.empty())
        return p;
    if (text[0] == ';') {
        p.kind = LineKind::Comment;
    } else if (text[0] == '[') {
        p.kind = LineKind::Section;
        size_t close = text.find(']');
        p.name = Trim(std::string_view(text).substr(1, close == std::string::npos ? std::string::npos : close - 1));
    } else {
        int eq = AnsiPos("=", text);
        if (eq > 0) {
            p.kind = LineKind::Key;
            p.name = Trim(std::string_view(text).substr(0, static_cast<size_t>(eq - 1)));
            p.value = Trim(std::string_view(text).substr(static_cast<size_t>(eq)));
        }
    }
    return p;
}

// One pair of the same quote character around the whole value is not part of it.
AnsiString StripQuotes(const AnsiString& value)
{
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        return value.substr(1, value.size() - 2);
    return value;
}

// A line break would split the value into lines of their own; what follows it is not written.
AnsiString OneLine(const AnsiString& text)
{
    size_t cut = text.find_first_of("\r\n");
    return cut == std::string::npos ? text : text.substr(0, cut);
}

}  // namespace

TIniFile::TIniFile(const AnsiString& fileName) : TCustomIniFile(fileName), path_(NativePath(fileName)) { Refresh(); }

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

void TIniFile::Refresh()
{
    // Another object (or program) may have rewritten the file since we last looked.
    Signature now = Stat();
    if (now == signature_ && (now.exists || lines_.empty()))
        return;
    signature_ = now;
    lines_.clear();
    unreadable_ = false;
    if (!now.exists)
        return;
    std::ifstream in(path_, std::ios::binary);
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.is_open() || in.bad()) {
        unreadable_ = true;
        return;
    }
    TStringList split;
    split.SetText(data);
    for (int i = 0; i < split.Count(); ++i)
        lines_.push_back(split.Strings(i));
}

void TIniFile::Save(std::vector<AnsiString> lines)
{
    // Writing what we could not read would throw away the settings the file holds.
    if (unreadable_)
        throw EIniFileException("Unable to write to " + FileName());
    AnsiString data;
    for (const AnsiString& line : lines)
        data += line + "\r\n";
    TWriteResult result = AtomicWriteFile(path_, data);
    if (!result)
        throw EIniFileException("Unable to write to " + FileName());
    lines_ = std::move(lines);
    signature_ = Stat();
}

int TIniFile::FindSection(std::string_view section) const
{
    for (size_t i = 0; i < lines_.size(); ++i) {
        ParsedLine p = Parse(lines_[i]);
        if (p.kind == LineKind::Section && SameText(p.name, Trim(section)))
            return static_cast<int>(i);
    }
    return -1;
}

int TIniFile::SectionEnd(int header) const
{
    size_t i = static_cast<size_t>(header) + 1;
    while (i < lines_.size() && Parse(lines_[i]).kind != LineKind::Section)
        ++i;
    return static_cast<int>(i);
}

int TIniFile::FindKey(int header, std::string_view ident) const
{
    int end = SectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        ParsedLine p = Parse(lines_[static_cast<size_t>(i)]);
        if (p.kind == LineKind::Key && SameText(p.name, Trim(ident)))
            return i;
    }
    return -1;
}

AnsiString TIniFile::ReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& def)
{
    Refresh();
    int header = FindSection(section);
    if (header < 0)
        return def;
    int key = FindKey(header, ident);
    if (key < 0)
        return def;
    return StripQuotes(Parse(lines_[static_cast<size_t>(key)]).value);
}

void TIniFile::WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value)
{
    Refresh();
    AnsiString name = OneLine(Trim(ident));
    AnsiString sectionName = OneLine(Trim(section));
    if (name.empty() || sectionName.empty())
        return;
    std::vector<AnsiString> lines = lines_;
    AnsiString line = name + "=" + OneLine(value);
    int header = FindSection(sectionName);
    if (header < 0) {
        lines.push_back("[" + sectionName + "]");
        lines.push_back(line);
    } else if (int key = FindKey(header, name); key >= 0) {
        lines[static_cast<size_t>(key)] = line;
    } else {
        // After the section's last non-blank line, so a blank line before the next section stays.
        int at = SectionEnd(header);
        while (at > header + 1 && Trim(lines[static_cast<size_t>(at - 1)]).empty())
            --at;
        lines.insert(lines.begin() + at, line);
    }
    Save(std::move(lines));
}

void TIniFile::ReadSection(const AnsiString& section, TStrings* strings)
{
    Refresh();
    strings->BeginUpdate();
    try {
        strings->Clear();
        if (int header = FindSection(section); header >= 0) {
            int end = SectionEnd(header);
            for (int i = header + 1; i < end; ++i) {
                ParsedLine p = Parse(lines_[static_cast<size_t>(i)]);
                if (p.kind == LineKind::Key)
                    strings->Add(p.name);
            }
        }
    } catch (...) {
        strings->EndUpdate();
        throw;
    }
    strings->EndUpdate();
}

void TIniFile::ReadSections(TStrings* strings)
{
    Refresh();
    strings->BeginUpdate();
    try {
        strings->Clear();
        for (const AnsiString& line : lines_) {
            ParsedLine p = Parse(line);
            if (p.kind == LineKind::Section)
                strings->Add(p.name);
        }
    } catch (...) {
        strings->EndUpdate();
        throw;
    }
    strings->EndUpdate();
}

void TIniFile::EraseSection(const AnsiString& section)
{
    Refresh();
    int header = FindSection(section);
    if (header < 0)
        return;
    std::vector<AnsiString> lines = lines_;
    lines.erase(lines.begin() + header, lines.begin() + SectionEnd(header));
    Save(std::move(lines));
}

void TIniFile::DeleteKey(const AnsiString& section, const AnsiString& ident)
{
    Refresh();
    int header = FindSection(section);
    int key = header < 0 ? -1 : FindKey(header, ident);
    if (key < 0)
        return;
    std::vector<AnsiString> lines = lines_;
    lines.erase(lines.begin() + key);
    Save(std::move(lines));
}

bool TIniFile::ValueExists(const AnsiString& section, const AnsiString& ident)
{
    Refresh();
    int header = FindSection(section);
    return header >= 0 && FindKey(header, ident) >= 0;
}

void TIniFile::UpdateFile()
{
    Refresh();
    if (signature_.exists)
        Save(lines_);
}
