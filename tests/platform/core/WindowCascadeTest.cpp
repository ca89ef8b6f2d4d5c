// The cascade of windows the program gives no place; no window takes another's corner.

#include "platform/core/WindowCascade.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct TCascadeCase {
    const char* name;
    int width, height;
    std::vector<TPoint> taken;
    TPoint place;
};

class Cascade : public ::testing::TestWithParam<TCascadeCase> {};

// An 800 x 600 work area below a 40-pixel panel: a 661 x 533 window fits three steps down.
TEST_P(Cascade, TakesTheFirstFreeStep)
{
    const TCascadeCase& c = GetParam();
    EXPECT_EQ(CascadePlace(c.width, c.height, TRect{0, 40, 800, 640}, c.taken), c.place);
}

const TCascadeCase kCascadeCases[] = {
    {"FirstWindowAtTheAreasCorner", 661, 533, {{5, 5}}, {0, 40}},
    {"SecondWindowOneStepOn", 661, 533, {{0, 40}}, {24, 64}},
    {"BelowTheLastStepThatFitsAgainFromTheTop", 661, 533, {{0, 40}, {24, 64}, {48, 88}}, {24, 40}},
    {"WiderThanTheAreaStaysOnTheDiagonal", 900, 100, {{0, 40}}, {24, 64}},
};

INSTANTIATE_TEST_SUITE_P(Windows, Cascade, ::testing::ValuesIn(kCascadeCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(WindowCascade, EveryStepTakenStillGivesAFreeCorner)
{
    EXPECT_EQ(AwayFromTaken({10, 20}, {{10, 20}, {34, 44}}), (TPoint{58, 68}));
    std::vector<TPoint> taken;
    for (int i = 0; i < 200; ++i)
        taken.push_back(CascadePlace(100, 100, TRect{0, 0, 300, 300}, taken));
    for (size_t i = 0; i < taken.size(); ++i)
        for (size_t j = i + 1; j < taken.size(); ++j)
            ASSERT_FALSE(taken[i] == taken[j]) << i << " and " << j;
}

}  // namespace
