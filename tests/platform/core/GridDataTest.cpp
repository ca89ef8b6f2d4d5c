// The string grid without its window: count rules, cells kept past the column count, row and
// column moves, the current cell and selection, geometry, and random edits checked for
// consistency after every step.

#include "platform/core/GridData.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "tests/platform/core/Cases.h"

namespace {

// Records the notifications; SelectCell refuses the cells in Refused.
class TRecordingGrid : public TCustomGridData {
public:
    std::vector<std::string> Log;
    std::vector<TGridCoord> Refused;

protected:
    bool SelectCell(int ACol, int ARow) override
    {
        Log.push_back("select " + std::to_string(ACol) + "," + std::to_string(ARow));
        for (TGridCoord c : Refused)
            if (c == TGridCoord{ACol, ARow})
                return false;
        return true;
    }
    void RowMoved(int FromIndex, int ToIndex) override
    {
        Log.push_back("row moved " + std::to_string(FromIndex) + "," + std::to_string(ToIndex));
    }
    void SizeChanged(int OldColCount, int OldRowCount) override
    {
        Log.push_back("size " + std::to_string(OldColCount) + "x" + std::to_string(OldRowCount));
    }
};

// Column 0 of every row, joined by '/'.
std::string FirstColumn(const TCustomGridData& g)
{
    std::string out;
    for (int r = 0; r < g.RowCount(); ++r)
        out += (r ? "/" : "") + g.Cells(0, r);
    return out;
}

}  // namespace

TEST(GridData, NewGridHasTheFrameworkDefaults)
{
    TCustomGridData g;
    EXPECT_EQ(g.ColCount(), 5);
    EXPECT_EQ(g.RowCount(), 5);
    EXPECT_EQ(g.FixedCols(), 1);
    EXPECT_EQ(g.FixedRows(), 1);
    EXPECT_EQ(g.ColWidths(3), 64);
    EXPECT_EQ(g.RowHeights(3), 24);
    EXPECT_EQ(g.Options(), (TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect}));
    EXPECT_EQ(g.Col(), 1);
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(g.Selection(), (TGridRect{1, 1, 1, 1}));
}

TEST(GridData, CountsMayReachZeroAndTakeTheFixedCountDown)
{
    TCustomGridData g;
    g.SetRowCount(1);
    EXPECT_EQ(g.FixedRows(), 0);
    g.SetColCount(0);
    EXPECT_EQ(g.FixedCols(), 0);
    EXPECT_TRUE(g.CheckConsistency());
    g.SetColCount(3);
    ExpectRaises<EInvalidGridOperation>([&] { g.SetFixedCols(3); },
                                        "Fixed column count must be less than column count");
    EXPECT_TRUE(g.CheckConsistency());
}

TEST(GridData, TooManyCellsRaiseAndChangeNothing)
{
    TCustomGridData g;
    ExpectRaises<EInvalidGridOperation>([&] { g.SetRowCount(1 << 25); }, "Grid too large for operation");
    EXPECT_EQ(g.RowCount(), 5);
    g.SetColCount(1 << 13);
    g.SetRowCount(1 << 13);
    EXPECT_THROW(g.SetColCount((1 << 13) + 1), EInvalidGridOperation);
    EXPECT_TRUE(g.CheckConsistency());
}

TEST(GridData, CellsStayPastALoweredColumnCount)
{
    TCustomGridData g;
    g.SetCells(4, 2, "kept");
    g.SetColCount(2);
    EXPECT_EQ(g.Cells(4, 2), "kept");
    g.SetColCount(5);
    EXPECT_EQ(g.Cells(4, 2), "kept");
    // Writes reach kColumnSlack columns past the count, reads anywhere.
    g.SetCells(5 + TCustomGridData::kColumnSlack - 1, 0, "far");
    ExpectRaises<EInvalidGridOperation>([&] { g.SetCells(5 + TCustomGridData::kColumnSlack, 0, "x"); },
                                        "Grid index out of range");
    EXPECT_THROW(g.SetCells(0, 5, "x"), EInvalidGridOperation);
    EXPECT_EQ(g.Cells(-1, 99), "");
    EXPECT_EQ(g.Objects(1000, 1000), nullptr);
}

