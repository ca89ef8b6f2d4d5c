// Docking a form on a dock site and floating it off again: the edge it takes, the room the
// site's other controls keep, the drag that decides between docking and floating (the site
// accepting or refusing it), and the grip that runs the drag.

#include <gtest/gtest.h>

#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "platform/gui/DockDrag.h"
#include "platform/gui/DockGrip.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Queue.h"
#include "platform/gui/SyntheticInput.h"

namespace {

std::string StateNames(const std::vector<TDragState>& states)
{
    std::string s;
    for (TDragState state : states)
        s += state == dsDragEnter ? "enter;" : state == dsDragLeave ? "leave;" : "move;";
    return s;
}

// A site of 600 x 400 whose panel fills what docked forms leave, and a 200 x 100 form beside it.
class Docking : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        Site = std::make_unique<TForm>(nullptr);
        Site->SetBounds(100, 100, 600, 400);
        Site->SetDockSite(true);
        Site->SetUseDockManager(true);
        Site->OnDockOver = [this](TObject*, TDragDockObject* source, int, int, TDragState state, bool& accept) {
            States.push_back(state);
            accept = Accepting && source->Control == Client.get();
        };
        Site->OnDockDrop = [this](TObject*, TDragDockObject* source, int, int) { Dropped = source->Control; };
        Panel = new TPanel(Site.get());
        Panel->SetParent(Site.get());
        Panel->SetAlign(alClient);
        Client = std::make_unique<TForm>(nullptr);
        Client->SetBounds(800, 100, 200, 100);
        Client->SetDragKind(dkDock);
        Site->Show();
        Client->Show();
        Settle();
    }
    void TearDown() override
    {
        Client.reset();
        Site.reset();
        RunQueuedCalls();
    }
    // A screen point of the site's client area.
    TPoint OnSite(int x, int y) const { return Site->ClientToScreen(TPoint{x, y}); }

    std::unique_ptr<TForm> Site;
    TPanel* Panel = nullptr;
    std::unique_ptr<TForm> Client;
    bool Accepting = true;
    std::vector<TDragState> States;
    TWinControl* Dropped = nullptr;
};

TEST_F(Docking, ADockedFormFollowsItsSitesSize)
{
    ASSERT_TRUE(Client->ManualDock(Site.get(), alTop));
    Site->SetBounds(100, 100, 800, 300);
    EXPECT_EQ(Client->BoundsRect(), (TRect{0, 0, 800, 100}));
    EXPECT_EQ(Panel->BoundsRect(), (TRect{0, 100, 800, 300}));
    // Docked again at a side, it is as wide as it floated, not as the top made it.
    ASSERT_TRUE(Client->ManualDock(Site.get(), alRight));
    EXPECT_EQ(Site->DockClientCount(), 1);
    EXPECT_EQ(Client->BoundsRect(), (TRect{600, 0, 800, 300}));
}

TEST_F(Docking, ManualFloatGivesTheFormItsWindowAndSizeBack)
{
    ASSERT_TRUE(Client->ManualDock(Site.get(), alLeft));
    ASSERT_TRUE(Client->ManualFloat(Bounds(50, 60, 200, 100)));
    EXPECT_EQ(Client->Parent(), nullptr);
    EXPECT_EQ(Client->HostDockSite(), nullptr);
    EXPECT_EQ(Site->DockClientCount(), 0);
    EXPECT_TRUE(Client->Handle()->isWindow());
    EXPECT_TRUE(Client->Handle()->isVisible());
    EXPECT_EQ(Client->BoundsRect(), Bounds(50, 60, 200, 100));
    EXPECT_EQ(Client->Handle()->size(), QSize(200, 100));
    EXPECT_EQ(Panel->BoundsRect(), (TRect{0, 0, 600, 400}));
}

TEST_F(Docking, AFormThatLeavesItsSiteGivesTheRoomBack)
{
    ASSERT_TRUE(Client->ManualDock(Site.get(), alTop));
    Client->Hide();
    EXPECT_EQ(Panel->BoundsRect(), (TRect{0, 0, 600, 400}));
    Client->Show();
    EXPECT_EQ(Panel->BoundsRect(), (TRect{0, 100, 600, 400}));
    Client.reset();
    EXPECT_EQ(Site->DockClientCount(), 0);
    EXPECT_EQ(Panel->BoundsRect(), (TRect{0, 0, 600, 400}));
}

TEST_F(Docking, ADockedFormStaysInItsSiteWhenItsBorderChanges)
{
    ASSERT_TRUE(Client->ManualDock(Site.get(), alTop));
    Client->SetBorderIcons(biSystemMenu);
    Client->SetBorderStyle(bsToolWindow);
    EXPECT_FALSE(Client->Handle()->isWindow());
    EXPECT_EQ(Client->Handle()->parentWidget(), Site->Handle());
}

