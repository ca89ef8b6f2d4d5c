// Button layout and caption shortening with a font of 6-pixel characters and 13-pixel lines;
// the expected places are worked out by hand from the layout rules.

#include "controls/core/ButtonLayout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "HangulText.h"

namespace {

constexpr int kCharWidth = 6;
constexpr int kLineHeight = 13;

int Width(std::string_view text) { return static_cast<int>(text.size()) * kCharWidth; }

// One line, or as many as a wrap at MaxWidth needs.
TSize Bounds(std::string_view text, int maxWidth, bool wrap)
{
    const int w = Width(text);
    if (!wrap || w <= maxWidth || maxWidth <= 0)
        return TSize{w, kLineHeight};
    return TSize{maxWidth, (w + maxWidth - 1) / maxWidth * kLineHeight};
}

struct TLayoutRow {
    const char* name;
    TRect client;
    TPoint glyph;
    TButtonLayout layout;
    int margin, spacing;
    bool mark, wrap;
    const char* caption;
    TPoint glyphPos;
    TRect text;
    const char* drawn;
};

class ButtonLayoutRow : public ::testing::TestWithParam<TLayoutRow> {};

TEST_P(ButtonLayoutRow, PlacesGlyphAndCaption)
{
    const TLayoutRow& row = GetParam();
    TButtonLayoutInput in{row.client, row.glyph, row.layout, row.margin, row.spacing, row.mark, row.wrap};
    TButtonTextMetrics metrics{Width, [&](std::string_view t, int max) { return Bounds(t, max, row.wrap); }};
    const TButtonLayoutResult out = CalcButtonLayout(in, row.caption, metrics);
    EXPECT_EQ(out.GlyphPos, row.glyphPos);
    EXPECT_EQ(out.TextBounds, row.text);
    EXPECT_EQ(out.Caption, row.drawn);
}

const TLayoutRow kLayouts[] = {
    // (110 - 16 - 30) / 3 = 18 on each side and between, moved by the client's corner.
    {"BothAutomaticSpreadsThreeEqualGaps",
     {10, 5, 110, 35},
     {16, 16},
     blGlyphLeft,
     -1,
     -1,
     false,
     false,
     "abcde",
     {28, 12},
     {62, 14, 92, 27},
     "abcde"},
    // Glyph, 1 pixel and a 13-pixel line centred in 40: margin 20 - 30 / 2 = 5.
    {"GlyphAboveCaptionCentredTogether",
     {0, 0, 40, 40},
     {16, 16},
     blGlyphTop,
     -1,
     1,
     false,
     false,
     "ab",
     {12, 5},
     {14, 22, 26, 35},
     "ab"},
    // The mark widens the caption by 9 for centring; no glyph, so no spacing.
    {"MarkBesideCaptionWithoutGlyph",
     {0, 0, 60, 20},
     {0, 0},
     blGlyphTop,
     -1,
     1,
     true,
     false,
     "abc",
     {30, 4},
     {17, 4, 35, 17},
     "abc"},
    // With a glyph above the caption the mark widens the glyph by 6 instead.
    {"MarkAfterGlyphAboveCaption",
     {0, 0, 60, 40},
     {16, 16},
     blGlyphTop,
     -1,
     1,
     true,
     false,
     "ab",
     {19, 5},
     {24, 22, 36, 35},
     "ab"},
    // 40 - 2 leaves 38 pixels: "abc..." is the longest shortening that fits.
    {"CaptionWiderThanTheRoomIsShortened",
     {0, 0, 40, 20},
     {0, 0},
     blGlyphLeft,
     2,
     -1,
     false,
     false,
     "abcdefghij",
     {2, 10},
     {2, 4, 38, 17},
     "abc..."},
    {"WrappedCaptionKeepsItsText",
     {0, 0, 40, 40},
     {0, 0},
     blGlyphTop,
     -1,
     1,
     false,
     true,
     "abcdefghij",
     {20, 7},
     {0, 7, 40, 33},
     "abcdefghij"},
    // Spacing (100 - 20) / 2 - 30 / 2 = 25 from the glyph at 100 - 4 - 16.
    {"GlyphRightWithMarginSpreadsTheSpacing",
     {0, 0, 100, 30},
     {16, 16},
     blGlyphRight,
     4,
     -1,
     false,
     false,
     "abcde",
     {80, 7},
     {25, 9, 55, 22},
     "abcde"},
    {"GlyphBottomCountsFromTheBottomEdge",
     {0, 0, 40, 50},
     {16, 16},
     blGlyphBottom,
     3,
     2,
     false,
     false,
     "ab",
     {12, 31},
     {14, 16, 26, 29},
     "ab"},
};
INSTANTIATE_TEST_SUITE_P(Layouts, ButtonLayoutRow, ::testing::ValuesIn(kLayouts),
                         [](const auto& row) { return std::string(row.param.name); });

struct TMinimizeRow {
    const char* name;
    std::string caption;
    bool wrap;
    int width;
    std::string expected;
};

class MinimizeCaptionRow : public ::testing::TestWithParam<TMinimizeRow> {};

TEST_P(MinimizeCaptionRow, ShortensTheCaption)
{
    const TMinimizeRow& row = GetParam();
    EXPECT_EQ(MinimizeCaption(row.caption, row.wrap, row.width, Width), row.expected);
}

std::string Repeat(const std::string& s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

const TMinimizeRow kMinimizes[] = {
    {"EachLineShortenedOnItsOwn", "abcdefghij\r\nxy", false, 38, "abc...\r\nxy"},
    {"TrailingBlanksAndBreaksDropped", "ab  \r\n", false, 100, "ab"},
    // 255 bytes would end on the lead byte of the 128th character: the cut keeps 127 whole.
    {"RegressionByteLimitNeverSplitsAHangulPair", Repeat(hangul::kHanGeul, 100), true, 0,
     Repeat(hangul::kHanGeul, 63) + "\xC7\xD1"},
};
INSTANTIATE_TEST_SUITE_P(Captions, MinimizeCaptionRow, ::testing::ValuesIn(kMinimizes),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace

namespace {

// Margins, spacings, glyphs and clients past what a screen shows are cut to it first: no sum
// overflows, and the places stay on the 16-bit drawing plane.
struct TOverflowRow {
    const char* name;
    TRect client;
    TPoint glyph;
    int margin, spacing;
};

const TOverflowRow kOverflows[] = {
    {"SpacingNearIntMin", {0, 0, 100, 30}, {16, 16}, -1, -2147483647},
    {"MarginAndSpacingOfTwoBillion", {0, 0, 100, 30}, {16, 16}, 2000000000, 2000000000},
    {"ClientAcrossTheWholeIntRange", {-2147483647, 0, 2147483647, 30}, {16, 16}, -1, -1},
    {"GlyphOfIntMax", {0, 0, 100, 30}, {2147483647, 2147483647}, -1, 4},
};

class ButtonLayoutOverflow : public ::testing::TestWithParam<TOverflowRow> {};

TEST_P(ButtonLayoutOverflow, SpeedButtonLayoutOverflowIsClamped)
{
    const TOverflowRow& row = GetParam();
    for (TButtonLayout layout : {blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom}) {
        TButtonLayoutInput in{row.client, row.glyph, layout, row.margin, row.spacing, true, false};
        TButtonTextMetrics metrics{Width, [](std::string_view t, int max) { return Bounds(t, max, false); }};
        const TButtonLayoutResult out = CalcButtonLayout(in, "Caption", metrics);
        for (int v : {out.GlyphPos.x, out.GlyphPos.y, out.TextBounds.Left, out.TextBounds.Right})
            EXPECT_LE(std::abs(v), 8 * 32767) << layout;
    }
}

INSTANTIATE_TEST_SUITE_P(Extremes, ButtonLayoutOverflow, ::testing::ValuesIn(kOverflows),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
