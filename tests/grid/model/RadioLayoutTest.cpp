// Where a radio group's choices stand and which one a click picks: one layout for both, so the
// choice painted under a click is the one it picks.

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "grid/model/RadioLayout.h"

namespace {

struct TRadioCase {
    const char* name;
    TRect cell;
    bool sideBySide;
    std::vector<int> widths;
    int line;
    // Per choice: the radio's left and top, the caption's left, and the click span.
    std::vector<std::vector<int>> places;
};
void PrintTo(const TRadioCase& c, std::ostream* os) { *os << c.name; }

class RadioLayout : public ::testing::TestWithParam<TRadioCase> {};

}  // namespace

TEST_P(RadioLayout, PlacesEachChoice)
{
    const TRadioCase& c = GetParam();
    const std::vector<TRadioChoicePlace> places = LayoutRadioGroup(c.cell, c.sideBySide, c.widths, c.line);
    ASSERT_EQ(places.size(), c.places.size());
    for (size_t i = 0; i < places.size(); ++i) {
        SCOPED_TRACE(i);
        const TRadioChoicePlace& p = places[i];
        EXPECT_EQ((std::vector<int>{p.Radio.Left, p.Radio.Top, p.Caption.x, p.SpanFrom, p.SpanTo}), c.places[i]);
        EXPECT_EQ(p.Radio.Width(), kRadioSide);
        EXPECT_EQ(p.Radio.Height(), kRadioSide);
    }
}

// Every point of a choice's radio and of its caption picks that choice.
TEST_P(RadioLayout, AClickOnAPaintedChoicePicksIt)
{
    const TRadioCase& c = GetParam();
    const std::vector<TRadioChoicePlace> places = LayoutRadioGroup(c.cell, c.sideBySide, c.widths, c.line);
    for (size_t i = 0; i < places.size(); ++i) {
        SCOPED_TRACE(i);
        const TRadioChoicePlace& p = places[i];
        for (int x = p.Radio.Left; x < p.Radio.Right; ++x)
            for (int y = p.Radio.Top; y < p.Radio.Bottom; ++y)
                ASSERT_EQ(RadioChoiceAt(places, c.sideBySide, TPoint{x, y}), static_cast<int>(i)) << x << "," << y;
        const int captionEnd = c.sideBySide ? p.Caption.x + c.widths[i] : p.Caption.y + c.line;
        for (int at = c.sideBySide ? p.Caption.x : p.Caption.y; at < captionEnd; ++at) {
            const TPoint point = c.sideBySide ? TPoint{at, p.Radio.Top} : TPoint{p.Caption.x + 1, at};
            if (!c.sideBySide && (at <= p.SpanFrom || at >= p.SpanTo))
                continue;  // a caption taller than its line reaches into the next
            ASSERT_EQ(RadioChoiceAt(places, c.sideBySide, point), static_cast<int>(i)) << at;
        }
    }
}

const TRadioCase kRadioCases[] = {
    // Choices aaa, bbb, ccc 18 pixels wide: radios at 2 + the widths before + 12 each before.
    {"SideBySide",
     {0, 0, 200, 20},
     true,
     {18, 18, 18},
     13,
     {{2, 5, 12, 0, 30}, {32, 5, 42, 30, 60}, {62, 5, 72, 60, 90}}},
    {"SideBySideInAMovedCell",
     {100, 40, 300, 60},
     true,
     {7, 30},
     13,
     {{102, 45, 112, 100, 119}, {121, 45, 131, 119, 161}}},
    {"SideBySideEmptyCaptions", {0, 0, 100, 10}, true, {0, 0}, 13, {{2, 0, 12, 0, 12}, {14, 0, 24, 12, 24}}},
    {"OneAboveTheOtherInLinesOfTwelve",
     {0, 0, 100, 60},
     false,
     {18, 40, 5},
     12,
     {{2, 2, 12, 0, 12}, {2, 14, 12, 12, 24}, {2, 26, 12, 24, 36}}},
    {"OneAboveTheOtherInTallerLines",
     {10, 20, 100, 90},
     false,
     {18, 40, 5},
     16,
     {{12, 22, 22, 20, 36}, {12, 38, 22, 36, 52}, {12, 54, 22, 52, 68}}},
    {"NoChoices", {0, 0, 100, 20}, true, {}, 13, {}},
};
INSTANTIATE_TEST_SUITE_P(Model, RadioLayout, ::testing::ValuesIn(kRadioCases),
                         [](const auto& row) { return std::string(row.param.name); });

// The ends of a span and the room past the last choice pick nothing.
TEST(RadioLayoutClicks, SpanEndsAndThePlacePastTheLastChoicePickNothing)
{
    const std::vector<TRadioChoicePlace> places = LayoutRadioGroup({0, 0, 200, 20}, true, {18, 18, 18}, 13);
    struct {
        int x, choice;
    } const clicks[] = {{0, -1}, {1, 0}, {29, 0}, {30, -1}, {31, 1}, {60, -1}, {89, 2}, {90, -1}, {150, -1}};
    for (const auto& click : clicks)
        EXPECT_EQ(RadioChoiceAt(places, true, TPoint{click.x, 7}), click.choice) << click.x;
}

// A group far wider than any cell keeps its places in range.
TEST(RadioLayoutClicks, HugeCaptionsKeepThePlacesInRange)
{
    const std::vector<TRadioChoicePlace> places =
        LayoutRadioGroup({0, 0, 100, 20}, true, std::vector<int>(4, INT_MAX), 13);
    ASSERT_EQ(places.size(), 4u);
    for (const TRadioChoicePlace& p : places) {
        EXPECT_LE(p.SpanFrom, p.SpanTo);
        EXPECT_LE(p.Radio.Left, INT_MAX / 2);
    }
    EXPECT_EQ(RadioChoiceAt(places, true, TPoint{50, 7}), 0);
}
