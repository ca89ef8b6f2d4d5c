// User timers: each record's event ticks once a second; the record counts the seconds down and
// runs its command when they run out, a given number of times or for ever.

#include "script/UserTimer.h"

#include <memory>
#include <vector>

#include "controls/core/TimerList.h"
#include "script/ScriptState.h"
#include "script/TimerRecords.h"

namespace {

// Countdowns and repeat counts run on below zero (a period of 0, a repeat count of 0): wrap as
// 32-bit values do rather than overflow.
int32_t Decrement(int32_t value) { return static_cast<int32_t>(static_cast<uint32_t>(value) - 1u); }

}  // namespace

cTimer* FindUserTimerByHandle(const TTimerRecList& list, int handle)
{
    if (handle <= 0)
        return nullptr;
    for (const auto& t : list)
        if (t->Handle == handle)
            return t.get();
    return nullptr;
}

TExTimerEvent* TScriptState::UserTimerEvent(cTimer& timer)
{
    // The handle is the link: the event may have gone with its list while the record stayed.
    TExTimerList* list = Host.UserTimerList();
    timer.Event = list && timer.Handle > 0 ? list->ItemByHandle(timer.Handle) : nullptr;
    return timer.Event;
}

cTimer* TScriptState::AddUserTimer(std::unique_ptr<cTimer> record)
{
    cTimer* timer = TimerRecList.Add(std::move(record));
    timer->Handle = 0;
    timer->Event = nullptr;
    if (TExTimerList* list = Host.UserTimerList()) {
        auto* event = new TExTimerEvent(list->Owner());
        event->SetEnabled(false);
        event->SetInterval(1000);
        event->SetAsSeconds(1);
        event->OnTimer = [this, token = std::weak_ptr<int>(UserTimerToken)](TObject* sender) {
            if (!token.expired())
                UserEventTimer(dynamic_cast<TExTimerEvent*>(sender));
        };
        const int32_t handle = list->AddItem(event);
        if (handle < 0) {
            delete event;
        } else {
            timer->Handle = handle;
            timer->Event = event;
            list->SetActive(true);
        }
    }
    ApplyUserTimer(*timer);
    return timer;
}

void TScriptState::DeleteUserTimer(cTimer* timer)
{
    if (TimerRecList.IndexOf(timer) < 0)
        return;
    const int handle = timer->Handle;
    // The record goes first: whatever the list does on losing its event (switching itself off
    // and telling its owner) then finds the timers consistent.
    TimerRecList.Remove(timer);
    if (TExTimerList* list = Host.UserTimerList(); list && handle > 0)
        list->Delete(handle);
}

void TScriptState::ClearUserTimers()
{
    std::vector<int> handles;
    for (const auto& t : TimerRecList)
        handles.push_back(t->Handle);
    TimerRecList.Clear();
    if (TExTimerList* list = Host.UserTimerList())
        for (const int handle : handles)
            if (handle > 0)
                list->Delete(handle);
}

void TScriptState::ApplyUserTimer(cTimer& timer)
{
    if (TExTimerEvent* event = UserTimerEvent(timer)) {
        event->SetInterval(1000);
        event->SetRepeatCount(timer.Repeat);
    }
    timer.RepeatsLeft = timer.Repeat;
    timer.Countdown = timer.Ticker;
    ApplyUserTimerStatus(timer);
}

void TScriptState::ApplyUserTimerStatus(cTimer& timer)
{
    TExTimerEvent* event = UserTimerEvent(timer);
    switch (timer.Status) {
    case utsOff:
    case utsStop:
        if (event)
            event->SetEnabled(false);
        break;
    case utsOn:
        if (event)
            event->SetEnabled(true);
        break;
    case utsRestart:
        if (event)
            event->SetEnabled(true);
        timer.RepeatsLeft = timer.Repeat;
        timer.Countdown = timer.Ticker;
        break;
    default: break;
    }
}

void TScriptState::SetUserTimerStatus(const AnsiString& name, int32_t status)
{
    if (cTimer* timer = FindUserTimer(TimerRecList, name)) {
        timer->Status = status;
        ApplyUserTimerStatus(*timer);
    }
}

void TScriptState::SetUserTimerTicker(const AnsiString& name, int32_t seconds)
{
    if (cTimer* timer = FindUserTimer(TimerRecList, name)) {
        timer->Status = utsRestart;
        timer->Ticker = seconds;
        ApplyUserTimerStatus(*timer);
    }
}

void TScriptState::SetUserTimersActive(bool active)
{
    if (TExTimerList* list = Host.UserTimerList())
        list->SetActive(active);
}

void TScriptState::UserEventTimer(TExTimerEvent* event)
{
    if (!event)
        return;
    const int32_t handle = event->Handle();
    cTimer* timer = FindUserTimerByHandle(TimerRecList, handle);
    if (!timer) {
        // Its record was freed without it (a list emptied directly): the event goes now. The
        // timer list lets an event be deleted from its own tick.
        if (TExTimerList* list = event->ParentList())
            list->Delete(handle);
        return;
    }
    timer->Countdown = Decrement(timer->Countdown);
    if (timer->Countdown != 0)
        return;
    timer->Countdown = timer->Ticker;
    event->SetEnabled(true);
    if (!(timer->Action & cTimer::CycleForever)) {
        timer->RepeatsLeft = Decrement(timer->RepeatsLeft);
        if (timer->RepeatsLeft == 0)
            event->SetEnabled(false);
    }
    // The command may change or free this timer, or all of them: run a copy and touch nothing
    // afterwards.
    const AnsiString command = timer->OnBuff;
    ExecuteCommand(command);
}
