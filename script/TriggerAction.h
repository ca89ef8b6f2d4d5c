#pragma once
// The text a trigger action runs: its "%0".."%9" replaced by the captures of the match.

#include <string_view>

#include "platform/core/AnsiString.h"

class TScriptState;

// Builds the action text from to with the state's captures. A "#if" stops the substitution (its
// condition reads the captures itself) until the next '{' or '|'. resumes is set when the text
// holds "#tro", which ends a suspension as soon as the action is built.
AnsiString ExpandTriggerAction(std::string_view to, const TScriptState& state, bool& resumes);
