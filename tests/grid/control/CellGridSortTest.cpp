// What sorting asks of the control: the ssAnsi styles collate as the Korean locale does.

#include "grid/control/CellGrid.h"

#include <gtest/gtest.h>

#include "platform/core/Cp949.h"
#include "platform/gui/Forms.h"
#include "platform/gui/SyntheticInput.h"
#include "tests/platform/gui/GuiTestSupport.h"

TEST(CellGridSort, AnsiStylesCollateAsTheKoreanLocale)
{
    TestApplication();
    TCellGrid g(nullptr);
    TSortStyle style = ssAnsiAlphaCase;
    g.OnGetFormat = [&](TObject*, int, TSortStyle& s, AnsiString&, AnsiString&) { s = style; };
    g.SetCells(1, 1, "abc");
    g.SetCells(1, 2, "ABC");
    g.SetCells(1, 3, Utf8ToCp949("나무"));
    g.SetCells(1, 4, Utf8ToCp949("가지"));
    EXPECT_EQ(g.Compare(1, 1, 2), -1);  // bytes would put "ABC" first
    EXPECT_EQ(g.Compare(1, 3, 4), 1);
    style = ssAnsiAlphaNoCase;
    EXPECT_EQ(g.Compare(1, 1, 2), 0);
    g.SetSortColumn(1);
    g.QSort();
    EXPECT_EQ(g.Cells(1, 1), Utf8ToCp949("가지"));
    EXPECT_EQ(g.Cells(1, 2), Utf8ToCp949("나무"));
}

// The header click sorted on after a comparison handler had freed the grid, and then put the
// work rows back, followed the current row and fired OnClickSort on the freed grid.
TEST(CellGridSort, RegressionAHeaderClickWhoseCompareHandlerFreesTheGridStops)
{
    TestApplication();
    TForm form(nullptr);
    form.SetBounds(10, 10, 400, 300);
    auto* g = new TCellGrid(&form);
    g->SetParent(&form);
    g->SetBounds(0, 0, 400, 300);
    g->SetSortShow(true);
    for (int r = 1; r < g->RowCount(); ++r)
        g->SetCells(1, r, std::to_string(10 - r));
    form.Show();
    Settle(3);
    int compares = 0, clicks = 0;
    g->OnGetFormat = [](TObject*, int, TSortStyle& s, AnsiString&, AnsiString&) { s = ssCustom; };
    g->OnCustomCompare = [&compares, g](TObject*, AnsiString, AnsiString, int&) {
        ++compares;
        delete g;
    };
    g->OnClickSort = [&clicks](TObject*, int) { ++clicks; };
    const TRect header = g->CellRect(1, 0);
    const TPoint p{(header.Left + header.Right) / 2, (header.Top + header.Bottom) / 2};
    SendMouseInput(g, maDown, mbLeft, p.x, p.y, {});
    SendMouseInput(g, maUp, mbLeft, p.x, p.y, {});
    Settle(3);
    EXPECT_EQ(compares, 1);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(form.ControlCount(), 0);
}
