#include <gtest/gtest.h>

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Queue.h"
#include "platform/gui/Sound.h"
#include "platform/gui/WinControl.h"
#include "platform/gui/WindowTimer.h"

namespace {

// Installs a manual clock for one test and puts the previous service back.
class ManualClock : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = &TimerService();
        SetTimerService(&clock);
    }
    void TearDown() override { SetTimerService(previous); }
    TManualTimerService clock{1000};
    ITimerService* previous = nullptr;
};

}  // namespace

TEST_F(ManualClock, TimerComponentFiresEveryIntervalUntilDisabled)
{
    TTimer timer(nullptr);
    int ticks = 0;
    timer.SetInterval(250);
    timer.SetOnTimer([&](TObject*) {
        if (++ticks == 3)
            timer.SetEnabled(false);
    });
    clock.Advance(2000);
    EXPECT_EQ(ticks, 3);
    timer.SetEnabled(true);  // starts a fresh interval
    clock.Advance(249);
    EXPECT_EQ(ticks, 3);
    clock.Advance(1);
    EXPECT_EQ(ticks, 4);
}

TEST_F(ManualClock, TimerHandlerMayFreeItsOwnTimer)
{
    auto* timer = new TTimer(nullptr);
    int ticks = 0;
    timer->SetInterval(100);
    timer->SetOnTimer([&](TObject*) {
        ++ticks;
        delete timer;
    });
    clock.Advance(1000);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(clock.Count(), 0);
}

TEST_F(ManualClock, WindowTimersSendWmTimerThroughTheHookUntilKilled)
{
    struct TTicker : TGraphicControl {
        explicit TTicker(TComponent* o) : TGraphicControl(o)
        {
            RegisterHandler(WM_TIMER, [this](TMessage& m) {
                ids.push_back(m.WParam);
                if (m.WParam == 2)
                    KillTimer(this, 2);
            });
        }
        std::vector<WPARAM> ids;
    };
    auto* c = new TTicker(nullptr);
    int hooked = 0;
    TestApplication()->OnMessage = [&](TMsg& m, bool&) { hooked += m.message == WM_TIMER; };
    SetTimer(c, 1, 300);
    SetTimer(c, 2, 200);
    clock.Advance(600);
    TestApplication()->OnMessage = nullptr;
    EXPECT_EQ(c->ids, (std::vector<WPARAM>{2, 1, 1}));
    EXPECT_EQ(hooked, 3);
    EXPECT_FALSE(KillTimer(c, 2));
    delete c;  // its remaining timer goes with it
    EXPECT_EQ(clock.Count(), 0);
    clock.Advance(1000);
}

TEST(QtTimerService, FiresFromTheEventLoopAndStopsItself)
{
    TQtTimerService service;
    int ticks = 0;
    int id = 0;
    id = service.StartTimer(5, [&] {
        if (++ticks == 2)
            service.StopTimer(id);
    });
    EXPECT_TRUE(WaitUntil([&] { return ticks >= 2; }, "two ticks"));
    EXPECT_EQ(ticks, 2);
    EXPECT_FALSE(service.IsRunning(id));
}

TEST(Clipboard, HangulTextRoundTripsAsCp949)
{
    const AnsiString text = "\xC7\xD1\xB1\xDB abc \x8C\x63";  // 한글 abc 똠
    Clipboard()->SetAsText(text);
    EXPECT_EQ(Clipboard()->AsText(), text);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("\xED\x95\x9C\xEA\xB8\x80 abc \xEB\x98\xA0"));
    QGuiApplication::clipboard()->setText(QString::fromUtf8("x\xF0\x9F\x98\x80y"));  // outside cp949
    EXPECT_EQ(Clipboard()->AsText(), "x?y");
}

TEST(MessageBoxes, HookAnswersAndDefaultsFollowTheButtons)
{
    std::vector<std::string> seen;
    TMessageBoxHook old = SetMessageBoxHook([&](const AnsiString& text, const AnsiString& caption, unsigned flags) {
        seen.push_back(caption + ":" + text + ":" + std::to_string(flags));
        return IDNO;
    });
    EXPECT_EQ(MessageBox("\xBF\xA1\xB7\xAF", "c", MB_YESNO), IDNO);
    ShowMessage("hi");
    SetMessageBoxHook(nullptr);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], "c:\xBF\xA1\xB7\xAF:4");
    EXPECT_EQ(seen[1], ":hi:0");
    // Under the test environment an unhooked box answers at once with its default button.
    EXPECT_EQ(MessageBox("t", "c", MB_YESNOCANCEL | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(MessageBox("t", "c", MB_OKCANCEL), IDOK);
    EXPECT_EQ(DefaultMessageBoxResult(MB_RETRYCANCEL | MB_DEFBUTTON2), IDCANCEL);
    SetMessageBoxHook(old);
}

TEST(Sounds, BeepAndPlayNeverWaitAndCanBeObserved)
{
    std::vector<TSoundRequest> seen;
    TSoundHook old = SetSoundHook([&](const TSoundRequest& r) {
        seen.push_back(r);
        return true;
    });
    EXPECT_TRUE(Beep(440, 2000));
    EXPECT_TRUE(sndPlaySound("Sound\\ding.wav", SND_ASYNC));
    SetSoundHook(old);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].Kind, TSoundRequest::kBeep);
    EXPECT_EQ(seen[0].Duration, 2000u);
    EXPECT_EQ(seen[1].FileName, "Sound\\ding.wav");
    EXPECT_FALSE(sndPlaySound("no-such-file.wav", SND_ASYNC));
}

TEST(QueuedCalls, RunLaterInOrderAndNeverInsideTheCaller)
{
    std::vector<int> order;
    QueueCall([&] {
        order.push_back(1);
        QueueCall([&] { order.push_back(3); });
    });
    QueueCall([&] { order.push_back(2); });
    EXPECT_TRUE(order.empty());
    for (int i = 0; i < 20 && order.size() < 3; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}
