// The scan that skips triggers which cannot match gives exactly the results of trying every
// trigger at every byte: two windows get the same triggers, host text and outside changes from
// a seeded generator, one scanned by the engine and one by the literal reading below, and
// everything they do and hold must stay the same after every piece.

#include <random>
#include <sstream>

#include "ScriptTest.h"
#include "script/Pattern.h"
#include "script/TriggerOps.h"
#include "script/TriggerText.h"
#include "script/Words.h"

namespace {

// The scan read literally: every pass tries every trigger in list order, and every try expands
// and compiles its pattern afresh.
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

const char* const Words[] = {
    "hp",
    "sp",
    "Bob",
    "Kim",
    "tells",
    "you",
    "goblin",
    "\xC7\xD1",
    "\xB1\xB9",
    "\xB0\xCB",
    "\xB8\xB6\xC0\xBB",
    "12",
    "345",
    "7",
    ",",
    ".",
    "[",
    "]",
    " ",
    " ",
    " ",
    "/",
    ":",
    "\x8C"
    "c",
    "at",
    "%",
    "^",
    "(",
    ")",
    "x",
};
const char* const Separators[] = {"{", "|", "}"};

class TWorld {
public:
    explicit TWorld(bool reference) : Reference(reference)
    {
        host.State = &state;
        host.OnSend = TriggerWords(state, [this](const AnsiString& piece) { Scan(piece); });
    }
    void Scan(const AnsiString& piece)
    {
        if (Reference)
            ReferenceScanReceivedText(state, piece);
        else
            state.ScanReceivedText(piece);
    }
    // Tells the engine about a change made behind its back; the reference needs no telling.
    void Changed()
    {
        if (!Reference)
            state.TriggersChanged();
    }

    bool Reference;
    TTestHost host;
    TScriptState state{host};
};

// Everything a window's scan can be seen to have done.
AnsiString Describe(const TWorld& w)
{
    std::ostringstream out;
    const TScriptState& s = w.state;
    for (const auto& e : w.host.Events)
        out << e.What << ':' << e.Text << ':' << e.Name << '\n';
    for (const auto& t : s.TriggerList)
        out << "T " << t->NickName << '|' << t->Group << '|' << t->From << '|' << t->To << '|' << t->Status << '\n';
    out << "L " << s.CurrentLine << '|' << s.LastLine << '\n';
    out << "S " << s.TrigSuspend << ' ' << s.TrigJump << ' ' << s.TrigContinue << ' ' << int(s.ScanRunning) << ' '
        << s.CaptureCount << '\n';
    for (const auto& slot : s.CaptureSlots)
        out << "C " << slot.Kind << ' ' << slot.Text << '\n';
    for (const auto& v : s.VariableList)
        out << "V " << v->Name << '=' << v->Value << '\n';
    return out.str();
}

class TGenerator {
public:
    explicit TGenerator(uint32_t seed) : Random(seed) {}

    int Below(int n) { return static_cast<int>(Random() % static_cast<uint32_t>(n)); }
    bool Chance(int percent) { return Below(100) < percent; }
    const char* Word() { return Words[Below(static_cast<int>(std::size(Words)))]; }
    // The words most lines hold, so that patterns made of them match often.
    const char* Common() { return Words[Below(12)]; }

    AnsiString Pattern()
    {
        AnsiString p;
        if (Chance(15))
            p += '^';
        if (Chance(8))
            p += "@(v)";
        const int pieces = 1 + Below(3);
        for (int k = 0; k < pieces; ++k) {
            const int r = Below(10);
            if (r < 2)
                p += "%d";
            else if (r < 4)
                p += "%s";
            else if (r < 5)
                p += "%*";
            else
                p += Chance(60) ? Common() : Word();
        }
        return p;
    }

    AnsiString Action(int count)
    {
        // Text that ends the line runs a nested pass, whose actions change the list under the
        // outer pass.
        if (Nested && Chance(50)) {
            const AnsiString change = Chance(50)
                ? "DEL " + IntToStr(1 + Below(count + 1))
                : "MOVE " + IntToStr(1 + Below(count)) + " " + IntToStr(1 + Below(count));
            const AnsiString feed = AnsiString("FEED ") + Common() + "\\n";
            return Chance(50) ? change + "|" + feed : feed + "|" + change;
        }
        switch (Below(18)) {
        case 17: return "MOVE " + IntToStr(1 + Below(count)) + " " + IntToStr(1 + Below(count));
        case 16: return "STATUS " + IntToStr(1 + Below(count)) + " " + IntToStr(Below(16));
        case 0: return "JUMP " + IntToStr(Below(count + 2));
        case 1: return "STOP";
        case 2: return "SUSPEND " + IntToStr(Below(3));
        case 3: return "#tro|say resumed %0";
        case 4: return "DEL " + IntToStr(1 + Below(count + 1));
        case 5: return "ON " + IntToStr(1 + Below(count));
        case 6: return "OFF " + IntToStr(1 + Below(count));
        case 7: return AnsiString("FEED ") + Word() + (Chance(40) ? "\\n" : "");
        case 8: return "#ts n" + IntToStr(Below(count + 2)) + "," + Pattern() + ",say set %0,g," + IntToStr(Below(16));
        case 9: return AnsiString("#vss v ") + Word();
        case 10: return "#if (%0 = 12) {say twelve %1}|say after %0";
        default: return "say %0/%1/%2 " + IntToStr(Below(100));
        }
    }

