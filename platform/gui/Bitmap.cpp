#include "platform/gui/Bitmap.h"

#include <cstring>

#include <QImage>
#include <QPainter>


// A bitmap's canvas: draws on the bitmap's pixels through a painter of its own.
class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap* owner) : FOwner(owner) {}
    ~TBitmapCanvas() override { ReleaseOwnPainter(); }
    void Release() { ReleaseOwnPainter(); }
    QImage* Image() override
    {
        if (QImage* outer = TCanvas::Image())
            return outer;
        return FOwner->Empty() ? nullptr : &FOwner->PaintTarget();
    }
    bool IsMonochrome() const override { return FOwner->Monochrome(); }

protected:
    QPainter* AcquirePainter() override
    {
        if (FOwnPainter)
            return FOwnPainter.get();
        if (FOwner->Empty())
            return nullptr;
        FOwnPainter = std::make_unique<QPainter>(&FOwner->PaintTarget());
        FOwnPainter->setRenderHint(QPainter::Antialiasing, false);
        return FOwnPainter.get();
    }

private:
    TBitmap* FOwner;
};

namespace {

// The Windows 16-colour palette in its own order (the order 4-bit bitmaps use).
const QRgb kVga[16] = {0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080, 0xFF008080, 0xFF808080,
                       0xFFC0C0C0, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00, 0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};

QList<QRgb> ColorTable(TPixelFormat f)
{
    QList<QRgb> t;
    if (f == pf1bit)
        return {0xFF000000, 0xFFFFFFFF};
    for (QRgb c : kVga)
        t.push_back(c);
    if (f == pf8bit) {
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    t.push_back(qRgb(r * 51, g * 51, b * 51));
        for (int i = 0; t.size() < 256; ++i)
            t.push_back(qRgb(8 + i * 10, 8 + i * 10, 8 + i * 10));
    }
    return t;
}

QImage::Format StorageFormat(TPixelFormat f)
{
    switch (f) {
    case pf1bit: return QImage::Format_Mono;
    case pf4bit:
    case pf8bit: return QImage::Format_Indexed8;
    case pf15bit: return QImage::Format_RGB555;
    case pf16bit: return QImage::Format_RGB16;
    case pf24bit: return QImage::Format_BGR888;
    default: return QImage::Format_RGB32;
    }
}

bool Indexed(QImage::Format f) { return f == QImage::Format_Mono || f == QImage::Format_Indexed8; }

// A new image of the format, all white.
QImage NewImage(int w, int h, TPixelFormat f)
{
    QImage img(w, h, StorageFormat(f));
    if (img.isNull())
        return QImage(0, 0, StorageFormat(f));
    if (Indexed(img.format())) {
        img.setColorTable(ColorTable(f));
        img.fill(f == pf1bit ? 1 : 15);
    } else {
        img.fill(Qt::white);
    }
    return img;
}

// Converts to another storage format, indexed ones matching the nearest palette colour.
QImage Convert(const QImage& src, TPixelFormat f)
{
    const QImage::Format target = StorageFormat(f);
    if (Indexed(target))
        return src.convertToFormat(target, ColorTable(f), Qt::ThresholdDither | Qt::AvoidDither);
    return src.convertToFormat(target);
}

}  // namespace

TBitmap::TBitmap() : FImage(std::make_unique<QImage>(NewImage(0, 0, pfDevice))) {}

TBitmap::~TBitmap() { FCanvas.reset(); }

int TBitmap::Width() const { return FImage->width(); }
int TBitmap::Height() const { return FImage->height(); }

TCanvas* TBitmap::Canvas()
{
    if (!FCanvas)
        FCanvas = std::make_unique<TBitmapCanvas>(this);
    return FCanvas.get();
}

QImage& TBitmap::PaintTarget()
{
    if (!Indexed(FImage->format()))
        return *FImage;
    if (!FWork)
        FWork = std::make_unique<QImage>(FImage->convertToFormat(QImage::Format_RGB32));
    return *FWork;
}

void TBitmap::Flush()
{
    if (FCanvas)
        static_cast<TBitmapCanvas*>(FCanvas.get())->Release();
    if (FWork) {
        const QImage::Format f = FImage->format();
        const QList<QRgb> table = FImage->colorTable();
        *FImage = FWork->convertToFormat(f, table, Qt::ThresholdDither | Qt::AvoidDither);
        FWork.reset();
    }
}

void TBitmap::Changed()
{
    if (OnChange)
        OnChange(this);
}

const QImage& TBitmap::Image()
{
    Flush();
    return *FImage;
}

