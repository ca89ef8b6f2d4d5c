#include "tools/fontgen/GlyphShape.h"

namespace {

using TRows = std::array<uint16_t, 16>;

// One step of growth within the mask: to the four edge neighbours, and with `corners` to the
// diagonal ones too.
TRows Grown(const TRows& from, const TRows& mask, bool corners)
{
    TRows out;
    for (size_t r = 0; r < 16; ++r) {
        const uint16_t above = r > 0 ? from[r - 1] : 0, below = r < 15 ? from[r + 1] : 0;
        const uint16_t row = from[r];
        uint16_t next = static_cast<uint16_t>(row | row << 1 | row >> 1 | above | below);
        if (corners) {
            const uint16_t vertical = static_cast<uint16_t>(above | below);
            next = static_cast<uint16_t>(next | vertical << 1 | vertical >> 1);
        }
        out[r] = next & mask[r];
    }
    return out;
}

// The region of `mask` joined to the seed.
TRows Fill(TRows seed, const TRows& mask, bool corners)
{
    for (;;) {
        const TRows next = Grown(seed, mask, corners);
        if (next == seed)
            return seed;
        seed = next;
    }
}

// Takes the regions of the mask one by one, calling `each` with a region and its pixel count.
template <typename Each>
void Regions(TRows mask, bool corners, Each each)
{
    for (size_t r = 0; r < 16; ++r) {
        while (mask[r]) {
            TRows seed{};
            seed[r] = static_cast<uint16_t>(mask[r] & -mask[r]);
            const TRows region = Fill(seed, mask, corners);
            int size = 0;
            for (size_t k = 0; k < 16; ++k) {
                size += __builtin_popcount(region[k]);
                mask[k] = static_cast<uint16_t>(mask[k] & ~region[k]);
            }
            each(region, size);
        }
    }
}

constexpr int SpeckPixels = 3;

}  // namespace

TGlyphShape ShapeOf(const TGlyph16& glyph)
{
    TGlyphShape shape;
    const TRows& ink = glyph.Rows;
    Regions(ink, true, [&](const TRows&, int size) {
        ++shape.Pieces;
        shape.Specks += size <= SpeckPixels;
    });
    TRows background, edge{};
    for (size_t r = 0; r < 16; ++r) {
        background[r] = static_cast<uint16_t>(~ink[r]);
        edge[r] = background[r] & (r == 0 || r == 15 ? 0xFFFF : 0x8001);
    }
    const TRows outside = Fill(edge, background, false);
    TRows enclosed;
    for (size_t r = 0; r < 16; ++r)
        enclosed[r] = static_cast<uint16_t>(background[r] & ~outside[r]);
    Regions(enclosed, false, [&](const TRows&, int) { ++shape.Loops; });
    for (size_t r = 0; r + 1 < 16; ++r) {
        const uint16_t both = ink[r] & ink[r + 1];
        shape.Blocks[r] = static_cast<uint16_t>(both & both << 1);
    }
    return shape;
}

int ShapeFaults(const TGlyphShape& drawn, const TGlyphShape& source)
{
    int faults = 0;
    if (drawn.Loops != source.Loops)
        faults |= sfLoops;
    if (drawn.Specks > source.Specks)
        faults |= sfSpecks;
    if (drawn.Pieces < source.Pieces)
        faults |= sfTouching;
    for (size_t r = 0; r < 16; ++r) {
        uint16_t near = 0;
        for (size_t k = r > 0 ? r - 1 : 0; k <= r + 1 && k < 16; ++k)
            near = static_cast<uint16_t>(near | source.Blocks[k] | source.Blocks[k] << 1 | source.Blocks[k] >> 1);
        if (drawn.Blocks[r] & ~near)
            faults |= sfBlock;
    }
    return faults;
}

std::vector<TGlyph16> PiecesOf(const TGlyph16& glyph)
{
    std::vector<TGlyph16> pieces;
    Regions(glyph.Rows, true, [&](const TRows& region, int) {
        TGlyph16 piece;
        piece.Rows = region;
        pieces.push_back(piece);
    });
    return pieces;
}

int CountLoops(const TGlyph16& glyph) { return ShapeOf(glyph).Loops; }

int CountSpecks(const TGlyph16& glyph) { return ShapeOf(glyph).Specks; }

bool LetterHasLoops(int part, int glyph, int loops)
{
    // ㄱ ㄲ ㄴ ㄷ ㄸ ㄹ ㅁ ㅂ ㅃ ㅅ ㅆ ㅇ ㅈ ㅉ ㅊ ㅋ ㅌ ㅍ ㅎ
    static constexpr int initial[20] = {0, 0, 0, 0, 0, 0, 0, 1, 1, 2, 0, 0, 1, 0, 0, 0, 0, 0, 1, 1};
    // ㄱ ㄲ ㄳ ㄴ ㄵ ㄶ ㄷ ㄹ ㄺ ㄻ ㄼ ㄽ ㄾ ㄿ ㅀ ㅁ ㅂ ㅄ ㅅ ㅆ ㅇ ㅈ ㅊ ㅋ ㅌ ㅍ ㅎ
    static constexpr int final[28] = {0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 1, 0, 0,
                                      1, 1, 1, 1, 1, 0, 0, 1, 0, 0, 0, 0, 1, 1};
    if (part == 0)
        return glyph >= 0 && glyph < 20 && loops == initial[glyph];
    if (part == 2)
        return glyph >= 0 && glyph < 28 && loops == final[glyph];
    // Vowels have none, but ㅒ's two bars and two stems may close a box.
    return loops == 0 || (glyph == 4 && loops == 1);
}
