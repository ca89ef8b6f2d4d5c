#include "platform/gui/Menus.h"

#include <QImage>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/core/Strings.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/Application.h"
#include "platform/gui/Hints.h"
#include "platform/gui/ImageList.h"
#include "platform/gui/MenuQt.h"
#include "platform/gui/Queue.h"


namespace {

TPopupMenuHook gPopupHook;

}  // namespace

AnsiString StripHotkey(const AnsiString& caption)
{
    AnsiString out;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (CharLengthAt(caption, i) == 2) {
            out.append(caption, i, 2);
            ++i;
        } else if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&')
                out += caption[++i];
        } else {
            out += caption[i];
        }
    }
    return out;
}

char GetHotkey(const AnsiString& caption)
{
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (CharLengthAt(caption, i) == 2) {
            ++i;
        } else if (caption[i] == '&') {
            if (caption[i + 1] == '&') {
                ++i;
                continue;
            }
            unsigned char c = static_cast<unsigned char>(caption[i + 1]);
            if (c < 0x80)
                return static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
            return 0;
        }
    }
    return 0;
}

// --- TMenuItem

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem()
{
    *FAlive = false;
    SetAction(nullptr);
    while (!FItems.empty())
        delete FItems.back();
    if (FParent)
        FParent->Remove(this);
    TMenuQt::Forget(this);
}

void TMenuItem::Changed(bool structure)
{
    TMenuQt::ItemChanged(this, structure);
    if (TMenu* menu = GetParentMenu())
        menu->MenuChanged(this, structure);
}

template <class T>
void TMenuItem::Set(T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    Changed(false);
}

void TMenuItem::SetCaption(const AnsiString& v) { Set(FCaption, v); }
void TMenuItem::SetShortCut(TShortCut v) { Set(FShortCut, v); }
void TMenuItem::SetRadioItem(bool v) { Set(FRadioItem, v); }
void TMenuItem::SetDefault(bool v) { Set(FDefault, v); }
void TMenuItem::SetEnabled(bool v) { Set(FEnabled, v); }
void TMenuItem::SetVisible(bool v) { Set(FVisible, v); }
void TMenuItem::SetImageIndex(int v) { Set(FImageIndex, v); }

void TMenuItem::SetChecked(bool v)
{
    if (v && FRadioItem && FParent)
        for (TMenuItem* sibling : FParent->FItems)
            if (sibling != this && sibling->FRadioItem && sibling->FGroupIndex == FGroupIndex)
                sibling->SetChecked(false);
    Set(FChecked, v);
}

void TMenuItem::SetAction(TBasicAction* action)
{
    if (action == FAction)
        return;
    if (FAction) {
        FAction->UnRegisterChanges(this);
        FAction->RemoveFreeNotification(this);
    }
    FAction = action;
    if (action) {
        action->FreeNotification(this);
        action->RegisterChanges(this, [this] { ActionChanged(); });
        ActionChanged();
    }
}

void TMenuItem::ActionChanged()
{
    auto* a = dynamic_cast<TCustomAction*>(FAction);
    if (!a)
        return;
    FCaption = a->Caption();
    FHint = a->Hint();
    FShortCut = a->ShortCut();
    FEnabled = a->Enabled();
    FVisible = a->Visible();
    FImageIndex = a->ImageIndex();
    SetChecked(a->Checked());
    Changed(false);
}

void TMenuItem::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FAction)
        FAction = nullptr;
}

TMenuItem* TMenuItem::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw EMenuError("Menu index out of range");
    return FItems[static_cast<size_t>(index)];
}

int TMenuItem::MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }

int TMenuItem::IndexOf(const TMenuItem* item) const
{
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item)
{
    if (!item)
        return;
    if (item->FParent)
        throw EMenuError("Menu inserted twice");
    for (const TMenuItem* p = this; p; p = p->FParent)
        if (p == item)
            throw EMenuError("Menu inserted twice");
    index = std::clamp(index, 0, Count());
    FItems.insert(FItems.begin() + index, item);
    item->FParent = this;
    Changed(true);
}

