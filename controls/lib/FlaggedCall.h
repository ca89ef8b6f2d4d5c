#pragma once
// A flag a control holds up while a call of its own runs (to keep its events quiet, or to mark a
// change it is making): down again afterwards, also when the call raises, unless the control
// went away meanwhile.

#include "platform/gui/Liveness.h"

// False when the control is gone (the flag is then not touched again).
template <class F>
bool WhileFlagged(bool& Flag, const TAliveToken& Alive, F&& Call)
{
    Flag = true;
    try {
        Call();
    } catch (...) {
        if (*Alive)
            Flag = false;
        throw;
    }
    if (!*Alive)
        return false;
    Flag = false;
    return true;
}
