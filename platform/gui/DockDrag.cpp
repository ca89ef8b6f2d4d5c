#include "platform/gui/DockDrag.h"

#include <QPalette>
#include <QRegion>
#include <QWidget>
#include <algorithm>

#include "platform/gui/Forms.h"

namespace {

bool Alive(const TAliveToken& token) { return token && *token; }

// The innermost shown control of a window at a screen point.
TControl* ControlAt(TWinControl* window, TPoint point)
{
    for (TWinControl* w = window;;) {
        TControl* c = w->ControlAtPos(w->ScreenToClient(point), true, true);
        auto* inner = dynamic_cast<TWinControl*>(c);
        if (!inner)
            return c ? c : w;
        w = inner;
    }
}

// The shown dock site that is the control or holds it; the dragged control and what it holds
// stand for the site it is docked on.
TWinControl* SiteOf(TControl* c, const TWinControl* dragged)
{
    for (; c; c = c->Parent()) {
        if (dragged && dragged->ContainsControl(c))
            c = const_cast<TWinControl*>(dragged);
        else if (auto* w = dynamic_cast<TWinControl*>(c); w && w->DockSite() && w->Showing())
            return w;
    }
    return nullptr;
}

bool OnScreenAt(TWinControl* w, TPoint point)
{
    const TPoint origin = w->ClientToScreen(TPoint{0, 0});
    return PtInRect(Bounds(origin.x, origin.y, w->Width(), w->Height()), point);
}

}  // namespace

TWinControl* FindDockSite(TPoint ScreenPoint, const TWinControl* Dragged)
{
    if (TWinControl* site = SiteOf(FindDragTarget(ScreenPoint, true), Dragged))
        return site;
    // The dragged window itself (or the frame showing where it goes) may lie over the point: the
    // program's other windows there.
    for (int i = 0; Screen && i < Screen->FormCount(); ++i) {
        TCustomForm* form = Screen->Forms(i);
        if (form->Parent() || form == Dragged || !form->Showing() || !OnScreenAt(form, ScreenPoint))
            continue;
        if (TWinControl* site = SiteOf(ControlAt(form, ScreenPoint), Dragged))
            return site;
    }
    return nullptr;
}

TDockDrag::TDockDrag(TWinControl* Control, TPoint Start) : FControl(Control), FControlAlive(Control->AliveToken())
{
    // A docked control has no frame; a window's place is its frame's.
    const TPoint origin =
        Control->Parent() ? Control->ClientToScreen(TPoint{0, 0}) : TPoint{Control->Left(), Control->Top()};
    FGrab = TPoint{std::clamp(Start.x - origin.x, 0, std::max(Control->UndockWidth() - 1, 0)),
                   std::clamp(Start.y - origin.y, 0, std::max(Control->UndockHeight() - 1, 0))};
    FObject.Control = Control;
    FPoint = Start;
}

TDockDrag::~TDockDrag() = default;

TWinControl* TDockDrag::Control() const { return Alive(FControlAlive) ? FControl : nullptr; }

TWinControl* TDockDrag::Site() const { return Alive(FSiteAlive) ? FSite : nullptr; }

TRect TDockDrag::FloatRect(TPoint Point) const
{
    TWinControl* control = Control();
    if (!control)
        return TRect{};
    return Bounds(Point.x - FGrab.x, Point.y - FGrab.y, control->UndockWidth(), control->UndockHeight());
}

void TDockDrag::Move(TPoint Point)
{
    TWinControl* control = Control();
    if (!control)
        return;
    FPoint = Point;
    TWinControl* site = FindDockSite(Point, control);
    TDragState state = dsDragMove;
    if (site != Site()) {
        Leave(Point);
        FSite = site;
        FSiteAlive = site ? site->AliveToken() : TAliveToken();
        state = dsDragEnter;
    }
    FAccepted = false;
    FObject = TDragDockObject{control, alNone, FloatRect(Point)};
    if (site) {
        const TPoint at = site->ScreenToClient(Point);
        FObject = site->DockTarget(control, at, FloatRect(Point));
        bool accept = true;
        site->DockOver(FObject, at.x, at.y, state, accept);
        FAccepted = accept;
    }
    // The site's handler may have freed either.
    if (!Control())
        return;
    ShowFrame(Accepted() ? FObject.DockRect : FloatRect(Point));
}

void TDockDrag::Leave(TPoint Point)
{
    TWinControl* site = Site();
    FSite = nullptr;
    FSiteAlive.reset();
    FAccepted = false;
    if (!site)
        return;
    const TPoint at = site->ScreenToClient(Point);
    bool accept = false;
    site->DockOver(FObject, at.x, at.y, dsDragLeave, accept);
}

void TDockDrag::Drop(TPoint Point)
{
    Move(Point);
    ShowFrame(TRect{});
    TWinControl* control = Control();
    if (!control)
        return;
    if (TWinControl* site = Site(); site && FAccepted) {
        const TPoint at = site->ScreenToClient(Point);
        site->DockDrop(FObject, at.x, at.y);
    } else {
        control->ManualFloat(FloatRect(Point));
    }
    FSite = nullptr;
    FSiteAlive.reset();
}

void TDockDrag::Cancel()
{
    ShowFrame(TRect{});
    if (TWinControl* site = Site()) {
        const TPoint point = site->ClientToScreen(TPoint{0, 0});
        Leave(point);
    }
}

// Above every window, outside the window manager's hands; the pointer goes through it.
void TDockDrag::ShowFrame(const TRect& r)
{
    constexpr int kRing = 3;
    FFrameRect = r;
    if (r.IsEmpty()) {
        if (FFrame)
            FFrame->hide();
        return;
    }
    if (!FFrame) {
        FFrame = std::make_unique<QWidget>(nullptr,
                                           Qt::ToolTip | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint |
                                               Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus);
        FFrame->setAttribute(Qt::WA_TransparentForMouseEvents);
        FFrame->setAttribute(Qt::WA_ShowWithoutActivating);
        FFrame->setAutoFillBackground(true);
        QPalette palette = FFrame->palette();
        palette.setColor(QPalette::Window, palette.color(QPalette::Highlight));
        FFrame->setPalette(palette);
    }
    FFrame->setGeometry(r.Left, r.Top, r.Width(), r.Height());
    FFrame->setMask(QRegion(0, 0, r.Width(), r.Height()) -
                    QRegion(kRing, kRing, std::max(r.Width() - 2 * kRing, 0), std::max(r.Height() - 2 * kRing, 0)));
    FFrame->show();
}
