// The list box's automatic drag through the window's own input: which presses drag at once,
// which wait for the pointer and which only select; what a drag carries; a drop on another list
// (its OnDragOver and OnDragDrop, the source's OnEndDrag); and the click a cancelled drag leaves.
// The drag itself is scripted in the list (DoDragDrop): the offscreen platform runs no drags.

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <memory>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "controls/lib/ExListBox.h"

namespace {

// A list whose drags are played by the test: what the list looked like when the drag started,
// and optionally a drop on a target list at a point.
class TScriptedList : public TExCustomListBox {
public:
    using TExCustomListBox::TExCustomListBox;

    struct TStart {
        std::string Text;
        std::vector<int> Selected;
    };
    std::vector<TStart> Starts;
    TExCustomListBox* DropOn = nullptr;
    TPoint DropAt;
    bool PointerLeaves = false;  // the drag ends with the pointer off the list

    std::vector<int> SelectedItems()
    {
        std::vector<int> selected;
        for (int i = 0; i < Items()->Count(); ++i)
            if (Selected(i))
                selected.push_back(i);
        return selected;
    }

protected:
    int DoDragDrop(const AnsiString& Text, int& Effect) override
    {
        Starts.push_back({Text, SelectedItems()});
        Effect = DROPEFFECT_NONE;
        if (PointerLeaves)
            SetCursorPos(ClientToScreen(TPoint{Width() + 20, 10}));
        if (!DropOn)
            return DRAGDROP_S_CANCEL;
        TDragData data;
        data.HasText = true;
        data.Text = Text;
        TDropTarget* target = DropOn->DragTarget();
        target->DragEnter(data, DropAt);
        if (target->DragOver(TShiftState(), DropAt) == DROPEFFECT_NONE) {
            target->DragLeave();
            return DRAGDROP_S_CANCEL;
        }
        Effect = target->Drop(data, TShiftState(), DropAt);
        return DRAGDROP_S_DROP;
    }
};

QWidget* Viewport(TWinControl* list) { return static_cast<QAbstractScrollArea*>(list->Handle())->viewport(); }

class ListDragTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 400, 200);
        source = Place<TScriptedList>(*form, 0, 0, 150, 150);
        target = Place<TScriptedList>(*form, 200, 0, 150, 150);
        for (const char* s : {"one", "two", "three", "four"}) {
            source->Items()->Add(s);
            target->Items()->Add(s);
        }
        form->Show();
        source->SetDragMode(dmAutomatic);
        source->OnStartDrag = [this](TObject*) { log += "start;"; };
        source->OnClick = [this](TObject*) { log += "click;"; };
        source->OnEndDrag = [this](TObject*, TObject* to, int x, int y) {
            log += std::string("end ") +
                (to == target ? "target"
                     : to     ? "other"
                              : "none") +
                " " + std::to_string(x) + "," + std::to_string(y) + ";";
        };
    }
    TPoint On(TExCustomListBox* list, int item) const
    {
        const TRect r = list->ItemRect(item);
        return TPoint{r.Left + 10, (r.Top + r.Bottom) / 2};
    }
    static Qt::KeyboardModifiers Keys(TShiftState shift)
    {
        Qt::KeyboardModifiers keys;
        if (shift.Contains(ssShift))
            keys |= Qt::ShiftModifier;
        if (shift.Contains(ssCtrl))
            keys |= Qt::ControlModifier;
        return keys;
    }
    // The pointer rests on the point too, as it does when the user presses.
    void Press(TPoint p, TShiftState shift = TShiftState())
    {
        SetCursorPos(source->ClientToScreen(p));
        SendMouse(Viewport(source), QEvent::MouseButtonPress, QPoint(p.x, p.y), Qt::LeftButton, Qt::LeftButton,
                  Keys(shift));
    }
    void Move(TPoint p, TShiftState shift = TShiftState())
    {
        SendMouse(Viewport(source), QEvent::MouseMove, QPoint(p.x, p.y), Qt::NoButton, Qt::LeftButton, Keys(shift));
    }
    void Release(TPoint p)
    {
        SendMouse(Viewport(source), QEvent::MouseButtonRelease, QPoint(p.x, p.y), Qt::LeftButton, Qt::NoButton);
    }
    void Select(std::vector<int> items)
    {
        for (int i = 0; i < source->Items()->Count(); ++i)
            source->SetSelected(i, false);
        for (int i : items)
            source->SetSelected(i, true);
    }

    std::unique_ptr<TForm> form;
    TScriptedList* source = nullptr;
    TScriptedList* target = nullptr;
    std::string log;
};

