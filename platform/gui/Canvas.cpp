#include "platform/gui/Canvas.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPolygon>

#include "platform/gui/Bitmap.h"

QColor ToQColor(TColor c)
{
    if (c == clNone)
        return QColor(Qt::transparent);
    const TColor rgb = ColorToRGB(c) & 0xFFFFFF;
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TColor FromQRgb(unsigned rgb) { return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb)); }

namespace {

QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

QPainter::CompositionMode PenComposition(TPenMode m)
{
    switch (m) {
    case pmNot: return QPainter::RasterOp_NotDestination;
    case pmXor: return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
    case pmMerge: return QPainter::RasterOp_SourceOrDestination;
    case pmMask: return QPainter::RasterOp_SourceAndDestination;
    case pmNotCopy: return QPainter::RasterOp_NotSource;
    case pmMaskPenNot: return QPainter::RasterOp_SourceAndNotDestination;
    case pmMaskNotPen: return QPainter::RasterOp_NotSourceAndDestination;
    case pmMergePenNot: return QPainter::RasterOp_SourceOrNotDestination;
    case pmMergeNotPen: return QPainter::RasterOp_NotSourceOrDestination;
    case pmNotMerge: return QPainter::RasterOp_NotSourceAndNotDestination;
    case pmNotMask: return QPainter::RasterOp_NotSourceOrNotDestination;
    default: return QPainter::CompositionMode_SourceOver;
    }
}

Qt::BrushStyle QtBrushStyle(TBrushStyle s)
{
    switch (s) {
    case bsClear: return Qt::NoBrush;
    case bsHorizontal: return Qt::HorPattern;
    case bsVertical: return Qt::VerPattern;
    case bsFDiagonal: return Qt::FDiagPattern;
    case bsBDiagonal: return Qt::BDiagPattern;
    case bsCross: return Qt::CrossPattern;
    case bsDiagCross: return Qt::DiagCrossPattern;
    default: return Qt::SolidPattern;
    }
}

}  // namespace

TCanvas::TCanvas()
{
    FFont.OnChange = [this](TObject*) {
        FQFont.reset();
        FQMetrics.reset();
        FWidths.clear();
        FTextColor = clNone;
    };
    FBrush.OnChange = [this](TObject*) { FBkColor = clNone; };
}

void TCanvas::SetUnshapedText(bool Value)
{
    if (Value == FUnshapedText)
        return;
    FUnshapedText = Value;
    FQFont.reset();
    FQMetrics.reset();
    FWidths.clear();
}

TColor TCanvas::SetTextColor(TColor c)
{
    const TColor old = TextColor();
    FTextColor = c;
    return old;
}

TColor TCanvas::SetBkColor(TColor c)
{
    const TColor old = BkColor();
    FBkColor = c;
    return old;
}

TCanvas::~TCanvas() = default;

void TCanvas::BeginPaint(QPainter* painter) { FOuterPainter = painter; }

void TCanvas::EndPaint() { FOuterPainter = nullptr; }

QPainter* TCanvas::Painter()
{
    if (FOuterPainter)
        return FOuterPainter;
    return AcquirePainter();
}

void TCanvas::ReleaseOwnPainter()
{
    if (FOwnPainter) {
        FOwnPainter->end();
        FOwnPainter.reset();
    }
}

QImage* TCanvas::Image()
{
    if (FOuterPainter && FOuterPainter->device() && FOuterPainter->device()->devType() == QInternal::Image)
        return static_cast<QImage*>(FOuterPainter->device());
    return nullptr;
}

const QFont& TCanvas::QtFont()
{
    if (!FQFont && Mapped()) {
        // The height in logical units, drawn at the target's resolution.
        TFont device;
        device.Assign(&FFont);
        const int h = FFont.Height();
        device.SetHeight(h == 0 ? 0 : (h < 0 ? -1 : 1) * std::max(1, DeviceHeight(std::abs(h))));
        FQFont = std::make_unique<QFont>(device.ToQFont());
        // Paper has no pixel grid: outlines keep their own widths, so what is measured is what
        // prints, and text stays one word for readers of the page.
        FQFont->setHintingPreference(QFont::PreferNoHinting);
        FQFont->setStyleStrategy(QFont::StyleStrategy(FQFont->styleStrategy() | QFont::PreferNoShaping));
    }
    if (!FQFont && FontPixelScale() != 1.0) {
        TFont device;
        device.Assign(&FFont);
        device.SetHeight(static_cast<int>(std::lround(FFont.Height() * FontPixelScale())));
        FQFont = std::make_unique<QFont>(device.ToQFont());
    }
    if (!FQFont)
        FQFont = std::make_unique<QFont>(FFont.ToQFont());
    if (FUnshapedText)
        FQFont->setStyleStrategy(QFont::StyleStrategy(FQFont->styleStrategy() | QFont::PreferNoShaping));
    return *FQFont;
}

