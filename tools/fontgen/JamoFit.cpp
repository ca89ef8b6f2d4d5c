#include "tools/fontgen/JamoFit.h"

#include <algorithm>
#include <cstddef>
#include <map>
#include <stdexcept>

#include "terminal/fonts/JohabRules.h"
#include "tools/fontgen/CleanFit.h"
#include "tools/fontgen/JamoVariables.h"
#include "tools/fontgen/LetterCut.h"
#include "tools/fontgen/PcfFaces.h"

namespace {

using jamo::Drawn;
using jamo::FinalBase;
using jamo::MedialBase;
using jamo::TUse;
using jamo::UseOf;
using jamo::VariableCount;

TGlyph16& GlyphOf(TJamoFont& font, int var)
{
    if (var < MedialBase)
        return font.Initial[static_cast<size_t>(var / 20)][static_cast<size_t>(var % 20)];
    if (var < FinalBase)
        return font.Medial[static_cast<size_t>((var - MedialBase) / 22)][static_cast<size_t>((var - MedialBase) % 22)];
    return font.Final[static_cast<size_t>((var - FinalBase) / 28)][static_cast<size_t>((var - FinalBase) % 28)];
}

// One pixel position on its own: a pixel of a composed syllable depends only on the same pixel of
// its jamo, so each of the 256 positions is fitted independently. Coordinate descent: each jamo
// pixel takes the value that leaves fewer wrong syllables, given the others, until none changes;
// a syllable that lacks ink there counts missingInk times.
class TPixelFit {
public:
    TPixelFit(const std::vector<TUse>& uses, const std::vector<std::vector<int>>& usersOf,
              const std::vector<bool>& known, int missingInk)
        : FUses(uses), FUsersOf(usersOf), FKnown(known), FMissingInk(missingInk)
    {}

    // Fits the pixel from a starting assignment; returns the number of wrong syllables.
    int Fit(const std::vector<uint8_t>& target, std::vector<uint8_t>& x) const
    {
        for (int pass = 0; pass < 50; ++pass) {
            bool changed = false;
            for (int v = 0; v < VariableCount; ++v) {
                if (FUsersOf[static_cast<size_t>(v)].empty())
                    continue;
                int costSet = 0, costClear = 0;
                for (int n : FUsersOf[static_cast<size_t>(v)]) {
                    const uint8_t t = target[static_cast<size_t>(n)];
                    costSet += t == 0;
                    costClear += Others(x, n, v) != t ? (t ? FMissingInk : 1) : 0;
                }
                const uint8_t best = costSet < costClear ? 1 : costClear < costSet ? 0 : x[static_cast<size_t>(v)];
                if (best != x[static_cast<size_t>(v)]) {
                    x[static_cast<size_t>(v)] = best;
                    changed = true;
                }
            }
            if (!changed)
                break;
        }
        int wrong = 0;
        for (size_t n = 0; n < FUses.size(); ++n)
            wrong += FKnown[n] && Others(x, static_cast<int>(n), -1) != target[n];
        return wrong;
    }

private:
    uint8_t Others(const std::vector<uint8_t>& x, int n, int skip) const
    {
        const TUse& u = FUses[static_cast<size_t>(n)];
        for (int k = 0; k < u.Count; ++k)
            if (u.Var[k] != skip && x[static_cast<size_t>(u.Var[k])])
                return 1;
        return 0;
    }

