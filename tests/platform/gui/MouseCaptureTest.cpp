#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "platform/gui/Forms.h"
#include "platform/gui/WinControl.h"

using Log = std::vector<std::string>;

namespace {

std::string Describe(const char* what, int x, int y)
{
    return std::string(what) + "@" + std::to_string(x) + "," + std::to_string(y);
}

// Records the mouse as a control written against the framework sees it.
template <class Base>
class TMouseProbe : public Base {
public:
    explicit TMouseProbe(TComponent* owner) : Base(owner)
    {
        this->RegisterHandler(CM_MOUSEENTER, [this](TMessage&) { log.push_back("enter"); });
        this->RegisterHandler(CM_MOUSELEAVE, [this](TMessage&) { log.push_back("leave"); });
        this->OnClick = [this](TObject*) { log.push_back("click"); };
        this->OnDblClick = [this](TObject*) { log.push_back("dblclick"); };
    }
    std::vector<std::string> log;

protected:
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override
    {
        log.push_back(Describe(s.Contains(ssDouble) ? "down2" : (b == mbLeft ? "down" : "rdown"), x, y));
        Base::MouseDown(b, s, x, y);
    }
    void MouseMove(TShiftState s, int x, int y) override
    {
        log.push_back(Describe(s.Contains(ssLeft) ? "drag" : "move", x, y));
        Base::MouseMove(s, x, y);
    }
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) override
    {
        log.push_back(Describe("up", x, y));
        Base::MouseUp(b, s, x, y);
    }
};

using TGraphicProbe = TMouseProbe<TGraphicControl>;
using TWindowProbe = TMouseProbe<TCustomControl>;

class MouseCapture : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = new TForm(nullptr);
        form->SetBounds(0, 0, 200, 200);
        graphic = new TGraphicProbe(form);
        graphic->SetBounds(10, 10, 50, 30);
        graphic->SetParent(form);
        window = new TWindowProbe(form);
        window->SetBounds(100, 100, 50, 50);
        window->SetParent(form);
        form->Show();
        w = form->Handle();
    }
    void TearDown() override { delete form; }
    TForm* form = nullptr;
    TGraphicProbe* graphic = nullptr;
    TWindowProbe* window = nullptr;
    QWidget* w = nullptr;
};

}  // namespace

