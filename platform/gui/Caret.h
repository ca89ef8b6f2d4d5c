#pragma once
// The system caret: one per program, owned by one window, drawn by inverting its rectangle over
// the window's picture and blinking. As in Win32 it is created hidden: each HideCaret needs a
// ShowCaret before it shows again. Freeing the owner destroys it.

#include "platform/gui/GraphicsTypes.h"

class TWinControl;

bool CreateCaret(TWinControl* window, int width, int height);
bool DestroyCaret();
bool ShowCaret(TWinControl* window);
bool HideCaret(TWinControl* window);
bool SetCaretPos(int x, int y);
bool GetCaretPos(TPoint& point);
unsigned GetCaretBlinkTime();

// For painting: the caret's rectangle in `window` while it is shown and in its visible blink
// phase.
bool VisibleCaretRect(const TWinControl* window, TRect& rect);
// The window is going away: its caret goes with it.
void ForgetCaretOwner(const TWinControl* window);
