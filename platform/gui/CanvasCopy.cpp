#include "platform/gui/Canvas.h"

#include <QImage>
#include <QPainter>

#include "platform/gui/Bitmap.h"

// Bitmap drawing and block copies with raster operations.

namespace {

QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

// Whether a raster operation reads the destination.
bool RopUsesDest(TCopyMode rop)
{
    const unsigned f = (rop >> 16) & 0xFF;
    for (unsigned i = 0; i < 8; i += 2)
        if (((f >> i) & 1) != ((f >> (i + 1)) & 1))
            return true;
    return false;
}

// One pixel of a ternary raster operation: bit i of the operation's index is the result for
// pattern bit (i & 4), source bit (i & 2) and destination bit (i & 1).
uint32_t Rop3(unsigned f, uint32_t p, uint32_t s, uint32_t d)
{
    uint32_t r = 0;
    for (unsigned i = 0; i < 8; ++i)
        if (f & (1u << i))
            r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    return r;
}

// Qt's nearest equivalent of a raster operation, for targets whose pixels cannot be read.
QPainter::CompositionMode RopComposition(TCopyMode rop)
{
    switch (rop) {
    case cmSrcInvert: return QPainter::RasterOp_SourceXorDestination;
    case cmSrcAnd: return QPainter::RasterOp_SourceAndDestination;
    case cmSrcPaint: return QPainter::RasterOp_SourceOrDestination;
    case cmSrcErase: return QPainter::RasterOp_SourceAndNotDestination;
    case cmNotSrcErase: return QPainter::RasterOp_NotSourceAndNotDestination;
    case cmDstInvert: return QPainter::RasterOp_NotDestination;
    case cmMergePaint: return QPainter::RasterOp_NotSourceOrDestination;
    default: return QPainter::CompositionMode_Source;
    }
}

// One-bit pixels (black and white, whatever their storage) in the canvas's text colour for 0 and
// background colour for 1, as Win32 blits from monochrome.
void MapMonochrome(QImage& img, TCanvas& dest)
{
    const QRgb zero = ToQColor(dest.TextColor()).rgb(), one = ToQColor(dest.BkColor()).rgb();
    for (int y = 0; y < img.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            row[x] = (row[x] & 0xFFFFFF) == 0xFFFFFF ? one : zero;
    }
}

// A bitmap's pixels as they are drawn on a canvas: a one-bit source takes the canvas's text
// colour for 0 and brush colour for 1, as Win32 blits from monochrome.
QImage SourcePixels(TBitmap* bmp, TCanvas& dest)
{
    QImage img = bmp->Snapshot().convertToFormat(QImage::Format_ARGB32);
    if (bmp->Monochrome() && !dest.IsMonochrome())
        MapMonochrome(img, dest);
    return img;
}

// The brush's pattern bitmap as RGB pixels (null without one); a one-bit pattern takes the text
// and background colours.
QImage PatternPixels(TCanvas& canvas)
{
    TBitmap* pattern = canvas.Brush()->Bitmap();
    if (!pattern || pattern->Empty())
        return QImage();
    return SourcePixels(pattern, canvas).convertToFormat(QImage::Format_RGB32);
}

int Wrap(int v, int n) { return ((v % n) + n) % n; }

// Pixels of colour `key` made see-through.
void MaskColor(QImage& img, TColor key)
{
    const QRgb k = ToQColor(key).rgb() & 0xFFFFFF;
    for (int y = 0; y < img.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((row[x] & 0xFFFFFF) == k)
                row[x] = 0;
    }
}

// The part `part` of the image stretched over `whole`, each pixel taken from the nearest source
// pixel.
QImage ScaledPart(const QImage& img, const TRect& whole, const TRect& part)
{
    QImage out(part.Width(), part.Height(), img.format());
    const int64_t iw = img.width(), ih = img.height(), rw = whole.Width(), rh = whole.Height();
    for (int y = 0; y < out.height(); ++y) {
        const int64_t dy = int64_t(part.Top) - whole.Top + y;
        const int sy = static_cast<int>(std::min(ih - 1, (2 * dy + 1) * ih / (2 * rh)));
        const auto* src = reinterpret_cast<const QRgb*>(img.constScanLine(sy));
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const int64_t dx = int64_t(part.Left) - whole.Left + x;
            row[x] = src[std::min(iw - 1, (2 * dx + 1) * iw / (2 * rw))];
        }
    }
    return out;
}

}  // namespace

void TCanvas::Draw(int x, int y, TBitmap* bitmap)
{
    if (!bitmap || bitmap->Empty())
        return;
    if (Mapped()) {
        // At its own size in pixels, from the logical point.
        const TPoint d = LogicalToDevice({x, y});
        const TPoint far = DeviceToLogical({d.x + bitmap->Width(), d.y + bitmap->Height()});
        StretchDraw(TRect{x, y, far.x, far.y}, bitmap);
        return;
    }
    StretchDraw(TRect{x, y, x + bitmap->Width(), y + bitmap->Height()}, bitmap);
}

void TCanvas::Draw(int x, int y, TGraphic* graphic)
{
    if (graphic && !graphic->Empty())
        StretchDraw(TRect{x, y, x + graphic->Width(), y + graphic->Height()}, graphic);
}

void TCanvas::StretchDraw(const TRect& r, TGraphic* graphic)
{
    if (auto* bitmap = dynamic_cast<TBitmap*>(graphic))
        StretchDraw(r, bitmap);
    else if (graphic && !graphic->Empty() && !r.IsEmpty())
        graphic->DrawInto(this, r);
}

