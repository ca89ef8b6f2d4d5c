// Sorting through gridrun: the sorts by "call", the sort-index list, and the header click
// through the window's mouse release, with the events it fires.

#include "tests/grid/tool/GridRunSupport.h"

namespace {

struct TSortRunCase {
    const char* name;
    const char* directives;
    const char* out;
};
void PrintTo(const TSortRunCase& c, std::ostream* os) { *os << c.name; }

// Three data rows under a header; column 1 holds letters, column 2 numbers.
constexpr const char* kRows = "set RowCount 4\nblock 0 0 n\\tk\\tv\\n1\\tc\\t10\\n2\\ta\\t9\\n3\\tb\\t-1\n";

}  // namespace

class GridRunSort : public ::testing::TestWithParam<TSortRunCase> {};

TEST_P(GridRunSort, Prints)
{
    const TRun run = GridRun(std::string(kRows) + GetParam().directives, true);
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, GetParam().out);
}

const TSortRunCase kSortRuns[] = {
    {"CallSortsByColumnByIndexesAndByExchange",
     "set SortColumn 2\ncall QSort\n? Cells 0 1\ncall QSortIndexed\nsortindex 1 desc\ncall QSortIndexed\n"
     "? Cells 0 1\nset SortDirection sdDescending\ncall SortByColumn 2\n? Cells 0 1\n",
     "QSort =\nCells 0 1 = 3\nerror: ECellGridError: No indexes specified for indexed sort\nQSortIndexed =\n"
     "Cells 0 1 = 1\nSortByColumn 2 =\nCells 0 1 = 1\n"},
    {"HeaderClickSortsAscendingThenDescending",
     "set SortShow true\nevents OnClickSort\nclick 1 0\n? Cells 0 1\nclick 1 0\n? Cells 0 1\n? SortDirection\n",
     "event OnClickSort 1\nCells 0 1 = 2\nevent OnClickSort 1\nCells 0 1 = 1\nSortDirection = sdDescending\n"},
    {"HeaderClickOnAnotherColumnStartsAscending",
     "set SortShow true\nset SortDirection sdDescending\nset SortColumn 1\nclick 2 0\n? SortColumn\n? SortDirection\n"
     "? Cells 0 1\n",
     "SortColumn = 2\nSortDirection = sdAscending\nCells 0 1 = 3\n"},
    {"TwoDataRowsSortOneDoesNot",
     "set SortShow true\nevents OnClickSort\nset RowCount 2\nclick 1 0\n? Cells 1 1\nset RowCount 3\ncell 1 2 a\n"
     "click 1 0\n? Cells 1 1\n",
     "Cells 1 1 = c\nevent OnClickSort 1\nCells 1 1 = a\n"},
    {"WithoutSortShowNothingSorts", "events OnClickSort,OnCanSort\nclick 1 0\n? Cells 0 1\n", "Cells 0 1 = 1\n"},
    {"OnCanSortVetoes",
     "set SortShow true\nevents OnClickSort,OnCanSort\nanswer OnCanSort * false\nclick 1 0\n? Cells 0 1\n",
     "event OnCanSort 1 true\nCells 0 1 = 1\n"},
    {"APressBelowTheHeaderDoesNotSort",
     "set SortShow true\nevents OnClickSort\nmouse down left 100 35\nmouse up left 100 10\n? Cells 0 1\n",
     "Cells 0 1 = 1\n"},
    {"ASizeGripDoesNotSort",
     "set SortShow true\nset Options +[goColSizing]\nevents OnClickSort\nmouse down left 127 10\nmouse up left 127 10\n"
     "? Cells 0 1\n",
     "Cells 0 1 = 1\n"},
    {"FixedColumnsSortOnlyWithSortFixedCols",
     "set SortShow true\nevents OnClickSort\nclick 0 0\nset SortFixedCols true\nclick 0 0\n? SortDirection\n"
     "? Cells 1 1\n",
     "event OnClickSort 0\nSortDirection = sdDescending\nCells 1 1 = b\n"},
    {"IndexListWithAndWithoutShift",
     "set SortShow true\nset SortIndexShow true\nclick 1 0\n? SortIndexes\nclick 2 0 ssShift\n? SortIndexes\n"
     "click 2 0 ssShift\n? SortIndexes\n? Cells 0 1\nclick 2 0\n? SortIndexes\nclick 2 0\n? SortIndexes\n",
     "SortIndexes = 1 asc\nSortIndexes = 1 asc,2 asc\nSortIndexes = 1 asc,2 desc\nCells 0 1 = 2\n"
     "SortIndexes = 2 asc\nSortIndexes = 2 desc\n"},
    {"GroupedGridSortsEachGroup", "set SortShow true\nblock 3 0 g\\nx\\ny\\nx\ncall Group 3\nclick 1 0\ndump\n",
     "Group 3 =\nColCount=4 RowCount=6 FixedCols=1 FixedRows=1 HiddenCols=0 HiddenRows=0\n0:|n|k|v|\n1:|||x|\n"
     "2:|3|b|-1|\n3:|1|c|10|\n4:|||y|\n5:|2|a|9|\n"},
};
INSTANTIATE_TEST_SUITE_P(Tool, GridRunSort, ::testing::ValuesIn(kSortRuns),
                         [](const auto& row) { return std::string(row.param.name); });
