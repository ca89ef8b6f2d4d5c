// Handlers that change the list while it ticks. Run under the address sanitizer, these catch
// any touch of a freed event or list.

#include "tests/controls/core/TimerListTest.h"

using TimerListReentry = TimerListTest;

TEST_F(TimerListReentry, HandlerDeletesItsOwnEventByHandle)
{
    TExTimerList list(nullptr);
    int32_t self = 0;
    std::vector<int32_t> reported;
    list.OnTimers = [&](TObject*, int32_t handle) { reported.push_back(handle); };
    list.Add(Logger("before"), 1000, true);
    self = list.Add(
        [&](TObject* sender) {
            Logger("self")(sender);
            list.Delete(self);
        },
        1000, true);
    list.Add(Logger("after"), 1000, true);
    list.SetActive(true);
    clock.Advance(2000);
    // The others of the same tick still fire; the list still reports the gone event.
    EXPECT_EQ(Take(), (Log{"after@1000", "self@1000", "before@1000", "after@2000", "before@2000"}));
    EXPECT_EQ(reported, (std::vector<int32_t>{3, self, 1, 3, 1}));
    EXPECT_EQ(list.Count(), 2);
}

TEST_F(TimerListReentry, HandlerFreesItsOwnEvent)
{
    TComponent owner(nullptr);
    TExTimerList list(&owner);
    list.Add(Logger("other"), 1000, true);
    int freed = 0;
    const int32_t h = list.Add(
        [&](TObject* sender) {
            Logger("self")(sender);
            delete sender;
            ++freed;  // the handler itself lives on until it returns
        },
        1000, true);
    EXPECT_EQ(owner.ComponentCount(), 3);  // the list and its two events
    list.SetActive(true);
    clock.Advance(2000);
    EXPECT_EQ(Take(), (Log{"self@1000", "other@1000", "other@2000"}));
    EXPECT_EQ(freed, 1);
    EXPECT_EQ(list.ItemByHandle(h), nullptr);
    EXPECT_EQ(owner.ComponentCount(), 2);
}

TEST_F(TimerListReentry, HandlerDeletesAnEventStillToFire)
{
    TExTimerList list(nullptr);
    int32_t victim = list.Add(Logger("victim"), 1000, true);
    list.Add(
        [&](TObject* sender) {
            Logger("killer")(sender);
            list.Delete(victim);
        },
        1000, true);
    list.SetActive(true);
    clock.Advance(2000);
    EXPECT_EQ(Take(), (Log{"killer@1000", "killer@2000"}));
}

TEST_F(TimerListReentry, HandlerClearsTheList)
{
    TExTimerList list(nullptr);
    int finished = 0;
    list.OnFinish = [&](TObject*) { ++finished; };
    list.Add(Logger("first"), 1000, true);
    list.Add(
        [&](TObject* sender) {
            Logger("clear")(sender);
            list.Clear();
        },
        1000, true);
    list.SetActive(true);
    clock.Advance(3000);
    EXPECT_EQ(Take(), Log{"clear@1000"});
    EXPECT_EQ(list.Count(), 0);
    EXPECT_FALSE(list.Active());
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(clock.Count(), 0);
}

TEST_F(TimerListReentry, HandlerFreesTheListsOwner)
{
    auto* owner = new TComponent(nullptr);
    auto* list = new TExTimerList(owner);
    bool finished = false;
    list->OnFinish = [&](TObject*) { finished = true; };
    list->Add(Logger("first"), 1000, true);
    list->Add(
        [&](TObject* sender) {
            Logger("close")(sender);
            delete owner;
            owner = nullptr;
        },
        1000, true);
    list->SetActive(true);
    clock.Advance(3000);
    EXPECT_EQ(Take(), Log{"close@1000"});
    EXPECT_EQ(owner, nullptr);
    EXPECT_FALSE(finished);
    EXPECT_EQ(clock.Count(), 0);
}

TEST_F(TimerListReentry, HandlerFreesTheList)
{
    auto* list = new TExTimerList(nullptr);
    list->Add(Logger("first"), 1000, true);
    list->Add(
        [&](TObject* sender) {
            Logger("free")(sender);
            delete list;
        },
        2000, true);
    list->SetActive(true);
    clock.Advance(3000);
    EXPECT_EQ(Take(), (Log{"first@1000", "free@2000"}));
    EXPECT_EQ(clock.Count(), 0);
}

