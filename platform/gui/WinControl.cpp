#include "platform/gui/WinControl.h"

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <utility>

#include "platform/gui/Caret.h"
#include "platform/gui/ControlCanvas.h"
#include "platform/gui/ControlWidget.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Hints.h"
#include "platform/gui/WindowScrollBars.h"

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) { RegisterWinHandlers(); }

TWinControl::~TWinControl()
{
    Destroying();
    ForgetControl(this);
    ForgetCaretOwner(this);
    // Events the widget still gets while it goes must not reach a half-destroyed control.
    if (FWidget) {
        TWidgetBridge::Detach(FWidget);
        // Nor its signals (a widget freed later still emits while it goes).
        FWidget->disconnect();
    }
    // Children go with their parent window, whoever owns them.
    while (!FControls.empty())
        delete FControls.back();
    FWindowCanvas.reset();
    if (FParent)
        FParent->RemoveControl(this);
    if (FWidget && TWidgetBridge::InEvent(FWidget)) {
        // Freed from its own event: Qt still uses the widget, so it goes when the event is over.
        FWidget->hide();
        FWidget->deleteLater();
    } else {
        delete FWidget;
    }
    FWidget = nullptr;
}

TControl* TWinControl::Controls(int index) const
{
    if (index < 0 || index >= ControlCount())
        throw EListError(Format("List index out of bounds (%d)", index));
    return FControls[static_cast<size_t>(index)];
}

void TWinControl::InsertControl(TControl* AControl)
{
    FControls.push_back(AControl);
    AControl->FParent = this;
    if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
        if (HandleAllocated())
            w->HandleNeeded();
        if (w->HandleAllocated())
            TWidgetBridge::Reparent(w);
    }
    AControl->SetParentFontFromParent();
    AControl->SetParentColorFromParent();
    if (AControl->FParentShowHint)
        AControl->FShowHint = ShowHint();
    AControl->Perform(CM_PARENTSHOWHINTCHANGED);
    AControl->Invalidate();
    AlignChild(AControl);
}

void TWinControl::RemoveControl(TControl* AControl)
{
    auto it = std::find(FControls.begin(), FControls.end(), AControl);
    if (it == FControls.end())
        return;
    ReleaseCanvases();  // the child's canvas may hold this window's pixels
    InvalidateRect(AControl->BoundsRect());
    FControls.erase(it);
    AControl->FParent = nullptr;
    // A docked control that leaves its site is docked no more.
    if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
        std::erase(FDockClients, w);
        if (w->FHostDockSite == this)
            w->FHostDockSite = nullptr;
    }
    if (auto* w = dynamic_cast<TWinControl*>(AControl); w && w->HandleAllocated() && !w->InState(csDestroying))
        TWidgetBridge::Reparent(w);
    TWidgetBridge::ChildRemoved(this, AControl);
    if (AControl->Align() != alNone && !InState(csDestroying))
        Realign();
}

bool TWinControl::ContainsControl(const TControl* AControl) const
{
    for (const TControl* c = AControl; c; c = c->Parent())
        if (c == this)
            return true;
    return false;
}

void TWinControl::SetChildOrder(TControl* child, int index)
{
    auto it = std::find(FControls.begin(), FControls.end(), child);
    if (it == FControls.end())
        return;
    FControls.erase(it);
    index = std::clamp(index, 0, ControlCount());
    FControls.insert(FControls.begin() + index, child);
    if (auto* w = dynamic_cast<TWinControl*>(child); w && w->HandleAllocated()) {
        if (index == ControlCount() - 1)
            w->FWidget->raise();
        else
            w->FWidget->lower();
    }
    InvalidateRect(child->BoundsRect());
}

TControl* TWinControl::ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls) const
{
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        if (!AllowWinControls && dynamic_cast<TWinControl*>(c))
            continue;
        if (!c->Visible() || (!c->Enabled() && !AllowDisabled))
            continue;
        if (PtInRect(c->BoundsRect(), Pos))
            return c;
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& Message)
{
    for (size_t i = 0; i < FControls.size(); ++i) {
        FControls[i]->WndProc(Message);
        if (Message.Result != 0)
            return;
    }
}

void TWinControl::NotifyControls(unsigned Msg)
{
    TMessage m{Msg, 0, 0, 0};
    Broadcast(m);
}

