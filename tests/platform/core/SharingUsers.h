#pragma once
// Two users of a group who share files, for the cases of files several users save.

#include <sys/types.h>

inline constexpr uid_t kAlice = 40001, kBob = 40002;
inline constexpr gid_t kTeam = 40009;
