#include "platform/gui/FrameBuffer.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

// Every pixel, row by row, for comparing buffers.
std::vector<uint8_t> Pixels(const TFrameBuffer& fb)
{
    std::vector<uint8_t> v;
    for (int y = 0; y < fb.Height(); ++y)
        for (int x = 0; x < fb.Width(); ++x)
            v.push_back(fb.Pixel(x, y));
    return v;
}

// A buffer whose every pixel differs from its neighbours, so misplaced copies show.
TFrameBuffer Pattern(int w, int h)
{
    TFrameBuffer fb(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            fb.SetPixel(x, y, static_cast<uint8_t>((x * 3 + y * 7) % 16));
    return fb;
}

int Count(const TFrameBuffer& fb, uint8_t index)
{
    int n = 0;
    for (uint8_t p : Pixels(fb))
        n += p == index;
    return n;
}

}  // namespace

TEST(FrameBufferBasics, NewBufferIsFilledAndOutsideReadsAsZero)
{
    TFrameBuffer fb(4, 3, 9);
    EXPECT_EQ(Count(fb, 9), 12);
    EXPECT_EQ(fb.Pixel(-1, 0), 0);
    EXPECT_EQ(fb.Row(-1), nullptr);
    ASSERT_NE(fb.Row(2), nullptr);
    EXPECT_EQ(fb.Row(2)[3], 9);
}

TEST(FrameBufferBasics, SetPixelIgnoresPointsOutsideBufferAndClip)
{
    TFrameBuffer fb(5, 5);
    fb.SetPixel(-1, 2, 4);
    fb.SetPixel(2, INT_MIN, 4);
    fb.SetPixel(INT_MAX, INT_MAX, 4);
    EXPECT_EQ(Count(fb, 0), 25);
    fb.SetClip({1, 1, 3, 3});
    fb.SetPixel(0, 0, 4);
    fb.SetPixel(3, 3, 4);
    fb.SetPixel(2, 2, 4);
    EXPECT_EQ(Count(fb, 4), 1);
    EXPECT_EQ(fb.Pixel(2, 2), 4);
    fb.ClearClip();
    fb.SetPixel(0, 0, 4);
    EXPECT_EQ(fb.Pixel(0, 0), 4);
}

TEST(FrameBufferBasics, IndexesAreKeptInPaletteRange)
{
    TFrameBuffer fb(2, 1);
    fb.SetPixel(0, 0, 0x1F);
    fb.FillRect({1, 0, 2, 1}, 0xF3);
    EXPECT_EQ(fb.Pixel(0, 0), 15);
    EXPECT_EQ(fb.Pixel(1, 0), 3);
}

TEST(FrameBufferBasics, ResizeKeepsPixelsThatFitEvenAfterRotation)
{
    TFrameBuffer fb = Pattern(6, 4);
    fb.RotateRows({0, 0, 6, 4}, 1);
    const TFrameBuffer before = fb;
    fb.Resize(8, 3, 5);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(fb.Pixel(x, y), x < 6 ? before.Pixel(x, y) : 5) << x << "," << y;
    fb.Resize(-3, 2);
    EXPECT_EQ(fb.Width(), 0);
    EXPECT_EQ(fb.Row(0), nullptr);
}

TEST(FrameBufferFill, ClipsToBufferAndClipRect)
{
    TFrameBuffer fb(10, 8);
    fb.FillRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 3);
    EXPECT_EQ(Count(fb, 3), 80);
    fb.FillRect({8, 6, 20, 20}, 4);  // hangs over the bottom-right corner
    EXPECT_EQ(Count(fb, 4), 4);
    fb.FillRect({-5, -5, 1, 1}, 5);  // hangs over the top-left corner
    EXPECT_EQ(Count(fb, 5), 1);
    fb.FillRect({5, 5, 2, 2}, 6);  // inverted: nothing
    fb.FillRect({3, 3, 3, 9}, 6);  // empty width
    EXPECT_EQ(Count(fb, 6), 0);
    fb.SetClip({2, 2, 4, 5});
    fb.FillRect({0, 0, 10, 8}, 7);
    EXPECT_EQ(Count(fb, 7), 6);
    EXPECT_EQ(fb.Pixel(2, 2), 7);
    fb.SetClip({-100, -100, 100, 1});  // a clip larger than the buffer is cut to it
    fb.FillRect({0, 0, 10, 8}, 8);
    EXPECT_EQ(Count(fb, 8), 10);
}