TEST_F(TimerListReentry, FinishHandlerFreesTheList)
{
    auto* list = new TExTimerList(nullptr);
    list->OnFinish = [&](TObject*) {
        log.push_back("finish");
        delete list;
    };
    list->Add(Logger("once"), 1000, false);
    list->SetActive(true);
    clock.Advance(3000);
    EXPECT_EQ(Take(), (Log{"once@1000", "finish"}));
    EXPECT_EQ(clock.Count(), 0);
}

TEST_F(TimerListReentry, HandlerDisablesAnEventStillToFire)
{
    TExTimerList list(nullptr);
    const int32_t later = list.Add(Logger("later"), 1000, true);
    list.Add(
        [&](TObject* sender) {
            Logger("first")(sender);
            list.ItemByHandle(later)->SetEnabled(false);
        },
        1000, true);
    list.SetActive(true);
    clock.Advance(2000);
    EXPECT_EQ(Take(), (Log{"first@1000", "first@2000"}));
}

TEST_F(TimerListReentry, EventEnabledDuringATickStartsItsIntervalThen)
{
    TExTimerList list(nullptr);
    const int32_t sleeper = list.Add(Logger("sleeper"), 1000, true);
    list.ItemByHandle(sleeper)->SetEnabled(false);
    bool woken = false;
    list.Add(
        [&](TObject* sender) {
            Logger("waker")(sender);
            if (!woken) list.ItemByHandle(sleeper)->SetEnabled(true);
            woken = true;
        },
        1000, true);
    list.SetActive(true);
    clock.Advance(2000);
    // Walked last to first, the sleeper comes after the waker in the same tick, yet it waits
    // its full interval.
    EXPECT_EQ(Take(), (Log{"waker@1000", "waker@2000", "sleeper@2000"}));
}

TEST_F(TimerListReentry, EventAddedDuringATickWaitsItsInterval)
{
    TExTimerList list(nullptr);
    bool added = false;
    list.Add(
        [&](TObject* sender) {
            Logger("adder")(sender);
            if (!added) list.Add(Logger("new"), 1000, true);
            added = true;
        },
        2000, true);
    list.SetActive(true);
    clock.Advance(4000);
    EXPECT_EQ(Take(), (Log{"adder@2000", "new@3000", "adder@4000", "new@4000"}));
}

TEST_F(TimerListReentry, HandlerSwitchingTheListOffStopsTheTick)
{
    TExTimerList list(nullptr);
    list.Add(Logger("skipped"), 1000, true);
    list.Add(
        [&](TObject* sender) {
            Logger("off")(sender);
            list.SetActive(false);
        },
        1000, true);
    list.SetActive(true);
    clock.Advance(3000);
    EXPECT_EQ(Take(), Log{"off@1000"});
    EXPECT_EQ(clock.Count(), 0);
}

TEST_F(TimerListReentry, OneShotRestartedByItsHandlerKeepsRunning)
{
    TExTimerList list(nullptr);
    int runs = 0;
    list.Add(
        [&](TObject* sender) {
            Logger("shot")(sender);
            auto* e = static_cast<TExTimerEvent*>(sender);
            EXPECT_FALSE(e->Enabled());  // its last run comes after it stopped
            if (++runs < 3) e->SetEnabled(true);
        },
        1000, false);
    list.SetActive(true);
    clock.Advance(5000);
    EXPECT_EQ(Take(), (Log{"shot@1000", "shot@2000", "shot@3000"}));
    EXPECT_FALSE(list.Active());
}

TEST_F(TimerListReentry, FreeingTheOwnerFreesListAndEventsTogether)
{
    auto* owner = new TComponent(nullptr);
    auto* early = new TExTimerEvent(owner);  // made before the list
    auto* list = new TExTimerList(owner);
    early->SetParentList(list);
    list->Add(Logger("late"), 1000, true);
    bool finished = false;
    list->OnFinish = [&](TObject*) { finished = true; };
    list->SetActive(true);
    delete owner;
    EXPECT_FALSE(finished);
    EXPECT_EQ(clock.Count(), 0);
    clock.Advance(2000);
    EXPECT_TRUE(Take().empty());
}

TEST_F(TimerListReentry, FreeingTheListFreesItsEvents)
{
    TComponent owner(nullptr);
    auto* list = new TExTimerList(&owner);
    list->Add(Logger("a"), 1000, true);
    list->Add(Logger("b"), 1000, true);
    list->SetActive(true);
    EXPECT_EQ(owner.ComponentCount(), 3);
    delete list;
    EXPECT_EQ(owner.ComponentCount(), 0);
    EXPECT_EQ(clock.Count(), 0);
}
