// The switch: what flips it and what it fires, and the glyphs of the user's against its own.

#include "controls/lib/ExSwitch.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "GuiTestSupport.h"
#include "platform/gui/Resources.h"

namespace {

// A press flips the switch, and of the keys only the toggle key (here Ctrl+T, not the space bar).
TEST(Switch, PressAndToggleKeyFlipIt)
{
    TestApplication();
    TForm form(nullptr);
    auto* sw = Place<TExSwitch>(form, 0, 0, 50, 60);
    std::string events;
    sw->OnOn = [&](TObject*) { events += "on "; };
    sw->OnOff = [&](TObject*) { events += "off "; };
    sw->SetToggleKey(ShortCut('T', TShiftState{ssCtrl}));
    sw->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(5, 5));
    TypeKey(sw->Handle(), Qt::Key_Space, Qt::NoModifier, " ");
    TypeKey(sw->Handle(), Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(events, "on off ");
}

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
