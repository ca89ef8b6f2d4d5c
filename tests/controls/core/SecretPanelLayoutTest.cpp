// The credits panel's geometry and scroll steps.

#include "controls/core/SecretPanelLayout.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/core/StringList.h"

namespace {

struct TGeometryRow {
    const char* name;
    TSize glyph;
    TGlyphLayout layout;
    bool sideways;
    int block;
    TRect text;
    TPoint origin;
};

class SecretPanelGeometryRow : public ::testing::TestWithParam<TGeometryRow> {};

// A 200 x 100 panel with one bevel pixel: text area (4, 4, 196, 96).
TEST_P(SecretPanelGeometryRow, PlacesTextAndPicture)
{
    const TGeometryRow& row = GetParam();
    const TSecretPanelGeometry g =
        SecretPanelGeometry(Rect(0, 0, 200, 100), 1, row.glyph, row.layout, row.sideways, row.block);
    EXPECT_EQ(g.PaintRect, Rect(1, 1, 199, 99));
    EXPECT_EQ(g.TextRect, row.text);
    EXPECT_EQ(g.GlyphOrigin, row.origin);
}

const TGeometryRow kGeometries[] = {
    {"NoPictureUsesTheWholeInside", {0, 0}, glGlyphLeft, false, 0, {4, 4, 196, 96}, {4, 50}},
    // Picture 3 pixels in, then the text 1 + 3 pixels after it.
    {"PictureLeftPushesTheTextRight", {32, 20}, glGlyphLeft, false, 0, {43, 4, 196, 96}, {7, 40}},
    {"PictureRightPullsTheTextLeft", {32, 20}, glGlyphRight, false, 0, {4, 4, 157, 96}, {161, 40}},
    {"PictureTopPushesTheTextDown", {32, 20}, glGlyphTop, false, 0, {4, 34, 196, 96}, {84, 7}},
    {"PictureBottomPullsTheTextUp", {32, 20}, glGlyphBottom, false, 0, {4, 4, 196, 66}, {84, 73}},
    // Sideways, a 32-pixel block of lines is centred in the 92-pixel text area.
    {"SidewaysBlockIsCentred", {0, 0}, glGlyphLeft, true, 32, {4, 34, 196, 66}, {4, 50}},
    {"PictureWiderThanThePanelLeavesNoText", {300, 20}, glGlyphLeft, false, 0, {0, 0, 0, 0}, {7, 40}},
};
INSTANTIATE_TEST_SUITE_P(Layouts, SecretPanelGeometryRow, ::testing::ValuesIn(kGeometries),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(SecretPanelLines, LeadingBlankLinesAreSkipped)
{
    TStringList lines;
    lines.SetText("\r\n  \r\nfirst\r\nlast\r\n\r\n");
    EXPECT_EQ(FirstTextLine(lines), 2);
    EXPECT_EQ(LastTextLine(lines), 3);
    lines.SetText(" \r\n");
    EXPECT_EQ(FirstTextLine(lines), 1);
    EXPECT_EQ(LastTextLine(lines), -1);
}

// Three lines of step 16 in a 100-pixel-high area: after 148 steps (100 + 48) the last line has
// just left the top and only the blank that follows it shows.
TEST(SecretPanelLines, UpwardsLinesEnterAtTheBottomAndLeaveAtTheTop)
{
    TSecretScroll s{0, 3, 16, TSize{150, 100}, 1, 148, false, false};
    std::vector<TSecretLine> lines = SecretPanelLines(s);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Index, 0);
    EXPECT_EQ(lines[0].Rect, Rect(0, 99, 150, 115));

    s.Scrolled = 148;
    lines = SecretPanelLines(s);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Index, 3);  // the blank after the last line
    EXPECT_EQ(lines[0].Rect, Rect(0, 0, 150, 16));
}

TEST(SecretPanelLines, SidewaysLinesEnterAtTheRight)
{
    // Widest line 60 pixels: length 60 + 150.
    TSecretScroll s{1, 2, 16, TSize{150, 40}, 10, 210, true, false};
    std::vector<TSecretLine> lines = SecretPanelLines(s);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].Index, 1);
    EXPECT_EQ(lines[0].Rect, Rect(140, 0, 200, 16));
    EXPECT_EQ(lines[1].Rect, Rect(140, 16, 200, 32));
    s.RightToLeft = true;
    EXPECT_EQ(SecretPanelLines(s)[0].Rect, Rect(-50, 0, 10, 16));
}

}  // namespace
