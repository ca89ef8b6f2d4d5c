// The button bar docked on its character window: the window takes its own bar only, the bar
// takes the edge of the terminal's room it is dropped on and the terminal the rest (at least
// half, however large the bar was made), it follows the window's size with its buttons wrapping,
// its buttons and the editor's refresh work as on the floating bar, a push button comes up again
// after its double click's dialog, and dragged off or closed it gives the terminal its room back.

#include <gtest/gtest.h>

#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "WindowManager.h"
#include "WindowTestSupport.h"
#include "app/core/ButtonBar.h"
#include "app/forms/AnsiTerminal.h"
#include "app/forms/ButtonEditUnit.h"
#include "app/forms/ButtonUnit.h"
#include "controls/lib/ExSpeedButton.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/DockGrip.h"
#include "platform/gui/EditWidgets.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Queue.h"
#include "platform/gui/SyntheticInput.h"
#include "script/Records.h"
#include "terminal/control/Terminal.h"

namespace {

// A character window with its bar, and a second window with an entry of its own.
class TBarWindows : public TConnectedWindowTest {
protected:
    void TearDown() override
    {
        SetModalFormHook(nullptr);
        if (Second && Screen->HasForm(Second))
            delete Second;
        TConnectedWindowTest::TearDown();
        RunQueuedCalls();
    }

