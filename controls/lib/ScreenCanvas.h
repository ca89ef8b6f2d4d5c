#pragma once
// A canvas on the whole screen (see platform/gui/DesktopCanvas.h for how X11 shows it).

#include "platform/gui/DesktopCanvas.h"

class TScreenCanvas : public TDesktopCanvas {
public:
    // Takes the screen for drawing; FreeHandle shows what was drawn and lets it go.
    void CreateHandle() { Painter(); }
    void FreeHandle() { Release(); }
};

// Inverts the rectangle between the two screen points.
void PaintInverseRect(const TPoint& RectOrg, const TPoint& RectEnd);
// Width nested dotted frames on the screen, each one pixel inside the last; a second call with
// the same arguments takes them away.
void DrawInvertFrame(const TRect& ScreenRect, int Width);
