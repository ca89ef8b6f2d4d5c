// Runs only on a real X display (CTest starts it under Xvfb): the speed buttons in each look,
// the status-line label, the switch in both states and each caption place, and a credits panel
// mid-scroll, read back from the X server and compared with pictures of ours in golden/
// (HM_UPDATE_GOLDEN=1 writes them instead).

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "GuiTestSupport.h"
#include "controls/lib/ExCtrls.h"
#include "platform/core/TimerService.h"
#include "platform/gui/Foreground.h"

namespace {

// A 16 x 16 glyph: a black-edged navy square with a white centre on a fuchsia (see-through)
// ground; the black edge is what the disabled look embosses.
std::unique_ptr<TBitmap> Glyph()
{
    auto b = std::make_unique<TBitmap>();
    b->SetSize(16, 16);
    b->Canvas()->Brush()->SetColor(clFuchsia);
    b->Canvas()->FillRect(Rect(0, 0, 16, 16));
    b->Canvas()->Brush()->SetColor(clBlack);
    b->Canvas()->FillRect(Rect(1, 1, 15, 15));
    b->Canvas()->Brush()->SetColor(clNavy);
    b->Canvas()->FillRect(Rect(3, 3, 13, 13));
    b->Canvas()->Brush()->SetColor(clWhite);
    b->Canvas()->FillRect(Rect(6, 6, 10, 10));
    return b;
}

TExSpeedButton* Button(TForm& f, int l, int t, const char* caption)
{
    auto* b = Place<TExSpeedButton>(f, l, t, 70, 40);
    b->SetCaption(caption);
    return b;
}

struct TExCtrlFamily {
    const char* name;
    std::function<void(TForm&)> build;
};

const TExCtrlFamily kExCtrlFamilies[] = {
    {"SpeedButtons",
     [](TForm& f) {
         auto glyph = Glyph();
         Button(f, 10, 10, "Up")->SetGlyph(glyph.get());
         auto* down = Button(f, 90, 10, "Down");
         down->SetGlyph(glyph.get());
         down->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(5, 5));
         auto* exclusive = Button(f, 170, 10, "\xBC\xB1\xC5\xC3");  // 선택
         exclusive->SetGroupIndex(1);
         exclusive->SetDown(true);
         auto* flatDown = Button(f, 250, 10, "Flat");
         flatDown->SetFlat(true);
         flatDown->SetGroupIndex(2);
         flatDown->SetDown(true);
         Button(f, 10, 60, "Flat out")->SetFlat(true);
         auto* hot = Button(f, 90, 60, "Flat in");
         hot->SetFlat(true);
         hot->Perform(CM_MOUSEENTER);
         auto* disabled = Button(f, 170, 60, "\xC0\xFA\xC0\xE5");  // 저장
         disabled->SetGlyph(glyph.get());
         disabled->SetLayout(blGlyphLeft);
         disabled->SetEnabled(false);
         auto* marked = Button(f, 250, 60, "Menu");
         marked->SetDropDownMenu(new TPopupMenu(&f));
         auto* glyphMark = Button(f, 10, 110, "");
         glyphMark->SetGlyph(glyph.get());
         glyphMark->SetDropDownMenu(new TPopupMenu(&f));
     }},
    {"StatusLine",
     [](TForm& f) {
         auto* label = Place<TExLabel>(f, 0, 0, 400, 17);
         label->SetAlign(alBottom);
         label->SetColor(clWhite);
         label->Font()->SetHeight(-13);
         label->Font()->SetColor(clBlue);
         label->Font()->SetStyle(TFontStyles() << fsBold);
         label->SetCaption("HP 120/300  SP 40/80  \xC7\xD1\xB1\xDB \xBB\xF3\xC5\xC2");  // 한글 상태
     }},
    {"Switches",
     [](TForm& f) {
         const TTextPos positions[] = {tpNone, tpLeft, tpRight, tpAbove, tpBelow};
         for (int i = 0; i < 5; ++i)
             for (int on = 0; on < 2; ++on) {
                 auto* s = Place<TExSwitch>(f, 10 + i * 76, 10 + on * 100, 72, 80);
                 s->SetTextPosition(positions[i]);
                 s->SetCaption(on ? "On" : "Off");
                 s->SetStateOn(on != 0);
                 s->SetShowFocus(false);  // where the focus lands is up to the window system
             }
     }},
};

class ExCtrlsScreenshot : public ::testing::TestWithParam<TExCtrlFamily> {};

TEST_P(ExCtrlsScreenshot, MatchesItsPicture)
{
    REQUIRE_REAL_X();
    auto old = SetForegroundTaskHook([] { return true; });
    TForm form(nullptr);
    form.SetBounds(40, 40, 400, 250);
    form.SetClientWidth(400);
    form.SetClientHeight(250);
    GetParam().build(form);
    ExpectScreenshot(form, "tests/controls/lib/golden", GetParam().name);
    SetForegroundTaskHook(old);
}

INSTANTIATE_TEST_SUITE_P(Families, ExCtrlsScreenshot, ::testing::ValuesIn(kExCtrlFamilies),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(ExCtrlsScreenshotPanel, CreditsPanelMidScroll)
{
    REQUIRE_REAL_X();
    ITimerService* previous = &TimerService();
    TManualTimerService clock;
    SetTimerService(&clock);
    {
        TForm form(nullptr);
        form.SetBounds(40, 40, 300, 160);
        form.SetClientWidth(300);
        form.SetClientHeight(160);
        auto* panel = Place<TSecretPanel>(form, 10, 10, 280, 140);
        panel->SetTextStyle(bvLowered);
        auto glyph = Glyph();
        panel->SetGlyph(glyph.get());
        panel->Lines()->SetText("hanmud\r\n\xC7\xD1\xB1\xDB MUD client\r\n\r\nthanks to\r\nevery player");
        Shoot(form);
        panel->Play();
        clock.Advance(30 * 90);
        ExpectScreenshot(form, "tests/controls/lib/golden", "CreditsPanel");
    }
    SetTimerService(previous);
}

}  // namespace
