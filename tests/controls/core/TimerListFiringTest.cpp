#include "tests/controls/core/TimerListTest.h"

using TimerListFiring = TimerListTest;

TEST_F(TimerListFiring, EventsFireEveryIntervalLongestFirst)
{
    TExTimerList list(nullptr);
    std::vector<std::pair<TObject*, int32_t>> all;
    list.OnTimers = [&](TObject* sender, int32_t handle) { all.emplace_back(sender, handle); };
    const int32_t a = list.Add(Logger("a"), 1000, true);
    const int32_t b = list.Add(Logger("b"), 2000, true);
    const int32_t c = list.Add(Logger("c"), 1000, true);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 2);
    EXPECT_EQ(c, 3);
    list.SetActive(true);
    clock.Advance(999);
    EXPECT_TRUE(Take().empty());
    clock.Advance(3001);
    // Within a tick: the longer interval first, then among equals the later added.
    EXPECT_EQ(Take(), (Log{"c@1000", "a@1000", "b@2000", "c@2000", "a@2000", "c@3000", "a@3000", "b@4000",
                           "c@4000", "a@4000"}));
    ASSERT_EQ(all.size(), 10u);
    EXPECT_EQ(all[0], std::make_pair(static_cast<TObject*>(&list), c));
    EXPECT_EQ(all[2].second, b);
    EXPECT_EQ(list.ItemByHandle(a)->Count(), 4);
    EXPECT_EQ(list.ItemByHandle(b)->Count(), 2);
}

TEST_F(TimerListFiring, HandlerGetsItsEvent)
{
    TExTimerList list(nullptr);
    TObject* sender = nullptr;
    const int32_t h = list.Add([&](TObject* s) { sender = s; }, 500, true);
    list.SetActive(true);
    clock.Advance(500);
    EXPECT_EQ(sender, list.ItemByHandle(h));
}

TEST_F(TimerListFiring, EventFiresFiftyMillisecondsEarlyRatherThanAPeriodLate)
{
    TExTimerList list(nullptr);
    list.Add(Logger("a"), 1000, true);
    list.SetActive(true);
    clock.Advance(50);
    // The ticks now fall 50 ms after a hundred: 150, 250, ... 950, 1050.
    const int32_t b = list.Add(Logger("b"), 100, true);
    EXPECT_EQ(list.ItemByHandle(b)->StartTick(), 50u);
    EXPECT_EQ(list.Period(), 100);
    clock.Advance(949 - 50);
    EXPECT_EQ(Take().size(), 8u);  // b at 150 ... 850
    clock.Advance(1);
    EXPECT_EQ(Take(), (Log{"a@950", "b@950"}));
}

TEST_F(TimerListFiring, IntervalThatThePeriodMissesFiresUpToFiftyEarly)
{
    // 1000 and 1050 tick every 100 ms: the 1050 ms event fires at 1000 ms.
    TExTimerList list(nullptr);
    list.Add(Logger("a"), 1000, true);
    list.Add(Logger("b"), 1050, true);
    list.SetActive(true);
    EXPECT_EQ(list.Period(), 100);
    clock.Advance(2000);
    EXPECT_EQ(Take(), (Log{"b@1000", "a@1000", "b@2000", "a@2000"}));
}

TEST_F(TimerListFiring, NonCycledEventStopsAfterItsRepeats)
{
    TExTimerList list(nullptr);
    list.Add(Logger("keep"), 1000, true);
    const int32_t h = list.Add(Logger("three"), 1000, false);
    TExTimerEvent* three = list.ItemByHandle(h);
    EXPECT_EQ(three->RepeatCount(), 1);
    three->SetRepeatCount(3);
    list.SetActive(true);
    clock.Advance(5000);
    EXPECT_EQ(Take(), (Log{"three@1000", "keep@1000", "three@2000", "keep@2000", "three@3000", "keep@3000",
                           "keep@4000", "keep@5000"}));
    EXPECT_FALSE(three->Enabled());
    EXPECT_EQ(three->Count(), 3);
    EXPECT_TRUE(list.Active());
    // Enabling it again starts its count afresh.
    three->SetEnabled(true);
    EXPECT_EQ(three->Count(), 0);
    clock.Advance(4000);
    EXPECT_EQ(Take(), (Log{"three@6000", "keep@6000", "three@7000", "keep@7000", "three@8000", "keep@8000",
                           "keep@9000"}));
}

TEST_F(TimerListFiring, NonCycledEventWithoutRepeatsFiresOnce)
{
    TExTimerList list(nullptr);
    auto* e = new TExTimerEvent(nullptr);
    e->OnTimer = Logger("once");
    e->SetCycled(false);
    e->SetRepeatCount(0);
    EXPECT_EQ(e->RepeatCount(), 1);
    list.AddItem(e);
    list.SetActive(true);
    clock.Advance(3500);
    EXPECT_EQ(Take(), Log{"once@1000"});
}