    const std::vector<TUse>& FUses;
    const std::vector<std::vector<int>>& FUsersOf;
    const std::vector<bool>& FKnown;
    const int FMissingInk;
};

bool Pixel(const TGlyph16& g, int p) { return g.Rows[static_cast<size_t>(p / 16)] >> (15 - p % 16) & 1; }

int WrongPixels(const TGlyph16& a, const TGlyph16& b)
{
    int n = 0;
    for (size_t r = 0; r < 16; ++r)
        n += __builtin_popcount(static_cast<unsigned>(a.Rows[r] ^ b.Rows[r]));
    return n;
}

// The per-pixel fit counts wrong pixels; what matters is whole syllables. Flips single jamo
// pixels where that makes more syllables exact (or as many with fewer wrong pixels), until no
// flip helps.
void RefineForWholeSyllables(std::vector<TGlyph16>& glyphs, const std::vector<TUse>& uses,
                             const std::vector<std::vector<int>>& usersOf,
                             const std::vector<std::optional<TGlyph16>>& syllables)
{
    std::vector<int> wrong(uses.size());
    auto compose = [&](int n) { return Drawn(glyphs, uses[static_cast<size_t>(n)]); };
    for (size_t n = 0; n < uses.size(); ++n)
        if (syllables[n])
            wrong[n] = WrongPixels(compose(static_cast<int>(n)), *syllables[n]);

    for (int sweep = 0; sweep < 20; ++sweep) {
        bool improved = false;
        for (int v = 0; v < VariableCount; ++v) {
            const auto& users = usersOf[static_cast<size_t>(v)];
            for (int p = 0; p < 256 && !users.empty(); ++p) {
                const bool now = Pixel(glyphs[static_cast<size_t>(v)], p);
                int exactDelta = 0, pixelDelta = 0;
                for (int n : users) {
                    const TUse& u = uses[static_cast<size_t>(n)];
                    bool others = false;
                    for (int k = 0; k < u.Count; ++k)
                        others = others || (u.Var[k] != v && Pixel(glyphs[static_cast<size_t>(u.Var[k])], p));
                    if (others)
                        continue;  // the flip does not show in this syllable
                    const bool target = Pixel(*syllables[static_cast<size_t>(n)], p);
                    const int w = wrong[static_cast<size_t>(n)];
                    if (now == target) {
                        ++pixelDelta;
                        exactDelta -= w == 0;
                    } else {
                        --pixelDelta;
                        exactDelta += w == 1;
                    }
                }
                if (exactDelta > 0 || (exactDelta == 0 && pixelDelta < 0)) {
                    glyphs[static_cast<size_t>(v)].Rows[static_cast<size_t>(p / 16)] ^=
                        static_cast<uint16_t>(0x8000 >> (p % 16));
                    for (int n : users)
                        wrong[static_cast<size_t>(n)] = WrongPixels(compose(n), *syllables[static_cast<size_t>(n)]);
                    improved = true;
                }
            }
        }
        if (!improved)
            break;
    }
}

int CountExactIn(const std::vector<TGlyph16>& glyphs, const std::vector<TUse>& uses,
                 const std::vector<std::optional<TGlyph16>>& syllables)
{
    int exact = 0;
    for (int n = 0; n < johab::SyllableCount; ++n)
        exact += syllables[static_cast<size_t>(n)] &&
            Drawn(glyphs, uses[static_cast<size_t>(n)]) == *syllables[static_cast<size_t>(n)];
    return exact;
}

// A jamo glyph that no syllable of the source uses (index 0 is the empty glyph and stays so)
// takes the glyph of the same jamo from the set whose glyph most syllables use.
template <size_t Sets, size_t Glyphs>
void BorrowWithin(std::array<std::array<TGlyph16, Glyphs>, Sets>& sets, int base,
                  const std::vector<std::vector<int>>& usersOf)
{
    auto users = [&](size_t set, size_t g) { return usersOf[static_cast<size_t>(base) + set * Glyphs + g].size(); };
    for (size_t g = 1; g < Glyphs; ++g) {
        size_t donor = 0;
        for (size_t set = 1; set < Sets; ++set)
            if (users(set, g) > users(donor, g))
                donor = set;
        if (users(donor, g) == 0)
            continue;
        for (size_t set = 0; set < Sets; ++set)
            if (users(set, g) == 0)
                sets[set][g] = sets[donor][g];
    }
}

void BorrowUnusedJamo(TJamoFont& font, const std::vector<std::vector<int>>& usersOf)
{
    BorrowWithin(font.Initial, 0, usersOf);
    BorrowWithin(font.Medial, MedialBase, usersOf);
    BorrowWithin(font.Final, FinalBase, usersOf);
}

}  // namespace

TGlyph16 TJamoFont::Compose(int n) const
{
    const johab::TJamoChoice j = johab::ChooseJamo(johab::SyllableToJohab(n));
    TGlyph16 g;
    for (size_t r = 0; r < 16; ++r) {
        g.Rows[r] =
            static_cast<uint16_t>(Initial[static_cast<size_t>(j.InitialSet)][static_cast<size_t>(j.Initial)].Rows[r] |
                                  Medial[static_cast<size_t>(j.MedialSet)][static_cast<size_t>(j.Medial)].Rows[r] |
                                  Final[static_cast<size_t>(j.FinalSet)][static_cast<size_t>(j.Final)].Rows[r]);
    }
    return g;
}

std::vector<uint8_t> TJamoFont::FileBytes() const
{
    std::vector<uint8_t> bytes;
    auto put = [&](const TGlyph16& g) {
        for (uint16_t row : g.Rows) {
            bytes.push_back(static_cast<uint8_t>(row >> 8));
            bytes.push_back(static_cast<uint8_t>(row));
        }
    };
    for (const auto& set : Initial)
        for (const auto& g : set)
            put(g);
    for (const auto& set : Medial)
        for (const auto& g : set)
            put(g);
    for (const auto& set : Final)
        for (const auto& g : set)
            put(g);
    return bytes;
}

