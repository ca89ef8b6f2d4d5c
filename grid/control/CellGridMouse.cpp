// The cell grid's mouse: the left press and release pipelines (cell extras, links, whole-row,
// whole-column and whole-grid selection, check boxes, buttons, nodes, radio groups), double
// clicks (border auto-size, OnDblClickCell), the right press, moves with their cursors, anchors
// and the grid's own row and column moving (EnhRowColMove: a floating header and arrows), and
// the size-grip events.

#include <algorithm>

#include "grid/control/ArrowWindow.h"
#include "grid/control/CellGrid.h"
#include "grid/control/HtmlRender.h"
#include "grid/model/Cgutil.h"
#include "platform/gui/HintWindow.h"
#include "platform/gui/Shell.h"

namespace {

// The cursors of a press on a fixed cell: column, row and whole-grid selection.
constexpr TCursor kColSelectCursor = 8011, kRowSelectCursor = 8010, kAllSelectCursor = 8012;

// Only these addresses are opened with the desktop; anything else a cell says stays text.
bool IsOpenableUrl(std::string_view Url)
{
    const AnsiString up = UpperCase(Url.substr(0, 8));
    for (const char* scheme : {"HTTP://", "HTTPS://", "FTP://", "MAILTO:"})
        if (up.rfind(scheme, 0) == 0)
            return true;
    return false;
}

}  // namespace

void TCellGrid::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs)
{
    TStringGrid::CalcSizingState(X, Y, State, Index, SizingPos, SizingOfs);
    if (State == gsNormal)
        return;
    bool allow = true;
    const TGridCoord left = MouseToCell(X - 4, Y);
    if (State == gsColSizing && left.Y == 0 && OnColumnSize)
        OnColumnSize(this, left.X, allow);
    const TGridCoord above = MouseToCell(X, Y - 4);
    if (State == gsRowSizing && above.X == 0 && OnRowSize)
        OnRowSize(this, above.Y, allow);
    if (!allow)
        State = gsNormal;
}

void TCellGrid::HandleRadioClick(int ACol, int ARow, int X, int Y)
{
    const int real = RemapCol(ACol);
    TCellGraphic* extra = GetCellGraphic(real, ARow);
    if (!extra || extra->CellType != ctRadio)
        return;
    TBrush brush;
    brush.SetColor(Color());
    TFont font;
    font.Assign(Font());
    GetCellColor(real, ARow, {}, &brush, &font);
    // The captions are measured in the font the cell is painted in, zoom included.
    ZoomFont(&font);
    std::shared_ptr<bool> alive = AliveToken();
    if (ACol != Col() || ARow != Row())
        MoveCurrentCell(ACol, ARow, true);
    if (!*alive)
        return;
    extra = GetCellGraphic(real, ARow);
    auto choices = extra ? std::dynamic_pointer_cast<TStrings>(extra->CellBitmap) : nullptr;
    if (!choices)
        return;
    // Set after the move, which may paint with other fonts.
    Canvas()->Font()->Assign(&font);
    const TRect cell{0, 0, ColWidths(ACol), RowHeights(ARow)};
    const int picked = RadioChoiceAt(RadioPlaces(*extra, cell), extra->CellBoolean, TPoint{X, Y});
    if (picked < 0 || picked >= choices->Count())
        return;
    if (extra->CellIndex == -1)
        SetCells(real, ARow, choices->Strings(picked));
    else
        extra->CellIndex = picked;
    SetCells(real, ARow, Cells(real, ARow));
    if (OnRadioClick)
        OnRadioClick(this, ACol, ARow, picked);
}