TEST(GridData, MovedRowTakesItsCellsAndHeightAndTheCurrentRowFollows)
{
    TRecordingGrid g;
    for (int r = 0; r < 5; ++r)
        g.SetCells(0, r, std::string(1, static_cast<char>('a' + r)));
    g.SetRowHeights(1, 40);
    g.SetRow(1);
    g.Log.clear();
    g.MoveRow(1, 3);
    EXPECT_EQ(FirstColumn(g), "a/c/d/b/e");
    EXPECT_EQ(g.RowHeights(3), 40);
    EXPECT_EQ(g.RowHeights(1), 24);
    EXPECT_EQ(g.Row(), 3);
    EXPECT_EQ(g.Log, (std::vector<std::string>{"row moved 1,3"}));
    g.DeleteRow(0);
    EXPECT_EQ(FirstColumn(g), "c/d/b/e");
    EXPECT_THROW(g.MoveRow(0, 4), EInvalidGridOperation);
    EXPECT_TRUE(g.CheckConsistency());
}

TEST(GridData, RefusedCellKeepsTheCurrentCell)
{
    TRecordingGrid g;
    g.Refused = {{2, 3}};
    EXPECT_FALSE(g.FocusCell(2, 3, true));
    EXPECT_EQ((TGridCoord{g.Col(), g.Row()}), (TGridCoord{1, 1}));
    EXPECT_TRUE(g.FocusCell(2, 2, true));
    ExpectRaises<EInvalidGridOperation>([&] { g.SetRow(5); }, "Grid index out of range");
}

TEST(GridData, RangeSelectionKeepsItsAnchorAndRowSelectTakesWholeRows)
{
    TCustomGridData g;
    g.FocusCell(1, 1, true);
    g.FocusCell(3, 2, false);
    EXPECT_EQ(g.Selection(), (TGridRect{1, 1, 3, 2}));
    g.SetOptions(g.Options() << goRowSelect);
    EXPECT_EQ(g.Selection(), (TGridRect{1, 1, 4, 2}));
    g.SetOptions(g.Options() >> goRowSelect >> goRangeSelect);
    g.FocusCell(2, 4, false);
    EXPECT_EQ(g.Selection(), (TGridRect{2, 4, 2, 4}));
}

TEST(GridData, CellRectAndMouseToCellAgreeAndTheCurrentCellScrollsIntoView)
{
    TCustomGridData g;
    g.SetRowCount(100);
    g.SetViewSize(200, 101);  // the fixed row and three rows of 24 plus grid lines
    EXPECT_EQ(g.VisibleRowCount(), 3);
    EXPECT_EQ(g.CellRect(1, 1), Rect(65, 25, 129, 49));
    EXPECT_EQ(g.MouseToCell(70, 30), (TGridCoord{1, 1}));
    EXPECT_EQ(g.MouseToCell(1000, 30), (TGridCoord{-1, -1}));
    g.SetRow(50);
    EXPECT_EQ(g.TopRow(), 48);
    EXPECT_TRUE(g.CellRect(1, 1).IsEmpty());
    EXPECT_EQ(g.MouseToCell(70, 30), (TGridCoord{1, 48}));
    g.SetRow(10);
    EXPECT_EQ(g.TopRow(), 10);
    g.SetTopRow(1000);
    EXPECT_EQ(g.TopRow(), 97);  // the last three rows fill the view
}

TEST(GridData, RandomEditsStayConsistent)
{
    std::mt19937 random(7);
    TCustomGridData g;
    const auto pick = [&](int n) { return n > 0 ? static_cast<int>(random() % static_cast<unsigned>(n)) : 0; };
    for (int step = 0; step < 3000; ++step) {
        SCOPED_TRACE(step);
        try {
            switch (pick(9)) {
            case 0: g.SetRowCount(pick(12)); break;
            case 1: g.SetColCount(pick(12)); break;
            case 2: g.SetFixedRows(pick(3)); break;
            case 3: g.SetFixedCols(pick(3)); break;
            case 4: g.SetCells(pick(20), pick(g.RowCount() + 1), "t" + std::to_string(step)); break;
            case 5: g.MoveRow(pick(g.RowCount()), pick(g.RowCount())); break;
            case 6: g.MoveColumn(pick(g.ColCount()), pick(g.ColCount())); break;
            case 7: g.FocusCell(pick(g.ColCount()), pick(g.RowCount()), pick(2)); break;
            default: g.SetRowHeights(pick(g.RowCount() + 1), pick(40)); break;
            }
        } catch (const EInvalidGridOperation&) {}
        ASSERT_TRUE(g.CheckConsistency());
    }
}