// --- Widget -----------------------------------------------------------------------------------

QWidget* TWinControl::Handle()
{
    if (!FWidget && !InState(csDestroying)) {
        FWidget = CreateWidget();
        WidgetCreated();
    }
    return FWidget;
}

QWidget* TWinControl::CreateWidget() { return new TControlWidget(this); }

TRect TWinControl::ClientRect() const
{
    TSize bars = WindowScrollBarSizes(this);
    const int frame = (FCreateParams.Style & WS_BORDER) ? 1 : 0;
    return Rect(frame, frame, std::max(Width() - bars.cx - frame, frame), std::max(Height() - bars.cy - frame, frame));
}

void TWinControl::WndProc(TMessage& Message)
{
    if (!FWindowHook) {
        TControl::WndProc(Message);
        return;
    }
    // A copy: the hook may replace or remove itself while it runs.
    TWndMethod hook = FWindowHook;
    hook(Message);
}

void TWinControl::RecreateWnd()
{
    if (!FWidget || InState(csDestroying))
        return;
    Perform(WM_DESTROY);
    DestroyWnd();
    QWidget* old = FWidget;
    TWidgetBridge::Detach(old);
    old->disconnect();
    ReleaseCanvases();
    FWindowCanvas.reset();
    FBackBuffer.reset();
    FWidget = nullptr;
    Handle();
    for (TControl* c : FControls)
        if (auto* w = dynamic_cast<TWinControl*>(c))
            TWidgetBridge::Reparent(w);
    if (TWidgetBridge::InEvent(old)) {
        old->hide();
        old->deleteLater();
    } else {
        delete old;
    }
}

TWinControl* TWinControl::FromWidget(const QWidget* widget) { return TWidgetBridge::ControlOf(widget); }

void TWinControl::WidgetCreated()
{
    FCreateParams = {};
    CreateParams(FCreateParams);
    if (IsPopupWindow()) {
        FWidget->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint |
                                Qt::WindowDoesNotAcceptFocus);
        FWidget->setAttribute(Qt::WA_ShowWithoutActivating);
    }
    if (FParent)
        TWidgetBridge::Reparent(this);
    TWidgetBridge::Place(FWidget, this);
    FWidget->setEnabled(Enabled());
    ApplyFont();
    ApplyFocusPolicy();
    CursorChanged();
    HintChanged();
    for (TControl* c : FControls)
        if (auto* w = dynamic_cast<TWinControl*>(c))
            w->HandleNeeded();
    UpdateWidgetVisible();
}

bool TWinControl::WantsWidgetVisible() const { return Visible() && Parent() != nullptr; }

void TWinControl::UpdateWidgetVisible()
{
    if (FWidget)
        FWidget->setVisible(WantsWidgetVisible());
}

void TWinControl::VisibleChanged() { UpdateWidgetVisible(); }

void TWinControl::BoundsChanged(const TRect&, bool SizeChanged)
{
    if (FWidget && !TWidgetBridge::InWidgetResize(this))
        TWidgetBridge::Place(FWidget, this);
    if (SizeChanged)
        Perform(WM_SIZE, SIZE_RESTORED, MakeLParam(ClientWidth(), ClientHeight()));
}

void TWinControl::ApplyFont()
{
    if (FWidget)
        FWidget->setFont(Font()->ToQFont());
}

void TWinControl::ApplyFocusPolicy()
{
    if (!FWidget)
        return;
    Qt::FocusPolicy p = Qt::NoFocus;
    if (FTabStop)
        p = FFocusOnClick ? Qt::StrongFocus : Qt::TabFocus;
    else if (FFocusOnClick)
        p = Qt::ClickFocus;
    FWidget->setFocusPolicy(p);
}

void TWinControl::CursorChanged() { TWidgetBridge::ApplyCursor(this, Cursor()); }

void TWinControl::HintChanged()
{
    if (FWidget)
        FWidget->setToolTip(ShowHint() ? AnsiToQString(GetShortHint(Hint())) : QString());
}

void TWinControl::SetTabStop(bool v)
{
    if (v == FTabStop)
        return;
    FTabStop = v;
    ApplyFocusPolicy();
    Perform(CM_TABSTOPCHANGED);
}

