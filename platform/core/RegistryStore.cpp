#include "platform/core/RegistryStore.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <unordered_map>

#include "platform/core/AtomicFile.h"
#include "platform/core/Cp949.h"
#include "platform/core/ProgramFolder.h"
#include "platform/core/Streams.h"
#include "platform/core/StringList.h"

namespace {

// Key paths and value names match without regard to the case of ASCII letters.
AnsiString Folded(std::string_view name) { return UpperCase(name); }

struct Key {
    AnsiString path;
    std::vector<TRegistryValue> values;
    std::unordered_map<AnsiString, size_t> index;  // folded name -> its first value

    TRegistryValue* Find(std::string_view name)
    {
        auto it = index.find(Folded(name));
        return it == index.end() ? nullptr : &values[it->second];
    }
    void Add(TRegistryValue value)
    {
        index.emplace(Folded(value.Name), values.size());
        values.push_back(std::move(value));
    }
    void IndexValues()
    {
        index.clear();
        for (size_t i = 0; i < values.size(); ++i)
            index.emplace(Folded(values[i].Name), i);
    }
};

// What tells a file rewritten since it was read; all -1 when there is no regular file.
struct Stamp {
    long long size = -1, mtime = -1, inode = -1;
    bool operator==(const Stamp&) const = default;
};

Stamp StampOf(const std::string& file)
{
    struct stat st;
    if (stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    return {st.st_size, st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec, static_cast<long long>(st.st_ino)};
}

// One change to a hive, kept until the file holds it, so that it can be made again over what
// another program wrote meanwhile: only what this program changed goes over the other's file.
struct Change {
    enum class Kind { CreateKey, SetValue, DeleteValue, DeleteKey } kind;
    AnsiString path;       // normalised
    TRegistryValue value;  // SetValue: the value; DeleteValue: its name
};

struct Hive {
    std::string file;
    Stamp stamp;
    std::vector<Key> keys;                         // in file order; the root key ("") is implicit
    std::unordered_map<AnsiString, size_t> index;  // folded path -> its key
    bool unreadable = false;                       // the file is there but cannot be read: never write over it
    bool held = false;                             // changed while writes are held: not yet in the file
    std::vector<Change> changes;                   // made since the file was read: made again over a newer one
    std::optional<std::string> text;               // the file as last read or written, when memory holds it

    void IndexKeys()
    {
        index.clear();
        for (size_t i = 0; i < keys.size(); ++i)
            index.emplace(Folded(keys[i].path), i);
    }
};

const char* RootName(HKEY root)
{
    switch (root) {
    case 0x80000000: return "HKEY_CLASSES_ROOT";
    case 0x80000001: return "HKEY_CURRENT_USER";
    case 0x80000002: return "HKEY_LOCAL_MACHINE";
    case 0x80000003: return "HKEY_USERS";
    case 0x80000004: return "HKEY_PERFORMANCE_DATA";
    case 0x80000005: return "HKEY_CURRENT_CONFIG";
    case 0x80000006: return "HKEY_DYN_DATA";
    default: return nullptr;
    }
}

AnsiString Escape(const AnsiString& s)
{
    AnsiString out;
    for (char c : s) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        default: out += c;
        }
    }
    return out;
}

// Reads a quoted, escaped text starting at line[p] (the opening quote); p ends after the
// closing quote.
AnsiString Unquote(std::string_view line, size_t& p)
{
    AnsiString out;
    ++p;
    while (p < line.size() && line[p] != '"') {
        if (line[p] == '\\' && p + 1 < line.size()) {
            char c = line[p + 1];
            out += c == 'r' ? '\r' : (c == 'n' ? '\n' : c);
            p += 2;
        } else {
            out += line[p++];
        }
    }
    if (p < line.size())
        ++p;
    return out;
}

