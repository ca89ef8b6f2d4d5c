// The owner-drawn menus' properties, the pop-up list, selection hints and cursors, and Popup.

#include "controls/lib/ExMenus.h"

#include <algorithm>

#include "platform/core/TypInfo.h"
#include "platform/gui/Application.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Hints.h"

TColor DefMarginColor = clBlue;

namespace {

std::unique_ptr<TPopupList>& PopupListSlot()
{
    static std::unique_ptr<TPopupList> list;
    return list;
}

// The cursor a selection asks for: the menu's for a mouse selection of an item that has no
// sub-items or sits in a pop-up, else the default.
TCursor SelectionCursor(TCursor MenuCursor, TMenuItem* Item, bool ByMouse)
{
    if (MenuCursor == crDefault || !Item || !ByMouse)
        return crDefault;
    return IsItemPopup(Item) || Item->Count() == 0 ? MenuCursor : crDefault;
}

// Whether a menu's cursor is on the screen, so that closing the menu puts the default back.
bool gMenuCursorShown = false;

void SetScreenCursor(TCursor Cursor)
{
    if (!Screen || (Cursor == crDefault && !gMenuCursorShown))
        return;
    gMenuCursorShown = Cursor != crDefault;
    if (Screen->Cursor() != Cursor)
        Screen->SetCursor(Cursor);
}

}  // namespace

bool IsItemPopup(TMenuItem* Item)
{
    TMenuItem* parent = Item ? Item->Parent() : nullptr;
    if (!parent || parent->Parent())
        return true;
    return dynamic_cast<TMainMenu*>(parent->GetParentMenu()) == nullptr;
}

void SetDefaultMenuFont(TFont* AFont)
{
    AFont->SetName("MS Sans Serif");
    AFont->SetSize(8);
    AFont->SetStyle(TFontStyles());
    AFont->SetColor(clMenuText);
}

// --- TExMenuBase

template <class TBase>
TExMenuBase<TBase>::TExMenuBase(TComponent* AOwner) : TBase(AOwner)
{
    FImageChangeLink.OnChange = [this](TObject* Sender) { ImageListChange(Sender); };
}

template <class TBase>
TExMenuBase<TBase>::~TExMenuBase()
{
    FStyle = msStandard;
    if (TImageList* images = this->Images())
        images->UnRegisterChanges(&FImageChangeLink);
}

template <class TBase>
bool TExMenuBase<TBase>::IsOwnerDrawMenu() const
{
    return FStyle != msStandard || (this->Images() && this->Images()->Count() > 0);
}

template <class TBase>
void TExMenuBase<TBase>::RefreshMenu(bool AOwnerDraw)
{
    this->SetOwnerDraw(AOwnerDraw && !this->InState(csDesigning));
}

template <class TBase>
void TExMenuBase<TBase>::SetStyle(TExMenuStyle Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    RefreshMenu(IsOwnerDrawMenu());
}

template <class TBase>
void TExMenuBase<TBase>::SetImages(TImageList* Value)
{
    const bool wasOwnerDraw = IsOwnerDrawMenu();
    if (TImageList* old = this->Images())
        old->UnRegisterChanges(&FImageChangeLink);
    TBase::SetImages(Value);
    if (Value)
        Value->RegisterChanges(&FImageChangeLink);
    if (IsOwnerDrawMenu() != wasOwnerDraw)
        RefreshMenu(IsOwnerDrawMenu());
}

template <class TBase>
void TExMenuBase<TBase>::ImageListChange(TObject* Sender)
{
    if (Sender && Sender == this->Images())
        RefreshMenu(IsOwnerDrawMenu());
}

template <class TBase>
void TExMenuBase<TBase>::Loaded()
{
    TBase::Loaded();
    if (IsOwnerDrawMenu())
        RefreshMenu(true);
}

template <class TBase>
void TExMenuBase<TBase>::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent && AComponent == this->Images()) {
        // The list is being destroyed and is no image list any more: it may not be asked
        // anything, and its change links go with it.
        TBase::SetImages(nullptr);
        RefreshMenu(IsOwnerDrawMenu());
    }
    TBase::Notification(AComponent, Operation);
}

template <class TBase>
void TExMenuBase<TBase>::GetImageIndex(TMenuItem* Item, TMenuOwnerDrawState State, int& ImageIndex)
{
    if (this->Images() && !Item->IsLine() && OnGetImageIndex)
        OnGetImageIndex(this, Item, State, ImageIndex);
}

template <class TBase>
void TExMenuBase<TBase>::GetItemParams(TMenuItem* Item, TMenuOwnerDrawState State, TFont* AFont, TColor& Color,
                                       TGraphic*& Graphic, int& NumGlyphs)
{
    if (OnGetItemParams)
        OnGetItemParams(this, Item, State, AFont, Color, Graphic, NumGlyphs);
    // A separator never shows a picture.
    if (Item->IsLine())
        Graphic = nullptr;
}

