// Owner, group, access lists and permissions of what a copy made, given in that order while the
// copy is still its maker's alone: a group the copy could not keep never gets more than everyone
// gets, not even for the moment between two of these steps.
#include <endian.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "controls/core/FileShared.h"
#include "platform/core/AtomicFilePaths.h"
#include "platform/core/ExtendedAttributes.h"

namespace {

constexpr const char* kAccessList = "system.posix_acl_access";
constexpr const char* kDefaultList = "system.posix_acl_default";
// A list as the system stores it: a 4-byte version, then entries of a 16-bit tag, 16-bit
// permissions and a 32-bit id, little-endian.
constexpr size_t kListHeader = 4;
constexpr size_t kListEntry = 8;
constexpr uint16_t kOwningGroupTag = 0x04;
constexpr uint16_t kMaskTag = 0x10;
constexpr uint16_t kOthersTag = 0x20;

// The 16-bit field at the offset of a list.
uint16_t FieldAt(const std::string& list, size_t at)
{
    uint16_t field;
    std::memcpy(&field, list.data() + at, sizeof field);
    return le16toh(field);
}

// Root gives the copy the source's owner and group, anyone else the group where they are in it.
// Whether the copy has the source's owner and group now.
struct TKept {
    bool Owner = false;
    bool Group = false;
};
TKept KeepOwner(int made, const struct stat& src)
{
    SavePaths::GiveOwnerOf(made, src);
    struct stat now;
    if (fstat(made, &now) != 0)
        return {};
    return {now.st_uid == src.st_uid, now.st_gid == src.st_gid};
}

}  // namespace

std::string KeepOwnershipAndMode(int source, const struct stat& src, int made, mode_t bits)
{
    const TKept kept = KeepOwner(made, src);
    const bool groupKept = kept.Group;
    bool masked = false, hadAccess = false, hadDefault = false;
    // Where the group is another, its entry in the lists grants what the others' entry grants
    // too, no more: the entries naming users and groups stay, and so does the mask that limits
    // them.
    const TAttributeEdit edit = [&](const std::string& name, std::string& list) {
        const bool access = name == kAccessList;
        if (!access && name != kDefaultList)
            return;
        hadAccess = hadAccess || access;
        hadDefault = hadDefault || !access;
        uint16_t others = 0;
        for (size_t at = kListHeader; at + kListEntry <= list.size(); at += kListEntry) {
            masked = masked || (access && FieldAt(list, at) == kMaskTag);
            others = FieldAt(list, at) == kOthersTag ? FieldAt(list, at + 2) : others;
        }
        for (size_t at = kListHeader; !groupKept && at + kListEntry <= list.size(); at += kListEntry) {
            if (FieldAt(list, at) != kOwningGroupTag)
                continue;
            const uint16_t granted = htole16(FieldAt(list, at + 2) & others);
            std::memcpy(list.data() + at + 2, &granted, sizeof granted);
        }
    };
    if (std::string refusal = KeepExtendedAttributes(source, made, edit); !refusal.empty())
        return refusal;
    // What the copy's folder handed down goes where the source has no list of its own, also
    // where its file system keeps none and so lists none: a folder made in a folder with a default
    // list got that list as its own access and default lists, a file as its access list.
    for (const auto& [had, list] : {std::pair{hadAccess, kAccessList}, std::pair{hadDefault, kDefaultList}}) {
        const bool handedDown = list == kAccessList || S_ISDIR(src.st_mode);
        if (!had && handedDown && fremovexattr(made, list) != 0 && errno != ENODATA && errno != ENOTSUP)
            return std::strerror(errno);
    }
    mode_t mode = src.st_mode & bits;
    if (!kept.Owner)
        mode &= ~S_ISUID;
    if (!groupKept) {
        mode &= ~S_ISGID;
        // With an access list the group bits are its mask; without one they are the group's own.
        if (!masked)
            mode &= ~S_IRWXG | ((mode & S_IRWXO) << 3);
    }
    return fchmod(made, mode) == 0 ? std::string() : std::string(std::strerror(errno));
}

void KeepLinkOwnership(int folder, const std::string& name, const struct stat& src)
{
    if (fchownat(folder, name.c_str(), src.st_uid, src.st_gid, AT_SYMLINK_NOFOLLOW) != 0)
        fchownat(folder, name.c_str(), static_cast<uid_t>(-1), src.st_gid, AT_SYMLINK_NOFOLLOW);
}
