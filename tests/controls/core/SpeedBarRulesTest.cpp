// The speed bar's display-free rules: grid steps, snapping, the edge a dragged bar goes to,
// resizing by rows, margins, hints that follow captions, section titles, layout entries and
// the customise window's list heights.

#include "controls/core/SpeedBarRules.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(SpeedBarRules, GridSteps)
{
    struct {
        int size, step;
    } const cases[] = {{24, 8}, {23, 1}, {25, 5}, {1, 1}, {0, 1}, {-5, 1}, {2, 1}, {3, 1}, {6, 2}, {9, 3}, {48, 8}};
    for (const auto& c : cases)
        EXPECT_EQ(SpeedBarGridStep(c.size), c.step) << c.size;
}

struct TSnapCase {
    const char* name;
    TPoint p;
    bool horizontal;
    TPoint grid;
    TPoint expected;
};

const TSnapCase kSnapCases[] = {
    {"HorizontalTruncatesX", {13, 3}, true, {8, 23}, {11, 3}},
    {"HorizontalRoundsY", {13, 15}, true, {8, 23}, {11, 26}},
    {"HalfRoundsToEven", {3, 3 + 23 + 11}, true, {8, 22}, {3, 3 + 44}},
    {"TopLeftZeroLandsOnTheOffsets", {0, 0}, true, {8, 23}, {3, 3}},
    {"VerticalRoundsX", {16, 13}, false, {24, 8}, {27, 11}},
    {"GridBelowOneCountsAsOne", {7, 9}, true, {0, -2}, {7, 9}},
};

class SnapCase : public ::testing::TestWithParam<TSnapCase> {};

TEST_P(SnapCase, Snaps)
{
    const TSnapCase& c = GetParam();
    const TPoint got = SnapToSpeedGrid(c.p, c.horizontal, c.grid, 3, 3);
    EXPECT_EQ(got.x, c.expected.x);
    EXPECT_EQ(got.y, c.expected.y);
}

