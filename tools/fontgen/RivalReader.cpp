#include "tools/fontgen/RivalReader.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <utility>

#include "tools/fontgen/Legibility.h"

namespace {

// The box sums as 16-bit numbers, padded with zeros to a length the compiler's vector loops take
// whole.
constexpr size_t SumsLength = 336;
using TSums = std::array<int16_t, SumsLength>;

TSums SumsOf(const TGlyph16& g)
{
    const TBoxSums box = BoxSums(g);
    TSums sums{};
    std::copy(box.begin(), box.end(), sums.begin());
    return sums;
}

int SquaredDistance(const TSums& a, const TSums& b)
{
    int sum = 0;
    for (size_t i = 0; i < SumsLength; ++i) {
        const int d = a[i] - b[i];
        sum += d * d;
    }
    return sum;
}

// Rivals kept of those nearest to the syllable's own glyph, and of those nearest to it as drawn,
// each way.
constexpr size_t SourceRivals = 24, DrawnRivals = 8;

}  // namespace

struct TRivalReader::TData {
    std::vector<int> Place;  // by syllable: its place among those read, or -1
    std::vector<TPackedGlyph> Bits;
    std::vector<TSums> Sums;
    std::vector<std::vector<int>> Near;    // by place: the places nearest to its source glyph
    std::vector<std::vector<int>> Rivals;  // by place: those and the nearest to it as drawn

    // The places nearest to a glyph, pixel for pixel and blurred, `self` left out.
    std::vector<int> Nearest(const TGlyph16& g, size_t self, size_t count) const
    {
        const TPackedGlyph bits = PackedGlyph(g);
        const TSums sums = SumsOf(g);
        std::vector<std::pair<int, int>> raw, blurred;
        for (size_t q = 0; q < Bits.size(); ++q) {
            if (q == self)
                continue;
            raw.emplace_back(PixelDistance(bits, Bits[q]), static_cast<int>(q));
            blurred.emplace_back(SquaredDistance(sums, Sums[q]), static_cast<int>(q));
        }
        const auto keep = static_cast<long>(std::min(count, raw.size()));
        std::partial_sort(raw.begin(), raw.begin() + keep, raw.end());
        std::partial_sort(blurred.begin(), blurred.begin() + keep, blurred.end());
        std::vector<int> near;
        for (long i = 0; i < keep; ++i) {
            near.push_back(raw[static_cast<size_t>(i)].second);
            near.push_back(blurred[static_cast<size_t>(i)].second);
        }
        std::sort(near.begin(), near.end());
        near.erase(std::unique(near.begin(), near.end()), near.end());
        return near;
    }
};

TRivalReader::TRivalReader(const std::vector<std::optional<TGlyph16>>& source, const std::vector<bool>& read)
    : FData(new TData)
{
    FData->Place.assign(source.size(), -1);
    std::vector<const TGlyph16*> glyphs;
    for (size_t n = 0; n < source.size(); ++n) {
        if (!read[n] || !source[n])
            continue;
        FData->Place[n] = static_cast<int>(FData->Bits.size());
        FData->Bits.push_back(PackedGlyph(*source[n]));
        FData->Sums.push_back(SumsOf(*source[n]));
        glyphs.push_back(&*source[n]);
    }
    for (size_t p = 0; p < glyphs.size(); ++p)
        FData->Near.push_back(FData->Nearest(*glyphs[p], p, SourceRivals));
    FData->Rivals = FData->Near;
}

TRivalReader::~TRivalReader() { delete FData; }

bool TRivalReader::Reads(int syllable) const { return FData->Place[static_cast<size_t>(syllable)] >= 0; }

TReading TRivalReader::Read(const TGlyph16& drawn, int syllable)
{
    const size_t p = static_cast<size_t>(FData->Place[static_cast<size_t>(syllable)]);
    std::vector<int> rivals = FData->Nearest(drawn, p, DrawnRivals);
    rivals.insert(rivals.end(), FData->Near[p].begin(), FData->Near[p].end());
    std::sort(rivals.begin(), rivals.end());
    rivals.erase(std::unique(rivals.begin(), rivals.end()), rivals.end());
    FData->Rivals[p] = std::move(rivals);
    return ReadAmongRivals(drawn, syllable);
}

TReading TRivalReader::ReadAmongRivals(const TGlyph16& drawn, int syllable) const
{
    const size_t p = static_cast<size_t>(FData->Place[static_cast<size_t>(syllable)]);
    const TPackedGlyph bits = PackedGlyph(drawn);
    const TSums sums = SumsOf(drawn);
    const int rawSelf = PixelDistance(bits, FData->Bits[p]);
    const int blurSelf = SquaredDistance(sums, FData->Sums[p]);
    int rawBest = rawSelf + RawCap, blurBest = blurSelf + BlurCap;
    for (int q : FData->Rivals[p]) {
        rawBest = std::min(rawBest, PixelDistance(bits, FData->Bits[static_cast<size_t>(q)]));
        blurBest = std::min(blurBest, SquaredDistance(sums, FData->Sums[static_cast<size_t>(q)]));
    }
    return {rawBest - rawSelf, blurBest - blurSelf};
}
