#pragma once
// Win32 DrawText on a canvas: the layout of DrawTextLayout.h painted with the canvas's font,
// font colour and brush (a solid brush fills behind the text, a clear one leaves it).

#include <string_view>

#include "platform/gui/Canvas.h"
#include "platform/gui/DrawTextLayout.h"

// A canvas's font as layout metrics.
class TCanvasTextMetrics : public TTextMetrics {
public:
    explicit TCanvasTextMetrics(TCanvas* canvas) : FCanvas(canvas) {}
    int TextWidth(std::string_view text) const override;
    int LineHeight() const override;
    int AveCharWidth() const override;

private:
    TCanvas* FCanvas;
};

// Draws text (cp949) in rect by the flags; with DT_CALCRECT only measures, and rect becomes the
// text's bounds. Returns the text's height (see TDrawTextLayout::Height). count < 0: all.
int DrawText(TCanvas* canvas, std::string_view text, int count, TRect& rect, unsigned flags);
inline int DrawText(TCanvas* canvas, std::string_view text, TRect& rect, unsigned flags)
{
    return DrawText(canvas, text, -1, rect, flags);
}
