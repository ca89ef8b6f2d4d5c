#pragma once
// Window timers. TQtTimerService runs the timer service on the Qt event loop; SetTimer and
// KillTimer give a control WM_TIMER messages (through the application's message hook, as queued
// messages go), and TTimer is the framework's timer component. All of them run on whatever
// service is installed, so tests drive them with a manual clock.

#include <QObject>
#include <cstdint>
#include <map>
#include <memory>

#include "platform/core/Component.h"
#include "platform/core/TimerService.h"

class QTimer;
class TControl;

class TQtTimerService : public ITimerService {
public:
    TQtTimerService();
    ~TQtTimerService() override;
    int StartTimer(uint32_t intervalMs, TTimerCallback callback) override;
    void StopTimer(int id) override;
    bool IsRunning(int id) const override { return FTimers.count(id) != 0; }
    uint32_t GetTickCount() const override;

private:
    struct TEntry {
        QTimer* timer;
        std::shared_ptr<TTimerCallback> callback;
    };
    std::map<int, TEntry> FTimers;
    int FNextId = 0;
};

// Starts (or restarts) timer `id` of the control: WM_TIMER with WParam = id every `elapseMs`.
// Returns false when the control is null.
bool SetTimer(TControl* control, uintptr_t id, uint32_t elapseMs);
bool KillTimer(TControl* control, uintptr_t id);
// Stops every timer of a control (done when it is destroyed).
void KillControlTimers(TControl* control);

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    uint32_t Interval() const { return FInterval; }
    void SetInterval(uint32_t v);
    // Assigning or clearing the handler starts or stops the underlying timer.
    void SetOnTimer(TNotifyEvent handler);
    const TNotifyEvent& OnTimer() const { return FOnTimer; }

protected:
    virtual void Timer();

private:
    void UpdateTimer();
    bool FEnabled = true;
    uint32_t FInterval = 1000;
    TNotifyEvent FOnTimer;
    int FTimerId = 0;
    ITimerService* FService = nullptr;
};
