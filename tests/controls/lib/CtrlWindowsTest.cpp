// Window helpers, the posted-message queue, the previous instance and the wait cursor.

#include <gtest/gtest.h>

#include <future>
#include <unistd.h>

#include "GuiTestSupport.h"
#include "controls/lib/CtrlUtils.h"
#include "platform/gui/Queue.h"

namespace {

struct TWaitCase {
    const char* name;
    const char* steps;  // s = StartWait, e = StopWait
    bool waiting;
};
class WaitCursorNesting : public ::testing::TestWithParam<TWaitCase> {};

TEST_P(WaitCursorNesting, OnlyTheOutermostPairChangesTheCursor)
{
    TestApplication();
    Screen->SetCursor(crCross);
    for (const char* s = GetParam().steps; *s; ++s)
        *s == 's' ? StartWait() : StopWait();
    EXPECT_EQ(Screen->Cursor(), GetParam().waiting ? crHourGlass : crCross);
    while (Screen->Cursor() == crHourGlass)
        StopWait();
    Screen->SetCursor(crDefault);
}

const TWaitCase kWaits[] = {{"StopWithoutStartDoesNothing", "e", false},
                            {"TwoStartsOneStopKeepWaiting", "sse", true},
                            {"MatchingStopRestoresTheCursor", "se", false},
                            {"ExtraStopDoesNotCountBelowZero", "sees", true}};
INSTANTIATE_TEST_SUITE_P(Steps, WaitCursorNesting, ::testing::ValuesIn(kWaits),
                         [](const auto& p) { return std::string(p.param.name); });

// Keeps the user messages it receives, in its own list or in one of the caller's.
class TListener : public TCustomControl {
public:
    explicit TListener(TComponent* owner, std::vector<int>* sink = nullptr) : TCustomControl(owner)
    {
        std::vector<int>* into = sink ? sink : &received;
        RegisterHandler(WM_USER + 1, [into](TMessage& m) { into->push_back(static_cast<int>(m.WParam)); });
    }
    std::vector<int> received;
};

TEST(CtrlWindows, KillMessageRemovesOnePendingMessage)
{
    TestApplication();
    TListener listener(nullptr);
    PostMessage(&listener, WM_USER + 1, 1);
    PostMessage(&listener, WM_USER + 1, 2);
    KillMessage(&listener, WM_USER + 1);
    RunQueuedCalls();
    EXPECT_EQ(listener.received, std::vector<int>{2});
}

// The freed control's handler counts into a variable of the test's, so a delivery after the free
// shows in every build, not only where the address sanitizer would catch it.
TEST(CtrlWindows, MessagesForAFreedControlAreDropped)
{
    TestApplication();
    std::vector<int> delivered;
    auto* freed = new TListener(nullptr, &delivered);
    TListener alive(nullptr);
    PostMessage(freed, WM_USER + 1, 1);
    PostMessage(&alive, WM_USER + 1, 2);
    delete freed;
    RunQueuedCalls();
    EXPECT_TRUE(delivered.empty());
    // The queue did run: the message posted after the dropped one arrived.
    EXPECT_EQ(alive.received, std::vector<int>{2});
}

TEST(CtrlWindows, ChildIsCentredInItsParent)
{
    TestApplication();
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 100);
    auto* child = new TListener(&form);
    child->SetBounds(5, 5, 50, 150);
    child->SetParent(&form);
    CenterControl(child);
    EXPECT_EQ(child->Left(), (form.ClientWidth() - 50) / 2);
    EXPECT_EQ(child->Top(), 0);  // taller than the parent: not above it
}

TEST(CtrlWindows, RunningCopyIsFoundByClassOrTitle)
{
    TestApplication();
    const AnsiString cls = "TMainTest" + IntToStr(getpid()), title = "Title";
    // Another copy asks from its own thread while this one's event loop answers.
    auto ask = [&](AnsiString c, AnsiString t) {
        auto answer = std::async(std::launch::async, [=] { return FindPrevInstance(c, t); });
        while (answer.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready)
            TestApplication()->ProcessMessages();
        return answer.get();
    };
    EXPECT_FALSE(ask(cls, title));
    EXPECT_FALSE(ActivatePrevInstance(cls, title));  // none yet: this copy starts answering
    EXPECT_TRUE(ask(cls, ""));
    EXPECT_TRUE(ask("", title));
    EXPECT_TRUE(ask(cls, title));
    EXPECT_FALSE(ask(cls, "Other"));
    EXPECT_FALSE(ask("", ""));
}

}  // namespace
