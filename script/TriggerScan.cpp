// The received-text scan: assembling the host's lines from the terminal's pieces and the trigger
// passes over them.

#include "script/TriggerScan.h"

#include <algorithm>

#include "script/ScriptState.h"
#include "script/TriggerText.h"
#include "script/Words.h"

namespace {

constexpr int MaxJumps = 100;
constexpr int32_t SuspendedUntilResumed = 65535;
// Compiled patterns kept for texts no trigger holds any more.
constexpr size_t PatternCacheLimit = 4096;

}  // namespace

// The line a pass works on. It looks at the current line until an action is about to run; an
// action may add to that line or end it, so the pass then takes its own copy.
struct TTriggerScanner::TPassLine {
    std::string_view Text;
    const uint8_t* Starts = nullptr;
    AnsiString OwnText;
    std::vector<uint8_t> OwnStarts;
    bool Owned = false;

    TPassLine() = default;
    TPassLine(std::string_view text, const uint8_t* starts) : Text(text), Starts(starts) {}
    void Own()
    {
        if (Owned)
            return;
        OwnText.assign(Text);
        OwnStarts.assign(Starts, Starts + Text.size());
        Text = OwnText;
        Starts = OwnStarts.data();
        Owned = true;
    }
};

void TTriggerScannerDelete::operator()(TTriggerScanner* scanner) const noexcept { delete scanner; }

TTriggerScanner& TScriptState::TriggerScan()
{
    if (!TriggerScanState)
        TriggerScanState.reset(new TTriggerScanner);
    return *TriggerScanState;
}

void TScriptState::TriggersChanged()
{
    // A trigger's number is its place in the list counted from 1, as the editor and "#td" count:
    // a trigger loaded from a file or added by a command would otherwise show and save 0.
    for (int i = 0; i < TriggerList.Count(); ++i)
        TriggerList[i]->Number = i + 1;
    TriggerScan().Changed();
}

void TScriptState::ScanReceivedText(const AnsiString& piece)
{
    if (Closing)
        return;
    const bool lineEnd = piece == "\r" || piece == "\n";
    if (lineEnd)
        Host.RefreshStatusLine();
    if (piece.empty())
        return;
    TTriggerScanner& scan = TriggerScan();
    if (!lineEnd) {
        // Host text must not open groups or split commands when it reaches an action.
        std::string_view text = piece;
        if (piece == "}")
            text = "\xA3\xFD";
        else if (piece == "{")
            text = "\xA3\xFB";
        else if (piece == "|")
            text = "\xA3\xFC";
        scan.Append(*this, text);
        scan.PartialPass(*this);
        // A host that never ends its line would grow it without bound: at the executor's limit
        // the line counts as complete and a new one begins, never between the bytes of a pair.
        if (CurrentLine.size() >= MaxTextLength && !Closing && !scan.EndsOnFirstByte(*this))
            EndReceivedLine(scan);
        return;
    }
    EndReceivedLine(scan);
}

void TScriptState::EndReceivedLine(TTriggerScanner& scan)
{
    if (!CurrentLine.empty())
        scan.CompletePass(*this);
    if (TrigSuspend != 0 && TrigSuspend != SuspendedUntilResumed)
        TrigSuspend = static_cast<int32_t>(static_cast<uint32_t>(TrigSuspend) - 1u);
    if (!CurrentLine.empty())
        LastLine = CurrentLine;
    CurrentLine.clear();
    scan.LineEnded(*this);
}

void TScriptState::ScanTriggers(bool complete, const AnsiString& line)
{
    TriggerScan().PassOver(*this, complete, line);
}

// ---- the scanner ----

void TTriggerScanner::Changed()
{
    Rebuild = true;
    MaybeFired = true;
}

void TTriggerScanner::Unpark()
{
    Pending.Add(Parked);
    Parked.ClearAll();
}