template <class TBase>
void TExMenuBase<TBase>::MeasureItem(TMenuItem* Item, int& Width, int& Height)
{
    if (OnMeasureItem)
        OnMeasureItem(this, Item, Width, Height);
}

template <class TBase>
void TExMenuBase<TBase>::MenuSelect(TMenuItem* Item, bool ByMouse)
{
    TBase::MenuSelect(Item, ByMouse);
    // The main menu's cursor acts only while it draws its items.
    SetScreenCursor(IsOwnerDrawMenu() ? SelectionCursor(FCursor, Item, ByMouse) : crDefault);
}

// --- TExPopupMenu

TExPopupMenu::TExPopupMenu(TComponent* AOwner) : TExMenuBase<TPopupMenu>(AOwner) { PopupList().Add(this); }

TExPopupMenu::~TExPopupMenu()
{
    if (PopupListSlot())
        PopupListSlot()->Remove(this);
}

void TExPopupMenu::Popup(int X, int Y)
{
    if (IsOwnerDrawMenu())
        RefreshMenu(true);
    TPopupMenu::Popup(X, Y);
}

void TExPopupMenu::MenuSelect(TMenuItem* Item, bool ByMouse) { PopupList().MenuSelect(Item, ByMouse); }

// --- TPopupList

TPopupList& PopupList()
{
    if (!PopupListSlot())
        PopupListSlot() = std::make_unique<TPopupList>();
    return *PopupListSlot();
}

void TPopupList::Add(TExPopupMenu* Menu)
{
    if (std::find(FMenus.begin(), FMenus.end(), Menu) == FMenus.end())
        FMenus.push_back(Menu);
}

void TPopupList::Remove(TExPopupMenu* Menu)
{
    FMenus.erase(std::remove(FMenus.begin(), FMenus.end(), Menu), FMenus.end());
}

TExPopupMenu* TPopupList::MenuOf(TMenuItem* Item) const
{
    TMenu* own = Item ? Item->GetParentMenu() : nullptr;
    for (TExPopupMenu* menu : FMenus)
        if (menu == own)
            return menu;
    return nullptr;
}

void TPopupList::MenuSelect(TMenuItem* Item, bool ByMouse)
{
    TExPopupMenu* menu = MenuOf(Item);
    if (!menu) {
        if (Application)
            Application->SetHint(AnsiString());
        SetScreenCursor(crDefault);
        return;
    }
    if (Application)
        Application->SetHint(GetLongHint(Item->Hint()));
    SetScreenCursor(ByMouse ? menu->Cursor() : crDefault);
}

template class TExMenuBase<TMainMenu>;
template class TExMenuBase<TPopupMenu>;

namespace {

template <class M>
void RegisterMenuProperties(TClassRegistration<M> r)
{
    r.Int("Cursor", &M::Cursor, &M::SetCursor, crDefault)
        .Int(
            "MinTextOffset", [](M* m) { return static_cast<int>(m->MinTextOffset()); },
            [](M* m, int v) { m->SetMinTextOffset(static_cast<unsigned>(std::max(v, 0))); }, 0)
        .Enum("Style", "TExMenuStyle", {"msStandard", "msOwnerDraw", "msBtnLowered", "msBtnRaised"}, &M::Style,
              &M::SetStyle, msStandard)
        .Bool("ShowCheckMarks", &M::ShowCheckMarks, &M::SetShowCheckMarks, true)
        .Bool("OwnerDraw", &M::OwnerDraw, nullptr)
        .Stored([](M*) { return false; })
        .Object("Images", "TImageList", &M::Images, &M::SetImages);
}

}  // namespace

void RegisterExMenusClasses()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterClass<TImageList>("TImageList", "TComponent", MakeComponent<TImageList>)
        .Int("Width", &TImageList::Width, &TImageList::SetWidth, 16)
        .Int("Height", &TImageList::Height, &TImageList::SetHeight, 16)
        .Int("Count", &TImageList::Count, nullptr);
    RegisterClass<TPopupMenu>("TPopupMenu", "TComponent", MakeComponent<TPopupMenu>);
    RegisterMenuProperties(RegisterClass<TExMainMenu>("TExMainMenu", "TComponent", MakeComponent<TExMainMenu>));
    RegisterMenuProperties(RegisterClass<TExPopupMenu>("TExPopupMenu", "TPopupMenu", MakeComponent<TExPopupMenu>));
    RegisterClass<TExPopupMenu>("TExPopupMenu", "TPopupMenu")
        .Int(
            "LeftMargin", [](TExPopupMenu* m) { return static_cast<int>(m->LeftMargin()); },
            [](TExPopupMenu* m, int v) { m->SetLeftMargin(static_cast<unsigned>(std::max(v, 0))); }, 0);
}
