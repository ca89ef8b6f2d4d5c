#pragma once
// Many timed events run from one periodic timer. The list ticks at a period that divides every
// event's interval (never below 100 ms); at each tick every enabled event whose interval (less
// 50 ms of slack) has passed since it last fired or was enabled fires, the longest intervals
// first. A non-cycled event disables itself after RepeatCount firings; a list whose last enabled
// event stops switches itself off, and back on when one of its events is enabled again.
//
// Handlers may do anything to the list while it ticks: delete their own or any other event,
// clear the list, switch it off, or free the component that owns it.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/core/Component.h"
#include "platform/core/Exceptions.h"
#include "platform/core/TimerService.h"

class TExTimerList;

// The list's own event after any event fired: the list and the fired event's handle.
using TAllTimersEvent = std::function<void(TObject* Sender, int32_t Handle)>;

class TExTimerEvent : public TComponent {
public:
    explicit TExTimerEvent(TComponent* AOwner);
    // Leaves its list, which then recomputes its period.
    ~TExTimerEvent() override;

    bool Cycled() const { return cycled_; }
    // Switching cycling off raises RepeatCount to at least 1.
    void SetCycled(bool value);
    bool Enabled() const { return enabled_; }
    // Enabling restarts the interval and the count of firings; either change makes the list
    // recompute its period, and enabling switches on a list that had switched itself off.
    void SetEnabled(bool value);
    // Firings since the event was last enabled.
    int32_t Count() const { return count_; }
    // -1 while the event is in no list.
    int32_t Handle() const { return handle_; }
    int32_t Interval() const { return interval_; }
    void SetInterval(int32_t value);
    int32_t RepeatCount() const { return repeatCount_; }
    // At least 1 for a non-cycled event, 0 for a cycled one; an enabled event that has already
    // fired that often is disabled.
    void SetRepeatCount(int32_t value);
    int32_t AsSeconds() const { return interval_ / 1000; }
    void SetAsSeconds(int32_t value);
    uint32_t StartTick() const { return startTick_; }

    TExTimerList* ParentList() const { return list_; }
    // Moves the event into `value` (null: out of any list).
    void SetParentList(TExTimerList* value);

    TNotifyEvent OnTimer;

private:
    friend class TExTimerList;
    ITimerService& Service() const;

    bool cycled_ = true;
    bool enabled_ = true;
    int32_t count_ = 0;
    int32_t handle_ = -1;
    int32_t interval_ = 1000;
    uint32_t startTick_ = 0;
    int32_t repeatCount_ = 0;
    TExTimerList* list_ = nullptr;
};

// Makes the event class known to the class table (FindClass makes one by name), with its
// published properties; the first list made does it.
void RegisterExTimerEventClass();

class TExTimerList : public TComponent {
public:
    // The first list registers the event class.
    explicit TExTimerList(TComponent* AOwner);
    // Stops the timer and frees the events that are not being freed already.
    ~TExTimerList() override;

    bool Active() const { return active_; }
    void SetActive(bool value);
    void Activate() { SetActive(true); }
    // Does nothing while the list is being loaded.
    void Deactivate();

    // The tick period in ms; 0 when nothing would run.
    int32_t Period() const { return period_; }
    int Count() const { return static_cast<int>(events_.size()); }
    int EnabledCount() const;
    // In order of interval, shortest first. EListError for an index out of range.
    TExTimerEvent* Events(int index) const;

    virtual int32_t NextHandle();
    // Creates an event owned by the list's owner; returns its handle.
    virtual int32_t Add(TNotifyEvent onTimer, int32_t interval, bool cycled);
    // Takes an existing event (out of any other list); returns its new handle, or -1 for none.
    int32_t AddItem(TExTimerEvent* event);
    // Removes and frees the event with that handle; an unknown handle does nothing.
    virtual void Delete(int32_t handle);
    // Removes and frees every event, last first.
    void Clear();
    TExTimerEvent* ItemByHandle(int32_t handle) const;
    int ItemIndexByHandle(int32_t handle) const;

    TNotifyEvent OnFinish;
    TAllTimersEvent OnTimers;

protected:
    void Loaded() override;

private:
    friend class TExTimerEvent;

    ITimerService& Service() const;
    void DoActivate();
    void DoDeactivate(bool selfStopped);
    void CalculateInterval(uint32_t startTicks);
    void UpdateTimer();
    void Sort();
    void Changed();
    void ResumeIfSelfStopped();
    void RemoveItem(TExTimerEvent* event);
    void TimerTick();
    // Fires what is due; true when a non-cycled event ran out. Stops early when the list went
    // away or was switched off by a handler.
    bool ProcessEvents(const std::shared_ptr<bool>& alive);
    void StopWindowTimer();

    std::vector<TExTimerEvent*> events_;
    bool active_ = false;
    // Switched off because no event was left enabled, not by its owner.
    bool selfStopped_ = false;
    bool timerWindow_ = false;
    int timerId_ = 0;
    ITimerService* service_ = nullptr;  // the service the running timer belongs to
    int32_t period_ = 0;
    int32_t sequence_ = 0;
    uint64_t deactivations_ = 0;  // switch-offs so far, so a tick sees one that a handler made
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