void TTriggerScanner::SyncLine(TScriptState& s)
{
    // Only the scan changes the current line; should anything else have, start over on it.
    if (Starts.size() == s.CurrentLine.size())
        return;
    ComputeCharStarts(s.CurrentLine, Starts);
    ++Serial;
    Pending.Assign(Index.PartialCapable());
    Parked.Resize(Pending.Count());
}

void TTriggerScanner::Append(TScriptState& s, std::string_view bytes)
{
    SyncLine(s);
    AnsiString& line = s.CurrentLine;
    for (const char c : bytes) {
        const size_t n = line.size();
        // A byte that follows the first byte of a pair is the pair's second byte.
        const bool trail = n > 0 && Starts[n - 1] && IsLeadByte(static_cast<unsigned char>(line[n - 1]));
        line += c;
        Starts.push_back(!trail);
        if (Index.Count() == Pending.Count())
            Index.ForEachWoken(line, Starts.data(), n, [this](uint32_t i) { Pending.Set(i); });
    }
}

bool TTriggerScanner::EndsOnFirstByte(TScriptState& s)
{
    SyncLine(s);
    const AnsiString& line = s.CurrentLine;
    const size_t n = line.size();
    return n > 0 && Starts[n - 1] && IsLeadByte(static_cast<unsigned char>(line[n - 1]));
}

void TTriggerScanner::LineEnded(TScriptState& s)
{
    if (MaybeFired) {
        for (const auto& t : s.TriggerList)
            t->Status &= ~cTriggers::FiredOnLine;
        MaybeFired = false;
    }
    Starts.clear();
    ++Serial;
    // Nothing matches an empty line, so no trigger waits for a try.
    Pending.ClearAll();
    Parked.ClearAll();
    FullCheck = true;
}

bool TTriggerScanner::Validate(TScriptState& s, bool full)
{
    bool fired = false;
    if (!Rebuild && Index.Count() == static_cast<size_t>(s.TriggerList.Count()) &&
        !(full && !Index.Describes(s.TriggerList, fired))) {
        if (full)
            FullCheck = false;
        if (fired)
            MaybeFired = true;
        return false;
    }
    Index.Build(s.TriggerList, Patterns);
    ++Builds;
    Memos.resize(Index.Count());
    Patterns.Trim(PatternCacheLimit);
    Rebuild = false;
    FullCheck = false;
    if (Index.AnyFired())
        MaybeFired = true;
    // What was known about the line no longer applies to the new positions.
    Pending.Assign(Index.PartialCapable());
    Parked.Resize(Index.Count());
    return true;
}

void TTriggerScanner::CheckGate(const TScriptState& s)
{
    const int gate = s.CmdConfig.TrigMode == 1 && s.TrigSuspend == 0;
    if (gate != Gate) {
        Gate = gate;
        Unpark();
    }
}

bool TTriggerScanner::Eligible(const TScriptState& s, const cTriggers& t, bool complete) const
{
    const uint32_t status = t.Status;
    if ((status & cTriggers::FiredOnLine) || !(status & cTriggers::Enabled) || t.From.empty() || t.To.empty())
        return false;
    if (!complete && (status & cTriggers::CompleteOnly))
        return false;
    if ((s.CmdConfig.TrigMode != 1 || s.TrigSuspend != 0) && !StartsWith(t.To, "#tro"))
        return false;
    return true;
}

void TTriggerScanner::ClearCaptures(TScriptState& s)
{
    const int used = std::clamp(std::max(SlotsUsed, s.CaptureCount), 0, TScriptState::MaxCaptures);
    for (int k = 0; k < used; ++k) {
        cWordSlot& slot = s.CaptureSlots[static_cast<size_t>(k)];
        slot.Kind = 0;
        slot.Text.clear();
    }
    s.CaptureCount = 0;
    SlotsUsed = 0;
}

