#pragma once
// Switching command buttons on and off from scripts.

#include <string_view>

#include "script/Records.h"

class TScriptState;

// The first button whose trimmed Name equals the trimmed name, or null.
cButton* FindButton(const TButtonList& list, std::string_view name);
// Leaves the button on: clears its on bit, then clicks its control, whose handler switches it on
// and runs OnBuff.
void ButtonOn(TScriptState& state, std::string_view name);
// Leaves a button that has an OffBuff off, the same way round.
void ButtonOff(TScriptState& state, std::string_view name);
