#include "platform/core/GridData.h"

#include <algorithm>

namespace {

// Where an index lands when the item at From moves to To.
int Follow(int index, int from, int to)
{
    if (index == from)
        return to;
    if (from < index && index <= to)
        return index - 1;
    if (to <= index && index < from)
        return index + 1;
    return index;
}

// A current index kept inside the axis and off its fixed items where there is room.
int Clamp(int index, const TGridAxis& axis)
{
    if (axis.Count() == 0)
        return 0;
    index = std::clamp(index, 0, axis.Count() - 1);
    return index < axis.Fixed() ? axis.Fixed() : index;
}

// Grid lines count after every item only when they are drawn.
int ColLine(TGridOptions o, int width) { return o.Contains(goVertLine) || o.Contains(goFixedVertLine) ? width : 0; }
int RowLine(TGridOptions o, int width) { return o.Contains(goHorzLine) || o.Contains(goFixedHorzLine) ? width : 0; }

}  // namespace

TCustomGridData::TCustomGridData()
{
    FCells.SetRowCount(FRows.Count());
    SetViewSize(320, 120);
}

void TCustomGridData::IndexError() { throw EInvalidGridOperation("Grid index out of range"); }

void TCustomGridData::CheckCells(int64_t cols, int64_t rows) const
{
    if (cols * rows > kMaxCells)
        throw EInvalidGridOperation("Grid too large for operation");
}

void TCustomGridData::SetColCount(int Value)
{
    Value = std::max(Value, 0);
    if (Value == ColCount())
        return;
    CheckCells(Value, RowCount());
    const int old = ColCount();
    FCols.SetCount(Value);
    CountsChanged(old, RowCount());
}

void TCustomGridData::SetRowCount(int Value)
{
    Value = std::max(Value, 0);
    if (Value == RowCount())
        return;
    CheckCells(ColCount(), Value);
    const int old = RowCount();
    if (Value < old)
        RowsLeaving(Value, old - Value);
    FRows.SetCount(Value);
    FCells.SetRowCount(Value);
    CountsChanged(ColCount(), old);
}

void TCustomGridData::CountsChanged(int OldColCount, int OldRowCount)
{
    ClampCurrent();
    // The size notification may bring the view back in range, which tells TopLeftChanged.
    const TAliveToken alive = GridAliveToken();
    SizeChanged(OldColCount, OldRowCount);
    if (*alive)
        InvalidateGrid();
}

void TCustomGridData::SetFixedCols(int Value)
{
    if (Value < 0)
        IndexError();
    if (Value > 0 && Value >= ColCount())
        throw EInvalidGridOperation("Fixed column count must be less than column count");
    if (Value == FCols.Fixed())
        return;
    FCols.SetFixed(Value);
    FixedCountChanged(FCols, FCurrent.X, FAnchor.X);
}

void TCustomGridData::SetFixedRows(int Value)
{
    if (Value < 0)
        IndexError();
    if (Value > 0 && Value >= RowCount())
        throw EInvalidGridOperation("Fixed row count must be less than row count");
    if (Value == FRows.Fixed())
        return;
    FRows.SetFixed(Value);
    FixedCountChanged(FRows, FCurrent.Y, FAnchor.Y);
}

void TCustomGridData::FixedCountChanged(TGridAxis& Axis, int& Current, int& Anchor)
{
    // The view and the current cell start again at the first scrollable item, also when fewer
    // are fixed (an item that was fixed is now in front of them).
    const int oldFirst = Axis.First();
    Axis.SetFirst(Axis.Fixed());
    Current = Axis.First();
    Anchor = Axis.First();
    ClampCurrent();
    const TAliveToken alive = GridAliveToken();
    if (Axis.First() != oldFirst)
        TopLeftChanged();
    if (*alive)
        InvalidateGrid();
}

void TCustomGridData::ClampCurrent()
{
    FCurrent = {Clamp(FCurrent.X, FCols), Clamp(FCurrent.Y, FRows)};
    FAnchor = {Clamp(FAnchor.X, FCols), Clamp(FAnchor.Y, FRows)};
}

