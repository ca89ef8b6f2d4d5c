#pragma once
// The bitmap-font text of the screen image, written eight pixels at a time. It draws exactly what
// THanBitFont::NewHTextOut draws (the same glyph choice, ink in the font colour, every other pixel
// in the back colour), but a glyph row goes into the image as whole words instead of pixel by
// pixel, which is what keeps the decoder fast with drawing on. Cells that cross the image's edge
// or clip, and Hanja (drawn by the system font), go through the renderer itself.

#include <cstdint>
#include <string_view>

#include "platform/gui/FrameBuffer.h"
#include "terminal/fonts/HanBitFont.h"

// Draws S with the top-left corner of its first cell at (X, Y) in palette indexes fg on bg.
// `renderer` draws into `fb` and handles what cannot be written directly; its colours are left
// set to fg and bg.
void WriteBitmapText(TFrameBuffer& fb, THanBitFont& renderer, int X, int Y, std::string_view S, uint8_t fg,
                     uint8_t bg);