    TButtonForm* Bar = nullptr;
    std::shared_ptr<TCharBooks> SecondEntry = std::make_shared<TCharBooks>();
    TAnsiTerminalForm* Second = nullptr;
};

// The first window connected with its bar open; the second opened beside it when asked for.
class DockedBar : public TBarWindows {
protected:
    void SetUp() override
    {
        TestApplication();
        TConnectedWindowTest::SetUp();
        Open();
        Window->SetBounds(0, 0, Window->Width(), Window->Height());
        Window->ActionViewButtonExecute();
        PumpEvents();
        Bar = Window->ButtonForm();
        ASSERT_NE(Bar, nullptr);
    }
    cButton* AddButton(const AnsiString& name, const AnsiString& on, const AnsiString& off = "")
    {
        auto b = std::make_unique<cButton>();
        b->Name = name, b->OnBuff = on, b->OffBuff = off;
        cButton* record = Window->Script().ButtonList.Add(std::move(b));
        Window->RefreshButtonBar();
        return record;
    }
    TAnsiTerminalForm* OpenSecond()
    {
        SecondEntry->Host = "other";
        SecondEntry->Port = 4001;
        Second = new TAnsiTerminalForm(nullptr, SecondEntry);
        Second->Show();
        Second->SetBounds(Window->Width() + 40, 0, Second->Width(), Second->Height());
        PumpEvents();
        return Second;
    }
    // The bar dragged by its grip, as the player's mouse drags it, and dropped at a screen point.
    void DragBarTo(TPoint screen)
    {
        TDockGrip* grip = Bar->ButtonGrip();
        const TPoint to = grip->ScreenToClient(screen);
        SendMouseInput(grip, maDown, mbLeft, 20, 4, TShiftState());
        SendMouseInput(grip, maMove, mbLeft, 40, 4, TShiftState{ssLeft});
        SendMouseInput(grip, maMove, mbLeft, to.x, to.y, TShiftState{ssLeft});
        SendMouseInput(grip, maUp, mbLeft, to.x, to.y, TShiftState());
        RunQueuedCalls();
        PumpEvents();
    }
    // A screen point of the window's terminal as it is now.
    TPoint OnTerminal(TAnsiTerminalForm* window, int x, int y)
    {
        return window->Terminal()->ClientToScreen(TPoint{x, y});
    }
    TRect TerminalRoom(TAnsiTerminalForm* window)
    {
        TRect room = window->Terminal()->BoundsRect();
        if (Bar && Bar->HostDockSite() == window)
            UnionRect(room, room, Bar->BoundsRect());
        return room;
    }
    // Each button where the bar's rules put it on the panel as wide as it is now.
    void ExpectButtonsWrapped(size_t count, const std::string& trace)
    {
        const int panel = Bar->ButtonPanel()->Width();
        const std::vector<TMyButton*>& buttons = Bar->Buttons();
        ASSERT_EQ(buttons.size(), count) << trace;
        for (size_t i = 0; i < buttons.size(); ++i) {
            const TBarButtonPlace place = BarButtonPlace(static_cast<int>(i), panel, *buttons[i]->Record());
            EXPECT_EQ(buttons[i]->Left(), place.Left) << trace << " " << i;
            EXPECT_EQ(buttons[i]->Top(), place.Top) << trace << " " << i;
        }
    }
};

enum TDragged { dgOwnBar, dgOtherWindowsBar, dgOtherWindow, dgNothing };

struct TAcceptRow {
    const char* name;
    TDragged dragged;
    bool accepted;
};

class DockedBarAccepts : public DockedBar, public ::testing::WithParamInterface<TAcceptRow> {};

TEST_P(DockedBarAccepts, OnlyTheWindowsOwnBar)
{
    OpenSecond();
    Second->ActionViewButtonExecute();
    PumpEvents();
    TDragDockObject source;
    switch (GetParam().dragged) {
    case dgOwnBar: source.Control = Bar; break;
    case dgOtherWindowsBar: source.Control = Second->ButtonForm(); break;
    case dgOtherWindow: source.Control = Second; break;
    case dgNothing: break;
    }
    bool accept = true;
    Window->FormDockOver(&source, 10, 10, dsDragMove, accept);
    EXPECT_EQ(accept, GetParam().accepted);
}

const TAcceptRow kAcceptRows[] = {
    {"ItsOwnBar", dgOwnBar, true},
    {"AnotherWindowsBar", dgOtherWindowsBar, false},
    {"AnotherWindow", dgOtherWindow, false},
    {"NoControl", dgNothing, false},
};

INSTANTIATE_TEST_SUITE_P(Controls, DockedBarAccepts, ::testing::ValuesIn(kAcceptRows),
                         [](const auto& param) { return std::string(param.param.name); });

struct TEdgeRow {
    const char* name;
    double x, y;  // the drop point in shares of the terminal's width and height
    TAlign edge;
};

class DockedBarEdges : public DockedBar, public ::testing::WithParamInterface<TEdgeRow> {};

TEST_P(DockedBarEdges, TakesTheTerminalsRoomAtTheEdgeItIsDroppedOn)
{
    const TEdgeRow& row = GetParam();
    TTerminal* terminal = Window->Terminal();
    const TRect room = terminal->BoundsRect();
    const int columns = terminal->Columns(), rows = terminal->Rows();
    const TRect statusBar = Window->StatusBar()->BoundsRect();
    DragBarTo(OnTerminal(Window, static_cast<int>(room.Width() * row.x), static_cast<int>(room.Height() * row.y)));

    ASSERT_EQ(Bar->HostDockSite(), Window);
    EXPECT_EQ(Bar->Parent(), Window);
    EXPECT_FALSE(Bar->Handle()->isWindow());
    EXPECT_STREQ(AlignName(Bar->Align()), AlignName(row.edge));
    // The bar and the terminal share the terminal's room and nothing of it.
    TRect common;
    EXPECT_FALSE(IntersectRect(common, Bar->BoundsRect(), terminal->BoundsRect()));
    EXPECT_EQ(TerminalRoom(Window), room);
    const bool across = row.edge == alTop || row.edge == alBottom;
    EXPECT_EQ(across ? Bar->Height() : Bar->Width(), across ? Bar->UndockHeight() : Bar->UndockWidth());
    EXPECT_TRUE(across ? terminal->Rows() < rows : terminal->Columns() < columns);
    // What lies under the terminal stays where it was.
    EXPECT_EQ(Window->StatusBar()->BoundsRect(), statusBar);
}

const TEdgeRow kEdgeRows[] = {
    {"Top", 0.5, 0.05, alTop},
    {"Bottom", 0.5, 0.95, alBottom},
    {"Left", 0.03, 0.5, alLeft},
    {"Right", 0.97, 0.5, alRight},
};

INSTANTIATE_TEST_SUITE_P(Edges, DockedBarEdges, ::testing::ValuesIn(kEdgeRows),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(DockedBar, ResizesWithTheWindowAndItsButtonsWrap)
{
    for (int i = 0; i < 12; ++i)
        AddButton("b" + std::to_string(i), "say " + std::to_string(i));
    DragBarTo(OnTerminal(Window, 300, 5));
    ASSERT_STREQ(AlignName(Bar->Align()), "top");
    for (const int width : {661, 400, 900}) {
        Window->SetClientWidth(width);
        PumpEvents();
        EXPECT_EQ(Bar->Width(), Window->Terminal()->Width()) << width;
        ExpectButtonsWrapped(12, std::to_string(width));
    }
}

// A bar made larger than its window while it floated (1270 x 1000 beside an 80-column window)
// takes no more than half of the terminal's room along the edge it is dropped on: the terminal
// keeps about half its columns (or rows), and the buttons wrap to the room the bar has.
class DockedLargeBar : public DockedBar, public ::testing::WithParamInterface<TEdgeRow> {};

TEST_P(DockedLargeBar, RegressionDockedOverTheWholeTerminal)
{
    const TEdgeRow& row = GetParam();
    for (int i = 0; i < 12; ++i)
        AddButton("b" + std::to_string(i), "say " + std::to_string(i));
    Bar->SetBounds(Bar->Left(), Bar->Top(), 1270, 1000);
    PumpEvents();
    TTerminal* terminal = Window->Terminal();
    const TRect room = terminal->BoundsRect();
    const int columns = terminal->Columns(), rows = terminal->Rows();
    DragBarTo(OnTerminal(Window, static_cast<int>(room.Width() * row.x), static_cast<int>(room.Height() * row.y)));

    ASSERT_EQ(Bar->HostDockSite(), Window);
    EXPECT_STREQ(AlignName(Bar->Align()), AlignName(row.edge));
    EXPECT_EQ(TerminalRoom(Window), room);
    const bool across = row.edge == alTop || row.edge == alBottom;
    EXPECT_EQ(across ? Bar->Height() : Bar->Width(), (across ? room.Height() : room.Width()) / 2);
    // Half the columns less the scroll bar's room; half the rows less one for rounding.
    EXPECT_GE(terminal->Columns(), across ? columns : columns / 2 - 2);
    EXPECT_GE(terminal->Rows(), across ? rows / 2 - 1 : rows);
    ExpectButtonsWrapped(12, "docked");
}

INSTANTIATE_TEST_SUITE_P(Edges, DockedLargeBar, ::testing::ValuesIn(kEdgeRows),
                         [](const auto& param) { return std::string(param.param.name); });

struct TDoubleClickRow {
    const char* name;
    bool docked;
    bool save;  // the dialog saved, else cancelled
};

class PushButtonDoubleClick : public DockedBar, public ::testing::WithParamInterface<TDoubleClickRow> {};

// A double click on a push button opens its dialog, which takes the mouse and with it the
// release of the second press: the button comes up as the dialog opens and stays up however the
// dialog ends, and the release, should it be handed on after the dialog, runs nothing.
TEST_P(PushButtonDoubleClick, RegressionStayedDownAfterItsDialog)
{
    const TDoubleClickRow& row = GetParam();
    cButton* record = AddButton("push", "say p");
    if (row.docked) {
        DragBarTo(OnTerminal(Window, 5, 100));
        ASSERT_EQ(Bar->HostDockSite(), Window);
    }
    TMyButton* button = record->Control;
    ASSERT_NE(button, nullptr);
    int shown = 0;
    TExButtonState whileOpen = rbsDown;
    SetModalFormHook([&shown, &whileOpen, &row, button](TCustomForm& form) {
        auto* dialog = dynamic_cast<TButtonEditForm*>(&form);
        ASSERT_NE(dialog, nullptr);
        ++shown;
        whileOpen = button->State();
        if (row.save) {
            dialog->NameEdit()->SetText("renamed");
            dialog->ExSpeedButton1Click();
        } else {
            dialog->ExSpeedButton2Click();
        }
    });
    const int x = button->Left() + 5, y = button->Top() + 5;
    Log.clear();
    for (TMouseAction action : {maDown, maUp, maDouble, maUp})
        SendMouseInput(Bar->ButtonPanel(), action, mbLeft, x, y, TShiftState());
    PumpEvents();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(whileOpen, rbsUp);
    ASSERT_EQ(record->Control, button);
    EXPECT_EQ(button->State(), rbsUp);
    EXPECT_FALSE(button->Down());
    EXPECT_EQ(button->Caption(), row.save ? "renamed" : "push");
    EXPECT_EQ(Log, (std::vector<std::string>{"sent say p", "sent \r\n"}));
}

const TDoubleClickRow kDoubleClickRows[] = {
    {"FloatingSaved", false, true},
    {"FloatingCancelled", false, false},
    {"DockedSaved", true, true},
    {"DockedCancelled", true, false},
};

INSTANTIATE_TEST_SUITE_P(Dialogs, PushButtonDoubleClick, ::testing::ValuesIn(kDoubleClickRows),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(DockedBar, ItsButtonsRunTheirCommands)
{
    AddButton("push", "say push");
    AddButton("lamp", "light", "dark");
    DragBarTo(OnTerminal(Window, 5, 100));
    ASSERT_EQ(Bar->HostDockSite(), Window);
    Log.clear();
    for (size_t i : {0u, 1u, 1u}) {
        const TMyButton* button = Bar->Buttons()[i];
        SendMouseInput(Bar->ButtonPanel(), maDown, mbLeft, button->Left() + 5, button->Top() + 5, TShiftState());
        SendMouseInput(Bar->ButtonPanel(), maUp, mbLeft, button->Left() + 5, button->Top() + 5, TShiftState());
        PumpEvents();
    }
    const std::vector<std::string> expected = {"sent say push", "sent \r\n", "sent light",
                                               "sent \r\n",     "sent dark", "sent \r\n"};
    EXPECT_EQ(Log, expected);
}

// The script editor refreshes the bar after every change to the list; docked, the bar follows.
TEST_F(DockedBar, FollowsTheButtonListAsTheEditorChangesIt)
{
    AddButton("a", "1");
    DragBarTo(OnTerminal(Window, 5, 100));
    ASSERT_EQ(Bar->HostDockSite(), Window);
    cButton* added = AddButton("b", "2");
    ASSERT_EQ(Bar->Buttons().size(), 2u);
    EXPECT_EQ(added->Control, Bar->Buttons()[1]);
    EXPECT_EQ(added->Control->Parent(), Bar->ButtonPanel());
    EXPECT_TRUE(added->Control->Visible());
    Window->DropBarButton(*added);
    Window->Script().ButtonList.Remove(added);
    Window->RefreshButtonBar();
    EXPECT_EQ(Bar->Buttons().size(), 1u);
}

TEST_F(DockedBar, DraggedOffTheWindowItFloatsAgain)
{
    DragBarTo(OnTerminal(Window, 5, 100));
    ASSERT_EQ(Bar->HostDockSite(), Window);
    const TRect room = TerminalRoom(Window);
    DragBarTo(TPoint{Window->Left() + Window->Width() + 300, 200});
    EXPECT_EQ(Bar->HostDockSite(), nullptr);
    EXPECT_EQ(Bar->Parent(), nullptr);
    EXPECT_EQ(Window->DockClientCount(), 0);
    EXPECT_TRUE(Bar->Handle()->isWindow());
    EXPECT_TRUE(Bar->Handle()->isVisible());
    EXPECT_EQ(Bar->ClientWidth(), 258);
    EXPECT_EQ(Bar->ClientHeight(), 98 + kDockGripSize);
    EXPECT_EQ(Window->Terminal()->BoundsRect(), room);
}

TEST_F(DockedBar, AnotherWindowRefusesIt)
{
    OpenSecond();
    const TRect room = Second->Terminal()->BoundsRect();
    const TPoint drop = OnTerminal(Second, 5, 100);
    DragBarTo(drop);
    EXPECT_EQ(Bar->HostDockSite(), nullptr);
    EXPECT_EQ(Second->DockClientCount(), 0);
    EXPECT_FALSE(Second->ContainsControl(Bar));
    EXPECT_EQ(Second->Terminal()->BoundsRect(), room);
    // It floats where it was dropped.
    EXPECT_TRUE(Bar->Handle()->isWindow());
    EXPECT_TRUE(PtInRect(Bar->BoundsRect(), drop));
}

TEST_F(DockedBar, ClosedWhileDockedItGivesTheRoomBack)
{
    const TRect room = Window->Terminal()->BoundsRect();
    AddButton("a", "1");
    cButton* record = Window->Script().ButtonList[0];
    DragBarTo(OnTerminal(Window, 5, 100));
    ASSERT_EQ(Bar->HostDockSite(), Window);
    Bar->CloseButtonClick();
    PumpEvents();
    RunQueuedCalls();
    EXPECT_EQ(Window->ButtonForm(), nullptr);
    EXPECT_EQ(record->Control, nullptr);
    EXPECT_EQ(Window->DockClientCount(), 0);
    EXPECT_EQ(Window->Terminal()->BoundsRect(), room);
    // Opened again, it floats beside the window.
    Window->ActionViewButtonExecute();
    PumpEvents();
    ASSERT_NE(Window->ButtonForm(), nullptr);
    EXPECT_EQ(Window->ButtonForm()->HostDockSite(), nullptr);
    EXPECT_TRUE(Window->ButtonForm()->Handle()->isWindow());
}

TEST_F(DockedBar, ClosingTheWindowFreesItsDockedBar)
{
    DragBarTo(OnTerminal(Window, 5, 100));
    ASSERT_EQ(Bar->HostDockSite(), Window);
    TAliveToken bar = Bar->AliveToken();
    Window->Close();
    PumpEvents();
    RunQueuedCalls();
    EXPECT_FALSE(*bar);
    EXPECT_FALSE(Screen->HasForm(Window));
}

// As a player does it, on an X server with a window manager: the mouse (xdotool) drags the
// floating bar by its grip onto its window, where it docks at the left edge; drags it off
// again, where it floats as a framed window of its own; and drags it onto a second character
// window, which refuses it, so it floats there. Each step waits on what the last one caused.
class ButtonBarDockRealX : public TBarWindows {
protected:
    // The frame the window manager drew round a window, read from the X server: Qt may keep the
    // frame margins of a window that was a child before (none) after the window manager framed
    // it. Empty while the window manager has not taken the window.
    static std::optional<QRect> FrameOf(QWidget* w)
    {
        const QByteArray out = RunServed("xprop", {"-id", QString::number(w->winId()), "_NET_FRAME_EXTENTS"});
        int left, right, top, bottom;
        const int equals = out.indexOf('=');
        if (equals < 0 ||
            std::sscanf(out.constData() + equals + 1, " %d , %d , %d , %d", &left, &right, &top, &bottom) != 4)
            return std::nullopt;
        return w->geometry().adjusted(-left, -top, right, bottom);
    }
    // A small window at a place of its own, framed by the window manager.
    TAnsiTerminalForm* OpenAt(const std::shared_ptr<TCharBooks>& entry, int left, int top)
    {
        auto* window = new TAnsiTerminalForm(nullptr, entry);
        window->SetClientWidth(400);
        window->SetClientHeight(300);
        window->SetBounds(left, top, window->Width(), window->Height());
        window->Show();
        QWidget* w = window->Handle();
        EXPECT_TRUE(WaitUntil([w] { return Exposed(w) && w->frameGeometry() != w->geometry(); }, "a window framed"));
        return window;
    }
    static QString Number(int value) { return QString::number(value); }
    // Presses the bar's grip, moves past the drag threshold, then to a screen point; the drag
    // reaches it with the pointer there, the button still held.
    void PressGripAndMoveTo(TPoint target)
    {
        TDockGrip* grip = Bar->ButtonGrip();
        bool pressed = false;
        grip->OnMouseDown = [&pressed](TObject*, TMouseButton, TShiftState, int, int) { pressed = true; };
        const TPoint at = grip->ClientToScreen(TPoint{grip->Width() / 2, kDockGripSize / 2});
        RunServed("xdotool", {"mousemove", Number(at.x), Number(at.y), "mousedown", "1"});
        const ::testing::AssertionResult pressedInTime = WaitUntil([&] { return pressed; }, "the grip pressed");
        grip->OnMouseDown = nullptr;
        ASSERT_TRUE(pressedInTime);
        RunServed("xdotool", {"mousemove", Number(at.x + 15), Number(at.y + 15)});
        ASSERT_TRUE(WaitUntil([grip] { return grip->Drag() != nullptr; }, "the drag started"));
        RunServed("xdotool", {"mousemove", Number(target.x), Number(target.y)});
        ASSERT_TRUE(WaitUntil([grip, target] { return grip->Drag() && grip->Drag()->Point() == target; },
                              "the drag at the drop point"));
    }
    void Release() { RunServed("xdotool", {"mouseup", "1"}); }
};

TEST_F(ButtonBarDockRealX, DocksUndocksAndIsRefusedByAnotherWindow)
{
    REQUIRE_REAL_X("xdotool", "openbox", "xprop");
    TWindowManager manager;
    ASSERT_TRUE(manager.Start());
    Window = OpenAt(Entry, 0, 0);
    Clock.Advance(2000);
    ASSERT_TRUE(WaitUntil([&] { return Window->Connected(); }, "the window connected"));
    auto hi = std::make_unique<cButton>();
    hi->Name = "hi", hi->OnBuff = "say hi";
    Window->Script().ButtonList.Add(std::move(hi));
    SecondEntry->Host = "other";
    Second = OpenAt(SecondEntry, 0, 400);
    Window->ActionViewButtonExecute();
    Bar = Window->ButtonForm();
    ASSERT_NE(Bar, nullptr);
    QWidget* floating = Bar->Handle();
    ASSERT_TRUE(WaitUntil([floating] { return Exposed(floating) && floating->frameGeometry() != floating->geometry(); },
                          "the bar framed beside its window"));
    TTerminal* terminal = Window->Terminal();
    const TRect room = terminal->BoundsRect();
    const int columns = terminal->Columns();

    // Onto its own window, near the terminal's left edge.
    ASSERT_NO_FATAL_FAILURE(PressGripAndMoveTo(terminal->ClientToScreen(TPoint{8, room.Height() / 2})));
    TDockDrag* drag = Bar->ButtonGrip()->Drag();
    ASSERT_NE(drag, nullptr);
    EXPECT_EQ(drag->Site(), Window);
    EXPECT_TRUE(drag->Accepted());
    Release();
    ASSERT_TRUE(WaitUntil([&] { return Bar->HostDockSite() == Window; }, "the bar docked"));
    EXPECT_STREQ(AlignName(Bar->Align()), "left");
    EXPECT_EQ(Bar->Handle()->parentWidget(), Window->Handle());
    EXPECT_TRUE(Bar->Showing());
    // Wider than half the small window's terminal, the bar takes that half and the terminal keeps
    // the other with its columns.
    const int half = room.Width() / 2;
    ASSERT_LT(half, Bar->UndockWidth());
    EXPECT_EQ(Bar->BoundsRect(), (TRect{room.Left, room.Top, room.Left + half, room.Bottom}));
    EXPECT_EQ(terminal->BoundsRect(), (TRect{room.Left + half, room.Top, room.Right, room.Bottom}));
    EXPECT_GE(terminal->Columns(), columns / 2 - 2);
    // Its button, clicked where it now lies, runs its command.
    ASSERT_EQ(Bar->Buttons().size(), 1u);
    const TMyButton* button = Bar->Buttons()[0];
    const TPoint click = Bar->ButtonPanel()->ClientToScreen(TPoint{button->Left() + 10, button->Top() + 10});
    Log.clear();
    RunServed("xdotool", {"mousemove", Number(click.x), Number(click.y), "click", "1"});
    ASSERT_TRUE(WaitUntil([&] { return Log.size() == 2; }, "the button's command sent"));
    EXPECT_EQ(Log, (std::vector<std::string>{"sent say hi", "sent \r\n"}));

    // Off the windows, onto the empty desktop.
    const TPoint desktop{800, 250};
    ASSERT_NO_FATAL_FAILURE(PressGripAndMoveTo(desktop));
    ASSERT_NE(Bar->ButtonGrip()->Drag(), nullptr);
    EXPECT_EQ(Bar->ButtonGrip()->Drag()->Site(), nullptr);
    Release();
    ASSERT_TRUE(WaitUntil(
        [&] {
            QWidget* w = Bar->Handle();
            return !Bar->HostDockSite() && w->isWindow() && Exposed(w) && FrameOf(w);
        },
        "the bar floating in a frame of its own"));
    EXPECT_EQ(terminal->BoundsRect(), room);
    EXPECT_EQ(Window->DockClientCount(), 0);
    EXPECT_EQ(Bar->ClientWidth(), 258);

    // Onto the second window, which refuses it: it floats where it was dropped.
    TTerminal* other = Second->Terminal();
    const TRect otherRoom = other->BoundsRect();
    const TPoint refused = other->ClientToScreen(TPoint{8, otherRoom.Height() / 2});
    ASSERT_NO_FATAL_FAILURE(PressGripAndMoveTo(refused));
    ASSERT_NE(Bar->ButtonGrip()->Drag(), nullptr);
    EXPECT_EQ(Bar->ButtonGrip()->Drag()->Site(), Second);
    EXPECT_FALSE(Bar->ButtonGrip()->Drag()->Accepted());
    Release();
    ASSERT_TRUE(WaitUntil(
        [&] {
            QWidget* w = Bar->Handle();
            if (Bar->ButtonGrip()->Drag() || !w->isWindow() || !Exposed(w))
                return false;
            const std::optional<QRect> frame = FrameOf(w);
            return frame && frame->contains(QPoint(refused.x, refused.y));
        },
        "the bar floating over the second window"));
    EXPECT_EQ(Bar->HostDockSite(), nullptr);
    EXPECT_EQ(Second->DockClientCount(), 0);
    EXPECT_FALSE(Second->ContainsControl(Bar));
    EXPECT_EQ(other->BoundsRect(), otherRoom);
    RunServed("xdotool", {"mousemove", "1000", "700"});
}

}  // namespace
