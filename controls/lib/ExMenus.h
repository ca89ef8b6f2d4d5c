#pragma once
// Menus that can draw their items themselves: a glyph or image-list picture beside each
// caption, a raised or lowered button look for the highlighted item, fonts and colours per item
// from an event, and, for the pop-up menu, a coloured band along its left edge. A menu whose
// Style is msStandard and whose image list holds no picture is a plain platform menu, drawn by
// the system. Every pop-up menu registers in one list (PopupList), through which the hints and
// cursors of a selection are answered; commands, sub-menus and menu characters are dispatched
// by the platform's menus.
//
// Files: ExMenus.cpp (properties, the pop-up list, selection, Popup), ExMenusDraw.cpp
// (measuring and drawing an item, the left band). The arithmetic is controls/core/MenuRules.h.

#include <functional>
#include <memory>
#include <vector>

#include "controls/core/MenuRules.h"
#include "platform/gui/Controls.h"
#include "platform/gui/ImageList.h"
#include "platform/gui/Menus.h"

class TGraphic;

enum TExMenuStyle { msStandard, msOwnerDraw, msBtnLowered, msBtnRaised };

// The owner-draw state: mdSelected .. mdDefault are the bits of the system's state word.
using TMenuOwnerDrawState = unsigned;
enum : unsigned {
    mdSelected = kOdsSelected,
    mdGrayed = kOdsGrayed,
    mdDisabled = kOdsDisabled,
    mdChecked = kOdsChecked,
    mdFocused = kOdsFocus,
    mdDefault = kOdsDefault,
};

using TDrawMenuItemEvent =
    std::function<void(TMenu* Sender, TMenuItem* Item, const TRect& Rect, TMenuOwnerDrawState State)>;
using TMeasureMenuItemEvent = std::function<void(TMenu* Sender, TMenuItem* Item, int& Width, int& Height)>;
using TDrawMarginEvent = std::function<void(TMenu* Sender, const TRect& Rect)>;
using TItemParamsEvent = std::function<void(TMenu* Sender, TMenuItem* Item, TMenuOwnerDrawState State, TFont* AFont,
                                            TColor& Color, TGraphic*& Graphic, int& NumGlyphs)>;
using TItemImageEvent = std::function<void(TMenu* Sender, TMenuItem* Item, TMenuOwnerDrawState State, int& ImageIndex)>;

// The pop-up band's colour where no OnDrawMargin paints it.
extern TColor DefMarginColor;

// False only for an item that sits directly on a main menu's bar; true for every other item and
// for an item without a parent.
bool IsItemPopup(TMenuItem* Item);
// The menus' font: "MS Sans Serif" 8, no style, in the menu text colour.
void SetDefaultMenuFont(TFont* AFont);

// What the main and the pop-up menu add alike, over the platform's menu class.
template <class TBase>
class TExMenuBase : public TBase {
public:
    explicit TExMenuBase(TComponent* AOwner);
    ~TExMenuBase() override;

    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value) { FCursor = Value; }
    unsigned MinTextOffset() const { return FMinTextOffset; }
    void SetMinTextOffset(unsigned Value) { FMinTextOffset = Value; }
    TExMenuStyle Style() const { return FStyle; }
    void SetStyle(TExMenuStyle Value);
    bool ShowCheckMarks() const { return FShowCheckMarks; }
    void SetShowCheckMarks(bool Value) { FShowCheckMarks = Value; }
    // Hides the platform's SetImages: the change link follows the list.
    void SetImages(TImageList* Value);

    // Drawn by the menu: a style other than msStandard, or an image list with a picture.
    bool IsOwnerDrawMenu() const;
    void Refresh() { RefreshMenu(IsOwnerDrawMenu()); }
    virtual void RefreshMenu(bool AOwnerDraw);
    // The default picture-and-text drawing of one item, without the background (for OnDrawItem).
    void DefaultDrawItem(TMenuItem* Item, const TRect& Rect, TMenuOwnerDrawState State);
    // The canvas items are measured and drawn on (during a measure or draw only).
    TCanvas* Canvas() const { return FCanvas; }

    // Each fires its event; callable directly.
    virtual void GetImageIndex(TMenuItem* Item, TMenuOwnerDrawState State, int& ImageIndex);
    virtual void GetItemParams(TMenuItem* Item, TMenuOwnerDrawState State, TFont* AFont, TColor& Color,
                               TGraphic*& Graphic, int& NumGlyphs);
    virtual void MeasureItem(TMenuItem* Item, int& Width, int& Height);

    TItemImageEvent OnGetImageIndex;
    TDrawMenuItemEvent OnDrawItem;
    TItemParamsEvent OnGetItemParams;
    TMeasureMenuItemEvent OnMeasureItem;

    // The platform's owner-draw hooks: the measure and draw requests of the system.
    void MeasureItem(TMenuItem* Item, TCanvas* ACanvas, int& Width, int& Height) override;
    void DrawItem(TMenuItem* Item, TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State) override;
    void MenuSelect(TMenuItem* Item, bool ByMouse) override;

