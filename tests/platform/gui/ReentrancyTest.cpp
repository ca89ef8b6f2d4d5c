// Handlers that free the control (or form) they run for: nothing may touch the freed object
// afterwards. The sanitizer build catches any access.

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "GuiTestSupport.h"
#include "platform/gui/Forms.h"
#include "platform/gui/WinControl.h"
#include "platform/gui/WindowTimer.h"

namespace {

void Drain()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

TEST(FreedByItsOwnHandler, GraphicControlFreedByItsClick)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 100, 100);
    auto* g = new TGraphicControl(&form);
    g->SetBounds(0, 0, 50, 50);
    g->SetParent(&form);
    bool mouseUpAfterFree = false;
    g->OnClick = [&](TObject* sender) { delete static_cast<TControl*>(sender); };
    g->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { mouseUpAfterFree = true; };
    form.Show();
    QWidget* w = form.Handle();
    SendMouse(w, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(w, QEvent::MouseButtonRelease, {10, 10}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(form.ControlCount(), 0);
    EXPECT_FALSE(mouseUpAfterFree);
    SendMouse(w, QEvent::MouseMove, {10, 10}, Qt::NoButton, Qt::NoButton);
}

TEST(FreedByItsOwnHandler, WindowedControlFreedByItsClickKeepsItsWidgetUntilTheEventEnds)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 100, 100);
    auto* c = new TCustomControl(&form);
    c->SetBounds(0, 0, 50, 50);
    c->SetParent(&form);
    form.Show();
    QWidget* cw = c->Handle();
    c->OnClick = [](TObject* sender) { delete static_cast<TControl*>(sender); };
    SendMouse(cw, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(cw, QEvent::MouseButtonRelease, {10, 10}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(form.ControlCount(), 0);
    EXPECT_EQ(TWinControl::FromWidget(cw), nullptr);
    Drain();
}

TEST(FreedByItsOwnHandler, FormFreedFromAKeyOfItsFocusedControl)
{
    auto* form = new TForm(nullptr);
    auto* c = new TCustomControl(form);
    c->SetParent(form);
    form->SetKeyPreview(true);
    int childKeys = 0;
    c->OnKeyDown = [&](TObject*, uint16_t&, TShiftState) { ++childKeys; };
    form->OnKeyDown = [&](TObject*, uint16_t& key, TShiftState) {
        if (key == 0x1B)
            delete form;
    };
    form->Show();
    TypeKey(c->Handle(), Qt::Key_Escape, Qt::NoModifier, "\x1b");
    EXPECT_EQ(childKeys, 0);
    Drain();
}

TEST(FreedByItsOwnHandler, ControlFreedByItsTimerGetsNoOtherTimer)
{
    TManualTimerService clock;
    ITimerService* previous = &TimerService();
    SetTimerService(&clock);
    struct TTicker : TGraphicControl {
        explicit TTicker(TComponent* o, int* ticks) : TGraphicControl(o)
        {
            RegisterHandler(WM_TIMER, [this, ticks](TMessage&) {
                ++*ticks;
                delete this;
            });
        }
    };
    int ticks = 0;
    auto* t = new TTicker(nullptr, &ticks);
    SetTimer(t, 1, 100);
    SetTimer(t, 2, 100);  // due at the same moment
    clock.Advance(500);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(clock.Count(), 0);
    SetTimerService(previous);
}
