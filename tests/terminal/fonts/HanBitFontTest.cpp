// Glyph composition into the framebuffer: which glyph each kind of character takes, the jamo sets
// of a syllable, colours, and the fill and line primitives.
#include <gtest/gtest.h>

#include <array>
#include <tuple>
#include <vector>

#include "FontTestFiles.h"
#include "terminal/fonts/GlyphTables.h"
#include "terminal/fonts/HanBitFont.h"

// The file's own namespace keeps the using-directive out of the test files compiled with it.
namespace han_bit_font_test {

using namespace fonttest;

namespace {

constexpr uint8_t Ink = 15, Back = 4, Untouched = 7;
using P = std::pair<int, int>;
const P Skip{-2, -2};

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
    // Whether the `width` columns from x are drawn and blank on all 16 rows.
    void ExpectBlank(int x, int width)
    {
        for (int r = 0; r < 16; ++r)
            EXPECT_EQ(Bits(x, r, width), 0u) << "column " << x << " row " << r;
    }
    // The set and glyph number a jamo tag row shows; {-1, 0} when the row is blank.
    P Jamo(int x, int row)
    {
        const unsigned bits = Bits(x, row, 16);
        return bits == 0 ? P(-1, 0) : P(static_cast<int>(bits >> 8 & 0x7F), static_cast<int>(bits & 0xFF));
    }

    TTempDir Dir;
    TFrameBuffer Screen{200, 40, Untouched};
    THanBitFont Font{&Screen};
};

}  // namespace

TEST_F(HanBitFontTest, AsciiTakesTheEnglishGlyphAndAdvancesEightPixels)
{
    Font.NewHTextOut(3, 2, "Az");
    EXPECT_EQ(Bits(3, 3, 8), unsigned('A'));  // the tag row of the English glyph
    EXPECT_EQ(Bits(11, 3, 8), unsigned('z'));
    EXPECT_EQ(Bits(3, 2 + 15, 8), 0x5Au + 15);  // its last row
    EXPECT_EQ(Screen.Pixel(19, 3), Untouched);
}

TEST_F(HanBitFontTest, SyllableSetsFollowTheFinalVowelShapeAndInitial)
{
    // 가 (ㄱ + ㅏ: plain sets, no final glyph), 각 (with a final: the final sets), 구 (ㅜ under
    // the consonant), 뫄 (ㅘ, a compound vowel), 똠 (an extension syllable: ㄸ + ㅗ + ㅁ), 힝, 쾌.
    Font.NewHTextOut(0, 0, "\xb0\xa1\xb0\xa2\xb1\xb8\xb8\xfa\x8c\x63\xc8\xfe\xc4\xe8");
    const std::array<P, 3> cells[] = {{P(0, 1), P(0, 1), P(-1, 0)},  {P(5, 1), P(2, 1), P(0, 1)},
                                      {P(2, 1), P(0, 14), Skip},     {P(3, 7), P(1, 10), Skip},
                                      {P(6, 5), P(3, 9), P(3, 16)},  {P(5, 19), P(3, 21), P(1, 21)},
                                      {P(3, 16), P(0, 11), P(-1, 0)}};
    const int rows[] = {InitialTagRow, MedialTagRow, FinalTagRow};
    for (int c = 0; c < 7; ++c)
        for (int k = 0; k < 3; ++k)
            if (cells[c][k] != Skip) {
                EXPECT_EQ(Jamo(16 * c, rows[k]), cells[c][k]) << "cell " << c << " part " << k;
            }
}

TEST_F(HanBitFontTest, SymbolsCompatibilityJamoAndD4CodesTakeSymbolGlyphsByCell)
{
    // Row 4 cell 1; the last symbol; a cell past 0x7E in the Johab trail; unconverted D4 codes
    // take the special glyphs.
    Font.NewHTextOut(0, 0, "\xa1\xa1\xa4\xa1\xac\xf1\xa1\xef\xd4\x80\xd4\xa0");
    const unsigned tags[] = {0, 3 * 94, 11 * 94 + 80, 0xEF - 0xA1, 0, 0x20};
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(Bits(16 * c, 0, 16), tags[c]) << "cell " << c;
}

