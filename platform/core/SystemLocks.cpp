#include "platform/core/SystemLocks.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <map>
#include <optional>

#include "platform/core/AtomicFilePaths.h"

namespace SystemLocks {

namespace {

// The list is the system's, but anyone may add lines to it by taking locks: it is read whole only
// up to this size, and a longer one answers nothing.
constexpr size_t kMostListBytes = size_t{16} << 20;

std::optional<std::string> ReadList()
{
    const int fd = open("/proc/locks", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::string list;
    char chunk[65536];
    for (;;) {
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || list.size() + static_cast<size_t>(n) > kMostListBytes) {
            close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        list.append(chunk, static_cast<size_t>(n));
    }
    close(fd);
    return list;
}

// A number in the base given, all of the text, that fits its type.
template <typename T>
bool ParseNumber(std::string_view text, int base, T& value)
{
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, base);
    return !text.empty() && error == std::errc() && stop == end;
}

// "major:minor:inode", the first two in hexadecimal.
bool ParseFile(std::string_view token, TListedFile& file)
{
    const size_t first = token.find(':');
    const size_t second = first == std::string_view::npos ? first : token.find(':', first + 1);
    return second != std::string_view::npos && ParseNumber(token.substr(0, first), 16, file.major) &&
        ParseNumber(token.substr(first + 1, second - first - 1), 16, file.minor) &&
        ParseNumber(token.substr(second + 1), 10, file.inode);
}

// One line of the list: "1: FLOCK  ADVISORY  WRITE 20994 fe:00:10952918 0 EOF", or for a waiter
// "1: -> FLOCK ...". True for a lock held, its file and holder given; anything else is skipped.
bool ParseLine(std::string_view line, TListedFile& file, int64_t& pid)
{
    std::string_view previous;
    bool found = false;
    while (!line.empty()) {
        const size_t start = line.find_first_not_of(" \t");
        if (start == std::string_view::npos)
            break;
        line.remove_prefix(start);
        const size_t end = std::min(line.find_first_of(" \t"), line.size());
        const std::string_view token = line.substr(0, end);
        line.remove_prefix(end);
        if (token == "->")
            return false;
        if (!found && ParseFile(token, file)) {
            found = true;
            if (!ParseNumber(previous, 10, pid))  // -1 for a lock no one process holds
                pid = 0;
        }
        previous = token;
    }
    return found;
}

template <typename Visit>
void EachHeld(std::string_view list, Visit visit)
{
    while (!list.empty()) {
        const size_t end = std::min(list.find('\n'), list.size());
        TListedFile file;
        int64_t pid = 0;
        if (ParseLine(list.substr(0, end), file, pid) && visit(file, pid))
            return;
        list.remove_prefix(std::min(end + 1, list.size()));
    }
}

// How the list names the file system of a lock that process `pid` holds on `inode`; none where it
// shows no such lock.
std::optional<TListedFile> FindOwnLock(std::string_view list, uint64_t inode, int64_t pid)
{
    std::optional<TListedFile> found;
    EachHeld(list, [&](const TListedFile& listed, int64_t holder) {
        if (listed.inode == inode && holder == pid)
            found = listed;
        return found.has_value();
    });
    return found;
}

// How the list names the file system of each device seen, as stat numbers it; none for one whose
// locks the list did not show.
std::map<dev_t, std::optional<TListedFile>>& Devices()
{
    static auto* devices = new std::map<dev_t, std::optional<TListedFile>>;
    return *devices;
}

// Learns how the list names the file system of `folder` from a file made and locked there.
// False where no such file can be made.
bool Learn(const std::string& folder)
{
    const int dir = open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return false;
    std::string name;
    const int fd = SavePaths::CreateLockedTemp(dir, name);
    if (fd < 0) {
        close(dir);
        return false;
    }
    struct stat made;
    const bool known = fstat(fd, &made) == 0;
    const std::optional<std::string> list = known ? ReadList() : std::nullopt;
    if (!name.empty())
        unlinkat(dir, name.c_str(), 0);
    close(fd);
    close(dir);
    if (!list)
        return false;
    Devices()[made.st_dev] = FindOwnLock(*list, static_cast<uint64_t>(made.st_ino), getpid());
    return true;
}

}  // namespace

bool ListShowsHeld(std::string_view list, const TListedFile& file)
{
    bool held = false;
    EachHeld(list, [&](const TListedFile& listed, int64_t) { return held = listed == file; });
    return held;
}

TLockState StateOf(const struct stat& file, const std::string& folder)
{
    auto known = Devices().find(file.st_dev);
    if (known == Devices().end()) {
        if (!Learn(folder))
            return TLockState::Unknown;
        known = Devices().find(file.st_dev);
        if (known == Devices().end())
            return TLockState::Unknown;  // the folder lies on another file system than the file
    }
    if (!known->second)
        return TLockState::Unknown;
    const std::optional<std::string> list = ReadList();
    if (!list)
        return TLockState::Unknown;
    TListedFile listed = *known->second;
    listed.inode = static_cast<uint64_t>(file.st_ino);
    return ListShowsHeld(*list, listed) ? TLockState::Held : TLockState::Free;
}

}  // namespace SystemLocks
