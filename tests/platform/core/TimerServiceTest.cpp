#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/TimerService.h"

TEST(ManualTimerService, TimersFireAtTheirDueTimesInOrder)
{
    TManualTimerService clock(1000);
    std::vector<std::string> log;
    clock.StartTimer(300, [&] { log.push_back("a@" + std::to_string(clock.Now())); });
    clock.StartTimer(200, [&] { log.push_back("b@" + std::to_string(clock.Now())); });
    clock.Advance(199);
    EXPECT_TRUE(log.empty());
    clock.Advance(401);
    EXPECT_EQ(log, (std::vector<std::string>{"b@1200", "a@1300", "b@1400", "a@1600", "b@1600"}));
}

TEST(ManualTimerService, CallbackThatStopsItselfFiresOnce)
{
    TManualTimerService clock;
    int fired = 0;
    int id = 0;
    id = clock.StartTimer(100, [&] {
        ++fired;
        clock.StopTimer(id);
    });
    clock.Advance(1000);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(clock.Count(), 0);
}

TEST(ManualTimerService, CallbackMayStopAnotherDueTimerAndStartNewOnes)
{
    TManualTimerService clock;
    std::vector<std::string> log;
    int victim = 0;
    clock.StartTimer(100, [&] {
        log.push_back("killer");
        clock.StopTimer(victim);
        if (log.size() == 1)
            clock.StartTimer(50, [&] { log.push_back("child@" + std::to_string(clock.Now())); });
    });
    victim = clock.StartTimer(100, [&] { log.push_back("victim"); });
    clock.Advance(200);
    // The victim was due at 100 too but was stopped first; the child started at 100 fires at 150.
    EXPECT_EQ(log, (std::vector<std::string>{"killer", "child@150", "killer", "child@200"}));
}

TEST(ManualTimerService, RestartingFromInsideACallbackKeepsTheNewTimer)
{
    TManualTimerService clock;
    int fired = 0;
    int id = 0;
    std::function<void()> tick = [&] {
        ++fired;
        clock.StopTimer(id);
        id = clock.StartTimer(300, tick);
    };
    id = clock.StartTimer(100, tick);
    clock.Advance(1000);
    EXPECT_EQ(fired, 4);  // at 100, 400, 700, 1000
    EXPECT_TRUE(clock.IsRunning(id));
}

TEST(ManualTimerService, IdsAreNeverReusedAndUnknownIdsAreHarmless)
{
    TManualTimerService clock;
    int a = clock.StartTimer(10, nullptr);
    clock.StopTimer(a);
    int b = clock.StartTimer(10, nullptr);
    EXPECT_NE(a, b);
    clock.StopTimer(12345);
    clock.Advance(100);  // a null callback is skipped
    EXPECT_TRUE(clock.IsRunning(b));
}

TEST(ManualTimerService, TickCountWrapsAt32Bits)
{
    TManualTimerService clock(0xFFFFFF00ull);
    clock.Advance(0x200);
    EXPECT_EQ(clock.GetTickCount(), 0x100u);
    EXPECT_EQ(clock.Now(), 0x100000100ull);
}

TEST(ManualTimerService, NestedAdvanceFromACallbackKeepsTimeMonotonic)
{
    TManualTimerService clock;
    std::vector<uint64_t> seen;
    bool nested = false;
    clock.StartTimer(100, [&] {
        seen.push_back(clock.Now());
        if (!nested) {
            nested = true;
            clock.Advance(250);
        }
    });
    clock.Advance(300);
    // The nested call ran the clock to 350; the outer one finds nothing more due by 300.
    EXPECT_EQ(seen, (std::vector<uint64_t>{100, 200, 300}));
    EXPECT_EQ(clock.Now(), 350u);
}

TEST(TimerServiceRegistry, InstalledServiceIsUsedAndNullRestoresTheIdleClock)
{
    TManualTimerService clock(5000);
    SetTimerService(&clock);
    EXPECT_EQ(GetTickCount(), 5000u);
    SetTimerService(nullptr);
    EXPECT_NE(&TimerService(), &clock);
}