// A press and then a move of the pointer by Dx, in a list with these settings.
struct TPressCase {
    const char* name;
    bool automatic;
    bool multiSelect;
    std::vector<int> selectedBefore;
    int pressed;
    TShiftState shift;
    int dx;
    bool dragsAtPress;
    bool dragsAfterMove;
    std::vector<int> selectedAtDrag;  // when it drags
};

class ListDragPressCase : public ListDragTest, public ::testing::WithParamInterface<TPressCase> {};

TEST_P(ListDragPressCase, StartsTheDragWhenAndAsItShould)
{
    const TPressCase& c = GetParam();
    source->SetDragMode(c.automatic ? dmAutomatic : dmManual);
    source->SetMultiSelect(c.multiSelect);
    Select(c.selectedBefore);
    const TPoint p = On(source, c.pressed);
    Press(p, c.shift);
    EXPECT_EQ(source->Starts.size(), c.dragsAtPress ? 1U : 0U) << "at the press";
    Move(TPoint{p.x + c.dx, p.y}, c.shift);
    EXPECT_EQ(source->Starts.size(), c.dragsAtPress || c.dragsAfterMove ? 1U : 0U) << "after the move";
    Release(TPoint{p.x + c.dx, p.y});
    if (!source->Starts.empty()) {
        EXPECT_EQ(source->Starts[0].Selected, c.selectedAtDrag);
    }
}

const TShiftState kNone, kShift{ssShift}, kCtrl{ssCtrl}, kBoth{ssShift, ssCtrl};

const TPressCase kPressCases[] = {
    {"SinglePressSelectsThenTheMoveDrags", true, false, {0}, 2, kNone, 5, false, true, {2}},
    {"AMoveBelowFivePixelsDoesNotDrag", true, false, {0}, 2, kNone, 4, false, false, {}},
    {"ManualModeNeverDrags", false, true, {1, 2}, 2, kNone, 20, false, false, {}},
    {"PressOnASelectedItemDragsAtOnceKeepingTheSelection", true, true, {1, 2}, 2, kNone, 0, true, false, {1, 2}},
    {"CtrlPressOnASelectedItemDragsAtOnce", true, true, {1, 2}, 1, kCtrl, 0, true, false, {1, 2}},
    {"ShiftCtrlPressOnASelectedItemDragsAtOnce", true, true, {1, 3}, 3, kBoth, 0, true, false, {1, 3}},
    {"ShiftPressOnASelectedItemOnlySelects", true, true, {1, 2}, 2, kShift, 20, false, false, {}},
    {"CtrlPressOnAnotherItemOnlySelects", true, true, {1}, 3, kCtrl, 20, false, false, {}},
    {"PressOnAnotherItemSelectsItThenTheMoveDrags", true, true, {1, 2}, 3, kNone, 6, false, true, {3}},
};

