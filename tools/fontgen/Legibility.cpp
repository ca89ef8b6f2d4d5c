#include "tools/fontgen/Legibility.h"

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

// Sizes of the connected regions of cells equal to `value`, the region holding cell 0 first when
// it is one of them. Ink joins diagonally, background only edge to edge, so a ring drawn with
// diagonal corners still encloses its hole.
std::vector<int> Regions(const TGrid& grid, uint8_t value, bool diagonal)
{
    std::vector<int> sizes;
    std::array<bool, Side * Side> seen{};
    std::vector<int> stack;
    for (int start = 0; start < Side * Side; ++start) {
        if (seen[static_cast<size_t>(start)] || grid[static_cast<size_t>(start)] != value)
            continue;
        int size = 0;
        stack.push_back(start);
        seen[static_cast<size_t>(start)] = true;
        while (!stack.empty()) {
            const int at = stack.back();
            stack.pop_back();
            ++size;
            const int r = at / Side, c = at % Side;
            for (int dr = -1; dr <= 1; ++dr) {
                for (int dc = -1; dc <= 1; ++dc) {
                    if ((dr == 0 && dc == 0) || (!diagonal && dr != 0 && dc != 0))
                        continue;
                    const int nr = r + dr, nc = c + dc;
                    const int next = nr * Side + nc;
                    if (nr < 0 || nc < 0 || nr >= Side || nc >= Side || seen[static_cast<size_t>(next)] ||
                        grid[static_cast<size_t>(next)] != value)
                        continue;
                    seen[static_cast<size_t>(next)] = true;
                    stack.push_back(next);
                }
            }
        }
        sizes.push_back(size);
    }
    return sizes;
}

// 3 x 3 box sums of the padded glyph: a pixel moved by one still overlaps most of its old sum.
using TBlurred = std::array<uint8_t, Side * Side>;

TBlurred Blurred(const TGlyph16& g)
{
    const TGrid grid = Padded(g);
    TBlurred out{};
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

using TPacked = std::array<uint64_t, 4>;

TPacked Packed(const TGlyph16& g)
{
    TPacked p{};
    std::memcpy(p.data(), g.Rows.data(), sizeof(p));
    return p;
}

int RawDistance(const TPacked& a, const TPacked& b)
{
    int d = 0;
    for (size_t i = 0; i < 4; ++i)
        d += __builtin_popcountll(a[i] ^ b[i]);
    return d;
}

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

int CountLoops(const TGlyph16& glyph)
{
    // Every background region but the one around the glyph (which holds the border) is a loop.
    return static_cast<int>(Regions(Padded(glyph), 0, false).size()) - 1;
}

int CountSpecks(const TGlyph16& glyph)
{
    int specks = 0;
    for (int size : Regions(Padded(glyph), 1, true))
        specks += size <= 2;
    return specks;
}

int InitialLoops(int glyph)
{
    // ㄱ ㄲ ㄴ ㄷ ㄸ ㄹ ㅁ ㅂ ㅃ ㅅ ㅆ ㅇ ㅈ ㅉ ㅊ ㅋ ㅌ ㅍ ㅎ
    static constexpr int loops[20] = {0, 0, 0, 0, 0, 0, 0, 1, 1, 2, 0, 0, 1, 0, 0, 0, 0, 0, 1, 1};
    return glyph >= 0 && glyph < 20 ? loops[glyph] : 0;
}

int MedialLoops(int glyph)
{
    // Of the vowels only ㅒ closes a box: its two bars join its two stems.
    return glyph == 4 ? 1 : 0;
}

int FinalLoops(int glyph)
{
    // ㄱ ㄲ ㄳ ㄴ ㄵ ㄶ ㄷ ㄹ ㄺ ㄻ ㄼ ㄽ ㄾ ㄿ ㅀ ㅁ ㅂ ㅄ ㅅ ㅆ ㅇ ㅈ ㅊ ㅋ ㅌ ㅍ ㅎ
    static constexpr int loops[28] = {0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 1, 0, 0, 1,
                                      1, 1, 1, 1, 0, 0, 1, 0, 0, 0, 0, 1, 1};
    return glyph >= 0 && glyph < 28 ? loops[glyph] : 0;
}

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
            wrong += CountLoops(InkOf(&tables.Initial[static_cast<size_t>(set * johab::InitialGlyphs + g) * 32])) !=
                InitialLoops(g);
    for (int set = 0; set < johab::MedialSets; ++set)
        for (int g = 1; g < johab::MedialGlyphs; ++g)
            wrong += CountLoops(InkOf(&tables.Medial[static_cast<size_t>(set * johab::MedialGlyphs + g) * 32])) !=
                MedialLoops(g);
    for (int set = 0; set < johab::FinalSets; ++set)
        for (int g = 1; g < johab::FinalGlyphs; ++g)
            wrong += CountLoops(InkOf(&tables.Final[static_cast<size_t>(set * johab::FinalGlyphs + g) * 32])) !=
                FinalLoops(g);
    return wrong;
}

