// The timer list on a manual clock. Handlers that change the list while it ticks run under the
// address sanitizer too, which catches any touch of a freed event or list.

#include "controls/core/TimerList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/TimerService.h"
#include "platform/core/TypInfo.h"

using Log = std::vector<std::string>;

class TimerListTest : public ::testing::Test {
protected:
    void SetUp() override { SetTimerService(&clock); }
    void TearDown() override { SetTimerService(nullptr); }

    // A handler that logs "name@ms" at every firing, then does `then`.
    TNotifyEvent Logger(std::string name, std::function<void(TObject*)> then = nullptr)
    {
        return [this, name, then](TObject* sender) {
            log.push_back(name + "@" + std::to_string(clock.Now()));
            if (then)
                then(sender);
        };
    }
    // The log so far, emptied.
    Log Take() { return std::exchange(log, {}); }
    void Watch(TExTimerList& list)
    {
        list.OnFinish = [this](TObject*) { log.push_back("finish@" + std::to_string(clock.Now())); };
    }

    // Runs steps on a fresh list and returns the log. Steps, blank-separated:
    //   a=1000 adds cycled event a of 1000 ms; a=1000! adds it firing once; a=1000{x,y} runs
    //   steps x and y from its handler; -a / +a disable / enable it; del:a deletes it; on / off /
    //   deact switch the list; >500 advances the clock; fin logs OnFinish; clear; load / loaded;
    //   design; checks: ?on ?off (Active), ?idle (no timer running), ?p200 (Period), ?n0 (Count).
    std::string Run(const std::string& steps)
    {
        TExTimerList list(nullptr);
        std::map<std::string, int32_t> handles;
        std::function<void(const std::string&)> step = [&](const std::string& s) {
            SCOPED_TRACE(s);
            const size_t eq = s.find('=');
            if (eq != std::string::npos) {
                const size_t brace = std::min(s.find('{'), s.size());
                const bool once = s[brace - 1] == '!';
                const std::string name = s.substr(0, eq);
                std::function<void(TObject*)> then;
                if (brace < s.size())
                    then = [&step, sub = s.substr(brace + 1, s.size() - brace - 2)](TObject*) {
                        std::istringstream in(sub);
                        for (std::string t; std::getline(in, t, ',');)
                            step(t);
                    };
                handles[name] = list.Add(Logger(name, then), std::stoi(s.substr(eq + 1)), !once);
            } else if (s.rfind("del:", 0) == 0) {
                list.Delete(handles.at(s.substr(4)));
            } else if (s[0] == '-' || s[0] == '+') {
                list.ItemByHandle(handles.at(s.substr(1)))->SetEnabled(s[0] == '+');
            } else if (s[0] == '>') {
                clock.Advance(std::stoul(s.substr(1)));
            } else if (s == "on" || s == "off") {
                list.SetActive(s == "on");
            } else if (s == "?on" || s == "?off") {
                EXPECT_EQ(list.Active(), s == "?on");
            } else if (s == "?idle") {
                EXPECT_EQ(clock.Count(), 0);
            } else if (s.rfind("?p", 0) == 0) {
                EXPECT_EQ(list.Period(), std::stoi(s.substr(2)));
            } else if (s.rfind("?n", 0) == 0) {
                EXPECT_EQ(list.Count(), std::stoi(s.substr(2)));
            } else if (s == "fin")
                Watch(list);
            else if (s == "deact")
                list.Deactivate();
            else if (s == "clear")
                list.Clear();
            else if (s == "load")
                list.BeginLoading();
            else if (s == "loaded")
                list.EndLoading();
            else if (s == "design")
                list.SetDesigning(true);
            else
                ADD_FAILURE() << "unknown step";
        };
        std::istringstream in(steps);
        for (std::string s; in >> s;)
            step(s);
        std::string out;
        for (const std::string& entry : Take())
            out += (out.empty() ? "" : " ") + entry;
        return out;
    }

    // Declared first: it outlives every list a test makes.
    TManualTimerService clock;
    Log log;
};

