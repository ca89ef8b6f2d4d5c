#include "platform/gui/FrameBuffer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace {

__extension__ typedef __int128 Int128;

uint8_t Index(uint8_t v) { return v & 0x0F; }

TRectI Intersect(const TRectI& a, const TRectI& b)
{
    TRectI r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
             std::min(a.Bottom, b.Bottom)};
    if (r.Right < r.Left)
        r.Right = r.Left;
    if (r.Bottom < r.Top)
        r.Bottom = r.Top;
    return r;
}

bool Empty(const TRectI& r) { return r.Right <= r.Left || r.Bottom <= r.Top; }

// Each byte of a 1-bit row as eight pixel masks, 0xFF where the bit is set, leftmost pixel first
// in memory.
uint64_t ExpandedBits(uint8_t byte)
{
    static const auto table = [] {
        std::array<uint64_t, 256> t{};
        for (int b = 0; b < 256; ++b) {
            uint8_t bytes[8];
            for (int i = 0; i < 8; ++i)
                bytes[i] = (b & (0x80 >> i)) ? 0xFF : 0x00;
            std::memcpy(&t[static_cast<size_t>(b)], bytes, 8);
        }
        return t;
    }();
    return table[byte];
}

}  // namespace

TFrameBuffer::TFrameBuffer(int width, int height, uint8_t fill) { Resize(width, height, fill); }

void TFrameBuffer::Resize(int width, int height, uint8_t fill)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height, Index(fill));
    const int keepW = std::min(width, FWidth), keepH = std::min(height, FHeight);
    for (int y = 0; keepW > 0 && y < keepH; ++y)
        std::memcpy(&pixels[static_cast<size_t>(y) * width], &FPixels[FRowStart[y]], keepW);
    FPixels.swap(pixels);
    FWidth = width;
    FHeight = height;
    FRowStart.resize(height);
    for (int y = 0; y < height; ++y)
        FRowStart[y] = y * width;
}

void TFrameBuffer::SetClip(const TRectI& r)
{
    FClip = r;
    FHasClip = true;
}

void TFrameBuffer::ClearClip() { FHasClip = false; }

TRectI TFrameBuffer::ClipBox() const
{
    const TRectI all{0, 0, FWidth, FHeight};
    return FHasClip ? Intersect(all, FClip) : all;
}

uint8_t TFrameBuffer::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight)
        return 0;
    return FPixels[FRowStart[y] + x];
}

const uint8_t* TFrameBuffer::Row(int y) const
{
    if (y < 0 || y >= FHeight || FWidth == 0)
        return nullptr;
    return &FPixels[FRowStart[y]];
}

uint8_t* TFrameBuffer::RowData(int y) { return &FPixels[FRowStart[y]]; }

void TFrameBuffer::SetPixel(int x, int y, uint8_t index)
{
    const TRectI c = ClipBox();
    if (x < c.Left || x >= c.Right || y < c.Top || y >= c.Bottom)
        return;
    RowData(y)[x] = Index(index);
}

void TFrameBuffer::HLine(int64_t x0, int64_t x1, int y, uint8_t index, const TRectI& c)
{
    // Inclusive span x0..x1 on row y, already known to be a clip row.
    if (y < c.Top || y >= c.Bottom)
        return;
    x0 = std::max<int64_t>(x0, c.Left);
    x1 = std::min<int64_t>(x1, c.Right - 1);
    if (x1 < x0)
        return;
    std::memset(RowData(y) + x0, Index(index), static_cast<size_t>(x1 - x0 + 1));
}

void TFrameBuffer::FillRect(const TRectI& r, uint8_t index)
{
    const TRectI c = Intersect(r, ClipBox());
    if (Empty(c))
        return;
    for (int y = c.Top; y < c.Bottom; ++y)
        std::memset(RowData(y) + c.Left, Index(index), c.Width());
}

void TFrameBuffer::InvertRect(const TRectI& r)
{
    const TRectI c = Intersect(r, ClipBox());
    if (Empty(c))
        return;
    for (int y = c.Top; y < c.Bottom; ++y) {
        uint8_t* p = RowData(y);
        for (int x = c.Left; x < c.Right; ++x)
            p[x] = 15 - Index(p[x]);
    }
}

