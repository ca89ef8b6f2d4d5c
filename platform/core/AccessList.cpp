#include "platform/core/AccessList.h"

#include <acl/libacl.h>
#include <sys/acl.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <utility>

namespace {

constexpr unsigned kRead = 4, kWrite = 2, kExecute = 1;
constexpr id_t kNoId = static_cast<id_t>(-1);

// Permissions by kind of entry and id (kNoId for the owner, the owning group, the mask, others).
using TEntries = std::map<std::pair<acl_tag_t, id_t>, unsigned>;

struct TAclFree {
    void operator()(void* acl) const { acl_free(acl); }
};
using TAcl = std::unique_ptr<std::remove_pointer_t<acl_t>, TAclFree>;

// The entries of an access list.
TEntries EntriesOf(acl_t acl)
{
    TEntries entries;
    acl_entry_t entry;
    for (int which = ACL_FIRST_ENTRY; acl_get_entry(acl, which, &entry) == 1; which = ACL_NEXT_ENTRY) {
        acl_tag_t tag;
        acl_permset_t set;
        if (acl_get_tag_type(entry, &tag) != 0 || acl_get_permset(entry, &set) != 0)
            continue;
        id_t id = kNoId;
        if (tag == ACL_USER || tag == ACL_GROUP) {
            void* qualifier = acl_get_qualifier(entry);
            if (!qualifier)
                continue;
            id = tag == ACL_USER ? *static_cast<uid_t*>(qualifier) : *static_cast<gid_t*>(qualifier);
            acl_free(qualifier);
        }
        entries[{tag, id}] = (acl_get_perm(set, ACL_READ) == 1 ? kRead : 0) |
            (acl_get_perm(set, ACL_WRITE) == 1 ? kWrite : 0) | (acl_get_perm(set, ACL_EXECUTE) == 1 ? kExecute : 0);
    }
    return entries;
}

// The access list of the entries, with a mask made from them where it names a user or group;
// null with errno set where it cannot be made.
TAcl AclOf(const TEntries& entries)
{
    acl_t acl = acl_init(static_cast<int>(entries.size()) + 1);
    bool made = acl != nullptr, named = false;
    for (auto at = entries.begin(); made && at != entries.end(); ++at) {
        acl_entry_t entry;
        acl_permset_t set;
        const id_t id = at->first.second;
        named = named || id != kNoId;
        made = acl_create_entry(&acl, &entry) == 0 && acl_set_tag_type(entry, at->first.first) == 0 &&
            (id == kNoId || acl_set_qualifier(entry, &id) == 0) && acl_get_permset(entry, &set) == 0 &&
            acl_clear_perms(set) == 0;
        for (const auto& [bit, perm] : {std::pair{kRead, ACL_READ}, {kWrite, ACL_WRITE}, {kExecute, ACL_EXECUTE}})
            if (made && (at->second & bit) != 0)
                made = acl_add_perm(set, perm) == 0;
    }
    if (made && (!named || acl_calc_mask(&acl) == 0))
        return TAcl(acl);
    const int error = errno;
    if (acl)
        acl_free(acl);
    errno = error;
    return nullptr;
}

}  // namespace

std::string ShareAccess(const std::string& fromPath, const struct stat& from, int to, bool writersOnly)
{
    // A file system without access lists: the mode says it all.
    TAcl read(acl_get_file(fromPath.c_str(), ACL_TYPE_ACCESS));
    if (!read)
        read.reset(acl_from_mode(from.st_mode));
    if (!read)
        return std::strerror(errno);
    TEntries had = EntriesOf(read.get());
    struct stat made;
    if (fstat(to, &made) != 0)
        return std::strerror(errno);
    const auto mask = had.find({ACL_MASK, kNoId});
    const unsigned most = mask == had.end() ? 7 : mask->second;
    const auto given = [&](unsigned permissions) -> unsigned {
        return !writersOnly ? permissions : (permissions & kWrite) != 0 ? kRead | kWrite : 0;
    };
    // The maker of `to` keeps its own rights to it; `from`'s owner and group become a user and a
    // group of `to` where `to` is another's.
    TEntries shared;
    const bool sameOwner = made.st_uid == from.st_uid;
    shared[{ACL_USER_OBJ, kNoId}] = sameOwner ? given(had[{ACL_USER_OBJ, kNoId}]) : kRead | kWrite;
    shared[{ACL_GROUP_OBJ, kNoId}] = 0;
    shared[{ACL_OTHER, kNoId}] = given(had[{ACL_OTHER, kNoId}]);
    if (!sameOwner)
        shared[{ACL_USER, from.st_uid}] = given(had[{ACL_USER_OBJ, kNoId}]);
    for (const auto& [key, permissions] : had) {
        const acl_tag_t tag = key.first;
        const id_t id = tag == ACL_GROUP_OBJ ? from.st_gid : key.second;
        const unsigned granted = given(permissions & most);
        if (tag == ACL_USER && id != made.st_uid)
            shared[{ACL_USER, id}] |= granted;
        else if ((tag == ACL_GROUP_OBJ || tag == ACL_GROUP) && id == made.st_gid)
            shared[{ACL_GROUP_OBJ, kNoId}] |= granted;
        else if (tag == ACL_GROUP_OBJ || tag == ACL_GROUP)
            shared[{ACL_GROUP, id}] |= granted;
    }
    // Set whole, the mask made: one of the owner, group and others alone sets the mode and drops
    // an access list the folder gave the new file.
    const TAcl acl = AclOf(shared);
    if (!acl)
        return std::strerror(errno);
    if (acl_set_fd(to, acl.get()) == 0)
        return "";
    mode_t mode;
    if (errno == ENOTSUP && acl_equiv_mode(acl.get(), &mode) == 0)
        return fchmod(to, mode) == 0 ? "" : std::strerror(errno);
    return std::strerror(errno);
}
