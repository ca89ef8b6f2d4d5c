// Window hooks on real controls: the order of several hooks, swallowing, the after handlers, a
// new window, and control hooks freed after the message that emptied them.

#include "controls/lib/ExHook.h"

#include <gtest/gtest.h>

#include <string>

#include "GuiTestSupport.h"
#include "platform/core/TypInfo.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Queue.h"
#include "platform/gui/StandardClasses.h"

namespace {

constexpr unsigned kProbe = WM_USER + 7;

// A panel that answers the probe with 5 and notes it.
class TProbePanel : public TPanel {
public:
    TProbePanel(TComponent* owner, std::string& log) : TPanel(owner)
    {
        RegisterHandler(kProbe, [&log](TMessage& m) {
            log += "control ";
            m.Result = 5;
        });
    }
};

class ExHookTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        RegisterStandardClasses();
        RegisterExHookClasses();
        form = new TForm(nullptr);
        panel = new TProbePanel(form, log);
        panel->SetBounds(0, 0, 50, 50);
        panel->SetParent(form);
    }
    void TearDown() override
    {
        delete form;
        RunQueuedCalls();
    }
    TExWindowHook* Hook(const char* name, bool swallowBefore = false)
    {
        auto* h = new TExWindowHook(form);
        h->BeforeMessage = [this, name, swallowBefore](TObject*, TMessage& m, bool& handled) {
            if (m.Msg != kProbe)
                return;
            log += std::string(name) + ".before ";
            handled = swallowBefore;
        };
        h->AfterMessage = [this, name](TObject*, TMessage& m, bool&) {
            if (m.Msg == kProbe)
                log += std::string(name) + ".after(" + std::to_string(m.Result) + ") ";
        };
        h->SetWinControl(panel);
        return h;
    }

    TForm* form = nullptr;
    TPanel* panel = nullptr;
    std::string log;
};

TEST_F(ExHookTest, LastAttachedRunsFirstAroundTheControl)
{
    Hook("a");
    Hook("b");
    EXPECT_EQ(panel->Perform(kProbe), 5);
    EXPECT_EQ(log, "b.before a.before control b.after(5) a.after(5) ");
    EXPECT_EQ(ControlHookCount(), 1);
}

TEST_F(ExHookTest, LaterHookSwallowsTheMessageFromTheEarlierAndTheControl)
{
    Hook("a");
    Hook("b", true);
    EXPECT_EQ(panel->Perform(kProbe), 0);
    EXPECT_EQ(log, "b.before ");
}

TEST_F(ExHookTest, InactiveHookSeesNothingAndActiveAgainDoes)
{
    TExWindowHook* a = Hook("a");
    a->SetActive(false);
    panel->Perform(kProbe);
    a->SetActive(true);
    panel->Perform(kProbe);
    EXPECT_EQ(log, "control a.before control a.after(5) ");
}

TEST_F(ExHookTest, NewWindowKeepsTheHookWorking)
{
    Hook("a");
    panel->HandleNeeded();
    panel->RecreateWnd();
    RunQueuedCalls();
    panel->Perform(kProbe);
    EXPECT_EQ(log, "a.before control a.after(5) ");
}

TEST_F(ExHookTest, LastHookLeavingFreesTheControlHookAfterTheMessage)
{
    TExWindowHook* a = Hook("a");
    a->BeforeMessage = [&](TObject*, TMessage& m, bool&) {
        if (m.Msg == kProbe)
            a->SetWinControl(nullptr);
    };
    panel->Perform(kProbe);
    EXPECT_EQ(ControlHookCount(), 1);
    RunQueuedCalls();
    EXPECT_EQ(ControlHookCount(), 0);
    log.clear();
    panel->Perform(kProbe);
    EXPECT_EQ(log, "control ");
}

TEST_F(ExHookTest, HookFreedByItsOwnHandlerStopsTheChainSafely)
{
    Hook("a");
    TExWindowHook* b = Hook("b");
    b->BeforeMessage = [&](TObject*, TMessage& m, bool&) {
        if (m.Msg == kProbe)
            delete b;
    };
    EXPECT_EQ(panel->Perform(kProbe), 5);
    EXPECT_EQ(log, "a.before control a.after(5) ");
}

TEST_F(ExHookTest, FreedControlLeavesTheHookWithoutAControl)
{
    TExWindowHook* a = Hook("a");
    delete panel;
    EXPECT_EQ(a->WinControl(), nullptr);
    RunQueuedCalls();
    EXPECT_EQ(ControlHookCount(), 0);
}

TEST_F(ExHookTest, IsFormWhenTheOwnerFormIsWatched)
{
    auto* h = new TExWindowHook(form);
    h->SetIsForm(true);
    EXPECT_EQ(h->WinControl(), form);
    EXPECT_TRUE(h->IsForm());
    const TPropInfo* wc = GetPropInfo(h, "WinControl");
    ASSERT_NE(wc, nullptr);
    EXPECT_FALSE(IsStoredProp(h, *wc));
}

}  // namespace
