// The thread timer: window ticks on the Qt event loop and worker ticks in real time. Margins are
// wide (the machine is shared); each check names the beat it expects.

#include "controls/lib/ExTimer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <limits>
#include <thread>
#include <vector>

#include "GuiTestSupport.h"

namespace {

using Clock = std::chrono::steady_clock;

// Runs the event loop for about ms milliseconds.
void Pump(int ms)
{
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < end) {
        TestApplication()->ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

// Counts ticks and remembers when they came and on which thread.
struct TTickLog {
    std::atomic<int> count{0};
    std::atomic<bool> offMainThread{false};
    std::vector<Clock::time_point> times;  // written on the GUI thread only
    TNotifyEvent Handler(bool keepTimes = false)
    {
        const std::thread::id main = std::this_thread::get_id();
        return [this, main, keepTimes](TObject*) {
            ++count;
            if (std::this_thread::get_id() != main)
                offMainThread = true;
            if (keepTimes)
                times.push_back(Clock::now());
        };
    }
};

struct TStopCase {
    const char* name;
    bool threaded;
    bool byInterval;  // Interval 0, else the handler cleared
};
class ExTimerStops : public ::testing::TestWithParam<TStopCase> {};

TEST_P(ExTimerStops, NoMoreTicks)
{
    TTickLog log;
    TExTimer timer(nullptr);
    timer.SetThreaded(GetParam().threaded);
    timer.SetInterval(20);
    timer.SetOnTimer(log.Handler());
    ASSERT_TRUE(WaitUntil([&] { return log.count > 0; }, "a first tick"));
    if (GetParam().byInterval)
        timer.SetInterval(0);
    else
        timer.SetOnTimer(nullptr);
    Pump(20);  // a tick handed over before the change may still arrive
    const int seen = log.count;
    Pump(150);
    EXPECT_EQ(log.count, seen);
}

const TStopCase kStops[] = {{"WindowTimerIntervalZero", false, true},
                            {"WindowTimerHandlerCleared", false, false},
                            {"ThreadIntervalZero", true, true},
                            {"ThreadHandlerCleared", true, false}};
INSTANTIATE_TEST_SUITE_P(Modes, ExTimerStops, ::testing::ValuesIn(kStops),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(ExTimer, SyncEventDecidesTheThreadOfTheHandler)
{
    TTickLog synced, free;
    TExTimer a(nullptr), b(nullptr);
    a.SetInterval(15);
    a.SetOnTimer(synced.Handler());
    b.SetSyncEvent(false);
    b.SetInterval(15);
    b.SetOnTimer(free.Handler());
    EXPECT_TRUE(WaitUntil([&] { return synced.count > 0 && free.count > 0; }, "ticks of both timers"));
    EXPECT_GT(synced.count, 0);
    EXPECT_FALSE(synced.offMainThread);
    EXPECT_GT(free.count, 0);
    EXPECT_TRUE(free.offMainThread);
}

TEST(ExTimer, SwitchingThreadedOffKeepsTheBeat)
{
    // 200 ms ticks; the switch comes 100 ms after a tick was seen. Restarting the interval at the
    // switch would leave at least 300 ms without a tick, however busy the machine; a busy machine
    // may delay any one tick, so a few tries are allowed for a gap that shows the beat kept. A try
    // in which a late tick came after the one seen proves nothing and does not count.
    long shortest = std::numeric_limits<long>::max();
    for (int attempt = 0; attempt < 5 && shortest >= 270; ++attempt) {
        TTickLog log;
        TExTimer timer(nullptr);
        timer.SetInterval(200);
        timer.SetOnTimer(log.Handler(true));
        ASSERT_TRUE(WaitUntil([&] { return log.times.size() >= 2; }, "two ticks"));
        const Clock::time_point last = log.times.back();
        const size_t before = log.times.size();
        while (Clock::now() < last + std::chrono::milliseconds(100))
            Pump(1);
        if (log.times.size() != before)
            continue;
        timer.SetThreaded(false);
        ASSERT_TRUE(WaitUntil([&] { return log.times.size() > before; }, "a tick after the switch"));
        const long gap =
            std::chrono::duration_cast<std::chrono::milliseconds>(log.times[before] - log.times[before - 1]).count();
        shortest = std::min(shortest, gap);
    }
    EXPECT_LT(shortest, 270) << "ms from the last tick before the switch to the first after it";
}

TEST(ExTimer, FreedWhileATickWaitsForTheGuiThreadNeverFires)
{
    // The worker hands a tick over while the GUI thread sleeps; the timer is freed before the
    // event loop runs it. The address sanitizer run catches any touch of the freed timer.
    auto log = std::make_shared<TTickLog>();
    auto* timer = new TExTimer(nullptr);
    timer->SetInterval(10);
    timer->SetOnTimer(log->Handler());
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    delete timer;
    Pump(100);
    EXPECT_EQ(log->count, 0);
}

TEST(ExTimer, FreedDuringTheWorkersSleepNeverFires)
{
    auto log = std::make_shared<TTickLog>();
    for (bool sync : {true, false}) {
        auto* timer = new TExTimer(nullptr);
        timer->SetSyncEvent(sync);
        timer->SetInterval(100);
        timer->SetOnTimer(log->Handler());
        Pump(30);
        delete timer;
        Pump(150);
    }
    EXPECT_EQ(log->count, 0);
}

TEST(ExTimer, HandlerMayFreeItsOwnTimer)
{
    for (bool sync : {true, false}) {
        std::atomic<int> ticks{0};
        std::atomic<TExTimer*> timer{new TExTimer(nullptr)};
        timer.load()->SetSyncEvent(sync);
        timer.load()->SetInterval(10);
        timer.load()->SetOnTimer([&](TObject*) {
            ++ticks;
            delete timer.exchange(nullptr);
        });
        EXPECT_TRUE(WaitUntil([&] { return !timer.load(); }, "the handler freeing its timer"));
        Pump(50);
        EXPECT_EQ(ticks, 1) << (sync ? "synchronised" : "on the worker");
    }
}

}  // namespace
