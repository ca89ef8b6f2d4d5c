// Where a drop-down opens beside its edit, on an 800 x 600 screen, for a 100 x 20 edit and a
// 150 x 120 pop-up.

#include "controls/core/PopupPlacement.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TPlacementCase {
    const char* name;
    TPoint edit;
    TPopupAlign align;
    TPoint expected;
};

const TPlacementCase kCases[] = {
    {"UnderTheEditRightEdgesTogether", {200, 100}, epaRight, {150, 120}},
    {"UnderTheEditLeftEdgesTogether", {200, 100}, epaLeft, {200, 120}},
    {"AboveWhenItWouldCrossTheBottom", {200, 500}, epaRight, {150, 380}},
    {"ExactlyAtTheBottomStaysUnder", {200, 460}, epaRight, {150, 480}},
    {"RightAlignedButOffTheLeftKeepsLeftEdges", {20, 100}, epaRight, {20, 120}},
    {"LeftAlignedButOffTheRightTurnsToRightEdges", {690, 100}, epaLeft, {640, 120}},
    {"AnEditPartlyOffTheLeftPushesItInside", {-30, 100}, epaLeft, {0, 120}},
    {"AnEditPartlyOffTheRightPushesItInside", {760, 100}, epaLeft, {650, 120}},
};

class PopupPlacement : public ::testing::TestWithParam<TPlacementCase> {};

TEST_P(PopupPlacement, OpensInsideTheScreen)
{
    const TPlacementCase& c = GetParam();
    const TPoint p = PopupOrigin(c.edit, TSize{100, 20}, TSize{150, 120}, TSize{800, 600}, c.align);
    EXPECT_EQ(p.x, c.expected.x);
    EXPECT_EQ(p.y, c.expected.y);
}

INSTANTIATE_TEST_SUITE_P(Edges, PopupPlacement, ::testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