    uint32_t Status()
    {
        uint32_t s = 0;
        if (Chance(85))
            s |= cTriggers::Enabled;
        if (Chance(70))
            s |= cTriggers::StaysEnabled;
        if (Chance(30))
            s |= cTriggers::CompleteOnly;
        if (Chance(3))
            s |= cTriggers::FiredOnLine;
        return s;
    }

    AnsiString Line()
    {
        AnsiString line;
        const int words = 1 + Below(14);
        for (int k = 0; k < words; ++k)
            line += Chance(4) ? Separators[Below(3)] : Chance(50) ? Common() : Word();
        return line;
    }

    const char* LineEnd()
    {
        static const char* const ends[] = {"\n\r", "\r\n", "\n", "\r", "\n\n"};
        return ends[Below(5)];
    }

    std::mt19937 Random;
    bool Nested = false;
};

void AddRandomTrigger(TWorld& a, TWorld& b, TGenerator& g, int number)
{
    const AnsiString from = g.Chance(3) ? AnsiString() : g.Pattern();
    const AnsiString to = g.Chance(3) ? AnsiString() : g.Action(12);
    const uint32_t status = g.Status();
    for (TWorld* w : {&a, &b})
        AddTrigger(w->state, from, to, status, "n" + IntToStr(number), number % 3 ? "g" : "h");
}

// A change from outside the scan between two pieces: a typed command, a switch, an edit.
void ChangeOutside(TWorld& a, TWorld& b, TGenerator& g)
{
    const int count = a.state.TriggerList.Count();
    const int what = g.Below(9);
    const int n = 1 + g.Below(count + 1);
    const AnsiString pattern = g.Pattern();
    const uint32_t status = g.Status();
    for (TWorld* w : {&a, &b}) {
        TScriptState& s = w->state;
        switch (what) {
        case 0: s.CmdConfig.TrigMode = s.CmdConfig.TrigMode == 1 ? 0 : 1; break;
        case 1: s.TrigSuspend = n % 3; break;
        case 2: AllOn(s); break;
        case 3: GroupOff(s, "g"); break;
        case 4: TriggerOnByNumber(s, n); break;
        case 5:
            if (cTriggers* t = s.TriggerList[n - 1]) {
                t->From = pattern;
                w->Changed();
            }
            break;
        case 6:
            if (cTriggers* t = s.TriggerList[n - 1]) {
                t->Status = status;
                w->Changed();
            }
            break;
        case 7:
            s.TriggerList.Delete(n - 1);
            w->Changed();
            break;
        default: s.ExecuteCommand("say typed|#vss v Kim"); break;
        }
    }
}

void RunSeed(uint32_t seed, int lines, bool nested = false)
{
    TWorld fast(false), literal(true);
    TGenerator g(seed);
    g.Nested = nested;
    for (TWorld* w : {&fast, &literal}) {
        auto v = std::make_unique<cVariables>();
        v->Name = "v";
        v->Value = "Bob";
        w->state.VariableList.Add(std::move(v));
    }
    const int triggers = 1 + g.Below(40);
    for (int i = 0; i < triggers; ++i)
        AddRandomTrigger(fast, literal, g, i + 1);

    for (int l = 0; l < lines; ++l) {
        const AnsiString text = g.Line() + g.LineEnd();
        for (size_t i = 0; i < text.size();) {
            // Mostly one byte at a time, as the terminal reports; now and then a longer piece.
            size_t n = 1;
            if (g.Chance(5) && text[i] != '\r' && text[i] != '\n') {
                n = 1 + static_cast<size_t>(g.Below(3));
                while (n > 1 && (i + n > text.size() || text.substr(i, n).find_first_of("\r\n") != AnsiString::npos))
                    --n;
            }
            const AnsiString piece = text.substr(i, n);
            i += n;
            if (g.Chance(2))
                ChangeOutside(fast, literal, g);
            fast.Scan(piece);
            literal.Scan(piece);
            const AnsiString got = Describe(fast), want = Describe(literal);
            if (got != want) {
                ADD_FAILURE() << "seed " << seed << " line " << l << " piece " << i << "\n--- engine\n"
                              << got << "--- literal\n"
                              << want;
                return;
            }
        }
    }
}

TEST(TriggerDifferentialTest, SkippingTriggersGivesTheLiteralResults)
{
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        RunSeed(seed, 40);
        if (HasFailure())
            break;
    }
}

TEST(TriggerDifferentialTest, NestedPassesThatChangeTheList)
{
    for (uint32_t seed = 2000; seed < 2200; ++seed) {
        RunSeed(seed, 40, true);
        if (HasFailure())
            break;
    }
}

TEST(TriggerDifferentialTest, ManyTriggersLongRun)
{
    for (uint32_t seed = 1000; seed < 1010; ++seed) {
        RunSeed(seed, 400);
        if (HasFailure())
            break;
    }
}

}  // namespace
