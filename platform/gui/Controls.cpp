#include "platform/gui/Controls.h"

#include <algorithm>

#include "platform/gui/ControlWidget.h"
#include "platform/gui/Forms.h"
#include "platform/gui/WinControl.h"

namespace {
TControl* gCaptureControl = nullptr;
}

TControl* GetCaptureControl() { return gCaptureControl; }
void SetCaptureControl(TControl* control) { gCaptureControl = control; }

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FFont(std::make_unique<TFont>())
{
    FFont->OnChange = [this](TObject*) { FontChanged(); };
    RegisterStandardHandlers();
}

TControl::~TControl()
{
    FAlive.Expire();
    Destroying();
    if (gCaptureControl == this)
        gCaptureControl = nullptr;
    ForgetControl(this);
    if (FParent)
        FParent->RemoveControl(this);
}

// --- Messages ---------------------------------------------------------------------------------

LRESULT TControl::Perform(unsigned Msg, WPARAM WParam, LPARAM LParam)
{
    TMessage m{Msg, WParam, LParam, 0};
    WndProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage& Message) { Dispatch(Message); }

void TControl::RegisterHandler(unsigned Msg, TMessageHandler Handler)
{
    FHandlers.push_back({Msg, std::move(Handler)});
}

void TControl::Dispatch(TMessage& Message)
{
    for (int i = static_cast<int>(FHandlers.size()) - 1; i >= 0; --i) {
        if (FHandlers[static_cast<size_t>(i)].Msg == Message.Msg) {
            RunHandler(i, Message);
            return;
        }
    }
    DefaultHandler(Message);
}

void TControl::Inherited(TMessage& Message)
{
    // Below the innermost running handler of this message number, if any.
    int below = static_cast<int>(FHandlers.size());
    for (auto it = FDispatchStack.rbegin(); it != FDispatchStack.rend(); ++it) {
        if (FHandlers[static_cast<size_t>(*it)].Msg == Message.Msg) {
            below = *it;
            break;
        }
    }
    for (int i = below - 1; i >= 0; --i) {
        if (FHandlers[static_cast<size_t>(i)].Msg == Message.Msg) {
            RunHandler(i, Message);
            return;
        }
    }
    DefaultHandler(Message);
}

void TControl::RunHandler(int index, TMessage& Message)
{
    std::shared_ptr<bool> alive = FAlive.Token();
    FDispatchStack.push_back(index);
    // A copy: the handler may register more handlers (moving the vector) or free the control.
    TMessageHandler h = FHandlers[static_cast<size_t>(index)].Handler;
    try {
        h(Message);
    } catch (...) {
        if (*alive)
            FDispatchStack.pop_back();
        throw;
    }
    if (*alive)
        FDispatchStack.pop_back();
}

void TControl::DefaultHandler(TMessage&) {}

// --- Place ------------------------------------------------------------------------------------

void TControl::SetParent(TWinControl* AParent)
{
    if (AParent == FParent)
        return;
    if (AParent == this)
        throw EInvalidOperation("A control cannot have itself as its parent");
    if (FParent)
        FParent->RemoveControl(this);
    if (AParent)
        AParent->InsertControl(this);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight)
        return;
    bool sizeChanged = AWidth != FWidth || AHeight != FHeight;
    if (sizeChanged && !CanResize(AWidth, AHeight)) {
        AWidth = FWidth;
        AHeight = FHeight;
        sizeChanged = false;
    }
    TRect old = BoundsRect();
    FLeft = ALeft;
    FTop = ATop;
    FWidth = std::max(AWidth, 0);
    FHeight = std::max(AHeight, 0);
    std::shared_ptr<bool> alive = AliveToken();
    BoundsChanged(old, sizeChanged);
    if (*alive)
        RequestAlign();
}

void TControl::BoundsChanged(const TRect& OldBounds, bool SizeChanged)
{
    if (FParent) {
        FParent->InvalidateRect(OldBounds);
        FParent->InvalidateRect(BoundsRect());
    }
    if (SizeChanged)
        Resize();
}

bool TControl::CanResize(int& NewWidth, int& NewHeight)
{
    bool result = true;
    if (OnCanResize)
        OnCanResize(this, NewWidth, NewHeight, result);
    return result;
}

void TControl::Resize()
{
    if (OnResize)
        OnResize(this);
}

