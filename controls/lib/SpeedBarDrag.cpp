// Dragging and resizing the speed bar in editing mode, and dragging a button on or off it. The
// bar moves to another edge only while a customise window is attached: a tool bar that is never
// customised stays where its form put it.

#include <algorithm>
#include <cstdlib>

#include "controls/lib/CtrlUtils.h"
#include "controls/lib/SpeedBar.h"

namespace {

bool IsEdge(TAlign Align) { return Align == alTop || Align == alBottom || Align == alLeft || Align == alRight; }

// The order in which a parent gives its edges away.
int EdgeOrder(TAlign Align) { return static_cast<int>(Align); }

TRect ScreenRect(const TControl* Control, const TRect& Client)
{
    const TPoint o = Control->ClientOrigin();
    return TRect{Client.Left + o.x, Client.Top + o.y, Client.Right + o.x, Client.Bottom + o.y};
}

bool HasArea(const TWinControl* Parent) { return Parent->ClientWidth() >= 1 && Parent->ClientHeight() >= 1; }

}  // namespace

bool TSpeedBar::CheckResize(int X, int Y)
{
    const bool resize = Editing() && HasOption(sbAllowResize) && !FDrag.Dragging &&
        InSpeedBarResizeZone(static_cast<TBarEdge>(IsEdge(Align()) ? Align() : alNone), X, Y, ClientWidth(),
                             ClientHeight());
    const TCursor wanted = !resize ? crDefault : (Align() == alTop || Align() == alBottom) ? crSizeNS : crSizeWE;
    if (resize || FDrag.ResizeCursor)
        SetCursor(wanted);
    FDrag.ResizeCursor = resize;
    return resize;
}

void TSpeedBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TAliveToken alive = AliveToken();
    TCustomPanel::MouseDown(Button, Shift, X, Y);
    if (!*alive || Button != mbLeft || !Parent())
        return;
    if (CheckResize(X, Y)) {
        FDrag.Resizing = true;
        SetMouseCapture(true);
        return;
    }
    if (Editing() && HasOption(sbAllowDrag) && IsEdge(Align())) {
        SetMouseCapture(true);
        FDrag.Tracking = true;
        FDrag.Start = TPoint{X, Y};
    }
}

void TSpeedBar::MouseMove(TShiftState Shift, int X, int Y)
{
    TAliveToken alive = AliveToken();
    TCustomPanel::MouseMove(Shift, X, Y);
    if (!*alive)
        return;
    CheckResize(X, Y);
    if (!MouseCapture() || !Shift.Contains(ssLeft))
        return;
    if (FDrag.Resizing) {
        ResizeTo(TPoint{X, Y});
        return;
    }
    if (!FDrag.Tracking || !HasOption(sbAllowDrag))
        return;
    if (!FDrag.Dragging) {
        if (std::abs(X - FDrag.Start.x) <= 4 && std::abs(Y - FDrag.Start.y) <= 4)
            return;
        StartDragFrame();
    }
    DragFrame(ClientToScreen(TPoint{X, Y}));
}

void TSpeedBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TAliveToken alive = AliveToken();
    TCustomPanel::MouseUp(Button, Shift, X, Y);
    if (!*alive || Button != mbLeft)
        return;
    if (FDrag.Resizing) {
        FDrag.Resizing = false;
        CheckResize(X, Y);
    } else if (FDrag.Dragging) {
        StopDragFrame(ClientToScreen(TPoint{X, Y}));
        if (!*alive)
            return;
    }
    FDrag.Tracking = false;
    FDrag.Dragging = false;
    SetMouseCapture(false);
}

void TSpeedBar::ResizeTo(TPoint BarPoint)
{
    TWinControl* parent = Parent();
    if (!parent || !PtInRect(parent->ClientRect(), TPoint{Left() + BarPoint.x, Top() + BarPoint.y}))
        return;
    const int offH = BtnOffsetHorz(), offV = BtnOffsetVert();
    switch (Align()) {
    case alTop:
    case alBottom: {
        const int distance = Align() == alTop ? BarPoint.y - 2 * offV : ClientHeight() - 2 * offV - BarPoint.y;
        const int rows = SpeedBarResizeCount(distance, BtnHeight());
        SetHeight(std::min(rows * BtnHeight() + 2 * offV, parent->ClientHeight()));
        break;
    }
    case alLeft:
    case alRight: {
        const int distance = Align() == alLeft ? BarPoint.x - 2 * offH : ClientWidth() - 2 * offH - BarPoint.x;
        const int cols = SpeedBarResizeCount(distance, BtnWidth());
        SetWidth(std::min(cols * BtnWidth() + 2 * offH, parent->ClientWidth()));
        break;
    }
    default: break;
    }
}

void TSpeedBar::StartDragFrame()
{
    FDrag.Dragging = true;
    FDrag.Frame = ScreenRect(this, TRect{0, 0, Width(), Height()});
    FDrag.Edge = Align();
    if (HasArea(Parent())) {
        DrawInvertFrame(FDrag.Frame, 3);
        FDrag.FrameShown = true;
    }
    Screen->SetCursor(crDragHand);
}