TEST_F(MouseCapture, GraphicControlKeepsTheMouseFromPressToRelease)
{
    SendMouse(w, QEvent::MouseButtonPress, {20, 20}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(GetCaptureControl(), graphic);
    // Qt's implicit grab keeps sending to the form's widget; the bookkeeping routes to the child.
    SendMouse(w, QEvent::MouseMove, {150, 150}, Qt::NoButton, Qt::LeftButton);
    SendMouse(w, QEvent::MouseButtonRelease, {150, 150}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(GetCaptureControl(), nullptr);
    EXPECT_EQ(graphic->log, (Log{"enter", "down@10,10", "leave", "drag@140,140", "up@140,140"}));
    EXPECT_TRUE(window->log.empty());  // never saw the captured mouse
}

TEST_F(MouseCapture, ReleaseInsideClicksAndTheBottomRightEdgesAreOutside)
{
    SendMouse(w, QEvent::MouseButtonPress, {20, 20}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(w, QEvent::MouseButtonRelease, {59, 39}, Qt::LeftButton, Qt::NoButton);
    SendMouse(w, QEvent::MouseButtonPress, {20, 20}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(w, QEvent::MouseButtonRelease, {60, 39}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(graphic->log, (Log{"enter", "down@10,10", "click", "up@49,29", "down@10,10", "up@50,29"}));
}

TEST_F(MouseCapture, EnterAndLeaveFollowThePointerAcrossGraphicChildren)
{
    SendMouse(w, QEvent::MouseMove, {5, 5}, Qt::NoButton, Qt::NoButton);
    SendMouse(w, QEvent::MouseMove, {15, 15}, Qt::NoButton, Qt::NoButton);
    SendMouse(w, QEvent::MouseMove, {16, 15}, Qt::NoButton, Qt::NoButton);
    SendMouse(w, QEvent::MouseMove, {5, 5}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(graphic->log, (Log{"enter", "move@5,5", "move@6,5", "leave"}));
}

TEST_F(MouseCapture, WindowedControlKeepsTheMouseOutsideItsWidget)
{
    QWidget* cw = window->Handle();
    SendMouse(cw, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(GetCaptureControl(), window);
    SendMouse(cw, QEvent::MouseMove, {-60, -70}, Qt::NoButton, Qt::LeftButton);
    SendMouse(cw, QEvent::MouseButtonRelease, {-60, -70}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(GetCaptureControl(), nullptr);
    EXPECT_EQ(window->log, (Log{"enter", "down@5,5", "leave", "drag@-60,-70", "up@-60,-70"}));
}

TEST_F(MouseCapture, SecondButtonKeepsTheCaptureUntilTheLastRelease)
{
    SendMouse(w, QEvent::MouseButtonPress, {20, 20}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(w, QEvent::MouseButtonPress, {20, 20}, Qt::RightButton, Qt::LeftButton | Qt::RightButton);
    SendMouse(w, QEvent::MouseButtonRelease, {150, 150}, Qt::LeftButton, Qt::RightButton);
    EXPECT_EQ(GetCaptureControl(), graphic);
    SendMouse(w, QEvent::MouseButtonRelease, {150, 150}, Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(GetCaptureControl(), nullptr);
}

TEST_F(MouseCapture, ControlWithoutCaptureStyleLosesTheMouseWhenItLeaves)
{
    graphic->SetControlStyle(graphic->ControlStyle() & ~csCaptureMouse);
    SendMouse(w, QEvent::MouseButtonPress, {20, 20}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(GetCaptureControl(), nullptr);
    SendMouse(w, QEvent::MouseMove, {150, 5}, Qt::NoButton, Qt::LeftButton);
    SendMouse(w, QEvent::MouseButtonRelease, {150, 5}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(graphic->log, (Log{"enter", "down@10,10", "leave"}));
}

TEST_F(MouseCapture, DisabledGraphicControlLetsTheParentHaveTheMouse)
{
    graphic->SetEnabled(false);
    std::vector<std::string> formLog;
    form->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
        formLog.push_back(Describe("form", x, y));
    };
    SendMouse(w, QEvent::MouseButtonPress, {20, 20}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(w, QEvent::MouseButtonRelease, {20, 20}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(formLog, (Log{"form@20,20"}));
}

TEST_F(MouseCapture, DoubleClickIsADownWithTheDoubleFlagAfterDblClick)
{
    SendMouse(w, QEvent::MouseButtonPress, {20, 20}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(w, QEvent::MouseButtonRelease, {20, 20}, Qt::LeftButton, Qt::NoButton);
    SendMouse(w, QEvent::MouseButtonDblClick, {20, 20}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(w, QEvent::MouseButtonRelease, {20, 20}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(graphic->log,
              (Log{"enter", "down@10,10", "click", "up@10,10", "dblclick", "down2@10,10", "click", "up@10,10"}));

    // Without double clicks the second press is a plain press.
    graphic->log.clear();
    graphic->SetControlStyle(graphic->ControlStyle() & ~csDoubleClicks);
    SendMouse(w, QEvent::MouseButtonDblClick, {20, 20}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(graphic->log.front(), "down@10,10");
    SendMouse(w, QEvent::MouseButtonRelease, {20, 20}, Qt::LeftButton, Qt::NoButton);
}

TEST_F(MouseCapture, ControlFreedWhileHoldingTheCaptureIsForgotten)
{
    SendMouse(w, QEvent::MouseButtonPress, {20, 20}, Qt::LeftButton, Qt::LeftButton);
    delete graphic;
    graphic = nullptr;
    EXPECT_EQ(GetCaptureControl(), nullptr);
    // The rest of the drag reaches the form, not the freed control (ASan would see it).
    SendMouse(w, QEvent::MouseMove, {30, 30}, Qt::NoButton, Qt::LeftButton);
    SendMouse(w, QEvent::MouseButtonRelease, {30, 30}, Qt::LeftButton, Qt::NoButton);
}

TEST_F(MouseCapture, ApplicationHookSeesAndMayStopMouseMessages)
{
    std::vector<unsigned> seen;
    TestApplication()->OnMessage = [&](TMsg& m, bool& handled) {
        seen.push_back(m.message);
        handled = m.message == WM_LBUTTONDOWN;
    };
    SendMouse(w, QEvent::MouseButtonPress, {20, 20}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(w, QEvent::MouseButtonRelease, {20, 20}, Qt::LeftButton, Qt::NoButton);
    TestApplication()->OnMessage = nullptr;
    EXPECT_EQ(seen, (std::vector<unsigned>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
    EXPECT_EQ(graphic->log, (Log{"enter", "up@10,10"}));
}