// A dialog of the docked form is centred on the form where the player sees it, not on its
// bounds read as a place on the screen.
TEST_F(Docking, ADialogOfADockedFormIsCentredOnIt)
{
    ASSERT_TRUE(Client->ManualDock(Site.get(), alRight));
    TForm dialog(Client.get());
    dialog.SetBounds(0, 0, 100, 60);
    dialog.SetPosition(poOwnerFormCenter);
    dialog.Show();
    const TPoint docked = Client->ClientToScreen(TPoint{0, 0});
    EXPECT_EQ(dialog.Left(), docked.x + (200 - 100) / 2);
    EXPECT_EQ(dialog.Top(), docked.y + (400 - 60) / 2);
}

TEST_F(Docking, NoSiteHoldsItselfOrItsOwnSite)
{
    EXPECT_FALSE(Site->ManualDock(Site.get(), alTop));
    ASSERT_TRUE(Client->ManualDock(Site.get(), alTop));
    EXPECT_FALSE(Site->ManualDock(Client.get(), alTop));
    EXPECT_FALSE(Client->ManualDock(nullptr, alTop));
    EXPECT_EQ(Client->HostDockSite(), Site.get());
}

struct TDropRow {
    const char* name;
    TPoint at;  // on the site's client area
    TAlign edge;
    TRect docked, rest;
};

class DockDrops : public Docking, public ::testing::WithParamInterface<TDropRow> {};

// The drop chooses the edge nearest the pointer, the frame shows the room the form would take,
// and the form becomes a part of the site there, as deep as it floated; the panel keeps the rest.
TEST_P(DockDrops, DockTheFormAtTheEdgeNearestThePointer)
{
    const TDropRow& row = GetParam();
    TDockDrag drag(Client.get(), Client->ClientToScreen(TPoint{20, 4}));
    drag.Move(OnSite(row.at.x, row.at.y));
    EXPECT_EQ(drag.Site(), Site.get());
    EXPECT_TRUE(drag.Accepted());
    EXPECT_STREQ(AlignName(drag.DockObject().DropAlign), AlignName(row.edge));
    TRect docked = row.docked;
    OffsetRect(docked, OnSite(0, 0).x, OnSite(0, 0).y);
    EXPECT_EQ(drag.DockObject().DockRect, docked);
    EXPECT_EQ(drag.FrameRect(), docked);
    drag.Drop(OnSite(row.at.x, row.at.y));
    EXPECT_EQ(Dropped, Client.get());
    EXPECT_EQ(StateNames(States), "enter;move;");

    EXPECT_EQ(Client->HostDockSite(), Site.get());
    EXPECT_EQ(Client->Parent(), Site.get());
    ASSERT_EQ(Site->DockClientCount(), 1);
    EXPECT_EQ(Site->DockClients(0), Client.get());
    EXPECT_FALSE(Client->Handle()->isWindow());
    EXPECT_EQ(Client->Handle()->parentWidget(), Site->Handle());
    EXPECT_STREQ(AlignName(Client->Align()), AlignName(row.edge));
    EXPECT_EQ(Client->BoundsRect(), row.docked);
    EXPECT_EQ(Panel->BoundsRect(), row.rest);
    EXPECT_EQ(Client->UndockWidth(), 200);
    EXPECT_EQ(Client->UndockHeight(), 100);
}

const TDropRow kDropRows[] = {
    {"NearTheTop", {300, 20}, alTop, {0, 0, 600, 100}, {0, 100, 600, 400}},
    {"NearTheBottom", {300, 390}, alBottom, {0, 300, 600, 400}, {0, 0, 600, 300}},
    {"NearTheLeft", {15, 200}, alLeft, {0, 0, 200, 400}, {200, 0, 600, 400}},
    {"NearTheRight", {580, 150}, alRight, {400, 0, 600, 400}, {0, 0, 400, 400}},
};

