#pragma once
// Input made by a program, delivered to a control's window as the window system delivers the
// user's: a key press (down, the characters it types, up), mouse buttons and moves at client
// points, and wheel turns. Drivers and tests use it; it goes through the same path as real
// input (key phases, the message hook, mouse capture).

#include <cstdint>

#include "platform/core/AnsiString.h"
#include "platform/core/ShiftState.h"
#include "platform/gui/Controls.h"

class TWinControl;
struct TDragData;

// The key's virtual-key code, typing Text (cp949, may be empty) between down and up.
void SendKeyStroke(TWinControl* Control, uint16_t VirtualKey, TShiftState Shift, const AnsiString& Text);
// The virtual-key code of a key name ("VK_DELETE", "VK_F2") or of one typed character, and the
// text the key types; false for a name it does not know.
bool VirtualKeyOf(const AnsiString& Name, uint16_t& VirtualKey, AnsiString& Text);

enum TMouseAction { maDown, maUp, maMove, maDouble };
// A button pressed, released or double-clicked, or the pointer moved, at a client point.
void SendMouseInput(TWinControl* Control, TMouseAction Action, TMouseButton Button, int X, int Y, TShiftState Shift);
// Wheel turns: Delta in the window system's units (120 a notch, positive away from the user).
void SendWheelInput(TWinControl* Control, int Delta, TShiftState Shift, int X, int Y);

// A drag from another program (a file manager's files, say) brought over a client point and
// dropped there, as the window system delivers it: enter, move, then the drop when the window
// accepted the drag, else leave. The drop's effect (DROPEFFECT_*), none when refused.
int SendDropInput(TWinControl* Control, const TDragData& Data, TShiftState Shift, int X, int Y);

// --- Text typed as a user types it: each single-byte character as a key press (its virtual
// key when it has one), each Hangul character as an input method's commit.
void SendImeCommit(TWinControl* Control, const AnsiString& Text);
void SendTypedText(TWinControl* Control, const AnsiString& Text);
// The control that has the keyboard focus now (the one owning the focused window), or null.
TWinControl* FocusedControl();
