#pragma once
// apprun's keyboard, focus, wheel and history directives (bodies in AppRunKeys.cpp).
//
//   type TEXT            each character as a key press (and release) to the focused control;
//                        \r is Enter
//   key SPEC             one key: [Shift+][Ctrl+][Alt+]NAME, NAME a letter, a digit, F1-F12, Enter,
//                        Escape, Tab, Space, Backspace, Up, Down, Left, Right, PageUp, PageDown,
//                        Home, End, Insert, Delete (the grey keys) or Num0-Num9 (the keypad,
//                        NumLock off)
//   focus input|terminal gives the control the focus
//   wheel up|down [N]    N steps of the mouse wheel over the terminal (1)
//   history              HISTORY n, H text for each typed line (oldest first), CURSOR i

#include "tools/apprun/AppRun.h"

class QWidget;

void AppRunType(TAppRun& run, const AnsiString& rest);
void AppRunKey(TAppRun& run, const AnsiString& rest);
void AppRunFocus(TAppRun& run, const AnsiString& rest);
void AppRunWheel(TAppRun& run, const AnsiString& rest);
void AppRunHistory(TAppRun& run, const AnsiString& rest);

// TEXT's keys queued for the focused control, as the window system queues a player's typing
// among the other events (what `type` sends at once, one key after another).
void AppRunPostText(TAppRun& run, const AnsiString& text);
// One key (SPEC as `key` takes it) pressed and released on a widget, as the user's.
void AppRunPressKey(QWidget* target, const AnsiString& spec);
