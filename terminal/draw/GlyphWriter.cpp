#include "terminal/draw/GlyphWriter.h"

#include <array>
#include <cstring>

#include "terminal/fonts/Codeconv.h"
#include "terminal/fonts/GlyphTables.h"

namespace {

// Each byte of a glyph row as eight pixel masks: 0xFF where the bit is set (leftmost pixel
// first in memory).
const std::array<uint64_t, 256> kExpand = [] {
    std::array<uint64_t, 256> t{};
    for (int b = 0; b < 256; ++b) {
        uint8_t bytes[8];
        for (int i = 0; i < 8; ++i) bytes[i] = (b & (0x80 >> i)) ? 0xFF : 0x00;
        std::memcpy(&t[static_cast<size_t>(b)], bytes, 8);
    }
    return t;
}();

constexpr uint8_t kBlank[32] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

struct TWriter {
    TFrameBuffer& fb;
    TRectI clip;
    uint64_t fgWord, bgWord;
    uint8_t fg, bg;

    // A stored glyph (set bits are background) of `width` 8 or 16 pixels and 16 rows.
    void Glyph(int x, int y, const uint8_t* glyph, int width)
    {
        const int bytes = width / 8;
        if (x < clip.Left || y < clip.Top || int64_t(x) + width > clip.Right || int64_t(y) + 16 > clip.Bottom) {
            fb.BlitBits(x, y, glyph, width, 16, bytes, bg, fg);
            return;
        }
        for (int r = 0; r < 16; ++r) {
            // Only rows inside the clip are written.
            uint8_t* row = fb.MutableRow(y + r) + x;
            for (int k = 0; k < bytes; ++k) {
                const uint64_t mask = kExpand[glyph[r * bytes + k]];
                const uint64_t pixels = (mask & bgWord) | (~mask & fgWord);
                std::memcpy(row + 8 * k, &pixels, 8);
            }
        }
    }
};

}  // namespace

void WriteBitmapText(TFrameBuffer& fb, THanBitFont& renderer, int X, int Y, std::string_view S, uint8_t fg,
                     uint8_t bg)
{
    fg &= 15;
    bg &= 15;
    renderer.SetFontNibble(fg);
    renderer.SetBackNibble(bg);
    TWriter w{fb, fb.ClipBox(), fg * 0x0101010101010101ull, bg * 0x0101010101010101ull, fg, bg};
    const TGlyphTables& tables = GlyphTables();
    size_t i = 0;
    while (i < S.size()) {
        const int x = X + static_cast<int>(i) * 8;
        const uint8_t lead = static_cast<uint8_t>(S[i]);
        if (lead < 128) {
            w.Glyph(x, Y, &tables.English[lead * 16u], 8);
            ++i;
            continue;
        }
        if (i + 1 == S.size()) {
            w.Glyph(x, Y, kBlank, 8);  // half a character: its one column stays blank
            break;
        }
        const uint8_t trail = static_cast<uint8_t>(S[i + 1]);
        uint16_t code = static_cast<uint16_t>(lead << 8 | trail);
        Convert_CodeW2J(code);
        const int hi = code >> 8, lo = code & 0xFF;
        if (hi == 0xD4 && lo >= 0x80) {
            w.Glyph(x, Y, &tables.Special[(lo - 128) * 32u], 16);
        } else if (hi >= 0xD9 && hi <= 0xDE) {
            const int index = (hi - 0xD9) * 188 + (lo < 0x7F ? lo - 0x31 : lo - 0x43);
            if (index >= 0 && index < static_cast<int>(TGlyphTables::SymbolGlyphs))
                w.Glyph(x, Y, &tables.Symbol[static_cast<size_t>(index) * 32], 16);
        } else if (hi >= 0xE0 && hi <= 0xF9) {
            renderer.NewHTextOut(x, Y, AnsiString(S.substr(i, 2)));  // Hanja: the system font
        } else {
            uint8_t glyph[32];
            GetHanFontImage(tables, code, glyph);
            w.Glyph(x, Y, glyph, 16);
        }
        i += 2;
    }
}
