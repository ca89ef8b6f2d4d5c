// A handler the grid fires while it moves its current cell frees the grid: the move ends there,
// whichever way it began (keys, mouse, wheel, Row and Col, the sort's follow, find, advance).

#include <gtest/gtest.h>

#include <functional>

#include "grid/control/CellGrid.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/Forms.h"
#include "platform/gui/SyntheticInput.h"
#include "tests/grid/control/CellCentre.h"
#include "tests/platform/gui/GuiTestSupport.h"

namespace {

using TFree = std::function<void()>;

struct TFreedMove {
    const char* name;
    // Binds the handler that runs Free.
    std::function<void(TCellGrid&, TFree)> bind;
    // Moves the current cell; the grid is gone once the handler ran.
    std::function<void(TCellGrid&)> move;
};
void PrintTo(const TFreedMove& c, std::ostream* os) { *os << c.name; }

TFree FreeOn(TCellGrid& g, int& calls)
{
    TCellGrid* grid = &g;
    return [grid, &calls] {
        if (calls++ == 0)
            delete grid;
    };
}

void BindRowChanging(TCellGrid& g, TFree free)
{
    g.OnRowChanging = [free](TObject*, int, int, bool&) { free(); };
}

void BindCellChanging(TCellGrid& g, TFree free)
{
    g.OnCellChanging = [free](TObject*, int, int, int, int, bool&) { free(); };
}

void BindTopLeftChanged(TCellGrid& g, TFree free)
{
    g.OnTopLeftChanged = [free](TObject*) { free(); };
}

}  // namespace

class FreedWhileMoving : public ::testing::TestWithParam<TFreedMove> {};

// The base grid went on with the freed grid after the handler: it stored the new current cell,
// scrolled it into view, repainted and clicked; the callers went on to their next move.
TEST_P(FreedWhileMoving, RegressionAHandlerThatFreesTheGridEndsTheMove)
{
    TestApplication();
    TForm form(nullptr);
    form.SetBounds(10, 10, 300, 200);
    auto* g = new TCellGrid(&form);
    g->SetParent(&form);
    g->SetBounds(0, 0, 300, 200);
    g->SetColCount(6);
    g->SetRowCount(40);
    for (int r = 1; r < g->RowCount(); ++r)
        g->SetCells(1, r, std::to_string(100 - r));
    form.Show();
    Settle(3);
    g->SetFocus();
    Settle(1);
    int calls = 0;
    GetParam().bind(*g, FreeOn(*g, calls));
    GetParam().move(*g);
    Settle(3);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(form.ControlCount(), 0);
}

// The cell grid's own selection step (SelectCell) stops when its handlers free the grid; the
// moves below go on past it: scrolling the new current cell into view, the second step of a
// two-step move, the sort's clean-up, the notification after a row move.
const TFreedMove kFreedMoves[] = {
    {"TopLeftChangedOnArrowKeyPastTheView", BindTopLeftChanged,
     [](TCellGrid& g) {
         g.SetRow(g.TopRow() + g.VisibleRowCount() - 1);
         SendKeyStroke(&g, VK_DOWN, {}, "");
     }},
    {"TopLeftChangedOnClickOnAPartlyShownRow", BindTopLeftChanged,
     [](TCellGrid& g) {
         const TRect r = g.CellRect(2, g.TopRow() + g.VisibleRowCount());
         SendMouseInput(&g, maDown, mbLeft, (r.Left + r.Right) / 2, r.Top + 2, {});
     }},
    {"TopLeftChangedOnWheel", BindTopLeftChanged,
     [](TCellGrid& g) {
         g.SetRow(g.TopRow() + g.VisibleRowCount() - 1);
         const TPoint p = CellCentre(g, 2, 2);
         SendWheelInput(&g, -120, {}, p.x, p.y);
     }},
    {"TopLeftChangedOnSetRowOutOfView", BindTopLeftChanged, [](TCellGrid& g) { g.SetRow(35); }},
    {"TopLeftChangedOnPageDown", BindTopLeftChanged, [](TCellGrid& g) { SendKeyStroke(&g, VK_NEXT, {}, ""); }},
    {"TopLeftChangedOnScrollInView", BindTopLeftChanged, [](TCellGrid& g) { g.ScrollInView(5, 35); }},
    {"RowChangingOnTheSortsFollow", BindRowChanging,
     [](TCellGrid& g) {
         // Row 1 holds the largest value: ascending, it ends last and the current row follows.
         g.SetSortColumn(1);
         g.QSort();
     }},
    {"RowChangingOnAdvanceToTheNextRow", BindRowChanging,
     [](TCellGrid& g) {
         g.SetOptions(g.Options() << goEditing);
         g.AdvanceEdit(g.ColCount() - 1, 1, true, false, true);
     }},
    {"CellChangingOnFindWithGoto", BindCellChanging, [](TCellGrid& g) { g.FindFirst("70", TFindParams{fnAutoGoto}); }},
    {"RowMovedOnMoveRow", [](TCellGrid& g, TFree free) { g.OnRowMoved = [free](TObject*, int, int) { free(); }; },
     [](TCellGrid& g) { g.MoveRow(2, 5); }},
};
INSTANTIATE_TEST_SUITE_P(CellGrid, FreedWhileMoving, ::testing::ValuesIn(kFreedMoves),
                         [](const auto& row) { return std::string(row.param.name); });