void TCustomGridData::SetDefaultColWidth(int Value)
{
    FCols.SetDefaultSize(Value);
    ColWidthsChanged();
    InvalidateGrid();
}

void TCustomGridData::SetDefaultRowHeight(int Value)
{
    FRows.SetDefaultSize(Value);
    RowHeightsChanged();
    InvalidateGrid();
}

void TCustomGridData::SetColWidths(int Index, int Value)
{
    if (Index < 0 || Index >= ColCount())
        IndexError();
    if (FCols.Size(Index) == Value)
        return;
    FCols.SetSize(Index, Value);
    ColWidthsChanged();
    InvalidateGrid();
}

void TCustomGridData::SetRowHeights(int Index, int Value)
{
    if (Index < 0 || Index >= RowCount())
        IndexError();
    if (FRows.Size(Index) == Value)
        return;
    FRows.SetSize(Index, Value);
    RowHeightsChanged();
    InvalidateGrid();
}

void TCustomGridData::SetGridLineWidth(int Value)
{
    FGridLineWidth = std::max(Value, 0);
    InvalidateGrid();
}

void TCustomGridData::SetOptions(TGridOptions Value)
{
    if (Value == FOptions)
        return;
    FOptions = Value;
    InvalidateGrid();
}

void TCustomGridData::CheckWrite(int ACol, int ARow) const
{
    if (ARow < 0 || ARow >= RowCount() || ACol < 0 || ACol >= ColCount() + kColumnSlack)
        IndexError();
}

void TCustomGridData::SetCells(int ACol, int ARow, const AnsiString& Value)
{
    CheckWrite(ACol, ARow);
    FCells.SetText(ACol, ARow, Value, ColCount());
    InvalidateCell(ACol, ARow);
}

void TCustomGridData::SetObjects(int ACol, int ARow, TObject* Value)
{
    CheckWrite(ACol, ARow);
    FCells.SetObject(ACol, ARow, Value);
}

bool TCustomGridData::FocusCell(int ACol, int ARow, bool MoveAnchor)
{
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount())
        IndexError();
    // SelectCell, scrolling into view and CurrentMoved may each run a handler that frees the
    // grid; nothing of it is touched after that.
    const TAliveToken alive = GridAliveToken();
    if (!SelectCell(ACol, ARow) || !*alive)
        return false;
    const TGridCoord old = FCurrent;
    FCurrent = {ACol, ARow};
    if (MoveAnchor || !FOptions.Contains(goRangeSelect))
        FAnchor = FCurrent;
    InvalidateGrid();
    MoveIntoView(ACol, ARow);
    if (!*alive)
        return false;
    if (!(old == FCurrent))
        CurrentMoved(old);
    return *alive;
}

TGridRect TCustomGridData::Selection() const
{
    TGridRect r{std::min(FAnchor.X, FCurrent.X), std::min(FAnchor.Y, FCurrent.Y), std::max(FAnchor.X, FCurrent.X),
                std::max(FAnchor.Y, FCurrent.Y)};
    if (FOptions.Contains(goRowSelect)) {
        r.Left = FixedCols();
        r.Right = ColCount() - 1;
    }
    return r;
}

void TCustomGridData::SetSelection(const TGridRect& Value)
{
    FAnchor = {Value.Left, Value.Top};
    FCurrent = {Value.Right, Value.Bottom};
    InvalidateGrid();
}

void TCustomGridData::SetFirst(TGridAxis& axis, int Value, int client)
{
    const int line = &axis == &FCols ? ColLine(FOptions, FGridLineWidth) : RowLine(FOptions, FGridLineWidth);
    const int old = axis.First();
    axis.SetFirst(std::min(Value, std::max(axis.MaxFirst(client, line), axis.Fixed())));
    if (axis.First() != old) {
        const TAliveToken alive = GridAliveToken();
        TopLeftChanged();
        if (*alive)
            InvalidateGrid();
    }
}

void TCustomGridData::SetTopRow(int Value) { SetFirst(FRows, Value, FViewHeight); }
void TCustomGridData::SetLeftCol(int Value) { SetFirst(FCols, Value, FViewWidth); }

