#pragma once
// The columns of a window's terminal follow its width: every window counts them the same way,
// leaving room for the scroll bar, whenever the terminal is laid out.

#include "terminal/control/Terminal.h"

// Pixels of the terminal's width kept for its scroll bar when its columns are counted.
constexpr int kTerminalScrollBarRoom = 20;

inline void FitTerminalColumns(TCustomTerminal& terminal)
{
    if (terminal.CellWidth() > 0)
        terminal.SetColumns((terminal.Width() - kTerminalScrollBarRoom) / terminal.CellWidth());
}
