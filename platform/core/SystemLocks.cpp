#include "platform/core/SystemLocks.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <map>
#include <optional>
#include <utility>

#include "platform/core/AtomicFilePaths.h"

namespace SystemLocks {

namespace {

using Clock = std::chrono::steady_clock;

// The list is the system's, but anyone may add lines to it by taking locks: it is read whole only
// up to this size, and a longer one answers nothing.
constexpr size_t kMostListBytes = size_t{16} << 20;

std::string& ListPath()
{
    static auto* path = new std::string("/proc/locks");
    return *path;
}

// The list, read whole before the deadline; none where it cannot be.
std::optional<std::string> ReadList(Clock::time_point deadline)
{
    const int fd = open(ListPath().c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::string list;
    char chunk[65536];
    for (;;) {
        // The system gives the list a page at a time, each page costing more the further it lies.
        if (Clock::now() >= deadline) {
            close(fd);
            return std::nullopt;
        }
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

// How the list names the file system of each device seen, as stat numbers it: its name in the
// list, or none for one whose locks the list did not show; absent for one without locks.
struct TDevice {
    bool locks = true;
    std::optional<TListedFile> listed;
};
std::map<dev_t, TDevice>& Devices()
{
    static auto* devices = new std::map<dev_t, TDevice>;
    return *devices;
}

// Learns how the list names the file system of `folder` from a file made and locked there.
// False where no such file can be made, or the list cannot be read in time.
bool Learn(int folder, Clock::time_point deadline)
{
    std::string name;
    const int fd = SavePaths::CreateLockedTemp(folder, name);
    if (fd < 0)
        return false;
    struct stat made;
    bool known = fstat(fd, &made) == 0;
    if (known && flock(fd, LOCK_EX | LOCK_NB) != 0) {
        Devices()[made.st_dev] = TDevice{false, std::nullopt};  // a file system without locks
    } else if (known) {
        const std::optional<std::string> list = ReadList(deadline);
        known = list.has_value();
        if (known)
            Devices()[made.st_dev] = TDevice{true, FindOwnLock(*list, static_cast<uint64_t>(made.st_ino), getpid())};
    }
    if (!name.empty())
        unlinkat(folder, name.c_str(), 0);
    close(fd);
    return known;
}

}  // namespace

bool ListShowsHeld(std::string_view list, const TListedFile& file)
{
    bool held = false;
    EachHeld(list, [&](const TListedFile& listed, int64_t) { return held = listed == file; });
    return held;
}

void SetListPath(std::string path) { ListPath() = std::move(path); }

TLockState StateOf(const struct stat& file, int folder, Clock::time_point deadline)
{
    auto known = Devices().find(file.st_dev);
    if (known == Devices().end()) {
        if (!Learn(folder, deadline))
            return TLockState::Unknown;
        known = Devices().find(file.st_dev);
        if (known == Devices().end())
            return TLockState::Unknown;  // the folder lies on another file system than the file
    }
    if (!known->second.locks)
        return TLockState::Free;
    if (!known->second.listed)
        return TLockState::Unknown;
    const std::optional<std::string> list = ReadList(deadline);
    if (!list)
        return TLockState::Unknown;
    TListedFile listed = *known->second.listed;
    listed.inode = static_cast<uint64_t>(file.st_ino);
    return ListShowsHeld(*list, listed) ? TLockState::Held : TLockState::Free;
}

}  // namespace SystemLocks
