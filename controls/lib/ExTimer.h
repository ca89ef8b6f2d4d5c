#pragma once
// A timer component that fires OnTimer every Interval milliseconds, either from a window timer
// on the GUI thread or, while Threaded, from a worker thread of its own that keeps time while
// the GUI thread is busy.
//
// With SyncEvent on (the default) the worker hands each tick to the GUI thread and waits for it,
// so OnTimer always runs on the GUI thread. With SyncEvent off OnTimer runs ON THE WORKER
// THREAD: such a handler must not touch controls, forms or anything else of the GUI thread
// (hand such work over with Synchronize). Settings are changed from the GUI thread; a change
// waits until a handler running on the worker has returned, so no tick of the old settings
// starts after a setter returns. Destroying the timer stops and joins the worker first; a tick
// still queued for the GUI thread then does nothing.

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/core/Component.h"
#include "platform/core/ThreadPriority.h"

class ITimerService;

class TExTimer : public TComponent {
public:
    explicit TExTimer(TComponent* AOwner);
    ~TExTimer() override;

    bool Enabled() const;
    void SetEnabled(bool Value);
    uint32_t Interval() const { return FInterval; }
    void SetInterval(uint32_t Value);
    bool SyncEvent() const;
    void SetSyncEvent(bool Value);
    bool Threaded() const { return FThreaded; }
    void SetThreaded(bool Value);
    TThreadPriority ThreadPriority() const { return FThreadPriority; }
    void SetThreadPriority(TThreadPriority Value);
    TNotifyEvent OnTimer() const;
    // Restarts the timer only when the handler comes or goes.
    void SetOnTimer(TNotifyEvent Value);

    // Runs Method on the GUI thread: directly unless called from a running worker, which waits
    // for it. A worker whose timer is being reconfigured or destroyed stops waiting and the
    // method does not run.
    void Synchronize(const std::function<void()>& Method);

protected:
    // Calls OnTimer when enabled, not being destroyed and assigned.
    virtual void Timer();

private:
    struct TWorker;
    void UpdateTimer();
    void PauseWorker();
    void StartWorker(uint32_t firstDelay);
    void StartWindowTimer(uint32_t firstDelay);
    void StopWindowTimer();
    void WindowTick();
    // Milliseconds until the next tick would have come, so a change of mode keeps the beat.
    uint32_t RemainingInPhase() const;

    uint32_t FInterval = 1000;
    bool FThreaded = true;
    TThreadPriority FThreadPriority = tpNormal;
    std::shared_ptr<TWorker> FWorker;
    ITimerService* FService = nullptr;
    int FTimerId = 0;
    bool FFirstShot = false;  // the window timer runs a shortened first interval
    uint32_t FLastTick = 0;   // service ticks at the window timer's last start or tick
};
