#include "terminal/fonts/HanBitFont.h"

#include "terminal/fonts/Codeconv.h"
#include "terminal/fonts/GlyphTables.h"
#include "terminal/fonts/JohabRules.h"

namespace {

// The screen image's palette order; an index and 15 minus it are inverse colours.
constexpr TColor Palette[16] = {
    clBlack,  clMaroon, clGreen, clOlive,  clNavy, clPurple,  clTeal, clGray,
    clSilver, clRed,    clLime,  clYellow, clBlue, clFuchsia, clAqua, clWhite,
};

constexpr uint8_t BlankGlyph[32] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

}  // namespace

TColor NibbleToColor(int Nibble) { return Nibble >= 0 && Nibble < 16 ? Palette[Nibble] : 0; }

uint8_t ColorToNibble(TColor Color)
{
    for (uint8_t i = 0; i < 16; ++i)
        if (Palette[i] == Color)
            return i;
    return 0;
}

void GetHanFontImage(const TGlyphTables& Tables, uint16_t Johab, uint8_t Glyph[32])
{
    const johab::TJamoChoice j = johab::ChooseJamo(Johab);
    const uint8_t* initial = &Tables.Initial[static_cast<size_t>(j.InitialSet * johab::InitialGlyphs + j.Initial) * 32];
    const uint8_t* medial = &Tables.Medial[static_cast<size_t>(j.MedialSet * johab::MedialGlyphs + j.Medial) * 32];
    const uint8_t* final = &Tables.Final[static_cast<size_t>(j.FinalSet * johab::FinalGlyphs + j.Final) * 32];
    // Ink is 0 in the stored glyphs, so the union of the three jamo is the AND of their bits.
    for (int i = 0; i < 32; ++i)
        Glyph[i] = initial[i] & medial[i] & final[i];
}

THanBitFont::THanBitFont(TFrameBuffer* OutputBitmap) { SetOutPutBmp(OutputBitmap); }

void THanBitFont::SetOutPutBmp(TFrameBuffer* Bmp) { FOutput = Bmp; }

void THanBitFont::SetFontColor(TColor Color) { FFontNibble = ColorToNibble(Color); }
void THanBitFont::SetBackColor(TColor Color) { FBackNibble = ColorToNibble(Color); }
void THanBitFont::SetFontNibble(uint8_t N) { FFontNibble = N & 15; }
void THanBitFont::SetBackNibble(uint8_t N) { FBackNibble = N & 15; }

void THanBitFont::Blit(int X, int Y, const uint8_t* Glyph, int Width)
{
    // Stored set bits are background, clear bits ink.
    FOutput->BlitBits(X, Y, Glyph, Width, 16, Width / 8, FBackNibble, FFontNibble);
}

void THanBitFont::HanjaProcess(uint8_t Lead, uint8_t Trail, int Y, int X)
{
    if (FHanjaDrawer) {
        const char text[2] = {static_cast<char>(Lead), static_cast<char>(Trail)};
        FHanjaDrawer(*FOutput, X, Y, AnsiString(text, 2), FFontNibble, FBackNibble);
    } else {
        Blit(X, Y, BlankGlyph, 16);
    }
}

void THanBitFont::NewHTextOut(int X, int Y, std::string_view S)
{
    if (!FOutput)
        return;
    const TGlyphTables& tables = GlyphTables();
    size_t i = 0;
    while (i < S.size()) {
        const int x = X + static_cast<int>(i) * 8;
        const uint8_t lead = static_cast<uint8_t>(S[i]);
        if (lead < 128) {
            Blit(x, Y, &tables.English[lead * 16u], 8);
            ++i;
            continue;
        }
        if (i + 1 == S.size()) {
            // Half a character (a text cut at the last column): its one column stays blank.
            Blit(x, Y, BlankGlyph, 8);
            break;
        }
        const uint8_t trail = static_cast<uint8_t>(S[i + 1]);
        uint16_t code = static_cast<uint16_t>(lead << 8 | trail);
        Convert_CodeW2J(code);
        const int hi = code >> 8, lo = code & 0xFF;
        if (hi == 0xD4 && lo >= 0x80) {
            Blit(x, Y, &tables.Special[(lo - 128) * 32u], 16);
        } else if (hi >= 0xD9 && hi <= 0xDE) {
            // A code left unconverted may carry any low byte; only real symbol slots are drawn.
            const int index = (hi - 0xD9) * 188 + (lo < 0x7F ? lo - 0x31 : lo - 0x43);
            if (index >= 0 && index < static_cast<int>(TGlyphTables::SymbolGlyphs))
                Blit(x, Y, &tables.Symbol[static_cast<size_t>(index) * 32], 16);
        } else if (hi >= 0xE0 && hi <= 0xF9) {
            HanjaProcess(lead, trail, Y, x);
        } else {
            uint8_t glyph[32];
            GetHanFontImage(tables, code, glyph);
            Blit(x, Y, glyph, 16);
        }
        i += 2;
    }
}

void THanBitFont::NewFillLine(int Y1, int Y2)
{
    if (!FOutput || Y2 == 0)
        return;
    FOutput->FillRect({0, Y1, FOutput->Width(), Y2}, FBackNibble);
}

void THanBitFont::NewHorzLineTo(int X1, int X2, int Y)
{
    if (!FOutput)
        return;
    FOutput->FillRect({X1, Y, X2, Y + 1}, FFontNibble);
}
