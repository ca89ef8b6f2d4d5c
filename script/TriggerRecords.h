#pragma once
// Operations on the trigger list that the executor uses.

#include <cstdint>
#include <string_view>

#include "script/Records.h"

// The first trigger whose trimmed NickName equals the trimmed name, or null.
cTriggers* FindTrigger(const TTriggerList& list, std::string_view name);
// Finds the trigger by nick or appends a new one, then sets its group, pattern, action and status.
cTriggers* SetTrigger(TTriggerList& list, std::string_view nick, std::string_view group, std::string_view from,
                      std::string_view to, uint32_t status);
