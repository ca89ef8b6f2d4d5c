#include "controls/lib/ExTimer.h"

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

#include "platform/core/TimerService.h"
#include "platform/gui/Application.h"
#include "platform/gui/Queue.h"

using Clock = std::chrono::steady_clock;

// What the worker and the GUI thread share. Outlives the timer: the worker and queued ticks hold
// it, and find Stop set once the timer is gone.
struct TExTimer::TWorker {
    std::mutex Lock;
    std::condition_variable Wake;
    TExTimer* Owner;
    // Settings, read by the worker under Lock.
    bool Enabled = true;
    bool SyncEvent = true;
    TNotifyEvent OnTimer;
    uint32_t Interval = 1000;
    TThreadPriority Priority = tpNormal;
    // Control: Running is the resumed state; every reconfiguration bumps Generation, which
    // cancels the sleep or the hand-over in progress.
    bool Running = false;
    bool Stop = false;
    uint64_t Generation = 0;
    bool FiringOnWorker = false;  // a handler runs on the worker now
    Clock::time_point Due;
    Clock::time_point LastTick;
    std::thread Thread;
    std::thread::id ThreadId;

    explicit TWorker(TExTimer* owner) : Owner(owner) {}
    bool OnWorker() const { return std::this_thread::get_id() == ThreadId; }
    void Loop(std::shared_ptr<TWorker> self);
    // Runs call on the GUI thread and waits until it ran, or until the generation changes or the
    // timer stops. Called on the worker with Lock held.
    void HandOver(std::unique_lock<std::mutex>& lock, std::shared_ptr<TWorker> self, std::function<void()> call);
};

namespace {

// An exception of a handler on the worker is reported on the GUI thread.
void ReportOnMainThread(std::exception_ptr error)
{
    PostToMainThread([error] { std::rethrow_exception(error); });
}

}  // namespace

void TExTimer::TWorker::HandOver(std::unique_lock<std::mutex>& lock, std::shared_ptr<TWorker> self,
                                 std::function<void()> call)
{
    const uint64_t generation = Generation;
    auto done = std::make_shared<bool>(false);
    const bool posted = PostToMainThread([self, generation, done, call = std::move(call)] {
        {
            std::lock_guard<std::mutex> guard(self->Lock);
            if (self->Stop || self->Generation != generation) {
                *done = true;
                self->Wake.notify_all();
                return;
            }
        }
        struct TSignal {
            std::shared_ptr<TWorker> worker;
            std::shared_ptr<bool> flag;
            ~TSignal()
            {
                std::lock_guard<std::mutex> guard(worker->Lock);
                *flag = true;
                worker->Wake.notify_all();
            }
        } signal{self, done};
        call();  // may free the timer: nothing of it is touched afterwards
    });
    if (!posted)
        return;
    Wake.wait(lock, [&] { return *done || Stop || Generation != generation; });
}

void TExTimer::TWorker::Loop(std::shared_ptr<TWorker> self)
{
    std::unique_lock<std::mutex> lock(Lock);
    TThreadPriority applied = tpNormal;
    while (!Stop) {
        if (!Running) {
            Wake.wait(lock);
            continue;
        }
        if (Priority != applied) {
            applied = Priority;
            SetCurrentThreadPriority(applied);
        }
        const uint64_t generation = Generation;
        const Clock::time_point due = Due;
        if (Wake.wait_until(lock, due, [&] { return Stop || !Running || Generation != generation; }))
            continue;
        // The sleep ran its full time.
        const Clock::time_point now = Clock::now();
        const auto interval = std::chrono::milliseconds(Interval);
        Due = due + interval > now ? due + interval : now + interval;
        LastTick = now;
        if (!Enabled || !OnTimer)
            continue;
        TExTimer* owner = Owner;
        if (SyncEvent) {
            HandOver(lock, self, [owner] { owner->Timer(); });
            continue;
        }
        FiringOnWorker = true;
        lock.unlock();
        try {
            owner->Timer();  // may free the timer, which then only marks Stop
        } catch (...) {
            ReportOnMainThread(std::current_exception());
        }
        lock.lock();
        FiringOnWorker = false;
        Wake.notify_all();
    }
}

TExTimer::TExTimer(TComponent* AOwner) : TComponent(AOwner), FWorker(std::make_shared<TWorker>(this)) {}

TExTimer::~TExTimer()
{
    Destroying();
    StopWindowTimer();
    std::thread thread;
    {
        std::lock_guard<std::mutex> guard(FWorker->Lock);
        FWorker->Enabled = false;
        FWorker->OnTimer = nullptr;
        FWorker->Stop = true;
        FWorker->Owner = nullptr;
        FWorker->Wake.notify_all();
        thread = std::move(FWorker->Thread);
    }
    if (thread.joinable()) {
        // A handler on the worker may free its own timer: the worker then ends by itself.
        if (FWorker->OnWorker())
            thread.detach();
        else
            thread.join();
    }
}

bool TExTimer::Enabled() const
{
    std::lock_guard<std::mutex> guard(FWorker->Lock);
    return FWorker->Enabled;
}

bool TExTimer::SyncEvent() const
{
    std::lock_guard<std::mutex> guard(FWorker->Lock);
    return FWorker->SyncEvent;
}

TNotifyEvent TExTimer::OnTimer() const
{
    std::lock_guard<std::mutex> guard(FWorker->Lock);
    return FWorker->OnTimer;
}

