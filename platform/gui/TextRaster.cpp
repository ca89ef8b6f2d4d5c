#include "platform/gui/TextRaster.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

namespace {

// A pixel counts as ink when at least half covered; with smoothing off it is all or nothing,
// the threshold only guards against a font engine that smooths anyway.
constexpr int kInkThreshold = 128;

}  // namespace

TTextRasterizer::TTextRasterizer() : FScratch(std::make_unique<QImage>()) {}

TTextRasterizer::~TTextRasterizer() = default;

void TTextRasterizer::SetFont(const TFont& font)
{
    FSource.Assign(const_cast<TFont*>(&font));
    FFont.reset();
}

const QFont& TTextRasterizer::Font() const
{
    if (!FFont)
        FFont = std::make_unique<QFont>(FSource.ToQFont());
    return *FFont;
}

int TTextRasterizer::TextWidth(std::string_view text) const
{
    return QFontMetrics(Font()).horizontalAdvance(AnsiToQString(text));
}

int TTextRasterizer::TextHeight() const { return QFontMetrics(Font()).height(); }

int TTextRasterizer::Ascent() const { return QFontMetrics(Font()).ascent(); }

int TTextRasterizer::TextOut(TFrameBuffer& fb, int x, int y, std::string_view text, uint8_t fg, int bg)
{
    const QString s = AnsiToQString(text);
    const QFontMetrics fm(Font());
    const int w = fm.horizontalAdvance(s), h = fm.height();
    if (w <= 0 || h <= 0)
        return std::max(w, 0);
    if (bg >= 0)
        fb.FillRect(TRectI{x, y, x + w, y + h}, static_cast<uint8_t>(bg));
    // Only the part that can land in the buffer is rendered.
    const TRectI clip = fb.ClipBox();
    if (x >= clip.Right || y >= clip.Bottom || int64_t(x) + w <= clip.Left || int64_t(y) + h <= clip.Top)
        return w;
    // Italic and some glyphs reach past the advance: render with a margin on both sides.
    const int margin = h;
    const int iw = w + 2 * margin;
    if (FScratch->width() < iw || FScratch->height() < h)
        *FScratch = QImage(std::max(iw, FScratch->width()), std::max(h, FScratch->height()), QImage::Format_RGB32);
    FScratch->fill(Qt::black);
    {
        QPainter p(FScratch.get());
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.setFont(Font());
        p.setPen(Qt::white);
        p.drawText(QPoint(margin, fm.ascent()), s);
    }
    for (int row = 0; row < h; ++row) {
        const int py = y + row;
        if (py < clip.Top || py >= clip.Bottom)
            continue;
        const auto* line = reinterpret_cast<const QRgb*>(FScratch->constScanLine(row));
        for (int col = 0; col < iw; ++col) {
            if (qGreen(line[col]) < kInkThreshold)
                continue;
            fb.SetPixel(x - margin + col, py, fg);
        }
    }
    return w;
}
