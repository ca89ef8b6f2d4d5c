#include "platform/gui/WindowTimer.h"

#include <QTimer>
#include <chrono>
#include <utility>

#include "platform/gui/Application.h"
#include "platform/gui/Controls.h"
#include "platform/gui/WinControl.h"

TQtTimerService::TQtTimerService() = default;

TQtTimerService::~TQtTimerService()
{
    for (auto& [id, entry] : FTimers)
        delete entry.timer;
}

int TQtTimerService::StartTimer(uint32_t intervalMs, TTimerCallback callback)
{
    int id = ++FNextId;
    auto* timer = new QTimer();
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(static_cast<int>(std::max<uint32_t>(intervalMs, 1)));
    auto shared = std::make_shared<TTimerCallback>(std::move(callback));
    QObject::connect(timer, &QTimer::timeout, [shared] {
        // Held by the lambda: the callback may stop its own timer.
        std::shared_ptr<TTimerCallback> keep = shared;
        try {
            if (*keep)
                (*keep)();
        } catch (...) {
            if (Application)
                Application->HandleException(nullptr);
        }
    });
    FTimers[id] = TEntry{timer, shared};
    timer->start();
    return id;
}

void TQtTimerService::StopTimer(int id)
{
    auto it = FTimers.find(id);
    if (it == FTimers.end())
        return;
    QTimer* timer = it->second.timer;
    FTimers.erase(it);
    timer->stop();
    // The timer may be the one whose timeout is running now.
    timer->deleteLater();
}

uint32_t TQtTimerService::GetTickCount() const
{
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// --- Control timers ---------------------------------------------------------------------------

namespace {

struct TControlTimer {
    ITimerService* service;
    int id;
};
std::map<std::pair<TControl*, uintptr_t>, TControlTimer> gControlTimers;

void Deliver(TControl* control, uintptr_t id)
{
    TMsg msg{dynamic_cast<TWinControl*>(control), WM_TIMER, id, 0};
    if (Application && Application->HookMessage(msg))
        return;
    control->Perform(WM_TIMER, id, 0);
}

}  // namespace

bool SetTimer(TControl* control, uintptr_t id, uint32_t elapseMs)
{
    if (!control)
        return false;
    KillTimer(control, id);
    ITimerService& service = TimerService();
    int serviceId = service.StartTimer(std::max<uint32_t>(elapseMs, 10), [control, id] { Deliver(control, id); });
    gControlTimers[{control, id}] = TControlTimer{&service, serviceId};
    return true;
}

bool KillTimer(TControl* control, uintptr_t id)
{
    auto it = gControlTimers.find({control, id});
    if (it == gControlTimers.end())
        return false;
    it->second.service->StopTimer(it->second.id);
    gControlTimers.erase(it);
    return true;
}

void KillControlTimers(TControl* control)
{
    for (auto it = gControlTimers.lower_bound({control, 0});
         it != gControlTimers.end() && it->first.first == control;) {
        it->second.service->StopTimer(it->second.id);
        it = gControlTimers.erase(it);
    }
}

// --- TTimer -----------------------------------------------------------------------------------

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {}

TTimer::~TTimer()
{
    FEnabled = false;
    FOnTimer = nullptr;
    UpdateTimer();
}

void TTimer::SetEnabled(bool v)
{
    if (v == FEnabled)
        return;
    FEnabled = v;
    UpdateTimer();
}

void TTimer::SetInterval(uint32_t v)
{
    if (v == FInterval)
        return;
    FInterval = v;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler)
{
    FOnTimer = std::move(handler);
    UpdateTimer();
}

void TTimer::UpdateTimer()
{
    if (FTimerId) {
        FService->StopTimer(FTimerId);
        FTimerId = 0;
    }
    if (FEnabled && FInterval != 0 && FOnTimer && !InState(csDestroying)) {
        FService = &TimerService();
        FTimerId = FService->StartTimer(FInterval, [this] { Timer(); });
    }
}

void TTimer::Timer()
{
    if (FEnabled && !InState(csDestroying) && FOnTimer) {
        TNotifyEvent handler = FOnTimer;  // the handler may free or reassign it
        handler(this);
    }
}
