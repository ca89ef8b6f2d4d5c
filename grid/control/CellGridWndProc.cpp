// The cell grid's window procedure (its combo editor's change notifications, wheel with
// Ctrl+wheel zoom, middle-button panning), zoom, resizing with the owner form and the window, the
// first row or column in view changing, and the small accessors: cells and objects by real row,
// text without tags, rich text in and out, the editor's text hooks and the edit-with-button
// answer.

#include <algorithm>

#include "grid/control/CellGrid.h"
#include "grid/control/CellGridEditors.h"
#include "grid/control/CgRichEdit.h"
#include "grid/model/HtmlTags.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/KeyState.h"
#include "platform/gui/ResizeWatch.h"
#include "platform/gui/StdMessages.h"
#include "platform/gui/WindowTimer.h"

namespace {

// The pan timer: a timer of its own, so no other timer of the grid steps a pan.
constexpr uintptr_t kPanTimer = 999;
constexpr uint32_t kPanPeriodMs = 10;
// The panning cursors: at rest, then by direction.
constexpr TCursor kPanCursor = 8000;

TCursor PanCursor(int dx, int dy)
{
    if (dx == 0)
        return dy == 0 ? kPanCursor : dy > 0 ? 8001 : 8004;
    if (dy == 0)
        return dx < 0 ? 8002 : 8003;
    if (dx < 0)
        return dy > 0 ? 8005 : 8006;
    return dy > 0 ? 8007 : 8008;
}

}  // namespace

void TCellGrid::WndProc(TMessage& Message)
{
    const unsigned msg = Message.Msg;
    if (msg == WM_COMMAND && FCombo && Message.LParam == reinterpret_cast<LPARAM>(FCombo)) {
        ComboNotify(static_cast<unsigned>(Message.WParam >> 16));
        return;
    }
    if (FPanning) {
        if (msg == WM_TIMER && Message.WParam == kPanTimer) {
            PanStep();
            return;
        }
        if (msg == WM_MBUTTONDOWN || msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_KEYDOWN) {
            PanEnd();
            if (msg == WM_MBUTTONDOWN)
                return;
        }
    } else if (msg == WM_MBUTTONDOWN && WheelMessage() != 0 && IntelliPan != ipNone) {
        PanStart(LParamX(Message.LParam), LParamY(Message.LParam));
        return;
    } else if (msg == WM_MOUSEWHEEL && WheelMessage() != 0) {
        const int delta = static_cast<int16_t>((Message.WParam >> 16) & 0xFFFF);
        TShiftState shift = KeysToShiftState(Message.WParam & 0xFFFF);
        if (GetKeyState(VK_CONTROL) < 0)
            shift << ssCtrl;
        std::shared_ptr<bool> alive = AliveToken();
        if (const int notches = FWheel.Add(delta))
            WheelNotch(notches, shift);
        if (!*alive)
            return;
    }
    TStringGrid::WndProc(Message);
}

void TCellGrid::ComboNotify(unsigned Code)
{
    if (!OnComboChange || (Code != CBN_SELCHANGE && Code != CBN_EDITCHANGE))
        return;
    // A chosen item comes with its index; typed text with -1.
    int index = -1;
    AnsiString text = FCombo->Text();
    if (Code == CBN_SELCHANGE) {
        index = FCombo->ItemIndex();
        text = index >= 0 && index < FCombo->Items()->Count() ? FCombo->Items()->Strings(index) : AnsiString();
    }
    OnComboChange(this, Col(), Row(), index, text);
}

void TCellGrid::WheelNotch(int Notches, TShiftState Shift)
{
    // Notches count away from the user; towards the user the view goes down and the zoom up.
    const int lines = WheelScrollLines();
    if (Shift.Contains(ssCtrl) && IntelliZoom) {
        for (int i = 0; i < std::abs(Notches); ++i)
            Zoom(Notches < 0 ? lines : -lines);
        return;
    }
    if (!EnableWheel || ColCount() == 0 || RowCount() == 0)
        return;
    const int lastRow = RowCount() - 1 - FixedFooters();
    if (lastRow < FixedRows())
        return;
    const int col = std::clamp(Col(), std::min(FixedCols(), ColCount() - 1), ColCount() - 1);
    const int64_t wanted = int64_t{Row()} - int64_t{Notches} * lines;
    const int row = static_cast<int>(std::clamp<int64_t>(wanted, FixedRows(), lastRow));
    if (col != Col() || row != Row())
        MoveCurrentCell(col, row, true);
}

void TCellGrid::Zoom(int x)
{
    if (FZoom + x < -10 || FZoom + x > 10)
        return;
    FZoom += x;
    BeginUpdate();
    for (int c = 0; c < ColCount(); ++c)
        if (ColWidths(c) + x > 0)
            SetColWidths(c, ColWidths(c) + x);
    for (int r = 0; r < RowCount(); ++r)
        if (RowHeights(r) + x > 0)
            SetRowHeights(r, RowHeights(r) + x);
    EndUpdate();
}

