// The mouse on the terminal: smart items under the pointer and their clicks, drag selections
// with auto-scroll, block-line mode, Ctrl+click marks, the popups, and the scroll bar.

#include <algorithm>

#include "terminal/control/Terminal.h"

namespace {
constexpr int kThumbDrag = 100;
enum { kBarDown, kBarMove, kBarUp };

bool IsInteger(const AnsiString& s)
{
    int value = 0;
    return TryStrToInt(s, value);
}
}  // namespace

void TCustomTerminal::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    std::shared_ptr<bool> alive = FLiveness.Token();
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (!*alive)
        return;
    if (ScrollBarMouse(kBarDown, Shift, X, Y))
        return;
    if (Button == mbLeft) {
        FLeftDown = true;
        if (FSel.InProgress || !FSel.Text.empty()) {
            FSel.Clear();
            TCustomControl::Invalidate();
        }
        FHoverPressed = true;
        InvalidateHover();
        FSel.Begin(X / FCellWidth, Y / FCellHeight + FCore.LinePos());
        return;
    }
    if (Button != mbRight)
        return;
    const TPoint screen = ClientToScreen(TPoint{X, Y});
    if (FSel.InProgress) {
        if (OnPopupBlock)
            OnPopupBlock(screen.x, screen.y);
    } else if (FHover.Contains(X, Y) && !FMulti.Active()) {
        // Only a menu number has a popup; any other item has none at all.
        if (IsInteger(FSmart.Text) && OnPopupSmart)
            OnPopupSmart(screen.x, screen.y, FSmart.Text);
    } else if (OnPopupNormal) {
        OnPopupNormal(screen.x, screen.y);
    }
}

void TCustomTerminal::MouseMove(TShiftState Shift, int X, int Y)
{
    std::shared_ptr<bool> alive = FLiveness.Token();
    TCustomControl::MouseMove(Shift, X, Y);
    if (!*alive)
        return;
    if (ScrollBarMouse(kBarMove, Shift, X, Y))
        return;
    FLastMouse = TPoint{X, Y};
    if (Y >= 0 && Y < Height())
        FBlockTimer->SetEnabled(false);
    const bool leftOnly = Shift.Contains(ssLeft) && !Shift.Contains(ssRight) && !Shift.Contains(ssMiddle);
    if (leftOnly && FLeftDown) {
        CancelBlockLineMode();
        if (Y >= 0 && Y < ClientHeight()) {
            if (Y / FCellHeight <= FCore.PageSize()) {
                FSel.DragTo(std::max(X, 0) / FCellWidth, Y / FCellHeight + FCore.LinePos());
                FCore.SetSelecting(FSel.InProgress);
                if (FSel.InProgress) {
                    BlockBmpRepaint();
                    TCustomControl::Invalidate();
                }
            }
        } else if (FCore.MaxLinePos() >= 1) {
            FBlockTimer->SetEnabled(true);
        }
        FHover = THoverRect{};
    }
    if (!FSel.InProgress && FBlockLineY == -1) {
        if (!FHover.Contains(X, Y)) {
            if (Cursor() == crHandPoint) {
                SetCursor(crDefault);
                if (!FHoverPressed)
                    InvalidateHover();
            }
            ClearHover();
        } else if (Cursor() == crHandPoint) {
            return;
        }
        SmartMouse(X / FCellWidth, Y / FCellHeight + FCore.LinePos());
    } else if (Cursor() == crHandPoint) {
        SetCursor(crDefault);
    }
}

void TCustomTerminal::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    std::shared_ptr<bool> alive = FLiveness.Token();
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (!*alive)
        return;
    if (ScrollBarMouse(kBarUp, Shift, X, Y))
        return;
    FBlockTimer->SetEnabled(false);
    const bool dragEnded = FLeftDown && Button == mbLeft;
    FLeftDown = false;
    if (FHoverPressed && Button == mbLeft) {
        FHoverPressed = false;
        InvalidateHover();
    }
    if (FSel.InProgress) {
        // Only the release that ends the drag reports the selection; later clicks over a shown
        // selection do not report it again.
        if (dragEnded) {
            FSel.Text = BlockCalcul(FCore.Data(), FSel, FCore.Columns());
            if (OnBlock)
                OnBlock(this, FSel.Text);
            if (!*alive)
                return;
        }
    } else if (FBlockLineY > -1) {
        SetBlockLineY(Y / FCellHeight);
        return;
    } else {
        ReleaseHeldText();
        if (!*alive)
            return;
    }
    THoverRect test = FHover;
    test.Inflate(3);
    if (!test.Contains(X, Y)) {
        if (FMulti.Active())
            CancelMultiSelect();
        return;
    }
    if (Button != mbLeft)
        return;
    if (!Shift.Contains(ssCtrl)) {
        if (FSmart.IsLink) {
            ConnectURL(FSmart.Text);
        } else {
            PutDirectString(FSmart.Text + "\r");
            if (!*alive)
                return;
        }
        if (!Live())
            PaintScreen(FCore.MaxLinePos());
        return;
    }
    MultiSelectClick(FHover);
}

