#pragma once
// The framework's string grid without its window: the counts of rows and columns and how many
// of each are fixed, their sizes, the options, the current cell and the selection, the first
// row and column in view, and the cells (a text and an object each). The grid control
// (platform/gui/Grids.h) adds the window; display-free code and tests use this class alone.
//
// Cells are addressed (column, row) by the column index the cell is stored under and the row
// as shown; a row keeps cells beyond ColCount, where a grid that hides columns keeps theirs.
// Sizes are addressed by the column and row as shown. The virtual hooks are the framework's
// notifications; their bodies here do nothing.

#include <cstdint>
#include <vector>

#include "platform/core/EnumSet.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Geometry.h"
#include "platform/core/GridAxis.h"
#include "platform/core/GridCells.h"
#include "platform/core/Liveness.h"

// Misuse of a grid: an index out of range, a fixed count not below its count, too many cells.
class EInvalidGridOperation : public Exception {
    using Exception::Exception;
};

enum TGridOption {
    goFixedVertLine,
    goFixedHorzLine,
    goVertLine,
    goHorzLine,
    goRangeSelect,
    goDrawFocusSelected,
    goRowSizing,
    goColSizing,
    goRowMoving,
    goColMoving,
    goEditing,
    goTabs,
    goRowSelect,
    goAlwaysShowEditor,
    goThumbTracking
};
using TGridOptions = TEnumSet<TGridOption>;

enum TGridDrawStateFlag { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TEnumSet<TGridDrawStateFlag>;

struct TGridCoord {
    int X = 0, Y = 0;
    bool operator==(const TGridCoord&) const = default;
};

// Columns Left..Right and rows Top..Bottom, both ends included.
struct TGridRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TGridRect&) const = default;
};

class TCustomGridData {
public:
    // A grid holds at most this many cells (ColCount times RowCount).
    static constexpr int64_t kMaxCells = int64_t{1} << 26;
    // Cells may be written this many columns past ColCount (where hidden columns keep theirs).
    static constexpr int kColumnSlack = 256;

    TCustomGridData();
    virtual ~TCustomGridData() = default;
    TCustomGridData(const TCustomGridData&) = delete;
    TCustomGridData& operator=(const TCustomGridData&) = delete;

    // --- Counts. A count may be 0; a fixed count drops below a count lowered onto it. More than
    // kMaxCells cells raise "Grid too large for operation" and change nothing. A fixed count
    // that changes takes the view and the current cell of its axis back to the first
    // scrollable item.
    int ColCount() const { return FCols.Count(); }
    void SetColCount(int Value);
    int RowCount() const { return FRows.Count(); }
    void SetRowCount(int Value);
    int FixedCols() const { return FCols.Fixed(); }
    void SetFixedCols(int Value);
    int FixedRows() const { return FRows.Fixed(); }
    void SetFixedRows(int Value);

    // --- Sizes. Reading outside the counts gives the default; writing there raises.
    int DefaultColWidth() const { return FCols.DefaultSize(); }
    void SetDefaultColWidth(int Value);
    int DefaultRowHeight() const { return FRows.DefaultSize(); }
    void SetDefaultRowHeight(int Value);
    int ColWidths(int Index) const { return FCols.Size(Index); }
    void SetColWidths(int Index, int Value);
    int RowHeights(int Index) const { return FRows.Size(Index); }
    void SetRowHeights(int Index, int Value);
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int Value);

    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions Value);

    // --- Cells. Reads outside the grid give an empty text and no object; writes need a row
    // below RowCount and a column below ColCount + kColumnSlack. Writing a cell invalidates it.
    const AnsiString& Cells(int ACol, int ARow) const { return FCells.Text(ACol, ARow); }
    void SetCells(int ACol, int ARow, const AnsiString& Value);
    TObject* Objects(int ACol, int ARow) const { return FCells.Object(ACol, ARow); }
    void SetObjects(int ACol, int ARow, TObject* Value);

    // --- The current cell and the selection. Moving the current cell asks SelectCell first,
    // raises for a cell outside the grid, and scrolls it into view. A handler that runs on the
    // way (SelectCell's, TopLeftChanged's, CurrentMoved's) may free the grid: the move ends
    // there and touches nothing more; callers that go on afterwards hold GridAliveToken.
    int Col() const { return FCurrent.X; }
    void SetCol(int Value) { FocusCell(Value, FCurrent.Y, true); }
    int Row() const { return FCurrent.Y; }
    void SetRow(int Value) { FocusCell(FCurrent.X, Value, true); }
    // Moves the current cell; the selection's anchor stays unless MoveAnchor (or without
    // goRangeSelect). False when SelectCell refused or a handler freed the grid.
    bool FocusCell(int ACol, int ARow, bool MoveAnchor);
    // The selected cells (whole rows of normal columns with goRowSelect).
    TGridRect Selection() const;
    // Anchor at the top-left corner, current cell at the bottom-right; not checked.
    void SetSelection(const TGridRect& Value);

    // --- The view: the first scrollable row and column shown, and the client size.
    int TopRow() const { return FRows.First(); }
    void SetTopRow(int Value);
    int LeftCol() const { return FCols.First(); }
    void SetLeftCol(int Value);
    int ClientWidthForCells() const { return FViewWidth; }
    int ClientHeightForCells() const { return FViewHeight; }
    void SetViewSize(int Width, int Height);
    int VisibleColCount() const;
    int VisibleRowCount() const;
    // The cell's rectangle in the client; empty when it is scrolled out.
    TRect CellRect(int ACol, int ARow) const;
    // The cell under a client point; (-1, -1) over no cell.
    TGridCoord MouseToCell(int X, int Y) const;
    // Scrolls so that the cell is in view.
    void MoveIntoView(int ACol, int ARow);

    // --- Scroll limits (the window's scroll bars map TopRow and LeftCol onto their range): the
    // largest TopRow and LeftCol that still fill the view, never below the fixed count.
    int MaxTopRow() const;
    int MaxLeftCol() const;

    // --- Structure.
    void MoveRow(int FromIndex, int ToIndex);
    void MoveColumn(int FromIndex, int ToIndex);
    void DeleteRow(int ARow);
    void DeleteColumn(int ACol);

    // --- Invalidation (a window repaints what it is told; here nothing happens).
    virtual void InvalidateCell(int ACol, int ARow) {}
    virtual void InvalidateRow(int ARow) {}
    virtual void InvalidateCol(int ACol) {}
    virtual void InvalidateGrid() {}

    // True when counts, sizes, cells and the current cell agree with each other.
    bool CheckConsistency() const;

    // The object that events name as their Sender (the control; none here).
    virtual TObject* Sender() { return nullptr; }

    // Falls when the grid is freed: held across anything that may fire a handler.
    TAliveToken GridAliveToken() const { return FGridLiveness.Token(); }

