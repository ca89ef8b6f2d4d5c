// Replaying a walk: one step with confirmation, several steps, to the end or to a breakpoint,
// and moving the index by hand.
//
// A step runs through the executor and may itself drive the walk ("#wr", "#wgt", "#wc", a
// trigger that does so): every operation reads the walk again after a step, never a reference
// to a step line taken before it.

#include "script/ScriptNumbers.h"
#include "script/ScriptState.h"
#include "script/ScriptText.h"
#include "script/Walk.h"
#include "script/WalkSteps.h"

namespace {

void SendStepAt(TScriptState& state, int32_t index)
{
    if (!HasWalkStep(state.WalkRec, index))
        return;
    const AnsiString line = state.WalkRec.Steps[static_cast<size_t>(index)];
    ExecuteWalkStep(state, line);
}

enum class TRunEnd { Count, End, BreakPoint };

// The shared loop of "wn", "ws" and "wnb".
void RunSteps(TScriptState& state, TRunEnd end, int32_t count)
{
    cWalk& walk = state.WalkRec;
    if (walk.State == 0) {
        state.PutDirectString(ScriptText::NoWalk);
        return;
    }
    if (walk.State == 1)
        RewindWalk(state);  // a walk just recorded plays from its start
    walk.Saved = walk.Current;
    walk.MultiStep = 1;
    int32_t rounds = 0;
    while (HasWalkStep(walk, walk.Current)) {
        const int32_t before = walk.Current;
        SlowWalk(state);
        SlowWalkOk(state);
        // A step that moved the walk itself (rewound, jumped, closed or reopened it) ends the
        // run: carrying on from wherever it left the index could go round for ever.
        if (walk.State != 2 || walk.Current != before + 1)
            break;
        if (end == TRunEnd::Count && ++rounds >= count)
            break;
        if (end == TRunEnd::BreakPoint && IsWalkBreakPoint(walk, walk.Current))
            break;
    }
}

}  // namespace

void ExecuteWalkStep(TScriptState& state, const AnsiString& line)
{
    // A copy: the step may change the walk, and the line with it.
    const AnsiString command = ParseWalkLine(line);
    state.ExecuteCommand(command);
}

void SlowWalk(TScriptState& state)
{
    cWalk& walk = state.WalkRec;
    if (walk.State == 0) {
        state.PutDirectString(ScriptText::NoWalk);
        return;
    }
    if (walk.StepPending) {
        WalkStepAgain(state);
        return;
    }
    if (walk.Current >= WalkStepCount(walk) && state.Host.GetWalkAutoRewind())
        RewindWalk(state);
    const int32_t state0 = walk.State;
    const int32_t current = walk.Current;
    SendStepAt(state, walk.Current);
    // Pending also when nothing was sent; not when the step itself closed, rewound or moved
    // the walk, which then waits where the step left it.
    if (walk.State == state0 && walk.Current == current)
        walk.StepPending = 1;
}

void SlowWalkOk(TScriptState& state)
{
    cWalk& walk = state.WalkRec;
    if (walk.State == 0 || !walk.StepPending || walk.Current >= WalkStepCount(walk))
        return;
    walk.StepPending = 0;
    walk.Previous = walk.Current;
    walk.Current = WrapAdd(walk.Current, 1);
}

void SlowWalkCancel(TScriptState& state)
{
    cWalk& walk = state.WalkRec;
    if (walk.State != 0 && walk.StepPending)
        walk.StepPending = 0;
}

void WalkStepAgain(TScriptState& state)
{
    cWalk& walk = state.WalkRec;
    if (walk.State == 0) {
        state.PutDirectString(ScriptText::NoWalk);
        return;
    }
    if (walk.StepPending || walk.Current < 1)
        SendStepAt(state, walk.Current);
    else
        SendStepAt(state, walk.Current - 1);
}

void WalkNextStep(TScriptState& state, const AnsiString& count)
{
    int32_t n = count.empty() ? 1 : ReadInt(count);
    if (n < 1)
        n = 1;
    RunSteps(state, TRunEnd::Count, n);
}

void WalkNextBreakPoint(TScriptState& state) { RunSteps(state, TRunEnd::BreakPoint, 0); }

void SpeedWalk(TScriptState& state) { RunSteps(state, TRunEnd::End, 0); }

void WalkGoToStep(TScriptState& state, const AnsiString& number)
{
    if (number.empty())
        return;
    cWalk& walk = state.WalkRec;
    const int32_t n = ReadInt(number);
    walk.Current = n;
    walk.Previous = n;
    walk.Saved = n;
    walk.MultiStep = 0;
}

void WalkGoPrevious(TScriptState& state)
{
    if (state.WalkRec.Previous >= 0)
        WalkGoToStep(state, IntToStr(state.WalkRec.Previous));
}

void WalkGoSaved(TScriptState& state) { WalkGoToStep(state, IntToStr(state.WalkRec.Saved)); }

void WalkMarkStep(TScriptState& state)
{
    cWalk& walk = state.WalkRec;
    if (walk.MultiStep && walk.Saved < walk.Current)
        ++walk.Saved;
}

void WalkMarkOff(TScriptState& state) { state.WalkRec.MultiStep = 0; }

void WalkMarkBack(TScriptState& state)
{
    state.WalkRec.MultiStep = 0;
    WalkGoSaved(state);
}
