// Recording a walk while the player moves: the steps, their comments.

#include "script/ScriptState.h"
#include "script/ScriptText.h"

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
