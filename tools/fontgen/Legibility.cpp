#include "tools/fontgen/Legibility.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "terminal/fonts/GlyphTables.h"
#include "terminal/fonts/HanBitFont.h"
#include "terminal/fonts/JohabRules.h"

namespace {

// The glyph on an 18 x 18 grid with a blank border, so that the border joins all the outside.
constexpr int Side = 18;
using TGrid = std::array<uint8_t, Side * Side>;

TGrid Padded(const TGlyph16& g)
{
    TGrid grid{};
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c)
            grid[static_cast<size_t>((r + 1) * Side + c + 1)] = g.Rows[static_cast<size_t>(r)] >> (15 - c) & 1;
    return grid;
}

}  // namespace

// A pixel moved by one still overlaps most of its old sum.
TBoxSums BoxSums(const TGlyph16& g)
{
    const TGrid grid = Padded(g);
    TBoxSums out{};
    for (int r = 0; r < Side; ++r)
        for (int c = 0; c < Side; ++c) {
            int sum = 0;
            for (int dr = -1; dr <= 1; ++dr)
                for (int dc = -1; dc <= 1; ++dc) {
                    const int nr = r + dr, nc = c + dc;
                    if (nr >= 0 && nc >= 0 && nr < Side && nc < Side)
                        sum += grid[static_cast<size_t>(nr * Side + nc)];
                }
            out[static_cast<size_t>(r * Side + c)] = static_cast<uint8_t>(sum);
        }
    return out;
}

namespace {

using TBlurred = TBoxSums;

TBlurred Blurred(const TGlyph16& g) { return BoxSums(g); }

// Squared distance of two blurred glyphs, given up (returning more than `limit`) as soon as it
// passes the limit: most of the 2350 x 2350 pairs are far apart.
int BlurredDistance(const TBlurred& a, const TBlurred& b, int limit)
{
    int sum = 0;
    for (int r = 0; r < Side; ++r) {
        for (int c = 0; c < Side; ++c) {
            const int d = a[static_cast<size_t>(r * Side + c)] - b[static_cast<size_t>(r * Side + c)];
            sum += d * d;
        }
        if (sum > limit)
            return sum;
    }
    return sum;
}

using TPacked = TPackedGlyph;

TPacked Packed(const TGlyph16& g) { return PackedGlyph(g); }

int RawDistance(const TPacked& a, const TPacked& b) { return PixelDistance(a, b); }

// The index of the candidate nearest to `self`'s own, `self` itself when none is as near.
template <typename Distance>
size_t Nearest(size_t self, size_t count, Distance distance)
{
    int best = distance(self, 1 << 30);
    size_t nearest = self;
    for (size_t j = 0; j < count; ++j) {
        if (j == self)
            continue;
        const int d = distance(j, best);
        if (d < best || (d == best && nearest == self)) {
            best = d;
            nearest = j;
        }
    }
    return nearest;
}

TGlyph16 InkOf(const uint8_t* stored)
{
    TGlyph16 g;
    for (size_t r = 0; r < 16; ++r)
        g.Rows[r] = static_cast<uint16_t>(~(stored[2 * r] << 8 | stored[2 * r + 1]));
    return g;
}

}  // namespace

std::vector<TGlyph16> ComposedSyllables(const TGlyphTables& tables)
{
    std::vector<TGlyph16> drawn;
    drawn.reserve(johab::SyllableCount);
    for (int n = 0; n < johab::SyllableCount; ++n) {
        uint8_t stored[32];
        GetHanFontImage(tables, johab::SyllableToJohab(n), stored);
        drawn.push_back(InkOf(stored));
    }
    return drawn;
}

int CountWrongLoopJamo(const TGlyphTables& tables)
{
    int wrong = 0;
    for (int set = 0; set < johab::InitialSets; ++set)
        for (int g = 1; g < johab::InitialGlyphs; ++g)
            wrong += !LetterHasLoops(
                0, g, CountLoops(InkOf(&tables.Initial[static_cast<size_t>(set * johab::InitialGlyphs + g) * 32])));
    for (int set = 0; set < johab::MedialSets; ++set)
        for (int g = 1; g < johab::MedialGlyphs; ++g)
            wrong += !LetterHasLoops(
                1, g, CountLoops(InkOf(&tables.Medial[static_cast<size_t>(set * johab::MedialGlyphs + g) * 32])));
    for (int set = 0; set < johab::FinalSets; ++set)
        for (int g = 1; g < johab::FinalGlyphs; ++g)
            wrong += !LetterHasLoops(
                2, g, CountLoops(InkOf(&tables.Final[static_cast<size_t>(set * johab::FinalGlyphs + g) * 32])));
    return wrong;
}

