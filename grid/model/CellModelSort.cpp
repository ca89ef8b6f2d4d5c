// The comparisons of sorting: one cell of a row with the cell of another row in the same
// column, by the column's sort style (grid/model/SortKeys.h holds the rules), and whole rows
// from a column on or by the sort-index list. Reading a cell never raises: a cell outside the
// grid reads as an empty text, so a sort column or index entry beyond the columns compares equal
// everywhere.

#include "grid/model/CellModel.h"
#include "grid/model/SortKeys.h"

int TCellModel::AnsiCompare(const AnsiString& S1, const AnsiString& S2, bool IgnoreCase)
{
    return IgnoreCase ? CompareText(S1, S2) : S1.compare(S2);
}

int TCellModel::Compare(int ACol, int ARow1, int ARow2)
{
    TSortLiveKeys keys(*this, ACol, SortRuleOf(*this, ACol));
    return CompareRows(keys.Rule(), keys, ARow1, ARow2);
}

int TCellModel::CompareLine(int ACol, int ARow1, int ARow2)
{
    return CompareLineBy(ACol, ColCount() - 1, SortFull, [&](int c) { return Compare(c, ARow1, ARow2); });
}

int TCellModel::CompareLineIndexed(int AIdx, int ARow1, int ARow2)
{
    return CompareIndexedBy(*FSortIndexes, AIdx, SortFull, [&](int c) { return Compare(c, ARow1, ARow2); });
}

bool TCellModel::SortLine(int ACol, int ARow1, int ARow2)
{
    FSortSign = SortDirection == sdAscending ? 1 : -1;
    for (const int last = AllCols() - 1;; ++ACol) {
        const int r = Compare(ACol, ARow1, ARow2);
        if (r == FSortSign) {
            SortSwapRows(ARow1, ARow2);
            return true;
        }
        if (r != 0 || ACol >= last)
            return false;
    }
}
