// Glyph composition into the framebuffer: which glyph each kind of character takes, the jamo sets
// of a syllable, colours, and the fill and line primitives.
#include <gtest/gtest.h>

#include <vector>

#include "FontTestFiles.h"
#include "terminal/fonts/GlyphTables.h"
#include "terminal/fonts/HanBitFont.h"

using namespace fonttest;

namespace {

constexpr uint8_t Ink = 15, Back = 4, Untouched = 7;

class HanBitFontTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LoadHanFont(Dir.Write("t.han", HanFont(false)));
        LoadEngFont(Dir.Write("t.eng", TaggedGlyphs(256, 16)));
        LoadSpcFont(Dir.Write("t.spc", TaggedGlyphs(128, 32)));
        LoadKsgFont(Dir.Write("t.ksg", TaggedGlyphs(1128, 32)));
        Font.SetFontNibble(Ink);
        Font.SetBackNibble(Back);
    }

    // The ink of `width` pixels of row y from x, leftmost pixel in the highest bit. Every pixel
    // must be ink or background: a drawn cell is opaque.
    unsigned Bits(int x, int y, int width)
    {
        unsigned bits = 0;
        for (int i = 0; i < width; ++i) {
            const uint8_t p = Screen.Pixel(x + i, y);
            EXPECT_TRUE(p == Ink || p == Back) << "pixel " << x + i << "," << y << " is " << int(p);
            bits = bits << 1 | (p == Ink);
        }
        return bits;
    }
    bool Untouched16(int x, int y)
    {
        for (int r = 0; r < 16; ++r)
            for (int c = 0; c < 16; ++c)
                if (Screen.Pixel(x + c, y + r) != Untouched)
                    return false;
        return true;
    }
    // The set and glyph number a jamo tag row shows; {-1, 0} when the row is blank.
    std::pair<int, int> Jamo(int x, int y, int row)
    {
        const unsigned bits = Bits(x, y + row, 16);
        if (bits == 0)
            return {-1, 0};
        return {static_cast<int>(bits >> 8 & 0x7F), static_cast<int>(bits & 0xFF)};
    }

    TTempDir Dir;
    TFrameBuffer Screen{200, 40, Untouched};
    THanBitFont Font{&Screen};
};

using P = std::pair<int, int>;

}  // namespace

TEST_F(HanBitFontTest, AsciiTakesTheEnglishGlyphAndAdvancesEightPixels)
{
    Font.NewHTextOut(3, 2, "Az");
    EXPECT_EQ(Bits(3, 3, 8), unsigned('A'));   // the tag row of the English glyph
    EXPECT_EQ(Bits(11, 3, 8), unsigned('z'));
    EXPECT_EQ(Bits(3, 2 + 15, 8), 0x5Au + 15);  // its last row
    EXPECT_EQ(Screen.Pixel(19, 3), Untouched);
    EXPECT_EQ(Screen.Pixel(3, 1), Untouched);
}

TEST_F(HanBitFontTest, SyllableWithoutFinalUsesThePlainSetsAndNoFinalGlyph)
{
    Font.NewHTextOut(0, 0, "\xb0\xa1");  // 가: ㄱ + ㅏ
    EXPECT_EQ(Jamo(0, 0, InitialTagRow), P(0, 1));
    EXPECT_EQ(Jamo(0, 0, MedialTagRow), P(0, 1));
    EXPECT_EQ(Jamo(0, 0, FinalTagRow), P(-1, 0));
}

TEST_F(HanBitFontTest, SyllableWithFinalUsesTheFinalSets)
{
    Font.NewHTextOut(0, 0, "\xb0\xa2");  // 각: ㄱ + ㅏ + ㄱ
    EXPECT_EQ(Jamo(0, 0, InitialTagRow), P(5, 1));
    EXPECT_EQ(Jamo(0, 0, MedialTagRow), P(2, 1));
    EXPECT_EQ(Jamo(0, 0, FinalTagRow), P(0, 1));
}

