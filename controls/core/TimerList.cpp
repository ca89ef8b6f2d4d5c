#include "controls/core/TimerList.h"

#include <algorithm>
#include <cstdint>

#include "platform/core/List.h"

namespace {

constexpr int64_t kMinPeriod = 100;
// An event fires this much early rather than wait a whole further period.
constexpr int64_t kSlack = 50;

}  // namespace

TExTimerList::TExTimerList(TComponent* AOwner) : TComponent(AOwner) { RegisterExTimerEventClass(); }

TExTimerList::~TExTimerList()
{
    Destroying();
    *alive_ = false;
    OnFinish = nullptr;
    OnTimers = nullptr;
    StopWindowTimer();
    timerWindow_ = false;
    active_ = false;
    // Events freed along with a common owner are already on their way out: only unlink those.
    while (!events_.empty()) {
        TExTimerEvent* event = events_.back();
        events_.pop_back();
        event->list_ = nullptr;
        event->handle_ = -1;
        if (!event->InState(csDestroying))
            delete event;
    }
}

ITimerService& TExTimerList::Service() const { return service_ ? *service_ : TimerService(); }

void TExTimerList::SetActive(bool value)
{
    // An owner switching the list off means off: no event may switch it back on.
    if (!value)
        selfStopped_ = false;
    if (InState(csLoading) || InState(csDesigning)) {
        active_ = value;
        return;
    }
    if (value == active_ || InState(csDestroying))
        return;
    if (value)
        DoActivate();
    else
        DoDeactivate(false);
}

void TExTimerList::Deactivate()
{
    if (InState(csLoading))
        return;
    SetActive(false);
}

void TExTimerList::Loaded()
{
    TComponent::Loaded();
    if (active_ && !timerWindow_ && !InState(csDesigning))
        DoActivate();
}

void TExTimerList::DoActivate()
{
    active_ = true;
    selfStopped_ = false;
    timerWindow_ = true;
    service_ = &TimerService();
    const uint32_t now = service_->GetTickCount();
    for (TExTimerEvent* event : events_)
        if (event->enabled_)
            event->startTick_ = now;
    CalculateInterval(now);
    Sort();
    UpdateTimer();
}

void TExTimerList::DoDeactivate(bool selfStopped)
{
    StopWindowTimer();
    timerWindow_ = false;
    service_ = nullptr;
    active_ = false;
    selfStopped_ = selfStopped;
    ++deactivations_;
    if (InState(csDestroying))
        return;
    TNotifyEvent onFinish = OnFinish;  // the handler may free the list
    if (onFinish)
        onFinish(this);
}

void TExTimerList::ResumeIfSelfStopped()
{
    if (selfStopped_ && !active_ && !InState(csDestroying) && EnabledCount() > 0)
        DoActivate();
}

void TExTimerList::StopWindowTimer()
{
    if (timerId_ != 0 && service_)
        service_->StopTimer(timerId_);
    timerId_ = 0;
}

int TExTimerList::EnabledCount() const
{
    return static_cast<int>(
        std::count_if(events_.begin(), events_.end(), [](const TExTimerEvent* e) { return e->enabled_; }));
}

TExTimerEvent* TExTimerList::Events(int index) const
{
    if (index < 0 || index >= Count())
        TList::Error("List index out of bounds (%d)", index);
    return events_[static_cast<size_t>(index)];
}

int32_t TExTimerList::NextHandle() { return ++sequence_; }

int32_t TExTimerList::Add(TNotifyEvent onTimer, int32_t interval, bool cycled)
{
    auto* event = new TExTimerEvent(Owner());
    event->OnTimer = std::move(onTimer);
    event->interval_ = interval;
    event->SetCycled(cycled);
    return AddItem(event);
}

int32_t TExTimerList::AddItem(TExTimerEvent* event)
{
    if (!event || event->InState(csDestroying) || InState(csDestroying))
        return -1;
    if (event->list_ == this)
        return event->handle_;
    if (event->list_)
        event->list_->RemoveItem(event);
    const int32_t handle = NextHandle();
    const bool enabled = event->enabled_;
    event->list_ = this;
    event->handle_ = handle;
    // Its interval counts from now, not from whenever the event was made.
    event->startTick_ = Service().GetTickCount();
    // After the last of equal intervals, as a stable sort would put it.
    auto at = std::upper_bound(events_.begin(), events_.end(), event->interval_,
                               [](int32_t interval, const TExTimerEvent* e) { return interval < e->interval_; });
    events_.insert(at, event);
    if (enabled && selfStopped_)
        ResumeIfSelfStopped();
    else
        Changed();
    return handle;
}

void TExTimerList::Delete(int32_t handle)
{
    const int index = ItemIndexByHandle(handle);
    if (index < 0)
        return;
    TExTimerEvent* event = events_[static_cast<size_t>(index)];
    events_.erase(events_.begin() + index);
    event->list_ = nullptr;
    event->handle_ = -1;
    if (!event->InState(csDestroying))
        delete event;
    if (active_)
        Changed();
}

void TExTimerList::RemoveItem(TExTimerEvent* event)
{
    auto it = std::find(events_.begin(), events_.end(), event);
    if (it == events_.end())
        return;
    events_.erase(it);
    event->list_ = nullptr;
    event->handle_ = -1;
    if (active_)
        Changed();
}

