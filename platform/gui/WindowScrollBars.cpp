#include "platform/gui/WindowScrollBars.h"

#include <QColor>
#include <QEvent>
#include <QScrollBar>

#include "platform/gui/Canvas.h"
#include "platform/gui/WinControl.h"

namespace {

// The bars of one widget, kept as a child object so they go with it.
class TWindowBars : public QObject {
public:
    explicit TWindowBars(QWidget* owner) : QObject(owner), FOwner(owner)
    {
        setObjectName(QStringLiteral("hm-window-scroll-bars"));
        for (int bar = 0; bar < 2; ++bar) {
            auto* q = new QScrollBar(bar == SB_HORZ ? Qt::Horizontal : Qt::Vertical, owner);
            q->hide();
            q->setFocusPolicy(Qt::NoFocus);
            FBars[bar] = q;
            QObject::connect(q, &QScrollBar::actionTriggered, this, [this, bar](int action) { Action(bar, action); });
            QObject::connect(q, &QScrollBar::sliderReleased, this, [this, bar] { Released(bar); });
        }
        owner->installEventFilter(this);
    }
    TScrollBarModel Models[2];
    bool Shown[2] = {false, false};
    TScrollBarLook Looks[2];

    int Thickness(int bar) const { return Looks[bar].Thickness > 0 ? Looks[bar].Thickness : TScrollBarModel::kWidth; }
    void ApplyLook(int bar)
    {
        const TScrollBarLook& look = Looks[bar];
        if (look.Style == 0 && look.Color == clNone) {
            FBars[bar]->setStyleSheet(QString());
        } else {
            // Flat: one plain groove in the colour, a flat thumb, no raised arrow buttons.
            const QColor groove = look.Color == clNone ? ToQColor(clBtnFace) : ToQColor(look.Color);
            const QString handle = groove.darker(look.Style == 2 ? 125 : 150).name();
            const QString extent = bar == SB_VERT ? QStringLiteral("min-height") : QStringLiteral("min-width");
            FBars[bar]->setStyleSheet(
                look.Style == 0
                    ? QStringLiteral("QScrollBar { background: %1; }").arg(groove.name())
                    : QStringLiteral(
                          "QScrollBar { background: %1; border: none; } QScrollBar::handle { background: %2; "
                          "%3: 8px; } QScrollBar::add-line, QScrollBar::sub-line { width: 0px; height: 0px; "
                          "border: none; }")
                          .arg(groove.name(), handle, extent));
        }
        Place();
    }

    void Sync(int bar)
    {
        QScrollBar* q = FBars[bar];
        const TScrollBarModel& m = Models[bar];
        FSyncing = true;
        q->setRange(m.Min(), std::max(m.Min(), m.MaxPosition()));
        q->setPageStep(std::max(m.Page(), 1));
        // A thumb being dragged stays under the mouse; it goes where the window says on release.
        if (!q->isSliderDown())
            q->setValue(m.Position());
        q->setEnabled(m.MaxPosition() > m.Min());
        FSyncing = false;
        q->setVisible(Shown[bar]);
        Place();
    }
    void Place()
    {
        const int w = Thickness(SB_VERT), h = Thickness(SB_HORZ);
        const int width = FOwner->width(), height = FOwner->height();
        FBars[SB_VERT]->setGeometry(width - w, 0, w, height - (Shown[SB_HORZ] ? h : 0));
        FBars[SB_HORZ]->setGeometry(0, height - h, width - (Shown[SB_VERT] ? w : 0), h);
        for (QScrollBar* q : FBars)
            q->raise();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (watched == FOwner && e->type() == QEvent::Resize)
            Place();
        return false;
    }

private:
    int Pos(int bar) const { return Models[bar].Position(); }
    void Action(int bar, int action)
    {
        if (FSyncing)
            return;
        const int code = ScrollCodeOfSliderAction(action);
        if (code < 0)
            return;
        const int tracked = FBars[bar]->sliderPosition();
        if (code == SB_THUMBTRACK) {
            // The thumb follows the mouse while it is dragged, as the system draws it.
            FTrack[bar] = tracked;
            Send(bar, SB_THUMBTRACK, tracked);
            return;
        }
        // The window decides where the bar goes: the slider stays until it sets the position.
        FSyncing = true;
        FBars[bar]->setSliderPosition(Pos(bar));
        FSyncing = false;
        Send(bar, static_cast<unsigned>(code), Pos(bar));
    }
    // A dragged thumb let go: where it was let go, then the end of the scroll; the thumb then
    // shows the position the window set.
    void Released(int bar)
    {
        if (FTrack[bar] >= 0)
            Send(bar, SB_THUMBPOSITION, FTrack[bar]);
        FTrack[bar] = -1;
        Send(bar, SB_ENDSCROLL, Pos(bar));
        Sync(bar);
    }
    void Send(int bar, unsigned code, int pos)
    {
        if (TWinControl* c = TWinControl::FromWidget(FOwner))
            c->Perform(bar == SB_HORZ ? WM_HSCROLL : WM_VSCROLL,
                       code | (static_cast<WPARAM>(static_cast<uint16_t>(pos)) << 16));
    }
    QWidget* FOwner;
    QScrollBar* FBars[2] = {nullptr, nullptr};
    bool FSyncing = false;
    int FTrack[2] = {-1, -1};  // where a dragged thumb is, -1 while none is
};

// The bars object is found by its name (it has no meta-object of its own).
TWindowBars* Find(QWidget* w)
{
    QObject* o = w->findChild<QObject*>(QStringLiteral("hm-window-scroll-bars"), Qt::FindDirectChildrenOnly);
    return static_cast<TWindowBars*>(o);
}

TWindowBars* BarsOf(TWinControl* control)
{
    QWidget* w = control->Handle();
    if (!w)
        return nullptr;
    TWindowBars* bars = Find(w);
    return bars ? bars : new TWindowBars(w);
}

template <class F>
void ForBars(TWinControl* control, int bar, F f)
{
    TWindowBars* bars = BarsOf(control);
    if (!bars)
        return;
    for (int b = 0; b < 2; ++b) {
        if (bar == b || bar == SB_BOTH) {
            f(*bars, b);
            bars->Sync(b);
        }
    }
}

}  // namespace

