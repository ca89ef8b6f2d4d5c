// "#" words of the walk engine. Each takes at most one word.

#include "script/HashCommand.h"
#include "script/ScriptState.h"
#include "script/Walk.h"

namespace {

// A word that must be given: a file, a direction.
template <void (*Op)(TScriptState&, const AnsiString&)>
void Given(THashCall& call)
{
    if (auto word = call.Word())
        Op(call.State, *word);
}

// A word that may be missing (a count, seconds, a step): the operation takes "" for none.
template <void (*Op)(TScriptState&, const AnsiString&)>
void Optional(THashCall& call)
{
    Op(call.State, call.Word().value_or(AnsiString()));
}

template <void (*Op)(TScriptState&)>
void Bare(THashCall& call)
{
    Op(call.State);
}

// The results of saving are reported to the user by the walk engine itself.
void End(THashCall& call) { EndWalkRecord(call.State); }
void Close(THashCall& call) { CloseWalk(call.State); }
// Without a word, the no-walk message still tells a user who has no recording.
void Record(THashCall& call) { call.State.RecordWalkStep(call.Word().value_or(AnsiString())); }

constexpr THashWord Words[] = {
    {"wl", Given<OpenWalk>},
    {"we", End},
    {"wr", Bare<RewindWalk>},
    {"wp", Record},
    {"wsn", Bare<WalkOkAndNext>},
    {"wsp", Optional<StartWalkTimer>},
    {"wspk", Bare<WalkTimerNow>},
    {"wn", Optional<WalkNextStep>},
    {"ws", Bare<SpeedWalk>},
    {"wc", Close},
    {"wal", Bare<WalkStepAgain>},
    {"wg", Bare<SlowWalk>},
    {"wok", Bare<SlowWalkOk>},
    {"wsf", Bare<SlowWalkCancel>},
    {"wgt", Optional<WalkGoToStep>},
    {"wgf", Bare<WalkGoPrevious>},
    {"wsm", Bare<WalkGoSaved>},
    {"wmf", Bare<WalkMarkOff>},
    {"wms", Bare<WalkMarkStep>},
    {"wmfi", Bare<WalkMarkBack>},
    {"wd", Bare<DeleteLastWalkStep>},
    {"wsb", Bare<SetWalkBreakPoint>},
    {"wrb", Bare<ClearWalkBreakPoint>},
    {"wnb", Bare<WalkNextBreakPoint>},
    {"wfn", Given<WalkFind>},
};

}  // namespace

std::span<const THashWord> WalkHashWords() { return Words; }
