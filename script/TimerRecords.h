#pragma once
// Look-up of user timers by name.

#include <string_view>

#include "script/Records.h"

// The first timer whose Name equals the name, both trimmed of blanks and control characters.
cTimer* FindUserTimer(const TTimerRecList& list, std::string_view name);
