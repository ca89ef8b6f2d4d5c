#pragma once
// The framework's point, size and rectangle; no display needed. A rectangle's right and bottom
// edges are exclusive, as Win32 draws them.

#include <algorithm>

struct TPoint {
    int x = 0, y = 0;
    bool operator==(const TPoint&) const = default;
};

struct TSize {
    int cx = 0, cy = 0;
    bool operator==(const TSize&) const = default;
};

struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool operator==(const TRect&) const = default;
};

inline TPoint Point(int x, int y) { return TPoint{x, y}; }
inline TRect Rect(int left, int top, int right, int bottom) { return TRect{left, top, right, bottom}; }
inline TRect Bounds(int left, int top, int width, int height) { return TRect{left, top, left + width, top + height}; }

// Win32 rectangle helpers.
inline void OffsetRect(TRect& r, int dx, int dy)
{
    r.Left += dx;
    r.Right += dx;
    r.Top += dy;
    r.Bottom += dy;
}
inline void InflateRect(TRect& r, int dx, int dy)
{
    r.Left -= dx;
    r.Right += dx;
    r.Top -= dy;
    r.Bottom += dy;
}
// The common part of a and b; an empty result is (0, 0, 0, 0) and false.
inline bool IntersectRect(TRect& out, const TRect& a, const TRect& b)
{
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
    if (r.IsEmpty())
        r = TRect{};
    out = r;
    return !r.IsEmpty();
}
// The smallest rectangle holding both; an empty one does not count.
inline bool UnionRect(TRect& out, const TRect& a, const TRect& b)
{
    if (a.IsEmpty()) {
        out = b.IsEmpty() ? TRect{} : b;
    } else if (b.IsEmpty()) {
        out = a;
    } else {
        out = TRect{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                    std::max(a.Bottom, b.Bottom)};
    }
    return !out.IsEmpty();
}
// Win32 PtInRect: the right and bottom edges are outside.
inline bool PtInRect(const TRect& r, const TPoint& p)
{
    return p.x >= r.Left && p.x < r.Right && p.y >= r.Top && p.y < r.Bottom;
}
