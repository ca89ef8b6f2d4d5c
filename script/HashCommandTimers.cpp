// "#" words of the user timers: switching one by name, giving it a new period, and switching the
// whole list.

#include "script/HashCommand.h"
#include "script/ScriptNumbers.h"
#include "script/ScriptState.h"
#include "script/UserTimer.h"

namespace {

template <int32_t Status>
void SetStatus(THashCall& call)
{
    if (auto name = call.Word())
        call.State.SetUserTimerStatus(*name, Status);
}

void StartAll(THashCall& call) { call.State.SetUserTimersActive(true); }
void StopAll(THashCall& call) { call.State.SetUserTimersActive(false); }

// The name, then the seconds; restarts the timer with that period.
void SetTicker(THashCall& call)
{
    const auto name = call.Word();
    const auto seconds = name ? call.Item() : std::nullopt;
    if (!seconds) {
        call.State.PutDirectString(HashText::TimerUsage);
        return;
    }
    call.State.SetUserTimerTicker(*name, ReadInt(*seconds));
}

constexpr THashWord Words[] = {
    {"tio", SetStatus<utsOn>}, {"tif", SetStatus<utsOff>}, {"tis", SetStatus<utsStop>}, {"tir", SetStatus<utsRestart>},
    {"sta", StartAll},         {"std", StopAll},           {"tim", SetTicker},
};

}  // namespace

std::span<const THashWord> TimerHashWords() { return Words; }
