#include "platform/core/ExtendedAttributes.h"

#include <sys/xattr.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

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
std::string KeepAttributes(List list, Get get, int to, const TAttributeEdit& edit)
{
    std::string names;
    if (!ReadGrowing(names, list))
        return errno == ENOTSUP ? "" : std::strerror(errno);  // a file system without them has none to keep
    bool hadAccessList = false;
    for (size_t start = 0; start < names.size();) {
        const size_t end = std::min(names.find('\0', start), names.size());
        const std::string name = names.substr(start, end - start);
        start = end + 1;
        // The mark of a save written in place (SaveJournal.h) is the file's own, never another's.
        if (name == "user.hanmud.save")
            continue;
        const bool accessList = name == kAccessList;
        hadAccessList = hadAccessList || accessList;
        std::string value;
        if (ReadGrowing(value, [&](char* data, size_t size) { return get(name.c_str(), data, size); })) {
            if (edit)
                edit(name, value);
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

}  // namespace

std::string KeepExtendedAttributes(const std::string& from, int to)
{
    return KeepAttributes(
        [&](char* list, size_t size) { return llistxattr(from.c_str(), list, size); },
        [&](const char* name, char* data, size_t size) { return lgetxattr(from.c_str(), name, data, size); }, to, {});
}

std::string KeepExtendedAttributes(int from, int to, const TAttributeEdit& edit)
{
    return KeepAttributes([&](char* list, size_t size) { return flistxattr(from, list, size); },
                          [&](const char* name, char* data, size_t size) { return fgetxattr(from, name, data, size); },
                          to, edit);
}
