// Window subclassing: a procedure in front of a control's own handling, kept across a new
// window, and the size limits a form asks of its handlers.

#include <gtest/gtest.h>

#include <QWidget>
#include <string>

#include "GuiTestSupport.h"
#include "platform/gui/Forms.h"

namespace {

constexpr unsigned kProbe = WM_USER + 1;

// A form that takes handlers from the test.
class THandledForm : public TForm {
public:
    using TForm::RegisterHandler;
    using TForm::TForm;
};

TEST(WindowHook, RunsBeforeTheControlAndMaySwallow)
{
    TestApplication();
    THandledForm form(nullptr);
    std::string log;
    form.RegisterHandler(kProbe, [&](TMessage& m) {
        log += "own ";
        m.Result = 9;
    });
    form.SetWindowHook([&](TMessage& m) {
        log += "hook ";
        if (m.WParam == 0)
            form.DefWindowProc(m);
    });
    EXPECT_EQ(form.Perform(kProbe, 0), 9);
    EXPECT_EQ(form.Perform(kProbe, 1), 0);
    form.SetWindowHook(nullptr);
    form.Perform(kProbe, 1);
    EXPECT_EQ(log, "hook own hook own ");
}

TEST(WindowHook, NewWindowSendsDestroyAndKeepsTheHook)
{
    TestApplication();
    TForm form(nullptr);
    form.Show();
    std::string log;
    form.SetWindowHook([&](TMessage& m) {
        if (m.Msg == WM_DESTROY || m.Msg == kProbe)
            log += m.Msg == WM_DESTROY ? "destroy " : "probe ";
        form.DefWindowProc(m);
    });
    form.RecreateWnd();
    form.Perform(kProbe);
    EXPECT_EQ(log, "destroy probe ");
}

TEST(WindowHook, SizeableFormTakesItsLimitsFromGetMinMaxInfo)
{
    TestApplication();
    THandledForm form(nullptr);
    form.SetBounds(10, 10, 300, 200);
    form.Constraints()->MinWidth = 100;
    form.RegisterHandler(WM_GETMINMAXINFO, [&](TMessage& m) {
        auto* info = reinterpret_cast<TMinMaxInfo*>(m.LParam);
        EXPECT_EQ(info->ptMinTrackSize.x, 100);
        info->ptMaxTrackSize = {form.Width(), form.Height()};
    });
    form.Show();
    form.ConstraintsChanged();
    EXPECT_EQ(form.Handle()->maximumSize(), QSize(300, 200));
    EXPECT_EQ(form.Handle()->minimumWidth(), 100);
    form.SetBounds(10, 10, 350, 250);
    EXPECT_EQ(form.Handle()->maximumSize(), QSize(350, 250));
    EXPECT_EQ(form.Handle()->size(), QSize(350, 250));
}

}  // namespace
