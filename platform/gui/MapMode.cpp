#include "platform/gui/MapMode.h"

#include <QPaintDevice>
#include <QPainter>
#include <algorithm>

#include "platform/gui/Graphics.h"

int GetDeviceCaps(TCanvas* Canvas, int Index)
{
    if (Index != LOGPIXELSX && Index != LOGPIXELSY)
        return 0;
    if (!Canvas)
        return ScreenPixelsPerInch;
    return Index == LOGPIXELSX ? Canvas->PixelsPerInch() : Canvas->PixelsPerInchY();
}

namespace {

int DeviceDpi(QPainter* p, int (QPaintDevice::*dpi)() const)
{
    const QPaintDevice* d = p ? p->device() : nullptr;
    const int value = d ? (d->*dpi)() : 0;
    return value > 0 ? value : ScreenPixelsPerInch;
}

}  // namespace

int TCanvas::PixelsPerInch() { return DeviceDpi(Painter(), &QPaintDevice::logicalDpiX); }

int TCanvas::PixelsPerInchY() { return DeviceDpi(Painter(), &QPaintDevice::logicalDpiY); }

// The mapping itself lives with the canvas, which converts at every drawing call.

int TCanvas::SetMapMode(int mode)
{
    const int old = FMapMode;
    if (mode != MM_TEXT && mode != MM_LOMETRIC)
        return 0;
    if (mode != FMapMode) {
        FMapMode = mode;
        FQFont.reset();
        FQMetrics.reset();
        FWidths.clear();
    }
    return old;
}

namespace {

int Coord(long long v) { return static_cast<int>(std::clamp<long long>(v, -kMaxDeviceCoord, kMaxDeviceCoord)); }

int Scale(long long v, int num, int den)
{
    const long long p = v * num;
    return Coord((p >= 0 ? p + den / 2 : p - den / 2) / den);
}

}  // namespace

TPoint TCanvas::LogicalToDevice(TPoint p)
{
    if (!Mapped())
        return TPoint{Coord(p.x), Coord(p.y)};
    return TPoint{Scale(p.x, PixelsPerInch(), 254), Scale(-1LL * p.y, PixelsPerInchY(), 254)};
}

TPoint TCanvas::DeviceToLogical(TPoint p)
{
    if (!Mapped())
        return TPoint{Coord(p.x), Coord(p.y)};
    return TPoint{Scale(p.x, 254, PixelsPerInch()), Scale(-1LL * p.y, 254, PixelsPerInchY())};
}

TRect TCanvas::DeviceRect(const TRect& r)
{
    const TPoint a = LogicalToDevice({r.Left, r.Top}), b = LogicalToDevice({r.Right, r.Bottom});
    if (!Mapped())
        return TRect{a.x, a.y, b.x, b.y};
    return TRect{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

int TCanvas::DeviceLength(int v) { return Mapped() ? Scale(v, PixelsPerInch(), 254) : v; }

int TCanvas::LogicalLength(int v) { return Mapped() ? Scale(v, 254, PixelsPerInch()) : v; }

int TCanvas::DeviceHeight(int v) { return Mapped() ? Scale(v, PixelsPerInchY(), 254) : v; }

int TCanvas::LogicalHeight(int v) { return Mapped() ? Scale(v, 254, PixelsPerInchY()) : v; }

int SetMapMode(TCanvas* Canvas, int Mode) { return Canvas ? Canvas->SetMapMode(Mode) : 0; }

int GetMapMode(TCanvas* Canvas) { return Canvas ? Canvas->MapMode() : 0; }

bool LPtoDP(TCanvas* Canvas, TPoint* Points, int Count)
{
    if (!Canvas || !Points || Count < 0)
        return false;
    for (int i = 0; i < Count; ++i)
        Points[i] = Canvas->LogicalToDevice(Points[i]);
    return true;
}

bool DPtoLP(TCanvas* Canvas, TPoint* Points, int Count)
{
    if (!Canvas || !Points || Count < 0)
        return false;
    for (int i = 0; i < Count; ++i)
        Points[i] = Canvas->DeviceToLogical(Points[i]);
    return true;
}

namespace {

bool Corners(TCanvas* Canvas, TRect& Rect, bool (*convert)(TCanvas*, TPoint*, int))
{
    TPoint p[2] = {{Rect.Left, Rect.Top}, {Rect.Right, Rect.Bottom}};
    const bool ok = convert(Canvas, p, 2);
    Rect = TRect{p[0].x, p[0].y, p[1].x, p[1].y};
    return ok;
}

}  // namespace

bool LPtoDP(TCanvas* Canvas, TRect& Rect) { return Corners(Canvas, Rect, LPtoDP); }

bool DPtoLP(TCanvas* Canvas, TRect& Rect) { return Corners(Canvas, Rect, DPtoLP); }
