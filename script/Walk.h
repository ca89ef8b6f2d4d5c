#pragma once
// The walk engine: a recorded route of movement commands that is replayed step by step, all at
// once, up to a breakpoint or one step after a delay. Its state is the window's WalkRec; its
// files live in the "Cmd" folder under the program folder.
//
// Operations that need a walk show the no-walk message ("먼저 워크를 불러와서 사용하세요.")
// in state 0 where noted. Steps run through ExecuteCommand, so any of them may come back here
// (a step that runs "#wc", a trigger fired by a step): every operation re-reads the walk state
// after each step it runs.
//
// Recording (RecordWalkStep, AppendWalkComment, SetWalkComment) are TScriptState members, as the
// executor calls them.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/AnsiString.h"
#include "platform/core/AtomicFile.h"

class TScriptState;

// ---- walk files ----

// The largest walk a file may hold. A walk is a route a player records step by step, and a
// million steps load; beyond these a file of bare line ends, or of one endless line, would cost
// gigabytes once its lines are held as steps. A larger walk is neither read nor written.
constexpr uint64_t MaxWalkFileBytes = uint64_t{64} << 20;
constexpr size_t MaxWalkSteps = size_t{1} << 21;

// The command of a walk line: a first 'B' (breakpoint) dropped; empty when nothing or only a
// "//" comment is left; else the text before the first "//", trimmed.
AnsiString ParseWalkLine(const AnsiString& line);
// The native path of the walk file "Cmd\\" + name under the host's program folder.
std::string WalkFilePath(TScriptState& state, const AnsiString& name);
// Splits a file's text into lines as a string list reads it (CR LF, LF or CR end a line; a last
// line without an end counts).
std::vector<AnsiString> SplitWalkText(std::string_view text);
// The lines joined with CR LF after each, as a string list writes them.
AnsiString JoinWalkLines(const std::vector<AnsiString>& lines);
// Writes walk lines to a native path atomically, refusing what the reader would refuse (more
// than MaxWalkSteps lines or MaxWalkFileBytes bytes): the old file then stays.
TWriteResult WriteWalkLines(const std::string& nativePath, const std::vector<AnsiString>& lines);
// Writes the steps to the walk file atomically (the folder made when missing). On failure the
// old file stays, the user is told (message box captioned "에러") and the result is false.
bool SaveWalkFile(TScriptState& state);

// ---- opening, recording, closing ("wl", walk bar "New", "we", "wc", "wr") ----

// "wl": loads "Cmd\\" + name; state 2, indexes 0, flags 0. A file that cannot be read leaves
// the steps empty, the file name set and state 0 (no message).
void OpenWalk(TScriptState& state, const AnsiString& name);
// Walk bar "New": empties the steps and starts recording into the file name; state 1.
void NewWalkRecord(TScriptState& state, const AnsiString& name);
// "we": recording: saves the walk file, then rewinds (state 2); state 0: the no-walk message.
// False when the file could not be written (reported; nothing changes).
bool EndWalkRecord(TScriptState& state);
// "wc": any walk: saves the walk file, empties the steps, state 0, indexes 0, flags 0. False when
// the file could not be written (reported; nothing changes).
bool CloseWalk(TScriptState& state);
// "wr": state 2, current, previous and saved index 0, both flags 0; state 0: the no-walk message.
void RewindWalk(TScriptState& state);

// ---- editing while recording ("wp" is RecordWalkStep, "wd", "wsb", "wrb") ----

// "wd": recording with steps: deletes the last step (undoes a wrong move).
void DeleteLastWalkStep(TScriptState& state);
// "wsb": recording with steps: marks the last step a breakpoint ("B " in front) unless it is one.
void SetWalkBreakPoint(TScriptState& state);
// "wrb": in any state, the step at the current index loses its breakpoint 'B'.
void ClearWalkBreakPoint(TScriptState& state);

// ---- replay ----

// Runs one step line's command (ParseWalkLine) through ExecuteCommand.
void ExecuteWalkStep(TScriptState& state, const AnsiString& line);
// "wg": sends the current step and marks it pending until "wok" (unless the step itself moved or
// closed the walk); with one pending already it sends it again (WalkStepAgain). At the end of the
// walk with auto-rewind on, rewinds first.
void SlowWalk(TScriptState& state);
// "wok": a step pending and steps left: the step is confirmed, the walk moves on by one.
void SlowWalkOk(TScriptState& state);
// "wsf": drops the pending mark, so the next "wg" sends the same step.
void SlowWalkCancel(TScriptState& state);
// "wal": resends the pending step, or the last confirmed one (after a failed move).
void WalkStepAgain(TScriptState& state);
// "wn": sends count steps (the text as a number; 1 when empty or below 1), fewer at the end.
// These three rewind a recording walk first, and end early when a step moves the walk itself.
void WalkNextStep(TScriptState& state, const AnsiString& count);
// "wnb": sends steps until the next step is a breakpoint (which is not sent).
void WalkNextBreakPoint(TScriptState& state);
// "ws": sends every step left.
void SpeedWalk(TScriptState& state);

// ---- moving the index ("wgt", "wgf", "wsm", "wms", "wmf", "wmfi") ----

// "wgt": empty text: nothing; else current = previous = saved = the number, multi-step flag 0.
void WalkGoToStep(TScriptState& state, const AnsiString& number);
// "wgf": back to the previous index when it is 0 or more.
void WalkGoPrevious(TScriptState& state);
// "wsm": back to the saved index.
void WalkGoSaved(TScriptState& state);
// "wms": while a multi-step run is marked, moves the saved index on by one (up to current).
void WalkMarkStep(TScriptState& state);
// "wmf": clears the multi-step flag.
void WalkMarkOff(TScriptState& state);
// "wmfi": clears the multi-step flag and goes back to the saved index.
void WalkMarkBack(TScriptState& state);

// ---- the walk timer ("wsn", "wsp", "wspk") ----

// "wsn": when the walk timer is not running: SlowWalkOk, then SlowWalk.
void WalkOkAndNext(TScriptState& state);
// "wsp": loaded walk and the timer idle: starts the walk timer for |seconds| (10 s when the text
// is empty, the next tick for 0); when it fires, WalkTimerTimer runs once.
void StartWalkTimer(TScriptState& state, const AnsiString& seconds);
// "wspk": the walk timer running: stops it and runs WalkOkAndNext at once.
void WalkTimerNow(TScriptState& state);
// The walk timer's handler: a loaded walk goes on by one step (WalkOkAndNext).
void WalkTimerTimer(TScriptState& state);
// Points the host's walk timer at this state's WalkTimerTimer (StartWalkTimer does it too). The
// handler does nothing once the state is gone.
void AttachWalkTimer(TScriptState& state);
// Whether the host's walk timer is counting down.
bool WalkTimerRunning(TScriptState& state);

// ---- finding the way back onto the walk ("wfn") ----

// "wfn": loaded walk only. direction is the way the character has just moved: along the walk
// moves the index on, back along it moves the index back, off it sends the reverse direction.
void WalkFind(TScriptState& state, const AnsiString& direction);