struct TReader::TData {
    std::vector<int> Index;  // by syllable: its place among the known ones, or -1
    std::vector<TPacked> Raw;
    std::vector<TBlurred> Blur;
};

TReader::TReader(const std::vector<std::optional<TGlyph16>>& source) : FData(new TData)
{
    FData->Index.assign(source.size(), -1);
    for (size_t n = 0; n < source.size(); ++n) {
        if (!source[n])
            continue;
        FData->Index[n] = static_cast<int>(FData->Raw.size());
        FData->Raw.push_back(Packed(*source[n]));
        FData->Blur.push_back(Blurred(*source[n]));
    }
}

TReader::~TReader() { delete FData; }

bool TReader::Knows(int syllable) const
{
    return syllable >= 0 && static_cast<size_t>(syllable) < FData->Index.size() &&
        FData->Index[static_cast<size_t>(syllable)] >= 0;
}

// The syllable whose place among the known ones is `place`.
static int SyllableAt(const std::vector<int>& index, size_t place)
{
    return static_cast<int>(std::find(index.begin(), index.end(), static_cast<int>(place)) - index.begin());
}

int TReader::ReadRaw(const TGlyph16& drawn, int syllable) const
{
    const TPacked d = Packed(drawn);
    const size_t self = static_cast<size_t>(FData->Index[static_cast<size_t>(syllable)]);
    const size_t read = Nearest(self, FData->Raw.size(), [&](size_t j, int) { return RawDistance(d, FData->Raw[j]); });
    return read == self ? syllable : SyllableAt(FData->Index, read);
}

int TReader::ReadBlurred(const TGlyph16& drawn, int syllable) const
{
    const TBlurred d = Blurred(drawn);
    const size_t self = static_cast<size_t>(FData->Index[static_cast<size_t>(syllable)]);
    const size_t read = Nearest(self, FData->Blur.size(),
                                [&](size_t j, int limit) { return BlurredDistance(d, FData->Blur[j], limit); });
    return read == self ? syllable : SyllableAt(FData->Index, read);
}

TLegibility MeasureLegibility(const std::vector<TGlyph16>& drawn, const std::vector<std::optional<TGlyph16>>& source,
                              const std::vector<bool>& common)
{
    const TReader reader(source);
    TLegibility l;
    for (size_t n = 0; n < source.size() && n < drawn.size(); ++n) {
        if (!source[n])
            continue;
        const int syllable = static_cast<int>(n);
        ++l.Syllables;
        l.LegibleRaw += reader.ReadRaw(drawn[n], syllable) == syllable;
        const int readAs = reader.ReadBlurred(drawn[n], syllable);
        if (readAs == syllable)
            ++l.LegibleBlurred;
        else
            l.Misread.emplace_back(syllable, readAs);

        const int faults = ShapeFaults(ShapeOf(drawn[n]), ShapeOf(*source[n]));
        l.LoopsDiffer += (faults & sfLoops) != 0;
        l.ExtraSpecks += (faults & sfSpecks) != 0;
        l.Blocks += (faults & sfBlock) != 0;
        l.Touching += (faults & sfTouching) != 0;
        l.Misshapen += faults != 0;
        if (n < common.size() && common[n]) {
            ++l.Common;
            l.CommonMisshapen += faults != 0;
        }
    }
    return l;
}

TLegibility MeasureFont(const TGlyphTables& tables, const std::vector<std::optional<TGlyph16>>& source,
                        const std::vector<bool>& common)
{
    TLegibility l = MeasureLegibility(ComposedSyllables(tables), source, common);
    l.WrongLoopJamo = CountWrongLoopJamo(tables);
    return l;
}

TLegibility MeasureFontFile(const std::string& hanFile, const std::vector<std::optional<TGlyph16>>& source,
                            const std::vector<bool>& common)
{
    const TGlyphTables kept = GlyphTables();
    LoadHanFont(hanFile);
    const TGlyphTables loaded = GlyphTables();
    RestoreGlyphTables(kept);
    return MeasureFont(loaded, source, common);
}

std::string DescribeLegibility(const TLegibility& l)
{
    char line[384];
    std::snprintf(line, sizeof line,
                  "legible %.1f%% raw, %.1f%% blurred of %d syllables; misshapen %.1f%% (%d: other loops %d, "
                  "more specks %d, smeared blocks %d, letters touching %d), %d of the %d common ones; "
                  "%d jamo glyphs with wrong loops",
                  l.Percent(l.LegibleRaw), l.Percent(l.LegibleBlurred), l.Syllables, l.Percent(l.Misshapen),
                  l.Misshapen, l.LoopsDiffer, l.ExtraSpecks, l.Blocks, l.Touching, l.CommonMisshapen, l.Common,
                  l.WrongLoopJamo);
    return line;
}
