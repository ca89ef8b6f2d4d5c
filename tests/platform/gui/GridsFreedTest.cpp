// The framework grid on a window frees itself in a handler it fires while it moves its current
// cell or its view: keys, mouse, Row and Col, the scroll bars and row moving all stop there.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "GuiTestSupport.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Grids.h"
#include "platform/gui/SyntheticInput.h"
#include "platform/gui/WindowScrollBars.h"

namespace {

using TFree = std::function<void()>;

struct TFreedGridCase {
    const char* name;
    std::function<void(TStringGrid&, TFree)> bind;
    // Moves the current cell or the view; the grid is gone once the handler ran.
    std::function<void(TStringGrid&)> move;
};
void PrintTo(const TFreedGridCase& c, std::ostream* os) { *os << c.name; }

void BindSelectCell(TStringGrid& g, TFree free)
{
    g.OnSelectCell = [free](TObject*, int, int, bool&) { free(); };
}

void BindTopLeftChanged(TStringGrid& g, TFree free)
{
    g.OnTopLeftChanged = [free](TObject*) { free(); };
}

void Press(TStringGrid& g, int col, int row)
{
    const TRect r = g.CellRect(col, row);
    SendMouseInput(&g, maDown, mbLeft, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2, {});
}

}  // namespace

class GridsFreed : public ::testing::TestWithParam<TFreedGridCase> {};

// The base grid stored the new current cell, scrolled, repainted and clicked on the freed grid.
TEST_P(GridsFreed, RegressionAHandlerThatFreesTheGridEndsTheMove)
{
    TestApplication();
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    auto* g = new TStringGrid(&form);
    g->SetParent(&form);
    g->SetBounds(0, 0, 300, 200);
    g->SetRowCount(40);
    g->SetColCount(12);
    g->SetOptions(g->Options() << goRowMoving);
    form.Show();
    Settle(3);
    g->SetFocus();
    Settle(1);
    int calls = 0;
    GetParam().bind(*g, [g, &calls] {
        if (calls++ == 0)
            delete g;
    });
    GetParam().move(*g);
    Settle(3);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(form.ControlCount(), 0);
}

const TFreedGridCase kFreedGridCases[] = {
    {"SelectCellOnArrowKey", BindSelectCell, [](TStringGrid& g) { SendKeyStroke(&g, VK_DOWN, {}, ""); }},
    {"SelectCellOnClick", BindSelectCell, [](TStringGrid& g) { Press(g, 2, 3); }},
    {"SelectCellOnSetRow", BindSelectCell, [](TStringGrid& g) { g.SetRow(3); }},
    {"SelectCellOnSetCol", BindSelectCell, [](TStringGrid& g) { g.SetCol(3); }},
    {"TopLeftChangedOnPageDown", BindTopLeftChanged, [](TStringGrid& g) { SendKeyStroke(&g, VK_NEXT, {}, ""); }},
    {"TopLeftChangedOnCtrlEnd", BindTopLeftChanged, [](TStringGrid& g) { SendKeyStroke(&g, VK_END, {ssCtrl}, ""); }},
    {"TopLeftChangedOnSetColOutOfView", BindTopLeftChanged, [](TStringGrid& g) { g.SetCol(11); }},
    {"TopLeftChangedOnScrollBar", BindTopLeftChanged, [](TStringGrid& g) { g.Perform(WM_VSCROLL, SB_PAGEDOWN, 0); }},
    {"RowMovedOnDrag", [](TStringGrid& g, TFree free) { g.OnRowMoved = [free](TObject*, int, int) { free(); }; },
     [](TStringGrid& g) {
         const TRect from = g.CellRect(0, 2), to = g.CellRect(0, 4);
         SendMouseInput(&g, maDown, mbLeft, from.Left + 3, from.Top + 3, {});
         SendMouseInput(&g, maMove, mbLeft, to.Left + 3, to.Top + 3, {});
         SendMouseInput(&g, maUp, mbLeft, to.Left + 3, to.Top + 3, {});
     }},
};
INSTANTIATE_TEST_SUITE_P(Grids, GridsFreed, ::testing::ValuesIn(kFreedGridCases),
                         [](const auto& row) { return std::string(row.param.name); });
