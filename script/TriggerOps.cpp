#include "script/TriggerOps.h"

#include "script/ScriptState.h"
#include "script/TriggerRecords.h"
#include "script/TriggerScan.h"

namespace {

void SwitchOn(cTriggers& t)
{
    if (!t.From.empty() && !t.To.empty())
        t.Status |= cTriggers::Enabled;
}

void SwitchOff(cTriggers& t) { t.Status &= ~cTriggers::Enabled; }

cTriggers* ByNumber(TScriptState& state, int n) { return n >= 1 ? state.TriggerList[n - 1] : nullptr; }

}  // namespace

void TriggerOnByNumber(TScriptState& state, int n)
{
    if (cTriggers* t = ByNumber(state, n)) {
        SwitchOn(*t);
        state.TriggerScan().Unpark();
    }
}

void TriggerOffByNumber(TScriptState& state, int n)
{
    if (cTriggers* t = ByNumber(state, n))
        SwitchOff(*t);
}

void TriggerOnByName(TScriptState& state, std::string_view name)
{
    if (cTriggers* t = FindTrigger(state.TriggerList, name)) {
        SwitchOn(*t);
        state.TriggerScan().Unpark();
    }
}

void TriggerOffByName(TScriptState& state, std::string_view name)
{
    if (cTriggers* t = FindTrigger(state.TriggerList, name))
        SwitchOff(*t);
}

AnsiString TriggerActionByName(TScriptState& state, std::string_view name)
{
    const cTriggers* t = FindTrigger(state.TriggerList, name);
    return t ? t->To : AnsiString();
}

void GroupOn(TScriptState& state, std::string_view group)
{
    const AnsiString wanted = Trim(group);
    if (wanted.empty())
        return;
    for (const auto& t : state.TriggerList)
        if (Trim(t->Group) == wanted)
            SwitchOn(*t);
    state.TriggerScan().Unpark();
}

void GroupOff(TScriptState& state, std::string_view group)
{
    const AnsiString wanted = Trim(group);
    if (wanted.empty())
        return;
    for (const auto& t : state.TriggerList)
        if (Trim(t->Group) == wanted && !t->From.empty() && !t->To.empty())
            SwitchOff(*t);
}

void AllOn(TScriptState& state)
{
    for (const auto& t : state.TriggerList)
        SwitchOn(*t);
    state.TriggerScan().Unpark();
}

void AllOff(TScriptState& state)
{
    for (const auto& t : state.TriggerList)
        SwitchOff(*t);
}

void DeleteTriggerByNumber(TScriptState& state, int n)
{
    if (n < 1 || n > state.TriggerList.Count())
        return;
    // A running pass reaches triggers by position only and checks the list after every action,
    // so the record can go at once.
    state.TriggerList.Delete(n - 1);
    state.TriggersChanged();
}
