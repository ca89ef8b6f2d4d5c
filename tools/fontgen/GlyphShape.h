#pragma once
// What a reader takes in of a glyph at a glance, and the faults a drawn syllable may have that
// its source glyph lacks. A loop is a region of background, joined edge to edge, that does not
// reach the cell's edge (so a diagonal step of ink closes it); a piece is a run of ink joined
// edge to edge or corner to corner; a speck is a piece of at most three pixels; a block is a
// 2 x 2 square of ink, which one-pixel strokes never make except where they cross or turn.

#include <array>
#include <cstdint>
#include <vector>

#include "tools/fontgen/Glyph16.h"

struct TGlyphShape {
    int Loops = 0;
    int Specks = 0;
    int Pieces = 0;
    // Bit 15 - c of row r: a block with its top left corner at (r, c).
    std::array<uint16_t, 16> Blocks{};
};

TGlyphShape ShapeOf(const TGlyph16& glyph);

// Faults of a drawn syllable against its source glyph, as bits.
enum TShapeFault : int {
    sfLoops = 1,     // another number of loops
    sfSpecks = 2,    // more specks
    sfBlock = 4,     // a block where the source has none within a pixel: a smear, not the
                     // source's own corner drawn a pixel off
    sfTouching = 8,  // fewer pieces: letters drawn apart in the source touch
};
int ShapeFaults(const TGlyphShape& drawn, const TGlyphShape& source);

// The separate pieces of a glyph's ink, top to bottom.
std::vector<TGlyph16> PiecesOf(const TGlyph16& glyph);

int CountLoops(const TGlyph16& glyph);
int CountSpecks(const TGlyph16& glyph);

// Whether a jamo glyph with that many loops has its letter's: part 0 initial, 1 medial, 2 final;
// glyph numbers as in the glyph tables (0 is empty).
bool LetterHasLoops(int part, int glyph, int loops);
