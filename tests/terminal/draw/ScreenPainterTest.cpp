// The screen image in Hangul mode: drawing while decoding, repainting from the buffer when the
// view moves or the control is resized, and the scroll bar's state.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "DrawTestSupport.h"
#include "GoldenImage.h"

namespace {

// "한글 Hangul" and friends, in cp949.
const std::string kHan = "\xC7\xD1\xB1\xDB";   // 한글
const std::string kDdom = "\x8C\x63\xB9\xE6";  // 똠방
const std::string kStar = "\xA1\xDA";          // ★

std::string Lines(int from, int to)
{
    std::string s;
    for (int i = from; i <= to; ++i)
        s += "line " + std::to_string(i) + " \x1b[3" + std::to_string(i % 8) + "m" + kHan + "\x1b[37m\r\n";
    return s;
}

// Every kind of screen edit the core draws incrementally. The colours are set back to white on
// black before lines scroll: a line feed fills the new row with the host's current background,
// which no run records, so only then does a repaint from the buffer give the same picture.
const std::string kReset = "\x1b[0;37;40m";
const std::string kBusyStream = "\x1b[1;33;44m" + kHan + " title " + kReset +
    "\r\n"
    "\x1b[32mgreen\x1b[7m reverse \x1b[27m\x1b[4munder\x1b[24m end\r\n"
    "tab\there" +
    kDdom +
    "\r\n"
    "\x1b[41mfill the line\x1b[K" +
    kReset +
    "\r\n"
    "abcdefghij\x1b[1;4H\x1b[3@\x1b[2;3H\x1b[2P\x1b[4;2H\x1b[3X\r\n"
    "\x1b[6;1H" +
    kStar +
    "bottom row text that wraps past the edge\r\n"
    "\x1b[2;5r\x1b[5;1Hregion\r\nscrolls\r\n\x1b[r"
    "\x1b[3;1H\x1b[2L\x1b[1M\x1bM\x1b[1K\x1b[J";

}  // namespace

TEST(ScreenPainterGolden, ColouredHangulScreen)
{
    DrawnTerminal t;
    t.Feed("\x1b[1;33;44m" + kHan + " Hangul \x1b[0m " + kStar + "\r\n");
    t.Feed("\x1b[31m" + kDdom + "\x1b[32m green \x1b[4munder\x1b[0m\r\n");
    t.Feed("\x1b[7m reverse \x1b[0m\x1b[45m purple back \x1b[0m\r\n");
    golden::Expect(t.Screen(), "hangul-screen");
    EXPECT_TRUE(SamePixels(t.Screen(), t.Repainted()));
}

TEST(ScreenPainter, IncrementalDrawingMatchesARepaintFromTheBuffer)
{
    for (size_t chunk : {size_t(1), size_t(7), kBusyStream.size()}) {
        DrawnTerminal t;
        t.Feed(Lines(0, 8));
        for (size_t i = 0; i < kBusyStream.size(); i += chunk)
            t.Feed(std::string_view(kBusyStream).substr(i, chunk));
        EXPECT_TRUE(SamePixels(t.Screen(), t.Repainted())) << "chunk " << chunk;
    }
}

TEST(ScreenPainter, BitmapFontTextIsCutAtTheLastColumn)
{
    // A run at column 78 of an 80-column screen with six bytes shows only two of them.
    DrawnTerminal t(80, 3);
    t.painter.TextOut(78, 0, "WWWWWW", clWhite, clNavy, true);
    TFrameBuffer fb = t.Screen();
    EXPECT_GT(CountIndex(fb, 15, {624, 0, 640, 16}), 16);  // two W cells and their underline
    EXPECT_EQ(CountIndex(fb, 15, {624, 15, 640, 16}), 16);
    EXPECT_EQ(CountIndex(fb, 0, {0, 0, 624, 16}), 624 * 16);
    // Same on a wider image: the cells past the last column stay as they were.
    t.painter.Resize(800, 48);
    t.core.SetColumns(100);
    t.painter.Resize(800, 48);
    t.core.SetColumns(80);
    t.painter.TextOut(78, 1, "WWWWWW", clWhite, clNavy, true);
    EXPECT_EQ(CountIndex(t.Screen(), 0, {640, 16, 800, 32}), 160 * 16);
}

