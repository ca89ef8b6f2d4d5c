#include "platform/gui/PulseLoop.h"

#include <poll.h>
#include <sys/time.h>

#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// The library's three kinds of event. One that it frees is marked dead and destroyed later, from
// the event loop: it may be freed from inside its own callback.
struct pa_io_event {
    pa_io_event(TPulseLoopState* loop, int fd, pa_io_event_cb_t callback, void* data)
        : Loop(loop), Fd(fd), Callback(callback), Data(data), Read(fd, QSocketNotifier::Read),
          Write(fd, QSocketNotifier::Write)
    {}
    TPulseLoopState* Loop;
    int Fd;
    pa_io_event_cb_t Callback;
    void* Data;
    pa_io_event_destroy_cb_t Destroy = nullptr;
    QSocketNotifier Read, Write;
    bool Dead = false;
};

struct pa_time_event {
    pa_time_event(TPulseLoopState* loop, pa_time_event_cb_t callback, void* data)
        : Loop(loop), Callback(callback), Data(data)
    {}
    TPulseLoopState* Loop;
    pa_time_event_cb_t Callback;
    void* Data;
    pa_time_event_destroy_cb_t Destroy = nullptr;
    QTimer Timer;
    timeval When{};
    bool Dead = false;
};

struct pa_defer_event {
    pa_defer_event(TPulseLoopState* loop, pa_defer_event_cb_t callback, void* data)
        : Loop(loop), Callback(callback), Data(data)
    {}
    TPulseLoopState* Loop;
    pa_defer_event_cb_t Callback;
    void* Data;
    pa_defer_event_destroy_cb_t Destroy = nullptr;
    QTimer Timer;
    bool Dead = false;
};

struct TPulseLoopState {
    pa_mainloop_api Api{};
    std::vector<std::unique_ptr<pa_io_event>> Ios;
    std::vector<std::unique_ptr<pa_time_event>> Times;
    std::vector<std::unique_ptr<pa_defer_event>> Defers;
    QTimer Sweeper;
    std::function<void()> OnTurn;

    TPulseLoopState()
    {
        Sweeper.setSingleShot(true);
        QObject::connect(&Sweeper, &QTimer::timeout, [this] { Sweep(); });
    }

    void Sweep()
    {
        std::erase_if(Ios, [](const auto& e) { return e->Dead; });
        std::erase_if(Times, [](const auto& e) { return e->Dead; });
        std::erase_if(Defers, [](const auto& e) { return e->Dead; });
    }

    static TPulseLoopState* Of(pa_mainloop_api* api) { return static_cast<TPulseLoopState*>(api->userdata); }

    // One event's callback, unless the library has freed it, then whoever waits on the library's
    // turns is told.
    template <class TEvent, class... TArgs>
    static void Run(TEvent* e, TArgs... args)
    {
        if (e->Dead)
            return;
        TPulseLoopState* loop = e->Loop;
        e->Callback(&loop->Api, e, args..., e->Data);
        if (loop->OnTurn)
            loop->OnTurn();
    }
};

