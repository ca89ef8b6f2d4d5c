#pragma once
// Where a window goes when the program gives it no place: the cascade of new windows, each one a
// title bar's step right of and below the one before, from the work area's top-left corner. A
// window never takes the corner of another shown window: two windows at exactly one place hide
// each other, and the one below looks lost.

#include <vector>

#include "platform/core/Geometry.h"

// Pixels between two steps of the cascade, about a title bar's height.
constexpr int kCascadeStep = 24;

// The first step of the cascade in the area whose corner no corner in `taken` is. The steps run
// down the diagonal while the window fits in the area's height, then again from the top, one step
// further right; where every step is taken, the first free step down the diagonal from the area's
// corner.
TPoint CascadePlace(int width, int height, const TRect& area, const std::vector<TPoint>& taken);

// `wanted`, or the first step down the diagonal from it that no corner in `taken` is.
TPoint AwayFromTaken(TPoint wanted, const std::vector<TPoint>& taken);