void TFrameBuffer::CopyRect(int dx, int dy, const TRectI& src)
{
    // Source pixels must exist; the destination is limited by the clip.
    TRectI s = Intersect(src, TRectI{0, 0, FWidth, FHeight});
    if (Empty(s))
        return;
    const int64_t offX = int64_t(dx) - src.Left, offY = int64_t(dy) - src.Top;
    const TRectI c = ClipBox();
    // Destination of s, clipped, mapped back to the source.
    const int64_t dl = std::max<int64_t>(s.Left + offX, c.Left);
    const int64_t dt = std::max<int64_t>(s.Top + offY, c.Top);
    const int64_t dr = std::min<int64_t>(s.Right + offX, c.Right);
    const int64_t db = std::min<int64_t>(s.Bottom + offY, c.Bottom);
    if (dr <= dl || db <= dt)
        return;
    const int w = static_cast<int>(dr - dl);
    const int sl = static_cast<int>(dl - offX);
    const int st = static_cast<int>(dt - offY), sb = static_cast<int>(db - offY);
    const int dTop = static_cast<int>(dt), dLeft = static_cast<int>(dl);
    // Moving down: copy the bottom row first so no source row is overwritten before it is read.
    if (offY > 0) {
        for (int y = sb - 1; y >= st; --y)
            std::memmove(RowData(dTop + (y - st)) + dLeft, RowData(y) + sl, w);
    } else {
        for (int y = st; y < sb; ++y)
            std::memmove(RowData(dTop + (y - st)) + dLeft, RowData(y) + sl, w);
    }
}

void TFrameBuffer::RotateRows(const TRectI& r, int n)
{
    const TRectI c = Intersect(r, ClipBox());
    if (Empty(c))
        return;
    const int h = c.Height();
    int k = static_cast<int>(((int64_t(n) % h) + h) % h);
    if (k == 0)
        return;
    if (c.Left == 0 && c.Right == FWidth) {
        std::rotate(FRowStart.begin() + c.Top, FRowStart.begin() + c.Top + k, FRowStart.begin() + c.Bottom);
        return;
    }
    const int w = c.Width();
    std::vector<uint8_t> tmp(static_cast<size_t>(w) * h);
    for (int i = 0; i < h; ++i)
        std::memcpy(&tmp[size_t(i) * w], RowData(c.Top + i) + c.Left, w);
    for (int i = 0; i < h; ++i)
        std::memcpy(RowData(c.Top + i) + c.Left, &tmp[size_t((i + k) % h) * w], w);
}

void TFrameBuffer::BlitBits(int x, int y, const uint8_t* bits, int width, int height, int stride, uint8_t fg, int bg)
{
    if (!bits || width <= 0 || height <= 0 || stride <= 0)
        return;
    // A stride too short for the width would read into the next row (or past the last one).
    width = static_cast<int>(std::min<int64_t>(width, int64_t(stride) * 8));
    const TRectI c = ClipBox();
    const int64_t x0 = std::max<int64_t>(x, c.Left), x1 = std::min<int64_t>(int64_t(x) + width, c.Right);
    const int64_t y0 = std::max<int64_t>(y, c.Top), y1 = std::min<int64_t>(int64_t(y) + height, c.Bottom);
    const uint8_t f = Index(fg), b = Index(static_cast<uint8_t>(bg));
    if (bg >= 0 && width % 8 == 0 && x0 == x && x1 == int64_t(x) + width) {
        // Opaque whole bytes inside the clip (every glyph of the terminal): eight pixels a step.
        const uint64_t fWord = f * 0x0101010101010101ull, bWord = b * 0x0101010101010101ull;
        for (int64_t py = y0; py < y1; ++py) {
            const uint8_t* src = bits + (py - y) * stride;
            uint8_t* dst = RowData(static_cast<int>(py)) + x;
            for (int k = 0; k < width / 8; ++k) {
                const uint64_t mask = ExpandedBits(src[k]);
                const uint64_t pixels = (mask & fWord) | (~mask & bWord);
                std::memcpy(dst + 8 * k, &pixels, 8);
            }
        }
        return;
    }
    for (int64_t py = y0; py < y1; ++py) {
        const uint8_t* src = bits + (py - y) * stride;
        uint8_t* dst = RowData(static_cast<int>(py));
        for (int64_t px = x0; px < x1; ++px) {
            const int64_t bx = px - x;
            if (src[bx >> 3] & (0x80 >> (bx & 7)))
                dst[px] = f;
            else if (bg >= 0)
                dst[px] = b;
        }
    }
}