void TTriggerScanner::FillCaptures(TScriptState& s, std::string_view line, const TMatchResult& r)
{
    for (int k = 0; k < r.Count; ++k) {
        const TCaptureSpan& c = r.Captures[static_cast<size_t>(k)];
        cWordSlot& slot = s.CaptureSlots[static_cast<size_t>(k)];
        slot.Kind = c.Kind;
        slot.Text.assign(line.substr(c.Begin, c.Length));
    }
    s.CaptureCount = r.Count;
    SlotsUsed = r.Count;
}

std::shared_ptr<const TCompiledPattern> TTriggerScanner::Expand(TScriptState& s, AnsiString pattern)
{
    s.ExpandFunctions(pattern);
    // A pattern longer than the limit after expansion never matches, so expansion stops there:
    // a pattern naming a long line or variable costs no more at each try than the limit.
    if (!s.ExpandVariablesWithin(pattern, TCompiledPattern::MaxLength))
        return nullptr;
    auto compiled = Expanded.Get(pattern);
    Expanded.Trim(PatternCacheLimit);
    return compiled;
}

bool TTriggerScanner::MatchTrigger(TScriptState& s, std::string_view line, const AnsiString& pattern)
{
    ClearCaptures(s);
    const auto compiled = Expand(s, pattern);
    if (!compiled)
        return false;
    std::vector<uint8_t> starts;
    ComputeCharStarts(line, starts);
    TMatchResult r;
    if (!MatchPattern(*compiled, line, starts.data(), r))
        return false;
    FillCaptures(s, line, r);
    return true;
}

TMatchMemo& TTriggerScanner::MemoFor(size_t i, const std::shared_ptr<const TCompiledPattern>& pattern,
                                     bool onCurrentLine)
{
    constexpr uint64_t NoLine = ~uint64_t{0};
    if (i >= Memos.size())
        Memos.resize(i + 1);
    TLineMemo& m = Memos[i];
    if (!onCurrentLine || m.Pattern != pattern || m.Line != Serial) {
        m.Pattern = pattern;
        m.Line = onCurrentLine ? Serial : NoLine;
        m.Match.Reset(pattern->Pieces.size());
    }
    return m.Match;
}

bool TTriggerScanner::TryMatch(TScriptState& s, size_t i, const cTriggers& t, const TPassLine& line, bool onCurrentLine)
{
    ClearCaptures(s);
    const TTriggerIndex::TSlot* slot = i < Index.Count() ? &Index.Slot(i) : nullptr;
    const bool indexed = slot && slot->Rec == &t && slot->Pattern && slot->From == t.From;
    const std::shared_ptr<const TCompiledPattern> compiled = indexed ? slot->Pattern : Expand(s, t.From);
    if (!compiled)
        return false;
    TMatchMemo& memo = MemoFor(i, compiled, onCurrentLine);
    TMatchResult r;
    const bool matched = MatchPattern(*compiled, line.Text, line.Starts, r, &memo);
    Steps += memo.Steps;
    memo.Steps = 0;
    if (!matched)
        return false;
    FillCaptures(s, line.Text, r);
    return true;
}

void TTriggerScanner::PartialPass(TScriptState& s)
{
    if (s.ScanRunning)
        return;  // a pass is under way; it does not see this byte
    SyncLine(s);
    TPassLine line{s.CurrentLine, Starts.data()};
    Pass(s, false, line, true);
}

void TTriggerScanner::CompletePass(TScriptState& s)
{
    SyncLine(s);
    TPassLine line{s.CurrentLine, Starts.data()};
    Pass(s, true, line, true);
}

void TTriggerScanner::PassOver(TScriptState& s, bool complete, std::string_view text)
{
    if (!complete && s.ScanRunning)
        return;
    TPassLine line;
    line.Text = text;
    ComputeCharStarts(text, line.OwnStarts);
    line.Starts = line.OwnStarts.data();
    line.Own();
    Pass(s, complete, line, false);
}

