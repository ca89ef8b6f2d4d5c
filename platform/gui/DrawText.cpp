#include "platform/gui/DrawText.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "platform/gui/MapMode.h"

int TCanvasTextMetrics::TextWidth(std::string_view text) const { return FCanvas->TextWidth(text); }

int TCanvasTextMetrics::LineHeight() const { return FCanvas->QtFontMetrics().height(); }

int TCanvasTextMetrics::AveCharWidth() const { return std::max(1, FCanvas->QtFontMetrics().averageCharWidth()); }

namespace {

// The canvas font in device pixels, for a canvas whose logical units are not pixels: Win32 lays
// text out in device units whatever the mapping mode.
class TDeviceTextMetrics : public TTextMetrics {
public:
    explicit TDeviceTextMetrics(TCanvas* canvas) : FCanvas(canvas) {}
    int TextWidth(std::string_view text) const override
    {
        return FCanvas->QtFontMetrics().horizontalAdvance(AnsiToQString(text));
    }
    int LineHeight() const override { return FCanvas->QtFontMetrics().height(); }
    int AveCharWidth() const override { return std::max(1, FCanvas->QtFontMetrics().averageCharWidth()); }

private:
    TCanvas* FCanvas;
};

}  // namespace

int DrawText(TCanvas* canvas, std::string_view text, int count, TRect& rect, unsigned flags)
{
    if (!canvas)
        return 0;
    if (count >= 0 && static_cast<size_t>(count) < text.size())
        text = text.substr(0, count);
    const bool mapped = canvas->MapMode() != MM_TEXT;
    TRect box = rect;
    if (mapped) {
        LPtoDP(canvas, box);
        box = TRect{std::min(box.Left, box.Right), std::min(box.Top, box.Bottom), std::max(box.Left, box.Right),
                    std::max(box.Top, box.Bottom)};
    }
    const TCanvasTextMetrics pixels(canvas);
    const TDeviceTextMetrics device(canvas);
    const TDrawTextLayout layout =
        LayoutDrawText(mapped ? static_cast<const TTextMetrics&>(device) : pixels, text, box, flags);
    // Sizes go back in logical units: a height in tenths of a millimetre is negative.
    const auto logicalHeight = [&] {
        const TPoint top = canvas->DeviceToLogical({box.Left, box.Top});
        return canvas->DeviceToLogical({box.Left, box.Top + layout.Height}).y - top.y;
    };
    if (flags & DT_CALCRECT) {
        rect = layout.Bounds;
        if (mapped)
            DPtoLP(canvas, rect);
        return mapped ? logicalHeight() : layout.Height;
    }
    QPainter* p = canvas->Painter();
    if (!p)
        return layout.Height;
    p->save();
    if (!(flags & DT_NOCLIP))
        canvas->IntersectClipRect(rect);
    const QFontMetrics& fm = canvas->QtFontMetrics();
    const TPoint penPos = canvas->PenPos();
    for (const TDrawTextLine& line : layout.Lines) {
        for (const TDrawTextRun& run : line.Runs) {
            const TPoint at = mapped ? canvas->DeviceToLogical({run.X, line.Y}) : TPoint{run.X, line.Y};
            canvas->TextOut(at.x, at.y, run.Text);
        }
        if (line.UnderlineWidth > 0) {
            const int y = line.Y + fm.ascent() + std::max(1, fm.underlinePos());
            p->setCompositionMode(QPainter::CompositionMode_SourceOver);
            p->fillRect(QRect(line.UnderlineX, y, line.UnderlineWidth, std::max(1, fm.lineWidth())),
                        ToQColor(canvas->Font()->Color()));
        }
    }
    canvas->SetPenPos(penPos);  // DrawText does not move the current position
    p->restore();
    return mapped ? logicalHeight() : layout.Height;
}
