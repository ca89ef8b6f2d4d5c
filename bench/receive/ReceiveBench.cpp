// Received text through a whole character window: 100,000 lines of Korean MUD text arrive in
// reads of 4 KiB on an offscreen window connected through a scripted host, with 0, 100 and 1,000
// triggers. The peer in the same run is the plainest path the window stands for: a terminal fed
// one byte per DecodeText (CR dropped, CR after LF), its pieces scanned by a script state of its
// own. Both must end with the same scroll-back and the same trigger actions sent.
//
//   bench_receive [--lines N]
//
// Prints METRIC receive_lines_per_s_tN (the shown window, its clock keeping real time),
// receive_hidden_lines_per_s_tN (a window never shown), receive_reference_lines_per_s_tN (the
// peer) and receive_ratio_tN (shown window against the peer), and CHECK lines; exits 1 when the
// results differ. Then typing while the lines arrive (ReceiveTyping.h):
// receive_typing_latency_ms_p50 and _p99, against receive_typing_latency_idle_ms_p50 and _p99
// of the same presses while nothing arrives.

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/forms/AnsiTerminal.h"
#include "bench/receive/ReceiveTyping.h"
#include "bench/triggers/BenchText.h"
#include "platform/core/ProgramFolder.h"
#include "platform/core/TimerService.h"
#include "platform/gui/Application.h"
#include "platform/gui/NetSocket.h"
#include "terminal/control/Terminal.h"

namespace {

constexpr size_t kReadSize = 4096;

void Pump()
{
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    for (int round = 0; round < 1000; ++round) {
        QCoreApplication::sendPostedEvents();
        if (!dispatcher->processEvents(QEventLoop::AllEvents))
            break;
    }
}

// The host: it accepts every attempt and keeps what the window writes.
class TBenchPeer : public INetPeer {
public:
    void Connecting(TNetSocket& socket, const AnsiString&, int) override
    {
        Socket = &socket;
        socket.PeerAccept();
    }
    void Sent(TNetSocket&, std::string_view bytes) override { Written.append(bytes); }
    void Closed(TNetSocket&) override { Socket = nullptr; }
    TNetSocket* Socket = nullptr;
    std::string Written;
};

// The peer path's script host: sends are kept the way the window writes them.
class TReferenceHost : public IScriptHost {
public:
    void SendText(const AnsiString& text) override { Written += text; }
    void PutDirectString(const AnsiString&) override {}
    void PutCaptureText(const AnsiString&, const AnsiString&) override {}
    void RefreshStatusLine() override {}
    void ShowMessageBox(const AnsiString&, const AnsiString&) override {}
    void PlaySound(const AnsiString&) override {}
    void Beep(int, int) override {}
    void ClickButton(cButton&) override {}
    void SaveCharBook() override {}
    bool GetWalkAutoRewind() override { return false; }
    AnsiString ProgramFolder() override { return "."; }
    TExTimerList* UserTimerList() override { return nullptr; }
    TExTimerEvent* WalkTimer() override { return nullptr; }
    std::string Written;
};

void AddTriggers(TScriptState& state, const std::vector<TBenchTrigger>& triggers)
{
    for (const TBenchTrigger& t : triggers) {
        auto record = std::make_unique<cTriggers>();
        record->From = t.Pattern;
        record->To = t.Action;
        state.TriggerList.Add(std::move(record));
    }
    state.TriggersChanged();
}

// The scroll-back from its first line through the cursor's.
std::vector<AnsiString> Lines(const TCustomTerminal& terminal)
{
    std::vector<AnsiString> lines;
    const TTerminalCore& core = terminal.Core();
    for (int y = 0; y <= core.CurY(); ++y)
        lines.push_back(core.Data().Strings(y));
    return lines;
}

struct TRun {
    double LinesPerSecond = 0;
    std::vector<AnsiString> Lines;
    std::string Written;
};

TRun ThroughWindow(const std::string& stream, size_t lineCount, const std::vector<TBenchTrigger>& triggers,
                   TManualTimerService& clock, bool shown)
{
    TBenchPeer peer;
    SetNetPeer(&peer);
    TAnsiTerminalForm* window = NewBenchWindow();
    AddTriggers(window->Script(), triggers);
    // A hidden window connects at once and never paints: the figure without the screen.
    if (shown)
        window->Show();
    else
        window->ConnectHost();
    clock.Advance(2000);
    Pump();
    TRun run;
    if (!peer.Socket || !window->Connected()) {
        std::fprintf(stderr, "bench_receive: the window did not connect\n");
        std::exit(1);
    }
    peer.Written.clear();
    const auto start = std::chrono::steady_clock::now();
    // The window's clock keeps real time, so it presents at the pace of display frames.
    auto shownMs = [&start] {
        return static_cast<uint64_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
    };
    uint64_t clockMs = 0;
    for (size_t at = 0; at < stream.size(); at += kReadSize) {
        peer.Socket->PeerReceive(std::string_view(stream).substr(at, kReadSize));
        Pump();
        if (const uint64_t now = shownMs(); now > clockMs) {
            clock.Advance(now - clockMs);
            clockMs = now;
            Pump();
        }
    }
    run.LinesPerSecond = static_cast<double>(lineCount) /
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.Lines = Lines(*window->Terminal());
    run.Written = peer.Written;
    delete window;
    SetNetPeer(nullptr);
    return run;
}

TRun ByteByByte(const std::string& stream, size_t lineCount, const std::vector<TBenchTrigger>& triggers)
{
    TForm form(nullptr);
    auto* terminal = new TTerminal(&form);
    terminal->SetParent(&form);
    terminal->SetHanMode(true);
    TReferenceHost host;
    TScriptState state(host);
    state.CmdConfig.TrigMode = 1;
    AddTriggers(state, triggers);
    terminal->OnAfterPut = [&state](TObject*, const AnsiString& piece) { state.ScanReceivedText(piece); };
    TRun run;
    const AnsiString cr(1, '\r');
    AnsiString byte(1, ' ');
    const auto start = std::chrono::steady_clock::now();
    for (const char c : stream) {
        if (c == '\r')
            continue;
        byte[0] = c;
        terminal->DecodeText(byte);
        if (c == '\n')
            terminal->DecodeText(cr);
    }
    run.LinesPerSecond = static_cast<double>(lineCount) /
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.Lines = Lines(*terminal);
    run.Written = host.Written;
    return run;
}

void Metric(const std::string& name, double value) { std::printf("METRIC %s %.6g\n", name.c_str(), value); }

}  // namespace

