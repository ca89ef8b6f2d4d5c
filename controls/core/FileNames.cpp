// Path names, name forms, attributes and byte-range locks.
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

#include "controls/core/DateUtil.h"
#include "controls/core/FileUtil.h"
#include "platform/core/FilePaths.h"
#include "platform/core/StoredPath.h"

namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Either name form of the last component: the name as it stands when the entry exists.
AnsiString ExistingName(std::string_view fileName)
{
    struct stat st;
    std::string native = NativePath(fileName);
    if (native.empty() || lstat(native.c_str(), &st) != 0)
        return AnsiString();
    return ExtractFileName(fileName);
}

AnsiString ConvertPath(std::string_view path)
{
    // From the last backslash backwards, each component is replaced by its converted form.
    AnsiString result;
    AnsiString rest(path);
    for (size_t cut = rest.rfind('\\'); cut != AnsiString::npos; cut = rest.rfind('\\')) {
        result = "\\" + ExistingName(rest) + result;
        rest.resize(cut);
    }
    return rest + result;
}

int Lock(int handle, int64_t offset, int64_t size, bool lock)
{
    if (offset < 0 || size < 0)
        return EINVAL;
    if (size == 0)
        return 0;  // fcntl would take 0 as "to the end of the file"
    const int mode = fcntl(handle, F_GETFL);
    if (mode < 0)
        return errno;
    struct flock range = {};
    range.l_type = !lock ? F_UNLCK : (mode & O_ACCMODE) == O_RDONLY ? F_RDLCK : F_WRLCK;
    range.l_whence = SEEK_SET;
    range.l_start = offset;
    range.l_len = size;
    // Open-file-description locks: owned by the open, not the process, like Windows locks.
    return fcntl(handle, F_OFD_SETLK, &range) == 0 ? 0 : errno;
}

}  // namespace

AnsiString NormalDir(std::string_view dir)
{
    if (dir.size() == 1 && IsLetter(dir[0]))
        return AnsiString(dir) + ":\\";
    if (dir.empty() || dir.back() == ':' || dir.back() == '\\')
        return AnsiString(dir);
    return AnsiString(dir) + "\\";
}

AnsiString RemoveBackSlash(std::string_view dir)
{
    const bool driveRoot = dir.size() == 3 && dir[1] == ':';
    if (dir.size() > 1 && dir.back() == '\\' && !driveRoot)
        dir.remove_suffix(1);
    return AnsiString(dir);
}

bool DirExists(std::string_view name) { return DirectoryExists(name); }

bool ValidFileName(std::string_view fileName)
{
    return !fileName.empty() && fileName.find_first_of("<>\"[]|") == std::string_view::npos &&
        ExtractFileName(fileName).find('\\') == AnsiString::npos;
}

AnsiString GetTempDir()
{
    const char* tmp = std::getenv("TMPDIR");
    return NormalDir(StoredPath(tmp && *tmp ? tmp : "/tmp"));
}

AnsiString GetWindowsDir() { return "\\etc"; }
AnsiString GetSystemDir() { return "\\usr\\lib"; }

AnsiString ShortToLongFileName(std::string_view fileName) { return ExistingName(fileName); }
AnsiString LongToShortFileName(std::string_view fileName) { return ExistingName(fileName); }
AnsiString ShortToLongPath(std::string_view path) { return ConvertPath(path); }
AnsiString LongToShortPath(std::string_view path) { return ConvertPath(path); }

int64_t GetFileSize(std::string_view fileName)
{
    struct stat st;
    std::string native = NativePath(fileName);
    if (native.empty() || stat(native.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return -1;
    return static_cast<int64_t>(st.st_size);
}

TDateTime FileDateTime(std::string_view fileName)
{
    TDateTime time;
    return FileAge(fileName, time) ? time : NullDate;
}

bool HasAttr(std::string_view fileName, int attr)
{
    const int found = FileGetAttr(fileName);
    return found >= 0 && (found & attr) == attr;
}

int FileLock(int handle, int32_t offset, int32_t size) { return Lock(handle, offset, size, true); }
int FileLock(int handle, int64_t offset, int64_t size) { return Lock(handle, offset, size, true); }
int FileUnlock(int handle, int32_t offset, int32_t size) { return Lock(handle, offset, size, false); }
int FileUnlock(int handle, int64_t offset, int64_t size) { return Lock(handle, offset, size, false); }