TEST(ScreenPainter, ScrolledViewShowsTheScrollBackAndReturnsLive)
{
    DrawnTerminal t;
    t.Feed(Lines(0, 19));
    const TFrameBuffer live = t.Screen();
    EXPECT_TRUE(t.core.ScrollView(t.core.MaxLinePos() - 3));
    golden::Expect(t.Screen(), "scrolled-view");
    EXPECT_TRUE(SamePixels(t.Screen(), t.Repainted()));
    EXPECT_EQ(t.painter.ScrollBar().Position, 12);
    EXPECT_EQ(t.painter.DrawTarget(), nullptr);
    t.core.ScrollView(t.core.MaxLinePos());
    EXPECT_TRUE(SamePixels(t.Screen(), live));
    EXPECT_NE(t.painter.DrawTarget(), nullptr);
}

TEST(ScreenPainter, EveryStepOfTheViewMatchesARepaint)
{
    DrawnTerminal t;
    t.Feed(Lines(0, 30));
    const int top = t.core.MaxLinePos();
    for (int pos : {top - 1, top - 2, top - 5, top - 4, top - 9, 0, top - 3, top}) {
        t.core.ScrollView(pos);
        EXPECT_TRUE(SamePixels(t.Screen(), t.Repainted())) << "view at " << pos;
    }
}

TEST(ScreenPainter, ScrollBarFollowsTheFirstLineOfTheLiveScreen)
{
    DrawnTerminal t;
    std::vector<TScrollBarState> seen;
    t.painter.OnScrollBarChanged = [&](const TScrollBarState& s) { seen.push_back(s); };
    t.Feed(Lines(0, 4));
    EXPECT_FALSE(t.painter.ScrollBar().Enabled);  // nothing scrolled off yet
    t.Feed(Lines(5, 7));
    const TScrollBarState s = t.painter.ScrollBar();
    EXPECT_TRUE(s.Enabled);
    EXPECT_EQ(s.Max, 9999);
    EXPECT_EQ(s.Position, t.core.MaxLinePos());
    EXPECT_EQ(s.Page, 10000 - t.core.MaxLinePos());
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), s);
    t.painter.DisableScrollBar();
    EXPECT_FALSE(t.painter.ScrollBar().Enabled);
}

