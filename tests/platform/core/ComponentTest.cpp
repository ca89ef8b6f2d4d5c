#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/Component.h"

using Log = std::vector<std::string>;

namespace {

// Records its destruction and every notification it receives into a shared log. Like any class
// whose Notification must hear of its own components going, it frees them in its destructor.
class TProbe : public TComponent {
public:
    TProbe(TComponent* owner, std::string tag, std::vector<std::string>* log)
        : TComponent(owner), tag_(std::move(tag)), log_(log)
    {
        SetName(tag_);
    }
    ~TProbe() override
    {
        if (destroyingSeen)
            *destroyingSeen = InState(csDestroying);
        DestroyComponents();
        log_->push_back("free " + tag_);
    }
    TComponent* watched = nullptr;
    bool* destroyingSeen = nullptr;
    int loadedCalls = 0;

protected:
    void Notification(TComponent* c, TOperation op) override
    {
        // By name: a component being destroyed is no longer a TProbe.
        log_->push_back(tag_ + (op == opInsert ? " +" : " -") + c->Name());
        if (op == opRemove && c == watched)
            watched = nullptr;
        TComponent::Notification(c, op);
    }
    void Loaded() override
    {
        ++loadedCalls;
        TComponent::Loaded();
    }

private:
    std::string tag_;
    std::vector<std::string>* log_;
};

}  // namespace

TEST(ComponentOwnership, OwnerFreesOwnedComponentsLastCreatedFirst)
{
    std::vector<std::string> log;
    auto* owner = new TProbe(nullptr, "O", &log);
    auto* a = new TProbe(owner, "A", &log);
    new TProbe(owner, "B", &log);
    new TProbe(a, "A1", &log);
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_THROW(owner->Components(2), EListError);
    log.clear();
    delete owner;
    // B goes first (the owner hears of it and passes the news on), then A after its own A1.
    EXPECT_EQ(log, (Log{"O -B", "A -B", "A1 -B", "free B", "O -A", "A -A1", "free A1", "free A", "free O"}));
}

TEST(ComponentOwnership, OwnedComponentDeletedAloneLeavesItsOwner)
{
    std::vector<std::string> log;
    TProbe owner(nullptr, "O", &log);
    auto* a = new TProbe(&owner, "A", &log);
    auto* b = new TProbe(&owner, "B", &log);
    delete a;
    ASSERT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(owner.Components(0), b);
}

TEST(ComponentOwnership, InsertComponentMovesOwnershipAndTellsBothOwners)
{
    std::vector<std::string> log;
    TProbe first(nullptr, "F", &log);
    TProbe second(nullptr, "S", &log);
    log.clear();
    auto* c = new TProbe(&first, "C", &log);
    log.clear();
    second.InsertComponent(c);
    EXPECT_EQ(c->Owner(), &second);
    EXPECT_EQ(log, (Log{"F -C", "S +C"}));
}

TEST(ComponentOwnership, DestroyingStateIsSetOnOwnedComponentsBeforeTheyAreFreed)
{
    std::vector<std::string> log;
    auto* owner = new TProbe(nullptr, "O", &log);
    auto* a = new TProbe(owner, "A", &log);
    bool seen = false;
    a->destroyingSeen = &seen;
    delete owner;
    EXPECT_TRUE(seen);
}

TEST(ComponentNotification, FreeNotificationTellsTheWatcherOnceAndDropsTheLink)
{
    std::vector<std::string> log;
    TProbe w(nullptr, "W", &log);
    auto* menu = new TProbe(nullptr, "M", &log);
    w.watched = menu;
    menu->FreeNotification(&w);
    log.clear();
    delete menu;
    EXPECT_EQ(w.watched, nullptr);
    EXPECT_EQ(log, (Log{"free M", "W -M"}));
}

TEST(ComponentNotification, LinkIsDroppedWhenTheWatcherGoesFirst)
{
    std::vector<std::string> log;
    {
        auto* w = new TProbe(nullptr, "W", &log);
        TProbe menu(nullptr, "M", &log);
        menu.FreeNotification(w);
        delete w;
        EXPECT_EQ(log, (Log{"free W", "M -W"}));  // the menu heard of it
        log.clear();
    }
    // The menu went without telling the freed watcher anything.
    EXPECT_EQ(log, (Log{"free M"}));
}

