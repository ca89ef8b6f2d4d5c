// Selection, row-select flags, the Enter advance, the incremental key search and the grid's
// own keys on a model without a window: each scenario logs the events and repaints it caused.

#include "tests/grid/model/GridModelSupport.h"

namespace {

// A model that logs its row repaints and the events scenarios bind.
class TLogModel : public TCellModel {
public:
    std::string Log;
    void InvalidateRow(int ARow) override { Log += "paint " + std::to_string(ARow) + ";"; }
    void Note(const std::string& s) { Log += s + ";"; }
};

std::string Current(const TCellModel& g) { return std::to_string(g.Col()) + "," + std::to_string(g.Row()); }

struct TSelectCase {
    const char* name;
    const char* rows;
    std::function<std::string(TLogModel&)> run;
    std::string want;
};
void PrintTo(const TSelectCase& c, std::ostream* os) { *os << c.name; }

}  // namespace

class Selecting : public ::testing::TestWithParam<TSelectCase> {};

TEST_P(Selecting, Gives)
{
    TLogModel g;
    g.EnableGraphics = true;
    Fill(g, GetParam().rows);
    g.Log.clear();
    EXPECT_EQ(GetParam().run(g), GetParam().want);
    EXPECT_TRUE(g.CheckConsistency());
}

