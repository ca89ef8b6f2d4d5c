#include "platform/core/TimerService.h"

#include <algorithm>
#include <ctime>

namespace {

TManualTimerService& IdleService()
{
    static TManualTimerService idle;
    return idle;
}

ITimerService* gService = nullptr;

}  // namespace

int64_t ITimerService::Seconds() const { return static_cast<int64_t>(std::time(nullptr)); }

ITimerService& TimerService() { return gService ? *gService : IdleService(); }

void SetTimerService(ITimerService* service) { gService = service; }

bool TimerServiceInstalled() { return gService != nullptr; }

int TManualTimerService::StartTimer(uint32_t intervalMs, TTimerCallback callback)
{
    uint32_t interval = std::max<uint32_t>(intervalMs, 1);
    int id = ++nextId_;
    timers_[id] = Timer{interval, now_ + interval, nextOrder_++, std::make_shared<TTimerCallback>(std::move(callback))};
    return id;
}

void TManualTimerService::StopTimer(int id) { timers_.erase(id); }

void TManualTimerService::Advance(uint64_t ms)
{
    const uint64_t target = now_ + ms;
    for (;;) {
        auto next = timers_.end();
        for (auto it = timers_.begin(); it != timers_.end(); ++it) {
            if (it->second.due > target)
                continue;
            if (next == timers_.end() || it->second.due < next->second.due ||
                (it->second.due == next->second.due && it->second.order < next->second.order))
                next = it;
        }
        if (next == timers_.end())
            break;
        Timer& t = next->second;
        now_ = std::max(now_, t.due);
        t.due += t.interval;
        // The callback may stop its own timer: hold it alive while it runs.
        std::shared_ptr<TTimerCallback> callback = t.callback;
        if (*callback)
            (*callback)();
    }
    now_ = std::max(now_, target);
}
