#include "controls/core/AppUtils.h"

#include <climits>
#include <cstdio>

#include "controls/core/FileUtil.h"
#include "controls/core/StagedStore.h"
#include "platform/core/Cp949.h"
#include "platform/core/Exceptions.h"
#include "platform/core/FilePaths.h"
#include "platform/core/IniFile.h"
#include "platform/core/ProgramFolder.h"
#include "platform/core/RegIniFile.h"

std::function<AnsiString()> OnGetDefaultIniName;
bool RegUseAppTitle = false;
AnsiString DefCompanyName;
std::function<AnsiString()> AppTitleSource;

namespace {

constexpr size_t kMaxIniLine = 4096;

void CheckLength(std::string_view s)
{
    if (s.size() > kMaxIniLine)
        throw Exception("Line too long");
}

// The mask with its one integer field filled in. Only %%, and one d, i, u or x field with
// flags, width and precision, are allowed.
AnsiString FormatNumber(std::string_view mask, int n)
{
    constexpr size_t kMaxWidth = 1024;
    const auto invalid = [&] {
        return EConvertError("Format '" + AnsiString(mask) + "' invalid or incompatible with argument");
    };
    AnsiString out;
    bool used = false;
    for (size_t i = 0; i < mask.size(); ++i) {
        if (mask[i] != '%') {
            out += mask[i];
            continue;
        }
        if (i + 1 < mask.size() && mask[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        const size_t start = i++;
        while (i < mask.size() && AnsiString("-+ 0#").find(mask[i]) != AnsiString::npos)
            ++i;
        size_t width = 0, precision = 0;
        for (; i < mask.size() && mask[i] >= '0' && mask[i] <= '9'; ++i)
            width = std::min(width * 10 + static_cast<size_t>(mask[i] - '0'), kMaxWidth + 1);
        if (i < mask.size() && mask[i] == '.')
            for (++i; i < mask.size() && mask[i] >= '0' && mask[i] <= '9'; ++i)
                precision = std::min(precision * 10 + static_cast<size_t>(mask[i] - '0'), kMaxWidth + 1);
        if (used || i >= mask.size() || AnsiString("diux").find(mask[i]) == AnsiString::npos || width > kMaxWidth ||
            precision > kMaxWidth)
            throw invalid();
        used = true;
        const std::string spec(mask.substr(start, i - start + 1));
        char buffer[2 * kMaxWidth + 32];
        std::snprintf(buffer, sizeof buffer, spec.c_str(), n);
        out += buffer;
    }
    return out;
}

// Calls `call` on the store as the INI file or the registry object it is; `def` for anything else.
template <class Result, class Call>
Result OnStore(TObject* store, Result def, Call call)
{
    if (auto* ini = dynamic_cast<TIniFile*>(store))
        return call(*ini);
    if (auto* reg = dynamic_cast<TRegIniFile*>(store))
        return call(*reg);
    if (auto* staged = dynamic_cast<TStagedStore*>(store))
        return call(*staged);
    return def;
}

}  // namespace

AnsiString GetDefaultIniName()
{
    if (OnGetDefaultIniName)
        return OnGetDefaultIniName();
    return ChangeFileExt(Utf8ToCp949(ExecutableName()), ".INI");
}

AnsiString GetDefaultIniRegKey()
{
    AnsiString name = RegUseAppTitle && AppTitleSource ? AppTitleSource() : AnsiString();
    if (name.empty())
        name = ChangeFileExt(Utf8ToCp949(ExecutableName()), "");
    if (!DefCompanyName.empty())
        name = DefCompanyName + "\\" + name;
    return "Software\\" + name;
}

AnsiString IniReadString(TObject* store, const AnsiString& section, const AnsiString& ident, const AnsiString& def)
{
    return OnStore(store, def, [&](auto& s) { return s.ReadString(section, ident, def); });
}

void IniWriteString(TObject* store, const AnsiString& section, const AnsiString& ident, const AnsiString& value)
{
    // The INI reader strips one pair of quotes.
    const bool quoted = !value.empty() && (value[0] == '"' || value[0] == '\'') && value.back() == value[0];
    if (auto* ini = dynamic_cast<TIniFile*>(store))
        ini->WriteString(section, ident, quoted ? "\"" + value + "\"" : value);
    else if (auto* reg = dynamic_cast<TRegIniFile*>(store))
        reg->WriteString(section, ident, value);
    else if (auto* staged = dynamic_cast<TStagedStore*>(store))
        staged->WriteString(section, ident, value);
}

int IniReadInteger(TObject* store, const AnsiString& section, const AnsiString& ident, int def)
{
    return OnStore(store, def, [&](auto& s) { return s.ReadInteger(section, ident, def); });
}

void IniWriteInteger(TObject* store, const AnsiString& section, const AnsiString& ident, int value)
{
    OnStore(store, 0, [&](auto& s) { return s.WriteInteger(section, ident, value), 0; });
}

bool IniReadBool(TObject* store, const AnsiString& section, const AnsiString& ident, bool def)
{
    return OnStore(store, def, [&](auto& s) { return s.ReadBool(section, ident, def); });
}

void IniWriteBool(TObject* store, const AnsiString& section, const AnsiString& ident, bool value)
{
    OnStore(store, 0, [&](auto& s) { return s.WriteBool(section, ident, value), 0; });
}

void IniEraseSection(TObject* store, const AnsiString& section)
{
    OnStore(store, 0, [&](auto& s) { return s.EraseSection(section), 0; });
}

void IniDeleteKey(TObject* store, const AnsiString& section, const AnsiString& ident)
{
    OnStore(store, 0, [&](auto& s) { return s.DeleteKey(section, ident), 0; });
}

void IniReadSections(TObject* store, TStrings* strings)
{
    OnStore(store, 0, [&](auto& s) { return s.ReadSections(strings), 0; });
}

void IniReadSection(TObject* store, const AnsiString& section, TStrings* strings)
{
    OnStore(store, 0, [&](auto& s) { return s.ReadSection(section, strings), 0; });
}

AnsiString StrToIniStr(std::string_view s)
{
    CheckLength(s);
    AnsiString out;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '\r' || c == '\n') {
            // A CR LF or LF CR pair is one break.
            if (i + 1 < s.size() && (s[i + 1] == '\r' || s[i + 1] == '\n') && s[i + 1] != c)
                ++i;
            out += "\\n";
        } else if (c == '\\') {
            out += "\\\\";
        } else {
            out += c;
        }
    }
    return out;
}

AnsiString IniStrToStr(std::string_view s)
{
    CheckLength(s);
    AnsiString out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size() && (s[i + 1] == 'n' || s[i + 1] == '\\')) {
            out += s[i + 1] == 'n' ? "\r\n" : "\\";
            ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}

AnsiString GetUniqueFileNameInDir(std::string_view path, std::string_view fileNameMask)
{
    const AnsiString folder = NormalDir(path);
    AnsiString previous;
    for (int n = 0;; ++n) {
        AnsiString name = FormatNumber(fileNameMask, n);
        // A mask without a number gives one name only.
        if (n > 0 && name == previous)
            return AnsiString();
        if (!FileExists(folder + name) && !DirectoryExists(folder + name))
            return name;
        if (n == INT_MAX)
            return AnsiString();
        previous = std::move(name);
    }
}
