#include "platform/gui/ControlWidget.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QHelpEvent>
#include <QPainter>
#include <cstdio>
#include <unordered_map>
#include <vector>

#include "platform/gui/Application.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/Caret.h"
#include "platform/gui/ControlCanvas.h"
#include "platform/gui/Forms.h"
#include "platform/gui/HintShow.h"
#include "platform/gui/Hints.h"
#include "platform/gui/KeyBridge.h"
#include "platform/gui/Queue.h"
#include "platform/gui/WinControl.h"
#include "platform/gui/WindowTimer.h"

namespace {

struct TWidgetInfo {
    TWinControl* control;
    bool selfPainted;
    bool composing;
};
std::unordered_map<const QWidget*, TWidgetInfo> gWidgets;
TControl* gMouseControl = nullptr;  // the control under the mouse, told of enter and leave
// The control that lost the keyboard focus last; WM_SETFOCUS names it (Qt sends the focus-out
// before the focus-in).
TWinControl* gFocusLost = nullptr;
const TWinControl* gResizing = nullptr;

bool Hook(TWinControl* c, unsigned msg, WPARAM w, LPARAM l)
{
    TMsg m{c, msg, w, l};
    return Application && Application->HookMessage(m);
}

WPARAM MouseKeys(Qt::MouseButtons b, Qt::KeyboardModifiers m)
{
    WPARAM k = 0;
    if (b & Qt::LeftButton)
        k |= MK_LBUTTON;
    if (b & Qt::RightButton)
        k |= MK_RBUTTON;
    if (b & Qt::MiddleButton)
        k |= MK_MBUTTON;
    if (m & Qt::ShiftModifier)
        k |= MK_SHIFT;
    if (m & Qt::ControlModifier)
        k |= MK_CONTROL;
    return k;
}

bool IsGraphicChildOf(const TControl* c, const TWinControl* parent)
{
    return c && c->Parent() == parent && !dynamic_cast<const TWinControl*>(c);
}

void SetMouseControl(TControl* now)
{
    if (now == gMouseControl)
        return;
    TControl* old = gMouseControl;
    gMouseControl = now;
    // A graphic control shows its cursor and hint through its parent's widget.
    if (old && !dynamic_cast<TWinControl*>(old) && old->Parent()) {
        TWinControl* p = old->Parent();
        TWidgetBridge::ApplyCursor(p, p->Cursor());
        if (p->HandleAllocated())
            p->Handle()->setToolTip(p->ShowHint() ? AnsiToQString(GetShortHint(p->Hint())) : QString());
    }
    if (now && !dynamic_cast<TWinControl*>(now) && now->Parent() && now->Parent()->HandleAllocated()) {
        TWinControl* p = now->Parent();
        if (now->Cursor() != crDefault)
            TWidgetBridge::ApplyCursor(p, now->Cursor());
        p->Handle()->setToolTip(now->ShowHint() ? AnsiToQString(GetShortHint(now->Hint())) : QString());
    }
    // The long part of the hint of what the pointer is over goes to the status line.
    if (Application)
        Application->SetHint(now ? GetLongHint(now->Hint()) : AnsiString());
    if (old)
        old->Perform(CM_MOUSELEAVE);
    if (now && gMouseControl == now)
        now->Perform(CM_MOUSEENTER);
}

void UpdateHover(TWinControl* self, TPoint p)
{
    TControl* now = nullptr;
    if (PtInRect(self->ClientRect(), p)) {
        TControl* g = self->ControlAtPos(p, true);
        now = g ? g : self;
    }
    SetMouseControl(now);
}

Qt::CursorShape ToShape(TCursor c)
{
    switch (c) {
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait: return Qt::WaitCursor;
    case crDrag:
    case crMultiDrag: return Qt::DragCopyCursor;
    case crNoDrop:
    case crNo: return Qt::ForbiddenCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crAppStart: return Qt::BusyCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
    }
}

}  // namespace

Qt::CursorShape ToQtCursorShape(TCursor cursor) { return ToShape(cursor); }

TPoint GetCursorPos()
{
    QPoint p = QCursor::pos();
    return TPoint{p.x(), p.y()};
}

void SetCursorPos(TPoint p) { QCursor::setPos(p.x, p.y); }