TPoint TControl::ClientOrigin() const
{
    if (!FParent)
        return TPoint{FLeft, FTop};
    TPoint p = FParent->ClientOrigin();
    return TPoint{p.x + FLeft, p.y + FTop};
}

TPoint TControl::ClientToScreen(TPoint p) const
{
    TPoint o = ClientOrigin();
    return TPoint{p.x + o.x, p.y + o.y};
}

TPoint TControl::ScreenToClient(TPoint p) const
{
    TPoint o = ClientOrigin();
    return TPoint{p.x - o.x, p.y - o.y};
}

void TControl::SetAlign(TAlign v)
{
    if (v == FAlign)
        return;
    FAlign = v;
    RequestAlign();
}

void TControl::RequestAlign()
{
    if (FParent && !InState(csDestroying))
        FParent->AlignChild(this);
}

void TControl::BringToFront()
{
    if (FParent)
        FParent->SetChildOrder(this, FParent->ControlCount() - 1);
}

void TControl::SendToBack()
{
    if (FParent)
        FParent->SetChildOrder(this, 0);
}

// --- Look and state ---------------------------------------------------------------------------

void TControl::SetVisible(bool v)
{
    if (v == FVisible)
        return;
    FVisible = v;
    std::shared_ptr<bool> alive = AliveToken();
    VisibleChanged();
    if (*alive)
        Perform(CM_VISIBLECHANGED, v ? 1 : 0, 0);
    if (!*alive)
        return;
    if (FParent)
        FParent->InvalidateRect(BoundsRect());
    RequestAlign();
}

bool TControl::Showing() const
{
    if (!FVisible)
        return false;
    return FParent ? FParent->Showing() : false;
}

void TControl::SetEnabled(bool v)
{
    if (v == FEnabled)
        return;
    FEnabled = v;
    Perform(CM_ENABLEDCHANGED);
}

void TControl::FontChanged()
{
    if (!FCopyingParentFont)
        FParentFont = false;
    Perform(CM_FONTCHANGED);
}

void TControl::SetParentFont(bool v)
{
    if (v == FParentFont)
        return;
    FParentFont = v;
    if (v)
        SetParentFontFromParent();
}

void TControl::SetParentFontFromParent()
{
    if (!FParent || !FParentFont)
        return;
    if (FFont->SameAs(*FParent->Font()))
        return;
    FCopyingParentFont = true;
    try {
        FFont->Assign(FParent->Font());
    } catch (...) {
        FCopyingParentFont = false;
        throw;
    }
    FCopyingParentFont = false;
}

void TControl::SetColor(TColor v)
{
    FParentColor = false;
    if (v == FColor)
        return;
    FColor = v;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool v)
{
    if (v == FParentColor)
        return;
    FParentColor = v;
    if (v)
        SetParentColorFromParent();
}

void TControl::SetParentColorFromParent()
{
    if (!FParent || !FParentColor || FParent->Color() == FColor)
        return;
    FColor = FParent->Color();
    Perform(CM_COLORCHANGED);
}

void TControl::SetHint(const AnsiString& v)
{
    FHint = v;
    HintChanged();
}

void TControl::SetShowHint(bool v)
{
    FParentShowHint = false;
    if (v == FShowHint)
        return;
    FShowHint = v;
    HintChanged();
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool v)
{
    FParentShowHint = v;
    if (v && FParent) {
        FShowHint = FParent->ShowHint();
        HintChanged();
    }
}

void TControl::SetCursor(TCursor v)
{
    if (v == FCursor)
        return;
    FCursor = v;
    CursorChanged();
    Perform(CM_CURSORCHANGED);
}

void TControl::SetText(const AnsiString& v)
{
    if (v == FText)
        return;
    FText = v;
    Perform(CM_TEXTCHANGED);
}

// --- Painting ---------------------------------------------------------------------------------

void TControl::Invalidate()
{
    if (FParent && FVisible)
        FParent->InvalidateRect(BoundsRect());
}

void TControl::Update()
{
    if (FParent)
        FParent->Update();
}

void TControl::Repaint()
{
    Invalidate();
    Update();
}

// --- Capture and form -------------------------------------------------------------------------

bool TControl::MouseCapture() const { return gCaptureControl == this; }

void TControl::SetMouseCapture(bool v)
{
    if (v)
        gCaptureControl = this;
    else if (gCaptureControl == this)
        gCaptureControl = nullptr;
}

TCustomForm* TControl::ParentForm() const
{
    const TControl* c = this;
    while (c->FParent)
        c = c->FParent;
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}