void TMenuItem::Remove(TMenuItem* item)
{
    int i = IndexOf(item);
    if (i < 0)
        return;
    FItems.erase(FItems.begin() + i);
    item->FParent = nullptr;
    Changed(true);
}

void TMenuItem::Delete(int index) { delete Items(index); }

void TMenuItem::Clear()
{
    while (!FItems.empty())
        delete FItems.back();
}

TMenu* TMenuItem::GetParentMenu() const
{
    const TMenuItem* root = this;
    while (root->FParent)
        root = root->FParent;
    return root->FMenu;
}

TMenuItem* TMenuItem::Find(const AnsiString& caption) const
{
    AnsiString wanted = StripHotkey(caption);
    for (TMenuItem* item : FItems)
        if (StripHotkey(item->FCaption) == wanted)
            return item;
    return nullptr;
}

void TMenuItem::Click()
{
    if (!FEnabled)
        return;
    // An OnClick of our own goes first; else the action runs (Execute updates it first).
    if (OnClick) {
        TNotifyEvent handler = OnClick;
        handler(this);
    } else if (FAction) {
        FAction->Execute();
    }
}

// --- TMenu

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(nullptr)) { FItems->FMenu = this; }

TMenu::~TMenu()
{
    // The tree goes with the menu (items owned by a form leave it as they go); a menu being
    // destroyed hears nothing of it.
    FItems->FMenu = nullptr;
    delete FItems;
}

void TMenu::SetImages(TImageList* v)
{
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = v;
    if (v)
        v->FreeNotification(this);
    MenuChanged(FItems, true);
}

void TMenu::SetOwnerDraw(bool v)
{
    if (v == FOwnerDraw)
        return;
    FOwnerDraw = v;
    TMenuQt::ItemChanged(FItems, true);
    MenuChanged(FItems, true);
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages)
        SetImages(nullptr);
}

void TMenu::MenuChanged(TMenuItem*, bool) {}

namespace {

TMenuItem* FindShortCut(TMenuItem* parent, TShortCut shortCut)
{
    for (int i = 0; i < parent->Count(); ++i) {
        // A hidden item keeps its shortcut, as the framework's menus do.
        TMenuItem* item = parent->Items(i);
        if (item->ShortCut() == shortCut)
            return item;
        if (TMenuItem* found = FindShortCut(item, shortCut))
            return found;
    }
    return nullptr;
}

}  // namespace

bool TMenu::IsShortCut(uint16_t Key, TShiftState Shift)
{
    TShortCut shortCut = ::ShortCut(Key, Shift);
    if (shortCut == 0)
        return false;
    TMenuItem* item = FindShortCut(FItems, shortCut);
    if (!item)
        return false;
    std::shared_ptr<bool> alive = item->AliveToken();
    // The parents' OnClick run as if their menus opened, so they can update the item first.
    std::vector<TMenuItem*> parents;
    for (TMenuItem* p = item->Parent(); p && p != FItems; p = p->Parent())
        parents.insert(parents.begin(), p);
    for (TMenuItem* p : parents) {
        if (!*alive)
            return true;
        if (p->OnClick)
            p->OnClick(p);
    }
    if (!*alive)
        return true;
    if (auto* action = dynamic_cast<TCustomAction*>(item->Action()))
        action->Update();
    if (!*alive || !item->Enabled())
        return *alive && item->Enabled();
    item->Click();
    return true;
}

TMenuItem* TMenu::FindItemByPath(const AnsiString& path) const
{
    TMenuItem* item = FItems;
    size_t start = 0;
    while (item && start <= path.size()) {
        size_t slash = path.find('/', start);
        if (slash == AnsiString::npos)
            slash = path.size();
        item = item->Find(path.substr(start, slash - start));
        start = slash + 1;
    }
    return item == FItems ? nullptr : item;
}

