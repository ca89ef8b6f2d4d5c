#include "script/ScriptState.h"

#include <chrono>

TScriptState::TScriptState(IScriptHost& host)
    : Host(host),
      Random(static_cast<std::minstd_rand::result_type>(std::chrono::steady_clock::now().time_since_epoch().count()))
{
    // A new character window has its triggers on; the bare settings record starts with them off.
    CmdConfig.TrigMode = 1;
}
