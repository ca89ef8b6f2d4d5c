#include "app/core/WalkActions.h"

const std::array<TWalkAction, 15> kWalkActions = {{
    {"ActionNewRecord", "New", TWalkRule::Always},
    {"ActionEndRecord", "End Rec", TWalkRule::Recording},
    {"ActionOpenWalk", "Open Walk File", TWalkRule::Always},
    {"ActionCloseWalk", "Close", TWalkRule::CanRewind},
    {"ActionRewind", "Rewind", TWalkRule::CanRewind},
    {"ActionNextStep", "Next Step", TWalkRule::HasNext},
    {"ActionPrevStep", "Prev Step", TWalkRule::CanRewind},
    {"ActionStepAgain", "Step Again", TWalkRule::CanRewind},
    {"ActionGoToStep", "GoTo N Step", TWalkRule::HasNext},
    {"ActionPutStep", "Put Step", TWalkRule::HasNext},
    {"ActionSpeedWalk", "Speed Walk", TWalkRule::HasNext},
    {"ActionSlowWalk", "Slow Walk", TWalkRule::HasNext},
    {"ActionSlowWalkOk", "Slow Walk \xC1\xBE\xB7\xE1", TWalkRule::Pending},  // Slow Walk 종료
    {"ActionNextBreakPoint", "ActionNextBreakPoint", TWalkRule::HasNext},
    {"ActionViewWalk", "View Walk Data", TWalkRule::Open},
}};

bool WalkActionEnabled(TWalkRule rule, const cWalk& walk)
{
    const bool open = walk.State != 0;
    switch (rule) {
    case TWalkRule::Always: return true;
    case TWalkRule::Recording: return walk.State == 1;
    case TWalkRule::CanRewind: return open && walk.Current > 0;
    // The current index may be negative ("wgt" takes any number); a negative one is before the
    // first step.
    case TWalkRule::HasNext: return open && static_cast<int64_t>(walk.Steps.size()) > walk.Current;
    case TWalkRule::Pending: return walk.StepPending != 0;
    case TWalkRule::Open: return open;
    }
    return false;
}

const std::array<TToolBarAction, 4> kToolBarActions = {{
    {WindowsBar, "WindowsBar", "ActionToolWindows", "\xC0\xA9\xB5\xB5\xBF\xEC(&W)"},  // 윈도우(&W)
    {CmdBar, "CmdBar", "ActionToolCmd", "&CMD"},
    {WalkBar, "WalkBar", "ActionToolWalk", "&Walk"},
    {OtherBar, "OtherBar", "ActionToolOther", "&Other"},
}};

bool ToggleToolBar(int32_t& toolView, TToolBarBit bit)
{
    toolView ^= bit;
    return ToolBarShown(toolView, bit);
}
