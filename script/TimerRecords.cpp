#include "script/TimerRecords.h"

#include "script/ScriptState.h"

cTimer* FindUserTimer(const TTimerRecList& list, std::string_view name)
{
    const AnsiString wanted = Trim(name);
    for (const auto& t : list)
        if (Trim(t->Name) == wanted)
            return t.get();
    return nullptr;
}

void TScriptState::SetUserTimerCommand(const AnsiString& name, const AnsiString& command)
{
    if (cTimer* timer = FindUserTimer(TimerRecList, name))
        timer->OnBuff = command;
}
