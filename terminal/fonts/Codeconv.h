#pragma once
// Wansung (cp949) to Johab conversion for the bitmap-font renderer. A code is one 16-bit word,
// lead byte high, trail byte low; conversion is in place.

#include <cstdint>

// The Johab value of a cp949 cell that has no character: it composes to the empty glyphs, so an
// unassigned cell draws as a blank cell.
constexpr uint16_t BlankJohabCode = 0x8441;

// Converts a KS X 1001 cell or a cp949 extension syllable to its Johab code; any other code is
// left unchanged.
void Convert_CodeW2J(uint16_t& Code);

// The extension-area half of Convert_CodeW2J: converts a cp949 extension syllable and returns
// true, or leaves Code alone and returns false.
bool Convert_ExtCodeW2J(uint16_t& Code);

// Position of a cp949 extension syllable in code order (0..8821), or -1 for any other code.
int ExtensionIndex(uint16_t Code);
