#include "script/TimerRecords.h"

#include "script/ScriptState.h"

cTimer* FindUserTimer(const TTimerRecList& list, std::string_view name) { return list.FindByName(name, &cTimer::Name); }

void TScriptState::SetUserTimerCommand(const AnsiString& name, const AnsiString& command)
{
    if (cTimer* timer = FindUserTimer(TimerRecList, name))
        timer->OnBuff = command;
}
