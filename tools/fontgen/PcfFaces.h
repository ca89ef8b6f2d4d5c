#pragma once
// Fonts made from one installed PCF face: the syllables of a KS X 1001 face, to fit a Hangul
// combination font to, and the ASCII glyphs of a fixed-width face as an English font.

#include <cstdint>
#include <optional>
#include <vector>

#include "tools/fontgen/Glyph16.h"
#include "tools/fontgen/PcfFont.h"

// The KS X 1001 code of syllable n (syllable-block order) with both bytes in 0x21..0x7E, as a
// KS X 1001 face encodes it; 0 for the syllables KS X 1001 lacks (it has 2350).
uint16_t KsCode(int n);

// The face's glyph of every Hangul syllable (syllable-block order) that KS X 1001 encodes (2350
// of them), nothing for the others.
std::vector<std::optional<TGlyph16>> KsSyllables(const TPcfFont& face);

// The ASCII glyphs (0x20..0x7E) of a fixed-width face in the .eng layout (256 glyphs of 8 x 16, a
// byte a row), its cell centred in the 16 rows; the other glyphs blank. Throws
// std::runtime_error for a face that does not fit 8 x 16 or lacks a letter or digit.
std::vector<uint8_t> EnglishFontBytes(const TPcfFont& face);
