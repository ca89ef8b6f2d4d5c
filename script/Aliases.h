#pragma once
// Aliases: user command words whose text, with the call's arguments put in, runs in their place.

#include <string_view>

#include "script/Records.h"

class TScriptState;

// The first alias whose trimmed Name equals the trimmed name, or null.
cAlias* FindAlias(const TAliasList& list, std::string_view name);
// Fills the state's AliasWords from a call: word 0 all the arguments, then each argument.
// Returns the number of words (0 without arguments).
int SplitAliasCall(TScriptState& state, std::string_view call);
// The text to run for a call of the alias: "%0" all arguments, "%1".."%9" one of them, "%%" a
// '%'; ';' works as '%' does.
AnsiString ExpandAlias(TScriptState& state, const cAlias& alias, std::string_view call);
