// The cell grid's hints (per cell: OnGridHint, comments, the cell text with HintShowCells or
// when it is too wide for its column) and its 500 ms window timer (hovering, blinking text).

#include "grid/control/CellGrid.h"
#include "grid/model/Cgutil.h"
#include "platform/gui/Forms.h"

bool TCellGrid::ShowCellHint(THintInfo& Info)
{
    Info.HintColor = HintColor;
    const TGridCoord cell = MouseToCell(Info.CursorPos.x, Info.CursorPos.y);
    if (cell.X < 0 || cell.Y < 0)
        return true;
    const int col = cell.X, row = cell.Y;
    const int real = RemapCol(col);
    std::shared_ptr<bool> alive = AliveToken();
    if (OnGridHint)
        OnGridHint(this, row, col, Info.HintStr);
    if (!*alive)
        return false;
    FHintCell = {col, row};
    const TRect r = CellRect(col, row);
    AnsiString comment;
    TPoint place{r.Left, r.Bottom + 6};
    if (IsComment(real, row, comment)) {
        Info.HintStr = comment;
        place = {r.Right, r.Top};
    }
    const bool normal = col >= FixedCols() && row >= FixedRows() && row < RowCount() - FixedFooters() &&
        col < ColCount() - FixedRightCols();
    if (normal && (HintShowCells || HintShowLargeText)) {
        // Too wide is the text as the cell shows it: HTML laid out, rich text as its text, each
        // line alone, in the cell's font.
        TPoint size{};
        if (!HintShowCells) {
            SetMeasureFont(col, row, true);
            GetCellTextSize(real, row, size);
        }
        if (!*alive)
            return false;
        if (HintShowCells || size.x > ColWidths(col)) {
            Info.HintStr = Cells(real, row);
            place = {r.Left, r.Top};
        }
    }
    Info.HintPos = ClientToScreen(place);
    Info.Own = true;
    return true;
}

void TCellGrid::HoverTick()
{
    std::shared_ptr<bool> alive = AliveToken();
    // Hovering: the cell under a resting pointer becomes current, while the grid's own window
    // is the active one (it never pulls the focus out of another window).
    TCustomForm* form = ParentForm();
    if (Hovering() && !Designing() && form && form->Active() && Showing()) {
        const TPoint screen = GetCursorPos();
        const TPoint p = ScreenToClient(screen);
        const TGridCoord cell = MouseToCell(p.x, p.y);
        if (FindDragTarget(screen, false) == this && PtInRect(ClientRect(), p) && cell.X >= FixedCols() &&
            cell.Y >= FixedRows() && cell.X < ColCount() && cell.Y < RowCount()) {
            if (!Focused() && CanFocus())
                SetFocus();
            if (!*alive)
                return;
            if (cell.Y != Row())
                SetRow(cell.Y);
            if (*alive && cell.X != Col())
                SetCol(cell.X);
            if (!*alive)
                return;
        }
    }
    FBlinkOn = !FBlinkOn;
    // Only the blinking cells in view paint again, each at its own place.
    const auto blinks = [this](int c, int r) {
        return UpperCase(Cells(RemapCol(c), r)).find("<BLI") != AnsiString::npos;
    };
    const int lastRow = std::min(RowCount() - 1, TopRow() + VisibleRowCount());
    const int lastCol = std::min(ColCount() - 1, LeftCol() + VisibleColCount());
    const auto visit = [&](int c0, int c1, int r0, int r1) {
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c)
                if (blinks(c, r))
                    InvalidateCell(c, r);
    };
    visit(LeftCol(), lastCol, TopRow(), lastRow);
    visit(LeftCol(), lastCol, 0, std::min(FixedRows(), RowCount()) - 1);
    visit(0, std::min(FixedCols(), ColCount()) - 1, TopRow(), lastRow);
}