void Parse(Hive& hive, const std::string& data)
{
    hive.keys.clear();
    hive.index.clear();
    TStringList lines;
    lines.SetText(data);
    size_t current = std::string::npos;
    for (int i = 0; i < lines.Count(); ++i) {
        const AnsiString& line = lines.Strings(i);
        const size_t open = line.empty() || line[0] == '"' ? std::string::npos : line.find('[');
        if (open != std::string::npos) {
            // A key's line even when damaged (bytes before its '[', its ']' lost): the values below
            // it are its own, never taken for those of the key above.
            const size_t close = line.rfind(']');
            const size_t end = close == std::string::npos || close < open ? line.size() : close;
            AnsiString path = RegistryStore::NormalizePath(std::string_view(line).substr(open + 1, end - open - 1));
            // A key named twice is one key: the values under its second line are not hidden.
            auto [same, added] = hive.index.emplace(Folded(path), hive.keys.size());
            if (added)
                hive.keys.push_back({std::move(path), {}, {}});
            current = same->second;
        } else if (current != std::string::npos && !line.empty() && line[0] == '"') {
            size_t p = 0;
            TRegistryValue value;
            value.Name = Unquote(line, p);
            if (p >= line.size() || line[p] != '=')
                continue;
            ++p;
            std::string_view rest = std::string_view(line).substr(p);
            if (rest.starts_with("dword:")) {
                value.IsInteger = true;
                value.Number = static_cast<uint32_t>(std::strtoul(AnsiString(rest.substr(6)).c_str(), nullptr, 16));
            } else if (!rest.empty() && rest[0] == '"') {
                size_t q = 0;
                value.Text = Unquote(rest, q);
            } else {
                continue;
            }
            hive.keys[current].Add(std::move(value));
        }
    }
}

std::string Serialize(const Hive& hive)
{
    std::string out;
    for (const Key& key : hive.keys) {
        out += "[" + key.path + "]\r\n";
        for (const TRegistryValue& v : key.values) {
            out += "\"" + Escape(v.Name) + "\"=";
            out += v.IsInteger ? Format("dword:%08x", v.Number) : "\"" + Escape(v.Text) + "\"";
            out += "\r\n";
        }
        out += "\r\n";
    }
    return out;
}

std::map<HKEY, Hive>& Hives()
{
    static std::map<HKEY, Hive> hives;
    return hives;
}

int g_holds = 0;       // THeldWrites alive
AnsiString g_failure;  // why the last change or flush that failed was not written

bool WriteHive(HKEY root, Hive& hive);

Key* Find(Hive& hive, std::string_view path)
{
    auto it = hive.index.find(Folded(RegistryStore::NormalizePath(path)));
    return it == hive.index.end() ? nullptr : &hive.keys[it->second];
}

Key& Ensure(Hive& hive, std::string_view path)
{
    AnsiString normal = RegistryStore::NormalizePath(path);
    // Parents first, so every key of the path exists.
    size_t slash = normal.rfind('\\');
    if (slash != std::string::npos && !Find(hive, std::string_view(normal).substr(0, slash)))
        Ensure(hive, std::string_view(normal).substr(0, slash));
    if (Key* key = Find(hive, normal))
        return *key;
    hive.index.emplace(Folded(normal), hive.keys.size());
    hive.keys.push_back({normal, {}, {}});
    return hive.keys.back();
}

bool IsBelow(std::string_view path, std::string_view parent)
{
    return parent.empty()
        ? !path.empty()
        : path.size() > parent.size() && path[parent.size()] == '\\' && SameText(path.substr(0, parent.size()), parent);
}

void Apply(Hive& hive, const Change& change)
{
    switch (change.kind) {
    case Change::Kind::CreateKey: Ensure(hive, change.path); break;
    case Change::Kind::SetValue: {
        Key& key = Ensure(hive, change.path);
        if (TRegistryValue* old = key.Find(change.value.Name))
            *old = change.value;
        else
            key.Add(change.value);
        break;
    }
    case Change::Kind::DeleteValue:
        if (Key* key = Find(hive, change.path))
            if (std::erase_if(key->values,
                              [&](const TRegistryValue& v) { return SameText(v.Name, change.value.Name); }))
                key->IndexValues();
        break;
    case Change::Kind::DeleteKey:
        std::erase_if(hive.keys,
                      [&](const Key& k) { return SameText(k.path, change.path) || IsBelow(k.path, change.path); });
        hive.IndexKeys();
        break;
    }
}

