// The sorts: the exchange sort of one column, the partition sorts by a column or by the
// sort-index list, and the whole-grid sorts around them. A partition sort works on three rows
// added below the grid for its duration and counts the hidden columns in, so that their cells
// travel with their rows; the rows move by their row pointers, so no text is copied.
//
// The scans of both partition sorts stop at the ends of their range, so a comparison that
// contradicts itself (an automatic style decided from one row, a text that is no number and so
// equals everything, a careless handler) can never read past it. A sort that raises (a compare
// handler's exception) first takes the work rows away, narrows the columns and releases the
// update lock; the exception then goes on. A handler that frees the grid ends the sort without
// any of that: nothing of the grid is left to put back.

#include <numeric>
#include <utility>

#include "grid/model/CellModel.h"
#include "grid/model/SortKeys.h"

namespace {

// Runs a whole sort: when a handler freed the grid, the sort ends here.
template <class Sort>
void UntilFreed(Sort sort)
{
    try {
        sort();
    } catch (const TCellModel::EGridFreedInSort&) {}
}

}  // namespace

void TCellModel::BeginSortRows(TSortWork& Work, bool KeepColumn0)
{
    if (KeepColumn0 && FixedCols() > 0) {
        Work.Column0 = true;
        for (int r = 0; r < RowCount(); ++r)
            Work.Column0Cells.emplace_back(Cells(0, r), Objects(0, r));
    }
    TCustomGridData::SetRowCount(RowCount() + 3);
    Work.LastCol = ColCount() - 1;
    Work.LastWidth = ColWidths(Work.LastCol);
    Work.Hidden = HiddenColCount();
    if (Work.Hidden > 0)
        TCustomGridData::SetColCount(ColCount() + Work.Hidden);
}

void TCellModel::EndSortRows(TSortWork& Work)
{
    // The work rows hold nothing a data row does not: they are emptied, never freed.
    for (int r = std::max(RowCount() - 3, 0); r < RowCount(); ++r)
        CellStore().PutRow(r, nullptr);
    if (Work.Hidden > 0)
        TCustomGridData::SetColCount(ColCount() - Work.Hidden);
    if (Work.LastCol >= 0 && Work.LastCol < ColCount())
        SetColWidths(Work.LastCol, Work.LastWidth);
    TCustomGridData::SetRowCount(std::max(RowCount() - 3, 0));
    if (FRowSelect.size() > static_cast<size_t>(RowCount()))
        FRowSelect.resize(static_cast<size_t>(RowCount()));
    if (Work.Column0) {
        // Column 0 is put back as it was: its texts and objects stay by their row numbers.
        for (int r = 0; r < RowCount() && r < static_cast<int>(Work.Column0Cells.size()); ++r) {
            CellStore().SetText(0, r, std::move(Work.Column0Cells[static_cast<size_t>(r)].first));
            CellStore().SetObject(0, r, Work.Column0Cells[static_cast<size_t>(r)].second);
        }
        Work.Column0 = false;
    }
}

void TCellModel::FollowSortRow(int ARow)
{
    if (ARow >= 0 && ARow < RowCount() && Col() >= 0 && Col() < ColCount())
        FocusCell(Col(), ARow, true);
}

template <class Sort>
void TCellModel::SortNormalRows(bool KeepColumn0, bool FollowQuietly, Sort sort)
{
    TSortWork work;
    BeginUpdate();
    try {
        BeginSortRows(work, KeepColumn0);
        FSortRow = Row();
        // The current cell's moves fire the selection handlers, which may free the grid too.
        const TAliveToken alive = GridAliveToken();
        if (FNavigation->MoveRowOnSort && RowCount() >= 3 && Col() < ColCount())
            FocusCell(Col(), RowCount() - 3, true);
        if (!*alive)
            throw EGridFreedInSort{};
        sort();
        for (int r = RowCount() - 2; r < RowCount(); ++r)
            CellStore().PutRow(r, nullptr);
        if (FollowQuietly)
            FollowSortRow(FSortRow);
        else
            TCellModel::FollowSortRow(FSortRow);
        if (!*alive)
            throw EGridFreedInSort{};
    } catch (const EGridFreedInSort&) {
        throw;
    } catch (...) {
        try {
            EndSortRows(work);
        } catch (...) {}
        EndUpdate();
        throw;
    }
    EndSortRows(work);
    InvalidateGrid();
    EndUpdate();
}