// An unconverted code with a low byte below 0x31 gave a negative symbol index and read before
// the table; past the table likewise the cell is left unchanged.
TEST_F(HanBitFontTest, SymbolIndexOutsideTheTableLeavesTheCellUnchanged)
{
    Font.NewHTextOut(0, 0,
                     "\xde\xff"
                     "A");
    EXPECT_TRUE(Untouched16(0, 0));
    EXPECT_EQ(Bits(16, 1, 8), unsigned('A'));
    Font.NewHTextOut(0, 20, AnsiString("\xd9\x20\xd9\x00", 4));
    EXPECT_TRUE(Untouched16(0, 20));
    EXPECT_TRUE(Untouched16(16, 20));
}

// The blank look-up value 0x2020 composed an initial consonant into every unassigned cell; a
// lead byte at the end of a text (cut at the last column) composed a stray consonant from the
// code lead x 256; Hanja without a drawer show blank cells.
TEST_F(HanBitFontTest, UnassignedCellsLoneLeadBytesAndUndrawnHanjaAreBlank)
{
    Font.NewHTextOut(0, 0,
                     "\xad\xa1\xc9\xa1\xca\xa1"
                     "A\xb0");
    ExpectBlank(0, 48);
    ExpectBlank(56, 8);
    EXPECT_EQ(Screen.Pixel(64, 0), Untouched);
}

TEST_F(HanBitFontTest, HanjaGoToTheSystemFontDrawerWithTheirOwnBytes)
{
    struct TCall {
        int X, Y;
        AnsiString Text;
        uint8_t Fg, Bg;
    };
    std::vector<TCall> calls;
    Font.SetHanjaDrawer([&](TFrameBuffer& target, int x, int y, const AnsiString& text, uint8_t fg, uint8_t bg) {
        EXPECT_EQ(&target, &Screen);
        calls.push_back({x, y, text, fg, bg});
    });
    Font.NewHTextOut(5, 3, "a\xca\xa1\xfd\xfe");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(std::tie(calls[0].X, calls[0].Y, calls[0].Text, calls[0].Fg, calls[0].Bg),
              std::tuple(13, 3, "\xca\xa1", Ink, Back));
    EXPECT_EQ(std::tie(calls[1].X, calls[1].Text), std::tuple(29, "\xfd\xfe"));
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
    }
    EXPECT_EQ(std::tuple(NibbleToColor(3), NibbleToColor(4), NibbleToColor(16), NibbleToColor(-1)),
              std::tuple(clOlive, clNavy, clBlack, clBlack));
    font.SetBackColor(0x123456);
    EXPECT_EQ(std::tuple(font.BackNibble(), font.GetBackColor()), std::tuple(0, clBlack));
}

TEST_F(HanBitFontTest, FillLineAndHorzLine)
{
    // Whole rows from the first to before the second take the back colour.
    Font.NewFillLine(2, 5);
    for (int y = 0; y < 8; ++y)
        for (int x : {0, 100, 199})
            EXPECT_EQ(Screen.Pixel(x, y), y >= 2 && y < 5 ? Back : Untouched) << x << "," << y;
    // The font colour from x1 to before x2.
    Font.NewHorzLineTo(4, 10, 7);
    const std::pair<int, uint8_t> pixels[] = {{3, Untouched}, {4, Ink}, {9, Ink}, {10, Untouched}};
    for (const auto& [x, colour] : pixels)
        EXPECT_EQ(Screen.Pixel(x, 7), colour) << x;
}

TEST_F(HanBitFontTest, TextPastTheEdgesIsClipped)
{
    Font.NewHTextOut(-4, -8,
                     "\xb0\xa1"
                     "A");
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
    EXPECT_EQ(Jamo(0, InitialTagRow), P(0, 41));
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

}  // namespace han_bit_font_test