TJamoFont FitJamo(const std::vector<TGlyph16>& syllables, const std::vector<int>& frequencyRanks)
{
    return FitJamo(std::vector<std::optional<TGlyph16>>(syllables.begin(), syllables.end()), frequencyRanks);
}

TJamoFont FitJamo(const std::vector<std::optional<TGlyph16>>& syllables, const std::vector<int>& frequencyRanks)
{
    if (syllables.size() != static_cast<size_t>(johab::SyllableCount))
        throw std::invalid_argument("FitJamo needs a place for every syllable");
    std::vector<TUse> uses;
    std::vector<bool> known;
    std::vector<std::vector<int>> usersOf(VariableCount);
    for (int n = 0; n < johab::SyllableCount; ++n) {
        uses.push_back(UseOf(n));
        known.push_back(syllables[static_cast<size_t>(n)].has_value());
        if (known.back())
            for (int k = 0; k < uses.back().Count; ++k)
                usersOf[static_cast<size_t>(uses.back().Var[k])].push_back(n);
    }
    // A font drawn for this combination scheme can be met exactly, syllable by syllable. One
    // whose syllables were each drawn on their own (a KS X 1001 face) cannot: a jamo glyph
    // then serves syllables that place it differently, and a stroke it misses leaves a broken
    // letter while one pixel too many does not, so missing ink weighs double there and no
    // pixel is traded for whole syllables.
    const bool complete = std::find(known.begin(), known.end(), false) == known.end();
    const TPixelFit fit(uses, usersOf, known, complete ? 1 : 2);

    std::vector<TGlyph16> glyphs(VariableCount);
    std::vector<uint8_t> target(syllables.size());
    for (int p = 0; p < 256; ++p) {
        const int row = p / 16, col = p % 16;
        const uint16_t mask = static_cast<uint16_t>(0x8000 >> col);
        for (size_t n = 0; n < syllables.size(); ++n)
            target[n] = syllables[n] && (syllables[n]->Rows[static_cast<size_t>(row)] & mask) ? 1 : 0;

        // Two starts: every jamo pixel that is ink in all the syllables using it, and every one
        // that is ink in most of them. The better result is kept.
        std::vector<uint8_t> best;
        int bestWrong = -1;
        for (int start = 0; start < 2; ++start) {
            std::vector<uint8_t> x(VariableCount, 0);
            for (int v = 0; v < VariableCount; ++v) {
                const auto& users = usersOf[static_cast<size_t>(v)];
                if (users.empty())
                    continue;
                size_t ink = 0;
                for (int n : users)
                    ink += target[static_cast<size_t>(n)];
                x[static_cast<size_t>(v)] = start == 0 ? ink == users.size() : ink * 2 > users.size();
            }
            const int wrong = fit.Fit(target, x);
            if (bestWrong < 0 || wrong < bestWrong) {
                bestWrong = wrong;
                best = x;
            }
        }
        for (int v = 0; v < VariableCount; ++v)
            if (best[static_cast<size_t>(v)])
                glyphs[static_cast<size_t>(v)].Rows[static_cast<size_t>(row)] |= mask;
    }
    if (complete)
        RefineForWholeSyllables(glyphs, uses, usersOf, syllables);
    if (complete && CountExactIn(glyphs, uses, syllables) < johab::SyllableCount) {
        // A face drawn from letters by another scheme (Unifont) cannot be met exactly: its jamo
        // glyphs become its letters, whole and clean, placed so that the KS X 1001 syllables,
        // the ones text is written in, read as themselves.
        std::vector<TGlyph16> source;
        std::vector<bool> ks(syllables.size());
        for (size_t n = 0; n < syllables.size(); ++n) {
            source.push_back(*syllables[n]);
            ks[n] = KsCode(static_cast<int>(n)) != 0;
        }
        const std::vector<TLetters> letters = CutLetters(source);
        std::vector<int> ranks = frequencyRanks;
        ranks.resize(syllables.size(), -1);
        glyphs = FitCleanLetters({uses, source, letters, ks, ranks});
    }

    TJamoFont font;
    for (int v = 0; v < VariableCount; ++v)
        GlyphOf(font, v) = glyphs[static_cast<size_t>(v)];
    BorrowUnusedJamo(font, usersOf);
    return font;
}

int CountExact(const TJamoFont& font, const std::vector<TGlyph16>& syllables)
{
    return CountExact(font, std::vector<std::optional<TGlyph16>>(syllables.begin(), syllables.end()));
}

int CountExact(const TJamoFont& font, const std::vector<std::optional<TGlyph16>>& syllables)
{
    int exact = 0;
    for (size_t n = 0; n < syllables.size(); ++n)
        exact += syllables[n] && font.Compose(static_cast<int>(n)) == *syllables[n];
    return exact;
}