// Each case: its name, its steps, then the log they should leave.
struct TScenario {
    const char* name;
    const char* steps;
    const char* log;
};
class TimerListScenario : public TimerListTest, public ::testing::WithParamInterface<TScenario> {};

TEST_P(TimerListScenario, LeavesTheLog)
{
    EXPECT_EQ(Run(GetParam().steps), GetParam().log);
    EXPECT_EQ(clock.Count(), 0);  // the list is gone
}

const TScenario kScenarios[] = {
    {"ActivationStartsEveryIntervalAfresh", "a=1000 >5000 ?idle on >1000 off ?idle >3000", "a@6000"},
    {"LastEventDisabledSwitchesTheListOff", "fin a=1000 on >1000 -a ?off ?idle", "a@1000 finish@1000"},
    {"LastRepeatRunOutSwitchesTheListOff", "fin once=1000! on >3000 ?off", "once@1000 finish@1000"},
    {"EnablingAnEventSwitchesASelfStoppedListBackOn", "fin a=1000 on >500 -a ?off >1500 +a ?on >2000",
     "finish@500 a@3000 a@4000"},
    {"AddingAnEnabledEventSwitchesASelfStoppedListBackOn", "once=1000! on >1000 ?off b=500 ?on >500",
     "once@1000 b@1500"},
    {"ListActivatedWithEveryEventOffWaitsForOne", "fin a=1000 -a on ?off >2000 +a >2000", "finish@0 a@3000 a@4000"},
    {"ListSwitchedOffByItsOwnerStaysOff", "a=1000 on off -a +a ?off >3000", ""},
    {"OwnerSwitchingOffASelfStoppedListCancelsTheComeback", "a=1000 on -a ?off off +a ?off on >1000", "a@1000"},
    {"ClearingAnActiveListSwitchesItOff", "fin a=1000 b=2000 on clear ?n0 ?off ?idle", "finish@0"},
    // Deactivate is ignored while loading.
    {"ListBeingLoadedStartsWhenLoaded", "a=1000 load on ?idle deact ?on >500 loaded >1000", "a@1500"},
    {"DesignedListOnlyStoresItsState", "a=1000 design on ?on ?idle >2000", ""},
    // 1000 and 1050 tick every 100 ms: the 1050 ms event fires at 1000 ms.
    {"IntervalThatThePeriodMissesFiresUpToFiftyEarly", "a=1000 b=1050 on ?p100 >2000", "b@1000 a@1000 b@2000 a@2000"},
    // a still waits 300 ms: 300 does not divide 1000, 200 does. Ticks at 900, 1100, ...: each
    // fires at the first tick 950 ms or more after its start.
    {"TimeStillToWaitShortensThePeriod", "a=1000 on ?p1000 >700 b=1000 ?p200 >2300", "a@1100 b@1700 a@2100 b@2700"},
    {"HandlerDeletesOrDisablesAnEventStillToFire", "v=1000 later=1000 killer=1000{del:v} first=1000{-later} on >2000",
     "first@1000 killer@1000 first@2000 killer@2000"},
    {"HandlerClearsTheList", "fin first=1000 clear=1000{clear} on >3000 ?n0 ?off ?idle", "clear@1000 finish@1000"},
    {"HandlerSwitchingTheListOffStopsTheTick", "skipped=1000 off=1000{off} on >3000 ?n2 ?off ?idle", "off@1000"}};