QImage TBitmap::Snapshot() const
{
    if (!FWork)
        return FImage->copy();
    if (FFormat == pf1bit)
        return FWork->convertToFormat(QImage::Format_Mono, ColorTable(pf1bit), Qt::ThresholdDither | Qt::AvoidDither);
    return FWork->copy();
}

void TBitmap::SetSize(int w, int h)
{
    w = std::max(w, 0);
    h = std::max(h, 0);
    if (w == Width() && h == Height())
        return;
    // A picture the system could not hold is refused before anything is allocated, as a failed
    // bitmap creation is.
    constexpr int64_t kMaxBitmapBytes = int64_t{1} << 30;
    if (int64_t{w} * h * 4 > kMaxBitmapBytes)
        throw EOutOfResources("Out of system resources");
    Flush();
    QImage img = NewImage(w, h, FFormat);
    if (img.isNull() && w > 0 && h > 0)
        throw EOutOfResources("Out of system resources");
    if (Indexed(FImage->format()))
        img.setColorTable(FImage->colorTable());
    const int cw = std::min(w, Width()), ch = std::min(h, Height());
    if (Indexed(img.format())) {
        for (int y = 0; y < ch; ++y)
            for (int x = 0; x < cw; ++x)
                img.setPixel(x, y, FImage->pixelIndex(x, y));
    } else {
        const int bytes = cw * img.depth() / 8;
        for (int y = 0; bytes > 0 && y < ch; ++y)
            std::memcpy(img.scanLine(y), FImage->constScanLine(y), bytes);
    }
    *FImage = std::move(img);
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat f)
{
    if (f == FFormat)
        return;
    Flush();
    *FImage = Convert(*FImage, f);
    FFormat = f;
    Changed();
}

void TBitmap::SetMonochrome(bool v)
{
    if (v == Monochrome())
        return;
    if (!v) {
        SetPixelFormat(pfDevice);
        return;
    }
    const QRgb bk = ToQColor(Canvas()->Brush()->Color()).rgb() & 0xFFFFFF;
    Flush();
    QImage mono = NewImage(Width(), Height(), pf1bit);
    for (int y = 0; y < Height(); ++y)
        for (int x = 0; x < Width(); ++x)
            mono.setPixel(x, y, (FImage->pixel(x, y) & 0xFFFFFF) == bk ? 1 : 0);
    *FImage = std::move(mono);
    FFormat = pf1bit;
    Changed();
}

void* TBitmap::ScanLine(int y)
{
    Flush();
    if (y < 0 || y >= Height())
        throw EInvalidGraphicOperation("Scan line index out of range");
    return FImage->scanLine(y);
}

int TBitmap::BytesPerScanLine() const { return static_cast<int>(FImage->bytesPerLine()); }

void TBitmap::SetTransparent(bool v)
{
    if (v == FTransparent)
        return;
    FTransparent = v;
    Changed();
}

TColor TBitmap::TransparentColor()
{
    if (FTransparentMode == tmFixed && FTransparentColor != clDefault)
        return FTransparentColor;
    if (Empty())
        return clDefault;
    return PixelColor(0, Height() - 1);
}

void TBitmap::SetTransparentColor(TColor c)
{
    FTransparentColor = c;
    FTransparentMode = c == clDefault ? tmAuto : tmFixed;
    Changed();
}

TColor TBitmap::PixelColor(int x, int y)
{
    const QImage& img = FWork ? *FWork : *FImage;
    if (x < 0 || y < 0 || x >= img.width() || y >= img.height())
        return clBlack;
    return FromQRgb(img.pixel(x, y));
}

void TBitmap::SetImage(const QImage& image)
{
    Flush();
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        FFormat = pf1bit;
        *FImage = image.convertToFormat(QImage::Format_Mono);
        break;
    case QImage::Format_Indexed8:
        FFormat = image.colorCount() <= 16 ? pf4bit : pf8bit;
        *FImage = image;
        break;
    case QImage::Format_BGR888:
    case QImage::Format_RGB888:
        FFormat = pf24bit;
        *FImage = image.convertToFormat(QImage::Format_BGR888);
        break;
    default:
        FFormat = pfDevice;
        *FImage = image.convertToFormat(QImage::Format_RGB32);
        break;
    }
    Changed();
}

void TBitmap::Assign(TPersistent* source)
{
    if (!source) {
        Flush();
        *FImage = NewImage(0, 0, FFormat);
        Changed();
        return;
    }
    auto* b = dynamic_cast<TBitmap*>(source);
    if (!b) {
        TPersistent::Assign(source);
        return;
    }
    if (b == this)
        return;
    Flush();
    *FImage = b->Image();
    FFormat = b->FFormat;
    FTransparent = b->FTransparent;
    FTransparentColor = b->FTransparentColor;
    FTransparentMode = b->FTransparentMode;
    Changed();
}
