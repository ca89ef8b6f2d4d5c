// Which walk actions the character window enables for each walk state, and the tool-bar bits.

#include "app/core/WalkActions.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TEnableCase {
    const char* name;
    int32_t state;
    int steps;
    int32_t current;
    bool pending;
    const char* enabled;  // captions of the enabled actions, in menu order
};

class WalkEnables : public ::testing::TestWithParam<TEnableCase> {};

TEST_P(WalkEnables, FollowTheWalk)
{
    const TEnableCase& c = GetParam();
    cWalk walk;
    walk.State = c.state;
    walk.Steps.assign(c.steps, "n");
    walk.Current = c.current;
    walk.StepPending = c.pending;
    std::string enabled;
    for (const TWalkAction& action : kWalkActions)
        if (WalkActionEnabled(action.Rule, walk))
            enabled += (enabled.empty() ? "" : ",") + std::string(action.Caption);
    EXPECT_EQ(enabled, c.enabled);
}

const TEnableCase kEnableCases[] = {
    {"NoWalkOnlyNewAndOpen", 0, 0, 0, false, "New,Open Walk File"},
    {"LoadedAtIndexZeroCannotRewind", 2, 5, 0, false,
     "New,Open Walk File,Next Step,GoTo N Step,Put Step,Speed Walk,Slow Walk,ActionNextBreakPoint,View Walk Data"},
    {"LoadedMidway", 2, 5, 2, false,
     "New,Open Walk File,Close,Rewind,Next Step,Prev Step,Step Again,GoTo N Step,Put Step,Speed Walk,Slow Walk,"
     "ActionNextBreakPoint,View Walk Data"},
    {"LoadedAtTheEndHasNoNextStep", 2, 5, 5, false,
     "New,Open Walk File,Close,Rewind,Prev Step,Step Again,View Walk Data"},
    {"RecordingWithoutSteps", 1, 0, 0, false, "New,End Rec,Open Walk File,View Walk Data"},
    {"SlowStepPending", 2, 5, 1, true,
     "New,Open Walk File,Close,Rewind,Next Step,Prev Step,Step Again,GoTo N Step,Put Step,Speed Walk,Slow Walk,"
     "Slow Walk \xC1\xBE\xB7\xE1,ActionNextBreakPoint,View Walk Data"},
    {"NegativeIndexLiesBeforeTheFirstStep", 2, 5, -3, false,
     "New,Open Walk File,Next Step,GoTo N Step,Put Step,Speed Walk,Slow Walk,ActionNextBreakPoint,View Walk Data"},
};

INSTANTIATE_TEST_SUITE_P(Walk, WalkEnables, ::testing::ValuesIn(kEnableCases),
                         [](const auto& param) { return std::string(param.param.name); });

struct TToggleCase {
    const char* name;
    int32_t toolView;
    TToolBarBit bar;
    int32_t after;
    bool shown;
};

class ToolBarToggle : public ::testing::TestWithParam<TToggleCase> {};

TEST_P(ToolBarToggle, FlipsItsBit)
{
    int32_t toolView = GetParam().toolView;
    EXPECT_EQ(ToggleToolBar(toolView, GetParam().bar), GetParam().shown);
    EXPECT_EQ(toolView, GetParam().after);
}

const TToggleCase kToggleCases[] = {
    {"WalkToggleHidesTheWalkBar", 15, WalkBar, 11, false},
    {"WalkToggleShowsItAgain", 11, WalkBar, 15, true},
    {"OtherBarAloneFromNothing", 0, OtherBar, 8, true},
};

INSTANTIATE_TEST_SUITE_P(ToolView, ToolBarToggle, ::testing::ValuesIn(kToggleCases),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
