#pragma once
// The character window's commands without the window: its actions (captions, shortcuts, the
// script-editor page each opens), the items of its main menu, tool bars and terminal pop-up, and
// the texts of the walk dialogs. The walk actions and the tool-bar bits are in WalkActions.h.

#include <array>
#include <span>

namespace ActionText {
inline constexpr const char* OpenBook = "\xC4\xB3\xB8\xAF\xC5\xCD";     // 캐릭터
inline constexpr const char* OpenButton = "\xB9\xF6\xC6\xB0";           // 버튼
inline constexpr const char* OpenTimer = "\xC5\xB8\xC0\xCC\xB8\xD3";    // 타이머
inline constexpr const char* OpenTrigger = "\xC6\xAE\xB8\xAE\xB0\xC5";  // 트리거
inline constexpr const char* OpenVar = "\xBA\xAF\xBC\xF6";              // 변수
inline constexpr const char* OpenAlias = "Alias";
inline constexpr const char* OpenMacro = "\xB8\xC5\xC5\xA9\xB7\xCE";  // 매크로
inline constexpr const char* OpenTab = "Tab";
inline constexpr const char* OpenSub = "&Substitudes";
inline constexpr const char* OpenGag = "&Gag";
inline constexpr const char* OpenAntiSub = "A&ntiSubstitudes";
inline constexpr const char* ViewButton = "\xB9\xF6\xC6\xB0\xC3\xA2";  // 버튼창
inline constexpr const char* EditStatus = "Status";
inline constexpr const char* OptionConfig = "Option";
inline constexpr const char* StartUpCmd = "\xBD\xC3\xC0\xDB\xB8\xED\xB7\xC9\xBE\xEE";  // 시작명령어
inline constexpr const char* Exit = "\xC1\xBE\xB7\xE1(&X)";                            // 종료(&X)
inline constexpr const char* About = "About";
inline constexpr const char* MenuFile = "\xC6\xC4\xC0\xCF(&F)";  // 파일(&F)
inline constexpr const char* MenuCmd = "CMD(&C)";
inline constexpr const char* MenuWalk = "Walk(&K)";
inline constexpr const char* MenuView = "\xBA\xB8\xB1\xE2(&V)";          // 보기(&V)
inline constexpr const char* MenuHelp = "\xB5\xB5\xBF\xF2\xB8\xBB(&H)";  // 도움말(&H)
inline constexpr const char* WalkFilter = "Walk files (*.Wlk)|*.Wlk|Text files (*.Txt)|*.Txt|All files (*.*)|*.*";
inline constexpr const char* WalkExt = "Wlk";
inline constexpr const char* NewWalkTitle =
    "\xBB\xF5\xB7\xCE\xB8\xB8\xB5\xE9 Walk\xC6\xC4\xC0\xCF\xC0\xBB \xBC\xB1\xC5\xC3 \xB6\xC7\xB4\xC2 "
    "\xC0\xD4\xB7\xC2\xC7\xCF\xBD\xCA\xBD\xC3\xBF\xE4.";  // 새로만들 Walk파일을 선택 또는 입력하십시요.
inline constexpr const char* OpenWalkTitle =
    "\xBD\xC7\xC7\xE0\xC7\xD2 Walk\xC6\xC4\xC0\xCF\xC0\xBB "
    "\xBC\xB1\xC5\xC3\xC7\xCF\xBD\xCA\xBD\xC3\xBF\xE4.";             // 실행할 Walk파일을 선택하십시요.
inline constexpr const char* GoToCaption = "Walk \xC0\xCC\xB5\xBF";  // Walk 이동
inline constexpr const char* GoToPrompt = "\xC0\xCC\xB5\xBF\xBD\xC3\xC5\xB3 \xC0\xA7\xC4\xA1\xB8\xA6 "
                                          "\xC0\xD4\xB7\xC2\xC7\xCF\xBC\xBC\xBF\xE4.";  // 이동시킬 위치를 입력하세요.
inline constexpr const char* PutStepCaption =
    "Walk \xC0\xCF\xC1\xA4 \xB7\xB9\xC4\xDA\xB5\xE5 \xC3\xE2\xB7\xC2";  // Walk 일정 레코드 출력
inline constexpr const char* PutStepPrompt =
    "\xC3\xE2\xB7\xC2\xC0\xBB \xC7\xD2 \xB7\xB9\xC4\xDA\xB5\xE5 \xB0\xB3\xBC\xF6\xB8\xA6 "
    "\xC0\xD4\xB7\xC2\xC7\xCF\xBC\xBC\xBF\xE4.";  // 출력을 할 레코드 개수를 입력하세요.
}  // namespace ActionText

// An action of the window other than the walk and tool-bar actions.
struct TWindowAction {
    const char* Name;
    const char* Caption;
    const char* ShortCut;  // as the menus write it ("Ctrl+T"), or ""
    int Page;              // the script editor's page it opens, or -1
    bool Enabled;          // as the form has it
};
extern const std::array<TWindowAction, 14> kWindowActions;

// A menu or tool bar: items by name (an action's or a menu item's), "-" for a separator line.
struct TWindowMenu {
    const char* Name;  // the component's name
    const char* Caption;
    std::span<const char* const> Items;
};
// The main menu's drop-downs, in order.
extern const std::array<TWindowMenu, 5> kWindowMenus;
// The four tool bars, in the order of the ToolView bits (WindowsBar, CmdBar, WalkBar, OtherBar).
extern const std::array<TWindowMenu, 4> kWindowToolBars;
// The terminal's pop-up menu.
extern const TWindowMenu kTerminalPopup;

// The menu items that are not actions: name and caption.
struct TWindowMenuItem {
    const char* Name;
    const char* Caption;
};
extern const std::array<TWindowMenuItem, 7> kWindowMenuItems;
// The start-up command item, and the hidden and disabled item of a dialog nothing reaches.
inline constexpr const char* kStartUpItem = "N10";
inline constexpr const char* kHiddenItem = "N12";
