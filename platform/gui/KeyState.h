#pragma once
// The keyboard state as the window system reports it: GetKeyState of a virtual key is negative
// (high bit set) while the key is down. Shift, Ctrl and Alt come from the key or mouse message
// being handled and from the window system; the mouse buttons from the window system. Other
// keys read as the key bridge saw them, with their toggle in bit 0 (Insert's for the insert
// indicator).

#include <cstdint>

int16_t GetKeyState(int VirtKey);