TEST(FrameBufferFill, InvertMirrorsThePaletteAndTwiceRestores)
{
    TFrameBuffer fb = Pattern(7, 5);
    const auto orig = Pixels(fb);
    fb.InvertRect({-3, 1, 100, 3});
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) {
            const uint8_t o = orig[y * 7 + x];
            EXPECT_EQ(fb.Pixel(x, y), (y == 1 || y == 2) ? 15 - o : o);
        }
    fb.InvertRect({-3, 1, 100, 3});
    EXPECT_EQ(Pixels(fb), orig);
}

// The straightforward reading of a self-copy: read everything first, then write.
TEST(FrameBufferCopy, OverlappingCopiesInEveryDirectionMatchASnapshotCopy)
{
    for (int ox = -3; ox <= 3; ++ox)
        for (int oy = -3; oy <= 3; ++oy) {
            TFrameBuffer fb = Pattern(12, 10);
            const TFrameBuffer snap = fb;
            const TRectI src{3, 2, 9, 8};
            fb.CopyRect(src.Left + ox, src.Top + oy, src);
            for (int y = 0; y < 10; ++y)
                for (int x = 0; x < 12; ++x) {
                    const int sx = x - ox, sy = y - oy;
                    const bool inDest = sx >= src.Left && sx < src.Right && sy >= src.Top && sy < src.Bottom;
                    EXPECT_EQ(fb.Pixel(x, y), inDest ? snap.Pixel(sx, sy) : snap.Pixel(x, y))
                        << "offset " << ox << "," << oy << " at " << x << "," << y;
                }
        }
}

TEST(FrameBufferCopy, SourceAndDestinationAreClipped)
{
    TFrameBuffer fb = Pattern(8, 6);
    const TFrameBuffer snap = fb;
    // Source hanging off the left edge: only its existing part moves, to the matching place.
    fb.CopyRect(3, 0, {-2, 0, 2, 2});
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 2; ++y)
            EXPECT_EQ(fb.Pixel(x, y), (x >= 5 && x < 7) ? snap.Pixel(x - 5, y) : snap.Pixel(x, y));
    // Destination far outside, huge offsets: nothing changes, nothing crashes.
    fb = snap;
    fb.CopyRect(INT_MAX, INT_MAX, {0, 0, 8, 6});
    fb.CopyRect(INT_MIN, 0, {0, 0, 8, 6});
    fb.CopyRect(0, 0, {INT_MIN, INT_MIN, INT_MAX, INT_MAX});
    EXPECT_EQ(Pixels(fb), Pixels(snap));
    // The clip limits the destination only.
    fb.SetClip({4, 0, 6, 6});
    fb.CopyRect(2, 1, {0, 0, 8, 6});
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool written = x >= 4 && x < 6 && y >= 1;
            EXPECT_EQ(fb.Pixel(x, y), written ? snap.Pixel(x - 2, y - 1) : snap.Pixel(x, y));
        }
}

// The straightforward reading of a row rotation, for comparison.
void RotateByCopy(TFrameBuffer& fb, const TRectI& r, int n)
{
    const TFrameBuffer snap = fb;
    const int h = r.Height();
    for (int i = 0; i < h; ++i) {
        const int from = r.Top + (((i + n) % h) + h) % h;
        for (int x = r.Left; x < r.Right; ++x)
            fb.SetPixel(x, r.Top + i, snap.Pixel(x, from));
    }
}

TEST(FrameBufferRotate, RotationEqualsStraightforwardCopy)
{
    const TRectI areas[] = {{0, 0, 9, 11}, {0, 3, 9, 8}, {2, 1, 7, 10}, {0, 10, 9, 11}};
    for (const TRectI& r : areas)
        for (int n : {1, -1, 3, -4, 5, 11, 12, -23, 0}) {
            TFrameBuffer a = Pattern(9, 11), b = Pattern(9, 11);
            a.RotateRows(r, n);
            RotateByCopy(b, r, n);
            EXPECT_EQ(Pixels(a), Pixels(b)) << r.Left << "," << r.Top << " n=" << n;
            // Later drawing lands where the straightforward buffer has it too.
            a.FillRect({1, 2, 5, 4}, 15);
            b.FillRect({1, 2, 5, 4}, 15);
            a.CopyRect(0, 5, {0, 0, 9, 3});
            b.CopyRect(0, 5, {0, 0, 9, 3});
            EXPECT_EQ(Pixels(a), Pixels(b));
        }
}