// Steps 4 to 16 of a left press; false when the press ends there.
bool TCellGrid::LeftPressSteps(TShiftState Shift, int X, int Y)
{
    std::shared_ptr<bool> alive = AliveToken();
    const TGridCoord cell = MouseToCell(X, Y);
    const int col = cell.X, row = cell.Y;
    const bool inside = col >= 0 && row >= 0;
    const int real = inside ? RemapCol(col) : -1;
    bool fixedCell = false;
    if (inside)
        GetCellFixed(real, row, fixedCell);
    if (!*alive)
        return false;
    // Footer rows, right fixed columns and cells declared fixed: a press on them is a click.
    if (inside && (row >= RowCount() - FixedFooters() || col >= ColCount() - FixedRightCols() || fixedCell)) {
        TStringGrid::MouseDown(mbLeft, Shift, X, Y);
        if (*alive && OnClickCell)
            OnClickCell(this, row, col);
        return false;
    }
    const bool dataRow = inside && row >= FixedRows();
    if (inside && col == 0 && NodeCount() > 0) {
        if (dataRow && IsNode(row)) {
            const int realRow = RemapRowInv(row);
            const bool contracted = GetNodeState(realRow);
            if (contracted) {
                ExpandNode(realRow);
                if (*alive && OnExpandNode)
                    OnExpandNode(this, row, realRow);
            } else {
                ContractNode(realRow);
                if (*alive && OnContractNode)
                    OnContractNode(this, row, realRow);
            }
            if (*alive && row < RowCount() && ColCount() > 1)
                MoveCurrentCell(std::max(Col(), 1), row, true);
        }
        return false;
    }
    const bool normal = inside && col >= FixedCols() && row >= FixedRows();
    if (normal && IsRadio(real, row)) {
        const TRect r = CellRect(col, row);
        HandleRadioClick(col, row, X - r.Left, Y - r.Top);
        return false;
    }
    // A press on a drag source's selection waits for the move that starts the drag.
    if (inside && OleDragPress(col, row, X))
        return false;
    if (!inside) {
        TStringGrid::MouseDown(mbLeft, Shift, X, Y);
        return false;
    }
    if (HasButton(real, row)) {
        TRect button{};
        ButtonRect(real, row, button);
        if (PtInRect(button, TPoint{X, Y})) {
            PushButton(real, row, true);
            FPushedButton = {col, row};
            return false;
        }
    }
    if (MouseActions()->DisjunctRowSelect && dataRow) {
        if (!Shift.Contains(ssCtrl))
            ClearRowSelect();
        else if (GetRowSelect(row))
            FUnselectRow = row;
    }
    // Links: a URL cell, or the anchor under the pointer in an HTML cell.
    const AnsiString text = Cells(real, row);
    AnsiString link;
    const uint8_t kind = TextType(text, EnableHTML);
    // An HTML cell's links are its anchors, even when the mark-up reads as an address.
    if (URLShow() && kind != 1 && IsURL(text)) {
        link = text;
    } else if (kind == 1) {
        TRect r = CellRect(col, row);
        OffsetRect(r, 2, 2);
        THtmlRenderOptions options;
        options.X = X;
        options.Y = Y;
        options.HitTestOnly = true;
        options.Images = GridImages();
        Canvas()->Font()->Assign(Font());
        const THtmlRenderResult hit = RenderHtml(Canvas(), text, r, options);
        if (hit.Hit)
            link = hit.AnchorValue;
    }
    if (!link.empty()) {
        bool autoHandle = true;
        if (OnAnchorClick)
            OnAnchorClick(this, row, col, link, autoHandle);
        if (!*alive || !autoHandle)
            return false;
        if (UpperCase(link).find("CELL://") == AnsiString::npos) {
            if (IsOpenableUrl(link)) {
                if (OpenLink)
                    OpenLink(link);
                else
                    ShellExecute(Handle(), "open", link, "", "", SW_SHOWNORMAL);
            }
        } else {
            TPoint target{};
            if (link.size() > 7 && NameToCell(std::string_view(link).substr(7), target) && target.x >= 0 &&
                target.y >= 0 && target.x < ColCount() && target.y < RowCount()) {
                MoveCurrentCell(target.x, target.y, true);
                if (*alive)
                    MoveIntoView(target.x, target.y);
            }
        }
        return false;
    }
    FMoveOrigin = -1;
    // Whole-grid, row and column selection from the fixed cells.
    const bool range = Options().Contains(goRangeSelect);
    TGridRect whole{-1, -1, -1, -1};
    if (col < FixedCols() && row < FixedRows() && MouseActions()->AllSelect && range && FCursorKind == 3)
        whole = {FixedCols(), FixedRows(), ColCount() - 1, RowCount() - 1};
    else if (col < FixedCols() && dataRow && MouseActions()->RowSelect && range && FCursorKind == 2)
        whole = {FixedCols(), row, ColCount() - 1, row};
    else if (row < FixedRows() && col >= FixedCols() && MouseActions()->ColSelect && range && FCursorKind == 1)
        whole = {col, FixedRows(), col, RowCount() - 1};
    if (whole.Left >= 0) {
        if (CanFocus() && !Focused())
            SetFocus();
        if (!*alive)
            return false;
        HideSelection();
        SetSelection(whole);
        DoExit();
        return false;
    }
    if (row < FixedRows())
        FMoveOrigin = col;
    else if (col < FixedCols())
        FMoveOrigin = row;
    bool canEdit = Options().Contains(goEditing);
    GetCellReadOnly(col, row, canEdit);
    if (!*alive)
        return false;
    if (normal && canEdit && HasCheckBox(real, row)) {
        ToggleCheck(real, row, true);
        bool state = false;
        GetCheckBoxState(real, row, state);
        if (OnCheckBoxClick)
            OnCheckBoxClick(this, col, row, state);
        if (!*alive)
            return false;
    }
    if (canEdit && MouseActions()->DirectEdit)
        HideEditor();
    return true;
}

void TCellGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button != mbLeft || Shift.Contains(ssDouble) || Designing()) {
        TStringGrid::MouseDown(Button, Shift, X, Y);
        return;
    }
    std::shared_ptr<bool> alive = AliveToken();
    ClearSearchText();
    FPushedButton = {-1, -1};
    // An editor this press opens puts its caret under the pointer.
    FMouseStarted = MouseActions()->CaretPositioning;
    FPressPoint = {X, Y};
    FLastMovePoint = {-1, -1};
    if (!LeftPressSteps(Shift, X, Y) || !*alive)
        return;
    TStringGrid::MouseDown(Button, Shift, X, Y);
    if (!*alive)
        return;
    const TGridCoord cell = MouseToCell(X, Y);
    if (OnClickCell)
        OnClickCell(this, cell.Y, cell.X);
    if (!*alive || !MouseActions()->DirectEdit || cell.X < FixedCols() || cell.Y < FixedRows())
        return;
    bool canEdit = Options().Contains(goEditing);
    GetCellReadOnly(cell.X, cell.Y, canEdit);
    const TRect r = CellRect(cell.X, cell.Y);
    if (*alive && canEdit && !HasStaticEdit(RemapCol(cell.X), cell.Y) && X >= r.Left + 4 && X <= r.Right - 4)
        ShowInplaceEdit();
}

void TCellGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    std::shared_ptr<bool> alive = AliveToken();
    if (Button != mbLeft) {
        // A right release while a column is being moved does not end the move.
        if (!(Button == mbRight && GridState() == gsColMoving))
            TStringGrid::MouseUp(Button, Shift, X, Y);
        return;
    }
    FMoveMark = false;
    FSizeMark = GridState() == gsColSizing || GridState() == gsRowSizing;
    HideMoveMarks();
    if (FPushedButton.X >= 0) {
        const TGridCoord pushed = FPushedButton;
        FPushedButton = {-1, -1};
        PushButton(RemapCol(pushed.X), pushed.Y, false);
        if (OnButtonClick)
            OnButtonClick(this, pushed.X, pushed.Y);
        if (!*alive)
            return;
    }
    // A press held back for a drag that did not come selects now.
    OleDragRelease(Shift, X, Y);
    const TGridCoord cell = MouseToCell(X, Y);
    const bool inside = cell.X >= 0 && cell.Y >= 0;
    if (MouseActions()->DisjunctRowSelect && inside && cell.Y >= FixedRows()) {
        SelectToRowSelect(0);
        if (FUnselectRow >= 0 && FUnselectRow < RowCount())
            SetRowSelect(FUnselectRow, false);
    }
    FUnselectRow = -1;
    // The base release ends sizing and moving; a move fires OnRowMoved there.
    TStringGrid::MouseUp(Button, Shift, X, Y);
    if (!*alive || FMoveMark || FSizeMark || !inside)
        return;
    if (cell.X < FixedCols() && !SortFixedCols)
        return;
    const int real = RemapCol(cell.X);
    bool state = false;
    int index = 0;
    if (GetCheckBoxState(real, cell.Y, state) && OnCheckBoxMouseUp)
        OnCheckBoxMouseUp(this, real, cell.Y, state);
    else if (GetRadioIdx(real, cell.Y, index) && OnRadioMouseUp)
        OnRadioMouseUp(this, real, cell.Y, index);
    if (!*alive)
        return;
    if (FBorderDblClick)
        FBorderDblClick = false;
    else
        ClickSort(cell.X, cell.Y, X, Y);
}

void TCellGrid::LeftDoubleClick(TMessage& m)
{
    const int x = LParamX(m.LParam), y = LParamY(m.LParam);
    const TGridCoord cell = MouseToCell(x, y);
    if (cell.Y == 0 && cell.X >= 0 && Options().Contains(goColSizing)) {
        const TRect r = CellRect(cell.X, 0);
        const bool left = x - r.Left < 4, right = r.Right - x < 4;
        if (left && cell.X - 1 >= FixedCols())
            AutoSizeCol(cell.X - 1);
        else if (right && !left && cell.X >= FixedCols())
            AutoSizeCol(cell.X);
        if (left || right) {
            FBorderDblClick = true;
            return;
        }
    }
    std::shared_ptr<bool> alive = AliveToken();
    Inherited(m);
    if (*alive && OnDblClickCell)
        OnDblClickCell(this, cell.Y, cell.X);
}

