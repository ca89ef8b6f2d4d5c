#pragma once
// A canvas on the whole screen. X11 lets no program draw on other windows, so the screen is
// grabbed when drawing starts and a frameless window above all others shows the pixels that the
// drawing changed; once they are all back as they were (an inverted frame drawn twice), the
// window goes away. Where there is no X11 display (the offscreen platform) the canvas has
// nothing to draw on and drawing does nothing.

#include "platform/gui/Canvas.h"

class TDesktopCanvas : public TCanvas {
public:
    TDesktopCanvas();
    ~TDesktopCanvas() override;
    // Ends the drawing in progress and shows its result.
    void Release();
    // Screen point (X, Y) becomes the canvas's (0, 0).
    void SetOrigin(int X, int Y);
    QImage* Image() override;

protected:
    QPainter* AcquirePainter() override;

private:
    TPoint FOrigin;
};