void TFrameBuffer::Line(int x0, int y0, int x1, int y1, uint8_t index)
{
    // Each pixel comes from a closed form of Bresenham's steps, so only the steps that fall
    // inside the clip are visited, however long the line.
    const TRectI c = ClipBox();
    if (Empty(c))
        return;
    const int64_t dx = std::abs(int64_t(x1) - x0), dy = std::abs(int64_t(y1) - y0);
    const int sx = x1 >= x0 ? 1 : -1, sy = y1 >= y0 ? 1 : -1;
    const uint8_t v = Index(index);
    if (dx == 0 && dy == 0) {
        SetPixel(x0, y0, v);
        return;
    }
    const bool xMajor = dx >= dy;
    const int64_t major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    const int64_t m0 = xMajor ? x0 : y0, n0 = xMajor ? y0 : x0;
    const int sm = xMajor ? sx : sy, sn = xMajor ? sy : sx;
    const int64_t lo = xMajor ? c.Left : c.Top, hi = xMajor ? c.Right - 1 : c.Bottom - 1;
    // Steps i in 0..major with m0 + sm * i inside [lo, hi].
    int64_t i0, i1;
    if (sm > 0) {
        i0 = lo - m0;
        i1 = hi - m0;
    } else {
        i0 = m0 - hi;
        i1 = m0 - lo;
    }
    i0 = std::max<int64_t>(i0, 0);
    i1 = std::min<int64_t>(i1, major);
    for (int64_t i = i0; i <= i1; ++i) {
        const Int128 num = Int128(2) * i * minor + major;
        const int64_t step = static_cast<int64_t>(num / (Int128(2) * major));
        const int64_t m = m0 + sm * i, n = n0 + sn * step;
        const int64_t px = xMajor ? m : n, py = xMajor ? n : m;
        if (px >= c.Left && px < c.Right && py >= c.Top && py < c.Bottom)
            RowData(static_cast<int>(py))[px] = v;
    }
}

void TFrameBuffer::FrameRect(const TRectI& r, uint8_t index)
{
    if (Empty(r))
        return;
    const TRectI c = ClipBox();
    HLine(r.Left, int64_t(r.Right) - 1, r.Top, index, c);
    if (r.Bottom - 1 != r.Top)
        HLine(r.Left, int64_t(r.Right) - 1, r.Bottom - 1, index, c);
    const int64_t y0 = std::max<int64_t>(int64_t(r.Top) + 1, c.Top);
    const int64_t y1 = std::min<int64_t>(int64_t(r.Bottom) - 1, c.Bottom);
    for (int64_t y = y0; y < y1; ++y) {
        HLine(r.Left, r.Left, static_cast<int>(y), index, c);
        HLine(int64_t(r.Right) - 1, int64_t(r.Right) - 1, static_cast<int>(y), index, c);
    }
}

void TFrameBuffer::Ellipse(const TRectI& bounds, uint8_t index, int fill)
{
    if (Empty(bounds))
        return;
    const TRectI c = ClipBox();
    const int64_t L = bounds.Left, T = bounds.Top, R = bounds.Right, B = bounds.Bottom;
    const double a = double(R - L) / 2, b = double(B - T) / 2;
    const int64_t kMax = (R - L - 1) / 2;
    // Pixels of row y inside the ellipse, as the count cut from each side (symmetric by
    // construction); every row of the box keeps at least its middle pixel(s) and the middle
    // row(s) reach the left and right edges, so the outline touches all four sides.
    auto cut = [&](int64_t y) -> int64_t {
        const int64_t twice = 2 * (y - T) + 1 - (B - T);
        if (twice >= -1 && twice <= 1)
            return 0;
        const double d = (double(y - T) + 0.5 - b) / b;
        const double hw = a * std::sqrt(std::max(0.0, 1.0 - d * d));
        const double k = std::ceil(a - hw - 0.5 - 1e-9);
        return std::clamp<int64_t>(static_cast<int64_t>(std::max(k, 0.0)), 0, kMax);
    };
    const int64_t y0 = std::max<int64_t>(T, c.Top), y1 = std::min<int64_t>(B, c.Bottom);
    for (int64_t y = y0; y < y1; ++y) {
        const int64_t k = cut(y);
        const int64_t xl = L + k, xr = R - 1 - k;
        // Interior: strictly inside this row's span and inside both neighbours' spans.
        int64_t il = xl + 1, ir = xr - 1;
        if (y == T || y == B - 1) {
            il = xr + 1;  // the first and last rows are all outline
        } else {
            const int64_t kn = std::max(cut(y - 1), cut(y + 1));
            il = std::max(il, L + kn);
            ir = std::min(ir, R - 1 - kn);
        }
        const int row = static_cast<int>(y);
        if (il > ir) {
            HLine(xl, xr, row, index, c);
            continue;
        }
        HLine(xl, il - 1, row, index, c);
        HLine(ir + 1, xr, row, index, c);
        if (fill >= 0)
            HLine(il, ir, row, static_cast<uint8_t>(fill), c);
    }
}