TEST_F(TimerListFiring, CycledEventIgnoresItsRepeatCount)
{
    TExTimerList list(nullptr);
    const int32_t h = list.Add(Logger("c"), 1000, true);
    list.ItemByHandle(h)->SetRepeatCount(2);
    list.SetActive(true);
    clock.Advance(3000);
    EXPECT_EQ(Take().size(), 3u);
    EXPECT_TRUE(list.ItemByHandle(h)->Enabled());
}

TEST_F(TimerListFiring, RepeatCountAlreadyReachedDisablesTheEvent)
{
    TExTimerList list(nullptr);
    list.Add(Logger("keep"), 1000, true);
    const int32_t h = list.Add(Logger("e"), 1000, false);
    TExTimerEvent* e = list.ItemByHandle(h);
    e->SetRepeatCount(10);
    list.SetActive(true);
    clock.Advance(3000);
    EXPECT_EQ(e->Count(), 3);
    e->SetRepeatCount(5);
    EXPECT_TRUE(e->Enabled());
    e->SetRepeatCount(3);
    EXPECT_FALSE(e->Enabled());
    EXPECT_EQ(e->RepeatCount(), 3);
    // A cycled event never goes below 0.
    e->SetCycled(true);
    e->SetRepeatCount(-4);
    EXPECT_EQ(e->RepeatCount(), 0);
}

TEST_F(TimerListFiring, HandlesAreNeverReused)
{
    TExTimerList list(nullptr);
    const int32_t a = list.Add(Logger("a"), 1000, true);
    const int32_t b = list.Add(Logger("b"), 1000, true);
    list.Delete(b);
    EXPECT_EQ(list.ItemByHandle(b), nullptr);
    EXPECT_EQ(list.ItemIndexByHandle(b), -1);
    const int32_t c = list.Add(Logger("c"), 1000, true);
    EXPECT_EQ(c, 3);
    list.Delete(12345);  // absent: nothing
    list.Delete(-1);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.ItemIndexByHandle(a), 0);
    EXPECT_EQ(list.ItemIndexByHandle(c), 1);
    EXPECT_THROW(list.Events(2), EListError);
}

TEST_F(TimerListFiring, EventMovesBetweenLists)
{
    TExTimerList first(nullptr);
    TExTimerList second(nullptr);
    auto* e = new TExTimerEvent(nullptr);
    EXPECT_EQ(e->Handle(), -1);
    e->OnTimer = Logger("e");
    e->SetParentList(&first);
    EXPECT_EQ(e->ParentList(), &first);
    EXPECT_EQ(e->Handle(), 1);
    second.Add(Logger("x"), 5000, true);
    EXPECT_EQ(second.AddItem(e), 2);
    EXPECT_EQ(second.AddItem(e), 2);  // already there
    EXPECT_EQ(first.Count(), 0);
    EXPECT_EQ(e->ParentList(), &second);
    EXPECT_EQ(second.AddItem(nullptr), -1);
    first.SetActive(true);
    second.SetActive(true);
    clock.Advance(1000);
    EXPECT_EQ(Take(), Log{"e@1000"});
    e->SetParentList(nullptr);
    EXPECT_EQ(e->Handle(), -1);
    EXPECT_EQ(second.Count(), 1);
    delete e;
}

TEST_F(TimerListFiring, TickCountWrapsWithoutAHitch)
{
    TManualTimerService nearWrap((uint64_t{1} << 32) - 1500);
    SetTimerService(&nearWrap);
    {
        TExTimerList list(nullptr);
        int fired = 0;
        list.Add([&](TObject*) { ++fired; }, 1000, true);
        list.SetActive(true);
        nearWrap.Advance(999);
        EXPECT_EQ(fired, 0);
        nearWrap.Advance(1);
        EXPECT_EQ(fired, 1);
        // The next firing falls after the tick count has wrapped to 500.
        nearWrap.Advance(999);
        EXPECT_EQ(fired, 1);
        nearWrap.Advance(1);
        EXPECT_EQ(fired, 2);
        EXPECT_EQ(nearWrap.GetTickCount(), 500u);
    }
    SetTimerService(&clock);
}

TEST_F(TimerListFiring, RefusedTimerSwitchesTheListOff)
{
    class Refusing : public ITimerService {
    public:
        int StartTimer(uint32_t, TTimerCallback) override { return 0; }
        void StopTimer(int) override {}
        bool IsRunning(int) const override { return false; }
        uint32_t GetTickCount() const override { return 0; }
    } refusing;
    SetTimerService(&refusing);
    TExTimerList list(nullptr);
    int finished = 0;
    list.OnFinish = [&](TObject*) { ++finished; };
    list.Add(Logger("a"), 1000, true);
    try {
        list.SetActive(true);
        ADD_FAILURE() << "no exception";
    } catch (const EOutOfResources& e) {
        EXPECT_EQ(e.Message, "Not enough timers available");
    }
    EXPECT_FALSE(list.Active());
    EXPECT_EQ(finished, 1);
    SetTimerService(&clock);
}