INSTANTIATE_TEST_SUITE_P(Presses, ListDragPressCase, ::testing::ValuesIn(kPressCases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(ListDragTest, TheDragCarriesTheSelectedItemsAsLines)
{
    source->SetMultiSelect(true);
    Select({0, 2, 3});
    Press(On(source, 3));
    ASSERT_EQ(source->Starts.size(), 1U);
    EXPECT_EQ(source->Starts[0].Text, "one\r\nthree\r\nfour");
}

TEST_F(ListDragTest, ACancelledDragClicksWhereThePointerIs)
{
    source->SetMultiSelect(true);
    Select({1, 2});
    const TPoint p = On(source, 2);
    Press(p);
    // The press took by the drag selects, as a click there does, before the drag's end is told.
    EXPECT_EQ(source->SelectedItems(), std::vector<int>{2});
    EXPECT_EQ(log, "start;click;end none 0,0;");
    Release(p);
    EXPECT_EQ(source->Starts.size(), 1U) << "the click after the drag starts no other";
}

TEST_F(ListDragTest, RegressionCancelledDragOffTheListClearedTheSelection)
{
    source->SetMultiSelect(true);
    Select({1, 2});
    source->PointerLeaves = true;
    Press(On(source, 2));
    EXPECT_EQ(source->SelectedItems(), (std::vector<int>{1, 2}));
    EXPECT_EQ(log, "start;end none 0,0;");
}

TEST_F(ListDragTest, ADropOnAnotherListReachesItsEventsAndEndsTheDragThere)
{
    source->DropOn = target;
    source->DropAt = On(target, 1);
    target->OnDragOver = [this](TObject* sender, TObject* from, int x, int y, TDragState state, bool& accept) {
        log += std::string("over ") +
            (state == dsDragEnter      ? "enter"
                 : state == dsDragMove ? "move"
                                       : "leave") +
            (sender == target && from == source ? " from source;" : " from ?;");
    };
    target->OnDragDrop = [this](TObject*, TObject* from, int x, int y) {
        // What a list usually does with it: the dragged item goes in where it was dropped.
        auto* list = static_cast<TExCustomListBox*>(from);
        target->Items()->Insert(target->ItemAtPos(TPoint{x, y}, false), list->Items()->Strings(list->ItemIndex()));
        log += "drop;";
    };
    const TPoint p = On(source, 3);
    Press(p);
    Move(TPoint{p.x, p.y + 8});
    Release(TPoint{p.x, p.y + 8});
    const TPoint at = source->DropAt;
    EXPECT_EQ(log,
              "click;start;over enter from source;drop;end target " + std::to_string(at.x) + "," +
                  std::to_string(at.y) + ";");
    EXPECT_EQ(target->Items()->Strings(1), "four");
    EXPECT_EQ(target->Items()->Count(), 5);
}

TEST_F(ListDragTest, ATargetRefusingTheDragTakesNoDrop)
{
    source->DropOn = target;
    source->DropAt = On(target, 0);
    int drops = 0;
    target->OnDragOver = [this](TObject*, TObject*, int, int, TDragState state, bool& accept) {
        log += state == dsDragLeave ? "leave;" : "refuse;";
        accept = false;
    };
    target->OnDragDrop = [&](TObject*, TObject*, int, int) { ++drops; };
    Press(On(source, 0));
    Move(TPoint{On(source, 0).x + 10, On(source, 0).y});
    EXPECT_EQ(drops, 0);
    // The click after the drag lands on the item the press selected: nothing changes.
    EXPECT_EQ(log, "click;start;refuse;leave;end none 0,0;");
}

TEST_F(ListDragTest, AListTakesOnlyListDragsAndOnlyWithOnDragOver)
{
    TDragData text;
    text.HasText = true;
    text.Text = "from another program";
    TDropTarget* drop = target->DragTarget();
    target->OnDragOver = [](TObject*, TObject*, int, int, TDragState, bool&) {};
    drop->DragEnter(text, On(target, 0));
    EXPECT_FALSE(drop->Accepted()) << "no list drag runs";
    // Looked at where the drop lands, inside the source's drag: the target with OnDragOver takes
    // it, the source without one would not.
    bool targetTakes = false, sourceTakes = true;
    source->DropOn = target;
    source->DropAt = On(target, 0);
    target->OnDragDrop = [&](TObject*, TObject*, int, int) {
        drop->DragEnter(text, On(target, 0));
        targetTakes = drop->Accepted();
        TDropTarget* plain = source->DragTarget();
        plain->DragEnter(text, On(source, 0));
        sourceTakes = plain->Accepted();
    };
    source->SetMultiSelect(true);
    Select({0});
    Press(On(source, 0));
    EXPECT_TRUE(targetTakes);
    EXPECT_FALSE(sourceTakes);
}

TEST_F(ListDragTest, RegressionSourceFreedByTheDropEndsTheDragQuietly)
{
    source->DropOn = target;
    source->DropAt = On(target, 0);
    target->OnDragOver = [](TObject*, TObject*, int, int, TDragState, bool&) {};
    target->OnDragDrop = [this](TObject*, TObject* from, int, int) {
        delete static_cast<TExCustomListBox*>(from);
        log += "freed;";
    };
    source->SetMultiSelect(true);
    Select({1});
    Press(On(source, 1));
    EXPECT_EQ(log, "start;freed;");
}

TEST_F(ListDragTest, ADoubleClickOnASelectedItemStartsNoDrag)
{
    source->SetMultiSelect(true);
    Select({1, 2});
    int doubles = 0;
    source->OnDblClick = [&](TObject*) { ++doubles; };
    const TPoint p = On(source, 2);
    SendMouse(Viewport(source), QEvent::MouseButtonDblClick, QPoint(p.x, p.y), Qt::LeftButton, Qt::LeftButton);
    Release(p);
    EXPECT_TRUE(source->Starts.empty());
}

}  // namespace