void TCustomGridData::SetViewSize(int Width, int Height)
{
    FViewWidth = std::max(Width, 0);
    FViewHeight = std::max(Height, 0);
}

namespace {

// The First that shows `index` as the last item in view.
int FirstShowingLast(const TGridAxis& axis, int index, int client, int line)
{
    const int64_t room = client - axis.FixedExtent64(line);
    int first = index;
    int64_t used = int64_t{axis.Size(index)} + line;
    while (first - 1 >= axis.Fixed() && used + axis.Size(first - 1) + line <= room) {
        --first;
        used += int64_t{axis.Size(first)} + line;
    }
    return first;
}

}  // namespace

int TCustomGridData::VisibleColCount() const
{
    return FCols.VisibleCount(FViewWidth, ColLine(FOptions, FGridLineWidth));
}

int TCustomGridData::VisibleRowCount() const
{
    return FRows.VisibleCount(FViewHeight, RowLine(FOptions, FGridLineWidth));
}

int TCustomGridData::MaxTopRow() const
{
    return std::max(FRows.MaxFirst(FViewHeight, RowLine(FOptions, FGridLineWidth)), FRows.Fixed());
}

int TCustomGridData::MaxLeftCol() const
{
    return std::max(FCols.MaxFirst(FViewWidth, ColLine(FOptions, FGridLineWidth)), FCols.Fixed());
}

TRect TCustomGridData::CellRect(int ACol, int ARow) const
{
    const int x = FCols.Position(ACol, ColLine(FOptions, FGridLineWidth), FViewWidth);
    const int y = FRows.Position(ARow, RowLine(FOptions, FGridLineWidth), FViewHeight);
    if (x < 0 || y < 0)
        return TRect{};
    return Rect(x, y, ClampToInt(int64_t{x} + FCols.Size(ACol)), ClampToInt(int64_t{y} + FRows.Size(ARow)));
}

TGridCoord TCustomGridData::MouseToCell(int X, int Y) const
{
    const int c = FCols.IndexAt(X, ColLine(FOptions, FGridLineWidth));
    const int r = FRows.IndexAt(Y, RowLine(FOptions, FGridLineWidth));
    if (c < 0 || r < 0)
        return {-1, -1};
    return {c, r};
}

void TCustomGridData::MoveIntoView(int ACol, int ARow)
{
    // Each scroll tells TopLeftChanged, whose handler may free the grid.
    const TAliveToken alive = GridAliveToken();
    if (ARow >= FixedRows() && ARow < RowCount()) {
        if (ARow < TopRow())
            SetTopRow(ARow);
        else if (ARow >= TopRow() + VisibleRowCount())
            SetTopRow(FirstShowingLast(FRows, ARow, FViewHeight, RowLine(FOptions, FGridLineWidth)));
        if (!*alive)
            return;
    }
    if (ACol >= FixedCols() && ACol < ColCount()) {
        if (ACol < LeftCol())
            SetLeftCol(ACol);
        else if (ACol >= LeftCol() + VisibleColCount())
            SetLeftCol(FirstShowingLast(FCols, ACol, FViewWidth, ColLine(FOptions, FGridLineWidth)));
    }
}

void TCustomGridData::MoveRow(int FromIndex, int ToIndex)
{
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= RowCount() || ToIndex >= RowCount())
        IndexError();
    if (FromIndex == ToIndex)
        return;
    FCells.MoveRow(FromIndex, ToIndex);
    FRows.Move(FromIndex, ToIndex);
    FCurrent.Y = Follow(FCurrent.Y, FromIndex, ToIndex);
    FAnchor.Y = Follow(FAnchor.Y, FromIndex, ToIndex);
    const TAliveToken alive = GridAliveToken();
    RowMoved(FromIndex, ToIndex);
    if (*alive)
        InvalidateGrid();
}