TPoint TWinControl::ClientOrigin() const
{
    if (FWidget) {
        QPoint p = FWidget->mapToGlobal(QPoint(0, 0));
        return TPoint{p.x(), p.y()};
    }
    return TControl::ClientOrigin();
}

bool TWinControl::Showing() const { return FWidget && FWidget->isVisible(); }

// --- Alignment --------------------------------------------------------------------------------

void TWinControl::EnableAlign()
{
    if (FAlignLevel > 0 && --FAlignLevel == 0 && FAlignPending)
        Realign();
}

void TWinControl::AlignChild(TControl* child)
{
    if (child && child->Align() == alNone)
        return;
    if (FAligning || InState(csDestroying))
        return;
    Realign();
}

void TWinControl::Realign()
{
    if (FAlignLevel > 0 || InState(csLoading)) {
        FAlignPending = true;
        return;
    }
    FAlignPending = false;
    TRect r = ClientRect();
    AdjustClientRect(r);
    FAligning = true;
    try {
        AlignControls(nullptr, r);
    } catch (...) {
        FAligning = false;
        throw;
    }
    FAligning = false;
}

void TWinControl::AlignControls(TControl*, TRect& Rect)
{
    // Each edge takes its controls in order of their position along it, outermost first.
    auto key = [](TControl* c) {
        switch (c->Align()) {
        case alTop: return c->Top();
        case alBottom: return -(c->Top() + c->Height());
        case alLeft: return c->Left();
        case alRight: return -(c->Left() + c->Width());
        default: return 0;
        }
    };
    // The dock manager's controls first, at the outside; it places them itself.
    if (FUseDockManager)
        PlaceDockClients(Rect);
    const auto managed = [this](TControl* c) {
        return FUseDockManager && std::find(FDockClients.begin(), FDockClients.end(), c) != FDockClients.end();
    };
    for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) {
        std::vector<TControl*> list;
        for (TControl* c : FControls)
            if (c->Align() == a && c->Visible() && !managed(c))
                list.push_back(c);
        std::stable_sort(list.begin(), list.end(), [&](TControl* x, TControl* y) { return key(x) < key(y); });
        for (TControl* c : list) {
            int w = c->Width(), h = c->Height();
            switch (a) {
            case alTop:
                c->SetBounds(Rect.Left, Rect.Top, Rect.Width(), h);
                Rect.Top += c->Height();
                break;
            case alBottom:
                c->SetBounds(Rect.Left, Rect.Bottom - h, Rect.Width(), h);
                Rect.Bottom -= c->Height();
                break;
            case alLeft:
                c->SetBounds(Rect.Left, Rect.Top, w, Rect.Height());
                Rect.Left += c->Width();
                break;
            case alRight:
                c->SetBounds(Rect.Right - w, Rect.Top, w, Rect.Height());
                Rect.Right -= c->Width();
                break;
            default: c->SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height()); break;
            }
        }
    }
}

// --- Focus ------------------------------------------------------------------------------------

bool TWinControl::CanFocus() const
{
    const TControl* c = this;
    for (; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled())
            return false;
    return ParentForm() != nullptr;
}

bool TWinControl::Focused() const { return FWidget && FWidget->hasFocus(); }

void TWinControl::SetFocus()
{
    TCustomForm* form = ParentForm();
    if (form)
        form->FocusControl(this);
    else if (FWidget)
        FWidget->setFocus(Qt::OtherFocusReason);
}

// --- Painting ---------------------------------------------------------------------------------

void TWinControl::Invalidate()
{
    if (!FWidget)
        return;
    FDirty = Rect(0, 0, Width(), Height());
    FWidget->update();
}

void TWinControl::InvalidateRect(const TRect& r)
{
    if (!FWidget || r.IsEmpty())
        return;
    UnionRect(FDirty, FDirty, r);
    FWidget->update(r.Left, r.Top, r.Width(), r.Height());
}

void TWinControl::Update()
{
    // Only what is marked: a graphic control repainting itself does not repaint its siblings.
    if (!FWidget || FPainting || !FWidget->isVisible() || FDirty.IsEmpty())
        return;
    const TRect r = std::exchange(FDirty, TRect{});
    FWidget->repaint(r.Left, r.Top, r.Width(), r.Height());
}

