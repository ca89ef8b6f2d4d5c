// The standard message handlers of every control: mouse buttons with capture and click,
// parent font and colour, and the virtual operations they end in.

#include "platform/gui/Controls.h"
#include "platform/gui/PopupWindows.h"
#include "platform/gui/WinControl.h"

namespace {

TPoint MessagePos(const TMessage& m) { return TPoint{LParamX(m.LParam), LParamY(m.LParam)}; }

}  // namespace

void TControl::RegisterStandardHandlers()
{
    struct TButtonMessages {
        unsigned down, up, dbl;
        TMouseButton button;
    };
    static const TButtonMessages kButtons[] = {
        {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, mbLeft},
        {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK, mbRight},
        {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK, mbMiddle},
    };
    for (const TButtonMessages& b : kButtons) {
        TMouseButton button = b.button;
        RegisterHandler(b.down, [this, button](TMessage& m) { DoMouseDown(m, button, TShiftState()); });
        RegisterHandler(b.dbl, [this, button](TMessage& m) {
            std::shared_ptr<bool> alive = AliveToken();
            if (button == mbLeft && (FControlStyle & csClickEvents)) {
                // The press holds the mouse while the double click runs, so that a dialog it
                // opens can take the mouse back: the release then goes to the dialog, not here.
                const bool captures = (FControlStyle & csCaptureMouse) != 0;
                if (captures)
                    SetMouseCapture(true);
                DblClick();
                if (*alive && captures && !MouseCapture())
                    return;
            }
            if (*alive)
                DoMouseDown(m, button, TShiftState{ssDouble});
        });
        RegisterHandler(b.up, [this, button](TMessage& m) { DoMouseUp(m, button); });
    }
    RegisterHandler(WM_MOUSEMOVE, [this](TMessage& m) {
        TPoint p = MessagePos(m);
        MouseMove(KeysToShiftState(m.WParam), p.x, p.y);
    });
    RegisterHandler(CM_ENABLEDCHANGED, [this](TMessage&) { Invalidate(); });
    RegisterHandler(CM_COLORCHANGED, [this](TMessage&) { Invalidate(); });
    RegisterHandler(CM_FONTCHANGED, [this](TMessage&) { Invalidate(); });
    RegisterHandler(CM_PARENTFONTCHANGED, [this](TMessage&) { SetParentFontFromParent(); });
    RegisterHandler(CM_PARENTCOLORCHANGED, [this](TMessage&) { SetParentColorFromParent(); });
    RegisterHandler(CM_PARENTSHOWHINTCHANGED, [this](TMessage&) {
        if (FParentShowHint && FParent && FShowHint != FParent->ShowHint()) {
            FShowHint = FParent->ShowHint();
            HintChanged();
        }
    });
}

void TControl::DoMouseDown(TMessage& m, TMouseButton button, TShiftState extra)
{
    // A left press first tells the form's active control (its drop-down may close).
    if (button == mbLeft) {
        std::shared_ptr<bool> alive = AliveToken();
        SendCancelMode(this);
        if (!*alive)
            return;
    }
    if (FControlStyle & csCaptureMouse)
        SetMouseCapture(true);
    if (button == mbLeft && (FControlStyle & csClickEvents))
        FControlState |= csClicked;
    if (button == mbLeft)
        FControlState |= csLButtonDown;
    TShiftState shift = KeysToShiftState(m.WParam);
    if (extra.Contains(ssDouble))
        shift << ssDouble;
    TPoint p = MessagePos(m);
    MouseDown(button, shift, p.x, p.y);
}

void TControl::DoMouseUp(TMessage& m, TMouseButton button)
{
    // The capture ends with the release of the last button held.
    if ((FControlStyle & csCaptureMouse) && !(m.WParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)))
        SetMouseCapture(false);
    TPoint p = MessagePos(m);
    std::shared_ptr<bool> alive = AliveToken();
    if (button == mbLeft) {
        FControlState &= ~csLButtonDown;
        if (FControlState & csClicked) {
            FControlState &= ~csClicked;
            if (PtInRect(ClientRect(), p))
                Click();
            if (!*alive)
                return;  // the click freed the control
        }
    }
    MouseUp(button, KeysToShiftState(m.WParam), p.x, p.y);
}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
}

void TControl::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}