void TCellGrid::PanStart(int X, int Y)
{
    FPanSavedCursor = Cursor();
    ShowGridCursor(kPanCursor);
    FPanning = true;
    SetTimer(this, kPanTimer, kPanPeriodMs);
    FPanAnchor = {X, Y};
    SetMouseCapture(true);
    SetShowHint(false);
    DrawIntelliFocusPoint();
}

void TCellGrid::PanEnd()
{
    if (!FPanning)
        return;
    FPanning = false;
    SetMouseCapture(false);
    KillTimer(this, kPanTimer);
    ShowGridCursor(FPanSavedCursor);
    SetShowHint(true);
    EraseIntelliFocusPoint();
}

void TCellGrid::PanStep()
{
    const TPoint p = ScreenToClient(GetCursorPos());
    int dx = p.x < FPanAnchor.x - 5 ? -1 : p.x > FPanAnchor.x + 5 ? 1 : 0;
    int dy = p.y < FPanAnchor.y - 5 ? -1 : p.y > FPanAnchor.y + 5 ? 1 : 0;
    if (IntelliPan == ipHorizontal)
        dy = 0;
    if (IntelliPan == ipVertical)
        dx = 0;
    ShowGridCursor(PanCursor(dx, dy));
    const int lastRow = RowCount() - 1 - FixedFooters(), lastCol = ColCount() - 1 - FixedRightCols();
    if (lastRow < FixedRows() || lastCol < FixedCols())
        return;
    const int row = std::clamp(std::clamp(Row(), FixedRows(), lastRow) + dy, FixedRows(), lastRow);
    const int col = std::clamp(std::clamp(Col(), FixedCols(), lastCol) + dx, FixedCols(), lastCol);
    if (row != Row() || col != Col())
        MoveCurrentCell(col, row, true);
}

void TCellGrid::GridResize(TObject* Sender)
{
    if (Designing())
        return;
    auto* form = dynamic_cast<TCustomForm*>(Sender);
    if (form && SizeWithForm) {
        const int w = Width() + form->Width() - FFormWidth, h = Height() + form->Height() - FFormHeight;
        if (w > 0 && h > 0)
            SetBounds(Left(), Top(), w, h);
        FFormWidth = form->Width();
        FFormHeight = form->Height();
    }
    StretchRightColumn();
}

void TCellGrid::TopLeftChanged()
{
    // The text editor follows its cell (the base moves it); an editor control is hidden. The
    // base fires OnTopLeftChanged, whose handler may free the grid.
    const TAliveToken alive = AliveToken();
    TStringGrid::TopLeftChanged();
    if (!*alive)
        return;
    if (EditControlShown())
        HideInplaceEdit();
    if (!*alive)
        return;
    UpdateVScrollBar();
    UpdateHScrollBar();
}

void TCellGrid::InvalidateGridRect(const TGridRect& R)
{
    TRect area{};
    UnionRect(area, CellRect(R.Left, R.Top), CellRect(R.Right, R.Bottom));
    if (!area.IsEmpty())
        InvalidateRect(area);
}

// --- Accessors ---------------------------------------------------------------------------------

AnsiString TCellGrid::GetCellsEx(int ACol, int ARow) const
{
    if (const TGridItem* item = HiddenRows().Find(ARow))
        return ACol >= 0 && ACol < item->Items()->Count() ? item->Items()->Strings(ACol) : AnsiString();
    return Cells(ACol, RemapRow(ARow));
}

void TCellGrid::SetCellsEx(int ACol, int ARow, const AnsiString& Value)
{
    if (TGridItem* item = HiddenRows().Find(ARow)) {
        if (ACol >= 0 && ACol < item->Items()->Count())
            item->Items()->SetStrings(ACol, Value);
        return;
    }
    SetCells(ACol, RemapRow(ARow), Value);
}

TObject* TCellGrid::GetObjectsEx(int ACol, int ARow) const
{
    if (const TGridItem* item = HiddenRows().Find(ARow))
        return ACol >= 0 && ACol < item->Items()->Count() ? item->Items()->Objects(ACol) : nullptr;
    return Objects(ACol, RemapRow(ARow));
}

void TCellGrid::SetObjectsEx(int ACol, int ARow, TObject* Value)
{
    if (TGridItem* item = HiddenRows().Find(ARow)) {
        if (ACol >= 0 && ACol < item->Items()->Count())
            item->Items()->SetObjects(ACol, Value);
        return;
    }
    SetObjects(ACol, RemapRow(ARow), Value);
}

AnsiString TCellGrid::GetStrippedCell(int ACol, int ARow) const { return StripHtmlTags(Cells(ACol, ARow)); }

void TCellGrid::CellToRich(int ACol, int ARow, TRichDocument* RichEdit)
{
    const AnsiString& text = Cells(ACol, ARow);
    if (text.empty())
        RichEdit->Clear();
    else
        RichEdit->LoadFromBytes(text);
}

void TCellGrid::RichToCell(int ACol, int ARow, TRichDocument* RichEdit)
{
    SetCells(ACol, ARow, RichEdit->SaveToBytes());
}


AnsiString TCellGrid::EllipsClick(AnsiString Value)
{
    if (OnEllipsClick)
        OnEllipsClick(this, GetRealCol(), Row(), Value);
    return Value;
}