TEST(FrameBufferRotate, FullWidthRotationMovesRowsWithoutCopying)
{
    TFrameBuffer fb = Pattern(16, 6);
    const uint8_t* row3 = fb.Row(3);
    const uint8_t* row1 = fb.Row(1);
    fb.RotateRows({0, 1, 16, 5}, 2);  // rows 1..4 go up by 2
    EXPECT_EQ(fb.Row(1), row3);
    EXPECT_EQ(fb.Row(3), row1);
}

TEST(FrameBufferRotate, ExtremeCountsAndAreasAreSafe)
{
    TFrameBuffer a = Pattern(5, 7), b = Pattern(5, 7);
    a.RotateRows({INT_MIN, 2, INT_MAX, 6}, INT_MIN);
    RotateByCopy(b, {0, 2, 5, 6}, INT_MIN % 4);
    EXPECT_EQ(Pixels(a), Pixels(b));
    a.RotateRows({0, 0, 5, 7}, INT_MAX);
    RotateByCopy(b, {0, 0, 5, 7}, INT_MAX % 7);
    EXPECT_EQ(Pixels(a), Pixels(b));
    a.RotateRows({3, 3, 1, 1}, 1);  // inverted
    EXPECT_EQ(Pixels(a), Pixels(b));
}

TEST(FrameBufferRotate, ClipLimitsRotatedArea)
{
    TFrameBuffer a = Pattern(6, 6), b = Pattern(6, 6);
    a.SetClip({0, 1, 6, 4});
    a.RotateRows({0, 0, 6, 6}, 1);
    RotateByCopy(b, {0, 1, 6, 4}, 1);
    EXPECT_EQ(Pixels(a), Pixels(b));
}

TEST(FrameBufferBlit, SetAndClearBitsWithOpaqueAndTransparentBackground)
{
    // 10 pixels a row: two bytes, the second only partly used.
    const uint8_t bits[] = {0xA0, 0x40, 0x01, 0x80};
    TFrameBuffer fb(12, 3, 7);
    fb.BlitBits(1, 0, bits, 10, 2, 2, 2, 9);
    const char* want[] = {"729299999927", "799999992297", "777777777777"};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 12; ++x)
            EXPECT_EQ(fb.Pixel(x, y), want[y][x] - '0') << x << "," << y;
    TFrameBuffer t(12, 3, 7);
    t.BlitBits(1, 0, bits, 10, 2, 2, 2, -1);
    const char* wantT[] = {"727277777727", "777777772277", "777777777777"};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 12; ++x)
            EXPECT_EQ(t.Pixel(x, y), wantT[y][x] - '0') << x << "," << y;
}

TEST(FrameBufferBlit, ClippedAtEveryEdge)
{
    const uint8_t ones[] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    for (int x : {-6, -1, 0, 3, 5, 8}) {
        for (int y : {-3, -1, 0, 2, 4}) {
            TFrameBuffer fb(8, 5);
            fb.BlitBits(x, y, ones, 8, 4, 2, 1, 0);  // an 8x4 block
            int expect = 0;
            for (int py = y; py < y + 4; ++py)
                for (int px = x; px < x + 8; ++px)
                    expect += px >= 0 && px < 8 && py >= 0 && py < 5;
            EXPECT_EQ(Count(fb, 1), expect) << x << "," << y;
        }
    }
    TFrameBuffer fb(8, 5);
    fb.SetClip({2, 1, 4, 3});
    fb.BlitBits(0, 0, ones, 8, 4, 2, 1, 0);
    EXPECT_EQ(Count(fb, 1), 4);
    fb.ClearClip();
    fb.BlitBits(INT_MAX - 2, 0, ones, 8, 4, 2, 1, 0);
    fb.BlitBits(INT_MIN, INT_MIN, ones, 8, 4, 2, 1, 0);
    fb.BlitBits(0, 0, nullptr, 8, 4, 2, 1, 0);
    fb.BlitBits(0, 0, ones, -8, 4, 2, 1, 0);
    EXPECT_EQ(Count(fb, 1), 4);
}

