#pragma once
// Glyphs for the tests of the font generator's measures, drawn as text.

#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "tools/fontgen/Glyph16.h"

// A glyph from rows of '#' and '.', the rest blank; `down` and `right` move it.
inline TGlyph16 Drawn(std::initializer_list<const char*> rows, int down = 0, int right = 0)
{
    TGlyph16 g;
    size_t r = static_cast<size_t>(down);
    for (const char* row : rows) {
        for (int c = 0; row[c] && c + right < 16; ++c)
            if (row[c] == '#')
                g.Rows[r] = static_cast<uint16_t>(g.Rows[r] | 0x8000 >> (c + right));
        ++r;
    }
    return g;
}
