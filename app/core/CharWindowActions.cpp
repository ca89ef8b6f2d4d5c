#include "app/core/CharWindowActions.h"

#include "app/core/EditorPages.h"
#include "app/core/WindowTexts.h"

using namespace ActionText;

const std::array<TWindowAction, 14> kWindowActions = {{
    {"ActionOpenBook", OpenBook, "", -1, true},
    {"ActionOpenButton", OpenButton, "Ctrl+B", epButton, true},
    {"ActionOpenTimer", OpenTimer, "Ctrl+I", epTimer, true},
    {"ActionOpenTrigger", OpenTrigger, "Ctrl+T", epTriggers, true},
    {"ActionOpenVar", OpenVar, "Ctrl+V", epVariables, true},
    {"ActionOpenAlias", OpenAlias, "Ctrl+A", epAlias, true},
    {"ActionOpenMacro", OpenMacro, "Ctrl+M", epMacro, true},
    // Pages the editor does not have: disabled in the form.
    {"ActionOpenTab", OpenTab, "", 6, false},
    {"ActionOpenSub", OpenSub, "", 7, false},
    {"ActionOpenGag", OpenGag, "", 8, false},
    {"ActionOpenAntiSub", OpenAntiSub, "", 9, false},
    {"ActionViewButton", ViewButton, "", -1, true},
    {"ActionEditStatus", EditStatus, "", -1, true},
    {"ActionOptionConfig", OptionConfig, "", -1, true},
}};

namespace {

constexpr const char* kFileItems[] = {"ActionOpenBook", "ActionViewButton", "-", kStartUpItem, kHiddenItem, "-",
                                      "Exit1"};
constexpr const char* kCmdItems[] = {"ActionOpenButton",
                                     "ActionOpenTimer",
                                     "ActionOpenTrigger",
                                     "ActionOpenVar",
                                     "ActionOpenAlias",
                                     "ActionOpenMacro",
                                     "-",
                                     "ActionOpenTab",
                                     "ActionOpenSub",
                                     "ActionOpenGag",
                                     "ActionOpenAntiSub"};
constexpr const char* kWalkItems[] = {"ActionNewRecord",
                                      "ActionEndRecord",
                                      "ActionOpenWalk",
                                      "ActionCloseWalk",
                                      "-",
                                      "ActionRewind",
                                      "ActionNextStep",
                                      "ActionPrevStep",
                                      "ActionStepAgain",
                                      "ActionGoToStep",
                                      "ActionPutStep",
                                      "ActionSpeedWalk",
                                      "ActionSlowWalk",
                                      "ActionSlowWalkOk",
                                      "ActionNextBreakPoint",
                                      "-",
                                      "ActionViewWalk"};
constexpr const char* kViewItems[] = {"ActionEditStatus",  "ActionOptionConfig", "-",
                                      "ActionToolWindows", "ActionToolCmd",      "ActionToolWalk",
                                      "ActionToolOther"};
constexpr const char* kHelpItems[] = {"About1"};

constexpr const char* kWindowsBarItems[] = {"ActionOpenBook", "ActionViewButton"};
constexpr const char* kCmdBarItems[] = {"ActionOpenButton", "ActionOpenTimer", "ActionOpenTrigger",
                                        "ActionOpenVar",    "ActionOpenAlias", "ActionOpenMacro"};
constexpr const char* kWalkBarItems[] = {
    "ActionNewRecord", "ActionEndRecord", "ActionOpenWalk",  "ActionCloseWalk", "-",
    "ActionRewind",    "ActionNextStep",  "ActionSpeedWalk", "ActionSlowWalk"};
constexpr const char* kOtherBarItems[] = {"ActionEditStatus", "ActionOptionConfig"};

constexpr const char* kPopupItems[] = {"Copy1", "CopyScreen", "CopyAll"};

}  // namespace

const std::array<TWindowMenu, 5> kWindowMenus = {{
    {"File1", MenuFile, kFileItems},
    {"Cmd1", MenuCmd, kCmdItems},
    {"Walk1", MenuWalk, kWalkItems},
    {"View1", MenuView, kViewItems},
    {"Help1", MenuHelp, kHelpItems},
}};

const std::array<TWindowMenu, 4> kWindowToolBars = {{
    {"WindowsBar", "", kWindowsBarItems},
    {"CmdBar", "", kCmdBarItems},
    {"WalkBar", "", kWalkBarItems},
    {"OtherBar", "", kOtherBarItems},
}};

const TWindowMenu kTerminalPopup = {"TerminalPopupMenu", "", kPopupItems};

const std::array<TWindowMenuItem, 7> kWindowMenuItems = {{
    {kStartUpItem, StartUpCmd},
    {kHiddenItem, "WFCF"},
    {"Exit1", Exit},
    {"About1", About},
    {"Copy1", WindowText::CopyBlock},
    {"CopyScreen", WindowText::CopyScreen},
    {"CopyAll", WindowText::CopyAll},
}};
