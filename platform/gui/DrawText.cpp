#include "platform/gui/DrawText.h"

#include <QFontMetrics>
#include <QPainter>

int TCanvasTextMetrics::TextWidth(std::string_view text) const { return FCanvas->TextWidth(text); }

int TCanvasTextMetrics::LineHeight() const { return FCanvas->QtFontMetrics().height(); }

int TCanvasTextMetrics::AveCharWidth() const { return std::max(1, FCanvas->QtFontMetrics().averageCharWidth()); }

int DrawText(TCanvas* canvas, std::string_view text, int count, TRect& rect, unsigned flags)
{
    if (!canvas)
        return 0;
    if (count >= 0 && static_cast<size_t>(count) < text.size())
        text = text.substr(0, count);
    const TCanvasTextMetrics metrics(canvas);
    const TDrawTextLayout layout = LayoutDrawText(metrics, text, rect, flags);
    if (flags & DT_CALCRECT) {
        rect = layout.Bounds;
        return layout.Height;
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
        for (const TDrawTextRun& run : line.Runs)
            canvas->TextOut(run.X, line.Y, run.Text);
        if (line.UnderlineWidth > 0) {
            const int y = line.Y + fm.ascent() + std::max(1, fm.underlinePos());
            p->setCompositionMode(QPainter::CompositionMode_SourceOver);
            p->fillRect(QRect(line.UnderlineX, y, line.UnderlineWidth, std::max(1, fm.lineWidth())),
                        ToQColor(canvas->Font()->Color()));
        }
    }
    canvas->SetPenPos(penPos);  // DrawText does not move the current position
    p->restore();
    return layout.Height;
}
