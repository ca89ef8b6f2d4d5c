#include "controls/lib/ExHook.h"

#include <algorithm>

#include "platform/core/TypInfo.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Queue.h"

namespace {

// The program-wide list of control hooks, made on first use. Work that must not run inside the
// message being handled (freeing an empty control hook, installing the procedure again after
// the control's window went) is queued and finds its control hook again by serial number, so a
// hook freed meanwhile is simply not found.
class THookList {
public:
    ~THookList()
    {
        gList = nullptr;
        FHooks.clear();
    }
    // A control freed meanwhile may have left its hook here; a new control at its address
    // gets a hook of its own.
    TControlHook* Find(const TWinControl* control) const
    {
        for (const auto& h : FHooks)
            if (h.Hook->Control() == control && h.Hook->ControlAlive())
                return h.Hook.get();
        return nullptr;
    }
    TControlHook* Get(TWinControl* control)
    {
        if (TControlHook* h = Find(control))
            return h;
        FHooks.push_back({++FSerial, std::make_unique<TControlHook>(control)});
        return FHooks.back().Hook.get();
    }
    void PostFree(TControlHook* hook)
    {
        QueueCall([serial = SerialOf(hook)] {
            if (gList)
                gList->FreeIfEmpty(serial);
        });
    }
    void PostReinstall(TControlHook* hook)
    {
        QueueCall([serial = SerialOf(hook)] {
            if (!gList)
                return;
            if (TControlHook* h = gList->BySerial(serial); h && h->HookCount() > 0)
                h->Install();
        });
    }
    int Count() const { return static_cast<int>(FHooks.size()); }

    static THookList* gList;

private:
    struct TEntry {
        uint64_t Serial;
        std::unique_ptr<TControlHook> Hook;
    };
    uint64_t SerialOf(const TControlHook* hook) const
    {
        for (const auto& h : FHooks)
            if (h.Hook.get() == hook)
                return h.Serial;
        return 0;
    }
    TControlHook* BySerial(uint64_t serial) const
    {
        for (const auto& h : FHooks)
            if (h.Serial == serial)
                return h.Hook.get();
        return nullptr;
    }
    void FreeIfEmpty(uint64_t serial)
    {
        std::erase_if(FHooks, [&](const auto& h) { return h.Serial == serial && h.Hook->HookCount() == 0; });
    }
    std::vector<TEntry> FHooks;
    uint64_t FSerial = 0;
};

THookList* THookList::gList = nullptr;

THookList& HookList()
{
    static THookList list;
    THookList::gList = &list;
    return list;
}

}  // namespace

// --- TControlHook -----------------------------------------------------------------------------

// The procedure installed in the control. A subclasser installed after it keeps a copy as its
// previous procedure, which may outlive this control hook: then it is the control's own.
struct TControlHook::TProc {
    TControlHook* Owner;
    TAliveToken Alive;
    TWinControl* Control;
    void operator()(TMessage& m) const
    {
        if (*Alive)
            Owner->HookWndProc(m);
        else
            Control->DefWindowProc(m);
    }
};

TControlHook::TControlHook(TWinControl* control) : FControl(control), FControlAlive(control->AliveToken()) {}

TControlHook::~TControlHook()
{
    FLiveness.Expire();
    FDestroying = true;
    for (TExWindowHook* h : FHooks)
        h->FControlHook = nullptr;
    FHooks.clear();
    Remove();
}

bool TControlHook::ControlAlive() const { return *FControlAlive && !FControl->InState(csDestroying); }

void TControlHook::Attach(TExWindowHook* hook)
{
    if (std::find(FHooks.begin(), FHooks.end(), hook) == FHooks.end())
        FHooks.push_back(hook);
    hook->FControlHook = this;
    Install();
}

void TControlHook::Detach(TExWindowHook* hook)
{
    std::erase(FHooks, hook);
    if (hook->FControlHook == this)
        hook->FControlHook = nullptr;
    if (!FHooks.empty())
        return;
    Remove();
    // Freed after the current message, unless a component attaches again before.
    if (!FDestroying && THookList::gList)
        THookList::gList->PostFree(this);
}

void TControlHook::Install()
{
    if (!ControlAlive() || FControl->InState(csDesigning))
        return;
    const TWndMethod& current = FControl->WindowHook();
    if (const TProc* own = current.target<TProc>(); own && own->Owner == this) {
        FInstalled = true;
        return;
    }
    FPrevProc = current;
    FControl->SetWindowHook(TProc{this, FLiveness.Token(), FControl});
    FInstalled = true;
}

void TControlHook::Remove()
{
    if (FInstalled && *FControlAlive) {
        const TProc* own = FControl->WindowHook().target<TProc>();
        if (own && own->Owner == this)
            FControl->SetWindowHook(FPrevProc);
    }
    FPrevProc = nullptr;
    FInstalled = false;
}

