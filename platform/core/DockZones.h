#pragma once
// Where a control dropped on a dock site goes: the edge of the site's dock area that the drop
// point chooses, and the room a control docked at an edge takes from that area, the rest being
// what the site's own controls keep.

#include "platform/core/Geometry.h"

enum class TDockEdge { Top, Bottom, Left, Right };

// The edge nearest the point, distances measured in shares of the area's height (top, bottom)
// and width (sides): the area's diagonals cut it into the four edges' zones, so a wide area's
// sides reach as far in as its top and bottom. A point outside counts at the nearest place
// inside; on a diagonal the first of top, bottom, left, right wins; an empty area gives the top.
TDockEdge DockEdgeAt(const TRect& area, TPoint point);

// A control docked at an edge takes the whole edge, as deep as `depth` (its height at the top or
// bottom, its width at a side), never less than nothing and never deeper than half the area: the
// rest, where the site's own controls are, keeps at least half of it however large the control
// was made while it floated.
struct TDockPlace {
    TRect Docked;
    TRect Rest;
};
TDockPlace DockPlace(const TRect& area, TDockEdge edge, int depth);
