// Shell links as freedesktop desktop entries in the XDG folders that stand for the special
// folders.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "controls/core/FileShared.h"
#include "controls/core/FileUtil.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/Cp949.h"
#include "platform/core/Exceptions.h"
#include "platform/core/StoredPath.h"

namespace {

std::string Home()
{
    const char* home = std::getenv("HOME");
    return home ? home : "";
}

// A folder of user-dirs.dirs ("XDG_DESKTOP_DIR="$HOME/Desktop""), else HOME + fallback.
std::string UserFolder(const std::string& key, const char* fallback)
{
    std::ifstream in(XdgFolder("XDG_CONFIG_HOME", "/.config") + "/user-dirs.dirs");
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(key + "=\"", 0) != 0 || line.size() < key.size() + 3 || line.back() != '"')
            continue;
        std::string value = line.substr(key.size() + 2, line.size() - key.size() - 3);
        if (value.rfind("$HOME", 0) == 0)
            value = Home() + value.substr(5);
        if (!value.empty() && value[0] == '/')
            return value;
    }
    return Home() + fallback;
}

// Escapes of a desktop entry's string values.
std::string EscapeValue(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        default: out += c; break;
        }
    }
    return out;
}

// The program as one quoted argument of Exec, "%" doubled as field codes require.
std::string ExecArgument(const std::string& path)
{
    std::string quoted = "\"";
    for (char c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        if (c == '%')
            quoted += '%';
        quoted += c;
    }
    return quoted + "\"";
}

// The link's file in its folder; raises for a name that cannot be one file name there.
std::string LinkPath(std::string_view displayName, int folder)
{
    const std::string name = Cp949ToUtf8(displayName);
    bool bad = name.empty() || name == "." || name == ".." || name.find_first_of("/\\") != std::string::npos;
    for (unsigned char c : name)
        bad = bad || c < ' ';
    if (bad)
        throw Exception("Invalid link name " + AnsiString(displayName));
    return SpecialFolderPath(folder) + "/" + name + ".desktop";
}

}  // namespace

std::string XdgFolder(const char* variable, const char* fallback)
{
    const char* value = std::getenv(variable);
    return value && *value == '/' ? std::string(value) : Home() + fallback;
}

std::string PercentEncodePath(const std::string& path)
{
    static const char* const kHex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : path) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            std::string_view("/-_.~").find(static_cast<char>(c)) != std::string_view::npos) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::string SpecialFolderPath(int folder)
{
    switch (folder) {
    case CSIDL_DESKTOP:
    case CSIDL_DESKTOPDIRECTORY:
    case CSIDL_COMMON_DESKTOPDIRECTORY: return UserFolder("XDG_DESKTOP_DIR", "/Desktop");
    case CSIDL_PERSONAL: return UserFolder("XDG_DOCUMENTS_DIR", "/Documents");
    case CSIDL_PROGRAMS:
    case CSIDL_STARTMENU:
    case CSIDL_COMMON_STARTMENU:
    case CSIDL_COMMON_PROGRAMS: return XdgFolder("XDG_DATA_HOME", "/.local/share") + "/applications";
    case CSIDL_STARTUP:
    case CSIDL_COMMON_STARTUP: return XdgFolder("XDG_CONFIG_HOME", "/.config") + "/autostart";
    default: break;
    }
    throw Exception(Format("Special folder %d is not available", folder));
}

void CreateFileLink(std::string_view fileName, std::string_view displayName, int folder)
{
    const std::string link = LinkPath(displayName, folder);
    const std::string target = NativePath(fileName);
    struct stat st;
    const bool program = stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 0111);
    std::string entry = "[Desktop Entry]\nType=" + std::string(program ? "Application" : "Link") +
        "\nName=" + EscapeValue(Cp949ToUtf8(displayName)) + "\n";
    if (program)
        entry += "Exec=" + EscapeValue(ExecArgument(target)) + "\n";
    else
        entry += "URL=file://" + PercentEncodePath(target) + "\n";
    std::error_code ec;
    std::filesystem::create_directories(link.substr(0, link.rfind('/')), ec);
    AtomicWriteFileOrRaise(link, entry);
}

void DeleteFileLink(std::string_view displayName, int folder) { unlink(LinkPath(displayName, folder).c_str()); }