TControl* FindDragTarget(TPoint screenPos, bool AllowDisabled)
{
    QWidget* w = QApplication::widgetAt(QPoint(screenPos.x, screenPos.y));
    // A widget of ours, or the nearest ancestor that is one (a wrapped widget's inner parts).
    TWinControl* c = nullptr;
    for (; w && !c; w = w->parentWidget())
        c = TWidgetBridge::ControlOf(w);
    if (!c)
        return nullptr;
    TControl* g = c->ControlAtPos(c->ScreenToClient(screenPos), AllowDisabled);
    return g ? g : c;
}

void ForgetControl(TControl* control)
{
    if (gMouseControl == control)
        gMouseControl = nullptr;
    if (gFocusLost == control)
        gFocusLost = nullptr;
    if (GetCaptureControl() == control)
        SetCaptureControl(nullptr);
    KillControlTimers(control);
    ForgetPostedMessages(control);
    if (Screen) {
        for (int i = 0; i < Screen->FormCount(); ++i) {
            TCustomForm* f = Screen->Forms(i);
            if (f->FActiveControl == control)
                f->FActiveControl = nullptr;
            if (f->FFocusedControl == control)
                f->FFocusedControl = nullptr;
        }
    }
}

// --- Registry ---------------------------------------------------------------------------------

void TWidgetBridge::Register(QWidget* widget, TWinControl* control, bool selfPainted)
{
    gWidgets[widget] = TWidgetInfo{control, selfPainted, false};
}

void TWidgetBridge::Detach(QWidget* widget) { gWidgets.erase(widget); }

bool TWidgetBridge::SetComposing(QWidget* widget, bool composing)
{
    auto it = gWidgets.find(widget);
    if (it == gWidgets.end())
        return false;
    bool was = it->second.composing;
    it->second.composing = composing;
    return was;
}

TWinControl* TWidgetBridge::ControlOf(const QWidget* widget)
{
    auto it = gWidgets.find(widget);
    return it == gWidgets.end() ? nullptr : it->second.control;
}

void TWidgetBridge::Reparent(TWinControl* c)
{
    QWidget* w = c->FWidget;
    if (!w)
        return;
    QWidget* parent = c->Parent() ? c->Parent()->Handle() : nullptr;
    if (c->IsPopupWindow()) {
        // A popup stays a window of its own, kept with its parent's window.
        parent = parent ? parent->window() : nullptr;
        if (w->parentWidget() != parent)
            w->setParent(parent, w->windowFlags());
    } else if (w->parentWidget() != parent) {
        w->setParent(parent);
    }
    Place(w, c);
    c->UpdateWidgetVisible();
}

void TWidgetBridge::ChildRemoved(TWinControl*, TControl* child)
{
    if (gMouseControl == child)
        gMouseControl = nullptr;
}

namespace {
std::vector<const QWidget*> gInEvent;
}

TWidgetBridge::TEventScope::TEventScope(const QWidget* w) { gInEvent.push_back(w); }
TWidgetBridge::TEventScope::~TEventScope() { gInEvent.pop_back(); }

bool TWidgetBridge::InEvent(const QWidget* widget)
{
    for (const QWidget* w : gInEvent)
        if (w == widget || widget->isAncestorOf(w))
            return true;
    return false;
}

bool TWidgetBridge::InWidgetResize(const TWinControl* control) { return gResizing == control; }

void TWidgetBridge::ApplyCursor(TWinControl* control, TCursor cursor)
{
    if (!control->HandleAllocated())
        return;
    if (cursor == crDefault)
        control->Handle()->unsetCursor();
    else
        control->Handle()->setCursor(Screen ? Screen->Cursors(cursor) : QCursor(ToShape(cursor)));
}

void TWidgetBridge::HandleException()
{
    if (Application) {
        Application->HandleException(nullptr);
        return;
    }
    try {
        throw;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "Unknown exception\n");
    }
}

// --- Events -----------------------------------------------------------------------------------

