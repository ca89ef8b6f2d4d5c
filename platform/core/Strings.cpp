#include "platform/core/Strings.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include "platform/core/AtomicFile.h"
#include "platform/core/Exceptions.h"
#include "platform/core/StoredPath.h"
#include "platform/core/Streams.h"

void TStrings::Error(const char* message, int value) { throw EStringListError(Format(message, value)); }

TObject* TStrings::GetObject(int) const { return nullptr; }
void TStrings::PutObject(int, TObject*) {}
void TStrings::SetUpdateState(bool) {}

int TStrings::CompareStrings(std::string_view a, std::string_view b) const { return CompareText(a, b); }

void TStrings::Put(int index, const AnsiString& s)
{
    TObject* object = GetObject(index);
    BeginUpdate();
    Delete(index);
    InsertObject(index, s, object);
    EndUpdate();
}

int TStrings::Add(const AnsiString& s)
{
    int index = GetCount();
    Insert(index, s);
    return index;
}

int TStrings::AddObject(const AnsiString& s, TObject* object)
{
    int index = Add(s);
    PutObject(index, object);
    return index;
}

void TStrings::AddStrings(const TStrings* strings)
{
    if (!strings)
        return;
    // Copy first: the source may be this very list.
    std::vector<std::pair<AnsiString, TObject*>> lines;
    for (int i = 0; i < strings->Count(); ++i)
        lines.emplace_back(strings->Get(i), strings->GetObject(i));
    BeginUpdate();
    try {
        for (auto& [s, object] : lines)
            AddObject(s, object);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::InsertObject(int index, const AnsiString& s, TObject* object)
{
    Insert(index, s);
    PutObject(index, object);
}

void TStrings::Exchange(int index1, int index2)
{
    BeginUpdate();
    try {
        AnsiString s1 = Get(index1), s2 = Get(index2);
        TObject* o1 = GetObject(index1);
        TObject* o2 = GetObject(index2);
        Put(index1, s2);
        PutObject(index1, o2);
        Put(index2, s1);
        PutObject(index2, o1);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::Move(int curIndex, int newIndex)
{
    if (curIndex == newIndex)
        return;
    // Both indexes are checked before the line is taken out, so a bad target never loses it.
    if (newIndex < 0 || newIndex >= GetCount())
        Error("List index out of bounds (%d)", newIndex);
    AnsiString s = Get(curIndex);
    TObject* object = GetObject(curIndex);
    BeginUpdate();
    try {
        Delete(curIndex);
        InsertObject(newIndex, s, object);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

int TStrings::IndexOf(std::string_view s) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (CompareStrings(Get(i), s) == 0)
            return i;
    return -1;
}

int TStrings::IndexOfName(std::string_view name) const
{
    for (int i = 0; i < GetCount(); ++i) {
        AnsiString line = Get(i);
        int p = AnsiPos(std::string_view(&nameValueSeparator_, 1), line);
        if (p != 0 && CompareStrings(std::string_view(line).substr(0, static_cast<size_t>(p - 1)), name) == 0)
            return i;
    }
    return -1;
}

int TStrings::IndexOfObject(const TObject* object) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (GetObject(i) == object)
            return i;
    return -1;
}

bool TStrings::Equals(const TStrings* strings) const
{
    if (!strings || strings->GetCount() != GetCount())
        return false;
    for (int i = 0; i < GetCount(); ++i)
        if (Get(i) != strings->Get(i))
            return false;
    return true;
}

void TStrings::Assign(TPersistent* source)
{
    if (auto* strings = dynamic_cast<TStrings*>(source)) {
        if (strings == this)
            return;
        BeginUpdate();
        try {
            Clear();
            delimiter_ = strings->delimiter_;
            quoteChar_ = strings->quoteChar_;
            nameValueSeparator_ = strings->nameValueSeparator_;
            AddStrings(strings);
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
        return;
    }
    TPersistent::Assign(source);
}

void TStrings::BeginUpdate()
{
    // The state changes before the count rises, so the "changing" notice still goes out.
    if (updateCount_ == 0)
        SetUpdateState(true);
    ++updateCount_;
}

void TStrings::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0)
        SetUpdateState(false);
}

AnsiString TStrings::Names(int index) const
{
    AnsiString line = Get(index);
    int p = AnsiPos(std::string_view(&nameValueSeparator_, 1), line);
    return p == 0 ? AnsiString() : line.substr(0, static_cast<size_t>(p - 1));
}

AnsiString TStrings::ValueFromIndex(int index) const
{
    AnsiString line = Get(index);
    int p = AnsiPos(std::string_view(&nameValueSeparator_, 1), line);
    return p == 0 ? AnsiString() : line.substr(static_cast<size_t>(p));
}

AnsiString TStrings::Values(std::string_view name) const
{
    int index = IndexOfName(name);
    return index < 0 ? AnsiString() : ValueFromIndex(index);
}

void TStrings::SetValues(std::string_view name, std::string_view value)
{
    int index = IndexOfName(name);
    if (!value.empty()) {
        if (index < 0)
            index = Add(AnsiString());
        Put(index, AnsiString(name) + nameValueSeparator_ + AnsiString(value));
    } else if (index >= 0) {
        Delete(index);
    }
}

AnsiString TStrings::GetTextStr() const
{
    AnsiString text;
    for (int i = 0; i < GetCount(); ++i) {
        text += Get(i);
        text += "\r\n";
    }
    return text;
}

void TStrings::SetTextStr(std::string_view text)
{
    BeginUpdate();
    try {
        Clear();
        for (size_t p = 0; p < text.size();)
            Add(AnsiString(TakeLine(text, p)));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

static bool IsFieldBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

AnsiString TStrings::JoinFields(char delimiter, char quoteChar) const
{
    int count = GetCount();
    if (count == 1 && Get(0).empty())
        return AnsiString(2, quoteChar);
    AnsiString result;
    for (int i = 0; i < count; ++i) {
        AnsiString s = Get(i);
        bool quote = false;
        for (size_t p = 0; p < s.size(); p += static_cast<size_t>(CharLengthAt(s, p))) {
            if (CharLengthAt(s, p) == 1 && (IsFieldBlank(s[p]) || s[p] == quoteChar || s[p] == delimiter)) {
                quote = true;
                break;
            }
        }
        if (quote) {
            AnsiString quoted(1, quoteChar);
            for (char c : s) {
                quoted += c;
                if (c == quoteChar)
                    quoted += c;
            }
            quoted += quoteChar;
            s = quoted;
        }
        if (i > 0)
            result += delimiter;
        result += s;
    }
    return result;
}

// Reads a quoted field starting at the quote at text[p]; doubled quotes stand for one. A field
// without its closing quote runs to the end of the text.
static AnsiString ExtractQuoted(std::string_view text, size_t& p, char quote)
{
    AnsiString field;
    ++p;
    while (p < text.size()) {
        int n = CharLengthAt(text, p);
        if (n == 1 && text[p] == quote) {
            if (p + 1 < text.size() && text[p + 1] == quote) {
                field += quote;
                p += 2;
                continue;
            }
            ++p;
            return field;
        }
        field.append(text.substr(p, static_cast<size_t>(n)));
        p += static_cast<size_t>(n);
    }
    return field;
}

void TStrings::SplitFields(std::string_view text, char delimiter, char quoteChar)
{
    BeginUpdate();
    try {
        Clear();
        size_t p = 0;
        auto skipBlanks = [&] {
            while (p < text.size() && IsFieldBlank(text[p]))
                ++p;
        };
        skipBlanks();
        while (p < text.size()) {
            AnsiString field;
            if (text[p] == quoteChar) {
                field = ExtractQuoted(text, p, quoteChar);
            } else {
                size_t start = p;
                while (p < text.size() && !IsFieldBlank(text[p]) && text[p] != delimiter)
                    p += static_cast<size_t>(CharLengthAt(text, p));
                p = std::min(p, text.size());
                field = AnsiString(text.substr(start, p - start));
            }
            Add(field);
            skipBlanks();
            if (p < text.size() && text[p] == delimiter) {
                ++p;
                skipBlanks();
            }
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

AnsiString TStrings::DelimitedText() const { return JoinFields(delimiter_, quoteChar_); }
void TStrings::SetDelimitedText(std::string_view text) { SplitFields(text, delimiter_, quoteChar_); }
AnsiString TStrings::CommaText() const { return JoinFields(',', '"'); }
void TStrings::SetCommaText(std::string_view text) { SplitFields(text, ',', '"'); }

void TStrings::LoadFromFile(std::string_view fileName)
{
    std::string data;
    if (ReadSavedFile(NativePath(fileName), INT64_MAX, data) != TFileRead::Ok)
        throw EFOpenError("Cannot open file " + AnsiString(fileName));
    SetTextStr(data);
}

void TStrings::SaveToFile(std::string_view fileName) const
{
    AtomicWriteFileOrRaise(NativePath(fileName), GetTextStr());
}
