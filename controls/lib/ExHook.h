#pragma once
// Watching another control's messages without deriving from it. A TExWindowHook fires
// BeforeMessage before the watched control handles a message (setting Handled swallows it) and
// AfterMessage after. Every hook component on one control shares one control hook, which
// subclasses the control through its window procedure (TWinControl::SetWindowHook): the hook
// attached last runs first, and the first that sets Handled stops the chain. A control hook left
// without components is freed later, from the event loop, as is the re-installation after the
// control's window is made again (WM_DESTROY).

#include <functional>
#include <memory>
#include <vector>

#include "platform/core/Component.h"
#include "platform/core/Liveness.h"
#include "platform/gui/WinControl.h"

class TExWindowHook;

using THookMessageEvent = std::function<void(TObject* Sender, TMessage& Msg, bool& Handled)>;

// The shared subclassing of one control; owned by the program-wide hook list.
class TControlHook : public TObject {
public:
    explicit TControlHook(TWinControl* control);
    ~TControlHook() override;
    TControlHook(const TControlHook&) = delete;
    TControlHook& operator=(const TControlHook&) = delete;

    TWinControl* Control() const { return FControl; }
    bool Installed() const { return FInstalled; }
    int HookCount() const { return static_cast<int>(FHooks.size()); }
    // Attaches a component once and installs the procedure.
    void Attach(TExWindowHook* hook);
    // Detaches a component; the procedure goes with the last one.
    void Detach(TExWindowHook* hook);
    void Install();
    void Remove();

    // Whether the control may still be touched (not freed, not being freed).
    bool ControlAlive() const;

private:
    struct TProc;
    void HookWndProc(TMessage& m);
    void CallPrevious(TMessage& m);

    TWinControl* FControl;
    TAliveToken FControlAlive;
    TWndMethod FPrevProc;  // the procedure replaced; empty: the control's own handling
    bool FInstalled = false;
    bool FDestroying = false;
    std::vector<TExWindowHook*> FHooks;
    TLiveness FLiveness;
};

class TExWindowHook : public TComponent {
public:
    explicit TExWindowHook(TComponent* AOwner);
    ~TExWindowHook() override;

    bool Active() const { return FActive; }
    void SetActive(bool value);
    // The watched control: the control hook's when attached, else the one set.
    TWinControl* WinControl() const;
    void SetWinControl(TWinControl* value);
    // Stored instead of WinControl when the watched control is the owning form itself.
    bool IsForm() const;
    void SetIsForm(bool value);

    void HookControl();
    void UnhookControl();

    THookMessageEvent BeforeMessage;
    THookMessageEvent AfterMessage;

    virtual void DoBeforeMessage(TMessage& Msg, bool& Handled);
    virtual void DoAfterMessage(TMessage& Msg, bool& Handled);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void DoUnhookControl();

    bool FActive = true;
    TWinControl* FWinControl = nullptr;
    TControlHook* FControlHook = nullptr;
    friend class TControlHook;
};

// The program-wide list's handle: non-zero once the list exists, else -1.
intptr_t GetHookHandle();
// How many control hooks the list holds (for tests: freed ones are gone).
int ControlHookCount();

void RegisterExHookClasses();
