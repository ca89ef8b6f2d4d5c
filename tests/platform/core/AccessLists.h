#pragma once
// Access lists for a case's files, as the system stores them: a version (2), then each entry's
// kind, permissions and id, little-endian, in the order of the kinds and by id within a kind.

#include <sys/xattr.h>

#include <cstdint>
#include <string>
#include <vector>

enum TAclKind : uint16_t {
    kAclOwner = 1,
    kAclUser = 2,
    kAclOwningGroup = 4,
    kAclGroup = 8,
    kAclMask = 16,
    kAclOthers = 32
};

struct TAclEntry {
    uint16_t kind;
    uint16_t permissions;  // 4 read, 2 write, 1 execute
    uint32_t id = 0xffffffff;
};

inline std::string StoredAccessList(const std::vector<TAclEntry>& entries)
{
    std::string list;
    const auto put = [&](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i, value >>= 8)
            list += static_cast<char>(value & 0xff);
    };
    put(2, 4);
    for (const TAclEntry& entry : entries) {
        put(entry.kind, 2);
        put(entry.permissions, 2);
        put(entry.id, 4);
    }
    return list;
}

// Gives the file (not followed) the access list; false with errno set where the file system keeps none.
inline bool SetAccessList(const std::string& path, const std::vector<TAclEntry>& entries)
{
    const std::string list = StoredAccessList(entries);
    return lsetxattr(path.c_str(), "system.posix_acl_access", list.data(), list.size(), 0) == 0;
}

// The file's access list as stored, empty where it has none.
inline std::string AccessListOf(const std::string& path)
{
    std::string list(1024, '\0');
    const ssize_t n = lgetxattr(path.c_str(), "system.posix_acl_access", list.data(), list.size());
    list.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return list;
}
