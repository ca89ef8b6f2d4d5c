// "#" words of the triggers: switching them by number, name or group, deleting them, running an
// action, and steering the trigger pass (continue, suspend, jump, trigger mode).

#include "script/HashCommand.h"
#include "script/ScriptNumbers.h"
#include "script/ScriptState.h"
#include "script/TriggerOps.h"

namespace {

// "trp": suspended until "tro", not counted down by line ends.
constexpr int32_t SuspendUntilResumed = 65535;

// A word that names a trigger, a group or a number; none when the command gives none.
template <class Op>
void WithWord(THashCall& call, Op op)
{
    if (auto word = call.Word())
        op(*word);
}

void Delete(THashCall& call)
{
    WithWord(call, [&](const AnsiString& n) { DeleteTriggerByNumber(call.State, ReadInt(n)); });
}
void OnByNumber(THashCall& call)
{
    WithWord(call, [&](const AnsiString& n) { TriggerOnByNumber(call.State, ReadInt(n)); });
}
void OffByNumber(THashCall& call)
{
    WithWord(call, [&](const AnsiString& n) { TriggerOffByNumber(call.State, ReadInt(n)); });
}
void OnByName(THashCall& call)
{
    WithWord(call, [&](const AnsiString& name) { TriggerOnByName(call.State, name); });
}
void OffByName(THashCall& call)
{
    WithWord(call, [&](const AnsiString& name) { TriggerOffByName(call.State, name); });
}
void GroupOnWord(THashCall& call)
{
    WithWord(call, [&](const AnsiString& group) { GroupOn(call.State, group); });
}
void GroupOffWord(THashCall& call)
{
    WithWord(call, [&](const AnsiString& group) { GroupOff(call.State, group); });
}
void AllOnWord(THashCall& call) { AllOn(call.State); }
void AllOffWord(THashCall& call) { AllOff(call.State); }

// The running pass tries no further trigger.
void StopPass(THashCall& call) { call.State.TrigContinue = 0; }
// Only "#tro" triggers are tried until n line ends have passed.
void Suspend(THashCall& call)
{
    WithWord(call, [&](const AnsiString& n) { call.State.TrigSuspend = ReadInt(n); });
}
void SuspendUntilResume(THashCall& call) { call.State.TrigSuspend = SuspendUntilResumed; }
void Resume(THashCall& call) { call.State.TrigSuspend = 0; }
// Taken when the next trigger matches: scanning goes on after trigger n.
void Jump(THashCall& call)
{
    WithWord(call, [&](const AnsiString& n) { call.State.TrigJump = ReadInt(n); });
}

// A name no trigger has runs an empty text, which does nothing. Without a name nothing runs, not
// even a trigger that has no name.
void RunAction(THashCall& call)
{
    WithWord(call, [&](const AnsiString& name) {
        const AnsiString action = TriggerActionByName(call.State, name);
        call.State.ExecuteCommand(action);
    });
}

void ModeOff(THashCall& call) { call.State.CmdConfig.TrigMode = 0; }
void ModeOn(THashCall& call) { call.State.CmdConfig.TrigMode = 1; }

// "tnd" and "tgd" switch the named trigger on and off, as "tno" and "tnf" do: scripts written
// for them rely on it.
constexpr THashWord Words[] = {
    {"td", Delete},      {"tnd", OnByName},  {"tgd", OffByName},   {"to", OnByNumber},
    {"tf", OffByNumber}, {"trr", StopPass},  {"trs", Suspend},     {"trp", SuspendUntilResume},
    {"tgt", Jump},       {"tro", Resume},    {"tgo", GroupOnWord}, {"tgf", GroupOffWord},
    {"tno", OnByName},   {"tnf", OffByName}, {"tao", AllOnWord},   {"taf", AllOffWord},
    {"trn", RunAction},  {"tmf", ModeOff},   {"tmo", ModeOn},
};

}  // namespace

std::span<const THashWord> TriggerHashWords() { return Words; }