// The hive's file read into memory (through its lock where one is given), the changes not yet in
// it made again over it. Bytes the same as those memory already holds, with its changes, are not
// parsed again.
void ReadFile(Hive& hive, const TFileUpdateLock* lock = nullptr)
{
    hive.stamp = StampOf(hive.file);
    std::string data;
    bool unreadable = false;
    if (lock) {
        unreadable = !lock->Read(data);
    } else if (hive.stamp.size >= 0) {
        const TFileRead read = ReadSavedFile(hive.file, INT64_MAX, data);
        unreadable = read != TFileRead::Ok && read != TFileRead::Missing;
    }
    if (!unreadable && hive.text == data)
        return;
    hive.keys.clear();
    hive.index.clear();
    hive.unreadable = unreadable;
    hive.text.reset();
    if (unreadable)
        return;
    Parse(hive, data);
    hive.text = std::move(data);
    for (const Change& change : hive.changes)
        Apply(hive, change);
}

// The hive of a root, read again when its file has changed or the program folder moved. One
// with held changes is what this program will write: it is kept.
Hive* Load(HKEY root)
{
    const char* name = RootName(root);
    if (!name)
        return nullptr;
    Hive& hive = Hives()[root];
    std::string file = ProgramFolder() + "/Registry/" + name + ".txt";
    if (hive.held && file == hive.file)
        return &hive;
    if (hive.held)
        WriteHive(root, hive);  // the program folder moved: what was held goes where it belongs
    if (file == hive.file && StampOf(file) == hive.stamp)
        return &hive;
    if (file != hive.file) {
        hive.changes.clear();
        hive.text.reset();
    }
    hive.file = file;
    hive.held = false;
    ReadFile(hive);
    return &hive;
}

// Whether the hive's file may be written, its folder made: writing what could not be read
// would throw away the values the file holds.
bool MayWrite(const Hive& hive)
{
    std::error_code ec;
    std::filesystem::create_directories(ProgramFolder() + "/Registry", ec);
    if (hive.unreadable)
        g_failure =
            "The file " + Utf8ToCp949(hive.file) + " cannot be read, and writing it would lose the values it holds.";
    return !hive.unreadable;
}

// After a failed write the file is the truth: the changes in memory are undone by reading it again.
void ReadAgain(HKEY root, Hive& hive)
{
    hive.held = false;
    hive.changes.clear();
    hive.text.reset();
    hive.stamp.size = -2;
    Load(root);
}

// Writes the hive now; on failure the file's content is read back into memory, undoing the
// changes.
bool WriteHive(HKEY root, Hive& hive)
{
    bool written = false;
    if (MayWrite(hive)) {
        // Held from the read to the rename; the file is read again under it, whatever its stamp
        // says, so another program's values written up to now stay beside ours. Without it
        // nothing is saved.
        TFileUpdateLock lock(hive.file);
        if (!lock.MaySave()) {
            g_failure = lock.Message();
        } else if (ReadFile(hive, &lock); MayWrite(hive)) {
            std::string text = Serialize(hive);
            const TWriteResult result = AtomicWriteFile(lock, text);
            written = result.Ok;
            if (written)
                hive.text = std::move(text);
            else
                g_failure = result.Message;
        }
    }
    if (!written) {
        ReadAgain(root, hive);
        return false;
    }
    hive.held = false;
    hive.changes.clear();
    hive.stamp = StampOf(hive.file);  // what is in memory is what the file holds: not read again
    return true;
}

// A change made: written at once, or held while writes are held. The first held change proves
// the file writable, so an unwritable file is still refused at the change.
bool Save(HKEY root, Hive& hive)
{
    if (g_holds == 0)
        return WriteHive(root, hive);
    if (hive.held)
        return true;
    if (!MayWrite(hive)) {
        ReadAgain(root, hive);
        return false;
    }
    if (TAtomicFileWriter probe(hive.file); !probe.Ok()) {
        g_failure = probe.Commit().Message;
        ReadAgain(root, hive);
        return false;
    }
    hive.held = true;
    return true;
}

bool Make(HKEY root, Hive& hive, Change change)
{
    Apply(hive, change);
    hive.changes.push_back(std::move(change));
    return Save(root, hive);
}

}  // namespace