int ScrollCodeOfSliderAction(int action)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: return SB_LINEDOWN;
    case QAbstractSlider::SliderSingleStepSub: return SB_LINEUP;
    case QAbstractSlider::SliderPageStepAdd: return SB_PAGEDOWN;
    case QAbstractSlider::SliderPageStepSub: return SB_PAGEUP;
    case QAbstractSlider::SliderToMinimum: return SB_TOP;
    case QAbstractSlider::SliderToMaximum: return SB_BOTTOM;
    case QAbstractSlider::SliderMove: return SB_THUMBTRACK;
    default: return -1;
    }
}

int SetScrollInfo(TWinControl* control, int bar, const TScrollInfo& info, bool)
{
    int pos = 0;
    ForBars(control, bar, [&](TWindowBars& bars, int b) {
        TScrollBarModel& m = bars.Models[b];
        int min = (info.fMask & SIF_RANGE) ? info.nMin : m.Min();
        int max = (info.fMask & SIF_RANGE) ? info.nMax : m.Max();
        int page = (info.fMask & SIF_PAGE) ? static_cast<int>(info.nPage) : m.Page();
        int p = (info.fMask & SIF_POS) ? info.nPos : m.Position();
        m.SetInfo(min, max, page, p);
        // A range the page covers hides the bar, unless asked to keep it disabled.
        bool needed = m.MaxPosition() > m.Min();
        if (info.fMask & SIF_RANGE)
            bars.Shown[b] = needed || (info.fMask & SIF_DISABLENOSCROLL);
        pos = m.Position();
    });
    control->Realign();
    return pos;
}

bool GetScrollInfo(TWinControl* control, int bar, TScrollInfo& info)
{
    TWindowBars* bars = bar == SB_HORZ || bar == SB_VERT ? BarsOf(control) : nullptr;
    if (!bars)
        return false;
    const TScrollBarModel& m = bars->Models[bar];
    info.nMin = m.Min();
    info.nMax = m.Max();
    info.nPage = static_cast<unsigned>(m.Page());
    info.nPos = m.Position();
    info.nTrackPos = m.Position();
    return true;
}

int SetScrollPos(TWinControl* control, int bar, int pos, bool redraw)
{
    TScrollInfo info;
    info.fMask = SIF_POS;
    info.nPos = pos;
    return SetScrollInfo(control, bar, info, redraw);
}

int GetScrollPos(TWinControl* control, int bar)
{
    TScrollInfo info;
    return GetScrollInfo(control, bar, info) ? info.nPos : 0;
}

void SetScrollRange(TWinControl* control, int bar, int min, int max, bool redraw)
{
    TScrollInfo info;
    info.fMask = SIF_RANGE;
    info.nMin = min;
    info.nMax = max;
    SetScrollInfo(control, bar, info, redraw);
}

void ShowScrollBar(TWinControl* control, int bar, bool show)
{
    ForBars(control, bar, [&](TWindowBars& bars, int b) { bars.Shown[b] = show; });
    control->Realign();
}

TSize WindowScrollBarSizes(const TWinControl* control)
{
    TSize size{0, 0};
    if (!control->HandleAllocated())
        return size;
    QWidget* w = const_cast<TWinControl*>(control)->Handle();
    if (TWindowBars* bars = Find(w)) {
        size.cx = bars->Shown[SB_VERT] ? bars->Thickness(SB_VERT) : 0;
        size.cy = bars->Shown[SB_HORZ] ? bars->Thickness(SB_HORZ) : 0;
    }
    return size;
}

void SetWindowScrollBarLook(TWinControl* control, int bar, const TScrollBarLook& look)
{
    TWindowBars* bars = BarsOf(control);
    if (!bars)
        return;
    for (int b = 0; b < 2; ++b)
        if (bar == b || bar == SB_BOTH) {
            bars->Looks[b] = look;
            bars->ApplyLook(b);
        }
    control->Realign();
}

TScrollBarLook WindowScrollBarLook(TWinControl* control, int bar)
{
    TWindowBars* bars =
        (bar == SB_HORZ || bar == SB_VERT) && control->HandleAllocated() ? Find(control->Handle()) : nullptr;
    return bars ? bars->Looks[bar] : TScrollBarLook{};
}