const QFontMetrics& TCanvas::QtFontMetrics()
{
    if (!FQMetrics)
        FQMetrics = std::make_unique<QFontMetrics>(QtFont());
    return *FQMetrics;
}

void TCanvas::ApplyPen(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(ToQColor(FPen.Color()));
    const int width = Mapped() ? DeviceLength(FPen.Width()) : FPen.Width();
    pen.setWidth(width <= 1 ? 0 : width);
    switch (FPen.Style()) {
    case psDash: pen.setStyle(Qt::DashLine); break;
    case psDot: pen.setStyle(Qt::DotLine); break;
    case psDashDot: pen.setStyle(Qt::DashDotLine); break;
    case psDashDotDot: pen.setStyle(Qt::DashDotDotLine); break;
    case psClear: pen.setStyle(Qt::NoPen); break;
    default: pen.setStyle(Qt::SolidLine); break;
    }
    if (FPen.Mode() == pmNop)
        pen.setStyle(Qt::NoPen);
    if (FPen.Mode() == pmBlack)
        pen.setColor(Qt::black);
    if (FPen.Mode() == pmWhite)
        pen.setColor(Qt::white);
    p.setPen(pen);
    p.setCompositionMode(PenComposition(FPen.Mode()));
}

void TCanvas::ApplyBrush(QPainter& p)
{
    if (FBrush.Bitmap() && !FBrush.Bitmap()->Empty()) {
        p.setBrush(QBrush(FBrush.Bitmap()->Snapshot().convertToFormat(QImage::Format_RGB32)));
        return;
    }
    QBrush b(ToQColor(FBrush.Color()), QtBrushStyle(FBrush.Style()));
    p.setBrush(b);
}

