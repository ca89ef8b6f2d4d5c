// The grid's keyboard navigation and size-grip hit test without a window, on random grids
// checked after every key, and on named cases.

#include "platform/core/GridCursor.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/core/VirtualKeys.h"

namespace {

// A 10 x 100 grid, one fixed row and column, 64 x 24 cells with 1-pixel lines, 320 x 120
// pixels: 4 columns and 3 rows in view after the fixed ones.
TGridCursorState Grid(int col, int row)
{
    TGridCursorState s;
    s.ColCount = 10;
    s.RowCount = 100;
    s.FixedCols = s.FixedRows = 1;
    s.Col = col;
    s.Row = row;
    s.LeftCol = s.TopRow = 1;
    s.VisibleCols = 3;
    s.VisibleRows = 3;
    s.Options = {goRangeSelect};
    return s;
}

struct TMoveCase {
    const char* name;
    TGridCursorState state;
    uint16_t key;
    TShiftState shift;
    std::string want;  // "col,row" and flags, or "-" when unhandled
};
void PrintTo(const TMoveCase& c, std::ostream* os) { *os << c.name; }

TGridCursorState With(TGridCursorState s, TGridOption o)
{
    s.Options << o;
    return s;
}

std::string Text(const TGridCursorMove& m)
{
    if (!m.Handled)
        return "-";
    std::string s = std::to_string(m.Col) + "," + std::to_string(m.Row);
    if (!m.MoveAnchor)
        s += " extend";
    if (m.TopRow >= 0)
        s += " top " + std::to_string(m.TopRow);
    if (m.LeftCol >= 0)
        s += " left " + std::to_string(m.LeftCol);
    return s;
}

}  // namespace

class CursorMove : public ::testing::TestWithParam<TMoveCase> {};

TEST_P(CursorMove, Goes)
{
    EXPECT_EQ(Text(MoveCursor(GetParam().state, GetParam().key, GetParam().shift)), GetParam().want);
}

