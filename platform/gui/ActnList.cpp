#include "platform/gui/ActnList.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QImage>
#include <algorithm>
#include <map>
#include <memory>

#include "platform/core/List.h"
#include "platform/gui/Application.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/ImageList.h"
#include "platform/gui/Menus.h"

namespace {

// Every action list alive, for the idle updates.
std::vector<TActionList*> gLists;

// The updates run each time the event loop is about to wait: that is the program's idle time.
void WatchIdle()
{
    static bool watching = false;
    QAbstractEventDispatcher* dispatcher = QCoreApplication::instance()
        ? QAbstractEventDispatcher::instance(QCoreApplication::instance()->thread())
        : nullptr;
    if (watching || !dispatcher)
        return;
    watching = true;
    QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, [] {
        // An update that opens a modal box runs a loop of its own: no nested pass.
        static bool running = false;
        if (running)
            return;
        running = true;
        try {
            UpdateActionsWhenIdle();
        } catch (...) {
            running = false;
            if (Application)
                Application->HandleException(nullptr);
            return;
        }
        running = false;
    });
}

}  // namespace

// --- TBasicAction

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}

TBasicAction::~TBasicAction() = default;

bool TBasicAction::Execute()
{
    if (!OnExecute)
        return false;
    TNotifyEvent handler = OnExecute;
    handler(this);
    return true;
}

bool TBasicAction::Update()
{
    if (!OnUpdate)
        return false;
    TNotifyEvent handler = OnUpdate;
    handler(this);
    return true;
}

void TBasicAction::RegisterChanges(const void* client, std::function<void()> changed)
{
    UnRegisterChanges(client);
    FClients.push_back({client, std::move(changed)});
}

void TBasicAction::UnRegisterChanges(const void* client)
{
    FClients.erase(
        std::remove_if(FClients.begin(), FClients.end(), [client](const TClient& c) { return c.Key == client; }),
        FClients.end());
}

void TBasicAction::Change()
{
    // A client may unregister (or free others) while it hears: walk a copy, re-checking each.
    std::vector<const void*> keys;
    for (const TClient& c : FClients)
        keys.push_back(c.Key);
    for (const void* key : keys) {
        auto it = std::find_if(FClients.begin(), FClients.end(), [key](const TClient& c) { return c.Key == key; });
        if (it != FClients.end()) {
            std::function<void()> changed = it->Changed;
            changed();
        }
    }
}

// --- TContainedAction

TContainedAction::~TContainedAction() { SetActionList(nullptr); }

void TContainedAction::SetActionList(TActionList* list)
{
    if (list == FActionList)
        return;
    if (FActionList) {
        auto& v = FActionList->FActions;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
        FActionList->RemoveFreeNotification(this);
    }
    FActionList = list;
    if (list) {
        list->FActions.push_back(this);
        list->FreeNotification(this);
    }
}

int TContainedAction::Index() const
{
    if (!FActionList)
        return -1;
    auto& v = FActionList->FActions;
    return static_cast<int>(std::find(v.begin(), v.end(), this) - v.begin());
}

bool TContainedAction::Execute()
{
    if (FActionList && FActionList->OnExecute) {
        bool handled = false;
        TActionEvent handler = FActionList->OnExecute;
        handler(this, handled);
        if (handled)
            return true;
    }
    return TBasicAction::Execute();
}

bool TContainedAction::Update()
{
    if (FActionList && FActionList->OnUpdate) {
        bool handled = false;
        TActionEvent handler = FActionList->OnUpdate;
        handler(this, handled);
        if (handled)
            return true;
    }
    return TBasicAction::Update();
}

// --- TCustomAction

template <class T>
void TCustomAction::Set(T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    Change();
}

void TCustomAction::SetCaption(const AnsiString& v) { Set(FCaption, v); }
void TCustomAction::SetHint(const AnsiString& v) { Set(FHint, v); }
void TCustomAction::SetShortCut(TShortCut v) { Set(FShortCut, v); }
void TCustomAction::SetChecked(bool v) { Set(FChecked, v); }
void TCustomAction::SetEnabled(bool v) { Set(FEnabled, v); }
void TCustomAction::SetVisible(bool v) { Set(FVisible, v); }
void TCustomAction::SetImageIndex(int v) { Set(FImageIndex, v); }

bool TCustomAction::Execute()
{
    Update();
    return FEnabled && TContainedAction::Execute();
}

// --- TActionList

TActionList::TActionList(TComponent* AOwner) : TComponent(AOwner)
{
    gLists.push_back(this);
    WatchIdle();
}

TActionList::~TActionList()
{
    gLists.erase(std::remove(gLists.begin(), gLists.end(), this), gLists.end());
    // Actions owned elsewhere forget the list; those it owns go with it.
    while (!FActions.empty())
        FActions.back()->SetActionList(nullptr);
}

