#include "platform/core/FileFind.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <ctime>

#include "platform/core/Cp949.h"
#include "platform/core/StoredPath.h"
#include "platform/core/Wildcard.h"

namespace {

// The folder part and the mask part of a program path.
void SplitMask(std::string_view mask, std::string_view& folder, std::string_view& pattern)
{
    size_t cut = mask.find_last_of("\\/");
    if (cut == std::string_view::npos && mask.size() >= 2 && mask[1] == ':')
        cut = 1;
    if (cut == std::string_view::npos) {
        folder = {};
        pattern = mask;
    } else {
        folder = mask.substr(0, cut + 1);
        pattern = mask.substr(cut + 1);
    }
}

int AttrOf(const std::string& native, const std::string& name, int64_t* size, TDateTime* time)
{
    struct stat link, st;
    if (lstat(native.c_str(), &link) != 0)
        return -1;
    int attr = 0;
    if (S_ISLNK(link.st_mode)) {
        attr |= faSymLink;
        if (stat(native.c_str(), &st) != 0)
            st = link;
    } else {
        st = link;
    }
    if (!name.empty() && name[0] == '.')
        attr |= faHidden;
    if (S_ISDIR(st.st_mode))
        attr |= faDirectory;
    else if (!S_ISLNK(st.st_mode))
        attr |= faArchive;
    if ((st.st_mode & 0222) == 0)
        attr |= faReadOnly;
    if (size)
        *size = S_ISREG(st.st_mode) ? static_cast<int64_t>(st.st_size) : 0;
    if (time)
        *time = UnixToLocalDateTime(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
    return attr;
}

// Native names: a UTF-8 character is one, and so is each byte that is no part of one.
struct TNativeChars {
    const std::string& Wild;
    static size_t Len(std::string_view s, size_t i) { return Utf8CharLength(s.substr(i)); }
    static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    size_t TextLength(std::string_view s, size_t i) const { return Len(s, i); }
    size_t PatternLength(std::string_view p, size_t i) const { return Wild[i] ? 1 : Len(p, i); }
    bool IsStar(std::string_view, size_t i) const { return Wild[i] == '*'; }
    bool IsOne(std::string_view, size_t i) const { return Wild[i] == '?'; }
    bool Same(std::string_view p, size_t pi, std::string_view s, size_t si) const
    {
        const size_t n = Len(p, pi);
        if (n != Len(s, si))
            return false;
        if (n == 1 && IsLetter(p[pi]))
            return (p[pi] | 0x20) == (s[si] | 0x20);
        return p.compare(pi, n, s, si, n) == 0;
    }
};

std::string LastComponent(const std::string& native)
{
    size_t cut = native.find_last_of('/');
    return cut == std::string::npos ? native : native.substr(cut + 1);
}

}  // namespace

TNameMask::TNameMask(std::string_view mask) : every_(mask == "*.*")
{
    // '*' and '?' are never a byte of a two-byte character nor of an escape: the text between
    // them converts on its own.
    for (size_t start = 0;;) {
        const size_t cut = std::min(mask.find_first_of("*?", start), mask.size());
        const std::string literal = NativeName(mask.substr(start, cut - start));
        bytes_ += literal;
        wild_.append(literal.size(), '\0');
        if (cut == mask.size())
            break;
        bytes_ += mask[cut];
        wild_ += mask[cut];
        start = cut + 1;
    }
}

bool TNameMask::Matches(std::string_view nativeName) const
{
    return every_ || WildcardMatchChars(nativeName, bytes_, TNativeChars{wild_});
}

bool MatchesMask(std::string_view nativeName, std::string_view mask) { return TNameMask(mask).Matches(nativeName); }

bool ListFolder(const std::string& nativeFolder, std::vector<std::string>& names)
{
    const int fd = open(nativeFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ListOpenFolder(fd, names);
    close(fd);
    return ok;
}

bool ListOpenFolder(int folderFd, std::vector<std::string>& names)
{
    const int own = fcntl(folderFd, F_DUPFD_CLOEXEC, 0);
    DIR* dir = own < 0 ? nullptr : fdopendir(own);
    if (!dir) {
        if (own >= 0)
            close(own);
        return false;
    }
    rewinddir(dir);  // the copy shares its position with folderFd
    bool ok = true;
    for (;;) {
        errno = 0;
        dirent* entry = readdir(dir);
        if (!entry) {
            ok = errno == 0;
            break;
        }
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    closedir(dir);
    return ok;
}

bool FindFiles(std::string_view mask, std::vector<TSearchRec>& found)
{
    std::string_view folderText, pattern;
    SplitMask(mask, folderText, pattern);
    std::string folder = NativePath(folderText.empty() ? std::string_view(".") : folderText);
    const auto record = [&folder](const std::string& native, std::vector<TSearchRec>& to) {
        TSearchRec rec;
        rec.Name = StoredName(native);
        rec.Native = native;
        rec.Attr = AttrOf(folder + "/" + native, native, &rec.Size, &rec.Time);
        if (rec.Attr >= 0)
            to.push_back(std::move(rec));
    };
    // A name without wildcards names the entry spelt so where there is one, looked up alone (a
    // folder is not read once for each of its names given back); only without it may another
    // case of its letters name an entry, and only where exactly one does: a name never stands for
    // two files.
    const bool plain = !pattern.empty() && pattern.find_first_of("*?") == std::string_view::npos;
    if (plain) {
        const std::string native = NativeName(pattern);
        const size_t before = found.size();
        if (native.find('/') == std::string::npos && native != "." && native != "..")
            record(native, found);
        if (found.size() > before)
            return true;
    }
    std::vector<std::string> names;
    const bool ok = ListFolder(folder, names);
    const TNameMask matcher(pattern);
    std::vector<TSearchRec> entries;
    for (const std::string& native : names)
        if (matcher.Matches(native))
            record(native, entries);
    if (plain && entries.size() > 1)
        entries.clear();
    std::sort(entries.begin(), entries.end(), [](const TSearchRec& a, const TSearchRec& b) { return a.Name < b.Name; });
    found.insert(found.end(), entries.begin(), entries.end());
    return ok;
}

int FileGetAttr(std::string_view fileName)
{
    std::string native = NativePath(fileName);
    return native.empty() ? -1 : AttrOf(native, LastComponent(native), nullptr, nullptr);
}

bool FileSetAttr(std::string_view fileName, int attr)
{
    std::string native = NativePath(fileName);
    struct stat st;
    if (native.empty() || stat(native.c_str(), &st) != 0)
        return false;
    mode_t mode = st.st_mode & 07777;
    mode = (attr & faReadOnly) ? (mode & ~0222) : (mode | S_IWUSR);
    return chmod(native.c_str(), mode) == 0;
}

bool FileAge(std::string_view fileName, TDateTime& time)
{
    std::string native = NativePath(fileName);
    return !native.empty() && AttrOf(native, LastComponent(native), nullptr, &time) >= 0;
}

bool FileSetDate(std::string_view fileName, TDateTime time)
{
    std::string native = NativePath(fileName);
    struct timespec times[2];
    int64_t seconds;
    long nanoseconds;
    if (native.empty() || !LocalDateTimeToUnix(time, seconds, nanoseconds))
        return false;
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(seconds);
    times[1].tv_nsec = nanoseconds;
    return utimensat(AT_FDCWD, native.c_str(), times, 0) == 0;
}

TDateTime UnixToLocalDateTime(int64_t seconds, long nanoseconds)
{
    time_t t = static_cast<time_t>(seconds);
    struct tm local;
    if (!localtime_r(&t, &local))
        return 0;
    TDateTime date = 0, time = 0;
    if (!TryEncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, date))
        return 0;
    TryEncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), static_cast<int>(nanoseconds / 1000000),
                  time);
    return date < 0 ? date - time : date + time;
}

bool LocalDateTimeToUnix(TDateTime value, int64_t& seconds, long& nanoseconds)
{
    uint16_t year, month, day, hour, min, sec, msec;
    DecodeDate(value, year, month, day);
    if (year == 0)
        return false;
    DecodeTime(value, hour, min, sec, msec);
    struct tm local = {};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = min;
    local.tm_sec = sec;
    local.tm_isdst = -1;
    errno = 0;
    time_t t = mktime(&local);
    if (t == static_cast<time_t>(-1) && errno != 0)
        return false;
    seconds = t;
    nanoseconds = static_cast<long>(msec) * 1000000;
    return true;
}