void TCanvas::StretchDraw(const TRect& logical, TBitmap* bitmap)
{
    const TRect r = DeviceRect(logical);
    if (!bitmap || bitmap->Empty() || r.IsEmpty())
        return;
    QPainter* p = Painter();
    if (!p)
        return;
    // A stretch far larger than the target is scaled for its visible part only.
    TRect dest = r;
    const TRect clip = DeviceRect(ClipRect());
    if (!IntersectRect(dest, r, clip))
        return;
    // The common case, a picture copied whole at its own size (a control's drawing bitmap
    // shown), goes straight from its pixels, without the copies the general case makes.
    if (dest == r && FCopyMode == cmSrcCopy && !bitmap->Transparent() && !bitmap->Monochrome() &&
        bitmap->Pixels().format() == QImage::Format_RGB32 && bitmap->Width() == r.Width() &&
        bitmap->Height() == r.Height() && !bitmap->IsOwnCanvas(this)) {
        p->setCompositionMode(QPainter::CompositionMode_Source);
        p->drawImage(QPoint(dest.Left, dest.Top), bitmap->Pixels());
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        return;
    }
    QImage img = SourcePixels(bitmap, *this);
    if (dest != r)
        img = ScaledPart(img, r, dest);
    else if (img.size() != QSize(r.Width(), r.Height()))
        img = img.scaled(r.Width(), r.Height(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (bitmap->Transparent()) {
        MaskColor(img, bitmap->TransparentColor());
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        p->drawImage(QPoint(dest.Left, dest.Top), img);
        return;
    }
    DrawImageRop(dest, img, FCopyMode);
}

void TCanvas::BrushCopy(const TRect& logical, TBitmap* bitmap, const TRect& src, TColor color)
{
    const TRect dest = DeviceRect(logical);
    if (!bitmap || bitmap->Empty() || dest.IsEmpty() || src.IsEmpty())
        return;
    QImage img = SourcePixels(bitmap, *this).copy(ToQRect(src));
    if (!Painter())
        return;
    if (img.size() != QSize(dest.Width(), dest.Height()))
        img = img.scaled(dest.Width(), dest.Height(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QRgb k = ToQColor(color).rgb() & 0xFFFFFF, b = ToQColor(FBrush.Color()).rgb();
    for (int y = 0; y < img.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((row[x] & 0xFFFFFF) == k)
                row[x] = b;
    }
    DrawImageRop(dest, img, cmSrcCopy);
}

void TCanvas::CopyRect(const TRect& logical, TCanvas* source, const TRect& sourceLogical)
{
    const TRect dest = DeviceRect(logical);
    const TRect src = source ? source->DeviceRect(sourceLogical) : sourceLogical;
    QPainter* p = Painter();
    if (!p || !source || dest.IsEmpty() || src.IsEmpty())
        return;
    source->Painter();
    QImage* simg = source->Image();
    if (!simg)
        return;
    // A copy first, so that a canvas copying onto itself reads the pixels before any change.
    QImage img = simg->copy(ToQRect(src)).convertToFormat(QImage::Format_RGB32);
    if (source->IsMonochrome() && !IsMonochrome())
        MapMonochrome(img, *this);
    if (IsMonochrome() && !source->IsMonochrome()) {
        // Colour to one bit: the source's background colour becomes white, the rest black.
        const QRgb bk = ToQColor(source->BkColor()).rgb() & 0xFFFFFF;
        for (int y = 0; y < img.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                row[x] = (row[x] & 0xFFFFFF) == bk ? 0xFFFFFFFF : 0xFF000000;
        }
    }
    if (img.size() != QSize(dest.Width(), dest.Height()))
        img = img.scaled(dest.Width(), dest.Height(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    DrawImageRop(dest, img, FCopyMode);
}

void TCanvas::DrawImageRop(const TRect& dest, const QImage& src, TCopyMode rop)
{
    QPainter* p = Painter();
    if (!p)
        return;
    const QPoint at(dest.Left, dest.Top);
    if (rop == cmSrcCopy) {
        p->setCompositionMode(QPainter::CompositionMode_Source);
        p->drawImage(at, src.convertToFormat(QImage::Format_RGB32));
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        return;
    }
    QImage* dimg = Image();
    if (RopUsesDest(rop) && !dimg) {
        p->setCompositionMode(RopComposition(rop));
        p->drawImage(at, src.convertToFormat(QImage::Format_RGB32));
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        return;
    }
    QImage out = src.convertToFormat(QImage::Format_RGB32);
    const QImage d = dimg ? dimg->copy(QRect(at, out.size())).convertToFormat(QImage::Format_RGB32)
                          : QImage(out.size(), QImage::Format_RGB32);
    const QImage pattern = PatternPixels(*this);
    const uint32_t solid = ToQColor(FBrush.Color()).rgb();
    const unsigned f = (rop >> 16) & 0xFF;
    for (int y = 0; y < out.height(); ++y) {
        auto* o = reinterpret_cast<QRgb*>(out.scanLine(y));
        const auto* dr = reinterpret_cast<const QRgb*>(d.constScanLine(y));
        const QRgb* pr = pattern.isNull()
            ? nullptr
            : reinterpret_cast<const QRgb*>(pattern.constScanLine(Wrap(dest.Top + y, pattern.height())));
        for (int x = 0; x < out.width(); ++x) {
            const uint32_t pat = pr ? pr[Wrap(dest.Left + x, pattern.width())] : solid;
            o[x] = 0xFF000000u | (Rop3(f, pat, o[x], dr[x]) & 0xFFFFFF);
        }
    }
    p->setCompositionMode(QPainter::CompositionMode_Source);
    p->drawImage(at, out);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}
