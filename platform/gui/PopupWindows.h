#pragma once
// The pieces of a drop-down window (a control made with WS_POPUP: a frameless tool window that is
// shown without being activated, so the keyboard stays with the control that opened it).
//
// A press of the left mouse button on any control of a form first tells the form's active
// control: CM_CANCELMODE with the pressed control in LParam. A control that has a drop-down open
// closes it unless the press was on the drop-down or on the control itself.

#include "platform/core/Geometry.h"

class TControl;
class TWinControl;

// CM_CANCELMODE to the active control of Sender's form, naming Sender.
void SendCancelMode(TControl* Sender);
// Shows the popup window with its top-left corner at the screen point, above other windows,
// without activating it.
void ShowPopupWindow(TWinControl* Popup, TPoint Origin);
// Whether the keyboard went to the popup window itself (a window system that activates every
// window it shows), so that the control that opened it should not take it as leaving.
bool PopupTookFocus(TWinControl* Popup);
// Whether the left mouse button is held down now (as the window system last reported it).
bool LeftMouseButtonDown();
