// The character window's keys: key macros from the preview, keys while not connected, the input
// line's and the terminal's scrolling and history keys, the wheel.

#include "app/core/KeyRouting.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/core/ShortCuts.h"
#include "platform/core/VirtualKeys.h"
#include "tests/app/core/FakeWindow.h"

namespace {

void AddMacro(TKeyMacroList& list, uint16_t key, TShiftState shift, const AnsiString& text)
{
    auto macro = std::make_unique<cKeyMacro>();
    macro->ShortCut = ShortCut(key, shift);
    macro->ToBuff = text;
    list.Add(std::move(macro));
}

struct TPreviewCase {
    const char* name;
    bool connected;
    uint16_t key;
    TShiftState shift;
    bool extended;
    const char* log;
    uint16_t keyAfter;  // what the focused control gets
    bool typed;         // whether the key's character still reaches the input line
};

class KeyPreview : public ::testing::TestWithParam<TPreviewCase> {};

TEST_P(KeyPreview, RunsMacrosOrReconnects)
{
    const TPreviewCase& c = GetParam();
    TFakeWindow window;
    window.IsConnected = c.connected;
    AddMacro(window.Macros, VK_PRIOR, {}, "flee");
    AddMacro(window.Macros, VK_DELETE, {}, "drop all");
    AddMacro(window.Macros, 'A', {}, "attack");
    TKeyRouting keys;
    uint16_t key = c.key;
    keys.FormKeyDown(key, c.shift, c.extended, window);
    char ch = 'a';
    keys.FormKeyPress(ch);
    EXPECT_EQ(window.Log, c.log);
    EXPECT_EQ(key, c.keyAfter);
    EXPECT_EQ(ch != 0, c.typed);
}

// The keypad's PageUp (NumLock off) is PageUp without the extended mark.
const TPreviewCase kPreviewCases[] = {
    {"KeypadPageUpRunsItsMacro", true, VK_PRIOR, {}, false, "exec:flee", VK_PRIOR, false},
    {"GreyPageUpNeverRunsAMacro", true, VK_PRIOR, {}, true, "", VK_PRIOR, true},
    {"GreyDeleteNeverRunsAMacro", true, VK_DELETE, {}, true, "", VK_DELETE, true},
    {"MacroKeyRunsItsMacroAndTypesNothing", true, 'A', {}, false, "exec:attack", 'A', false},
    {"ShiftStateMustMatchTheMacro", true, 'A', {ssShift}, false, "", 'A', true},
    {"KeyWithoutAMacroIsTyped", true, 'B', {}, false, "", 'B', true},
    {"EnterWhileNotConnectedReconnectsAndGoesOn", false, VK_RETURN, {}, false, "connect", VK_RETURN, true},
    {"ArrowWhileNotConnectedLosesItsKeyDown", false, VK_UP, {}, true, "", 0, true},
    {"MacroKeyWhileNotConnectedOnlyTypes", false, 'A', {}, false, "", 0, true},
    {"RegressionBackspaceWhileNotConnectedStillErases", false, VK_BACK, {}, false, "", VK_BACK, true},
    {"DeleteWhileNotConnectedLosesItsKeyDown", false, VK_DELETE, {}, true, "", 0, true},
};

INSTANTIATE_TEST_SUITE_P(Keys, KeyPreview, ::testing::ValuesIn(kPreviewCases),
                         [](const auto& param) { return std::string(param.param.name); });

enum class TWhere { Input, Terminal, WheelUp };

struct TScrollCase {
    const char* name;
    TWhere where;
    uint16_t key;
    TShiftState shift;
    bool extended;
    const char* log;
};

class ScrollKeys : public ::testing::TestWithParam<TScrollCase> {};

TEST_P(ScrollKeys, MoveTheViewOrTheHistory)
{
    const TScrollCase& c = GetParam();
    TFakeWindow window;
    TTypedHistory history;
    history.Enter("kill orc");
    switch (c.where) {
    case TWhere::Input: TKeyRouting::InputKeyDown(c.key, c.shift, c.extended, window, history); break;
    case TWhere::Terminal: TKeyRouting::TerminalKeyDown(c.key, c.extended, window); break;
    case TWhere::WheelUp: TKeyRouting::MouseWheel(true, window); break;
    }
    EXPECT_EQ(window.Log, c.log);
}

const TScrollCase kScrollCases[] = {
    {"InputPageUpGivesTheTerminalTheFocusFirst", TWhere::Input, VK_PRIOR, {}, true, "focus pageup"},
    {"InputKeypadPageUpDoesNothing", TWhere::Input, VK_PRIOR, {}, false, ""},
    {"InputShiftUpScrollsOneLine", TWhere::Input, VK_UP, {ssShift}, true, "up"},
    {"InputUpShowsHistory", TWhere::Input, VK_UP, {}, true, "show:kill orc"},
    {"InputDownShowsHistory", TWhere::Input, VK_DOWN, {}, true, "show:kill orc"},
    {"InputKeypadUpLeavesHistory", TWhere::Input, VK_UP, {}, false, ""},
    {"TerminalPageUp", TWhere::Terminal, VK_PRIOR, {}, true, "pageup"},
    {"TerminalKeypadUpDoesNothing", TWhere::Terminal, VK_UP, {}, false, ""},
    {"WheelUpScrollsFourLines", TWhere::WheelUp, 0, {}, false, "up up up up"},
};

INSTANTIATE_TEST_SUITE_P(Keys, ScrollKeys, ::testing::ValuesIn(kScrollCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(KeyRouting, MacroThatClearsTheMacroListRunsItsWholeText)
{
    struct TClearingWindow : TFakeWindow {
        void ExecuteCommand(const AnsiString& text) override
        {
            Macros.Clear();
            TFakeWindow::ExecuteCommand(text);
        }
    } window;
    AddMacro(window.Macros, VK_F1, {}, "#load other.Cmd");
    TKeyRouting keys;
    uint16_t key = VK_F1;
    keys.FormKeyDown(key, {}, false, window);
    EXPECT_EQ(window.Log, "exec:#load other.Cmd");
    EXPECT_EQ(keys.KeyConsumed(), 0);
}

// An input method types Hangul without a key-down of its own: after the macro key is up, its
// characters are typed, not swallowed as the macro key's.
TEST(KeyRouting, HangulTypedAfterAMacroKeyIsNotLost)
{
    TFakeWindow window;
    AddMacro(window.Macros, VK_F1, {ssCtrl}, "look");
    TKeyRouting keys;
    uint16_t key = VK_F1;
    keys.FormKeyDown(key, {ssCtrl}, false, window);
    ASSERT_EQ(window.Log, "exec:look");
    keys.FormKeyUp();
    // "안" from the input method, byte by byte.
    char lead = '\xBE';
    char trail = '\xC8';
    keys.FormKeyPress(lead);
    keys.FormKeyPress(trail);
    EXPECT_EQ(lead, '\xBE');
    EXPECT_EQ(trail, '\xC8');
}

}  // namespace
