#pragma once
// Covering an area of a canvas with copies of a bitmap, as wallpapers and cell backgrounds do.

#include "platform/gui/Bitmap.h"
#include "platform/gui/Canvas.h"

// Tiles Bitmap over Area, clipped to Area, with a copy's top-left corner at Origin (and at every
// step of the bitmap's width and height from it). An empty bitmap draws nothing.
void TileBitmap(TCanvas* Canvas, const TRect& Area, TBitmap* Bitmap, TPoint Origin);
