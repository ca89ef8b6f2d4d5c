#pragma once
// Access lists for a case's files, written and read as the system's library spells them
// ("u::rw-,u:40002:rw-,g::---,m::rw-,o::---"), user and group ids as numbers.

#include <acl/libacl.h>
#include <sys/acl.h>

#include <string>

// Gives the file the access list; false with errno set where the file system keeps none.
inline bool SetAccessList(const std::string& path, const char* text)
{
    const acl_t acl = acl_from_text(text);
    const bool set = acl && acl_set_file(path.c_str(), ACL_TYPE_ACCESS, acl) == 0;
    if (acl)
        acl_free(acl);
    return set;
}

// The file's access list, its mode's where it has none; empty where it cannot be read.
inline std::string AccessListOf(const std::string& path)
{
    const acl_t acl = acl_get_file(path.c_str(), ACL_TYPE_ACCESS);
    char* text = acl ? acl_to_any_text(acl, nullptr, ',', TEXT_NUMERIC_IDS | TEXT_ABBREVIATE) : nullptr;
    const std::string list = text ? text : "";
    if (text)
        acl_free(text);
    if (acl)
        acl_free(acl);
    return list;
}
