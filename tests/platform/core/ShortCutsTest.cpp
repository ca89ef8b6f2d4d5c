#include <gtest/gtest.h>

#include "platform/core/ShortCuts.h"
#include "platform/core/VirtualKeys.h"
#include "tests/platform/core/Cases.h"

TEST(ShortCutKeys, KeyAndShiftBits)
{
    Each(NumberChecks{CHECK_ROW(ShortCut(VK_F1, TShiftState() << ssCtrl), 0x4070),
                      CHECK_ROW(ShortCut('A', TShiftState{ssShift, ssAlt}), 0xA041),
                      CHECK_ROW(ShortCut(VK_DOWN, TShiftState{ssAlt, ssLeft}), 0x8028),  // mouse buttons do not count
                      CHECK_ROW(ShortCut(0x100, TShiftState()), 0), CHECK_ROW(ShortCut(0x70, {}), 0x70),
                      CHECK_ROW(ShortCut(0x1FF, {}), 0),
                      CHECK_ROW(ShortCut('1', {ssShift, ssCtrl, ssAlt, ssLeft}), 0xE031)});
    uint16_t key;
    TShiftState shift;
    ShortCutToKey(0x6070, key, shift);
    EXPECT_EQ(key, VK_F1);
    EXPECT_EQ(shift, (TShiftState{ssShift, ssCtrl}));
    ShortCutToKey(0xA026, key, shift);
    EXPECT_EQ(key, 0x26);
    EXPECT_EQ(shift, (TShiftState{ssShift, ssAlt}));
    EXPECT_EQ((TShiftState{ssShift, ssDouble}).Bits(), 0x41);
}

TEST(ShortCutText, TheFrameworkNames)
{
    Each(TextChecks{
        CHECK_ROW(ShortCutToText(ShortCut(VK_F1, TShiftState{ssCtrl})), "Ctrl+F1"),
        CHECK_ROW(ShortCutToText(ShortCut(VK_RETURN, TShiftState{})), "Enter"),
        CHECK_ROW(ShortCutToText(ShortCut(VK_UP, TShiftState{ssAlt, ssCtrl, ssShift})), "Shift+Ctrl+Alt+Up"),
        CHECK_ROW(ShortCutToText(ShortCut('Z', TShiftState{ssAlt})), "Alt+Z"),
        CHECK_ROW(ShortCutToText(VK_BACK), "BkSp"), CHECK_ROW(ShortCutToText(VK_ESCAPE), "Esc"),
        CHECK_ROW(ShortCutToText(VK_PRIOR), "PgUp"), CHECK_ROW(ShortCutToText(VK_DELETE | scShift), "Shift+Del"),
        CHECK_ROW(ShortCutToText(VK_F12), "F12"), CHECK_ROW(ShortCutToText(VK_NUMPAD5), "5"),
        CHECK_ROW(ShortCutToText(VK_ADD), "Num +"), CHECK_ROW(ShortCutToText(0), "")});
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