TEST_F(HanBitFontTest, SetsFollowVowelShapeAndInitial)
{
    // 구 (ㅜ under the consonant), 뫄 (ㅘ, a compound vowel), 똠 (an extension syllable:
    // ㄸ + ㅗ + ㅁ), 힝 and 쾌.
    Font.NewHTextOut(0, 0, "\xb1\xb8\xb8\xfa\x8c\x63\xc8\xfe\xc4\xe8");
    EXPECT_EQ(Jamo(0, 0, InitialTagRow), P(2, 1));
    EXPECT_EQ(Jamo(0, 0, MedialTagRow), P(0, 14));
    EXPECT_EQ(Jamo(16, 0, InitialTagRow), P(3, 7));
    EXPECT_EQ(Jamo(16, 0, MedialTagRow), P(1, 10));
    EXPECT_EQ(Jamo(32, 0, InitialTagRow), P(6, 5));
    EXPECT_EQ(Jamo(32, 0, MedialTagRow), P(3, 9));
    EXPECT_EQ(Jamo(32, 0, FinalTagRow), P(3, 16));
    EXPECT_EQ(Jamo(48, 0, InitialTagRow), P(5, 19));
    EXPECT_EQ(Jamo(48, 0, MedialTagRow), P(3, 21));
    EXPECT_EQ(Jamo(48, 0, FinalTagRow), P(1, 21));
    EXPECT_EQ(Jamo(64, 0, InitialTagRow), P(3, 16));
    EXPECT_EQ(Jamo(64, 0, MedialTagRow), P(0, 11));
    EXPECT_EQ(Jamo(64, 0, FinalTagRow), P(-1, 0));
}

TEST_F(HanBitFontTest, SymbolsAndCompatibilityJamoTakeSymbolGlyphsByCell)
{
    Font.NewHTextOut(0, 0, "\xa1\xa1\xa4\xa1\xac\xf1\xa1\xef");
    EXPECT_EQ(Bits(0, 0, 16), 0u);
    EXPECT_EQ(Bits(16, 0, 16), 3u * 94);        // row 4, cell 1
    EXPECT_EQ(Bits(32, 0, 16), 11u * 94 + 80);  // the last symbol
    EXPECT_EQ(Bits(48, 0, 16), 0xEFu - 0xA1);   // a cell past 0x7E in the Johab trail
}

TEST_F(HanBitFontTest, SpecialGlyphsForUnconvertedD4Codes)
{
    Font.NewHTextOut(0, 0, "\xd4\x80\xd4\xa0");
    EXPECT_EQ(Bits(0, 0, 16), 0u);
    EXPECT_EQ(Bits(16, 0, 16), 0x20u);
}

TEST_F(HanBitFontTest, SymbolIndexPastTheTableLeavesTheCellUnchanged)
{
    Font.NewHTextOut(0, 0, "\xde\xff" "A");
    EXPECT_TRUE(Untouched16(0, 0));
    EXPECT_EQ(Bits(16, 1, 8), unsigned('A'));
}

// An unconverted code with a low byte below 0x31 gave a negative symbol index and read before
// the table.
TEST_F(HanBitFontTest, SymbolIndexBelowTheTableLeavesTheCellUnchanged)
{
    Font.NewHTextOut(0, 0, AnsiString("\xd9\x20\xd9\x00", 4));
    EXPECT_TRUE(Untouched16(0, 0));
    EXPECT_TRUE(Untouched16(16, 0));
}

// The blank look-up value 0x2020 composed an initial consonant into every unassigned cell.
TEST_F(HanBitFontTest, UnassignedCellDrawsABlankCell)
{
    Font.NewHTextOut(0, 0, "\xad\xa1\xc9\xa1");
    for (int r = 0; r < 16; ++r) {
        EXPECT_EQ(Bits(0, r, 16), 0u);
        EXPECT_EQ(Bits(16, r, 16), 0u);
    }
}

TEST_F(HanBitFontTest, HanjaGoToTheSystemFontDrawerWithTheirOwnBytes)
{
    struct TCall { int X, Y; AnsiString Text; uint8_t Fg, Bg; };
    std::vector<TCall> calls;
    Font.SetHanjaDrawer([&](TFrameBuffer& target, int x, int y, const AnsiString& text, uint8_t fg, uint8_t bg) {
        EXPECT_EQ(&target, &Screen);
        calls.push_back({x, y, text, fg, bg});
    });
    Font.NewHTextOut(5, 3, "a\xca\xa1\xfd\xfe");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].X, 13);
    EXPECT_EQ(calls[0].Y, 3);
    EXPECT_EQ(calls[0].Text, "\xca\xa1");
    EXPECT_EQ(calls[0].Fg, Ink);
    EXPECT_EQ(calls[0].Bg, Back);
    EXPECT_EQ(calls[1].X, 29);
    EXPECT_EQ(calls[1].Text, "\xfd\xfe");
}

TEST_F(HanBitFontTest, HanjaWithoutADrawerShowBlankCells)
{
    Font.NewHTextOut(0, 0, "\xca\xa1");
    for (int r = 0; r < 16; ++r)
        EXPECT_EQ(Bits(0, r, 16), 0u);
}