const TSelectCase kSelecting[] = {
    {"RowSelectRepaintsOnlyAChange", "h/a/b/c/d",
     [](TLogModel& g) {
         g.SetRowSelect(3, true);
         g.SetRowSelect(3, true);
         const int count = g.GetRowSelectCount();
         g.ClearRowSelect();
         return g.Log + std::to_string(count) + " " + std::to_string(g.GetRowSelectCount());
     },
     "paint 3;paint 3;1 0"},
    {"RowSelectOutsideTheRowsRaises", "h/a",
     [](TLogModel& g) {
         try {
             g.GetRowSelect(g.RowCount());
         } catch (const ECellGridError& e) {
             return e.Message;
         }
         return std::string("no error");
     },
     "Invalid row accessed"},
    {"RegressionRemoveSelectedRowsAfterAMoveRemovesTheRowsTheUserChose", "h/a/b/c/d",
     [](TLogModel& g) {
         g.SetRowSelect(1, true);
         g.MoveRow(1, 3);
         g.MoveRowSelect(1, 3);
         g.InsertRows(1, 1);
         g.RemoveSelectedRows();
         return Dump(g);
     },
     "h//b/c/d"},
    {"RegressionSortSwapsCarryTheFlagsWithoutDisjunctSelect", "h/a/b",
     [](TLogModel& g) {
         g.SetRowSelect(1, true);
         g.SortSwapRows(1, 2);
         return std::to_string(g.GetRowSelect(1)) + std::to_string(g.GetRowSelect(2));
     },
     "01"},
    {"SelectRowsSpansTheNormalColumns", "h|h|h/a|b|c/d|e|f",
     [](TLogModel& g) {
         g.SelectRows(1, 2);
         const TGridRect s = g.Selection();
         return std::to_string(s.Left) + std::to_string(s.Top) + std::to_string(s.Right) + std::to_string(s.Bottom);
     },
     "1122"},
    {"SelectColsSpansTheNormalRows", "h|h|h/a|b|c/d|e|f",
     [](TLogModel& g) {
         g.SelectCols(2, 1);
         const TGridRect s = g.Selection();
         return std::to_string(s.Left) + std::to_string(s.Top) + std::to_string(s.Right) + std::to_string(s.Bottom);
     },
     "2122"},
    {"SelectToRowSelectFlagsTheRectangleRows", "h|h/a|b/c|d/e|f",
     [](TLogModel& g) {
         g.MouseActions()->DisjunctRowSelect = true;
         g.SelectRange(1, 1, 2, 3);
         g.SelectToRowSelect(99);
         std::string rows;
         for (int r : g.SelectedTextRows())
             rows += std::to_string(r);
         return rows + " " + std::to_string(g.IsSelected(0, 2)) + std::to_string(g.IsSelected(1, 1));
     },
     "23 10"},
    {"IsSelectedReadsTheRectangle", "h|h|h/a|b|c/d|e|f",
     [](TLogModel& g) {
         g.SelectRange(1, 2, 1, 1);
         return std::to_string(g.IsSelected(2, 1)) + std::to_string(g.IsSelected(2, 2));
     },
     "10"},
    {"AdvanceRefusedByOnCanAddRowStays", "h|h|h/a|b|c/d|e|f",
     [](TLogModel& g) {
         g.SetOptions(g.Options() | TGridOptions{goEditing});
         g.Navigation()->AdvanceOnEnter = g.Navigation()->AdvanceInsert = true;
         g.OnCanAddRow = [&](TObject*, bool& can) {
             g.Note("canadd");
             can = false;
         };
         g.SetCol(2);
         g.SetRow(2);
         g.AdvanceEdit(2, 2, true, false, false);
         return g.Log + Current(g) + " rows " + std::to_string(g.RowCount());
     },
     "canadd;2,2 rows 3"},
    {"AdvanceInsertAddsARowBeforeTheFooter", "h|h/a|b/f|f",
     [](TLogModel& g) {
         g.SetOptions(g.Options() | TGridOptions{goEditing});
         g.SetFixedFooters(1);
         g.Navigation()->AdvanceOnEnter = g.Navigation()->AdvanceInsert = true;
         g.OnAutoAddRow = [&](TObject*, int row) { g.Note("added " + std::to_string(row)); };
         g.AdvanceEdit(1, 1, true, false, false);
         return g.Log + Current(g) + " " + Dump(g);
     },
     "added 2;1,2 h|h/a|b/|/f|f"},
    {"AdvanceBackwardTopToBottomGoesUpThenToThePreviousColumn", "h|h|h/a|b|c/d|e|f/g|h|i",
     [](TLogModel& g) {
         g.SetOptions(g.Options() | TGridOptions{goEditing});
         g.Navigation()->AdvanceDirection = adTopBottom;
         g.AdvanceEdit(2, 3, false, false, true);
         const std::string first = Current(g);
         g.AdvanceEdit(2, 1, false, false, true);
         return first + " " + Current(g);
     },
     "2,2 1,3"},
    {"AdvanceSkipsCellsThatMayNotBeEdited", "h|h|h/a|b|c/d|e|f",
     [](TLogModel& g) {
         g.SetOptions(g.Options() | TGridOptions{goEditing});
         g.OnCanEditCell = [](TObject*, int, int col, bool& can) { can = col == 1; };
         g.AdvanceEdit(1, 1, true, false, true);
         return Current(g);
     },
     "1,2"},
    {"RegressionAdvanceWithoutAnEditableCellStopsAndKeepsTheCell", "h|h|h/a|b|c/d|e|f",
     [](TLogModel& g) {
         g.SetOptions(g.Options() | TGridOptions{goEditing});
         int asked = 0;
         g.OnCanEditCell = [&](TObject*, int, int, bool& can) {
             ++asked;
             can = false;
         };
         g.SetCol(2);
         g.AdvanceEdit(2, 1, true, false, true);
         return Current(g) + " asked " + std::to_string(asked);
     },
     "2,1 asked 4"},
    {"IncrementalSearchAppendsAndBackspaceTakesAway", "h|h/x|apple/y|banana/z|bb",
     [](TLogModel& g) {
         g.Navigation()->AutoGotoWhenSorted = g.Navigation()->AutoGotoIncremental = true;
         g.IncrementalSearch('b');
         g.IncrementalSearch('b');
         const std::string two = g.SearchText() + Current(g);
         g.IncrementalSearch('\b');
         return two + " " + g.SearchText() + Current(g);
     },
     "BB1,3 B1,2"},
    {"IncrementalSearchIsOffWhileEditing", "h|h/x|apple/y|banana",
     [](TLogModel& g) {
         g.SetOptions(g.Options() | TGridOptions{goEditing});
         g.Navigation()->AutoGotoWhenSorted = true;
         g.IncrementalSearch('b');
         return g.SearchText() + Current(g);
     },
     "1,1"},
};
INSTANTIATE_TEST_SUITE_P(Cases, Selecting, ::testing::ValuesIn(kSelecting),
                         [](const auto& row) { return std::string(row.param.name); });

namespace {

struct TKeyCase {
    const char* name;
    const char* rows;
    std::function<std::string(TLogModel&)> run;
    std::string want;
};
void PrintTo(const TKeyCase& c, std::ostream* os) { *os << c.name; }

void LogRowEvents(TLogModel& g)
{
    g.OnCanDeleteRow = [&](TObject*, int row, bool&) { g.Note("candelete " + std::to_string(row)); };
    g.OnAutoDeleteRow = [&](TObject*, int row) { g.Note("deleted " + std::to_string(row)); };
    g.OnCanInsertRow = [&](TObject*, int row, bool&) { g.Note("caninsert " + std::to_string(row)); };
    g.OnAutoInsertRow = [&](TObject*, int row) { g.Note("inserted " + std::to_string(row)); };
    g.OnCheckBoxClick = [&](TObject*, int col, int row, bool state) {
        g.Note("check " + std::to_string(col) + " " + std::to_string(row) + " " + std::to_string(state));
    };
    g.OnCanEditCell = nullptr;
}

}  // namespace

