#pragma once
// The display-free arithmetic of the owner-drawn menus: an item's measured size from its
// caption, picture and the system's menu metrics; the text offset where drawing starts; the
// glyph cell drawn for an item's state; the owner-draw state word.

#include <cstdint>

// What measuring one item needs to know.
struct TMenuMeasureInput {
    bool IsPopup = true;       // in a pop-up (not on a menu bar)
    bool IsSeparator = false;  // caption "-"
    bool ShowCheckMarks = true;
    int MinTextOffset = 0;
    int MenuBarHeight = 19;  // the system's menu-bar height
    int SysCheckWidth = 13;  // the system's check-mark width
    int TextWidth = 0;       // caption, tabs and shortcut (see the menus' text width)
    int TextHeight = 0;      // of the caption
    int DashHeight = 0;      // text height of "-"
    bool HasImages = false;  // an image list is set
    int ImageWidth = 0, ImageHeight = 0;
    int ImageIndex = -1, ImageCount = 0;
    int GraphicWidth = 0, GraphicHeight = 0;  // a glyph's size; 0 x 0 for none
};

struct TMenuSize {
    int Width = 0;
    int Height = 0;
};

// The share of the system check-mark width that pads an item: 0.3 of it, rounded.
int MenuCheckMarkWidth(int SysCheckWidth);
// The size of an item before the menu's OnMeasureItem and the pop-up's left band.
TMenuSize MeasureMenuItemSize(const TMenuMeasureInput& In);
// The separator's least height.
constexpr int kMenuSeparatorMinHeight = 9;

// Where an item's text starts before any picture column: a menu-bar item after the padding
// and 2 pixels; a pop-up item after twice the padding and the check column (2 pixels without).
int MenuTextOffset(bool IsPopup, bool ShowCheckMarks, int SysCheckWidth);

// The glyph cell of a strip of NumGlyphs drawn for an item: 1 disabled, 3 checked, 2 selected,
// else 0; a strip of 2 to 5 only, and a cell beyond the strip falls back to 0 (drawn as enabled).
struct TMenuGlyphCell {
    int Cell = 0;
    bool DrawDisabled = false;
};
TMenuGlyphCell MenuGlyphCell(int NumGlyphs, bool Disabled, bool Checked, bool Selected);

// The owner-draw state word's bits, as the menus' state set takes them.
enum : unsigned {
    kOdsSelected = 0x01,
    kOdsGrayed = 0x02,
    kOdsDisabled = 0x04,
    kOdsChecked = 0x08,
    kOdsFocus = 0x10,
    kOdsDefault = 0x20,
};

// The band's end colour: each of red, green and blue of the start divided by 4 (an RGB value,
// red in the low byte).
uint32_t MenuMarginEndColor(uint32_t StartRGB);
