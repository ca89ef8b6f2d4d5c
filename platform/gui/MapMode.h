#pragma once
// Win32's device queries and mapping modes on a canvas: the resolution a canvas draws at, and the
// logical units its drawing calls take. MM_TEXT counts device pixels with y growing down;
// MM_LOMETRIC counts tenths of a millimetre with y growing up, so a page's rows have negative y.

#include "platform/gui/Canvas.h"

enum : int { LOGPIXELSX = 88, LOGPIXELSY = 90 };
enum : int { MM_TEXT = 1, MM_LOMETRIC = 2 };

// LOGPIXELSX or LOGPIXELSY: the canvas's pixels per inch across or down (its target's, 96
// without one); 0 for any other index.
int GetDeviceCaps(TCanvas* Canvas, int Index);

// Sets the canvas's mapping mode; returns the previous one (0 for a mode it does not know, which
// changes nothing).
int SetMapMode(TCanvas* Canvas, int Mode);
int GetMapMode(TCanvas* Canvas);
// Converts points between the canvas's logical units and its device pixels.
bool LPtoDP(TCanvas* Canvas, TPoint* Points, int Count);
bool DPtoLP(TCanvas* Canvas, TPoint* Points, int Count);
// A rectangle's two corners.
bool LPtoDP(TCanvas* Canvas, TRect& Rect);
bool DPtoLP(TCanvas* Canvas, TRect& Rect);