protected:
    // --- The framework's notifications.
    virtual bool SelectCell(int ACol, int ARow) { return true; }
    virtual void SizeChanged(int OldColCount, int OldRowCount) {}
    virtual void ColWidthsChanged() {}
    virtual void RowHeightsChanged() {}
    virtual void RowMoved(int FromIndex, int ToIndex) {}
    virtual void ColumnMoved(int FromIndex, int ToIndex) {}
    // Moves the cells of a moved column (display indexes) before ColumnMoved; a subclass whose
    // cells lie at other indexes than the display ones maps them here.
    virtual void MoveColumnCells(int FromIndex, int ToIndex) { FCells.MoveCol(FromIndex, ToIndex); }
    virtual void TopLeftChanged() {}
    // The current cell moved (after SelectCell agreed); Old is where it was.
    virtual void CurrentMoved(TGridCoord Old) {}
    // Rows or stored columns about to leave the grid (deleted, or dropped by a smaller
    // RowCount): a subclass that owns the objects in their cells frees them here, so that every
    // way out frees them alike.
    virtual void RowsLeaving(int At, int Count) {}
    virtual void ColsLeaving(int At, int Count) {}

    // Bulk structure for subclasses: rows (cells and heights) or columns (cells at a stored
    // column, widths at a display column) inserted or deleted in one step, then SizeChanged.
    // The current cell keeps its indexes where they still lie in the grid. Callers check ranges.
    void InsertRowsAt(int At, int Count);
    void DeleteRowsAt(int At, int Count);
    // Many rows in one step: deleted at ascending indexes, or empty ones inserted so that they
    // stand at ascending indexes of the result. Callers check the indexes.
    void DeleteRowSetAt(const std::vector<int>& Rows);
    void InsertRowSetAt(const std::vector<int>& Positions);
    // CellCount stored columns at CellAt, WidthCount display columns (ColCount follows them).
    void InsertColsAt(int CellAt, int CellCount, int WidthAt, int WidthCount);
    void DeleteColsAt(int CellAt, int CellCount, int WidthAt, int WidthCount);
    // Direct access for subclasses that move rows and columns in bulk.
    TGridCells& CellStore() { return FCells; }
    const TGridCells& CellStore() const { return FCells; }
    TGridAxis& ColAxis() { return FCols; }
    TGridAxis& RowAxis() { return FRows; }
    [[noreturn]] static void IndexError();

private:
    void CheckCells(int64_t cols, int64_t rows) const;
    void CountsChanged(int OldColCount, int OldRowCount);
    void ClampCurrent();
    void FixedCountChanged(TGridAxis& Axis, int& Current, int& Anchor);
    void CheckWrite(int ACol, int ARow) const;
    void SetFirst(TGridAxis& axis, int Value, int client);

    TGridAxis FCols{64};
    TGridAxis FRows{24};
    TGridCells FCells;
    TGridOptions FOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    int FGridLineWidth = 1;
    TGridCoord FCurrent{1, 1};
    TGridCoord FAnchor{1, 1};
    int FViewWidth = 0;
    int FViewHeight = 0;
    TLiveness FGridLiveness;
};

// Stores a look property's new value and repaints the grid when Repaint holds (the setters of
// the grid and its sub-objects).
template <class T>
void StoreAndRepaint(TCustomGridData& Grid, T& Field, T Value, bool Repaint = true)
{
    Field = Value;
    if (Repaint)
        Grid.InvalidateGrid();
}
