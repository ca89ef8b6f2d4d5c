// The cell grid control: a new grid's settings, the colour queries and their events, and the
// wiring between the model and the window (base events, image list going away, extras freed).

#include "grid/control/CellGrid.h"
#include "grid/control/CgutilDraw.h"

#include <gtest/gtest.h>

#include "platform/gui/ImageList.h"
#include "tests/platform/gui/GuiTestSupport.h"

TEST(CellGrid, NewGridHasItsDefaults)
{
    TestApplication();
    TCellGrid g(nullptr);
    EXPECT_EQ(g.VAlignment(), vtaTop);
    EXPECT_TRUE(g.EnableHTML);
    EXPECT_FALSE(g.EnableGraphics);
    EXPECT_EQ(g.DefaultRowHeight(), 21);
    EXPECT_FALSE(g.Bands()->Active());
    EXPECT_EQ(g.Bands()->PrimaryLength() + g.Bands()->SecondaryLength(), 2);
    EXPECT_EQ(g.FloatFormat, "%.2f");
    EXPECT_EQ(g.SelectionColor(), clHighlight);
    EXPECT_EQ(g.HintColor, clYellow);
    EXPECT_EQ(g.URLColor(), clBlue);
    EXPECT_EQ(g.ScrollColor(), clNone);
    EXPECT_TRUE(g.OleAcceptFiles && g.OleAcceptText);
    EXPECT_EQ(g.GroupColumn(), -1);
    EXPECT_EQ(g.ColCount(), 5);
}

TEST(CellGrid, CellColourTakesTheBandThenTheCellThenTheEvent)
{
    TestApplication();
    TCellGrid g(nullptr);
    g.EnableGraphics = true;
    g.Bands()->SetActive(true);
    g.SetColors(2, 2, clRed);
    std::vector<std::string> seen;
    g.OnGetCellColor = [&](TObject* sender, int row, int col, TGridDrawState, TBrush* brush, TFont* font) {
        EXPECT_EQ(sender, &g);
        seen.push_back(std::to_string(row) + "," + std::to_string(col) + " " + ColorToString(brush->Color()));
        if (row == 3)
            font->SetColor(clLime);
    };
    TBrush brush;
    TFont font;
    g.GetCellColor(1, 3, {}, &brush, &font);  // (3 - 1) mod 2 is within the primary length
    g.GetCellColor(2, 2, {}, &brush, &font);
    g.GetCellPrintColor(2, 2, {}, &brush, &font);
    EXPECT_EQ(seen, (std::vector<std::string>{"3,1 clInfoBk", "2,2 clRed"}));
    EXPECT_EQ(font.Color(), clLime);
}

TEST(CellGrid, MoveRowRaisesTheBaseEventWithTheRowsCells)
{
    TestApplication();
    TCellGrid g(nullptr);
    g.SetCells(0, 1, "one");
    std::string moved;
    g.OnRowMoved = [&](TObject*, int from, int to) { moved = std::to_string(from) + ">" + std::to_string(to); };
    g.MoveRow(1, 3);
    EXPECT_EQ(moved, "1>3");
    EXPECT_EQ(g.Cells(0, 3), "one");
}

TEST(CellGrid, ImageListGoingAwayLeavesNoPointer)
{
    TestApplication();
    TCellGrid g(nullptr);
    auto* images = new TImageList(nullptr);
    g.SetImages(images);
    delete images;
    EXPECT_EQ(g.GridImages(), nullptr);
}

TEST(CellGrid, GridOnAFormFreesEveryExtraWithItself)
{
    TestApplication();
    TForm form(nullptr);
    auto* g = new TCellGrid(&form);
    g->SetParent(&form);
    g->CreateCellGraphic(1, 1);
    g->CreateCellGraphic(3, 2);
    g->HideRow(2);
    g->HideColumn(3);
    form.Show();
    EXPECT_TRUE(g->CheckConsistency());
}

TEST(CellGrid, TransparentBitmapShowsTheColourBehindItsKeyPixels)
{
    TestApplication();
    TBitmap picture;
    picture.SetSize(2, 1);
    picture.Canvas()->SetPixels(0, 0, clRed);
    picture.Canvas()->SetPixels(1, 0, clBlue);
    TBitmap target;
    target.SetSize(4, 2);
    DrawBitmapTransp(target.Canvas(), &picture, clLime, Rect(1, 1, 3, 2));
    EXPECT_EQ(target.PixelColor(1, 1), clLime);
    EXPECT_EQ(target.PixelColor(2, 1), clBlue);
    EXPECT_EQ(target.PixelColor(0, 0), clWhite);
}

// A caller keeps an object per row in column 0 and walks its rows by their real index while the
// filter hides some: the hidden rows' objects are read and set through their kept copies, and
// come back with their rows.
TEST(CellGrid, ObjectsByRealRowFollowTheRowsThroughTheFilter)
{
    TestApplication();
    // The caller's objects outlive the grid, which looks at them as it clears its cells.
    TObject data[4], replaced;
    TCellGrid g(nullptr);
    g.SetRowCount(5);
    for (int r = 1; r <= 4; ++r) {
        g.SetCells(1, r, r % 2 ? "odd" : "even");
        g.SetObjectsEx(0, r, &data[r - 1]);
    }
    TFilterData* item = g.Filter()->Add();
    item->Column = 1;
    item->Condition = "odd";
    g.SetFilterActive(true);
    ASSERT_EQ(g.RowCount(), 3);
    for (int r = 1; r <= 4; ++r)
        EXPECT_EQ(g.GetObjectsEx(0, r), &data[r - 1]) << r;
    g.SetObjectsEx(0, 2, &replaced);
    g.SetObjectsEx(0, 3, nullptr);
    EXPECT_EQ(g.Objects(0, 2), nullptr);  // the display row 2 shows real row 3
    g.SetFilterActive(false);
    EXPECT_EQ(g.Objects(0, 2), &replaced);
    EXPECT_EQ(g.Objects(0, 3), nullptr);
    EXPECT_EQ(g.Objects(0, 4), &data[3]);
}
