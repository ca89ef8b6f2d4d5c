// The speed button's state table, group rules, auto-repeat on the manual clock, drop-down menu
// and action link, driven by the messages its parent passes it.

#include "controls/lib/ExSpeedButton.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>

#include "GuiTestSupport.h"
#include "platform/core/TimerService.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/Foreground.h"
#include "platform/gui/Queue.h"

namespace {

const char* StateName(TExButtonState s)
{
    static const char* const kNames[] = {"up", "disabled", "down", "exclusive", "inactive"};
    return kNames[s];
}

void Press(TControl* c, unsigned msg, int x, int y, WPARAM keys) { c->Perform(msg, keys, MakeLParam(x, y)); }

class SpeedButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        previous = &TimerService();
        SetTimerService(&clock);
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 300, 200);
        form->HandleNeeded();
        other = new TCustomControl(form.get());
        other->SetBounds(150, 0, 100, 100);
        other->SetParent(form.get());
        other->HandleNeeded();
    }
    void TearDown() override
    {
        form.reset();
        SetTimerService(previous);
    }

    TExSpeedButton* Make(const std::string& name, TWinControl* parent, int left)
    {
        auto* b = new TExSpeedButton(form.get());
        b->SetName(name);
        b->SetBounds(left, 0, 25, 25);
        b->SetParent(parent);
        b->OnClick = [this, name](TObject*) { log << " click(" << name << ")"; };
        return b;
    }

    // Steps, blank-separated, on buttons a and b (on the form) and c (on another parent):
    //   a.g1 group 1; a.all AllowAllUp; a.down / a.up SetDown; a.off / a.on Enabled; a.paint;
    //   a! press and release inside; a<x,y press; a~x,y move; a>x,y release;
    //   =a logs "a:state", with "*" when Down.
    std::string Run(const std::string& steps)
    {
        std::map<char, TExSpeedButton*> b{
            {'a', Make("a", form.get(), 0)}, {'b', Make("b", form.get(), 40)}, {'c', Make("c", other, 0)}};
        std::istringstream in(steps);
        for (std::string s; in >> s;) {
            if (s[0] == '=') {
                TExSpeedButton* x = b[s[1]];
                log << " " << s[1] << ":" << StateName(x->State()) << (x->Down() ? "*" : "");
                continue;
            }
            TExSpeedButton* x = b[s[0]];
            const std::string op = s.substr(1);
            int px = 0, py = 0;
            if (op.size() > 1 && (op[0] == '<' || op[0] == '~' || op[0] == '>'))
                std::sscanf(op.c_str() + 1, "%d,%d", &px, &py);
            if (op == ".g1" || op == ".g2")
                x->SetGroupIndex(op[2] - '0');
            else if (op == ".all")
                x->SetAllowAllUp(true);
            else if (op == ".down" || op == ".up")
                x->SetDown(op == ".down");
            else if (op == ".off" || op == ".on")
                x->SetEnabled(op == ".on");
            else if (op == ".paint")
                x->Perform(WM_PAINT);
            else if (op == "!") {
                Press(x, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
                Press(x, WM_LBUTTONUP, 5, 5, 0);
            } else if (op[0] == '<')
                Press(x, WM_LBUTTONDOWN, px, py, MK_LBUTTON);
            else if (op[0] == '~')
                Press(x, WM_MOUSEMOVE, px, py, MK_LBUTTON);
            else if (op[0] == '>')
                Press(x, WM_LBUTTONUP, px, py, 0);
            else
                ADD_FAILURE() << "bad step " << s;
        }
        std::string out = log.str();
        return out.empty() ? out : out.substr(1);
    }

    TManualTimerService clock;
    ITimerService* previous = nullptr;  // the application's, back after each test
    std::unique_ptr<TForm> form;
    TCustomControl* other = nullptr;
    std::ostringstream log;
};

struct TScenario {
    const char* name;
    const char* steps;
    const char* log;
};
class SpeedButtonScenario : public SpeedButtonTest, public ::testing::WithParamInterface<TScenario> {};

TEST_P(SpeedButtonScenario, LeavesTheLog) { EXPECT_EQ(Run(GetParam().steps), GetParam().log); }

