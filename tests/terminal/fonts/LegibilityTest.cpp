// The legibility measure of a Hangul combination font.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "terminal/fonts/JohabRules.h"
#include "tests/terminal/fonts/DrawnGlyph.h"
#include "tools/fontgen/Legibility.h"

namespace {

struct TLetterLoopsRow {
    const char* Name;
    int Part, Glyph, Loops;
    bool Fits;
};

class LetterLoops : public ::testing::TestWithParam<TLetterLoopsRow> {};

TEST_P(LetterLoops, AreTheLettersOwn)
{
    EXPECT_EQ(LetterHasLoops(GetParam().Part, GetParam().Glyph, GetParam().Loops), GetParam().Fits);
}

const TLetterLoopsRow kLetterLoops[] = {
    {"InitialIeungHasOne", 0, 12, 1, true},     {"InitialIeungWithoutItsLoop", 0, 12, 0, false},
    {"InitialSsangbieupHasTwo", 0, 9, 2, true}, {"InitialGiyeokHasNone", 0, 1, 1, false},
    {"VowelAHasNone", 1, 1, 1, false},          {"VowelYaeMayCloseABox", 1, 4, 1, true},
    {"FinalNieunHieuhHasOne", 2, 6, 1, true},   {"FinalSsangsiotHasNone", 2, 20, 1, false},
};
INSTANTIATE_TEST_SUITE_P(Letters, LetterLoops, ::testing::ValuesIn(kLetterLoops),
                         [](const auto& row) { return std::string(row.param.Name); });

// A small made-up face: syllable k of the list gets a glyph with k's bits spread over its rows.
std::vector<std::optional<TGlyph16>> MadeUpFace(int count)
{
    std::vector<std::optional<TGlyph16>> face(johab::SyllableCount);
    for (int k = 0; k < count; ++k) {
        TGlyph16 g;
        for (size_t r = 0; r < 16; ++r)
            g.Rows[r] = static_cast<uint16_t>(((k + 1) * 0x9E37u >> (r % 5)) & 0x7FFE);
        face[static_cast<size_t>(k * 37)] = g;
    }
    return face;
}

std::vector<TGlyph16> AsDrawn(const std::vector<std::optional<TGlyph16>>& face)
{
    std::vector<TGlyph16> drawn;
    for (const auto& g : face)
        drawn.push_back(g.value_or(TGlyph16{}));
    return drawn;
}

TEST(Legibility, AFontDrawingItsSourceIsWhollyLegible)
{
    const auto face = MadeUpFace(40);
    const TLegibility l = MeasureLegibility(AsDrawn(face), face);
    EXPECT_EQ(l.Syllables, 40);
    EXPECT_EQ(std::tuple(l.LegibleRaw, l.LegibleBlurred, l.Misshapen), std::tuple(40, 40, 0));
    EXPECT_TRUE(l.Misread.empty());
}

TEST(Legibility, ASyllableDrawnAsAnotherIsMisreadAsThatOne)
{
    const auto face = MadeUpFace(40);
    std::vector<TGlyph16> drawn = AsDrawn(face);
    drawn[5 * 37] = *face[9 * 37];
    const TLegibility l = MeasureLegibility(drawn, face);
    EXPECT_EQ(std::tuple(l.LegibleRaw, l.LegibleBlurred), std::tuple(39, 39));
    ASSERT_EQ(l.Misread.size(), 1u);
    EXPECT_EQ(l.Misread[0], std::pair(5 * 37, 9 * 37));
}

TEST(Legibility, AOnePixelShiftIsForgivenOnlyWhenBlurred)
{
    // Two glyphs a bar apart: the first drawn one pixel lower reads as the second pixel for
    // pixel, and as itself once both are blurred.
    std::vector<std::optional<TGlyph16>> face(johab::SyllableCount);
    face[0] = Drawn({"..........", "##########", "##########", "", "", "", "##########"});
    face[1] = Drawn({"", "", "", "##########", "##########", "", "##########"});
    std::vector<TGlyph16> drawn = AsDrawn(face);
    drawn[0] = Drawn({"", "", "##########", "##########", "", "", "", "##########"});
    const TLegibility l = MeasureLegibility(drawn, face);
    EXPECT_EQ(l.LegibleRaw, 1);
    EXPECT_EQ(l.LegibleBlurred, 2);
}

TEST(Legibility, EachFaultCountsAndTheCommonSyllablesApart)
{
    std::vector<std::optional<TGlyph16>> face(johab::SyllableCount);
    face[0] = Drawn({".###.", "#...#", "#...#", ".###."});
    face[1] = Drawn({"####", "", "", "", "", "", "", "", "", "", "", "", "....####"});
    face[2] = Drawn({"", "#########", "", "", "#########"});
    face[3] = Drawn({"", "#########", "", "", "#########"});
    std::vector<TGlyph16> drawn = AsDrawn(face);
    drawn[0].Rows[3] = 0x3000;                     // the ring opened at the bottom
    drawn[1].Rows[15] = 0x0001;                    // a speck the source lacks
    drawn[2].Rows[2] = drawn[2].Rows[1];           // a bar drawn twice as thick
    drawn[3].Rows[2] = drawn[3].Rows[3] = 0x0800;  // the bars joined
    std::vector<bool> common(johab::SyllableCount);
    common[0] = common[2] = common[5] = true;
    const TLegibility l = MeasureLegibility(drawn, face, common);
    EXPECT_EQ(std::tuple(l.LoopsDiffer, l.ExtraSpecks, l.Blocks, l.Touching, l.Misshapen), std::tuple(1, 1, 1, 1, 4));
    EXPECT_EQ(std::tuple(l.Common, l.CommonMisshapen), std::tuple(2, 2));
}

}  // namespace