bool TWidgetBridge::Event(QWidget* w, QEvent* e)
{
    TWinControl* c = ControlOf(w);
    if (!c)
        return true;
    switch (e->type()) {
    case QEvent::KeyPress: {
        // Tab must reach the key phases before Qt moves the focus itself.
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() != Qt::Key_Tab && k->key() != Qt::Key_Backtab)
            return true;
        std::unique_ptr<QKeyEvent> replacement;
        Key(w, k, replacement);
        k->accept();
        return false;
    }
    case QEvent::Enter:
        UpdateHover(c,
                    TPoint{static_cast<QEnterEvent*>(e)->position().toPoint().x(),
                           static_cast<QEnterEvent*>(e)->position().toPoint().y()});
        return true;
    case QEvent::Leave:
        if (gMouseControl == c || IsGraphicChildOf(gMouseControl, c))
            SetMouseControl(nullptr);
        if (ShownHintControl() == c)
            CancelHint();
        return true;
    case QEvent::ToolTip: {
        // The control may answer per position (CM_HINTSHOW); otherwise Qt shows its tool tip.
        if (!c->ShowHint())
            return true;
        const QPoint at = static_cast<QHelpEvent*>(e)->pos();
        const QPoint global = static_cast<QHelpEvent*>(e)->globalPos();
        THintInfo info;
        info.HintControl = c;
        info.CursorPos = TPoint{at.x(), at.y()};
        info.HintStr = GetShortHint(c->Hint());
        info.HintPos = TPoint{global.x(), global.y() + 20};
        if (c->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) != 0) {
            CancelHint();
            return false;
        }
        if (!info.Own)
            return true;
        ShowHintInfo(info);
        return false;
    }
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        if (auto* form = dynamic_cast<TCustomForm*>(c))
            form->SetActive(e->type() == QEvent::WindowActivate);
        return true;
    default: return true;
    }
}

bool TWidgetBridge::Mouse(QWidget* w, QMouseEvent* e)
{
    TWinControl* self = ControlOf(w);
    if (!self)
        return true;
    QPoint qp = e->position().toPoint();
    TPoint p{qp.x(), qp.y()};
    SetCurrentKeyShift(ModifiersToShiftState(e->modifiers()));
    WPARAM keys = MouseKeys(e->buttons(), e->modifiers());
    unsigned msg = WM_MOUSEMOVE;
    bool dbl = false;
    if (e->type() != QEvent::MouseMove) {
        bool down = e->type() != QEvent::MouseButtonRelease;
        dbl = e->type() == QEvent::MouseButtonDblClick;
        switch (e->button()) {
        case Qt::LeftButton: msg = down ? WM_LBUTTONDOWN : WM_LBUTTONUP; break;
        case Qt::RightButton: msg = down ? WM_RBUTTONDOWN : WM_RBUTTONUP; break;
        case Qt::MiddleButton: msg = down ? WM_MBUTTONDOWN : WM_MBUTTONUP; break;
        default: return true;
        }
    }
    if (e->type() != QEvent::MouseButtonRelease)
        UpdateHover(self, p);

    // Whoever holds the capture gets everything; else the graphic child under the point.
    TControl* target = self;
    TPoint local = p;
    TControl* cap = GetCaptureControl();
    if (cap && cap != self) {
        target = cap;
        if (IsGraphicChildOf(cap, self))
            local = TPoint{p.x - cap->Left(), p.y - cap->Top()};
        else
            local = cap->ScreenToClient(self->ClientToScreen(p));
    } else if (!cap) {
        if (TControl* g = self->ControlAtPos(p, false)) {
            target = g;
            local = TPoint{p.x - g->Left(), p.y - g->Top()};
        }
    }
    if (dbl)
        msg = (target->ControlStyle() & csDoubleClicks) ? msg + 2 : msg;
    if (Hook(self, msg, keys, MakeLParam(p.x, p.y)))
        return false;
    target->Perform(msg, keys, MakeLParam(local.x, local.y));
    return target == self && ControlOf(w) == self;
}

QWidget* TWidgetBridge::OpenPopup() { return QApplication::activePopupWidget(); }

void TWidgetBridge::PressOpenedPopup(QWidget* w)
{
    TWinControl* c = ControlOf(w);
    if (c && GetCaptureControl() == c)
        SetCaptureControl(nullptr);
}

bool TWidgetBridge::Wheel(QWidget* w, QWheelEvent* e)
{
    TWinControl* c = ControlOf(w);
    if (!c)
        return true;
    int delta = e->angleDelta().y();
    if (delta == 0)
        return true;
    SetCurrentKeyShift(ModifiersToShiftState(e->modifiers()));
    WPARAM wp = (MouseKeys(e->buttons(), e->modifiers()) & 0xFFFF) | ((static_cast<WPARAM>(delta) & 0xFFFF) << 16);
    QPoint g = e->globalPosition().toPoint();
    LPARAM lp = MakeLParam(g.x(), g.y());
    if (Hook(c, WM_MOUSEWHEEL, wp, lp))
        return false;
    return c->Perform(WM_MOUSEWHEEL, wp, lp) == 0;
}

