#pragma once
// The framework's menus: items in a tree under a menu's root item, a main menu shown as a form's
// menu bar and pop-up menus shown at a point. A chosen item's click never runs inside the
// menu's own loop: it is queued and runs after the menu has closed (and after Popup returned),
// so a handler may free the menu, its item or the form that owns them.
//
// An owner-drawn menu measures and draws each item through MeasureItem and DrawItem (the item's
// OnMeasureItem / OnDrawItem by default); the item under the pointer or the keyboard is reported
// to MenuSelect and a typed character to MenuChar, so a subclass can draw and answer as it likes.

#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

#include "platform/core/Component.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/GraphicsTypes.h"
#include "platform/gui/StdMessages.h"  // the owner-draw state

class QAction;
class QMenu;
class QMenuBar;
class QWidget;
class TMenu;
class TMenuItem;
class TBasicAction;
class TImageList;
class TCustomForm;
struct TMenuQt;

// A menu index out of range, or an item inserted where it already is.
class EMenuError : public Exception {
    using Exception::Exception;
};

using TMenuMeasureItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;
using TMenuDrawItemEvent =
    std::function<void(TObject* Sender, TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State)>;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    // "&" marks the mnemonic ("&&" is a literal "&"); "-" is a separator line.
    const AnsiString& Caption() const { return FCaption; }
    void SetCaption(const AnsiString& v);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut v);
    bool Checked() const { return FChecked; }
    // A checked radio item unchecks the other radio items of its group under the same parent.
    void SetChecked(bool v);
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool v);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int v) { FGroupIndex = v; }
    bool Default() const { return FDefault; }
    void SetDefault(bool v);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    const AnsiString& Hint() const { return FHint; }
    void SetHint(const AnsiString& v) { FHint = v; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v);
    // The item follows the action (caption, hint, shortcut, checked, enabled, visible, image)
    // and a click executes it.
    TBasicAction* Action() const { return FAction; }
    void SetAction(TBasicAction* action);
    bool IsLine() const { return FCaption == "-"; }

    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int index) const;
    TMenuItem* Parent() const { return FParent; }
    int MenuIndex() const;
    int IndexOf(const TMenuItem* item) const;
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Takes the item out without freeing it.
    void Remove(TMenuItem* item);
    // Frees the item at index / every item.
    void Delete(int index);
    void Clear();
    // The menu whose tree holds this item, or null.
    TMenu* GetParentMenu() const;
    // The sub-item whose caption, "&" ignored, is this text; null when none.
    TMenuItem* Find(const AnsiString& caption) const;

    // Runs OnClick, or the action when the item has one.
    virtual void Click();
    // False once the item is freed: held across a call that may free it.
    std::shared_ptr<bool> AliveToken() const { return FAlive; }

    TNotifyEvent OnClick;
    TMenuMeasureItemEvent OnMeasureItem;
    TMenuDrawItemEvent OnDrawItem;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    template <class T>
    void Set(T& field, const T& value);
    void Changed(bool structure);
    void ActionChanged();

    AnsiString FCaption;
    AnsiString FHint;
    TShortCut FShortCut = 0;
    bool FChecked = false, FRadioItem = false, FDefault = false, FEnabled = true, FVisible = true;
    int FGroupIndex = 0;
    int FImageIndex = -1;
    TBasicAction* FAction = nullptr;
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr;  // set on the root item only
    std::vector<TMenuItem*> FItems;
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
    QAction* FQtAction = nullptr;
    QMenu* FQtMenu = nullptr;
    bool FQtDirty = true;

    friend class TMenu;
    friend struct TMenuQt;
};

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;

    TMenuItem* Items() const { return FItems; }
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* v);
    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool v);

    // Clicks the enabled item (visible in a visible branch) with this shortcut; true when one
    // took it. Parents' OnClick run first, as they would when the menu opens.
    virtual bool IsShortCut(uint16_t Key, TShiftState Shift);
    // The item reached by captions joined with "/" ("File/&Open" or "File/Open"), or null.
    TMenuItem* FindItemByPath(const AnsiString& path) const;

    // Owner-draw hooks. The defaults measure the caption, then call the item's OnMeasureItem;
    // fill and draw the caption (and check mark) unless the item's OnDrawItem draws it.
    virtual void MeasureItem(TMenuItem* Item, TCanvas* ACanvas, int& Width, int& Height);
    virtual void DrawItem(TMenuItem* Item, TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State);
    // The item now highlighted (null when none), by the mouse or the keyboard. The default puts
    // the item's long hint in Application->Hint.
    virtual void MenuSelect(TMenuItem* Item, bool ByMouse);
    // A character typed while the menu of Parent is open; true when handled (the default leaves
    // it to the mnemonics).
    virtual bool MenuChar(char Key, TMenuItem* Parent);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Something under the menu changed: a property (structure false) or the list of items.
    virtual void MenuChanged(TMenuItem* Item, bool Structure);
    // The Qt menu of an item with sub-items (the root's for a pop-up), built on demand.
    QMenu* QtMenuOf(TMenuItem* item);

private:
    TMenuItem* FItems;
    TImageList* FImages = nullptr;
    bool FOwnerDraw = false;
    friend class TMenuItem;
    friend struct TMenuQt;
};

class TMainMenu : public TMenu {
public:
    using TMenu::TMenu;
    ~TMainMenu() override;
    // The menu bar widget (made for the form's window on demand).
    QMenuBar* MenuBar(QWidget* window);
    // Height the bar takes at the top of the form's window (0 before it is made).
    int BarHeight() const;
    // The bar spans the window's width.
    void FitBar(int width);

protected:
    void MenuChanged(TMenuItem* Item, bool Structure) override;

private:
    QPointer<QMenuBar> FBar;
};

enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;
    // Shows the menu at the screen point and returns once it has closed; the chosen item's
    // click runs later, from the event loop.
    virtual void Popup(int X, int Y);
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool v) { FAutoPopup = v; }
    TPopupAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TPopupAlignment v) { FAlignment = v; }
    // The control the menu was last popped up for.
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* v);
    TPoint PopupPoint() const { return FPopupPoint; }
    TNotifyEvent OnPopup;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool FAutoPopup = true;
    TPopupAlignment FAlignment = paLeft;
    TComponent* FPopupComponent = nullptr;
    TPoint FPopupPoint{-1, -1};
};

// Chooses an item as a click in its menu would: its click is queued and runs from the event
// loop (RunQueuedCalls runs it at once). Disabled items and items with sub-items do nothing.
void ChooseMenuItem(TMenuItem* item);

// Answers every pop-up menu instead of showing it: returns the item chosen, or null for a menu
// closed without a choice. Null removes the hook; the previous hook is returned. Without a hook,
// a run under the test environment (HM_TEST set) closes every pop-up at once.
using TPopupMenuHook = std::function<TMenuItem*(TPopupMenu* Menu, int X, int Y)>;
TPopupMenuHook SetPopupMenuHook(TPopupMenuHook hook);

// The caption without its "&" marks ("&&" keeps one "&"); the mnemonic character (upper case)
// or 0. A trail byte of a two-byte character is never taken for a "&" or a mnemonic.
AnsiString StripHotkey(const AnsiString& caption);
char GetHotkey(const AnsiString& caption);
