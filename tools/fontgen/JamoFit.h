#pragma once
// Decomposes a font's 11172 Hangul syllables into the jamo glyph sets of a Hangul combination font
// (8 initial sets of 20, 4 medial sets of 22, 4 final sets of 28, glyph 0 of each empty). A face
// the scheme can compose is reproduced exactly. A face drawn from letters by another scheme
// (Unifont) gets its letters, whole and clean, placed for a reader (CleanFit.h). Of a face that
// draws only the KS X 1001 syllables, each one drawn on its own, every jamo pixel is fitted to
// leave the fewest wrong pixels.

#include <array>
#include <optional>
#include <vector>

#include "tools/fontgen/Glyph16.h"

struct TJamoFont {
    std::array<std::array<TGlyph16, 20>, 8> Initial{};
    std::array<std::array<TGlyph16, 22>, 4> Medial{};
    std::array<std::array<TGlyph16, 28>, 4> Final{};

    // The union of the three jamo glyphs that draw syllable n (0-based, syllable-block order).
    TGlyph16 Compose(int n) const;
    // The font in the 11520-byte file layout (ink bits set).
    std::vector<uint8_t> FileBytes() const;
};

// syllables[n] is the source glyph of syllable n; there must be 11172 of them. The frequency
// ranks (SyllableFrequency.h), when given, weigh what a reader meets most.
TJamoFont FitJamo(const std::vector<TGlyph16>& syllables, const std::vector<int>& frequencyRanks = {});
// The same for a font that draws only some of the syllables (a KS X 1001 font has 2350): the
// others are composed from the jamo its syllables give. A jamo glyph that none of them uses is
// taken from the same jamo in the set whose glyph most syllables use.
TJamoFont FitJamo(const std::vector<std::optional<TGlyph16>>& syllables, const std::vector<int>& frequencyRanks = {});

// How many syllables the font composes exactly as in the source (of those the source has).
int CountExact(const TJamoFont& font, const std::vector<TGlyph16>& syllables);
int CountExact(const TJamoFont& font, const std::vector<std::optional<TGlyph16>>& syllables);
