#include "platform/core/StoredPath.h"

#include <filesystem>

#include "platform/core/Cp949.h"
#include "platform/core/ProgramFolder.h"

namespace fs = std::filesystem;

std::string NativePath(std::string_view programPath)
{
    if (programPath.empty())
        return std::string();
    // A backslash is never the trail byte of a cp949 pair, so the order of these steps is free.
    std::string path = Cp949ToUtf8(programPath);
    for (char& c : path)
        if (c == '\\')
            c = '/';
    if (path.size() >= 2 && path[1] == ':' &&
        ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')))
        path.erase(0, 2);
    if (path.empty())
        return ProgramFolder();
    fs::path native = path[0] == '/' ? fs::path(path) : fs::path(ProgramFolder()) / path;
    std::string result = native.lexically_normal().string();
    // Keep the caller's trailing separator meaning "a folder", drop the "/." that
    // normalising may leave.
    if (result.size() > 1 && result.back() == '/' && path.back() != '/')
        result.pop_back();
    return result;
}

AnsiString StoredPath(std::string_view nativePath)
{
    if (nativePath.empty())
        return AnsiString();
    fs::path native = fs::path(std::string(nativePath)).lexically_normal();
    fs::path folder = fs::path(ProgramFolder()).lexically_normal();
    std::string text = native.string();
    fs::path relative = native.lexically_relative(folder);
    if (!relative.empty() && *relative.begin() != ".." && relative != ".")
        text = relative.string();
    for (char& c : text)
        if (c == '/')
            c = '\\';
    return Utf8ToCp949(text);
}

std::vector<std::string> ShippedPaths(std::string_view programPath)
{
    const std::string native = NativePath(programPath);
    std::vector<std::string> folders{native};
    const fs::path relative = fs::path(native).lexically_relative(fs::path(ProgramFolder()).lexically_normal());
    if (relative.empty() || *relative.begin() == "..")
        return folders;
    std::string beside = (fs::path(ExecutableFolder()) / relative).lexically_normal().string();
    if (beside.size() > 1 && beside.back() == '/')
        beside.pop_back();
    if (beside != native)
        folders.push_back(beside);
    return folders;
}

AnsiString ShownPath(std::string_view programPath) { return Utf8ToCp949(NativePath(programPath)); }

std::string ShippedFilePath(std::string_view programPath)
{
    const std::vector<std::string> copies = ShippedPaths(programPath);
    std::error_code error;
    for (const std::string& copy : copies)
        if (fs::exists(copy, error))
            return copy;
    return copies.front();
}