void TWidgetBridge::Paint(QWidget* w, QPaintEvent* e)
{
    TWinControl* c = ControlOf(w);
    if (!c)
        return;
    QRect r = e->rect();
    QImage* image = c->BackBuffer();
    if (!image)
        return;
    c->ReleaseCanvases();
    c->FUpdateRect = TRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    TRect stillDirty;
    if (UnionRect(stillDirty, c->FDirty, c->FUpdateRect) && stillDirty == c->FUpdateRect)
        c->FDirty = TRect{};  // all that was marked is painted now
    c->FPainting = true;
    try {
        c->Perform(WM_PAINT);
    } catch (...) {
        c->FPainting = false;
        c->ReleaseCanvases();
        throw;
    }
    c->FPainting = false;
    c->ReleaseCanvases();
    QPainter p(w);
    p.drawImage(r, *c->BackBuffer(), r);
    TRect caret;
    if (VisibleCaretRect(c, caret)) {
        // Inverted over the picture, as the system caret is.
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.fillRect(caret.Left, caret.Top, caret.Width(), caret.Height(), Qt::white);
    }
}

void TWidgetBridge::PaintGraphicChildren(QWidget* w, QPaintEvent* e)
{
    TWinControl* c = ControlOf(w);
    if (!c || c->FPainting)
        return;
    const QRect r = e->rect();
    const TRect update{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    // The graphic controls in the rectangle, each clipped to it.
    std::vector<TRect> areas;
    for (TControl* child : c->FControls) {
        TRect clip;
        if (dynamic_cast<TGraphicControl*>(child) && child->Visible() &&
            IntersectRect(clip, child->BoundsRect(), update))
            areas.push_back(clip);
    }
    QImage* image = areas.empty() ? nullptr : c->BackBuffer();
    if (!image)
        return;
    c->ReleaseCanvases();
    {
        // A transparent control shows the window's colour where Qt drew the widget's own look.
        QPainter p(image);
        for (const TRect& a : areas)
            p.fillRect(a.Left, a.Top, a.Width(), a.Height(), ToQColor(c->Color()));
    }
    c->FUpdateRect = update;
    c->FPainting = true;
    try {
        c->PaintControls();
    } catch (...) {
        c->FPainting = false;
        c->ReleaseCanvases();
        throw;
    }
    c->FPainting = false;
    c->ReleaseCanvases();
    if (ControlOf(w) != c)
        return;
    QPainter p(w);
    for (const TRect& a : areas) {
        const QRect q(a.Left, a.Top, a.Width(), a.Height());
        p.drawImage(q, *c->BackBuffer(), q);
    }
}

void TWidgetBridge::Place(QWidget* w, const TControl* c)
{
    if (w->isWindow()) {
        w->resize(c->Width(), c->Height());
        w->move(c->Left(), c->Top());
    } else {
        w->setGeometry(c->Left(), c->Top(), c->Width(), c->Height());
    }
}

void TWidgetBridge::Resized(QWidget* w)
{
    TWinControl* c = ControlOf(w);
    if (!c)
        return;
    const QRect g = w->isWindow() ? QRect(w->pos(), w->size()) : w->geometry();
    if (g.x() == c->Left() && g.y() == c->Top() && g.width() == c->Width() && g.height() == c->Height())
        return;
    const TWinControl* outer = gResizing;
    gResizing = c;
    try {
        c->SetBounds(g.x(), g.y(), g.width(), g.height());
    } catch (...) {
        gResizing = outer;
        throw;
    }
    gResizing = outer;
    // The control refused the size (CanResize): the window goes back.
    if (ControlOf(w) == c && (c->Width() != g.width() || c->Height() != g.height()))
        w->resize(c->Width(), c->Height());
}

void TWidgetBridge::Focus(QWidget* w, bool in)
{
    TWinControl* c = ControlOf(w);
    if (!c)
        return;
    if (!in) {
        gFocusLost = c;
        c->Perform(WM_KILLFOCUS);
        return;
    }
    // The window losing the focus, as WM_SETFOCUS carries it.
    TWinControl* lost = gFocusLost == c ? nullptr : gFocusLost;
    gFocusLost = nullptr;
    c->Perform(WM_SETFOCUS, reinterpret_cast<WPARAM>(lost));
}

bool TWidgetBridge::Close(QWidget* w, QCloseEvent* e)
{
    auto* form = dynamic_cast<TCustomForm*>(ControlOf(w));
    if (!form)
        return true;
    // The form decides (and hides or frees itself); Qt only asked.
    e->ignore();
    form->WindowCloseRequested();
    return false;
}

QWidget* InputWindow(TWinControl* Control)
{
    QWidget* widget = Control ? Control->Handle() : nullptr;
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget))
        return area->viewport();
    return widget;
}
