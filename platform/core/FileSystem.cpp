#include "platform/core/FileSystem.h"

#include <filesystem>
#include <system_error>

#include "platform/core/StoredPath.h"

namespace fs = std::filesystem;

bool FileExists(std::string_view fileName)
{
    std::error_code ec;
    std::string path = NativePath(fileName);
    return !path.empty() && fs::is_regular_file(path, ec);
}

bool DirectoryExists(std::string_view dirName)
{
    std::error_code ec;
    std::string path = NativePath(dirName);
    return !path.empty() && fs::is_directory(path, ec);
}

bool ForceDirectories(std::string_view dirName)
{
    std::string path = NativePath(dirName);
    if (path.empty())
        return false;
    std::error_code ec;
    fs::create_directories(path, ec);
    return fs::is_directory(path, ec);
}

bool DeleteFile(std::string_view fileName)
{
    std::error_code ec;
    std::string path = NativePath(fileName);
    return !path.empty() && !fs::is_directory(path, ec) && fs::remove(path, ec);
}

bool RenameFile(std::string_view oldName, std::string_view newName)
{
    std::error_code ec;
    std::string from = NativePath(oldName), to = NativePath(newName);
    if (from.empty() || to.empty() || fs::exists(to, ec))
        return false;
    fs::rename(from, to, ec);
    return !ec;
}