namespace {

// The end of every kind of event: marked dead, swept from the loop later, its owner told now.
template <class TEvent>
void Retire(TEvent* e)
{
    e->Dead = true;
    e->Loop->Sweeper.start(0);
    if (e->Destroy)
        e->Destroy(&e->Loop->Api, e, e->Data);
}

void EnableIo(pa_io_event* e, pa_io_event_flags_t events)
{
    if (e->Dead)
        return;
    e->Read.setEnabled(events & (PA_IO_EVENT_INPUT | PA_IO_EVENT_HANGUP | PA_IO_EVENT_ERROR));
    e->Write.setEnabled(events & PA_IO_EVENT_OUTPUT);
}

pa_io_event* NewIo(pa_mainloop_api* api, int fd, pa_io_event_flags_t events, pa_io_event_cb_t callback, void* data)
{
    TPulseLoopState* loop = TPulseLoopState::Of(api);
    auto* e = loop->Ios.emplace_back(new pa_io_event(loop, fd, callback, data)).get();
    QObject::connect(&e->Read, &QSocketNotifier::activated, [e] { TPulseLoopState::Run(e, e->Fd, PA_IO_EVENT_INPUT); });
    QObject::connect(&e->Write, &QSocketNotifier::activated,
                     [e] { TPulseLoopState::Run(e, e->Fd, PA_IO_EVENT_OUTPUT); });
    EnableIo(e, events);
    return e;
}

void FreeIo(pa_io_event* e)
{
    e->Read.setEnabled(false);
    e->Write.setEnabled(false);
    Retire(e);
}

void SetIoDestroy(pa_io_event* e, pa_io_event_destroy_cb_t destroy) { e->Destroy = destroy; }

// The library's times are wall-clock times for a loop that is not its own.
void RestartTime(pa_time_event* e, const timeval* when)
{
    if (e->Dead)
        return;
    if (!when) {
        e->Timer.stop();
        return;
    }
    e->When = *when;
    timeval now{};
    gettimeofday(&now, nullptr);
    const int64_t us = (static_cast<int64_t>(when->tv_sec) - now.tv_sec) * 1000000 + (when->tv_usec - now.tv_usec);
    e->Timer.start(static_cast<int>(std::clamp<int64_t>((us + 999) / 1000, 0, INT32_MAX)));
}

pa_time_event* NewTime(pa_mainloop_api* api, const timeval* when, pa_time_event_cb_t callback, void* data)
{
    TPulseLoopState* loop = TPulseLoopState::Of(api);
    auto* e = loop->Times.emplace_back(new pa_time_event(loop, callback, data)).get();
    e->Timer.setSingleShot(true);
    QObject::connect(&e->Timer, &QTimer::timeout, [e] { TPulseLoopState::Run(e, &e->When); });
    RestartTime(e, when);
    return e;
}

void FreeTime(pa_time_event* e)
{
    e->Timer.stop();
    Retire(e);
}

void SetTimeDestroy(pa_time_event* e, pa_time_event_destroy_cb_t destroy) { e->Destroy = destroy; }

// An enabled deferred event runs at every turn of the loop until it is disabled.
void EnableDefer(pa_defer_event* e, int enable)
{
    if (enable && !e->Dead)
        e->Timer.start(0);
    else
        e->Timer.stop();
}

pa_defer_event* NewDefer(pa_mainloop_api* api, pa_defer_event_cb_t callback, void* data)
{
    TPulseLoopState* loop = TPulseLoopState::Of(api);
    auto* e = loop->Defers.emplace_back(new pa_defer_event(loop, callback, data)).get();
    QObject::connect(&e->Timer, &QTimer::timeout, [e] { TPulseLoopState::Run(e); });
    EnableDefer(e, 1);
    return e;
}

void FreeDefer(pa_defer_event* e)
{
    e->Timer.stop();
    Retire(e);
}

void SetDeferDestroy(pa_defer_event* e, pa_defer_event_destroy_cb_t destroy) { e->Destroy = destroy; }

// The program's loop is not the library's to end.
void Quit(pa_mainloop_api*, int) {}

}  // namespace

TPulseLoop::TPulseLoop() : F(std::make_unique<TPulseLoopState>())
{
    F->Api =
        pa_mainloop_api{F.get(),  NewIo,          EnableIo, FreeIo,      SetIoDestroy, NewTime,         RestartTime,
                        FreeTime, SetTimeDestroy, NewDefer, EnableDefer, FreeDefer,    SetDeferDestroy, Quit};
}

TPulseLoop::~TPulseLoop() = default;

pa_mainloop_api* TPulseLoop::Api() { return &F->Api; }

void TPulseLoop::SetOnTurn(std::function<void()> onTurn) { F->OnTurn = std::move(onTurn); }

bool TPulseLoop::Sending() const
{
    return std::any_of(F->Defers.begin(), F->Defers.end(),
                       [](const auto& e) { return !e->Dead && e->Timer.isActive(); }) ||
        std::any_of(F->Ios.begin(), F->Ios.end(), [](const auto& e) { return !e->Dead && e->Write.isEnabled(); });
}

void TPulseLoop::RunWaiting()
{
    // The library reads a piece a turn (a packet's header, then its body) and a request it makes
    // in one turn leaves at the next: a few turns a packet, bounded so that a server that sends
    // without end cannot hold the thread.
    constexpr int kTurns = 256;
    for (int turn = 0; turn < kTurns; ++turn) {
        // A handler may free other events or make new ones: the events due are taken first, and
        // those freed meanwhile are marked dead, not destroyed, until the loop turns.
        std::vector<pa_defer_event*> defers;
        for (const auto& e : F->Defers)
            if (!e->Dead && e->Timer.isActive())
                defers.push_back(e.get());
        std::vector<pa_io_event*> ios;
        std::vector<pollfd> fds;
        for (const auto& e : F->Ios) {
            const short events =
                static_cast<short>((e->Read.isEnabled() ? POLLIN : 0) | (e->Write.isEnabled() ? POLLOUT : 0));
            if (!e->Dead && events != 0) {
                ios.push_back(e.get());
                fds.push_back({e->Fd, events, 0});
            }
        }
        if (!fds.empty() && ::poll(fds.data(), fds.size(), 0) < 0)
            fds.clear();
        bool ran = false;
        for (pa_defer_event* e : defers)
            if (!e->Dead && e->Timer.isActive()) {
                TPulseLoopState::Run(e);
                ran = true;
            }
        for (size_t i = 0; i < fds.size(); ++i) {
            pa_io_event* e = ios[i];
            if ((fds[i].revents & (POLLIN | POLLHUP | POLLERR)) && e->Read.isEnabled()) {
                TPulseLoopState::Run(e, e->Fd, PA_IO_EVENT_INPUT);
                ran = true;
            }
            if ((fds[i].revents & POLLOUT) && e->Write.isEnabled()) {
                TPulseLoopState::Run(e, e->Fd, PA_IO_EVENT_OUTPUT);
                ran = true;
            }
        }
        if (!ran)
            return;
    }
}
