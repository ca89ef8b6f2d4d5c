// The switch: what flips it and what it fires, and the glyphs of the user's against its own.

#include "controls/lib/ExSwitch.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "GuiTestSupport.h"
#include "platform/gui/Resources.h"

namespace {

struct TSwitchRow {
    const char* name;
    const char* steps;  // p press, s space key, t Ctrl+T key, 1 / 0 StateOn, ! ToggleSwitch
    const char* events;
};
class SwitchEvents : public ::testing::TestWithParam<TSwitchRow> {};

TEST_P(SwitchEvents, FireOnChangesOnly)
{
    TestApplication();
    TForm form(nullptr);
    auto* sw = new TExSwitch(&form);
    sw->SetParent(&form);
    std::string events;
    sw->OnOn = [&](TObject*) { events += "on "; };
    sw->OnOff = [&](TObject*) { events += "off "; };
    sw->SetToggleKey(ShortCut('T', TShiftState{ssCtrl}));
    for (const char* s = GetParam().steps; *s; ++s) {
        switch (*s) {
        case 'p': sw->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(5, 5)); break;
        case 's': TypeKey(sw->Handle(), Qt::Key_Space, Qt::NoModifier, " "); break;
        case 't': TypeKey(sw->Handle(), Qt::Key_T, Qt::ControlModifier); break;
        case '1': sw->SetStateOn(true); break;
        case '0': sw->SetStateOn(false); break;
        case '!': sw->ToggleSwitch(); break;
        }
    }
    EXPECT_EQ(events, GetParam().events);
}

const TSwitchRow kRows[] = {
    {"SettingTheSameStateFiresNothing", "0110", "on off "},
    {"PressFlipsEachTime", "ppp", "on off on "},
    {"OnlyTheToggleKeyFlips", "stt", "on off "},
};
INSTANTIATE_TEST_SUITE_P(Steps, SwitchEvents, ::testing::ValuesIn(kRows),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Switch, UserGlyphIsStoredUntilTheDefaultComesBack)
{
    TestApplication();
    TExSwitch sw(nullptr);
    TBitmap own;
    LoadBitmapResource(&own, "SWITCH_ON");
    const int defaultWidth = own.Width();
    own.SetSize(10, 10);
    sw.SetGlyphOn(&own);
    EXPECT_TRUE(sw.StoreBitmap(1));
    EXPECT_FALSE(sw.StoreBitmap(0));
    EXPECT_EQ(sw.Data(), 2);
    EXPECT_EQ(sw.GlyphOn()->Width(), 10);
    sw.SetSwitchGlyph(1, nullptr);
    EXPECT_FALSE(sw.StoreBitmap(1));
    EXPECT_EQ(sw.Data(), 0);
    EXPECT_EQ(sw.GlyphOn()->Width(), defaultWidth);
}

}  // namespace
