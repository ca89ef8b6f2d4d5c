#include "platform/gui/WindowShape.h"

#include <QPolygon>
#include <QWidget>

#include "platform/gui/WinControl.h"

TRegion CreatePolygonRgn(const std::vector<TPoint>& Points, TPolyFillMode Mode)
{
    QPolygon polygon;
    for (const TPoint& p : Points)
        polygon << QPoint(p.x, p.y);
    return TRegion(QRegion(polygon, Mode == WINDING ? Qt::WindingFill : Qt::OddEvenFill));
}

bool PtInRegion(const TRegion& Region, int X, int Y) { return Region.Region().contains(QPoint(X, Y)); }

void SetWindowRgn(TWinControl* Window, const TRegion& Region, bool Redraw)
{
    QWidget* widget = Window->Handle();
    if (Region.Empty())
        widget->clearMask();
    else
        widget->setMask(Region.Region());
    if (Redraw)
        Window->Invalidate();
}

TRegion GetWindowRgn(TWinControl* Window) { return TRegion(Window->Handle()->mask()); }

void SetWindowPos(TWinControl* Window, THwndInsertAfter InsertAfter, int X, int Y, int CX, int CY, unsigned Flags)
{
    if (!(Flags & SWP_NOMOVE) || !(Flags & SWP_NOSIZE))
        Window->SetBounds(Flags & SWP_NOMOVE ? Window->Left() : X, Flags & SWP_NOMOVE ? Window->Top() : Y,
                          Flags & SWP_NOSIZE ? Window->Width() : CX, Flags & SWP_NOSIZE ? Window->Height() : CY);
    if (Flags & SWP_NOZORDER)
        return;
    QWidget* widget = Window->Handle();
    if (InsertAfter == HWND_TOPMOST || InsertAfter == HWND_NOTOPMOST) {
        const bool onTop = InsertAfter == HWND_TOPMOST;
        if (widget->windowFlags().testFlag(Qt::WindowStaysOnTopHint) != onTop) {
            // New window flags hide a window: it is shown again as it was.
            const bool shown = widget->isVisible();
            widget->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
            if (shown)
                widget->show();
        }
    }
    if (InsertAfter == HWND_BOTTOM)
        widget->lower();
    else
        widget->raise();
}
