#pragma once
// One axis of a grid, its rows or its columns: how many there are, how many stay fixed at the
// start, the size of each, and the first scrollable one in view. Pixel positions count every
// item with a grid line after it; the fixed items come first, then the items from First on.

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

// A 64-bit pixel sum clamped into int.
inline int ClampToInt(int64_t value) { return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX)); }

class TGridAxis {
public:
    explicit TGridAxis(int defaultSize) : FDefaultSize(defaultSize) {}

    int Count() const { return FCount; }
    // New items take the default size; the fixed count and First follow a smaller count.
    void SetCount(int count);
    int Fixed() const { return FFixed; }
    // Callers keep the fixed count below Count (or 0 when there is nothing).
    void SetFixed(int fixed);
    int DefaultSize() const { return FDefaultSize; }
    // Every item takes the new default size.
    void SetDefaultSize(int size);
    // The size of an item; the default size outside the axis.
    int Size(int index) const;
    // Callers check the index.
    void SetSize(int index, int size);
    bool AllDefault() const { return FSizes.empty(); }

    // The first scrollable item in view (TopRow, LeftCol); kept within Fixed .. Count - 1.
    int First() const { return FFirst; }
    void SetFirst(int first);

    // Structure: items inserted take the default size; sizes move with their items.
    void Insert(int at, int count);
    void Delete(int at, int count);
    // Many items at once: removed at ascending indexes, or inserted so that they stand at
    // ascending indexes of the result.
    void DeleteSet(const std::vector<int>& indexes);
    void InsertSet(const std::vector<int>& positions);
    void Move(int from, int to);
    void Exchange(int a, int b);

    // --- Geometry for a client extent and grid-line width. Sizes and widths may be as large
    // as int holds: positions are summed in 64 bits, and an extent past INT_MAX reads INT_MAX.
    int FixedExtent(int line) const;
    int64_t FixedExtent64(int line) const;
    // Scrollable items from First that fit whole after the fixed ones (at least 1 when an item
    // is left, so a view narrower than one item still shows it).
    int VisibleCount(int client, int line) const;
    // The largest First that still fills the view to the last item.
    int MaxFirst(int client, int line) const;
    // The client position of an item's first pixel, -1 when it is scrolled out (before First),
    // starts at or past the client extent, or lies outside the axis. The walk stops at the
    // extent, so a far item costs no more than the view.
    int Position(int index, int line, int client) const;
    // The item under a client position: a fixed one, or one from First on; -1 past the last.
    int IndexAt(int pos, int line) const;

    // True when the counts, sizes and First agree with each other.
    bool CheckConsistency() const;

private:
    void ClampFirst();
    // An item's size with the grid line after it.
    int64_t Step(int index, int line) const;

    int FCount = 5;
    int FFixed = 1;
    int FDefaultSize;
    int FFirst = 1;
    std::vector<int> FSizes;  // empty: every item has the default size
};
