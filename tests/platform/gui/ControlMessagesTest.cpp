#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFocusEvent>

#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "platform/gui/Forms.h"
#include "platform/gui/WinControl.h"

using Log = std::vector<std::string>;

namespace {

// A control that handles one message itself and can pass it on to the framework's handling.
class TLoggingControl : public TCustomControl {
public:
    explicit TLoggingControl(TComponent* owner, std::vector<std::string>* log = nullptr)
        : TCustomControl(owner), log_(log)
    {
        RegisterHandler(CM_FONTCHANGED, [this](TMessage& m) {
            ++fontChanges;
            Inherited(m);
        });
        RegisterHandler(CM_COLORCHANGED, [this](TMessage& m) {
            ++colorChanges;
            Inherited(m);
        });
        RegisterHandler(WM_SIZE, [this](TMessage& m) {
            sizes.push_back({LParamX(m.LParam), LParamY(m.LParam)});
            Inherited(m);
        });
        RegisterHandler(WM_USER + 1, [this](TMessage& m) {
            if (log_)
                log_->push_back(Name() + " got " + std::to_string(m.WParam));
            m.Result = static_cast<LRESULT>(m.WParam == answerTo ? 7 : 0);
        });
    }
    void Resize() override
    {
        ++resizes;
        TCustomControl::Resize();
    }
    int fontChanges = 0, colorChanges = 0, resizes = 0;
    WPARAM answerTo = 999;
    std::vector<TPoint> sizes;

private:
    std::vector<std::string>* log_;
};

// Handles a message at two levels, as a subclass overriding its base's handler does.
class TBase : public TGraphicControl {
public:
    explicit TBase(TComponent* owner) : TGraphicControl(owner)
    {
        RegisterHandler(WM_USER, [this](TMessage& m) {
            trail += "base;";
            m.Result += 1;
        });
        RegisterHandler(WM_USER + 2, [this](TMessage&) { trail += "base2;"; });
    }
    void DefaultHandler(TMessage& m) override
    {
        trail += "default;";
        m.Result = 100;
    }
    std::string trail;
};

class TDerived : public TBase {
public:
    explicit TDerived(TComponent* owner) : TBase(owner)
    {
        RegisterHandler(WM_USER, [this](TMessage& m) {
            trail += "derived-before;";
            if (m.WParam == 1)
                Inherited(m);
            trail += "derived-after;";
            m.Result += 10;
        });
        RegisterHandler(WM_USER + 2, [this](TMessage& m) {
            Perform(WM_USER, 1);
            Inherited(m);
        });
    }
};

}  // namespace

TEST(MessageDispatch, LaterHandlerHidesEarlierOneUnlessItCallsInherited)
{
    TDerived c(nullptr);
    EXPECT_EQ(c.Perform(WM_USER, 1), 11);
    EXPECT_EQ(c.trail, "derived-before;base;derived-after;");
    c.trail.clear();
    EXPECT_EQ(c.Perform(WM_USER, 0), 10);
    EXPECT_EQ(c.trail, "derived-before;derived-after;");
    c.trail.clear();
    // No handler at all: the default handler.
    EXPECT_EQ(c.Perform(WM_USER + 50), 100);
    EXPECT_EQ(c.trail, "default;");
}

TEST(MessageDispatch, InheritedFromANestedMessageReachesTheRightLevel)
{
    TDerived c(nullptr);
    // The handler performs another message before passing its own on.
    c.Perform(WM_USER + 2);
    EXPECT_EQ(c.trail, "derived-before;base;derived-after;base2;");
}

TEST(MessageBroadcast, StopsAtTheFirstChildThatAnswers)
{
    std::vector<std::string> log;
    TForm form(nullptr);
    auto* a = new TLoggingControl(&form, &log);
    auto* b = new TLoggingControl(&form, &log);
    auto* c = new TLoggingControl(&form, &log);
    a->SetName("A");
    b->SetName("B");
    c->SetName("C");
    for (auto* x : {a, b, c})
        x->SetParent(&form);
    b->answerTo = 5;
    TMessage m{WM_USER + 1, 5, 0, 0};
    form.Broadcast(m);
    EXPECT_EQ(m.Result, 7);
    EXPECT_EQ(log, (Log{"A got 5", "B got 5"}));
}

TEST(ParentFontAndColor, ChangesSpreadToChildrenThatFollowTheirParent)
{
    TForm form(nullptr);
    auto* follower = new TLoggingControl(&form);
    auto* own = new TLoggingControl(&form);
    follower->SetParent(&form);
    own->SetParent(&form);
    own->Font()->SetName("Courier");  // its own font from now on
    follower->SetParentColor(true);
    int colorBefore = follower->colorChanges;
    int fontBefore = follower->fontChanges, ownBefore = own->fontChanges;

    form.Font()->SetSize(14);
    EXPECT_EQ(follower->Font()->Size(), 14);
    EXPECT_EQ(follower->fontChanges, fontBefore + 1);
    EXPECT_EQ(own->fontChanges, ownBefore);
    EXPECT_NE(own->Font()->Size(), 14);

    form.SetColor(clRed);
    EXPECT_EQ(follower->Color(), clRed);
    EXPECT_EQ(follower->colorChanges, colorBefore + 1);
    EXPECT_NE(own->Color(), clRed);

    follower->SetColor(clBlue);  // choosing a colour ends following
    EXPECT_FALSE(follower->ParentColor());
    form.SetColor(clLime);
    EXPECT_EQ(follower->Color(), clBlue);
}

