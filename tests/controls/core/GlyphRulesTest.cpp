// The glyph strip rules: image counts from a strip's shape, which image shows each state and
// how missing images are made, the inactive grey, and slot reuse in a shared list.

#include "controls/core/GlyphRules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TStripRow {
    const char* name;
    int width, height, before, after;
};

class StripGlyphCountRow : public ::testing::TestWithParam<TStripRow> {};

TEST_P(StripGlyphCountRow, CountsTheImages)
{
    const TStripRow& row = GetParam();
    EXPECT_EQ(StripGlyphCount(row.width, row.height, row.before), row.after);
}

const TStripRow kStrips[] = {
    {"FourSquaresSideBySide", 64, 16, 1, 4},
    {"SixSquaresAreOneImage", 96, 16, 3, 1},
    {"WidthNotAMultipleKeepsTheCount", 50, 16, 3, 3},
    {"EmptyStripKeepsTheCount", 0, 16, 2, 2},
};
INSTANTIATE_TEST_SUITE_P(Strips, StripGlyphCountRow, ::testing::ValuesIn(kStrips),
                         [](const auto& row) { return std::string(row.param.name); });

// For each state, in the order up, disabled, down, exclusive, inactive: the state whose image
// serves it, the strip image it starts from, and how it is made.
struct TImageRow {
    const char* name;
    int numGlyphs;
    TExButtonState serving[kButtonStateCount];
    int source[kButtonStateCount];
    TGlyphBuild build[kButtonStateCount];
};

class StateImageRow : public ::testing::TestWithParam<TImageRow> {};

TEST_P(StateImageRow, ChoosesEachStatesImage)
{
    const TImageRow& row = GetParam();
    for (int s = 0; s < kButtonStateCount; ++s) {
        const auto state = static_cast<TExButtonState>(s);
        SCOPED_TRACE(s);
        EXPECT_EQ(ServingState(state, row.numGlyphs), row.serving[s]);
        EXPECT_EQ(SourceImageFor(state, row.numGlyphs), row.source[s]);
        EXPECT_EQ(GlyphBuildFor(state, row.numGlyphs), row.build[s]);
    }
}

const TImageRow kImages[] = {
    {"OneImageDownIsUpAndTheRestAreMade",
     1,
     {rbsUp, rbsDisabled, rbsUp, rbsExclusive, rbsInactive},
     {0, 0, 0, 0, 0},
     {gbCopy, gbEmbossed, gbCopy, gbCopy, gbGrey}},
    {"TwoImagesDisabledIsTheSecond",
     2,
     {rbsUp, rbsDisabled, rbsUp, rbsExclusive, rbsInactive},
     {0, 1, 0, 0, 0},
     {gbCopy, gbCopy, gbCopy, gbCopy, gbGrey}},
    {"ThreeImagesDownIsTheThirdExclusiveTheFirst",
     3,
     {rbsUp, rbsDisabled, rbsDown, rbsExclusive, rbsInactive},
     {0, 1, 2, 0, 0},
     {gbCopy, gbCopy, gbCopy, gbCopy, gbGrey}},
    {"FiveImagesServeEveryState",
     5,
     {rbsUp, rbsDisabled, rbsDown, rbsExclusive, rbsInactive},
     {0, 1, 2, 3, 4},
     {gbCopy, gbCopy, gbCopy, gbCopy, gbCopy}},
};
INSTANTIATE_TEST_SUITE_P(States, StateImageRow, ::testing::ValuesIn(kImages),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(MapGreyColor, KeepsTransparentAndFaceColoursAndGreysTheRest)
{
    EXPECT_EQ(MapGreyColor(clFuchsia, clFuchsia), clFuchsia);
    EXPECT_EQ(MapGreyColor(ColorToRGB(clBtnFace), clFuchsia), ColorToRGB(clBtnFace));
    // Red: 255 * 77 / 256 = 76; white stays white (255 * 256 / 256).
    EXPECT_EQ(MapGreyColor(clRed, clFuchsia), RGB(76, 76, 76));
    EXPECT_EQ(MapGreyColor(clWhite, clFuchsia), RGB(255, 255, 255));
}

TEST(GlyphSlots, FreedSlotIsTheNextOneHandedOut)
{
    TGlyphSlots slots;
    bool grow = false;
    EXPECT_EQ(slots.Allocate(grow), 0);
    EXPECT_TRUE(grow);
    EXPECT_EQ(slots.Allocate(grow), 1);
    EXPECT_EQ(slots.Allocate(grow), 2);
    slots.Release(1);
    slots.Release(1);  // twice: counted once
    EXPECT_EQ(slots.UsedCount(), 2);
    EXPECT_EQ(slots.Allocate(grow), 1);
    EXPECT_FALSE(grow);
    EXPECT_EQ(slots.Count(), 3);
}

}  // namespace
