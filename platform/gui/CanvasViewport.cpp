#include "platform/gui/CanvasViewport.h"

#include <QPainter>

TCanvasViewport::TCanvasViewport(TCanvas* Canvas, TPoint Origin, double Scale)
    : FPainter(Canvas ? Canvas->Painter() : nullptr)
{
    if (!FPainter)
        return;
    FPainter->save();
    FPainter->translate(Origin.x, Origin.y);
    FPainter->scale(Scale, Scale);
}

TCanvasViewport::~TCanvasViewport()
{
    if (FPainter)
        FPainter->restore();
}
