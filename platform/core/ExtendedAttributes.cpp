#include "platform/core/ExtendedAttributes.h"

#include <sys/xattr.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <map>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr std::string_view kAccessList = "system.posix_acl_access";

// Reads a list or a value that another process may make longer between asking its size and
// reading it: asked again a few times. False with errno set when it cannot be read.
template <typename Read>
bool ReadGrowing(std::string& out, Read read)
{
    for (int attempt = 0; attempt < 4; ++attempt) {
        const ssize_t size = read(nullptr, 0);
        if (size < 0)
            return false;
        out.resize(static_cast<size_t>(size));
        if (size == 0)
            return true;
        const ssize_t got = read(out.data(), out.size());
        if (got >= 0) {
            out.resize(static_cast<size_t>(got));
            return true;
        }
        if (errno != ERANGE)
            return false;
    }
    return false;
}

// The attributes of one file, read through `list` and `get` (by path or by descriptor), given to
// the open file `to`.
template <typename List, typename Get>
std::string KeepAttributes(List list, Get get, int to)
{
    std::string names;
    if (!ReadGrowing(names, list))
        return errno == ENOTSUP ? "" : std::strerror(errno);  // a file system without them has none to keep
    bool hadAccessList = false;
    for (size_t start = 0; start < names.size();) {
        const size_t end = std::min(names.find('\0', start), names.size());
        const std::string name = names.substr(start, end - start);
        start = end + 1;
        const bool accessList = name == kAccessList;
        hadAccessList = hadAccessList || accessList;
        std::string value;
        if (ReadGrowing(value, [&](char* data, size_t size) { return get(name.c_str(), data, size); })) {
            if (fsetxattr(to, name.c_str(), value.data(), value.size(), 0) == 0 || !accessList)
                continue;
        } else if (!accessList || errno == ENODATA) {
            continue;  // gone meanwhile, or not the caller's to read
        }
        return std::strerror(errno);
    }
    if (!hadAccessList && fremovexattr(to, std::string(kAccessList).c_str()) != 0 && errno != ENODATA &&
        errno != ENOTSUP)
        return std::strerror(errno);
    return "";
}

// An access list as the system stores it: a version, then each entry's kind, permissions and id,
// little-endian, in the order of the kinds below and by id within a kind.
constexpr uint32_t kAccessListVersion = 2;
enum TEntryKind : uint16_t {
    kOwner = 0x01,
    kUser = 0x02,
    kOwningGroup = 0x04,
    kGroup = 0x08,
    kMask = 0x10,  // the most any user or group but the owner and others gets
    kOthers = 0x20,
};
constexpr uint32_t kNoId = 0xffffffff;
constexpr uint16_t kRead = 4, kWrite = 2;

// Permissions by kind and id.
using TEntries = std::map<std::pair<uint16_t, uint32_t>, uint16_t>;

uint32_t Little(const std::string& bytes, size_t at, size_t size)
{
    uint32_t value = 0;
    for (size_t i = size; i-- > 0;)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

void PutLittle(std::string& bytes, uint32_t value, size_t size)
{
    for (size_t i = 0; i < size; ++i, value >>= 8)
        bytes += static_cast<char>(value & 0xff);
}

// The entries of a stored access list; none where it is not one.
TEntries Parsed(const std::string& list)
{
    TEntries entries;
    if (list.size() < 4 || (list.size() - 4) % 8 != 0 || Little(list, 0, 4) != kAccessListVersion)
        return entries;
    for (size_t at = 4; at < list.size(); at += 8)
        entries[{static_cast<uint16_t>(Little(list, at, 2)), Little(list, at + 4, 4)}] =
            static_cast<uint16_t>(Little(list, at + 2, 2));
    return entries;
}

std::string Stored(const TEntries& entries)
{
    std::string list;
    PutLittle(list, kAccessListVersion, 4);
    for (const auto& [key, permissions] : entries) {
        PutLittle(list, key.first, 2);
        PutLittle(list, permissions, 2);
        PutLittle(list, key.second, 4);
    }
    return list;
}

}  // namespace

