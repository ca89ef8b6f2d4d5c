// Runs only on a real X display (CTest starts it under Xvfb): focus order, a cell hint, a row
// dragged by its fixed cell and a column moved with EnhRowColMove (its floating header and its
// arrows), with input that xdotool sends through the X server.

#include <gtest/gtest.h>

#include <QProcess>
#include <string>

#include "grid/control/ArrowWindow.h"
#include "grid/control/CellGrid.h"
#include "platform/gui/Forms.h"
#include "tests/platform/gui/GuiTestSupport.h"

namespace {

// xdotool's commands, run to their end while the loop handles what they cause.
void XDo(const std::string& commands)
{
    RunServed(QStringLiteral("sh"), {QStringLiteral("-c"), QString::fromStdString("xdotool " + commands)});
}

struct TRealGrid {
    TForm form{nullptr};
    TCustomControl* first = nullptr;
    TCellGrid* grid = nullptr;
    std::string log;
    TRealGrid()
    {
        form.SetBounds(60, 60, 420, 260);
        first = new TCustomControl(&form);
        first->SetBounds(0, 0, 420, 20);
        first->SetTabStop(true);
        first->SetParent(&form);
        grid = new TCellGrid(&form);
        grid->SetBounds(0, 20, 420, 240);
        grid->SetParent(&form);
        for (int r = 0; r < grid->RowCount(); ++r)
            for (int c = 0; c < grid->ColCount(); ++c)
                grid->SetCells(c, r,
                               r == 0 ? "Head " + std::to_string(c) : std::to_string(c) + "/" + std::to_string(r));
        form.Show();
        form.BringToFront();
        // xdotool's input goes where the X server has the pointer and the focus.
        EXPECT_TRUE(
            WaitUntil([&] { return Exposed(form.Handle()) && form.Active(); }, "the grid's form shown, active"));
    }
    // A client point of the grid on the screen.
    std::string At(int col, int row, int dx = 0, int dy = 0)
    {
        const TRect r = grid->CellRect(col, row);
        const TPoint p = grid->ClientToScreen(TPoint{(r.Left + r.Right) / 2 + dx, (r.Top + r.Bottom) / 2 + dy});
        return std::to_string(p.x) + " " + std::to_string(p.y);
    }
};

}  // namespace

TEST(CellGridRealX, TabEntersTheGridWithOnEnterThenOnSelectCell)
{
    REQUIRE_REAL_X("xdotool");
    TRealGrid t;
    t.grid->OnEnter = [&](TObject*) { t.log += "enter;"; };
    t.grid->OnSelectCell = [&](TObject*, int col, int row, bool&) {
        t.log += "select " + std::to_string(col) + "," + std::to_string(row) + ";";
    };
    t.first->SetFocus();
    ASSERT_TRUE(WaitUntil([&] { return t.first->Focused(); }, "the focus in the first control"));
    XDo("key --delay 50 Tab");
    ASSERT_TRUE(WaitUntil([&] { return t.grid->Focused(); }, "the focus in the grid after Tab"));
    EXPECT_EQ(t.log, "enter;select 1,1;");
}

TEST(CellGridRealX, ARestingPointerShowsTheCellHint)
{
    REQUIRE_REAL_X("xdotool");
    TRealGrid t;
    t.grid->SetShowHint(true);
    t.grid->HintShowCells = true;
    XDo("mousemove " + t.At(2, 3) + " sleep 0.1 mousemove " + t.At(2, 3, 1, 0));
    EXPECT_TRUE(WaitUntil([] { return ShownHint() == "2/3"; }, "the hint 2/3")) << ShownHint();
    XDo("mousemove " + t.At(3, 4));
    EXPECT_TRUE(WaitUntil([] { return ShownHint() != "2/3"; }, "the hint 2/3 gone"));
    CancelHint();
}

TEST(CellGridRealX, ARowDraggedByItsFixedCellFiresOnRowMoved)
{
    REQUIRE_REAL_X("xdotool");
    TRealGrid t;
    t.grid->SetOptions(t.grid->Options() | TGridOptions{goRowMoving});
    t.grid->OnRowMoved = [&](TObject*, int from, int to) {
        t.log += "moved " + std::to_string(from) + "," + std::to_string(to) + ";";
    };
    XDo("mousemove " + t.At(0, 1) + " mousedown 1 mousemove " + t.At(0, 2) + " mousemove " + t.At(0, 3) + " mouseup 1");
    ASSERT_TRUE(WaitUntil([&] { return !t.log.empty(); }, "OnRowMoved"));
    EXPECT_EQ(t.log, "moved 1,3;");
    EXPECT_EQ(t.grid->Cells(1, 3), "1/1");
}

TEST(CellGridScreenshot, AColumnMovedWithItsFloatingHeader)
{
    REQUIRE_REAL_X("xdotool");
    TRealGrid t;
    t.grid->SetOptions(t.grid->Options() | TGridOptions{goColMoving});
    t.grid->EnhRowColMove = true;
    t.grid->OnColumnMoved = [&](TObject*, int from, int to) {
        t.log += "moved " + std::to_string(from) + "," + std::to_string(to) + ";";
    };
    XDo("mousemove " + t.At(1, 0) + " mousedown 1 mousemove " + t.At(2, 0) + " mousemove " + t.At(3, 0, 0, 40));
    // The floating header follows the pointer: the pressed header's place, moved by the pointer.
    const TRect pressed = t.grid->CellRect(1, 0);
    const TRect target = t.grid->CellRect(3, 0);
    const TPoint at = t.grid->ClientToScreen(TPoint{target.Left, target.Top + 40});
    ExpectScreenRect(at.x, at.y, pressed.Width(), pressed.Height(), "tests/grid/control/golden", "FloatingHeader");
    XDo("mouseup 1");
    ASSERT_TRUE(WaitUntil([&] { return !t.log.empty(); }, "OnColumnMoved"));
    EXPECT_EQ(t.log, "moved 1,3;");
    EXPECT_EQ(t.grid->Cells(3, 0), "Head 1");
}

// The arrows that mark a moved column's target show in ArrowColor.
TEST(CellGridRealX, TheMoveArrowsShowInArrowColor)
{
    REQUIRE_REAL_X("xdotool");
    TRealGrid t;
    t.grid->SetOptions(t.grid->Options() | TGridOptions{goColMoving});
    t.grid->EnhRowColMove = true;
    t.grid->SetArrowColor(clRed);
    XDo("mousemove " + t.At(1, 0) + " mousedown 1 mousemove " + t.At(2, 0) + " mousemove " + t.At(3, 0, 0, 40));
    std::vector<TColor> shown;
    ASSERT_TRUE(WaitUntil(
        [&] {
            shown.clear();
            for (int i = 0; i < t.form.ControlCount(); ++i)
                if (auto* arrow = dynamic_cast<TArrowWindow*>(t.form.Controls(i)); arrow && arrow->Visible())
                    shown.push_back(arrow->Color());
            return shown.size() == 2;
        },
        "the two column arrows"));
    XDo("mouseup 1");
    EXPECT_EQ(shown, (std::vector<TColor>{clRed, clRed}));
    EXPECT_EQ(t.grid->ArrowColor(), clRed);
}