INSTANTIATE_TEST_SUITE_P(Points, SnapCase, ::testing::ValuesIn(kSnapCases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(SpeedBarRules, EdgesByTheDiagonals)
{
    EXPECT_EQ(EdgeByDiagonals(200, 10, 400, 300), beTop);
    EXPECT_EQ(EdgeByDiagonals(200, 290, 400, 300), beBottom);
    EXPECT_EQ(EdgeByDiagonals(10, 150, 400, 300), beLeft);
    EXPECT_EQ(EdgeByDiagonals(390, 150, 400, 300), beRight);
    // A parent without area divides by 1, never by zero.
    EXPECT_EQ(EdgeByDiagonals(0, 0, 0, 0), beLeft);
    EXPECT_EQ(EdgeByDiagonals(5, -5, 0, 0), beTop);
}

TEST(SpeedBarRules, ResizeRowsAndZones)
{
    EXPECT_EQ(SpeedBarResizeCount(50, 23), 2);
    EXPECT_EQ(SpeedBarResizeCount(-50, 23), 2);
    EXPECT_EQ(SpeedBarResizeCount(10, 23), 1);
    EXPECT_EQ(SpeedBarResizeCount(10, 0), 10);
    EXPECT_TRUE(InSpeedBarResizeZone(beTop, 10, 29, 400, 29));
    EXPECT_TRUE(InSpeedBarResizeZone(beTop, 10, 33, 400, 29));
    EXPECT_FALSE(InSpeedBarResizeZone(beTop, 10, 25, 400, 29));
    EXPECT_FALSE(InSpeedBarResizeZone(beTop, 0, 29, 400, 29));
    EXPECT_TRUE(InSpeedBarResizeZone(beBottom, 10, -3, 400, 29));
    EXPECT_FALSE(InSpeedBarResizeZone(beBottom, 10, 5, 400, 29));
    EXPECT_TRUE(InSpeedBarResizeZone(beLeft, 30, 10, 29, 300));
    EXPECT_TRUE(InSpeedBarResizeZone(beRight, 4, 10, 29, 300));
    EXPECT_FALSE(InSpeedBarResizeZone(beNone, 4, 10, 29, 300));
}

TEST(SpeedBarRules, MarginsFromFrameAndFlatness)
{
    EXPECT_EQ(SpeedBarMinButtonsOffset(false, 0, 1, true, false), 3);
    EXPECT_EQ(SpeedBarMinButtonsOffset(true, 0, 1, true, false), 1);
    EXPECT_EQ(SpeedBarMinButtonsOffset(false, 2, 2, true, true), 8);
}

struct THintCase {
    const char* name;
    const char* caption;
    const char* oldHint;
    const char* hint;
};

const THintCase kHintCases[] = {
    {"NewItem", "New", "", "New|"},
    {"CaptionChange", "Add", "New|", "Add|"},
    {"LongPartKept", "Save", "Open|Opens a file", "Save|Opens a file"},
    {"CaptionWithLongPartIsTheHint", "Save|Saves it", "Open|Opens a file", "Save|Saves it"},
    {"CaptionWithEmptyLongPartKeepsTheOld", "Save|", "Open|Opens a file", "Save|Opens a file"},
    {"OldHintWithoutBar", "Save", "Open", "Save|"},
};

class HintCase : public ::testing::TestWithParam<THintCase> {};

TEST_P(HintCase, FollowsTheCaption)
{
    EXPECT_EQ(HintForCaption(GetParam().caption, GetParam().oldHint), GetParam().hint);
}

INSTANTIATE_TEST_SUITE_P(Captions, HintCase, ::testing::ValuesIn(kHintCases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(SpeedBarRules, SectionTitlesAreNumbered)
{
    std::set<AnsiString> taken{"File", "File (1)"};
    auto exists = [&taken](const AnsiString& t) { return taken.count(t) > 0; };
    EXPECT_EQ(UniqueSectionTitle("File", exists), "File (2)");
    EXPECT_EQ(UniqueSectionTitle("Edit", exists), "Edit");
    EXPECT_EQ(ShortHintOf("Open|Opens"), "Open");
    EXPECT_EQ(ShortHintOf("Open"), "Open");
}

TEST(SpeedBarRules, LayoutButtonEntries)
{
    EXPECT_EQ(FormatLayoutButton({"Open", 3, 3}), "Open,3,3");
    TLayoutButton b;
    ASSERT_TRUE(ParseLayoutButton("Save, 27 ,3", 0, 0, b));
    EXPECT_EQ(b.Name, "Save");
    EXPECT_EQ(b.Left, 27);
    EXPECT_EQ(b.Top, 3);
    ASSERT_TRUE(ParseLayoutButton("Save,x", 11, 12, b));
    EXPECT_EQ(b.Left, 11);
    EXPECT_EQ(b.Top, 12);
    EXPECT_FALSE(ParseLayoutButton("", 0, 0, b));
}

TEST(SpeedBarRules, SetupListHeights)
{
    EXPECT_EQ(SetupListMaxHeight(96), 186);
    EXPECT_EQ(SetupListMaxHeight(144), 279);
    const TSetupListHeights at96 = SetupListHeights(23, 188, 96);
    EXPECT_EQ(at96.ButtonRowHeight, 25);
    // Whole rows: 7 rows of 25 within 186, 11 within 279.
    EXPECT_EQ(at96.ClientHeight, 175);
    EXPECT_EQ(SetupListHeights(23, 188, 144).ClientHeight, 275);
    // A row taller than the list still shows one row; a height below 1 counts as 1.
    EXPECT_EQ(SetupListHeights(300, 10, 96).ClientHeight, 186);
    EXPECT_EQ(SetupListHeights(-10, 0, 96).ButtonRowHeight, 1);
}

}  // namespace
