#include "platform/core/ProgramFolder.h"

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

// Read on every call, so a test or tool that changes the environment gets its own folder; the
// folder is made once per path.
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
    const std::string folder = (base / "hanmud").string();
    static std::string made;
    if (folder != made) {
        std::error_code ec;
        fs::create_directories(folder, ec);
        made = folder;
    }
    return folder;
}

std::string ProgramFolder() { return OverrideFolder().empty() ? DataFolder() : OverrideFolder(); }

void SetProgramFolder(const std::string& nativePath)
{
    std::string folder = nativePath;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    OverrideFolder() = folder;
}

AnsiString ProgramPath() { return Utf8ToCp949(ProgramFolder()) + "\\"; }