const TMoveCase kMoves[] = {
    {"DownMovesOneRow", Grid(2, 2), VK_DOWN, {}, "2,3"},
    {"UpStopsAtTheFirstNormalRow", Grid(2, 1), VK_UP, {}, "2,1"},
    {"LeftStopsAtTheFirstNormalColumn", Grid(1, 5), VK_LEFT, {}, "1,5"},
    {"RightStopsAtTheLastColumn", Grid(9, 5), VK_RIGHT, {}, "9,5"},
    {"ShiftExtendsWithRangeSelect", Grid(2, 2), VK_DOWN, {ssShift}, "2,3 extend"},
    {"PageDownMovesRowAndViewByAPage", Grid(2, 2), VK_NEXT, {}, "2,5 top 4"},
    {"PageUpStopsAtTheTop", Grid(2, 2), VK_PRIOR, {}, "2,1 top 1"},
    {"CtrlPageDownGoesToTheLastRowInView", Grid(2, 1), VK_NEXT, {ssCtrl}, "2,3"},
    {"HomeGoesToTheFirstColumn", Grid(5, 7), VK_HOME, {}, "1,7"},
    {"CtrlEndGoesToTheLastCell", Grid(5, 7), VK_END, {ssCtrl}, "9,99"},
    {"RowSelectHomeGoesToTheFirstRow", With(Grid(5, 7), goRowSelect), VK_HOME, {}, "5,1"},
    {"RowSelectRightScrollsInstead", With(Grid(5, 7), goRowSelect), VK_RIGHT, {}, "5,7 left 2"},
    {"TabWithoutGoTabsIsNotNavigation", Grid(2, 2), VK_TAB, {}, "-"},
    {"TabWrapsToTheNextRow", With(Grid(9, 2), goTabs), VK_TAB, {}, "1,3"},
    {"ShiftTabWrapsToThePreviousRow", With(Grid(1, 2), goTabs), VK_TAB, {ssShift}, "9,1"},
    {"TabStopsAtTheLastCell", With(Grid(9, 99), goTabs), VK_TAB, {}, "9,99"},
    {"LettersAreNoNavigation", Grid(2, 2), 'A', {}, "-"},
};
INSTANTIATE_TEST_SUITE_P(Keys, CursorMove, ::testing::ValuesIn(kMoves),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(CursorMove, OneRowGridOfFixedCellsHandlesNoKey)
{
    TGridCursorState s = Grid(0, 0);
    s.RowCount = 1;
    for (uint16_t key : {VK_DOWN, VK_NEXT, VK_END, VK_TAB})
        EXPECT_FALSE(MoveCursor(s, key, {}).Handled);
}

// Random keys on random grids: the target is always a normal cell of the grid, and applying it
// keeps the grid consistent.
TEST(CursorMove, RandomKeysStayOnNormalCells)
{
    std::mt19937 random(7);
    const uint16_t keys[] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_PRIOR, VK_NEXT, VK_HOME, VK_END, VK_TAB};
    for (int round = 0; round < 50; ++round) {
        TCustomGridData g;
        g.SetColCount(1 + static_cast<int>(random() % 8));
        g.SetRowCount(1 + static_cast<int>(random() % 40));
        g.SetFixedCols(static_cast<int>(random() % static_cast<unsigned>(g.ColCount())));
        g.SetFixedRows(static_cast<int>(random() % static_cast<unsigned>(g.RowCount())));
        g.SetOptions({goRangeSelect, goTabs});
        for (int step = 0; step < 60; ++step) {
            const TShiftState shift = random() % 2 ? TShiftState{ssShift} : TShiftState{};
            const TGridCursorMove m = MoveCursor(CursorStateOf(g), keys[random() % 9], shift);
            if (!m.Handled)
                continue;
            ASSERT_GE(m.Col, g.FixedCols());
            ASSERT_GE(m.Row, g.FixedRows());
            ASSERT_LT(m.Col, g.ColCount());
            ASSERT_LT(m.Row, g.RowCount());
            g.FocusCell(m.Col, m.Row, m.MoveAnchor);
            if (m.TopRow >= 0)
                g.SetTopRow(m.TopRow);
            ASSERT_TRUE(g.CheckConsistency());
        }
    }
}

namespace {

struct THitCase {
    const char* name;
    TGridOptions options;
    int x, y;
    TGridState state;
    int index;
};
void PrintTo(const THitCase& c, std::ostream* os) { *os << c.name; }

}  // namespace

class SizingHit : public ::testing::TestWithParam<THitCase> {};

// Default sizes: columns 64 wide and rows 24 high, each with a 1-pixel line after it.
TEST_P(SizingHit, Finds)
{
    TCustomGridData g;
    g.SetOptions(GetParam().options);
    const TGridSizing hit = CalcSizingHit(g, GetParam().x, GetParam().y);
    EXPECT_EQ(hit.State, GetParam().state);
    EXPECT_EQ(hit.Index, GetParam().index);
}

const THitCase kHits[] = {
    {"ColumnBorderInTheHeader", {goColSizing}, 64, 10, gsColSizing, 0},
    {"SecondColumnBorder", {goColSizing}, 130, 5, gsColSizing, 1},
    {"TwoPixelsLeftOfTheBorder", {goColSizing}, 62, 10, gsColSizing, 0},
    {"FivePixelsAwayIsNoBorder", {goColSizing}, 59, 10, gsNormal, -1},
    {"BelowTheHeaderIsNoColumnBorder", {goColSizing}, 64, 40, gsNormal, -1},
    {"WithoutColSizingNothing", {}, 64, 10, gsNormal, -1},
    {"RowBorderInTheFixedColumn", {goRowSizing}, 10, 49, gsRowSizing, 1},
};
INSTANTIATE_TEST_SUITE_P(Borders, SizingHit, ::testing::ValuesIn(kHits),
                         [](const auto& row) { return std::string(row.param.name); });