void TMenu::MeasureItem(TMenuItem* Item, TCanvas* ACanvas, int& Width, int& Height)
{
    AnsiString text = StripHotkey(Item->Caption());
    if (Item->IsLine()) {
        Height = 9;
    } else {
        Width = ACanvas->TextWidth(text) + 32;
        if (Item->ShortCut())
            Width += ACanvas->TextWidth(ShortCutToText(Item->ShortCut())) + 16;
        Height = std::max(ACanvas->TextHeight("Ay") + 6, 16);
    }
    if (Item->OnMeasureItem)
        Item->OnMeasureItem(Item, ACanvas, Width, Height);
}

void TMenu::DrawItem(TMenuItem* Item, TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State)
{
    if (Item->OnDrawItem) {
        Item->OnDrawItem(Item, ACanvas, ARect, State);
        return;
    }
    ACanvas->Brush()->SetColor((State & odSelected) ? clHighlight : clMenu);
    ACanvas->FillRect(ARect);
    if (Item->IsLine()) {
        int y = (ARect.Top + ARect.Bottom) / 2 - 1;
        ACanvas->Pen()->SetColor(clBtnShadow);
        ACanvas->MoveTo(ARect.Left, y);
        ACanvas->LineTo(ARect.Right, y);
        return;
    }
    ACanvas->Font()->SetColor(
        (State & (odDisabled | odGrayed)) ? clGrayText : ((State & odSelected) ? clHighlightText : clMenuText));
    ACanvas->Brush()->SetStyle(bsClear);
    int y = (ARect.Top + ARect.Bottom - ACanvas->TextHeight("Ay")) / 2;
    if (State & odChecked)
        ACanvas->TextOut(ARect.Left + 4, y, Item->RadioItem() ? "o" : "v");
    ACanvas->TextOut(ARect.Left + 20, y, StripHotkey(Item->Caption()));
    if (Item->ShortCut()) {
        AnsiString keys = ShortCutToText(Item->ShortCut());
        ACanvas->TextOut(ARect.Right - 8 - ACanvas->TextWidth(keys), y, keys);
    }
}

void TMenu::MenuSelect(TMenuItem* Item, bool)
{
    if (Application)
        Application->SetHint(Item ? GetLongHint(Item->Hint()) : AnsiString());
}

bool TMenu::MenuChar(char, TMenuItem*) { return false; }

QMenu* TMenu::QtMenuOf(TMenuItem* item) { return TMenuQt::MenuOf(this, item); }

// --- TPopupMenu

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::SetPopupComponent(TComponent* v)
{
    if (FPopupComponent)
        FPopupComponent->RemoveFreeNotification(this);
    FPopupComponent = v;
    if (v)
        v->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TMenu::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupComponent)
        FPopupComponent = nullptr;
}

void TPopupMenu::Popup(int X, int Y)
{
    FPopupPoint = {X, Y};
    std::shared_ptr<bool> alive = Items()->AliveToken();
    if (OnPopup) {
        TNotifyEvent handler = OnPopup;
        handler(this);
        if (!*alive)
            return;
    }
    // The menu takes the mouse: a press that opened it never sees its release, and the capture
    // that press set would take the next click on the form.
    SetCaptureControl(nullptr);
    TMenuItem* chosen = nullptr;
    if (gPopupHook)
        chosen = gPopupHook(this, X, Y);
    else if (std::getenv("HM_TEST"))  // nobody to choose: closed at once, as an unhooked box answers
        std::fprintf(stderr, "Popup %s at %d,%d\n", Name().c_str(), X, Y);
    else
        TMenuQt::RunPopup(this, X, Y);
    if (chosen && *alive)
        ChooseMenuItem(chosen);
}

TPopupMenuHook SetPopupMenuHook(TPopupMenuHook hook)
{
    TPopupMenuHook old = std::move(gPopupHook);
    gPopupHook = std::move(hook);
    return old;
}

void ChooseMenuItem(TMenuItem* item)
{
    if (!item || !item->Enabled() || item->Count() > 0 || item->IsLine())
        return;
    QueueCall([item, alive = item->AliveToken()] {
        if (*alive)
            item->Click();
    });
}