void TCellGrid::RightPress(TMessage& m)
{
    std::shared_ptr<bool> alive = AliveToken();
    Inherited(m);
    if (!*alive)
        return;
    const TGridCoord cell = MouseToCell(LParamX(m.LParam), LParamY(m.LParam));
    if (OnRightClickCell)
        OnRightClickCell(this, cell.Y, cell.X);
    if (!*alive || cell.X < 0 || cell.Y < 0 || !URLShow() || !URLEdit)
        return;
    if (IsURL(Cells(RemapCol(cell.X), cell.Y))) {
        MoveCurrentCell(cell.X, cell.Y, true);
        if (*alive)
            ShowInplaceEdit();
    }
}

void TCellGrid::HideMoveMarks()
{
    if (FFloatHeader)
        FFloatHeader->ReleaseHandle();
    for (TArrowWindow* a : FArrows)
        if (a)
            a->Hide();
}

TColor TCellGrid::ArrowColor() const { return FArrows[0] ? FArrows[0]->Color() : FArrowColor; }

void TCellGrid::SetArrowColor(TColor Value)
{
    FArrowColor = Value;
    for (TArrowWindow* a : FArrows)
        if (a)
            a->SetColor(Value);
}

void TCellGrid::EnhancedMove(int X, int Y)
{
    const bool cols = GridState() == gsColMoving;
    const int origin = MoveIndex();
    if (!FFloatHeader) {
        FFloatHeader = std::make_unique<THintWindow>(nullptr);
        FFloatHeader->SetColor(FixedColor());
    }
    const AnsiString text = cols ? Cells(RemapCol(origin), 0) : Cells(0, origin);
    const int w = cols ? ColWidths(origin) : ColWidths(0), h = cols ? RowHeights(0) : RowHeights(origin);
    const TRect pressed = cols ? CellRect(origin, 0) : CellRect(0, origin);
    const TPoint at = ClientToScreen(TPoint{X - (FPressPoint.x - pressed.Left), Y - (FPressPoint.y - pressed.Top)});
    FFloatHeader->ActivateHint(Bounds(at.x, at.y, w, h), text);
    for (size_t i = 0; i < FArrows.size(); ++i)
        if (!FArrows[i] && Parent()) {
            static const TArrowDirection kDirections[] = {arrDown, arrUp, arrRight, arrLeft};
            FArrows[i] = new TArrowWindow(this, kDirections[i]);
            FArrows[i]->SetColor(FArrowColor);
            FArrows[i]->SetParent(Parent());
            FArrows[i]->Hide();
        }
    const int target = MovePos();
    FMoveTarget = target;
    if (FArrows[0]) {
        // Column arrows above and below the target's header, row arrows at both sides of it.
        const TRect r = cols ? CellRect(target, 0) : CellRect(0, target);
        const TPoint tl = ClientToScreen(TPoint{r.Left, r.Top});
        const TPoint br = ClientToScreen(TPoint{r.Right, r.Bottom});
        const bool shown = !r.IsEmpty() &&
            (cols ? target >= FixedCols() && target < ColCount() : target >= FixedRows() && target < RowCount());
        const TPoint origin2 = Parent()->ClientToScreen(TPoint{0, 0});
        const auto place = [&](TArrowWindow* a, int left, int top) {
            a->SetBounds(left - origin2.x, top - origin2.y, 11, 11);
            a->SetVisible(shown);
            if (shown)
                a->BringToFront();
        };
        if (cols) {
            place(FArrows[0], tl.x - 5, tl.y - 8);
            place(FArrows[1], tl.x - 5, br.y);
        } else {
            place(FArrows[2], tl.x - 10, tl.y - 5);
            place(FArrows[3], br.x, tl.y - 5);
        }
    }
    // Auto-scroll when the pointer leaves the view on the moving axis.
    if (cols && VisibleColCount() + FixedCols() < ColCount()) {
        if (X < CellRect(FixedCols() - 1, 0).Right && LeftCol() > FixedCols())
            SetLeftCol(LeftCol() - 1);
        else if (X > Width() && LeftCol() + VisibleColCount() < ColCount())
            SetLeftCol(LeftCol() + 1);
    } else if (!cols && VisibleRowCount() + FixedRows() < RowCount()) {
        if (Y < CellRect(0, FixedRows() - 1).Bottom && TopRow() > FixedRows())
            SetTopRow(TopRow() - 1);
        else if (Y > Height() && TopRow() + VisibleRowCount() < RowCount())
            SetTopRow(TopRow() + 1);
    }
}