void TExTimer::SetEnabled(bool Value)
{
    if (Value == Enabled())
        return;
    PauseWorker();
    {
        std::lock_guard<std::mutex> guard(FWorker->Lock);
        FWorker->Enabled = Value;
    }
    UpdateTimer();
}

void TExTimer::SetInterval(uint32_t Value)
{
    if (Value == FInterval)
        return;
    FInterval = Value;
    UpdateTimer();
}

void TExTimer::SetSyncEvent(bool Value)
{
    PauseWorker();
    std::lock_guard<std::mutex> guard(FWorker->Lock);
    FWorker->SyncEvent = Value;
    if (FWorker->Running)
        FWorker->Generation++;
}

void TExTimer::SetThreaded(bool Value)
{
    if (Value == FThreaded)
        return;
    FThreaded = Value;
    UpdateTimer();
}

void TExTimer::SetThreadPriority(TThreadPriority Value)
{
    if (Value == FThreadPriority)
        return;
    FThreadPriority = Value;
    if (FThreaded)
        UpdateTimer();
}

void TExTimer::SetOnTimer(TNotifyEvent Value)
{
    const bool was = static_cast<bool>(OnTimer()), now = static_cast<bool>(Value);
    PauseWorker();
    {
        std::lock_guard<std::mutex> guard(FWorker->Lock);
        FWorker->OnTimer = std::move(Value);
    }
    if (was != now)
        UpdateTimer();
}

void TExTimer::Timer()
{
    TNotifyEvent handler;
    {
        std::lock_guard<std::mutex> guard(FWorker->Lock);
        if (!FWorker->Enabled || InState(csDestroying))
            return;
        handler = FWorker->OnTimer;
    }
    if (handler)
        handler(this);  // may free this timer
}

void TExTimer::Synchronize(const std::function<void()>& Method)
{
    std::unique_lock<std::mutex> lock(FWorker->Lock);
    if (!FWorker->OnWorker() || !FWorker->Running || FWorker->Stop) {
        lock.unlock();
        Method();
        return;
    }
    FWorker->HandOver(lock, FWorker, Method);
}

void TExTimer::PauseWorker()
{
    std::unique_lock<std::mutex> lock(FWorker->Lock);
    if (!FWorker->Running)
        return;
    FWorker->Generation++;
    FWorker->Wake.notify_all();
    // A handler running on the worker finishes first (unless it is the caller).
    if (!FWorker->OnWorker())
        FWorker->Wake.wait(lock, [&] { return !FWorker->FiringOnWorker; });
}

uint32_t TExTimer::RemainingInPhase() const
{
    if (FInterval == 0)
        return 0;
    uint32_t elapsed = 0;
    std::lock_guard<std::mutex> guard(FWorker->Lock);
    if (FWorker->Running) {
        const auto since = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - FWorker->LastTick);
        elapsed = static_cast<uint32_t>(std::min<int64_t>(since.count(), FInterval));
    } else if (FTimerId) {
        elapsed = std::min(FService->GetTickCount() - FLastTick, FInterval);
    } else {
        return FInterval;
    }
    return std::max<uint32_t>(FInterval - elapsed, 1);
}

void TExTimer::UpdateTimer()
{
    const uint32_t firstDelay = RemainingInPhase();
    bool active;
    {
        std::lock_guard<std::mutex> guard(FWorker->Lock);
        active = FInterval != 0 && FWorker->Enabled && FWorker->OnTimer && !InState(csDestroying);
    }
    PauseWorker();
    {
        std::lock_guard<std::mutex> guard(FWorker->Lock);
        FWorker->Running = false;
        FWorker->Interval = FInterval;
    }
    StopWindowTimer();
    if (!active)
        return;
    if (FThreaded)
        StartWorker(firstDelay);
    else
        StartWindowTimer(firstDelay);
}

void TExTimer::StartWorker(uint32_t firstDelay)
{
    std::lock_guard<std::mutex> guard(FWorker->Lock);
    FWorker->Priority = FThreadPriority;
    FWorker->Due = Clock::now() + std::chrono::milliseconds(firstDelay);
    FWorker->LastTick = FWorker->Due - std::chrono::milliseconds(FInterval);
    FWorker->Running = true;
    FWorker->Generation++;
    if (!FWorker->Thread.joinable()) {
        std::shared_ptr<TWorker> worker = FWorker;
        FWorker->Thread = std::thread([worker] { worker->Loop(worker); });
        FWorker->ThreadId = FWorker->Thread.get_id();
    }
    FWorker->Wake.notify_all();
}

void TExTimer::StartWindowTimer(uint32_t firstDelay)
{
    FService = &TimerService();
    FFirstShot = firstDelay != FInterval;
    FLastTick = FService->GetTickCount() - (FInterval - firstDelay);
    FTimerId = FService->StartTimer(firstDelay, [this] { WindowTick(); });
}

void TExTimer::StopWindowTimer()
{
    if (FTimerId)
        FService->StopTimer(FTimerId);
    FTimerId = 0;
}

void TExTimer::WindowTick()
{
    FLastTick = FService->GetTickCount();
    if (FFirstShot) {
        // The shortened first interval is over: the beat goes on at the full interval.
        FFirstShot = false;
        FService->StopTimer(FTimerId);
        FTimerId = FService->StartTimer(FInterval, [this] { WindowTick(); });
    }
    try {
        Timer();
    } catch (...) {
        if (!Application)
            throw;
        Application->HandleException(this);
    }
}