void TExTimerList::Clear()
{
    if (events_.empty())
        return;
    while (!events_.empty()) {
        TExTimerEvent* event = events_.back();
        events_.pop_back();
        event->list_ = nullptr;
        event->handle_ = -1;
        if (!event->InState(csDestroying))
            delete event;
    }
    if (active_)
        Changed();
}

TExTimerEvent* TExTimerList::ItemByHandle(int32_t handle) const
{
    const int index = ItemIndexByHandle(handle);
    return index < 0 ? nullptr : events_[static_cast<size_t>(index)];
}

int TExTimerList::ItemIndexByHandle(int32_t handle) const
{
    if (handle < 0)
        return -1;
    for (size_t i = 0; i < events_.size(); ++i)
        if (events_[i]->handle_ == handle)
            return static_cast<int>(i);
    return -1;
}

void TExTimerList::Sort()
{
    std::stable_sort(events_.begin(), events_.end(),
                     [](const TExTimerEvent* a, const TExTimerEvent* b) { return a->interval_ < b->interval_; });
}

void TExTimerList::Changed()
{
    if (InState(csDestroying))
        return;
    CalculateInterval(Service().GetTickCount());
    UpdateTimer();
}

void TExTimerList::CalculateInterval(uint32_t startTicks)
{
    if (events_.empty()) {
        period_ = 0;
        return;
    }
    int64_t period = INT32_MAX;
    bool any = false;
    for (const TExTimerEvent* event : events_) {
        if (!event->enabled_ || event->interval_ < 1)
            continue;
        any = true;
        const int64_t elapsed = static_cast<uint32_t>(startTicks - event->startTick_);
        period = std::min<int64_t>(period, event->interval_);
        period = std::min<int64_t>(period, event->interval_ - elapsed);
    }
    period = std::max(period, kMinPeriod);
    if (!any) {
        period_ = 0;
        return;
    }
    // Lower the period until it divides every interval. Intervals below 1 divide nothing and
    // are left out (a negative one would raise the period without end).
    while (period > kMinPeriod) {
        const TExTimerEvent* offender = nullptr;
        for (const TExTimerEvent* event : events_) {
            if (event->interval_ >= 1 && event->interval_ % period != 0) {
                offender = event;
                break;
            }
        }
        if (!offender)
            break;
        const int64_t interval = offender->interval_;
        if (interval < period) {
            // The shortest interval (the list is sorted) stays the first one that the period
            // does not divide until the period falls to it: take those steps at once.
            const int64_t floor = std::max(interval, kMinPeriod);
            const int64_t steps = (period - floor + interval - 1) / interval;
            period -= steps * interval;
        } else {
            period -= interval % period;
        }
    }
    period_ = static_cast<int32_t>(std::max(period, kMinPeriod));
}

void TExTimerList::UpdateTimer()
{
    if (!timerWindow_ || InState(csDestroying))
        return;
    StopWindowTimer();
    if (EnabledCount() == 0) {
        DoDeactivate(true);
        return;
    }
    if (period_ <= 0)
        return;
    const int id = service_->StartTimer(static_cast<uint32_t>(period_), [this] { TimerTick(); });
    if (id <= 0) {
        DoDeactivate(false);
        throw EOutOfResources("Not enough timers available");
    }
    timerId_ = id;
}

void TExTimerList::TimerTick()
{
    if (!active_) {
        StopWindowTimer();
        return;
    }
    std::shared_ptr<bool> alive = alive_;
    const bool ranOut = ProcessEvents(alive);
    if (!*alive || !active_ || !ranOut)
        return;
    if (EnabledCount() > 0)
        Changed();
    else
        DoDeactivate(true);
}

bool TExTimerList::ProcessEvents(const std::shared_ptr<bool>& alive)
{
    // Handlers may add, delete or reorder events: walk a copy of the handles (never reused) and
    // find each event again before touching it.
    std::vector<int32_t> handles;
    handles.reserve(events_.size());
    for (const TExTimerEvent* event : events_)
        handles.push_back(event->handle_);
    const uint64_t deactivations = deactivations_;
    bool ranOut = false;
    for (auto it = handles.rbegin(); it != handles.rend(); ++it) {
        TExTimerEvent* event = ItemByHandle(*it);
        if (!event || !event->enabled_)
            continue;
        const uint32_t now = Service().GetTickCount();
        const int64_t elapsed = static_cast<uint32_t>(now - event->startTick_);
        if (elapsed < static_cast<int64_t>(event->interval_) - kSlack)
            continue;
        event->startTick_ = now;
        if (event->count_ < INT32_MAX)
            ++event->count_;
        if (!event->cycled_ && event->count_ >= event->repeatCount_) {
            event->enabled_ = false;
            ranOut = true;
        }
        const int32_t handle = event->handle_;
        // Copies: a handler may free its own event or the list.
        TNotifyEvent onTimer = event->OnTimer;
        if (onTimer)
            onTimer(event);
        if (!*alive)
            return ranOut;
        TAllTimersEvent onTimers = OnTimers;
        if (onTimers)
            onTimers(this, handle);
        if (!*alive)
            return ranOut;
        // Switched off meanwhile: nothing more fires in this tick.
        if (deactivations_ != deactivations || !active_)
            break;
    }
    return ranOut;
}