void TCellModel::SortByColumn(int ACol)
{
    if (RowCount() < 2)
        return;
    FSortSign = SortDirection == sdAscending ? 1 : -1;
    const int first = FixedRows();
    const int last = RowCount() - 2 - FFixedFooters;
    // An exchange sort ends within one pass a row; a comparison that contradicts itself could
    // otherwise swap the same rows for ever.
    UntilFreed([&] {
        for (int pass = 0; pass <= last - first + 1; ++pass) {
            bool swapped = false;
            for (int r = first; r <= last; ++r)
                if (Compare(ACol, r, r + 1) == FSortSign) {
                    SwapRows(r, r + 1);
                    swapped = true;
                }
            if (!swapped)
                break;
        }
    });
}

// The partition sort: Compare(first, second) is 1 when the first row belongs after the
// second. It runs on a list of the range's rows, each compared by the keys it had when the sort
// began, and the rows then move once to their places: the same swaps on the rows themselves
// would leave them in the same order. The ranges still to sort are taken last in, first out,
// so the left part of a partition is sorted whole before its right part, as a recursion would,
// without the stack growing with the rows.
template <class CompareRows>
void TCellModel::PartitionSort(int ALeft, int ARight, TStoppedPair Stopped, CompareRows Compare)
{
    if (ARight <= ALeft)
        return;
    // Rows outside the grid cannot take part (a swap with one raised before).
    if (ALeft < 0 || ARight >= RowCount())
        IndexError();
    std::vector<int> order(static_cast<size_t>(ARight - ALeft + 1));
    std::iota(order.begin(), order.end(), ALeft);
    const auto at = [&](int position) { return order[static_cast<size_t>(position - ALeft)]; };
    std::vector<std::pair<int, int>> ranges{{ALeft, ARight}};
    while (!ranges.empty()) {
        const auto [L, R] = ranges.back();
        ranges.pop_back();
        int i = L, j = R;
        // The pivot is the row standing in the middle as the range is taken.
        const int pivot = at(static_cast<int>((static_cast<unsigned>(L) + static_cast<unsigned>(R)) >> 1));
        do {
            while (Compare(pivot, at(i)) == 1 && i < R)
                ++i;
            while (Compare(at(j), pivot) == 1 && j > L)
                --j;
            if (i <= j) {
                if (i != j && (Stopped == TStoppedPair::AlwaysSwap || Compare(at(i), at(j)) != 0))
                    std::swap(order[static_cast<size_t>(i - ALeft)], order[static_cast<size_t>(j - ALeft)]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (i < R)
            ranges.emplace_back(i, R);
        if (L < j)
            ranges.emplace_back(L, j);
    }
    PlaceSortedRows(ALeft, order);
}

void TCellModel::PlaceSortedRows(int ALeft, const std::vector<int>& Order)
{
    const int count = static_cast<int>(Order.size());
    const auto from = [&](int k) { return Order[static_cast<size_t>(k)]; };
    std::vector<std::unique_ptr<TGridRowCells>> rows(Order.size());
    for (int k = 0; k < count; ++k)
        rows[static_cast<size_t>(k)] = CellStore().TakeRow(ALeft + k);
    for (int k = 0; k < count; ++k)
        CellStore().PutRow(ALeft + k, std::move(rows[static_cast<size_t>(from(k) - ALeft)]));
    // Heights, select flags and the followed row go with their rows.
    if (!RowAxis().AllDefault()) {
        std::vector<int> heights(Order.size());
        for (int k = 0; k < count; ++k)
            heights[static_cast<size_t>(k)] = RowHeights(ALeft + k);
        for (int k = 0; k < count; ++k)
            if (RowHeights(ALeft + k) != heights[static_cast<size_t>(from(k) - ALeft)])
                RowAxis().SetSize(ALeft + k, heights[static_cast<size_t>(from(k) - ALeft)]);
    }
    if (!FRowSelect.empty()) {
        if (FRowSelect.size() < static_cast<size_t>(ALeft + count))
            FRowSelect.resize(static_cast<size_t>(ALeft + count), 0);
        const std::vector<char> flags(FRowSelect.begin() + ALeft, FRowSelect.begin() + ALeft + count);
        for (int k = 0; k < count; ++k)
            FRowSelect[static_cast<size_t>(ALeft + k)] = flags[static_cast<size_t>(from(k) - ALeft)];
    }
    for (int k = 0; k < count; ++k)
        if (from(k) == FSortRow) {
            FSortRow = ALeft + k;
            break;
        }
}

void TCellModel::QuickSortRows(int ACol, int ALeft, int ARight)
{
    FSortSign = SortDirection == sdAscending ? 1 : -1;
    TSortKeys keys(*this, ALeft, ARight);
    // Rows equal in every compared column stay put.
    PartitionSort(ALeft, ARight, TStoppedPair::SwapWhenUnequal,
                  [&keys, ACol, sign = FSortSign](int a, int b) { return keys.CompareLine(ACol, a, b) * sign; });
}

void TCellModel::QuickSortRowsIndexed(int AIdx, int ALeft, int ARight)
{
    // The directions are in the index entries.
    FSortSign = SortDirection == sdAscending ? 1 : -1;
    TSortKeys keys(*this, ALeft, ARight);
    // Here the stopped rows are exchanged without a further comparison, tied or not, so rows
    // equal in every index entry change places as the partition meets them.
    PartitionSort(ALeft, ARight, TStoppedPair::AlwaysSwap,
                  [&keys, AIdx](int a, int b) { return keys.CompareLineIndexed(AIdx, a, b); });
}

void TCellModel::WithWorkRows(const std::function<void()>& Sort)
{
    TSortWork work;
    try {
        BeginSortRows(work, false);
        Sort();
    } catch (const EGridFreedInSort&) {
        throw;
    } catch (...) {
        EndSortRows(work);
        throw;
    }
    EndSortRows(work);
}

void TCellModel::QuickSort(int ACol, int ALeft, int ARight)
{
    UntilFreed([&] { WithWorkRows([&] { QuickSortRows(ACol, ALeft, ARight); }); });
}

void TCellModel::QuickSortIndexed(int ALeft, int ARight)
{
    if (FSortIndexes->Count() == 0)
        throw ECellGridError("No indexes specified for indexed sort");
    UntilFreed([&] { WithWorkRows([&] { QuickSortRowsIndexed(0, ALeft, ARight); }); });
}

void TCellModel::QSort()
{
    FSortIndexes->Clear();
    // Counts as they are with the work rows: the last normal row is RowCount - 4 - FixedFooters.
    UntilFreed([this] {
        SortNormalRows(SortNormalCellsOnly, true,
                       [this] { QuickSortRows(FSortColumn, FixedRows(), RowCount() - 4 - FFixedFooters); });
    });
}

void TCellModel::QSortIndexed()
{
    if (FSortIndexes->Count() == 0)
        throw ECellGridError("No indexes specified for indexed sort");
    UntilFreed([this] {
        SortNormalRows(false, true, [this] { QuickSortRowsIndexed(0, FixedRows(), RowCount() - 4 - FFixedFooters); });
    });
}

void TCellModel::QSortGroup()
{
    UntilFreed([this] { SortGroups(); });
}

void TCellModel::SortGroups()
{
    SortNormalRows(SortNormalCellsOnly, false, [this] {
        // Each group: the rows after a node up to the next node (footer rows stay out).
        const int end = RowCount() - 3 - FFixedFooters;
        int k = 1;
        for (int n = NodeCount(); n > 0 && k < end && IsNode(k); --n) {
            const int start = ++k;
            while (k < end && !IsNode(k))
                ++k;
            if (k - start >= 2)
                QuickSortRows(FSortColumn, start, k - 1);
        }
    });
}