namespace RegistryStore {

AnsiString NormalizePath(std::string_view path)
{
    AnsiString out;
    for (size_t i = 0; i < path.size(); i += static_cast<size_t>(CharLengthAt(path, i))) {
        int n = CharLengthAt(path, i);
        if (n == 1 && path[i] == '\\') {
            if (!out.empty() && out.back() != '\\')
                out += '\\';
        } else {
            out.append(path.substr(i, static_cast<size_t>(n)));
        }
    }
    if (!out.empty() && out.back() == '\\')
        out.pop_back();
    return out;
}

AnsiString JoinPath(std::string_view base, std::string_view sub)
{
    return NormalizePath(AnsiString(base) + "\\" + AnsiString(sub));
}

bool CanNameKey(std::string_view path)
{
    if (path.find_first_of("\r\n") == std::string_view::npos)
        return true;
    g_failure = "A key name cannot hold a line break.";
    return false;
}

const AnsiString& LastFailure() { return g_failure; }

bool KeyExists(HKEY root, std::string_view path)
{
    Hive* hive = Load(root);
    if (!hive)
        return false;
    return NormalizePath(path).empty() || Find(*hive, path);
}

bool CreateKey(HKEY root, std::string_view path)
{
    Hive* hive = Load(root);
    if (!hive)
        return false;
    AnsiString normal = NormalizePath(path);
    if (normal.empty() || Find(*hive, normal))
        return true;
    return CanNameKey(normal) && Make(root, *hive, {Change::Kind::CreateKey, std::move(normal), {}});
}

bool DeleteKey(HKEY root, std::string_view path)
{
    Hive* hive = Load(root);
    AnsiString normal = NormalizePath(path);
    if (!hive || normal.empty() || !Find(*hive, normal))
        return false;
    return Make(root, *hive, {Change::Kind::DeleteKey, std::move(normal), {}});
}

std::vector<AnsiString> SubKeyNames(HKEY root, std::string_view path)
{
    std::vector<AnsiString> names;
    Hive* hive = Load(root);
    if (!hive)
        return names;
    AnsiString normal = NormalizePath(path);
    for (const Key& key : hive->keys) {
        if (!IsBelow(key.path, normal))
            continue;
        AnsiString rest = key.path.substr(normal.empty() ? 0 : normal.size() + 1);
        if (rest.find('\\') == std::string::npos)
            names.push_back(rest);
    }
    return names;
}

std::vector<AnsiString> ValueNames(HKEY root, std::string_view path)
{
    std::vector<AnsiString> names;
    Hive* hive = Load(root);
    Key* key = hive ? Find(*hive, path) : nullptr;
    if (key)
        for (const TRegistryValue& v : key->values)
            names.push_back(v.Name);
    return names;
}

std::optional<TRegistryValue> FindValue(HKEY root, std::string_view path, std::string_view name)
{
    Hive* hive = Load(root);
    Key* key = hive ? Find(*hive, path) : nullptr;
    const TRegistryValue* value = key ? key->Find(name) : nullptr;
    return value ? std::optional<TRegistryValue>(*value) : std::nullopt;
}

bool SetValue(HKEY root, std::string_view path, const TRegistryValue& value)
{
    Hive* hive = Load(root);
    AnsiString normal = NormalizePath(path);
    if (!hive)
        g_failure = "There is no such root key.";
    if (!hive || !CanNameKey(normal))
        return false;
    return Make(root, *hive, {Change::Kind::SetValue, std::move(normal), value});
}

bool DeleteValue(HKEY root, std::string_view path, std::string_view name)
{
    Hive* hive = Load(root);
    Key* key = hive ? Find(*hive, path) : nullptr;
    if (!key || !key->Find(name))
        return false;
    TRegistryValue named;
    named.Name = name;
    return Make(root, *hive, {Change::Kind::DeleteValue, NormalizePath(path), std::move(named)});
}

bool Flush()
{
    bool ok = true;
    for (auto& [root, hive] : Hives())
        if (hive.held && !WriteHive(root, hive))
            ok = false;
    return ok;
}

THeldWrites::THeldWrites() { ++g_holds; }

THeldWrites::~THeldWrites()
{
    if (--g_holds == 0 && !Flush())
        std::cerr << "hanmud: registry settings not saved: " << g_failure << '\n';
}

}  // namespace RegistryStore
