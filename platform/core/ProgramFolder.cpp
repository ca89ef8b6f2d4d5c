#include "platform/core/ProgramFolder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/core/Cp949.h"

namespace fs = std::filesystem;

static std::string& OverrideFolder()
{
    static std::string folder;
    return folder;
}

std::string ExecutableFolder()
{
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return fs::current_path(ec).string();
    return exe.parent_path().string();
}

std::string ExecutableName()
{
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.filename().string();
}

static std::string DataFolder()
{
    const char* xdg = std::getenv("XDG_DATA_HOME");
    fs::path base;
    if (xdg && *xdg == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = fs::path(home && *home ? home : "/tmp") / ".local" / "share";
    }
    fs::path folder = base / "hanmud";
    std::error_code ec;
    fs::create_directories(folder, ec);
    return folder.string();
}

std::string ProgramFolder()
{
    if (!OverrideFolder().empty())
        return OverrideFolder();
    static const std::string folder = [] {
        std::string exe = ExecutableFolder();
        return access(exe.c_str(), W_OK) == 0 ? exe : DataFolder();
    }();
    return folder;
}

void SetProgramFolder(const std::string& nativePath)
{
    std::string folder = nativePath;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    OverrideFolder() = folder;
}

AnsiString ProgramPath() { return Utf8ToCp949(ProgramFolder()) + "\\"; }
