// The cost per byte of the partial-line trigger passes as a host line grows: one line of "a"s,
// fed one byte at a time as the terminal reports it, against a trigger that fires on partial
// lines and wakes at every byte. Each pattern is measured on lines of 1 KB, 16 KB, 256 KB and
// 1 MB in the same run; flat figures mean the work per byte does not grow with the line.
// Prints METRIC lines:
//   partial_ns_per_byte_PATTERN_SIZE     nanoseconds per received byte
//   partial_growth_PATTERN               the 1 MB figure over the 1 KB one
//   partial_steps_per_byte_PATTERN_SIZE  bytes the pattern searches looked at, per byte

#include <array>
#include <chrono>
#include <cstdio>
#include <string>

#include "script/RecordingHost.h"
#include "script/ScriptState.h"
#include "script/TriggerScan.h"

namespace {

struct TCase {
    const char* Name;
    const char* Pattern;
};

// "a%da" wakes at every "a" and looks for a digit after an "a"; "x%*%*" and "@(v)zz" (with v
// holding "Bob") can match after any byte.
constexpr std::array<TCase, 3> Cases = {{{"digits", "a%da"}, {"anytext", "x%*%*"}, {"variable", "@(v)zz"}}};

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

TFigure Measure(const char* pattern, size_t bytes)
{
    TRecordingHost host;
    TScriptState state(host);
    auto v = std::make_unique<cVariables>();
    v->Name = "v";
    v->Value = "Bob";
    state.VariableList.Add(std::move(v));
    auto t = std::make_unique<cTriggers>();
    t->From = pattern;
    t->To = "say matched";
    t->Status = cTriggers::Enabled | cTriggers::StaysEnabled;
    state.TriggerList.Add(std::move(t));
    state.TriggersChanged();

    const AnsiString a = "a";
    const auto start = std::chrono::steady_clock::now();
    for (size_t i = 0; i < bytes; ++i)
        state.ScanReceivedText(a);
    const double ns = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
    const auto steps = static_cast<double>(state.TriggerScan().PatternSteps());
    state.ScanReceivedText("\n");
    return {ns / static_cast<double>(bytes), steps / static_cast<double>(bytes)};
}

void Metric(const std::string& name, double value) { std::printf("METRIC %s %.6g\n", name.c_str(), value); }

}  // namespace

int main()
{
    for (const TCase& c : Cases) {
        double first = 0, last = 0;
        for (const TSize& size : Sizes) {
            const TFigure f = Measure(c.Pattern, size.Bytes);
            const std::string suffix = std::string(c.Name) + "_" + size.Name;
            Metric("partial_ns_per_byte_" + suffix, f.NsPerByte);
            Metric("partial_steps_per_byte_" + suffix, f.StepsPerByte);
            if (first == 0)
                first = f.NsPerByte;
            last = f.NsPerByte;
        }
        Metric(std::string("partial_growth_") + c.Name, last / first);
    }
    return 0;
}