int main(int argc, char** argv)
{
    int lineCount = 100000;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--lines") && i + 1 < argc && std::atoi(argv[i + 1]) > 0) {
            lineCount = std::atoi(argv[++i]);
        } else {
            std::fprintf(stderr, "usage: bench_receive [--lines N]\n");
            return 2;
        }
    }
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("hm-bench-receive-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::error_code error;
    std::filesystem::create_directory_symlink(std::filesystem::path(ExecutableFolder()) / "Fonts", folder / "Fonts",
                                              error);
    SetProgramFolder(folder.string());
    TManualTimerService clock(0);
    SetTimerService(&clock);
    int qtArgc = 1;
    char name[] = "bench_receive";
    char* qtArgv[] = {name, nullptr};
    int status = 0;
    {
        TApplication app(qtArgc, qtArgv);
        for (const int count : {0, 100, 1000}) {
            const auto triggers = MakeBenchTriggers(count);
            std::string stream;
            for (const std::string& line : MakeBenchLines(lineCount, triggers, 7))
                stream += line + "\r\n";
            const TRun window = ThroughWindow(stream, static_cast<size_t>(lineCount), triggers, clock, true);
            const TRun hidden = ThroughWindow(stream, static_cast<size_t>(lineCount), triggers, clock, false);
            const TRun reference = ByteByByte(stream, static_cast<size_t>(lineCount), triggers);
            const std::string n = std::to_string(count);
            Metric("receive_lines_per_s_t" + n, window.LinesPerSecond);
            Metric("receive_hidden_lines_per_s_t" + n, hidden.LinesPerSecond);
            Metric("receive_reference_lines_per_s_t" + n, reference.LinesPerSecond);
            Metric("receive_ratio_t" + n, window.LinesPerSecond / reference.LinesPerSecond);
            const bool same = window.Lines == reference.Lines && window.Written == reference.Written &&
                hidden.Lines == reference.Lines && hidden.Written == reference.Written;
            std::printf("CHECK %d triggers: %zu bytes sent by actions, screen and sends %s\n", count,
                        window.Written.size(), same ? "the same" : "DIFFERENT");
            if (!same)
                status = 1;
        }
        std::string stream;
        for (const std::string& line : MakeBenchLines(lineCount, {}, 7))
            stream += line + "\r\n";
        const TTypingLatency flooded = TypingLatency(stream, 0);
        const TTypingLatency idle = TypingLatency(std::string(), 1000);
        Metric("receive_typing_latency_ms_p50", flooded.P50);
        Metric("receive_typing_latency_ms_p99", flooded.P99);
        Metric("receive_typing_latency_idle_ms_p50", idle.P50);
        Metric("receive_typing_latency_idle_ms_p99", idle.P99);
        std::printf("CHECK typing: %zu presses while the lines arrived, %zu while idle\n", flooded.Presses,
                    idle.Presses);
    }
    SetTimerService(nullptr);
    std::filesystem::remove_all(folder, error);
    return status;
}
