#include <gtest/gtest.h>

#include "platform/core/ShortCuts.h"
#include "platform/core/VirtualKeys.h"

TEST(ShortCutKeys, KeyAndShiftBits)
{
    EXPECT_EQ(ShortCut(VK_F1, TShiftState() << ssCtrl), 0x4070);
    EXPECT_EQ(ShortCut('A', TShiftState{ssShift, ssAlt}), 0xA041);
    EXPECT_EQ(ShortCut(VK_DOWN, TShiftState{ssAlt, ssLeft}), 0x8028);  // mouse buttons do not count
    EXPECT_EQ(ShortCut(0x100, TShiftState()), 0);
    uint16_t key;
    TShiftState shift;
    ShortCutToKey(0x6070, key, shift);
    EXPECT_EQ(key, VK_F1);
    EXPECT_EQ(shift, (TShiftState{ssShift, ssCtrl}));
}

TEST(ShortCutText, TheFrameworkNames)
{
    EXPECT_EQ(ShortCutToText(ShortCut(VK_F1, TShiftState{ssCtrl})), "Ctrl+F1");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_RETURN, TShiftState{})), "Enter");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_UP, TShiftState{ssAlt, ssCtrl, ssShift})), "Shift+Ctrl+Alt+Up");
    EXPECT_EQ(ShortCutToText(ShortCut('Z', TShiftState{ssAlt})), "Alt+Z");
    EXPECT_EQ(ShortCutToText(VK_BACK), "BkSp");
    EXPECT_EQ(ShortCutToText(VK_ESCAPE), "Esc");
    EXPECT_EQ(ShortCutToText(VK_PRIOR), "PgUp");
    EXPECT_EQ(ShortCutToText(VK_DELETE | scShift), "Shift+Del");
    EXPECT_EQ(ShortCutToText(VK_F12), "F12");
    EXPECT_EQ(ShortCutToText(VK_NUMPAD5), "5");
    EXPECT_EQ(ShortCutToText(VK_ADD), "Num +");
    EXPECT_EQ(ShortCutToText(0), "");
}

TEST(ShortCutText, TextBackToCodes)
{
    EXPECT_EQ(TextToShortCut("Ctrl+F1"), ShortCut(VK_F1, TShiftState{ssCtrl}));
    EXPECT_EQ(TextToShortCut("alt+ctrl+x"), ShortCut('X', TShiftState{ssCtrl, ssAlt}));
    EXPECT_EQ(TextToShortCut("Num +"), VK_ADD);
    EXPECT_EQ(TextToShortCut("Ctrl+Num +"), VK_ADD | scCtrl);
    EXPECT_EQ(TextToShortCut("Ctrl+"), 0);
    EXPECT_EQ(TextToShortCut("Hyper+Q"), 0);
    // Every named key survives the round trip with every modifier set.
    for (int key = 0x08; key <= 0xFF; ++key) {
        if (KeyName(static_cast<uint8_t>(key)).empty() || (key >= VK_NUMPAD0 && key <= VK_NUMPAD9))
            continue;
        for (TShortCut mods : {0, 0x2000, 0x4000, 0x8000, 0xE000}) {
            auto code = static_cast<TShortCut>(key | mods);
            EXPECT_EQ(TextToShortCut(ShortCutToText(code)), code) << ShortCutToText(code);
        }
    }
}