TContainedAction* TActionList::Actions(int index) const
{
    if (index < 0 || index >= ActionCount())
        TList::Error("List index out of bounds (%d)", index);
    return FActions[static_cast<size_t>(index)];
}

void TActionList::SetImages(TImageList* v)
{
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = v;
    if (v)
        v->FreeNotification(this);
}

void TActionList::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FImages)
        FImages = nullptr;
    auto* action = dynamic_cast<TContainedAction*>(AComponent);
    if (action && action->ActionList() == this)
        action->SetActionList(nullptr);
}

bool TActionList::IsShortCut(uint16_t Key, TShiftState Shift)
{
    TShortCut shortCut = ::ShortCut(Key, Shift);
    if (shortCut == 0)
        return false;
    for (TContainedAction* a : std::vector<TContainedAction*>(FActions)) {
        auto* action = dynamic_cast<TCustomAction*>(a);
        if (!action || action->ShortCut() != shortCut)
            continue;
        // Alive check by list membership: Execute may free the action or this list.
        return action->Execute();
    }
    return false;
}

void TActionList::UpdateActions()
{
    std::vector<TContainedAction*> actions = FActions;
    for (TContainedAction* a : actions)
        if (std::find(FActions.begin(), FActions.end(), a) != FActions.end())
            a->Update();
}

// --- Control links

namespace {

class TControlActionLink : public TComponent {
public:
    TControlActionLink(TControl* control, TBasicAction* action, std::function<void(TControl*, TCustomAction*)> extra)
        : TComponent(nullptr), Control(control), Action(action), Extra(std::move(extra))
    {
        control->FreeNotification(this);
        action->FreeNotification(this);
        action->RegisterChanges(this, [this] { Apply(); });
        control->OnClick = [action](TObject*) { action->Execute(); };
        Apply();
    }
    ~TControlActionLink() override
    {
        if (Action)
            Action->UnRegisterChanges(this);
    }
    // Passes on what the action changed since the last time, so a caption or hint the control
    // was given of its own (a tool button's shorter caption) survives the action's enabling.
    void Apply()
    {
        auto* a = dynamic_cast<TCustomAction*>(Action);
        if (!a || !Control)
            return;
        if (!Applied || a->Caption() != Caption)
            Control->SetCaption(Caption = a->Caption());
        if (!Applied || a->Hint() != Hint)
            Control->SetHint(Hint = a->Hint());
        if (!Applied || a->Enabled() != Enabled)
            Control->SetEnabled(Enabled = a->Enabled());
        if (!Applied || a->Visible() != Visible)
            Control->SetVisible(Visible = a->Visible());
        Applied = true;
        if (Extra)
            Extra(Control, a);
    }
    TControl* Control;
    TBasicAction* Action;
    std::function<void(TControl*, TCustomAction*)> Extra;
    bool Applied = false;
    AnsiString Caption, Hint;
    bool Enabled = true, Visible = true;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
};

std::map<const TControl*, TControlActionLink*> gLinks;

void TControlActionLink::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove || (AComponent != Control && AComponent != Action))
        return;
    if (AComponent == Action)
        Action = nullptr;
    gLinks.erase(Control);
    delete this;
}

}  // namespace

void LinkControlToAction(TControl* control, TBasicAction* action, std::function<void(TControl*, TCustomAction*)> extra)
{
    if (!control)
        return;
    auto it = gLinks.find(control);
    if (it != gLinks.end()) {
        TControlActionLink* old = it->second;
        gLinks.erase(it);
        control->OnClick = nullptr;
        delete old;
    }
    if (action)
        gLinks[control] = new TControlActionLink(control, action, std::move(extra));
}

TBasicAction* ControlAction(const TControl* control)
{
    auto it = gLinks.find(control);
    return it == gLinks.end() ? nullptr : it->second->Action;
}

// --- Idle and shortcuts

void UpdateActionsWhenIdle()
{
    std::vector<TActionList*> lists = gLists;
    for (TActionList* list : lists) {
        if (std::find(gLists.begin(), gLists.end(), list) == gLists.end())
            continue;
        auto* form = dynamic_cast<TCustomForm*>(list->Owner());
        if (!form || form->Visible())
            list->UpdateActions();
    }
}

bool FormMenuShortCut(TCustomForm* form, uint16_t Key, TShiftState Shift)
{
    if (TMainMenu* menu = form->Menu())
        if (menu->IsShortCut(Key, Shift))
            return true;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* list = dynamic_cast<TActionList*>(form->Components(i)))
            if (list->IsShortCut(Key, Shift))
                return true;
    return false;
}
