#include "controls/core/CtrlGeometry.h"

#include <algorithm>
#include <cstdlib>

bool PointInPolyRgn(const TPoint& P, const std::vector<TPoint>& Points)
{
    // Winding number: edges crossing the point's row upward count +1, downward -1.
    int winding = 0;
    const size_t n = Points.size();
    for (size_t i = 0; i < n; ++i) {
        const TPoint& a = Points[i];
        const TPoint& b = Points[(i + 1) % n];
        const int64_t cross = int64_t(b.x - a.x) * int64_t(P.y - a.y) - int64_t(P.x - a.x) * int64_t(b.y - a.y);
        if (a.y <= P.y) {
            if (b.y > P.y && cross > 0)
                ++winding;
        } else if (b.y <= P.y && cross < 0) {
            --winding;
        }
    }
    return winding != 0;
}

int32_t MulDiv(int32_t a, int32_t b, int32_t c)
{
    if (c == 0)
        return -1;
    const int64_t p = int64_t(a) * b;
    const int64_t q = (std::llabs(p) + std::llabs(int64_t(c)) / 2) / std::llabs(int64_t(c));
    return static_cast<int32_t>((p < 0) != (c < 0) ? -q : q);
}

int ClampToScreen(int64_t Value)
{
    return static_cast<int>(std::clamp<int64_t>(Value, -kMaxScreenCoord, kMaxScreenCoord));
}

TRect ClampToScreen(const TRect& R)
{
    return Rect(ClampToScreen(R.Left), ClampToScreen(R.Top), ClampToScreen(R.Right), ClampToScreen(R.Bottom));
}

std::vector<TGradientBand> GradientBands(const TRect& Area, TColor StartRGB, TColor EndRGB, TFillDirection Direction,
                                         int Colors)
{
    const TRect R = ClampToScreen(Area);
    std::vector<TGradientBand> bands;
    if (R.IsEmpty())
        return bands;
    if (Colors < 2) {
        bands.push_back({R, StartRGB});
        return bands;
    }
    const bool forward = Direction == fdTopToBottom || Direction == fdLeftToRight;
    const bool vertical = Direction == fdTopToBottom || Direction == fdBottomToTop;
    const TColor nearColor = forward ? StartRGB : EndRGB, farColor = forward ? EndRGB : StartRGB;
    const int extent = vertical ? R.Height() : R.Width();
    const int n = std::max(2, std::min(Colors, extent));
    const int band = extent / n;
    auto channel = [](TColor c, int shift) { return static_cast<int>((c >> shift) & 0xFF); };
    if (band > 0) {
        for (int i = 0; i < n; ++i) {
            TColor c = 0;
            for (int shift : {0, 8, 16}) {
                const int nearValue = channel(nearColor, shift);
                const int delta = channel(farColor, shift) - nearValue;
                c |= static_cast<TColor>((nearValue + MulDiv(i, delta, n - 1)) & 0xFF) << shift;
            }
            const TRect r = vertical ? Rect(R.Left, R.Top + i * band, R.Right, R.Top + (i + 1) * band)
                                     : Rect(R.Left + i * band, R.Top, R.Left + (i + 1) * band, R.Bottom);
            bands.push_back({r, c});
        }
    }
    const int rest = extent % n;
    if (rest >= 1) {
        const TRect r = vertical ? Rect(R.Left, R.Bottom - rest, R.Right, R.Bottom)
                                 : Rect(R.Right - rest, R.Top, R.Right, R.Bottom);
        bands.push_back({r, farColor});
    }
    return bands;
}

AnsiString MinimizeText(std::string_view Text, const std::function<int(std::string_view)>& Width, int MaxWidth)
{
    AnsiString result(Text);
    const size_t length = Text.size();
    for (size_t i = 1; i <= length && Width(result) > MaxWidth;) {
        ++i;
        // Whole characters only: the cut point moves back to the start of a split pair.
        const size_t keep = length > i ? length - i : 0;
        size_t cut = 0;
        while (cut < keep) {
            const size_t next = cut + static_cast<size_t>(CharLengthAt(Text, cut));
            if (next > keep)
                break;
            cut = next;
        }
        result = AnsiString(Text.substr(0, cut)) + "...";
    }
    return result;
}

int CellTextTop(TVertAlignment VertAlign, int RectHeight, int TextHeight)
{
    switch (VertAlign) {
    case vaCenter: return std::max(1, (RectHeight - TextHeight) / 2);
    case vaBottomJustify: return std::max(2, RectHeight - TextHeight);
    default: return 2;
    }
}

TRect CenteredOnScreen(TSize Size, TSize ScreenSize)
{
    TRect r = Bounds((ScreenSize.cx - Size.cx) / 2, (ScreenSize.cy - Size.cy) / 2, Size.cx, Size.cy);
    if (r.Right > ScreenSize.cx)
        OffsetRect(r, ScreenSize.cx - r.Right, 0);
    if (r.Left < 0)
        OffsetRect(r, -r.Left, 0);
    if (r.Bottom > ScreenSize.cy)
        OffsetRect(r, 0, ScreenSize.cy - r.Bottom);
    if (r.Top < 0)
        OffsetRect(r, 0, -r.Top);
    return r;
}