void TControlHook::CallPrevious(TMessage& m)
{
    if (FPrevProc) {
        TWndMethod previous = FPrevProc;
        previous(m);
    } else {
        FControl->DefWindowProc(m);
    }
}

void TControlHook::HookWndProc(TMessage& m)
{
    if (FHooks.empty() || FDestroying || FControl->InState(csDestroying)) {
        CallPrevious(m);
        return;
    }
    // Handlers may free this control hook, a component or the control: work on a copy and
    // stop when this hook goes.
    const TAliveToken alive = FLiveness.Token();
    const std::vector<TExWindowHook*> hooks = FHooks;
    const auto attached = [&](TExWindowHook* h) {
        return *alive && std::find(FHooks.begin(), FHooks.end(), h) != FHooks.end();
    };
    bool handled = false;
    if (m.Msg != WM_QUIT)
        for (auto it = hooks.rbegin(); it != hooks.rend() && !handled; ++it)
            if (attached(*it))
                (*it)->DoBeforeMessage(m, handled);
    if (!*alive)
        return;
    const bool destroy = m.Msg == WM_DESTROY;
    if (handled && !destroy)
        return;
    if (ControlAlive())
        CallPrevious(m);
    if (!*alive)
        return;
    for (auto it = hooks.rbegin(); it != hooks.rend() && !handled; ++it)
        if (attached(*it))
            (*it)->DoAfterMessage(m, handled);
    if (!*alive || !destroy)
        return;
    // The window goes: the procedure is put back and installed again once the control has a
    // new window, after this message.
    Remove();
    if (THookList::gList && ControlAlive())
        THookList::gList->PostReinstall(this);
}

// --- TExWindowHook ----------------------------------------------------------------------------

TExWindowHook::TExWindowHook(TComponent* AOwner) : TComponent(AOwner) {}

TExWindowHook::~TExWindowHook()
{
    Destroying();
    SetActive(false);
    SetWinControl(nullptr);
}

void TExWindowHook::SetActive(bool value)
{
    if (value == FActive)
        return;
    if (value)
        HookControl();
    else
        UnhookControl();
}

TWinControl* TExWindowHook::WinControl() const { return FControlHook ? FControlHook->Control() : FWinControl; }

void TExWindowHook::HookControl()
{
    if (FWinControl && !InState(csDestroying))
        HookList().Get(FWinControl)->Attach(this);
    FActive = true;
}

void TExWindowHook::DoUnhookControl()
{
    if (FControlHook)
        FControlHook->Detach(this);
}

void TExWindowHook::UnhookControl()
{
    DoUnhookControl();
    FActive = false;
}

void TExWindowHook::SetWinControl(TWinControl* value)
{
    if (value == FWinControl)
        return;
    const bool wasActive = FActive;
    DoUnhookControl();
    if (FWinControl)
        FWinControl->RemoveFreeNotification(this);
    FWinControl = value;
    if (value)
        value->FreeNotification(this);
    if (wasActive)
        HookControl();
}

bool TExWindowHook::IsForm() const
{
    return WinControl() && WinControl() == Owner() && dynamic_cast<TCustomForm*>(Owner()) != nullptr;
}

void TExWindowHook::SetIsForm(bool value)
{
    if (!value)
        return;
    if (auto* form = dynamic_cast<TCustomForm*>(Owner()))
        SetWinControl(form);
}

void TExWindowHook::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && (AComponent == FWinControl || AComponent == Owner()))
        SetWinControl(nullptr);
}

void TExWindowHook::DoBeforeMessage(TMessage& Msg, bool& Handled)
{
    if (BeforeMessage) {
        THookMessageEvent handler = BeforeMessage;
        handler(this, Msg, Handled);
    }
}

void TExWindowHook::DoAfterMessage(TMessage& Msg, bool& Handled)
{
    if (AfterMessage) {
        THookMessageEvent handler = AfterMessage;
        handler(this, Msg, Handled);
    }
}

intptr_t GetHookHandle() { return THookList::gList ? reinterpret_cast<intptr_t>(THookList::gList) : -1; }

int ControlHookCount() { return THookList::gList ? THookList::gList->Count() : 0; }

void RegisterExHookClasses()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    using H = TExWindowHook;
    RegisterClass<H>("TExWindowHook", "TComponent", MakeComponent<H>)
        .Bool("Active", &H::Active, &H::SetActive, true)
        .Object("WinControl", "TWinControl", &H::WinControl, &H::SetWinControl)
        .Stored([](H* h) { return !h->IsForm(); })
        .Bool("IsForm", &H::IsForm, &H::SetIsForm, false)
        .Stored([](H* h) { return h->IsForm(); });
}
