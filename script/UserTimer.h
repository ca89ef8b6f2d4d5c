#pragma once
// User timers: the values of a timer's Status, and the look-up of a timer by its event. The
// operations on timers are members of TScriptState (ScriptState.h).

#include <cstdint>

#include "script/Records.h"

// cTimer::Status. Stop is off as well; it only records that the timer was stopped rather than
// switched off.
enum TUserTimerStatus : int32_t {
    utsOff = 0,
    utsOn = 1,
    utsRestart = 2,  // on, with the countdown and the repeats reloaded
    utsStop = 3,
};

// The timer whose event has that handle; null when none. Handles start at 1, so a record that
// has no event (Handle 0) is never found.
cTimer* FindUserTimerByHandle(const TTimerRecList& list, int handle);
