#include "controls/lib/ScreenCanvas.h"

void PaintInverseRect(const TPoint& RectOrg, const TPoint& RectEnd)
{
    TScreenCanvas canvas;
    const TRect r = Rect(RectOrg.x, RectOrg.y, RectEnd.x, RectEnd.y);
    canvas.SetCopyMode(cmDstInvert);
    canvas.CopyRect(r, &canvas, r);
}

void DrawInvertFrame(const TRect& ScreenRect, int Width)
{
    TScreenCanvas canvas;
    TRect r = ScreenRect;
    for (int i = 0; i < Width; ++i) {
        canvas.DrawFocusRect(r);
        InflateRect(r, -1, -1);
    }
}
