#pragma once
// The operations of the trigger commands on a window's TriggerList. Numbers are 1-based; names
// and groups compare after trimming blanks from both sides. A trigger is switched on only when
// it has both a pattern and an action.

#include <string_view>

#include "platform/core/AnsiString.h"

class TScriptState;

void TriggerOnByNumber(TScriptState& state, int n);
void TriggerOffByNumber(TScriptState& state, int n);
void TriggerOnByName(TScriptState& state, std::string_view name);
void TriggerOffByName(TScriptState& state, std::string_view name);
// The action of the named trigger, or "" when there is none.
AnsiString TriggerActionByName(TScriptState& state, std::string_view name);
// An empty group name does nothing.
void GroupOn(TScriptState& state, std::string_view group);
void GroupOff(TScriptState& state, std::string_view group);
void AllOn(TScriptState& state);
void AllOff(TScriptState& state);
// Removes trigger n from the list and frees it; safe while a trigger pass runs.
void DeleteTriggerByNumber(TScriptState& state, int n);
