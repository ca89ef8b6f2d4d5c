#pragma once
// Each syllable of a face drawn from letters (Unifont) cut back into its three letters: the
// initial consonant, the vowel and the final consonant, as that syllable draws them. The vowel
// and final are what all syllables with that vowel and final share whatever their initial, cut
// apart where the final begins; beside ㄱ and ㅋ, which move some vowels, what those two share.
// A cut that comes out broken (a stroke shared with a neighbour taken by it) is replaced by the
// same letter whole as another syllable draws it, where the syllable holds it.

#include <vector>

#include "tools/fontgen/Glyph16.h"

struct TLetters {
    TGlyph16 Part[3];  // initial, vowel, final (empty without one)
};

// One per syllable (syllable-block order); the source must draw all 11172.
std::vector<TLetters> CutLetters(const std::vector<TGlyph16>& syllables);

// A whole letter: not empty, no specks, and its letter's loops (GlyphShape.h's numbering).
bool IsWholeLetter(int part, int glyph, const TGlyph16& g);
