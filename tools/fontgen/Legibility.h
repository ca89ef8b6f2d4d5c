#pragma once
// How a reader sees a Hangul combination font: every syllable the terminal composes from it is
// compared with all the glyphs of the face it was fitted to. A syllable is legible when the
// source glyph nearest to it is its own; it is misshapen when it has a fault its source glyph
// lacks (GlyphShape.h: other loops, more specks, a smear of ink, letters that touch).

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "tools/fontgen/Glyph16.h"
#include "tools/fontgen/GlyphShape.h"

struct TGlyphTables;

struct TLegibility {
    int Syllables = 0;        // syllables compared (those the source draws)
    int LegibleRaw = 0;       // nearest source glyph pixel for pixel is its own
    int LegibleBlurred = 0;   // the same after a 3 x 3 box blur of both, forgiving one-pixel shifts
    int LoopsDiffer = 0;      // loop count differs from the source glyph's
    int ExtraSpecks = 0;      // more specks than the source glyph
    int Blocks = 0;           // a 2 x 2 block of ink the source glyph lacks
    int Touching = 0;         // fewer separate pieces of ink than the source glyph
    int Misshapen = 0;        // any of the four
    int Common = 0;           // syllables compared that are among the common ones
    int CommonMisshapen = 0;  // and of those, misshapen
    int WrongLoopJamo = 0;    // jamo glyphs whose loop count is not their letter's
    // Syllable numbers (syllable-block order) read as another, with the one they read as (blurred).
    std::vector<std::pair<int, int>> Misread;

    double Percent(int count) const { return Syllables ? 100.0 * count / Syllables : 0.0; }
};

// A reader of one face: knows the face's syllables and tells which of them a drawn glyph is
// nearest to, pixel for pixel and blurred.
class TReader {
public:
    // The syllables the face draws (syllable-block order); the others are not read.
    explicit TReader(const std::vector<std::optional<TGlyph16>>& source);
    ~TReader();
    TReader(const TReader&) = delete;
    TReader& operator=(const TReader&) = delete;

    bool Knows(int syllable) const;
    // The syllable the drawn glyph is read as, pixel for pixel and blurred; `syllable` itself when
    // no other is as near. The syllable must be one the face draws.
    int ReadRaw(const TGlyph16& drawn, int syllable) const;
    int ReadBlurred(const TGlyph16& drawn, int syllable) const;

private:
    struct TData;
    TData* FData;
};

// A glyph's 256 pixels as four words, and the number of pixels in which two of them differ: what
// the pixel-for-pixel reading compares.
using TPackedGlyph = std::array<uint64_t, 4>;

inline TPackedGlyph PackedGlyph(const TGlyph16& g)
{
    TPackedGlyph p{};
    std::memcpy(p.data(), g.Rows.data(), sizeof(p));
    return p;
}

inline int PixelDistance(const TPackedGlyph& a, const TPackedGlyph& b)
{
    int d = 0;
    for (size_t i = 0; i < 4; ++i)
        d += __builtin_popcountll(a[i] ^ b[i]);
    return d;
}

// The 3 x 3 box sums of a glyph placed on an 18 x 18 grid with a blank border: what the blurred
// reading compares, by the sum of squared differences.
using TBoxSums = std::array<uint8_t, 18 * 18>;
TBoxSums BoxSums(const TGlyph16& glyph);

// Every syllable (syllable-block order) as the terminal composes it from the tables, ink set.
std::vector<TGlyph16> ComposedSyllables(const TGlyphTables& tables);
// Jamo glyphs of the tables whose loop count is not their letter's.
int CountWrongLoopJamo(const TGlyphTables& tables);

// Compares the drawn syllables with the source's, over the syllables the source has; `common`,
// when given, marks the syllables counted apart (SyllableFrequency.h).
TLegibility MeasureLegibility(const std::vector<TGlyph16>& drawn, const std::vector<std::optional<TGlyph16>>& source,
                              const std::vector<bool>& common = {});
// The whole measure of a loaded font: its composed syllables and its jamo glyphs.
TLegibility MeasureFont(const TGlyphTables& tables, const std::vector<std::optional<TGlyph16>>& source,
                        const std::vector<bool>& common = {});
// The same for a .han file, loaded as the terminal loads it (the program's tables are restored).
TLegibility MeasureFontFile(const std::string& hanFile, const std::vector<std::optional<TGlyph16>>& source,
                            const std::vector<bool>& common = {});

// The figures on one line, for the generator's report.
std::string DescribeLegibility(const TLegibility& l);