void TCustomGridData::MoveColumn(int FromIndex, int ToIndex)
{
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= ColCount() || ToIndex >= ColCount())
        IndexError();
    if (FromIndex == ToIndex)
        return;
    MoveColumnCells(FromIndex, ToIndex);
    FCols.Move(FromIndex, ToIndex);
    FCurrent.X = Follow(FCurrent.X, FromIndex, ToIndex);
    FAnchor.X = Follow(FAnchor.X, FromIndex, ToIndex);
    const TAliveToken alive = GridAliveToken();
    ColumnMoved(FromIndex, ToIndex);
    if (*alive)
        InvalidateGrid();
}

void TCustomGridData::DeleteRow(int ARow)
{
    if (ARow < 0 || ARow >= RowCount())
        IndexError();
    const int old = RowCount();
    RowsLeaving(ARow, 1);
    FCells.DeleteRows(ARow, 1);
    FRows.Delete(ARow, 1);
    if (FCurrent.Y > ARow)
        --FCurrent.Y;
    if (FAnchor.Y > ARow)
        --FAnchor.Y;
    CountsChanged(ColCount(), old);
}

void TCustomGridData::DeleteColumn(int ACol)
{
    if (ACol < 0 || ACol >= ColCount())
        IndexError();
    const int old = ColCount();
    ColsLeaving(ACol, 1);
    FCells.DeleteCols(ACol, 1);
    FCols.Delete(ACol, 1);
    if (FCurrent.X > ACol)
        --FCurrent.X;
    if (FAnchor.X > ACol)
        --FAnchor.X;
    CountsChanged(old, RowCount());
}

void TCustomGridData::InsertRowsAt(int At, int Count)
{
    CheckCells(ColCount(), int64_t{RowCount()} + Count);
    const int old = RowCount();
    FCells.InsertRows(At, Count);
    FRows.Insert(At, Count);
    CountsChanged(ColCount(), old);
}

void TCustomGridData::DeleteRowsAt(int At, int Count)
{
    const int old = RowCount();
    RowsLeaving(At, Count);
    FCells.DeleteRows(At, Count);
    FRows.Delete(At, Count);
    CountsChanged(ColCount(), old);
}

void TCustomGridData::DeleteRowSetAt(const std::vector<int>& Rows)
{
    const int old = RowCount();
    for (int row : Rows)
        RowsLeaving(row, 1);
    FCells.DeleteRowSet(Rows);
    FRows.DeleteSet(Rows);
    CountsChanged(ColCount(), old);
}

void TCustomGridData::InsertRowSetAt(const std::vector<int>& Positions)
{
    CheckCells(ColCount(), int64_t{RowCount()} + static_cast<int64_t>(Positions.size()));
    const int old = RowCount();
    FCells.InsertRowSet(Positions);
    FRows.InsertSet(Positions);
    CountsChanged(ColCount(), old);
}

void TCustomGridData::InsertColsAt(int CellAt, int CellCount, int WidthAt, int WidthCount)
{
    CheckCells(int64_t{ColCount()} + WidthCount, RowCount());
    const int old = ColCount();
    FCells.InsertCols(CellAt, CellCount);
    FCols.Insert(WidthAt, WidthCount);
    CountsChanged(old, RowCount());
}

void TCustomGridData::DeleteColsAt(int CellAt, int CellCount, int WidthAt, int WidthCount)
{
    const int old = ColCount();
    if (CellCount > 0)
        ColsLeaving(CellAt, CellCount);
    FCells.DeleteCols(CellAt, CellCount);
    FCols.Delete(WidthAt, WidthCount);
    CountsChanged(old, RowCount());
}

bool TCustomGridData::CheckConsistency() const
{
    const auto within = [](TGridCoord c, const TGridAxis& cols, const TGridAxis& rows) {
        return c.X >= 0 && c.Y >= 0 && c.X <= cols.Count() && c.Y <= rows.Count();
    };
    return FCols.CheckConsistency() && FRows.CheckConsistency() && FCells.RowCount() == RowCount() &&
        FCells.CheckConsistency() && within(FCurrent, FCols, FRows) && within(FAnchor, FCols, FRows) &&
        int64_t{ColCount()} * RowCount() <= kMaxCells;
}