INSTANTIATE_TEST_SUITE_P(Steps, TimerListScenario, ::testing::ValuesIn(kScenarios),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(TimerListTest, EventsFireEveryIntervalLongestFirst)
{
    TExTimerList list(nullptr);
    std::vector<std::pair<TObject*, int32_t>> all;
    list.OnTimers = [&](TObject* sender, int32_t handle) { all.emplace_back(sender, handle); };
    const int32_t a = list.Add(Logger("a"), 1000, true);
    const int32_t b = list.Add(Logger("b"), 2000, true);
    const int32_t c = list.Add(Logger("c"), 1000, true);
    TObject* sender = nullptr;
    const int32_t d = list.Add([&](TObject* s) { sender = s; }, 5000, true);
    list.SetActive(true);
    clock.Advance(999);
    EXPECT_TRUE(Take().empty());
    clock.Advance(3001);
    // Within a tick: the longer interval first, then among equals the later added.
    EXPECT_EQ(
        Take(),
        (Log{"c@1000", "a@1000", "b@2000", "c@2000", "a@2000", "c@3000", "a@3000", "b@4000", "c@4000", "a@4000"}));
    ASSERT_EQ(all.size(), 10u);
    EXPECT_EQ(all[0], std::make_pair(static_cast<TObject*>(&list), c));
    EXPECT_EQ(all[2].second, b);
    EXPECT_EQ(list.ItemByHandle(a)->Count(), 4);
    clock.Advance(1000);
    EXPECT_EQ(sender, list.ItemByHandle(d));  // a handler gets its event
}

TEST_F(TimerListTest, RepeatCounts)
{
    TExTimerList list(nullptr);
    list.Add(Logger("keep"), 1000, true);
    TExTimerEvent* three = list.ItemByHandle(list.Add(Logger("three"), 1000, false));
    TExTimerEvent* cycled = list.ItemByHandle(list.Add(Logger("c"), 1000, true));
    cycled->SetRepeatCount(2);  // ignored by a cycled event
    EXPECT_EQ(three->RepeatCount(), 1);
    three->SetRepeatCount(3);
    list.SetActive(true);
    clock.Advance(5000);
    EXPECT_EQ(Take(),
              (Log{"c@1000", "three@1000", "keep@1000", "c@2000", "three@2000", "keep@2000", "c@3000", "three@3000",
                   "keep@3000", "c@4000", "keep@4000", "c@5000", "keep@5000"}));
    EXPECT_FALSE(three->Enabled());
    cycled->SetEnabled(false);
    // Enabling it again starts its count afresh.
    three->SetEnabled(true);
    EXPECT_EQ(three->Count(), 0);
    clock.Advance(4000);
    EXPECT_EQ(Take(),
              (Log{"three@6000", "keep@6000", "three@7000", "keep@7000", "three@8000", "keep@8000", "keep@9000"}));
}

TEST_F(TimerListTest, NonCycledEventWithoutRepeatsFiresOnce)
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

TEST_F(TimerListTest, RepeatCountAlreadyReachedDisablesTheEvent)
{
    TExTimerList list(nullptr);
    list.Add(Logger("keep"), 1000, true);
    TExTimerEvent* e = list.ItemByHandle(list.Add(Logger("e"), 1000, false));
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

TEST_F(TimerListTest, HandlesAreNeverReused)
{
    TExTimerList list(nullptr);
    list.Add(Logger("a"), 1000, true);
    const int32_t b = list.Add(Logger("b"), 1000, true);
    list.Delete(b);
    EXPECT_EQ(list.ItemByHandle(b), nullptr);
    const int32_t c = list.Add(Logger("c"), 1000, true);
    EXPECT_EQ(c, 3);
    list.Delete(12345);  // absent: nothing
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.ItemIndexByHandle(c), 1);
    EXPECT_THROW(list.Events(2), EListError);
}

TEST_F(TimerListTest, EventMovesBetweenLists)
{
    TExTimerList first(nullptr);
    TExTimerList second(nullptr);
    auto* e = new TExTimerEvent(nullptr);
    EXPECT_EQ(e->Handle(), -1);
    e->OnTimer = Logger("e");
    e->SetParentList(&first);
    EXPECT_EQ(e->Handle(), 1);
    second.Add(Logger("x"), 5000, true);
    EXPECT_EQ(second.AddItem(e), 2);
    EXPECT_EQ(second.AddItem(e), 2);  // already there
    EXPECT_EQ(first.Count(), 0);
    EXPECT_EQ(second.AddItem(nullptr), -1);
    first.SetActive(true);
    second.SetActive(true);
    clock.Advance(1000);
    EXPECT_EQ(Take(), Log{"e@1000"});
    e->SetParentList(nullptr);
    EXPECT_EQ(e->Handle(), -1);
    delete e;
}

TEST_F(TimerListTest, TickCountWrapsWithoutAHitch)
{
    TManualTimerService nearWrap((uint64_t{1} << 32) - 1500);
    SetTimerService(&nearWrap);
    {
        TExTimerList list(nullptr);
        int fired = 0;
        list.Add([&](TObject*) { ++fired; }, 1000, true);
        list.SetActive(true);
        // The second firing falls after the tick count has wrapped to 500.
        for (const auto& [ms, want] : {std::pair{999, 0}, {1, 1}, {999, 1}, {1, 2}}) {
            nearWrap.Advance(ms);
            EXPECT_EQ(fired, want);
        }
        EXPECT_EQ(nearWrap.GetTickCount(), 500u);
    }
    SetTimerService(&clock);
}

TEST_F(TimerListTest, RefusedTimerSwitchesTheListOff)
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

TEST_F(TimerListTest, HandlerDeletesItsOwnEventByHandle)
{
    // The others of the same tick still fire; the list still reports the gone event.
    TExTimerList list(nullptr);
    int32_t self = 0;
    std::vector<int32_t> reported;
    list.OnTimers = [&](TObject*, int32_t handle) { reported.push_back(handle); };
    list.Add(Logger("before"), 1000, true);
    self = list.Add(Logger("self", [&](TObject*) { list.Delete(self); }), 1000, true);
    list.Add(Logger("after"), 1000, true);
    list.SetActive(true);
    clock.Advance(2000);
    EXPECT_EQ(Take(), (Log{"after@1000", "self@1000", "before@1000", "after@2000", "before@2000"}));
    EXPECT_EQ(reported, (std::vector<int32_t>{3, self, 1, 3, 1}));
    EXPECT_EQ(list.Count(), 2);
}

TEST_F(TimerListTest, HandlerFreesItsOwnEvent)
{
    TComponent owner(nullptr);
    TExTimerList list(&owner);
    list.Add(Logger("other"), 1000, true);
    int freed = 0;
    const int32_t h = list.Add(Logger("self",
                                      [&](TObject* sender) {
                                          delete sender;
                                          ++freed;  // the handler itself lives on until it returns
                                      }),
                               1000, true);
    EXPECT_EQ(owner.ComponentCount(), 3);  // the list and its two events
    list.SetActive(true);
    clock.Advance(2000);
    EXPECT_EQ(Take(), (Log{"self@1000", "other@1000", "other@2000"}));
    EXPECT_EQ(freed, 1);
    EXPECT_EQ(list.ItemByHandle(h), nullptr);
    EXPECT_EQ(owner.ComponentCount(), 2);
}

TEST_F(TimerListTest, HandlerFreesTheListOrItsOwner)
{
    auto* owner = new TComponent(nullptr);
    auto* list = new TExTimerList(owner);
    bool finished = false;
    list->OnFinish = [&](TObject*) { finished = true; };
    list->Add(Logger("first"), 1000, true);
    list->Add(Logger("close",
                     [&](TObject*) {
                         delete owner;
                         owner = nullptr;
                     }),
              1000, true);
    list->SetActive(true);
    clock.Advance(3000);
    EXPECT_EQ(Take(), Log{"close@1000"});
    EXPECT_EQ(owner, nullptr);
    EXPECT_FALSE(finished);
    EXPECT_EQ(clock.Count(), 0);

    list = new TExTimerList(nullptr);
    list->Add(Logger("first"), 1000, true);
    list->Add(Logger("free", [&](TObject*) { delete list; }), 2000, true);
    list->SetActive(true);
    clock.Advance(3000);
    EXPECT_EQ(Take(), (Log{"first@4000", "free@5000"}));
    EXPECT_EQ(clock.Count(), 0);
}

TEST_F(TimerListTest, FinishHandlerFreesTheList)
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

TEST_F(TimerListTest, EventEnabledOrAddedDuringATickWaitsItsInterval)
{
    TExTimerList list(nullptr);
    TExTimerEvent* sleeper = list.ItemByHandle(list.Add(Logger("sleeper"), 1000, true));
    sleeper->SetEnabled(false);
    bool woken = false;
    list.Add(Logger("waker", [&](TObject*) { woken = woken || (sleeper->SetEnabled(true), true); }), 1000, true);
    list.SetActive(true);
    clock.Advance(2000);
    // Walked last to first, the sleeper comes after the waker in the same tick, yet it waits
    // its full interval.
    EXPECT_EQ(Take(), (Log{"waker@1000", "waker@2000", "sleeper@2000"}));
    list.SetActive(false);

    TExTimerList adding(nullptr);
    bool added = false;
    adding.Add(Logger("adder", [&](TObject*) { added = added || (adding.Add(Logger("new"), 1000, true), true); }), 2000,
               true);
    adding.SetActive(true);
    clock.Advance(4000);
    EXPECT_EQ(Take(), (Log{"adder@4000", "new@5000", "adder@6000", "new@6000"}));
}

TEST_F(TimerListTest, OneShotRestartedByItsHandlerKeepsRunning)
{
    TExTimerList list(nullptr);
    int runs = 0;
    list.Add(Logger("shot",
                    [&](TObject* sender) {
                        auto* e = static_cast<TExTimerEvent*>(sender);
                        EXPECT_FALSE(e->Enabled());  // its last run comes after it stopped
                        if (++runs < 3)
                            e->SetEnabled(true);
                    }),
             1000, false);
    list.SetActive(true);
    clock.Advance(5000);
    EXPECT_EQ(Take(), (Log{"shot@1000", "shot@2000", "shot@3000"}));
    EXPECT_FALSE(list.Active());
}

// Once a list exists, an event is made by its class name and set up through its published
// properties, as a stored form makes one.
TEST_F(TimerListTest, RegressionTheEventClassWasNotInTheClassTable)
{
    TComponent owner(nullptr);
    TExTimerList list(&owner);
    const TClassInfo* info = FindClass("TExTimerEvent");
    ASSERT_TRUE(info->Create);
    auto* event = dynamic_cast<TExTimerEvent*>(info->Create(&owner));
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(ClassInfoOf(event), info);
    EXPECT_TRUE(info->InheritsFrom("TComponent"));
    std::string defaults;
    for (const TPropInfo* p : GetPropList(event))
        if (p->Name != "Name")
            defaults += p->Name + "=" + GetPropText(event, *p) + (IsDefaultPropValue(event, *p) ? " " : "! ");
    EXPECT_EQ(defaults, "Cycled=True Enabled=True Interval=1000 RepeatCount=0 ");
    SetPropText(event, *GetPropInfo(event, "Interval"), "300");
    SetPropText(event, *GetPropInfo(event, "Cycled"), "False");
    EXPECT_EQ(event->RepeatCount(), 1);
    event->OnTimer = Logger("made");
    event->SetParentList(&list);
    list.SetActive(true);
    clock.Advance(1000);
    EXPECT_EQ(Take(), (Log{"made@300"}));
}

TEST_F(TimerListTest, FreeingTheOwnerOrTheListFreesEverything)
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

    TComponent form(nullptr);
    list = new TExTimerList(&form);
    list->Add(Logger("a"), 1000, true);
    list->Add(Logger("b"), 1000, true);
    list->SetActive(true);
    EXPECT_EQ(form.ComponentCount(), 3);
    delete list;
    EXPECT_EQ(form.ComponentCount(), 0);
    EXPECT_EQ(clock.Count(), 0);
}

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
    if (!any)
        return 0;
    for (;;) {
        bool lowered = false;
        for (const Spec& s : specs)
            if (s.interval >= 1 && s.interval % p != 0) {
                p -= s.interval % p;
                lowered = true;
                break;
            }
        if (!lowered || p <= 100)
            break;
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
            for (const Spec& s : specs)
                EXPECT_EQ(s.interval % period, 0);
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
    EXPECT_EQ(list.Period(), 1000);
    EXPECT_EQ(list.Events(0), a);
}
