#pragma once
// The geometry of the scrolling credits panel: where its picture and text go inside the bevels,
// how far a run scrolls, and which line lands where at each scroll step. Display-free: the panel
// (controls/lib/SecretPanel) measures with its font and draws what these routines place.

#include <vector>

#include "platform/core/Strings.h"
#include "platform/gui/GraphicsTypes.h"

enum TGlyphLayout { glGlyphLeft, glGlyphRight, glGlyphTop, glGlyphBottom };
enum TScrollDirection { sdVertical, sdHorizontal };

// The first line that is not blank after trimming (Count when all are), and the last one (-1).
int FirstTextLine(const TStrings& Lines);
int LastTextLine(const TStrings& Lines);

struct TSecretPanelGeometry {
    TRect PaintRect;  // inside the bevels
    TRect TextRect;   // where the lines scroll; (0, 0, 0, 0) when nothing fits
    TPoint GlyphOrigin;
};

// Inflate is the bevels' and border's width; Glyph the picture's size ((0, 0) without one).
// Sideways, BlockHeight is the height of the lines from the first to the last that is not blank,
// centred in a taller text rectangle; below 0 there is no such line.
TSecretPanelGeometry SecretPanelGeometry(const TRect& Client, int Inflate, TSize Glyph, TGlyphLayout Layout,
                                         bool Sideways, int BlockHeight);

// One line a scroll step draws: Index is a line's number, or the line count for the blank that
// follows the last line.
struct TSecretLine {
    int Index;
    TRect Rect;  // in the text rectangle's coordinates
};

struct TSecretScroll {
    int FirstLine = 0;
    int LineCount = 0;
    int LineStep = 1;
    TSize Text;  // the text rectangle's size
    int Scrolled = 0;
    int Length = 0;  // the scroll length
    bool Sideways = false;
    bool RightToLeft = false;
};

// The lines drawn after Scrolled pixels, top to bottom; lines wholly above the rectangle are
// left out and the list stops at its bottom.
std::vector<TSecretLine> SecretPanelLines(const TSecretScroll& S);
