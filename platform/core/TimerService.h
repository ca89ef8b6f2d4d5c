#pragma once
// Periodic timers and the millisecond tick count behind every timer of the program. The GUI
// installs a service driven by its event loop; tests install a manual clock that they advance
// themselves, so nothing sleeps. All calls come from the one GUI thread.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

class ITimerService {
public:
    using TTimerCallback = std::function<void()>;
    virtual ~ITimerService() = default;
    // Starts a periodic timer; the callback runs every `intervalMs` (at least 1) until stopped.
    // Returns an id above 0, never reused by this service.
    virtual int StartTimer(uint32_t intervalMs, TTimerCallback callback) = 0;
    // Stops a timer; an unknown or already stopped id does nothing. A callback may stop any
    // timer, its own included.
    virtual void StopTimer(int id) = 0;
    virtual bool IsRunning(int id) const = 0;
    // Milliseconds since an arbitrary start, wrapping at 2^32 as the system tick count does.
    virtual uint32_t GetTickCount() const = 0;
    // Seconds of the calendar clock (the standard time function's), for elapsed-time texts.
    virtual int64_t Seconds() const;
};

// The service every timer of the program uses. Until one is installed this is a manual clock
// that nobody advances (so code without an event loop links and runs, and no timer fires).
ITimerService& TimerService();
// Installs `service` (not owned; null restores the idle manual clock). Timers started on the
// previous service stay with it.
void SetTimerService(ITimerService* service);
bool TimerServiceInstalled();
inline uint32_t GetTickCount() { return TimerService().GetTickCount(); }
inline int64_t TimeSeconds() { return TimerService().Seconds(); }

// A clock that moves only when told to. Advance runs every timer that falls due, in the order
// of their due times (earlier started first on a tie), with the clock set to each due time.
class TManualTimerService : public ITimerService {
public:
    explicit TManualTimerService(uint64_t startMs = 0) : now_(startMs) {}
    int StartTimer(uint32_t intervalMs, TTimerCallback callback) override;
    void StopTimer(int id) override;
    bool IsRunning(int id) const override { return timers_.count(id) != 0; }
    uint32_t GetTickCount() const override { return static_cast<uint32_t>(now_); }
    // Whole seconds of the manual clock, so elapsed times follow Advance.
    int64_t Seconds() const override { return static_cast<int64_t>(now_ / 1000); }

    uint64_t Now() const { return now_; }
    // Moves the clock forward by `ms`, firing what falls due on the way. A callback may start,
    // stop or advance again; a timer started by a callback fires in this call when it falls due
    // before its end.
    void Advance(uint64_t ms);
    int Count() const { return static_cast<int>(timers_.size()); }

private:
    struct Timer {
        uint32_t interval;
        uint64_t due;
        uint64_t order;  // start order, for ties
        std::shared_ptr<TTimerCallback> callback;
    };
    std::map<int, Timer> timers_;
    uint64_t now_;
    int nextId_ = 0;
    uint64_t nextOrder_ = 0;
};