// The cell store against a plain map under random writes near and far apart and column moves: a
// row switching between one slot a column and only its cells never loses or moves a cell.
TEST(GridCells, RandomWritesAndColumnMovesAgreeWithAPlainMap)
{
    std::mt19937 random(11);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    TGridCells cells;
    cells.SetRowCount(3);
    std::map<std::pair<int, int>, std::pair<std::string, TObject*>> want;  // (row, col)
    TObject object;
    for (int step = 0; step < 4000; ++step) {
        SCOPED_TRACE(step);
        const int row = pick(3), col = pick(4) ? pick(40) : pick(3000), count = 1 + pick(50), to = pick(60);
        // Where a column's cells go (-1: gone) after the step's column operation.
        std::function<int(int)> moved;
        switch (pick(7)) {
        case 0:
        case 1: {
            const std::string text = pick(4) ? "t" + std::to_string(step) : "";
            cells.SetText(col, row, text);
            want[{row, col}].first = text;
            break;
        }
        case 2:
            cells.SetObject(col, row, pick(2) ? &object : nullptr);
            want[{row, col}].second = cells.Object(col, row);
            break;
        case 3:
            cells.InsertCols(col, count);
            moved = [&](int c) { return c < col ? c : c + count; };
            break;
        case 4:
            cells.DeleteCols(col, count);
            moved = [&](int c) { return c < col ? c : c < col + count ? -1 : c - count; };
            break;
        case 5:
            cells.MoveCol(col, to);
            moved = [&](int c) {
                if (c == col)
                    return to;
                return c > col && c <= to ? c - 1 : c >= to && c < col ? c + 1 : c;
            };
            break;
        default: cells.ExchangeCols(col, to); moved = [&](int c) { return c == col ? to : c == to ? col : c; };
        }
        if (moved) {
            std::map<std::pair<int, int>, std::pair<std::string, TObject*>> after;
            for (const auto& [at, cell] : want)
                if (const int c = moved(at.second); c >= 0)
                    after[{at.first, c}] = cell;
            want.swap(after);
        }
        ASSERT_TRUE(cells.CheckConsistency());
        for (const auto& [at, cell] : want) {
            ASSERT_EQ(cells.Text(at.second, at.first), cell.first) << at.first << "," << at.second;
            ASSERT_EQ(cells.Object(at.second, at.first), cell.second) << at.first << "," << at.second;
        }
        for (int r = 0; step % 16 == 0 && r < 3; ++r)
            for (int c = cells.NextStoredCol(r, 0); c >= 0; c = cells.NextStoredCol(r, c + 1))
                ASSERT_TRUE(want.count({r, c})) << r << "," << c;
    }
}

namespace {

// A size or window as large as int holds, and what the geometry gives with it.
struct THugeCase {
    const char* name;
    std::function<void(TCustomGridData&)> set;
};
void PrintTo(const THugeCase& c, std::ostream* os) { *os << c.name; }

}  // namespace

class HugeGeometry : public ::testing::TestWithParam<THugeCase> {};

// Pixel sums are taken in 64 bits: nothing overflows (the sanitizer build aborts on that), the
// first cells keep their places, and a cell past the view is out of it.
TEST_P(HugeGeometry, RegressionSizesAndWindowsNearIntMaxDoNotOverflow)
{
    TCustomGridData g;
    g.SetColCount(4);
    g.SetRowCount(4);
    GetParam().set(g);
    EXPECT_GE(g.VisibleColCount(), 1);
    EXPECT_GE(g.VisibleRowCount(), 1);
    const TRect first = g.CellRect(0, 0);
    EXPECT_EQ(first.Left, 0);
    EXPECT_GE(first.Right, first.Left);
    EXPECT_EQ(g.MouseToCell(0, 0), (TGridCoord{0, 0}));
    const TRect far = g.CellRect(3, 3);
    EXPECT_GE(far.Right, far.Left);
    g.MoveIntoView(3, 3);
    g.SetTopRow(3);
    g.SetLeftCol(3);
    EXPECT_TRUE(g.CheckConsistency());
}

