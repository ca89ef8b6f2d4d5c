// Reshaping jamo glyphs for what a reader sees.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "terminal/fonts/JohabRules.h"
#include "tools/fontgen/Legibility.h"
#include "tools/fontgen/ReaderFit.h"

namespace {

TGlyph16 Bars(std::initializer_list<std::pair<int, uint16_t>> rows)
{
    TGlyph16 g;
    for (const auto& [row, ink] : rows)
        g.Rows[static_cast<size_t>(row)] = ink;
    return g;
}

// ㄱ and ㄴ as corners, ㅏ as a stem with its tick; 가 and 나 are the syllables read.
const TGlyph16 Giyeok = Bars({{2, 0x3F80}, {3, 0x0080}, {4, 0x0080}, {5, 0x0080}, {6, 0x0080}, {7, 0x0080}});
const TGlyph16 Nieun = Bars({{2, 0x2000}, {3, 0x2000}, {4, 0x2000}, {5, 0x2000}, {6, 0x2000}, {7, 0x3F80}});
const TGlyph16 A = Bars({{1, 0x0008}, {2, 0x0008}, {3, 0x0008}, {4, 0x000E}, {5, 0x0008}, {6, 0x0008}, {7, 0x0008}});
constexpr int Ga = 0xAC00 - johab::FirstSyllable, Na = 0xB098 - johab::FirstSyllable;

struct TTinyFont {
    std::vector<jamo::TUse> Uses;
    std::vector<std::optional<TGlyph16>> Source = std::vector<std::optional<TGlyph16>>(johab::SyllableCount);
    std::vector<bool> Read = std::vector<bool>(johab::SyllableCount);
    std::vector<TGlyph16> Glyphs = std::vector<TGlyph16>(jamo::VariableCount);
    std::vector<TGlyph16> Allowed = std::vector<TGlyph16>(jamo::VariableCount);
    std::vector<std::vector<TGlyph16>> Cuts = std::vector<std::vector<TGlyph16>>(jamo::VariableCount);

    TTinyFont()
    {
        for (int n = 0; n < johab::SyllableCount; ++n)
            Uses.push_back(jamo::UseOf(n));
        for (int n : {Ga, Na}) {
            const jamo::TUse& u = Uses[static_cast<size_t>(n)];
            const TGlyph16& initial = n == Ga ? Giyeok : Nieun;
            TGlyph16 s;
            for (size_t r = 0; r < 16; ++r)
                s.Rows[r] = static_cast<uint16_t>(initial.Rows[r] | A.Rows[r]);
            Source[static_cast<size_t>(n)] = s;
            Read[static_cast<size_t>(n)] = true;
            Glyphs[static_cast<size_t>(u.Var[0])] = Giyeok;  // ㄴ too: 나 is drawn as 가
            Glyphs[static_cast<size_t>(u.Var[1])] = A;
            Allowed[static_cast<size_t>(u.Var[0])] = initial;
            Allowed[static_cast<size_t>(u.Var[1])] = A;
            Cuts[static_cast<size_t>(u.Var[0])].push_back(initial);
        }
    }

    TLegibility Measure() const
    {
        std::vector<TGlyph16> drawn;
        for (int n = 0; n < johab::SyllableCount; ++n)
            drawn.push_back(jamo::Drawn(Glyphs, Uses[static_cast<size_t>(n)]));
        return MeasureLegibility(drawn, Source);
    }
};

TEST(ReaderFit, AGlyphDrawnAsAnotherLetterTakesItsOwn)
{
    TTinyFont font;
    ASSERT_EQ(font.Measure().LegibleRaw, 1);
    FitForReader(font.Glyphs, {font.Uses, font.Source, font.Read, font.Allowed, font.Cuts});
    const TLegibility l = font.Measure();
    EXPECT_EQ(std::tuple(l.LegibleRaw, l.LegibleBlurred, l.Misshapen), std::tuple(2, 2, 0));
    EXPECT_EQ(font.Glyphs[static_cast<size_t>(font.Uses[Na].Var[0])], Nieun);
}

TEST(ReaderFit, LeavesAFontReadWellAsItIs)
{
    TTinyFont font;
    font.Glyphs[static_cast<size_t>(font.Uses[Na].Var[0])] = Nieun;
    const std::vector<TGlyph16> before = font.Glyphs;
    FitForReader(font.Glyphs, {font.Uses, font.Source, font.Read, font.Allowed, font.Cuts});
    EXPECT_EQ(font.Glyphs, before);
}

}  // namespace
