#pragma once
// Set operations on glyphs, pixel by pixel, and moves of a whole glyph.

#include <cstdint>

#include "tools/fontgen/Glyph16.h"

inline TGlyph16 Or(const TGlyph16& a, const TGlyph16& b)
{
    TGlyph16 g;
    for (size_t r = 0; r < 16; ++r)
        g.Rows[r] = a.Rows[r] | b.Rows[r];
    return g;
}

inline TGlyph16 And(const TGlyph16& a, const TGlyph16& b)
{
    TGlyph16 g;
    for (size_t r = 0; r < 16; ++r)
        g.Rows[r] = a.Rows[r] & b.Rows[r];
    return g;
}

inline TGlyph16 Without(const TGlyph16& a, const TGlyph16& b)
{
    TGlyph16 g;
    for (size_t r = 0; r < 16; ++r)
        g.Rows[r] = static_cast<uint16_t>(a.Rows[r] & ~b.Rows[r]);
    return g;
}

// Whether every pixel of `inner` is ink in `outer`.
inline bool Holds(const TGlyph16& outer, const TGlyph16& inner) { return Without(inner, outer) == TGlyph16{}; }

inline int Ink(const TGlyph16& g)
{
    int n = 0;
    for (uint16_t row : g.Rows)
        n += __builtin_popcount(row);
    return n;
}

// The glyph moved down and right (up and left for negative steps); what leaves the cell is lost.
inline TGlyph16 Shifted(const TGlyph16& g, int down, int right)
{
    TGlyph16 out;
    for (int r = 0; r < 16; ++r) {
        const int from = r - down;
        if (from < 0 || from > 15)
            continue;
        const uint16_t row = g.Rows[static_cast<size_t>(from)];
        out.Rows[static_cast<size_t>(r)] = static_cast<uint16_t>(right >= 0 ? row >> right : row << -right);
    }
    return out;
}

// The glyph grown by a pixel each way, corners included.
inline TGlyph16 Grown(const TGlyph16& g)
{
    TGlyph16 out;
    for (size_t r = 0; r < 16; ++r) {
        uint16_t near = g.Rows[r];
        if (r > 0)
            near |= g.Rows[r - 1];
        if (r < 15)
            near |= g.Rows[r + 1];
        out.Rows[r] = static_cast<uint16_t>(near | near << 1 | near >> 1);
    }
    return out;
}

// The ink at (r, c); outside the cell none.
inline bool Ink(const TGlyph16& g, int r, int c)
{
    return r >= 0 && r < 16 && c >= 0 && c < 16 && (g.Rows[static_cast<size_t>(r)] >> (15 - c) & 1);
}

inline void Put(TGlyph16& g, int r, int c, bool ink)
{
    const uint16_t bit = static_cast<uint16_t>(0x8000 >> c);
    uint16_t& row = g.Rows[static_cast<size_t>(r)];
    row = static_cast<uint16_t>(ink ? row | bit : row & ~bit);
}
