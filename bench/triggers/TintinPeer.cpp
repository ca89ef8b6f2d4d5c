#include "bench/triggers/TintinPeer.h"

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace {

const char* const Tintin = "/usr/games/tt++";
constexpr int TimeoutSeconds = 900;

std::string ShellQuote(const std::string& s)
{
    std::string q = "'";
    for (const char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

}  // namespace

TTintinRun RunTintin(const std::string& folder, const std::string& file, const std::vector<TBenchTrigger>& triggers)
{
    TTintinRun run;
    if (access(Tintin, X_OK) != 0) {
        run.Error = "TinTin++ is not installed (" + std::string(Tintin) + ")";
        return run;
    }
    if (std::system("command -v tmux >/dev/null 2>&1") != 0) {
        run.Error = "tmux is not installed";
        return run;
    }
    const std::string script = folder + "/bench.tin";
    const std::string result = folder + "/result.txt";
    std::remove(result.c_str());
    {
        std::ofstream tin(script, std::ios::binary);
        tin << "#config {charset} {ASCII}\n#config {verbose} {off}\n#var cnt 0\n";
        for (const TBenchTrigger& t : triggers)
            tin << "#action {" << t.TintinPattern << "} {#math cnt {$cnt + 1}}\n";
        tin << "#format start {%U}\n"
            << "#scan {txt} {" << file << "}\n"
            << "#format end {%U}\n"
            << "#system {echo $cnt $start $end > " << result << "}\n"
            << "#end\n";
    }
    // The tmux server's socket in the run's folder, not in tmux's own folder under /tmp.
    const std::string socket = ShellQuote(folder + "/tmux.sock");
    const std::string start = "LANG=C LC_ALL=C tmux -S " + socket + " new-session -d -s bench -x 160 -y 48 " +
        ShellQuote(std::string(Tintin) + " -G " + script) + " >/dev/null 2>&1";
    if (std::system(start.c_str()) != 0) {
        run.Error = "tmux could not start TinTin++";
        return run;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(TimeoutSeconds);
    long count = -1;
    long long first = 0, last = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        std::ifstream in(result);
        if (in >> count >> first >> last)
            break;
        count = -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    std::system(("tmux -S " + socket + " kill-server >/dev/null 2>&1").c_str());
    if (count < 0) {
        run.Error = "TinTin++ gave no result within " + std::to_string(TimeoutSeconds) + " s";
        return run;
    }
    run.Ok = true;
    run.Actions = count;
    run.Seconds = static_cast<double>(last - first) / 1e6;
    return run;
}