TRect TCanvas::ClipRect()
{
    QPainter* p = Painter();
    if (!p || !p->device())
        return TRect{};
    const QPaintDevice* d = p->device();
    QRect r = p->transform().inverted().mapRect(QRect(0, 0, d->width(), d->height()));
    if (p->hasClipping())
        r &= p->clipBoundingRect().toAlignedRect();
    if (Mapped()) {
        const TPoint a = DeviceToLogical({r.left(), r.top()}),
                     b = DeviceToLogical({r.left() + r.width(), r.top() + r.height()});
        return TRect{a.x, a.y, b.x, b.y};
    }
    return TRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

void TCanvas::IntersectClipRect(const TRect& r)
{
    if (QPainter* p = Painter())
        p->setClipRect(ToQRect(DeviceRect(r)), p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

void TCanvas::ResetClip()
{
    if (QPainter* p = Painter())
        p->setClipping(false);
}

void TCanvas::FillRect(const TRect& logical)
{
    const TRect r = DeviceRect(logical);
    QPainter* p = Painter();
    if (!p || r.IsEmpty() || FBrush.Style() == bsClear)
        return;
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->setPen(Qt::NoPen);
    ApplyBrush(*p);
    p->fillRect(ToQRect(r), p->brush());
}

void TCanvas::FrameRect(const TRect& logical)
{
    const TRect r = DeviceRect(logical);
    QPainter* p = Painter();
    if (!p || r.IsEmpty() || FBrush.Style() == bsClear)
        return;
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QColor c = ToQColor(FBrush.Color());
    p->fillRect(QRect(r.Left, r.Top, r.Width(), 1), c);
    if (r.Height() > 1)
        p->fillRect(QRect(r.Left, r.Bottom - 1, r.Width(), 1), c);
    if (r.Height() > 2) {
        p->fillRect(QRect(r.Left, r.Top + 1, 1, r.Height() - 2), c);
        if (r.Width() > 1)
            p->fillRect(QRect(r.Right - 1, r.Top + 1, 1, r.Height() - 2), c);
    }
}

QPainter* TCanvas::ShapePainter(int& x1, int& y1, int& x2, int& y2)
{
    QPainter* p = Painter();
    if (!p)
        return nullptr;
    const TPoint a = LogicalToDevice({x1, y1}), b = LogicalToDevice({x2, y2});
    x1 = a.x, y1 = a.y, x2 = b.x, y2 = b.y;
    if (x2 < x1)
        std::swap(x1, x2);
    if (y2 < y1)
        std::swap(y1, y2);
    if (x2 - x1 <= 0 || y2 - y1 <= 0)
        return nullptr;
    ApplyPen(*p);
    return p;
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    QPainter* p = ShapePainter(x1, y1, x2, y2);
    if (!p)
        return;
    const int w = x2 - x1, h = y2 - y1;
    const bool noPen = p->pen().style() == Qt::NoPen;
    const bool fill = FBrush.Style() != bsClear || FBrush.Bitmap();
    if (noPen) {
        // Without a pen Win32 fills one pixel less to the right and bottom.
        if (fill && w > 1 && h > 1) {
            ApplyBrush(*p);
            p->fillRect(QRect(x1, y1, w - 1, h - 1), p->brush());
        }
        return;
    }
    if (FPen.Width() > 1 || FPen.Style() != psSolid) {
        if (fill)
            ApplyBrush(*p);
        else
            p->setBrush(Qt::NoBrush);
        p->drawRect(QRect(x1, y1, w - 1, h - 1));
        return;
    }
    if (fill && w > 2 && h > 2) {
        ApplyBrush(*p);
        p->fillRect(QRect(x1 + 1, y1 + 1, w - 2, h - 2), p->brush());
    }
    // The outline as four runs that never overlap, so XOR pens touch every pixel once.
    const QColor c = p->pen().color();
    p->fillRect(QRect(x1, y1, w, 1), c);
    if (h > 1)
        p->fillRect(QRect(x1, y2 - 1, w, 1), c);
    if (h > 2) {
        p->fillRect(QRect(x1, y1 + 1, 1, h - 2), c);
        if (w > 1)
            p->fillRect(QRect(x2 - 1, y1 + 1, 1, h - 2), c);
    }
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
{
    QPainter* p = ShapePainter(x1, y1, x2, y2);
    if (!p)
        return;
    if (FBrush.Style() != bsClear)
        ApplyBrush(*p);
    else
        p->setBrush(Qt::NoBrush);
    if (Mapped()) {
        x3 = DeviceLength(x3);
        y3 = DeviceHeight(y3);
    }
    p->drawRoundedRect(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1), x3 / 2.0, y3 / 2.0, Qt::AbsoluteSize);
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    QPainter* p = ShapePainter(x1, y1, x2, y2);
    if (!p)
        return;
    if (FBrush.Style() != bsClear)
        ApplyBrush(*p);
    else
        p->setBrush(Qt::NoBrush);
    p->drawEllipse(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
}

void TCanvas::PlotLine(QPainter& p, int x0, int y0, int x1, int y1, bool lastPixel)
{
    if (FPen.Width() > 1 || FPen.Style() != psSolid) {
        p.drawLine(x0, y0, x1, y1);
        return;
    }
    // Bresenham's pixels, only those that can be inside the target.
    const TRect clip = DeviceRect(ClipRect());
    const int64_t dx = std::abs(int64_t(x1) - x0), dy = std::abs(int64_t(y1) - y0);
    const int sx = x1 >= x0 ? 1 : -1, sy = y1 >= y0 ? 1 : -1;
    const bool xMajor = dx >= dy;
    const int64_t major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    if (major == 0) {
        if (lastPixel)
            p.drawPoint(x0, y0);
        return;
    }
    const int64_t m0 = xMajor ? x0 : y0, n0 = xMajor ? y0 : x0;
    const int sm = xMajor ? sx : sy, sn = xMajor ? sy : sx;
    const int64_t lo = xMajor ? clip.Left : clip.Top, hi = xMajor ? clip.Right - 1 : clip.Bottom - 1;
    int64_t i0 = sm > 0 ? lo - m0 : m0 - hi, i1 = sm > 0 ? hi - m0 : m0 - lo;
    i0 = std::max<int64_t>(i0, 0);
    i1 = std::min<int64_t>(i1, lastPixel ? major : major - 1);
    QPolygon pts;
    for (int64_t i = i0; i <= i1; ++i) {
        // Fits in 64 bits: i and minor are below 2^32 and their product stays below 2^63.
        const int64_t step =
            static_cast<int64_t>((uint64_t(2 * i) * uint64_t(minor) + uint64_t(major)) / uint64_t(2 * major));
        const int64_t m = m0 + sm * i, n = n0 + sn * step;
        const int64_t px = xMajor ? m : n, py = xMajor ? n : m;
        if (px >= clip.Left && px < clip.Right && py >= clip.Top && py < clip.Bottom)
            pts << QPoint(static_cast<int>(px), static_cast<int>(py));
    }
    if (!pts.isEmpty())
        p.drawPoints(pts);
}

void TCanvas::LineTo(int x, int y)
{
    if (QPainter* p = Painter()) {
        ApplyPen(*p);
        const TPoint a = LogicalToDevice(FPenPos), b = LogicalToDevice({x, y});
        PlotLine(*p, a.x, a.y, b.x, b.y, false);
    }
    FPenPos = {x, y};
}

void TCanvas::Polyline(const std::vector<TPoint>& points)
{
    if (points.empty())
        return;
    QPainter* p = Painter();
    if (p) {
        ApplyPen(*p);
        for (size_t i = 1; i < points.size(); ++i) {
            const TPoint a = LogicalToDevice(points[i - 1]), b = LogicalToDevice(points[i]);
            PlotLine(*p, a.x, a.y, b.x, b.y, false);
        }
    }
    FPenPos = points.back();
}

void TCanvas::Polygon(const std::vector<TPoint>& logical)
{
    QPainter* p = Painter();
    if (!p || logical.size() < 2)
        return;
    std::vector<TPoint> points = logical;
    for (TPoint& pt : points)
        pt = LogicalToDevice(pt);
    QPolygon poly;
    for (const TPoint& pt : points)
        poly << QPoint(pt.x, pt.y);
    ApplyPen(*p);
    const QPen pen = p->pen();
    if (FBrush.Style() != bsClear) {
        ApplyBrush(*p);
        p->setPen(Qt::NoPen);
        p->drawPolygon(poly, Qt::OddEvenFill);
        p->setPen(pen);
    }
    if (pen.style() == Qt::NoPen)
        return;
    for (size_t i = 0; i < points.size(); ++i) {
        const TPoint& a = points[i];
        const TPoint& b = points[(i + 1) % points.size()];
        PlotLine(*p, a.x, a.y, b.x, b.y, false);
    }
}

TColor TCanvas::Pixels(int lx, int ly)
{
    Painter();  // a bitmap's drawing target must exist before it is read
    const TPoint d = LogicalToDevice({lx, ly});
    const int x = d.x, y = d.y;
    QImage* img = Image();
    if (!img || x < 0 || y < 0 || x >= img->width() || y >= img->height())
        return CLR_INVALID;
    const TRect clip = DeviceRect(ClipRect());
    if (!PtInRect(clip, TPoint{x, y}))
        return CLR_INVALID;
    return FromQRgb(img->pixel(x, y));
}

void TCanvas::SetPixels(int lx, int ly, TColor c)
{
    QPainter* p = Painter();
    if (!p)
        return;
    const TPoint d = LogicalToDevice({lx, ly});
    const int x = d.x, y = d.y;
    p->setCompositionMode(QPainter::CompositionMode_Source);
    p->setPen(QPen(ToQColor(c), 0));
    p->drawPoint(x, y);
}

void TCanvas::DrawFocusRect(const TRect& logical)
{
    const TRect r = DeviceRect(logical);
    QPainter* p = Painter();
    if (!p || r.IsEmpty())
        return;
    // Every other pixel of the outline, counted from the top-left corner, inverted.
    QPolygon pts;
    auto add = [&](int x, int y) {
        if (((x - r.Left) + (y - r.Top)) % 2 == 0)
            pts << QPoint(x, y);
    };
    // Only the part that can show is walked: a rectangle may reach far beyond the target.
    const TRect clip = DeviceRect(ClipRect());
    for (int x = std::max(r.Left, clip.Left); x < std::min(r.Right, clip.Right); ++x) {
        add(x, r.Top);
        if (r.Height() > 1)
            add(x, r.Bottom - 1);
    }
    for (int y = std::max(r.Top + 1, clip.Top); y < std::min(r.Bottom - 1, clip.Bottom); ++y) {
        add(r.Left, y);
        if (r.Width() > 1)
            add(r.Right - 1, y);
    }
    p->setPen(QPen(Qt::white, 0));
    p->setCompositionMode(QPainter::RasterOp_NotDestination);
    p->drawPoints(pts);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::TextOut(int x, int y, std::string_view text)
{
    QPainter* p = Painter();
    const QString s = AnsiToQString(text);
    const QFontMetrics& fm = QtFontMetrics();
    const int w = TextWidth(text);  // logical
    if (p) {
        p->save();
        const int dw = Mapped() ? fm.horizontalAdvance(s) : w;
        const TPoint d = LogicalToDevice({x, y});
        const QPoint at = TurnForText(*p, d.x, d.y);
        if (FBrush.Style() != bsClear) {
            p->setCompositionMode(QPainter::CompositionMode_SourceOver);
            p->fillRect(QRect(at.x(), at.y(), dw, fm.height()), ToQColor(FBrush.Color()));
        }
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        DrawTextLine(*p, at, s);
        p->restore();
    }
    FPenPos = {static_cast<int>(std::clamp<int64_t>(int64_t{x} + w, INT_MIN, INT_MAX)), y};
}

void TCanvas::DrawTextLine(QPainter& p, QPoint at, const QString& s)
{
    const QFontMetrics& fm = QtFontMetrics();
    p.setPen(ToQColor(FFont.Color()));
    if (!FFont.Style().Contains(fsUnderline)) {
        p.setFont(QtFont());
        p.drawText(QPoint(at.x(), at.y() + fm.ascent()), s);
        return;
    }
    // The underline stays inside the text's cell, as Windows draws it: some faces put it below
    // their descent, where a cell of one line's height would cut it off.
    QFont plain = QtFont();
    plain.setUnderline(false);
    p.setFont(plain);
    p.drawText(QPoint(at.x(), at.y() + fm.ascent()), s);
    const int thick = std::max(1, fm.lineWidth());
    const int y = std::min(at.y() + fm.ascent() + std::max(1, fm.underlinePos()), at.y() + fm.height() - thick);
    p.fillRect(QRect(at.x(), y, fm.horizontalAdvance(s), thick), ToQColor(FFont.Color()));
}

QPoint TCanvas::TurnForText(QPainter& p, int x, int y)
{
    if (FFont.Orientation() % 3600 == 0)
        return QPoint(x, y);
    // Counter-clockwise on the screen, whose y axis points down.
    p.translate(x, y);
    p.rotate(-FFont.Orientation() / 10.0);
    return QPoint(0, 0);
}

void TCanvas::TextRect(const TRect& logical, int lx, int ly, std::string_view text)
{
    QPainter* p = Painter();
    if (!p)
        return;
    const TRect r = DeviceRect(logical);
    const TPoint d = LogicalToDevice({lx, ly});
    const int x = d.x, y = d.y;
    p->save();
    p->setClipRect(ToQRect(r), p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    if (FBrush.Style() != bsClear) {
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        p->fillRect(ToQRect(r), ToQColor(FBrush.Color()));
    }
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QPoint at = TurnForText(*p, x, y);
    DrawTextLine(*p, at, AnsiToQString(text));
    p->restore();
}

int TCanvas::TextWidth(std::string_view text)
{
    // Measuring shapes the text: controls measure and draw the same few texts at every paint.
    constexpr size_t kMaxWidths = 512;
    auto it = FWidths.find(text);
    if (it == FWidths.end()) {
        if (FWidths.size() >= kMaxWidths)
            FWidths.clear();
        it = FWidths.emplace(AnsiString(text), QtFontMetrics().horizontalAdvance(AnsiToQString(text))).first;
    }
    // Kept in pixels: a mapping mode turns them into its units.
    return Mapped() ? LogicalLength(it->second) : it->second;
}

int TCanvas::TextHeight(std::string_view)
{
    const int h = QtFontMetrics().height();
    return Mapped() ? LogicalHeight(h) : h;
}

TSize TCanvas::TextExtent(std::string_view text) { return TSize{TextWidth(text), TextHeight(text)}; }
