#include <gtest/gtest.h>

#include <QImage>
#include <QScrollBar>
#include <QWidget>
#include <map>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Grids.h"
#include "platform/gui/WindowScrollBars.h"

namespace {

// A string grid that records every cell it is asked to draw, and may hide its focus rectangle.
class TLoggingGrid : public TStringGrid {
public:
    explicit TLoggingGrid(TComponent* owner) : TStringGrid(owner)
    {
        OnDrawCell = [this](TObject*, int c, int r, TRect, TGridDrawState s) { drawn[{c, r}].push_back(s); };
    }
    std::map<std::pair<int, int>, std::vector<TGridDrawState>> drawn;
    // The state the cell was last drawn in.
    TGridDrawState State(int c, int r) { return drawn[{c, r}].empty() ? TGridDrawState{} : drawn[{c, r}].back(); }
    bool focusRect = true;

protected:
    bool ShowFocusRect() const override { return focusRect; }
};

class GridPaint : public ::testing::Test {
protected:
    void SetUp() override
    {
        form.SetBounds(0, 0, 400, 300);
        grid = new TLoggingGrid(&form);
        grid->SetParent(&form);
        grid->SetBounds(0, 0, 300, 200);
        grid->SetColCount(4);
        grid->SetRowCount(4);
        grid->SetDefaultColWidth(50);
        grid->SetDefaultRowHeight(20);
        form.Show();
        // Offscreen windows are not activated on their own; focus needs an active window.
        form.Handle()->activateWindow();
        Settle(1);
    }
    QImage Shot()
    {
        grid->drawn.clear();
        return grid->Handle()->grab().toImage();
    }
    static QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

    TForm form{nullptr};
    TLoggingGrid* grid = nullptr;
};

}  // namespace

TEST_F(GridPaint, EveryCellInViewIsDrawnOnceWithItsState)
{
    grid->SetFocus();
    grid->SetSelection(TGridRect{1, 1, 2, 2});  // anchor (1, 1), current cell (2, 2)
    Shot();
    ASSERT_EQ(grid->drawn.size(), 16u);
    for (const auto& [cell, states] : grid->drawn)
        EXPECT_EQ(states.size(), 1u) << cell.first << "," << cell.second;
    EXPECT_EQ(grid->State(0, 2), (TGridDrawState{gdFixed}));
    EXPECT_EQ(grid->State(1, 0), (TGridDrawState{gdFixed}));
    EXPECT_EQ(grid->State(1, 1), (TGridDrawState{gdSelected}));
    EXPECT_EQ(grid->State(2, 2), (TGridDrawState{gdSelected, gdFocused}));
    EXPECT_EQ(grid->State(3, 3), (TGridDrawState{}));
}

TEST_F(GridPaint, WithoutTheFocusNoCellIsFocused)
{
    auto* other = new TLoggingGrid(&form);
    other->SetParent(&form);
    other->SetBounds(0, 220, 100, 50);
    other->SetFocus();
    ASSERT_FALSE(grid->Focused());
    Shot();
    EXPECT_EQ(grid->State(1, 1), (TGridDrawState{gdSelected}));
}

TEST_F(GridPaint, OwnerDrawingFiresOnDrawCellOncePerCell)
{
    grid->SetDefaultDrawing(false);
    Shot();
    ASSERT_EQ(grid->drawn.size(), 16u);
    for (const auto& [cell, states] : grid->drawn)
        EXPECT_EQ(states.size(), 1u);
}

TEST_F(GridPaint, OnlyRowsAndColumnsInViewAreDrawn)
{
    grid->SetColCount(20);
    grid->SetRowCount(1000);
    grid->SetTopRow(500);
    Shot();
    // The client (less the bars) shows the fixed row and column and parts of the next ones.
    const int cols = (grid->ClientWidth() + 50) / 51, rows = (grid->ClientHeight() + 20) / 21;
    EXPECT_EQ(grid->drawn.size(), static_cast<size_t>(cols * rows));
    EXPECT_TRUE(grid->drawn.count({0, 500}));
    EXPECT_FALSE(grid->drawn.count({0, 499}));
    EXPECT_FALSE(grid->drawn.count({0, 1}));
}

TEST_F(GridPaint, GridLinesFollowTheOptionsAndTheirWidth)
{
    grid->SetGridLineWidth(2);
    QImage shot = Shot();
    // Fixed lines black, normal lines silver, each two pixels wide after its cell.
    EXPECT_EQ(At(shot, 50, 5), 0x000000u);
    EXPECT_EQ(At(shot, 51, 5), 0x000000u);
    EXPECT_EQ(At(shot, 102, 30), 0xC0C0C0u);
    EXPECT_EQ(At(shot, 103, 30), 0xC0C0C0u);
    EXPECT_EQ(At(shot, 70, 43), 0xC0C0C0u);
    grid->SetOptions(TGridOptions{goFixedVertLine, goFixedHorzLine, goHorzLine});
    shot = Shot();
    EXPECT_NE(At(shot, 102, 30), 0xC0C0C0u);  // no vertical lines between normal cells
    EXPECT_EQ(At(shot, 70, 43), 0xC0C0C0u);
}

TEST_F(GridPaint, TheFocusRectangleIsAFlag)
{
    grid->SetFocus();
    grid->SetCol(2);
    grid->SetRow(2);
    const TRect r = grid->CellRect(2, 2);
    QImage shot = Shot();
    const QRgb plain = At(shot, r.Left + 10, r.Top + 10);
    bool framed = false;
    for (int x = r.Left; x < r.Right; ++x)
        framed = framed || At(shot, x, r.Top) != plain;
    EXPECT_TRUE(framed);
    grid->focusRect = false;
    shot = Shot();
    for (int x = r.Left; x < r.Right; ++x)
        EXPECT_EQ(At(shot, x, r.Top), plain) << x;
}

