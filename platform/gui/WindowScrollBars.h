#pragma once
// Window scroll bars for any windowed control, as the system gives every window: a vertical bar
// at the right and a horizontal one at the bottom, shown and set through these calls, each use
// of a bar sending the control WM_VSCROLL / WM_HSCROLL with an SB_* code in the low word and
// the position in the high word. The bars take their room from the control's client area.

#include "platform/core/Colors.h"
#include "platform/gui/StdMessages.h"

class TWinControl;

// Sets what fMask names; returns the position (clamped to the range less the page).
int SetScrollInfo(TWinControl* control, int bar, const TScrollInfo& info, bool redraw);
bool GetScrollInfo(TWinControl* control, int bar, TScrollInfo& info);
int SetScrollPos(TWinControl* control, int bar, int pos, bool redraw);
int GetScrollPos(TWinControl* control, int bar);
void SetScrollRange(TWinControl* control, int bar, int min, int max, bool redraw);
void ShowScrollBar(TWinControl* control, int bar, bool show);
// The SB_* code of a Qt slider action (QAbstractSlider::SliderAction), or -1 for one without.
int ScrollCodeOfSliderAction(int action);
// The room the shown bars take: width of the vertical bar, height of the horizontal one.
TSize WindowScrollBarSizes(const TWinControl* control);

// The look of a window's bar (the proportional bars of the grid): Style 0 regular, 1 flat, 2 flat
// with a lighter thumb; the groove's colour (clNone: the system's); the bar's thickness in pixels
// (0: the system's), which the client area gives up while the bar shows.
struct TScrollBarLook {
    int Style = 0;
    TColor Color = clNone;
    int Thickness = 0;
    bool operator==(const TScrollBarLook&) const = default;
};
void SetWindowScrollBarLook(TWinControl* control, int bar, const TScrollBarLook& look);
TScrollBarLook WindowScrollBarLook(TWinControl* control, int bar);