TEST(FrameBufferBlit, WidthLongerThanStrideReadsOnlyTheRow)
{
    const uint8_t bits[] = {0xFF, 0x00};  // two rows of one byte
    TFrameBuffer fb(20, 2);
    fb.BlitBits(0, 0, bits, 20, 2, 1, 3, 4);
    EXPECT_EQ(Count(fb, 3), 8);
    EXPECT_EQ(Count(fb, 4), 8);
}

TEST(FrameBufferLine, DrawsBothEndsAndOnePixelPerMajorStep)
{
    const int cases[][4] = {{1, 1, 8, 1}, {8, 1, 1, 1}, {2, 0, 2, 9}, {0, 0, 9, 9},
                            {9, 0, 0, 9}, {0, 0, 9, 3}, {9, 7, 1, 0}, {3, 3, 3, 3}};
    for (const auto& c : cases) {
        TFrameBuffer fb(10, 10);
        fb.Line(c[0], c[1], c[2], c[3], 5);
        EXPECT_EQ(fb.Pixel(c[0], c[1]), 5);
        EXPECT_EQ(fb.Pixel(c[2], c[3]), 5);
        const int major = std::max(std::abs(c[2] - c[0]), std::abs(c[3] - c[1]));
        EXPECT_EQ(Count(fb, 5), major + 1);
        // 8-connected: every drawn pixel but the ends has at least two drawn neighbours.
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x) {
                if (fb.Pixel(x, y) != 5 || (x == c[0] && y == c[1]) || (x == c[2] && y == c[3]))
                    continue;
                int n = 0;
                for (int ny = -1; ny <= 1; ++ny)
                    for (int nx = -1; nx <= 1; ++nx)
                        n += (nx || ny) && fb.Pixel(x + nx, y + ny) == 5 && x + nx >= 0 && y + ny >= 0 && x + nx < 10 &&
                            y + ny < 10;
                EXPECT_GE(n, 2) << x << "," << y;
            }
    }
}

// A clipped line has exactly the pixels the unclipped one has inside the window.
TEST(FrameBufferLine, ClippingKeepsThePixelsOfTheWholeLine)
{
    const int lines[][4] = {{-30, -7, 40, 25}, {35, -20, -12, 30}, {-5, 4, 50, 6}, {7, -40, 9, 60}};
    for (const auto& l : lines) {
        TFrameBuffer big(200, 200);
        big.Line(l[0] + 100, l[1] + 100, l[2] + 100, l[3] + 100, 6);
        TFrameBuffer fb(10, 10);
        fb.Line(l[0], l[1], l[2], l[3], 6);
        TFrameBuffer clipped(20, 20);
        clipped.SetClip({3, 2, 9, 7});
        clipped.Line(l[0], l[1], l[2], l[3], 6);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) {
                const uint8_t whole = big.Pixel(x + 100, y + 100);
                if (x < 10 && y < 10) {
                    EXPECT_EQ(fb.Pixel(x, y), whole) << x << "," << y;
                }
                const bool inClip = x >= 3 && x < 9 && y >= 2 && y < 7;
                EXPECT_EQ(clipped.Pixel(x, y), inClip ? whole : 0) << x << "," << y;
            }
    }
}

TEST(FrameBufferLine, HugeCoordinatesDrawOnlyTheVisiblePart)
{
    TFrameBuffer fb(10, 10);
    fb.Line(INT_MIN, 4, INT_MAX, 4, 2);
    EXPECT_EQ(Count(fb, 2), 10);
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(fb.Pixel(x, 4), 2);
    fb.Line(INT_MIN, INT_MIN, INT_MAX, INT_MAX, 3);  // the main diagonal, by symmetry
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(fb.Pixel(i, i), 3) << i;
    EXPECT_EQ(Count(fb, 3), 10);
    fb.Line(INT_MIN, INT_MIN, INT_MIN, INT_MAX, 4);
    fb.Line(-1, -1, -100, 50, 4);
    EXPECT_EQ(Count(fb, 4), 0);
}