TEST(ControlNotifications, StateChangesRaiseTheirMessages)
{
    struct TRecorder : TGraphicControl {
        explicit TRecorder(TComponent* o) : TGraphicControl(o)
        {
            for (unsigned msg : {CM_ENABLEDCHANGED, CM_VISIBLECHANGED, CM_TEXTCHANGED, CM_CURSORCHANGED})
                RegisterHandler(msg, [this, msg](TMessage&) { seen.push_back(msg); });
        }
        std::vector<unsigned> seen;
    } c(nullptr);
    c.SetEnabled(false);
    c.SetEnabled(false);  // no change, no message
    c.SetVisible(false);
    c.SetCaption("\xC7\xD1");
    c.SetText("\xC7\xD1");
    c.SetCursor(crHandPoint);
    EXPECT_EQ(c.seen, (std::vector<unsigned>{CM_ENABLEDCHANGED, CM_VISIBLECHANGED, CM_TEXTCHANGED, CM_CURSORCHANGED}));
}

TEST(ControlBounds, SizeChangesSendWmSizeAndCanResizeMayRefuse)
{
    TForm form(nullptr);
    auto* c = new TLoggingControl(&form);
    c->SetParent(&form);
    c->SetBounds(10, 10, 100, 50);
    c->SetBounds(20, 20, 100, 50);  // a move only
    ASSERT_EQ(c->sizes.size(), 1u);
    EXPECT_EQ(c->sizes[0], (TPoint{100, 50}));
    EXPECT_EQ(c->resizes, 1);
    c->OnCanResize = [](TObject*, int& w, int& h, bool& resize) {
        w = 80;  // the width may be adjusted
        resize = h < 200;
    };
    c->SetHeight(300);
    EXPECT_EQ(c->Height(), 50);
    c->SetBounds(0, 0, 120, 60);
    EXPECT_EQ(c->Width(), 80);
    EXPECT_EQ(c->Height(), 60);
}

TEST(ControlAlign, EdgesTakeTheirSpaceInOrderAndClientTakesTheRest)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    auto make = [&](TAlign a, int w, int h) {
        auto* c = new TLoggingControl(&form);
        c->SetBounds(0, 0, w, h);
        c->SetParent(&form);
        c->SetAlign(a);
        return c;
    };
    auto* client = make(alClient, 10, 10);
    auto* top = make(alTop, 10, 30);
    auto* bottom = make(alBottom, 10, 20);
    auto* left = make(alLeft, 40, 10);
    auto* right = make(alRight, 50, 10);
    EXPECT_EQ(top->BoundsRect(), (TRect{0, 0, 300, 30}));
    EXPECT_EQ(bottom->BoundsRect(), (TRect{0, 180, 300, 200}));
    EXPECT_EQ(left->BoundsRect(), (TRect{0, 30, 40, 180}));
    EXPECT_EQ(right->BoundsRect(), (TRect{250, 30, 300, 180}));
    EXPECT_EQ(client->BoundsRect(), (TRect{40, 30, 250, 180}));

    form.SetBounds(0, 0, 400, 300);  // the parent's WM_SIZE realigns
    EXPECT_EQ(client->BoundsRect(), (TRect{40, 30, 350, 280}));
    top->SetVisible(false);  // a hidden control gives its space back
    EXPECT_EQ(left->BoundsRect(), (TRect{0, 0, 40, 280}));
    delete right;
    EXPECT_EQ(client->BoundsRect(), (TRect{40, 0, 400, 280}));
}

TEST(ControlTree, ParentFreesChildrenItDoesNotOwn)
{
    TForm owner(nullptr);
    auto* form = new TForm(nullptr);
    auto* child = new TLoggingControl(&owner);  // owned by one form, shown on another
    child->SetParent(form);
    delete form;
    EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST(QtEventsAsMessages, FocusEventsBecomeSetAndKillFocus)
{
    TForm form(nullptr);
    struct TFocusProbe : TCustomControl {
        explicit TFocusProbe(TComponent* o) : TCustomControl(o)
        {
            RegisterHandler(WM_SETFOCUS, [this](TMessage& m) {
                seen.push_back("set");
                Inherited(m);
            });
            RegisterHandler(WM_KILLFOCUS, [this](TMessage&) { seen.push_back("kill"); });
        }
        std::vector<std::string> seen;
    };
    auto* c = new TFocusProbe(&form);
    c->SetParent(&form);
    form.Show();
    QFocusEvent in(QEvent::FocusIn), out(QEvent::FocusOut);
    QCoreApplication::sendEvent(c->Handle(), &in);
    EXPECT_EQ(form.ActiveControl(), c);  // the framework's handling ran
    QCoreApplication::sendEvent(c->Handle(), &out);
    EXPECT_EQ(c->seen, (Log{"set", "kill"}));
}

TEST(QtEventsAsMessages, WindowResizedByTheSystemSendsWmSizeAndRealigns)
{
    TForm form(nullptr);
    form.SetBounds(10, 10, 200, 100);
    auto* client = new TLoggingControl(&form);
    client->SetParent(&form);
    client->SetAlign(alClient);
    int formSizes = 0;
    form.OnResize = [&](TObject*) { ++formSizes; };
    form.Show();
    form.Handle()->resize(300, 150);
    EXPECT_EQ(form.Width(), 300);
    EXPECT_EQ(formSizes, 1);
    EXPECT_EQ(client->BoundsRect(), (TRect{0, 0, 300, 150}));
    // A form that refuses a size puts its window back.
    form.OnCanResize = [](TObject*, int& w, int&, bool&) { w = 300; };
    form.Handle()->resize(500, 160);
    EXPECT_EQ(form.Width(), 300);
    EXPECT_EQ(form.Handle()->width(), 300);
    EXPECT_EQ(form.Height(), 160);
}
