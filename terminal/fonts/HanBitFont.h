#pragma once
// Draws cp949 text from the program's bitmap fonts into a 16-colour framebuffer: ASCII from the
// English font, Hangul syllables composed from three jamo glyphs, symbols and special characters
// from their fonts. Hanja have no bitmap font; a system-font drawer supplied by the drawing layer
// draws them. Every cell is drawn opaque: ink in the font colour, the rest in the back colour.

#include <cstdint>
#include <functional>

#include "platform/core/AnsiString.h"
#include "platform/core/Colors.h"
#include "platform/gui/FrameBuffer.h"

struct TGlyphTables;

// The 16-colour palette of the screen image, by index; any other index gives black.
TColor NibbleToColor(int Nibble);
// The index of a colour exactly equal to a palette colour; 0 for any other colour.
uint8_t ColorToNibble(TColor Color);

// Draws a two-byte cp949 text with a system font at pixel (X, Y), in the given palette colours,
// with its background painted.
using THanjaDrawer = std::function<void(TFrameBuffer& Target, int X, int Y, const AnsiString& Text, uint8_t FontNibble,
                                        uint8_t BackNibble)>;

// The 16 x 16 glyph (32 bytes, complemented: 0 = ink) of a Johab-coded Hangul syllable.
void GetHanFontImage(const TGlyphTables& Tables, uint16_t Johab, uint8_t Glyph[32]);

class THanBitFont {
public:
    explicit THanBitFont(TFrameBuffer* OutputBitmap);

    // The framebuffer drawn into (not owned); nullptr draws nothing.
    void SetOutPutBmp(TFrameBuffer* Bmp);
    TFrameBuffer* OutPutBmp() const { return FOutput; }

    void SetFontColor(TColor Color);
    void SetBackColor(TColor Color);
    void SetFontNibble(uint8_t N);
    void SetBackNibble(uint8_t N);
    TColor GetFontColor() const { return NibbleToColor(FFontNibble); }
    TColor GetBackColor() const { return NibbleToColor(FBackNibble); }
    uint8_t FontNibble() const { return FFontNibble; }
    uint8_t BackNibble() const { return FBackNibble; }

    void SetHanjaDrawer(THanjaDrawer Drawer) { FHanjaDrawer = std::move(Drawer); }

    // Draws S with the top-left corner of its first cell at pixel (X, Y): 8 pixels for each
    // single-byte character, 16 for each two-byte one.
    void NewHTextOut(int X, int Y, std::string_view S);
    // Fills the whole width of rows Y1 .. Y2 - 1 with the back colour; nothing when Y2 is 0.
    void NewFillLine(int Y1, int Y2);
    // Sets pixels X1 .. X2 - 1 of row Y to the font colour.
    void NewHorzLineTo(int X1, int X2, int Y);

private:
    void Blit(int X, int Y, const uint8_t* Glyph, int Width);
    void HanjaProcess(uint8_t Lead, uint8_t Trail, int Y, int X);

    TFrameBuffer* FOutput = nullptr;
    uint8_t FBackNibble = 0;
    uint8_t FFontNibble = 0;
    THanjaDrawer FHanjaDrawer;
};
