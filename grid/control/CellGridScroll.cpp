// Scrolling the cell grid: bringing a cell into view, the scroll messages (the thumb's hint with
// the row or column it points at, live scrolling while the thumb is dragged, the fixed
// background), the proportional bars whose thumb shows the visible share, with their style,
// colour and width, and what a change of the counts or of the window's size does to the bars.

#include <algorithm>
#include <cmath>

#include "grid/control/CellGrid.h"
#include "platform/gui/HintWindow.h"
#include "platform/gui/Messages.h"
#include "platform/gui/WindowScrollBars.h"

namespace {

// The scroll bar's logical positions run 0 .. kRange; a proportional page is a share of kRange + 1.
constexpr int kRange = TCustomGrid::kScrollRange;

int MulDivRound(int a, int b, int c) { return c == 0 ? 0 : static_cast<int>(std::lround(double(a) * b / c)); }

// The page of a proportional bar: the visible share of the items, of kRange + 1.
int ProportionalPage(int Visible, int Count)
{
    return Count <= 0 ? 0 : std::clamp(MulDivRound(Visible, kRange + 1, Count), 0, kRange + 1);
}

}  // namespace

void TCellGrid::ScrollInView(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount())
        return;
    const int visibleCols = VisibleColCount(), visibleRows = VisibleRowCount();
    // Each move and scroll fires handlers (selection, TopLeftChanged) that may free the grid.
    const TAliveToken alive = AliveToken();
    int left = LeftCol();
    if (ACol < LeftCol() || ACol > LeftCol() + visibleCols) {
        SetCol(ACol);
        if (!*alive)
            return;
        left = std::max(ACol - visibleCols / 2, FixedCols());
    }
    if (ARow >= TopRow() && ARow <= TopRow() + visibleRows) {
        SetLeftCol(left);
        return;
    }
    SetRow(ARow);
    if (*alive)
        SetLeftCol(left);
    if (*alive)
        SetTopRow(std::max(ARow - visibleRows / 2, FixedRows()));
}

void TCellGrid::SetScrollType(TScrollType Value)
{
    FScrollType = Value;
    UpdateBarLook();
}

void TCellGrid::SetScrollColor(TColor Value)
{
    FScrollColor = Value;
    UpdateBarLook();
}

void TCellGrid::SetScrollWidth(int Value)
{
    FScrollWidth = std::clamp(Value, 0, 255);
    UpdateBarLook();
}

void TCellGrid::UpdateBarLook()
{
    if (!FFlatInit || !HandleAllocated())
        return;
    const int style = FScrollType == ssFlat ? 1 : FScrollType == ssEncarta ? 2 : 0;
    SetWindowScrollBarLook(this, SB_BOTH, TScrollBarLook{style, FScrollColor, FScrollWidth});
    UpdateScrollRange();
}

void TCellGrid::SetScrollProportional(bool Value)
{
    FScrollProportional = Value;
    if (Value) {
        HandleNeeded();
        FFlatInit = true;
        FlatUpdate();
        return;
    }
    if (!FFlatInit)
        return;
    FFlatInit = false;
    SetWindowScrollBarLook(this, SB_BOTH, TScrollBarLook{});
    TScrollInfo info;
    info.fMask = SIF_PAGE;
    info.nPage = 0;
    SetScrollInfo(this, SB_HORZ, info, true);
    SetScrollInfo(this, SB_VERT, info, true);
    UpdateScrollRange();
}

void TCellGrid::FlatUpdate()
{
    UpdateBarLook();
    UpdateScrollRange();
    UpdateVScrollBar();
    UpdateHScrollBar();
}

void TCellGrid::UpdateVScrollBar() { UpdateProportionalBar(SB_VERT); }

void TCellGrid::UpdateHScrollBar() { UpdateProportionalBar(SB_HORZ); }

void TCellGrid::UpdateProportionalBar(int Bar)
{
    if (!FFlatInit || !HasScrollBar(Bar) || !HandleAllocated())
        return;
    TScrollInfo info;
    GetScrollInfo(this, Bar, info);
    // The base grid keeps the range 0 .. kRange and shows or hides the bar; only the page and
    // the position are written here.
    info.fMask = SIF_PAGE | SIF_POS;
    if (info.nPos < 0 || info.nPos > kRange)
        info.nPos = 0;
    const bool vertical = Bar == SB_VERT;
    info.nPage = static_cast<unsigned>(
        ProportionalPage(vertical ? VisibleRowCount() : VisibleColCount(), vertical ? RowCount() : ColCount()));
    SetScrollInfo(this, Bar, info, true);
}

