// Trigger actions: the captures put into the action text, which then runs as a command.

#include "script/TriggerAction.h"

#include "script/ScriptState.h"
#include "script/TriggerScan.h"
#include "script/Words.h"

AnsiString ExpandTriggerAction(std::string_view to, const TScriptState& state, bool& resumes)
{
    AnsiString text;
    text.reserve(to.size());
    resumes = false;
    bool substitute = true;
    for (size_t i = 0; i < to.size(); ++i) {
        const std::string_view rest = to.substr(i);
        // The condition of an "#if" reads the captures itself.
        if (StartsWith(rest, "#if"))
            substitute = false;
        if (StartsWith(rest, "#tro"))
            resumes = true;
        const char c = to[i];
        if (c == '{' || c == '|')
            substitute = true;
        if (substitute && c == '%' && i + 1 < to.size() && to[i + 1] >= '0' && to[i + 1] <= '9' &&
            to[i + 1] - '0' < state.CaptureCount) {
            text += state.CaptureSlots[static_cast<size_t>(to[i + 1] - '0')].Text;
            ++i;
            continue;
        }
        text += c;
    }
    return text;
}

void TScriptState::RunTriggerAction(const AnsiString& to)
{
    bool resumes = false;
    const AnsiString text = ExpandTriggerAction(to, *this, resumes);
    if (resumes)
        TrigSuspend = 0;
    ExecuteCommand(text);
}

const AnsiString* TScriptState::CaptureText(int n) const
{
    if (n < 0 || n >= CaptureCount || n >= MaxCaptures)
        return nullptr;
    return &CaptureSlots[static_cast<size_t>(n)].Text;
}

bool TScriptState::MatchTrigger(const AnsiString& line, const AnsiString& pattern)
{
    return TriggerScan().MatchTrigger(*this, line, pattern);
}