TEST(ComponentNotification, OwnerPassesRemovalToEveryOwnedComponent)
{
    std::vector<std::string> log;
    TProbe form(nullptr, "F", &log);
    auto* button = new TProbe(&form, "B", &log);
    auto* menu = new TProbe(&form, "M", &log);
    button->watched = menu;  // no FreeNotification: the owner's broadcast is enough
    delete menu;
    EXPECT_EQ(button->watched, nullptr);
}

TEST(ComponentNotification, RemovedLinkIsNotNotified)
{
    std::vector<std::string> log;
    TProbe w(nullptr, "W", &log);
    auto* m = new TProbe(nullptr, "M", &log);
    m->FreeNotification(&w);
    m->RemoveFreeNotification(&w);
    log.clear();
    delete m;
    EXPECT_EQ(log, (Log{"free M"}));
}

TEST(ComponentNames, NamesAreIdentifiersUniqueWithinTheOwner)
{
    std::vector<std::string> log;
    TProbe owner(nullptr, "O", &log);
    auto* a = new TProbe(&owner, "A", &log);
    auto* b = new TProbe(&owner, "B", &log);
    a->SetName("Timer1");
    EXPECT_THROW(b->SetName("Timer1"), EComponentError);
    EXPECT_EQ(owner.FindComponent("TIMER1"), a);
    EXPECT_THROW(b->SetName("1abc"), EComponentError);
    EXPECT_THROW(b->SetName("a b"), EComponentError);
    b->SetName("_x2");
    EXPECT_EQ(b->Name(), "_x2");
    b->SetName("");
    TProbe other(nullptr, "X", &log);
    auto* c = new TProbe(&other, "C", &log);
    c->SetName("Timer1");
    EXPECT_THROW(owner.InsertComponent(c), EComponentError);
    EXPECT_EQ(c->Owner(), &other);
}

TEST(ComponentState, LoadingEndsWithLoadedOnEveryComponent)
{
    std::vector<std::string> log;
    TProbe form(nullptr, "F", &log);
    auto* a = new TProbe(&form, "A", &log);
    form.BeginLoading();
    EXPECT_TRUE(a->InState(csLoading));
    form.EndLoading();
    EXPECT_EQ(form.loadedCalls, 1);
    EXPECT_EQ(a->loadedCalls, 1);
    form.EndLoading();  // not loading any more: no second Loaded
    EXPECT_EQ(a->loadedCalls, 1);

    form.SetDesigning(true);
    auto* late = new TProbe(&form, "L", &log);
    EXPECT_TRUE(late->InState(csDesigning));
}

namespace {
class TNamespacedProbe : public TComponent {
public:
    using TComponent::TComponent;
};
}  // namespace

TEST(Component, ClassNameLeavesTheNamespaceOut)
{
    TNamespacedProbe probe(nullptr);
    EXPECT_EQ(probe.ClassName(), "TNamespacedProbe");
}

namespace {
TComponent* gFirstTop = nullptr;
TComponent* gSecondTop = nullptr;
TComponent* FindFirst(std::string_view name) { return SameText(name, "Shared") ? gFirstTop : nullptr; }
TComponent* FindSecond(std::string_view name)
{
    return SameText(name, "Shared") || SameText(name, "Second") ? gSecondTop : nullptr;
}
}  // namespace

// Each finder is asked in the order it came; the first answer wins, and a finder taken away is
// asked no more.
TEST(Component, GlobalLookUpAsksTheFindersInTurn)
{
    TComponent first(nullptr), second(nullptr);
    gFirstTop = &first;
    gSecondTop = &second;
    EXPECT_EQ(FindGlobalComponent("Shared"), nullptr);
    RegisterFindGlobalComponentProc(FindFirst);
    RegisterFindGlobalComponentProc(FindSecond);
    EXPECT_EQ(FindGlobalComponent("shared"), &first);
    EXPECT_EQ(FindGlobalComponent("Second"), &second);
    EXPECT_EQ(FindGlobalComponent("Nobody"), nullptr);
    UnRegisterFindGlobalComponentProc(FindFirst);
    EXPECT_EQ(FindGlobalComponent("Shared"), &second);
    UnRegisterFindGlobalComponentProc(FindSecond);
    EXPECT_EQ(FindGlobalComponent("Shared"), nullptr);
}