void TTriggerScanner::Pass(TScriptState& s, bool complete, TPassLine& line, bool current)
{
    // A pass run from inside another (an action fed text back) keeps its own continue flag, so
    // a "#trr" of either pass ends that pass only.
    const bool nested = s.ScanRunning != 0;
    const int32_t outerContinue = s.TrigContinue;
    s.TrigContinue = 1;
    s.ScanRunning = 1;

    // Every complete pass checks the index against the list; partial passes check it once a
    // line, when there are partial-line triggers at all.
    Validate(s, complete || (FullCheck && Index.PartialCapable().Any()));
    const int count = s.TriggerList.Count();
    const uint64_t serial = Serial;
    const size_t length = line.Text.size();

    // Which positions can match: complete passes from the line's literals, partial passes from
    // what arrived since each trigger's last try. A partial pass whose line is no longer the
    // current one tries every trigger.
    TTriggerBits candidates;
    bool fast = complete || current;
    // Whether the pass still looks at the current line, so that what earlier tries of this line
    // found out holds.
    bool onCurrentLine = current;
    if (complete) {
        Index.FindCandidates(line.Text, line.Starts, candidates);
    } else if (fast) {
        CheckGate(s);
        Pending.AddExcept(Index.PartialAlways(), Parked);
    }

    int jumps = 0;
    for (int i = 0; i < count && s.TrigContinue == 1; ++i) {
        if (fast) {
            const TTriggerBits& set = complete ? candidates : Pending;
            size_t next = set.Next(static_cast<size_t>(i));
            if (next >= set.Count())
                next = static_cast<size_t>(count);
            const int stop = static_cast<int>(std::min(next, static_cast<size_t>(count)));
            // Every trigger tried and failed would have emptied the capture slots.
            if (stop > i && (SlotsUsed > 0 || s.CaptureCount != 0)) {
                for (int k = i; k < stop; ++k) {
                    const cTriggers* skipped = s.TriggerList[k];
                    if (skipped && Eligible(s, *skipped, complete)) {
                        ClearCaptures(s);
                        break;
                    }
                }
            }
            i = stop;
            if (i >= count)
                break;
        }
        cTriggers* t = s.TriggerList[i];
        if (!t)
            continue;
        const auto at = static_cast<size_t>(i);
        if (!Eligible(s, *t, complete)) {
            if (fast && !complete) {
                Pending.Reset(at);
                Parked.Set(at);
            }
            continue;
        }
        if (!TryMatch(s, at, *t, line, onCurrentLine)) {
            if (fast && !complete && !Index.PartialAlways().Test(at))
                Pending.Reset(at);
            continue;
        }

        t->Status |= cTriggers::FiredOnLine;
        if (!(t->Status & cTriggers::StaysEnabled))
            t->Status &= ~cTriggers::Enabled;
        MaybeFired = true;
        if (s.TrigJump >= 1 && s.TrigJump <= count) {
            ++jumps;
            i = s.TrigJump - 1;
            s.TrigJump = 0;
            if (jumps >= MaxJumps) {
                s.PutDirectString(TriggerText::JumpLoop);
                break;
            }
        }
        line.Own();
        const uint64_t builds = Builds;
        s.RunTriggerAction(t->To);

        // The action may have changed anything: the list, the triggers, the line, the switches.
        // A nested pass (the action fed a line end) may have brought the index up to date with
        // a changed list already: the positions this pass knew are stale all the same.
        Validate(s, true);
        const bool rebuilt = Builds != builds;
        Unpark();
        CheckGate(s);
        onCurrentLine = onCurrentLine && Serial == serial && s.CurrentLine.size() == length && Starts.size() == length;
        if (complete) {
            if (rebuilt)
                Index.FindCandidates(line.Text, line.Starts, candidates);
        } else if (fast) {
            fast = onCurrentLine;
        }
    }

    s.ScanRunning = 0;
    if (nested)
        s.TrigContinue = outerContinue;
}