TLegibility MeasureLegibility(const std::vector<TGlyph16>& drawn, const std::vector<std::optional<TGlyph16>>& source)
{
    std::vector<int> numbers;
    for (size_t n = 0; n < source.size() && n < drawn.size(); ++n)
        if (source[n])
            numbers.push_back(static_cast<int>(n));
    const size_t count = numbers.size();
    std::vector<TPacked> rawSource, rawDrawn;
    std::vector<TBlurred> blurSource, blurDrawn;
    for (int n : numbers) {
        rawSource.push_back(Packed(*source[static_cast<size_t>(n)]));
        rawDrawn.push_back(Packed(drawn[static_cast<size_t>(n)]));
        blurSource.push_back(Blurred(*source[static_cast<size_t>(n)]));
        blurDrawn.push_back(Blurred(drawn[static_cast<size_t>(n)]));
    }

    TLegibility l;
    l.Syllables = static_cast<int>(count);
    for (size_t i = 0; i < count; ++i) {
        const auto raw = [&](size_t j, int) { return RawDistance(rawDrawn[i], rawSource[j]); };
        const auto blur = [&](size_t j, int limit) { return BlurredDistance(blurDrawn[i], blurSource[j], limit); };
        l.LegibleRaw += Nearest(i, count, raw) == i;
        const size_t readAs = Nearest(i, count, blur);
        if (readAs == i)
            ++l.LegibleBlurred;
        else
            l.Misread.emplace_back(numbers[i], numbers[readAs]);

        const TGlyph16& d = drawn[static_cast<size_t>(numbers[i])];
        const TGlyph16& s = *source[static_cast<size_t>(numbers[i])];
        const bool loops = CountLoops(d) != CountLoops(s);
        const bool specks = CountSpecks(d) > CountSpecks(s);
        l.LoopsDiffer += loops;
        l.ExtraSpecks += specks;
        l.Misshapen += loops || specks;
    }
    return l;
}

TLegibility MeasureFont(const TGlyphTables& tables, const std::vector<std::optional<TGlyph16>>& source)
{
    TLegibility l = MeasureLegibility(ComposedSyllables(tables), source);
    l.WrongLoopJamo = CountWrongLoopJamo(tables);
    return l;
}

TLegibility MeasureFontFile(const std::string& hanFile, const std::vector<std::optional<TGlyph16>>& source)
{
    const TGlyphTables kept = GlyphTables();
    LoadHanFont(hanFile);
    const TGlyphTables loaded = GlyphTables();
    RestoreGlyphTables(kept);
    return MeasureFont(loaded, source);
}

std::string DescribeLegibility(const TLegibility& l)
{
    char line[256];
    std::snprintf(line, sizeof line,
                  "legible %.1f%% raw, %.1f%% blurred of %d syllables; %.1f%% with other loops or extra specks "
                  "(loops %.1f%%, specks %.1f%%); %d jamo glyphs with wrong loops",
                  l.Percent(l.LegibleRaw), l.Percent(l.LegibleBlurred), l.Syllables, l.Percent(l.Misshapen),
                  l.Percent(l.LoopsDiffer), l.Percent(l.ExtraSpecks), l.WrongLoopJamo);
    return line;
}
