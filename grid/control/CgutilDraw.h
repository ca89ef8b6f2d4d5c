#pragma once
// The drawing routine of the grid's shared routines.

#include "platform/gui/Bitmap.h"
#include "platform/gui/Canvas.h"

// Draws Bitmap at its own size at Rect's top-left corner, with every pixel of the colour of
// its top-left pixel shown as Color (the colour behind it).
void DrawBitmapTransp(TCanvas* Canvas, TBitmap* Bitmap, TColor Color, const TRect& Rect);