// A lead byte at the end of a text (cut at the last column) composed a stray consonant from the
// code lead x 256.
TEST_F(HanBitFontTest, LeadByteEndingTheTextLeavesItsColumnBlank)
{
    Font.NewHTextOut(0, 0, "A\xb0");
    for (int r = 0; r < 16; ++r)
        EXPECT_EQ(Bits(8, r, 8), 0u);
    EXPECT_EQ(Screen.Pixel(16, 0), Untouched);
}

TEST_F(HanBitFontTest, EqualFontAndBackColoursDrawSolidCells)
{
    Font.SetFontColor(clRed);
    Font.SetBackColor(clRed);
    Font.NewHTextOut(0, 0, "\xb0\xa2");
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c)
            ASSERT_EQ(Screen.Pixel(c, r), 9);
}

TEST(HanBitFontColours, PaletteRoundTripsAndOtherColoursBecomeBlack)
{
    TFrameBuffer screen(8, 8);
    THanBitFont font(&screen);
    for (int i = 0; i < 16; ++i) {
        font.SetFontColor(NibbleToColor(i));
        EXPECT_EQ(font.FontNibble(), i);
        EXPECT_EQ(font.GetFontColor(), NibbleToColor(i));
    }
    EXPECT_EQ(NibbleToColor(3), clOlive);
    EXPECT_EQ(NibbleToColor(4), clNavy);
    EXPECT_EQ(NibbleToColor(16), clBlack);
    EXPECT_EQ(NibbleToColor(-1), clBlack);
    font.SetBackColor(0x123456);
    EXPECT_EQ(font.BackNibble(), 0);
    EXPECT_EQ(font.GetBackColor(), clBlack);
    font.SetBackColor(clWhite);
    EXPECT_EQ(font.BackNibble(), 15);
}

TEST_F(HanBitFontTest, FillLineFillsWholeRowsWithTheBackColour)
{
    Font.NewFillLine(2, 5);
    for (int y = 0; y < 8; ++y)
        for (int x : {0, 100, 199})
            EXPECT_EQ(Screen.Pixel(x, y), y >= 2 && y < 5 ? Back : Untouched) << x << "," << y;
    Font.NewFillLine(6, 0);
    EXPECT_EQ(Screen.Pixel(0, 6), Untouched);
}

TEST_F(HanBitFontTest, HorzLineSetsTheFontColourFromX1ToBeforeX2)
{
    Font.NewHorzLineTo(4, 10, 3);
    EXPECT_EQ(Screen.Pixel(3, 3), Untouched);
    EXPECT_EQ(Screen.Pixel(4, 3), Ink);
    EXPECT_EQ(Screen.Pixel(9, 3), Ink);
    EXPECT_EQ(Screen.Pixel(10, 3), Untouched);
    EXPECT_EQ(Screen.Pixel(4, 2), Untouched);
}

TEST_F(HanBitFontTest, TextPastTheEdgesIsClipped)
{
    Font.NewHTextOut(-4, -8, "\xb0\xa1" "A");
    Font.NewHTextOut(190, 30, "\xb0\xa1\xb0\xa1");
    EXPECT_EQ(Screen.Pixel(199, 39), Back);
}

TEST_F(HanBitFontTest, LoadingAFontChangesEveryRenderer)
{
    TFrameBuffer other(16, 16, Untouched);
    THanBitFont second(&other);
    second.SetFontNibble(Ink);
    second.SetBackNibble(Back);
    LoadHanFont(Dir.Write("v.han", HanFont(false, 40)));
    Font.NewHTextOut(0, 0, "\xb0\xa1");
    second.NewHTextOut(0, 0, "\xb0\xa1");
    EXPECT_EQ(Jamo(0, 0, InitialTagRow), P(0, 41));
    unsigned bits = 0;
    for (int c = 0; c < 16; ++c)
        bits = bits << 1 | (other.Pixel(c, InitialTagRow) == Ink);
    EXPECT_EQ(bits, 0x8000u | 41);
}

TEST(HanBitFontOutput, NoOutputDrawsNothing)
{
    THanBitFont font(nullptr);
    font.NewHTextOut(0, 0, "A\xb0\xa1");
    font.NewFillLine(0, 4);
    font.NewHorzLineTo(0, 4, 0);
    TFrameBuffer screen(8, 16, Untouched);
    font.SetOutPutBmp(&screen);
    font.NewHTextOut(0, 0, "A");
    EXPECT_NE(screen.Pixel(0, 0), Untouched);
}
