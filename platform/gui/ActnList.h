#pragma once
// The framework's actions: a command with its caption, hint, shortcut and states kept in one
// place; menu items and controls linked to it follow its properties and run it when clicked.
// Action lists answer the form's shortcuts (before the focused control sees the key) and update
// their actions when the program is idle (OnUpdate).

#include <functional>
#include <vector>

#include "platform/core/Component.h"

class TActionList;
class TControl;
class TImageList;
class TCustomForm;

class TBasicAction : public TComponent {
public:
    explicit TBasicAction(TComponent* AOwner);
    ~TBasicAction() override;
    // Runs OnExecute; true when something handled it.
    virtual bool Execute();
    // Runs OnUpdate; true when something handled it.
    virtual bool Update();
    TNotifyEvent OnExecute, OnUpdate;

    // A client (menu item, control link) hears of every property change until it unregisters.
    void RegisterChanges(const void* client, std::function<void()> changed);
    void UnRegisterChanges(const void* client);

protected:
    void Change();

private:
    struct TClient {
        const void* Key;
        std::function<void()> Changed;
    };
    std::vector<TClient> FClients;
};

class TContainedAction : public TBasicAction {
public:
    using TBasicAction::TBasicAction;
    ~TContainedAction() override;
    TActionList* ActionList() const { return FActionList; }
    void SetActionList(TActionList* list);
    const AnsiString& Category() const { return FCategory; }
    void SetCategory(const AnsiString& v) { FCategory = v; }
    int Index() const;
    // The list's OnExecute / OnUpdate first; the action's own when the list leaves it.
    bool Execute() override;
    bool Update() override;

private:
    TActionList* FActionList = nullptr;
    AnsiString FCategory;
};

class TCustomAction : public TContainedAction {
public:
    using TContainedAction::TContainedAction;
    const AnsiString& Caption() const { return FCaption; }
    void SetCaption(const AnsiString& v);
    const AnsiString& Hint() const { return FHint; }
    void SetHint(const AnsiString& v);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut v);
    bool Checked() const { return FChecked; }
    void SetChecked(bool v);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v);
    // Updates first; runs only while enabled.
    bool Execute() override;

private:
    template <class T>
    void Set(T& field, const T& value);
    AnsiString FCaption, FHint;
    TShortCut FShortCut = 0;
    bool FChecked = false, FEnabled = true, FVisible = true;
    int FImageIndex = -1;
};

class TAction : public TCustomAction {
public:
    using TCustomAction::TCustomAction;
};

using TActionEvent = std::function<void(TBasicAction* Action, bool& Handled)>;

class TActionList : public TComponent {
public:
    explicit TActionList(TComponent* AOwner);
    ~TActionList() override;
    int ActionCount() const { return static_cast<int>(FActions.size()); }
    TContainedAction* Actions(int index) const;
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* v);
    // Runs the enabled action with this shortcut; true when one did.
    bool IsShortCut(uint16_t Key, TShiftState Shift);
    // Runs every action's update, as the idle loop does.
    void UpdateActions();
    TActionEvent OnExecute, OnUpdate;
    TNotifyEvent OnChange;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    std::vector<TContainedAction*> FActions;
    TImageList* FImages = nullptr;
    friend class TContainedAction;
};

// Makes the control follow the action (caption, hint, enabled, visible) and run it on a click;
// `extra` applies what only some controls have (a tool button's Down or image). Null unlinks.
void LinkControlToAction(TControl* control, TBasicAction* action,
                         std::function<void(TControl*, TCustomAction*)> extra = nullptr);
TBasicAction* ControlAction(const TControl* control);

// Runs the update of every action list whose form is shown (or that has no form), as the
// program does whenever its event queue runs empty.
void UpdateActionsWhenIdle();
// Menu and action shortcuts of a form, in the framework's order: the main menu, then the
// action lists the form owns.
bool FormMenuShortCut(TCustomForm* form, uint16_t Key, TShiftState Shift);