protected:
    // Fills the background and draws the item (OnDrawItem, else the default drawing).
    virtual void DrawItem(TMenuItem* Item, const TRect& Rect, TMenuOwnerDrawState State);
    // The pop-up's first-level items leave this much room at the left (0 for a main menu).
    virtual int ItemLeftMargin(TMenuItem*) const { return 0; }
    // Paints the band before a first-level item is drawn (pop-up only).
    virtual void DrawItemMargin(TMenuItem*, const TRect&) {}
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void ImageListChange(TObject* Sender);
    // MenuMeasureItem and GetItemTextWidth of the drawing unit.
    void MenuMeasureItem(TMenuItem* Item, TGraphic* Graphic, int NumGlyphs, int ImageIndex, int& Width, int& Height);
    int GetItemTextWidth(TMenuItem* Item);
    void DrawMenuItem(TMenuItem* Item, TRect Rect, TMenuOwnerDrawState State, TGraphic* Graphic, int NumGlyphs,
                      int ImageIndex, int ButtonLook);

    TCursor FCursor = crDefault;
    unsigned FMinTextOffset = 0;
    TExMenuStyle FStyle = msStandard;
    bool FShowCheckMarks = true;
    TChangeLink FImageChangeLink;
    TCanvas* FCanvas = nullptr;
};

class TExMainMenu : public TExMenuBase<TMainMenu> {
public:
    using TExMenuBase<TMainMenu>::TExMenuBase;
};

class TExPopupMenu : public TExMenuBase<TPopupMenu> {
public:
    explicit TExPopupMenu(TComponent* AOwner);
    ~TExPopupMenu() override;

    // Width of the band along the left edge, in pixels.
    unsigned LeftMargin() const { return FLeftMargin; }
    void SetLeftMargin(unsigned Value) { FLeftMargin = Value; }
    void Popup(int X, int Y) override;
    // Selections go through the pop-up list.
    void MenuSelect(TMenuItem* Item, bool ByMouse) override;
    // A 32-colour gradient from top to bottom over Rect less 3 pixels on the right, then a
    // shadow and a highlight line at its right edge.
    void DefaultDrawMargin(const TRect& Rect, TColor StartColor, TColor EndColor);

    TDrawMarginEvent OnDrawMargin;

protected:
    virtual void DrawMargin(const TRect& Rect);
    int ItemLeftMargin(TMenuItem* Item) const override;
    void DrawItemMargin(TMenuItem* Item, const TRect& ClipRect) override;

private:
    unsigned FLeftMargin = 0;
};

// The pop-up menus alive, in the order they were made.
class TPopupList {
public:
    void Add(TExPopupMenu* Menu);
    void Remove(TExPopupMenu* Menu);
    int Count() const { return static_cast<int>(FMenus.size()); }
    TExPopupMenu* Items(int Index) const { return FMenus.at(static_cast<size_t>(Index)); }
    // The first menu holding the item (the item's own menu for one that is in none).
    TExPopupMenu* MenuOf(TMenuItem* Item) const;
    // A selection in a pop-up: the application hint becomes the item's, and the first menu
    // holding it sets its cursor for a mouse selection (the default for the keyboard); no item
    // clears the hint.
    void MenuSelect(TMenuItem* Item, bool ByMouse);

private:
    std::vector<TExPopupMenu*> FMenus;
};
// Made with the first pop-up menu; empty once the last is gone.
TPopupList& PopupList();

void RegisterExMenusClasses();
