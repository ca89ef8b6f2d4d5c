// The framework grid's keyboard and mouse on a window: OnKeyDown before the navigation, Click
// after a move, selecting by drag and Shift, sizing by a border, moving by a fixed cell; wheel
// notches from parts of a notch; focus in naming the window that lost it.

#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Grids.h"
#include "platform/gui/SyntheticInput.h"

namespace {

struct TGridOnForm {
    TForm form{nullptr};
    TStringGrid* grid = nullptr;
    std::string log;
    TGridOnForm()
    {
        TestApplication();
        form.SetBounds(0, 0, 400, 300);
        grid = new TStringGrid(&form);
        grid->SetParent(&form);
        grid->SetBounds(0, 0, 400, 300);
        grid->OnKeyDown = [this](TObject*, uint16_t& key, TShiftState) {
            log += "key " + std::to_string(key) + ";";
            if (key == VK_END)
                key = 0;
        };
        grid->OnClick = [this](TObject*) { log += "click;"; };
        grid->OnRowMoved = [this](TObject*, int from, int to) {
            log += "moved " + std::to_string(from) + "," + std::to_string(to) + ";";
        };
        form.Show();
        Settle(3);
    }
    std::string Where() const { return std::to_string(grid->Col()) + "," + std::to_string(grid->Row()); }
};

}  // namespace

TEST(GridsInput, OnKeyDownComesFirstAndMayStopTheNavigation)
{
    TGridOnForm t;
    SendKeyStroke(t.grid, VK_DOWN, {}, "");
    SendKeyStroke(t.grid, VK_END, {}, "");
    SendKeyStroke(t.grid, VK_RIGHT, {ssShift}, "");
    EXPECT_EQ(t.log, "key 40;click;key 35;key 39;click;");
    EXPECT_EQ(t.Where(), "2,2");
    EXPECT_EQ(t.grid->Selection(), (TGridRect{1, 2, 2, 2}));
}

TEST(GridsInput, DragSelectsARangeAndShiftClickGrowsIt)
{
    TGridOnForm t;
    const TRect a = t.grid->CellRect(1, 1), b = t.grid->CellRect(3, 2), c = t.grid->CellRect(2, 4);
    SendMouseInput(t.grid, maDown, mbLeft, a.Left + 3, a.Top + 3, {});
    SendMouseInput(t.grid, maMove, mbLeft, b.Left + 3, b.Top + 3, {});
    SendMouseInput(t.grid, maUp, mbLeft, b.Left + 3, b.Top + 3, {});
    EXPECT_EQ(t.grid->Selection(), (TGridRect{1, 1, 3, 2}));
    SendMouseInput(t.grid, maDown, mbLeft, c.Left + 3, c.Top + 3, {ssShift});
    SendMouseInput(t.grid, maUp, mbLeft, c.Left + 3, c.Top + 3, {ssShift});
    EXPECT_EQ(t.grid->Selection(), (TGridRect{1, 1, 2, 4}));
}

TEST(GridsInput, ABorderDragSizesTheColumnOnRelease)
{
    TGridOnForm t;
    t.grid->SetOptions(t.grid->Options() | TGridOptions{goColSizing});
    const int border = t.grid->CellRect(1, 0).Right;
    SendMouseInput(t.grid, maDown, mbLeft, border, 5, {});
    EXPECT_EQ(t.grid->GridState(), gsColSizing);
    SendMouseInput(t.grid, maMove, mbLeft, border + 30, 5, {});
    SendMouseInput(t.grid, maUp, mbLeft, border + 30, 5, {});
    EXPECT_EQ(t.grid->ColWidths(1), 94);
    EXPECT_EQ(t.grid->GridState(), gsNormal);
}

TEST(GridsInput, AFixedCellDraggedMovesItsRow)
{
    TGridOnForm t;
    t.grid->SetOptions(t.grid->Options() | TGridOptions{goRowMoving});
    t.grid->SetCells(1, 1, "first");
    const TRect from = t.grid->CellRect(0, 1), to = t.grid->CellRect(0, 3);
    SendMouseInput(t.grid, maDown, mbLeft, from.Left + 3, from.Top + 3, {});
    SendMouseInput(t.grid, maMove, mbLeft, to.Left + 3, to.Top + 3, {});
    SendMouseInput(t.grid, maUp, mbLeft, to.Left + 3, to.Top + 3, {});
    EXPECT_EQ(t.log, "moved 1,3;");
    EXPECT_EQ(t.grid->Cells(1, 3), "first");
}

TEST(GridsInput, PressesOutsideTheCellsOfAOneRowGridDoNothing)
{
    TGridOnForm t;
    t.grid->SetRowCount(1);
    t.grid->SetColCount(1);
    SendMouseInput(t.grid, maDown, mbLeft, 300, 250, {});
    SendMouseInput(t.grid, maUp, mbLeft, 300, 250, {});
    for (uint16_t key : {VK_DOWN, VK_NEXT, VK_END, VK_TAB})
        SendKeyStroke(t.grid, key, {}, "");
    EXPECT_EQ(t.grid->GridState(), gsNormal);
    EXPECT_TRUE(t.grid->CheckConsistency());
}

TEST(GridsInput, WheelNotchesGatherPartsOfANotch)
{
    TWheelNotches w;
    EXPECT_EQ(w.Add(40), 0);
    EXPECT_EQ(w.Add(40), 0);
    EXPECT_EQ(w.Add(50), 1);   // 130: one notch, 10 kept
    EXPECT_EQ(w.Add(-30), 0);  // the other way forgets the 10
    EXPECT_EQ(w.Add(-90), -1);
    EXPECT_EQ(w.Add(360), 3);
}

namespace {

// Records the window a focus-in names.
class TFocusSpy : public TStringGrid {
public:
    explicit TFocusSpy(TComponent* AOwner) : TStringGrid(AOwner)
    {
        RegisterHandler(WM_SETFOCUS, [this](TMessage& m) {
            Lost = m.WParam;
            Inherited(m);
        });
    }
    WPARAM Lost = 1;
};

}  // namespace

TEST(GridsInput, FocusInNamesTheWindowThatLostIt)
{
    TGridOnForm t;
    auto* spy = new TFocusSpy(&t.form);
    spy->SetBounds(0, 0, 50, 50);
    spy->SetParent(&t.form);
    t.form.BringToFront();
    Settle(3);
    t.grid->SetFocus();
    Settle(2);
    spy->SetFocus();
    Settle(2);
    ASSERT_TRUE(spy->Focused());
    EXPECT_EQ(spy->Lost, reinterpret_cast<WPARAM>(t.grid));
}
