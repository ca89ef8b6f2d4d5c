// Trigger throughput: 100,000 lines of Korean MUD text fed one byte at a time, as the terminal
// reports them, to one window's trigger scan with 0, 10, 100 and 1,000 triggers, once as
// complete-line triggers and once allowed to fire on partial lines; then the same lines and
// actions through TinTin++; last, one hostile line: 800 KB of "%(" reaching a trigger that
// expands the current line. Prints METRIC lines.
//
//   bench_triggers [--lines N] [--no-tintin]

#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/triggers/BenchText.h"
#include "bench/triggers/TintinPeer.h"
#include "script/RecordingHost.h"
#include "script/ScriptState.h"

namespace {

// A host that only counts what the actions do.
class TCountingHost : public TRecordingHost {
public:
    void SendText(const AnsiString& text) override
    {
        if (text != "\r\n")
            ++Actions;
    }
    void PutDirectString(const AnsiString&) override { ++Messages; }
    void RefreshStatusLine() override {}
    long Actions = 0;
    long Messages = 0;
};

struct TResult {
    double LinesPerSecond = 0;
    long Actions = 0;
};

// The pieces the terminal reports: one byte each, and LF then CR at a line end.
const AnsiString& Piece(char c)
{
    static const std::array<AnsiString, 256> pieces = [] {
        std::array<AnsiString, 256> p;
        for (int b = 0; b < 256; ++b)
            p[static_cast<size_t>(b)] = AnsiString(1, static_cast<char>(b));
        return p;
    }();
    return pieces[static_cast<unsigned char>(c)];
}

void Receive(TScriptState& state, const std::string& line)
{
    for (const char c : line)
        state.ScanReceivedText(Piece(c));
    state.ScanReceivedText(Piece('\n'));
    state.ScanReceivedText(Piece('\r'));
}

TResult Measure(const std::vector<std::string>& lines, const std::vector<TBenchTrigger>& triggers, bool partial)
{
    TCountingHost host;
    TScriptState state(host);
    for (const TBenchTrigger& t : triggers) {
        auto record = std::make_unique<cTriggers>();
        record->From = t.Pattern;
        record->To = t.Action;
        record->Status = cTriggers::Enabled | cTriggers::StaysEnabled | (partial ? 0u : cTriggers::CompleteOnly);
        state.TriggerList.Add(std::move(record));
    }
    state.TriggersChanged();

    const auto start = std::chrono::steady_clock::now();
    for (const std::string& line : lines)
        Receive(state, line);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return {static_cast<double>(lines.size()) / seconds, host.Actions};
}

// Milliseconds for one line of 400,000 "%(" through a trigger whose action expands the current
// line; the number of captured bytes comes back in captured.
double MeasureHostileExpansion(size_t& captured)
{
    TRecordingHost host;
    TScriptState state(host);
    auto record = std::make_unique<cTriggers>();
    record->From = "^%(%(";
    record->To = "#cap chat @(__\xC7\xF6\xC0\xE7\xC1\xD9)";  // @(__현재줄)
    record->Status = cTriggers::Enabled | cTriggers::StaysEnabled | cTriggers::CompleteOnly;
    state.TriggerList.Add(std::move(record));
    state.TriggersChanged();
    std::string line;
    for (int i = 0; i < 400000; ++i)
        line += "%(";
    const auto start = std::chrono::steady_clock::now();
    Receive(state, line);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    captured = 0;
    for (const TScriptEvent& e : host.Events)
        if (e.What == TScriptEvent::Capture)
            captured += e.Text.size();
    return ms;
}

void Metric(const std::string& name, double value) { std::printf("METRIC %s %.6g\n", name.c_str(), value); }

}  // namespace

int main(int argc, char** argv)
{
    int lineCount = 100000;
    bool tintin = true;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--lines") && i + 1 < argc)
            lineCount = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--no-tintin"))
            tintin = false;
        else {
            std::fprintf(stderr, "usage: bench_triggers [--lines N] [--no-tintin]\n");
            return 2;
        }
    }

    const std::string folder =
        (std::filesystem::temp_directory_path() / ("hm-bench-triggers-" + std::to_string(getpid()))).string();
    std::filesystem::create_directories(folder);

    const auto none = Measure(MakeBenchLines(lineCount, {}, 1), {}, true);
    Metric("lines_per_sec_no_triggers", none.LinesPerSecond);

    for (const int count : {10, 100, 1000}) {
        const auto triggers = MakeBenchTriggers(count);
        const auto lines = MakeBenchLines(lineCount, triggers, 7);
        const std::string n = std::to_string(count);

        const TResult complete = Measure(lines, triggers, false);
        const TResult partial = Measure(lines, triggers, true);
        Metric("lines_per_sec_complete_" + n, complete.LinesPerSecond);
        Metric("actions_complete_" + n, static_cast<double>(complete.Actions));
        Metric("lines_per_sec_partial_" + n, partial.LinesPerSecond);
        Metric("actions_partial_" + n, static_cast<double>(partial.Actions));

        if (!tintin)
            continue;
        const std::string file = folder + "/lines-" + n + ".txt";
        {
            std::ofstream out(file, std::ios::binary);
            for (const std::string& line : lines)
                out << line << '\n';
        }
        const TTintinRun peer = RunTintin(folder, file, triggers);
        if (!peer.Ok) {
            std::printf("NOTE TinTin++ not measured with %d triggers: %s\n", count, peer.Error.c_str());
            continue;
        }
        const double peerRate = static_cast<double>(lines.size()) / peer.Seconds;
        Metric("tintin_lines_per_sec_" + n, peerRate);
        Metric("tintin_actions_" + n, static_cast<double>(peer.Actions));
        Metric("ratio_complete_vs_tintin_" + n, complete.LinesPerSecond / peerRate);
        std::printf("CHECK actions with %d triggers: ours %ld, TinTin++ %ld: %s\n", count, complete.Actions,
                    peer.Actions, complete.Actions == peer.Actions ? "same" : "DIFFERENT");
    }
    std::filesystem::remove_all(folder);

    size_t captured = 0;
    Metric("hostile_expand_ms", MeasureHostileExpansion(captured));
    std::printf("CHECK hostile line captured whole: %s\n", captured == 800000 ? "yes" : "NO");
    return 0;
}
