// Where a drop point docks a control, and the room the docked control takes from the dock area.

#include "platform/core/DockZones.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* EdgeName(TDockEdge edge)
{
    switch (edge) {
    case TDockEdge::Top: return "top";
    case TDockEdge::Bottom: return "bottom";
    case TDockEdge::Left: return "left";
    case TDockEdge::Right: return "right";
    }
    return "?";
}

struct TEdgeCase {
    const char* name;
    TRect area;
    TPoint point;
    TDockEdge edge;
};

class DockDropEdge : public ::testing::TestWithParam<TEdgeCase> {};

TEST_P(DockDropEdge, IsTheNearestInSharesOfTheArea)
{
    const TEdgeCase& c = GetParam();
    EXPECT_STREQ(EdgeName(DockEdgeAt(c.area, c.point)), EdgeName(c.edge));
}

const TRect kArea{0, 0, 600, 400};

const TEdgeCase kEdgeCases[] = {
    {"NearTheTop", kArea, {300, 10}, TDockEdge::Top},
    {"NearTheBottom", kArea, {300, 395}, TDockEdge::Bottom},
    {"NearTheLeft", kArea, {10, 200}, TDockEdge::Left},
    {"NearTheRight", kArea, {590, 200}, TDockEdge::Right},
    // 90 pixels from the top is nearly half the height; 150 from the left a quarter of the width.
    {"AWideAreasSideReachesFurtherInThanItsPixels", TRect{0, 0, 600, 200}, {150, 90}, TDockEdge::Left},
    {"ATallAreasTopReachesFurtherInThanItsPixels", TRect{0, 0, 200, 600}, {90, 150}, TDockEdge::Top},
    {"TheMiddleGoesToTheTop", TRect{0, 0, 400, 400}, {200, 200}, TDockEdge::Top},
    {"ADiagonalGoesToTheTop", TRect{0, 0, 400, 400}, {100, 100}, TDockEdge::Top},
    {"ALowerDiagonalGoesToTheBottom", TRect{0, 0, 400, 400}, {100, 300}, TDockEdge::Bottom},
    {"LeftOfTheAreaCountsAtItsLeftEdge", kArea, {-50, 200}, TDockEdge::Left},
    {"BelowTheAreaCountsAtItsBottomEdge", kArea, {300, 900}, TDockEdge::Bottom},
    {"AnAreaAwayFromTheOrigin", TRect{100, 50, 500, 250}, {480, 150}, TDockEdge::Right},
    {"AnEmptyAreaGivesTheTop", TRect{10, 10, 10, 300}, {10, 290}, TDockEdge::Top},
};

INSTANTIATE_TEST_SUITE_P(Points, DockDropEdge, ::testing::ValuesIn(kEdgeCases),
                         [](const auto& param) { return std::string(param.param.name); });

struct TPlaceCase {
    const char* name;
    TDockEdge edge;
    int depth;
    TRect docked, rest;
};

class DockedRoom : public ::testing::TestWithParam<TPlaceCase> {};

// The terminal's area of a character window: 660 x 400 below its tool bars.
const TRect kTerminalArea{1, 60, 661, 460};

TEST_P(DockedRoom, TakesTheEdgeAndLeavesTheRest)
{
    const TPlaceCase& c = GetParam();
    const TDockPlace place = DockPlace(kTerminalArea, c.edge, c.depth);
    EXPECT_EQ(place.Docked, c.docked);
    EXPECT_EQ(place.Rest, c.rest);
}

const TPlaceCase kPlaceCases[] = {
    {"AtTheTopAsDeepAsItsHeight", TDockEdge::Top, 106, {1, 60, 661, 166}, {1, 166, 661, 460}},
    {"AtTheBottomAsDeepAsItsHeight", TDockEdge::Bottom, 106, {1, 354, 661, 460}, {1, 60, 661, 354}},
    {"AtTheLeftAsWideAsItsWidth", TDockEdge::Left, 258, {1, 60, 259, 460}, {259, 60, 661, 460}},
    {"AtTheRightAsWideAsItsWidth", TDockEdge::Right, 258, {403, 60, 661, 460}, {1, 60, 403, 460}},
    {"NeverLessThanNothing", TDockEdge::Bottom, -5, {1, 460, 661, 460}, {1, 60, 661, 460}},
    // A control made larger than the site while it floated leaves the site's controls half.
    {"AtTheLeftNeverWiderThanHalf", TDockEdge::Left, 1000, {1, 60, 331, 460}, {331, 60, 661, 460}},
    {"AtTheRightNeverWiderThanHalf", TDockEdge::Right, 1270, {331, 60, 661, 460}, {1, 60, 331, 460}},
    {"AtTheTopNeverDeeperThanHalf", TDockEdge::Top, 1000, {1, 60, 661, 260}, {1, 260, 661, 460}},
};

INSTANTIATE_TEST_SUITE_P(Edges, DockedRoom, ::testing::ValuesIn(kPlaceCases),
                         [](const auto& param) { return std::string(param.param.name); });

// Whatever the edge and depth, the docked room and the rest share no pixel and fill the area,
// and the rest is never the smaller.
TEST(DockZones, DockedAndRestSplitTheArea)
{
    for (TDockEdge edge : {TDockEdge::Top, TDockEdge::Bottom, TDockEdge::Left, TDockEdge::Right})
        for (int depth = -10; depth <= 700; depth += 7) {
            const TDockPlace place = DockPlace(kTerminalArea, edge, depth);
            TRect common, whole;
            EXPECT_FALSE(IntersectRect(common, place.Docked, place.Rest)) << EdgeName(edge) << " " << depth;
            UnionRect(whole, place.Docked, place.Rest);
            EXPECT_EQ(whole, kTerminalArea) << EdgeName(edge) << " " << depth;
            const bool across = edge == TDockEdge::Top || edge == TDockEdge::Bottom;
            EXPECT_GE(across ? place.Rest.Height() : place.Rest.Width(),
                      across ? place.Docked.Height() : place.Docked.Width())
                << EdgeName(edge) << " " << depth;
        }
}

}  // namespace