const TScenario kScenarios[] = {
    {"UngroupedButtonNeverStaysDown", "a.down =a a! =a", "a:up click(a) a:up"},
    {"GroupWithoutAllowAllUpKeepsItsButtonDown", "a.g1 a! =a a! a.up =a",
     "click(a) a:exclusive* click(a) a:exclusive*"},
    {"AloneWithAllowAllUpFlipsOnEveryClick", "a.g1 a.all a! =a a! =a", "click(a) a:exclusive* click(a) a:up"},
    {"PressingTheSecondRaisesTheFirstOnItsParentOnly", "a.g1 b.g1 c.g1 c! a! b! =a =b =c",
     "click(c) click(a) click(b) a:up b:exclusive* c:exclusive*"},
    {"AllowAllUpSpreadsToTheGroup", "a.g1 b.g1 a.all b! b! =b", "click(b) click(b) b:up"},
    {"JoiningAGroupWhileDownRaisesItsMembers", "a.g1 a.down b.g2 b.down a.g2 =a =b", "a:exclusive* b:up"},
    // y = 25 is the bottom edge: a click; x = 25 is the right edge: none.
    {"ReleaseOnTheBottomEdgeCountsOnTheRightEdgeNot", "a<5,5 a>5,25 a<5,5 a>25,5", "click(a)"},
    {"HeldButtonRisesOutsideAndSinksBackIn", "a<5,5 a~30,5 =a a~5,5 =a a~30,5 a>30,5 =a", "a:up a:down a:up"},
    {"ReleasedOutsideWithoutAMoveComesUp", "a.g1 a<5,5 a>40,5 =a", "a:up"},
    {"DownButtonStaysExclusiveWhileDragged", "a.g1 a.down a<5,5 a~30,5 =a", "a:exclusive*"},
    {"DisabledPaintsDisabledThenExclusiveAgain", "a.g1 a.down a.off a.paint =a a.on a.paint =a",
     "a:disabled* a:exclusive*"},
};
INSTANTIATE_TEST_SUITE_P(Steps, SpeedButtonScenario, ::testing::ValuesIn(kScenarios),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(SpeedButtonTest, HeldButtonRepeatsAfterTheInitialPauseAndOnRelease)
{
    TExSpeedButton* b = Make("a", form.get(), 0);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    b->SetAllowTimer(true);
    Press(b, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    clock.Advance(499);
    EXPECT_EQ(clicks, 0);
    clock.Advance(1);
    EXPECT_EQ(clicks, 1);
    clock.Advance(300);
    EXPECT_EQ(clicks, 4);
    Press(b, WM_LBUTTONUP, 5, 5, 0);
    EXPECT_EQ(clicks, 5);
    clock.Advance(1000);
    EXPECT_EQ(clicks, 5);
}

TEST_F(SpeedButtonTest, ExceptionFromARepeatedClickStopsTheRepeat)
{
    TExSpeedButton* b = Make("a", form.get(), 0);
    int clicks = 0;
    b->OnClick = [&](TObject*) {
        if (++clicks == 2)
            throw std::runtime_error("handler failed");
    };
    b->SetAllowTimer(true);
    Press(b, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    EXPECT_THROW(clock.Advance(700), std::runtime_error);
    clock.Advance(1000);
    EXPECT_EQ(clicks, 2);
}

TEST_F(SpeedButtonTest, DropDownOpensBelowAndSwallowsTheClickThatClosedIt)
{
    TExSpeedButton* b = Make("a", form.get(), 10);
    TPopupMenu menu(form.get());
    b->SetDropDownMenu(&menu);
    TPoint opened{-100, -100};
    TPopupMenuHook old = SetPopupMenuHook([&](TPopupMenu*, int x, int y) -> TMenuItem* {
        opened = TPoint{x, y};
        // The click that closes the menu lands on the button itself.
        PostMessage(b, WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(5, 5));
        return nullptr;
    });
    Press(b, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    Press(b, WM_LBUTTONUP, 5, 5, 0);
    RunQueuedCalls();
    SetPopupMenuHook(old);
    EXPECT_EQ(opened, b->ClientToScreen(TPoint{-1, 25}));
    EXPECT_EQ(log.str(), "");
    EXPECT_EQ(b->State(), rbsUp);
    EXPECT_FALSE(b->MouseCapture());
    b->ButtonClick();  // an auto-popup menu leaves the press to the mouse
    EXPECT_EQ(log.str(), "");
}

TEST_F(SpeedButtonTest, MenuItemThatFreesTheButtonRunsAfterThePress)
{
    TExSpeedButton* b = Make("a", form.get(), 10);
    TPopupMenu menu(form.get());
    auto* item = new TMenuItem(&menu);
    item->SetCaption("free");
    item->OnClick = [&](TObject*) { delete b; };
    menu.Items()->Add(item);
    b->SetDropDownMenu(&menu);
    TPopupMenuHook old = SetPopupMenuHook([&](TPopupMenu*, int, int) { return item; });
    Press(b, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    SetPopupMenuHook(old);
    EXPECT_EQ(form->FindComponent("a"), b);
    RunQueuedCalls();
    EXPECT_EQ(form->FindComponent("a"), nullptr);
}

TEST_F(SpeedButtonTest, FlatButtonTracksTheMouseInTheForeground)
{
    TExSpeedButton* b = Make("a", form.get(), 0);
    b->SetFlat(true);
    std::string events;
    b->OnMouseEnter = [&](TObject*) { events += "enter "; };
    b->OnMouseLeave = [&](TObject*) { events += "leave "; };
    auto old = SetForegroundTaskHook([] { return false; });
    b->Perform(CM_MOUSEENTER);
    EXPECT_FALSE(b->MouseInControl());
    SetForegroundTaskHook([] { return true; });
    b->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(b->MouseInControl());
    b->Perform(CM_MOUSELEAVE);
    SetForegroundTaskHook(old);
    EXPECT_EQ(events, "enter leave ");
}

TEST_F(SpeedButtonTest, GroupedButtonTakesDownFromItsAction)
{
    TExSpeedButton* b = Make("a", form.get(), 0);
    b->SetGroupIndex(1);
    TAction action(form.get());
    action.SetCaption("Act");
    action.SetChecked(true);
    b->SetAction(&action);
    EXPECT_TRUE(b->Down());
    EXPECT_EQ(b->Caption(), "Act");
}

struct TMenuPosRow {
    const char* name;
    TExDropDownMenuPos position;
    TPopupAlignment alignment;
    TPoint at;
};
class DropDownMenuPosRow : public ::testing::TestWithParam<TMenuPosRow> {};

TEST_P(DropDownMenuPosRow, OpensAtTheTablesPoint)
{
    EXPECT_EQ(DropDownMenuPos(GetParam().position, GetParam().alignment, 40, 20), GetParam().at);
}

const TMenuPosRow kMenuPositions[] = {
    {"BottomRight", dmpBottom, paRight, {41, 20}},
    {"RightLeft", dmpRight, paLeft, {40, -1}},
    {"RightRight", dmpRight, paRight, {-1, -1}},
    {"Centre", dmpRight, paCenter, {20, 20}},
};
INSTANTIATE_TEST_SUITE_P(Positions, DropDownMenuPosRow, ::testing::ValuesIn(kMenuPositions),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
