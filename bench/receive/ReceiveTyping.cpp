#include "bench/receive/ReceiveTyping.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "app/forms/AnsiTerminal.h"
#include "platform/core/ShortCuts.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/NetSocket.h"
#include "terminal/control/Terminal.h"

namespace {

using TClock = std::chrono::steady_clock;

constexpr auto kPressEvery = std::chrono::milliseconds(50);
// What the macro sends, and the line that ends the host's text with the trigger that tells so.
constexpr const char* kMacroText = "kk";
constexpr const char* kEndLine = "BENCH-END";
constexpr const char* kEndAction = "bench-done";

// The host: accepts, and notes when each of the macro's writes arrives and when the end is seen.
class TTypingPeer : public INetPeer {
public:
    void Connecting(TNetSocket& socket, const AnsiString&, int) override
    {
        Socket = &socket;
        socket.PeerAccept();
    }
    void Sent(TNetSocket&, std::string_view bytes) override
    {
        if (bytes == kMacroText)
            Writes.push_back(TClock::now());
        else if (bytes == kEndAction)
            Ended = true;
    }
    void Closed(TNetSocket&) override { Socket = nullptr; }

    TNetSocket* Socket = nullptr;
    std::vector<TClock::time_point> Writes;
    bool Ended = false;
};

void RunEvents()
{
    QCoreApplication::sendPostedEvents();
    QAbstractEventDispatcher::instance()->processEvents(QEventLoop::AllEvents);
}

double Percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto at = static_cast<size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(at, values.size() - 1)];
}

}  // namespace

TAnsiTerminalForm* NewBenchWindow()
{
    auto entry = std::make_shared<TCharBooks>();
    entry->Host = "bench";
    entry->Port = 4000;
    return new TAnsiTerminalForm(nullptr, entry);
}

TTypingLatency TypingLatency(const std::string& stream, int idleMs)
{
    TTypingPeer peer;
    SetNetPeer(&peer);
    TAnsiTerminalForm* window = NewBenchWindow();
    auto macro = std::make_unique<cKeyMacro>();
    macro->ShortCut = ShortCut(VK_F1, TShiftState());
    macro->ToBuff = kMacroText;
    window->Script().KeyMacroList.Add(std::move(macro));
    auto end = std::make_unique<cTriggers>();
    end->From = kEndLine;
    end->To = kEndAction;
    window->Script().TriggerList.Add(std::move(end));
    window->Script().TriggersChanged();
    window->Show();
    window->ConnectHost();
    for (int i = 0; i < 100 && !window->Connected(); ++i)
        RunEvents();
    if (!peer.Socket || !window->Connected()) {
        std::fprintf(stderr, "bench_receive: the window did not connect\n");
        std::exit(1);
    }

    // The player: an F1 press and release every 50 ms, queued as the window system queues keys. It
    // waits on a condition so that stopping it wakes it at once: the window's thread must never be
    // held up (joining a sleeping player) while a press it queued is waiting.
    QWidget* target = window->Terminal()->Handle();
    std::mutex lock;
    std::condition_variable wake;
    bool stop = false;
    std::atomic<bool> finished{false};
    std::vector<TClock::time_point> presses;
    std::thread player([&] {
        std::unique_lock<std::mutex> guard(lock);
        for (auto next = TClock::now(); !wake.wait_until(guard, next, [&stop] { return stop; }); next += kPressEvery) {
            presses.push_back(TClock::now());
            QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier));
            QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, Qt::Key_F1, Qt::NoModifier));
        }
        finished = true;
    });
    if (!stream.empty()) {
        peer.Socket->PeerReceive(stream + kEndLine + "\r\n");
        while (!peer.Ended)
            RunEvents();
    } else {
        // The program's own loop, which sleeps until an event comes, rather than polling on a
        // period that would add to every press.
        QEventLoop loop;
        QTimer::singleShot(idleMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    {
        std::lock_guard<std::mutex> guard(lock);
        stop = true;
    }
    wake.notify_all();
    while (!finished)
        RunEvents();
    player.join();
    // The presses queued last are handled too.
    for (int i = 0; i < 100 && peer.Writes.size() < presses.size(); ++i)
        RunEvents();

    std::vector<double> latencies;
    for (size_t i = 0; i < presses.size() && i < peer.Writes.size(); ++i)
        latencies.push_back(std::chrono::duration<double, std::milli>(peer.Writes[i] - presses[i]).count());
    if (peer.Writes.size() != presses.size())
        std::fprintf(stderr, "bench_receive: %zu presses, %zu writes\n", presses.size(), peer.Writes.size());
    delete window;
    SetNetPeer(nullptr);
    return {Percentile(latencies, 0.5), Percentile(latencies, 0.99), latencies.size()};
}
