// What sorting asks of the control: the ssAnsi styles collate as the Korean locale does.

#include "grid/control/CellGrid.h"

#include <gtest/gtest.h>

#include "platform/core/Cp949.h"
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
