// The cost per byte of the partial-line trigger passes as a host line grows: one line of "a"s,
// fed one byte at a time as the terminal reports it, against a trigger that fires on partial
// lines and wakes at every byte. Each pattern is measured on lines of 1 KB, 16 KB, 256 KB and
// 1 MB in the same run; flat figures mean the work per byte does not grow with the line.
//
// Patterns that name a variable are expanded at every try. "@(v)zz" names a 3-byte variable and
// is the peer of those that name long texts: the line being received, the last line after a
// 1 MB one, a 1 MB variable. Expanded, those are longer than any pattern may be, so they never
// match; their cost per byte over the peer's must stay flat, bounded by the pattern limit.
// Prints METRIC lines:
//   partial_ns_per_byte_PATTERN_SIZE     nanoseconds per received byte
//   partial_growth_PATTERN               the 1 MB figure over the 1 KB one
//   partial_steps_per_byte_PATTERN_SIZE  bytes the pattern searches looked at, per byte
//   partial_over_peer_PATTERN_SIZE       the time per byte over the peer's on the same line

#include <array>
#include <chrono>
#include <cstdio>
#include <string>

#include "script/RecordingHost.h"
#include "script/ScriptState.h"
#include "script/TriggerRecords.h"
#include "script/TriggerScan.h"

namespace {

enum class TSetup { None, LongLastLine, LongVariable };

struct TCase {
    const char* Name;
    const char* Pattern;
    TSetup Setup = TSetup::None;
    bool AgainstPeer = false;
};

constexpr size_t LongText = 1000000;

// "a%da" wakes at every "a" and looks for a digit after an "a"; "x%*%*" and "@(v)zz" (with v
// holding "Bob") can match after any byte; the rest name the current line (__현재줄), the last
// line (__마지막줄) and the variable big.
constexpr std::array<TCase, 6> Cases = {{
    {"digits", "a%da"},
    {"anytext", "x%*%*"},
    {"variable", "@(v)zz"},
    {"line", "zz@(__\xC7\xF6\xC0\xE7\xC1\xD9)", TSetup::None, true},
    {"lastline", "@(__\xB8\xB6\xC1\xF6\xB8\xB7\xC1\xD9)zz", TSetup::LongLastLine, true},
    {"longvariable", "@(big)zz", TSetup::LongVariable, true},
}};
constexpr size_t PeerCase = 2;

struct TSize {
    const char* Name;
    size_t Bytes;
};
// The longest stays below the line length at which the scan ends a line by itself.
constexpr std::array<TSize, 4> Sizes = {{{"1k", 1000}, {"16k", 16000}, {"256k", 256000}, {"1m", 1000000}}};

struct TFigure {
    double NsPerByte = 0;
    double StepsPerByte = 0;
};

void AddVariable(TScriptState& state, const char* name, AnsiString value)
{
    auto v = std::make_unique<cVariables>();
    v->Name = name;
    v->Value = std::move(value);
    state.VariableList.Add(std::move(v));
}

TFigure Measure(const TCase& c, size_t bytes)
{
    TRecordingHost host;
    TScriptState state(host);
    AddVariable(state, "v", "Bob");
    if (c.Setup == TSetup::LongVariable)
        AddVariable(state, "big", AnsiString(LongText, 'b'));
    if (c.Setup == TSetup::LongLastLine) {
        const AnsiString b = "b";
        for (size_t i = 0; i < LongText; ++i)
            state.ScanReceivedText(b);
        state.ScanReceivedText("\n");
    }
    SetTrigger(state.TriggerList, "", "", c.Pattern, "say matched", cTriggers::Enabled | cTriggers::StaysEnabled);
    state.TriggersChanged();

    const uint64_t stepsBefore = state.TriggerScan().PatternSteps();
    const AnsiString a = "a";
    const auto start = std::chrono::steady_clock::now();
    for (size_t i = 0; i < bytes; ++i)
        state.ScanReceivedText(a);
    const double ns = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
    const auto steps = static_cast<double>(state.TriggerScan().PatternSteps() - stepsBefore);
    state.ScanReceivedText("\n");
    return {ns / static_cast<double>(bytes), steps / static_cast<double>(bytes)};
}

void Metric(const std::string& name, double value) { std::printf("METRIC %s %.6g\n", name.c_str(), value); }

}  // namespace

int main()
{
    std::array<double, Sizes.size()> peer{};
    for (const TCase& c : Cases) {
        double first = 0, last = 0;
        for (size_t k = 0; k < Sizes.size(); ++k) {
            const TFigure f = Measure(c, Sizes[k].Bytes);
            const std::string suffix = std::string(c.Name) + "_" + Sizes[k].Name;
            Metric("partial_ns_per_byte_" + suffix, f.NsPerByte);
            Metric("partial_steps_per_byte_" + suffix, f.StepsPerByte);
            if (&c == &Cases[PeerCase])
                peer[k] = f.NsPerByte;
            if (c.AgainstPeer)
                Metric("partial_over_peer_" + suffix, f.NsPerByte / peer[k]);
            if (first == 0)
                first = f.NsPerByte;
            last = f.NsPerByte;
        }
        Metric(std::string("partial_growth_") + c.Name, last / first);
    }
    return 0;
}
