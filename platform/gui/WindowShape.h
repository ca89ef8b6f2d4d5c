#pragma once
// The shape and stacking of a window: a region made from a polygon that limits the part of the
// window that shows (Win32 CreatePolygonRgn and SetWindowRgn), and placing a window above all
// others (SetWindowPos with HWND_TOPMOST).

#include <QRegion>
#include <vector>

#include "platform/core/Geometry.h"

class TWinControl;

enum TPolyFillMode { ALTERNATE = 1, WINDING = 2 };

// The pixels a polygon covers: a pixel is in when its centre is inside, so left and top edges
// belong to the region and right and bottom edges do not. An empty region has no pixel.
class TRegion {
public:
    TRegion() = default;
    explicit TRegion(QRegion region) : FRegion(std::move(region)) {}
    bool Empty() const { return FRegion.isEmpty(); }
    const QRegion& Region() const { return FRegion; }

private:
    QRegion FRegion;
};

TRegion CreatePolygonRgn(const std::vector<TPoint>& Points, TPolyFillMode Mode);
bool PtInRegion(const TRegion& Region, int X, int Y);
// Only the region's pixels of the window show (window coordinates); an empty region shows the
// whole window again. The window keeps the region until its widget is made again.
void SetWindowRgn(TWinControl* Window, const TRegion& Region, bool Redraw);
TRegion GetWindowRgn(TWinControl* Window);

enum THwndInsertAfter { HWND_TOP = 0, HWND_BOTTOM = 1, HWND_TOPMOST = -1, HWND_NOTOPMOST = -2 };
enum : unsigned { SWP_NOSIZE = 0x0001, SWP_NOMOVE = 0x0002, SWP_NOZORDER = 0x0004, SWP_NOACTIVATE = 0x0010 };
// Moves and sizes the window unless SWP_NOMOVE / SWP_NOSIZE, and puts it in the stacking order
// InsertAfter names unless SWP_NOZORDER: HWND_TOPMOST keeps it above every other window until
// HWND_NOTOPMOST.
void SetWindowPos(TWinControl* Window, THwndInsertAfter InsertAfter, int X, int Y, int CX, int CY, unsigned Flags);
