#pragma once
// Where the shadowed label puts its shadow and where the switch puts its glyph and caption:
// display-free, so the placement rules are checked without a screen.

#include "platform/gui/GraphicsTypes.h"

enum TShadowPosition { spLeftTop, spLeftBottom, spRightBottom, spRightTop };

// How far the shadow lies from the text.
TPoint ShadowOffset(TShadowPosition Position, int Size);

enum TTextPos { tpNone, tpLeft, tpRight, tpAbove, tpBelow };

struct TSwitchPlacement {
    TPoint Glyph;   // top-left of the glyph
    TRect Caption;  // the area left for the caption; empty for tpNone
};

// tpNone centres the glyph; otherwise the glyph sits at the edge opposite the caption, centred
// along that edge, and the caption takes the rest of the client area.
TSwitchPlacement SwitchPlacement(TTextPos Position, const TRect& Client, TSize Glyph);
