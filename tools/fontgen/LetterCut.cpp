#include "tools/fontgen/LetterCut.h"

#include <map>
#include <stdexcept>

#include "terminal/fonts/JohabRules.h"
#include "tools/fontgen/GlyphOps.h"
#include "tools/fontgen/GlyphShape.h"
#include "tools/fontgen/JamoVariables.h"

namespace {

using johab::FinalCount;
using johab::InitialCount;
using johab::MedialCount;
constexpr int Pairs = MedialCount * FinalCount;
// ㄱ and ㅋ: beside them some vowels are drawn apart.
constexpr int Giyeok = 0, Kieuk = 15;
// A final consonant begins at this row or below; a vowel's stroke that runs on past it touches
// the final there.
constexpr int FinalTop = 10, FinalReach = 12;

// The vowel and final of what syllables with one vowel and final share: a piece that starts
// where finals start is the final's; one that runs on into the final's rows touches it there and
// is cut at the final's first row.
void SplitVowelAndFinal(const TGlyph16& shared, bool hasFinal, TGlyph16& vowel, TGlyph16& final)
{
    vowel = final = TGlyph16{};
    if (!hasFinal) {
        vowel = shared;
        return;
    }
    for (const TGlyph16& piece : PiecesOf(shared)) {
        int top = -1, bottom = -1;
        for (int r = 0; r < 16; ++r)
            if (piece.Rows[static_cast<size_t>(r)]) {
                top = top < 0 ? r : top;
                bottom = r;
            }
        for (int r = 0; r < 16; ++r) {
            const bool ofFinal = top >= FinalTop || (bottom >= FinalReach && r >= FinalTop);
            (ofFinal ? final : vowel).Rows[static_cast<size_t>(r)] |= piece.Rows[static_cast<size_t>(r)];
        }
    }
}

// The pixels all the glyphs have.
TGlyph16 Common(const std::vector<const TGlyph16*>& glyphs)
{
    TGlyph16 g;
    g.Rows.fill(0xFFFF);
    for (const TGlyph16* s : glyphs)
        g = And(g, *s);
    return glyphs.empty() ? TGlyph16{} : g;
}

// The letter that part of syllable n draws (jamo::LetterOf); the empty final's glyph number is 0.
int LetterKey(int n, int part)
{
    const jamo::TUse use = jamo::UseOf(n);
    return part < use.Count ? jamo::LetterOf(use.Var[part]) : part * 32;
}

// A broken cut becomes the whole letter, as another syllable draws it, that this syllable holds
// and that keeps most of the broken cut; none such leaves it as it is.
void MendBrokenCuts(const std::vector<TGlyph16>& syllables, std::vector<TLetters>& letters)
{
    std::map<int, std::map<std::array<uint16_t, 16>, int>> whole;  // by part * 32 + glyph number
    for (int n = 0; n < johab::SyllableCount; ++n)
        for (int part = 0; part < 3; ++part) {
            const int key = LetterKey(n, part);
            const TGlyph16& cut = letters[static_cast<size_t>(n)].Part[part];
            if (IsWholeLetter(part, key % 32, cut))
                ++whole[key][cut.Rows];
        }
    for (int n = 0; n < johab::SyllableCount; ++n)
        for (int part = 0; part < 3; ++part) {
            const int key = LetterKey(n, part);
            TGlyph16& cut = letters[static_cast<size_t>(n)].Part[part];
            if (key % 32 == 0 || IsWholeLetter(part, key % 32, cut))
                continue;
            int bestKept = -1, bestCount = 0;
            TGlyph16 best;
            for (const auto& [rows, count] : whole[key]) {
                TGlyph16 candidate;
                candidate.Rows = rows;
                if (!Holds(syllables[static_cast<size_t>(n)], candidate))
                    continue;
                const int kept = Ink(And(candidate, cut));
                if (kept > bestKept || (kept == bestKept && count > bestCount)) {
                    bestKept = kept;
                    bestCount = count;
                    best = candidate;
                }
            }
            if (bestKept >= 0)
                cut = best;
        }
}

}  // namespace

bool IsWholeLetter(int part, int glyph, const TGlyph16& g)
{
    if (g == TGlyph16{})
        return false;
    const TGlyphShape shape = ShapeOf(g);
    return shape.Specks == 0 && LetterHasLoops(part, glyph, shape.Loops);
}

std::vector<TLetters> CutLetters(const std::vector<TGlyph16>& syllables)
{
    if (syllables.size() != static_cast<size_t>(johab::SyllableCount))
        throw std::invalid_argument("CutLetters needs every syllable");
    std::vector<TLetters> letters(syllables.size());
    for (int vt = 0; vt < Pairs; ++vt) {
        std::vector<const TGlyph16*> plain;
        for (int l = 0; l < InitialCount; ++l)
            if (l != Giyeok && l != Kieuk)
                plain.push_back(&syllables[static_cast<size_t>(l * Pairs + vt)]);
        const TGlyph16 shared = Common(plain);
        TGlyph16 vowel, final;
        SplitVowelAndFinal(shared, vt % FinalCount != 0, vowel, final);
        // Beside ㄱ and ㅋ a vowel may be drawn a pixel or two apart: each piece of ink goes to
        // the final where it lies on the final, to the vowel where most of it lies near the
        // vowel as the other syllables draw it, and to the consonant otherwise.
        const TGlyph16 nearVowel = Grown(Grown(vowel));
        for (int l = 0; l < InitialCount; ++l) {
            const int n = l * Pairs + vt;
            const TGlyph16& s = syllables[static_cast<size_t>(n)];
            TLetters& cut = letters[static_cast<size_t>(n)];
            if (Holds(s, shared)) {
                cut.Part[0] = Without(s, shared);
                cut.Part[1] = vowel;
                cut.Part[2] = final;
                continue;
            }
            for (const TGlyph16& piece : PiecesOf(s)) {
                const int part = Ink(And(piece, final)) * 2 > Ink(piece) ? 2
                    : Ink(And(piece, nearVowel)) * 2 > Ink(piece)        ? 1
                                                                         : 0;
                cut.Part[part] = Or(cut.Part[part], piece);
            }
        }
    }
    MendBrokenCuts(syllables, letters);
    return letters;
}
