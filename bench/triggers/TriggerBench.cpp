// Trigger throughput: 100,000 lines of Korean MUD text fed one byte at a time, as the terminal
// reports them, to one window's trigger scan with 0, 10, 100 and 1,000 triggers, once as
// complete-line triggers and once allowed to fire on partial lines; then the same lines and
// actions through TinTin++. Prints METRIC lines.
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

TResult Measure(const std::vector<std::string>& lines, const std::vector<TBenchTrigger>& triggers, bool partial)
{
    // The pieces the terminal reports: one byte each, and LF then CR at a line end.
    static const std::array<AnsiString, 256> pieces = [] {
        std::array<AnsiString, 256> p;
        for (int c = 0; c < 256; ++c)
            p[static_cast<size_t>(c)] = AnsiString(1, static_cast<char>(c));
        return p;
    }();

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
    for (const std::string& line : lines) {
        for (const char c : line)
            state.ScanReceivedText(pieces[static_cast<unsigned char>(c)]);
        state.ScanReceivedText(pieces['\n']);
        state.ScanReceivedText(pieces['\r']);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return {static_cast<double>(lines.size()) / seconds, host.Actions};
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
    return 0;
}
