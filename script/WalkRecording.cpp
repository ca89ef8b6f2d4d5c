// Recording a walk while the player moves: the steps, their comments and breakpoints.

#include "script/ScriptState.h"
#include "script/ScriptText.h"
#include "script/Walk.h"

void TScriptState::RecordWalkStep(const AnsiString& command)
{
    if (WalkRec.State == 0) {
        PutDirectString(ScriptText::NoWalk);
        return;
    }
    if (WalkRec.State != 1)
        return;
    const AnsiString step = Trim(command);
    if (ReverseDirection(step).empty())
        return;  // only movement words are recorded
    if (WalkRec.Comment.empty()) {
        WalkRec.Steps.push_back(step);
    } else {
        WalkRec.Steps.push_back(step + " // " + WalkRec.Comment);
        WalkRec.Comment.clear();
    }
}

void TScriptState::AppendWalkComment(const AnsiString& text)
{
    if (WalkRec.State == 1 && !WalkRec.Steps.empty() && !text.empty())
        WalkRec.Steps.back() += " // " + text;
}

void TScriptState::SetWalkComment(const AnsiString& text)
{
    if (WalkRec.State == 1 && !text.empty())
        WalkRec.Comment = ExpandVariablesCopy(text);
}

void DeleteLastWalkStep(TScriptState& state)
{
    cWalk& walk = state.WalkRec;
    if (walk.State == 1 && !walk.Steps.empty())
        walk.Steps.pop_back();
}

void SetWalkBreakPoint(TScriptState& state)
{
    cWalk& walk = state.WalkRec;
    if (walk.State != 1 || walk.Steps.empty())
        return;
    AnsiString& last = walk.Steps.back();
    if (last.empty() || last.front() != 'B')
        last.insert(0, "B ");
}

void ClearWalkBreakPoint(TScriptState& state)
{
    cWalk& walk = state.WalkRec;
    const int32_t i = walk.Current;
    if (i < 0 || static_cast<size_t>(i) >= walk.Steps.size())
        return;
    AnsiString& step = walk.Steps[static_cast<size_t>(i)];
    if (!step.empty() && step.front() == 'B')
        step.erase(0, 1);
}
