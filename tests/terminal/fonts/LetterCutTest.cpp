// Unifont's syllables cut back into their letters.
#include <gtest/gtest.h>

#include <vector>

#include "terminal/fonts/JohabRules.h"
#include "tools/fontgen/HexFont.h"
#include "tools/fontgen/JamoVariables.h"
#include "tools/fontgen/LetterCut.h"

namespace {

TEST(LetterCut, UnifontsSyllablesComeApartIntoWholeLetters)
{
    const THexFont unifont(HM_UNIFONT_HEX);
    std::vector<TGlyph16> syllables;
    for (int n = 0; n < johab::SyllableCount; ++n)
        syllables.push_back(*unifont.Glyph(johab::FirstSyllable + static_cast<char32_t>(n)));
    const std::vector<TLetters> letters = CutLetters(syllables);
    for (int n = 0; n < johab::SyllableCount; ++n) {
        const TLetters& cut = letters[static_cast<size_t>(n)];
        TGlyph16 all;
        for (size_t r = 0; r < 16; ++r)
            all.Rows[r] = cut.Part[0].Rows[r] | cut.Part[1].Rows[r] | cut.Part[2].Rows[r];
        ASSERT_EQ(all, syllables[static_cast<size_t>(n)]) << "syllable " << n;
        // Every letter whole, but the final ㅆ that Unifont draws with its strokes crossing
        // under ㅗ ㅛ ㅜ ㅠ ㅡ, where they close a pinhole.
        const jamo::TUse use = jamo::UseOf(n);
        for (int k = 0; k < use.Count; ++k) {
            const int part = jamo::PartOf(use.Var[k]), glyph = jamo::GlyphNumberOf(use.Var[k]);
            EXPECT_TRUE(IsWholeLetter(part, glyph, cut.Part[part]) || (part == 2 && glyph == 20))
                << "syllable " << n << ", part " << part;
        }
    }
}

}  // namespace