TEST_F(GridPaint, ScrollBarsShowOnlyWhileItemsDoNotFit)
{
    EXPECT_EQ(grid->ClientWidth(), 300);
    EXPECT_EQ(grid->ClientHeight(), 200);
    grid->SetRowCount(100);
    EXPECT_EQ(grid->ClientWidth(), 300 - TScrollBarModel::kWidth);
    EXPECT_EQ(grid->ClientHeight(), 200);
    TScrollInfo info;
    ASSERT_TRUE(GetScrollInfo(grid, SB_VERT, info));
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, TCustomGrid::kScrollRange);
    grid->SetRowCount(5);
    EXPECT_EQ(grid->ClientWidth(), 300);
    grid->SetScrollBars(ssNone);
    grid->SetRowCount(100);
    EXPECT_EQ(grid->ClientWidth(), 300);
}

namespace {

struct TScrollCase {
    const char* Name;
    unsigned Code;
    int Pos;
    bool ThumbTracking;
    int ExpectedTop;  // -1: the largest TopRow
};

class GridScrollMessage : public GridPaint, public ::testing::WithParamInterface<TScrollCase> {};

}  // namespace

TEST_P(GridScrollMessage, MovesTopRowAndTheBarFollows)
{
    const TScrollCase& c = GetParam();
    grid->SetRowCount(101);
    grid->SetTopRow(50);
    if (c.ThumbTracking)
        grid->SetOptions(grid->Options() << goThumbTracking);
    const int visible = grid->VisibleRowCount();
    const int expected = c.ExpectedTop == -1 ? grid->MaxTopRow() : c.ExpectedTop == -2 ? 50 + visible : c.ExpectedTop;
    grid->Perform(WM_VSCROLL, c.Code | (static_cast<WPARAM>(c.Pos) << 16));
    EXPECT_EQ(grid->TopRow(), expected);
    EXPECT_EQ(GetScrollPos(grid, SB_VERT), TCustomGrid::ScrollPosOf(expected, 1, grid->MaxTopRow()));
}

INSTANTIATE_TEST_SUITE_P(Grids, GridScrollMessage,
                         ::testing::Values(TScrollCase{"LineUp", SB_LINEUP, 0, false, 49},
                                           TScrollCase{"LineDown", SB_LINEDOWN, 0, false, 51},
                                           TScrollCase{"PageDown", SB_PAGEDOWN, 0, false, -2},
                                           TScrollCase{"Top", SB_TOP, 0, false, 1},
                                           TScrollCase{"Bottom", SB_BOTTOM, 0, false, -1},
                                           TScrollCase{"ThumbPositionAtTheEnd", SB_THUMBPOSITION, 127, false, -1},
                                           TScrollCase{"ThumbPositionAtTheStart", SB_THUMBPOSITION, 0, false, 1},
                                           TScrollCase{"ThumbTrackWithoutTracking", SB_THUMBTRACK, 0, false, 50},
                                           TScrollCase{"ThumbTrackWithTracking", SB_THUMBTRACK, 0, true, 1},
                                           TScrollCase{"EndScroll", SB_ENDSCROLL, 0, false, 50}),
                         [](const ::testing::TestParamInfo<TScrollCase>& i) { return std::string(i.param.Name); });

TEST(GridScrollRange, PositionsMapOntoTheLogicalRangeAndBack)
{
    EXPECT_EQ(TCustomGrid::ScrollPosOf(1, 1, 1), 0);  // nothing to scroll
    EXPECT_EQ(TCustomGrid::ScrollPosOf(1, 1, 1001), 0);
    EXPECT_EQ(TCustomGrid::ScrollPosOf(1001, 1, 1001), 127);
    EXPECT_EQ(TCustomGrid::ScrollPosOf(501, 1, 1001), 64);
    EXPECT_EQ(TCustomGrid::FirstOfScrollPos(127, 1, 1001), 1001);
    EXPECT_EQ(TCustomGrid::FirstOfScrollPos(500, 1, 1001), 1001);  // past the range
    EXPECT_EQ(TCustomGrid::FirstOfScrollPos(-3, 1, 1001), 1);
    for (int first = 3; first <= 40; ++first)
        EXPECT_EQ(TCustomGrid::FirstOfScrollPos(TCustomGrid::ScrollPosOf(first, 3, 40), 3, 40), first);
}

TEST_F(GridPaint, GrowingTheWindowBringsTopRowBackWithinItsLargestValue)
{
    grid->SetRowCount(30);
    grid->SetTopRow(29);
    const int top = grid->TopRow();
    EXPECT_GT(top, 1);
    grid->SetHeight(450);
    EXPECT_LT(grid->TopRow(), top);
    EXPECT_EQ(grid->TopRow(), grid->MaxTopRow());
}

TEST_F(GridPaint, DraggedThumbScrollsWhereItIsLetGo)
{
    grid->SetRowCount(101);
    QScrollBar* bar = nullptr;
    for (QScrollBar* b : grid->Handle()->findChildren<QScrollBar*>())
        if (b->orientation() == Qt::Vertical)
            bar = b;
    ASSERT_NE(bar, nullptr);
    bar->setSliderDown(true);
    bar->setSliderPosition(127);
    EXPECT_EQ(grid->TopRow(), 1);  // no thumb tracking: the grid waits for the release
    EXPECT_EQ(bar->sliderPosition(), 127);
    bar->setSliderDown(false);
    EXPECT_EQ(grid->TopRow(), grid->MaxTopRow());
    EXPECT_EQ(bar->value(), 127);
}
