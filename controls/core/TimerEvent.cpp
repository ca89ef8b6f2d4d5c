#include "controls/core/TimerList.h"

#include "controls/core/MinMax.h"
#include "platform/core/TypInfo.h"

void RegisterExTimerEventClass()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    // The parent must be known first; without the control classes only its name is published.
    if (!GetClass("TComponent"))
        RegisterClass<TComponent>("TComponent", "").Str("Name", &TComponent::Name, &TComponent::SetName);
    using E = TExTimerEvent;
    RegisterClass<E>("TExTimerEvent", "TComponent", MakeComponent<E>)
        .Bool("Cycled", &E::Cycled, &E::SetCycled, true)
        .Bool("Enabled", &E::Enabled, &E::SetEnabled, true)
        .Int("Interval", &E::Interval, &E::SetInterval, 1000)
        .Int("RepeatCount", &E::RepeatCount, &E::SetRepeatCount, 0);
}

TExTimerEvent::TExTimerEvent(TComponent* AOwner) : TComponent(AOwner) { startTick_ = TimerService().GetTickCount(); }

TExTimerEvent::~TExTimerEvent()
{
    if (list_)
        list_->RemoveItem(this);
}

ITimerService& TExTimerEvent::Service() const { return list_ ? list_->Service() : TimerService(); }

void TExTimerEvent::SetCycled(bool value)
{
    if (value == cycled_)
        return;
    cycled_ = value;
    if (!cycled_)
        repeatCount_ = Max(repeatCount_, 1);
}

void TExTimerEvent::SetEnabled(bool value)
{
    if (value == enabled_)
        return;
    enabled_ = value;
    if (enabled_) {
        count_ = 0;
        startTick_ = Service().GetTickCount();
    }
    TExTimerList* list = list_;
    if (!list)
        return;
    if (enabled_ && list->selfStopped_)
        list->ResumeIfSelfStopped();
    else
        list->Changed();
}

void TExTimerEvent::SetInterval(int32_t value)
{
    if (value == interval_)
        return;
    interval_ = value;
    if (list_) {
        list_->Sort();
        list_->Changed();
    }
}

void TExTimerEvent::SetRepeatCount(int32_t value)
{
    value = Max(value, cycled_ ? 0 : 1);
    if (value == repeatCount_)
        return;
    if (!InState(csDesigning) && enabled_ && count_ >= value)
        SetEnabled(false);
    repeatCount_ = value;
}

void TExTimerEvent::SetAsSeconds(int32_t value)
{
    // 32-bit arithmetic, as the stored interval is 32 bits: a huge count of seconds wraps.
    SetInterval(static_cast<int32_t>(static_cast<uint32_t>(value) * 1000u));
}

void TExTimerEvent::SetParentList(TExTimerList* value)
{
    if (value == list_)
        return;
    if (list_)
        list_->RemoveItem(this);
    if (value)
        value->AddItem(this);
}