TAlign TSpeedBar::GetFramePos(TPoint ScreenPoint, bool& Apply)
{
    TWinControl* parent = Parent();
    const TPoint p = parent->ScreenToClient(ScreenPoint);
    const auto edge = static_cast<TAlign>(EdgeByDiagonals(p.x, p.y, parent->ClientWidth(), parent->ClientHeight()));
    Apply = true;
    if (OnApplyAlign)
        OnApplyAlign(this, edge, Apply);
    return edge;
}

TRect TSpeedBar::GetFrameRect(TAlign Edge) const
{
    TWinControl* parent = Parent();
    TRect r = parent->ClientRect();
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (c == this || !c->Visible() || !IsEdge(c->Align()))
            continue;
        bool before = EdgeOrder(c->Align()) < EdgeOrder(Edge);
        if (c->Align() == Edge) {
            switch (Edge) {
            case alTop: before = c->Top() < Top(); break;
            case alBottom: before = c->Top() > Top(); break;
            case alLeft: before = c->Left() < Left(); break;
            default: before = c->Left() > Left(); break;
            }
        }
        if (!before)
            continue;
        switch (c->Align()) {
        case alTop: r.Top += c->Height(); break;
        case alBottom: r.Bottom -= c->Height(); break;
        case alLeft: r.Left += c->Width(); break;
        default: r.Right -= c->Width(); break;
        }
    }
    const int thickness = Orientation() == boHorizontal ? Height() : Width();
    switch (Edge) {
    case alTop: r.Bottom = r.Top + thickness; break;
    case alBottom: r.Top = r.Bottom - thickness; break;
    case alLeft: r.Right = r.Left + thickness; break;
    default: r.Left = r.Right - thickness; break;
    }
    return ScreenRect(parent, r);
}

void TSpeedBar::DragFrame(TPoint ScreenPoint)
{
    bool apply = true;
    const TAlign edge = GetFramePos(ScreenPoint, apply);
    if (!apply)
        return;
    const TRect frame = GetFrameRect(edge);
    FDrag.Edge = edge;
    if (frame == FDrag.Frame)
        return;
    const bool show = HasArea(Parent());
    if (FDrag.FrameShown)
        DrawInvertFrame(FDrag.Frame, 3);
    FDrag.Frame = frame;
    FDrag.FrameShown = show;
    if (show)
        DrawInvertFrame(frame, 3);
}

void TSpeedBar::StopDragFrame(TPoint ScreenPoint)
{
    if (FDrag.FrameShown)
        DrawInvertFrame(FDrag.Frame, 3);
    FDrag.FrameShown = false;
    FDrag.Dragging = false;
    Screen->SetCursor(crDefault);
    if (!IsEdge(Align()))
        return;
    bool apply = true;
    TAlign edge = GetFramePos(ScreenPoint, apply);
    if (!apply)
        edge = FDrag.Edge;
    TWinControl* parent = Parent();
    parent->DisableAlign();
    try {
        SetAlign(edge);
    } catch (...) {
        parent->EnableAlign();
        throw;
    }
    parent->EnableAlign();
    PosChanged();
}

// --- A button dragged on or off the bar

bool TSpeedbarButton::Dragged() const { return FItem && FItem->Editing() && FItem->SpeedBar() && Visible(); }

TPoint TSpeedbarButton::DropPoint(int X, int Y) const
{
    TSpeedBar* bar = FItem->SpeedBar();
    return TPoint{Left() + X - bar->BtnWidth(), Top() + Y - bar->BtnHeight()};
}

void TSpeedbarButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button != mbLeft || !Dragged()) {
        TExSpeedButton::MouseDown(Button, Shift, X, Y);
        return;
    }
    TSpeedBar* bar = FItem->SpeedBar();
    if (!FDrag) {
        SetCursorPos(ClientToScreen(TPoint{bar->BtnWidth(), bar->BtnHeight()}));
        FDrag = std::make_unique<TBtnControl>(nullptr);
        FDrag->SetParent(bar);
        FDrag->AssignSpeedItem(FItem);
    }
    BringToFront();
}

void TSpeedbarButton::MouseMove(TShiftState Shift, int X, int Y)
{
    if (!FDrag) {
        TExSpeedButton::MouseMove(Shift, X, Y);
        return;
    }
    TSpeedBar* bar = FItem->SpeedBar();
    const TPoint p = DropPoint(X, Y);
    SetVisible(false);
    if (!PtInRect(bar->ClientRect(), p)) {
        FDrag->ReleaseHandle();
        return;
    }
    const TPoint screen = bar->ClientToScreen(p);
    FDrag->Activate(TRect{screen.x, screen.y, screen.x + bar->BtnWidth(), screen.y + bar->BtnHeight()});
}

void TSpeedbarButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (!FDrag) {
        TExSpeedButton::MouseUp(Button, Shift, X, Y);
        return;
    }
    FDrag.reset();
    Screen->SetCursor(crDefault);
    TSpeedBar* bar = FItem->SpeedBar();
    const TPoint p = DropPoint(X, Y);
    if (!PtInRect(bar->ClientRect(), p)) {
        SendToBack();
        FItem->SetVisible(false);
        bar->NotifyEditWindow(SBR_CHANGED);
        return;
    }
    if (bar->AcceptDropItem(FItem, p.x, p.y)) {
        bar->NotifyEditWindow(SBR_ITEMDROPPED, reinterpret_cast<LPARAM>(FItem));
        Invalidate();
    } else {
        bar->NotifyEditWindow(SBR_CHANGED);
    }
}
