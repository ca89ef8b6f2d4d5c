#include <algorithm>
#include <climits>
#include <random>
#include <utility>

#include "tests/controls/core/TimerListTest.h"

namespace {

struct Spec {
    int32_t interval;
    bool enabled;
};

// The period by the plain rule, one lowering per pass: start from the shortest enabled interval
// (all events just started), raise it to 100, then while some positive interval is not a
// multiple of it, lower it by the remainder, until none is left or it is 100 or less.
int32_t PlainPeriod(std::vector<Spec> specs)
{
    std::stable_sort(specs.begin(), specs.end(), [](const Spec& a, const Spec& b) { return a.interval < b.interval; });
    int64_t p = INT32_MAX;
    bool any = false;
    for (const Spec& s : specs)
        if (s.enabled && s.interval >= 1) {
            any = true;
            p = std::min<int64_t>(p, s.interval);
        }
    p = std::max<int64_t>(p, 100);
    if (!any) return 0;
    for (;;) {
        bool lowered = false;
        for (const Spec& s : specs)
            if (s.interval >= 1 && s.interval % p != 0) {
                p -= s.interval % p;
                lowered = true;
                break;
            }
        if (!lowered || p <= 100) break;
    }
    return static_cast<int32_t>(std::max<int64_t>(p, 100));
}

}  // namespace

class TimerListPeriod : public TimerListTest {
protected:
    // The period of an active list holding these events.
    int32_t PeriodOf(const std::vector<Spec>& specs)
    {
        TExTimerList list(nullptr);
        for (const Spec& s : specs) {
            auto* e = new TExTimerEvent(nullptr);
            e->SetInterval(s.interval);
            e->SetEnabled(s.enabled);
            list.AddItem(e);
        }
        list.SetActive(true);
        return list.Period();
    }
};

TEST_F(TimerListPeriod, DividesTheIntervalsOfTheEvents)
{
    EXPECT_EQ(PeriodOf({{1000, true}}), 1000);
    EXPECT_EQ(PeriodOf({{1000, true}, {1500, true}}), 500);
    EXPECT_EQ(PeriodOf({{1500, true}, {1000, true}}), 500);
    EXPECT_EQ(PeriodOf({{1000, true}, {3000, true}, {10000, true}}), 1000);
    EXPECT_EQ(PeriodOf({{600, true}, {900, true}}), 300);
    // 250 and 330 share no divisor of 100 or more.
    EXPECT_EQ(PeriodOf({{250, true}, {330, true}}), 100);
    // Never below 100, even for shorter intervals.
    EXPECT_EQ(PeriodOf({{10, true}, {1000, true}}), 100);
    EXPECT_EQ(PeriodOf({{40, true}}), 100);
}

TEST_F(TimerListPeriod, DisabledEventsMustBeDividedButDoNotSetTheStart)
{
    // The disabled 1500 ms event still lowers the period; the disabled 100 ms one does not
    // start it at 100.
    EXPECT_EQ(PeriodOf({{1000, true}, {1500, false}}), 500);
    EXPECT_EQ(PeriodOf({{100, false}, {2000, true}}), 100);
    EXPECT_EQ(PeriodOf({{1000, false}, {2000, false}}), 0);
    EXPECT_EQ(PeriodOf({{0, true}}), 0);
    EXPECT_EQ(PeriodOf({}), 0);
}

TEST_F(TimerListPeriod, AgreesWithThePlainRuleForManySets)
{
    std::mt19937 random(20240601);
    std::uniform_int_distribution<int> count(1, 6);
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_int_distribution<int> small(1, 150);
    std::uniform_int_distribution<int> round(1, 200);
    std::uniform_int_distribution<int> any(1, 20000);
    for (int round_ = 0; round_ < 300; ++round_) {
        std::vector<Spec> specs;
        const int n = count(random);
        for (int i = 0; i < n; ++i) {
            const int k = kind(random);
            const int32_t interval = k == 0 ? small(random) : k < 6 ? round(random) * 50 : any(random);
            specs.push_back({interval, kind(random) < 7});
        }
        const int32_t period = PeriodOf(specs);
        ASSERT_EQ(period, PlainPeriod(specs)) << "set " << round_;
        if (period > 100) {
            for (const Spec& s : specs) EXPECT_EQ(s.interval % period, 0);
        }
    }
}

TEST_F(TimerListPeriod, ShortIntervalBesideAHugeOneIsFoundAtOnce)
{
    // One lowering per pass would take some twenty million passes here.
    EXPECT_EQ(PeriodOf({{101, false}, {1999999980, true}}), 101);
    EXPECT_EQ(PeriodOf({{101, false}, {2000000000, true}}), 100);
    EXPECT_EQ(PeriodOf({{1, false}, {2147483647, true}}), 100);
    EXPECT_EQ(PeriodOf({{150, false}, {1999999950, true}}), 150);
}

TEST_F(TimerListPeriod, NegativeIntervalDoesNotRaiseThePeriodWithoutEnd)
{
    EXPECT_EQ(PeriodOf({{-30, false}, {1000, true}}), 1000);
    EXPECT_EQ(PeriodOf({{INT32_MIN, true}, {1000, true}}), 1000);
}

TEST_F(TimerListPeriod, TimeStillToWaitShortensThePeriod)
{
    TExTimerList list(nullptr);
    list.Add(Logger("a"), 1000, true);
    list.SetActive(true);
    EXPECT_EQ(list.Period(), 1000);
    clock.Advance(700);
    // a still waits 300 ms: 300 does not divide 1000, 200 does.
    list.Add(Logger("b"), 1000, true);
    EXPECT_EQ(list.Period(), 200);
    clock.Advance(2300);
    // Ticks at 900, 1100, ...: each fires at the first tick 950 ms or more after its start.
    EXPECT_EQ(Take(), (Log{"a@1100", "b@1700", "a@2100", "b@2700"}));
}

TEST_F(TimerListPeriod, FollowsIntervalChanges)
{
    TExTimerList list(nullptr);
    const int32_t h1 = list.Add(Logger("a"), 1000, true);
    list.Add(Logger("b"), 3000, true);
    list.SetActive(true);
    EXPECT_EQ(list.Period(), 1000);
    TExTimerEvent* a = list.ItemByHandle(h1);
    a->SetInterval(4500);
    EXPECT_EQ(list.Period(), 1500);
    // Kept in order of interval.
    EXPECT_EQ(list.Events(0)->Interval(), 3000);
    EXPECT_EQ(list.Events(1), a);
    a->SetAsSeconds(2);
    EXPECT_EQ(a->Interval(), 2000);
    EXPECT_EQ(a->AsSeconds(), 2);
    EXPECT_EQ(list.Period(), 1000);
    EXPECT_EQ(list.Events(0), a);
}
