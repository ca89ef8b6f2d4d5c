#include "tests/controls/core/TimerListTest.h"

class TimerListSwitch : public TimerListTest {
protected:
    void Watch(TExTimerList& list)
    {
        list.OnFinish = [this](TObject*) { log.push_back("finish@" + std::to_string(clock.Now())); };
    }
};

TEST_F(TimerListSwitch, ActivationStartsEveryIntervalAfresh)
{
    TExTimerList list(nullptr);
    list.Add(Logger("a"), 1000, true);
    clock.Advance(5000);  // inactive: nothing runs
    EXPECT_TRUE(Take().empty());
    EXPECT_EQ(clock.Count(), 0);
    list.SetActive(true);
    clock.Advance(1000);
    EXPECT_EQ(Take(), Log{"a@6000"});
    list.SetActive(false);
    EXPECT_EQ(clock.Count(), 0);
    clock.Advance(3000);
    EXPECT_TRUE(Take().empty());
}

TEST_F(TimerListSwitch, LastEventDisabledSwitchesTheListOff)
{
    TExTimerList list(nullptr);
    Watch(list);
    const int32_t h = list.Add(Logger("a"), 1000, true);
    list.SetActive(true);
    clock.Advance(1000);
    list.ItemByHandle(h)->SetEnabled(false);
    EXPECT_FALSE(list.Active());
    EXPECT_EQ(clock.Count(), 0);
    EXPECT_EQ(Take(), (Log{"a@1000", "finish@1000"}));
}

TEST_F(TimerListSwitch, LastRepeatRunOutSwitchesTheListOff)
{
    TExTimerList list(nullptr);
    Watch(list);
    list.Add(Logger("once"), 1000, false);
    list.SetActive(true);
    clock.Advance(3000);
    EXPECT_FALSE(list.Active());
    EXPECT_EQ(Take(), (Log{"once@1000", "finish@1000"}));
}

TEST_F(TimerListSwitch, EnablingAnEventSwitchesASelfStoppedListBackOn)
{
    TExTimerList list(nullptr);
    Watch(list);
    const int32_t h = list.Add(Logger("a"), 1000, true);
    TExTimerEvent* a = list.ItemByHandle(h);
    list.SetActive(true);
    clock.Advance(500);
    a->SetEnabled(false);
    EXPECT_FALSE(list.Active());
    clock.Advance(1500);
    a->SetEnabled(true);
    EXPECT_TRUE(list.Active());
    clock.Advance(2000);
    EXPECT_EQ(Take(), (Log{"finish@500", "a@3000", "a@4000"}));
}

TEST_F(TimerListSwitch, ListActivatedWithEveryEventOffWaitsForOne)
{
    // A user timer's event starts disabled in a list its owner switches on.
    TExTimerList list(nullptr);
    Watch(list);
    auto* e = new TExTimerEvent(nullptr);
    e->SetEnabled(false);
    e->SetAsSeconds(1);
    e->OnTimer = Logger("user");
    list.AddItem(e);
    list.SetActive(true);
    EXPECT_FALSE(list.Active());
    clock.Advance(2000);
    e->SetEnabled(true);
    clock.Advance(2000);
    EXPECT_EQ(Take(), (Log{"finish@0", "user@3000", "user@4000"}));
}

TEST_F(TimerListSwitch, AddingAnEnabledEventSwitchesASelfStoppedListBackOn)
{
    TExTimerList list(nullptr);
    list.Add(Logger("once"), 1000, false);
    list.SetActive(true);
    clock.Advance(1000);
    EXPECT_FALSE(list.Active());
    list.Add(Logger("b"), 500, true);
    EXPECT_TRUE(list.Active());
    clock.Advance(500);
    EXPECT_EQ(Take(), (Log{"once@1000", "b@1500"}));
}

TEST_F(TimerListSwitch, ListSwitchedOffByItsOwnerStaysOff)
{
    TExTimerList list(nullptr);
    const int32_t h = list.Add(Logger("a"), 1000, true);
    TExTimerEvent* a = list.ItemByHandle(h);
    list.SetActive(true);
    list.SetActive(false);
    a->SetEnabled(false);
    a->SetEnabled(true);
    EXPECT_FALSE(list.Active());
    clock.Advance(3000);
    EXPECT_TRUE(Take().empty());
}

TEST_F(TimerListSwitch, OwnerSwitchingOffASelfStoppedListCancelsTheComeback)
{
    TExTimerList list(nullptr);
    const int32_t h = list.Add(Logger("a"), 1000, true);
    TExTimerEvent* a = list.ItemByHandle(h);
    list.SetActive(true);
    a->SetEnabled(false);
    EXPECT_FALSE(list.Active());
    list.SetActive(false);
    a->SetEnabled(true);
    EXPECT_FALSE(list.Active());
    // Switched on again, it runs.
    list.SetActive(true);
    clock.Advance(1000);
    EXPECT_EQ(Take(), Log{"a@1000"});
}

TEST_F(TimerListSwitch, ClearingAnActiveListSwitchesItOff)
{
    TExTimerList list(nullptr);
    Watch(list);
    list.Add(Logger("a"), 1000, true);
    list.Add(Logger("b"), 2000, true);
    list.SetActive(true);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_FALSE(list.Active());
    EXPECT_EQ(clock.Count(), 0);
    EXPECT_EQ(Take(), Log{"finish@0"});
}

TEST_F(TimerListSwitch, ListBeingLoadedStartsWhenLoaded)
{
    TExTimerList list(nullptr);
    list.Add(Logger("a"), 1000, true);
    list.BeginLoading();
    list.SetActive(true);
    EXPECT_EQ(clock.Count(), 0);
    list.Deactivate();  // ignored while loading
    EXPECT_TRUE(list.Active());
    clock.Advance(500);
    list.EndLoading();
    clock.Advance(1000);
    EXPECT_EQ(Take(), Log{"a@1500"});
}

TEST_F(TimerListSwitch, DesignedListOnlyStoresItsState)
{
    TExTimerList list(nullptr);
    list.Add(Logger("a"), 1000, true);
    list.SetDesigning(true);
    list.SetActive(true);
    EXPECT_TRUE(list.Active());
    EXPECT_EQ(clock.Count(), 0);
    clock.Advance(2000);
    EXPECT_TRUE(Take().empty());
}
