#pragma once
// A scaled view of a canvas: while a TCanvasViewport lives, whatever the canvas draws lands at
// Origin plus its device position times Scale. A print preview lays a whole printed page into a
// rectangle of a window this way; measuring is not affected.

#include "platform/gui/Canvas.h"

class TCanvasViewport {
public:
    TCanvasViewport(TCanvas* Canvas, TPoint Origin, double Scale);
    ~TCanvasViewport();
    TCanvasViewport(const TCanvasViewport&) = delete;
    TCanvasViewport& operator=(const TCanvasViewport&) = delete;

private:
    QPainter* FPainter = nullptr;
};