class GridKeys : public ::testing::TestWithParam<TKeyCase> {};

TEST_P(GridKeys, Do)
{
    TLogModel g;
    g.EnableGraphics = true;
    Fill(g, GetParam().rows);
    LogRowEvents(g);
    g.Navigation()->AllowDeleteRow = g.Navigation()->AllowInsertRow = true;
    g.Log.clear();
    EXPECT_EQ(GetParam().run(g), GetParam().want);
    EXPECT_TRUE(g.CheckConsistency());
}

const TKeyCase kKeys[] = {
    {"DeleteOnTheOnlyDataRowEmptiesIt", "h|h/a|b",
     [](TLogModel& g) {
         g.KeyDeleteRow({});
         return g.Log + Dump(g);
     },
     "candelete 1;deleted 1;h|h/|"},
    {"DeleteRemovesTheRow", "h|h/a|b/c|d",
     [](TLogModel& g) {
         g.KeyDeleteRow({});
         return g.Log + Dump(g);
     },
     "candelete 1;deleted 1;h|h/c|d"},
    {"DeleteVetoedKeepsTheRow", "h|h/a|b/c|d",
     [](TLogModel& g) {
         g.OnCanDeleteRow = [](TObject*, int, bool& can) { can = false; };
         g.KeyDeleteRow({});
         return g.Log + Dump(g);
     },
     "h|h/a|b/c|d"},
    {"DeleteWithAltDoesNothing", "h|h/a|b/c|d",
     [](TLogModel& g) { return std::to_string(g.KeyDeleteRow({ssAlt})) + Dump(g); }, "0h|h/a|b/c|d"},
    {"InsertAfterOnRowThreeMakesRowFourCurrent", "h|h/a|1/b|2/c|3/d|4",
     [](TLogModel& g) {
         g.Navigation()->InsertPosition = pInsertAfter;
         g.SetRow(3);
         g.KeyInsertRow({});
         return g.Log + Current(g) + " " + Dump(g);
     },
     "caninsert 3;inserted 4;1,4 h|h/a|1/b|2/c|3/|/d|4"},
    {"InsertBeforeKeepsTheIndex", "h|h/a|1/b|2",
     [](TLogModel& g) {
         g.SetRow(2);
         g.KeyInsertRow({});
         return g.Log + Current(g) + " " + Dump(g);
     },
     "caninsert 2;inserted 2;1,2 h|h/a|1/|/b|2"},
    {"InsertWithShiftIsNoRowInsert", "h|h/a|1",
     [](TLogModel& g) { return std::to_string(g.KeyInsertRow({ssShift})) + g.Log; }, "0"},
    {"SpaceOnACheckBoxWithoutEditingChangesNothing", "h|h/a|b",
     [](TLogModel& g) {
         g.AddCheckBox(1, 1, false, false);
         g.KeySpace();
         bool state = true;
         g.GetCheckBoxState(1, 1, state);
         return g.Log + std::to_string(state);
     },
     "0"},
    {"SpaceOnACheckBoxThatOnCanEditCellAllowsFlipsIt", "h|h/a|b",
     [](TLogModel& g) {
         g.AddCheckBox(1, 1, false, false);
         g.OnCanEditCell = [](TObject*, int, int, bool& can) { can = true; };
         g.KeySpace();
         return g.Log;
     },
     "check 1 1 1;"},
    {"SpaceOnAPlainCellOfAnEditingGridReportsFalse", "h|h/a|b",
     [](TLogModel& g) {
         g.SetOptions(g.Options() | TGridOptions{goEditing});
         g.KeySpace();
         return g.Log;
     },
     "check 1 1 0;"},
    {"TabFromTheLastNormalColumnGoesToTheNextRow", "h|h|h|f/a|b|c|f/d|e|f|f",
     [](TLogModel& g) {
         g.SetOptions(g.Options() | TGridOptions{goTabs});
         g.SetFixedRightCols(1);
         g.KeyTabWrap(2, 1);
         const std::string first = Current(g);
         g.KeyTabWrap(2, 2);
         return first + " " + Current(g);
     },
     "1,2 1,1"},
};
INSTANTIATE_TEST_SUITE_P(Cases, GridKeys, ::testing::ValuesIn(kKeys),
                         [](const auto& row) { return std::string(row.param.name); });