void TCellGrid::SizeChanged(int OldColCount, int OldRowCount)
{
    if (!Parent())
        return;
    if (ColumnSize()->Stretch())
        StretchRightColumn();
    TStringGrid::SizeChanged(OldColCount, OldRowCount);
    UpdateVScrollBar();
    UpdateHScrollBar();
    if (FixedFooters() > 0 || FixedRightCols() > 0)
        InvalidateGrid();
}

void TCellGrid::BoundsChanged(const TRect& OldBounds, bool SizeChanged)
{
    // The base sends the window its size message, then sets the view and shows or hides the
    // bars; the stretch and the proportional thumbs take the client as it is after that.
    TStringGrid::BoundsChanged(OldBounds, SizeChanged);
    if (!SizeChanged)
        return;
    if (ColumnSize()->Stretch())
        StretchRightColumn();
    UpdateVScrollBar();
    UpdateHScrollBar();
}

void TCellGrid::ScrollMessage(TMessage& Msg, bool Vertical)
{
    const unsigned code = static_cast<unsigned>(Msg.WParam & 0xFFFF);
    int pos = static_cast<int>((Msg.WParam >> 16) & 0xFFFF);
    const int count = Vertical ? RowCount() : ColCount();
    const int visible = Vertical ? VisibleRowCount() : VisibleColCount();
    const int fixed = Vertical ? FixedRows() : FixedCols();
    // A proportional thumb ends at kRange + 1 less its page: the position is stretched back onto
    // the whole range, so the end of the bar reaches the last row (column).
    if (FFlatInit && (code == SB_THUMBPOSITION || code == SB_THUMBTRACK)) {
        const int page = ProportionalPage(visible, count);
        if (page > 0 && page <= kRange)
            pos = std::clamp(MulDivRound(pos, kRange, kRange + 1 - page), 0, kRange);
        Msg.WParam = code | (static_cast<WPARAM>(pos) << 16);
    }
    // The row (column) the thumb points at: never a fixed one, never past the last.
    const int target =
        std::clamp(MulDivRound(pos, count - visible - fixed, kRange) + fixed, fixed, std::max(fixed, count - 1));
    const bool hints = ScrollHints == shBoth || ScrollHints == (Vertical ? shVertical : shHorizontal);
    if (hints && code == SB_ENDSCROLL) {
        if (FScrollHint)
            FScrollHint->ReleaseHandle();
        FScrollHintShowing = false;
    } else if (hints && code == SB_THUMBTRACK) {
        AnsiString text = IntToStr(target);
        if (OnScrollHint)
            OnScrollHint(this, target, text);
        if (!FScrollHint)
            FScrollHint = std::make_unique<THintWindow>(nullptr);
        FScrollHint->SetColor(HintColor);
        const TPoint at = GetCursorPos();
        const TRect size = FScrollHint->CalcHintRect(400, text);
        FScrollHint->ActivateHint(Bounds(at.x + 10, at.y, size.Width(), size.Height()), text);
        FScrollHintShowing = true;
    }
    if (Vertical && ScrollSynch && code == SB_THUMBTRACK)
        SetTopRow(target);

    // A background fixed in the client moves under the cells: the cells it starts in are painted
    // again when another cell comes under it.
    const bool fixedBack = !BackGround()->Bitmap()->Empty() && BackGround()->Display() == bdFixed;
    const TGridCoord before = MouseToCell(BackGround()->Left(), BackGround()->Top());
    if (Vertical)
        TStringGrid::WMVScroll(Msg);
    else
        TStringGrid::WMHScroll(Msg);
    const TGridCoord after = MouseToCell(BackGround()->Left(), BackGround()->Top());
    if (fixedBack && code != SB_THUMBTRACK && !(before == after)) {
        InvalidateCell(before.X, before.Y);
        InvalidateCell(after.X, after.Y);
    }
    if (Vertical)
        UpdateVScrollBar();
    else
        UpdateHScrollBar();
    if (EditorMode() && HasCheckBox(GetRealCol(), Row()))
        HideInplaceEdit();
}

void TCellGrid::WMVScroll(TMessage& Msg) { ScrollMessage(Msg, true); }

void TCellGrid::WMHScroll(TMessage& Msg) { ScrollMessage(Msg, false); }
