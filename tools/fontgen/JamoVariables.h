#pragma once
// The jamo glyphs of a combination font as the fit sees them: one numbered variable each (the
// initial sets, then the medial, then the final ones, in the file's order), and the two or three
// of them that draw each syllable.

#include <cstddef>
#include <vector>

#include "terminal/fonts/JohabRules.h"
#include "tools/fontgen/Glyph16.h"

namespace jamo {

constexpr int MedialBase = 8 * 20;
constexpr int FinalBase = MedialBase + 4 * 22;
constexpr int VariableCount = FinalBase + 4 * 28;

struct TUse {
    int Var[3];
    int Count;
};

// The glyphs that draw syllable n (syllable-block order).
inline TUse UseOf(int n)
{
    const johab::TJamoChoice j = johab::ChooseJamo(johab::SyllableToJohab(n));
    TUse u{{j.InitialSet * 20 + j.Initial, MedialBase + j.MedialSet * 22 + j.Medial, 0}, 2};
    if (j.Final != 0)
        u.Var[u.Count++] = FinalBase + j.FinalSet * 28 + j.Final;
    return u;
}

// 0 initial, 1 medial, 2 final; and the glyph's number within its set.
inline int PartOf(int var) { return var < MedialBase ? 0 : var < FinalBase ? 1 : 2; }
inline int GlyphNumberOf(int var)
{
    return var < MedialBase ? var % 20 : var < FinalBase ? (var - MedialBase) % 22 : (var - FinalBase) % 28;
}
// The letter a glyph draws, whatever its set: its part * 32 + its glyph number.
inline int LetterOf(int var) { return PartOf(var) * 32 + GlyphNumberOf(var); }

// A syllable as the jamo glyphs draw it; glyph `v`, when given, replaced by `instead`.
inline TGlyph16 Drawn(const std::vector<TGlyph16>& glyphs, const TUse& u, int v = -1, const TGlyph16* instead = nullptr)
{
    TGlyph16 g;
    for (int k = 0; k < u.Count; ++k) {
        const TGlyph16& part = u.Var[k] == v ? *instead : glyphs[static_cast<size_t>(u.Var[k])];
        for (size_t r = 0; r < 16; ++r)
            g.Rows[r] = static_cast<uint16_t>(g.Rows[r] | part.Rows[r]);
    }
    return g;
}

}  // namespace jamo
