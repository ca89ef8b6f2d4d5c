// Where turned text starts in a cell: each quadrant with each horizontal and vertical placement,
// worked out by hand for a 40 x 10 block in the rectangle (10, 20) - (110, 70).

#include "grid/model/TextPlacement.h"

#include <gtest/gtest.h>

namespace {

struct PlaceCase {
    const char* Name;
    TRect R;
    int Width, Height, Angle;
    TAlignment Align;
    TVAlignment VAlign;
    TPoint Start;
};
void PrintTo(const PlaceCase& c, std::ostream* os) { *os << c.Name; }

class TurnedTextPlacement : public ::testing::TestWithParam<PlaceCase> {};

constexpr TRect kCell{10, 20, 110, 70};

}  // namespace

TEST_P(TurnedTextPlacement, StartsWhereTheTableSays)
{
    const PlaceCase& c = GetParam();
    const TPoint at = TurnedTextStart(c.R, c.Width, c.Height, c.Angle, c.Align, c.VAlign);
    EXPECT_EQ(at.x, c.Start.x);
    EXPECT_EQ(at.y, c.Start.y);
}

INSTANTIATE_TEST_SUITE_P(
    Quadrants, TurnedTextPlacement,
    ::testing::Values(
        // Upright text: the block's top-left corner.
        PlaceCase{"FlatLeftTop", kCell, 40, 10, 0, taLeftJustify, vtaTop, {10, 20}},
        PlaceCase{"FlatRightTop", kCell, 40, 10, 0, taRightJustify, vtaTop, {70, 20}},
        PlaceCase{"FlatCentred", kCell, 40, 10, 0, taCenter, vtaCenter, {40, 40}},
        PlaceCase{"FlatLeftBottom", kCell, 40, 10, 0, taLeftJustify, vtaBottom, {10, 60}},
        // Straight up: the text runs from the bottom of its block.
        PlaceCase{"UpLeftTop", kCell, 40, 10, 90, taLeftJustify, vtaTop, {10, 60}},
        PlaceCase{"UpRightTop", kCell, 40, 10, 90, taRightJustify, vtaTop, {100, 60}},
        PlaceCase{"UpCentred", kCell, 40, 10, 90, taCenter, vtaCenter, {55, 65}},
        PlaceCase{"UpLeftBottom", kCell, 40, 10, 90, taLeftJustify, vtaBottom, {10, 70}},
        // A slant of 45 degrees: 28 across and 7 for the line's height.
        PlaceCase{"SlantLeftTop", kCell, 40, 10, 45, taLeftJustify, vtaTop, {10, 48}},
        PlaceCase{"SlantRightTop", kCell, 40, 10, 45, taRightJustify, vtaTop, {75, 48}},
        PlaceCase{"SlantCentred", kCell, 40, 10, 45, taCenter, vtaCenter, {42, 55}},
        PlaceCase{"SlantLeftBottom", kCell, 40, 10, 45, taLeftJustify, vtaBottom, {10, 63}},
        // Upside down: the text runs leftward from the block's bottom-right corner.
        PlaceCase{"UpsideDownLeftTop", kCell, 40, 10, 180, taLeftJustify, vtaTop, {50, 30}},
        PlaceCase{"UpsideDownRightTop", kCell, 40, 10, 180, taRightJustify, vtaTop, {110, 30}},
        PlaceCase{"UpsideDownCentred", kCell, 40, 10, 180, taCenter, vtaCenter, {80, 50}},
        PlaceCase{"UpsideDownLeftBottom", kCell, 40, 10, 180, taLeftJustify, vtaBottom, {50, 70}},
        // Straight down: the text runs from the top of its block.
        PlaceCase{"DownLeftTop", kCell, 40, 10, 270, taLeftJustify, vtaTop, {20, 20}},
        PlaceCase{"DownRightTop", kCell, 40, 10, 270, taRightJustify, vtaTop, {110, 20}},
        PlaceCase{"DownCentred", kCell, 40, 10, 270, taCenter, vtaCenter, {65, 25}},
        PlaceCase{"DownLeftBottom", kCell, 40, 10, 270, taLeftJustify, vtaBottom, {20, 30}},
        // Fourth quadrant, and a negative angle that is the same turn.
        PlaceCase{"FallingLeftTop", kCell, 40, 10, 315, taLeftJustify, vtaTop, {17, 20}},
        PlaceCase{"FallingRightTop", kCell, 40, 10, 315, taRightJustify, vtaTop, {82, 20}},
        PlaceCase{"FallingCentred", kCell, 40, 10, 315, taCenter, vtaCenter, {49, 27}},
        PlaceCase{"FallingLeftBottom", kCell, 40, 10, 315, taLeftJustify, vtaBottom, {17, 35}},
        PlaceCase{"NegativeAngleIsTheSameTurn", kCell, 40, 10, -45, taLeftJustify, vtaBottom, {17, 35}},
        // Half of a negative difference rounds down, not toward zero.
        PlaceCase{"ATextWiderThanItsCellCentredRoundsDown", TRect{0, 0, 20, 10}, 35, 10, 0, taCenter, vtaTop, {-8, 0}}),
    [](const auto& row) { return std::string(row.param.Name); });
