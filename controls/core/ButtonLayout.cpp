#include "controls/core/ButtonLayout.h"

#include <algorithm>

#include "controls/core/CtrlGeometry.h"

namespace {

// The text cut to at most MaxLen bytes, never inside a two-byte character.
AnsiString CutAt(std::string_view Text, size_t MaxLen)
{
    if (Text.size() <= MaxLen)
        return AnsiString(Text);
    const size_t keep = MaxLen > 0 && IsTrailByteAt(Text, MaxLen) ? MaxLen - 1 : MaxLen;
    return AnsiString(Text.substr(0, keep));
}

bool Horizontal(TButtonLayout Layout) { return Layout == blGlyphLeft || Layout == blGlyphRight; }

}  // namespace

AnsiString MinimizeCaption(std::string_view Caption, bool WordWrap, int Width,
                           const std::function<int(std::string_view)>& TextWidth, size_t MaxLen)
{
    AnsiString buffer = CutAt(Caption, MaxLen);
    if (WordWrap)
        return buffer;
    AnsiString joined;
    std::string_view rest = buffer;
    for (bool first = true;; first = false) {
        const size_t end = rest.find_first_of("\r\n");
        if (!first)
            joined += "\r\n";
        joined += MinimizeText(rest.substr(0, end), TextWidth, Width);
        if (end == std::string_view::npos)
            break;
        const size_t next = rest.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
        rest.remove_prefix(next);
        if (rest.empty())
            break;
    }
    return CutAt(TrimRight(joined), MaxLen);
}

TButtonLayoutResult CalcButtonLayout(const TButtonLayoutInput& In, std::string_view Caption,
                                     const TButtonTextMetrics& Metrics)
{
    const bool horizontal = Horizontal(In.Layout);
    // Everything is cut to what a screen can show first, so no sum below can overflow.
    const TRect client = ClampToScreen(In.Client);
    const TPoint C{std::max(client.Width(), 0), std::max(client.Height(), 0)};
    TPoint G{std::clamp(In.Glyph.x, 0, kMaxScreenCoord), std::clamp(In.Glyph.y, 0, kMaxScreenCoord)};
    int margin = std::clamp(In.Margin, -kMaxScreenCoord, kMaxScreenCoord);
    int spacing = std::clamp(In.Spacing, -kMaxScreenCoord, kMaxScreenCoord);

    // Room for the caption.
    TPoint M;
    if (horizontal) {
        M.x = C.x - G.x - (margin != -1 ? margin : 0) - (spacing != -1 ? spacing : 0) -
            (In.PopupMark ? kMarkBesideText : 0);
        M.y = C.y;
    } else {
        M.x = C.x;
        M.y = C.y - G.y - (margin != -1 ? margin : 0) - (spacing != -1 ? spacing : 0);
    }
    M.x = std::max(M.x, 0);
    M.y = std::max(M.y, 0);

    TButtonLayoutResult out;
    out.Caption = MinimizeCaption(Caption, In.WordWrap, M.x, Metrics.Width);

    TRect bounds;
    if (!out.Caption.empty()) {
        const TSize measured = Metrics.Bounds(out.Caption, M.x);
        bounds = Rect(0, 0, std::min(M.x, measured.cx), std::min(M.y, measured.cy));
    }
    TPoint T{bounds.Width(), bounds.Height()};

    // The mark goes after the caption, or after the glyph when there is one above or below.
    if (In.PopupMark) {
        if (G.x == 0 || G.y == 0 || In.Layout == blGlyphLeft)
            T.x += kMarkBesideText;
        else if (G.x > 0)
            G.x += kMarkBesideGlyph;
    }

    TPoint glyphPos, textPos;
    if (horizontal) {
        glyphPos.y = C.y / 2 - G.y / 2;
        textPos.y = C.y / 2 - T.y / 2;
    } else {
        glyphPos.x = C.x / 2 - G.x / 2;
        textPos.x = C.x / 2 - T.x / 2;
    }

    if (T.x == 0 || G.x == 0)
        spacing = 0;

    // The three values along the layout's axis.
    const int c = horizontal ? C.x : C.y;
    const int g = horizontal ? G.x : G.y;
    const int t = horizontal ? T.x : T.y;
    if (margin == -1) {
        if (spacing == -1) {
            margin = (c - (g + t)) / 3;
            spacing = margin;
        } else {
            margin = c / 2 - (g + spacing + t) / 2;
        }
    } else if (spacing == -1) {
        spacing = (c - (margin + g)) / 2 - t / 2;
    }

    switch (In.Layout) {
    case blGlyphLeft:
        glyphPos.x = margin;
        textPos.x = glyphPos.x + G.x + spacing;
        break;
    case blGlyphRight:
        glyphPos.x = C.x - margin - G.x;
        textPos.x = glyphPos.x - spacing - T.x;
        break;
    case blGlyphTop:
        glyphPos.y = margin;
        textPos.y = glyphPos.y + G.y + spacing;
        break;
    case blGlyphBottom:
        glyphPos.y = C.y - margin - G.y;
        textPos.y = glyphPos.y - spacing - T.y;
        break;
    }

    out.GlyphPos = TPoint{glyphPos.x + client.Left, glyphPos.y + client.Top};
    OffsetRect(bounds, textPos.x + client.Left, textPos.y + client.Top);
    out.TextBounds = bounds;
    return out;
}
