// The walk timer (one step after a delay) and finding the way back onto a walk.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "controls/core/TimerList.h"
#include "script/ScriptNumbers.h"
#include "script/ScriptState.h"
#include "script/Walk.h"
#include "script/WalkSteps.h"

void AttachWalkTimer(TScriptState& state)
{
    TExTimerEvent* timer = state.Host.WalkTimer();
    if (!timer)
        return;
    timer->OnTimer = [&state, token = std::weak_ptr<int>(state.WalkTimerToken)](TObject*) {
        if (!token.expired())
            WalkTimerTimer(state);
    };
}

bool WalkTimerRunning(TScriptState& state)
{
    TExTimerEvent* timer = state.Host.WalkTimer();
    return timer && timer->Enabled();
}

void WalkOkAndNext(TScriptState& state)
{
    if (WalkTimerRunning(state))
        return;
    SlowWalkOk(state);
    SlowWalk(state);
}

void StartWalkTimer(TScriptState& state, const AnsiString& seconds)
{
    TExTimerEvent* timer = state.Host.WalkTimer();
    if (state.WalkRec.State != 2 || !timer || timer->Enabled())
        return;
    int64_t ms = 10000;
    if (!seconds.empty())
        ms = std::llabs(static_cast<long long>(ReadInt(seconds))) * 1000;
    // No delay is the next tick: a timer of 0 ms would never fire and block "wsn" for good.
    ms = std::clamp<int64_t>(ms, 1, INT32_MAX);
    AttachWalkTimer(state);
    timer->SetInterval(static_cast<int32_t>(ms));
    timer->SetEnabled(true);
}

void WalkTimerNow(TScriptState& state)
{
    TExTimerEvent* timer = state.Host.WalkTimer();
    if (!timer || !timer->Enabled())
        return;
    timer->SetEnabled(false);
    WalkOkAndNext(state);
}

void WalkTimerTimer(TScriptState& state)
{
    if (state.WalkRec.State == 2)
        WalkOkAndNext(state);
}

namespace {

AnsiString StepCommand(const cWalk& walk, int32_t index)
{
    return HasWalkStep(walk, index) ? ParseWalkLine(walk.Steps[static_cast<size_t>(index)]) : AnsiString();
}

void Undo(TScriptState& state, const AnsiString& reverse)
{
    if (!reverse.empty())
        ExecuteWalkStep(state, reverse);
}

}  // namespace

void WalkFind(TScriptState& state, const AnsiString& direction)
{
    const cWalk& walk = state.WalkRec;
    if (walk.State != 2 || direction.empty())
        return;
    const AnsiString reverse = state.ReverseDirection(direction);
    const int32_t current = walk.Current;
    if (current >= WalkStepCount(walk)) {
        Undo(state, reverse);  // past the end nothing is along the walk
        return;
    }
    if (HasWalkStep(walk, current) && direction == StepCommand(walk, current)) {
        WalkGoToStep(state, IntToStr(WrapAdd(current, 1)));  // moved along the walk
        return;
    }
    if (current >= 1 && HasWalkStep(walk, current - 1) && !reverse.empty() &&
        StepCommand(walk, current - 1) == reverse) {
        WalkGoToStep(state, IntToStr(current - 1));  // moved back along it
        return;
    }
    Undo(state, reverse);  // off the walk: go back
}
