#pragma once
// The display-free pieces the terminal control decodes host text through: the core, its screen
// image and the own sequences. Tools and tests that must see what the window sees use these,
// never the core alone, so a picture's data or an own colour acts as it does on the screen.
//
// The image stays empty until someone sizes it (Painter.Resize); drawing is then clipped away,
// while the sequences still take their bytes and set their colours.

#include "terminal/core/TerminalCore.h"
#include "terminal/draw/OwnSequences.h"
#include "terminal/draw/ScreenPainter.h"

struct TTerminalPieces {
    TTerminalCore Core;
    TScreenPainter Painter{Core};
    TOwnSequences Own{Core, Painter};
};