std::string ShareAccess(const std::string& fromPath, bool follow, const struct stat& from, int to, bool writersOnly)
{
    std::string list;
    const auto get = follow ? getxattr : lgetxattr;
    TEntries had =
        ReadGrowing(list,
                    [&](char* data, size_t size) { return get(fromPath.c_str(), kAccessList.data(), data, size); })
        ? Parsed(list)
        : TEntries{};
    const auto bits = [&](int shift) { return static_cast<uint16_t>((from.st_mode >> shift) & 7); };
    if (had.empty())
        had = {{{kOwner, kNoId}, bits(6)}, {{kOwningGroup, kNoId}, bits(3)}, {{kOthers, kNoId}, bits(0)}};
    struct stat made;
    if (fstat(to, &made) != 0)
        return std::strerror(errno);
    const auto mask = had.find({kMask, kNoId});
    const uint16_t most = mask == had.end() ? 7 : mask->second;
    const auto given = [&](uint16_t permissions) -> uint16_t {
        return !writersOnly ? permissions : (permissions & kWrite) != 0 ? kRead | kWrite : 0;
    };
    // The maker of `to` keeps its own rights to it; `from`'s owner and group become a user and a
    // group of `to` where `to` is another's.
    TEntries shared;
    const bool sameOwner = made.st_uid == from.st_uid;
    shared[{kOwner, kNoId}] = sameOwner ? given(had[{kOwner, kNoId}]) : kRead | kWrite;
    shared[{kOwningGroup, kNoId}] = 0;
    shared[{kOthers, kNoId}] = given(had[{kOthers, kNoId}]);
    if (!sameOwner)
        shared[{kUser, from.st_uid}] = given(had[{kOwner, kNoId}]);
    for (const auto& [key, permissions] : had) {
        const uint16_t kind = key.first;
        const uint32_t id = kind == kOwningGroup ? from.st_gid : key.second;
        const uint16_t granted = given(permissions & most);
        if (kind == kUser && id != made.st_uid)
            shared[{kUser, id}] |= granted;
        else if ((kind == kOwningGroup || kind == kGroup) && id == made.st_gid)
            shared[{kOwningGroup, kNoId}] |= granted;
        else if (kind == kOwningGroup || kind == kGroup)
            shared[{kGroup, id}] |= granted;
    }
    bool named = false;
    uint16_t groupClass = 0;
    for (const auto& [key, permissions] : shared) {
        named = named || key.first == kUser || key.first == kGroup;
        if (key.first != kOwner && key.first != kOthers)
            groupClass |= permissions;
    }
    if (!named) {
        // The mode says it all; an access list the folder gave the new file goes.
        if (fremovexattr(to, kAccessList.data()) != 0 && errno != ENODATA && errno != ENOTSUP)
            return std::strerror(errno);
        const auto mode = static_cast<mode_t>(shared[{kOwner, kNoId}] << 6 | shared[{kOwningGroup, kNoId}] << 3 |
                                              shared[{kOthers, kNoId}]);
        return fchmod(to, mode) == 0 ? "" : std::strerror(errno);
    }
    shared[{kMask, kNoId}] = groupClass;
    const std::string stored = Stored(shared);
    return fsetxattr(to, kAccessList.data(), stored.data(), stored.size(), 0) == 0 ? "" : std::strerror(errno);
}

std::string KeepExtendedAttributes(const std::string& from, int to)
{
    return KeepAttributes(
        [&](char* list, size_t size) { return llistxattr(from.c_str(), list, size); },
        [&](const char* name, char* data, size_t size) { return lgetxattr(from.c_str(), name, data, size); }, to);
}

std::string KeepExtendedAttributes(int from, int to)
{
    return KeepAttributes([&](char* list, size_t size) { return flistxattr(from, list, size); },
                          [&](const char* name, char* data, size_t size) { return fgetxattr(from, name, data, size); },
                          to);
}
