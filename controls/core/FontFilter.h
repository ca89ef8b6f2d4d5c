#pragma once
// Which fonts a font list takes under its options: every option present must hold for the font's
// type bits, character set and pitch.

#include <cstdint>

enum TFontListOption {
    foAnsiOnly,
    foTrueTypeOnly,
    foFixedPitchOnly,
    foNoOEMFonts,
    foOEMFontsOnly,
    foScalableOnly,
    foNoSymbolFonts
};
// Bit n stands for option n.
using TFontListOptions = unsigned;

// FontType: 1 raster, 2 device, 4 TrueType; Charset: 0 ANSI, 2 symbol, 255 OEM; Pitch: bit 1
// fixed.
bool FontPassesOptions(unsigned FontType, uint8_t Charset, uint8_t PitchAndFamily, TFontListOptions Options);