void TCustomTerminal::MultiSelectClick(const THoverRect& hover)
{
    if (!IsInteger(FSmart.Text))
        return;
    const int row = ((hover.Top + hover.Bottom) / 2) / FCellHeight;
    if (!FMulti.Toggle(row, FSmart.Text, hover.Left, hover.Right))
        return;
    MultiSelectRepaint();
    TCustomControl::Invalidate();
}

void TCustomTerminal::SmartMouse(int Col, int Line)
{
    FSmart.IsLink = false;
    if (Line < 0 || Line > TDataList::kCount - 1)
        return;
    TSmartItem item = ::SmartMouse(FCore.Data().Strings(Line), Col);
    if (!item.Found)
        return;
    FSmart = std::move(item);
    FHover = SmartHoverRect(FSmart, Line - FCore.LinePos(), FCellWidth, FCellHeight);
    if (FHover.Contains(FLastMouse.x, FLastMouse.y) && Cursor() == crDefault) {
        SetCursor(crHandPoint);
        if (!FLeftDown)
            InvalidateHover();
    }
}

void TCustomTerminal::ClearHover()
{
    FSmart = TSmartItem{};
    FHover = THoverRect{};
    FHoverPressed = false;
}

void TCustomTerminal::InvalidateHover()
{
    if (FHover.IsNone() || !HandleAllocated())
        return;
    InvalidateRect(Rect(FHover.Left, FHover.Top, FHover.Right, FHover.Bottom));
}

void TCustomTerminal::BlockTimerTimer()
{
    const int x = std::max(FLastMouse.x, 0);
    const int y = FLastMouse.y;
    FCore.SetSelecting(FSel.InProgress);
    if (y < 0) {
        FCore.ScrollView(FCore.LinePos() - (-y / 10 + 1));
        FSel.DragTo(x / FCellWidth, FCore.LinePos());
    } else if (y >= ClientHeight()) {
        FCore.ScrollView(FCore.LinePos() + ((y - ClientHeight()) / 10 + 1));
        FSel.DragTo(x / FCellWidth, FCore.LinePos() + FCore.PageSize());
    } else {
        return;
    }
    FCore.SetSelecting(FSel.InProgress);
    BlockBmpRepaint();
    TCustomControl::Invalidate();
}

// --- Block-line mode, selection and multi-select ----------------------------------------------

void TCustomTerminal::StartBlockLineMode() { SetBlockLineY(FCore.PageSize() / 2); }

void TCustomTerminal::CancelBlockLineMode()
{
    if (FBlockLineY != -1)
        SetBlockLineY(-1);
}

void TCustomTerminal::SetBlockLineY(int Row)
{
    if (Row == -1) {
        FBlockLineY = -1;
        TCustomControl::Invalidate();
        if (OnCancelBlockLineMode)
            OnCancelBlockLineMode(this);
        return;
    }
    Row = std::clamp(Row, 0, FCore.PageSize());
    if (FMulti.Active())
        CancelMultiSelect();
    CancelBlockMode();
    const bool opening = FBlockLineY == -1;
    const int line = std::min(FCore.LinePos() + Row, TDataList::kCount - 1);
    std::shared_ptr<bool> alive = FLiveness.Token();
    if (OnBlockLine)
        OnBlockLine(this, FCore.Data().Strings(line), opening);
    if (!*alive)
        return;
    FBlockLineY = Row;
    TCustomControl::Invalidate();
}

void TCustomTerminal::CancelBlockMode()
{
    if (!FSel.InProgress && FSel.Text.empty())
        return;
    FSel.Clear();
    TCustomControl::Invalidate();
    if (Live() && !FResizing)
        ReleaseHeldText();
}

void TCustomTerminal::CancelMultiSelect()
{
    FMulti.Cancel();
    TCustomControl::Invalidate();
}

// --- The scroll bar strip ---------------------------------------------------------------------

bool TCustomTerminal::ScrollBarMouse(int kind, TShiftState Shift, int X, int Y)
{
    const int height = Height();
    auto send = [this](unsigned code, int pos = 0) {
        Perform(WM_VSCROLL, (static_cast<WPARAM>(pos & 0xFFFF) << 16) | code);
    };
    if (kind == kBarDown) {
        if (X < ClientWidth())
            return false;
        const int hit = FScrollBar.HitTest(Y, height);
        if (hit >= 0) {
            FScrollDrag = hit;
            send(static_cast<unsigned>(hit));
        } else if (FScrollBar.ArrowsEnabled()) {
            FScrollDrag = kThumbDrag;
            FThumbGrab = Y - FScrollBar.Thumb(height).Top;
        }
        TCustomControl::Invalidate();
        return true;
    }
    if (kind == kBarMove) {
        if (FScrollDrag == kThumbDrag) {
            send(SB_THUMBTRACK, FScrollBar.PositionAt(Y - FThumbGrab, height));
            TCustomControl::Invalidate();
            return true;
        }
        return FScrollDrag >= 0 || (X >= ClientWidth() && !FLeftDown);
    }
    if (FScrollDrag < 0)
        return X >= ClientWidth() && !FLeftDown;
    if (FScrollDrag == kThumbDrag)
        send(SB_THUMBPOSITION, FScrollBar.Position());
    send(SB_ENDSCROLL);
    FScrollDrag = -1;
    TCustomControl::Invalidate();
    return true;
}