TEST(FrameBufferFrame, OutlineTouchesTheInsideOfEachEdge)
{
    TFrameBuffer fb(8, 7);
    fb.FrameRect({1, 1, 6, 5}, 9);
    const char* want[] = {"00000000", "09999900", "09000900", "09000900", "09999900", "00000000", "00000000"};
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(fb.Pixel(x, y), want[y][x] - '0') << x << "," << y;
}

TEST(FrameBufferFrame, DegenerateAndClippedFrames)
{
    TFrameBuffer fb(8, 6);
    fb.FrameRect({2, 2, 6, 3}, 1);  // one row high
    EXPECT_EQ(Count(fb, 1), 4);
    fb.FrameRect({7, 0, 8, 6}, 2);  // one column wide
    EXPECT_EQ(Count(fb, 2), 6);
    fb.FrameRect({4, 4, 4, 6}, 3);  // empty
    EXPECT_EQ(Count(fb, 3), 0);
    TFrameBuffer c(8, 6);
    c.FrameRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 4);  // all edges outside
    EXPECT_EQ(Count(c, 4), 0);
    c.FrameRect({-1, -1, 8, 6}, 5);  // only right and bottom edges inside
    EXPECT_EQ(Count(c, 5), 8 + 6 - 1);
    c.SetClip({0, 0, 8, 5});
    c.FrameRect({0, 0, 8, 6}, 6);  // bottom edge cut by the clip
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(c.Pixel(x, 5), 5);
    for (int y = 0; y < 5; ++y)
        EXPECT_EQ(c.Pixel(7, y), 6);
    EXPECT_EQ(c.Pixel(0, 4), 6);
    EXPECT_EQ(c.Pixel(1, 4), 0);
}

TEST(FrameBufferEllipse, TouchesEveryEdgeOfItsBoxAndIsSymmetric)
{
    const TRectI boxes[] = {{0, 0, 10, 10}, {1, 2, 16, 9}, {0, 0, 1, 1}, {2, 2, 4, 3},
                            {0, 0, 3, 17},  {0, 0, 19, 2}, {3, 1, 8, 6}};
    for (const TRectI& b : boxes) {
        TFrameBuffer fb(20, 20);
        fb.Ellipse(b, 1, -1);
        bool left = false, right = false, top = false, bottom = false;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) {
                if (fb.Pixel(x, y) != 1)
                    continue;
                EXPECT_TRUE(x >= b.Left && x < b.Right && y >= b.Top && y < b.Bottom);
                left |= x == b.Left;
                right |= x == b.Right - 1;
                top |= y == b.Top;
                bottom |= y == b.Bottom - 1;
                EXPECT_EQ(fb.Pixel(b.Left + b.Right - 1 - x, y), 1);
                EXPECT_EQ(fb.Pixel(x, b.Top + b.Bottom - 1 - y), 1);
            }
        EXPECT_TRUE(left && right && top && bottom) << b.Right << "," << b.Bottom;
    }
}

TEST(FrameBufferEllipse, FillLiesInsideTheOutline)
{
    TFrameBuffer fb(24, 16);
    fb.Ellipse({2, 1, 22, 15}, 4, 12);
    int fill = 0;
    for (int y = 0; y < 16; ++y) {
        int first = -1, last = -1;
        for (int x = 0; x < 24; ++x)
            if (fb.Pixel(x, y) != 0) {
                if (first < 0)
                    first = x;
                last = x;
            }
        if (first < 0)
            continue;
        // Each row is one run: outline at both ends, nothing unpainted in between.
        EXPECT_EQ(fb.Pixel(first, y), 4);
        EXPECT_EQ(fb.Pixel(last, y), 4);
        for (int x = first; x <= last; ++x) {
            EXPECT_NE(fb.Pixel(x, y), 0);
            fill += fb.Pixel(x, y) == 12;
        }
    }
    EXPECT_GT(fill, 100);
    // The outline of the filled ellipse is the plain outline.
    TFrameBuffer plain(24, 16);
    plain.Ellipse({2, 1, 22, 15}, 4, -1);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 24; ++x)
            EXPECT_EQ(fb.Pixel(x, y) == 4, plain.Pixel(x, y) == 4);
}