void TCellGrid::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OleDragMove(Shift, X, Y))
        return;
    std::shared_ptr<bool> alive = AliveToken();
    const TGridState state = GridState();
    if (state == gsColMoving || state == gsRowMoving) {
        bool allow = true;
        if (state == gsColMoving && OnColumnMove)
            OnColumnMove(this, MoveIndex(), allow);
        if (state == gsRowMoving && OnRowMove)
            OnRowMove(this, MoveIndex(), allow);
        if (!*alive)
            return;
        if (!allow) {
            CancelGridState();
            HideMoveMarks();
        } else if (EnhRowColMove && TPoint{X, Y} != FLastMovePoint) {
            FLastMovePoint = {X, Y};
            TStringGrid::MouseMove(Shift, X, Y);
            if (*alive)
                EnhancedMove(X, Y);
            return;
        }
    }
    const TGridCoord cell = MouseToCell(X, Y);
    const bool overFixedRow = cell.X >= FixedCols() && cell.Y >= 0 && cell.Y < FixedRows();
    const bool overFixedCol = cell.Y >= FixedRows() && cell.X >= 0 && cell.X < FixedCols();
    TCursor cursor = crDefault;
    FCursorKind = 0;
    if (cell.X >= 0 && cell.X < FixedCols() && cell.Y >= 0 && cell.Y < FixedRows() && MouseActions()->AllSelect)
        FCursorKind = 3;
    else if (overFixedRow && MouseActions()->ColSelect && CalcSizingHit(*this, X, Y).State == gsNormal)
        FCursorKind = 1;
    else if (overFixedCol && MouseActions()->RowSelect && CalcSizingHit(*this, X, Y).State == gsNormal)
        FCursorKind = 2;
    if (FCursorKind)
        cursor = FCursorKind == 1 ? kColSelectCursor : FCursorKind == 2 ? kRowSelectCursor : kAllSelectCursor;
    const bool normal = cell.X >= FixedCols() && cell.Y >= FixedRows();
    if (normal && state == gsNormal) {
        const AnsiString& text = Cells(RemapCol(cell.X), cell.Y);
        if (URLShow() && TextType(text, EnableHTML) != 1 && IsURL(text)) {
            cursor = LinkCursor();
        } else if (TextType(text, EnableHTML) == 1) {
            TRect r = CellRect(cell.X, cell.Y);
            OffsetRect(r, 2, 2);
            THtmlRenderOptions options;
            options.X = X;
            options.Y = Y;
            options.HitTestOnly = true;
            Canvas()->Font()->Assign(Font());
            const THtmlRenderResult hit = RenderHtml(Canvas(), text, r, options);
            if (hit.Hit) {
                cursor = LinkCursor();
                if (hit.AnchorValue != FLastAnchor) {
                    FLastAnchor = hit.AnchorValue;
                    if (OnAnchorEnter)
                        OnAnchorEnter(this, cell.Y, cell.X, FLastAnchor);
                }
            } else if (!FLastAnchor.empty()) {
                FLastAnchor.clear();
                if (OnAnchorExit)
                    OnAnchorExit(this, cell.Y, cell.X, AnsiString());
            }
            if (!*alive)
                return;
        }
    }
    const bool ownCursor = state == gsNormal && CalcSizingHit(*this, X, Y).State == gsNormal;
    // A hint made for one cell goes when the pointer reaches another.
    if (FHintCell.X >= 0 && cell != FHintCell) {
        CancelHint();
        FHintCell = {-1, -1};
    }
    if (state == gsSelecting && SelectionRectangle() && !(Selection() == FSavedSelection)) {
        InvalidateGridRect(Selection());
        FSavedSelection = Selection();
    }
    // A grid of one row or one column has nothing to size, move or select.
    if (RowCount() <= 1 || ColCount() <= 1)
        CancelGridState();
    TStringGrid::MouseMove(Shift, X, Y);
    // The base move shows the default or a size-grip cursor; the grid's own goes over it.
    if (*alive && ownCursor && GridState() == gsNormal)
        ShowGridCursor(cursor);
}
