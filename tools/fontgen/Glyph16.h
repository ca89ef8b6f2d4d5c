#pragma once
// A glyph of up to 16 x 16 pixels as the generator handles it: 16 rows, bit 15 of a row the
// leftmost pixel, a set bit ink.

#include <array>
#include <cstdint>

struct TGlyph16 {
    std::array<uint16_t, 16> Rows{};
    bool operator==(const TGlyph16&) const = default;
};
