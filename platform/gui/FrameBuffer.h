#pragma once
// A 16-colour indexed framebuffer: one byte per pixel holding a palette index 0..15. The terminal
// and the bitmap fonts draw into it; the GUI layer only shows it. Every primitive is clipped to
// the buffer (and to the clip rectangle when one is set); nothing writes outside it.

#include <cstdint>
#include <vector>

struct TRectI {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;  // Right and Bottom exclusive
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
};

class TFrameBuffer {
public:
    TFrameBuffer() = default;
    TFrameBuffer(int width, int height, uint8_t fill = 0);

    // New size; the pixels that still fit keep their place, new ones get `fill`.
    void Resize(int width, int height, uint8_t fill = 0);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }

    // Restricts every primitive to r (intersected with the buffer); ClearClip lifts it.
    void SetClip(const TRectI& r);
    void ClearClip();
    // The rectangle primitives may touch: the buffer, intersected with the clip when one is set.
    TRectI ClipBox() const;

    uint8_t Pixel(int x, int y) const;  // 0 outside the buffer
    const uint8_t* Row(int y) const;    // nullptr outside the buffer
    // Writable row for fast writers that do their own clipping; nullptr outside the buffer.
    uint8_t* MutableRow(int y) { return const_cast<uint8_t*>(Row(y)); }
    void SetPixel(int x, int y, uint8_t index);

    void FillRect(const TRectI& r, uint8_t index);
    // Each pixel's index becomes 15 - index (the Windows inversion of the 16-colour palette).
    void InvertRect(const TRectI& r);
    // Copies the pixels of src (a rectangle of this buffer) to dx, dy; overlapping copies in any
    // direction are correct.
    void CopyRect(int dx, int dy, const TRectI& src);
    // Rotates the rows of r up by n (n > 0) or down (n < 0): the rows that leave at one edge come
    // back at the other. Scrolling a whole-width area costs no pixel copies.
    void RotateRows(const TRectI& r, int n);

    // Draws a 1-bit picture: `height` rows of `stride` bytes each, bit 7 of the first byte the
    // leftmost pixel, `width` pixels a row. Set bits get `fg`; clear bits get `bg`, or are left
    // alone when `bg` is negative.
    void BlitBits(int x, int y, const uint8_t* bits, int width, int height, int stride, uint8_t fg, int bg);

    void Line(int x0, int y0, int x1, int y1, uint8_t index);     // both ends drawn
    void FrameRect(const TRectI& r, uint8_t index);               // outline only
    void Ellipse(const TRectI& bounds, uint8_t index, int fill);  // fill < 0: outline only

private:
    uint8_t* RowData(int y);
    // Inclusive span x0..x1 of row y, limited to the clip box c.
    void HLine(int64_t x0, int64_t x1, int y, uint8_t index, const TRectI& c);

    int FWidth = 0, FHeight = 0;
    std::vector<uint8_t> FPixels;
    std::vector<int> FRowStart;  // row y lives at FPixels[FRowStart[y]] (rows rotate freely)
    TRectI FClip{};
    bool FHasClip = false;
};