QImage* TWinControl::BackBuffer()
{
    if (!FWidget)
        return nullptr;
    UpdateBackBufferSize();
    return FBackBuffer.get();
}

void TWinControl::UpdateBackBufferSize()
{
    int w = std::max(Width(), 1), h = std::max(Height(), 1);
    if (FBackBuffer && FBackBuffer->width() == w && FBackBuffer->height() == h)
        return;
    ReleaseCanvases();
    auto image = std::make_unique<QImage>(w, h, QImage::Format_RGB32);
    image->fill(ToQColor(Color()));
    if (FBackBuffer) {
        QPainter p(image.get());
        p.drawImage(0, 0, *FBackBuffer);
    }
    FBackBuffer = std::move(image);
}

void TWinControl::ReleaseCanvases(TCanvas* except)
{
    if (FOpenCanvas && FOpenCanvas != except)
        FOpenCanvas->Release();
}

TControlCanvas* TWinControl::WindowCanvas()
{
    if (!FWindowCanvas)
        FWindowCanvas = std::make_unique<TControlCanvas>(this);
    return FWindowCanvas.get();
}

void TWinControl::PaintControls()
{
    for (size_t i = 0; i < FControls.size(); ++i) {
        auto* g = dynamic_cast<TGraphicControl*>(FControls[i]);
        if (!g || !g->Visible())
            continue;
        TRect clip;
        if (!IntersectRect(clip, g->BoundsRect(), FUpdateRect))
            continue;
        ReleaseCanvases();
        g->Perform(WM_PAINT);
        ReleaseCanvases();
    }
}

namespace {

// Runs paint with canvas drawing through Dest's painter, moved to Origin and clipped to the
// control's size and Clip.
void PaintThrough(TCanvas* canvas, TCanvas* Dest, TPoint Origin, const TRect& Clip, TSize size,
                  const std::function<void(QPainter&)>& paint)
{
    QPainter* p = Dest ? Dest->Painter() : nullptr;
    if (!p)
        return;
    p->save();
    p->setClipRect(QRect(Clip.Left, Clip.Top, Clip.Width(), Clip.Height()),
                   p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    p->translate(Origin.x, Origin.y);
    p->setClipRect(QRect(0, 0, size.cx, size.cy), Qt::IntersectClip);
    canvas->BeginPaint(p);
    struct TUndo {
        TCanvas* canvas;
        QPainter* p;
        ~TUndo()
        {
            canvas->EndPaint();
            p->restore();
        }
    } undo{canvas, p};
    paint(*p);
}

}  // namespace

void TWinControl::PaintCopyTo(TCanvas* Dest, TPoint Origin, const TRect& Clip)
{
    ReleaseCanvases();
    const TRect savedUpdate = FUpdateRect;
    FUpdateRect = Rect(Clip.Left - Origin.x, Clip.Top - Origin.y, Clip.Right - Origin.x, Clip.Bottom - Origin.y);
    PaintThrough(WindowCanvas(), Dest, Origin, Clip, TSize{Width(), Height()}, [this](QPainter& p) {
        if (!(FControlStyle & csOpaque))
            p.fillRect(QRect(0, 0, Width(), Height()), ToQColor(Color()));
        PaintWindow();
    });
    FUpdateRect = savedUpdate;
}

void TGraphicControl::PaintCopyTo(TCanvas* Dest, TPoint Origin, const TRect& Clip)
{
    if (FCanvas)
        FCanvas->Release();
    PaintThrough(Canvas(), Dest, Origin, Clip, TSize{Width(), Height()}, [this](QPainter&) { Perform(WM_PAINT); });
}

// --- Custom and graphic controls --------------------------------------------------------------

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}
TCustomControl::~TCustomControl() = default;
TCanvas* TCustomControl::Canvas() { return WindowCanvas(); }

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner)
{
    RegisterHandler(WM_PAINT, [this](TMessage&) { Paint(); });
}

TGraphicControl::~TGraphicControl()
{
    Destroying();
    FCanvas.reset();
}

TCanvas* TGraphicControl::Canvas()
{
    if (!FCanvas)
        FCanvas = std::make_unique<TControlCanvas>(this);
    return FCanvas.get();
}
