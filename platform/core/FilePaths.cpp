#include "platform/core/FilePaths.h"

#include <vector>

static bool IsDelimiter(char c) { return c == '\\' || c == '/'; }

// 0-based index of the last delimiter (or drive colon) that is a character of its own; npos
// when none.
static size_t LastDelimiter(std::string_view s, bool withDot)
{
    size_t found = std::string_view::npos;
    for (size_t i = 0; i < s.size(); i += static_cast<size_t>(CharLengthAt(s, i))) {
        if (CharLengthAt(s, i) != 1)
            continue;
        if (IsDelimiter(s[i]) || s[i] == ':' || (withDot && s[i] == '.'))
            found = i;
    }
    return found;
}

AnsiString ExtractFilePath(std::string_view fileName)
{
    size_t i = LastDelimiter(fileName, false);
    return i == std::string_view::npos ? AnsiString() : AnsiString(fileName.substr(0, i + 1));
}

AnsiString ExtractFileDir(std::string_view fileName)
{
    size_t i = LastDelimiter(fileName, false);
    if (i == std::string_view::npos)
        return AnsiString();
    // The delimiter of a root ("\\", "C:\\", "\\\\") stays.
    if (i > 0 && IsDelimiter(fileName[i]) && !IsDelimiter(fileName[i - 1]) && fileName[i - 1] != ':')
        return AnsiString(fileName.substr(0, i));
    return AnsiString(fileName.substr(0, i + 1));
}

AnsiString ExtractFileName(std::string_view fileName)
{
    size_t i = LastDelimiter(fileName, false);
    return AnsiString(i == std::string_view::npos ? fileName : fileName.substr(i + 1));
}

AnsiString ExtractFileExt(std::string_view fileName)
{
    size_t i = LastDelimiter(fileName, true);
    if (i == std::string_view::npos || fileName[i] != '.')
        return AnsiString();
    return AnsiString(fileName.substr(i));
}

AnsiString ChangeFileExt(std::string_view fileName, std::string_view extension)
{
    size_t i = LastDelimiter(fileName, true);
    if (i == std::string_view::npos || fileName[i] != '.')
        i = fileName.size();
    return AnsiString(fileName.substr(0, i)) + AnsiString(extension);
}

static bool EndsWithDelimiter(std::string_view path)
{
    return !path.empty() && IsDelimiter(path.back()) && !IsTrailByteAt(path, path.size() - 1);
}

AnsiString IncludeTrailingBackslash(std::string_view path)
{
    return EndsWithDelimiter(path) ? AnsiString(path) : AnsiString(path) + "\\";
}

AnsiString ExcludeTrailingBackslash(std::string_view path)
{
    return EndsWithDelimiter(path) ? AnsiString(path.substr(0, path.size() - 1)) : AnsiString(path);
}

// The folder names of a path's folder part, the leading root (or drive) kept as the first one.
static std::vector<AnsiString> Folders(std::string_view folderPath)
{
    std::vector<AnsiString> parts;
    AnsiString current;
    for (size_t i = 0; i < folderPath.size(); i += static_cast<size_t>(CharLengthAt(folderPath, i))) {
        int n = CharLengthAt(folderPath, i);
        if (n == 1 && IsDelimiter(folderPath[i])) {
            parts.push_back(current);
            current.clear();
        } else {
            current.append(folderPath.substr(i, static_cast<size_t>(n)));
        }
    }
    if (!current.empty())
        parts.push_back(current);
    return parts;
}

AnsiString ExtractRelativePath(std::string_view baseName, std::string_view destName)
{
    std::vector<AnsiString> base = Folders(ExtractFilePath(baseName));
    std::vector<AnsiString> dest = Folders(ExtractFilePath(destName));
    // Different roots (drives): nothing relative to say.
    if (base.empty() || dest.empty() || base[0] != dest[0])
        return AnsiString(destName);
    size_t common = 0;
    while (common < base.size() && common < dest.size() && base[common] == dest[common])
        ++common;
    AnsiString result;
    for (size_t i = common; i < base.size(); ++i)
        result += "..\\";
    for (size_t i = common; i < dest.size(); ++i)
        result += dest[i] + "\\";
    return result + ExtractFileName(destName);
}