TEST(FrameBufferEllipse, ClippingKeepsThePixelsOfTheWholeEllipse)
{
    const TRectI b{-7, -3, 15, 12};
    TFrameBuffer big(100, 100);
    big.Ellipse({b.Left + 50, b.Top + 50, b.Right + 50, b.Bottom + 50}, 2, 3);
    TFrameBuffer fb(10, 8);
    fb.SetClip({1, 0, 9, 6});
    fb.Ellipse(b, 2, 3);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool in = x >= 1 && x < 9 && y < 6;
            EXPECT_EQ(fb.Pixel(x, y), in ? big.Pixel(x + 50, y + 50) : 0) << x << "," << y;
        }
}

TEST(FrameBufferEllipse, HugeAndInvertedBoxesAreSafe)
{
    TFrameBuffer fb(10, 10);
    fb.Ellipse({5, 5, 2, 2}, 1, 1);
    EXPECT_EQ(Count(fb, 1), 0);
    // A box so large its outline passes far outside: the visible middle is all fill.
    fb.Ellipse({INT_MIN / 2, INT_MIN / 2, INT_MAX / 2, INT_MAX / 2}, 1, 2);
    EXPECT_EQ(Count(fb, 2), 100);
    TFrameBuffer edge(10, 10);
    edge.Ellipse({INT_MIN, 0, INT_MAX, 10}, 1, -1);
    EXPECT_GT(Count(edge, 1), 0);
}

TEST(FrameBufferClip, AnEmptyOrInvertedClipStopsEveryPrimitive)
{
    const uint8_t ones[] = {0xFF, 0xFF};
    for (const TRectI clip : {TRectI{5, 5, 2, 2}, TRectI{3, 3, 3, 8}, TRectI{20, 20, 30, 30},
                              TRectI{INT_MIN, INT_MIN, INT_MIN + 1, INT_MIN + 1}}) {
        TFrameBuffer fb = Pattern(10, 8);
        const auto before = Pixels(fb);
        fb.SetClip(clip);
        EXPECT_TRUE(fb.ClipBox().Width() <= 0 || fb.ClipBox().Height() <= 0);
        fb.SetPixel(4, 4, 1);
        fb.FillRect({0, 0, 10, 8}, 1);
        fb.InvertRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX});
        fb.CopyRect(0, 1, {0, 0, 10, 7});
        fb.RotateRows({0, 0, 10, 8}, 3);
        fb.BlitBits(0, 0, ones, 16, 1, 2, 1, 2);
        fb.Line(0, 0, 9, 7, 1);
        fb.FrameRect({0, 0, 10, 8}, 1);
        fb.Ellipse({0, 0, 10, 8}, 1, 2);
        EXPECT_EQ(Pixels(fb), before) << clip.Left << "," << clip.Top;
    }
}

TEST(FrameBufferClip, InvertWithExtremeRectanglesTouchesOnlyTheBuffer)
{
    TFrameBuffer fb(6, 4, 3);
    fb.InvertRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX});
    EXPECT_EQ(Count(fb, 12), 24);
    fb.InvertRect({INT_MAX - 1, 0, INT_MAX, 4});
    fb.InvertRect({0, INT_MIN, 6, INT_MIN + 5});
    EXPECT_EQ(Count(fb, 12), 24);
    fb.SetClip({5, 3, 100, 100});
    fb.InvertRect({0, 0, 6, 4});  // only the corner pixel is inside the clip
    EXPECT_EQ(Count(fb, 3), 1);
    EXPECT_EQ(fb.Pixel(5, 3), 3);
}

TEST(FrameBufferClip, PartialWidthRotationInsideAClipMatchesTheCopy)
{
    TFrameBuffer a = Pattern(9, 7), b = Pattern(9, 7);
    a.SetClip({2, 1, 6, 7});
    a.RotateRows({0, 0, 9, 5}, -2);
    RotateByCopy(b, {2, 1, 6, 5}, -2);
    EXPECT_EQ(Pixels(a), Pixels(b));
}
