#include "TriggerReference.h"

#include "script/Pattern.h"
#include "script/TriggerText.h"
#include "script/Words.h"

namespace {

bool ReferenceMatch(TScriptState& s, const AnsiString& line, const AnsiString& from)
{
    for (auto& slot : s.CaptureSlots) {
        slot.Kind = 0;
        slot.Text.clear();
    }
    s.CaptureCount = 0;
    AnsiString pattern = from;
    s.ExpandFunctions(pattern);
    s.ExpandVariables(pattern);
    if (pattern.size() > 999)
        return false;
    TMatchResult r;
    if (!MatchPattern(CompilePattern(pattern), line, r))
        return false;
    for (int k = 0; k < r.Count; ++k) {
        s.CaptureSlots[static_cast<size_t>(k)].Kind = r.Captures[static_cast<size_t>(k)].Kind;
        s.CaptureSlots[static_cast<size_t>(k)].Text =
            line.substr(r.Captures[static_cast<size_t>(k)].Begin, r.Captures[static_cast<size_t>(k)].Length);
    }
    s.CaptureCount = r.Count;
    return true;
}

} // namespace

void ReferenceScanReceivedText(TScriptState& s, const AnsiString& piece)
{
    if (s.Closing)
        return;
    const bool lineEnd = piece == "\r" || piece == "\n";
    if (lineEnd)
        s.Host.RefreshStatusLine();
    if (piece.empty())
        return;
    if (!lineEnd) {
        s.CurrentLine += piece == "}" ? "\xA3\xFD" : piece == "{" ? "\xA3\xFB" : piece == "|" ? "\xA3\xFC" : piece;
        ReferencePass(s, false, s.CurrentLine);
        return;
    }
    if (!s.CurrentLine.empty())
        ReferencePass(s, true, s.CurrentLine);
    if (s.TrigSuspend != 0 && s.TrigSuspend != 65535)
        s.TrigSuspend = static_cast<int32_t>(static_cast<uint32_t>(s.TrigSuspend) - 1u);
    if (!s.CurrentLine.empty())
        s.LastLine = s.CurrentLine;
    s.CurrentLine.clear();
    for (const auto& t : s.TriggerList)
        t->Status &= ~cTriggers::FiredOnLine;
}

void ReferencePass(TScriptState& s, bool complete, const AnsiString& lineNow)
{
    if (!complete && s.ScanRunning)
        return;
    const AnsiString line = lineNow;  // the pass keeps the line it started with
    const bool nested = s.ScanRunning != 0;
    const int32_t outer = s.TrigContinue;
    s.TrigContinue = 1;
    s.ScanRunning = 1;
    const int count = s.TriggerList.Count();
    int jumps = 0;
    for (int i = 0; i < count && s.TrigContinue == 1; ++i) {
        cTriggers* t = s.TriggerList[i];
        if (!t)
            continue;
        if ((t->Status & cTriggers::FiredOnLine) || !(t->Status & cTriggers::Enabled) || t->From.empty() ||
            t->To.empty())
            continue;
        if (!complete && (t->Status & cTriggers::CompleteOnly))
            continue;
        if ((s.CmdConfig.TrigMode != 1 || s.TrigSuspend != 0) && !StartsWith(t->To, "#tro"))
            continue;
        if (!ReferenceMatch(s, line, t->From))
            continue;
        t->Status |= cTriggers::FiredOnLine;
        if (!(t->Status & cTriggers::StaysEnabled))
            t->Status &= ~cTriggers::Enabled;
        if (s.TrigJump >= 1 && s.TrigJump <= count) {
            ++jumps;
            i = s.TrigJump - 1;
            s.TrigJump = 0;
            if (jumps >= 100) {
                s.PutDirectString(TriggerText::JumpLoop);
                break;
            }
        }
        s.RunTriggerAction(t->To);
    }
    s.ScanRunning = 0;
    if (nested)
        s.TrigContinue = outer;
}
