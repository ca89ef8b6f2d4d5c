// "#" words that reach the host directly: remarks, sounds, a bare line end and messages.

#include "script/HashCommand.h"
#include "script/ScriptNumbers.h"
#include "script/ScriptState.h"

namespace {

void Remark(THashCall&) {}

// The host plays it without waiting.
void Play(THashCall& call)
{
    if (auto file = call.Word())
        call.State.Host.PlaySound(*file);
}

void LineEnd(THashCall& call) { call.State.SendCommand("\r\n"); }

void Echo(THashCall& call)
{
    call.State.PutDirectString("\n\r");
    if (!call.Rest.empty())
        call.State.PutDirectString(AnsiString(call.Rest));
}

// Frequency and duration; a missing duration counts as 0. The host beeps without blocking.
void Beep(THashCall& call)
{
    const auto frequency = call.Number();
    if (!frequency || frequency->empty())
        return;
    const auto duration = call.Number();
    call.State.Host.Beep(ReadInt(*frequency), duration ? ReadInt(*duration) : 0);
}

constexpr THashWord Words[] = {
    {"rem", Remark}, {"play", Play}, {"cr", LineEnd}, {"echo", Echo}, {"beep", Beep},
};

}  // namespace

std::span<const THashWord> MiscHashWords() { return Words; }
