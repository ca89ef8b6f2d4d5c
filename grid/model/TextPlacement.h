#pragma once
// Where a text block starts inside a cell rectangle when it is turned by an angle: the reference
// point (where the text's first character begins) that puts the turned block left, right or
// centred and at the top, middle or bottom of the rectangle. y grows down; angles are whole
// degrees counter-clockwise, the quadrant 1 up to 90, 2 up to 180, 3 up to 270, 4 above.

#include "grid/model/CellGridTypes.h"
#include "platform/core/Alignment.h"
#include "platform/core/Geometry.h"

TPoint TurnedTextStart(const TRect& R, int Width, int Height, int Angle, TAlignment Alignment, TVAlignment VAlignment);
