// Rows and columns of the cell grid's model: insert, remove, clear, merge, swap, hide and
// unhide, nodes and grouping. Every scenario ends with the model's consistency check, which
// also finds an extra held by two cells; the address sanitizer finds one freed twice or lost.

#include <climits>
#include <random>

#include "tests/grid/model/GridModelSupport.h"

namespace {

// Adds a check box extra (as the extras' operations do) and returns it.
TCellGraphic* Check(TCellModel& g, int col, int row)
{
    TCellGraphic* extra = g.CreateCellGraphic(col, row);
    extra->SetCheckBox(true, false, haBeforeText, vaTop);
    return extra;
}

}  // namespace

class Structure : public ::testing::TestWithParam<TGridScenario> {};

TEST_P(Structure, LeavesTheCells)
{
    TCellModel g;
    Play(g, GetParam());
}

const TGridScenario kStructure[] = {
    {"InsertRowsLeavesNewRowsEmptyAndOfDefaultHeight", "h|h/a|1/b|2",
     [](TCellModel& g) {
         g.SetRowHeights(1, 40);
         Check(g, 1, 1);
         g.InsertRows(1, 2);
         EXPECT_EQ(g.RowHeights(1), 21);
         EXPECT_EQ(g.RowHeights(3), 40);
         EXPECT_EQ(g.GetCellType(1, 1), ctEmpty);
         EXPECT_EQ(g.GetCellType(1, 3), ctCheckBox);
     },
     "h|h/|/|/a|1/b|2"},
    {"RemoveRowsFreesTheirExtras", "h|h/a|1/b|2/c|3",
     [](TCellModel& g) {
         Check(g, 1, 2);
         g.RemoveRows(1, 2);
     },
     "h|h/c|3"},
    {"RemoveRowsMovesTheCursorToTheLastNormalRow", "h/a/b/c/f",
     [](TCellModel& g) {
         g.SetFixedFooters(1);
         g.SetRow(3);
         g.RemoveRows(2, 2);
         EXPECT_EQ(g.Row(), 1);
     },
     "h/a/f"},
    {"RemoveRowsHidesTheSelectionWhenNoNormalRowIsLeft", "h/a/f",
     [](TCellModel& g) {
         g.SetFixedFooters(1);
         g.RemoveRows(1, 1);
         EXPECT_EQ(g.Selection(), (TGridRect{1, 2, 1, 2}));
     },
     "h/f"},
    {"RemoveRowsExRestoresTheCursorWhereItStillExists", "h/a/b/c/d",
     [](TCellModel& g) {
         g.SetRow(2);
         g.RemoveRowsEx(3, 1);
         EXPECT_EQ(g.Row(), 2);
     },
     "h/a/b/d"},
    {"ClearNormalCellsKeepsEveryFixedPart", "h|h|h|h/a|1|2|r/b|3|4|r/f|f|f|f",
     [](TCellModel& g) {
         g.SetFixedFooters(1);
         g.SetFixedRightCols(1);
         g.HideColumn(2);
         Check(g, 1, 1);
         g.ClearNormalCells();
         EXPECT_EQ(g.Objects(1, 1), nullptr);
     },
     "h|h|h|h/a|||r/b|||r/f|f|f|f"},
    {"ClearRectLeavesForeignObjects", "h|h/a|1",
     [](TCellModel& g) {
         TStringList foreign;
         g.SetObjects(1, 1, &foreign);
         g.ClearRect(0, 0, 9, 9);
         EXPECT_EQ(g.Objects(1, 1), &foreign);
         g.SetObjects(1, 1, nullptr);
     },
     "|/|"},
    {"MergeColsJoinsWithOneBlank", "h|x|y/ a |b|c", [](TCellModel& g) { g.MergeCols(0, 1); }, "h|y/a b|c"},
    {"RegressionMergeColsOfAColumnWithItselfChangesNothing", "h|x|y/a|b|c", [](TCellModel& g) { g.MergeCols(1, 1); },
     "h|x|y/a|b|c"},
    {"RegressionMergeColsLeavesNoBlankAfterAnEmptyFirstText", "h|x/ |b", [](TCellModel& g) { g.MergeCols(0, 1); },
     "h/b"},
    {"SwapColumnsTakesTheSortColumnAlong", "a|b|c/1|2|3",
     [](TCellModel& g) {
         g.SetSortColumn(2);
         g.SwapColumns(0, 2);
         EXPECT_EQ(g.SortColumn(), 0);
     },
     "c|b|a/3|2|1"},
    {"SwapRowsExchangesHeights", "h/a/b",
     [](TCellModel& g) {
         g.SetRowHeights(1, 30);
         g.SwapRows(1, 2);
         EXPECT_EQ(g.RowHeights(2), 30);
     },
     "h/b/a"},
    {"HideColumnKeepsItsCellsAndMapsTheIndexes", "a|b|c|d/1|2|3|4",
     [](TCellModel& g) {
         g.SetColWidths(2, 40);
         g.HideColumn(2);
         EXPECT_EQ(g.ColCount(), 3);
         EXPECT_EQ(g.RealCol(2), 3);
         EXPECT_EQ(g.DisplCol(3), 2);
         EXPECT_TRUE(g.IsHiddenColumn(2));
         g.UnhideColumn(2);
         EXPECT_EQ(g.ColWidths(2), 40);
     },
     "a|b|c|d/1|2|3|4"},
    {"HidingTheOnlyVisibleColumnDoesNothing", "a/1",
     [](TCellModel& g) {
         g.HideColumn(0);
         EXPECT_EQ(g.NumHiddenColumns(), 0);
     },
     "a/1"},
    {"RegressionInsertColsMovesHiddenColumnsAlong", "a|b|c|d",
     [](TCellModel& g) {
         g.SetColWidths(2, 40);
         g.HideColumn(2);
         g.InsertCols(1, 1);
         EXPECT_TRUE(g.IsHiddenColumn(3));
         EXPECT_FALSE(g.IsHiddenColumn(2));
         g.UnhideColumn(3);
         EXPECT_EQ(g.ColWidths(3), 40);
     },
     "a||b|c|d"},
    {"RegressionRemoveColsMovesHiddenColumnsAlong", "a|b|c|d",
     [](TCellModel& g) {
         g.HideColumn(3);
         g.RemoveCols(0, 2);
         EXPECT_TRUE(g.IsHiddenColumn(1));
         EXPECT_EQ(g.ColCount(), 1);
     },
     "c|d"},
    // A moved column's cells went to the display index as a real one, so a hidden column
    // between took the moved column's place in view and a shown one went out of it.
    {"RegressionMoveColumnPastAHiddenColumnKeepsItHidden", "a|b|c|d|e",
     [](TCellModel& g) {
         g.HideColumn(2);
         g.MoveColumn(1, 3);
         EXPECT_TRUE(g.IsHiddenColumn(1));
         EXPECT_EQ(g.NumHiddenColumns(), 1);
         EXPECT_EQ(g.Cells(g.RealCol(3), 0), "b");
         EXPECT_EQ(g.MovedRealCols(), (TGridCoord{1, 4}));
     },
     "a|c|d|e|b"},
    {"RegressionMoveColumnLeftPastAHiddenColumnKeepsItHidden", "a|b|c|d|e",
     [](TCellModel& g) {
         g.HideColumn(2);
         g.SetColWidths(3, 30);
         g.MoveColumn(3, 1);
         EXPECT_TRUE(g.IsHiddenColumn(3));
         EXPECT_EQ(g.Cells(g.RealCol(1), 0), "e");
         EXPECT_EQ(g.ColWidths(1), 30);
         g.UnhideColumn(3);
     },
     "a|e|b|c|d"},
    {"HideRowAndBackWithTextsAndExtras", "h|h/a|1/b|2/c|3/d|4",
     [](TCellModel& g) {
         TCellGraphic* extra = Check(g, 1, 3);
         g.HideRow(3);
         EXPECT_TRUE(g.IsHiddenRow(3));
         EXPECT_EQ(g.NumHiddenRows(), 1);
         EXPECT_EQ(g.DisplRow(4), 3);
         EXPECT_EQ(g.RealRow(3), 4);
         EXPECT_EQ(Dump(g), "h|h/a|1/b|2/d|4");
         g.UnHideRow(3);
         EXPECT_EQ(g.Objects(1, 3), extra);
     },
     "h|h/a|1/b|2/c|3/d|4"},
    {"RegressionHideRowsSkipsRowsAlreadyHidden", "h/a/b/c/d/e",
     [](TCellModel& g) {
         g.HideRow(3);
         g.HideRows(2, 4);
         EXPECT_EQ(g.NumHiddenRows(), 3);
         EXPECT_EQ(Dump(g), "h/a/e");
         g.UnHideRowsAll();
     },
     "h/a/b/c/d/e"},
    {"UnHideRowsNeedsItsFirstRowHidden", "h/a/b/c",
     [](TCellModel& g) {
         g.HideRow(2);
         g.UnHideRows(1, 3);
     },
     "h/a/c"},
    // The hidden row keeps its real index: it comes back there, after the rows now before it.
    {"RemovedRowKeepsTheExtrasOfHiddenRows", "h|h/a|1/b|2/c|3",
     [](TCellModel& g) {
         Check(g, 1, 2);
         g.HideRow(2);
         g.RemoveRows(1, 1);
         g.UnHideRowsAll();
         EXPECT_EQ(g.GetCellType(1, 2), ctCheckBox);
     },
     "h|h/c|3/b|2"},
    {"ContractAndExpandANode", "h/n/a/b/m/c",
     [](TCellModel& g) {
         g.AddNode(1, 0);
         g.AddNode(4, 2);
         g.ContractNode(1);
         EXPECT_EQ(Dump(g), "h/n/m/c");
         EXPECT_TRUE(g.GetNodeState(1));
         g.ContractNode(4);
         EXPECT_EQ(Dump(g), "h/n/m");
         g.ExpandAll();
         EXPECT_EQ(g.NodeCount(), 2);
     },
     "h/n/a/b/m/c"},
    // The group title goes to column FixedCols + 1; ungrouping leaves the rows sorted.
    {"GroupPutsANodeRowBeforeEachValue", "h|t|w|v/1|p|q|x/2|r|s|y/3|u|z|x",
     [](TCellModel& g) {
         g.Group(3);
         EXPECT_EQ(g.NodeCount(), 2);
         EXPECT_EQ(g.GroupColumn(), 3);
         EXPECT_EQ(Dump(g), "h|t|w/||x/1|p|q/3|u|z/||y/2|r|s");
         g.UnGroup();
         EXPECT_EQ(g.NodeCount(), 0);
     },
     "h|t|w|v/1|p|q|x/3|u|z|x/2|r|s|y"},
    {"GroupLeavesLeadingEmptyValuesOutside", "h|t|w|v/1|p|q|/2|r|s|b",
     [](TCellModel& g) {
         g.Group(3);
         EXPECT_EQ(g.NodeCount(), 1);
     },
     "h|t|w/1|p|q/||b/2|r|s"},
    {"RegressionGroupWithoutValuesAddsNoNode", "h|t|w|v/1|p|q|/2|r|s|",
     [](TCellModel& g) {
         g.Group(3);
         EXPECT_EQ(g.NodeCount(), 0);
     },
     "h|t|w/1|p|q/2|r|s"},
    {"GroupOnAFixedColumnDoesNothing", "h|v/1|x", [](TCellModel& g) { g.Group(1); }, "h|v/1|x"},
    {"GroupSumWritesEachGroupsTotal", "h|n|k/a|1|x/b|2|x/c|4|y",
     [](TCellModel& g) {
         g.Group(2);
         g.GroupSum(1);
     },
     "h|n/|3.00/a|1/b|2/|4.00/c|4"},
};
INSTANTIATE_TEST_SUITE_P(Model, Structure, ::testing::ValuesIn(kStructure),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(CellModel, FixedRowAlwaysMakesTheFixedRowOneAboveOneRow)
{
    TCellModel g;
    g.SetFixedRows(0);
    g.FixedRowAlways = true;
    EXPECT_EQ(g.FixedRows(), 1);
    g.SetRowCount(1);
    EXPECT_EQ(g.GetFixedRowsEx(), 1);
    bool fixed = false;
    g.GetCellFixed(2, 0, fixed);
    EXPECT_TRUE(fixed);
    g.SetRowCount(5);
    EXPECT_EQ(g.TCustomGridData::FixedRows(), 1);
}

TEST(CellModel, ExtrasAreMadeOnTheRawSlotAndHiddenFromReadersWithGraphicsOff)
{
    TCellModel g;
    TCellGraphic* extra = Check(g, 1, 1);
    EXPECT_EQ(g.Cells(1, 1), "");
    EXPECT_EQ(g.GetCellGraphic(1, 1), nullptr);
    EXPECT_EQ(g.GetCellType(1, 1), ctEmpty);
    g.EnableGraphics = true;
    EXPECT_EQ(g.GetCellGraphic(1, 1), extra);
    EXPECT_FALSE(g.RemoveCellGraphic(1, 1, ctRadio));
    EXPECT_FALSE(g.FreeCellGraphic(2, 2));
    g.SetColors(2, 2, clRed);
    EXPECT_EQ(g.Colors(2, 2), clRed);
    EXPECT_EQ(g.GetCellType(2, 2), ctNone);
    g.SetRowCount(2);  // the extra of row 2 goes with it
    EXPECT_TRUE(g.CheckConsistency());
}

TEST(CellModel, BandsColourTheNormalRowsOnly)
{
    TCellModel g;
    g.SetRowCount(14);
    g.SetFixedFooters(1);
    g.Bands()->SetPrimaryLength(5);
    g.Bands()->SetSecondaryLength(5);
    EXPECT_EQ(g.BandColor(1, 1, false), clNone);
    g.Bands()->SetActive(true);
    std::string bands;
    for (int r = 0; r < 14; ++r)
        bands += g.BandColor(1, r, false) == clInfoBk ? 'P' : g.BandColor(1, r, false) == clWindow ? 'S' : '-';
    EXPECT_EQ(bands, "-PPPPPSSSSSPP-");
    EXPECT_EQ(g.BandColor(1, 1, true), clNone);
    g.Bands()->SetPrimaryLength(0);
    g.Bands()->SetSecondaryLength(0);
    EXPECT_EQ(g.BandColor(1, 1, false), clNone);  // no division by a period of 0
}

TEST(CellModel, IsCellFindsExactTextRowByRow)
{
    TCellModel g;
    Fill(g, "a|B/b|x/x|b");
    int col = -1, row = -1;
    EXPECT_TRUE(g.isCell("b", col, row));
    EXPECT_EQ(col, 0);
    EXPECT_EQ(row, 1);
    EXPECT_FALSE(g.isCell("A", col, row));
}

// Random hiding and unhiding, with the model checked after every step; showing everything
// again must give back exactly the starting cells.
TEST(CellModel, RandomHidingComesBackToTheStart)
{
    std::mt19937 random(11);
    const auto pick = [&](int n) { return n > 0 ? static_cast<int>(random() % static_cast<unsigned>(n)) : 0; };
    for (int round = 0; round < 20; ++round) {
        TCellModel g;
        g.EnableGraphics = true;
        Fill(g, "h|h|h|h|h/a|1|2|3|4/b|5|6|7|8/c|9|0|1|2/d|3|4|5|6/e|7|8|9|0/f|1|2|3|4");
        Check(g, 1, 2);
        g.AddNode(3, 2);
        const std::string start = Dump(g);
        for (int step = 0; step < 40; ++step) {
            SCOPED_TRACE(step);
            const int real = pick(g.RowCount() + g.NumHiddenRows());
            switch (pick(8)) {
            case 0: g.HideRow(real); break;
            case 1: g.HideRows(real, real + pick(3)); break;
            case 2: g.HideRowsEx(real, real + pick(3)); break;
            case 3: g.UnHideRows(real, real + pick(4)); break;
            case 4: g.HideColumns(pick(6), pick(6)); break;
            case 5: g.UnhideColumn(pick(6)); break;
            case 6: g.SetNodeState(3, pick(2)); break;
            default: g.UnHideRow(real); break;
            }
            ASSERT_TRUE(g.CheckConsistency());
        }
        g.ExpandAll();
        g.UnHideRowsAll();
        g.UnhideColumnsAll();
        EXPECT_EQ(Dump(g), start);
        EXPECT_EQ(g.NodeCount(), 1);
    }
}

TEST(CellModel, RegressionRemapColPastColumn255CountsHiddenColumns)
{
    TCellModel g;
    g.SetColCount(300);
    g.HideColumn(2);
    EXPECT_EQ(g.RealCol(254), 255);
    EXPECT_EQ(g.RealCol(255), 256);
    EXPECT_EQ(g.RealCol(290), 291);
    EXPECT_EQ(g.DisplCol(291), 290);
}

TEST(CellModel, RegressionUngroupFindsItsNodesWithGraphicsOff)
{
    TCellModel g;
    Fill(g, "h|t|w|v/1|p|q|x/2|r|s|y");
    g.Group(3);
    EXPECT_EQ(g.NodeCount(), 2);
    g.UnGroup();
    EXPECT_EQ(Dump(g), "h|t|w|v/1|p|q|x/2|r|s|y");
    EXPECT_TRUE(g.CheckConsistency());
}

// The base grid's own deletions free what a removed row or column holds, as RemoveRows does:
// the choices a caller shared go back to the caller alone, and the node count drops.
TEST(CellModel, RegressionDeleteRowFreesTheRowsExtras)
{
    TCellModel g;
    auto choices = std::make_shared<TStringList>();
    g.AddRadio(1, 2, 0, 0, choices);
    g.AddNode(2, 1);
    g.DeleteRow(2);
    EXPECT_EQ(choices.use_count(), 1);
    EXPECT_EQ(g.NodeCount(), 0);
    g.AddRadio(2, 1, 0, 0, choices);
    g.DeleteColumn(2);
    EXPECT_EQ(choices.use_count(), 1);
    g.AddRadio(1, 3, 0, 0, choices);
    g.TCustomGridData::SetRowCount(3);
    EXPECT_EQ(choices.use_count(), 1);
    EXPECT_TRUE(g.CheckConsistency());
}

namespace {

// Every real row in order: shown or hidden, its first two texts and its node's state.
std::string RealRows(const TCellModel& g)
{
    std::string out;
    for (int real = 0, shown = 0; real < g.RowCount() + g.NumHiddenRows(); ++real) {
        const TGridItem* item = g.HiddenRows().Find(real);
        const TStrings* cells = item ? item->Items() : nullptr;
        const auto text = [&](int c) {
            return cells ? (c < cells->Count() ? cells->Strings(c) : "") : g.Cells(c, shown);
        };
        const TCellGraphic* node =
            AsCellGraphic(cells ? (cells->Count() ? cells->Objects(0) : nullptr) : g.Objects(0, shown));
        out += std::string(cells ? "H" : "S") + text(0) + "," + text(1);
        if (node && node->CellType == ctNode)
            out += node->CellBoolean ? "-" : "+";
        out += ' ';
        shown += !cells;
    }
    return out;
}

// A grid of nodes with random spans, some contracted, some rows hidden by hand.
void RandomTree(TCellModel& g, std::mt19937& random)
{
    const int rows = 2 + static_cast<int>(random() % 40);
    g.SetRowCount(rows);
    g.SetColCount(3);
    for (int r = 0; r < rows; ++r)
        g.SetCells(1, r, std::to_string(r));
    for (int r = rows - 1; r >= 0; --r)
        if (random() % 3 == 0)
            g.AddNode(r, static_cast<int>(random() % 5));
    for (int step = 0; step < 6; ++step) {
        const int real = static_cast<int>(random() % static_cast<unsigned>(g.RowCount() + g.NumHiddenRows()));
        if (random() % 2)
            g.ContractNode(real);
        else
            g.HideRow(real);
    }
}

}  // namespace

// ExpandAll and ContractAll work in one pass; they leave every row, hidden or shown, and every
// node as expanding or contracting each node in turn does.
TEST(CellModel, RegressionExpandAllAndContractAllInOnePassMatchEachNodeInTurn)
{
    for (unsigned seed = 0; seed < 300; ++seed) {
        SCOPED_TRACE(seed);
        for (bool expand : {true, false}) {
            std::mt19937 a(seed), b(seed);
            TCellModel whole, each;
            RandomTree(whole, a);
            RandomTree(each, b);
            ASSERT_EQ(RealRows(whole), RealRows(each));
            const int last = each.RowCount() + each.NumHiddenRows() - 1;
            if (expand) {
                whole.ExpandAll();
                for (int r = 1; r <= last; ++r)
                    each.ExpandNode(r);
            } else {
                whole.ContractAll();
                for (int r = last; r >= 1; --r)
                    each.ContractNode(r);
            }
            EXPECT_EQ(RealRows(whole), RealRows(each)) << (expand ? "expand" : "contract");
            EXPECT_TRUE(whole.CheckConsistency());
        }
    }
}

TEST(CellModel, RegressionRealColOfTheLastIntWithAHiddenColumnDoesNotOverflow)
{
    TCellModel g;
    g.HideColumn(1);
    EXPECT_EQ(g.RealCol(INT_MAX), INT_MAX);
    EXPECT_EQ(g.RealCol(INT_MAX - 1), INT_MAX);
    EXPECT_EQ(g.RealCol(300), 301);
}
