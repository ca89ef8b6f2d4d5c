#pragma once
// Window scroll bars for any windowed control, as the system gives every window: a vertical bar
// at the right and a horizontal one at the bottom, shown and set through these calls, each use
// of a bar sending the control WM_VSCROLL / WM_HSCROLL with an SB_* code in the low word and
// the position in the high word. The bars take their room from the control's client area.

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