INSTANTIATE_TEST_SUITE_P(Points, DockDrops, ::testing::ValuesIn(kDropRows),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(Docking, ARefusedDropFloatsTheFormWhereItWasDropped)
{
    Accepting = false;
    const TPoint start = Client->ClientToScreen(TPoint{20, 4});
    const TPoint grabbed{start.x - Client->Left(), start.y - Client->Top()};
    TDockDrag drag(Client.get(), start);
    const TPoint drop = OnSite(15, 200);
    drag.Move(drop);
    EXPECT_EQ(drag.Site(), Site.get());
    EXPECT_FALSE(drag.Accepted());
    EXPECT_EQ(drag.FrameRect(), drag.FloatRect(drop));
    drag.Drop(drop);
    EXPECT_EQ(Client->HostDockSite(), nullptr);
    EXPECT_EQ(Site->DockClientCount(), 0);
    EXPECT_EQ(Dropped, nullptr);
    EXPECT_TRUE(Client->Handle()->isWindow());
    EXPECT_EQ(Client->BoundsRect(), drag.FloatRect(drop));
    // Held where the pointer took it.
    EXPECT_EQ(Client->BoundsRect(), Bounds(drop.x - grabbed.x, drop.y - grabbed.y, 200, 100));
}

TEST_F(Docking, DraggedOffItsSiteTheFormFloatsAtItsOwnSize)
{
    ASSERT_TRUE(Client->ManualDock(Site.get(), alTop));
    TDockDrag drag(Client.get(), Client->ClientToScreen(TPoint{300, 4}));
    drag.Move(OnSite(300, 50));
    // Over its own place it is over its site.
    EXPECT_EQ(drag.Site(), Site.get());
    const TPoint outside = OnSite(900, 200);
    drag.Move(outside);
    EXPECT_EQ(drag.Site(), nullptr);
    EXPECT_EQ(StateNames(States), "enter;leave;");
    drag.Drop(outside);
    EXPECT_EQ(Client->HostDockSite(), nullptr);
    EXPECT_TRUE(Client->Handle()->isWindow());
    EXPECT_EQ(Client->Width(), 200);
    EXPECT_EQ(Client->Height(), 100);
    // The pointer took it 300 pixels in; the floating form is 200 wide, so it holds it at its end.
    EXPECT_EQ(Client->Left(), outside.x - 199);
    EXPECT_EQ(Panel->BoundsRect(), (TRect{0, 0, 600, 400}));
}

TEST_F(Docking, AFormNotADockSiteTakesNothing)
{
    Site->SetDockSite(false);
    TDockDrag drag(Client.get(), Client->ClientToScreen(TPoint{20, 4}));
    drag.Drop(OnSite(15, 200));
    EXPECT_EQ(StateNames(States), "");
    EXPECT_EQ(Client->HostDockSite(), nullptr);
    EXPECT_EQ(Client->Parent(), nullptr);
}

// The floating form may lie over the site where it is dropped: the site under it takes it.
TEST_F(Docking, AFormDroppedOverItselfFindsTheSiteUnderIt)
{
    Client->SetBounds(Site->Left() + 10, Site->Top() + 150, 200, 100);
    Settle();
    const TPoint inside = Client->ClientToScreen(TPoint{30, 30});
    EXPECT_EQ(FindDockSite(inside, Client.get()), Site.get());
}

TEST_F(Docking, TheGripDragsItsFormOntoTheSite)
{
    auto* grip = new TDockGrip(Client.get());
    grip->SetParent(Client.get());
    grip->SetAlign(alTop);
    grip->SetClient(Client.get());
    Settle();
    // A press and a move shorter than the threshold are no drag.
    SendMouseInput(grip, maDown, mbLeft, 20, 4, TShiftState());
    SendMouseInput(grip, maMove, mbLeft, 22, 5, TShiftState{ssLeft});
    EXPECT_EQ(grip->Drag(), nullptr);
    SendMouseInput(grip, maUp, mbLeft, 22, 5, TShiftState());
    RunQueuedCalls();
    EXPECT_EQ(Client->HostDockSite(), nullptr);

    const TPoint target = grip->ScreenToClient(OnSite(15, 200));
    SendMouseInput(grip, maDown, mbLeft, 20, 4, TShiftState());
    SendMouseInput(grip, maMove, mbLeft, target.x, target.y, TShiftState{ssLeft});
    ASSERT_NE(grip->Drag(), nullptr);
    EXPECT_EQ(grip->Drag()->Site(), Site.get());
    SendMouseInput(grip, maUp, mbLeft, target.x, target.y, TShiftState());
    EXPECT_EQ(grip->Drag(), nullptr);
    // Docked once the release has been handled.
    EXPECT_EQ(Client->HostDockSite(), nullptr);
    RunQueuedCalls();
    EXPECT_EQ(Client->HostDockSite(), Site.get());
    EXPECT_STREQ(AlignName(Client->Align()), "left");
}

// A release the grip never saw: the next move without the button ends the drag, drops nothing.
TEST_F(Docking, TheGripDropsNothingWhenItsReleaseWentElsewhere)
{
    auto* grip = new TDockGrip(Client.get());
    grip->SetParent(Client.get());
    grip->SetAlign(alTop);
    grip->SetClient(Client.get());
    const TPoint target = grip->ScreenToClient(OnSite(15, 200));
    SendMouseInput(grip, maDown, mbLeft, 20, 4, TShiftState());
    SendMouseInput(grip, maMove, mbLeft, target.x, target.y, TShiftState{ssLeft});
    ASSERT_NE(grip->Drag(), nullptr);
    SendMouse(grip->Handle(), QEvent::MouseMove, QPoint(target.x + 3, target.y), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(grip->Drag(), nullptr);
    EXPECT_EQ(StateNames(States), "enter;leave;");
    RunQueuedCalls();
    EXPECT_EQ(Client->HostDockSite(), nullptr);
    EXPECT_EQ(Client->Parent(), nullptr);
    // The release comes late: still nothing.
    SendMouseInput(grip, maUp, mbLeft, target.x + 3, target.y, TShiftState());
    RunQueuedCalls();
    EXPECT_EQ(Client->Parent(), nullptr);
}

TEST_F(Docking, AFormFreedInItsDragIsNotDropped)
{
    TDockDrag drag(Client.get(), Client->ClientToScreen(TPoint{20, 4}));
    drag.Move(OnSite(15, 200));
    Client.reset();
    drag.Drop(OnSite(15, 200));
    EXPECT_EQ(drag.Control(), nullptr);
    EXPECT_EQ(Site->DockClientCount(), 0);
    EXPECT_EQ(Dropped, nullptr);
}

}  // namespace
