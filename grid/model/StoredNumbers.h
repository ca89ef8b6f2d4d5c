#pragma once
// Numbers the grid reads from a user's file (the grid file, stored column widths, stored print
// settings), cut to what a screen or a page can hold before any arithmetic is done with them: a
// damaged or hostile file then lays out oddly at worst, never overflows. The page engine cuts
// the settings a caller gives it the same way.

#include <algorithm>
#include <cstdint>
#include <optional>

// A column width in screen pixels: wider than this no screen shows.
constexpr int kMaxStoredColWidth = 65535;
// A length on the printed page in tenths of a millimetre (spacings, margins, fixed sizes): ten
// metres, far past any page, either way.
constexpr int kMaxPageLength = 100000;
// A print font size in points, either way: the largest size the framework's font dialog offers.
constexpr int kMaxFontPoints = 1638;

// A stored column width: cut to kMaxStoredColWidth; a negative one stands for no width (the
// column keeps its own).
inline std::optional<int> StoredColWidth(int64_t Value)
{
    if (Value < 0)
        return std::nullopt;
    return static_cast<int>(std::min<int64_t>(Value, kMaxStoredColWidth));
}

// A page length or a font size cut to its bound, either way.
inline int ClampPageLength(int64_t Value)
{
    return static_cast<int>(std::clamp<int64_t>(Value, -kMaxPageLength, kMaxPageLength));
}

inline int ClampFontPoints(int64_t Value)
{
    return static_cast<int>(std::clamp<int64_t>(Value, -kMaxFontPoints, kMaxFontPoints));
}
