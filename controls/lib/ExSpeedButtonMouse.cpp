// The speed button's input: press, move and release with their state changes, the drop-down menu
// and the press that closed it, auto-repeat, the programmatic press and the tracking of the mouse.

#include "controls/lib/CtrlUtils.h"
#include "controls/lib/ExSpeedButton.h"

#include <chrono>
#include <thread>

#include "platform/gui/Foreground.h"
#include "platform/gui/Queue.h"

namespace {

// The release and move tests take the bottom edge as inside and the right edge as outside.
bool InsideButton(const TControl* c, int X, int Y)
{
    return X >= 0 && X < c->ClientWidth() && Y >= 0 && Y <= c->ClientHeight();
}

}  // namespace

bool TExSpeedButton::Inside(int X, int Y) const { return InsideButton(this, X, Y); }

bool TExSpeedButton::SwallowsPress(const TMessage& Message) const
{
    return FMenuClosing && *FMenuClosing && Inside(LParamX(Message.LParam), LParamY(Message.LParam));
}

TPoint TExSpeedButton::GetDropDownMenuPos() const
{
    if (!FDropDownMenu)
        return TPoint{};
    return DropDownMenuPos(FMenuPosition, FDropDownMenu->Alignment(), Width(), Height());
}

bool TExSpeedButton::CheckMenuDropDown(TPoint Pos, bool Manual)
{
    if (!FDropDownMenu || InState(csDesigning) || (!FDropDownMenu->AutoPopup() && !Manual))
        return false;
    // The menu ends the mouse capture the press set as it opens.
    FDropDownMenu->SetPopupComponent(this);
    const TPoint at = ClientToScreen(Pos);
    TAliveToken alive = AliveToken();
    FDropDownMenu->Popup(at.x, at.y);
    if (*alive) {
        // The press that closed the menu may still be on its way; it is dropped until the event
        // loop turns once.
        FMenuClosing = std::make_shared<bool>(true);
        QueueCall([closing = FMenuClosing] { *closing = false; });
    }
    return true;
}

bool TExSpeedButton::CheckBtnMenuDropDown() { return CheckMenuDropDown(GetDropDownMenuPos(), true); }

void TExSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (FMenuTracking)
        return;
    TAliveToken alive = AliveToken();
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (!*alive)
        return;
    if (!FMouseInControl && Enabled()) {
        FMouseInControl = true;
        Repaint();
    }
    if (Button != mbLeft || !Enabled())
        return;
    if (!FDown) {
        FState = rbsDown;
        Repaint();
    }
    FDragging = true;
    FMenuTracking = true;
    try {
        const bool opened = CheckMenuDropDown(GetDropDownMenuPos(), false);
        if (!*alive)
            return;
        if (opened)
            DoMouseUp(Button, Shift, X, Y);
    } catch (...) {
        if (*alive)
            FMenuTracking = false;
        throw;
    }
    if (!*alive)
        return;
    FMenuTracking = false;
    if (FAllowTimer) {
        if (!FRepeatTimer) {
            FRepeatTimer = std::make_unique<TTimer>(nullptr);
            FRepeatTimer->SetOnTimer([this](TObject* sender) { TimerExpired(sender); });
        }
        FRepeatTimer->SetEnabled(false);
        FRepeatTimer->SetInterval(FInitPause);
        FRepeatTimer->SetEnabled(true);
    }
}

void TExSpeedButton::MouseMove(TShiftState Shift, int X, int Y)
{
    TAliveToken alive = AliveToken();
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!*alive || !FDragging)
        return;
    const TExButtonState next = FDown ? rbsExclusive : Inside(X, Y) ? rbsDown : rbsUp;
    if (next != FState) {
        FState = next;
        Repaint();
    }
}

void TExSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TAliveToken alive = AliveToken();
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!*alive)
        return;
    DoMouseUp(Button, Shift, X, Y);
    if (*alive && FRepeatTimer)
        FRepeatTimer->SetEnabled(false);
}

void TExSpeedButton::DoMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TAliveToken alive = AliveToken();
    if (FDragging && Button == mbLeft) {
        FDragging = false;
        const bool click = Inside(X, Y);
        if (FGroupIndex == 0) {
            FState = rbsUp;
            FMouseInControl = false;
            if (click)
                Repaint();
            else
                Invalidate();
        } else if (click) {
            SetDown(!FDown);
            if (FDown)
                Repaint();
        } else {
            // Released outside without a move out first: up again, as the state table has it.
            FState = FDown ? rbsExclusive : rbsUp;
            Repaint();
        }
        if (click && !FMenuTracking)
            Click();
    }
    if (*alive)
        UpdateTracking();
}

void TExSpeedButton::EndPress()
{
    if (!FDragging)
        return;
    FDragging = false;
    SetMouseCapture(false);
    if (FRepeatTimer)
        FRepeatTimer->SetEnabled(false);
    FState = FDown ? rbsExclusive : rbsUp;
    Invalidate();
    UpdateTracking();
}

void TExSpeedButton::TimerExpired(TObject*)
{
    FRepeatTimer->SetInterval(FRepeatInterval);
    if (FState != rbsDown || !MouseCapture())
        return;
    TAliveToken alive = AliveToken();
    try {
        Click();
    } catch (...) {
        if (*alive && FRepeatTimer)
            FRepeatTimer->SetEnabled(false);
        throw;
    }
}

void TExSpeedButton::ButtonClick()
{
    if (FMenuTracking || !Enabled() || (FDropDownMenu && FDropDownMenu->AutoPopup()))
        return;
    TAliveToken alive = AliveToken();
    if (!FDown) {
        FState = rbsDown;
        Repaint();
    }
    auto release = [&] {
        FState = rbsUp;
        if (FGroupIndex == 0) {
            Repaint();
        } else {
            SetDown(!FDown);
            Click();
        }
    };
    try {
        // The look of a press: 20 ms down, in real time whatever clock the timers run on.
        const auto start = std::chrono::steady_clock::now();
        while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(20))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (FGroupIndex == 0)
            Click();
    } catch (...) {
        if (*alive)
            release();
        throw;
    }
    if (*alive)
        release();
}

void TExSpeedButton::UpdateTracking()
{
    const bool inside = MouseOverControl(this);
    if (inside == FMouseInControl)
        return;
    FMouseInControl = inside;
    if (inside) {
        if (FFlat)
            Repaint();
        MouseEnter();
    } else {
        if (FFlat)
            Invalidate();
        MouseLeave();
    }
}

void TExSpeedButton::MouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TExSpeedButton::MouseLeave()
{
    if (OnMouseLeave)
        OnMouseLeave(this);
}
