#include "tools/fontgen/JamoFit.h"

#include <algorithm>
#include <cstddef>
#include <map>
#include <stdexcept>

#include "terminal/fonts/JohabRules.h"
#include "tools/fontgen/JamoVariables.h"
#include "tools/fontgen/Legibility.h"
#include "tools/fontgen/PcfFaces.h"
#include "tools/fontgen/ReaderFit.h"

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
    // A jamo pixel that `allowed` clears stays blank.
    int Fit(const std::vector<uint8_t>& target, const std::vector<uint8_t>& allowed, std::vector<uint8_t>& x) const
    {
        for (int pass = 0; pass < 50; ++pass) {
            bool changed = false;
            for (int v = 0; v < VariableCount; ++v) {
                if (FUsersOf[static_cast<size_t>(v)].empty() || !allowed[static_cast<size_t>(v)])
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
void RefineForWholeSyllables(std::vector<TGlyph16>& glyphs, const std::vector<TGlyph16>& allowed,
                             const std::vector<TUse>& uses, const std::vector<std::vector<int>>& usersOf,
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
                if (!now && !Pixel(allowed[static_cast<size_t>(v)], p))
                    continue;
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

TGlyph16 And(const TGlyph16& a, const TGlyph16& b)
{
    TGlyph16 g;
    for (size_t r = 0; r < 16; ++r)
        g.Rows[r] = a.Rows[r] & b.Rows[r];
    return g;
}

TGlyph16 Without(const TGlyph16& a, const TGlyph16& b)
{
    TGlyph16 g;
    for (size_t r = 0; r < 16; ++r)
        g.Rows[r] = static_cast<uint16_t>(a.Rows[r] & ~b.Rows[r]);
    return g;
}

// The pixels at least `need` of the glyphs have.
TGlyph16 InkInAtLeast(const std::vector<const TGlyph16*>& glyphs, size_t need)
{
    TGlyph16 g;
    for (int p = 0; p < 256; ++p) {
        size_t ink = 0;
        for (const TGlyph16* s : glyphs)
            ink += Pixel(*s, p);
        if (ink >= need)
            g.Rows[static_cast<size_t>(p / 16)] |= static_cast<uint16_t>(0x8000 >> (p % 16));
    }
    return g;
}

// The pixels that all but `spare` of the glyphs have (all of them when there are few).
TGlyph16 Shared(const std::vector<const TGlyph16*>& glyphs, size_t spare)
{
    if (glyphs.empty())
        return {};
    return InkInAtLeast(glyphs, glyphs.size() > 3 * spare ? glyphs.size() - spare : glyphs.size());
}

// What each letter of a syllable draws, cut from the source: the vowel and final are what the
// syllables with that vowel and final share whatever their initial (all but two of them, so that
// a vowel drawn apart beside ㄱ and ㅋ still counts), the vowel alone what those share whatever
// the final (again all but two); the initial is the rest.
struct TLetters {
    TGlyph16 Part[3];  // initial, medial, final
};

std::vector<TLetters> CutLetters(const std::vector<std::optional<TGlyph16>>& syllables)
{
    using johab::FinalCount;
    using johab::MedialCount;
    constexpr int Pairs = MedialCount * FinalCount;
    std::vector<std::vector<const TGlyph16*>> withPair(Pairs);
    for (int n = 0; n < johab::SyllableCount; ++n)
        if (syllables[static_cast<size_t>(n)])
            withPair[static_cast<size_t>(n % Pairs)].push_back(&*syllables[static_cast<size_t>(n)]);
    std::vector<TGlyph16> shared(Pairs);
    for (int vt = 0; vt < Pairs; ++vt)
        shared[static_cast<size_t>(vt)] = Shared(withPair[static_cast<size_t>(vt)], 2);
    std::vector<TGlyph16> vowel(static_cast<size_t>(MedialCount * 2));
    for (int v = 0; v < MedialCount; ++v) {
        std::vector<const TGlyph16*> finals;
        for (int t = 1; t < FinalCount; ++t)
            if (!withPair[static_cast<size_t>(v * FinalCount + t)].empty())
                finals.push_back(&shared[static_cast<size_t>(v * FinalCount + t)]);
        vowel[static_cast<size_t>(v * 2)] = shared[static_cast<size_t>(v * FinalCount)];
        vowel[static_cast<size_t>(v * 2 + 1)] = Shared(finals, 2);
    }
    std::vector<TLetters> letters(syllables.size());
    for (int n = 0; n < johab::SyllableCount; ++n) {
        if (!syllables[static_cast<size_t>(n)])
            continue;
        const TGlyph16& s = *syllables[static_cast<size_t>(n)];
        const int vt = n % Pairs, v = vt / FinalCount, t = vt % FinalCount;
        const TGlyph16& common = shared[static_cast<size_t>(vt)];
        const TGlyph16& alone = vowel[static_cast<size_t>(v * 2 + (t > 0))];
        TLetters& l = letters[static_cast<size_t>(n)];
        l.Part[0] = Without(s, common);
        l.Part[1] = And(s, alone);
        if (t > 0)
            l.Part[2] = Without(And(s, common), alone);
    }
    return letters;
}

bool HasLettersLoops(int var, const TGlyph16& glyph)
{
    const int loops = CountLoops(glyph);
    if (var < MedialBase)
        return LetterHasLoops(0, var % 20, loops);
    if (var < FinalBase)
        return LetterHasLoops(1, (var - MedialBase) % 22, loops);
    return LetterHasLoops(2, (var - FinalBase) % 28, loops);
}

// A jamo glyph that lost its letter's loops (a ring split between two glyphs) becomes the letter
// whole as one of its syllables draws it, with its loops and the fewest specks: the one that leaves the
// syllables using the glyph nearest to the source.
void RestoreLoops(std::vector<TGlyph16>& glyphs, const std::vector<TUse>& uses,
                  const std::vector<std::vector<int>>& usersOf, const std::vector<TLetters>& letters,
                  const std::vector<std::optional<TGlyph16>>& syllables)
{
    for (int v = 0; v < VariableCount; ++v) {
        const auto& users = usersOf[static_cast<size_t>(v)];
        if (users.empty() || HasLettersLoops(v, glyphs[static_cast<size_t>(v)]))
            continue;
        const int kind = v < MedialBase ? 0 : v < FinalBase ? 1 : 2;
        auto cost = [&](const TGlyph16& c) {
            long wrong = 0;
            for (int n : users)
                wrong +=
                    WrongPixels(Drawn(glyphs, uses[static_cast<size_t>(n)], v, &c), *syllables[static_cast<size_t>(n)]);
            return wrong;
        };
        // A glyph whose loops are its own shape, not a letter's (a made-up font), is kept: the
        // letter may cost at most a pixel in each syllable.
        long best = cost(glyphs[static_cast<size_t>(v)]) + static_cast<long>(users.size()) + 1;
        TGlyph16 chosen = glyphs[static_cast<size_t>(v)];
        for (int candidate : users) {
            const TGlyph16& c = letters[static_cast<size_t>(candidate)].Part[kind];
            if (!HasLettersLoops(v, c))
                continue;
            const long wrong = cost(c) + 1000L * static_cast<long>(users.size()) * CountSpecks(c);
            if (wrong < best) {
                best = wrong;
                chosen = c;
            }
        }
        glyphs[static_cast<size_t>(v)] = chosen;
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

// Each glyph's letter as the syllables using it draw it, the shapes most of them draw first.
std::vector<std::vector<TGlyph16>> LetterCuts(const std::vector<std::vector<int>>& usersOf,
                                              const std::vector<TLetters>& letters)
{
    constexpr size_t Kept = 16;
    std::vector<std::vector<TGlyph16>> cuts(VariableCount);
    for (int v = 0; v < VariableCount; ++v) {
        std::map<std::array<uint16_t, 16>, int> seen;
        for (int n : usersOf[static_cast<size_t>(v)])
            ++seen[letters[static_cast<size_t>(n)].Part[jamo::PartOf(v)].Rows];
        std::vector<std::pair<int, std::array<uint16_t, 16>>> byCount;
        for (const auto& [rows, count] : seen)
            byCount.emplace_back(-count, rows);
        std::sort(byCount.begin(), byCount.end());
        for (size_t i = 0; i < byCount.size() && i < Kept; ++i) {
            TGlyph16 g;
            g.Rows = byCount[i].second;
            cuts[static_cast<size_t>(v)].push_back(g);
        }
    }
    return cuts;
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

TJamoFont FitJamo(const std::vector<TGlyph16>& syllables)
{
    return FitJamo(std::vector<std::optional<TGlyph16>>(syllables.begin(), syllables.end()));
}

TJamoFont FitJamo(const std::vector<std::optional<TGlyph16>>& syllables)
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
    // A font drawn for the combination scheme (Unifont) can be met exactly, syllable by syllable.
    // One whose syllables were each drawn on their own (a KS X 1001 face) cannot: a jamo glyph
    // then serves syllables that place it differently, and a stroke it misses leaves a broken
    // letter while one pixel too many does not, so missing ink weighs double there and no
    // pixel is traded for whole syllables.
    const bool complete = std::find(known.begin(), known.end(), false) == known.end();
    const TPixelFit fit(uses, usersOf, known, complete ? 1 : 2);

    // In a font drawn for a combination scheme each jamo glyph may draw only where its letter is
    // drawn in the syllables using it, so that no glyph carries pieces of another letter. Beside
    // ㄱ and ㅋ the vowels are drawn apart (their own medial sets), and the cut cannot tell those
    // from their consonants; nor can it cut a face whose syllables were drawn one by one.
    std::vector<TGlyph16> allowed(VariableCount);
    const std::vector<TLetters> letters = complete ? CutLetters(syllables) : std::vector<TLetters>();
    for (int v = 0; v < VariableCount; ++v) {
        const bool apart = v < MedialBase ? (v % 20 == 1 || v % 20 == 16)
            : v < FinalBase               ? ((v - MedialBase) / 22 == 0 || (v - MedialBase) / 22 == 2)
                                          : false;
        if (!complete || apart) {
            allowed[static_cast<size_t>(v)].Rows.fill(0xFFFF);
            continue;
        }
        for (int n : usersOf[static_cast<size_t>(v)]) {
            const TGlyph16& part = letters[static_cast<size_t>(n)].Part[v < MedialBase ? 0 : v < FinalBase ? 1 : 2];
            for (size_t r = 0; r < 16; ++r)
                allowed[static_cast<size_t>(v)].Rows[r] |= part.Rows[r];
        }
    }

    std::vector<TGlyph16> glyphs(VariableCount);
    std::vector<uint8_t> target(syllables.size());
    for (int p = 0; p < 256; ++p) {
        const int row = p / 16, col = p % 16;
        const uint16_t mask = static_cast<uint16_t>(0x8000 >> col);
        for (size_t n = 0; n < syllables.size(); ++n)
            target[n] = syllables[n] && (syllables[n]->Rows[static_cast<size_t>(row)] & mask) ? 1 : 0;
        std::vector<uint8_t> allowedHere(VariableCount);
        for (int v = 0; v < VariableCount; ++v)
            allowedHere[static_cast<size_t>(v)] = Pixel(allowed[static_cast<size_t>(v)], p);

        // Two starts: every jamo pixel that is ink in all the syllables using it, and every one
        // that is ink in most of them. The better result is kept.
        std::vector<uint8_t> best;
        int bestWrong = -1;
        for (int start = 0; start < 2; ++start) {
            std::vector<uint8_t> x(VariableCount, 0);
            for (int v = 0; v < VariableCount; ++v) {
                const auto& users = usersOf[static_cast<size_t>(v)];
                if (users.empty() || !allowedHere[static_cast<size_t>(v)])
                    continue;
                size_t ink = 0;
                for (int n : users)
                    ink += target[static_cast<size_t>(n)];
                x[static_cast<size_t>(v)] = start == 0 ? ink == users.size() : ink * 2 > users.size();
            }
            const int wrong = fit.Fit(target, allowedHere, x);
            if (bestWrong < 0 || wrong < bestWrong) {
                bestWrong = wrong;
                best = x;
            }
        }
        for (int v = 0; v < VariableCount; ++v)
            if (best[static_cast<size_t>(v)])
                glyphs[static_cast<size_t>(v)].Rows[static_cast<size_t>(row)] |= mask;
    }
    if (complete) {
        RefineForWholeSyllables(glyphs, allowed, uses, usersOf, syllables);
        RestoreLoops(glyphs, uses, usersOf, letters, syllables);
    }
    if (complete && CountExactIn(glyphs, uses, syllables) < johab::SyllableCount) {
        // Where the scheme cannot draw every syllable as the source does, what a reader sees
        // decides: the KS X 1001 syllables, the ones text is written in, read as themselves.
        std::vector<bool> ks(syllables.size());
        for (size_t n = 0; n < syllables.size(); ++n)
            ks[n] = KsCode(static_cast<int>(n)) != 0;
        const std::vector<std::vector<TGlyph16>> cuts = LetterCuts(usersOf, letters);
        FitForReader(glyphs, {uses, syllables, ks, allowed, cuts});
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