const THugeCase kHuge[] = {
    {"DefaultColWidth", [](TCustomGridData& g) { g.SetDefaultColWidth(INT_MAX); }},
    {"DefaultRowHeight", [](TCustomGridData& g) { g.SetDefaultRowHeight(INT_MAX); }},
    {"FixedColWidth", [](TCustomGridData& g) { g.SetColWidths(0, INT_MAX); }},
    {"GridLineWidth", [](TCustomGridData& g) { g.SetGridLineWidth(INT_MAX); }},
    {"Window", [](TCustomGridData& g) { g.SetViewSize(INT_MAX, INT_MAX); }},
    {"EverythingAtOnce",
     [](TCustomGridData& g) {
         g.SetDefaultColWidth(INT_MAX);
         g.SetDefaultRowHeight(INT_MAX);
         g.SetGridLineWidth(INT_MAX);
         g.SetViewSize(INT_MAX, INT_MAX);
     }},
};
INSTANTIATE_TEST_SUITE_P(GridData, HugeGeometry, ::testing::ValuesIn(kHuge),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(GridAxis, RegressionFixedExtentPastIntMaxReadsIntMax)
{
    TGridAxis axis(INT_MAX);
    axis.SetFixed(2);
    EXPECT_EQ(axis.FixedExtent(1), INT_MAX);
    EXPECT_EQ(axis.FixedExtent64(1), 2 * (int64_t{INT_MAX} + 1));
    EXPECT_EQ(axis.Position(3, INT_MAX, INT_MAX), -1);
    EXPECT_EQ(axis.IndexAt(INT_MAX, INT_MAX), 0);
}

namespace {

struct TFixedCase {
    const char* name;
    std::function<void(TCustomGridData&)> change;
    TGridCoord first;    // LeftCol, TopRow afterwards
    TGridCoord current;  // Col, Row afterwards
};

void PrintTo(const TFixedCase& c, std::ostream* os) { *os << c.name; }

}  // namespace

class FixedCountView : public ::testing::TestWithParam<TFixedCase> {};

// Setting FixedCols to 0 left LeftCol (and Col) at 1, hiding column 0 behind the view's start;
// setting a fixed count to the value it has moved the view back to the start.
TEST_P(FixedCountView, RegressionFixedCountLeftTheViewOnAnOldFirstItem)
{
    TRecordingGrid g;
    g.SetColCount(20);
    g.SetRowCount(50);
    g.SetViewSize(200, 200);
    g.SetCol(7);
    g.SetRow(12);
    g.SetLeftCol(5);
    g.SetTopRow(10);
    GetParam().change(g);
    EXPECT_EQ((TGridCoord{g.LeftCol(), g.TopRow()}), GetParam().first);
    EXPECT_EQ((TGridCoord{g.Col(), g.Row()}), GetParam().current);
    EXPECT_EQ(g.Selection(), (TGridRect{g.Col(), g.Row(), g.Col(), g.Row()}));
    EXPECT_TRUE(g.CheckConsistency());
}

const TFixedCase kFixed[] = {
    {"NoFixedColumn", [](TCustomGridData& g) { g.SetFixedCols(0); }, {0, 10}, {0, 12}},
    {"NoFixedRow", [](TCustomGridData& g) { g.SetFixedRows(0); }, {5, 0}, {7, 0}},
    {"MoreFixedColumns", [](TCustomGridData& g) { g.SetFixedCols(3); }, {3, 10}, {3, 12}},
    {"MoreFixedRows", [](TCustomGridData& g) { g.SetFixedRows(2); }, {5, 2}, {7, 2}},
    {"SameFixedCountKeepsTheView",
     [](TCustomGridData& g) {
         g.SetFixedCols(1);
         g.SetFixedRows(1);
     },
     {5, 10},
     {7, 12}},
    {"BothCountsZero",
     [](TCustomGridData& g) {
         g.SetFixedRows(0);
         g.SetFixedCols(0);
     },
     {0, 0},
     {0, 0}},
};
INSTANTIATE_TEST_SUITE_P(GridData, FixedCountView, ::testing::ValuesIn(kFixed),
                         [](const auto& row) { return std::string(row.param.name); });