TEST(ScreenPainter, TextDrawnWhileScrolledBackAppearsWhenTheViewReturns)
{
    DrawnTerminal t;
    t.Feed(Lines(0, 12));
    t.core.ScrollView(t.core.MaxLinePos() - 2);
    const TFrameBuffer back = t.Screen();
    // Local text is drawn through the gate; the scrolled-back view must not show it.
    t.core.PaintString("\x1b[1;1H\x1b[35mlocal\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
    EXPECT_TRUE(SamePixels(t.Screen(), back));
    t.core.ScrollView(t.core.MaxLinePos());
    EXPECT_TRUE(SamePixels(t.Screen(), t.Repainted()));
}

TEST(ScreenPainter, RepaintKeepsTheHostsCurrentBackground)
{
    DrawnTerminal t;
    t.Feed(Lines(0, 10));
    t.Feed("\x1b[44m");
    t.core.ScrollView(t.core.MaxLinePos() - 1);
    t.core.ScrollView(t.core.MaxLinePos());
    t.Feed("X\x1b[K");
    // The erased cells take the host's blue (navy, index 4), not the control's black.
    const int row = (t.core.CurY() - t.core.MaxLinePos()) * 16;
    EXPECT_EQ(CountIndex(t.Screen(), 4, {8, row, 160, row + 16}), 152 * 16);
}

TEST(ScreenPainterGolden, PictureAfterAResize)
{
    DrawnTerminal t;
    t.Feed(Lines(0, 9));
    t.Feed("\x1b[33mlast " + kHan);
    // Fewer rows: the cursor line stays the last visible row.
    t.SetRows(4);
    EXPECT_EQ(t.core.CurY() - t.core.LinePos(), 3);
    golden::Expect(t.Screen(), "after-resize");
    // More rows again: the scroll-back fills the top.
    t.SetRows(7);
    EXPECT_EQ(t.Screen().Height(), 112);
    EXPECT_TRUE(SamePixels(t.Screen(), t.Repainted()));
    t.Feed("\r\nnext");
    EXPECT_TRUE(SamePixels(t.Screen(), t.Repainted()));
}

TEST(ScreenPainter, HanModeSetsBitmapCellsOnce)
{
    TTerminalCore core;
    TScreenPainter p(core);
    EXPECT_EQ(p.CellWidth(), 1);
    EXPECT_TRUE(p.SetHanMode(true));
    EXPECT_EQ(p.CellHeight(), 16);
    EXPECT_FALSE(p.SetHanMode(true));
    // Off only clears the mode; the cells wait for a font.
    EXPECT_FALSE(p.SetHanMode(false));
    EXPECT_EQ(p.CellWidth(), 8);
    p.Resize(500, 100);
    EXPECT_EQ(p.Screen().Width(), 640);
    EXPECT_EQ(p.DrawnWidth(), 500);
}

TEST(ScreenPainter, EventsReachTheOwner)
{
    DrawnTerminal t;
    int beeps = 0, resets = 0, chunks = 0, invalidates = 0;
    t.painter.OnBeep = [&] { ++beeps; };
    t.painter.OnResetSelectionRect = [&] { ++resets; };
    t.painter.OnChunkDecoded = [&] { ++chunks; };
    t.painter.OnInvalidate = [&] { ++invalidates; };
    t.Feed("\a" + Lines(0, 6));
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(resets, 2);  // two line feeds on the bottom row
    EXPECT_EQ(chunks, 1);
    EXPECT_GT(invalidates, 0);
}

namespace {

// A system font of 10 x 20 cells that records what it is asked to draw.
struct FakeRaster : ITextRaster {
    struct Call {
        int x, y;
        std::string text;
        uint8_t fg;
        int bg;
        bool underline;
    };
    std::vector<Call> calls;
    std::string font;
    int size = 0;
    void SetFont(const AnsiString& name, int sz) override
    {
        font = name;
        size = sz;
    }
    int CharWidth() const override { return 10; }
    int CharHeight() const override { return 20; }
    void TextOut(TFrameBuffer& fb, int x, int y, std::string_view text, uint8_t fg, int bg, bool underline) override
    {
        calls.push_back({x, y, std::string(text), fg, bg, underline});
        fb.FillRect({x, y, x + 10 * static_cast<int>(text.size()), y + 20}, static_cast<uint8_t>(bg));
    }
    // The pixel rows drawn into since the last Clear.
    std::vector<int> Rows() const
    {
        std::vector<int> r;
        for (const Call& c : calls)
            r.push_back(c.y);
        std::sort(r.begin(), r.end());
        r.erase(std::unique(r.begin(), r.end()), r.end());
        return r;
    }
};

}  // namespace

TEST(ScreenPainterWinFont, CellsComeFromTheFontAndTextIsNotCut)
{
    FakeRaster raster;
    DrawnTerminal t(80, 4, &raster, false);
    EXPECT_EQ(raster.font, "\xB1\xBC\xB8\xB2\xC3\xBC");
    EXPECT_EQ(std::pair(t.Screen().Width(), t.Screen().Height()), std::pair(800, 80));
    raster.calls.clear();
    // A run at column 78 with six bytes (as a repaint of a wider line would ask).
    t.painter.TextOut(78, 1, "WWWWWW", clOlive, clNavy, true);
    EXPECT_TRUE(raster.calls.empty());  // kept until the image is looked at
    t.painter.Flush();
    ASSERT_FALSE(raster.calls.empty());
    const auto& c = raster.calls.front();
    EXPECT_EQ(std::pair(c.x, c.y), std::pair(780, 20));
    EXPECT_EQ(c.text, "WWWWWW");  // the bitmap fonts would keep two bytes of it
    EXPECT_EQ(std::tuple(c.fg, c.bg, c.underline), std::tuple(ColorToNibble(clOlive), ColorToNibble(clNavy), true));
}

TEST(ScreenPainterWinFont, ScrollingBackOneLinePaintsOneRowAndForwardTwo)
{
    FakeRaster raster;
    DrawnTerminal t(20, 5, &raster, false);
    t.Feed(Lines(0, 12) + "tail");
    t.painter.Flush();
    raster.calls.clear();
    t.core.ScrollView(t.core.MaxLinePos() - 1);
    EXPECT_EQ(raster.Rows(), std::vector<int>{0});
    raster.calls.clear();
    t.core.ScrollView(t.core.MaxLinePos());
    EXPECT_EQ(raster.Rows(), (std::vector<int>{60, 80}));
    // The view unchanged: every visible row again.
    raster.calls.clear();
    t.painter.Redraw();
    EXPECT_EQ(raster.Rows(), (std::vector<int>{0, 20, 40, 60, 80}));
}

TEST(ScreenPainterWinFont, HanjaInHangulModeGoThroughTheSystemFont)
{
    FakeRaster raster;
    DrawnTerminal t(20, 3, &raster, true);
    raster.calls.clear();
    t.Feed("a\xF9\xD3"
           "b");  // a 命 b
    t.painter.Flush();
    ASSERT_EQ(raster.calls.size(), 1u);
    EXPECT_EQ(raster.calls[0].text, "\xF9\xD3");
    EXPECT_EQ(raster.calls[0].x, 8);
}

TEST(ScreenPainter, MiscCapTextOutUsesTheRenderersColours)
{
    DrawnTerminal t;
    t.painter.SetFontColor(clYellow);
    t.painter.SetBackColor(clBlue);
    t.painter.MiscCapTextOut(16, 16, "ab", true);
    EXPECT_GT(CountIndex(t.Screen(), 11, {16, 16, 32, 32}), 16);
    EXPECT_EQ(CountIndex(t.Screen(), 11, {16, 16, 32, 32}) + CountIndex(t.Screen(), 12, {16, 16, 32, 32}), 256);
    t.painter.MiscCapCanvasFillRect({16, 16, 32, 32});
    EXPECT_EQ(CountIndex(t.Screen(), 12, {16, 16, 32, 32}), 256);
}

TEST(ScreenPainter, KeptDrawingGivesThePictureOfDrawingAtOnce)
{
    // Blue line feeds fill with the host's colour (no run records it), regions scroll by copies.
    const std::string stream = Lines(0, 9) + "\x1b[44m" + Lines(10, 14) + kBusyStream + "\x1b[42m\r\n\r\n" +
        "\x1b[3;5r\x1b[5;1H1\r\n2\r\n3\x1b[1;1H\x1b[2L\x1b[r" + Lines(15, 16) + "\x1b[2;3H\x1b[4@x";
    for (size_t chunk : {size_t(1), size_t(5), size_t(64)}) {
        DrawnTerminal atOnce, kept;
        for (size_t i = 0; i < stream.size(); i += chunk) {
            const std::string_view piece = std::string_view(stream).substr(i, chunk);
            atOnce.Feed(piece);
            atOnce.painter.Flush();
            kept.Feed(piece);
        }
        EXPECT_TRUE(SamePixels(atOnce.Screen(), kept.Screen())) << "chunk " << chunk;
    }
}

TEST(ScreenPainter, KeptDrawingIsPlayedBeforeTheOwnSequencesDraw)
{
    DrawnTerminal t(20, 6);
    // Text, then a picture row over it, then a scroll: the picture must be over the text and
    // move with it.
    t.Feed("\x1b[2;1HWWWW\x1b[0;24;2%\x1b[*,FFFF");
    t.Feed("\x1b[6;1H\r\n");
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(t.Px(x, 8), 15) << x;
    EXPECT_EQ(t.Px(16, 8), 0);
}
